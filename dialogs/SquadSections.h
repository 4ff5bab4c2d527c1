// The personality and meta-personality groups that the agent parameters
// dialogs and the on-the-fly personality and meta-personality dialogs share:
// their members, copy-in, controls, bindings and hand-back. The hand-back
// functions are the view's to call after OK.
#pragma once

#include <vector>

#include "core/Force.h"
#include "core/Side.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;
class Host;

// Control ids shared by the per-squad dialogs.
enum : int {
    IDC_SQUAD_1 = 1001,  // .. 1010: squad radios "1" .. "10"
    IDC_STORE_SQUAD = 1011,
    IDC_RANDOMIZE_ALIVE = 1134,
    IDC_RANDOMIZE_INJURED = 1135,
    IDC_OPEN_AREA = 1136,
    IDC_OPEN_FORMATION = 1137,
    IDC_LC_ALIVE = 1140,
    IDC_LC_INJURED = 1141,
    IDC_OBEY_LC_ALIVE = 1142,
    IDC_OBEY_LC_INJURED = 1143,
    IDC_META_ON = 1260,
    IDC_META_OFF = 1261,
};
// Personality weight k (WeightIndex W1 .. WFlock).
constexpr int WeightAliveId(int k) { return 1100 + 2 * k; }
constexpr int WeightInjuredId(int k) { return 1101 + 2 * k; }
// Meta-personality rows in dialog order: 1 ADVANCE .. 9 SUPPORT-II, 10 own
// side, 11 other side, 12 flag, 13 terrain, 14 area minimum distance.
constexpr int MetaRows = 14;
constexpr int MetaUseId(int row) { return 1200 + 3 * row; }
constexpr int MetaAliveId(int row) { return 1201 + 3 * row; }
constexpr int MetaInjuredId(int row) { return 1202 + 3 * row; }

// The rows of a side's squad tables by weight index: W1..W6, terrain, area, flock.
float* AliveWeightRow(CForce& f, int k);
float* InjuredWeightRow(CForce& f, int k);
const float* AliveWeightRow(const CForce& f, int k);
const float* InjuredWeightRow(const CForce& f, int k);

// Copies a squad row into entries 1..count (converting: a float shown as an
// integer is truncated toward zero) and zeroes the rest.
template <typename T, typename U>
void CopySquadRow(SquadValue<T>& value, const U* row, int count)
{
    for (int s = 1; s <= MaxSquads; ++s)
        value.Squad[s] = s <= count ? static_cast<T>(row[s]) : T{};
    value.Edit = value.Squad[1];
}
template <typename T, typename U>
void HandBackSquadRow(U* row, const SquadValue<T>& value, int count)
{
    for (int s = 1; s <= count && s <= MaxSquads; ++s)
        row[s] = static_cast<U>(value.Squad[s]);
}

struct PersonalityRanges {
    float LcMin, LcMax, ObeyMin, ObeyMax;
};

struct CPersonalityValues {
    SquadValue<float> Alive[WeightSlots];  // by WeightIndex
    SquadValue<float> Injured[WeightSlots];
    // Kept for the area and formation sub-dialogs.
    SquadValue<int> AreaCenterX, AreaCenterY, AreaRangeX, AreaRangeY;
    SquadValue<float> FlockInnerAlive, FlockInnerInjured, FlockOuterAlive, FlockOuterInjured;
    // Both boxes of a pair show the one document value.
    float LcAlive = 0, LcInjured = 0, ObeyAlive = 0, ObeyInjured = 0;

    void CopyIn(const CBrevimarDoc& doc, Side side, int count);
    // Squads 1..count of the tables, and the two local-command weights (the
    // Injured box is written last, so its value stays).
    void HandBack(CBrevimarDoc& doc, Side side, int count) const;
    void Bind(CParamDlg& dlg, const PersonalityRanges& ranges);
    // Randomize: five weights of one column drawn from the Host's rand(),
    // one set to 0, in the side's order; nothing stored.
    void Randomize(Host& host, Side side, bool alive, bool personalityDialog);
};
void PersonalityItems(std::vector<DialogItem>& items, Side side, bool withLocalCommand);

struct MetaRanges {
    int Min[MetaRows + 1][2];  // [row][alive/injured]; HOLD is -1.0..1.0 and ignores its row
    int Max[MetaRows + 1][2];
};

struct CMetaValues {
    SquadValue<int> On;                      // MetaPersonalityOn
    SquadValue<int> Value[MetaRows + 1][2];  // rows 1..14 but HOLD (row 4), alive / injured
    SquadValue<double> Hold[2];
    SquadValue<int> RuleOn[14];              // MetaRuleOn 1..13
    SquadValue<int> MinDistAreaOn;

    void CopyIn(const CForce& f, Side side, int count);
    // Squads 1..count; those above the count copied in must already hold
    // the rows of the squad they were copied from (AddSquadCopies).
    void HandBack(CForce& f, Side side, int count) const;
    void Bind(CParamDlg& dlg, Side side, const MetaRanges& ranges);
};
void MetaItems(std::vector<DialogItem>& items, Side side);

}  // namespace brevimar
