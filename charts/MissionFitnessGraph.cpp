#include "charts/MissionFitnessGraph.h"

#include <algorithm>

#include "core/Document.h"
#include "experiments/GaEngine.h"

namespace brevimar {

CMissionFitnessGraphDlg::CMissionFitnessGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CChartWindow(IDD, Caption, parent)
{
    Create();
    CreateChart();
    ResetChartTemplate();

    // G generations completed, one point each: point p is generation p + 1.
    // A generation's figures are filed when the next one is bred, so the
    // histories hold generations 1..G-1 (the best so far one entry ahead);
    // the last one is the population as it stands, with the best so far in
    // the best record (the status line's F_max).
    const CGaData& ga = doc.Ga;
    CGeneticAlgorithm engine(doc);
    const CGeneticAlgorithm::Figures last = engine.PopulationFigures();
    const double bestSoFar = engine.Best().Fitness;
    const int G = std::clamp(doc.RunHeader.CurrentStep, 0, GaMaxGenerations);
    Graph.GraphType = 6;
    Graph.GraphStyle = 4;
    Graph.NumPoints = G;

    Common2D common;
    common.XRangeFromPoints = true;
    common.TickPoints = G;
    common.YMaxOne = true;
    ApplyCommon2DSettings(common);
    Graph.GraphTitle = "One-Sided GA Mission Fitness";
    Graph.LeftTitle = "Fitness";
    Graph.BottomTitle = "Generation";
    ApplyCommon2DClosing();

    struct Series {
        int CGaData::*Flag;
        const char* Legend;
        const double* Values;
        int Ahead;  // generation g reads Values[g + Ahead]
        double Last;  // generation G
    };
    const Series series[] = {
        {&CGaData::GraphGenBest, "Best (Gen)", ga.GaGenBest, 0, last.Best},
        {&CGaData::GraphGenWorst, "Worst (Gen)", ga.GaGenWorst, 0, last.Worst},
        {&CGaData::GraphBestOverall, "Best (Overall)", ga.GaBestHistory, 1, bestSoFar},
        {&CGaData::GraphAverage, "Average", ga.GaGenAverage, 0, last.Average},
    };
    double top = 0.0;
    int s = 0;
    for (const Series& line : series) {
        if (ga.*line.Flag != 1)
            continue;
        for (int p = 0; p < G; ++p) {
            const int g = p + 1;
            Graph.GraphData[s][p] = g == G ? line.Last : line.Values[g + line.Ahead];
            Graph.XPosData[s][p] = static_cast<double>(g);
            top = std::max(top, Graph.GraphData[s][p].GetDouble());
        }
        Graph.LegendText[s] = line.Legend;
        ++s;
        Graph.NumSets = s;
    }
    Graph.YAxisMin[0] = 0.0;
    Graph.YAxisMax[0] = top == 0.0 ? 1.0 : top;
    DrawChart();
}

}  // namespace brevimar
