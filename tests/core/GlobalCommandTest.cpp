#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

constexpr int Field = 100;

struct CommandScene {
    testing::TestDocument doc;

    CommandScene()
    {
        doc->RunMode = InteractiveMode;
        doc->Battlefield.BattleSize = Field;
        doc->RandomState = -4711;
        doc->RedForce.NumAgents = 0;
        doc->BlueForce.NumAgents = 0;
        // Edge points and profile as battlefield set-up lays them: the profile
        // is 1.0 at the side's peak sector (RED 1, BLUE 9), 0 opposite it.
        const int S = Field, q1 = S / 4, q2 = S / 2, q3 = 3 * S / 4;
        const int xs[] = {1, 1, 1, 1, 1, q1, q2, q3, S, S, S, S, S, q3, q2, q1};
        const int ys[] = {1, q1, q2, q3, S, S, S, S, S, q3, q2, q1, 1, 1, 1, 1};
        const float falloff[] = {1.0f, 0.765f, 0.5625f, 0.391f, 0.25f, 0.14f, 0.0625f, 0.015625f, 0.0f};
        for (Side side : {Side::Red, Side::Blue}) {
            CGlobalCommander& gc = doc->Global(side);
            for (int s = 1; s <= SectorCount; ++s) {
                gc.SectorEdgeX[s] = xs[s - 1];
                gc.SectorEdgeY[s] = ys[s - 1];
                const int d = std::abs(s - (side == Side::Red ? 1 : 9));
                gc.SectorProfile[s] = falloff[std::min(d, SectorCount - d)];
            }
            gc.GC_fear_index = 0.5f;
            gc.GC_w_alpha = 1.0f;
            gc.GC_w_beta = 1.0f;
            gc.GC_w_swath[3] = 1.0f;
            gc.GC_help_radius = 5;
            gc.GC_h_thresh = 0.5f;
            gc.GC_rel_h_thresh = 0.5f;
        }
    }
    // Commander c of the side is its agent c, at (x, y) with health h.
    void AddCommander(Side side, int x, int y, float h)
    {
        CLocalCommand& local = doc->Local(side);
        CForce& force = doc->Force(side);
        const int c = ++local.NumLocalCommanders;
        const int i = ++force.NumAgents;
        local.CommanderAgent[c] = i;
        local.CommanderHealth[c] = h;
        force.AgentX[i] = x;
        force.AgentY[i] = y;
        force.AgentState[i] = Alive;
    }
    // Enemy term of commander c per sector, through the alive tally.
    void SetEnemyTerms(Side side, int c, const std::vector<float>& terms)
    {
        for (int s = 1; s <= SectorCount; ++s)
            doc->Global(side).SectorAliveTally[c][s] = terms[s - 1];
    }
    // Draw number `ahead` the document would make next, without making it.
    float PeekDraw(int ahead = 0, int* seedAfter = nullptr)
    {
        CUniformGenerator generator = doc->Generator;
        int seed = doc->RandomState;
        double u = 0;
        for (int k = 0; k <= ahead; ++k)
            u = generator.Draw(&seed);
        if (seedAfter)
            *seedAfter = seed;
        return static_cast<float>(u);
    }
    int TargetSector(Side side, int c)
    {
        const CGlobalCommander& gc = doc->Global(side);
        for (int s = 1; s <= SectorCount; ++s)
            if (gc.SectorEdgeX[s] == gc.GcTargetX[c] && gc.SectorEdgeY[s] == gc.GcTargetY[c])
                return s;
        return 0;
    }
};

TEST(GlobalCommandTarget, WithoutEnemiesEachSideTakesItsOwnSector)
{
    for (float fear : {0.0f, 0.5f, 1.0f}) {
        CommandScene scene;
        scene.AddCommander(Side::Red, 30, 40, 1.0f);
        scene.AddCommander(Side::Blue, 70, 60, 1.0f);
        scene.doc->RedForce.AgentState[1] = Dead;  // each commander is the other side's only enemy
        scene.doc->BlueForce.AgentState[1] = Dead;
        scene.doc->RedGlobal.GC_fear_index = scene.doc->BlueGlobal.GC_fear_index = fear;
        scene.doc->RedGlobal.GcHelpX[1] = 7;  // last step's help cell is cleared
        const int seed = scene.doc->RandomState;
        scene.doc->RedGlobalCommand();
        scene.doc->BlueGlobalCommand();
        EXPECT_EQ(scene.doc->RedGlobal.GcTargetX[1], Field) << "fear " << fear;
        EXPECT_EQ(scene.doc->RedGlobal.GcTargetY[1], Field);
        EXPECT_EQ(scene.doc->BlueGlobal.GcTargetX[1], 1) << "fear " << fear;
        EXPECT_EQ(scene.doc->BlueGlobal.GcTargetY[1], 1);
        EXPECT_EQ(scene.doc->RedGlobal.GcHelpX[1], 0);
        EXPECT_EQ(scene.doc->RandomState, seed) << "no draw without a final tie";
    }
}

TEST(GlobalCommandTarget, TheCommandSteersAwayFromAnEnemyCluster)
{
    CommandScene scene;
    scene.AddCommander(Side::Red, 50, 50, 1.0f);
    scene.doc->RedGlobal.GC_fear_index = 0.9f;
    for (int k = 0; k < 6; ++k) {  // toward the top right, where RED would otherwise go
        const int i = ++scene.doc->BlueForce.NumAgents;
        scene.doc->BlueForce.AgentX[i] = 85 + k;
        scene.doc->BlueForce.AgentY[i] = 88;
        scene.doc->BlueForce.AgentState[i] = Alive;
    }
    scene.doc->RedGlobalCommand();
    EXPECT_GT(scene.doc->RedGlobal.SectorAliveTally[1][9], 0.0f);
    const int target = scene.TargetSector(Side::Red, 1);
    ASSERT_NE(target, 0);
    EXPECT_EQ(scene.doc->RedGlobal.SectorAliveTally[1][target], 0.0f) << "sector " << target;
}

TEST(GlobalCommandTarget, TiesAreSettledByNeighboursThenPreferences)
{
    const struct {
        Side side;
        std::vector<float> terms;
        int expected;
    } cases[] = {
        // 8 and 10 tie in stage 1 and on their neighbours: the later of RED's pair.
        {Side::Red, {1, 1, 1, 1, 1, 1, 0.5f, 0, 1, 0, 0.5f, 1, 1, 1, 1, 1}, 10},
        // 2 and 16 for BLUE.
        {Side::Blue, {1, 0, 0.5f, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0.5f, 0}, 16},
        // 3, 8 and 12 tie through stage 2: 8 is the only preferred one.
        {Side::Red, {1, 0.25f, 0, 0.25f, 1, 1, 0.25f, 0, 0.25f, 1, 0.25f, 0, 0.25f, 1, 1, 1}, 8},
        // 3, 7 and 11 tie through stage 3, where 7 and 11 become preferred.
        {Side::Red, {0.5f, 1, 0, 1, 0.5f, 1, 0, 1, 0.5f, 1, 0, 1, 0.5f, 1, 1, 1}, 11},
        // Everything ties at 0: the side's own sector after stage 1.
        {Side::Red, std::vector<float>(16, 0.0f), 9},
        {Side::Blue, std::vector<float>(16, 0.0f), 1},
    };
    for (const auto& c : cases) {
        CommandScene scene;
        scene.AddCommander(c.side, 50, 50, 1.0f);
        scene.doc->Global(c.side).GC_fear_index = 1.0f;
        scene.SetEnemyTerms(c.side, 1, c.terms);
        const int seed = scene.doc->RandomState;
        c.side == Side::Red ? scene.doc->DecideRedGlobalOrders() : scene.doc->DecideBlueGlobalOrders();
        EXPECT_EQ(scene.TargetSector(c.side, 1), c.expected);
        EXPECT_EQ(scene.doc->RandomState, seed);
    }
}

TEST(GlobalCommandTarget, ATieNoStagePrefersIsDrawn)
{
    // An enemy term in sector 9 alone: stages 2 to 4 drop 8 and 10, 7 and 11,
    // 6 and 12, none of them chosen; nine sectors remain for one draw.
    CommandScene scene;
    scene.AddCommander(Side::Red, 50, 50, 1.0f);
    scene.doc->RedGlobal.GC_fear_index = 1.0f;
    scene.SetEnemyTerms(Side::Red, 1, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
    const int remaining[] = {1, 2, 3, 4, 5, 13, 14, 15, 16};
    int seedAfter = 0;
    const float u = scene.PeekDraw(0, &seedAfter);
    int j = 1;
    while (!(u <= static_cast<float>(j) / 9.0f))
        ++j;
    scene.doc->DecideRedGlobalOrders();
    EXPECT_EQ(scene.TargetSector(Side::Red, 1), remaining[j - 1]);
    EXPECT_EQ(scene.doc->RandomState, seedAfter) << "exactly one draw";

    // RED's pair 8/10 means nothing to BLUE, which draws between them.
    CommandScene blue;
    blue.AddCommander(Side::Blue, 50, 50, 1.0f);
    blue.doc->BlueGlobal.GC_fear_index = 1.0f;
    blue.SetEnemyTerms(Side::Blue, 1, {1, 1, 1, 1, 1, 1, 0.5f, 0, 1, 0, 0.5f, 1, 1, 1, 1, 1});
    const float v = blue.PeekDraw(0, &seedAfter);
    blue.doc->DecideBlueGlobalOrders();
    EXPECT_EQ(blue.TargetSector(Side::Blue, 1), v <= 0.5f ? 8 : 10);
    EXPECT_EQ(blue.doc->RandomState, seedAfter);
}

TEST(GlobalCommandTarget, ANegativeMaximumKeepsTheOrderOfTheScores)
{
    // A negative alive weight makes dense sectors attractive; every score is
    // negative and the lowest (sector 5, the densest) must still win.
    CommandScene scene;
    scene.AddCommander(Side::Red, 50, 50, 1.0f);
    scene.doc->RedGlobal.GC_fear_index = 1.0f;
    scene.doc->RedGlobal.GC_w_alpha = -1.0f;
    std::vector<float> terms(16, 0.5f);
    terms[4] = 1.0f;
    scene.SetEnemyTerms(Side::Red, 1, terms);
    scene.doc->DecideRedGlobalOrders();
    EXPECT_EQ(scene.TargetSector(Side::Red, 1), 5);
}

TEST(GlobalCommandHelp, AHealthyCommanderHelpsAMarkedlyWeakerNeighbour)
{
    CommandScene single;
    single.AddCommander(Side::Red, 50, 50, 1.0f);
    single.doc->RedGlobal.GcHelpX[1] = 3;
    single.doc->RedGlobal.GcHelpY[1] = 4;
    single.doc->DecideRedGlobalOrders();
    EXPECT_EQ(single.doc->RedGlobal.GcHelpX[1], 0);
    EXPECT_EQ(single.doc->RedGlobal.GcHelpY[1], 0);

    CommandScene scene;
    scene.AddCommander(Side::Red, 50, 50, 0.8f);
    scene.AddCommander(Side::Red, 55, 45, 0.2f);  // on the bounds of the square
    scene.AddCommander(Side::Red, 56, 50, 0.0f);  // outside it
    scene.doc->DecideRedGlobalOrders();
    const CGlobalCommander& gc = scene.doc->RedGlobal;
    EXPECT_EQ(gc.GcHelpX[1], 55);
    EXPECT_EQ(gc.GcHelpY[1], 45);
    EXPECT_EQ(gc.GcHelpX[2], 0) << "health 0.2 is below the helping threshold";
    EXPECT_EQ(gc.GcHelpX[3], 0);
    // 1 - 0.5 / 0.8 = 0.375 falls short of the relative threshold.
    scene.doc->RedLocal.CommanderHealth[2] = 0.5f;
    scene.doc->DecideRedGlobalOrders();
    EXPECT_EQ(gc.GcHelpX[1], 0);
    EXPECT_EQ(gc.GcHelpY[1], 0);
}

TEST(GlobalCommandHelp, TheNearestCandidateWinsAndEqualDistancesAreDrawnAfterTheTarget)
{
    CommandScene nearest;
    nearest.AddCommander(Side::Blue, 50, 50, 1.0f);
    nearest.AddCommander(Side::Blue, 53, 50, 0.1f);
    nearest.AddCommander(Side::Blue, 46, 49, 0.1f);
    const int seed = nearest.doc->RandomState;
    nearest.doc->DecideBlueGlobalOrders();
    EXPECT_EQ(nearest.doc->BlueGlobal.GcHelpX[1], 53);
    EXPECT_EQ(nearest.doc->RandomState, seed);

    // Commander 1 draws first for its target (sector 9 alone is dense), then
    // between two weaker commands three cells away: u <= 0.5 takes the first.
    bool seen[2] = {false, false};
    for (int skip = 0; skip < 8; ++skip) {
        CommandScene scene;
        for (int k = 0; k < skip; ++k)
            scene.doc->DrawUniform(&scene.doc->RandomState);
        scene.AddCommander(Side::Red, 50, 50, 1.0f);
        scene.AddCommander(Side::Red, 53, 50, 0.1f);
        scene.AddCommander(Side::Red, 47, 50, 0.1f);
        scene.doc->RedGlobal.GC_fear_index = 1.0f;
        scene.SetEnemyTerms(Side::Red, 1, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
        const float helpDraw = scene.PeekDraw(1);
        scene.doc->DecideRedGlobalOrders();
        EXPECT_EQ(scene.doc->RedGlobal.GcHelpX[1], helpDraw <= 0.5f ? 53 : 47) << "u " << helpDraw;
        seen[helpDraw <= 0.5f] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

TEST(GlobalCommandHelp, ACommanderWithoutPositiveHealthHelpsNobody)
{
    // A negative helping threshold lets commanders at or below zero health
    // through; the weakness test divides by that health.
    CommandScene scene;
    scene.doc->RedGlobal.GC_h_thresh = -1.0f;
    scene.doc->RedGlobal.GC_rel_h_thresh = -10.0f;
    scene.AddCommander(Side::Red, 50, 50, 0.0f);
    scene.AddCommander(Side::Red, 52, 50, -0.5f);
    scene.AddCommander(Side::Red, 48, 50, 0.5f);
    scene.doc->DecideRedGlobalOrders();
    const CGlobalCommander& gc = scene.doc->RedGlobal;
    EXPECT_EQ(gc.GcHelpX[1], 0);
    EXPECT_EQ(gc.GcHelpX[2], 0) << "health -0.5 would otherwise 'help' the stronger commanders";
    EXPECT_EQ(gc.GcHelpX[3], 50) << "the positive one helps the nearer of the two";
}

}  // namespace
}  // namespace brevimar
