#include "charts/SpatialEntropyGraph.h"

#include <algorithm>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CSpatialEntropyGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Spatial Entropy",
        {
            {DlgItem::Group, IDC_STATIC, "Select VORLAX Set"},
            {DlgItem::CheckBox, O::IDC_RED, "Red Entropy"},
            {DlgItem::CheckBox, O::IDC_BLUE, "Blue Entropy"},
            {DlgItem::CheckBox, O::IDC_TOTAL, "Total Entropy"},
            {DlgItem::Group, IDC_STATIC, "Select Plot"},
            {DlgItem::CheckBox, O::IDC_COARSE, "4-by-4 Array (Coarse)"},
            {DlgItem::CheckBox, O::IDC_MEDIUM, "8-by-8 (Medium)"},
            {DlgItem::CheckBox, O::IDC_FINE, "16-by-16 (Fine)"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

}  // namespace

CSpatialEntropyGraphOptionsDlg::CSpatialEntropyGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    const std::pair<int, int O::*> boxes[] = {
        {IDC_RED, &O::ShowRed},       {IDC_BLUE, &O::ShowBlue},     {IDC_TOTAL, &O::ShowTotal},
        {IDC_COARSE, &O::ShowCoarse}, {IDC_MEDIUM, &O::ShowMedium}, {IDC_FINE, &O::ShowFine},
    };
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, flag = flag] { ToggleCheckFlag(*this, this->*flag); });
}

void CSpatialEntropyGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CheckFlag(dx, IDC_RED, ShowRed);
    DDX_CheckFlag(dx, IDC_BLUE, ShowBlue);
    DDX_CheckFlag(dx, IDC_TOTAL, ShowTotal);
    DDX_CheckFlag(dx, IDC_COARSE, ShowCoarse);
    DDX_CheckFlag(dx, IDC_MEDIUM, ShowMedium);
    DDX_CheckFlag(dx, IDC_FINE, ShowFine);
}

CSpatialEntropyGraphDlg::CSpatialEntropyGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CStepSeriesChart(IDD, Caption, parent)
{
    using C = CChartSelections;
    static constexpr int C::*groups[] = {&C::SpatialEntropyGraphRed, &C::SpatialEntropyGraphBlue,
                                         &C::SpatialEntropyGraphTotal};
    static constexpr int C::*divisions[] = {&C::SpatialEntropyGraphCoarse, &C::SpatialEntropyGraphMedium,
                                            &C::SpatialEntropyGraphFine};
    static constexpr const char* legends[3][3] = {
        {"Red (Coarse)", "Red (Medium)", "Red (Fine)"},
        {"Blue (Coarse)", "Blue (Medium)", "Blue (Fine)"},
        {"Total (Coarse)", "Total (Medium)", "Total (Fine)"},
    };
    const CCollectedStatistics& c = doc.Collected;
    const double (*entropy[3])[SeriesLength] = {c.SpatialEntropy16, c.SpatialEntropy64, c.SpatialEntropy256};

    Create();
    CreateChart();
    ResetChartTemplate();

    // Spatial entropy is a chart of the single run in every run mode.
    const int n = ClampSteps(doc.RunHeader.CurrentStep - 1, false);
    TimeSetup(false, 4, n, n, false);
    Graph.LeftTitle = "Entropy";
    Graph.GraphTitle = "Spatial Block Entropy";

    // The y axis never starts above 1.
    Extremes all;
    all.Min = 1.0;
    int s = 0;
    for (int k = 0; k < 3; ++k)
        for (int r = 0; r < 3; ++r) {
            if (doc.Charts.*groups[k] != 1 || doc.Charts.*divisions[r] != 1)
                continue;
            const Curve curve{entropy[r][k], nullptr, legends[k][r], {}, SpatialEntropyStatistic};
            all.Take(FillCurve(doc, s, curve, n, false, 1));
            ++s;
        }

    FinishTimeAxes(1, n, all.Max);
    Graph.YAxisMin[0] = all.Min;
    DrawChart();
}

}  // namespace brevimar
