// The attrition chart: the fraction of each force left over time, up to
// seven curves, averaged over the samples with error bars in a multiple
// time-series run; and the option dialog that picks the curves.
#pragma once

#include <string>

#include "charts/ChartWindow.h"
#include "core/Limits.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CAttritionGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 169;
    // The boxes, in the dialog's order.
    static constexpr int IDC_ALL = 1001;
    static constexpr int IDC_RED_ALIVE = 1002;
    static constexpr int IDC_RED_INJURED = 1003;
    static constexpr int IDC_RED_TOTAL = 1004;
    static constexpr int IDC_BLUE_ALIVE = 1005;
    static constexpr int IDC_BLUE_INJURED = 1006;
    static constexpr int IDC_BLUE_TOTAL = 1007;

    explicit CAttritionGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);


    int AttritionShowAll = 0;
    int AttritionShowRedAlive = 0;
    int AttritionShowRedInjured = 0;
    int AttritionShowBlueAlive = 0;
    int AttritionShowBlueInjured = 0;
    int AttritionShowRedTotal = 0;
    int AttritionShowBlueTotal = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CAttritionGraphDlg : public CChartWindow {
public:
    static constexpr unsigned IDD = 165;
    static constexpr const char* Caption = "2D Graph::Attrition";

    // Builds the whole chart from the document as it stands.
    CAttritionGraphDlg(QWidget* parent, CBrevimarDoc& doc);

    // The points of a multiple time-series chart: point p shows step p - 1
    // of the averaged series, which hold steps 0..201 (the hand-off takes
    // points 1..200).
    static constexpr int MaxMultiRunPoints = MultiRunStepSlots;
};

}  // namespace brevimar
