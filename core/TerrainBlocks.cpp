#include "core/TerrainBlocks.h"

#include <algorithm>

namespace brevimar {

BlockSpan BlockSpanOf(int length)
{
    if (length % 2 == 0)
        return {length / 2, 0};
    if (length > 2)
        return {(length - 1) / 2, 1};
    return {1, 0};
}

void ClearTerrainCells(CBattlefield& b)
{
    const int n = std::clamp(b.BattleSize, 0, MaxBattleSize);
    for (int x = 1; x <= n; ++x)
        for (int y = 1; y <= n; ++y) {
            b.AgentGrid[GridIndex(x, y)] = CellFree;
            b.TerrainType[GridIndex(x, y)] = OpenGround;
        }
}

void LayTerrainBlocks(CBattlefield& b, int size)
{
    b.CellTerrainDefined = 0;
    for (int k = 1, n = std::min(b.terrain_blocks, MaxTerrainBlocks); k <= n; ++k) {
        if (b.TerrainBlockUsed[k] != 1)
            continue;
        const BlockSpan sx = BlockSpanOf(b.TerrainBlockLength[k]);
        const BlockSpan sy = BlockSpanOf(b.TerrainBlockWidth[k]);
        // In 64 bits: a centre and side from a file may lie far outside.
        const long long cx = b.TerrainBlockX[k];
        const long long cy = b.TerrainBlockY[k];
        const int x0 = static_cast<int>(std::max<long long>(1, cx - sx.Half));
        const int x1 = static_cast<int>(std::min<long long>(size, cx + sx.Half + sx.Extra));
        const int y0 = static_cast<int>(std::max<long long>(1, cy - sy.Half));
        const int y1 = static_cast<int>(std::min<long long>(size, cy + sy.Half + sy.Extra));
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) {
                b.AgentGrid[GridIndex(x, y)] = CellTerrain;
                b.TerrainType[GridIndex(x, y)] = b.TerrainBlockType[k];
            }
    }
}

void ApplyEditedTerrainBlocks(CBattlefield& b)
{
    b.TerrainModifiersOn = 0;
    b.LineOfSightOn = 0;
    for (int k = 1; k <= MaxTerrainBlocks; ++k) {
        if (b.TerrainBlockUsed[k] == 1 && IsPassableTerrain(b.TerrainBlockType[k]))
            b.TerrainModifiersOn = 1;
        // Sight-blocking terrain switches the sight test on even while its block is unused.
        if (b.TerrainBlockType[k] == Pillar)
            b.LineOfSightOn = 1;
    }

    b.terrain_blocks = MaxTerrainBlocks;
    for (int k = 1; k <= MaxTerrainBlocks; ++k) {
        if (b.TerrainBlockLength[k] != 0 && b.TerrainBlockWidth[k] != 0)
            continue;
        b.terrain_blocks = k - 1;
        for (int j = k; j <= MaxTerrainBlocks; ++j)
            b.TerrainBlockType[j] = b.TerrainBlockLength[j] = b.TerrainBlockWidth[j] = b.TerrainBlockX[j] =
                b.TerrainBlockY[j] = 0;
        break;
    }
    LayTerrainBlocks(b, std::clamp(b.BattleSize, 0, MaxBattleSize));
    if (b.TerrainMode == 0)
        ClearTerrainCells(b);
}

}  // namespace brevimar
