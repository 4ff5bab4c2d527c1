// The weapon shots/hits charts: the graph-type dialog (per step or running
// totals), the plot selection dialog (squads, sides, weapons, kinds, totals
// or per carrying agent), and the two chart windows.
#pragma once

#include "charts/ChartWindow.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CWeaponShotsHitsGraphTypeDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 286;
    static constexpr int IDC_SNAPSHOTS = 1001;
    static constexpr int IDC_TOTAL = 1002;

    CWeaponShotsHitsGraphTypeDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    bool OnInitDialog() override;

    int WeaponGraphType = 1;
};

class CWeaponShotsHitsGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 287;
    // Squad radios: first + k - 1 for squad k, first + 10 for "All".
    static constexpr int IDC_RED_SQUAD_1 = 1101;
    static constexpr int IDC_BLUE_SQUAD_1 = 1201;
    static constexpr int IDC_SUM_TOTAL = 1301;
    static constexpr int IDC_SUM_PER_AGENT = 1302;
    static constexpr int IDC_SHOW_RED = 1303;
    static constexpr int IDC_SHOW_BLUE = 1304;
    // The grid box of a side, row (0 "ALL", 1 + w for weapon w) and kind.
    static constexpr int GridId(int side, int row, int kind) { return 1400 + 100 * side + 3 * row + kind; }

    CWeaponShotsHitsGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    void LoadFromDoc(const CBrevimarDoc& doc);
    bool OnInitDialog() override;
    int IsRatioPlotSelected() const;
    void OnOK() override;

    int ShowRed = 1;
    int ShowBlue = 1;
    int SumMode = 1;
    int AllWeaponPlots[2][3] = {};
    int RatioPlotChosen = 0;
    int RedSquadCount = 1;
    int BlueSquadCount = 1;
    int RedSquadChoice = 11;
    int BlueSquadChoice = 11;
    int WeaponPlots[2][6][3] = {};

private:
    void Redraw();
};

// What both weapon charts share: the caption and the building of the chart
// from the selection, per step or as running totals.
class CWeaponChartWindow : public CChartWindow {
public:
    static constexpr const char* Caption = "2D Graph::Weapon Shots/Hits";

protected:
    CWeaponChartWindow(unsigned templateId, QWidget* parent) : CChartWindow(templateId, Caption, parent) {}
    void Build(CBrevimarDoc& doc, bool runningTotals);
};

class CWeaponShotsHitsSnapshotGraphDlg : public CWeaponChartWindow {
public:
    static constexpr unsigned IDD = 288;
    CWeaponShotsHitsSnapshotGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

class CWeaponShotsHitsTotalGraphDlg : public CWeaponChartWindow {
public:
    static constexpr unsigned IDD = 289;
    CWeaponShotsHitsTotalGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
