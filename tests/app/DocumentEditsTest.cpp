// What the analyst commits stays committed: matrices from a file or a dialog
// survive set-up, and the status line follows every restart and edit.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <tuple>
#include <vector>

#include "app/AppFixture.h"
#include "app/ResourceIds.h"
#include "core/LatticeCodes.h"
#include "dialogs/MatrixDlg.h"
#include "files/ScenarioWriter.h"
#include "run/RunLoop.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;

class DocumentEdits : public AppTest {
protected:
    bool Run(unsigned id) { return Frame().RunCommand(id); }
    // The built-in document (start-up chooser cancelled), its matrices
    // marked as never committed, as before its first set-up: set-up would
    // link every squad.
    void StartWithoutScenario()
    {
        Hooks.CancelFile();
        ASSERT_TRUE(Start());
        Doc().CommMatricesSet = 0;
        for (Side side : {Side::Red, Side::Blue})
            for (auto& row : Doc().Force(side).CommMatrix)
                std::fill(std::begin(row), std::end(row), 0);
    }
    // The middle of cell (x, y): cells are 5 pixels at 100%, row
    // BattleSize + 1 - y; a new window opens at the zoom that shows the field.
    QPoint CellCentre(int x, int y)
    {
        const int row = Doc().Battlefield.BattleSize + 1 - y;
        const float zoom = Doc().ZoomFactor;
        return QPoint(static_cast<int>((x * 5 + 2) * zoom), static_cast<int>((row * 5 + 2) * zoom));
    }
};

// A communications-matrix file written by hand: RED and BLUE each link a
// squad to itself only.
std::string IdentityMatrices()
{
    const std::string stars(37, '*');
    std::ostringstream text;
    for (const char* title : {"  Red Communications Matrix Weights", " Blue Communications Matrix Weights"}) {
        text << stars << '\n' << title << '\n' << stars;
        for (int r = 1; r <= 10; ++r) {
            text << '\n';
            for (int c = 1; c <= 10; ++c)
                text << (c > 1 ? " " : "") << (r == c ? 1 : 0);
        }
        text << '\n';
    }
    return text.str();
}

TEST_F(DocumentEdits, CommMatrixFromFileOrDialogSurvivesSetUp)
{
    StartWithoutScenario();
    ASSERT_EQ(Doc().CommMatricesSet, 0);
    Hooks.AnswerFile(WriteTemp("identity.cmw", IdentityMatrices()));
    ASSERT_TRUE(Run(V::ID_FILE_LOAD_COMM_MATRIX));
    // The load restarts the battle; a restart of its own sets up once more.
    ASSERT_TRUE(Run(V::ID_RESTART_GO));
    int wrong = 0;
    for (Side side : {Side::Red, Side::Blue})
        for (int r = 1; r <= 10; ++r)
            for (int c = 1; c <= 10; ++c)
                wrong += Doc().Force(side).CommMatrix[r][c] != (r == c ? 1 : 0);
    EXPECT_EQ(wrong, 0);

    // The dialog: the built-in document shows one squad whose own link is
    // off; OK keeps it off instead of set-up linking every squad.
    AppTest::TearDown();
    AppTest::SetUp();
    StartWithoutScenario();
    ASSERT_EQ(Doc().RedForce.CommMatrix[1][1], 0);
    Hooks.AnswerDialog(IDOK, {{CCommMatrixDlg::CellId(1, 1), "0"}});
    ASSERT_TRUE(Run(V::ID_EDIT_RED_COMM_MATRIX));
    ASSERT_TRUE(Run(V::ID_RESTART_GO));
    EXPECT_EQ(Doc().RedForce.CommMatrix[1][1], 0);
    EXPECT_EQ(Doc().RedForce.CommMatrix[2][7], 0);
}

// OK in a dialog that restarts the battle: the status line shows the fresh
// battle, not the time and counts of the one left.
TEST_F(DocumentEdits, StatusLineFollowsADialogsRestart)
{
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    const int n = doc.RedForce.NumAgents;
    const int blue = doc.BlueForce.NumAgents;
    const std::string blueCounts = "[BLUE/" + std::to_string(blue) + "] Alive " + std::to_string(blue) + "  / Injured 0";
    for (int tick = 0; tick < 4; ++tick) {
        doc.Resume();
        doc.OnTimer(42);
    }
    ASSERT_GT(doc.RunHeader.CurrentStep, 1);

    // OK in a dialog that restarts: time 0 of the fresh battle, every agent alive.
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_COMM_MATRIX));
    const std::string fresh = "[ TIME ]: 0      [RED/" + std::to_string(n) + "] Alive " + std::to_string(n) +
                              " / Injured 0   " + blueCounts;
    EXPECT_NE(Frame().StatusText().find(fresh), std::string::npos) << Frame().StatusText();
}

// The line under a time holds the counts the run loop took before that
// step's fights, as its chart point does: a command that changes nothing of
// the battle leaves it byte for byte; an agent placed is counted at once.
TEST_F(DocumentEdits, CommandsThatLeaveTheBattleAloneKeepTheStatusLine)
{
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    // Toggle Background Color, Activity Map, Battle-Front Map, Kill-Map
    // only, Territorial Possession Map, Toggle Trace.
    const unsigned switches[] = {32855, 33136, 33175, 33114, 33165, 32848};
    for (int step = 1; step <= 25; ++step) {
        doc.Resume();
        View()->OnTimer(V::RunTimerId);
        ASSERT_EQ(doc.RunHeader.CurrentStep, step);
        const std::string line = Frame().StatusText();
        ASSERT_NE(line.find("[ TIME ]: " + std::to_string(step) + " "), std::string::npos) << line;
        for (unsigned id : switches)
            for (int twice = 0; twice < 2; ++twice) {
                ASSERT_TRUE(Run(id)) << id;
                EXPECT_EQ(Frame().StatusText(), line) << "step " << step << ", command " << id;
            }
        // A chart opened and closed, a dialog cancelled.
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Run(V::ID_ATTRITION_GRAPH));
        delete View()->LastChartWindow.data();
        Hooks.AnswerDialog(IDCANCEL);
        ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
        EXPECT_EQ(Frame().StatusText(), line) << "step " << step;
    }
    // One RED agent placed: counted with the agents as they now stand.
    ASSERT_TRUE(Run(33230));
    int x = 1;
    while (doc.Battlefield.AgentGrid[GridIndex(x, 1)] != CellFree)
        ++x;
    View()->OnRButtonUp(0, CellCentre(x, 1));
    ASSERT_EQ(doc.RedForce.NumAgents, 13);
    int alive = 0, injured = 0;
    for (int i = 1; i <= 13; ++i)
        alive += doc.RedForce.AgentState[i] == Alive, injured += doc.RedForce.AgentState[i] == Injured;
    const std::string red =
        "[RED/13] Alive " + std::to_string(alive) + " / Injured " + std::to_string(injured) + "   [BLUE/10]";
    EXPECT_NE(Frame().StatusText().find(red), std::string::npos) << Frame().StatusText();
}

// Right-click edits: the status line recounts at once, and the scenario file
// saved afterwards holds the agents the battlefield shows.
TEST_F(DocumentEdits, AgentEditsReachTheStatusLineAndTheSavedFile)
{
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    const int n = doc.RedForce.NumAgents, squad1 = doc.RedForce.num_per_squad[1];
    const int blue = doc.BlueForce.NumAgents;

    // RED placement in squad 1: four agents on free cells, then agent 1 off.
    ASSERT_TRUE(Run(33230));
    const int size = doc.Battlefield.BattleSize;
    int added = 0;
    for (int x = 1; x <= size && added < 4; ++x)
        if (doc.Battlefield.AgentGrid[GridIndex(x, size / 2)] == CellFree) {
            View()->OnRButtonUp(0, CellCentre(x, size / 2));
            ++added;
        }
    ASSERT_EQ(doc.RedForce.NumAgents, n + 4);
    EXPECT_NE(Frame().StatusText().find("[RED/" + std::to_string(n + 4) + "] Alive " + std::to_string(n + 4)),
              std::string::npos) << Frame().StatusText();
    ASSERT_EQ(doc.RedForce.AgentSquad[1], 1);
    View()->OnRButtonUp(0, CellCentre(doc.RedForce.AgentX[1], doc.RedForce.AgentY[1]));
    ASSERT_EQ(doc.RedForce.AgentState[1], Dead);
    // The slot stays, so the total stays; one fewer is alive.
    EXPECT_NE(Frame().StatusText().find("[RED/" + std::to_string(n + 4) + "] Alive " + std::to_string(n + 3)),
              std::string::npos) << Frame().StatusText();

    // Saved and read back: squad 1 has its four new agents less the one taken off.
    const std::string saved = TempFolder() + "/edited.dat";
    Hooks.AnswerFile(saved);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
    Hooks.AnswerFile(saved);
    ASSERT_TRUE(Run(ID_FILE_LOAD_INPUT_DATA));
    EXPECT_EQ(doc.RedForce.NumAgents, n + 3);
    EXPECT_EQ(doc.RedForce.num_per_squad[1], squad1 + 3);
    EXPECT_EQ(doc.BlueForce.NumAgents, blue);
}

// Cells that hold terrain, marked or under the mark an agent left.
int TerrainCells(const CBattlefield& b)
{
    int n = 0;
    for (int x = 1; x <= b.BattleSize; ++x)
        for (int y = 1; y <= b.BattleSize; ++y)
            n += HoldsTerrain(b, GridIndex(x, y));
    return n;
}

// large_terrain.dat lays six blocks of 8 x 8, 10 x 10, 6 x 8, 8 x 10, 10 x 8
// and 6 x 10; a block of even length l covers l + 1 cells along it, so
// 81 + 121 + 63 + 99 + 99 + 77 = 540 cells: Lava at (37, 50), the centre of
// block 1, and passable type III at (74, 100), block 5's. Edit > Terrain >
// User-Defined, then Restart: the terrain file's chooser opens. Cancelled,
// or given a file it refuses, it leaves the field's terrain, which a save
// then holds; given terrain_small.ter, the field holds that file's three
// cells, (3, 4) Lava, (5, 5) Pillar and (10, 10) type II, alone.
TEST_F(DocumentEdits, UserDefinedTerrainKeepsTheFieldsTerrainWhenNoFileIsRead)
{
    const std::string refused = WriteTemp("refused.ter", "20\n1\n3 4\n");
    const struct {
        const char* What;
        std::optional<std::string> Answer;
        int Cells;
        std::vector<std::tuple<int, int, int>> Types;  // x, y, type
    } cases[] = {
        {"cancelled", std::nullopt, 540, {{37, 50, Lava}, {74, 100, PassableIII}}},
        {"a file refused", refused, 540, {{37, 50, Lava}, {74, 100, PassableIII}}},
        {"terrain_small.ter", Fixture("terrain_small.ter"), 3,
         {{3, 4, Lava}, {5, 5, Pillar}, {10, 10, PassableII}, {37, 50, OpenGround}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Hooks.AnswerFile(Fixture("../../bench/data/large_terrain.dat"));
        ASSERT_TRUE(Start());
        CBrevimarDoc& doc = Doc();
        ASSERT_EQ(TerrainCells(doc.Battlefield), 540);
        ASSERT_TRUE(Run(33223));  // Terrain: User-Defined
        if (c.Answer)
            Hooks.AnswerFile(*c.Answer);
        else
            Hooks.CancelFile();
        const int choosers = FileDialogsShown();
        ASSERT_TRUE(Run(V::ID_RESTART_GO));
        EXPECT_EQ(FileDialogsShown(), choosers + 1);
        EXPECT_EQ(TerrainCells(doc.Battlefield), c.Cells);
        for (const auto& [x, y, type] : c.Types)
            EXPECT_EQ(doc.Battlefield.TerrainType[GridIndex(x, y)], type) << x << ", " << y;
        std::ostringstream saved;
        WriteScenario(doc, saved);
        const std::string text = saved.str();
        EXPECT_NE(text.find("\nnum_elements   " + std::to_string(c.Cells) + "\n"), std::string::npos);
        TearDown();
        SetUp();
    }
}

// large_terrain.dat run until a live RED agent stands on passable terrain
// and a passable cell lies free under the mark agents leave as they move on.
// A right click that takes the agent off leaves its cell's terrain: the
// terrain file saved still holds the blocks' 540 cells (see above). A click
// in the terrain mode takes the free passable cell's terrain off, as on any
// terrain cell, and the next one lays Lava on the open ground.
TEST_F(DocumentEdits, EditsOfTheFieldTakeOffOnlyWhatTheyName)
{
    Hooks.AnswerFile(Fixture("../../bench/data/large_terrain.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    const CBattlefield& b = doc.Battlefield;
    const CForce& red = doc.RedForce;
    auto passable = [&](int x, int y) { return b.TerrainType[GridIndex(x, y)] >= PassableI; };
    int onTerrain = 0, crossedX = 0, crossedY = 0;
    for (int step = 0; step < 300 && (onTerrain == 0 || crossedX == 0); ++step) {
        TakeInteractiveStep(doc);
        onTerrain = 0;
        for (int i = 1; i <= red.NumAgents && onTerrain == 0; ++i)
            if (red.AgentState[i] != Dead && passable(red.AgentX[i], red.AgentY[i]))
                onTerrain = i;
        for (int x = 1; x <= b.BattleSize && crossedX == 0; ++x)
            for (int y = 1; y <= b.BattleSize && crossedX == 0; ++y)
                if (passable(x, y) && b.AgentGrid[GridIndex(x, y)] == CellFree)
                    crossedX = x, crossedY = y;
    }
    ASSERT_NE(onTerrain, 0);
    ASSERT_NE(crossedX, 0);

    ASSERT_TRUE(Run(33230));  // RED agents by right click
    const int x = red.AgentX[onTerrain], y = red.AgentY[onTerrain];
    const int type = b.TerrainType[GridIndex(x, y)];
    View()->OnRButtonUp(0, CellCentre(x, y));
    ASSERT_EQ(red.AgentState[onTerrain], Dead);
    EXPECT_EQ(b.TerrainType[GridIndex(x, y)], type);
    const std::string terrainFile = TempFolder() + "/kept.ter";
    Hooks.AnswerFile(terrainFile);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_TERRAIN));
    std::ifstream file(terrainFile);
    int size = 0, cells = 0;
    file >> size >> cells;
    EXPECT_EQ(cells, 540);

    const int at = GridIndex(crossedX, crossedY);
    ASSERT_TRUE(Run(33223));  // Terrain: User-Defined, Lava
    ASSERT_EQ(doc.EditTerrainType, Lava);
    View()->OnRButtonUp(0, CellCentre(crossedX, crossedY));
    EXPECT_EQ(b.TerrainType[at], OpenGround);
    EXPECT_EQ(b.AgentGrid[at], CellFree);
    View()->OnRButtonUp(0, CellCentre(crossedX, crossedY));
    EXPECT_EQ(b.TerrainType[at], Lava);
    EXPECT_EQ(b.AgentGrid[at], CellTerrain);
}

// A user-defined terrain (large_terrain.dat's 540 cells saved as a terrain
// file, then Edit > Terrain > User-Defined and a restart reading that file),
// agents saved at step 0 and the battle run until live agents stand on
// passable terrain: loading the agent file takes the agents off their cells
// and puts the file's there, and leaves every terrain cell as it was, which
// the next save writes. The file's agents stood on open ground (set-up puts
// none on terrain), so all of them stand again.
TEST_F(DocumentEdits, AnAgentFileLoadKeepsTheTerrainItsAgentsLeave)
{
    Hooks.AnswerFile(Fixture("../../bench/data/large_terrain.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    const CBattlefield& b = doc.Battlefield;
    const std::string terrainFile = TempFolder() + "/large.ter";
    Hooks.AnswerFile(terrainFile);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_TERRAIN));
    ASSERT_TRUE(Run(33223));  // Terrain: User-Defined
    Hooks.AnswerFile(terrainFile);
    ASSERT_TRUE(Run(V::ID_RESTART_GO));
    ASSERT_EQ(b.TerrainMode, 2);
    ASSERT_EQ(TerrainCells(b), 540);

    const std::string agentFile = TempFolder() + "/start.agt";
    Hooks.AnswerFile(agentFile);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_AGENT_DATA));
    const int red = doc.RedForce.NumAgents, blue = doc.BlueForce.NumAgents;
    auto onPassable = [&] {
        int n = 0;
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& f = doc.Force(side);
            for (int i = 1; i <= f.NumAgents; ++i)
                n += f.AgentState[i] != Dead && IsPassableTerrain(b.TerrainType[GridIndex(f.AgentX[i], f.AgentY[i])]);
        }
        return n;
    };
    for (int step = 0; step < 300 && onPassable() < 3; ++step)
        TakeInteractiveStep(doc);
    ASSERT_GE(onPassable(), 3);
    const std::vector<int> types(std::begin(b.TerrainType), std::end(b.TerrainType));

    Hooks.AnswerFile(agentFile);
    ASSERT_TRUE(Run(V::ID_FILE_LOAD_AGENT_DATA));
    EXPECT_EQ(doc.RedForce.NumAgents, red);
    EXPECT_EQ(doc.BlueForce.NumAgents, blue);
    EXPECT_EQ(onPassable(), 0);
    EXPECT_TRUE(std::equal(types.begin(), types.end(), std::begin(b.TerrainType)));
    EXPECT_EQ(TerrainCells(b), 540);
    std::ostringstream saved;
    WriteScenario(doc, saved);
    EXPECT_NE(saved.str().find("\nnum_elements   540\n"), std::string::npos);
}

// small.dat has no terrain: modifiers and line of sight off. A terrain file
// read, by the chooser of a restart on user-defined terrain or by File >
// Load, gives the field terrain_small.ter's cells, a pillar at (5, 5) and
// passable type II at (10, 10) among them: both switches on, as cell edits
// laying those cells would turn them.
TEST_F(DocumentEdits, ATerrainFileReadTurnsOnTheSwitchesOfItsCells)
{
    for (const bool byRestart : {true, false}) {
        SCOPED_TRACE(byRestart ? "restart on user-defined terrain" : "File > Load > Terrain Data File");
        Hooks.AnswerFile(Fixture("../../bench/data/small.dat"));
        ASSERT_TRUE(Start());
        const CBattlefield& b = Doc().Battlefield;
        ASSERT_EQ(b.TerrainModifiersOn, 0);
        ASSERT_EQ(b.LineOfSightOn, 0);
        Hooks.AnswerFile(Fixture("terrain_small.ter"));
        if (byRestart) {
            ASSERT_TRUE(Run(33223));  // Terrain: User-Defined
            ASSERT_TRUE(Run(V::ID_RESTART_GO));
        } else {
            ASSERT_TRUE(Run(V::ID_FILE_LOAD_TERRAIN));
        }
        ASSERT_EQ(b.TerrainType[GridIndex(10, 10)], PassableII);
        EXPECT_EQ(b.TerrainModifiersOn, 1);
        EXPECT_EQ(b.LineOfSightOn, 1);
        TearDown();
        SetUp();
    }
}

// scenario_v4.dat (RED 12, terrain blocks laid): an agent placed in RED
// squad 2 keeps the file's squad-2 values (alive sensor range 6, fire range
// 4, defence 3) when a restart with placement still chosen keeps it where
// it stands: set-up on terrain gives every agent its open-ground values.
TEST_F(DocumentEdits, AnAgentPlacedByHandKeepsItsValuesOnTerrain)
{
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    ASSERT_EQ(doc.Battlefield.TerrainMode, 1);
    ASSERT_TRUE(Run(33230));
    ASSERT_TRUE(Run(33232));  // squad 2
    PlaceByHand(1);
    const CForce& red = doc.RedForce;
    ASSERT_EQ(red.NumAgents, 13);
    ASSERT_TRUE(Run(V::ID_RESTART_GO));
    EXPECT_EQ(red.SensorRangeAlive[13], 6);
    EXPECT_EQ(red.FireRangeAlive[13], 4);
    EXPECT_EQ(red.AliveStrength[13], 3);
}

// Trace switched off while paused: the frame on show holds the agents where
// they stand, one cell each, and no trail.
TEST_F(DocumentEdits, TraceOffWhilePausedDropsTheTrail)
{
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    ASSERT_TRUE(Run(32848));
    ASSERT_EQ(doc.TraceOn, 1);
    for (int tick = 0; tick < 8; ++tick) {
        doc.Resume();
        doc.OnTimer(42);
    }
    doc.Pause();
    auto agentCells = [&doc] {
        const unsigned char* plane = doc.DisplayPlane(doc.GetDisplayFrame());
        int n = 0;
        for (int i = 0; i < LatticeCells; ++i)
            n += plane[i] >= LatticeRedAlive && plane[i] <= LatticeBlueInjured;
        return n;
    };
    int living = 0;
    for (Side side : {Side::Red, Side::Blue})
        for (int i = 1; i <= doc.Force(side).NumAgents; ++i)
            living += doc.Force(side).AgentState[i] > Dead;
    ASSERT_GT(agentCells(), living) << "the run left no trail to drop";
    ASSERT_TRUE(Run(32848));
    EXPECT_EQ(doc.TraceOn, 0);
    EXPECT_EQ(agentCells(), living);
}

}  // namespace
}  // namespace brevimar::testing
