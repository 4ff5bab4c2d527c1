#include "dialogs/SquadSections.h"

#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

using FloatRow = float CForce::*;
using IntRow = int CForce::*;
using Row = float (CForce::*)[SquadSlots];
using IRow = int (CForce::*)[SquadSlots];

constexpr Row AliveRows[WeightSlots] = {nullptr, &CForce::w1_a, &CForce::w2_a, &CForce::w3_a, &CForce::w4_a,
                                        &CForce::w5_a, &CForce::w6_a, &CForce::w_terrain_alive,
                                        &CForce::w_area_alive, &CForce::w_flock_alive};
constexpr Row InjuredRows[WeightSlots] = {nullptr, &CForce::w1_i, &CForce::w2_i, &CForce::w3_i, &CForce::w4_i,
                                          &CForce::w5_i, &CForce::w6_i, &CForce::w_terrain_injured,
                                          &CForce::w_area_injured, &CForce::w_flock_injured};

// Meta rows 1..9 (but HOLD) in int rows; 10..14 are minimum distances in float rows.
constexpr IRow MetaIntRows[10][2] = {
    {nullptr, nullptr},
    {&CForce::A_ADVANCE_num, &CForce::I_ADVANCE_num},
    {&CForce::A_CLUSTER_num, &CForce::I_CLUSTER_num},
    {&CForce::A_COMBAT_num, &CForce::I_COMBAT_num},
    {nullptr, nullptr},
    {&CForce::A_PURSUIT1_num, &CForce::I_PURSUIT1_num},
    {&CForce::A_PURSUIT2_num, &CForce::I_PURSUIT2_num},
    {&CForce::A_RETREAT_num, &CForce::I_RETREAT_num},
    {&CForce::A_SUPPORT1_num, &CForce::I_SUPPORT1_num},
    {&CForce::A_SUPPORT2_num, &CForce::I_SUPPORT2_num},
};
constexpr Row MetaDistanceRows[MetaRows + 1][2] = {
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
    {&CForce::A_R_R_min_dist, &CForce::I_R_R_min_dist},    // own side
    {&CForce::A_R_B_min_dist, &CForce::I_R_B_min_dist},    // other side
    {&CForce::A_R_R_goal_min, &CForce::I_R_R_goal_min},    // flag
    {&CForce::A_R_terrain_min, &CForce::I_R_terrain_min},  // terrain
    {&CForce::A_R_area_min, &CForce::I_R_area_min},        // area
};
constexpr IRow RuleRows[14] = {nullptr,
                               &CForce::ADVANCE_flag,
                               &CForce::CLUSTER_flag,
                               &CForce::COMBAT_flag,
                               &CForce::HOLD_flag,
                               &CForce::PURSUIT1_flag,
                               &CForce::PURSUIT2_flag,
                               &CForce::RETREAT_flag,
                               &CForce::SUPPORT1_flag,
                               &CForce::SUPPORT2_flag,
                               &CForce::R_B_min_dist_flag_flag,
                               &CForce::R_R_min_dist_flag_flag,
                               &CForce::R_R_goal_min_flag,
                               &CForce::R_terrain_min_flag};

// The rule flag a row's "Use?" box is bound to: the box of the row labelled
// "Min D/BLUE" drives rule 10 and "Min D/RED" rule 11, whichever side owns
// the dialog.
int RuleOfRow(Side side, int row)
{
    if (row == 10)
        return side == Side::Red ? 11 : 10;
    if (row == 11)
        return side == Side::Red ? 10 : 11;
    return row;
}

const char* const MetaLabels[MetaRows + 1] = {"",        "ADVANCE",      "CLUSTER",    "COMBAT",  "HOLD",
                                              "PURSUIT - I", "PURSUIT - II", "RETREAT", "SUPPORT-I",
                                              "SUPPORT-II"};

std::string MetaLabel(Side side, int row)
{
    const bool red = side == Side::Red;
    switch (row) {
    case 10: return red ? "Min D/RED" : "Min D/BLUE";
    case 11: return red ? "Min D/BLUE" : "Min D/RED";
    case 12: return red ? "Min D/RFlag" : "Min D/BFlag";
    case 13: return "Min D/Terrain";
    case 14: return "Min D/Area";
    default: return MetaLabels[row];
    }
}

std::string WeightLabel(Side side, int k)
{
    const std::string own = side == Side::Red ? "RED" : "BLUE";
    const std::string other = side == Side::Red ? "BLUE" : "RED";
    switch (k) {
    case W1: return "--> Alive " + own;
    case W2: return "--> Alive " + other;
    case W3: return "--> Injured " + own;
    case W4: return "--> Injured " + other;
    case W5: return "--> " + own + " Flag";
    case W6: return "--> " + other + " Flag";
    default: return "--> Terrain";
    }
}

// The distances are shown cut to whole cells: a squad whose distance comes
// back as it was shown keeps the document's own, fraction and all. A squad
// added shows its source's, whose row it already holds.
void HandBackDistances(float* row, const SquadValue<int>& value, int count)
{
    for (int s = 1; s <= count && s <= MaxSquads; ++s)
        if (static_cast<int>(row[s]) != value.Squad[s])
            row[s] = static_cast<float>(value.Squad[s]);
}

}  // namespace

float* AliveWeightRow(CForce& f, int k) { return f.*AliveRows[k]; }
float* InjuredWeightRow(CForce& f, int k) { return f.*InjuredRows[k]; }
const float* AliveWeightRow(const CForce& f, int k) { return f.*AliveRows[k]; }
const float* InjuredWeightRow(const CForce& f, int k) { return f.*InjuredRows[k]; }

void CPersonalityValues::CopyIn(const CBrevimarDoc& doc, Side side, int count)
{
    const CForce& f = doc.Force(side);
    for (int k = W1; k < WeightSlots; ++k) {
        CopySquadRow(Alive[k], AliveWeightRow(f, k), count);
        CopySquadRow(Injured[k], InjuredWeightRow(f, k), count);
    }
    CopySquadRow(AreaCenterX, f.AreaCenterX, count);
    CopySquadRow(AreaCenterY, f.AreaCenterY, count);
    CopySquadRow(AreaRangeX, f.AreaRangeX, count);
    CopySquadRow(AreaRangeY, f.AreaRangeY, count);
    CopySquadRow(FlockInnerAlive, f.A_R_flock_min, count);
    CopySquadRow(FlockInnerInjured, f.I_R_flock_min, count);
    CopySquadRow(FlockOuterAlive, f.A_R_flock_max, count);
    CopySquadRow(FlockOuterInjured, f.I_R_flock_max, count);
    LcAlive = LcInjured = doc.Local(side).w7;
    ObeyAlive = ObeyInjured = doc.Local(side).w8;
}

void CPersonalityValues::HandBack(CBrevimarDoc& doc, Side side, int count) const
{
    CLocalCommand& local = doc.Local(side);
    local.w7 = LcAlive;
    local.w7 = LcInjured;
    local.w8 = ObeyAlive;
    local.w8 = ObeyInjured;
    CForce& f = doc.Force(side);
    for (int k = W1; k < WeightSlots; ++k) {
        HandBackSquadRow(AliveWeightRow(f, k), Alive[k], count);
        HandBackSquadRow(InjuredWeightRow(f, k), Injured[k], count);
    }
    HandBackSquadRow(f.AreaCenterX, AreaCenterX, count);
    HandBackSquadRow(f.AreaCenterY, AreaCenterY, count);
    HandBackSquadRow(f.AreaRangeX, AreaRangeX, count);
    HandBackSquadRow(f.AreaRangeY, AreaRangeY, count);
    HandBackSquadRow(f.A_R_flock_min, FlockInnerAlive, count);
    HandBackSquadRow(f.I_R_flock_min, FlockInnerInjured, count);
    HandBackSquadRow(f.A_R_flock_max, FlockOuterAlive, count);
    HandBackSquadRow(f.I_R_flock_max, FlockOuterInjured, count);
}

void CPersonalityValues::Bind(CParamDlg& dlg, const PersonalityRanges& ranges)
{
    // Exchanged in the order of the rows on screen.
    for (const int k : {W1, W2, W3, W4, W5, W6, WArea, WFlock, WTerrain}) {
        dlg.Bind(WeightAliveId(k), Alive[k], -100.0f, 100.0f);
        dlg.Bind(WeightInjuredId(k), Injured[k], -100.0f, 100.0f);
    }
    dlg.Bind(IDC_LC_ALIVE, LcAlive, ranges.LcMin, ranges.LcMax);
    dlg.Bind(IDC_LC_INJURED, LcInjured, ranges.LcMin, ranges.LcMax);
    dlg.Bind(IDC_OBEY_LC_ALIVE, ObeyAlive, ranges.ObeyMin, ranges.ObeyMax);
    dlg.Bind(IDC_OBEY_LC_INJURED, ObeyInjured, ranges.ObeyMin, ranges.ObeyMax);
}

void CPersonalityValues::Randomize(Host& host, Side side, bool alive, bool personalityDialog)
{
    // The draws run down the rows as the dialog lists them, own side first
    // on RED and the RED rows first on BLUE; one flag weight is set to 0.
    const bool red = side == Side::Red;
    const int blueDraws[] = {W2, W1, W4, W3, personalityDialog ? W5 : W6};
    const int redDraws[] = {W1, W2, W3, W4, W6};
    const int zeroed = red || !personalityDialog ? W5 : W6;
    SquadValue<float>* column = alive ? Alive : Injured;
    column[zeroed].Edit = 0.0f;
    for (const int k : red ? redDraws : blueDraws) {
        float w = static_cast<float>(host.Rand()) * 0.0030213324f;
        const float u = static_cast<float>(host.Rand()) * 3.0518509e-5f;
        if (u < 0.5f)
            w = -w;
        column[k].Edit = w;
    }
}

void PersonalityItems(std::vector<DialogItem>& items, Side side, bool withLocalCommand)
{
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Alive");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Injured");
    for (const int k : {W1, W2, W3, W4, W5, W6})
        PairRow(items, WeightLabel(side, k), {WeightAliveId(k), WeightInjuredId(k)});
    items.emplace_back(DlgItem::Button, IDC_OPEN_AREA, "--> Area");
    items.emplace_back(DlgItem::Edit, WeightAliveId(WArea));
    items.emplace_back(DlgItem::Edit, WeightInjuredId(WArea));
    items.emplace_back(DlgItem::Button, IDC_OPEN_FORMATION, "--> Formation");
    items.emplace_back(DlgItem::Edit, WeightAliveId(WFlock));
    items.emplace_back(DlgItem::Edit, WeightInjuredId(WFlock));
    PairRow(items, "--> Terrain", {WeightAliveId(WTerrain), WeightInjuredId(WTerrain)});
    if (withLocalCommand) {
        PairRow(items, "--> LC", {IDC_LC_ALIVE, IDC_LC_INJURED});
        PairRow(items, "Obey LC", {IDC_OBEY_LC_ALIVE, IDC_OBEY_LC_INJURED});
    }
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Randomize:");
    items.emplace_back(DlgItem::Button, IDC_RANDOMIZE_ALIVE, "Alive");
    items.emplace_back(DlgItem::Button, IDC_RANDOMIZE_INJURED, "Injured");
}

void CMetaValues::CopyIn(const CForce& f, Side side, int count)
{
    CopySquadRow(On, f.movement_flag, count);
    for (int row = 1; row <= MetaRows; ++row)
        for (int c = 0; c < 2; ++c) {
            if (row == 4)
                CopySquadRow(Hold[c], c == 0 ? f.A_HOLD_f : f.I_HOLD_f, count);
            else if (row <= 9)
                CopySquadRow(Value[row][c], f.*MetaIntRows[row][c], count);
            else
                CopySquadRow(Value[row][c], f.*MetaDistanceRows[row][c], count);
        }
    for (int r = 1; r <= 13; ++r)
        CopySquadRow(RuleOn[r], f.*RuleRows[r], count);
    CopySquadRow(MinDistAreaOn, f.R_area_min_flag, count);
    (void)side;
}

void CMetaValues::HandBack(CForce& f, Side side, int count) const
{
    HandBackSquadRow(f.movement_flag, On, count);
    for (int row = 1; row <= MetaRows; ++row)
        for (int c = 0; c < 2; ++c) {
            if (row == 4)
                HandBackSquadRow(c == 0 ? f.A_HOLD_f : f.I_HOLD_f, Hold[c], count);
            else if (row <= 9)
                HandBackSquadRow(f.*MetaIntRows[row][c], Value[row][c], count);
            else
                HandBackDistances(f.*MetaDistanceRows[row][c], Value[row][c], count);
        }
    for (int r = 1; r <= 13; ++r)
        HandBackSquadRow(f.*RuleRows[r], RuleOn[r], count);
    HandBackSquadRow(f.R_area_min_flag, MinDistAreaOn, count);
    (void)side;
}

void CMetaValues::Bind(CParamDlg& dlg, Side side, const MetaRanges& ranges)
{
    dlg.BindOnOff(IDC_META_ON, IDC_META_OFF, On);
    for (int row = 1; row <= MetaRows; ++row) {
        dlg.BindCheck(MetaUseId(row), row == 14 ? MinDistAreaOn : RuleOn[RuleOfRow(side, row)]);
        for (int c = 0; c < 2; ++c) {
            const int id = c == 0 ? MetaAliveId(row) : MetaInjuredId(row);
            if (row == 4)
                dlg.Bind(id, Hold[c], -1.0, 1.0);
            else
                dlg.Bind(id, Value[row][c], ranges.Min[row][c], ranges.Max[row][c]);
        }
    }
}

void MetaItems(std::vector<DialogItem>& items, Side side)
{
    items.emplace_back(DlgItem::Radio, IDC_META_ON, "On");
    items.emplace_back(DlgItem::Radio, IDC_META_OFF, "Off");
    items.emplace_back(DlgItem::NewRow);
    for (const char* header : {"Use?", "", "Alive", "Injured"})
        items.emplace_back(DlgItem::Label, IDC_STATIC, header);
    for (int row = 1; row <= MetaRows; ++row) {
        items.emplace_back(DlgItem::CheckBox, MetaUseId(row), "");
        PairRow(items, MetaLabel(side, row), {MetaAliveId(row), MetaInjuredId(row)});
    }
}

}  // namespace brevimar
