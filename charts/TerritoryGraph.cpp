#include "charts/TerritoryGraph.h"

#include <algorithm>
#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CTerritorialPossessionGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Territory",
        {
            {DlgItem::Group, IDC_STATIC, "Select Graph"},
            {DlgItem::CheckBox, O::IDC_RED_RAW, "Red:Raw"},
            {DlgItem::CheckBox, O::IDC_RED_NORMALIZED, "Red:Normalized"},
            {DlgItem::CheckBox, O::IDC_BLUE_RAW, "Blue:Raw"},
            {DlgItem::CheckBox, O::IDC_BLUE_NORMALIZED, "Blue:Normalized"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

}  // namespace

CTerritorialPossessionGraphOptionsDlg::CTerritorialPossessionGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    const std::pair<int, int O::*> boxes[] = {
        {IDC_RED_RAW, &O::RedRaw},
        {IDC_RED_NORMALIZED, &O::RedNormalized},
        {IDC_BLUE_RAW, &O::BlueRaw},
        {IDC_BLUE_NORMALIZED, &O::BlueNormalized},
    };
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, flag = flag] { ToggleCheckFlag(*this, this->*flag); });
}

void CTerritorialPossessionGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CheckFlag(dx, IDC_RED_RAW, RedRaw);
    DDX_CheckFlag(dx, IDC_RED_NORMALIZED, RedNormalized);
    DDX_CheckFlag(dx, IDC_BLUE_RAW, BlueRaw);
    DDX_CheckFlag(dx, IDC_BLUE_NORMALIZED, BlueNormalized);
}

CTerritorialPossessionGraphDlg::CTerritorialPossessionGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CStepSeriesChart(IDD, Caption, parent)
{
    using C = CChartSelections;
    struct Row {
        int C::*Flag;
        const char* Legend;
        const char* Label;
    };
    static constexpr Row rows[] = {
        {&C::TerritoryGraphRedRaw, "Red::Raw", "Territorial Possession: Red::Raw"},
        {&C::TerritoryGraphRedNormalized, "Red::Normalized", "Territorial Possession: Red::Normalized"},
        {&C::TerritoryGraphBlueRaw, "Blue::Raw", "Territorial Possession: Blue::Raw"},
        {&C::TerritoryGraphBlueNormalized, "Blue::Normalized", "Territorial Possession: Blue::Normalized"},
    };
    const CCollectedStatistics& c = doc.Collected;
    const double* single[] = {c.RedTerritoryRaw, c.RedTerritoryNormalized, c.BlueTerritoryRaw,
                              c.BlueTerritoryNormalized};

    // This chart hands off its own curves, so that the raw graph-data report
    // never repeats the previous chart's.
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
    TimeSetup(multiRun, 0, T - 1, T, true);

    const CBattlefield& f = doc.Battlefield;
    Graph.LeftTitle = Averaged(multiRun, "Occupied Territory (fractional %)");
    Graph.GraphTitle = SampledTitle(multiRun, doc.MultiRunShape().Samples, "Territorial Possession",
                                    "R=" + std::to_string(f.TerritoryRange) + ", N=" +
                                        std::to_string(f.TerritoryMinCount) + ", Delta=" +
                                        std::to_string(f.TerritoryDelta));

    int s = 0;
    Extremes all;
    for (int row = 0; row < 4; ++row) {
        if (doc.Charts.*rows[row].Flag != 1)
            continue;
        Curve curve{single[row], nullptr, rows[row].Legend, rows[row].Label, TerritoryStatistic};
        if (multiRun) {
            curve.Values = doc.MultiRunCharts.MultiRunTerritoryMean[row];
            curve.Deviations = doc.MultiRunCharts.MultiRunTerritoryDev[row];
        }
        all.Take(FillCurve(doc, s, curve, last, multiRun, 1));
        ++s;
    }

    FinishTimeAxes(FirstShownStep(all, T, current), T, all.Max);

    DrawChart();
    EndHandOff(doc, s);
}

}  // namespace brevimar
