// Changes to the battle set-up, the terrain, the per-squad ranges and the
// display and seed settings, in the middle of a run. Set-up and terrain
// changes restart the battle; range changes reach every agent of the squad
// and the run goes on from where it stands once resumed. Cancel leaves the
// document as it was; after OK or Cancel the run stays paused.
#include <algorithm>

#include "app/BrevimarView.h"
#include "core/Document.h"
#include "core/StoredValues.h"
#include "core/TerrainBlocks.h"
#include "dialogs/BattlefieldDlgs.h"
#include "dialogs/RangeOptionDlgs.h"
#include "dialogs/SmallEditors.h"
#include "dialogs/SquadSections.h"
#include "dialogs/TerrainParamsDlg.h"
#include "files/ScenarioWriter.h"

namespace brevimar {

namespace {

int SquadsOf(const CForce& f) { return std::clamp(f.NumSquads, 1, MaxSquads); }
int AgentsOf(const CForce& f) { return std::clamp(f.NumAgents, 0, MaxAgents); }
int Flipped(int flag) { return flag == 1 ? 0 : 1; }

// Each agent of squads 1..count takes its squad's alive and injured value as
// its working value and, when given, as the base value that open ground
// restores: a change made now lasts until the next change or restart.
template <typename T>
void CopyToAgents(CForce& f, const T* squadAlive, const T* squadInjured, T* alive, T* injured, T* baseAlive,
                  T* baseInjured)
{
    const int n = SquadsOf(f);
    for (int i = 1, m = AgentsOf(f); i <= m; ++i) {
        const int s = f.AgentSquad[i];
        if (s < 1 || s > n)
            continue;
        alive[i] = squadAlive[s];
        injured[i] = squadInjured[s];
        if (baseAlive) {
            baseAlive[i] = squadAlive[s];
            baseInjured[i] = squadInjured[s];
        }
    }
}

void HandBackRangeOption(CBrevimarDoc& doc, Side side, const CSquadRangeDlg& dlg)
{
    CForce& f = doc.Force(side);
    CAgentBaseCopies& b = doc.BaseCopies(side);
    const int n = SquadsOf(f);
    auto ints = [&](int* rowAlive, int* rowInjured, int* alive, int* injured, int* baseAlive, int* baseInjured) {
        HandBackSquadRow(rowAlive, dlg.Alive, n);
        HandBackSquadRow(rowInjured, dlg.Injured, n);
        CopyToAgents<int>(f, rowAlive, rowInjured, alive, injured, baseAlive, baseInjured);
    };
    switch (dlg.Option) {
    case RangeOption::Fire:
        ints(f.A_F_RANGE, f.I_F_RANGE, f.FireRangeAlive, f.FireRangeInjured, b.BaseFireRangeAlive,
             b.BaseFireRangeInjured);
        break;
    case RangeOption::Sensor:
        ints(f.A_S_RANGE, f.I_S_RANGE, f.SensorRangeAlive, f.SensorRangeInjured, b.BaseSensorRangeAlive,
             b.BaseSensorRangeInjured);
        break;
    case RangeOption::Threshold:
        ints(f.A_C_RANGE, f.I_C_RANGE, f.ConstraintRangeAlive, f.ConstraintRangeInjured, b.BaseConstraintRangeAlive,
             b.BaseConstraintRangeInjured);
        break;
    case RangeOption::MaxTargets:
        ints(f.A_R_max_eng_num, f.I_R_max_eng_num, f.MaxTargetsAlive, f.MaxTargetsInjured, b.BaseMaxTargetsAlive,
             b.BaseMaxTargetsInjured);
        break;
    case RangeOption::Defense:
        // The base copies too: otherwise leaving passable terrain would bring
        // back the strength from before the change.
        ints(f.alive_strength, f.injured_strength, f.AliveStrength, f.InjuredStrength, b.BaseAliveStrength,
             b.BaseInjuredStrength);
        break;
    case RangeOption::SingleShotPk:
        HandBackSquadRow(f.shot_prob_alive, dlg.AliveF, n);
        HandBackSquadRow(f.shot_prob_injured, dlg.InjuredF, n);
        CopyToAgents<float>(f, f.shot_prob_alive, f.shot_prob_injured, f.ShotProbAlive, f.ShotProbInjured,
                            b.BaseShotProbAlive, b.BaseShotProbInjured);
        break;
    }
}

void HandBackMovement(CBrevimarDoc& doc, Side side, const CMovementRangeDlg& dlg)
{
    CForce& f = doc.Force(side);
    CAgentBaseCopies& b = doc.BaseCopies(side);
    const int n = SquadsOf(f);
    f.MoveGateByTime = dlg.Mode;
    HandBackSquadRow(f.A_M_RANGE, dlg.RangeAlive, n);
    HandBackSquadRow(f.I_M_RANGE, dlg.RangeInjured, n);
    HandBackSquadRow(f.MoveProbAlive, dlg.ProbAlive, n);
    HandBackSquadRow(f.MoveProbInjured, dlg.ProbInjured, n);
    HandBackSquadRow(f.MovePeriodAlive, dlg.TimeAlive, n);
    HandBackSquadRow(f.MovePeriodInjured, dlg.TimeInjured, n);
    CopyToAgents<int>(f, f.A_M_RANGE, f.I_M_RANGE, f.MoveRangeAlive, f.MoveRangeInjured, b.BaseMoveRangeAlive,
                      b.BaseMoveRangeInjured);
}

// The side's range and weights, and every agent's saved copies of them that
// open ground restores, so that the new values last.
void HandBackCommunications(CBrevimarDoc& doc, Side side, const CCommunicationsDlg& dlg)
{
    CForce& f = doc.Force(side);
    CAgentBaseCopies& b = doc.BaseCopies(side);
    f.CommOn = dlg.On;
    f.COMM_range = f.CommRange = dlg.Range;
    f.A_COMM_weight = f.CommWeightAlive = dlg.WeightAlive;
    f.I_COMM_weight = f.CommWeightInjured = dlg.WeightInjured;
    for (int i = 1, m = AgentsOf(f); i <= m; ++i) {
        b.BaseCommRange[i] = dlg.Range;
        b.BaseCommWeightAlive[i] = dlg.WeightAlive;
        b.BaseCommWeightInjured[i] = dlg.WeightInjured;
    }
}

// Whether the terrain dialog ends with another switch or another block than
// it opened with.
bool TerrainBlocksEdited(const CBattlefield& b, const CTerrainParamsDlg& dlg, int openedFlag)
{
    if (dlg.TerrainFlag != openedFlag)
        return true;
    for (int k = 1; k <= MaxTerrainBlocks; ++k)
        if (dlg.Type[k] != b.TerrainBlockType[k] || dlg.Length[k] != b.TerrainBlockLength[k] ||
            dlg.Width[k] != b.TerrainBlockWidth[k] || dlg.CenterX[k] != b.TerrainBlockX[k] ||
            dlg.CenterY[k] != b.TerrainBlockY[k] || dlg.Used[k] != b.TerrainBlockUsed[k])
            return true;
    return false;
}

// RED's goal is the BLUE flag and BLUE's goal the RED flag.
CForce& FlagHolder(CBrevimarDoc& doc, Side flagSide)
{
    return doc.Force(flagSide == Side::Red ? Side::Blue : Side::Red);
}

}  // namespace

void CBrevimarView::BuildOnTheFlyCommandMap()
{
    CBrevimarDoc& doc = *Document;
    auto restart = [this](const CStoredValues& before, bool smallerField = false) {
        ResetTailAndRedraw(before, smallerField);
    };

    // Set-up changes: each accepted value restarts the battle.
    auto battlefieldSize = [this, &doc, restart] {
        doc.Pause();
        CBattlefieldSizeDlg dlg(this);
        dlg.Length = dlg.Width = doc.Battlefield.BattleSize;
        // Both flags must stay on the field, which the dialog sees to.
        dlg.Flags = {doc.RedForce.GoalFlagX, doc.RedForce.GoalFlagY, doc.BlueForce.GoalFlagX,
                     doc.BlueForce.GoalFlagY};
        if (dlg.DoModal() != IDOK)
            return;
        const CStoredValues before(doc);
        const bool smaller = dlg.Length < doc.Battlefield.BattleSize;
        doc.Battlefield.BattleSize = dlg.Length;
        restart(before, smaller);
    };
    auto flag = [this, &doc, restart](Side side) {
        doc.Pause();
        CForce& holder = FlagHolder(doc, side);
        CFlagPositionDlg dlg(side, this);
        dlg.X = holder.GoalFlagX;
        dlg.Y = holder.GoalFlagY;
        dlg.FieldSize = doc.Battlefield.BattleSize;
        if (dlg.DoModal() != IDOK)
            return;
        const CStoredValues before(doc);
        holder.GoalFlagX = dlg.X;
        holder.GoalFlagY = dlg.Y;
        restart(before);
    };
    auto distribution = [this, &doc, restart](Side side) {
        doc.Pause();
        CInitialDistributionDlg dlg(doc, side, this);
        if (dlg.DoModal() != IDOK)
            return;
        const CStoredValues before(doc);
        CBattlefield& b = doc.Battlefield;
        const bool red = side == Side::Red;
        const int n = SquadsOf(doc.Force(side));
        HandBackSquadRow(red ? b.RED_cen_x : b.BLUE_cen_x, dlg.CenterX, n);
        HandBackSquadRow(red ? b.RED_cen_y : b.BLUE_cen_y, dlg.CenterY, n);
        HandBackSquadRow(red ? b.R_box_l : b.B_box_l, dlg.SizeX, n);
        HandBackSquadRow(red ? b.R_box_w : b.B_box_w, dlg.SizeY, n);
        restart(before);
    };
    auto adjudication = [this, &doc, restart](Side side) {
        CForce& f = doc.Force(side);
        // Only while the side's weapons are assigned per squad.
        if (f.WeaponAssignType != 1)
            return;
        doc.Pause();
        int& option = side == Side::Red ? doc.Battlefield.RedCombatUnlimited : doc.Battlefield.BlueCombatUnlimited;
        CCombatAdjudicationDlg dlg(doc, side, this);
        dlg.Option = option;
        if (dlg.DoModal() != IDOK)
            return;
        const CStoredValues before(doc);
        option = dlg.Option;
        HandBackSquadRow(f.A_R_max_eng_num, dlg.MaxAlive, SquadsOf(f));
        HandBackSquadRow(f.I_R_max_eng_num, dlg.MaxInjured, SquadsOf(f));
        restart(before);
    };

    // Range changes: the run goes on from its step, without a redraw.
    auto rangeOption = [this, &doc](Side side, RangeOption option) {
        doc.Pause();
        CSquadRangeDlg dlg(doc, side, option, this);
        if (dlg.DoModal() != IDOK)
            return;
        HandBackRangeOption(doc, side, dlg);
    };
    auto movement = [this, &doc](Side side) {
        doc.Pause();
        CMovementRangeDlg dlg(doc, side, this);
        if (dlg.DoModal() != IDOK)
            return;
        HandBackMovement(doc, side, dlg);
    };

    // The small editors.
    auto territory = [this, &doc] {
        doc.Pause();
        CBattlefield& b = doc.Battlefield;
        CTerritorialPossessionDlg dlg(this);
        dlg.UserArea = b.TerritoryUserArea;
        dlg.Range = b.TerritoryRange;
        dlg.MinCount = b.TerritoryMinCount;
        dlg.Delta = b.TerritoryDelta;
        dlg.CenterX = b.TerritoryCenterX;
        dlg.CenterY = b.TerritoryCenterY;
        dlg.RangeX = b.TerritoryRangeX;
        dlg.RangeY = b.TerritoryRangeY;
        if (dlg.DoModal() != IDOK)
            return;
        b.TerritoryUserArea = dlg.UserArea;
        b.TerritoryRange = dlg.Range;
        b.TerritoryMinCount = dlg.MinCount;
        b.TerritoryDelta = dlg.Delta;
        b.TerritoryCenterX = dlg.CenterX;
        b.TerritoryCenterY = dlg.CenterY;
        b.TerritoryRangeX = dlg.RangeX;
        b.TerritoryRangeY = dlg.RangeY;
        Invalidate(false);
    };
    auto reseed = [this, &doc] {
        doc.Pause();
        CRandomSeedDlg dlg(doc, this);
        if (dlg.DoModal() != IDOK)
            return;
        // The running battle keeps its generator state until the next restart.
        doc.InitialSeed = dlg.Seed;
    };
    auto highlight = [this, &doc] {
        doc.Pause();
        CSquadHighlightDlg dlg(doc, this);
        if (dlg.DoModal() != IDOK)
            return;
        doc.HighlightRedSquadNumber = std::min(dlg.RedSquad, SquadsOf(doc.RedForce));
        doc.HighlightBlueSquadNumber = std::min(dlg.BlueSquad, SquadsOf(doc.BlueForce));
        doc.HighlightRedSquadOn = dlg.RedOn;
        doc.HighlightBlueSquadOn = dlg.BlueOn;
        doc.ShowOtherRedAgents = dlg.ShowOtherRed;
        doc.ShowOtherBlueAgents = dlg.ShowOtherBlue;
        Invalidate(false);
    };

    using Handler = std::function<void()>;
    using Check = std::function<int()>;
    struct Entry {
        unsigned Id;
        Handler Run;
        Check Mark;  // empty: the item has no check mark
    };
    CBattlefield& field = doc.Battlefield;
    const Entry entries[] = {
        {ID_EDIT_TERRAIN_BLOCKS, [this] { OnEditTerrainBlocks(); }, {}},
        {ID_EDIT_TERRITORIAL_POSSESSION, territory, {}},
        {ID_RESEED_RANDOM, reseed, {}},
        {ID_EDIT_HIGHLIGHT_SQUADS, highlight, {}},
        {ID_FLY_BATTLEFIELD_SIZE, battlefieldSize, {}},
        {ID_FLY_RED_DISTRIBUTION, [distribution] { distribution(Side::Red); }, {}},
        {ID_FLY_BLUE_DISTRIBUTION, [distribution] { distribution(Side::Blue); }, {}},
        {ID_FLY_RED_FLAG, [flag] { flag(Side::Red); }, {}},
        {ID_FLY_BLUE_FLAG, [flag] { flag(Side::Blue); }, {}},
        {ID_FLY_RED_ADJUDICATION, [adjudication] { adjudication(Side::Red); }, {}},
        {ID_FLY_BLUE_ADJUDICATION, [adjudication] { adjudication(Side::Blue); }, {}},
        {ID_FLY_RED_MOVEMENT, [movement] { movement(Side::Red); }, {}},
        {ID_FLY_BLUE_MOVEMENT, [movement] { movement(Side::Blue); }, {}},
        {ID_FLY_RED_SENSOR, [rangeOption] { rangeOption(Side::Red, RangeOption::Sensor); }, {}},
        {ID_FLY_BLUE_SENSOR, [rangeOption] { rangeOption(Side::Blue, RangeOption::Sensor); }, {}},
        {ID_FLY_RED_FIRE, [rangeOption] { rangeOption(Side::Red, RangeOption::Fire); }, {}},
        {ID_FLY_BLUE_FIRE, [rangeOption] { rangeOption(Side::Blue, RangeOption::Fire); }, {}},
        {ID_FLY_RED_THRESHOLD, [rangeOption] { rangeOption(Side::Red, RangeOption::Threshold); }, {}},
        {ID_FLY_BLUE_THRESHOLD, [rangeOption] { rangeOption(Side::Blue, RangeOption::Threshold); }, {}},
        {ID_FLY_RED_PK, [rangeOption] { rangeOption(Side::Red, RangeOption::SingleShotPk); }, {}},
        {ID_FLY_BLUE_PK, [rangeOption] { rangeOption(Side::Blue, RangeOption::SingleShotPk); }, {}},
        {ID_FLY_RED_MAX_TARGETS, [rangeOption] { rangeOption(Side::Red, RangeOption::MaxTargets); }, {}},
        {ID_FLY_BLUE_MAX_TARGETS, [rangeOption] { rangeOption(Side::Blue, RangeOption::MaxTargets); }, {}},
        {ID_FLY_RED_DEFENSE, [rangeOption] { rangeOption(Side::Red, RangeOption::Defense); }, {}},
        {ID_FLY_BLUE_DEFENSE, [rangeOption] { rangeOption(Side::Blue, RangeOption::Defense); }, {}},
        {ID_FLY_RED_COMMUNICATIONS, [this] { EditCommunications(Side::Red); }, {}},
        {ID_FLY_BLUE_COMMUNICATIONS, [this] { EditCommunications(Side::Blue); }, {}},

        // Toggles: no pause, no restart.
        {ID_TOGGLE_RED_RECON, [&field] { field.RED_recon_flag = Flipped(field.RED_recon_flag); },
         [&field] { return field.RED_recon_flag; }},
        {ID_TOGGLE_BLUE_RECON, [&field] { field.BLUE_recon_flag = Flipped(field.BLUE_recon_flag); },
         [&field] { return field.BLUE_recon_flag; }},
        {ID_TOGGLE_RED_FRATRICIDE, [&field] { field.red_frat_flag = Flipped(field.red_frat_flag); },
         [&field] { return field.red_frat_flag; }},
        {ID_TOGGLE_BLUE_FRATRICIDE, [&field] { field.blue_frat_flag = Flipped(field.blue_frat_flag); },
         [&field] { return field.blue_frat_flag; }},
        {ID_MOVE_ORDER_RANDOM, [&field] { field.MoveOrder = 2; }, [&field] { return field.MoveOrder != 1 ? 1 : 0; }},
        {ID_MOVE_ORDER_FIXED, [&field] { field.MoveOrder = 1; }, [&field] { return field.MoveOrder == 1 ? 1 : 0; }},
        {ID_TOGGLE_RED_COMMUNICATIONS, [this] { OnToggleCommunications(Side::Red); },
         [&doc] { return doc.RedForce.CommOn; }},
        {ID_TOGGLE_BLUE_COMMUNICATIONS, [this] { OnToggleCommunications(Side::Blue); },
         [&doc] { return doc.BlueForce.CommOn; }},
        {ID_TOGGLE_RED_NEAREST_TERRAIN,
         [this, &doc] {
             doc.RedForce.near_terrain_flag = Flipped(doc.RedForce.near_terrain_flag);
             Invalidate(false);
         },
         [&doc] { return doc.RedForce.near_terrain_flag == 1 ? 1 : 0; }},
        {ID_TOGGLE_BLUE_NEAREST_TERRAIN,
         [this, &doc] {
             doc.BlueForce.near_terrain_flag = Flipped(doc.BlueForce.near_terrain_flag);
             Invalidate(false);
         },
         [&doc] { return doc.BlueForce.near_terrain_flag == 1 ? 1 : 0; }},
        {ID_TOGGLE_LINE_OF_SIGHT, [&field] { field.LineOfSightOn = Flipped(field.LineOfSightOn); },
         [&field] { return field.LineOfSightOn; }},
        {ID_TERRAIN_ON_OFF, [this] { OnTerrainOnOff(); }, [&field] { return field.TerrainMode != 0 ? 1 : 0; }},
    };
    // What the user stores through these is the user's, even where a GA or a
    // landscape wrote it.
    for (const Entry& e : entries) {
        Map.On(e.Id, [&doc, run = e.Run] {
            const RedEditScope red(doc);
            const UserWriteScope user(doc);
            run();
        });
        Map.OnUpdate(e.Id, [this, mark = e.Mark, id = e.Id, &field](CCmdUI& ui) {
            OnUpdateUnlessBatchBusy(ui);
            if (id == ID_TOGGLE_LINE_OF_SIGHT && field.TerrainMode == 0)
                ui.Enable(false);
            if (mark)
                ui.SetCheck(mark() != 0 ? 1 : 0);
        });
    }
}

bool CBrevimarView::OnEditTerrainBlocks()
{
    CBrevimarDoc& doc = *Document;
    CBattlefield& b = doc.Battlefield;
    doc.Pause();
    CTerrainParamsDlg dlg(doc, this);
    // Terrain from a file becomes block terrain once the blocks are edited;
    // nothing reaches the battlefield before OK.
    if (dlg.TerrainFlag == 2)
        dlg.TerrainFlag = 1;
    const int openedFlag = dlg.TerrainFlag;
    if (dlg.DoModal() != IDOK)
        return false;
    const CStoredValues before(doc);
    // OK with nothing edited keeps the terrain as it stands, a terrain file's
    // cells included.
    if (!TerrainBlocksEdited(b, dlg, openedFlag)) {
        ResetTailAndRedraw(before);
        return true;
    }
    b.TerrainMode = dlg.TerrainFlag;
    for (int k = 1; k <= MaxTerrainBlocks; ++k) {
        b.TerrainBlockType[k] = dlg.Type[k];
        b.TerrainBlockLength[k] = dlg.Length[k];
        b.TerrainBlockWidth[k] = dlg.Width[k];
        b.TerrainBlockX[k] = dlg.CenterX[k];
        b.TerrainBlockY[k] = dlg.CenterY[k];
        b.TerrainBlockUsed[k] = dlg.Used[k];
    }
    ApplyEditedTerrainBlocks(b);
    ResetTailAndRedraw(before);
    return true;
}

void CBrevimarView::OnTerrainOnOff()
{
    CBrevimarDoc& doc = *Document;
    CBattlefield& b = doc.Battlefield;
    // The switch restarts the battle whichever way it goes.
    if (!doc.OfferCapturedFrames())
        return;
    if (b.TerrainMode > 0) {
        b.TerrainMode = 0;
        b.TerrainModifiersOn = 0;
        TakeTerrainOff(b);
    } else {
        b.TerrainMode = 1;
        if (b.terrain_blocks == 0) {
            OnEditTerrainBlocks();
        } else {
            // The blocks come back as they stood, and with them the
            // modifiers of their passable ground.
            b.TerrainModifiersOn = LaysPassableTerrain(b) ? 1 : 0;
        }
    }
    ResetTailAndRedraw();
}

bool CBrevimarView::EditCommunications(Side side)
{
    CBrevimarDoc& doc = *Document;
    CForce& f = doc.Force(side);
    doc.Pause();
    CCommunicationsDlg dlg(side, this);
    dlg.On = f.CommOn;
    dlg.Range = f.COMM_range;
    dlg.WeightAlive = f.A_COMM_weight;
    dlg.WeightInjured = f.I_COMM_weight;
    if (dlg.DoModal() != IDOK)
        return false;
    HandBackCommunications(doc, side, dlg);
    return true;
}

void CBrevimarView::OnToggleCommunications(Side side)
{
    CForce& f = Document->Force(side);
    if (f.CommOn == 1) {
        f.CommOn = 0;
        return;
    }
    f.CommOn = 1;
    // Switched on with nothing to pass on: ask for a range and weights.
    if (f.COMM_range == 0 || (f.A_COMM_weight == 0.0f && f.I_COMM_weight == 0.0f))
        EditCommunications(side);
}

}  // namespace brevimar
