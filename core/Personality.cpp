// An agent's personality for this step: its basic weights reshaped by the
// meta-personality rules of its squad, which react to how many friends and
// enemies its move-phase scan just found. Local commanders take their
// weights from their command instead.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Document.h"

namespace brevimar {

namespace {

int SquadSlot(int squad) { return (squad >= 1 && squad <= MaxSquads) ? squad : 0; }

// Command number used as an index; out of range falls back to slot 0, the row
// no command uses.
int CommandSlot(int c) { return (c >= 0 && c <= MaxCommanders) ? c : 0; }

// A positive threshold is a lower bound on n, a negative one an upper bound
// by its magnitude; nothing fires on n = 0.
bool ThresholdMet(int threshold, int n)
{
    if (n < 1)
        return false;
    const long long t = threshold;
    return t >= 0 ? n >= t : n <= -t;
}

// A tie between two rules compares the draw itself with one half; rounding it
// to single precision first would send draws just above 0.5 the other way.
bool TieDraw(CBrevimarDoc& doc) { return doc.DrawUniform(&doc.RandomState) > 0.5; }

struct Weights {
    float W[7] = {};  // W[1..6]
};

void StoreWeights(CForce& force, int i, const Weights& e)
{
    force.EffW1[i] = e.W[1];
    force.EffW2[i] = e.W[2];
    force.EffW3[i] = e.W[3];
    force.EffW4[i] = e.W[4];
    force.EffW5[i] = e.W[5];
    force.EffW6[i] = e.W[6];
}

void RefreshCommWeights(CForce& force)
{
    force.CommWeightAlive = force.A_COMM_weight;
    force.CommWeightInjured = force.I_COMM_weight;
}

// The comm copies and the terrain, area and flock weights of the agent's state.
void FinishStep(CForce& force, int i, bool alive)
{
    RefreshCommWeights(force);
    const auto& basic = alive ? force.AliveWeight : force.InjuredWeight;
    force.EffWTerrain[i] = basic[WTerrain][i];
    force.EffWArea[i] = basic[WArea][i];
    force.FlockWeight[i] = basic[WFlock][i];
}

// The rule thresholds of the agent's state.
struct Thresholds {
    Thresholds(const CForce& f, int i, bool alive)
        : Advance(alive ? f.AdvanceNumAlive[i] : f.AdvanceNumInjured[i]),
          Cluster(alive ? f.ClusterNumAlive[i] : f.ClusterNumInjured[i]),
          Combat(alive ? f.CombatNumAlive[i] : f.CombatNumInjured[i]),
          Pursuit1(alive ? f.Pursuit1NumAlive[i] : f.Pursuit1NumInjured[i]),
          Pursuit2(alive ? f.Pursuit2NumAlive[i] : f.Pursuit2NumInjured[i]),
          Retreat(alive ? f.RetreatNumAlive[i] : f.RetreatNumInjured[i]),
          Support1(alive ? f.Support1NumAlive[i] : f.Support1NumInjured[i]),
          Support2(alive ? f.Support2NumAlive[i] : f.Support2NumInjured[i]),
          Hold(alive ? f.HoldFractionAlive[i] : f.HoldFractionInjured[i])
    {
    }
    int Advance, Cluster, Combat, Pursuit1, Pursuit2, Retreat, Support1, Support2;
    double Hold;
};

// Both pursuit rules fired: true when PURSUIT-II wins.
bool PursuitTwoWins(CBrevimarDoc& doc, const Thresholds& x)
{
    const long long t1 = x.Pursuit1;
    const long long t2 = x.Pursuit2;
    const long long a1 = std::llabs(t1);
    const long long a2 = std::llabs(t2);
    int preference = 0;  // > 0: PURSUIT-I, < 0: PURSUIT-II, 0: draw
    if (t1 >= 0 && t2 >= 0)
        preference = a1 > a2 ? 1 : (a1 < a2 ? -1 : 0);
    else if (t1 < 0 && t2 < 0)
        preference = a1 < a2 ? 1 : (a1 > a2 ? -1 : 0);
    else
        preference = x.Combat > 0 ? 1 : (x.Combat < 0 ? -1 : 0);
    if (preference == 0)
        return TieDraw(doc);
    return preference < 0;
}

// Pursuit against a support rule: a positive COMBAT threshold supports, a
// negative one pursues, zero draws.
bool SupportWins(CBrevimarDoc& doc, int combat)
{
    if (combat > 0)
        return true;
    if (combat < 0)
        return false;
    return TieDraw(doc);
}

// Share of the cells of the agent's sensor box on the battlefield that the
// side possesses.
double OwnedFraction(const CBrevimarDoc& doc, Side side, int x, int y, int range)
{
    const int size = std::clamp(doc.Battlefield.BattleSize, 0, MaxBattleSize);
    const int r = std::clamp(range, -1, MaxBattleSize);
    const int xLow = std::max(1, x - r), xHigh = std::min(size, x + r);
    const int yLow = std::max(1, y - r), yHigh = std::min(size, y + r);
    if (xLow > xHigh || yLow > yHigh)
        return 0.0;
    const int code = SideCode(side);
    long long owned = 0;
    for (int cx = xLow; cx <= xHigh; ++cx) {
        const int* row = doc.TerritoryOwner + LatticeStride * cx;
        for (int cy = yLow; cy <= yHigh; ++cy)
            owned += row[cy] == code;
    }
    const long long cells = static_cast<long long>(xHigh - xLow + 1) * (yHigh - yLow + 1);
    return static_cast<double>(owned) / static_cast<double>(cells);
}

int ComputePersonality(CBrevimarDoc& doc, Side side, int i)
{
    if (i < 1 || i > MaxAgents)
        return 0;
    CForce& f = doc.Force(side);
    CLocalCommand& local = doc.Local(side);
    const bool alive = f.AgentState[i] == Alive;
    const auto& basic = alive ? f.AliveWeight : f.InjuredWeight;
    float B[7] = {};
    for (int k = W1; k <= W6; ++k)
        B[k] = basic[k][i];

    // A support weight that is zero is replaced by the strongest alive weight.
    float strongest = 0.0f;
    for (int k = W1; k <= W6; ++k)
        strongest = std::max(strongest, std::fabs(f.AliveWeight[k][i]));

    if (local.LocalCommandOn == 1) {
        local.LocalCommanderWeight = local.w7;
        local.LocalGoalWeight = local.w8;
    }

    Weights e;
    for (int k = W1; k <= W6; ++k)
        e.W[k] = B[k];
    if (f.MovementFlag[i] != 1) {
        StoreWeights(f, i, e);
        FinishStep(f, i, alive);
        return 0;
    }

    const int s = SquadSlot(f.AgentSquad[i]);
    const Thresholds x(f, i, alive);
    const int F = f.Scan.FriendsInThreshold;
    const int E = f.Scan.EnemiesSensed;
    const int IF = f.Scan.InjuredFriendsSensed;

    bool advance = false, retreat = false, combat = false;
    bool pursuit1 = false, pursuit2 = false, support1 = false, support2 = false;

    if (f.ADVANCE_flag[s] == 1 && E == 0 && F < x.Advance) {
        e.W[6] = 0.0f;
        advance = true;
    }
    if (f.RETREAT_flag[s] == 1 && F < x.Retreat) {
        e.W[1] = 0.0f;
        e.W[2] = -0.33f;
        e.W[3] = 0.0f;
        e.W[4] = -0.33f;
        e.W[5] = 0.34f;
        e.W[6] = 0.0f;
        retreat = true;
    }
    if (f.CLUSTER_flag[s] == 1) {
        // Restores the friend weights after RETREAT while the agent has too few friends.
        if (F < x.Cluster) {
            e.W[1] = B[1];
            e.W[3] = B[3];
        } else {
            e.W[1] = 0.0f;
            e.W[3] = 0.0f;
        }
    }
    bool pursuitTested = true;
    if (f.COMBAT_flag[s] == 1) {
        if (E < 1 || F - E > x.Combat) {
            e.W[2] = B[2];
            e.W[4] = B[4];
        } else {
            e.W[2] = -std::fabs(B[2]);
            e.W[4] = -std::fabs(B[4]);
            combat = true;
            pursuitTested = false;
        }
    }
    if (pursuitTested) {
        pursuit1 = f.PURSUIT1_flag[s] == 1 && ThresholdMet(x.Pursuit1, E);
        pursuit2 = f.PURSUIT2_flag[s] == 1 && ThresholdMet(x.Pursuit2, E);
        if (pursuit1 && pursuit2) {
            if (PursuitTwoWins(doc, x))
                pursuit1 = false;
            else
                pursuit2 = false;
        }
        if (pursuit1) {
            e.W[2] = 0.0f;
            e.W[4] = 0.0f;
        }
    }
    support2 = f.SUPPORT2_flag[s] == 1 && ThresholdMet(x.Support2, E);
    if (!support2)
        support1 = f.SUPPORT1_flag[s] == 1 && ThresholdMet(x.Support1, IF);

    enum class Outcome { None, Pursue, SupportI, SupportII };
    Outcome outcome = Outcome::None;
    if (pursuit2 && (support1 || support2))
        outcome = SupportWins(doc, x.Combat) ? (support1 ? Outcome::SupportI : Outcome::SupportII) : Outcome::Pursue;
    else if (pursuit2)
        outcome = Outcome::Pursue;
    else if (support1)
        outcome = Outcome::SupportI;
    else if (support2)
        outcome = Outcome::SupportII;

    switch (outcome) {
    case Outcome::Pursue:
        e.W[1] = 0.0f;
        e.W[2] = std::fabs(B[2]);
        e.W[3] = 0.0f;
        e.W[4] = std::fabs(B[4]);
        support1 = support2 = false;
        break;
    case Outcome::SupportI:
        e.W[1] = 0.0f;
        e.W[2] = 0.0f;
        e.W[3] = std::fabs(B[3]) == 0.0f ? strongest : std::fabs(B[3]);
        e.W[4] = 0.0f;
        pursuit2 = false;
        break;
    case Outcome::SupportII:
        e.W[1] = std::fabs(B[1]) == 0.0f ? strongest : std::fabs(B[1]);
        e.W[2] = 0.0f;
        e.W[3] = 0.0f;
        e.W[4] = 0.0f;
        pursuit2 = false;
        break;
    case Outcome::None:
        break;
    }
    if (outcome != Outcome::None) {
        if (!retreat)
            e.W[5] = 0.0f;
        e.W[6] = 0.0f;
    }
    StoreWeights(f, i, e);

    // CLUSTER alone never keeps an agent from holding.
    int hold = 0;
    const bool anyRule = advance || retreat || combat || pursuit1 || pursuit2 || support1 || support2;
    if (f.HOLD_flag[s] == 1 && !anyRule) {
        const double share = OwnedFraction(doc, side, f.AgentX[i], f.AgentY[i], f.SensorRange[i]);
        const double H = x.Hold;
        if ((H > 0.0 && share >= H) || (H < 0.0 && share > 0.0 && share <= -H))
            hold = 1;
    }

    FinishStep(f, i, alive);
    return hold;
}

// A local commander reacts only to the enemies its command senses and the
// friends within its advance range; it never holds.
void SetCommanderPersonality(CBrevimarDoc& doc, Side side, int i)
{
    if (i < 1 || i > MaxAgents)
        return;
    CForce& f = doc.Force(side);
    const CLocalCommand& local = doc.Local(side);
    const int c = CommandSlot(local.CommanderNumberOf[i]);
    const int F = f.Scan.FriendsInThreshold;
    const int E = f.Scan.EnemiesSensed;

    Weights e;
    if (f.MovementFlag[i] != 1) {
        RefreshCommWeights(f);
        e.W[1] = local.Normalised.w1[c];
        e.W[2] = local.Normalised.w2[c];
        e.W[3] = local.Normalised.w3[c];
        e.W[4] = local.Normalised.w4[c];
        e.W[5] = local.Normalised.w5[c];
        e.W[6] = local.Normalised.w6[c];
        f.EffWTerrain[i] = local.Normalised.w_terrain[c];
    } else if (E == 0) {
        // Nothing in sight: head for the enemy flag alone. The comm copies
        // keep what they held.
        e.W[6] = local.Normalised.w6[c];
        f.EffWTerrain[i] = 0.0f;
    } else {
        if (F >= local.CLUSTER_num[c]) {
            e.W[1] = 0.0f;
            e.W[3] = 0.0f;
        } else {
            e.W[1] = local.Normalised.w1[c];
            e.W[3] = local.Normalised.w3[c];
        }
        // A commander engages at equality, where an ordinary agent backs off.
        if (F - E >= local.COMBAT_num[c]) {
            e.W[2] = local.Normalised.w2[c];
            e.W[4] = local.Normalised.w4[c];
        } else {
            e.W[2] = -std::fabs(local.Normalised.w2[c]);
            e.W[4] = -std::fabs(local.Normalised.w4[c]);
        }
        e.W[6] = F >= local.ADVANCE_num[c] ? local.Normalised.w6[c] : -std::fabs(local.Normalised.w6[c]);
        e.W[5] = local.Normalised.w5[c];
        RefreshCommWeights(f);
        f.EffWTerrain[i] = local.Normalised.w_terrain[c];
    }
    StoreWeights(f, i, e);
}

void ApplyGlobalOrders(CBrevimarDoc& doc, Side side, int i)
{
    if (i < 1 || i > MaxAgents)
        return;
    CLocalCommand& local = doc.Local(side);
    // Agents that lead no command write slot 0, which no command reads.
    const int c = CommandSlot(local.CommanderNumberOf[i]);
    local.ObeyGlobalWeight[c] = local.w_obey_GC_def[c];
    local.HelpLocalWeight[c] = local.w_help_LC_def[c];
}

}  // namespace

int CBrevimarDoc::ComputeRedPersonality(int agent) { return ComputePersonality(*this, Side::Red, agent); }
int CBrevimarDoc::ComputeBluePersonality(int agent) { return ComputePersonality(*this, Side::Blue, agent); }
void CBrevimarDoc::SetRedCommanderPersonality(int agent) { SetCommanderPersonality(*this, Side::Red, agent); }
void CBrevimarDoc::SetBlueCommanderPersonality(int agent) { SetCommanderPersonality(*this, Side::Blue, agent); }
void CBrevimarDoc::ApplyRedGlobalOrders(int agent) { ApplyGlobalOrders(*this, Side::Red, agent); }
void CBrevimarDoc::ApplyBlueGlobalOrders(int agent) { ApplyGlobalOrders(*this, Side::Blue, agent); }

}  // namespace brevimar
