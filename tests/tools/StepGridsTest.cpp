// The neighbour questions of a step answered from the grids must leave every
// flag, count, targeting list, penalty and draw exactly as the passes over
// whole forces do, on battles in full swing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/ScenarioRunner.h"

namespace brevimar {
namespace {

std::string Reference(const char* name) { return std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/" + name; }

// Everything the per-agent work of one side leaves behind, agent by agent.
std::vector<double> SidePhaseTrace(CBrevimarDoc& doc, Side side)
{
    std::vector<double> trace;
    CForce& own = doc.Force(side);
    const bool red = side == Side::Red;
    const bool sight = doc.Battlefield.LineOfSightOn == 1 && doc.Battlefield.TerrainMode > 0;
    for (int i = 1; i <= own.NumAgents; ++i) {
        const int targets = red ? (sight ? doc.SenseForRedAgentLOS(i) : doc.SenseForRedAgent(i))
                                : (sight ? doc.SenseForBlueAgentLOS(i) : doc.SenseForBlueAgent(i));
        trace.push_back(targets);
        for (int k = 1; k <= targets; ++k)
            trace.push_back(doc.EnemyList(side, i)[k]);
        trace.push_back(doc.RandomState);
        if (own.AgentState[i] == Dead)
            continue;
        if (red)
            sight ? doc.ScanRedNeighborsLOS(i) : doc.ScanRedNeighbors(i);
        else
            sight ? doc.ScanBlueNeighborsLOS(i) : doc.ScanBlueNeighbors(i);
        red ? doc.ShareRedCommunications(i) : doc.ShareBlueCommunications(i);
        for (int v : {own.Scan.EnemiesSensed, own.Scan.FriendsInThreshold, own.Scan.InjuredEnemiesSensed,
                      own.Scan.InjuredFriendsSensed})
            trace.push_back(v);
        // Inside a step the grid holds the flags; the arrays follow at its end.
        const SideNeighborGrid* grid = doc.StepGrid(side);
        for (int j = 1; j <= MaxAgents; ++j) {
            const bool inGrid = grid && j <= own.NumAgents;
            const int friendSensed = inGrid ? grid->FriendSensed(j) : own.FriendSensed[j];
            const int enemySensed = inGrid && j <= grid->Enemies ? grid->EnemySensed(j) : own.EnemySensed[j];
            const int friendHeard = inGrid ? grid->FriendCommMarks.Has(j) : own.FriendViaComm[j];
            const int enemyHeard = inGrid && j <= grid->Enemies ? grid->EnemyCommMarks.Has(j) : own.EnemyViaComm[j];
            trace.push_back(friendSensed + 2 * enemySensed + 4 * friendHeard + 8 * enemyHeard);
        }
        float penalties[MoveTableSize];
        for (float& p : penalties)
            p = -1.0f;
        const float best = doc.EvalMovePenalties(side, MovePenaltyKind::Communications, i, 2, 99999.0f, penalties,
                                                 own.GoalFlagX, own.GoalFlagY);
        trace.push_back(best);
        trace.insert(trace.end(), penalties, penalties + MoveTableSize);
    }
    return trace;
}

TEST(StepGrids, AnswerEveryNeighbourQuestionAsThePlainPasses)
{
    // Sensor ranges by agent j, so that reporters' boxes differ in size and
    // some are empty: six sizes (boxes painted on the battlefield's rows),
    // four (grown in a window around the agent), and boxes too wide for it.
    enum Ranges { AsRead, SixSizes, FourSizes, TooWide };
    auto range = [](Ranges r, int j) {
        switch (r) {
        case SixSizes: return j % 7 - 1;
        case FourSizes: return j % 5 - 1;
        case TooWide: return j % 2 == 0 ? 5 : 22;
        default: return 0;
        }
    };
    // Agents moved onto the cell of another of their side: in pairs, in
    // threes, or in threes whose third member senses one cell further than
    // the two others.
    enum Stacks { Apart, Twos, Threes, TwoPlusOne };
    struct Case {
        const char* file;
        bool comms, sight;
        Ranges ranges;
        bool someLinks = false;  // each squad hears itself and the squad after it
        Stacks stacks = Apart;
    } cases[] = {{"large.dat", false, false, AsRead},
                 {"large.dat", true, false, AsRead},
                 {"large.dat", true, false, AsRead, true},
                 {"large.dat", true, false, SixSizes},
                 {"large.dat", true, false, FourSizes},
                 {"large.dat", true, false, TooWide},
                 {"large_terrain.dat", true, true, AsRead},
                 {"large.dat", true, false, AsRead, false, Twos},
                 {"large.dat", true, false, AsRead, false, Threes},
                 {"large.dat", true, false, AsRead, false, TwoPlusOne},
                 {"large.dat", true, false, AsRead, true, Twos},
                 {"large.dat", true, false, FourSizes, false, Threes},
                 {"large.dat", true, false, SixSizes, false, TwoPlusOne},
                 {"large.dat", true, false, TooWide, false, Twos}};
    for (const Case& c : cases) {
        RunnerOptions options;
        options.ScenarioPath = Reference(c.file);
        options.ShareCommunications = c.comms;
        options.LineOfSight = c.sight;
        options.Batch = true;
        CScenarioRunner runner(options);
        ASSERT_TRUE(runner.Load()) << runner.Error();
        CBrevimarDoc& doc = runner.Document();
        for (int step = 0; step < 40; ++step)
            runner.Advance();
        if (c.someLinks)
            for (Side side : {Side::Red, Side::Blue})
                for (int a = 0; a < SquadSlots; ++a)
                    for (int b = 0; b < SquadSlots; ++b)
                        doc.Force(side).CommMatrix[a][b] = b == a || b == a + 1;
        if (c.ranges != AsRead)
            for (Side side : {Side::Red, Side::Blue})
                for (int j = 1; j <= MaxAgents; ++j)
                    doc.Force(side).SensorRange[j] = range(c.ranges, j);
        if (c.stacks != Apart)
            for (Side side : {Side::Red, Side::Blue}) {
                CForce& f = doc.Force(side);
                const int group = c.stacks == Twos ? 4 : 6, members = c.stacks == Twos ? 2 : 3;
                for (int j = group; j + members - 1 <= f.NumAgents; j += group)
                    for (int m = 1; m < members; ++m) {
                        f.PlaceAgent(j + m, f.AgentX[j], f.AgentY[j]);
                        f.SensorRange[j + m] = f.SensorRange[j] + (c.stacks == TwoPlusOne && m == 2);
                    }
            }
        const auto saved = std::make_unique<CDocumentState>(doc);  // far too large for a stack
        for (Side side : {Side::Red, Side::Blue}) {
            static_cast<CDocumentState&>(doc) = *saved;
            const std::vector<double> plain = SidePhaseTrace(doc, side);
            // The flag arrays as the last agent left them.
            auto flags = [&] {
                const CForce& f = doc.Force(side);
                std::vector<int> all;
                for (const int* array : {f.FriendSensed, f.EnemySensed, f.FriendViaComm, f.EnemyViaComm})
                    all.insert(all.end(), array, array + AgentSlots);
                return all;
            };
            const std::vector<int> plainFlags = flags();
            static_cast<CDocumentState&>(doc) = *saved;
            doc.BeginStepGrids();
            const std::vector<double> grid = SidePhaseTrace(doc, side);
            doc.EndStepGrids();
            EXPECT_EQ(flags(), plainFlags) << c.file << " stacks " << c.stacks;
            ASSERT_EQ(plain.size(), grid.size()) << c.file;
            for (size_t n = 0; n < plain.size(); ++n)
                ASSERT_EQ(plain[n], grid[n])
                    << c.file << " comms " << c.comms << " stacks " << c.stacks << " entry " << n;
        }
    }
}

}  // namespace
}  // namespace brevimar
