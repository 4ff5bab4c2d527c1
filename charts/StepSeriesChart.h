// What the time charts of the per-step statistics share: curves of one value
// per step, point 0 repeating step 1, averaged with error bars in a multiple
// time-series run and handed to the document for the raw graph-data report.
#pragma once

#include <string>

#include "charts/ChartWindow.h"

namespace brevimar {

class CStepSeriesChart : public CChartWindow {
protected:
    using CChartWindow::CChartWindow;

    struct Curve {
        const double* Values = nullptr;      // by step; nullptr reads as 0
        const double* Deviations = nullptr;  // run mode 5 only
        std::string Legend;  // empty: a chart of one unnamed curve
        std::string Label;  // empty: not handed off
        // One run's curve shows only the steps whose series of this
        // statistic (a StatisticBit) hold a measured value; 0: every step.
        unsigned Statistic = 0;
    };
    struct Extremes {
        double Max = 0.0;
        double Min = 9999.0;
        int FirstPositive = 0;
        // Widens these to cover `curve`'s: the earliest first positive step.
        void Take(const Extremes& curve);
    };

    // The last step a series can give: the averaged series hold steps
    // 0..201, those of one run 0..501.
    static int LastStep(bool multiRun);
    static int ClampSteps(int steps, bool multiRun);

    // GraphType 6, GraphStyle, the error-bar source, NumPoints and the common
    // settings of the time charts (x range left to the chart).
    void TimeSetup(bool multiRun, int graphStyle, int numPoints, int tickPoints, bool yMinZero);

    // Set s: point t = 1..n from the curve at x = t + xShift; point 0
    // repeats step 1 at x = 1. Error bars and the hand-off in run mode 5.
    // Steps not measured are left out (all of a batch that has not ended).
    Extremes FillCurve(CBrevimarDoc& doc, int s, const Curve& curve, int n, bool multiRun, int xShift);

    // Where an axis that starts at the first positive value starts: step 1
    // when no curve leaves zero, the current step when the first value
    // comes at the very last step.
    static int FirstShownStep(const Extremes& all, int last, int current);
    // The x axis and points first..last; the value axis up to the highest
    // value (1 when all are 0).
    void FinishTimeAxes(int first, int last, double highest);
};

}  // namespace brevimar
