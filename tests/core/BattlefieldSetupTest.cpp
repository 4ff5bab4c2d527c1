#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

constexpr int ScenarioSeed = -31415926;

int& Grid(CBrevimarDoc& doc, int x, int y) { return doc.Battlefield.AgentGrid[GridIndex(x, y)]; }
int& Terrain(CBrevimarDoc& doc, int x, int y) { return doc.Battlefield.TerrainType[GridIndex(x, y)]; }

int CountGrid(CBrevimarDoc& doc, int value)
{
    int n = 0;
    for (int cell = 0; cell < GridCells; ++cell)
        n += doc.Battlefield.AgentGrid[cell] == value;
    return n;
}

// RED: squads of 12 and 8 in two boxes; BLUE: 15 agents in one box. Random
// personalities, local command on both sides.
void TwoForces(CBrevimarDoc& doc)
{
    doc.RunMode = InteractiveMode;
    doc.InitialSeed = ScenarioSeed;
    CBattlefield& f = doc.Battlefield;
    f.BattleSize = 150;
    f.R_box_l[1] = 20, f.R_box_w[1] = 10, f.RED_cen_x[1] = 30, f.RED_cen_y[1] = 40;
    f.R_box_l[2] = 10, f.R_box_w[2] = 10, f.RED_cen_x[2] = 60, f.RED_cen_y[2] = 60;
    f.B_box_l[1] = 30, f.B_box_w[1] = 30, f.BLUE_cen_x[1] = 110, f.BLUE_cen_y[1] = 110;
    doc.RedForce.NumAgents = 20;
    doc.RedForce.NumSquads = 2;
    doc.RedForce.num_per_squad[1] = 12;
    doc.RedForce.num_per_squad[2] = 8;
    doc.BlueForce.NumAgents = 15;
    doc.BlueForce.num_per_squad[1] = 15;
    for (CLocalCommand* local : {&doc.RedLocal, &doc.BlueLocal}) {
        local->LocalCommandOn = 1;
        local->NumLocalCommanders = 2;
        local->undr_cmd[1] = 3;
        local->undr_cmd[2] = 4;
    }
}

// No agents: only the terrain and the fixed geometry are laid.
void NoAgents(CBrevimarDoc& doc)
{
    doc.RunMode = GeneticAlgorithmMode;
    doc.NumRed() = 0;
    doc.NumBlue() = 0;
}

struct Snapshot {
    std::vector<int> Positions;
    std::vector<float> Weights;
    std::vector<int> Roles;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(CBrevimarDoc& doc)
{
    Snapshot s;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(side);
        s.Positions.push_back(f.NumAgents);
        for (int i = 1; i <= f.NumAgents; ++i) {
            s.Positions.insert(s.Positions.end(), {f.AgentSquad[i], f.AgentX[i], f.AgentY[i], f.AgentState[i]});
            for (int k = W1; k < WeightSlots; ++k)
                s.Weights.insert(s.Weights.end(), {f.AliveWeight[k][i], f.InjuredWeight[k][i]});
        }
        const CLocalCommand& lc = doc.Local(side);
        for (int c = 1; c <= 10; ++c) {
            s.Roles.push_back(lc.CommanderAgent[c]);
            s.Roles.insert(s.Roles.end(), lc.Subordinates[c] + 1, lc.Subordinates[c] + SubordinateSlots);
        }
        s.Roles.insert(s.Roles.end(), lc.CommandRole + 1, lc.CommandRole + AgentSlots);
        s.Weights.push_back(lc.w7);
    }
    return s;
}

std::string WriteFile(const std::string& name, const std::string& text) { return testing::WriteTemp(name, text); }

TEST(BattlefieldSetup, TerrainBlocksCoverTheirExtentsClippedToTheBattlefield)
{
    testing::TestDocument doc;
    NoAgents(*doc);
    CBattlefield& f = doc->Battlefield;
    f.TerrainMode = 1;
    f.CellTerrainDefined = 1;
    f.terrain_blocks = 4;
    auto block = [&](int b, int type, int l, int w, int x, int y, int used) {
        f.TerrainBlockType[b] = type;
        f.TerrainBlockLength[b] = l;
        f.TerrainBlockWidth[b] = w;
        f.TerrainBlockX[b] = x;
        f.TerrainBlockY[b] = y;
        f.TerrainBlockUsed[b] = used;
    };
    block(1, Pillar, 4, 3, 20, 30, 1);  // x 18..22, y 29..32
    block(2, PassableI, 1, 1, 100, 100, 1);  // 3 x 3
    block(3, Lava, 6, 6, 1, 150, 1);  // x -2..4, y 147..153: clipped
    block(4, Lava, 9, 9, 70, 70, 0);  // not laid
    doc->SetupBattlefield();

    EXPECT_EQ(f.CellTerrainDefined, 0);
    EXPECT_EQ(CountGrid(*doc, CellTerrain), 20 + 9 + 16);
    EXPECT_EQ(Terrain(*doc, 18, 29), Pillar);
    EXPECT_EQ(Terrain(*doc, 22, 32), Pillar);
    EXPECT_EQ(Grid(*doc, 17, 30), CellFree);
    EXPECT_EQ(Grid(*doc, 20, 33), CellFree);
    EXPECT_EQ(Grid(*doc, 20, 28), CellFree);
    EXPECT_EQ(Terrain(*doc, 99, 101), PassableI);
    EXPECT_EQ(Grid(*doc, 101, 99), CellTerrain);
    EXPECT_EQ(Terrain(*doc, 4, 147), Lava);
    EXPECT_EQ(Terrain(*doc, 1, 150), Lava);
    EXPECT_EQ(f.AgentGrid[GridIndex(5, 0)], CellFree) << "(4, 151) would land here";
    EXPECT_EQ(Grid(*doc, 70, 70), CellFree);

    // Later blocks overwrite earlier ones.
    f.terrain_blocks = 5;
    block(5, PassableIII, 2, 2, 22, 32, 1);
    doc->SetupBattlefield();
    EXPECT_EQ(Terrain(*doc, 22, 32), PassableIII);
    EXPECT_EQ(Terrain(*doc, 20, 30), Pillar);
}

TEST(BattlefieldSetup, HeldTerrainCellsStayInTerrainFileMode)
{
    testing::TestDocument doc;
    NoAgents(*doc);
    doc->Battlefield.TerrainMode = 2;
    doc->Battlefield.CellTerrainDefined = 1;
    Terrain(*doc, 5, 6) = Lava;
    Terrain(*doc, 7, 8) = PassableII;
    doc->SetupBattlefield();
    EXPECT_TRUE(doc.Host.FileRequests.empty());
    EXPECT_EQ(Terrain(*doc, 5, 6), Lava);
    EXPECT_EQ(Grid(*doc, 5, 6), CellTerrain);
    EXPECT_EQ(Grid(*doc, 7, 8), CellTerrain);
    EXPECT_EQ(CountGrid(*doc, CellTerrain), 2);
}

struct TerrainFile : ::testing::Test {
    testing::TestDocument doc;
    void SetUp() override
    {
        NoAgents(*doc);
        doc->Battlefield.BattleSize = 100;
        doc->Battlefield.TerrainMode = 2;
        doc->Battlefield.CellTerrainDefined = 0;
    }
    void Choose(const std::string& path) { doc.Host.FileChoices.push_back(path); }
};

TEST_F(TerrainFile, RecordsAreStoredAtTheirCells)
{
    Choose(WriteFile("good.ter", "80\n2\n3 4\n2 1\n100 100\n2 5"));
    doc->SetupBattlefield();
    ASSERT_EQ(doc.Host.FileRequests.size(), 1u);
    EXPECT_EQ(doc.Host.FileRequests[0].Filter, "Brevimar Terrain Input Data Files (*.ter)|*.ter||");
    EXPECT_EQ(doc.Host.FileRequests[0].DefaultExtension, "ter");
    EXPECT_EQ(doc->Battlefield.CellTerrainDefined, 1);
    EXPECT_EQ(Terrain(*doc, 3, 4), Lava);
    EXPECT_EQ(Grid(*doc, 100, 100), CellTerrain);
    EXPECT_EQ(Terrain(*doc, 100, 100), PassableIII);
    EXPECT_TRUE(doc.Host.Messages.empty());

    // Once held, the cells are kept without asking again.
    doc->SetupBattlefield();
    EXPECT_EQ(doc.Host.FileRequests.size(), 1u);
    EXPECT_EQ(Terrain(*doc, 3, 4), Lava);
}

TEST_F(TerrainFile, NoRecordsOnlyMarksTheTerrainHeld)
{
    Choose(WriteFile("empty.ter", "100\n0"));
    doc->SetupBattlefield();
    EXPECT_EQ(doc->Battlefield.CellTerrainDefined, 1);
    EXPECT_EQ(CountGrid(*doc, CellTerrain), 0);
}

// Outside a batch's runs every set-up asks again.
TEST_F(TerrainFile, CancelReadsNothing)
{
    for (std::size_t setUp = 1; setUp <= 2; ++setUp) {
        doc->SetupBattlefield();
        EXPECT_EQ(doc.Host.FileRequests.size(), setUp);
        EXPECT_EQ(doc->Battlefield.CellTerrainDefined, 0);
        EXPECT_TRUE(doc.Host.Messages.empty());
    }
}

TEST_F(TerrainFile, FaultsAreReportedNamingTheFileAndNothingIsStored)
{
    const std::pair<std::string, std::string> cases[] = {
        {"missing.ter", "Error: cannot open input file."},
        {"large.ter", "Error: current battlefield size is too small."},
        {"off.ter", "off the 100 x 100 battlefield"},
        {"short.ter", "ends or holds an unreadable value"},
        {"negative.ter", "no valid count"},
        {"type.ter", "terrain type 9"},
        {"word.ter", "does not begin with a battlefield size"},
        {"folder.ter", "Error: cannot open input file."},
        {"lava_free.ter", "with the occupancy value 0 and the terrain type 1, which disagree"},
        {"agent.ter", "with the occupancy value 1 and the terrain type 0, which disagree"},
        // One byte past the 16 MiB any text file may hold: refused from its
        // size, unread.
        {"huge.ter", " is refused: the file holds 16777217 bytes, more than the 16777216 any file of its kind may "
                     "hold. No terrain was read from it."},
        // A first word far longer than any number, refused as such (taken
        // whole it would be the size 100, of a file of no cells).
        {"padded.ter", "does not begin with a battlefield size"},
    };
    WriteFile("large.ter", "150\n1\n3 4\n2 1");
    WriteFile("off.ter", "100\n2\n3 4\n2 1\n101 5\n2 1");
    WriteFile("short.ter", "100\n3\n3 4\n2 1\n5 5\n2");
    WriteFile("negative.ter", "100\n-1");
    WriteFile("type.ter", "100\n1\n3 4\n2 9");
    WriteFile("word.ter", "size 100");
    std::filesystem::create_directories(std::filesystem::path(WriteFile(".probe", "")).parent_path() / "folder.ter");
    WriteFile("lava_free.ter", "100\n2\n3 4\n2 1\n7 7\n0 1");
    WriteFile("agent.ter", "100\n1\n3 4\n1 0");
    testing::WriteSparse("huge.ter", (16u << 20) + 1);
    WriteFile("padded.ter", std::string(1000, '0') + "100\n0");
    for (const auto& [name, message] : cases) {
        doc.Host.Messages.clear();
        doc.Host.Logs.clear();
        const std::string path = (std::filesystem::path(WriteFile(".probe", "")).parent_path() / name).string();
        Choose(path);
        const std::uint64_t before = testing::BytesReadSoFar();
        doc->SetupBattlefield();
        if (name == "huge.ter") {
            EXPECT_LT(testing::BytesReadSoFar() - before, 1u << 20);  // not the file
        }
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << name;
        EXPECT_TRUE(doc.Host.SawMessageContaining(message)) << doc.Host.Messages[0].Text;
        EXPECT_TRUE(doc.Host.SawMessageContaining(path)) << doc.Host.Messages[0].Text;
        // Every refusal is also kept on the error stream.
        EXPECT_EQ(doc.Host.Logs, std::vector<std::string>{doc.Host.Messages[0].Text}) << name;
        EXPECT_EQ(doc->Battlefield.CellTerrainDefined, 0) << name;
        EXPECT_EQ(Terrain(*doc, 3, 4), OpenGround) << name;
        EXPECT_EQ(CountGrid(*doc, CellTerrain), 0) << name;
    }
}

// Held empty, a terrain file would read as one of no size: a pipe that
// nothing writes is waited on a moment, then refused, and no terrain is held.
TEST_F(TerrainFile, APipeThatNothingWritesIsRefusedAfterAMoment)
{
    const std::string path = testing::UnfedPipe("silent.ter");
    Choose(path);
    const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
        doc->SetupBattlefield();
        std::string said;
        for (const auto& message : doc.Host.Messages)
            said += message.Text + "|";
        return said + " held " + std::to_string(doc->Battlefield.CellTerrainDefined);
    });
    EXPECT_EQ(answer, "The terrain file " + path +
                          " is refused: nothing was written to it within 2 seconds. No terrain was read from it.| held 0");
}

TEST(BattlefieldSetup, EntropyBoxesAt150Cells)
{
    testing::TestDocument doc;
    NoAgents(*doc);
    doc->SetupBattlefield();
    const CStatisticsParameters& s = doc->Statistics;
    auto expectBox = [](const EntropyBox& b, int xLo, int xHi, int yLo, int yHi) {
        EXPECT_EQ(b.XLo, xLo);
        EXPECT_EQ(b.XHi, xHi);
        EXPECT_EQ(b.YLo, yLo);
        EXPECT_EQ(b.YHi, yHi);
    };
    expectBox(s.EntropyBoxes16[1], 0, 37, 112, 149);
    expectBox(s.EntropyBoxes16[4], 112, 149, 112, 149);
    expectBox(s.EntropyBoxes16[16], 112, 149, 0, 37);
    expectBox(s.EntropyBoxes16[6], 37, 74, 75, 112);
    // 150 / 8 = 18.75 and 150 / 16 = 9.375.
    expectBox(s.EntropyBoxes64[1], 0, 18, 131, 149);
    expectBox(s.EntropyBoxes64[64], 131, 149, 0, 18);
    expectBox(s.EntropyBoxes256[256], 140, 149, 0, 9);
    expectBox(s.EntropyBoxes256[18], 9, 18, 131, 140);
}

TEST(BattlefieldSetup, SectorEdgePointsAndProfiles)
{
    testing::TestDocument doc;
    NoAgents(*doc);
    doc->RedGlobal.GlobalCommandOn = 1;
    doc->BlueGlobal.GlobalCommandOn = 1;
    doc->SetupBattlefield();
    const int x[17] = {0, 1, 1, 1, 1, 1, 37, 75, 112, 150, 150, 150, 150, 150, 112, 75, 37};
    const int y[17] = {0, 1, 37, 75, 112, 150, 150, 150, 150, 150, 112, 75, 37, 1, 1, 1, 1};
    const float byDistance[9] = {1.0f, 0.765f, 0.5625f, 0.391f, 0.25f, 0.14f, 0.0625f, 0.015625f, 0.0f};
    for (int s = 1; s <= 16; ++s) {
        EXPECT_EQ(doc->RedGlobal.SectorEdgeX[s], x[s]) << s;
        EXPECT_EQ(doc->RedGlobal.SectorEdgeY[s], y[s]) << s;
        EXPECT_EQ(doc->BlueGlobal.SectorEdgeX[s], x[s]) << s;
        const int red = std::min(s - 1, 17 - s);
        const int blue = std::min(std::abs(s - 9), 16 - std::abs(s - 9));
        EXPECT_EQ(doc->RedGlobal.SectorProfile[s], byDistance[red]) << s;
        EXPECT_EQ(doc->BlueGlobal.SectorProfile[s], byDistance[blue]) << s;
    }
    EXPECT_EQ(doc->RedGlobal.SectorProfile[9], 0.0f);
    EXPECT_EQ(doc->BlueGlobal.SectorProfile[9], 1.0f);
    EXPECT_EQ(doc->BlueGlobal.SectorProfile[14], 0.14f);
}

// Every living agent on its own free cell inside the battlefield, marked 1 in
// the grid, never on terrain.
void ExpectSoundDeployment(CBrevimarDoc& doc)
{
    std::set<std::pair<int, int>> cells;
    int placed = 0;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(side);
        for (int i = 1; i <= f.NumAgents; ++i) {
            if (f.AgentState[i] == Dead)
                continue;
            ++placed;
            ASSERT_GE(f.AgentX[i], 1);
            ASSERT_LE(f.AgentX[i], doc.Battlefield.BattleSize);
            ASSERT_GE(f.AgentY[i], 1);
            ASSERT_LE(f.AgentY[i], doc.Battlefield.BattleSize);
            EXPECT_TRUE(cells.insert({f.AgentX[i], f.AgentY[i]}).second) << "two agents share a cell";
            EXPECT_EQ(Grid(doc, f.AgentX[i], f.AgentY[i]), CellAgent);
            EXPECT_EQ(Terrain(doc, f.AgentX[i], f.AgentY[i]), OpenGround);
        }
    }
    EXPECT_EQ(CountGrid(doc, CellAgent), placed);
}

TEST(BattlefieldSetup, RandomDeploymentStaysInTheBoxesAndOffTerrain)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    CBattlefield& f = doc->Battlefield;
    f.RED_recon_flag = 1;
    doc->RedForce.recon_time = 6;
    doc->RedForce.A_S_RANGE[1] = 5;  // 7.07106733f, not the float product 7.07106781f
    // A wall across most of RED's first box.
    f.TerrainMode = 1;
    f.terrain_blocks = 1;
    f.TerrainBlockType[1] = Lava;
    f.TerrainBlockLength[1] = 18;
    f.TerrainBlockWidth[1] = 6;
    f.TerrainBlockX[1] = 30;
    f.TerrainBlockY[1] = 40;
    f.TerrainBlockUsed[1] = 1;
    doc->InitializeForces();
    doc->SetupBattlefield();

    ExpectSoundDeployment(*doc);
    EXPECT_TRUE(doc.Host.Messages.empty());
    const CForce& red = doc->RedForce;
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(red.AgentState[i], Alive);
        EXPECT_EQ(red.ReconstitutionTimer[i], 6);
        if (red.AgentSquad[i] == 1) {
            EXPECT_TRUE(red.AgentX[i] >= 21 && red.AgentX[i] <= 40) << red.AgentX[i];
            EXPECT_TRUE(red.AgentY[i] >= 36 && red.AgentY[i] <= 45) << red.AgentY[i];
        } else {
            EXPECT_TRUE(red.AgentX[i] >= 56 && red.AgentX[i] <= 65) << red.AgentX[i];
        }
        EXPECT_EQ(red.DistanceNormaliser[i], static_cast<float>(red.SensorRange[i] * 1.4142135));
    }
    EXPECT_EQ(doc->BlueForce.ReconstitutionTimer[1], 0);
}

TEST(BattlefieldSetup, TheSameSeedGivesTheSameBattle)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    doc->InitializeForces();
    doc->SetupBattlefield();
    const Snapshot first = Take(*doc);
    ExpectSoundDeployment(*doc);

    for (int i = 0; i < 25; ++i)
        doc->DrawUniform(&doc->RandomState);
    doc->InitializeForces();
    doc->SetupBattlefield();
    EXPECT_TRUE(Take(*doc) == first);

    testing::TestDocument other;
    TwoForces(*other);
    other->InitializeForces();
    other->SetupBattlefield();
    EXPECT_TRUE(Take(*other) == first);
}

// Replays the draws in their order: one discarded, then u1, u2 per attempt for
// RED's agents and BLUE's, then RED's commander and subordinate, then BLUE's.
TEST(BattlefieldSetup, DeploymentAndAppointmentDrawInTheirOrder)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->InitialSeed = ScenarioSeed;
    CBattlefield& field = doc->Battlefield;
    const int centre[2] = {10, 20};
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc->Force(side);
        f.NumAgents = 3;
        f.NumSquads = 1;
        f.num_per_squad[1] = 3;
        CLocalCommand& lc = doc->Local(side);
        lc.LocalCommandOn = 1;
        lc.NumLocalCommanders = 1;
        lc.undr_cmd[1] = side == Side::Red ? 1 : 0;
    }
    // 4 x 3 boxes: small enough that some attempts hit a taken cell.
    field.R_box_l[1] = field.B_box_l[1] = 4;
    field.R_box_w[1] = field.B_box_w[1] = 3;
    field.RED_cen_x[1] = field.RED_cen_y[1] = centre[0];
    field.BLUE_cen_x[1] = field.BLUE_cen_y[1] = centre[1];
    doc->InitializeForces();
    CUniformGenerator generator = doc->Generator;
    int seed = doc->RandomState;
    doc->SetupBattlefield();

    generator.Draw(&seed);
    std::set<std::pair<int, int>> taken;
    for (Side side : {Side::Red, Side::Blue}) {
        const int c = centre[side == Side::Red ? 0 : 1];
        for (int i = 1; i <= 3; ++i) {
            std::pair<int, int> cell;
            do {
                const double u1 = generator.Draw(&seed);
                const double u2 = generator.Draw(&seed);
                cell = {static_cast<int>(u1 * 4 + (c - 2) + 1), static_cast<int>(u2 * 3 + (c - 1) + 1)};
            } while (taken.count(cell) != 0);
            taken.insert(cell);
            EXPECT_EQ(doc->Force(side).AgentX[i], cell.first) << i;
            EXPECT_EQ(doc->Force(side).AgentY[i], cell.second) << i;
        }
    }
    for (Side side : {Side::Red, Side::Blue}) {
        std::set<int> roles;
        auto drawFree = [&]() {
            int a;
            do
                a = static_cast<int>(generator.Draw(&seed) * 3 + 1);
            while (roles.count(a) != 0);
            roles.insert(a);
            return a;
        };
        EXPECT_EQ(doc->Local(side).CommanderAgent[1], drawFree());
        if (side == Side::Red) {
            EXPECT_EQ(doc->RedLocal.Subordinates[1][1], drawFree());
        }
    }
    EXPECT_EQ(doc->RandomState, seed);
}

TEST(BattlefieldSetup, CornerModeDrawsBothSidesFromOneCentralSquare)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    CBattlefield& f = doc->Battlefield;
    f.init_dist = 2;
    for (int k = 1; k <= 2; ++k) {
        f.R_box_l[k] = f.R_box_w[k] = 40;
        f.B_box_l[k] = f.B_box_w[k] = 40;
    }
    doc->InitializeForces();
    doc->SetupBattlefield();
    ExpectSoundDeployment(*doc);
    // lo = (150 - 40) / 2 = 55, hi = (150 + 40) / 2 = 95: cells 55..94.
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc->Force(side);
        for (int i = 1; i <= force.NumAgents; ++i) {
            EXPECT_TRUE(force.AgentX[i] >= 55 && force.AgentX[i] <= 94) << force.AgentX[i];
            EXPECT_TRUE(force.AgentY[i] >= 55 && force.AgentY[i] <= 94) << force.AgentY[i];
        }
    }
}

TEST(BattlefieldSetup, ABoxTooSmallForItsSquadIsReportedAndDoesNotHang)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    doc->Battlefield.R_box_l[2] = 2;
    doc->Battlefield.R_box_w[2] = 3;  // 6 cells for 8 agents
    doc->InitializeForces();
    doc->SetupBattlefield();

    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_TRUE(doc.Host.SawMessageContaining("RED squad 2 has 6 free cells for 8 agents"))
        << doc.Host.Messages[0].Text;
    ExpectSoundDeployment(*doc);
    int unplaced = 0;
    for (int i = 1; i <= 20; ++i)
        if (doc->RedForce.AgentState[i] == Dead) {
            ++unplaced;
            EXPECT_EQ(doc->RedForce.AgentSquad[i], 2);
            EXPECT_EQ(doc->RedForce.AgentX[i], 0);
        }
    EXPECT_EQ(unplaced, 2);
}

// Boxes far larger than the battlefield are drawn over the part on the
// field: all 300 + 300 agents find a cell of the 30 x 30 field, at once.
TEST(BattlefieldSetup, TheFirstSetUpLinksEverySquadPairUnlessTheMatricesAreSet)
{
    testing::TestDocument doc;
    NoAgents(*doc);
    doc->SetupBattlefield();
    EXPECT_EQ(doc->CommMatricesSet, 1);
    for (Side side : {Side::Red, Side::Blue}) {
        const auto& m = doc->Force(side).CommMatrix;
        for (int a = 0; a <= MaxSquads; ++a)
            for (int b = 0; b <= MaxSquads; ++b)
                EXPECT_EQ(m[a][b], a >= 1 && b >= 1 ? 1 : 0) << a << ", " << b;
    }
    // Once set, later set-ups keep the matrices as they stand.
    doc->RedForce.CommMatrix[2][3] = 0;
    doc->SetupBattlefield();
    EXPECT_EQ(doc->RedForce.CommMatrix[2][3], 0);
    doc->CommMatricesSet = 0;
    doc->SetupBattlefield();
    EXPECT_EQ(doc->RedForce.CommMatrix[2][3], 1);
}

TEST(BattlefieldSetup, HugeBoxesAreClippedToTheBattlefield)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    CBattlefield& f = doc->Battlefield;
    f.BattleSize = 30;
    f.R_box_l[1] = f.R_box_w[1] = 2000000000;
    f.RED_cen_x[1] = f.RED_cen_y[1] = 15;
    f.B_box_l[1] = 40, f.B_box_w[1] = 1000000;  // hangs over every edge
    f.BLUE_cen_x[1] = 29, f.BLUE_cen_y[1] = 2;
    for (Side side : {Side::Red, Side::Blue}) {
        doc->Force(side).NumAgents = 300;
        doc->Force(side).num_per_squad[1] = 300;
    }
    doc->InitializeForces();
    doc->SetupBattlefield();
    EXPECT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(CountGrid(*doc, CellAgent), 600);
    ExpectSoundDeployment(*doc);
}

// The runs of a batch are set up unattended: each kind of problem is said
// once, the first time, whatever squad or counts it comes with, in a notice
// that nobody has to answer, and says that later runs may meet it too. A
// set-up outside a batch's runs (interactive, or a command in a batch mode
// while no batch runs) says every problem it meets in a box.
TEST(BattlefieldSetup, ABatchSaysEachKindOfProblemOnce)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    CBattlefield& f = doc->Battlefield;
    const std::string later = "\nLater runs of this batch may meet this problem too;";
    // Counts from TwoForces: RED squad 2 holds 8 agents, BLUE 15 agents, RED 20.
    struct Case {
        const char* What;
        int Mode, Busy;
        std::function<void()> Change;
        std::vector<std::string> Said;  // a fragment of each message, in order
    } cases[] = {
        {"a 2 x 3 box", MultipleTimeSeriesMode, 1, [&] { f.R_box_l[2] = 2, f.R_box_w[2] = 3; },
         {"RED squad 2 has 6 free cells for 8 agents"}},
        {"the same box again", MultipleTimeSeriesMode, 1, [] {}, {}},
        {"other counts, the same kind", MultipleTimeSeriesMode, 1, [&] { f.R_box_l[2] = 2, f.R_box_w[2] = 2; }, {}},
        {"another squad's box", MultipleTimeSeriesMode, 1, [&] { f.B_box_l[1] = 3, f.B_box_w[1] = 3; }, {}},
        // 3 commanders + 10 + 10 subordinates = 23 agents for BLUE's 15.
        {"BLUE's commands", MultipleTimeSeriesMode, 1,
         [&] { doc->BlueLocal.NumLocalCommanders = 3, doc->BlueLocal.undr_cmd[1] = doc->BlueLocal.undr_cmd[2] = 10; },
         {"BLUE has 3 local commanders"}},
        // 2 commanders + 30 + 4 subordinates = 36 agents for RED's 20.
        {"RED's commands", GeneticAlgorithmMode, 1, [&] { doc->RedLocal.undr_cmd[1] = 30; },
         {"RED has 2 local commanders"}},
        {"a sweep's runs count as a batch's too", FitnessLandscapeMode, 1, [] {}, {}},
        {"a command in a batch mode", GeneticAlgorithmMode, 0, [] {},
         {"RED squad 2 has 4 free cells", "RED has 2 local", "BLUE has 3 local"}},
        {"interactive", InteractiveMode, 0, [] {},
         {"RED squad 2 has 4 free cells", "RED has 2 local", "BLUE has 3 local"}},
    };
    for (const Case& c : cases) {
        c.Change();
        doc->RunMode = c.Mode;
        doc->InitializeForces();
        doc->Experiment.GABusy = c.Mode == GeneticAlgorithmMode ? c.Busy : 0;
        doc->Experiment.LandscapeBusy = c.Mode == FitnessLandscapeMode ? c.Busy : 0;
        doc->Series.MultiRunBusy = c.Mode == MultipleTimeSeriesMode ? c.Busy : 0;
        doc.Host.Messages.clear();
        doc.Host.Notices.clear();
        doc->SetupBattlefield();
        const auto& said = c.Busy == 1 ? doc.Host.Notices : doc.Host.Messages;
        EXPECT_TRUE((c.Busy == 1 ? doc.Host.Messages : doc.Host.Notices).empty()) << c.What;
        ASSERT_EQ(said.size(), c.Said.size()) << c.What;
        for (std::size_t k = 0; k < c.Said.size(); ++k) {
            const std::string& text = said[k].Text;
            EXPECT_NE(text.find(c.Said[k]), std::string::npos) << c.What << ": " << text;
            EXPECT_EQ(text.find(later) != std::string::npos, c.Busy == 1) << c.What << ": " << text;
        }
    }
}

TEST(BattlefieldSetup, AgentsWithoutSquadsOrBoxesDoNotHang)
{
    // A document nothing was loaded into: every agent's box is the single cell (1, 1).
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->SetupBattlefield();
    EXPECT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_EQ(doc.Host.Messages[0].Text,
              "Setting up the new document's scenario:\nNot every agent can be deployed:\n- the deployment box of "
              "RED agents without a squad, BLUE agents without a squad has 1 free cell for 20 agents\nAgents that "
              "find no free cell are left off the battlefield, dead.");
    // A scenario read from a file is named.
    doc->InputFileName = "field.dat";
    doc->SetupBattlefield();
    ASSERT_EQ(doc.Host.Messages.size(), 2u);
    EXPECT_TRUE(doc.Host.Messages[1].Text.starts_with("Setting up field.dat:\n")) << doc.Host.Messages[1].Text;
    EXPECT_EQ(doc->RedForce.AgentX[1], 1);
    EXPECT_EQ(doc->RedForce.AgentState[1], Alive);
    EXPECT_EQ(CountGrid(*doc, CellAgent), 1);
    ExpectSoundDeployment(*doc);
}

TEST(BattlefieldSetup, OverlappingBoxesThatCannotHoldEveryoneEndToo)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    CBattlefield& f = doc->Battlefield;
    // RED squad 2 (8 agents) in a 3 x 3 box that RED squad 1 fills first.
    f.R_box_l[1] = 4, f.R_box_w[1] = 3, f.RED_cen_x[1] = 60, f.RED_cen_y[1] = 60;
    f.R_box_l[2] = 3, f.R_box_w[2] = 3, f.RED_cen_x[2] = 60, f.RED_cen_y[2] = 60;
    doc->RedForce.num_per_squad[1] = 12;
    doc->InitializeForces();
    doc->SetupBattlefield();
    EXPECT_FALSE(doc.Host.Messages.empty());
    ExpectSoundDeployment(*doc);
}

TEST(BattlefieldSetup, LocalCommandersAndSubordinatesAreAppointed)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    doc->InitializeForces();
    doc->SetupBattlefield();
    for (Side side : {Side::Red, Side::Blue}) {
        const CLocalCommand& lc = doc->Local(side);
        std::set<int> appointed;
        for (int c = 1; c <= 2; ++c) {
            const int a = lc.CommanderAgent[c];
            ASSERT_GE(a, 1);
            EXPECT_EQ(lc.CommandRole[a], LocalCommander);
            EXPECT_EQ(lc.CommanderNumberOf[a], c);
            EXPECT_EQ(lc.CommanderOf[a], 0);
            EXPECT_TRUE(appointed.insert(a).second);
            EXPECT_EQ(lc.SubordinateCount[c], c == 1 ? 3 : 4);
            for (int j = 1; j <= lc.SubordinateCount[c]; ++j) {
                const int b = lc.Subordinates[c][j];
                EXPECT_EQ(lc.CommandRole[b], Subordinate);
                EXPECT_EQ(lc.CommanderOf[b], c);
                EXPECT_TRUE(appointed.insert(b).second);
            }
            EXPECT_EQ(lc.Subordinates[c][lc.SubordinateCount[c] + 1], 0);
        }
        int roles = 0;
        for (int i = 1; i <= MaxAgents; ++i)
            roles += lc.CommandRole[i] != NoCommandRole;
        EXPECT_EQ(roles, 9);
    }
    EXPECT_EQ(doc->RedForce.HitCount[3], 0);
}

TEST(BattlefieldSetup, CommandsLargerThanTheForceAreReportedAndFilledInOrder)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    doc->BlueLocal.NumLocalCommanders = 3;
    doc->BlueLocal.undr_cmd[1] = 10;
    doc->BlueLocal.undr_cmd[2] = 10;  // 3 commanders and 20 subordinates for 15 agents
    doc->BlueForce.HitCount[4] = 2;
    doc->InitializeForces();
    doc->SetupBattlefield();
    EXPECT_TRUE(doc.Host.SawMessageContaining("BLUE has 3 local commanders and their subordinates, 23 agents in "
                                              "all, but only 15 agents.\n"));
    const CLocalCommand& lc = doc->BlueLocal;
    EXPECT_EQ(lc.SubordinateCount[1], 10);
    EXPECT_EQ(lc.SubordinateCount[2], 3);
    EXPECT_EQ(lc.Subordinates[2][4], 0);
    EXPECT_EQ(lc.CommanderAgent[3], 0);
    EXPECT_EQ(lc.SubordinateCount[3], 0);
    int roles = 0;
    for (int i = 1; i <= 15; ++i)
        roles += lc.CommandRole[i] != NoCommandRole;
    EXPECT_EQ(roles, 15);
    EXPECT_EQ(doc->BlueForce.HitCount[4], 0);

    testing::TestDocument one;
    TwoForces(*one);
    one->BlueForce.NumAgents = 1;
    one->BlueLocal.NumLocalCommanders = 3;  // and 3 + 4 subordinates
    one->InitializeForces();
    one->SetupBattlefield();
    EXPECT_TRUE(one.Host.SawMessageContaining("10 agents in all, but only 1 agent.\n"));
}

TEST(BattlefieldSetup, AgentFileDeploymentDropsTheDeadAndTheBlockedAndRenumbers)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->DeploymentSource = AgentFileDeployment;
    doc->Battlefield.BattleSize = 50;
    doc->NumBlue() = 0;
    Grid(*doc, 9, 9) = CellAgent;  // left from an earlier deployment, on terrain it keeps
    Terrain(*doc, 9, 9) = Lava;
    Grid(*doc, 5, 5) = CellTerrain;
    Terrain(*doc, 5, 5) = Pillar;
    CForce& red = doc->RedForce;
    struct Record {
        int state, squad, x, y;
    };
    const Record records[] = {
        {Alive, 1, 10, 10}, {Dead, 1, 11, 11}, {Injured, 2, 5, 5},  {Injured, 2, 12, 12},
        {Alive, 3, 10, 10}, {Alive, 2, 51, 3}, {Alive, 1, 9, 9},
    };
    int r = 1;
    for (const Record& rec : records) {
        red.StoredAgentState[r] = rec.state;
        red.StoredAgentSquad[r] = rec.squad;
        red.StoredAgentX[r] = rec.x;
        red.StoredAgentY[r] = rec.y;
        ++r;
    }
    red.NumAgents = 7;
    doc->SetupBattlefield();

    // Kept: records 1 and 4; record 7 stands on the terrain the earlier
    // agent left, which stays.
    ASSERT_EQ(red.NumAgents, 2);
    EXPECT_EQ(red.AgentX[1], 10);
    EXPECT_EQ(red.AgentState[2], Injured);
    EXPECT_EQ(red.AgentX[2], 12);
    EXPECT_EQ(red.AgentSquad[2], 2);
    EXPECT_EQ(Terrain(*doc, 9, 9), Lava);
    EXPECT_EQ(Grid(*doc, 9, 9), CellFree);
    EXPECT_EQ(Grid(*doc, 5, 5), CellTerrain);
    EXPECT_EQ(CountGrid(*doc, CellAgent), 2);
    ExpectSoundDeployment(*doc);
}

// Records whose squads interleave (1, 2, 1, 2) after a force set-up that
// numbered the agents squad by squad: each agent takes its own squad's values.
TEST(BattlefieldSetup, AgentFileAgentsTakeTheirOwnSquadsValues)
{
    testing::TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->Battlefield.BattleSize = 50;
    doc->NumBlue() = 0;
    CForce& red = doc->RedForce;
    red.NumAgents = 4;
    red.NumSquads = 2;
    red.num_per_squad[1] = red.num_per_squad[2] = 2;
    red.personality = 1;
    red.A_S_RANGE[1] = 3, red.A_S_RANGE[2] = 7;
    red.I_F_RANGE[1] = 1, red.I_F_RANGE[2] = 4;
    red.w1_a[1] = 1.0f, red.w2_a[2] = 1.0f;
    doc->InitializeForces();  // agents 1, 2 in squad 1; 3, 4 in squad 2
    const int squads[] = {0, 1, 2, 1, 2};
    for (int r = 1; r <= 4; ++r) {
        red.StoredAgentState[r] = r == 4 ? Injured : Alive;
        red.StoredAgentSquad[r] = squads[r];
        red.StoredAgentX[r] = 10 + r;
        red.StoredAgentY[r] = 10;
    }
    doc->DeploymentSource = AgentFileDeployment;
    doc->SetupBattlefield();

    ASSERT_EQ(red.NumAgents, 4);
    const struct {
        int sensor, fire;
        float w1, w2;
    } expected[] = {{}, {3, 0, 1, 0}, {7, 0, 0, 1}, {3, 0, 1, 0}, {0, 4, 0, 1}};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(red.SensorRange[i], expected[i].sensor) << i;
        EXPECT_EQ(red.FireRange[i], expected[i].fire) << i;  // agent 4 is injured
        EXPECT_EQ(red.AliveWeight[W1][i], expected[i].w1) << i;
        EXPECT_EQ(red.AliveWeight[W2][i], expected[i].w2) << i;
        EXPECT_EQ(doc->BaseCopies(Side::Red).BaseSensorRangeAlive[i], red.A_S_RANGE[squads[i]]) << i;
    }
    EXPECT_EQ(red.DistanceNormaliser[2], static_cast<float>(7 * 1.4142135));
}

TEST(BattlefieldSetup, FirstFrameIsCapturedInInteractiveRuns)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    doc->InitializeForces();
    doc->RunCaptureOn = 1;
    doc->CapturedStep[0] = 9;
    doc->SetupBattlefield();
    EXPECT_EQ(doc->CapturedStep[0], 0);
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(doc->Capture(RedCaptureState, 0, i), Alive);
        EXPECT_EQ(doc->Capture(RedCaptureX, 0, i), doc->RedForce.AgentX[i]);
        EXPECT_EQ(doc->Capture(RedCaptureY, 0, i), doc->RedForce.AgentY[i]);
    }
    EXPECT_EQ(doc->Capture(BlueCaptureX, 0, 15), doc->BlueForce.AgentX[15]);
}

TEST(BattlefieldSetup, PlaybackModesLayTerrainOnly)
{
    testing::TestDocument doc;
    TwoForces(*doc);
    doc->InitializeForces();
    doc->RunMode = PlaybackMode;
    doc->RedForce.AgentX[1] = 77;
    const int state = doc->RandomState;
    doc->SetupBattlefield();
    EXPECT_EQ(doc->RedForce.AgentX[1], 77);
    EXPECT_EQ(doc->RandomState, state);
    EXPECT_EQ(CountGrid(*doc, CellAgent), 0);
}

}  // namespace
}  // namespace brevimar
