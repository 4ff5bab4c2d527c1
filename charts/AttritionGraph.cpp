#include "charts/AttritionGraph.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CAttritionGraphOptionsDlg;
using CCharts = CChartSelections;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Attrition",
        {
            {DlgItem::Group, IDC_STATIC, "Select Graphs"},
            {DlgItem::CheckBox, O::IDC_ALL, "% Remaining RED + BLUE"},
            {DlgItem::CheckBox, O::IDC_RED_ALIVE, "% Remaining Alive RED"},
            {DlgItem::CheckBox, O::IDC_RED_INJURED, "% Remaining Injured RED"},
            {DlgItem::CheckBox, O::IDC_RED_TOTAL, "% Remaining (Alive + Injured) RED"},
            {DlgItem::CheckBox, O::IDC_BLUE_ALIVE, "% Remaining Alive BLUE"},
            {DlgItem::CheckBox, O::IDC_BLUE_INJURED, "% Remaining Injured BLUE"},
            {DlgItem::CheckBox, O::IDC_BLUE_TOTAL, "% Remaining (Alive + Injured) BLUE"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

// The four counts a curve is made of, in the order RED alive, RED injured,
// BLUE alive, BLUE injured.
enum Count { RedAlive, RedInjured, BlueAlive, BlueInjured };

struct Curve {
    const char* Label;
    const char* Legend;
    int CCharts::*Flag;
    std::array<bool, 4> Counts;
    bool Red, Blue;  // whose agents N counts
    double DeviationFactor;
};

}  // namespace

CAttritionGraphOptionsDlg::CAttritionGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    const std::pair<int, int O::*> boxes[] = {
        {IDC_ALL, &O::AttritionShowAll},
        {IDC_RED_ALIVE, &O::AttritionShowRedAlive},
        {IDC_RED_INJURED, &O::AttritionShowRedInjured},
        {IDC_RED_TOTAL, &O::AttritionShowRedTotal},
        {IDC_BLUE_ALIVE, &O::AttritionShowBlueAlive},
        {IDC_BLUE_INJURED, &O::AttritionShowBlueInjured},
        {IDC_BLUE_TOTAL, &O::AttritionShowBlueTotal},
    };
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, flag = flag] { ToggleCheckFlag(*this, this->*flag); });
}

void CAttritionGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CheckFlag(dx, IDC_ALL, AttritionShowAll);
    DDX_CheckFlag(dx, IDC_RED_ALIVE, AttritionShowRedAlive);
    DDX_CheckFlag(dx, IDC_RED_INJURED, AttritionShowRedInjured);
    DDX_CheckFlag(dx, IDC_RED_TOTAL, AttritionShowRedTotal);
    DDX_CheckFlag(dx, IDC_BLUE_ALIVE, AttritionShowBlueAlive);
    DDX_CheckFlag(dx, IDC_BLUE_INJURED, AttritionShowBlueInjured);
    DDX_CheckFlag(dx, IDC_BLUE_TOTAL, AttritionShowBlueTotal);
}

CAttritionGraphDlg::CAttritionGraphDlg(QWidget* parent, CBrevimarDoc& doc) : CChartWindow(IDD, Caption, parent)
{
    // The seven curves in their drawing order.
    static constexpr Curve curves[] = {
        {"Attrition: Red + Blue", "Red + Blue", &CCharts::AttritionShowAll, {true, true, true, true}, true, true, 0.25},
        {"Attrition: Alive Red", "Alive Red", &CCharts::AttritionShowRedAlive, {true, false, false, false}, true,
         false, 1.0},
        {"Attrition: Injured Red", "Injured Red", &CCharts::AttritionShowRedInjured, {false, true, false, false},
         true, false, 1.0},
        {"Attrition: Alive Blue", "Alive Blue", &CCharts::AttritionShowBlueAlive, {false, false, true, false}, false,
         true, 1.0},
        {"Attrition: Injured Blue", "Injured Blue", &CCharts::AttritionShowBlueInjured, {false, false, false, true},
         false, true, 1.0},
        {"Attrition: Alive/Injured Red", "Red (Total)", &CCharts::AttritionShowRedTotal, {true, true, false, false},
         true, false, 0.5},
        {"Attrition: Alive/Injured Blue", "Blue (Total)", &CCharts::AttritionShowBlueTotal,
         {false, false, true, true}, false, true, 0.5},
    };

    BeginHandOff(doc);
    Create();
    CreateChart();
    ResetChartTemplate();

    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const CStatisticsSeries& series = doc.Series;
    const CMultiRunCharted& averaged = doc.MultiRunCharts;
    const int samples = doc.MultiRunShape().Samples;
    Graph.GraphType = 6;
    int m = 0;
    if (multiRun) {
        Graph.GraphStyle = 0;
        Graph.EBarSource[0] = 5;
        m = doc.MultiRunShape().Steps;
    } else {
        Graph.EBarSource[0] = 0;
        Graph.GraphStyle = 0;
        m = doc.RunHeader.CurrentStep;
    }
    // Point p shows step p - 1. A batch of m steps averages steps 0..m - 1,
    // all drawn; one run is drawn to the step before the current one. Either
    // is drawn as far as its series go (0..201 averaged, 0..501 one run).
    const int n = multiRun ? std::min(m, MaxMultiRunPoints) : std::min(m - 1, MaxSeriesStep + 1);
    // The curves leave out the steps whose counts were not taken, and a
    // batch that has not ended altogether.
    auto measured = [&](int step) { return doc.StepMeasured(step, AttritionStatistic); };
    Graph.NumPoints = n;

    Common2D common;
    common.MultiRun = multiRun;
    common.XRangeFromPoints = true;
    common.TickPoints = n;
    common.YMaxOne = true;
    ApplyCommon2DSettings(common);

    if (multiRun) {
        char title[96];
        std::snprintf(title, sizeof title, "Fraction of Remaining VORLAXs; (%d Samples)", samples);
        Graph.LeftTitle = "(Ave) % Remaining";
        Graph.GraphTitle = title;
    } else {
        Graph.LeftTitle = "% Remaining";
        Graph.GraphTitle = "Fraction of Remaining VORLAXs";
    }
    Graph.BottomTitle = "Time";
    ApplyCommon2DClosing();

    const int* counts[4];
    const int* deviations[4] = {averaged.MultiRunRedAliveDevSum, averaged.MultiRunRedInjuredDevSum,
                                averaged.MultiRunBlueAliveDevSum, averaged.MultiRunBlueInjuredDevSum};
    if (multiRun) {
        counts[RedAlive] = averaged.MultiRunRedAliveSum;
        counts[RedInjured] = averaged.MultiRunRedInjuredSum;
        counts[BlueAlive] = averaged.MultiRunBlueAliveSum;
        counts[BlueInjured] = averaged.MultiRunBlueInjuredSum;
    } else {
        counts[RedAlive] = series.RedAliveSeries;
        counts[RedInjured] = series.RedInjuredSeries;
        counts[BlueAlive] = series.BlueAliveSeries;
        counts[BlueInjured] = series.BlueInjuredSeries;
    }

    double lo = 1.0, hi = 0.0;
    int s = 0;
    for (const Curve& curve : curves) {
        if (doc.Charts.*curve.Flag != 1)
            continue;
        auto sum = [&curve](const int* const rows[4], int i) {
            int total = 0;
            for (int k = 0; k < 4; ++k)
                if (curve.Counts[k])
                    total += rows[k][i];
            return total;
        };
        // The agents the curve counts against at step i; averaged, the force
        // each sample held at that step, summed over the samples. A side
        // without agents, or a batch without samples, divides by nothing:
        // its curve stays at 0.
        auto divisor = [&](int i) {
            return multiRun ? (curve.Red ? doc.MultiRunAgentsSum(Side::Red, i) : 0) +
                                  (curve.Blue ? doc.MultiRunAgentsSum(Side::Blue, i) : 0)
                            : (curve.Red ? doc.NumRed() : 0) + (curve.Blue ? doc.NumBlue() : 0);
        };

        HandOffLabel(doc, s, curve.Label);
        if (measured(0)) {
            Graph.GraphData[s][0] = 1.0;
            if (multiRun) {
                Graph.EBarGraphDataPlus[s][0] = 0.0;
                Graph.EBarGraphDataMinus[s][0] = 0.0;
            }
        }
        for (int p = 1; p <= n; ++p) {
            const int i = p - 1;
            if (!measured(i))
                continue;
            Graph.GraphData[s][p] = 0.0;
            const int agents = divisor(i);
            if (agents > 0)
                Graph.GraphData[s][p] = static_cast<double>(sum(counts, i)) / agents;
            if (multiRun) {
                const double value = Graph.GraphData[s][p].GetDouble();
                double e = 0.0;
                if (agents > 0)
                    e = curve.DeviationFactor * sum(deviations, i) / agents;
                if (value + e > 1.0)
                    e = 1.0 - value;
                Graph.EBarGraphDataPlus[s][p] = e;
                Graph.EBarGraphDataMinus[s][p] = LowerBar(value, e);
                HandOffPoint(doc, s, p, value, e);
            }
            Graph.XPosData[s][p] = static_cast<double>(p);
            const double shown = Graph.GraphData[s][p].GetDouble();
            lo = std::min(lo, shown);
            hi = std::max(hi, shown);
        }
        if (measured(0)) {
            Graph.GraphData[s][0] = 0.0;
            if (divisor(0) > 0)
                Graph.GraphData[s][0] = static_cast<double>(sum(counts, 0)) / divisor(0);
            if (multiRun) {
                Graph.EBarGraphDataPlus[s][0] = 0.0;
                Graph.EBarGraphDataMinus[s][0] = 0.0;
            }
            Graph.XPosData[s][0] = 1.0;
        }
        Graph.LegendText[s] = curve.Legend;

        ++s;
        Graph.NumSets = s;
    }

    if (lo == 1.0)
        lo = 0.0;
    // The averaged fractions are read with their bars from 0, as they can
    // be no less.
    if (multiRun)
        lo = 0.0;
    Graph.YAxisMin[0] = lo;
    if (hi == 0.0)
        hi = 1.0;
    Graph.YAxisMax[0] = hi;

    DrawChart();
    EndHandOff(doc, s);
}

}  // namespace brevimar
