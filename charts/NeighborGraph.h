// The neighbour-count chart: the average number of agents within range R of
// the agents of a side, step by step, for six side combinations; and its
// options.
#pragma once

#include "charts/StepSeriesChart.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CNeighborCountGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 175;
    static constexpr int IDC_TOTAL_NEAR_RED = 1001;
    static constexpr int IDC_TOTAL_NEAR_BLUE = 1002;
    static constexpr int IDC_RED_NEAR_RED = 1003;
    static constexpr int IDC_BLUE_NEAR_RED = 1004;
    static constexpr int IDC_RED_NEAR_BLUE = 1005;
    static constexpr int IDC_BLUE_NEAR_BLUE = 1006;
    static constexpr int IDC_DEVIATION = 1007;
    static constexpr int IDC_RANGE_1 = 1011;  // .. IDC_RANGE_1 + 6 for R = 7

    explicit CNeighborCountGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);


    int TotalNearRed = 0;
    int TotalNearBlue = 0;
    int RedNearRed = 0;
    int BlueNearRed = 0;
    int RedNearBlue = 0;
    int BlueNearBlue = 0;
    int Range = 1;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CNeighborCountGraphDlg : public CStepSeriesChart {
public:
    static constexpr unsigned IDD = 174;
    static constexpr const char* Caption = "2D Graph::Neighbor Count";

    CNeighborCountGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
