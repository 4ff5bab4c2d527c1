// The goal-count chart: how many agents of a side stand within range R of a
// flag, step by step, for up to four side and flag pairs; and its options.
#pragma once

#include <vector>

#include "charts/StepSeriesChart.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

// The dialog-side radio group "1".."7" that the range charts share: the
// group "Select Range" of radios from `firstId` on, their handler (a click
// sets `range` and shows it) and its exchange.
void AddRangeRadios(std::vector<DialogItem>& items, int firstId);
void OnRangeRadios(CDialog& dialog, int firstId, int& range);
void DDX_RangeRadio(CDataExchange& dx, int firstId, int range);

class CGoalCountGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 177;
    static constexpr int IDC_RED_NEAR_RED_FLAG = 1001;
    static constexpr int IDC_BLUE_NEAR_RED_FLAG = 1002;
    static constexpr int IDC_RED_NEAR_BLUE_FLAG = 1003;
    static constexpr int IDC_BLUE_NEAR_BLUE_FLAG = 1004;
    static constexpr int IDC_RANGE_1 = 1011;  // .. IDC_RANGE_1 + 6 for R = 7

    explicit CGoalCountGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    bool OnInitDialog() override;

    int RedNearRedFlag = 0;
    int BlueNearRedFlag = 0;
    int RedNearBlueFlag = 0;
    int BlueNearBlueFlag = 0;
    int Range = 1;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CGoalCountGraphDlg : public CStepSeriesChart {
public:
    static constexpr unsigned IDD = 176;
    static constexpr const char* Caption = "2D Graph::Goal Count";

    CGoalCountGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
