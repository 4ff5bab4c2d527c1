// The interpoint chart: the distances between agents, or between agents and
// a flag, as a histogram of the current step or as the average distance over
// time; and its options.
#pragma once

#include "charts/StepSeriesChart.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CInterpointDistributionGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 172;
    static constexpr int IDC_PAIR_AGENTS = 1001;
    static constexpr int IDC_PAIR_FLAG = 1002;
    static constexpr int IDC_AGENT_DISTRIBUTION = 1003;
    static constexpr int IDC_AGENT_AVERAGE = 1004;
    static constexpr int IDC_MAX_DISTANCE = 1005;
    static constexpr int IDC_AGENT_DEVIATION = 1006;
    static constexpr int IDC_RED_RED = 1007;
    static constexpr int IDC_BLUE_BLUE = 1008;
    static constexpr int IDC_RED_BLUE = 1009;
    static constexpr int IDC_FLAG_DISTRIBUTION = 1010;
    static constexpr int IDC_FLAG_AVERAGE = 1011;
    static constexpr int IDC_MAX_FLAG_DISTANCE = 1012;
    static constexpr int IDC_MIN_FLAG_DISTANCE = 1013;
    static constexpr int IDC_FLAG_DEVIATION = 1014;
    static constexpr int IDC_RED_BLUE_FLAG = 1015;
    static constexpr int IDC_BLUE_RED_FLAG = 1016;
    static constexpr int IDC_RED_RED_FLAG = 1017;
    static constexpr int IDC_BLUE_BLUE_FLAG = 1018;

    explicit CInterpointDistributionGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    int Pair = 1;
    int MaxDistance = 50;
    int MaxFlagDistance = 75;
    int MinFlagDistance = 0;
    int AgentForm = 2;
    int FlagForm = 2;
    int RedRed = 0;
    int BlueBlue = 0;
    int RedBlue = 0;
    int RedBlueFlag = 0;
    int BlueRedFlag = 0;
    int RedRedFlag = 0;
    int BlueBlueFlag = 0;
    int AgentDeviation = 0;
    int FlagDeviation = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CInterpointDistributionGraphDlg : public CStepSeriesChart {
public:
    static constexpr unsigned IDD = 173;
    static constexpr const char* Caption = "2D Graph::InterPoint Distribution";

    CInterpointDistributionGraphDlg(QWidget* parent, CBrevimarDoc& doc);

private:
    int DrawAverage(CBrevimarDoc& doc, bool flags);
    void DrawHistogram(const CBrevimarDoc& doc, bool flags);
};

}  // namespace brevimar
