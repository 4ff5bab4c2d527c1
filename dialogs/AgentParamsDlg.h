// Everything that describes one side's squads: sizes, ranges, offence and
// defence, personality, meta-personality, communications, fratricide and
// reconstitution, with the matrix, area and formation sub-dialogs. One design
// over a side; CRedAgentParamsDlg and CBlueAgentParamsDlg name the two.
#pragma once

#include "core/Force.h"
#include "core/Side.h"
#include "dialogs/SquadSections.h"

namespace brevimar {

class CBrevimarDoc;

class CAgentParamsDlg : public CParamDlg {
public:
    enum : int {
        IDC_SHOW_SQUAD = 1301,
        IDC_NUM_SQUADS,
        IDC_SQUAD_SIZE,
        IDC_AGENT_TOTAL,
        IDC_DISPLAY_SQUAD,
        IDC_SAVE_SQUAD,
        IDC_SENSOR_ALIVE = 1310,
        IDC_SENSOR_INJURED,
        IDC_FIRE_ALIVE,
        IDC_FIRE_INJURED,
        IDC_THRESHOLD_ALIVE,
        IDC_THRESHOLD_INJURED,
        IDC_MOVEMENT_ALIVE,
        IDC_MOVEMENT_INJURED,
        IDC_PK_ALIVE,
        IDC_PK_INJURED,
        IDC_MAX_TARGETS_ALIVE,
        IDC_MAX_TARGETS_INJURED,
        IDC_DEFENSE_ALIVE,
        IDC_DEFENSE_INJURED,
        IDC_USER_DEFINED = 1330,
        IDC_FIXED,
        IDC_NORMALIZED,
        IDC_OPEN_PR,
        IDC_COMM_ON = 1340,
        IDC_COMM_OFF,
        IDC_COMM_RANGE,
        IDC_COMM_WEIGHT_ALIVE,
        IDC_COMM_WEIGHT_INJURED,
        IDC_OPEN_COMM_MATRIX,
        IDC_OPEN_WEIGHT_MATRIX,
        IDC_FRATRICIDE_ON = 1350,
        IDC_FRATRICIDE_RANGE,
        IDC_FRATRICIDE_PROB,
        IDC_RECONSTITUTION_ON,
        IDC_RECONSTITUTION_TIME,
    };
    // "Max # Simul Tgts" shown for every squad when the side's combat has no
    // limit on the number of targets.
    static constexpr int NoTargetLimit = 999;

    CAgentParamsDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);

    // "Display Squad": the typed squad, at most the edited number of squads.
    void OnDisplaySquad();
    // "SAVE Squad Data": nothing stored for a squad above the edited number
    // of squads; then the squads a raised number adds.
    bool StoreSquad() override;
    // Stores the squad on show, then refuses squad sizes that add up to more
    // agents than a side holds.
    void OnOK() override;
    // The squad sizes of squads 1..the edited number of squads.
    int SquadSizeTotal() const;
    // The squad maximum targets that came back as the dialog showed them
    // keep the document's own: under no limit the dialog shows 999 for
    // every squad, which is no value of the scenario's. Squads the dialog
    // added must already hold their copies in `f`.
    void HandBackMaxTargets(CForce& f, int count) const;

    Side DlgSide;
    int ShowSquad = 1;
    int EditedSquads = 1;  // the edited number of squads
    // Squads 1..FilledSquads hold values: those opened, and those added since.
    int FilledSquads = 1;
    bool TargetsShownUnlimited = false;  // 999 shown for every squad's maximum targets
    int AgentTotal = 0;
    SquadValue<int> SquadSize;
    SquadValue<int> SensorAlive, SensorInjured, FireAlive, FireInjured;
    SquadValue<int> ThresholdAlive, ThresholdInjured, MovementAlive, MovementInjured;
    SquadValue<float> PkAlive, PkInjured;
    SquadValue<int> MaxTargetsAlive, MaxTargetsInjured, DefenseAlive, DefenseInjured;
    CPersonalityValues Personality;
    CMetaValues Meta;
    int CommOn = 0, CommRange = 0;
    float CommWeightAlive = 0, CommWeightInjured = 0;
    int FratricideOn = 0, FratricideRange = 0;
    float FratricideProb = 0;
    int ReconstitutionOn = 0, ReconstitutionTime = 0;
    int LethalityContourMode = 0;
    int PrFunctionsDefined = 0;
    // Kept for the sub-dialogs.
    int CommMatrix[SquadSlots][SquadSlots] = {};
    bool CommMatrixEdited = false;  // OK in the communications-matrix sub-dialog
    double SquadWeightMatrix[SquadSlots][SquadSlots] = {};
    SquadWeaponFunction HitProbability;

private:
    // Each squad above FilledSquads up to the edited number starts as a copy
    // of the last squad that holds values. A raised number adds its squads
    // when a squad is stored or shown and before a sub-dialog opens.
    void AddSquads();
    // The number of squads as typed, added squads and all; false, with the
    // range check's message, when it is refused.
    bool TakeTypedSquadCount();
    void OpenCommMatrix();
    void OpenWeightMatrix();
    void OpenHitProbability();
    int SubDialogSquads() const;

    Host* RandomSource;
};

class CRedAgentParamsDlg : public CAgentParamsDlg {
public:
    static constexpr unsigned IDD = 140;
    explicit CRedAgentParamsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CAgentParamsDlg(doc, Side::Red, parent)
    {
    }
};

class CBlueAgentParamsDlg : public CAgentParamsDlg {
public:
    static constexpr unsigned IDD = 141;
    explicit CBlueAgentParamsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CAgentParamsDlg(doc, Side::Blue, parent)
    {
    }
};

}  // namespace brevimar
