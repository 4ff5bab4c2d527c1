#include "charts/MissionFitnessGraph.h"

#include <algorithm>

#include "core/Document.h"

namespace brevimar {

CMissionFitnessGraphDlg::CMissionFitnessGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CChartWindow(IDD, Caption, parent)
{
    Create();
    CreateChart();
    ResetChartTemplate();

    // G generations completed; the histories are indexed by generation from
    // 1 and the best-so-far curve reads one entry ahead, so G stays below
    // the history's length.
    const CGaData& ga = doc.Ga;
    const int G = std::clamp(doc.RunHeader.CurrentStep, 0, GaHistorySlots - 1);
    Graph.GraphType = 6;
    Graph.GraphStyle = 4;
    Graph.NumPoints = G - 1;

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
        int Ahead;  // the value of point t is Values[t + Ahead]
        double Preset;
    };
    const Series series[] = {
        {&CGaData::GraphGenBest, "Best (Gen)", ga.GaGenBest, 0, 1.0},
        {&CGaData::GraphGenWorst, "Worst (Gen)", ga.GaGenWorst, 0, 1.0},
        {&CGaData::GraphBestOverall, "Best (Overall)", ga.GaBestHistory, 1, 0.0},
        {&CGaData::GraphAverage, "Average", ga.GaGenAverage, 0, 1.0},
    };
    double top = 0.0;
    int s = 0;
    for (const Series& line : series) {
        if (ga.*line.Flag != 1)
            continue;
        Graph.GraphData[s][0] = line.Preset;
        for (int t = 1; t <= G - 1; ++t) {
            Graph.GraphData[s][t] = line.Values[t + line.Ahead];
            Graph.XPosData[s][t] = static_cast<double>(t);
            top = std::max(top, Graph.GraphData[s][t].GetDouble());
        }
        Graph.GraphData[s][0] = line.Values[1];
        Graph.XPosData[s][0] = 1.0;
        Graph.LegendText[s] = line.Legend;
        ++s;
        Graph.NumSets = s;
    }
    Graph.YAxisMin[0] = 0.0;
    Graph.YAxisMax[0] = top == 0.0 ? 1.0 : top;
    DrawChart();
}

}  // namespace brevimar
