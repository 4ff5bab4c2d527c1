#include "charts/InterpointGraph.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CInterpointDistributionGraphOptionsDlg;
using C = CChartSelections;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::InterPoint Distribution",
        {
            {DlgItem::Group, IDC_STATIC, "Select Pair"},
            {DlgItem::Radio, O::IDC_PAIR_AGENTS, "VORLAX : VORLAX"},
            {DlgItem::Radio, O::IDC_PAIR_FLAG, "VORLAX : Enemy-Flag"},
            {DlgItem::Group, IDC_STATIC, "VORLAX : VORLAX"},
            {DlgItem::Radio, O::IDC_AGENT_DISTRIBUTION, "Distribution"},
            {DlgItem::Radio, O::IDC_AGENT_AVERAGE, "Average"},
            {DlgItem::Label, IDC_STATIC, "Maximum Distance"},
            {DlgItem::Edit, O::IDC_MAX_DISTANCE},
            {DlgItem::CheckBox, O::IDC_AGENT_DEVIATION, " +/- Deviation"},
            {DlgItem::CheckBox, O::IDC_RED_RED, "Red : Red"},
            {DlgItem::CheckBox, O::IDC_BLUE_BLUE, "Blue : Blue"},
            {DlgItem::CheckBox, O::IDC_RED_BLUE, "Red : Blue"},
            {DlgItem::Group, IDC_STATIC, "VORLAX : Enemy-Flag"},
            {DlgItem::Radio, O::IDC_FLAG_DISTRIBUTION, "Distribution"},
            {DlgItem::Radio, O::IDC_FLAG_AVERAGE, "Average"},
            {DlgItem::Label, IDC_STATIC, "Max D"},
            {DlgItem::Edit, O::IDC_MAX_FLAG_DISTANCE},
            {DlgItem::Label, IDC_STATIC, "Min D"},
            {DlgItem::Edit, O::IDC_MIN_FLAG_DISTANCE},
            {DlgItem::CheckBox, O::IDC_FLAG_DEVIATION, " +/- Deviation"},
            {DlgItem::CheckBox, O::IDC_RED_BLUE_FLAG, "Red : Blue-Flag"},
            {DlgItem::CheckBox, O::IDC_BLUE_RED_FLAG, "Blue : Red-Flag"},
            {DlgItem::CheckBox, O::IDC_RED_RED_FLAG, "Red : Red-Flag"},
            {DlgItem::CheckBox, O::IDC_BLUE_BLUE_FLAG, "Blue : Blue-Flag"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

// The collected measures: 0 RED to the BLUE flag, 1 BLUE to the RED flag,
// 2 RED to the RED flag, 3 BLUE to the BLUE flag, 4 RED pairs, 5 BLUE pairs,
// 6 RED-BLUE pairs.
struct Measure {
    int C::*Flag;
    int Row;
    const char* Legend;
};

}  // namespace

CInterpointDistributionGraphOptionsDlg::CInterpointDistributionGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    MinFlagDistance = 0;
    const std::pair<int, int O::*> boxes[] = {
        {IDC_AGENT_DEVIATION, &O::AgentDeviation}, {IDC_RED_RED, &O::RedRed},
        {IDC_BLUE_BLUE, &O::BlueBlue},             {IDC_RED_BLUE, &O::RedBlue},
        {IDC_FLAG_DEVIATION, &O::FlagDeviation},   {IDC_RED_BLUE_FLAG, &O::RedBlueFlag},
        {IDC_BLUE_RED_FLAG, &O::BlueRedFlag},      {IDC_RED_RED_FLAG, &O::RedRedFlag},
        {IDC_BLUE_BLUE_FLAG, &O::BlueBlueFlag},
    };
    for (const auto& [id, flag] : boxes)
        OnButton(id, [this, flag = flag] { ToggleCheckFlag(*this, this->*flag); });
    const std::pair<int, std::pair<int O::*, int>> radios[] = {
        {IDC_PAIR_AGENTS, {&O::Pair, 1}},         {IDC_PAIR_FLAG, {&O::Pair, 2}},
        {IDC_AGENT_DISTRIBUTION, {&O::AgentForm, 1}}, {IDC_AGENT_AVERAGE, {&O::AgentForm, 2}},
        {IDC_FLAG_DISTRIBUTION, {&O::FlagForm, 1}},   {IDC_FLAG_AVERAGE, {&O::FlagForm, 2}},
    };
    for (const auto& [id, choice] : radios)
        OnButton(id, [this, member = choice.first, value = choice.second] {
            this->*member = value;
            UpdateData(false);
            OnInitDialog();
        });
}

bool CInterpointDistributionGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_PAIR_AGENTS, IDC_PAIR_FLAG, Pair == 1 ? IDC_PAIR_AGENTS : IDC_PAIR_FLAG);
    CheckRadioButton(IDC_AGENT_DISTRIBUTION, IDC_AGENT_AVERAGE,
                     AgentForm == 1 ? IDC_AGENT_DISTRIBUTION : IDC_AGENT_AVERAGE);
    CheckRadioButton(IDC_FLAG_DISTRIBUTION, IDC_FLAG_AVERAGE, FlagForm == 1 ? IDC_FLAG_DISTRIBUTION : IDC_FLAG_AVERAGE);
    return true;
}

void CInterpointDistributionGraphOptionsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_MAX_DISTANCE, MaxDistance);
    DDV_MinMaxInt(dx, MaxDistance, 1, 250);
    DDX_Text(dx, IDC_MAX_FLAG_DISTANCE, MaxFlagDistance);
    DDV_MinMaxInt(dx, MaxFlagDistance, 1, 250);
    DDX_Text(dx, IDC_MIN_FLAG_DISTANCE, MinFlagDistance);
    DDX_CheckFlag(dx, IDC_RED_RED, RedRed);
    DDX_CheckFlag(dx, IDC_BLUE_BLUE, BlueBlue);
    DDX_CheckFlag(dx, IDC_RED_BLUE, RedBlue);
    DDX_CheckFlag(dx, IDC_RED_BLUE_FLAG, RedBlueFlag);
    DDX_CheckFlag(dx, IDC_BLUE_RED_FLAG, BlueRedFlag);
    DDX_CheckFlag(dx, IDC_RED_RED_FLAG, RedRedFlag);
    DDX_CheckFlag(dx, IDC_BLUE_BLUE_FLAG, BlueBlueFlag);
}

void CInterpointDistributionGraphOptionsDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    Accepted = 1;
    UpdateData(false);
    EndDialog(IDOK);
}

CInterpointDistributionGraphDlg::CInterpointDistributionGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CStepSeriesChart(IDD, Caption, parent)
{
    BeginHandOff(doc);
    Create();
    CreateChart();
    ResetChartTemplate();
    const bool flags = doc.Charts.InterpointGraphPair != 1;
    const int form = flags ? doc.Charts.InterpointGraphFlagForm : doc.Charts.InterpointGraphAgentForm;
    int sets = 0;
    if (form == 1)
        DrawHistogram(doc, flags);
    else
        sets = DrawAverage(doc, flags);
    DrawChart();
    EndHandOff(doc, sets);
}

int CInterpointDistributionGraphDlg::DrawAverage(CBrevimarDoc& doc, bool flags)
{
    static constexpr Measure flagMeasures[] = {
        {&C::InterpointGraphRedBlueFlag, 0, "Red : Blue-Flag"},
        {&C::InterpointGraphBlueRedFlag, 1, "Blue : Red-Flag"},
        {&C::InterpointGraphBlueBlueFlag, 3, "Blue : Blue-Flag"},
        {&C::InterpointGraphRedRedFlag, 2, "Red : Red-Flag"},
    };
    static constexpr Measure agentMeasures[] = {
        {&C::InterpointGraphRedRed, 4, "Red : Red"},
        {&C::InterpointGraphBlueBlue, 5, "Blue : Blue"},
        {&C::InterpointGraphRedBlue, 6, "Red : Blue"},
    };
    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const int n = ClampSteps((multiRun ? doc.MultiRunShape().Steps : doc.RunHeader.CurrentStep) - 1, multiRun);
    TimeSetup(multiRun, 0, n, n, false);

    const std::string kind = flags ? "VORLAX : Enemy-Flag" : "VORLAX : VORLAX";
    Graph.LeftTitle = Averaged(multiRun, "Distance");
    Graph.GraphTitle = SampledTitle(multiRun, doc.MultiRunShape().Samples, "Average " + kind + " Distance");

    int s = 0;
    Extremes all;
    auto draw = [&](const Measure& m) {
        if (doc.Charts.*m.Flag != 1)
            return;
        Curve curve{doc.Collected.InterpointMean[m.Row], nullptr, m.Legend,
                    std::string("Interpoint Distance: Ave ") + m.Legend + " Distance", InterpointStatistic};
        if (multiRun) {
            curve.Values = doc.MultiRunCharts.MultiRunMean[MultiRunInterpointRow + m.Row];
            curve.Deviations = doc.MultiRunCharts.MultiRunDev[MultiRunInterpointRow + m.Row];
        }
        all.Take(FillCurve(doc, s, curve, n, multiRun, 1));
        ++s;
    };
    if (flags)
        for (const Measure& m : flagMeasures)
            draw(m);
    else
        for (const Measure& m : agentMeasures)
            draw(m);

    FinishTimeAxes(1, n, all.Max);
    // Averaged distances are read with their bars from 0, as they can be no less.
    Graph.YAxisMin[0] = multiRun ? 0.0 : all.Min;
    return s;
}

void CInterpointDistributionGraphDlg::DrawHistogram(const CBrevimarDoc& doc, bool flags)
{
    static constexpr Measure flagMeasures[] = {
        {&C::InterpointGraphRedRedFlag, 2, "Red : Red-Flag"},
        {&C::InterpointGraphRedBlueFlag, 0, "Red : Blue-Flag"},
        {&C::InterpointGraphBlueBlueFlag, 3, "Blue : Blue-Flag"},
        {&C::InterpointGraphBlueRedFlag, 1, "Blue : Red-Flag"},
    };
    static constexpr Measure agentMeasures[] = {
        {&C::InterpointGraphRedRed, 4, "Red : Red"},
        {&C::InterpointGraphBlueBlue, 5, "Blue : Blue"},
        {&C::InterpointGraphRedBlue, 6, "Red : Blue"},
    };
    Graph.GraphType = 3;
    Graph.GraphStyle = 0;
    Common2D common;
    common.YMinZero = true;
    ApplyCommon2DSettings(common);
    Graph.LeftTitle = "Normalized Count";
    Graph.BottomTitle = "Distance";
    ApplyCommon2DClosing();

    const int d = std::clamp(flags ? doc.Charts.InterpointGraphMaxFlagDistance : doc.Charts.InterpointGraphMaxDistance,
                             1, 250);
    Graph.NumPoints = d;
    char title[128];
    std::snprintf(title, sizeof title,
                  flags ? "VORLAX : Enemy Flag Interpoint Distribution; Time = %d"
                        : "VORLAX : VORLAX Interpoint Distribution; Time = %d",
                  doc.RunHeader.CurrentStep);
    Graph.GraphTitle = title;

    int s = 0;
    double hi = 0.0;
    auto draw = [&](const Measure& m) {
        if (doc.Charts.*m.Flag != 1)
            return;
        const double* bins = doc.Collected.InterpointHistogram[m.Row];
        // Bar d - 1 shows bin d, labelled d; bins past the table are empty.
        for (int k = 1; k <= d; ++k) {
            Graph.LabelText[k - 1] = std::to_string(k);
            Graph.GraphData[s][k - 1] = k < InterpointBins ? bins[k] : 0.0;
            hi = std::max(hi, Graph.GraphData[s][k - 1].GetDouble());
        }
        Graph.LegendText[s] = m.Legend;
        ++s;
        Graph.NumSets = s;
    };
    if (flags)
        for (const Measure& m : flagMeasures)
            draw(m);
    else
        for (const Measure& m : agentMeasures)
            draw(m);

    Graph.YAxisMax[0] = hi == 0.0 ? 1.0 : hi;
    if (flags) {
        Graph.XAxisMin = static_cast<double>(doc.Charts.InterpointGraphMinFlagDistance);
        Graph.RangeMin = doc.Charts.InterpointGraphMinFlagDistance;
        Graph.RangeMax = d;
        Graph.XAxisMax = Graph.NumPoints.GetDouble();
    } else {
        Graph.XAxisMin = 1.0;
        Graph.XAxisMax = static_cast<double>(d);
    }
    // One set is black; several take their sides' shades from the chart
    // (a fixed list would paint a BLUE measure red).
    if (s <= 1)
        Graph.ColorData[0] = 0;
    Graph.Bar2DGap = 0;
    Graph.DrawStyle = 0;
}

}  // namespace brevimar
