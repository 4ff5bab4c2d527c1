#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/AppFixture.h"
#include "app/BatchRuns.h"
#include "app/ResourceIds.h"
#include "core/BattlefieldPicture.h"
#include "core/LatticeCodes.h"
#include "core/TextFileBound.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/BattlefieldDlgs.h"
#include "dialogs/TerrainParamsDlg.h"
#include "dialogs/ChromosomeDisplays.h"
#include "dialogs/SquadSections.h"
#include "experiments/LandscapeSetup.h"
#include "files/MatrixFiles.h"
#include "files/ScenarioWriter.h"
#include "run/RunLoop.h"
#include "run/ScenarioLoad.h"
#include "support/Battles.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;

using Positions = std::vector<int>;  // x, y of every agent, RED then BLUE

Positions Deployment(CBrevimarDoc& doc)
{
    Positions p;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(side);
        for (int i = 1; i <= f.NumAgents; ++i) {
            p.push_back(f.AgentX[i]);
            p.push_back(f.AgentY[i]);
        }
    }
    return p;
}

class RunControl : public AppTest {
protected:
    // A document on a version-1 scenario, run mode 1.
    void StartScenario()
    {
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        ASSERT_EQ(Doc().RunMode, InteractiveMode);
    }
    CCmdUI State(unsigned id)
    {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        return ui;
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            View()->OnTimer(CBrevimarView::RunTimerId);
    }
    int Step() { return Doc().RunHeader.CurrentStep; }
};

TEST_F(RunControl, MenuStatesInEachRunModeAndWhileABatchIsBusy)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    // Run only while paused (Ctrl+G does nothing while running), Pause only
    // while running; Run/Stop toggles; Clear restarts the count and pauses.
    doc.Resume();
    EXPECT_FALSE(Frame().RunCommand(V::ID_RUN));
    EXPECT_TRUE(Frame().RunCommand(V::ID_PAUSE));
    EXPECT_FALSE(State(V::ID_PAUSE).Enabled);
    EXPECT_TRUE(Frame().RunCommand(V::ID_RUN));
    EXPECT_TRUE(Frame().RunCommand(V::ID_RUN_STOP_TOGGLE));
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_TRUE(Frame().RunCommand(V::ID_RUN_STOP_TOGGLE));
    Ticks(4);
    EXPECT_TRUE(Frame().RunCommand(V::ID_CLEAR));
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(doc.Paused, 1);

    for (int mode = PlaybackMode; mode <= MultipleTimeSeriesMode; ++mode) {
        doc.RunMode = mode;
        const bool batch = mode >= GeneticAlgorithmMode;
        EXPECT_EQ(State(V::ID_RESTART_GO).Enabled, !batch) << mode;
        EXPECT_EQ(State(V::ID_RESTART_USE_BLOCK_DATA).Enabled, !batch) << mode;
        doc.DeploymentSource = AgentFileDeployment;
        EXPECT_EQ(State(V::ID_RESTART_USE_AGENT_FILE).Enabled, mode == InteractiveMode) << mode;
        doc.DeploymentSource = RandomDeployment;
        EXPECT_FALSE(State(V::ID_RESTART_USE_AGENT_FILE).Enabled) << mode;
        EXPECT_EQ(State(V::ID_RUN_MODE_INTERACTIVE).Checked, mode == InteractiveMode) << mode;
        for (unsigned id : {V::ID_CLEAR, V::ID_RANDOMIZE, V::ID_STEP_EXECUTE_MODE, V::ID_TERMINATE_RUN,
                            V::ID_RUN_MODE_PLAYBACK, V::ID_RUN_MODE_INTERACTIVE, unsigned(ID_FILE_OPEN)})
            EXPECT_TRUE(State(id).Enabled) << mode << " " << id;
    }
    // The playback item's mark follows the loader switch, whatever the run mode.
    doc.LoadInputFile = 0;
    EXPECT_TRUE(State(V::ID_RUN_MODE_PLAYBACK).Checked);
    doc.LoadInputFile = 1;
    EXPECT_FALSE(State(V::ID_RUN_MODE_PLAYBACK).Checked);
    // The two restart options carry exclusive marks.
    doc.RunMode = InteractiveMode;
    EXPECT_TRUE(Frame().RunCommand(V::ID_RESTART_USE_BLOCK_DATA));
    EXPECT_TRUE(State(V::ID_RESTART_USE_BLOCK_DATA).Checked);
    EXPECT_FALSE(State(V::ID_RESTART_USE_AGENT_FILE).Checked);
    doc.DeploymentSource = AgentFileDeployment;
    EXPECT_TRUE(Frame().RunCommand(V::ID_RESTART_USE_AGENT_FILE));
    EXPECT_EQ(doc.RestartUsesAgentFile, 1);
    EXPECT_FALSE(State(V::ID_RESTART_USE_BLOCK_DATA).Checked);
    EXPECT_TRUE(State(V::ID_RESTART_USE_AGENT_FILE).Checked);

    // A batch inside its loop lets the run be paused and resumed, nothing that
    // changes the document.
    for (int* busy : {&doc.Experiment.GABusy, &doc.Experiment.LandscapeBusy, &doc.Series.MultiRunBusy}) {
        *busy = 1;
        for (unsigned id : {V::ID_CLEAR, V::ID_RANDOMIZE, V::ID_RESTART_GO, V::ID_TERMINATE_RUN,
                            V::ID_RUN_MODE_PLAYBACK, V::ID_RUN_MODE_INTERACTIVE, unsigned(ID_FILE_OPEN),
                            ID_FILE_LOAD_INPUT_DATA, ID_FILE_LOAD_RUN})
            EXPECT_FALSE(State(id).Enabled) << id;
        EXPECT_FALSE(Frame().RunCommand(V::ID_CLEAR));
        doc.Resume();
        EXPECT_TRUE(Frame().RunCommand(V::ID_PAUSE));
        EXPECT_TRUE(Frame().RunCommand(V::ID_RUN_STOP_TOGGLE));
        EXPECT_EQ(doc.Paused, 0);
        *busy = 0;
    }
}

TEST_F(RunControl, RestartRepeatsTheBattleAndRandomizeDeploysAnew)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_GO));
    const Positions first = Deployment(doc);
    const int seedAfterSetUp = doc.RandomState;
    EXPECT_EQ(Step(), 0);

    // Let the battle run; a restart brings back the same deployment and the
    // same generator state, so the same battle follows.
    doc.Resume();
    Ticks(2);
    doc.Resume();
    Ticks(6);
    const Positions afterRun = Deployment(doc);
    ASSERT_NE(afterRun, first);
    ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_GO));
    EXPECT_EQ(Deployment(doc), first);
    EXPECT_EQ(doc.RandomState, seedAfterSetUp);
    doc.Resume();
    Ticks(2);
    doc.Resume();
    Ticks(6);
    EXPECT_EQ(Deployment(doc), afterRun);

    // Randomize keeps the scenario seed but deploys from the running generator.
    const int initialSeed = doc.InitialSeed;
    ASSERT_TRUE(Frame().RunCommand(V::ID_RANDOMIZE));
    const Positions second = Deployment(doc);
    EXPECT_NE(second, first);
    ASSERT_TRUE(Frame().RunCommand(V::ID_RANDOMIZE));
    EXPECT_NE(Deployment(doc), second);
    EXPECT_EQ(doc.InitialSeed, initialSeed);
    ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_GO));
    EXPECT_EQ(Deployment(doc), first);
}

// The battle a new document gives on the scenario the program's writer saves
// of `doc` now: the runner's road, independent of any restart.
std::vector<int> FreshReadBattle(CBrevimarDoc& doc, int steps)
{
    std::ostringstream text;
    const int capturing = doc.RunCaptureOn;
    doc.RunCaptureOn = 0;  // the scenario alone, without the frames
    WriteScenario(doc, text);
    doc.RunCaptureOn = capturing;
    const std::string path = WriteTemp("saved-now.dat", text.str());
    HeadlessHost host;
    std::unique_ptr<CBrevimarDoc> fresh = CBrevimarDoc::Create();
    fresh->SetHost(&host);
    fresh->PrepareNewDocument();
    EXPECT_TRUE(LoadStartupFile(*fresh, path).Read) << path;
    return Battle(*fresh, steps);
}

// Every command that restarts the battle in the middle of the issue's
// scenario gives the battle a fresh read of the scenario saved right after
// it gives, step by step.
TEST_F(RunControl, EveryRestartGivesTheBattleOfAFreshReadOfTheScenarioAsItStands)
{
    using T = CTerrainParamsDlg;
    struct Case {
        const char* What;
        unsigned Id;
        std::vector<std::map<int, std::string>> Dialogs;  // answered OK, in turn
        const char* Scenario = "../../bench/data/small.dat";
        int Presses = 1;
    } cases[] = {
        {"Restart/Go", V::ID_RESTART_GO, {}},
        {"Interactive Time-Series from playback", V::ID_RUN_MODE_INTERACTIVE, {}},
        {"Save RUN File", CBrevimarView::ID_FILE_SAVE_RUN, {}},
        {"Edit RED Agents", V::ID_EDIT_RED_AGENTS, {{{CAgentParamsDlg::IDC_SENSOR_ALIVE, "7"}}}},
        {"Battlefield Size", V::ID_FLY_BATTLEFIELD_SIZE,
         {{{CBattlefieldSizeDlg::IDC_LENGTH, "90"}, {CBattlefieldSizeDlg::IDC_WIDTH, "90"}}}},
        // small.dat has no terrain: on, with a passable block across the middle.
        {"Terrain On/Off", V::ID_TERRAIN_ON_OFF,
         {{{T::UseId(1), "1"}, {T::TypeId(1), "4"}, {T::LengthId(1), "30"}, {T::WidthId(1), "30"},
           {T::CenterXId(1), "40"}, {T::CenterYId(1), "40"}}}},
        // Off, then on: the blocks stay, with passable ones among them.
        {"Terrain Off, then On", V::ID_TERRAIN_ON_OFF, {}, "../../bench/data/large_terrain.dat", 2},
    };
    constexpr int Steps = 30;
    for (const Case& c : cases) {
        Hooks.AnswerFile(Fixture(c.Scenario));
        ASSERT_TRUE(Start()) << c.What;
        CBrevimarDoc& doc = Doc();
        for (int n = 0; n < 12; ++n)
            TakeInteractiveStep(doc);
        if (c.Id == V::ID_RUN_MODE_INTERACTIVE)
            doc.RunMode = PlaybackMode;
        for (const auto& typed : c.Dialogs)
            Hooks.AnswerDialog(IDOK, typed);
        for (int n = 0; n < c.Presses; ++n)
            ASSERT_TRUE(Frame().RunCommand(c.Id)) << c.What;
        ASSERT_EQ(Hooks.Pending(ModalKind::Dialog), 0u) << c.What;
        ASSERT_EQ(doc.RunHeader.CurrentStep, 0) << c.What;
        const std::vector<int> read = FreshReadBattle(doc, Steps);
        EXPECT_EQ(Battle(doc, Steps), read) << c.What;
        TearDown();
        SetUp();
    }
}

// Terrain cells saved read back into the battle the window runs, with the
// switches their cells imply: passable ground applies the modifiers (the
// window's came from the blocks read, or from the cells edited), pillars
// block sight. large_terrain.dat's blocks (lava, a pillar and the three
// passable types) become cells once the terrain is user-defined, with no cell
// clicked; on small.dat
// a right click lays 36 cells, 6 x 6 across RED's way out of its boxes
// (x 10..15, y 12..17), or a row of 36 pillars across the middle (y 40,
// x 22..57) before a restart.
TEST_F(RunControl, ACellTerrainSavedReadsBackIntoTheBattleThatWasRun)
{
    auto rightClickAt = [this](int x, int y) {
        const CBattlefieldGeometry at = BattlefieldGeometry(Doc());
        View()->OnRButtonUp(0, QPoint(static_cast<int>(at.WindowX(x)) + 2, static_cast<int>(at.WindowY(y)) + 2));
    };
    struct Case {
        const char* What;
        const char* Scenario;
        unsigned Type;  // the terrain type's menu item; 0: no cell clicked
        int X0, Y0, Columns, Rows;
        int Passable, Sight;
        int Steps;
    } cases[] = {
        {"large_terrain.dat as cells", "../../bench/data/large_terrain.dat", 0, 0, 0, 0, 0, 1, 1, 30},
        {"36 passable cells on small.dat", "../../bench/data/small.dat", 33226, 10, 12, 6, 6, 1, 0, 40},
        {"36 pillars on small.dat", "../../bench/data/small.dat", 33225, 22, 40, 36, 1, 0, 1, 80},
    };
    for (const Case& c : cases) {
        Hooks.AnswerFile(Fixture(c.Scenario));
        ASSERT_TRUE(Start()) << c.What;
        CBrevimarDoc& doc = Doc();
        ASSERT_TRUE(Frame().RunCommand(33223)) << c.What;  // Terrain: User-Defined
        if (c.Type != 0) {
            ASSERT_TRUE(Frame().RunCommand(c.Type)) << c.What;
            for (int x = c.X0; x < c.X0 + c.Columns; ++x)
                for (int y = c.Y0; y < c.Y0 + c.Rows; ++y) {
                    ASSERT_EQ(doc.Battlefield.AgentGrid[GridIndex(x, y)], CellFree) << c.What;
                    rightClickAt(x, y);
                    ASSERT_EQ(doc.Battlefield.AgentGrid[GridIndex(x, y)], CellTerrain) << c.What;
                }
            ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_GO)) << c.What;
        }
        EXPECT_EQ(doc.Battlefield.TerrainModifiersOn, c.Passable) << c.What;
        EXPECT_EQ(doc.Battlefield.LineOfSightOn, c.Sight) << c.What;
        const std::vector<int> read = FreshReadBattle(doc, c.Steps);
        EXPECT_EQ(Battle(doc, c.Steps), read) << c.What;
        TearDown();
        SetUp();
    }
}

// Agents placed or taken off by a right click are the scenario's from then
// on, as a save writes them: a restart deploys the force that save holds,
// numbered into its squads as a read numbers them, and fights the battle a
// fresh read of it fights. The sizes expected are the files' own with the
// edits counted by hand: small.dat has 25 + 25 on each side; scenario_v4.dat
// gives RED 12 agents in squads of 5, 5, 5, which a read makes 5, 5, 2 (its
// personalities are drawn, so the generator's draws must match too).
TEST_F(RunControl, ARestartDeploysTheForceASaveOfTheHandEditsHolds)
{
    const std::string small = Fixture("../../bench/data/small.dat");
    auto rightClickAt = [this](int x, int y) {
        const CBattlefieldGeometry at = BattlefieldGeometry(Doc());
        View()->OnRButtonUp(0, QPoint(static_cast<int>(at.WindowX(x)) + 2, static_cast<int>(at.WindowY(y)) + 2));
    };
    auto place = [this](Side side, int squad) {
        const unsigned byHand = side == Side::Red ? 33230 : 33241;
        ASSERT_TRUE(Frame().RunCommand(byHand));
        ASSERT_TRUE(Frame().RunCommand(byHand + static_cast<unsigned>(squad)));
        PlaceByHand(1);
    };
    // The last agent of the side, or its first live one of squad `squad`.
    auto takeOff = [this, rightClickAt](Side side, int squad) {
        ASSERT_TRUE(Frame().RunCommand(side == Side::Red ? 33230 : 33241));
        const CForce& f = Doc().Force(side);
        int i = squad == 0 ? f.NumAgents : 1;
        while (squad != 0 && i < f.NumAgents && (f.AgentSquad[i] != squad || f.AgentState[i] == Dead))
            ++i;
        ASSERT_NE(f.AgentState[i], Dead);
        const int agents = f.NumAgents;
        rightClickAt(f.AgentX[i], f.AgentY[i]);
        ASSERT_EQ(f.AgentState[i], Dead);
        ASSERT_EQ(f.NumAgents, agents);
    };
    struct Case {
        const char* What;
        std::string File;
        std::function<void()> Edit;
        unsigned Restart;  // answered OK where it is a dialog
        std::map<int, std::string> Typed;
        Side Edited;
        std::vector<int> Sizes;
    } cases[] = {
        {"placed in RED squad 1 and taken off again", small, [&] { place(Side::Red, 1), takeOff(Side::Red, 0); },
         V::ID_RESTART_GO, {}, Side::Red, {25, 25}},
        {"a RED agent of squad 1 taken off", small, [&] { takeOff(Side::Red, 1); }, V::ID_RESTART_GO, {}, Side::Red,
         {24, 25}},
        {"one placed in RED squad 1 of 2", small, [&] { place(Side::Red, 1); }, V::ID_RESTART_GO, {}, Side::Red,
         {26, 25}},
        {"a BLUE agent of squad 2 taken off, one placed in BLUE squad 1", small,
         [&] { takeOff(Side::Blue, 2), place(Side::Blue, 1); }, V::ID_RESTART_GO, {}, Side::Blue, {26, 24}},
        {"drawn personalities: a RED agent of squad 1 taken off, one placed in squad 2", Fixture("scenario_v4.dat"),
         [&] { takeOff(Side::Red, 1), place(Side::Red, 2); }, V::ID_RESTART_GO, {}, Side::Red, {4, 6, 2}},
        // scenario_v3.dat draws both sides' personalities; its squads' terrain
        // and area weights are not 0, and an agent placed takes them, but no
        // drawn agent of a read holds them.
        {"drawn BLUE personalities: one placed in BLUE squad 1", Fixture("scenario_v3.dat"),
         [&] { place(Side::Blue, 1); }, V::ID_RESTART_GO, {}, Side::Blue, {3}},
        {"drawn RED personalities: one placed in RED squad 1", Fixture("scenario_v3.dat"),
         [&] { place(Side::Red, 1); }, V::ID_RESTART_GO, {}, Side::Red, {4}},
        // The dialog shows squad 1 as a save writes it; what is typed stands.
        {"a RED agent of squad 1 taken off, then RED squad 1 typed 30", small, [&] { takeOff(Side::Red, 1); },
         V::ID_EDIT_RED_AGENTS, {{CAgentParamsDlg::IDC_SQUAD_SIZE, "30"}}, Side::Red, {30, 25}},
    };
    constexpr int Steps = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Hooks.AnswerFile(c.File);
        ASSERT_TRUE(Start());
        CBrevimarDoc& doc = Doc();
        for (int n = 0; n < 5; ++n)
            TakeInteractiveStep(doc);
        c.Edit();
        const char* count = c.Edited == Side::Red ? "num_reds" : "num_blues";
        const int sizesAt = c.Edited == Side::Red ? 1 : 2;
        const std::vector<double> savedCount = RowAfter(Scenario(doc), count, 1);
        const std::vector<double> savedSizes = RowAfter(Scenario(doc), "num_per_squad", sizesAt);
        View()->OnLButtonUp(0, QPoint());  // placement ends
        for (int n = 0; n < 12; ++n)
            TakeInteractiveStep(doc);
        if (c.Restart != V::ID_RESTART_GO)
            Hooks.AnswerDialog(IDOK, c.Typed);
        ASSERT_TRUE(Frame().RunCommand(c.Restart));

        const CForce& f = doc.Force(c.Edited);
        const int squads = static_cast<int>(c.Sizes.size());
        int total = 0;
        for (int s = 1; s <= squads; ++s) {
            EXPECT_EQ(f.num_per_squad[s], c.Sizes[s - 1]) << s;
            total += c.Sizes[s - 1];
        }
        EXPECT_EQ(f.NumSquads, squads);
        EXPECT_EQ(f.NumAgents, total);
        const bool red = c.Edited == Side::Red;
        const std::string counts = std::string(red ? "[RED/" : "[BLUE/") + std::to_string(total) + "] Alive " +
                                   std::to_string(total) + " ";
        EXPECT_NE(Frame().StatusText().find(counts), std::string::npos) << Frame().StatusText();
        // No edit between the save and the restart: the same force saved after it.
        const std::string now = Scenario(doc);
        EXPECT_EQ(RowAfter(now, count, 1)[0], total);
        if (c.Restart == V::ID_RESTART_GO) {
            EXPECT_EQ(RowAfter(now, count, 1), savedCount);
            EXPECT_EQ(RowAfter(now, "num_per_squad", sizesAt), savedSizes);
        }
        EXPECT_EQ(Battle(doc, Steps), FreshReadBattle(doc, Steps));
        TearDown();
        SetUp();
    }
}

// An On-the-Fly personality change hands a squad's weights to its agents,
// drawn personalities or not; a restart that rebuilds the forces then
// draws the six personality weights anew and gives the terrain, area and
// flock weights the 0 a read of the saved scenario gives them (scenario_v3:
// both sides draw, squad 1 holds terrain and area weights), on both sides.
TEST_F(RunControl, ARebuildAfterAnOnTheFlyPersonalityChangeGivesTheSavedBattle)
{
    for (Side side : {Side::Red, Side::Blue}) {
        SCOPED_TRACE(side == Side::Red ? "RED" : "BLUE");
        Hooks.AnswerFile(Fixture("scenario_v3.dat"));
        ASSERT_TRUE(Start());
        CBrevimarDoc& doc = Doc();
        for (int n = 0; n < 17; ++n)
            TakeInteractiveStep(doc);
        Hooks.AnswerDialog(IDOK, {{WeightAliveId(W6), "0.5"}});
        ASSERT_TRUE(Frame().RunCommand(side == Side::Red ? V::ID_FLY_RED_PERSONALITY : V::ID_FLY_BLUE_PERSONALITY));
        ASSERT_NE(doc.Force(side).AliveWeight[WTerrain][1], 0.0f);
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_COMBAT_PARAMETERS));
        for (int i = 1; i <= doc.Force(side).NumAgents; ++i)
            for (int k : {WTerrain, WArea, WFlock}) {
                EXPECT_EQ(doc.Force(side).AliveWeight[k][i], 0.0f) << i << " " << k;
                EXPECT_EQ(doc.Force(side).InjuredWeight[k][i], 0.0f) << i << " " << k;
            }
        EXPECT_EQ(Battle(doc, 30), FreshReadBattle(doc, 30));
        TearDown();
        SetUp();
    }
}

TEST_F(RunControl, StepExecuteRunsBurstsOfOneStep)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    doc.Resume();
    Ticks(2);  // past the pause of step 1
    doc.Pause();
    ASSERT_TRUE(Frame().RunCommand(V::ID_STEP_EXECUTE_MODE));
    EXPECT_TRUE(State(V::ID_STEP_EXECUTE_MODE).Checked);
    EXPECT_EQ(doc.Paused, 0);
    const int t = Step();
    for (int burst = 1; burst <= 3; ++burst) {
        Ticks(3);  // one step, then the run waits
        EXPECT_EQ(Step(), t + burst);
        EXPECT_EQ(doc.Paused, 1);
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
    }
    // Pressed again: step mode off, and the run goes on by itself.
    ASSERT_TRUE(Frame().RunCommand(V::ID_STEP_EXECUTE_MODE));
    EXPECT_FALSE(State(V::ID_STEP_EXECUTE_MODE).Checked);
    EXPECT_EQ(doc.Paused, 0);
    Ticks(4);
    EXPECT_EQ(Step(), t + 7);
    EXPECT_EQ(doc.Paused, 0);
}

TEST_F(RunControl, TerminateAsksUntilAScenarioIsReadAndPlaybackFallsBackWhenCancelled)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    const int shownBefore = FileDialogsShown();

    // A cancelled playback puts run mode and loader switch back.
    Hooks.CancelFile();
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_PLAYBACK));
    EXPECT_EQ(doc.RunMode, InteractiveMode);
    EXPECT_EQ(doc.LoadInputFile, 1);
    EXPECT_FALSE(State(V::ID_RUN_MODE_PLAYBACK).Checked);

    // A stored run plays forwards, and backwards once time is reversed.
    Hooks.AnswerFile(Fixture("stored_400.run"));
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_PLAYBACK));
    ASSERT_EQ(doc.RunMode, PlaybackMode);
    EXPECT_TRUE(State(V::ID_RUN_MODE_PLAYBACK).Checked);
    EXPECT_FALSE(State(V::ID_RUN_MODE_INTERACTIVE).Checked);
    ASSERT_EQ(doc.RunHeader.LastStep, 350);
    doc.Resume();
    Ticks(3);
    EXPECT_EQ(Step(), 3);
    doc.RunHeader.TimeDirection = -1;
    Ticks(2);
    EXPECT_EQ(Step(), 1);

    // Terminate ends the playback: the scenario chooser comes back after a
    // cancel until a scenario is read, and the run is interactive again.
    Hooks.CancelFile();
    Hooks.CancelFile();
    Hooks.AnswerFile(Fixture("menu_v3.dat"));
    ASSERT_TRUE(Frame().RunCommand(V::ID_TERMINATE_RUN));
    EXPECT_EQ(FileDialogsShown() - shownBefore, 5);
    EXPECT_EQ(doc.RunMode, InteractiveMode);
    EXPECT_EQ(doc.LoadInputFile, 1);
    EXPECT_EQ(doc.RunTerminated, 0);
    EXPECT_TRUE(State(V::ID_RUN_MODE_INTERACTIVE).Checked);
    EXPECT_EQ(doc.InputFileName, "menu_v3.dat");

    // A chooser that answers at once, every time, does not hold the program
    // for ever: the run ends terminated on the scenario it had.
    const int shown = FileDialogsShown();
    doc.RunHeader.CurrentStep = 9;
    ASSERT_TRUE(Frame().RunCommand(V::ID_TERMINATE_RUN));
    EXPECT_EQ(FileDialogsShown() - shown, V::MaxTerminatePrompts);
    EXPECT_EQ(doc.RunMode, InteractiveMode);
    EXPECT_EQ(doc.RunTerminated, 1);
    EXPECT_EQ(Step(), doc.RunHeader.LastStep);
}

TEST_F(RunControl, FileOpenReadsFramesAndKeepsTheRunMode)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    doc.Resume();
    Hooks.AnswerFile(Fixture("frames_short.out"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    const ModalRecord& chooser = Hooks.Log().back();
    EXPECT_EQ(chooser.Kind, ModalKind::FileDialog);
    EXPECT_EQ(chooser.Text, V::FrameFileFilter);
    EXPECT_EQ(doc.RunHeader.LatticeSize, 60);
    EXPECT_EQ(doc.RunHeader.RedCount, 4);
    EXPECT_EQ(doc.RunHeader.BlueCount, 3);
    EXPECT_EQ(doc.RunHeader.LastStep, 5);
    EXPECT_EQ(doc.Capture(BlueCaptureX, 5, 3), 21);
    EXPECT_EQ(doc.RunMode, InteractiveMode);
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_EQ(Step(), 0);  // where Restart leaves the interactive run

    // A first frame whose step is already past the end is still read.
    // Of any extension, .vlx too, the chosen file is read as frames.
    Hooks.AnswerFile(testing::WriteTemp("late.vlx", "20 1 1 2\n7\n2 5 6\n1 3 4\n9\n2 1 1\n2 1 1\n"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    EXPECT_EQ(doc.RunHeader.LastStep, 2);
    EXPECT_EQ(doc.Capture(RedCaptureY, 7, 1), 6);
    EXPECT_EQ(doc.Capture(BlueCaptureState, 7, 1), 1);
    EXPECT_EQ(doc.Capture(RedCaptureX, 9, 1), 0);

    // A frame beyond the capture rows is refused with a message, and nothing
    // of the file is kept.
    const std::string beyond = testing::WriteTemp("beyond.out", "30 1 1 5\n0\n2 1 1\n2 2 2\n352\n2 1 1\n2 2 2\n");
    Hooks.AnswerFile(beyond);
    Hooks.AnswerMessage(IDOK);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    const ModalRecord& message = Hooks.Log().back();
    EXPECT_EQ(message.Kind, ModalKind::MessageBox);
    EXPECT_EQ(message.Text.rfind("Error: cannot read input file " + beyond, 0), 0u) << message.Text;
    EXPECT_EQ(doc.RunHeader.LatticeSize, 20);
    EXPECT_EQ(doc.RunHeader.LastStep, 2);
    EXPECT_EQ(doc.Capture(RedCaptureY, 7, 1), 6);
    EXPECT_EQ(Step(), 0);

    // Cancelled: nothing read, the first frame shown again.
    doc.Resume();
    Hooks.CancelFile();
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    EXPECT_EQ(doc.RunHeader.LatticeSize, 20);
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_EQ(Step(), 0);
}

// A stored run played back: File > Open leaves it where Restart does, so
// that the next Run shows every frame from frame 1 on to its last, then
// wraps to frame 1 and pauses.
TEST_F(RunControl, FileOpenLeavesAStoredRunWhereRestartDoes)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerFile(Fixture("stored_400.run"));  // frames 0..350 kept
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_RUN));
    ASSERT_EQ(doc.RunMode, PlaybackMode);
    const int last = doc.RunHeader.LastStep;
    ASSERT_EQ(last, 350);
    std::vector<int> everyFrame;  // frames 1 .. LastStep - 1, then 1 again
    for (int t = 1; t < last; ++t)
        everyFrame.push_back(t);
    everyFrame.push_back(1);
    const std::function<void()> commands[] = {
        [&] { ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_GO)); },
        [&] {
            Hooks.CancelFile();
            ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
        },
    };
    for (const auto& command : commands) {
        doc.Resume();
        Ticks(2);
        command();
        EXPECT_EQ(Step(), 0);
        std::vector<int> shown;
        doc.Resume();
        for (int tick = 0; tick < last + 2 && doc.Paused == 0; ++tick) {
            Ticks(1);
            shown.push_back(Step());
        }
        EXPECT_EQ(shown, everyFrame);
    }
}

// Standard error, caught while it lives.
class CaughtStandardError {
public:
    CaughtStandardError() : Old(std::cerr.rdbuf(Caught.rdbuf())) {}
    ~CaughtStandardError() { std::cerr.rdbuf(Old); }
    std::string Text() const { return Caught.str(); }

private:
    std::ostringstream Caught;
    std::streambuf* Old;
};

// A frame file refused is refused on standard error too, in the words of its
// box, as a document file and the File menu's readers are.
TEST_F(RunControl, FileOpenRefusalsAreAlsoWrittenOnStandardError)
{
    StartScenario();
    const std::string missing = testing::TempFolder() + "/missing.out";
    const std::string large = testing::WriteSparse("large.out", MaxTextFileBytes + 1);
    const std::string beyond = testing::WriteTemp("beyond.out", "30 1 1 5\n0\n2 1 1\n2 2 2\n352\n2 1 1\n2 2 2\n");
    const std::pair<std::string, std::string> cases[] = {
        {large, "Error: cannot read input file " + large +
                    ":\nthe file holds 16777217 bytes, more than the 16777216 any file of its kind may hold."},
        {beyond, "Error: cannot read input file " + beyond + ":\n"},
        {missing, "Error: cannot open input file.\n" + missing},
    };
    for (const auto& [path, message] : cases) {
        Hooks.AnswerFile(path);
        Hooks.AnswerMessage(IDOK);
        CaughtStandardError error;
        ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
        const ModalRecord& box = Hooks.Log().back();
        ASSERT_EQ(box.Kind, ModalKind::MessageBox) << path;
        EXPECT_TRUE(box.Text.starts_with(message)) << box.Text;
        EXPECT_EQ(error.Text(), box.Text + "\n") << path;
    }
}

TEST_F(RunControl, FileOpenDrawsTheFirstFrameOnItsOwnField)
{
    // A replay of a 60 x 60 field, then frames of a 20 x 20 one.
    ASSERT_TRUE(Start({QString::fromStdString(Fixture("frames_startup.out"))}));
    ASSERT_EQ(Doc().RunMode, ReplayMode);
    Hooks.AnswerFile(testing::WriteTemp("small.out", "20 1 1 1\n1\n2 3 4\n2 18 19\n"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    // Extent 22: cell (x, y) at row x, column 21 - y.
    const unsigned char* plane = Doc().DisplayPlane(Doc().GetDisplayFrame());
    EXPECT_EQ(plane[LatticeCellOffset(22, 3, 4)], LatticeRedAlive);
    EXPECT_EQ(plane[LatticeCellOffset(22, 18, 19)], LatticeBlueAlive);

    // The status line counts the frame shown before any tick. Frame 1 of
    // frames_short.out: RED "2 5 4", "0 8 5", "1 11 6", "2 14 7" (2 alive,
    // 1 injured), BLUE "0 7 5", "1 12 6", "2 17 7" (1 alive, 1 injured).
    const std::string frameOne =
        " frames_startup.out       [ TIME ]: 1      [RED/4] Alive 2 / Injured 1   [BLUE/3] Alive 1  / Injured 1";
    Hooks.AnswerFile(Fixture("frames_short.out"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    EXPECT_EQ(Frame().StatusText(), frameOne);
    // Frame 2 shown by a tick, then the chooser cancelled: frame 1 again.
    Doc().Resume();
    View()->OnTimer(CBrevimarView::RunTimerId);
    ASSERT_EQ(Doc().RunHeader.CurrentStep, 2);
    Hooks.CancelFile();
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    EXPECT_EQ(Frame().StatusText(), frameOne);
}

TEST_F(RunControl, LeavingAGeneticAlgorithmOrALandscapePutsTheScenarioBack)
{
    // Three RED squads: the personality search runs one, every member and
    // grid point writes its values into the squads, the communications
    // search clears both sides' links, and the sweep sets squad 1's alive
    // sensor range to 6 and 8 where the file says 5.
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    const std::string file = Scenario(doc);
    // Left for the interactive run, or by Terminate Run with every scenario
    // chooser cancelled; the last rows choose a second batch mode while the
    // first stands, which puts back the scenario from before the first.
    const struct {
        unsigned First, Second, Ending;
    } rows[] = {{V::ID_RUN_MODE_GA_FIRST, 0, V::ID_RUN_MODE_INTERACTIVE},
                {V::ID_RUN_MODE_GA_FIRST + 4, 0, V::ID_TERMINATE_RUN},
                {V::ID_RUN_MODE_LANDSCAPE, 0, V::ID_RUN_MODE_INTERACTIVE},
                {V::ID_RUN_MODE_LANDSCAPE, 0, V::ID_TERMINATE_RUN},
                {V::ID_RUN_MODE_GA_FIRST + 4, V::ID_RUN_MODE_LANDSCAPE, V::ID_TERMINATE_RUN},
                {V::ID_RUN_MODE_LANDSCAPE, V::ID_RUN_MODE_GA_FIRST, V::ID_RUN_MODE_INTERACTIVE}};
    for (const auto& row : rows) {
        for (unsigned command : {row.First, row.Second})
            if (command != 0) {
                RunBatch(Frame(), doc, command);
                EXPECT_NE(Scenario(doc), file) << command;  // the batch ran on changed forces
            }
        ASSERT_TRUE(Frame().RunCommand(row.Ending));
        EXPECT_EQ(doc.RunMode, InteractiveMode);
        EXPECT_EQ(Scenario(doc), file) << row.First << " " << row.Second << " " << row.Ending;
    }
}

// A communications-matrix file that links each squad of either side to
// itself alone.
std::string OwnLinksOnly()
{
    std::ostringstream text;
    for (const char* side : {"Red", "Blue"}) {
        text << "*** " << side << " Communications Matrix Weights ***";
        for (int r = 1; r <= 10; ++r)
            for (int c = 1; c <= 10; ++c)
                text << (c == 1 ? "\n" : " ") << (r == c ? 1 : 0);
        text << '\n';
    }
    return text.str();
}

int LinksOtherThanOwn(const CBrevimarDoc& doc)
{
    int wrong = 0;
    for (Side side : {Side::Red, Side::Blue})
        for (int r = 1; r <= 10; ++r)
            for (int c = 1; c <= 10; ++c)
                wrong += doc.Force(side).CommMatrix[r][c] != (r == c ? 1 : 0);
    return wrong;
}

TEST_F(RunControl, WhatTheUserSetWhileABatchStoodOutlastsLeavingIt)
{
    // scenario_v4.dat: BLUE squad 1's alive weight toward its own side is 1
    // and BLUE squad 2's HOLD switch is on (HOLD_flag 0 1 0 1 ...), which
    // every GA member's decoding switches off; RED squad 1's alive sensor
    // range is 5, which the sweeps set to 6 and 8. The file below sweeps
    // that range over 6..8 and sets the territorial box (120, 40, 50, 10).
    // RED holds 12 agents: "num_per_squad 5 5 5" in 3 squads, the last cut
    // to 2; squad 1's alive COMBAT threshold is 31.
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    const std::string ownLinks = WriteTemp("own.cmw", OwnLinksOnly());
    const std::string sweepFile = WriteTemp("box.f1", LandscapeFileText());
    // RED squad 1's parameter x swept over xmin, xmax (y: its alive COMBAT
    // threshold over -1, 1) to the sweep's last point, which writes xmax.
    auto sweepRed1 = [&](int x, int xmin, int xmax, std::function<void()> whileRunning = {}) {
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
        CLandscapeSettings& s = doc.Landscape.Settings;
        s.LandscapeSquad = 1;
        s.LandscapeXParameter = x, s.LandscapeXMin = xmin, s.LandscapeXMax = xmax, s.LandscapeXSamples = 1;
        s.LandscapeYParameter = 30, s.LandscapeYMin = -1, s.LandscapeYMax = 1, s.LandscapeYSamples = 1;
        s.LandscapeInitialConditions = 1;
        s.LandscapeMaxTimeToFlag = 3;
        DeriveLandscapeGrid(doc);
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
        if (whileRunning)
            QTimer::singleShot(0, View(), whileRunning);
        for (int i = 0; i < 8 && doc.Experiment.LandscapeGridPoint < doc.Experiment.LandscapePointCount; ++i)
            Ticks(1);
        ASSERT_EQ(doc.Experiment.LandscapeGridPoint, 4);
    };
    auto redAgentsOk = [&](std::map<int, std::string> typed) {
        Hooks.AnswerDialog(IDOK, std::move(typed));
        ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
    };
    // RED squad `squad` typed `size` by the RED agent dialog.
    auto typeRedSquad = [&](int squad, int size) {
        if (squad != 1)
            Hooks.StepDialog({{CAgentParamsDlg::IDC_SHOW_SQUAD, std::to_string(squad)},
                              {CAgentParamsDlg::IDC_DISPLAY_SQUAD, ""}});
        redAgentsOk({{CAgentParamsDlg::IDC_SQUAD_SIZE, std::to_string(size)}});
    };
    auto oneMoreInSquad2 = [&] { typeRedSquad(2, doc.RedForce.num_per_squad[2] + 1); };
    auto rightClickAt = [&](int x, int y) {
        const CBattlefieldGeometry at = BattlefieldGeometry(doc);
        View()->OnRButtonUp(0, QPoint(static_cast<int>(at.WindowX(x)) + 2, static_cast<int>(at.WindowY(y)) + 2));
    };
    auto rightClickInto = [&](int squad, Side side = Side::Red) {
        const unsigned agentsByRightClick = side == Side::Red ? 33230 : 33241;
        ASSERT_TRUE(Frame().RunCommand(agentsByRightClick));
        ASSERT_TRUE(Frame().RunCommand(agentsByRightClick + squad));  // into the squad
        int x = 1, y = 1;
        while (doc.Battlefield.AgentGrid[GridIndex(x, y)] != CellFree)
            ++x;
        const int agents = doc.Force(side).NumAgents;
        rightClickAt(x, y);
        ASSERT_EQ(doc.Force(side).NumAgents, agents + 1);
    };
    // The first live RED agent taken off: it stays in its slot, dead.
    auto rightClickOnARedAgent = [&] {
        ASSERT_TRUE(Frame().RunCommand(33230));
        const CForce& f = doc.RedForce;
        int i = 1;
        while (i < f.NumAgents && f.AgentState[i] == Dead)
            ++i;
        ASSERT_NE(f.AgentState[i], Dead);
        rightClickAt(f.AgentX[i], f.AgentY[i]);
        ASSERT_EQ(f.AgentState[i], Dead);
    };
    // RED as the file has it (5, 5, 2 = 12) but for one squad, which holds
    // one agent more; a scenario saved now says so.
    auto redOfFileWithOneMoreIn = [&](int squad) {
        const CForce& f = doc.RedForce;
        int sizes[4] = {0, 5, 5, 2};
        ++sizes[squad];
        return f.NumSquads == 3 && f.num_per_squad[1] == sizes[1] && f.num_per_squad[2] == sizes[2] &&
               f.num_per_squad[3] == sizes[3] && f.NumAgents == 13 && RowAfter(Scenario(doc), "num_reds", 1)[0] == 13;
    };
    auto redOfFileWithOneMoreInSquad1 = [&] { return redOfFileWithOneMoreIn(1); };
    auto redOfFileWithOneMoreInSquad2 = [&] { return redOfFileWithOneMoreIn(2); };
    // RED as the file has it with one agent more, which its last squad takes
    // as a file's does when its total exceeds its squads' sum: 5 + 5 + 2 = 12
    // against 13, so 5, 5, 3; a scenario saved now says so.
    auto redOfFileWithOneMoreInTheLastSquad = [&] {
        const CForce& f = doc.RedForce;
        return f.NumSquads == 3 && f.num_per_squad[1] == 5 && f.num_per_squad[2] == 5 && f.num_per_squad[3] == 3 &&
               f.NumAgents == 13 && RowAfter(Scenario(doc), "num_reds", 1)[0] == 13;
    };
    auto redOfFile = [&] {
        const CForce& f = doc.RedForce;
        return f.NumSquads == 3 && f.num_per_squad[1] == 5 && f.num_per_squad[2] == 5 && f.num_per_squad[3] == 2 &&
               f.NumAgents == 12 && RowAfter(Scenario(doc), "num_reds", 1)[0] == 12;
    };
    // A force in squads of these sizes, its total their sum; a scenario
    // saved now says so.
    auto holds = [&](Side side, std::vector<int> sizes) {
        return [&, side, sizes] {
            const CForce& f = doc.Force(side);
            bool same = f.NumSquads == static_cast<int>(sizes.size());
            int total = 0;
            for (std::size_t s = 0; same && s < sizes.size(); total += sizes[s++])
                same = f.num_per_squad[s + 1] == sizes[s];
            const char* label = side == Side::Red ? "num_reds" : "num_blues";
            return same && f.NumAgents == total && RowAfter(Scenario(doc), label, 1)[0] == total;
        };
    };
    auto redHolds = [&](std::vector<int> sizes) { return holds(Side::Red, std::move(sizes)); };
    // The composition GA of the Run Mode menu: members of the search's own
    // 50 agents.
    auto compositionGa = [&] {
        RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST + 2);
        ASSERT_EQ(doc.RedForce.NumAgents, 50);
    };
    // A composition GA read from a file whose genes each hold one value, so
    // that every member of its two generations is the one given here: the
    // squad-count bits (genes 1..3; the count is 1 + g1 + 2 g2 + 4 g3) and
    // the squad sizes (genes 4 on), of the search's 50 agents.
    auto compositionGaOf = [&](std::vector<int> sizes) {
        return [&, sizes] {
            const int bits = static_cast<int>(sizes.size()) - 1;
            const auto gene = [&](int g) {
                if (g <= 3)
                    return (bits >> (g - 1)) & 1;
                return g - 4 < static_cast<int>(sizes.size()) ? sizes[g - 4] : 1;
            };
            Hooks.AnswerFile(WriteTemp("composition.ga1", GaFile(3, gene)));
            ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_GA_INPUT));
            RunTwoTicks(Frame());
            ASSERT_EQ(doc.Experiment.GaGeneration, 2);
            ASSERT_TRUE(redHolds(sizes)());
        };
    };
    // The member's largest squad set to its size less each of `fewer` in
    // turn, by OKs of the RED agent dialog.
    auto cutLargest = [&](std::vector<int> fewer) {
        return [&, fewer] {
            const CForce& f = doc.RedForce;
            const int* sizes = f.num_per_squad;
            const int largest = static_cast<int>(std::max_element(sizes + 1, sizes + 1 + f.NumSquads) - sizes);
            const int size = sizes[largest], total = f.NumAgents;
            ASSERT_GE(size, 13);
            for (int by : fewer)
                typeRedSquad(largest, size - by);
            ASSERT_EQ(f.NumAgents, total - fewer.back());
        };
    };
    // bench/data/large.dat: RED 100, 100, 100 = 300.
    int largeCombat = 0;
    auto largeSwept = [&](int xmin, int xmax) {
        return [&, xmin, xmax] {
            Hooks.AnswerFile(Fixture("../../bench/data/large.dat"));
            ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
            ASSERT_TRUE(redHolds({100, 100, 100})());
            largeCombat = doc.RedForce.A_COMBAT_num[1];
            sweepRed1(1, xmin, xmax);
        };
    };
    // A GA read from a file of search mode 2 whose members are `squads`
    // squads of RED's force (the file's second value), which the set-up fits
    // to its total: 5, 7 of the file's 12 for two; 5, 5, 2 for four, the
    // fourth left empty and dropped.
    auto multiSquadGaOf = [&](int squads) {
        return [&, squads] {
            std::string text = GaFile(2);
            const std::string count = "\nv 0\nv 3\n";
            text.replace(text.find(count), count.size(), "\nv 0\nv " + std::to_string(squads) + "\n");
            Hooks.AnswerFile(WriteTemp("squads.ga2", text));
            ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_GA_INPUT));
            RunTwoTicks(Frame());
            ASSERT_EQ(doc.Experiment.GaGeneration, 2);
            ASSERT_EQ(doc.Ga.GaSquadCount, squads);
            ASSERT_EQ(doc.RedForce.NumSquads, std::min(squads, 3));
        };
    };
    // The multi-squad GA of the Run Mode menu: members of the file's three
    // squads.
    auto multiSquadGaFromMenu = [&] {
        RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST + 1);
        ASSERT_TRUE(redHolds({5, 5, 2})());
    };
    auto nextGeneration = [&] {
        doc.Experiment.GaGenerations = 3;
        doc.Resume();
        Ticks(1);
        ASSERT_EQ(doc.Experiment.GaGeneration, 3);
    };
    // A mode-1 GA runs RED as one squad of the whole force (12).
    auto personalityGa = [&] {
        RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST);
        ASSERT_EQ(doc.RedForce.NumSquads, 1);
        ASSERT_EQ(doc.RedForce.num_per_squad[1], 12);
    };
    auto readOwnLinks = [&] {
        Hooks.AnswerFile(ownLinks);
        ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_COMM_MATRIX));
        ASSERT_EQ(LinksOtherThanOwn(doc), 0);
    };
    const struct {
        const char* What;
        std::function<void()> Batch, UserSets;
        unsigned Ending;
        std::function<bool()> UsersValueStands, BatchsValueGone;
    } rows[] = {
        {"a BLUE weight typed in a GA", [&] { RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST); },
         [&] {
             Hooks.AnswerDialog(IDOK, {{WeightAliveId(W1), "42"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_BLUE_AGENTS));
         },
         V::ID_RUN_MODE_INTERACTIVE, [&] { return doc.BlueForce.w1_a[1] == 42.0f; },
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // Typed between generations and written over by the next, the
        // user's value is the one to go back to.
        {"a searched RED range typed between generations", [&] { RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST); },
         [&] {
             Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "42"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
             doc.Experiment.GaGenerations = 3;
             doc.Resume();
             Ticks(1);
             ASSERT_NE(doc.RedForce.A_S_RANGE[1], 42);  // genes 1..10
         },
         V::ID_RUN_MODE_INTERACTIVE, [&] { return doc.RedForce.A_S_RANGE[1] == 42; },
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // The communications search cleared both sides' links: the file's
        // own zeros are the user's too.
        {"links read in the communications GA", [&] { RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST + 4); },
         readOwnLinks, V::ID_RUN_MODE_INTERACTIVE, [&] { return LinksOtherThanOwn(doc) == 0; },
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"links read in a landscape", [&] { RunBatch(Frame(), doc, V::ID_RUN_MODE_LANDSCAPE); }, readOwnLinks,
         V::ID_TERMINATE_RUN, [&] { return LinksOtherThanOwn(doc) == 0; },
         [&] { return doc.RedForce.A_S_RANGE[1] == 5; }},
        {"the box a landscape file set",
         [&] {
             Hooks.AnswerFile(sweepFile);
             ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_LANDSCAPE));
             ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
             Ticks(1);
             ASSERT_EQ(doc.RedForce.A_S_RANGE[1], 8);
         },
         [] {}, V::ID_TERMINATE_RUN,
         [&] {
             const CBattlefield& f = doc.Battlefield;
             return f.TerritoryCenterX == 120 && f.TerritoryRangeX == 40 && f.TerritoryCenterY == 50 &&
                    f.TerritoryRangeY == 10;
         },
         [&] { return doc.RedForce.A_S_RANGE[1] == 5; }},
        // A force leaves a batch whole: its total is its squads' sum.
        {"an agent added by the RED agent dialog after a sweep of squad 1's size",
         [&] {
             sweepRed1(1, 20, 40);
             ASSERT_EQ(doc.RedForce.num_per_squad[1], 40);
         },
         oneMoreInSquad2, V::ID_RUN_MODE_INTERACTIVE, redOfFileWithOneMoreInSquad2,
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        {"an agent added by a right click after a sweep of squad 1's size", [&] { sweepRed1(1, 20, 40); },
         [&] { rightClickInto(2); }, V::ID_RUN_MODE_INTERACTIVE, redOfFileWithOneMoreInSquad2,
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        // An agent placed in the squad the sweep sizes is one more in the
        // file's squad 1, whatever the sweep's last size (40, 110); so is
        // one placed while the sweep runs, which later points size again.
        {"an agent added by a right click into the squad a sweep sizes", [&] { sweepRed1(1, 20, 40); },
         [&] { rightClickInto(1); }, V::ID_RUN_MODE_INTERACTIVE, redOfFileWithOneMoreInSquad1,
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        {"an agent added by a right click into the squad a sweep sizes up to 110", [&] { sweepRed1(1, 10, 110); },
         [&] { rightClickInto(1); }, V::ID_RUN_MODE_INTERACTIVE, redOfFileWithOneMoreInSquad1,
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        {"an agent added by a right click into the squad a running sweep sizes",
         [&] { sweepRed1(1, 20, 40, [&] { rightClickInto(1); }); }, [] {}, V::ID_RUN_MODE_INTERACTIVE,
         redOfFileWithOneMoreInSquad1, [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        // An agent taken off is not carried into the scenario.
        {"an agent taken off by a right click after a sweep of squad 1's size", [&] { sweepRed1(1, 20, 40); },
         rightClickOnARedAgent, V::ID_RUN_MODE_INTERACTIVE, redOfFile,
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        {"an agent taken off by a right click in a composition GA", compositionGa, rightClickOnARedAgent,
         V::ID_RUN_MODE_INTERACTIVE, redOfFile, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // A size typed stands as typed.
        {"squad 1 typed 6 by the RED agent dialog after a sweep of its size", [&] { sweepRed1(1, 20, 40); },
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_SQUAD_SIZE, "6"}}); }, V::ID_RUN_MODE_INTERACTIVE,
         redOfFileWithOneMoreInSquad1, [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        // The composition member's largest squad cut by 12 leaves 38 of its
        // 50: counted onto the file's 12 that leaves none, so RED comes back
        // as the file has it. Cut by 11, it leaves one agent, which the
        // file's first squad takes. What counts is the net change of all the
        // user's OKs and right clicks, whatever their order.
        {"a composition member cut from 50 to 38 by the RED agent dialog", compositionGa, cutLargest({12}),
         V::ID_RUN_MODE_INTERACTIVE, redOfFile, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a composition member cut by 11", compositionGa, cutLargest({11}), V::ID_RUN_MODE_INTERACTIVE,
         redHolds({1}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a composition member cut by 11, then by 12", compositionGa, cutLargest({11, 12}),
         V::ID_RUN_MODE_INTERACTIVE, redOfFile, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a composition member cut by 12, then corrected to 11", compositionGa, cutLargest({12, 11}),
         V::ID_RUN_MODE_INTERACTIVE, redHolds({1}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a composition member cut by 12, then one agent placed", compositionGa,
         [&] {
             cutLargest({12})();
             rightClickInto(1);
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({1}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // Members the batch makes count as made whatever their squad count:
        // 3 squads, as the file has, or 1 on a file of one squad of 12.
        {"a member of the file's squad count cut by 12", compositionGaOf({20, 20, 10}),
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_SQUAD_SIZE, "8"}}); }, V::ID_RUN_MODE_INTERACTIVE, redOfFile,
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a member of the file's squad count cut by 11", compositionGaOf({20, 20, 10}),
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_SQUAD_SIZE, "9"}}); }, V::ID_RUN_MODE_INTERACTIVE, redHolds({1}),
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a one-squad member on a file of one squad cut to 38",
         [&] {
             redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "1"}, {CAgentParamsDlg::IDC_SQUAD_SIZE, "12"}});
             ASSERT_TRUE(redHolds({12})());
             compositionGaOf({50})();
         },
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_SQUAD_SIZE, "38"}}); }, V::ID_RUN_MODE_INTERACTIVE,
         redHolds({12}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // A squad count typed into a member counts as its change of the
        // total: squads 1 and 2 of 34, 10, 1, 1, 4 hold 44, 6 fewer than 50,
        // and 12 - 6 fill the file's 5 and 1; one squad of 300 is 250 more,
        // 262, which the file's last squad takes (5, 5, 252); one squad of
        // one agent is 49 fewer, which would leave none: the file's 12.
        {"a member typed down to its first two squads", compositionGaOf({34, 10, 1, 1, 4}),
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "2"}}); }, V::ID_RUN_MODE_INTERACTIVE, redHolds({5, 1}),
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a member typed to one squad of 300", compositionGaOf({20, 20, 10}),
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "1"}, {CAgentParamsDlg::IDC_SQUAD_SIZE, "300"}}); },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({5, 5, 252}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a member typed to one squad of one agent", compositionGaOf({20, 20, 10}),
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "1"}, {CAgentParamsDlg::IDC_SQUAD_SIZE, "1"}}); },
         V::ID_RUN_MODE_INTERACTIVE, redOfFile, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // A force of 300 has no room for an agent placed in any squad; a
        // size typed stands, and squads past 300 are fitted as a file's are,
        // the last giving way (20 + 180 + 100 at the sweep's last point).
        {"an agent placed in squad 2 of a swept force of 300", largeSwept(20, 40), [&] { rightClickInto(2); },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({100, 100, 100}),
         [&] { return doc.RedForce.A_COMBAT_num[1] == largeCombat; }},
        {"squad 2 of a swept force of 300 typed 180", largeSwept(0, 20),
         [&] {
             typeRedSquad(2, 180);
             ASSERT_TRUE(redHolds({20, 180, 100})());
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({100, 180, 20}),
         [&] { return doc.RedForce.A_COMBAT_num[1] == largeCombat; }},
        // Every agent placed in a squad whose size was typed counts in that
        // size, before the typing or after it: 160 either way, beside 100
        // of squad 1, and the last squad gives way 60 (40, 160, 100 at the
        // sweep's last point).
        {"squad 2 of a swept force of 300 typed 159, then an agent placed in it", largeSwept(20, 40),
         [&] {
             typeRedSquad(2, 159);
             rightClickInto(2);
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({100, 160, 40}),
         [&] { return doc.RedForce.A_COMBAT_num[1] == largeCombat; }},
        {"an agent placed in squad 2 of a swept force of 300, then squad 2 typed 160", largeSwept(20, 40),
         [&] {
             rightClickInto(2);
             typeRedSquad(2, 160);
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({100, 160, 40}),
         [&] { return doc.RedForce.A_COMBAT_num[1] == largeCombat; }},
        {"an agent placed in squad 2 during a sweep, then squad 2 typed 8", [&] { sweepRed1(1, 20, 40); },
         [&] {
             rightClickInto(2);
             typeRedSquad(2, 8);
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({5, 8, 2}), [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        // A squad count typed stands.
        {"the squad count typed 2 during a sweep", [&] { sweepRed1(1, 20, 40); },
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "2"}}); }, V::ID_RUN_MODE_INTERACTIVE, redHolds({5, 5}),
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        // A force the user leaves with agents does not come back empty: the
        // one squad typed holds the sweep's 40 but none of the scenario's, so
        // RED comes back as the scenario held it.
        {"a swept empty squad beside 12, the squad count typed 1",
         [&] {
             redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "2"}, {CAgentParamsDlg::IDC_SQUAD_SIZE, "0"}});
             typeRedSquad(2, 12);
             ASSERT_TRUE(redHolds({0, 12})());
             sweepRed1(1, 20, 40);
         },
         [&] {
             redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "1"}});
             ASSERT_TRUE(redHolds({40})());
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({0, 12}), [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        // Members of two squads, where the file has three, are the batch's
        // make (5, 7 of the file's 12 after the set-up): one more or one
        // fewer counts onto the file's force, 5, 5, 3 or 5, 5, 1; of
        // large.dat's 300 (100, 200), one fewer is 100, 100, 99.
        {"a member of two squads grown by one", multiSquadGaOf(2), [&] { typeRedSquad(2, 8); },
         V::ID_RUN_MODE_INTERACTIVE, redOfFileWithOneMoreInTheLastSquad,
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a member of two squads cut by one", multiSquadGaOf(2), [&] { typeRedSquad(2, 6); },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({5, 5, 1}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // Four squads, one more than the file's, are the batch's make too.
        {"a member of four squads grown by one", multiSquadGaOf(4),
         [&] { typeRedSquad(1, doc.RedForce.num_per_squad[1] + 1); }, V::ID_RUN_MODE_INTERACTIVE,
         redOfFileWithOneMoreInTheLastSquad, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"a member of two squads of a force of 300 cut by one",
         [&] {
             Hooks.AnswerFile(Fixture("../../bench/data/large.dat"));
             ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
             largeCombat = doc.RedForce.A_COMBAT_num[1];
             multiSquadGaOf(2)();
             ASSERT_TRUE(redHolds({100, 200})());
         },
         [&] { typeRedSquad(2, 199); }, V::ID_RUN_MODE_INTERACTIVE, redHolds({100, 100, 99}),
         [&] { return doc.RedForce.A_COMBAT_num[1] == largeCombat; }},
        // Members of the file's own three squads (the Run Mode menu's) leave
        // the squads the file's: a size typed, or a squad count, stands as
        // typed, whatever the next generation writes.
        {"squad 2 typed 6 in a GA of the file's squads", multiSquadGaFromMenu,
         [&] {
             typeRedSquad(2, 6);
             nextGeneration();
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({5, 6, 2}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"two squads typed in a GA of the file's squads", multiSquadGaFromMenu,
         [&] {
             redAgentsOk({{CAgentParamsDlg::IDC_NUM_SQUADS, "2"}});
             typeRedSquad(2, 6);
             nextGeneration();
         },
         V::ID_RUN_MODE_INTERACTIVE, redHolds({5, 6}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // The squad count a member of several squads runs is RED's alone:
        // BLUE's squad 1 typed 5 stands beside its 6.
        {"BLUE's squad 1 typed 5 in a GA of the file's squads", multiSquadGaFromMenu,
         [&] {
             Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SQUAD_SIZE, "5"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_BLUE_AGENTS));
         },
         V::ID_RUN_MODE_INTERACTIVE, holds(Side::Blue, {5, 6}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // A made force typed back to its own total changes nothing of the
        // file's: 30, 20 typed 25, 25 is 50 still.
        {"a composition member of 30, 20 typed 25, 25", compositionGaOf({30, 20}),
         [&] {
             typeRedSquad(1, 25);
             typeRedSquad(2, 25);
         },
         V::ID_RUN_MODE_INTERACTIVE, redOfFile, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // BLUE's squads are the scenario's whatever a member makes of RED's:
        // 4, 6 with one placed in squad 1.
        {"a BLUE agent placed in squad 1 in a composition GA", compositionGa, [&] { rightClickInto(1, Side::Blue); },
         V::ID_RUN_MODE_INTERACTIVE, holds(Side::Blue, {5, 6}), [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // Every member of the composition search writes RED's squad count,
        // sizes and total (the search's own 50); the last one here leaves
        // one squad. The agent added to it is one more in the file's force.
        {"an agent added by a right click in a composition GA",
         [&] { RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST + 2); }, [&] { rightClickInto(1); },
         V::ID_TERMINATE_RUN, redOfFileWithOneMoreInTheLastSquad, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // The one squad the personality GA wrote, grown by one.
        {"squad 1 set to 13 by the RED agent dialog in a personality GA", personalityGa,
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_SQUAD_SIZE, "13"}}); }, V::ID_RUN_MODE_INTERACTIVE,
         redOfFileWithOneMoreInTheLastSquad, [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"an agent added by a right click in a personality GA", personalityGa, [&] { rightClickInto(1); },
         V::ID_RUN_MODE_INTERACTIVE, redOfFileWithOneMoreInTheLastSquad,
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // 9 of the file's 12 fill its squads 5 and 4.
        {"squad 1 set to 9 by the RED agent dialog in a personality GA", personalityGa,
         [&] { redAgentsOk({{CAgentParamsDlg::IDC_SQUAD_SIZE, "9"}}); }, V::ID_RUN_MODE_INTERACTIVE,
         [&] {
             const CForce& f = doc.RedForce;
             return f.NumSquads == 2 && f.num_per_squad[1] == 5 && f.num_per_squad[2] == 4 && f.NumAgents == 9;
         },
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        {"nothing set in a personality GA", personalityGa, [] {}, V::ID_RUN_MODE_INTERACTIVE, redOfFile,
         [&] { return doc.BlueForce.HOLD_flag[2] == 1; }},
        // The sweep's last point wrote 6, the value the user stores last.
        {"a range stored by the RED agent dialog equal to the sweep's last",
         [&] {
             sweepRed1(2, 4, 6);
             ASSERT_EQ(doc.RedForce.A_S_RANGE[1], 6);
         },
         [&] {
             redAgentsOk({{CAgentParamsDlg::IDC_SENSOR_ALIVE, "9"}});
             redAgentsOk({{CAgentParamsDlg::IDC_SENSOR_ALIVE, "6"}});
         },
         V::ID_RUN_MODE_INTERACTIVE, [&] { return doc.RedForce.A_S_RANGE[1] == 6; },
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
        // OK on what the dialog showed stores nothing of the user's.
        {"the RED agent dialog confirmed untouched after a sweep", [&] { sweepRed1(2, 4, 6); },
         [&] { redAgentsOk({}); }, V::ID_RUN_MODE_INTERACTIVE, [&] { return doc.RedForce.A_S_RANGE[1] == 5; },
         [&] { return doc.RedForce.A_COMBAT_num[1] == 31; }},
    };
    for (const auto& row : rows) {
        row.Batch();
        row.UserSets();
        ASSERT_TRUE(Frame().RunCommand(row.Ending));
        ASSERT_EQ(doc.RunMode, InteractiveMode);
        EXPECT_TRUE(row.UsersValueStands()) << row.What;
        EXPECT_TRUE(row.BatchsValueGone()) << row.What;
        // The next row starts from the file again.
        Hooks.AnswerFile(Fixture("scenario_v4.dat"));
        ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
    }
}

TEST_F(RunControl, AFileThatEndsABatchGoesOntoTheScenarioKeptBeforeIt)
{
    // A terrain file selects the interactive run. Read after a GA or a
    // landscape ran, it changes the terrain of the scenario as it stood
    // before the batch, as it did when read before it; refused, it leaves
    // the batch mode and the last member's forces as they were.
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerFile(Fixture("terrain_small.ter"));
    ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_TERRAIN));
    const std::string withTerrain = Scenario(doc);
    for (unsigned command : {V::ID_RUN_MODE_GA_FIRST, V::ID_RUN_MODE_LANDSCAPE}) {
        RunBatch(Frame(), doc, command);
        const int mode = doc.RunMode;
        const std::string members = Scenario(doc);
        ASSERT_NE(members, withTerrain) << command;
        Hooks.AnswerFile(Fixture("scenario_v4.dat"));  // no terrain file
        Frame().RunCommand(V::ID_FILE_LOAD_TERRAIN);
        EXPECT_EQ(doc.RunMode, mode);
        EXPECT_EQ(Scenario(doc), members) << command;
        Hooks.AnswerFile(Fixture("terrain_small.ter"));
        ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_TERRAIN));
        EXPECT_EQ(doc.RunMode, InteractiveMode);
        EXPECT_EQ(Scenario(doc), withTerrain) << command;
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_INTERACTIVE));
        EXPECT_EQ(Scenario(doc), withTerrain) << command;
    }
}

TEST_F(RunControl, AFileSavedDuringAGeneticAlgorithmHoldsTheScenariosOwnValuesForWhatItDoesNotSearch)
{
    // The communications search clears both sides' links and searches
    // RED's only: the best chromosome's file holds BLUE's links as the
    // scenario has them. Every member's decoding switches off BLUE's HOLD
    // rule, which the personality search does not search: the current
    // chromosome's scenario file holds BLUE's HOLD switches as
    // scenario_v4.dat gives them, 0 1 0 1 0 1 0 1 0 1.
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    CommRows scenarioLinks;
    std::memcpy(scenarioLinks, doc.BlueForce.CommMatrix, sizeof scenarioLinks);
    ASSERT_EQ(scenarioLinks[1][1], 1);
    const std::string folder = TempFolder();

    RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST + 4);
    ASSERT_EQ(doc.BlueForce.CommMatrix[1][1], 0);
    Hooks.StepDialog({{CMatrixDisplayDlg::IDC_SAVE_MATRIX, ""}});
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerFile(folder + "/best.cmw");
    ASSERT_TRUE(Frame().RunCommand(V::ID_DISPLAY_GA_BEST));
    std::string text, problem;
    CommRows red{}, blue{};
    ASSERT_TRUE(ReadTextFile(folder + "/best.cmw", &text));
    ASSERT_TRUE(ReadCommMatrixText(text, &red, &blue, &problem)) << problem;
    int differ = 0;
    for (int r = 1; r <= 10; ++r)
        for (int c = 1; c <= 10; ++c)
            differ += blue[r][c] != scenarioLinks[r][c];
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(doc.BlueForce.CommMatrix[1][1], 0);  // the batch's own links stand until it is left

    RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST);
    ASSERT_EQ(doc.BlueForce.HOLD_flag[2], 0);
    Hooks.AnswerDialog(IDOK);  // "Save to File"
    Hooks.AnswerFile(folder + "/current.dat");
    ASSERT_TRUE(Frame().RunCommand(V::ID_DISPLAY_GA_CURRENT));
    ASSERT_TRUE(ReadTextFile(folder + "/current.dat", &text));
    EXPECT_EQ(RowAfter(text, "HOLD_flag", 2), (std::vector<double>{0, 1, 0, 1, 0, 1, 0, 1, 0, 1}));
}

TEST_F(RunControl, APauseGivenDuringAGenerationHoldsOnceItEnds)
{
    // Run/Stop by the command, a left click in the view and the toolbar
    // button, each handled by the generation's first pumped message after a
    // tick of the generation's own timer.
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    const std::function<void()> ways[] = {
        [this] { Frame().RunCommand(V::ID_RUN_STOP_TOGGLE); },
        [this] {
            const QPointF at(20, 20);
            QMouseEvent click(QEvent::MouseButtonRelease, at, View()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(View(), &click);
        },
        [this] {
            for (QAction* action : Frame().ToolBar()->actions())
                if (action->data().toUInt() == V::ID_RUN_STOP_TOGGLE)
                    action->trigger();
        },
    };
    for (std::size_t way = 0; way < std::size(ways); ++way) {
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST));
        doc.Ga.GaPopulationSize = 3;
        doc.Ga.GaInitialConditions = 1;
        doc.Ga.GaMaxTimeToFlag = 3;
        doc.Experiment.GaGenerations = 5;
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
        QTimer::singleShot(0, View(), [this, &ways, way] {
            View()->OnTimer(43);
            ways[way]();
        });
        Ticks(1);
        EXPECT_EQ(doc.Experiment.GaGeneration, 1) << way;
        EXPECT_EQ(doc.Paused, 1) << way;
        Ticks(2);
        EXPECT_EQ(doc.Experiment.GaGeneration, 1) << way;
    }
}

}  // namespace
}  // namespace brevimar::testing
