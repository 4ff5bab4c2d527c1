#include "charts/CombatEntropyGraph.h"

#include <algorithm>
#include <cstdio>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CCombatEntropyGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Combat Entropy",
        {
            {DlgItem::Group, IDC_STATIC, "Select Graph"},
            {DlgItem::Radio, O::IDC_XY, "x-y"},
            {DlgItem::Radio, O::IDC_XY_TIME, "x-y + time"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

}  // namespace

CCombatEntropyGraphOptionsDlg::CCombatEntropyGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CDialog(OptionsTemplate(), parent), Accepted(1)
{
    for (int kind : {1, 2})
        OnButton(kind == 1 ? IDC_XY : IDC_XY_TIME, [this, kind] {
            GraphKind = kind;
            OnInitDialog();
        });
}

bool CCombatEntropyGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_XY, IDC_XY_TIME, GraphKind == 1 ? IDC_XY : IDC_XY_TIME);
    return true;
}

void CCombatEntropyGraphOptionsDlg::OnOK()
{
    Accepted = 1;
    CDialog::OnOK();
}

void CCombatEntropyGraphOptionsDlg::OnCancel()
{
    Accepted = 0;
    CDialog::OnCancel();
}

CCombatEntropyGraphDlg::CCombatEntropyGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CChartWindow(IDD, Caption, parent)
{
    Create();
    CreateChart();
    ResetChartTemplate();

    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const CStatisticsSeries& series = doc.Series;
    // The averages hold steps 0..201 and one run's series 0..501: a longer
    // run is drawn as far as its series go.
    const int n = multiRun ? std::min(series.MultiRunStepCount, MultiRunStepSlots - 1)
                           : std::min(doc.RunHeader.CurrentStep - 1, SeriesLength - 1);
    const double* red = multiRun ? doc.MultiRunCharts.MultiRunCombatEntropyMean[0] : series.RedCombatEntropy;
    const double* blue = multiRun ? doc.MultiRunCharts.MultiRunCombatEntropyMean[1] : series.BlueCombatEntropy;

    std::string redTitle = "Red Combat Entropy";
    std::string blueTitle = "Blue Combat Entropy";
    std::string title = "Carvalho-Rodrigues Combat Entropy";
    if (multiRun) {
        char text[96];
        std::snprintf(text, sizeof text, "Carvalho-Rodrigues Combat Entropy; (%d Samples)",
                      series.MultiRunSampleCount);
        redTitle = "(Ave) " + redTitle;
        blueTitle = "(Ave) " + blueTitle;
        title = text;
    }

    if (doc.Charts.CombatEntropyGraphKind == 1) {
        Graph.GraphType = 9;
        Graph.GraphStyle = 0;
        Graph.Toolbar = 0;
        Graph.PropertyPages = 1;
        for (int k = 0; k <= 18; ++k)
            Graph.ToolStat[k] = 1;
        Graph.ToolStat[5] = 0;
        Graph.ToolStat[8] = 0;
        Graph.ToolStat[9] = 0;
        Graph.Background[0] = 7;
        Graph.ThickLines = 0;
        Graph.TickStyle = 1;
        Graph.FontSize[0] = 100;
        Graph.FontStyle[0] = 2;
        Graph.FontSize[1] = 75;
        Graph.LeftTitleStyle = 1;
        ApplyCommon2DClosing();
        Graph.LeftTitle = blueTitle;
        Graph.BottomTitle = redTitle;
        Graph.GraphTitle = title;
        if (n >= 1) {
            for (int t = 1; t <= n; ++t) {
                Graph.GraphData[0][t] = blue[t];
                Graph.XPosData[0][t] = red[t];
            }
            Graph.GraphData[0][0] = blue[1];
            Graph.XPosData[0][0] = red[1];
        }
        Graph.NumSets = 1;
        Graph.XAxisStyle = 2;
        Graph.YAxisStyle[0] = 2;
        Graph.XAxisMin = 0.0;
        Graph.XAxisMax = 1.0;
        Graph.YAxisMin[0] = 0.0;
        Graph.YAxisMax[0] = 1.0;
        Graph.XAxisTicks = 5;
        Graph.XAxisMinorTicks = 1;
        Graph.YAxisTicks[0] = 5;
        Graph.YAxisMinorTicks[0] = 1;
    } else {
        Graph.GraphType = 21;
        Graph.GraphStyle = 2;
        Graph.Rotation = 45;
        Graph.Elevation = 25;
        Graph.Background[0] = 7;
        Graph.Toolbar = 0;
        Graph.PropertyPages = 1;
        for (int k = 0; k <= 18; ++k)
            Graph.ToolStat[k] = 1;
        Graph.ToolStat[6] = 0;
        Graph.ToolStat[5] = 0;
        Graph.CageWallColor = 15;
        Graph.XAxisStyle = 2;
        Graph.ZAxisStyle = 2;
        Graph.ThickLines = 0;
        Graph.TickStyle = 1;
        Graph.FontSize[0] = 100;
        Graph.FontStyle[0] = 2;
        Graph.FontSize[1] = 75;
        Graph.LeftTitle = "Time";
        ApplyCommon2DClosing();
        Graph.RightTitle = blueTitle;
        Graph.BottomTitle = redTitle;
        Graph.GraphTitle = title;
        if (n >= 1) {
            for (int t = 1; t <= n; ++t) {
                Graph.GraphData[0][t] = static_cast<double>(t);
                Graph.XPosData[0][t] = red[t];
                Graph.ZPosData[0][t] = blue[t];
            }
            Graph.GraphData[0][0] = 1.0;
            Graph.XPosData[0][0] = red[1];
            Graph.ZPosData[0][0] = blue[1];
        }
        Graph.NumSets = 1;
        Graph.XAxisStyle = 2;
        Graph.ZAxisStyle = 2;
        Graph.XAxisMin = 0.0;
        Graph.XAxisMax = 1.0;
        Graph.ZAxisMin = 0.0;
        Graph.ZAxisMax = 1.0;
        Graph.YAxisMin[0] = 0.0;
        Graph.YAxisMax[0] = static_cast<double>(n);
        Graph.XAxisTicks = 5;
        Graph.ZAxisTicks = 5;
        Graph.XAxisMinorTicks = 1;
        Graph.YAxisStyle[0] = 2;
        Graph.YAxisTicks[0] = 5;
        Graph.YAxisMinorTicks[0] = 1;
    }
    Graph.NumPoints = n;
    DrawChart();
}

}  // namespace brevimar
