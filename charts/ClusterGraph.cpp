#include "charts/ClusterGraph.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CClusterDistributionGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Cluster Distribution",
        {
            {DlgItem::Group, IDC_STATIC, "Inter-Cluster Distance Criterion"},
            {DlgItem::Radio, O::IDC_D1, "D=1"},
            {DlgItem::Radio, O::IDC_D2, "D=2"},
            {DlgItem::EndGroup},
            {DlgItem::Radio, O::IDC_DISTRIBUTION, "Distribution"},
            {DlgItem::Radio, O::IDC_AVERAGE, "Average"},
            {DlgItem::Label, IDC_STATIC, "dC"},
            {DlgItem::Edit, O::IDC_BIN_WIDTH},
            {DlgItem::Label, IDC_STATIC, "MaxC"},
            {DlgItem::Edit, O::IDC_MAX_SIZE},
            {DlgItem::CheckBox, O::IDC_DEVIATION, " +/- Deviation"},
        },
    };
    return table;
}

}  // namespace

CClusterDistributionGraphOptionsDlg::CClusterDistributionGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    const std::pair<int, std::pair<int O::*, int>> radios[] = {
        {IDC_D1, {&O::DistanceCriterion, 1}},
        {IDC_D2, {&O::DistanceCriterion, 2}},
        {IDC_DISTRIBUTION, {&O::ClusterForm, 1}},
        {IDC_AVERAGE, {&O::ClusterForm, 2}},
    };
    // A click brings back the stored numbers over any typed but not accepted.
    for (const auto& [id, choice] : radios)
        OnButton(id, [this, member = choice.first, value = choice.second] {
            this->*member = value;
            UpdateData(false);
            OnInitDialog();
        });
}

bool CClusterDistributionGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_D1, IDC_D2, DistanceCriterion == 1 ? IDC_D1 : IDC_D2);
    CheckRadioButton(IDC_DISTRIBUTION, IDC_AVERAGE, ClusterForm == 1 ? IDC_DISTRIBUTION : IDC_AVERAGE);
    CheckDlgButton(IDC_DEVIATION, ShowDeviations == 1 ? 1 : 0);
    EnableDlgItem(IDC_DEVIATION, false);
    return true;
}

void CClusterDistributionGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_BIN_WIDTH, BinWidth);
    DDV_MinMaxInt(dx, BinWidth, 1, 100);
    DDX_Text(dx, IDC_MAX_SIZE, MaxClusterSize);
    DDV_MinMaxInt(dx, MaxClusterSize, 10, 2000);
}

void CClusterDistributionGraphOptionsDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    Accepted = 1;
    UpdateData(false);
    EndDialog(IDOK);
}

CClusterDistributionGraphDlg::CClusterDistributionGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CStepSeriesChart(IDD, Caption, parent)
{
    // Both forms hand off one series: the average form its curve, the
    // distribution form an empty one, so that the raw graph-data report
    // never repeats the previous chart's.
    BeginHandOff(doc);
    const int d = doc.Charts.ClusterGraphDistance == 1 ? 1 : 2;
    HandOffLabel(doc, 0, d == 1 ? "Cluster Distribution: D=1" : "Cluster Distribution: D=2");
    for (int t = 1; t < MultiRunGraphPoints; ++t)
        HandOffPoint(doc, 0, t, 0.0, 0.0);

    Create();
    CreateChart();
    ResetChartTemplate();
    Graph.NumSets = 1;
    if (doc.Charts.ClusterGraphForm != 2)
        DrawDistribution(doc, d);
    else
        DrawAverage(doc, d);
    DrawChart();
    EndHandOff(doc, 1);
}

void CClusterDistributionGraphDlg::DrawDistribution(const CBrevimarDoc& doc, int d)
{
    Graph.GraphType = 3;
    Graph.GraphStyle = 0;
    Common2D common;
    common.YMinZero = true;
    ApplyCommon2DSettings(common);
    Graph.LeftTitle = "Number";
    Graph.BottomTitle = "Cluster Size";
    ApplyCommon2DClosing();
    Graph.NumPoints = 0;

    char title[96];
    std::snprintf(title, sizeof title, "Cluster Size Distribution (D=%d); Time = %d", d, doc.RunHeader.CurrentStep);
    Graph.GraphTitle = title;

    const int* counts = d == 1 ? doc.Collected.ClusterSizeCountD1 : doc.Collected.ClusterSizeCountD2;
    const int width = std::clamp(doc.Charts.ClusterGraphBinWidth, 1, 100);
    const int largest = std::clamp(doc.Charts.ClusterGraphMaxSize, 1, 2000);
    // Sizes beyond the table have no clusters.
    int sum = 0, inBin = 0, bins = 0;
    double hi = 0.0;
    for (int j = 1; j <= largest; ++j) {
        if (j < ClusterSizeSlots)
            sum += counts[j];
        if (++inBin < width)
            continue;
        ++bins;
        Graph.LabelText[bins - 1] = std::to_string(width * bins);
        Graph.GraphData[0][bins - 1] = static_cast<double>(sum);
        hi = std::max(hi, Graph.GraphData[0][bins - 1].GetDouble());
        sum = 0;
        inBin = 0;
    }
    Graph.NumPoints = bins;
    Graph.YAxisMax[0] = hi == 0.0 ? 1.0 : hi;
    Graph.XAxisMin = 1.0;
    Graph.XAxisMax = Graph.NumPoints.GetDouble();
    Graph.Bar2DGap = 0;
    Graph.ColorData[0] = 0;
    Graph.DrawStyle = 0;
}

void CClusterDistributionGraphDlg::DrawAverage(CBrevimarDoc& doc, int d)
{
    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const int n = ClampSteps((multiRun ? doc.MultiRunShape().Steps : doc.RunHeader.CurrentStep) - 1, multiRun);
    Graph.GraphType = 6;
    Graph.GraphStyle = 0;
    Graph.EBarSource[0] = multiRun ? 5 : 0;
    Graph.NumPoints = n;
    Common2D common;
    common.MultiRun = multiRun;
    common.XRangeFromPoints = true;
    common.TickPoints = doc.RunHeader.CurrentStep - 1;
    common.YMinZero = true;
    ApplyCommon2DSettings(common);
    Graph.LeftTitle = multiRun ? "(Ave) Size" : "Size";
    Graph.BottomTitle = "Time";
    ApplyCommon2DClosing();

    char title[96];
    if (multiRun)
        std::snprintf(title, sizeof title, "Average Cluster Size (D=%d; %d Samples)", d,
                      doc.MultiRunShape().Samples);
    else
        std::snprintf(title, sizeof title, "Average Cluster Size (D=%d)", d);
    Graph.GraphTitle = title;

    Curve curve{d == 1 ? doc.Collected.MeanClusterSizeD1 : doc.Collected.MeanClusterSizeD2, nullptr,
                "", d == 1 ? "Cluster Distribution: D=1" : "Cluster Distribution: D=2",
                d == 1 ? ClusterD1Statistic : ClusterD2Statistic};
    if (multiRun) {
        curve.Values = doc.MultiRunCharts.MultiRunMean[MultiRunClusterRow + d - 1];
        curve.Deviations = doc.MultiRunCharts.MultiRunDev[MultiRunClusterRow + d - 1];
    }
    // Point t sits at x = t here, so points 0 and 1 share x = 1.
    const Extremes e = FillCurve(doc, 0, curve, n, multiRun, 0);
    Graph.YAxisMax[0] = e.Max == 0.0 ? 1.0 : e.Max;
    Graph.DrawStyle = 0;
}

}  // namespace brevimar
