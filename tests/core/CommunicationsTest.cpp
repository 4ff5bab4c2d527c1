#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

class Communications : public ::testing::TestWithParam<Side> {
protected:
    testing::TestDocument doc;
    Side own = GetParam();
    Side other = Opponent(GetParam());
    CForce& f = doc->Force(own);
    CForce& enemy = doc->Force(other);
    int agent = 0;

    void SetUp() override
    {
        f.NumAgents = 0;
        enemy.NumAgents = 0;
        f.CommOn = 1;
        f.CommRange = 3;
        f.CommMatrix[1][1] = 1;
        agent = Add(own, 50, 50);
    }
    int Add(Side side, int x, int y, int state = Alive, int squad = 1, int sensor = 0)
    {
        CForce& force = doc->Force(side);
        const int i = ++force.NumAgents;
        force.AgentX[i] = x;
        force.AgentY[i] = y;
        force.AgentState[i] = state;
        force.AgentSquad[i] = squad;
        force.SensorRange[i] = sensor;
        return i;
    }
    void Share(int i) { own == Side::Red ? doc->ShareRedCommunications(i) : doc->ShareBlueCommunications(i); }
    void Centre(int i) { own == Side::Red ? doc->RedLocalCenterOfMass(i) : doc->BlueLocalCenterOfMass(i); }
};

INSTANTIATE_TEST_SUITE_P(BothSides, Communications, ::testing::Values(Side::Red, Side::Blue),
                         [](const auto& info) { return info.param == Side::Red ? "Red" : "Blue"; });

TEST_P(Communications, ReportersStandInASquareCommsBoxBoundsIncluded)
{
    struct Case {
        int dx, dy;
        bool reports;
    };
    const Case cases[] = {{3, 3, true}, {-3, 3, true}, {0, -3, true}, {4, 0, false}, {-3, -4, false}, {4, 4, false}};
    int marked[std::size(cases)];
    for (size_t c = 0; c < std::size(cases); ++c) {
        // Each reporter sees only its own cell, where an enemy stands.
        Add(own, 50 + cases[c].dx, 50 + cases[c].dy);
        marked[c] = Add(other, 50 + cases[c].dx, 50 + cases[c].dy);
    }
    Share(agent);
    for (size_t c = 0; c < std::size(cases); ++c)
        EXPECT_EQ(f.EnemyViaComm[marked[c]], cases[c].reports ? 1 : 0) << cases[c].dx << "," << cases[c].dy;
}

TEST_P(Communications, OnlyLinkedSquadsReport)
{
    const int reporter = Add(own, 51, 50, Alive, 2, 2);
    const int target = Add(other, 53, 52);
    const int mate = Add(own, 52, 48, Alive, 3);
    f.CommMatrix[2][1] = 1;  // squad 2 hears squad 1, not the other way round
    Share(agent);
    EXPECT_EQ(f.EnemyViaComm[target], 0);
    f.CommMatrix[1][2] = 1;
    Share(agent);
    EXPECT_EQ(f.EnemyViaComm[target], 1);
    EXPECT_EQ(f.FriendViaComm[mate], 1) << "a reported friend may be of any squad";
    EXPECT_EQ(f.FriendViaComm[reporter], 0);
    f.CommMatrix[1][2] = 2;  // only the value 1 links
    Share(agent);
    EXPECT_EQ(f.EnemyViaComm[target], 0);
    EXPECT_EQ(f.FriendViaComm[mate], 0);
}

TEST_P(Communications, WhatReportersMark)
{
    const int a = Add(own, 52, 50, Alive, 1, 2);
    const int b = Add(own, 53, 50, Injured, 1, 0);
    const int deadMate = Add(own, 51, 50, Dead, 1, 5);
    const int deadFriend = Add(own, 52, 51, Dead);
    const int deadEnemy = Add(other, 52, 51, Dead);
    const int farEnemy = Add(other, 55, 50);
    f.FriendViaComm[deadFriend] = 1;  // left from an earlier agent
    // Sight-blocking terrain between the agent and the enemy changes nothing.
    doc->Battlefield.TerrainMode = 1;
    doc->Battlefield.LineOfSightOn = 1;
    for (int y = 49; y <= 51; ++y)
        doc->Battlefield.TerrainType[GridIndex(53, y)] = Pillar;
    const int behind = Add(other, 54, 50, Injured);
    doc->Battlefield.TerrainType[GridIndex(54, 50)] = PassableIII;

    Share(agent);
    EXPECT_EQ(f.FriendViaComm[agent], 0) << "the agent is never reported to itself";
    EXPECT_EQ(f.FriendViaComm[a], 0) << "a sees no one else near it";
    EXPECT_EQ(f.FriendViaComm[b], 1) << "b is reported by a, not by itself";
    EXPECT_EQ(f.FriendViaComm[deadMate], 0);
    EXPECT_EQ(f.FriendViaComm[deadFriend], 0);
    EXPECT_EQ(f.EnemyViaComm[deadEnemy], 0);
    EXPECT_EQ(f.EnemyViaComm[behind], 1);
    EXPECT_EQ(f.EnemyViaComm[farEnemy], 0);

    f.SensorRange[b] = 1;
    Share(agent);
    EXPECT_EQ(f.FriendViaComm[a], 1);
}

TEST_P(Communications, StackedReportersReportEachOther)
{
    // The agent (sensor range 0) stands at (50, 50); everyone below stands on
    // (51, 50), within communications range 3 (and 40). A reporter's box of
    // range 1 or 2 holds that cell, so each agent there is marked exactly
    // when a box other than its own holds it: every reporter by another
    // reporter on the cell, and the friend of squad 2, which squad 1 does not
    // hear, by any reporter's box. A lone reporter is marked by nobody.
    struct Member {
        int squad, sensor, marked;
    };
    struct Case {
        const char* layout;
        std::vector<Member> members;
    } cases[] = {
        {"two reporters", {{1, 1, 1}, {1, 1, 1}}},
        {"three reporters", {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}},
        {"two plus a wider one", {{1, 1, 1}, {1, 1, 1}, {1, 2, 1}}},
        {"reporter and unheard friend", {{1, 1, 0}, {2, 0, 1}}},
    };
    for (const Case& c : cases)
        for (int comm : {3, 40})  // boxes grown in a window around the agent; boxes beyond it
            for (bool grids : {false, true}) {
                f.NumAgents = 1;
                f.CommRange = comm;
                std::vector<int> added;
                for (const Member& m : c.members)
                    added.push_back(Add(own, 51, 50, Alive, m.squad, m.sensor));
                if (grids)
                    doc->BeginStepGrids();
                Share(agent);
                if (grids)
                    doc->EndStepGrids();
                for (size_t n = 0; n < added.size(); ++n)
                    EXPECT_EQ(f.FriendViaComm[added[n]], c.members[n].marked)
                        << c.layout << ", member " << n << ", range " << comm << (grids ? ", step grids" : "");
                EXPECT_EQ(f.FriendViaComm[agent], 0);
            }
}

TEST_P(Communications, LocalCentreOfMassIsADisc)
{
    f.CommOn = 0;
    f.SensorRange[agent] = 3;
    Centre(agent);
    EXPECT_EQ(f.LocalCenterX, 50.0);
    EXPECT_EQ(f.LocalCenterY, 50.0) << "alone in its squad: its own cell";

    Add(own, 53, 50);           // distance 3: in
    Add(own, 50, 47, Injured);  // in
    Add(own, 53, 51);           // about 3.16: out
    Add(own, 52, 52, Dead);
    Add(own, 51, 51, Alive, 2);  // another squad
    Add(other, 50, 51);
    Centre(agent);
    EXPECT_DOUBLE_EQ(f.LocalCenterX, 153.0 / 3.0);
    EXPECT_DOUBLE_EQ(f.LocalCenterY, 147.0 / 3.0);

    // With communications on the range is the comms range.
    f.CommOn = 1;
    f.CommRange = 0;
    Add(own, 50, 50);
    Centre(agent);
    EXPECT_EQ(f.LocalCenterX, 50.0);
    EXPECT_EQ(f.LocalCenterY, 50.0);
    f.CommRange = 4;
    Centre(agent);
    EXPECT_DOUBLE_EQ(f.LocalCenterX, (50.0 + 53 + 50 + 53 + 50) / 5);
    EXPECT_DOUBLE_EQ(f.LocalCenterY, (50.0 + 50 + 47 + 51 + 50) / 5);

    // A negative range holds nobody, not even the agent: the centre stays 0.
    f.CommRange = -1;
    Centre(agent);
    EXPECT_EQ(f.LocalCenterX, 0.0);
}

TEST_P(Communications, BadIndicesStayInsideTheArrays)
{
    f.AgentSquad[agent] = 40;
    Add(own, 50, 51, Alive, -3, 4);
    enemy.NumAgents = 5000;
    Share(agent);
    Share(0);
    Share(MaxAgents + 1);
    Centre(MaxAgents + 1);
    f.CommRange = 2000000000;
    f.AgentSquad[agent] = 1;
    Centre(agent);
    EXPECT_EQ(f.LocalCenterX, 50.0);
}

}  // namespace
}  // namespace brevimar
