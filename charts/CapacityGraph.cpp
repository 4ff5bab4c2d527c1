#include "charts/CapacityGraph.h"

#include <algorithm>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CCapacityDimensionGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Capacity (Box-Counting) Dimension",
        {
            {DlgItem::Group, IDC_STATIC, "Select Spatial Patterns"},
            {DlgItem::CheckBox, O::IDC_RED, "Red"},
            {DlgItem::CheckBox, O::IDC_BLUE, "Blue"},
            {DlgItem::CheckBox, O::IDC_TOTAL, "Total"},
            {DlgItem::CheckBox, O::IDC_DEVIATIONS, "Include (Estimated) +/- Deviations"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

}  // namespace

CCapacityDimensionGraphOptionsDlg::CCapacityDimensionGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CDialog(OptionsTemplate(), parent), Accepted(1)
{
    const std::pair<int, int O::*> boxes[] = {
        {IDC_RED, &O::ShowRed},
        {IDC_BLUE, &O::ShowBlue},
        {IDC_TOTAL, &O::ShowTotal},
        {IDC_DEVIATIONS, &O::ShowDeviations},
    };
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, id = id, flag = flag] {
            this->*flag = this->*flag == 1 ? 0 : 1;
            CheckDlgButton(id, this->*flag == 1 ? 1 : 0);
        });
}

bool CCapacityDimensionGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A box whose member is not exactly 1 keeps the template's mark.
    const std::pair<int, int> boxes[] = {
        {IDC_RED, ShowRed}, {IDC_BLUE, ShowBlue}, {IDC_TOTAL, ShowTotal}, {IDC_DEVIATIONS, ShowDeviations}};
    for (const auto& [id, flag] : boxes)
        if (flag == 1)
            CheckDlgButton(id, 1);
    return true;
}

void CCapacityDimensionGraphOptionsDlg::OnOK()
{
    Accepted = 1;
    CDialog::OnOK();
}

CCapacityDimensionGraphDlg::CCapacityDimensionGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CChartWindow(IDD, Caption, parent)
{
    Create();
    CreateChart();
    ResetChartTemplate();

    const CChartSelections& charts = doc.Charts;
    const CCollectedStatistics& stats = doc.Collected;
    const bool deviations = charts.CapacityDimGraphDeviations == 1;
    // The series hold steps 0..501: a run beyond that is drawn as far as
    // they go.
    const int last = std::min(doc.RunHeader.CurrentStep - 1, SeriesLength - 1);

    Graph.GraphType = 6;
    Graph.GraphStyle = 0;
    Graph.EBarSource[0] = deviations ? 5 : 0;
    Graph.NumPoints = doc.RunHeader.CurrentStep - 1;
    Common2D common;
    common.TickPoints = doc.RunHeader.CurrentStep - 1;
    ApplyCommon2DSettings(common);
    Graph.LeftTitle = "Dimension";
    Graph.BottomTitle = "Time";
    ApplyCommon2DClosing();
    Graph.GraphTitle = "Estimated Capacity (Box-Counting) Dimension";

    struct Pattern {
        int CChartSelections::*Flag;
        const char* Legend;
    };
    static constexpr Pattern patterns[] = {
        {&CChartSelections::CapacityDimGraphRed, "Red Pattern"},
        {&CChartSelections::CapacityDimGraphBlue, "Blue Pattern"},
        {&CChartSelections::CapacityDimGraphTotal, "Total Pattern"},
    };
    double ymax = 0.0, ymin = 1.0;
    int s = 0;
    for (int k = 0; k < 3; ++k) {
        if (charts.*patterns[k].Flag != 1)
            continue;
        const double* S = stats.CapacityDimension[k];
        const double* D = stats.CapacityDimensionError[k];
        for (int t = 1; t <= last; ++t) {
            if (!doc.StepCollected(t, CapacityDimensionStatistic))
                continue;
            Graph.GraphData[s][t] = S[t];
            Graph.XPosData[s][t] = static_cast<double>(t + 1);
            const double shown = Graph.GraphData[s][t].GetDouble();
            ymax = std::max(ymax, shown);
            ymin = std::min(ymin, shown);
            if (deviations) {
                Graph.EBarGraphDataPlus[s][t] = D[t];
                Graph.EBarGraphDataMinus[s][t] = D[t];
                ymax = std::max(ymax, S[t] + D[t]);
                ymin = std::min(ymin, S[t] - D[t]);
            } else {
                Graph.EBarGraphDataPlus[s][t] = 0.0;
                Graph.EBarGraphDataMinus[s][t] = 0.0;
            }
        }
        if (doc.StepCollected(1, CapacityDimensionStatistic)) {
            Graph.GraphData[s][0] = S[1];
            Graph.XPosData[s][0] = 1.0;
        }
        Graph.LegendText[s] = patterns[k].Legend;
        ++s;
        Graph.NumSets = s;
    }

    Graph.XAxisMin = 1.0;
    Graph.XAxisMax = static_cast<double>(doc.RunHeader.CurrentStep - 1);
    Graph.RangeMin = 1;
    Graph.RangeMax = doc.RunHeader.CurrentStep - 1;
    if (ymax == 0.0)
        ymax = 1.0;
    Graph.YAxisMin[0] = ymin;
    Graph.YAxisMax[0] = ymax;

    DrawChart();
}

}  // namespace brevimar
