#include <cstring>
#include <type_traits>

#include "core/Document.h"

namespace brevimar {

void CBrevimarDoc::ResetDataCollection()
{
    ResetDataCollectionValues();
    if (HeapBuffersAllocated != 1)
        return;
    // Neighbour and goal-count logs: rows 1..7 are the ranges; row 0 is unused.
    for (auto* logs : {&NeighborLog[0], &NeighborLog[1], &NeighborLog[2], &NeighborLog[3], &NeighborLog[4],
                       &NeighborLog[5], &GoalCountLog[0], &GoalCountLog[1], &GoalCountLog[2], &GoalCountLog[3]})
        for (int range = 1; range <= 7; ++range)
            for (int t = 0; t <= MaxSeriesStep; ++t)
                (*logs)[SeriesIndex(range, t)] = 0;
    for (auto* log : {&RedShotsLog, &RedHitsLog, &BlueShotsLog, &BlueHitsLog})
        for (int w = 0; w < WeaponKinds; ++w)
            for (int t = 0; t <= MaxSeriesStep; ++t)
                (*log)[SeriesIndex(w, t)] = 0;
    for (auto* log : {&RedSquadShotsLog, &RedSquadHitsLog, &BlueSquadShotsLog, &BlueSquadHitsLog})
        for (int s = 0; s < SquadSlots; ++s)
            for (int w = 0; w < WeaponKinds; ++w)
                for (int t = 0; t <= MaxSeriesStep; ++t)
                    (*log)[SquadWeaponLogIndex(s, w, t)] = 0;
}

void CDocumentState::ResetDataCollectionValues()
{
    ZoomFactor = DefaultZoomFactor;
    ZoomAreaCleared = 0;

    Charts = CChartSelections{};

    CBattlefield& field = Battlefield;
    field.TerritoryRange = 2;
    field.TerritoryMinCount = 4;
    field.TerritoryDelta = 2;
    field.TerritoryCenterX = 10;
    field.TerritoryRangeX = 5;
    field.TerritoryCenterY = 10;
    field.TerritoryRangeY = 5;
    field.TerritoryUserArea = 0;

    TerrainEditMode = 0;
    EditTerrainType = Lava;
    // An agent-file deployment stays chosen across a reset; a hand placement
    // does not, since its agents are redrawn anyway.
    if (DeploymentSource != AgentFileDeployment)
        DeploymentSource = RandomDeployment;
    EditRedSquad = 1;
    EditBlueSquad = 1;
    if (RunMode != InteractiveMode)
        RestartUsesAgentFile = 0;
    Statistics.BattleFrontRadius = 2;
    Statistics.BattleFrontThreshold = 3;
    BattleFrontOn = 0;
    BattleFrontGrayscale = 1;
    BattleFrontSolid = 0;
    RedActivityMapOn = 0;
    BlueActivityMapOn = 0;
    ActivityNormaliser = 3;
    ActivityRadius = 1;

    // Steps 0..500 only: the spare last entry of each series keeps its value.
    CStatisticsSeries& series = Series;
    for (int t = 0; t <= MaxSeriesStep; ++t) {
        series.RedAliveSeries[t] = 1;
        series.RedInjuredSeries[t] = 0;
        series.BlueAliveSeries[t] = 1;
        series.BlueInjuredSeries[t] = 0;
        series.RedCombatEntropy[t] = 0;
        series.BlueCombatEntropy[t] = 0;
    }

    // Every collected statistic: plain numbers, so all-zero bytes are zeros.
    static_assert(std::is_trivially_copyable_v<CCollectedStatistics>);
    std::memset(static_cast<void*>(&Collected), 0, sizeof Collected);
}

}  // namespace brevimar
