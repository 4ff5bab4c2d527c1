// The agent-specific weapons of a side: the choice between squad-specific and
// agent-specific weapons, how many agents of each squad carry the grenade and
// each of the five point-to-point weapons with the weapons' parameters, and
// the grenade's throw, blast and hit parameters. One design over a side each;
// the Red and Blue classes name the twins.
#pragma once

#include "core/AgentWeapons.h"
#include "core/Side.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;

// "Squad-Specific" / "Agent-Specific".
class CWeaponAssignTypeDlg : public CDialog {
public:
    enum : int { IDC_SQUAD_SPECIFIC = 1201, IDC_AGENT_SPECIFIC };

    CWeaponAssignTypeDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    void Choose(bool agentSpecific);

    int AgentSpecific = 0;
    int SquadSpecific = 1;
};

class CAgentWeaponsDlg : public CParamDlg {
public:
    enum : int {
        IDC_SAVE_SQUAD = 1011,
        IDC_SENSOR_CONST = 1020,  // sensor codes 0, 1, 2
        IDC_SQUAD_SIZE = 1030,
        IDC_BLAST_RANGE = 1031,
    };
    // Row k: 0 the grenade, 1..5 point-to-point weapon k.
    static constexpr int AgentsId(int k) { return 1040 + k; }
    static constexpr int MaxTargetsId(int k) { return 1050 + k; }
    static constexpr int RangeId(int k) { return 1060 + k; }
    static constexpr int ProbHitId(int k, int r) { return 1100 + 20 * k + r; }

    CAgentWeaponsDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    void OnSensor(int code);
    // Stores the shown counts into the squad, then brings every squad's
    // counts to its size; false when a value was refused, a count that
    // does not fit the squad among them.
    bool OnSaveSquad();

    Side DlgSide;
    SquadValue<int> SquadSize;
    SquadValue<int> Carriers[WeaponKinds];
    SideWeapons Weapons;  // the side-wide values (the grenade's throw values unused)
};

class CGrenadeDlg : public CParamDlg {
public:
    enum : int {
        IDC_MIN_THROW = 1001,
        IDC_MAX_THROW,
        IDC_FRATRICIDE_TOLERANCE,
        IDC_MIN_ENEMIES,
        IDC_BLAST_RADIUS,
        IDC_SENSOR_CONST = 1020,  // sensor codes 0, 1, 2
    };
    static constexpr int LandingId(int r) { return 1030 + r; }
    static constexpr int ProbHitId(int r) { return 1050 + r; }

    CGrenadeDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    void OnSensor(int code);

    SideWeapons Weapons;  // the grenade's values
};

// The hand-backs after OK.
void HandBackGrenade(SideWeapons& to, const SideWeapons& from);
// The weapons, the carrier counts of squads 1..NumSquads, then every agent's
// weapon from its squad's counts.
void HandBackAgentWeapons(CBrevimarDoc& doc, const CAgentWeaponsDlg& dlg);

#define BREVIMAR_SIDE_DIALOG(Name, Base, Sd, Id)                                              \
    class Name : public Base {                                                              \
    public:                                                                                 \
        static constexpr unsigned IDD = Id;                                                 \
        explicit Name(const CBrevimarDoc& doc, QWidget* parent = nullptr) : Base(doc, Sd, parent) {} \
    };
BREVIMAR_SIDE_DIALOG(CRedWeaponAssignTypeDlg, CWeaponAssignTypeDlg, Side::Red, 274)
BREVIMAR_SIDE_DIALOG(CBlueWeaponAssignTypeDlg, CWeaponAssignTypeDlg, Side::Blue, 277)
BREVIMAR_SIDE_DIALOG(CRedAgentWeaponsDlg, CAgentWeaponsDlg, Side::Red, 273)
BREVIMAR_SIDE_DIALOG(CBlueAgentWeaponsDlg, CAgentWeaponsDlg, Side::Blue, 275)
BREVIMAR_SIDE_DIALOG(CRedGrenadeDlg, CGrenadeDlg, Side::Red, 256)
BREVIMAR_SIDE_DIALOG(CBlueGrenadeDlg, CGrenadeDlg, Side::Blue, 276)
#undef BREVIMAR_SIDE_DIALOG

}  // namespace brevimar
