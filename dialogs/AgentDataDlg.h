// Modeless windows that show one squad's parameters of a side at a glance:
// a snapshot of the document taken when the window opened, written nowhere.
#pragma once

#include "core/Side.h"
#include "core/Limits.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CAgentDataDlg : public CDialog {
public:
    // The alive/injured rows shown under the squad's size.
    static constexpr int RowCount = 30;
    static constexpr int IDC_SQUAD = 900;
    static constexpr int IDC_SQUADS = 901;
    static constexpr int IDC_SQUAD_SIZE = 902;
    static constexpr int IDC_AGENTS = 903;
    static constexpr int IDC_COMM_RANGE = 904;
    static constexpr int IDC_COMM_WEIGHT_ALIVE = 905;
    static constexpr int IDC_COMM_WEIGHT_INJURED = 906;
    static constexpr int IDC_RECON_TIME = 907;
    static constexpr int IDC_FRAT_RADIUS = 908;
    static constexpr int IDC_COMM_ON = 1200;  // then Off, and the same pairs for
    static constexpr int IDC_RECON_ON = 1202; // reconstitution and fratricide
    static constexpr int IDC_FRAT_ON = 1204;
    // The box of row r's alive (column 0) or injured (column 1) value.
    static constexpr int RowControl(int row, int column) { return 1000 + 2 * row + column; }

    // Shows squad `squad` (clamped to the side's squads) in the boxes.
    void ShowSquad(int squad);
    // Reads the boxes with their ranges, then shows the squad asked for.
    void OnDisplaySquad();

    // The displayed values.
    int Squad = 1;
    int Squads = 1;
    int SquadSize = 0;
    int Agents = 0;
    int CommRange = 0;
    float CommWeightAlive = 0;
    float CommWeightInjured = 0;
    int ReconTime = 1;
    int FratRadius = 0;
    int IntShown[RowCount][2] = {};
    float FloatShown[RowCount][2] = {};
    double DoubleShown[RowCount][2] = {};

protected:
    CAgentDataDlg(Side side, QWidget* parent, const CBrevimarDoc* doc);
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void LoadRows(int squad);

    Side DlgSide;
    // Copies taken at opening, per squad 1..10.
    int SquadSizes[SquadSlots] = {};
    double Values[SquadSlots][RowCount][2] = {};
    int CommOn = 0;
    int ReconOn = 0;
    int FratOn = 0;
    bool NoTargetLimit = false;
};

class CRedAgentDataDlg : public CAgentDataDlg {
public:
    static constexpr unsigned IDD = 158;
    static constexpr int IDC_DISPLAY_SQUAD = 1300;
    CRedAgentDataDlg(QWidget* parent, const CBrevimarDoc* doc) : CAgentDataDlg(Side::Red, parent, doc) {}
};

class CBlueAgentDataDlg : public CAgentDataDlg {
public:
    static constexpr unsigned IDD = 159;
    static constexpr int IDC_DISPLAY_SQUAD = 1301;
    CBlueAgentDataDlg(QWidget* parent, const CBrevimarDoc* doc) : CAgentDataDlg(Side::Blue, parent, doc) {}
};

}  // namespace brevimar
