// The spatial-entropy chart: the block entropy of the agents' positions
// over time, for RED, BLUE and all agents on three divisions of the
// battlefield; and its options.
#pragma once

#include "charts/StepSeriesChart.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CSpatialEntropyGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 179;
    static constexpr int IDC_RED = 1001;
    static constexpr int IDC_BLUE = 1002;
    static constexpr int IDC_TOTAL = 1003;
    static constexpr int IDC_COARSE = 1004;
    static constexpr int IDC_MEDIUM = 1005;
    static constexpr int IDC_FINE = 1006;

    explicit CSpatialEntropyGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);


    int ShowRed = 0;
    int ShowBlue = 0;
    int ShowTotal = 0;
    int ShowCoarse = 0;
    int ShowMedium = 0;
    int ShowFine = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CSpatialEntropyGraphDlg : public CStepSeriesChart {
public:
    static constexpr unsigned IDD = 178;
    static constexpr const char* Caption = "2D Graph::Spatial Entropy";

    CSpatialEntropyGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
