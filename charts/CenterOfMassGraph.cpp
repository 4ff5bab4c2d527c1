#include "charts/CenterOfMassGraph.h"

#include <algorithm>
#include <cmath>
#include <string>

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
struct AxisSpan {
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
    : CChartOptionsDlg(OptionsTemplate(), parent)
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

CCenterOfMassGraphDlg::CCenterOfMassGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CStepSeriesChart(IDD, Caption, parent)
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
    const int samples = doc.MultiRunShape().Samples;
    // The series hold steps 0..501 (one run) and 0..201 (averages, handed
    // off as points 1..200): a longer run is drawn as far as they go.
    const int n = multiRun ? std::min(doc.MultiRunShape().Steps - 1, MaxMultiRunPoints)
                           : std::min(doc.RunHeader.CurrentStep - 1, SeriesLength - 1);
    auto X = [&](int k, int t) {
        return multiRun ? averaged.MultiRunMean[MultiRunCenterOfMassRow + 2 * k][t] : doc.Collected.CenterOfMassSeries[2 * k][t];
    };
    auto Y = [&](int k, int t) {
        return multiRun ? averaged.MultiRunMean[MultiRunCenterOfMassRow + 2 * k + 1][t]
                        : doc.Collected.CenterOfMassSeries[2 * k + 1][t];
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

    // The path leaves out the steps not measured (all of a batch that has
    // not ended).
    auto measured = [&](int t) { return doc.StepMeasured(t, CenterOfMassStatistic); };
    AxisSpan x, y, z;
    int s = 0;
    auto shown = [this](CGraphPropertyArray2D& data, int set, int t) { return data[set][t].GetDouble(); };

    if (kind == 1 || kind == 4) {
        // The path in the plane, or through time in the cage.
        const bool cage = kind == 4;
        if (cage) {
            Graph.GraphType = 21;
            Graph.GraphStyle = 2;
            Graph.Rotation = 45;
            Graph.Elevation = 25;
            Apply3DLook(false);
            Graph.LeftTitle = "Time";
            Graph.RightTitle = Averaged(multiRun, "y");
            Graph.GraphTitle = SampledTitle(multiRun, samples, "Center-of-Mass 3D Time-Series (Z axis = time)");
        } else {
            ApplyXYPlotLook();
            Graph.LeftTitle = Averaged(multiRun, "y");
            Graph.GraphTitle = SampledTitle(multiRun, samples, "Center-of-Mass (x,y) Positions");
        }
        Graph.LeftTitleStyle = 1;
        Graph.BottomTitle = Averaged(multiRun, "x");
        for (int k = 0; k < 3; ++k) {
            if (charts.*groups[k].Flag != 1)
                continue;
            for (int t = 1; t <= n; ++t) {
                if (!measured(t))
                    continue;
                PlacePathPoint(cage, s, t, X(k, t), Y(k, t), t);
                y.Take(shown(Graph.GraphData, s, t));
                x.Take(shown(Graph.XPosData, s, t));
                if (cage)
                    z.Take(shown(Graph.ZPosData, s, t));
            }
            if (measured(1))
                PlacePathPoint(cage, s, 0, X(k, 1), Y(k, 1), 1);
            Graph.LegendText[s] = groups[k].Legend;
            ++s;
            Graph.NumSets = s;
        }
        Graph.XAxisMin = x.Min;
        Graph.XAxisMax = x.Max;
        if (cage) {
            Graph.ZAxisMin = z.Min;
            Graph.ZAxisMax = z.Max;
        }
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

    // The distance forms. The RED flag is the goal of the BLUE force, and
    // the BLUE flag the goal of the RED force.
    const bool fromRed = kind == 2;
    const CForce& owner = doc.Force(fromRed ? Side::Blue : Side::Red);
    const double fx = owner.GoalFlagX, fy = owner.GoalFlagY;
    const char* flagName = fromRed ? "Red-Flag" : "Blue-Flag";

    TimeSetup(multiRun, 0, fromRed ? n - 1 : n, n, false);
    Graph.LeftTitle = Averaged(multiRun, "Distance");
    Graph.GraphTitle = SampledTitle(multiRun, samples, fromRed ? "Distance From Red-Flag" : "Distance From Blue-Flag");

    double distance[SeriesLength] = {}, error[SeriesLength] = {};
    for (int k = 0; k < 3; ++k) {
        if (charts.*groups[k].Flag != 1)
            continue;
        // Step 1 always: point 0 repeats it.
        for (int t = 1; t <= std::max(n, 1); ++t) {
            const double dx = fx - X(k, t), dy = fy - Y(k, t);
            distance[t] = std::sqrt(dx * dx + dy * dy);
            if (multiRun) {
                const double sx = averaged.MultiRunDev[MultiRunCenterOfMassRow + 2 * k][t] * dx;
                const double sy = averaged.MultiRunDev[MultiRunCenterOfMassRow + 2 * k + 1][t] * dy;
                // On the flag itself the error has no direction: none is drawn.
                error[t] = distance[t] > 0.0 ? std::sqrt(sx * sx + sy * sy) / distance[t] : 0.0;
            }
        }
        const Curve curve{distance, error, groups[k].Legend,
                          std::string("Center-of-Mass: ") + groups[k].Who + "::" + flagName, CenterOfMassStatistic};
        const Extremes e = FillCurve(doc, s, curve, n, multiRun, 1);
        if (n >= 1) {
            y.Take(e.Min);
            y.Take(e.Max);
        }
        ++s;
    }
    SetXRange(1, n);
    // Averaged distances are read with their bars from 0, as they can be no less.
    Graph.YAxisMin[0] = multiRun ? 0.0 : y.Min;
    Graph.YAxisMax[0] = y.Max;
    DrawChart();
    EndHandOff(doc, s);
}

}  // namespace brevimar
