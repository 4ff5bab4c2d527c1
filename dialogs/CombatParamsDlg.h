// "Edit::Combat Parameters": the battlefield size, terrain use and move
// order, and for each side its squads' deployment boxes and target limits,
// its flag, combat adjudication, fratricide and reconstitution.
#pragma once

#include "core/Limits.h"
#include "core/Side.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

// One side's column of the dialog.
struct CombatSideValues {
    // The per-squad values, in this order.
    static constexpr int CenterX = 0, CenterY = 1, BoxLength = 2, BoxWidth = 3, MaxTargetsAlive = 4,
                         MaxTargetsInjured = 5, PerSquadValues = 6;
    int ShowSquad = 1;
    int SquadCountShown = 1;  // the count after "/": shown, never read back
    int SquadCount = 1;       // the count at construction
    int Table[PerSquadValues][SquadSlots] = {};
    int Shown[PerSquadValues] = {};
    int FlagX = 1, FlagY = 1;
    int Adjudication = 0;  // 1 "No limit on # of TGTS"
    int Fratricide = 0;
    int FratricideRange = 0;
    float FratricideProb = 0;
    int Reconstitution = 0;
    int ReconstitutionTime = 0;
};

class CCombatParamsDlg : public CDialog {
public:
    static constexpr unsigned IDD = 161;
    enum : int {
        IDC_LENGTH = 1001,
        IDC_WIDTH,
        IDC_TERRAIN_YES,
        IDC_TERRAIN_NO,
        IDC_MOVE_FIXED,
        IDC_MOVE_RANDOM,
    };
    // A side's controls: RED from 1100, BLUE from 1200.
    enum : int {
        SHOW_SQUAD,
        SQUAD_COUNT,
        CENTER_X,  // .. the six per-squad fields in PerSquad order
        FLAG_X = CENTER_X + CombatSideValues::PerSquadValues,
        FLAG_Y,
        CLAMP,
        NO_LIMIT,
        FRATRICIDE_YES,
        FRATRICIDE_NO,
        FRATRICIDE_RANGE,
        FRATRICIDE_PROB,
        RECONSTITUTION_YES,
        RECONSTITUTION_NO,
        RECONSTITUTION_TIME,
        DISPLAY_SQUAD,
        SAVE_SQUAD,
    };
    static constexpr int SideId(Side side, int control) { return (side == Side::Red ? 1100 : 1200) + control; }

    CCombatParamsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    // Stores both sides' squads on show, then closes; refused, with the
    // dialog left open, while a flag lies off the Length x Length field.
    void OnOK() override;

    void OnDisplaySquad(Side side);
    void OnSaveSquad(Side side);
    // A radio: the held value, then everything shown again from the held values.
    void SetChoice(int& member, int value);

    int Length = 150;
    int Width = 150;
    int TerrainFlag = 0;
    int MoveOrder = 1;
    CombatSideValues Red, Blue;
    CombatSideValues& Values(Side side) { return side == Side::Red ? Red : Blue; }

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    // Whether both flags lie on the Length x Length field; otherwise the
    // field at fault is refused with its range check's message and takes
    // back the value it held before this OK (`held`: the length, then RED's
    // and BLUE's flag x and y).
    bool FlagsOnField(const int (&held)[5]);
    // Exchanges everything; false when the side's squad number is unusable.
    bool ExchangeForSquad(Side side);
    // Whether the side's shown per-squad values may be stored into the squad
    // its number names: each is that squad's own or passes its range check,
    // which refuses it with its message.
    bool ShownFits(Side side);
    // The shown squad's entries := the shown values, for a squad of the side.
    void StoreShown(Side side);

    int OpenedLength = 150;
};

// Writes the dialog's values into the document (no restart).
void HandBackCombatParams(CBrevimarDoc& doc, const CCombatParamsDlg& dlg);

}  // namespace brevimar
