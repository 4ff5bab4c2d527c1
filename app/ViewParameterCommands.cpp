// The parameter-change road: pause, a modal dialog that copies the
// document's values in, the hand-back after OK, and for the Edit menu's
// changes a restart of the battle from the new parameters. Cancel leaves the
// document, the run and the picture as they were. Either way the run stays
// paused until the user resumes it.
#include <algorithm>
#include <cmath>

#include "app/BrevimarView.h"
#include "core/Document.h"
#include "core/SquadCopies.h"
#include "core/StoredValues.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/FlockAreaDlg.h"
#include "dialogs/HitProbDlg.h"
#include "dialogs/MatrixDlg.h"
#include "dialogs/PersonalityDlg.h"
#include "files/ScenarioWriter.h"
#include "files/WeaponFiles.h"

namespace brevimar {

namespace {

int AgentsOf(const CForce& f) { return std::clamp(f.NumAgents, 0, MaxAgents); }

void HandBackAgentParams(CBrevimarDoc& doc, const CAgentParamsDlg& dlg)
{
    const Side side = dlg.DlgSide;
    const bool red = side == Side::Red;
    CForce& f = doc.Force(side);
    CBattlefield& b = doc.Battlefield;

    f.SquadWeaponsDefined = dlg.PrFunctionsDefined;
    f.WeaponFunction.function_type = dlg.LethalityContourMode;
    f.CommOn = dlg.CommOn;
    (red ? b.RED_recon_flag : b.BLUE_recon_flag) = dlg.ReconstitutionOn;
    (red ? b.red_frat_flag : b.blue_frat_flag) = dlg.FratricideOn;
    f.COMM_range = dlg.CommRange;
    f.A_COMM_weight = dlg.CommWeightAlive;
    f.I_COMM_weight = dlg.CommWeightInjured;
    f.recon_time = dlg.ReconstitutionTime;
    (red ? b.red_frat_rad : b.blue_frat_rad) = dlg.FratricideRange;
    (red ? b.red_frat_prob : b.blue_frat_prob) = dlg.FratricideProb;
    const int n = std::clamp(dlg.EditedSquads, 1, MaxSquads);
    const int had = std::clamp(f.NumSquads, 1, MaxSquads);
    // Squads added start as copies of the last one in the tables this
    // dialog does not hold as well (deployment boxes, weapons, stored
    // target limits, ...); the dialog's own copies, the same values as it
    // shows them, then go over them (a distance shown cut to whole cells
    // keeps the copy's fraction).
    AddSquadCopies(doc, side, n);
    f.NumSquads = n;

    for (int s = 1; s <= n; ++s)
        for (int j = 1; j <= n; ++j) {
            f.CommMatrix[s][j] = dlg.CommMatrix[s][j];
            f.SquadWeightMatrix[s][j] = dlg.SquadWeightMatrix[s][j];
        }
    if (dlg.CommMatrixEdited)
        doc.CommMatricesSet = 1;
    // The dialog shows the sizes a save writes; the agents a right click
    // took off keep their slots until the forces are deployed afresh.
    int removed[SquadSlots] = {};
    for (int s = 1; s <= n; ++s)
        removed[s] = f.HandRemovedFrom(s);
    HandBackSquadRow(f.num_per_squad, dlg.SquadSize, n);
    for (int s = 1; s <= MaxSquads; ++s) {
        if (s <= n)
            f.num_per_squad[s] += removed[s];
        f.HandRemoved[s] = removed[s];
    }
    HandBackSquadRow(f.A_S_RANGE, dlg.SensorAlive, n);
    HandBackSquadRow(f.I_S_RANGE, dlg.SensorInjured, n);
    HandBackSquadRow(f.A_F_RANGE, dlg.FireAlive, n);
    HandBackSquadRow(f.I_F_RANGE, dlg.FireInjured, n);
    HandBackSquadRow(f.A_M_RANGE, dlg.MovementAlive, n);
    HandBackSquadRow(f.I_M_RANGE, dlg.MovementInjured, n);
    HandBackSquadRow(f.A_C_RANGE, dlg.ThresholdAlive, n);
    HandBackSquadRow(f.I_C_RANGE, dlg.ThresholdInjured, n);
    HandBackSquadRow(f.shot_prob_alive, dlg.PkAlive, n);
    HandBackSquadRow(f.shot_prob_injured, dlg.PkInjured, n);
    dlg.HandBackMaxTargets(f, n);
    HandBackSquadRow(f.alive_strength, dlg.DefenseAlive, n);
    HandBackSquadRow(f.injured_strength, dlg.DefenseInjured, n);
    dlg.Personality.HandBack(doc, side, n);
    dlg.Meta.HandBack(f, side, n);

    // The squad-specific hit-probability functions, whatever the squad count.
    CopyHitFunctions(f.WeaponFunction, dlg.HitProbability);

    int total = 0;
    for (int s = 1; s <= n; ++s)
        total += f.num_per_squad[s];
    // The dialog refuses more; the per-agent loops stay inside the arrays anyway.
    f.NumAgents = std::min(total, MaxAgents);
    // The agents of an added squad carry the weapons its copied carriers
    // count, as its source's agents do, not what their slots last held.
    if (n > had) {
        f.NumberAgentsBySquad();
        HandOutWeapons(f);
    }
}

// A squad's eighteen personality weights and four flock radii, as the
// personality dialog hands them back.
struct SquadPersonality {
    float Alive[WeightSlots];
    float Injured[WeightSlots];
    float Rings[4];
    bool operator==(const SquadPersonality&) const = default;
};

SquadPersonality PersonalityOf(const CForce& f, int s)
{
    SquadPersonality p{};
    for (int k = W1; k < WeightSlots; ++k) {
        p.Alive[k] = AliveWeightRow(f, k)[s];
        p.Injured[k] = InjuredWeightRow(f, k)[s];
    }
    p.Rings[0] = f.A_R_flock_min[s];
    p.Rings[1] = f.I_R_flock_min[s];
    p.Rings[2] = f.A_R_flock_max[s];
    p.Rings[3] = f.I_R_flock_max[s];
    return p;
}

// Each agent of a squad marked in `squads` takes its own squad's weights over
// the squad's sums of absolute values (a sum of 0 counts as 1), and its
// squad's rings. The agents of the other squads keep theirs: with drawn
// personalities they hold no squad's weights.
void RederiveAgentWeights(CForce& f, const bool (&squads)[SquadSlots])
{
    float aliveSum[SquadSlots] = {};
    float injuredSum[SquadSlots] = {};
    for (int s = 1; s <= MaxSquads; ++s) {
        for (int k = W1; k < WeightSlots; ++k) {
            aliveSum[s] += std::fabs(AliveWeightRow(f, k)[s]);
            injuredSum[s] += std::fabs(InjuredWeightRow(f, k)[s]);
        }
        aliveSum[s] = aliveSum[s] == 0.0f ? 1.0f : aliveSum[s];
        injuredSum[s] = injuredSum[s] == 0.0f ? 1.0f : injuredSum[s];
    }
    for (int i = 1, n = AgentsOf(f); i <= n; ++i) {
        const int s = f.AgentSquad[i];
        if (s < 1 || s > MaxSquads || !squads[s])
            continue;
        float maxAlive = 0.0f, maxInjured = 0.0f;
        for (int k = W1; k < WeightSlots; ++k) {
            f.AliveWeight[k][i] = AliveWeightRow(f, k)[s] / aliveSum[s];
            f.InjuredWeight[k][i] = InjuredWeightRow(f, k)[s] / injuredSum[s];
            if (k <= W6) {
                maxAlive = std::max(maxAlive, std::fabs(f.AliveWeight[k][i]));
                maxInjured = std::max(maxInjured, std::fabs(f.InjuredWeight[k][i]));
            }
        }
        f.MaxAliveWeight[i] = maxAlive;
        f.MaxInjuredWeight[i] = maxInjured;
        f.FlockMinAlive[i] = f.A_R_flock_min[s];
        f.FlockMinInjured[i] = f.I_R_flock_min[s];
        f.FlockMaxAlive[i] = f.A_R_flock_max[s];
        f.FlockMaxInjured[i] = f.I_R_flock_max[s];
    }
}

// Every agent takes its own squad's meta-personality values. RED agents
// also take the hold fractions; BLUE agents the single-shot P(k) and the
// engagement limits instead.
void RefreshAgentMetaPersonality(CForce& f, Side side)
{
    for (int i = 1, n = AgentsOf(f); i <= n; ++i) {
        const int s = f.AgentSquad[i];
        if (s < 1 || s > MaxSquads)
            continue;
        f.FriendMinDistAlive[i] = f.A_R_R_min_dist[s];
        f.FriendMinDistInjured[i] = f.I_R_R_min_dist[s];
        f.EnemyMinDistAlive[i] = f.A_R_B_min_dist[s];
        f.EnemyMinDistInjured[i] = f.I_R_B_min_dist[s];
        f.GoalMinDistAlive[i] = f.A_R_R_goal_min[s];
        f.GoalMinDistInjured[i] = f.I_R_R_goal_min[s];
        f.AdvanceNumAlive[i] = f.A_ADVANCE_num[s];
        f.AdvanceNumInjured[i] = f.I_ADVANCE_num[s];
        f.ClusterNumAlive[i] = f.A_CLUSTER_num[s];
        f.ClusterNumInjured[i] = f.I_CLUSTER_num[s];
        f.CombatNumAlive[i] = f.A_COMBAT_num[s];
        f.CombatNumInjured[i] = f.I_COMBAT_num[s];
        f.Pursuit1NumAlive[i] = f.A_PURSUIT1_num[s];
        f.Pursuit1NumInjured[i] = f.I_PURSUIT1_num[s];
        f.Pursuit2NumAlive[i] = f.A_PURSUIT2_num[s];
        f.Pursuit2NumInjured[i] = f.I_PURSUIT2_num[s];
        f.RetreatNumAlive[i] = f.A_RETREAT_num[s];
        f.RetreatNumInjured[i] = f.I_RETREAT_num[s];
        f.Support1NumAlive[i] = f.A_SUPPORT1_num[s];
        f.Support1NumInjured[i] = f.I_SUPPORT1_num[s];
        f.Support2NumAlive[i] = f.A_SUPPORT2_num[s];
        f.Support2NumInjured[i] = f.I_SUPPORT2_num[s];
        f.MovementFlag[i] = f.movement_flag[s];
        f.AreaMinDistAlive[i] = f.A_R_area_min[s];
        f.AreaMinDistInjured[i] = f.I_R_area_min[s];
        if (side == Side::Red) {
            f.HoldFractionAlive[i] = f.A_HOLD_f[s];
            f.HoldFractionInjured[i] = f.I_HOLD_f[s];
        } else {
            f.ShotProbAlive[i] = f.shot_prob_alive[s];
            f.ShotProbInjured[i] = f.shot_prob_injured[s];
            f.MaxTargetsAlive[i] = f.A_R_max_eng_num[s];
            f.MaxTargetsInjured[i] = f.I_R_max_eng_num[s];
        }
    }
}

int SquadsOf(const CForce& f) { return std::clamp(f.NumSquads, 1, MaxSquads); }

}  // namespace

void CBrevimarView::BuildParameterCommandMap()
{
    const std::pair<unsigned, void (CBrevimarView::*)()> commands[] = {
        {ID_EDIT_RED_AGENTS, &CBrevimarView::OnEditRedAgents},
        {ID_EDIT_BLUE_AGENTS, &CBrevimarView::OnEditBlueAgents},
        {ID_FLY_RED_PERSONALITY, &CBrevimarView::OnOnTheFlyRedPersonality},
        {ID_FLY_BLUE_PERSONALITY, &CBrevimarView::OnOnTheFlyBluePersonality},
        {ID_FLY_RED_META_PERSONALITY, &CBrevimarView::OnOnTheFlyRedMetaPersonality},
        {ID_FLY_BLUE_META_PERSONALITY, &CBrevimarView::OnOnTheFlyBlueMetaPersonality},
        {ID_FLY_RED_COMM_MATRIX, &CBrevimarView::OnFlyRedCommMatrix},
        {ID_FLY_BLUE_COMM_MATRIX, &CBrevimarView::OnFlyBlueCommMatrix},
        {ID_FLY_RED_SQUAD_WEIGHTS, &CBrevimarView::OnOnTheFlyRedSquadWeights},
        {ID_FLY_BLUE_SQUAD_WEIGHTS, &CBrevimarView::OnOnTheFlyBlueSquadWeights},
        {ID_EDIT_RED_COMM_MATRIX, &CBrevimarView::OnEditRedCommMatrix},
        {ID_EDIT_RED_SQUAD_WEIGHTS, &CBrevimarView::OnEditRedSquadWeights},
        {ID_EDIT_BLUE_COMM_MATRIX, &CBrevimarView::OnEditBlueCommMatrix},
        {ID_EDIT_BLUE_SQUAD_WEIGHTS, &CBrevimarView::OnEditBlueSquadWeights},
        {ID_FLY_RED_AREA, &CBrevimarView::OnFlyRedArea},
        {ID_FLY_BLUE_AREA, &CBrevimarView::OnFlyBlueArea},
        {ID_FLY_RED_FORMATION, &CBrevimarView::OnFlyRedFormation},
        {ID_FLY_BLUE_FORMATION, &CBrevimarView::OnFlyBlueFormation},
        {ID_HIGHLIGHT_RED_TOGGLE, &CBrevimarView::OnHighlightRedToggle},
    };
    // A batch run owns the document until it ends. What the user stores
    // through these is the user's, even where a GA or a landscape wrote it.
    for (const auto& [id, handler] : commands) {
        Map.On(id, [this, handler = handler] {
            const RedEditScope red(*Document);
            const UserWriteScope user(*Document);
            (this->*handler)();
        });
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    }
}

void CBrevimarView::OnHighlightRedToggle()
{
    // A display switch: the run goes on.
    Document->HighlightRedSquadOn = Document->HighlightRedSquadOn ? 0 : 1;
    Invalidate(false);
}

void CBrevimarView::ResetTailAndRedraw()
{
    Document->ResetTail();
    Invalidate(false);
}

void CBrevimarView::ResetTailAndRedraw(const CStoredValues& before, bool smallerField)
{
    CBrevimarDoc& doc = *Document;
    if (before.Unchanged(doc)) {
        Invalidate(false);
        return;
    }
    // A RUN file chooser cancelled after the offer gives the OK up.
    if (!OfferCapturedFramesBefore(doc, before))
        return;
    // Cells beyond a smaller battlefield would keep their old picture.
    if (smallerField) {
        doc.ClearLattice();
        Invalidate(true);
    }
    ResetTailAndRedraw();
}

bool CBrevimarView::EditAgents(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CAgentParamsDlg dialog(doc, side, this);
    if (dialog.DoModal() != IDOK)
        return false;
    const CStoredValues before(doc);
    HandBackAgentParams(doc, dialog);
    ResetTailAndRedraw(before);
    return true;
}

bool CBrevimarView::OnTheFlyPersonality(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CPersonalityDlg dialog(doc, side, this);
    if (dialog.DoModal() != IDOK)
        return false;
    CForce& f = doc.Force(side);
    SquadPersonality before[SquadSlots];
    for (int s = 1; s <= MaxSquads; ++s)
        before[s] = PersonalityOf(f, s);
    dialog.Values.HandBack(doc, side, SquadsOf(f));
    // Only the squads whose weights or rings changed pass them on to their
    // agents: OK on what the dialog showed changes no agent.
    bool changed[SquadSlots] = {};
    for (int s = 1; s <= MaxSquads; ++s)
        changed[s] = !(PersonalityOf(f, s) == before[s]);
    RederiveAgentWeights(f, changed);
    Invalidate(false);
    return true;
}

bool CBrevimarView::OnTheFlyMetaPersonality(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CMetaPersonalityDlg dialog(doc, side, this);
    if (dialog.DoModal() != IDOK)
        return false;
    CForce& f = doc.Force(side);
    dialog.Values.HandBack(f, side, SquadsOf(f));
    Invalidate(false);
    RefreshAgentMetaPersonality(f, side);
    return true;
}

bool CBrevimarView::EditCommMatrix(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CForce& f = doc.Force(side);
    const int n = SquadsOf(f);
    CCommMatrixDlg dialog(side, this);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            dialog.C[i][j] = f.CommMatrix[i][j];
    dialog.SquadCount = n;
    if (dialog.DoModal() != IDOK)
        return false;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            f.CommMatrix[i][j] = dialog.C[i][j];
    // The links the user chose stand, even where set-up has not yet run.
    doc.CommMatricesSet = 1;
    Invalidate(false);
    return true;
}

bool CBrevimarView::EditSquadWeights(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CForce& f = doc.Force(side);
    CSquadWeightMatrixDlg dialog(side, this);
    dialog.SquadCount = SquadsOf(f);
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j)
            dialog.S[i][j] = f.SquadWeightMatrix[i][j];
    if (dialog.DoModal() != IDOK)
        return false;
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j)
            f.SquadWeightMatrix[i][j] = dialog.S[i][j];
    Invalidate(false);
    return true;
}

void CBrevimarView::EditMatrixThenReset(Side side, bool communications)
{
    const CStoredValues before(*Document);
    if (communications ? EditCommMatrix(side) : EditSquadWeights(side))
        ResetTailAndRedraw(before);
}

bool CBrevimarView::EditArea(Side side)
{
    // The area does not pause the run.
    CForce& f = Document->Force(side);
    const int n = SquadsOf(f);
    CMoveAreaDlg dialog(side, this);
    dialog.SquadCount = n;
    CopySquadRow(dialog.CenterX, f.AreaCenterX, n);
    CopySquadRow(dialog.CenterY, f.AreaCenterY, n);
    CopySquadRow(dialog.RangeX, f.AreaRangeX, n);
    CopySquadRow(dialog.RangeY, f.AreaRangeY, n);
    dialog.ShowFirstSquad();
    if (dialog.DoModal() != IDOK)
        return false;
    Invalidate(true);
    // The squads the dialog showed: those above the count keep their areas.
    HandBackSquadRow(f.AreaCenterX, dialog.CenterX, n);
    HandBackSquadRow(f.AreaCenterY, dialog.CenterY, n);
    HandBackSquadRow(f.AreaRangeX, dialog.RangeX, n);
    HandBackSquadRow(f.AreaRangeY, dialog.RangeY, n);
    return true;
}

bool CBrevimarView::EditFormation(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CForce& f = doc.Force(side);
    const int n = SquadsOf(f);
    CFlockDlg dialog(side, this);
    dialog.SquadCount = n;
    CopySquadRow(dialog.InnerAlive, f.A_R_flock_min, n);
    CopySquadRow(dialog.InnerInjured, f.I_R_flock_min, n);
    CopySquadRow(dialog.OuterAlive, f.A_R_flock_max, n);
    CopySquadRow(dialog.OuterInjured, f.I_R_flock_max, n);
    dialog.ShowFirstSquad();
    if (dialog.DoModal() != IDOK)
        return false;
    // The squads the dialog showed, and of those only the ones whose rings
    // came back changed: an inner ring beyond the outer one is brought in
    // then. Squads above the count, and rings as they were, stay.
    bool changed[SquadSlots] = {};
    for (int s = 1; s <= n; ++s)
        changed[s] = dialog.InnerAlive.Squad[s] != f.A_R_flock_min[s] ||
                     dialog.InnerInjured.Squad[s] != f.I_R_flock_min[s] ||
                     dialog.OuterAlive.Squad[s] != f.A_R_flock_max[s] ||
                     dialog.OuterInjured.Squad[s] != f.I_R_flock_max[s];
    dialog.ClampInnerRings();
    for (int s = 1; s <= n; ++s) {
        if (!changed[s])
            continue;
        f.A_R_flock_min[s] = dialog.InnerAlive.Squad[s];
        f.I_R_flock_min[s] = dialog.InnerInjured.Squad[s];
        f.A_R_flock_max[s] = dialog.OuterAlive.Squad[s];
        f.I_R_flock_max[s] = dialog.OuterInjured.Squad[s];
    }
    for (int i = 1, m = AgentsOf(f); i <= m; ++i) {
        const int s = f.AgentSquad[i];
        if (s < 1 || s > n || !changed[s])
            continue;
        f.FlockMinAlive[i] = f.A_R_flock_min[s];
        f.FlockMinInjured[i] = f.I_R_flock_min[s];
        f.FlockMaxAlive[i] = f.A_R_flock_max[s];
        f.FlockMaxInjured[i] = f.I_R_flock_max[s];
    }
    return true;
}

}  // namespace brevimar
