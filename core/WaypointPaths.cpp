#include <string>
#include <vector>

#include "core/Document.h"

namespace brevimar {

void CBrevimarDoc::BuildFlagPathFields()
{
    if (RunMode != InteractiveMode)
        return;
    const int size = Battlefield.BattleSize;
    if (size < 1 || size > MaxBattleSize)
        return;
    // RED's goal cell is the BLUE flag and BLUE's goal cell the RED flag.
    auto onField = [size](int x, int y) { return x >= 1 && y >= 1 && x <= size && y <= size; };
    const struct {
        const char* name;
        int x, y;
    } flags[] = {{"BLUE", RedForce.GoalFlagX, RedForce.GoalFlagY}, {"RED", BlueForce.GoalFlagX, BlueForce.GoalFlagY}};
    for (const auto& flag : flags) {
        if (!onField(flag.x, flag.y)) {
            host().ShowError(std::string("The ") + flag.name + " flag at (" + std::to_string(flag.x) + ", " +
                             std::to_string(flag.y) + ") lies outside the " + std::to_string(size) + " x " +
                             std::to_string(size) + " battlefield, so no waypoint paths were built.");
            return;
        }
    }

    const int stride = size + 1;
    std::vector<int> grid(static_cast<std::size_t>(stride) * stride, 0);
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y)
            grid[stride * x + y] = Battlefield.TerrainType[GridIndex(x, y)];

    RedWaypointField = CPathField(grid.data(), size, size, RedForce.GoalFlagX, RedForce.GoalFlagY, 1, host());
    BlueWaypointField = CPathField(grid.data(), size, size, BlueForce.GoalFlagX, BlueForce.GoalFlagY, 1, host());
}

}  // namespace brevimar
