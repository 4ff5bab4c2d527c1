#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

class Sensing : public ::testing::TestWithParam<Side> {
protected:
    testing::TestDocument doc;
    Side own = GetParam();
    Side other = Opponent(GetParam());

    void SetUp() override
    {
        doc->Battlefield.BattleSize = 100;
        doc->Force(own).NumAgents = 0;
        doc->Force(other).NumAgents = 0;
        doc->RandomState = -4711;
    }
    // Adds an agent to a side and returns its index.
    int Add(Side side, int x, int y, int state = Alive, int squad = 1)
    {
        CForce& f = doc->Force(side);
        const int i = ++f.NumAgents;
        f.AgentX[i] = x;
        f.AgentY[i] = y;
        f.AgentState[i] = state;
        f.AgentSquad[i] = squad;
        return i;
    }
    void Terrain(int x, int y, int type) { doc->Battlefield.TerrainType[GridIndex(x, y)] = type; }

    int Target(int i, bool los = false)
    {
        if (own == Side::Red)
            return los ? doc->SenseForRedAgentLOS(i) : doc->SenseForRedAgent(i);
        return los ? doc->SenseForBlueAgentLOS(i) : doc->SenseForBlueAgent(i);
    }
    void Scan(int i, bool los = false)
    {
        if (own == Side::Red)
            los ? doc->ScanRedNeighborsLOS(i) : doc->ScanRedNeighbors(i);
        else
            los ? doc->ScanBlueNeighborsLOS(i) : doc->ScanBlueNeighbors(i);
    }
    void ScanCommander(int i, bool los = false)
    {
        if (own == Side::Red)
            los ? doc->ScanRedCommanderNeighborsLOS(i) : doc->ScanRedCommanderNeighbors(i);
        else
            los ? doc->ScanBlueCommanderNeighborsLOS(i) : doc->ScanBlueCommanderNeighbors(i);
    }
    std::vector<int> List(int i)
    {
        const int* row = doc->EnemyList(own, i);
        return std::vector<int>(row + 1, row + 1 + doc->Force(own).EnemyCount[i]);
    }
};

INSTANTIATE_TEST_SUITE_P(BothSides, Sensing, ::testing::Values(Side::Red, Side::Blue),
                         [](const auto& info) { return info.param == Side::Red ? "Red" : "Blue"; });

TEST_P(Sensing, SensorBoxIsASquareWithItsBoundsIncluded)
{
    const int i = Add(own, 50, 50);
    doc->Force(own).SensorRange[i] = 3;
    struct Case {
        int dx, dy, state;
        bool sensed;
    };
    const Case cases[] = {
        {3, 3, Alive, true},     {-3, 3, Injured, true}, {3, -3, Alive, true}, {-3, -3, Alive, true},
        {4, 0, Alive, false},    {0, -4, Alive, false},  {2, 4, Alive, false}, {0, 0, Alive, true},
        {1, 1, Dead, false},     {-4, -4, Alive, false},
    };
    std::vector<int> expected;
    for (const Case& c : cases) {
        const int j = Add(other, 50 + c.dx, 50 + c.dy, c.state);
        if (c.sensed)
            expected.push_back(j);
    }
    const int drawState = doc->RandomState;
    EXPECT_EQ(Target(i), static_cast<int>(expected.size()));
    EXPECT_EQ(List(i), expected);
    EXPECT_EQ(doc->RandomState, drawState) << "open ground conceals nobody";

    Scan(i);
    const CForce& f = doc->Force(own);
    EXPECT_EQ(f.Scan.EnemiesSensed, static_cast<int>(expected.size()));
    EXPECT_EQ(f.Scan.InjuredEnemiesSensed, 1);
    for (int j = 1; j <= doc->Force(other).NumAgents; ++j)
        EXPECT_EQ(f.EnemySensed[j], cases[j - 1].sensed ? 1 : 0) << "enemy " << j;
}

TEST_P(Sensing, OneConcealmentDrawPerLiveEnemyOnPassableTerrainInOrder)
{
    const int i = Add(own, 20, 20);
    doc->Force(own).SensorRange[i] = 5;
    auto& targetVisibility = doc->Modifiers(other).TerrainVisibility;
    targetVisibility[1][1] = 0.5;  // squad 1 on type I
    targetVisibility[1][3] = 0.5;  // squad 1 on type III
    targetVisibility[2][2] = 1.0;  // squad 2 on type II: always seen
    targetVisibility[3][1] = 0.0;  // squad 3 on type I: never seen
    // The scanning side's own table plays no part.
    doc->Modifiers(own).TerrainVisibility[3][1] = 1.0;

    const int open = Add(other, 21, 20);
    const int first = Add(other, 22, 20);
    Terrain(22, 20, PassableI);
    const int deadOne = Add(other, 23, 20, Dead);
    Terrain(23, 20, PassableI);
    const int always = Add(other, 20, 22, Alive, 2);
    Terrain(20, 22, PassableII);
    const int outside = Add(other, 26, 20);
    Terrain(26, 20, PassableI);
    const int pillar = Add(other, 19, 19, Injured);
    Terrain(19, 19, Pillar);
    const int never = Add(other, 18, 20, Alive, 3);
    Terrain(18, 20, PassableI);
    const int last = Add(other, 20, 25, Injured);
    Terrain(20, 25, PassableIII);

    CUniformGenerator reference = doc->Generator;
    int seed = doc->RandomState;
    auto concealDraw = [&] { return (reference.Draw(&seed) * 9999.0 + 1.0) * 0.0001; };
    std::vector<int> expected = {open};
    if (concealDraw() < 0.5)
        expected.push_back(first);
    concealDraw();
    expected.push_back(always);
    expected.push_back(pillar);
    concealDraw();  // squad 3 is never seen, but the draw is taken
    if (concealDraw() < 0.5)
        expected.push_back(last);

    EXPECT_EQ(Target(i), static_cast<int>(expected.size()));
    EXPECT_EQ(List(i), expected);
    EXPECT_EQ(doc->RandomState, seed) << "four draws: enemies " << first << ", " << always << ", " << never
                                      << ", " << last;
    (void)deadOne;
    (void)outside;

    // The move-phase scan senses them all and draws nothing.
    Scan(i);
    EXPECT_EQ(doc->RandomState, seed);
    EXPECT_EQ(doc->Force(own).Scan.EnemiesSensed, 6);
    EXPECT_EQ(doc->Force(own).EnemySensed[never], 1);
}

TEST_P(Sensing, HiddenEnemyIsNeitherListedNorCountedAndDrawsNothing)
{
    doc->Battlefield.TerrainMode = 1;
    doc->Battlefield.LineOfSightOn = 1;
    const int i = Add(own, 10, 10);
    doc->Force(own).SensorRange[i] = 5;
    doc->Modifiers(other).TerrainVisibility[1][1] = 1.0;
    for (int y = 9; y <= 11; ++y)
        Terrain(12, y, Pillar);
    const int hidden = Add(other, 14, 10, Injured);
    Terrain(14, 10, PassableI);
    const int seen = Add(other, 10, 14);
    Terrain(10, 14, PassableI);

    CUniformGenerator reference = doc->Generator;
    int seed = doc->RandomState;
    reference.Draw(&seed);
    EXPECT_EQ(Target(i, true), 1);
    EXPECT_EQ(List(i), std::vector<int>{seen});
    EXPECT_EQ(doc->RandomState, seed);

    Scan(i, true);
    EXPECT_EQ(doc->Force(own).Scan.EnemiesSensed, 1);
    EXPECT_EQ(doc->Force(own).Scan.InjuredEnemiesSensed, 0);
    EXPECT_EQ(doc->Force(own).EnemySensed[hidden], 0);

    // Without the sight test both are there, with a draw each.
    reference.Draw(&seed);
    reference.Draw(&seed);
    EXPECT_EQ(Target(i), 2);
    EXPECT_EQ(doc->RandomState, seed);
    Scan(i);
    EXPECT_EQ(doc->Force(own).Scan.InjuredEnemiesSensed, 1);
}

// Friends round (50, 50) in every quadrant of a sensor box holding pillars:
// a pair at (52, 52) and (52, 53), which the line to (54, 55) crosses at
// x = 52, y = 50 + 2 * 5/4 = 52.5, and a wall along y = 48 from x = 49 to
// 51 across the straight line to (50, 46). The other lines pass one pillar
// at most. Inside a step the step's sums answer first: the same friends.
TEST_P(Sensing, PillarsHideTheSameFriendsInsideAStep)
{
    doc->Battlefield.TerrainMode = 1;
    doc->Battlefield.LineOfSightOn = 1;
    CForce& f = doc->Force(own);
    const int i = Add(own, 50, 50);
    f.SensorRange[i] = 5;
    for (const auto& [x, y] : {std::pair{52, 52}, {52, 53}, {49, 48}, {50, 48}, {51, 48}})
        Terrain(x, y, Pillar);
    const int hidden[] = {Add(own, 54, 55), Add(own, 50, 46)};
    const int seen[] = {Add(own, 54, 50), Add(own, 46, 55), Add(own, 54, 45), Add(own, 46, 46)};
    for (bool inStep : {false, true}) {
        if (inStep)
            doc->BeginStepGrids();
        Scan(i, true);
        if (inStep)
            doc->EndStepGrids();
        for (int j : hidden)
            EXPECT_EQ(f.FriendSensed[j], 0) << j << (inStep ? " in a step" : "");
        for (int j : seen)
            EXPECT_EQ(f.FriendSensed[j], 1) << j << (inStep ? " in a step" : "");
    }
}

TEST_P(Sensing, MovePhaseCountsFriendsInSensorAndThresholdBoxes)
{
    CForce& f = doc->Force(own);
    const int i = Add(own, 50, 50);
    f.SensorRange[i] = 2;
    f.ConstraintRange[i] = 4;
    f.MovementFlag[i] = 1;
    const int near = Add(own, 52, 52);
    const int hurt = Add(own, 51, 50, Injured);
    const int thresholdOnly = Add(own, 54, 46);
    const int dead = Add(own, 50, 51, Dead);
    const int far = Add(own, 55, 50);
    f.FriendSensed[i] = 9;
    f.FriendSensed[dead] = 7;
    f.FriendSensed[far] = 5;
    // Concealment is for shooters only.
    const int enemy = Add(other, 48, 48);
    Terrain(48, 48, PassableIII);
    const int start = doc->RandomState;

    Scan(i);
    EXPECT_EQ(f.FriendSensed[i], 0) << "an agent never senses itself";
    EXPECT_EQ(f.FriendSensed[near], 1);
    EXPECT_EQ(f.FriendSensed[hurt], 1);
    EXPECT_EQ(f.FriendSensed[thresholdOnly], 0);
    EXPECT_EQ(f.FriendSensed[dead], 7) << "dead friends are not written";
    EXPECT_EQ(f.FriendSensed[far], 0);
    EXPECT_EQ(f.Scan.InjuredFriendsSensed, 1);
    EXPECT_EQ(f.Scan.FriendsInThreshold, 3);
    EXPECT_EQ(f.EnemySensed[enemy], 1);
    EXPECT_EQ(doc->RandomState, start);

    f.MovementFlag[i] = 0;
    Scan(i);
    EXPECT_EQ(f.Scan.FriendsInThreshold, 301);
    EXPECT_EQ(f.Scan.InjuredFriendsSensed, 1);
}

TEST_P(Sensing, CommanderScansWithItsCommandsRanges)
{
    CForce& f = doc->Force(own);
    CLocalCommand& local = doc->Local(own);
    const int i = Add(own, 50, 50);
    f.SensorRange[i] = 1;
    f.ConstraintRange[i] = 10;
    f.MovementFlag[i] = 1;
    local.CommanderNumberOf[i] = 3;
    local.SENSOR_rng[3] = 6;
    local.ADV_range[3] = 1;
    Add(own, 53, 50);
    Add(own, 51, 51);
    const int enemy = Add(other, 56, 44);

    Scan(i);
    EXPECT_EQ(f.Scan.EnemiesSensed, 0);
    EXPECT_EQ(f.Scan.FriendsInThreshold, 2);
    ScanCommander(i);
    EXPECT_EQ(f.Scan.EnemiesSensed, 1);
    EXPECT_EQ(f.EnemySensed[enemy], 1);
    EXPECT_EQ(f.Scan.FriendsInThreshold, 1);

    // The switch stays the agent's own movement flag.
    f.MovementFlag[i] = 0;
    ScanCommander(i);
    EXPECT_EQ(f.Scan.FriendsInThreshold, 301);

    // A command number out of range reads the empty slot 0: only the own cell.
    f.MovementFlag[i] = 1;
    local.CommanderNumberOf[i] = 99;
    ScanCommander(i);
    EXPECT_EQ(f.Scan.EnemiesSensed, 0);
    EXPECT_EQ(f.Scan.FriendsInThreshold, 0);
}

TEST_P(Sensing, EmptySideAndBadCountsStayInsideTheArrays)
{
    const int i = Add(own, 50, 50);
    doc->Force(own).SensorRange[i] = 1;
    EXPECT_EQ(Target(i), 0);
    Scan(i);
    EXPECT_EQ(doc->Force(own).Scan.EnemiesSensed, 0);

    // Every agent of the other side on the scanner's cell fills 300 entries.
    for (int j = 1; j <= MaxAgents; ++j)
        Add(other, 50, 50);
    int* row = doc->EnemyList(own, i);
    row[EnemyListColumns] = -1;  // first entry of the next row
    doc->Force(other).NumAgents = 1000;
    EXPECT_EQ(Target(i), MaxAgents);
    EXPECT_EQ(row[MaxAgents], MaxAgents);
    EXPECT_EQ(row[EnemyListColumns], -1);

    doc->Force(own).SensorRange[i] = 2000000000;  // a huge range must not overflow the box
    EXPECT_EQ(Target(i), MaxAgents);
    for (int bad : {0, -3, MaxAgents + 1}) {
        EXPECT_EQ(Target(bad), 0);
        Scan(bad);
        ScanCommander(bad);
    }
}

}  // namespace
}  // namespace brevimar
