#include "charts/LandscapeGraph.h"

#include "core/Document.h"
#include "experiments/LandscapeChartData.h"

namespace brevimar {

CLandscapeGraphDlg::CLandscapeGraphDlg(QWidget* parent, const CBrevimarDoc& doc) : CChartWindow(IDD, Caption, parent)
{
    // Everything the chart shows is worked out before the window appears;
    // the window only passes it on.
    const CLandscapeChartData data = ComputeLandscapeChart(doc);

    Create();
    CreateChart();
    ResetChartTemplate();

    Graph.GraphType = 20;
    Graph.Palette = data.Color ? 6 : 3;
    Graph.SurfaceColorMin = 32;
    Graph.SurfaceColorMax = 79;
    Graph.CageFlip = 1;
    Graph.RandomData = 0;
    Graph.GraphStyle = 0;
    if (data.Surface) {
        Graph.Rotation = 40;
        Graph.Perspective = 15;
        Graph.Elevation = 25;
    } else {
        // Density and win maps are the surface seen straight from above.
        Graph.Rotation = 0;
        Graph.Perspective = 100;
        Graph.Elevation = 90;
        Graph.True3D = 2;
        Graph.CageStyle = 1;
    }

    Apply3DLook(true);
    Graph.RightTitle = data.RightTitle;
    Graph.BottomTitle = data.BottomTitle;
    Graph.GraphTitle = data.Title;

    // One data set per x value, one point per y value.
    Graph.NumSets = data.Sets;
    Graph.NumPoints = data.Points;
    for (int i = 0; i < data.Sets; ++i)
        for (int j = 0; j < data.Points; ++j)
            Graph.GraphData[i][j] = data.Values[i][j];

    Graph.LabelText.SetCount(static_cast<std::uint32_t>(data.YLabels.size()));
    Graph.LabelText.SetAllFrom(data.YLabels);
    Graph.XAxisMin = data.XAxisMin;
    Graph.XAxisMax = data.XAxisMax;
    Graph.ZAxisMin = data.ZAxisMin;
    Graph.ZAxisMax = data.ZAxisMax;
    Graph.ZLabelText.SetCount(static_cast<std::uint32_t>(data.XLabels.size()));
    Graph.ZLabelText.SetAllFrom(data.XLabels);
    ApplyFiveTicks(true);

    if (data.Win) {
        Graph.Palette = 0;
        Graph.SurfaceColorMin = 0;
        Graph.SurfaceColorMax = 1;
        Graph.CageStyle = 1;
    }
    Graph.YAxisMin[0] = data.ValueAxisMin;
    Graph.YAxisMax[0] = data.ValueAxisMax;

    DrawChart();
}

}  // namespace brevimar
