// The combat-entropy chart: the RED force's combat entropy against the
// BLUE force's, as a curve in the plane or as a trajectory through time;
// averaged over the samples in a multiple time-series run.
#pragma once

#include "charts/ChartWindow.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CCombatEntropyGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 202;
    static constexpr int IDC_XY = 1001;
    static constexpr int IDC_XY_TIME = 1002;

    explicit CCombatEntropyGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    bool OnInitDialog() override;

    int GraphKind = 1;  // 1 x-y, 2 x-y + time
};

class CCombatEntropyGraphDlg : public CChartWindow {
public:
    static constexpr unsigned IDD = 201;
    static constexpr const char* Caption = "2D Graph::Carvalho-Rodrigues Combat Entropy";

    // Builds the whole chart from the document as it stands.
    CCombatEntropyGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
