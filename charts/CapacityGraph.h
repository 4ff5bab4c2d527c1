// The capacity (box-counting) dimension chart: the estimated dimension of
// the RED, BLUE and whole pattern over time, with the estimate's deviation
// as error bars when asked; and the option dialog that picks the curves.
#pragma once

#include "charts/ChartWindow.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CCapacityDimensionGraphOptionsDlg : public CDialog {
public:
    static constexpr unsigned IDD = 284;
    static constexpr int IDC_RED = 1001;
    static constexpr int IDC_BLUE = 1002;
    static constexpr int IDC_TOTAL = 1003;
    static constexpr int IDC_DEVIATIONS = 1004;

    explicit CCapacityDimensionGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    int Accepted = 1;
    int ShowRed = 0;
    int ShowBlue = 0;
    int ShowTotal = 0;
    int ShowDeviations = 0;
};

class CCapacityDimensionGraphDlg : public CChartWindow {
public:
    static constexpr unsigned IDD = 285;
    static constexpr const char* Caption = "2D Graph::Capacity (Box-Counting) Dimension";

    // Builds the whole chart from the document as it stands.
    CCapacityDimensionGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
