#include "charts/StepSeriesChart.h"

#include <algorithm>

#include "core/Document.h"

namespace brevimar {

int CStepSeriesChart::LastStep(bool multiRun)
{
    return multiRun ? MultiRunStepSlots - 1 : SeriesLength - 1;
}

int CStepSeriesChart::ClampSteps(int steps, bool multiRun)
{
    return std::min(steps, LastStep(multiRun));
}

void CStepSeriesChart::TimeSetup(bool multiRun, int graphStyle, int numPoints, int tickPoints, bool yMinZero)
{
    Graph.GraphType = 6;
    Graph.GraphStyle = graphStyle;
    Graph.EBarSource[0] = multiRun ? 5 : 0;
    Graph.NumPoints = numPoints;
    Common2D common;
    common.MultiRun = multiRun;
    common.TickPoints = tickPoints;
    common.YMinZero = yMinZero;
    ApplyCommon2DSettings(common);
    Graph.BottomTitle = "Time";
    ApplyCommon2DClosing();
}

CStepSeriesChart::Extremes CStepSeriesChart::FillCurve(CBrevimarDoc& doc, int s, const Curve& curve, int n,
                                                       bool multiRun, int xShift)
{
    n = ClampSteps(n, multiRun);
    auto value = [&curve](int t) { return curve.Values ? curve.Values[t] : 0.0; };
    auto deviation = [&curve](int t) { return curve.Deviations ? curve.Deviations[t] : 0.0; };
    const bool handOff = multiRun && !curve.Label.empty();
    if (!curve.Label.empty())
        HandOffLabel(doc, s, curve.Label);

    // The averages cover every step of a batch that has ended, and none
    // of one that has not.
    auto measured = [&](int t) { return doc.StepMeasured(t, curve.Statistic); };

    Extremes e;
    for (int t = 1; t <= n; ++t) {
        if (!measured(t))
            continue;
        Graph.GraphData[s][t] = value(t);
        const double v = Graph.GraphData[s][t].GetDouble();
        if (multiRun) {
            Graph.EBarGraphDataPlus[s][t] = deviation(t);
            Graph.EBarGraphDataMinus[s][t] = LowerBar(v, deviation(t));
            if (handOff)
                HandOffPoint(doc, s, t, v, Graph.EBarGraphDataPlus[s][t].GetDouble());
        }
        if (v > 0 && e.FirstPositive == 0)
            e.FirstPositive = t;
        Graph.XPosData[s][t] = static_cast<double>(t + xShift);
        e.Max = std::max(e.Max, v);
        e.Min = std::min(e.Min, v);
    }
    if (measured(1)) {
        Graph.GraphData[s][0] = value(1);
        if (multiRun) {
            Graph.EBarGraphDataPlus[s][0] = 0.0;
            Graph.EBarGraphDataMinus[s][0] = 0.0;
        }
        Graph.XPosData[s][0] = 1.0;
    }
    if (!curve.Legend.empty())
        Graph.LegendText[s] = curve.Legend;
    Graph.NumSets = s + 1;
    return e;
}

void CStepSeriesChart::Extremes::Take(const Extremes& curve)
{
    Max = std::max(Max, curve.Max);
    Min = std::min(Min, curve.Min);
    if (curve.FirstPositive != 0 && (FirstPositive == 0 || curve.FirstPositive < FirstPositive))
        FirstPositive = curve.FirstPositive;
}

int CStepSeriesChart::FirstShownStep(const Extremes& all, int last, int current)
{
    const int first = all.FirstPositive;
    return first == 0 ? 1 : (first == last ? current : first);
}

void CStepSeriesChart::FinishTimeAxes(int first, int last, double highest)
{
    SetXRange(first, last);
    Graph.YAxisMax[0] = highest == 0.0 ? 1.0 : highest;
}

}  // namespace brevimar
