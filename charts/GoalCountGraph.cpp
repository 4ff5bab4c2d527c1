#include "charts/GoalCountGraph.h"

#include <algorithm>
#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CGoalCountGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{O::IDD,
                         "2D Graph::Goal Count",
                         {
                             {DlgItem::Group, IDC_STATIC, "Select Graph"},
                             {DlgItem::CheckBox, O::IDC_RED_NEAR_RED_FLAG, "Red within Range R of Red-Flag"},
                             {DlgItem::CheckBox, O::IDC_BLUE_NEAR_RED_FLAG, "Blue within Range R of Red-Flag"},
                             {DlgItem::CheckBox, O::IDC_RED_NEAR_BLUE_FLAG, "Red within Range R of Blue-Flag"},
                             {DlgItem::CheckBox, O::IDC_BLUE_NEAR_BLUE_FLAG, "Blue within Range R of Blue-Flag"},
                         }};
        AddRangeRadios(t.Items, O::IDC_RANGE_1);
        return t;
    }();
    return table;
}

}  // namespace

void AddRangeRadios(std::vector<DialogItem>& items, int firstId)
{
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Select Range", 7);
    for (int r = 1; r <= 7; ++r)
        items.emplace_back(DlgItem::Radio, firstId + r - 1, std::to_string(r));
    items.emplace_back(DlgItem::EndGroup);
}

void OnRangeRadios(CDialog& dialog, int firstId, int& range)
{
    for (int r = 1; r <= 7; ++r)
        dialog.OnButton(firstId + r - 1, [&dialog, &range, r] {
            range = r;
            dialog.UpdateData(false);
        });
}

void DDX_RangeRadio(CDataExchange& dx, int firstId, int range)
{
    if (!dx.SaveAndValidate && dx.Active())
        dx.Dialog.CheckRadioButton(firstId, firstId + 6, firstId + std::clamp(range, 1, 7) - 1);
}

CGoalCountGraphOptionsDlg::CGoalCountGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    const std::pair<int, int O::*> boxes[] = {
        {IDC_RED_NEAR_RED_FLAG, &O::RedNearRedFlag},
        {IDC_BLUE_NEAR_RED_FLAG, &O::BlueNearRedFlag},
        {IDC_RED_NEAR_BLUE_FLAG, &O::RedNearBlueFlag},
        {IDC_BLUE_NEAR_BLUE_FLAG, &O::BlueNearBlueFlag},
    };
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, flag = flag] { ToggleCheckFlag(*this, this->*flag); });
    OnRangeRadios(*this, IDC_RANGE_1, Range);
}

bool CGoalCountGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return true;
}

void CGoalCountGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CheckFlag(dx, IDC_RED_NEAR_RED_FLAG, RedNearRedFlag);
    DDX_CheckFlag(dx, IDC_BLUE_NEAR_RED_FLAG, BlueNearRedFlag);
    DDX_CheckFlag(dx, IDC_RED_NEAR_BLUE_FLAG, RedNearBlueFlag);
    DDX_CheckFlag(dx, IDC_BLUE_NEAR_BLUE_FLAG, BlueNearBlueFlag);
    DDX_RangeRadio(dx, IDC_RANGE_1, Range);
}

CGoalCountGraphDlg::CGoalCountGraphDlg(QWidget* parent, CBrevimarDoc& doc) : CStepSeriesChart(IDD, Caption, parent)
{
    // The collected kinds: RED near the BLUE flag, BLUE near the RED flag,
    // RED near the RED flag, BLUE near the BLUE flag.
    struct Pair {
        int CChartSelections::*Flag;
        int Kind;
        const char* Legend;
        const char* Label;
    };
    static constexpr Pair pairs[] = {
        {&CChartSelections::GoalGraphRedNearRedFlag, 2, "Red near Red-Flag", "Goal Count: Red Within Red-Flag"},
        {&CChartSelections::GoalGraphRedNearBlueFlag, 0, "Red near Blue-Flag", "Goal Count: Red Within Blue-Flag"},
        {&CChartSelections::GoalGraphBlueNearBlueFlag, 3, "Blue near Blue-Flag",
         "Goal Count: Blue Within Blue-Flag"},
        {&CChartSelections::GoalGraphBlueNearRedFlag, 1, "Blue near Red-Flag", "Goal Count: Blue Within Red-Flag"},
    };

    BeginHandOff(doc);
    Create();
    CreateChart();
    ResetChartTemplate();

    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const int current = doc.RunHeader.CurrentStep;
    const int steps = multiRun ? doc.MultiRunShape().Steps : current - 1;
    const int T = ClampSteps(steps, multiRun);
    // A batch of T steps averages steps 0..T - 1: the curves end there.
    const int last = multiRun ? ClampSteps(steps - 1, true) : T;
    const int R = std::clamp(doc.Charts.GoalGraphRange, 1, StatisticRanges);
    TimeSetup(multiRun, 0, T - 1, T, true);

    Graph.LeftTitle = Averaged(multiRun, "Number of VORLAXs");
    Graph.GraphTitle = SampledTitle(multiRun, doc.MultiRunShape().Samples, "Number of VORLAXs Near Goal",
                                    "Range R=" + std::to_string(R));

    int s = 0;
    Extremes all;
    for (const Pair& pair : pairs) {
        if (doc.Charts.*pair.Flag != 1)
            continue;
        Curve curve{nullptr, nullptr, pair.Legend, pair.Label, GoalCountStatistic};
        if (multiRun) {
            curve.Values = doc.MultiRunCharts.MultiRunGoalMean[pair.Kind][R];
            curve.Deviations = doc.MultiRunCharts.MultiRunGoalDev[pair.Kind][R];
        } else if (doc.GoalCountLog[pair.Kind]) {
            curve.Values = doc.GoalCountLog[pair.Kind].get() + SeriesIndex(R, 0);
        }
        all.Take(FillCurve(doc, s, curve, last, multiRun, 1));
        ++s;
    }

    // The axis starts where the first pair leaves zero.
    FinishTimeAxes(FirstShownStep(all, T, current), T, all.Max);

    DrawChart();
    EndHandOff(doc, s);
}

}  // namespace brevimar
