#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

// A double constant: the product is rounded to single precision only when
// stored, which for many ranges (5, 7, 10, ...) differs from a float product.
constexpr double DiagonalFactor = 1.4142135;

// Counts and squad numbers that index the fixed arrays are held to their
// bounds here; reporting bad values is the readers' and dialogs' business.
int AgentCount(const CForce& force) { return std::clamp(force.NumAgents, 0, MaxAgents); }
int SquadRow(int squad) { return squad >= 0 && squad <= MaxSquads ? squad : 0; }
int CommanderCount(const CLocalCommand& local) { return std::clamp(local.NumLocalCommanders, 0, MaxCommanders); }

// Forces rebuilt under a RUN capture end it. The commands that can still
// write it as it was offer that before they change anything; one that gets
// here with frames unwritten has changed the scenario under them, so they
// are not written, and the user hears of it rather than finding them gone.
void EndCapture(CBrevimarDoc& doc)
{
    const int frames = doc.CapturedFrames();
    doc.RunCaptureOn = 0;
    if (frames < 1)
        return;
    const std::string text = "The RUN capture has ended: the " + std::to_string(frames) +
                             (frames == 1 ? " frame it held was" : " frames it held were") + " not written to a file.";
    doc.host().Log(text);
    doc.host().MessageBox(text, "Brevimar", MB_OK | MB_ICONWARNING);
}

// A value in [0.0001, 1.0) as the set-up draws it.
double Draw(CBrevimarDoc& doc) { return doc.DrawUniformRange(1, 10000, &doc.RandomState) * 0.0001; }

// Five draws: the weights toward own alive, enemy alive, own injured and
// enemy injured agents and toward the enemy flag, normalised to sum 1; the
// own-flag weight is 0.
void DrawFiveWeights(CBrevimarDoc& doc, float* w1, float* w2, float* w3, float* w4, float* w5, float* w6)
{
    double u[5];
    double total = 0;
    for (double& value : u) {
        value = Draw(doc);
        total += value;
    }
    *w1 = static_cast<float>(u[0] / total);
    *w2 = static_cast<float>(u[1] / total);
    *w3 = static_cast<float>(u[2] / total);
    *w4 = static_cast<float>(u[3] / total);
    *w5 = 0.0f;
    *w6 = static_cast<float>(u[4] / total);
}

float NonZero(float sum) { return sum == 0.0f ? 1.0f : sum; }

void PrepareLocalCommand(CLocalCommand& local)
{
    if (local.LocalCommandOn != 1) {
        local.NumLocalCommanders = 0;
        local.patch_type = 1;
        local.patch_flag = 1;
        return;
    }
    for (int c = 1, n = CommanderCount(local); c <= n; ++c) {
        local.SubordinateCount[c] = std::clamp(local.undr_cmd[c], 0, MaxSubordinates);
        const int r = local.cmnd_rad[c];
        local.CommandPatchSize[c] = local.patch_type == 1 ? 3 * r + 1 : 5 * r + 2;
        const float* weights[] = {&local.w1[c], &local.w2[c], &local.w3[c], &local.w4[c],
                                  &local.w5[c], &local.w6[c], &local.w_terrain[c]};
        CCommanderWeights& out = local.Normalised;
        float* normalised[] = {&out.w1[c], &out.w2[c], &out.w3[c], &out.w4[c], &out.w5[c], &out.w6[c], &out.w_terrain[c]};
        float sum = 0.0f;
        for (const float* w : weights)
            sum += std::fabs(*w);
        sum = NonZero(sum);
        for (int k = 0; k < 7; ++k)
            *normalised[k] = *weights[k] / sum;
    }
}

}  // namespace

void CForce::ReconcileSquadSizes()
{
    CForce& force = *this;
    const int n = AgentCount(force);
    force.num_per_squad[0] = 0;
    const int last = std::min(force.NumSquads, MaxSquads);
    if (last < 1)
        return;
    // Sizes come from files and dialogs: the running sum must not overflow.
    long long sum = 0;
    for (int k = 1; k <= last; ++k) {
        sum += force.num_per_squad[k];
        if (sum == n) {
            force.NumSquads = k;
            return;
        }
        if (sum > n || k == last) {
            force.NumSquads = k;
            force.num_per_squad[k] = static_cast<int>(force.num_per_squad[k] + (n - sum));
            return;
        }
    }
}

void CForce::NumberAgentsBySquad()
{
    CForce& force = *this;
    const int n = AgentCount(force);
    const int squads = std::clamp(force.NumSquads, 1, MaxSquads);
    int i = 1;
    for (int k = 1; k <= squads; ++k)
        for (int j = 1; j <= force.num_per_squad[k] && i <= n; ++j)
            force.AgentSquad[i++] = k;
    // Only reachable with negative squad sizes: keep every agent in a squad.
    for (; i <= n; ++i)
        force.AgentSquad[i] = squads;
}

namespace {

struct WeightSums {
    float Alive[SquadSlots];
    float Injured[SquadSlots];
};

WeightSums SquadWeightSums(const CForce& f)
{
    WeightSums sums{};
    for (int k = 0; k < SquadSlots; ++k) {
        sums.Alive[k] = std::fabs(f.w1_a[k]) + std::fabs(f.w2_a[k]) + std::fabs(f.w3_a[k]) + std::fabs(f.w4_a[k]) +
                        std::fabs(f.w5_a[k]) + std::fabs(f.w6_a[k]) + std::fabs(f.w_terrain_alive[k]) +
                        std::fabs(f.w_area_alive[k]) + std::fabs(f.w_flock_alive[k]);
        sums.Injured[k] = std::fabs(f.w1_i[k]) + std::fabs(f.w2_i[k]) + std::fabs(f.w3_i[k]) +
                          std::fabs(f.w4_i[k]) + std::fabs(f.w5_i[k]) + std::fabs(f.w6_i[k]) +
                          std::fabs(f.w_terrain_injured[k]) + std::fabs(f.w_area_injured[k]) +
                          std::fabs(f.w_flock_injured[k]);
    }
    return sums;
}

// The agent's eighteen weights: squad s's weights over the squad's sums.
void TakeSquadWeights(CForce& f, int i, int s, float aliveSum, float injuredSum)
{
    const float a = NonZero(aliveSum);
    const float b = NonZero(injuredSum);
    f.AliveWeight[W1][i] = f.w1_a[s] / a;
    f.AliveWeight[W2][i] = f.w2_a[s] / a;
    f.AliveWeight[W3][i] = f.w3_a[s] / a;
    f.AliveWeight[W4][i] = f.w4_a[s] / a;
    f.AliveWeight[W5][i] = f.w5_a[s] / a;
    f.AliveWeight[W6][i] = f.w6_a[s] / a;
    f.AliveWeight[WTerrain][i] = f.w_terrain_alive[s] / a;
    f.AliveWeight[WArea][i] = f.w_area_alive[s] / a;
    f.AliveWeight[WFlock][i] = f.w_flock_alive[s] / a;
    f.InjuredWeight[W1][i] = f.w1_i[s] / b;
    f.InjuredWeight[W2][i] = f.w2_i[s] / b;
    f.InjuredWeight[W3][i] = f.w3_i[s] / b;
    f.InjuredWeight[W4][i] = f.w4_i[s] / b;
    f.InjuredWeight[W5][i] = f.w5_i[s] / b;
    f.InjuredWeight[W6][i] = f.w6_i[s] / b;
    f.InjuredWeight[WTerrain][i] = f.w_terrain_injured[s] / b;
    f.InjuredWeight[WArea][i] = f.w_area_injured[s] / b;
    f.InjuredWeight[WFlock][i] = f.w_flock_injured[s] / b;
}

void SetMaxWeights(CForce& f, int i)
{
    float maxAlive = 0.0f;
    float maxInjured = 0.0f;
    for (int k = W1; k <= W6; ++k) {
        maxAlive = std::max(maxAlive, std::fabs(f.AliveWeight[k][i]));
        maxInjured = std::max(maxInjured, std::fabs(f.InjuredWeight[k][i]));
    }
    f.MaxAliveWeight[i] = maxAlive;
    f.MaxInjuredWeight[i] = maxInjured;
}

// Random personalities: the commanders draw first, then every agent in turn.
// No draw gives the terrain, area and flock weights: kept, they are the 0 a
// read of the scenario gives them, whatever a squad's weights, handed to an
// agent placed by hand or by an On-the-Fly change, left in its slot. Unkept,
// the draws are made all the same and their values dropped: the generator
// moves on exactly as it does when they are kept.
void DrawRandomPersonalities(CBrevimarDoc& doc, Side side, bool keep)
{
    CForce& f = doc.Force(side);
    CLocalCommand& local = doc.Local(side);
    float dropped[WeightSlots];
    auto into = [keep, &dropped](float& weight, int k) { return keep ? &weight : &dropped[k]; };
    const bool commanders = local.LocalCommandOn == 1;
    if (commanders)
        for (int c = 1, m = CommanderCount(local); c <= m; ++c)
            DrawFiveWeights(doc, into(local.Normalised.w1[c], W1), into(local.Normalised.w2[c], W2),
                            into(local.Normalised.w3[c], W3), into(local.Normalised.w4[c], W4),
                            into(local.Normalised.w5[c], W5), into(local.Normalised.w6[c], W6));
    for (int i = 1, n = AgentCount(f); i <= n; ++i) {
        float* a[WeightSlots];
        float* b[WeightSlots];
        for (int k = W1; k <= W6; ++k) {
            a[k] = into(f.AliveWeight[k][i], k);
            b[k] = into(f.InjuredWeight[k][i], k);
        }
        DrawFiveWeights(doc, a[W1], a[W2], a[W3], a[W4], a[W5], a[W6]);
        DrawFiveWeights(doc, b[W1], b[W2], b[W3], b[W4], b[W5], b[W6]);
        if (keep)
            for (int k : {WTerrain, WArea, WFlock})
                f.AliveWeight[k][i] = f.InjuredWeight[k][i] = 0.0f;
        if (commanders) {
            // Side-wide: the values drawn for the last agent remain.
            const float w7 = static_cast<float>(Draw(doc));
            const float w8 = static_cast<float>(Draw(doc));
            if (keep) {
                local.w7 = w7;
                local.w8 = w8;
            }
        }
    }
}

void SetPersonalities(CBrevimarDoc& doc, Side side)
{
    CForce& f = doc.Force(side);
    const int n = AgentCount(f);
    if (f.personality == 1) {
        const WeightSums sums = SquadWeightSums(f);
        for (int i = 1; i <= n; ++i) {
            const int s = SquadRow(f.AgentSquad[i]);
            TakeSquadWeights(f, i, s, sums.Alive[s], sums.Injured[s]);
        }
    } else {
        DrawRandomPersonalities(doc, side, true);
    }
    for (int i = 1; i <= n; ++i)
        SetMaxWeights(f, i);
}

}  // namespace

// Copies of the squad's parameters that an agent added by hand also takes.
void CForce::CopyCoreSquadParameters(int i, int s)
{
    CForce& f = *this;
    f.AliveStrength[i] = f.alive_strength[s];
    f.InjuredStrength[i] = f.injured_strength[s];
    f.SensorRangeAlive[i] = f.A_S_RANGE[s];
    f.SensorRangeInjured[i] = f.I_S_RANGE[s];
    f.FireRangeAlive[i] = f.A_F_RANGE[s];
    f.FireRangeInjured[i] = f.I_F_RANGE[s];
    f.MoveRangeAlive[i] = f.A_M_RANGE[s];
    f.MoveRangeInjured[i] = f.I_M_RANGE[s];
    f.ShotProbAlive[i] = f.shot_prob_alive[s];
    f.ShotProbInjured[i] = f.shot_prob_injured[s];
    f.MaxTargetsAlive[i] = f.A_R_max_eng_num[s];
    f.MaxTargetsInjured[i] = f.I_R_max_eng_num[s];
    f.FriendMinDistAlive[i] = f.A_R_R_min_dist[s];
    f.FriendMinDistInjured[i] = f.I_R_R_min_dist[s];
    f.EnemyMinDistAlive[i] = f.A_R_B_min_dist[s];
    f.EnemyMinDistInjured[i] = f.I_R_B_min_dist[s];
    f.GoalMinDistAlive[i] = f.A_R_R_goal_min[s];
    f.GoalMinDistInjured[i] = f.I_R_R_goal_min[s];
    f.TerrainMinDistAlive[i] = f.A_R_terrain_min[s];
    f.TerrainMinDistInjured[i] = f.I_R_terrain_min[s];
    f.AreaMinDistAlive[i] = f.A_R_area_min[s];
    f.AreaMinDistInjured[i] = f.I_R_area_min[s];
    f.FlockMinAlive[i] = f.A_R_flock_min[s];
    f.FlockMinInjured[i] = f.I_R_flock_min[s];
    f.FlockMaxAlive[i] = f.A_R_flock_max[s];
    f.FlockMaxInjured[i] = f.I_R_flock_max[s];
    f.ConstraintRangeAlive[i] = f.A_C_RANGE[s];
    f.ConstraintRangeInjured[i] = f.I_C_RANGE[s];
    f.AdvanceNumAlive[i] = f.A_ADVANCE_num[s];
    f.AdvanceNumInjured[i] = f.I_ADVANCE_num[s];
    f.ClusterNumAlive[i] = f.A_CLUSTER_num[s];
    f.ClusterNumInjured[i] = f.I_CLUSTER_num[s];
    f.CombatNumAlive[i] = f.A_COMBAT_num[s];
    f.CombatNumInjured[i] = f.I_COMBAT_num[s];
    f.MovementFlag[i] = f.movement_flag[s];
}

void CForce::CopySquadParameters(int i, int s)
{
    CopyCoreSquadParameters(i, s);
    // The hold fraction and the pursuit, retreat and support thresholds.
    CForce& f = *this;
    f.HoldFractionAlive[i] = f.A_HOLD_f[s];
    f.HoldFractionInjured[i] = f.I_HOLD_f[s];
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
}

namespace {

void CopySquadParameters(CForce& f)
{
    for (int i = 1, n = AgentCount(f); i <= n; ++i)
        f.CopySquadParameters(i, SquadRow(f.AgentSquad[i]));
}

void ResetRunSwitches(CBrevimarDoc& doc)
{
    doc.ResetHighlightsAndBursts();
    doc.LoadInputFile = 1;
    const bool fixedOrder = doc.Battlefield.MoveOrder == 1;
    doc.RunHeader.FixedMoveOrderSelected = fixedOrder ? 1 : 0;
    doc.RunHeader.RandomMoveOrderSelected = fixedOrder ? 0 : 1;
    doc.Experiment.LandscapeWinThreshold = 0.5;
}

void ResetLiveCounts(CBrevimarDoc& doc)
{
    const int size = std::clamp(doc.Battlefield.BattleSize, 1, MaxBattleSize);
    doc.LatticeExtentX = size + 2;
    doc.LatticeExtentY = size + 2;
    doc.RunHeader.RedAlive = AgentCount(doc.RedForce);
    doc.RunHeader.BlueAlive = AgentCount(doc.BlueForce);
    doc.RunHeader.RedInjured = 0;
    doc.RunHeader.BlueInjured = 0;
}

void ClearWeaponLogsAndTallies(CBrevimarDoc& doc)
{
    if (doc.HeapBuffersAllocated == 1) {
        for (auto* log : {&doc.RedShotsLog, &doc.RedHitsLog, &doc.BlueShotsLog, &doc.BlueHitsLog})
            for (int w = 0; w < WeaponKinds; ++w)
                for (int t = 0; t <= MaxSeriesStep; ++t)
                    (*log)[SeriesIndex(w, t)] = 0;
        for (auto* log : {&doc.RedSquadShotsLog, &doc.RedSquadHitsLog, &doc.BlueSquadShotsLog, &doc.BlueSquadHitsLog})
            for (int s = 0; s < SquadSlots; ++s)
                for (int w = 0; w < WeaponKinds; ++w)
                    for (int t = 0; t <= MaxSeriesStep; ++t)
                        (*log)[SquadWeaponLogIndex(s, w, t)] = 0;
    }
    doc.RedTallies = CWeaponTallies{};
    doc.BlueTallies = CWeaponTallies{};
}

// The territorial-possession box and rule that data collection resets.
constexpr int CBattlefield::*TerritoryRule[] = {
    &CBattlefield::TerritoryRange,   &CBattlefield::TerritoryMinCount, &CBattlefield::TerritoryDelta,
    &CBattlefield::TerritoryCenterX, &CBattlefield::TerritoryRangeX,   &CBattlefield::TerritoryCenterY,
    &CBattlefield::TerritoryRangeY,  &CBattlefield::TerritoryUserArea};

// Agents numbered into their squads, with their squads' values and the
// personalities a read gives them, drawn on from the generator as it stands.
void BuildAgents(CBrevimarDoc& doc)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& force = doc.Force(side);
        force.ReconcileSquadSizes();
        force.NumberAgentsBySquad();
        SetPersonalities(doc, side);
        CopySquadParameters(force);
        force.TakeCommValues();
    }
}

}  // namespace

bool CForce::HandEdited() const
{
    if (HandPlaced != 0)
        return true;
    for (int s = 1; s <= MaxSquads; ++s)
        if (HandRemoved[s] != 0)
            return true;
    return false;
}

int CForce::HandRemovedFrom(int s) const
{
    if (s < 1 || s > MaxSquads)
        return 0;
    return std::clamp(HandRemoved[s], 0, std::max(num_per_squad[s], 0));
}

int CForce::HandRemovedCount() const
{
    int total = 0;
    for (int s = 1; s <= MaxSquads; ++s)
        total += HandRemovedFrom(s);
    return total;
}

void CForce::DropHandRemoved()
{
    NumAgents = std::max(NumAgents - HandRemovedCount(), 0);
    for (int s = 1; s <= MaxSquads; ++s)
        num_per_squad[s] -= HandRemovedFrom(s);
    ForgetHandEdits();
}

void CForce::ForgetHandEdits()
{
    std::fill(std::begin(HandRemoved), std::end(HandRemoved), 0);
    HandPlaced = 0;
}

bool CBrevimarDoc::TakeHandEditsIn()
{
    if (!RedForce.HandEdited() && !BlueForce.HandEdited())
        return false;
    // In a GA's or a landscape's force the agents taken off go with the
    // batch's runs: leaving it brings the scenario's force back.
    const BatchWriteScope setUp(*this, BatchWriteKind::SetUp);
    RedForce.DropHandRemoved();
    BlueForce.DropHandRemoved();
    return true;
}

void CBrevimarDoc::RebuildHandEditedForces()
{
    if (!TakeHandEditsIn())
        return;
    // The read's personalities are drawn from the scenario seed, after the
    // draw that restarts the generator; the deployment that follows draws
    // from the generator where it stood.
    const int running = RandomState;
    const CUniformGenerator generator = Generator;
    RandomState = InitialSeed;
    DrawUniform(&RandomState);
    BuildAgents(*this);
    RandomState = running;
    Generator = generator;

    TakeBaseCopies(RedForce, TerrainModifiers.RedBase, TerrainModifiers.RedTerrainModified);
    TakeBaseCopies(BlueForce, TerrainModifiers.BlueBase, TerrainModifiers.BlueTerrainModified);
    ResetLiveCounts(*this);
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Force(side);
        for (int i = 1, n = AgentCount(f); i <= n; ++i)
            f.TakeCurrentRanges(i, Alive);
    }
}

void CBrevimarDoc::InitializeForces()
{
    RestartPausedBatchRun();
    EndCapture(*this);
    // A force edited by hand deploys afresh as the scenario a save writes;
    // hand placement keeps its agents where they stand, in their slots.
    if (DeploymentSource != RedHandPlacement && DeploymentSource != BlueHandPlacement)
        TakeHandEditsIn();
    if (RunMode == InteractiveMode) {
        // Restarting the generator makes an interactive restart replay the same run.
        RandomState = InitialSeed;
        DrawUniform(&RandomState);
    }

    CBattlefield& field = Battlefield;
    if (field.init_dist == 2) {
        // Corner deployment: RED's boxes to the low corner, BLUE's to the high one.
        const int size = field.BattleSize;
        for (int k = 1; k <= MaxSquads; ++k) {
            field.RED_cen_x[k] = static_cast<int>(field.R_box_l[k] / 2.0);
            field.RED_cen_y[k] = static_cast<int>(field.R_box_w[k] / 2.0);
            field.BLUE_cen_x[k] = static_cast<int>(size - field.B_box_l[k] / 2.0);
            field.BLUE_cen_y[k] = static_cast<int>(size - field.B_box_w[k] / 2.0);
        }
    }

    field.RedFratricideCount = 0;
    field.BlueFratricideCount = 0;
    PrepareLocalCommand(RedLocal);
    PrepareLocalCommand(BlueLocal);

    BuildAgents(*this);

    ResetRunSwitches(*this);
    // A sweep standing open measures in the box and by the rule the
    // landscape was set up with (its input file or its run-time dialog),
    // whoever rebuilds the forces: the sweep, or a restart of the battle in
    // a pause.
    int rule[std::size(TerritoryRule)];
    for (std::size_t k = 0; k < std::size(TerritoryRule); ++k)
        rule[k] = field.*TerritoryRule[k];
    ResetDataCollection();
    if (RunMode == FitnessLandscapeMode && Landscape.Run.SweepOpen == 1)
        for (std::size_t k = 0; k < std::size(TerritoryRule); ++k)
            field.*TerritoryRule[k] = rule[k];
    InitWeaponDefaults();
    ResetLiveCounts(*this);

    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Force(side);
        for (int i = 1, n = AgentCount(f); i <= n; ++i) {
            f.SensorRange[i] = f.SensorRangeAlive[i];
            f.FireRange[i] = f.FireRangeAlive[i];
            f.ConstraintRange[i] = f.ConstraintRangeAlive[i];
        }
    }

    RunHeader.LastStep = 501;

    if (RunMode == InteractiveMode && Statistics.DataCollectionOn == 1 &&
        CollectSetUpStatistics)
        CollectSetUpStatistics(*this);

    if (Statistics.DataCollectionOn == 1 && WeaponStatsOn == 1 && (RedForce.WeaponsOn == 1 || BlueForce.WeaponsOn == 1))
        ClearWeaponLogsAndTallies(*this);

    field.WaypointPathsOn = 0;
    field.PathStartDistance = 3;

    if (RunMode == InteractiveMode) {
        for (Side side : {Side::Red, Side::Blue}) {
            CForce& f = Force(side);
            f.MoveGateByTime = 0;
            for (int k = 1; k <= MaxSquads; ++k) {
                f.MoveProbAlive[k] = f.MoveProbInjured[k] = 1.0f;
                f.MovePeriodAlive[k] = f.MovePeriodInjured[k] = 1;
            }
        }
    }
}

void CBrevimarDoc::RestartGenerator()
{
    RandomState = InitialSeed;
    if (RunMode != InteractiveMode)
        return;
    // Where a read of the scenario, and InitializeForces, leave the generator
    // for the deployment: the draw that restarts it, then the personalities'
    // draws. Without these a restart would deploy another battle than the
    // read's. The personalities themselves stay as they stand.
    DrawUniform(&RandomState);
    for (Side side : {Side::Red, Side::Blue})
        if (Force(side).personality != 1)
            DrawRandomPersonalities(*this, side, false);
}

void CBrevimarDoc::InitializeForcesFromAgentFile()
{
    EndCapture(*this);
    Battlefield.RedFratricideCount = 0;
    Battlefield.BlueFratricideCount = 0;

    // The agents keep the squads the file gave them; only the squad sizes are
    // brought in line with the counts.
    RedForce.ReconcileSquadSizes();
    BlueForce.ReconcileSquadSizes();
    for (Side side : {Side::Red, Side::Blue}) {
        SetPersonalities(*this, side);
        CopySquadParameters(Force(side));
        Force(side).TakeCommValues();
    }

    ResetRunSwitches(*this);
    ResetDataCollection();
    ResetLiveCounts(*this);

    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Force(side);
        for (int i = 1, n = AgentCount(f); i <= n; ++i) {
            f.TakeCurrentRanges(i, f.AgentState[i]);
            f.TakeDistanceNormaliser(i);
        }
    }
}

void CForce::TakeCurrentRanges(int i, int state)
{
    if (i < 0 || i > MaxAgents)
        return;
    const bool alive = state == Alive;
    SensorRange[i] = alive ? SensorRangeAlive[i] : SensorRangeInjured[i];
    FireRange[i] = alive ? FireRangeAlive[i] : FireRangeInjured[i];
    ConstraintRange[i] = alive ? ConstraintRangeAlive[i] : ConstraintRangeInjured[i];
}

// Every set-up and every scenario read starts the step from the scenario's values.
void CForce::TakeCommValues()
{
    CommRange = COMM_range;
    CommWeightAlive = A_COMM_weight;
    CommWeightInjured = I_COMM_weight;
}

void CForce::TakeDistanceNormaliser(int i)
{
    if (i < 0 || i > MaxAgents)
        return;
    DistanceNormaliser[i] = static_cast<float>(SensorRange[i] * DiagonalFactor);
}

void CForce::TakeOwnSquadValues()
{
    CForce& f = *this;
    const WeightSums sums = SquadWeightSums(f);
    for (int i = 1, n = AgentCount(f); i <= n; ++i) {
        const int s = SquadRow(f.AgentSquad[i]);
        f.CopySquadParameters(i, s);
        // Drawn personalities belong to the agent, not to its squad.
        if (f.personality == 1) {
            TakeSquadWeights(f, i, s, sums.Alive[s], sums.Injured[s]);
            SetMaxWeights(f, i);
        }
        f.TakeCurrentRanges(i, f.AgentState[i]);
        f.TakeDistanceNormaliser(i);
    }
}

void CBrevimarDoc::InitializeAddedAgent(int side)
{
    if (side != SideCode(Side::Red) && side != SideCode(Side::Blue))
        return;
    const Side which = side == SideCode(Side::Red) ? Side::Red : Side::Blue;
    CForce& f = Force(which);
    const int i = f.NumAgents;
    if (i < 1 || i > MaxAgents)
        return;
    const int s = std::clamp(which == Side::Red ? EditRedSquad : EditBlueSquad, 1, MaxSquads);

    // The hold fraction and the pursuit, retreat and support thresholds keep
    // whatever the agent's entry held.
    f.CopyCoreSquadParameters(i, s);
    const WeightSums sums = SquadWeightSums(f);
    TakeSquadWeights(f, i, s, sums.Alive[s], sums.Injured[s]);

    // An agent is added alive, whatever its entry held before; open ground
    // gives it these values back after passable terrain lowered them.
    f.TakeCurrentRanges(i, Alive);
    f.TakeDistanceNormaliser(i);
    TakeBaseCopy(f, BaseCopies(which), TerrainModified(which), i);

    // To a capture under way the agent did not exist before: absent (dead
    // and off the field) in the frames recorded so far, whatever an earlier
    // run left in its column; the next frame records it.
    if (RunCaptureOn == 1 && HeapBuffersAllocated == 1) {
        const int base = which == Side::Red ? RedCaptureState : BlueCaptureState;
        for (int b = base; b < base + 3; ++b)
            for (int row = 0; row < CaptureRows; ++row)
                Capture(b, row, i) = 0;
    }
}

}  // namespace brevimar
