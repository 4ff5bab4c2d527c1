#include "core/TerrainBlocks.h"

#include <algorithm>
#include <iterator>

namespace brevimar {

BlockSpan BlockSpanOf(int length)
{
    if (length % 2 == 0)
        return {length / 2, 0};
    if (length > 2)
        return {(length - 1) / 2, 1};
    return {1, 0};
}

bool LaysPassableTerrain(const CBattlefield& b)
{
    for (int k = 1, n = std::min(b.terrain_blocks, MaxTerrainBlocks); k <= n; ++k)
        if (b.TerrainBlockUsed[k] == 1 && IsPassableTerrain(b.TerrainBlockType[k]))
            return true;
    return false;
}

bool HoldsPassableTerrain(const CBattlefield& b)
{
    const int n = std::clamp(b.BattleSize, 0, MaxBattleSize);
    for (int x = 1; x <= n; ++x)
        for (int y = 1; y <= n; ++y)
            if (IsPassableTerrain(b.TerrainType[GridIndex(x, y)]))
                return true;
    return false;
}

void TakeCellTerrainSwitches(CBattlefield& b)
{
    b.TerrainModifiersOn = HoldsPassableTerrain(b) ? 1 : 0;
    const int n = std::clamp(b.BattleSize, 0, MaxBattleSize);
    for (int x = 1; x <= n; ++x)
        for (int y = 1; y <= n; ++y)
            if (b.TerrainType[GridIndex(x, y)] == Pillar) {
                b.LineOfSightOn = 1;
                return;
            }
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

void TakeTerrainOff(CBattlefield& b)
{
    for (int x = 1; x <= MaxBattleSize; ++x)
        for (int y = 1; y <= MaxBattleSize; ++y) {
            if (b.AgentGrid[GridIndex(x, y)] == CellTerrain)
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

    // The list holds no gaps: a block with a zero side is empty, and the
    // filled blocks after one move up, in order and each with its use flag,
    // so that none the user filled in is lost. The empty ones follow them,
    // cleared, their use flags kept.
    struct Block {
        int Type, Length, Width, X, Y, Used;
    };
    Block blocks[MaxTerrainBlocks];
    for (int k = 1; k <= MaxTerrainBlocks; ++k)
        blocks[k - 1] = {b.TerrainBlockType[k], b.TerrainBlockLength[k], b.TerrainBlockWidth[k],
                         b.TerrainBlockX[k],    b.TerrainBlockY[k],      b.TerrainBlockUsed[k]};
    const Block* const end = std::stable_partition(std::begin(blocks), std::end(blocks), [](const Block& block) {
        return block.Length != 0 && block.Width != 0;
    });
    b.terrain_blocks = static_cast<int>(end - blocks);
    for (int k = 1; k <= MaxTerrainBlocks; ++k) {
        const Block& block = blocks[k - 1];
        const bool kept = k <= b.terrain_blocks;
        b.TerrainBlockType[k] = kept ? block.Type : 0;
        b.TerrainBlockLength[k] = kept ? block.Length : 0;
        b.TerrainBlockWidth[k] = kept ? block.Width : 0;
        b.TerrainBlockX[k] = kept ? block.X : 0;
        b.TerrainBlockY[k] = kept ? block.Y : 0;
        b.TerrainBlockUsed[k] = block.Used;
    }
    LayTerrainBlocks(b, std::clamp(b.BattleSize, 0, MaxBattleSize));
    if (b.TerrainMode == 0)
        ClearTerrainCells(b);
}

}  // namespace brevimar
