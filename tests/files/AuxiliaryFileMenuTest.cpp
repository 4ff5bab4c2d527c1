// The File menu's Load and Save commands for the auxiliary parameter files,
// with the file choosers answered by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "files/AuxiliaryFileMenu.h"
#include "files/WordReader.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::TestDocument;
using testing::WriteTemp;

std::string FileText(const std::string& path)
{
    std::string text;
    EXPECT_TRUE(ReadTextFile(path, &text)) << path;
    return text;
}

void Skirmish(TestDocument& doc)
{
    testing::MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 30});
}

std::vector<int> Agents(CBrevimarDoc& doc)
{
    std::vector<int> v;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(side);
        v.push_back(f.NumAgents);
        for (int i = 1; i <= f.NumAgents; ++i)
            v.insert(v.end(), {f.AgentState[i], f.AgentSquad[i], f.AgentX[i], f.AgentY[i]});
    }
    return v;
}

struct Command {
    const char* Name;
    void (*Save)(CBrevimarDoc&);
    int (*Load)(CBrevimarDoc&);
};

const Command Commands[] = {
    {"tma", [](CBrevimarDoc& d) { FileSaveTerrainModifiers(d); }, FileLoadTerrainModifiers},
    {"wp", FileSaveSquadWeapons, FileLoadSquadWeapons},
    {"awp", FileSaveAgentWeapons, FileLoadAgentWeapons},
    {"agt", FileSaveAgentData, FileLoadAgentData},
    {"cmw", [](CBrevimarDoc& d) { FileSaveCommMatrix(d); }, FileLoadCommMatrix},
    {"smw", [](CBrevimarDoc& d) { FileSaveSquadMatrix(d); }, FileLoadSquadMatrix},
    {"ter", FileSaveTerrain, FileLoadTerrain},
    {"pth", FileSaveWaypointPaths, FileLoadWaypointPaths},
};

TEST(AuxiliaryFileMenu, EverySaveLoadsBackIntoTheSameFile)
{
    const std::string folder = testing::TempFolder();
    for (const Command& c : Commands) {
        TestDocument a;
        Skirmish(a);
        a->Battlefield.AgentGrid[GridIndex(15, 15)] = CellTerrain;
        a->Battlefield.TerrainType[GridIndex(15, 15)] = PassableII;
        a->RedForce.CommMatrix[2][3] = 1;
        a->BlueForce.SquadWeightMatrix[4][5] = 0.75;
        a->TerrainModifiers.Blue.A_fire_range[7][2] = 3;
        a->RedForce.WeaponFunction.rmin[2][1] = 1.5;
        a->AgentWeapons.Blue.use_threshold = 4;
        const std::string first = folder + "/first." + c.Name;
        const std::string second = folder + "/second." + c.Name;
        a.Host.FileChoices.push_back(first);
        c.Save(*a);

        TestDocument b;
        Skirmish(b);
        b.Host.FileChoices.push_back(first);
        EXPECT_EQ(c.Load(*b), 1) << c.Name;
        EXPECT_TRUE(b.Host.Messages.empty()) << c.Name << ": " << b.Host.Messages.front().Text;
        b.Host.FileChoices.push_back(second);
        c.Save(*b);
        EXPECT_EQ(FileText(second), FileText(first)) << c.Name;
    }
}

TEST(AuxiliaryFileMenu, CancelledOrRefusedLoadsChangeNothing)
{
    for (const Command& c : Commands) {
        for (bool cancel : {true, false}) {
            TestDocument doc;
            Skirmish(doc);
            doc->RunMode = PlaybackMode;
            doc->LoadInputFile = 0;
            doc->Battlefield.TerrainMode = 1;
            doc->RunHeader.CurrentStep = 40;
            const std::vector<int> agents = Agents(*doc);
            std::string bad;
            if (!cancel) {
                bad = WriteTemp(std::string("bad.") + c.Name, "1 x");
                doc.Host.FileChoices.push_back(bad);
            }
            EXPECT_EQ(c.Load(*doc), 0) << c.Name;
            EXPECT_EQ(doc->RunMode, PlaybackMode) << c.Name;
            EXPECT_EQ(doc->LoadInputFile, 0) << c.Name;
            EXPECT_EQ(doc->Battlefield.TerrainMode, 1) << c.Name;
            EXPECT_EQ(doc->Battlefield.WaypointPathsOn, 0) << c.Name;
            EXPECT_EQ(doc->DeploymentSource, RandomDeployment) << c.Name;
            EXPECT_EQ(doc->RunHeader.CurrentStep, 40) << c.Name;
            EXPECT_EQ(Agents(*doc), agents) << c.Name;
            if (cancel)
                EXPECT_TRUE(doc.Host.Messages.empty()) << c.Name;
            else
                EXPECT_TRUE(doc.Host.SawMessageContaining(bad)) << c.Name;
        }
    }
}

TEST(AuxiliaryFileMenu, LoadedAgentFileDeploysAtOnceAndAtRestart)
{
    TestDocument doc;
    Skirmish(doc);
    doc->Statistics.DataCollectionOn = 0;
    const std::string path = WriteTemp("deploy.agt",
                                       "3\n2 1 3 4\n2 1 5 6\n1 1 7 8\n"
                                       "4\n2 1 20 20\n2 1 3 4\n2 1 21 22\n2 1 0 9");
    doc.Host.FileChoices.push_back(path);
    ASSERT_EQ(FileLoadAgentData(*doc), 1);
    // BLUE's second record stands on RED's first, its fourth off the 30 x 30
    // battlefield: both dropped, and named in one message with the file.
    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    const std::string& message = doc.Host.Messages[0].Text;
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("BLUE agent record 2 at (3, 4): on a cell an earlier record took"), std::string::npos);
    EXPECT_NE(message.find("BLUE agent record 4 at (0, 9): off the 30 x 30 battlefield"), std::string::npos);
    const std::vector<int> expected = {3, 2, 1, 3, 4, 2, 1, 5, 6, 1, 1, 7, 8, 2, 2, 1, 20, 20, 2, 1, 21, 22};
    EXPECT_EQ(Agents(*doc), expected);
    EXPECT_EQ(doc->DeploymentSource, AgentFileDeployment);
    EXPECT_EQ(doc->RestartUsesAgentFile, 1);
    EXPECT_EQ(doc->RunHeader.LastStep, 501);

    for (int t = 0; t < 6; ++t) {
        doc->Resume();
        doc->OnTimer(42);
    }
    ASSERT_NE(Agents(*doc), expected);
    doc->RestartRun();
    EXPECT_EQ(Agents(*doc), expected);
}

// RED's weapon 1 reaching 99 cells, with every table entry (ranges 0..10) 1,
// read from its file: in the first step every BLUE agent within 10 cells
// (the larger of the two offsets) of a RED agent is hit, and none farther
// away, however far the weapon reaches. Nobody moves; BLUE's own tables are
// 0 (its shot probability), so RED is never hit.
TEST(AuxiliaryFileMenu, AReachPastTheTablesHitsOnlyWithinThem)
{
    TestDocument doc;
    testing::MakeSkirmish(*doc, {.PerSide = 20, .BattleSize = 24, .SensorRange = 99, .MoveRange = 0,
                                 .ShotProb = 0.0f, .Weapons = true});
    SideWeapons& red = doc->AgentWeapons.Red;
    red.sensor_type = 1;
    red.fire_range[1] = 99;
    red.max_tgts[1] = 999;
    red.blast_range = 50;
    std::fill(std::begin(red.prob_hit[1]), std::end(red.prob_hit[1]), 1.0f);
    const std::string path = testing::TempFolder() + "/reach.awp";
    doc.Host.FileChoices.push_back(path);
    FileSaveAgentWeapons(*doc);
    red.fire_range[1] = 1;  // what a refused file would leave
    doc.Host.FileChoices.push_back(path);
    ASSERT_EQ(FileLoadAgentWeapons(*doc), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages.front().Text;
    ASSERT_EQ(red.fire_range[1], 99);

    const CForce& r = doc->RedForce;
    const CForce& b = doc->BlueForce;
    std::vector<bool> near(b.NumAgents + 1, false);
    int nearCount = 0;
    for (int j = 1; j <= b.NumAgents; ++j) {
        ASSERT_EQ(b.AgentState[j], Alive);
        for (int i = 1; i <= r.NumAgents; ++i)
            if (r.AgentState[i] == Alive && r.AgentWeapon[i] == 1 &&
                std::max(std::abs(r.AgentX[i] - b.AgentX[j]), std::abs(r.AgentY[i] - b.AgentY[j])) <= 10)
                near[j] = true;
        nearCount += near[j];
    }
    // Both kinds are there for the test to mean something.
    ASSERT_GT(nearCount, 0);
    ASSERT_LT(nearCount, b.NumAgents);
    doc->StepSimulation();
    for (int j = 1; j <= b.NumAgents; ++j)
        EXPECT_EQ(b.AgentState[j] < Alive, near[j]) << "BLUE agent " << j;
    for (int i = 1; i <= r.NumAgents; ++i)
        EXPECT_EQ(r.AgentState[i], Alive) << "RED agent " << i;
}

TEST(AuxiliaryFileMenu, FlagsTheLoadsAndSavesSet)
{
    const std::string folder = testing::TempFolder();
    TestDocument doc;
    Skirmish(doc);
    doc->Battlefield.AgentGrid[GridIndex(9, 9)] = CellTerrain;
    doc->Battlefield.TerrainType[GridIndex(9, 9)] = Lava;
    doc.Host.FileChoices = {folder + "/t.ter", folder + "/t.ter", folder + "/p.pth", folder + "/p.pth"};
    FileSaveTerrain(*doc);
    doc->Battlefield.TerrainMode = 0;
    doc->Battlefield.CellTerrainDefined = 0;
    doc->RunTerminated = 1;
    ASSERT_EQ(FileLoadTerrain(*doc), 1);
    EXPECT_EQ(doc->Battlefield.TerrainMode, 2);
    EXPECT_EQ(doc->Battlefield.CellTerrainDefined, 1);
    EXPECT_EQ(doc->RunTerminated, 0);
    EXPECT_EQ(doc->Battlefield.TerrainType[GridIndex(9, 9)], Lava);
    FileSaveWaypointPaths(*doc);
    ASSERT_EQ(FileLoadWaypointPaths(*doc), 1);
    EXPECT_EQ(doc->Battlefield.WaypointPathsOn, 1);

    // Saving agents keeps the agent-file source and ends a hand placement.
    for (const auto& [before, after] : {std::pair{AgentFileDeployment, AgentFileDeployment},
                                        std::pair{RedHandPlacement, RandomDeployment}}) {
        doc->DeploymentSource = before;
        doc.Host.FileChoices = {folder + "/a.agt"};
        FileSaveAgentData(*doc);
        EXPECT_EQ(doc->DeploymentSource, after);
    }

    // Outside the interactive run the squad-weapons and waypoint saves ask
    // for nothing and write nothing.
    doc->RunMode = PlaybackMode;
    doc.Host.FileRequests.clear();
    doc.Host.FileChoices = {folder + "/w.wp", folder + "/w.pth"};
    FileSaveSquadWeapons(*doc);
    FileSaveWaypointPaths(*doc);
    EXPECT_TRUE(doc.Host.FileRequests.empty());
    EXPECT_FALSE(std::filesystem::exists(folder + "/w.wp"));
}

}  // namespace
}  // namespace brevimar
