#include "charts/CenterOfMassGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CCenterOfMassGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Center-of-Mass",
        {
            {DlgItem::Group, IDC_STATIC, "Select Plot"},
            {DlgItem::Radio, O::IDC_XY, "x-y Plot"},
            {DlgItem::Radio, O::IDC_DIST_RED_FLAG, "Dist from Red-Flag"},
            {DlgItem::Radio, O::IDC_DIST_BLUE_FLAG, "Dist from Blue-Flag"},
            {DlgItem::Radio, O::IDC_3D, "3D Time-Series"},
            {DlgItem::Group, IDC_STATIC, "Select Center-of-Mass"},
            {DlgItem::CheckBox, O::IDC_RED, "Red"},
            {DlgItem::CheckBox, O::IDC_BLUE, "Blue"},
            {DlgItem::CheckBox, O::IDC_TOTAL, "Total"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

// A running extreme of one axis, as the forms track them.
struct Extremes {
    double Min = 999.0;
    double Max = -1.0;
    void Take(double v)
    {
        if (v > Max)
            Max = v;
        if (v < Min)
            Min = v;
    }
};

}  // namespace

CCenterOfMassGraphOptionsDlg::CCenterOfMassGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CDialog(OptionsTemplate(), parent), Accepted(1)
{
    for (int kind = 1; kind <= 4; ++kind)
        OnButton(IDC_XY + kind - 1, [this, kind] {
            PlotKind = kind;
            UpdateData(false);
            OnInitDialog();
        });
    const std::pair<int, int O::*> boxes[] = {
        {IDC_RED, &O::ShowRed}, {IDC_BLUE, &O::ShowBlue}, {IDC_TOTAL, &O::ShowTotal}};
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, flag = flag] { ToggleCheckFlag(*this, this->*flag); });
}

void CCenterOfMassGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CheckFlag(dx, IDC_RED, ShowRed);
    DDX_CheckFlag(dx, IDC_BLUE, ShowBlue);
    DDX_CheckFlag(dx, IDC_TOTAL, ShowTotal);
}

bool CCenterOfMassGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int kind = 1; kind <= 4; ++kind)
        CheckDlgButton(IDC_XY + kind - 1, kind == PlotKind ? 1 : 0);
    CheckDlgButton(IDC_RED, ShowRed == 1 ? 1 : 0);
    CheckDlgButton(IDC_BLUE, ShowBlue == 1 ? 1 : 0);
    CheckDlgButton(IDC_TOTAL, ShowTotal == 1 ? 1 : 0);
    return true;
}

void CCenterOfMassGraphOptionsDlg::OnOK()
{
    UpdateData(true);
    Accepted = 1;
    UpdateData(false);
    CDialog::OnOK();
}

void CCenterOfMassGraphOptionsDlg::OnCancel()
{
    Accepted = 0;
    CDialog::OnCancel();
}

CCenterOfMassGraphDlg::CCenterOfMassGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CChartWindow(IDD, Caption, parent)
{
    BeginHandOff(doc);
    Create();
    CreateChart();
    ResetChartTemplate();

    const CChartSelections& charts = doc.Charts;
    const int kind = charts.CenterOfMassGraphKind;
    if (kind < 1 || kind > 4)
        return;

    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const CMultiRunCharted& averaged = doc.MultiRunCharts;
    const int samples = doc.Series.MultiRunSampleCount;
    // The series hold steps 0..501 (one run) and 0..201 (averages, handed
    // off as points 1..200): a longer run is drawn as far as they go.
    const int n = multiRun ? std::min(doc.Series.MultiRunStepCount - 1, MaxMultiRunPoints)
                           : std::min(doc.RunHeader.CurrentStep - 1, SeriesLength - 1);
    auto X = [&](int k, int t) {
        return multiRun ? averaged.MultiRunMean[MultiRunCenterOfMassRow + 2 * k][t] : doc.Collected.CenterOfMassSeries[2 * k][t];
    };
    auto Y = [&](int k, int t) {
        return multiRun ? averaged.MultiRunMean[MultiRunCenterOfMassRow + 2 * k + 1][t]
                        : doc.Collected.CenterOfMassSeries[2 * k + 1][t];
    };
    auto withSamples = [samples](const char* text) {
        char title[128];
        std::snprintf(title, sizeof title, "%s; (%d Samples)", text, samples);
        return std::string(title);
    };

    struct Group {
        int CChartSelections::*Flag;
        const char* Legend;
        const char* Who;
    };
    static constexpr Group groups[] = {
        {&CChartSelections::CenterOfMassGraphRed, "Red CoM", "Red"},
        {&CChartSelections::CenterOfMassGraphBlue, "Blue CoM", "Blue"},
        {&CChartSelections::CenterOfMassGraphTotal, "Total CoM", "Total"},
    };

    Extremes x, y, z;
    int s = 0;
    auto shown = [this](CGraphPropertyArray2D& data, int set, int t) { return data[set][t].GetDouble(); };

    if (kind == 1) {
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
        Graph.XAxisStyle = 2;
        Graph.ThickLines = 0;
        Graph.TickStyle = 1;
        Graph.FontSize[0] = 100;
        Graph.FontStyle[0] = 2;
        Graph.FontSize[1] = 75;
        Graph.LeftTitleStyle = 1;
        ApplyCommon2DClosing();
        if (multiRun) {
            Graph.LeftTitle = "(Ave) y";
            Graph.BottomTitle = "(Ave) x";
            Graph.GraphTitle = withSamples("Center-of-Mass (x,y) Positions");
        } else {
            Graph.LeftTitle = "y";
            Graph.BottomTitle = "x";
            Graph.GraphTitle = "Center-of-Mass (x,y) Positions";
        }
        for (int k = 0; k < 3; ++k) {
            if (charts.*groups[k].Flag != 1)
                continue;
            for (int t = 1; t <= n; ++t) {
                Graph.GraphData[s][t] = Y(k, t);
                Graph.XPosData[s][t] = X(k, t);
                y.Take(shown(Graph.GraphData, s, t));
                x.Take(shown(Graph.XPosData, s, t));
            }
            Graph.GraphData[s][0] = Y(k, 1);
            Graph.XPosData[s][0] = X(k, 1);
            Graph.LegendText[s] = groups[k].Legend;
            ++s;
            Graph.NumSets = s;
        }
        Graph.XAxisMin = x.Min;
        Graph.XAxisMax = x.Max;
        Graph.YAxisMin[0] = y.Min;
        Graph.YAxisMax[0] = y.Max;
        Graph.XAxisTicks = x.Max - x.Min >= 50.0 ? 10 : 1;
        Graph.YAxisStyle[0] = 2;
        Graph.YAxisTicks[0] = y.Max - y.Min >= 50.0 ? 10 : 1;
        Graph.YAxisMinorTicks[0] = 1;
        Graph.NumPoints = doc.RunHeader.CurrentStep;
        DrawChart();
        // The path has no time series to hand off: the raw graph data of
        // this form is empty rather than another chart's.
        EndHandOff(doc, 0);
        return;
    }

    if (kind == 4) {
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
        Graph.CageWallColor = 15;
        Graph.XAxisStyle = 2;
        Graph.ZAxisStyle = 2;
        Graph.ThickLines = 0;
        Graph.TickStyle = 1;
        Graph.FontSize[0] = 100;
        Graph.FontStyle[0] = 2;
        Graph.FontSize[1] = 75;
        Graph.LeftTitleStyle = 1;
        Graph.LeftTitle = "Time";
        Graph.RightTitle = "y";
        Graph.BottomTitle = "x";
        ApplyCommon2DClosing();
        if (multiRun) {
            Graph.RightTitle = "(Ave) y";
            Graph.BottomTitle = "(Ave) x";
            Graph.GraphTitle = withSamples("Center-of-Mass 3D Time-Series (Z axis = time)");
        } else {
            Graph.GraphTitle = "Center-of-Mass 3D Time-Series (Z axis = time)";
        }
        for (int k = 0; k < 3; ++k) {
            if (charts.*groups[k].Flag != 1)
                continue;
            for (int t = 1; t <= n; ++t) {
                Graph.GraphData[s][t] = static_cast<double>(t);
                Graph.XPosData[s][t] = X(k, t);
                Graph.ZPosData[s][t] = Y(k, t);
                y.Take(shown(Graph.GraphData, s, t));
                x.Take(shown(Graph.XPosData, s, t));
                z.Take(shown(Graph.ZPosData, s, t));
            }
            Graph.GraphData[s][0] = 1.0;
            Graph.XPosData[s][0] = X(k, 1);
            Graph.ZPosData[s][0] = Y(k, 1);
            Graph.LegendText[s] = groups[k].Legend;
            ++s;
            Graph.NumSets = s;
        }
        Graph.XAxisMin = x.Min;
        Graph.XAxisMax = x.Max;
        Graph.ZAxisMin = z.Min;
        Graph.ZAxisMax = z.Max;
        Graph.YAxisMin[0] = y.Min;
        Graph.YAxisMax[0] = y.Max;
        Graph.XAxisTicks = x.Max - x.Min >= 50.0 ? 10 : 1;
        Graph.YAxisStyle[0] = 2;
        Graph.YAxisTicks[0] = y.Max - y.Min >= 50.0 ? 10 : 1;
        Graph.YAxisMinorTicks[0] = 1;
        Graph.NumPoints = doc.RunHeader.CurrentStep;
        DrawChart();
        EndHandOff(doc, 0);
        return;
    }

    // The distance forms. The RED flag is the goal of the BLUE force, and
    // the BLUE flag the goal of the RED force.
    const bool fromRed = kind == 2;
    const CForce& owner = doc.Force(fromRed ? Side::Blue : Side::Red);
    const double fx = owner.GoalFlagX, fy = owner.GoalFlagY;
    const char* flagName = fromRed ? "Red-Flag" : "Blue-Flag";
    const std::string title = fromRed ? "Distance From Red-Flag" : "Distance From Blue-Flag";

    Graph.GraphType = 6;
    if (multiRun) {
        Graph.GraphStyle = 0;
        Graph.EBarSource[0] = 5;
    } else {
        Graph.EBarSource[0] = 0;
        Graph.GraphStyle = 0;
    }
    Graph.NumPoints = fromRed ? n - 1 : n;
    Common2D common;
    common.MultiRun = multiRun;
    common.TickPoints = n;
    ApplyCommon2DSettings(common);
    if (multiRun) {
        Graph.LeftTitle = "(Ave) Distance";
        Graph.GraphTitle = withSamples(title.c_str());
    } else {
        Graph.LeftTitle = "Distance";
        Graph.GraphTitle = title;
    }
    Graph.BottomTitle = "Time";
    ApplyCommon2DClosing();

    for (int k = 0; k < 3; ++k) {
        if (charts.*groups[k].Flag != 1)
            continue;
        HandOffLabel(doc, s, std::string("Center-of-Mass: ") + groups[k].Who + "::" + flagName);
        auto distance = [&](int t) {
            const double dx = fx - X(k, t), dy = fy - Y(k, t);
            return std::sqrt(dx * dx + dy * dy);
        };
        for (int t = 1; t <= n; ++t) {
            const double D = distance(t);
            Graph.GraphData[s][t] = D;
            if (multiRun) {
                const double dx = fx - X(k, t), dy = fy - Y(k, t);
                const double sx = averaged.MultiRunDev[MultiRunCenterOfMassRow + 2 * k][t] * dx;
                const double sy = averaged.MultiRunDev[MultiRunCenterOfMassRow + 2 * k + 1][t] * dy;
                // On the flag itself the error has no direction: none is drawn.
                const double e = D > 0.0 ? std::sqrt(sx * sx + sy * sy) / D : 0.0;
                Graph.EBarGraphDataPlus[s][t] = e;
                Graph.EBarGraphDataMinus[s][t] = e;
                HandOffPoint(doc, s, t, shown(Graph.GraphData, s, t), shown(Graph.EBarGraphDataPlus, s, t));
            }
            Graph.XPosData[s][t] = static_cast<double>(t + 1);
            y.Take(shown(Graph.GraphData, s, t));
        }
        Graph.GraphData[s][0] = distance(1);
        Graph.XPosData[s][0] = 1.0;
        if (multiRun) {
            Graph.EBarGraphDataPlus[s][0] = 0.0;
            Graph.EBarGraphDataMinus[s][0] = 0.0;
        }
        Graph.LegendText[s] = groups[k].Legend;
        ++s;
        Graph.NumSets = s;
    }
    Graph.XAxisMin = 1.0;
    Graph.XAxisMax = static_cast<double>(n);
    Graph.RangeMin = 1;
    Graph.RangeMax = n;
    Graph.YAxisMin[0] = y.Min;
    Graph.YAxisMax[0] = y.Max;
    DrawChart();
    EndHandOff(doc, s);
}

}  // namespace brevimar
