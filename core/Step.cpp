// One time step of the battle. The interactive and the batch form share every
// call that changes the battle; the interactive one adds the display work and
// refreshes the territorial map that the HOLD rule reads.
#include "core/Document.h"

namespace brevimar {

namespace {

bool SideNeedsTerritory(const CForce& force)
{
    const int squads = force.NumSquads < MaxSquads ? force.NumSquads : MaxSquads;
    for (int s = 1; s <= squads; ++s)
        if (force.HOLD_flag[s] == 1)
            return true;
    return false;
}

// The named per-side operations the move phase calls, so that the phase
// itself is written once.
struct SideOperations {
    void (CBrevimarDoc::*LocalCommand)();
    void (CBrevimarDoc::*GlobalCommand)();
    void (CBrevimarDoc::*ScanCommanderLOS)(int);
    void (CBrevimarDoc::*ScanLOS)(int);
    void (CBrevimarDoc::*ScanCommander)(int);
    void (CBrevimarDoc::*Scan)(int);
    int (CBrevimarDoc::*ComputePersonality)(int);
    void (CBrevimarDoc::*SetCommanderPersonality)(int);
    void (CBrevimarDoc::*ApplyGlobalOrders)(int);
    void (CBrevimarDoc::*ShareCommunications)(int);
    void (CBrevimarDoc::*LocalCenterOfMass)(int);
    void (CBrevimarDoc::*SelectMove)(int, int);
};

constexpr SideOperations RedOperations{
    &CBrevimarDoc::RedLocalCommand,         &CBrevimarDoc::RedGlobalCommand,
    &CBrevimarDoc::ScanRedCommanderNeighborsLOS, &CBrevimarDoc::ScanRedNeighborsLOS,
    &CBrevimarDoc::ScanRedCommanderNeighbors,    &CBrevimarDoc::ScanRedNeighbors,
    &CBrevimarDoc::ComputeRedPersonality,   &CBrevimarDoc::SetRedCommanderPersonality,
    &CBrevimarDoc::ApplyRedGlobalOrders,    &CBrevimarDoc::ShareRedCommunications,
    &CBrevimarDoc::RedLocalCenterOfMass,    &CBrevimarDoc::SelectRedMove,
};

constexpr SideOperations BlueOperations{
    &CBrevimarDoc::BlueLocalCommand,         &CBrevimarDoc::BlueGlobalCommand,
    &CBrevimarDoc::ScanBlueCommanderNeighborsLOS, &CBrevimarDoc::ScanBlueNeighborsLOS,
    &CBrevimarDoc::ScanBlueCommanderNeighbors,    &CBrevimarDoc::ScanBlueNeighbors,
    &CBrevimarDoc::ComputeBluePersonality,   &CBrevimarDoc::SetBlueCommanderPersonality,
    &CBrevimarDoc::ApplyBlueGlobalOrders,    &CBrevimarDoc::ShareBlueCommunications,
    &CBrevimarDoc::BlueLocalCenterOfMass,    &CBrevimarDoc::SelectBlueMove,
};

// Commands, then every living agent in the drawn order: scan, personality,
// orders, communications, flock centre, movement gate and move. These share
// the side's scratch fields, so they run back to back per agent.
void RunSidePhase(CBrevimarDoc& doc, Side side, const int* order, bool interactive)
{
    const SideOperations& op = side == Side::Red ? RedOperations : BlueOperations;
    CForce& force = doc.Force(side);
    CLocalCommand& local = doc.Local(side);
    const bool localOn = local.LocalCommandOn == 1;
    const bool globalOn = doc.Global(side).GlobalCommandOn == 1;

    if (localOn)
        (doc.*op.LocalCommand)();
    if (globalOn)
        (doc.*op.GlobalCommand)();
    if (interactive && SideNeedsTerritory(force))
        doc.ComputeTerritorialPossession();

    const bool lineOfSight = doc.Battlefield.LineOfSightOn == 1 && doc.Battlefield.TerrainMode > 0;
    for (int k = 1; k <= force.NumAgents; ++k) {
        const int i = order[k];
        if (force.AgentState[i] == Dead)
            continue;
        const bool commander = localOn && local.CommandRole[i] == LocalCommander;
        if (localOn && local.CommanderOf[i] != 0) {
            const int c = local.CommanderOf[i];
            local.AgentGoalX[i] = local.CommanderGoalX[c];
            local.AgentGoalY[i] = local.CommanderGoalY[c];
        }

        force.Scan = NeighborScan{};
        force.Scan.FriendsInThreshold = AgentSlots;
        if (lineOfSight)
            (doc.*(commander ? op.ScanCommanderLOS : op.ScanLOS))(i);
        else
            (doc.*(commander ? op.ScanCommander : op.Scan))(i);

        int hold = 0;
        if (commander)
            (doc.*op.SetCommanderPersonality)(i);
        else
            hold = (doc.*op.ComputePersonality)(i);
        if (globalOn)
            (doc.*op.ApplyGlobalOrders)(i);
        if (force.CommOn != 0)
            (doc.*op.ShareCommunications)(i);
        force.LocalCenterX = 0;
        force.LocalCenterY = 0;
        if (force.FlockWeight[i] != 0.0f)
            (doc.*op.LocalCenterOfMass)(i);

        const int s = force.AgentSquad[i];
        const bool alive = force.AgentState[i] == Alive;
        bool moves;
        if (force.MoveGateByTime == 0) {
            const float p = alive ? force.MoveProbAlive[s] : force.MoveProbInjured[s];
            moves = doc.DrawUniform(&doc.RandomState) <= p;
        } else {
            // A period below 1 cannot be honoured; such an agent moves every step.
            int period = alive ? force.MovePeriodAlive[s] : force.MovePeriodInjured[s];
            if (period < 1)
                period = 1;
            moves = doc.RunHeader.CurrentStep % period == 0;
        }
        if (moves)
            (doc.*op.SelectMove)(i, hold);
    }
}

void ReplaceDeadCommanders(CBrevimarDoc& doc, Side side)
{
    CLocalCommand& local = doc.Local(side);
    const CForce& force = doc.Force(side);
    const int commanders = local.NumLocalCommanders < MaxCommanders ? local.NumLocalCommanders : MaxCommanders;
    for (int c = 1; c <= commanders; ++c) {
        int* list = local.Subordinates[c];
        const int count = local.SubordinateCount[c] < MaxSubordinates ? local.SubordinateCount[c] : MaxSubordinates;
        int n = 0;
        for (int j = 1; j <= count; ++j)
            if (force.AgentState[list[j]] > Dead)
                list[++n] = list[j];
        local.SubordinateCount[c] = n;
        if (force.AgentState[local.CommanderAgent[c]] != Dead || n == 0)
            continue;
        const int k = static_cast<int>(doc.DrawUniform(&doc.RandomState) * n + 1.0);
        const int a = list[k];
        local.CommandRole[a] = LocalCommander;
        local.CommanderOf[a] = 0;
        local.SubordinateCount[c] = n - 1;
        local.CommanderAgent[c] = a;
        local.CommanderNumberOf[a] = c;
        for (int j = k; j < n; ++j)
            list[j] = list[j + 1];
    }
}

void FillMoveOrder(CBrevimarDoc& doc, int n, int* order)
{
    if (n < 1)
        return;
    if (doc.Battlefield.MoveOrder == 1) {
        for (int k = 1; k <= n; ++k)
            order[k] = k;
        return;
    }
    // Rejection sampling: every draw, rejected or not, advances the generator.
    // The taken set keeps the test constant-time without changing the draws.
    bool taken[AgentSlots] = {};
    int filled = 0;
    while (filled < n) {
        const int r = static_cast<int>(doc.DrawUniformRange(0, n, &doc.RandomState)) + 1;
        if (!taken[r]) {
            taken[r] = true;
            order[++filled] = r;
        }
    }
}

void ClearGrid(int* grid, int size, int stride)
{
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y)
            grid[stride * x + y] = 0;
}

void RunStep(CBrevimarDoc& doc, bool interactive)
{
    CBattlefield& field = doc.Battlefield;
    const int size = field.BattleSize >= 1 && field.BattleSize <= MaxBattleSize ? field.BattleSize : MaxBattleSize;
    const bool activityMaps = doc.RedActivityMapOn == 1 || doc.BlueActivityMapOn == 1;
    doc.BeginStepGrids();

    if (interactive)
        for (auto& plane : doc.ActivityGrids)
            ClearGrid(plane, size, LatticeStride);
    if (field.TerrainModifiersOn == 1)
        doc.ApplyPassableTerrainModifiers();
    doc.ApplyAgentStateParameters();

    int redOrder[AgentSlots];
    int blueOrder[AgentSlots];
    doc.ShuffleMoveOrder(blueOrder, redOrder);
    doc.BuildNeighborLists();

    if (doc.RedForce.WeaponsOn == 1 || doc.BlueForce.WeaponsOn == 1) {
        ClearGrid(field.OccupancyGrid, size, GridStride);
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& force = doc.Force(side);
            for (int i = 1; i <= force.NumAgents; ++i)
                field.OccupancyGrid[GridIndex(force.AgentX[i], force.AgentY[i])] = SideCode(side);
        }
    }

    doc.ResolveCombat();
    doc.ApplyAgentStateParameters();
    if (doc.RedLocal.LocalCommandOn == 1)
        doc.ReplaceDeadRedCommanders();
    if (doc.BlueLocal.LocalCommandOn == 1)
        doc.ReplaceDeadBlueCommanders();

    RunSidePhase(doc, Side::Red, redOrder, interactive);
    RunSidePhase(doc, Side::Blue, blueOrder, interactive);
    doc.EndStepGrids();

    if (interactive) {
        doc.RenderDisplayGrid();
        if (activityMaps)
            doc.UpdateActivityMap();
        doc.host().InvalidateView();
    }
}

}  // namespace

void CBrevimarDoc::StepSimulationInView() { RunStep(*this, true); }

void CBrevimarDoc::StepSimulation() { RunStep(*this, false); }

void CBrevimarDoc::ApplyAgentStateParameters()
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Force(side);
        for (int i = 1; i <= f.NumAgents; ++i)
            f.TakeCurrentRanges(i, f.AgentState[i]);
    }
}

void CBrevimarDoc::ShuffleMoveOrder(int* blueOrder, int* redOrder)
{
    FillMoveOrder(*this, RedForce.NumAgents, redOrder);
    FillMoveOrder(*this, BlueForce.NumAgents, blueOrder);
}

void CBrevimarDoc::BuildNeighborLists()
{
    const bool lineOfSight = Battlefield.LineOfSightOn == 1 && Battlefield.TerrainMode > 0;
    for (int i = 1; i <= RedForce.NumAgents; ++i)
        RedForce.Scan.EnemiesSensed = lineOfSight ? SenseForRedAgentLOS(i) : SenseForRedAgent(i);
    for (int i = 1; i <= BlueForce.NumAgents; ++i)
        BlueForce.Scan.EnemiesSensed = lineOfSight ? SenseForBlueAgentLOS(i) : SenseForBlueAgent(i);
}

void CBrevimarDoc::ReplaceDeadRedCommanders() { ReplaceDeadCommanders(*this, Side::Red); }

void CBrevimarDoc::ReplaceDeadBlueCommanders() { ReplaceDeadCommanders(*this, Side::Blue); }

}  // namespace brevimar
