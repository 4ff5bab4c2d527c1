// Passable terrain (types 3..5) weakens the agents on it. An agent takes the
// amounts of the first passable type it steps onto and keeps them, across
// other passable or impassable cells, until it stands on open ground again;
// then its base copies come back. The communications values are one per
// side, so every agent entering passable terrain lowers them once more and
// any agent leaving it sets them back to its own copies.
#include <algorithm>
#include <limits>

#include "core/Document.h"

namespace brevimar {

namespace {

int ClampedCount(int n) { return n < 0 ? 0 : (n > MaxAgents ? MaxAgents : n); }

// Terrain under a cell; a position off the terrain grid counts as open ground.
int TerrainAt(const CBattlefield& field, int x, int y)
{
    if (x < 0 || y < 0 || x >= GridStride || y >= GridStride)
        return OpenGround;
    return field.TerrainType[GridIndex(x, y)];
}

// A negative delta raises the value; a sum beyond an int stops at its
// largest, whatever a scenario gave the value it acts on.
int Lowered(int value, int delta)
{
    const long long result = static_cast<long long>(value) - delta;
    return static_cast<int>(std::clamp<long long>(result, 0, std::numeric_limits<int>::max()));
}

int Raised(int value, int delta)
{
    const long long result = static_cast<long long>(value) + delta;
    return static_cast<int>(
        std::clamp<long long>(result, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A product that is negative (or not a number) leaves nothing.
float Scaled(float value, float factor)
{
    const float result = value * factor;
    return result >= 0.0f ? result : 0.0f;
}

void ApplyModifiers(CBrevimarDoc& doc, Side side, int i)
{
    if (i < 1 || i > MaxAgents)
        return;
    CForce& f = doc.Force(side);
    const int s = f.AgentSquad[i];
    const int k = TerrainAt(doc.Battlefield, f.AgentX[i], f.AgentY[i]) - 2;
    // Only the three passable types have a column; a squad outside the
    // tables has no amounts.
    if (s < 0 || s > MaxSquads || k < 1 || k >= TerrainColumns)
        return;
    const CTerrainModifierSet& m = doc.Modifiers(side);

    f.SensorRangeAlive[i] = Lowered(f.SensorRangeAlive[i], m.A_sensor_range[s][k]);
    f.SensorRangeInjured[i] = Lowered(f.SensorRangeInjured[i], m.I_sensor_range[s][k]);
    f.FireRangeAlive[i] = Lowered(f.FireRangeAlive[i], m.A_fire_range[s][k]);
    f.FireRangeInjured[i] = Lowered(f.FireRangeInjured[i], m.I_fire_range[s][k]);
    f.ConstraintRangeAlive[i] = Lowered(f.ConstraintRangeAlive[i], m.A_threshold_range[s][k]);
    f.ConstraintRangeInjured[i] = Lowered(f.ConstraintRangeInjured[i], m.I_threshold_range[s][k]);
    f.MoveRangeAlive[i] = Lowered(f.MoveRangeAlive[i], m.A_movement_range[s][k]);
    f.MoveRangeInjured[i] = Lowered(f.MoveRangeInjured[i], m.I_movement_range[s][k]);
    f.MaxTargetsAlive[i] = Lowered(f.MaxTargetsAlive[i], m.A_max_tgts_alive[s][k]);
    f.MaxTargetsInjured[i] = Lowered(f.MaxTargetsInjured[i], m.I_max_tgts_alive[s][k]);
    // Cover makes an agent harder to wound: defence goes up, without bound.
    f.AliveStrength[i] = Raised(f.AliveStrength[i], m.A_defense_alive[s][k]);
    f.InjuredStrength[i] = Raised(f.InjuredStrength[i], m.I_defense_alive[s][k]);
    f.ShotProbAlive[i] = Scaled(f.ShotProbAlive[i], m.A_pk_alive[s][k]);
    f.ShotProbInjured[i] = Scaled(f.ShotProbInjured[i], m.I_pk_alive[s][k]);
    f.CommWeightAlive = Scaled(f.CommWeightAlive, m.A_comm_weight[s][k]);
    f.CommWeightInjured = Scaled(f.CommWeightInjured, m.I_comm_weight[s][k]);
    // A side has a single communications range, so the injured table has
    // nothing to act on.
    f.CommRange = Lowered(f.CommRange, m.A_comm_range[s][k]);
}

void RestoreParams(CBrevimarDoc& doc, Side side, int i)
{
    if (i < 1 || i > MaxAgents)
        return;
    CForce& f = doc.Force(side);
    const CAgentBaseCopies& b = doc.BaseCopies(side);
    f.SensorRangeAlive[i] = b.BaseSensorRangeAlive[i];
    f.SensorRangeInjured[i] = b.BaseSensorRangeInjured[i];
    f.FireRangeAlive[i] = b.BaseFireRangeAlive[i];
    f.FireRangeInjured[i] = b.BaseFireRangeInjured[i];
    f.ConstraintRangeAlive[i] = b.BaseConstraintRangeAlive[i];
    f.ConstraintRangeInjured[i] = b.BaseConstraintRangeInjured[i];
    f.MoveRangeAlive[i] = b.BaseMoveRangeAlive[i];
    f.MoveRangeInjured[i] = b.BaseMoveRangeInjured[i];
    f.MaxTargetsAlive[i] = b.BaseMaxTargetsAlive[i];
    f.MaxTargetsInjured[i] = b.BaseMaxTargetsInjured[i];
    f.AliveStrength[i] = b.BaseAliveStrength[i];
    f.InjuredStrength[i] = b.BaseInjuredStrength[i];
    f.ShotProbAlive[i] = b.BaseShotProbAlive[i];
    f.ShotProbInjured[i] = b.BaseShotProbInjured[i];
    f.CommWeightAlive = b.BaseCommWeightAlive[i];
    f.CommWeightInjured = b.BaseCommWeightInjured[i];
    f.CommRange = b.BaseCommRange[i];
}

void PassOverSide(CBrevimarDoc& doc, Side side)
{
    CForce& f = doc.Force(side);
    int* modified = doc.TerrainModified(side);
    const int n = ClampedCount(f.NumAgents);
    for (int i = 1; i <= n; ++i) {
        // The dead keep whatever they carry.
        if (f.AgentState[i] <= Dead)
            continue;
        const int terrain = TerrainAt(doc.Battlefield, f.AgentX[i], f.AgentY[i]);
        if (modified[i] == 0 && terrain > Pillar) {
            ApplyModifiers(doc, side, i);
            modified[i] = 1;
        } else if (modified[i] == 1 && terrain == OpenGround) {
            RestoreParams(doc, side, i);
            modified[i] = 0;
        }
    }
}

}  // namespace

void CBrevimarDoc::ApplyPassableTerrainModifiers()
{
    if (Battlefield.TerrainModifiersOn != 1)
        return;
    PassOverSide(*this, Side::Red);
    PassOverSide(*this, Side::Blue);
}

void CBrevimarDoc::ApplyRedTerrainModifiers(int agent) { ApplyModifiers(*this, Side::Red, agent); }
void CBrevimarDoc::ApplyBlueTerrainModifiers(int agent) { ApplyModifiers(*this, Side::Blue, agent); }
void CBrevimarDoc::RestoreRedAgentParams(int agent) { RestoreParams(*this, Side::Red, agent); }
void CBrevimarDoc::RestoreBlueAgentParams(int agent) { RestoreParams(*this, Side::Blue, agent); }

}  // namespace brevimar
