// The owner map the HOLD rule reads, updated only around the cells that
// changed, must be at every step the map counted afresh from the agents.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/ScenarioRunner.h"

namespace brevimar {
namespace {

std::string Reference(const char* name) { return std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/" + name; }

// Straight from the rule: mark agent cells (BLUE over RED), count each
// side's marked cells in the clipped square around every cell, compare.
std::vector<int> CountedAfresh(const CBrevimarDoc& doc)
{
    const CBattlefield& f = doc.Battlefield;
    const int n = f.BattleSize, range = f.TerritoryRange;
    std::vector<int> mark(LatticeCells, 0), owner(LatticeCells, 0);
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1; i <= force.NumAgents; ++i)
            if (force.AgentState[i] == Alive || force.AgentState[i] == Injured)
                mark[LatticeStride * force.AgentX[i] + force.AgentY[i]] = side == Side::Red ? 1 : 2;
    }
    for (int x = 1; x <= n; ++x)
        for (int y = 1; y <= n; ++y) {
            int r = 0, b = 0;
            for (int u = std::max(1, x - range); u <= std::min(n, x + range); ++u)
                for (int v = std::max(1, y - range); v <= std::min(n, y + range); ++v) {
                    r += mark[LatticeStride * u + v] == 1;
                    b += mark[LatticeStride * u + v] == 2;
                }
            if (r >= f.TerritoryMinCount && r >= f.TerritoryDelta + b)
                owner[LatticeStride * x + y] = 1;
            else if (b >= f.TerritoryMinCount && b >= f.TerritoryDelta + r)
                owner[LatticeStride * x + y] = 2;
        }
    return owner;
}

TEST(TerritoryKept, OwnerMapEqualsAFreshCountAtEveryStep)
{
    struct Case {
        const char* file;
        int range, minCount, delta;
    } cases[] = {{"large.dat", 2, 4, 2}, {"small.dat", 1, 2, 1}, {"large_terrain.dat", 3, 5, 2}};
    for (const Case& c : cases) {
        RunnerOptions options;
        options.ScenarioPath = Reference(c.file);
        CScenarioRunner runner(options);
        ASSERT_TRUE(runner.Load()) << runner.Error();
        CBrevimarDoc& doc = runner.Document();
        // Every squad holds ground, so every side phase updates the map.
        for (Side side : {Side::Red, Side::Blue})
            for (int s = 1; s < SquadSlots; ++s)
                doc.Force(side).HOLD_flag[s] = 1;
        CBattlefield& f = doc.Battlefield;
        f.TerritoryRange = c.range, f.TerritoryMinCount = c.minCount, f.TerritoryDelta = c.delta;
        int owned = 0;
        for (int step = 1; step <= 120; ++step) {
            if (step == 60)
                f.TerritoryRange = c.range + 1;  // new settings mid-run
            if (step == 90)
                doc.TerritoryOwner[LatticeStride * 20 + 20] ^= 3;  // a write by someone else
            runner.Advance();
            doc.ComputeTerritorialPossession();
            const std::vector<int> expected = CountedAfresh(doc);
            int wrong = 0;
            for (int x = 1; x <= f.BattleSize; ++x)
                for (int y = 1; y <= f.BattleSize; ++y) {
                    wrong += doc.TerritoryOwner[LatticeStride * x + y] != expected[LatticeStride * x + y];
                    owned += expected[LatticeStride * x + y] != 0;
                }
            ASSERT_EQ(wrong, 0) << c.file << " step " << step;
        }
        EXPECT_GT(owned, 0) << c.file;
    }
}

}  // namespace
}  // namespace brevimar
