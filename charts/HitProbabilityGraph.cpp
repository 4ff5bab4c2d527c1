#include "charts/HitProbabilityGraph.h"

#include <algorithm>

namespace brevimar {

CHitProbabilityGraphDlg::CHitProbabilityGraphDlg(QWidget* parent, const float* table, int n)
    : CChartWindow(IDD, Caption, parent)
{
    n = std::clamp(n, 0, TableRows - 1);
    Create();
    CreateChart();
    ResetChartTemplate();

    Graph.GraphType = 6;
    Graph.GraphStyle = 4;
    Graph.NumPoints = n;
    // Ranges from 0, one labelled tick each.
    ApplyCommon2DSettings(Common2D{});
    Graph.XAxisMax = Graph.NumPoints.GetDouble();
    Graph.XAxisMin = 0.0;
    Graph.GraphTitle = "Single-Shot HIT Prob vs. Fire-Range";
    Graph.LeftTitle = "Single-Shot Prob(HIT)";
    Graph.BottomTitle = "Fire-Range";
    ApplyCommon2DClosing();

    double highest = 0.0;
    const char* legends[2] = {"Alive", "Injured"};
    for (int s = 0; s < 2; ++s) {
        Graph.GraphData[s][0] = 1.0;
        for (int r = 1; r <= n; ++r) {
            Graph.GraphData[s][r] = static_cast<double>(table[2 * r + s]);
            Graph.XPosData[s][r] = static_cast<double>(r);
            highest = std::max(highest, Graph.GraphData[s][r].GetDouble());
        }
        // Point 0 repeats range 1, so the curve starts at range 1.
        Graph.GraphData[s][0] = static_cast<double>(table[2 + s]);
        Graph.XPosData[s][0] = 1.0;
        Graph.LegendText[s] = legends[s];
        Graph.NumSets = s + 1;
    }
    Graph.YAxisMin[0] = 0.0;
    Graph.YAxisMax[0] = highest == 0.0 ? 1.0 : highest;
    DrawChart();
}

}  // namespace brevimar
