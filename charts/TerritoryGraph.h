// The territorial-possession chart: the share of the battlefield each side
// holds, raw or normalised, step by step; and its options.
#pragma once

#include "charts/StepSeriesChart.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CTerritorialPossessionGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 243;
    static constexpr int IDC_RED_RAW = 1001;
    static constexpr int IDC_RED_NORMALIZED = 1002;
    static constexpr int IDC_BLUE_RAW = 1003;
    static constexpr int IDC_BLUE_NORMALIZED = 1004;

    explicit CTerritorialPossessionGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);


    int RedRaw = 0;
    int RedNormalized = 0;
    int BlueRaw = 0;
    int BlueNormalized = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CTerritorialPossessionGraphDlg : public CStepSeriesChart {
public:
    static constexpr unsigned IDD = 244;
    static constexpr const char* Caption = "2D Graph::Territorial Possession";

    CTerritorialPossessionGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
