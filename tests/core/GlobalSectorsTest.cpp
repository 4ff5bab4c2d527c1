#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

// One RED local commander (agent 1) on a live battlefield of side S, with
// edge points as battlefield set-up lays them.
struct SectorScene {
    testing::TestDocument doc;

    explicit SectorScene(int S)
    {
        doc->RunMode = InteractiveMode;
        doc->Battlefield.BattleSize = S;
        doc->RedLocal.NumLocalCommanders = 1;
        doc->RedLocal.CommanderAgent[1] = 1;
        doc->RedForce.NumAgents = 1;
        CGlobalCommander& gc = doc->RedGlobal;
        const int q1 = S / 4, q2 = S / 2, q3 = 3 * S / 4;
        const int xs[] = {1, 1, 1, 1, 1, q1, q2, q3, S, S, S, S, S, q3, q2, q1};
        const int ys[] = {1, q1, q2, q3, S, S, S, S, S, q3, q2, q1, 1, 1, 1, 1};
        for (int s = 1; s <= SectorCount; ++s) {
            gc.SectorEdgeX[s] = xs[s - 1];
            gc.SectorEdgeY[s] = ys[s - 1];
        }
        gc.GC_frac_R[1] = 0.5f;
        gc.GC_w_swath[1] = 1.0f;
        gc.GC_w_swath[3] = 1.0f;
    }
    // Moves the commander and clears the enemies (a document is slow to make).
    void Place(int X, int Y)
    {
        doc->RedForce.AgentX[1] = X;
        doc->RedForce.AgentY[1] = Y;
        doc->BlueForce.NumAgents = 0;
    }
    void AddEnemy(int x, int y, int state = Alive)
    {
        const int i = ++doc->BlueForce.NumAgents;
        doc->BlueForce.AgentX[i] = x;
        doc->BlueForce.AgentY[i] = y;
        doc->BlueForce.AgentState[i] = state;
    }
    const float* Weights()
    {
        doc->ComputeRedSectorWeights();
        return doc->RedGlobal.SectorWeight[1];
    }
    std::set<int> SectorsCounting()
    {
        doc->ComputeRedSectorWeights();
        doc->CountRedSectors();
        std::set<int> seen;
        for (int s = 1; s <= SectorCount; ++s)
            if (doc->RedGlobal.SectorAliveTally[1][s] > 0 || doc->RedGlobal.SectorInjuredTally[1][s] > 0)
                seen.insert(s);
        return seen;
    }
};

TEST(GlobalSectorWeights, CentreOfAHundredCellFieldAndTheLeftEdge)
{
    SectorScene scene(100);
    scene.Place(50, 50);
    const float* w = scene.Weights();
    EXPECT_EQ(w[3], 1225.0f);
    EXPECT_EQ(w[4], 1225.0f);
    EXPECT_EQ(w[1], 1176.0f);  // 96 x 98 / 8
    EXPECT_EQ(w[2], 1200.5f);
    EXPECT_EQ(w[5], 1212.5f);
    EXPECT_EQ(w[9], 1250.0f);

    scene.Place(1, 40);
    w = scene.Weights();
    EXPECT_EQ(w[2], 1.0f);
    EXPECT_EQ(w[3], 1.0f);
    EXPECT_EQ(w[4], 1.0f);
}

TEST(GlobalSectorWeights, CornerRowsMatchTheirPolygonAreasAndTheRingCoversTheFieldTwice)
{
    for (int S : {100, 150, 37, 9}) {
        SectorScene scene(S);
        const int step = S > 20 ? 7 : 1;
        for (int X = 1; X <= S; X += step) {
            for (int Y = 1; Y <= S; Y += step) {
                scene.Place(X, Y);
                const float* w = scene.Weights();
                const double s = S, x = X, y = Y;
                const double corner[4][2] = {{1, (s - 4) * (x + y - 2) / 8},
                                             {5, (s * (x - 1) + (s - 4) * (s - y)) / 8},
                                             {9, s * (2 * s - x - y) / 8},
                                             {13, (s * (y - 1) + (s - 4) * (s - x)) / 8}};
                for (const auto& row : corner)
                    EXPECT_NEAR(w[static_cast<int>(row[0])], row[1] > 0 ? row[1] : 1.0, 1e-5 * s * s)
                        << "S " << S << " at (" << X << ", " << Y << ") sector " << row[0];
                // Neighbouring sectors overlap by one triangle each, so an
                // inside commander's sixteen areas add up to twice the field.
                double sum = 0;
                for (int k = 1; k <= SectorCount; ++k) {
                    sum += w[k];
                    EXPECT_GT(w[k], 0.0f);
                }
                if (X > 1 && Y > 1 && X < S && Y < S) {
                    EXPECT_NEAR(sum, 2 * (s - 1) * (s - 1), 1e-4 * s * s) << "S " << S << " at (" << X << ", " << Y << ")";
                }
            }
        }
    }
}

TEST(GlobalSectorWeights, LiveRunsUseTheBattlefieldAndPlaybackTheStoredLattice)
{
    SectorScene scene(100);
    scene.Place(50, 50);
    scene.doc->RunHeader.LatticeSize = 150;
    EXPECT_EQ(scene.Weights()[3], 1225.0f);  // 49 x 100 / 4
    for (int mode : {PlaybackMode, ReplayMode}) {
        scene.doc->RunMode = mode;
        EXPECT_EQ(scene.Weights()[3], 1837.5f) << "mode " << mode;  // 49 x 150 / 4
    }
}

// Exact edge point of sector k (cyclic), for the independent wedge reading.
void EdgePoint(double S, int k, double* x, double* y)
{
    const double q1 = S / 4, q2 = S / 2, q3 = 3 * S / 4;
    const double ex[] = {1, 1, 1, 1, 1, q1, q2, q3, S, S, S, S, S, q3, q2, q1};
    const double ey[] = {1, q1, q2, q3, S, S, S, S, S, q3, q2, q1, 1, 1, 1, 1};
    k = (k + 15) % 16;
    *x = ex[k];
    *y = ey[k];
}

// The angle swept from C by the edge from E(s-1) through E(s) to E(s+1).
bool SweptBy(double S, double X, double Y, int s, double px, double py)
{
    const auto angle = [&](int k) {
        double x, y;
        EdgePoint(S, k, &x, &y);
        return std::atan2(y - Y, x - X);
    };
    const auto wrap = [](double a) { return std::remainder(a, 2 * M_PI); };
    const double a = angle(s - 1);
    const double sweep = wrap(angle(s) - a) + wrap(angle(s + 1) - angle(s));
    const double t = std::atan2(py - Y, px - X) - a;
    const double from = std::fmod((sweep < 0 ? -t : t) + 4 * M_PI, 2 * M_PI);
    return from > 1e-9 && from < std::fabs(sweep) - 1e-9;
}

TEST(GlobalSectorTallies, WedgesCountExactlyTheEnemiesTheyCover)
{
    const int S = 100;
    // Among them commanders in corner triangles, whose corner wedge is wider
    // than a half plane, and on the quarter lines.
    const int commanders[][2] = {{50, 50}, {10, 12}, {3, 4}, {95, 97}, {25, 60}, {80, 75}, {33, 88}, {97, 3}};
    SectorScene scene(S);
    for (const auto& cmd : commanders) {
        const int X = cmd[0], Y = cmd[1];
        for (int px = 1; px <= S; px += 3) {
            for (int py = 1; py <= S; py += 3) {
                if (px == X && py == Y)
                    continue;
                scene.Place(X, Y);
                scene.AddEnemy(px, py);
                const std::set<int> seen = scene.SectorsCounting();
                for (int s = 1; s <= SectorCount; ++s) {
                    bool onRay = false;  // an enemy on a bounding ray may go either way
                    for (int k : {s - 1, s + 1}) {
                        double ex, ey;
                        EdgePoint(S, k, &ex, &ey);
                        onRay = onRay || (ex - X) * (py - Y) == (ey - Y) * (px - X);
                    }
                    if (!onRay) {
                        EXPECT_EQ(seen.count(s) == 1, SweptBy(S, X, Y, s, px, py))
                            << "commander (" << X << ", " << Y << ") enemy (" << px << ", " << py << ") sector " << s;
                    }
                }
            }
        }
    }
}

TEST(GlobalSectorTallies, AnEnemyBehindTheCommanderIsNeverCounted)
{
    SectorScene scene(100);
    // On the ray toward sector 1's edge point: inside sector 1, on the bounds of 16 and 2.
    scene.Place(50, 50);
    scene.AddEnemy(49, 49);
    EXPECT_EQ(scene.SectorsCounting(), (std::set<int>{1}));
    scene.Place(50, 50);
    scene.AddEnemy(48, 49);
    EXPECT_EQ(scene.SectorsCounting(), (std::set<int>{2, 3}));
}

TEST(GlobalSectorTallies, CommandersOnAnEdgeCountEveryEnemyInTheCollapsedSectors)
{
    SectorScene scene(100);
    const struct {
        int X, Y;
        std::set<int> collapsed;
    } cases[] = {{1, 40, {2, 3, 4}}, {100, 40, {10, 11, 12}}, {40, 100, {6, 7, 8}}, {40, 1, {14, 15, 16}}};
    for (const auto& c : cases) {
        scene.Place(c.X, c.Y);
        scene.AddEnemy(101 - c.X, 101 - c.Y);  // across the field
        const std::set<int> seen = scene.SectorsCounting();
        for (int s : c.collapsed)
            EXPECT_EQ(seen.count(s), 1u) << "commander (" << c.X << ", " << c.Y << ") sector " << s;
        EXPECT_GT(seen.size(), c.collapsed.size());
    }
}

TEST(GlobalSectorTallies, TalliesSplitByStateAndScaleToOne)
{
    SectorScene scene(100);
    scene.Place(50, 50);
    CGlobalCommander& gc = scene.doc->RedGlobal;
    scene.AddEnemy(60, 60, Dead);
    std::fill(&gc.SectorAliveTally[1][1], &gc.SectorAliveTally[1][17], 0.7f);  // last step's values
    scene.SectorsCounting();
    for (int s = 1; s <= SectorCount; ++s)
        ASSERT_EQ(gc.SectorAliveTally[1][s] + gc.SectorInjuredTally[1][s], 0.0f);

    scene.AddEnemy(90, 90, Injured);
    scene.AddEnemy(10, 10, Alive);
    scene.AddEnemy(12, 10, Alive);
    scene.SectorsCounting();
    EXPECT_EQ(*std::max_element(&gc.SectorAliveTally[1][1], &gc.SectorAliveTally[1][17]), 1.0f);
    EXPECT_EQ(gc.SectorInjuredTally[1][9], 1.0f);
    EXPECT_EQ(gc.SectorAliveTally[1][9], 0.0f);
    EXPECT_EQ(gc.SectorInjuredTally[1][1], 0.0f);
    // Two enemies in sector 1 against one in 16, each over its own area.
    const float* w = gc.SectorWeight[1];
    EXPECT_FLOAT_EQ(gc.SectorAliveTally[1][1] / gc.SectorAliveTally[1][16], (2 / w[1]) / (1 / w[16]));
}

TEST(GlobalSectorTallies, NearAndFarEnemiesAddTheirSwathAmounts)
{
    SectorScene scene(100);
    CGlobalCommander& gc = scene.doc->RedGlobal;
    gc.GC_frac_R[1] = 1.0f;
    gc.GC_w_swath[1] = 3.0f;
    gc.GC_w_swath[2] = 100.0f;  // stored, never added
    gc.GC_w_swath[3] = 0.25f;
    // As far as sector 9's edge point (100, 100): near, bounds included.
    scene.doc->AddRedSectorTally(1, 9, Alive, 100, 50, 100, 50);
    EXPECT_EQ(gc.SectorAliveTally[1][9], 3.0f);
    gc.GC_frac_R[1] = 0.5f;
    scene.doc->AddRedSectorTally(1, 9, Alive, 90, 50, 90, 50);
    EXPECT_EQ(gc.SectorAliveTally[1][9], 3.25f);
    scene.doc->AddRedSectorTally(1, 9, Injured, 60, 50, 62, 50);
    EXPECT_EQ(gc.SectorInjuredTally[1][9], 3.0f);
    // Slots outside the tables are ignored.
    scene.doc->AddRedSectorTally(11, 3, Alive, 1, 1, 1, 1);
    scene.doc->AddRedSectorTally(1, 17, Alive, 1, 1, 1, 1);
}

TEST(GlobalSectorTallies, BlueCountsRedAgentsAndCountsStayInsideTheTables)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->Battlefield.BattleSize = 100;
    doc->BlueLocal.NumLocalCommanders = 25;  // held to ten; the sanitizer build catches overruns
    doc->BlueLocal.CommanderAgent[1] = 2;
    doc->BlueLocal.CommanderAgent[2] = 9999;
    doc->BlueForce.AgentX[2] = 50;
    doc->BlueForce.AgentY[2] = 50;
    doc->RedForce.NumAgents = 5000;
    doc->RedForce.AgentX[1] = 90;
    doc->RedForce.AgentY[1] = 91;
    doc->RedForce.AgentState[1] = Alive;
    doc->BlueGlobal.GC_w_swath[3] = 1.0f;
    doc->ComputeBlueSectorWeights();
    doc->CountBlueSectors();
    EXPECT_EQ(doc->BlueGlobal.SectorWeight[1][3], 1225.0f);
    EXPECT_EQ(doc->BlueGlobal.SectorAliveTally[1][9], 1.0f);
    EXPECT_EQ(doc->RedGlobal.SectorAliveTally[1][9], 0.0f);
}

}  // namespace
}  // namespace brevimar
