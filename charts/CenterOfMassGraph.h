// The centre-of-mass chart in four forms: the path in the plane, the
// distance from the RED flag or from the BLUE flag over time (averaged with
// error bars in a multiple time-series run), and a 3D path through time.
#pragma once

#include "charts/StepSeriesChart.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CCenterOfMassGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 180;
    // The four forms' radios, in PlotKind order, then the boxes.
    static constexpr int IDC_XY = 1001;
    static constexpr int IDC_DIST_RED_FLAG = 1002;
    static constexpr int IDC_DIST_BLUE_FLAG = 1003;
    static constexpr int IDC_3D = 1004;
    static constexpr int IDC_RED = 1005;
    static constexpr int IDC_BLUE = 1006;
    static constexpr int IDC_TOTAL = 1007;

    explicit CCenterOfMassGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    int ShowRed = 0;
    int ShowBlue = 0;
    int ShowTotal = 0;
    int PlotKind = 2;  // 1 x-y, 2 from the RED flag, 3 from the BLUE flag, 4 3D

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CCenterOfMassGraphDlg : public CStepSeriesChart {
public:
    static constexpr unsigned IDD = 181;
    static constexpr const char* Caption = "2D Graph::Center-of-Mass";

    // Builds the whole chart from the document as it stands.
    CCenterOfMassGraphDlg(QWidget* parent, CBrevimarDoc& doc);

    // The steps a multiple time-series chart draws: the averages hold 0..201
    // and the hand-off takes points 1..200.
    static constexpr int MaxMultiRunPoints = 200;
};

}  // namespace brevimar
