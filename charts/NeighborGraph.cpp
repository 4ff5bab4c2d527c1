#include "charts/NeighborGraph.h"

#include <algorithm>
#include <string>

#include "charts/GoalCountGraph.h"
#include "core/Document.h"

namespace brevimar {

namespace {

using O = CNeighborCountGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{O::IDD,
                         "2D Graph::Neighbor Count",
                         {
                             {DlgItem::Group, IDC_STATIC, "Select Graph"},
                             {DlgItem::CheckBox, O::IDC_TOTAL_NEAR_RED, "Total within Range R of Red"},
                             {DlgItem::CheckBox, O::IDC_TOTAL_NEAR_BLUE, "Total within Range R of Blue"},
                             {DlgItem::CheckBox, O::IDC_RED_NEAR_RED, "Red within Range R of Red"},
                             {DlgItem::CheckBox, O::IDC_BLUE_NEAR_RED, "Blue within Range R of Red"},
                             {DlgItem::CheckBox, O::IDC_RED_NEAR_BLUE, "Red within Range R of Blue"},
                             {DlgItem::CheckBox, O::IDC_BLUE_NEAR_BLUE, "Blue within Range R of Blue"},
                         }};
        AddRangeRadios(t.Items, O::IDC_RANGE_1);
        // Bound to nothing: the bars follow the run mode alone.
        t.Items.emplace_back(DlgItem::CheckBox, O::IDC_DEVIATION, " +/- Deviation");
        return t;
    }();
    return table;
}

}  // namespace

CNeighborCountGraphOptionsDlg::CNeighborCountGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    const std::pair<int, int O::*> boxes[] = {
        {IDC_TOTAL_NEAR_RED, &O::TotalNearRed}, {IDC_TOTAL_NEAR_BLUE, &O::TotalNearBlue},
        {IDC_RED_NEAR_RED, &O::RedNearRed},     {IDC_BLUE_NEAR_RED, &O::BlueNearRed},
        {IDC_RED_NEAR_BLUE, &O::RedNearBlue},   {IDC_BLUE_NEAR_BLUE, &O::BlueNearBlue},
    };
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, flag = flag] { ToggleCheckFlag(*this, this->*flag); });
    OnRangeRadios(*this, IDC_RANGE_1, Range);
}

void CNeighborCountGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CheckFlag(dx, IDC_TOTAL_NEAR_RED, TotalNearRed);
    DDX_CheckFlag(dx, IDC_TOTAL_NEAR_BLUE, TotalNearBlue);
    DDX_CheckFlag(dx, IDC_RED_NEAR_RED, RedNearRed);
    DDX_CheckFlag(dx, IDC_BLUE_NEAR_RED, BlueNearRed);
    DDX_CheckFlag(dx, IDC_RED_NEAR_BLUE, RedNearBlue);
    DDX_CheckFlag(dx, IDC_BLUE_NEAR_BLUE, BlueNearBlue);
    DDX_RangeRadio(dx, IDC_RANGE_1, Range);
}

CNeighborCountGraphDlg::CNeighborCountGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CStepSeriesChart(IDD, Caption, parent)
{
    // The collected kinds: RED near RED, BLUE near RED, all near RED, RED
    // near BLUE, BLUE near BLUE, all near BLUE.
    using C = CChartSelections;
    struct Kind {
        int C::*Flag;
        int Index;
        const char* Legend;
        const char* Label;
    };
    static constexpr Kind kinds[] = {
        {&C::NeighborGraphTotalNearRed, 2, "Total near Red", "Neighbor Distribution: Total Within Red"},
        {&C::NeighborGraphTotalNearBlue, 5, "Total near Blue", "Neighbor Distribution: Total Within Blue"},
        {&C::NeighborGraphRedNearRed, 0, "Red near Red", "Neighbor Distribution: Red Within Red"},
        {&C::NeighborGraphRedNearBlue, 3, "Red near Blue", "Neighbor Distribution: Red Within Blue"},
        {&C::NeighborGraphBlueNearBlue, 4, "Blue near Blue", "Neighbor Distribution: Blue Within Blue"},
        {&C::NeighborGraphBlueNearRed, 1, "Blue near Red", "Neighbor Distribution: Blue Within Red"},
    };

    BeginHandOff(doc);
    Create();
    CreateChart();
    ResetChartTemplate();

    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const int n = ClampSteps((multiRun ? doc.MultiRunShape().Steps : doc.RunHeader.CurrentStep) - 1, multiRun);
    const int R = std::clamp(doc.Charts.NeighborGraphRange, 1, StatisticRanges);
    TimeSetup(multiRun, 0, n, n, true);

    Graph.LeftTitle = Averaged(multiRun, "# of Neighbors");
    Graph.GraphTitle = SampledTitle(multiRun, doc.MultiRunShape().Samples, "Average Neighbor Count",
                                    "Range R=" + std::to_string(R));

    int s = 0;
    Extremes all;
    for (const Kind& kind : kinds) {
        if (doc.Charts.*kind.Flag != 1)
            continue;
        Curve curve{nullptr, nullptr, kind.Legend, kind.Label, NeighborStatistic};
        if (multiRun) {
            curve.Values = doc.MultiRunCharts.MultiRunNeighborMean[kind.Index][R];
            curve.Deviations = doc.MultiRunCharts.MultiRunNeighborDev[kind.Index][R];
        } else if (doc.NeighborLog[kind.Index]) {
            curve.Values = doc.NeighborLog[kind.Index].get() + SeriesIndex(R, 0);
        }
        all.Take(FillCurve(doc, s, curve, n, multiRun, 1));
        ++s;
    }

    FinishTimeAxes(1, n, all.Max);

    DrawChart();
    EndHandOff(doc, s);
}

}  // namespace brevimar
