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

    // G generations completed. The statistics of a generation are filed
    // when the next one is bred, so generations 1..G-1 have them: point p is
    // generation p + 1, and the chart declares exactly those points.
    const CGaData& ga = doc.Ga;
    const int G = std::clamp(doc.RunHeader.CurrentStep, 0, GaHistorySlots - 1);
    const int n = std::max(G - 1, 0);
    Graph.GraphType = 6;
    Graph.GraphStyle = 4;
    Graph.NumPoints = n;

    Common2D common;
    common.XRangeFromPoints = true;
    common.TickPoints = n;
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
    };
    const Series series[] = {
        {&CGaData::GraphGenBest, "Best (Gen)", ga.GaGenBest, 0},
        {&CGaData::GraphGenWorst, "Worst (Gen)", ga.GaGenWorst, 0},
        {&CGaData::GraphBestOverall, "Best (Overall)", ga.GaBestHistory, 1},
        {&CGaData::GraphAverage, "Average", ga.GaGenAverage, 0},
    };
    double top = 0.0;
    int s = 0;
    for (const Series& line : series) {
        if (ga.*line.Flag != 1)
            continue;
        for (int p = 0; p < n; ++p) {
            const int g = p + 1;
            Graph.GraphData[s][p] = line.Values[g + line.Ahead];
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
