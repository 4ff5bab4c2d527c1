// What a genetic algorithm or a fitness landscape leaves in the scenario,
// entered by every command that starts or drives one: leaving puts back what
// the batch wrote, keeps what the user set, and a file saved meanwhile holds
// the scenario's own values for what the batch does not search.
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "app/BatchRuns.h"
#include "app/ResourceIds.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/GaEditDialogs.h"
#include "dialogs/LandscapeDialogs.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using RP = CLandscapeRunParamsDlg;
using P = CLandscapeParamsDlg;

// A document file of one step on the scenario's 150 x 150 field: RED 1
// alive at (2, 3), BLUE 1 alive at (7, 8); little-endian 32-bit integers.
std::string HistoryFile()
{
    std::string bytes;
    for (const std::int32_t v : {150, 1, 1, 1, 1, 2, 2, 3, 2, 7, 8})
        for (int b = 0; b < 4; ++b)
            bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
    return bytes;
}

class BatchWriteRecord : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v4.dat"));
        ASSERT_TRUE(Start());
    }
    void Run(unsigned command) { ASSERT_TRUE(Frame().RunCommand(command)) << command; }
    void ReadScenario()
    {
        Hooks.AnswerFile(Fixture("scenario_v4.dat"));
        Run(ID_FILE_LOAD_INPUT_DATA);
    }
    void ReadStoredRun()
    {
        Hooks.AnswerFile(Fixture("stored_v4.run"));
        Run(ID_FILE_LOAD_RUN);
    }
    void ReadGaFile(int mode, int gene = 1)
    {
        Hooks.AnswerFile(WriteTemp("batch.ga1", GaFile(mode, gene)));
        Run(V::ID_FILE_LOAD_GA_INPUT);
        ASSERT_EQ(Doc().RunMode, GeneticAlgorithmMode);
        ASSERT_EQ(Doc().Ga.GaSearchMode, mode);
    }
    void ReadLandscapeFile(bool symmetrize)
    {
        Hooks.AnswerFile(WriteTemp("batch.f1", LandscapeFileText(symmetrize)));
        Run(V::ID_FILE_LOAD_LANDSCAPE);
        ASSERT_EQ(Doc().RunMode, FitnessLandscapeMode);
    }
    // Both symmetrisations switched on in the run-time dialog, runs of one
    // condition and 3 steps.
    void AnswerSymmetrize()
    {
        Hooks.AnswerDialog(IDOK, {{RP::IDC_SYM_AI_YES, "1"}, {RP::IDC_SYM_W_YES, "1"}, {RP::IDC_CONDITIONS, "1"},
                                  {RP::IDC_MAX_TIME, "3"}});
    }
};

// On scenario_v4.dat (three RED squads whose alive and injured values
// differ, flocking, BLUE HOLD switches 0 1 0 1 ..., links on both sides)
// these batches change most of what the record holds; a field a batch
// writes and the record does not know stays changed after leaving.
TEST_F(BatchWriteRecord, EveryWayIntoABatchLeavesTheScenarioAsItWas)
{
    CBrevimarDoc& doc = Doc();
    struct Way {
        std::string What;
        std::function<void()> Enter;
    };
    std::vector<Way> ways;
    // The menu holds modes 1, 2, 3, 5 and 6; a GA file takes all eight.
    for (int mode : {1, 2, 3, 5, 6})
        ways.push_back({"menu mode " + std::to_string(mode),
                        [&, mode] { RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST + mode - 1); }});
    for (int mode = 1; mode <= 8; ++mode)
        ways.push_back({"GA file mode " + std::to_string(mode), [&, mode] {
                            ReadGaFile(mode);
                            RunTwoTicks(Frame());
                            ASSERT_EQ(doc.Experiment.GaGeneration, 2);
                        }});
    const Way others[] = {
        {"composition search from the Edit menu",
         [&] {
             ReadGaFile(1);
             Hooks.AnswerDialog(IDOK, {{CSquadCompositionParamsDlg::IDC_TOTAL, "20"}});
             Run(V::ID_EDIT_GA_COMPOSITION_SEARCH);
             ASSERT_EQ(doc.RedForce.NumAgents, 20);
             RunTwoTicks(Frame());
         }},
        {"communications search from the Edit menu",
         [&] {
             ReadGaFile(5);
             ASSERT_EQ(doc.BlueForce.CommMatrix[1][1], 1);
             Hooks.AnswerDialog(IDOK);
             Run(V::ID_EDIT_GA_COMM_MATRIX_SEARCH);
             ASSERT_EQ(doc.BlueForce.CommMatrix[1][1], 0);
             RunTwoTicks(Frame());
         }},
        {"squad matrix search from the Edit menu",
         [&] {
             ReadGaFile(1);
             Hooks.AnswerDialog(IDOK);
             Run(V::ID_EDIT_GA_SQUAD_MATRIX_SEARCH);
             RunTwoTicks(Frame());
         }},
        // The two RED squad-1 values no other way writes: terrain weight 0.1
        // swept over -1 and 1, minimum distance from terrain 4.75 over 0 and 4.
        {"landscape menu, symmetrising",
         [&] {
             AnswerSymmetrize();
             Hooks.AnswerDialog(IDOK, {{P::IDC_X_NAME, "Alive Terrain Weight (Alive Red --> Terrain)"},
                                       {P::IDC_X_MIN, "-1"}, {P::IDC_X_MAX, "1"}, {P::IDC_X_SAMPLES, "1"},
                                       {P::IDC_Y_NAME, "Alive Min Distance from Terrain"},
                                       {P::IDC_Y_MIN, "0"}, {P::IDC_Y_MAX, "4"}, {P::IDC_Y_SAMPLES, "1"}});
             Run(V::ID_RUN_MODE_LANDSCAPE);
             ASSERT_EQ(doc.Experiment.LandscapePointCount, 4);
             RunTwoTicks(Frame());
         }},
        {"landscape file, symmetrising",
         [&] {
             ReadLandscapeFile(true);
             RunTwoTicks(Frame());
         }},
        // Paused in the sweep's first run, at its first grid point: RED
        // squad 1's alive sensor range 6 (5 in the file).
        {"landscape file, paused half-way",
         [&] {
             ReadLandscapeFile(false);
             Run(V::ID_RUN);
             QTimer::singleShot(0, View(), [&doc] { doc.Pause(); });
             View()->OnTimer(V::RunTimerId);
             ASSERT_EQ(doc.Landscape.Run.SweepOpen, 1);
             ASSERT_EQ(doc.RedForce.A_S_RANGE[1], 6);
         }},
        {"landscape run-time symmetrisation",
         [&] {
             ReadLandscapeFile(false);
             AnswerSymmetrize();
             Run(V::ID_EDIT_LANDSCAPE_RUN_TIME);
             ASSERT_EQ(doc.RedForce.I_S_RANGE[2], doc.RedForce.A_S_RANGE[2]);
             RunTwoTicks(Frame());
         }},
    };
    ways.insert(ways.end(), std::begin(others), std::end(others));
    // A file read to leave a batch goes onto the scenario as it stood before
    // the batch: the stored run gives what it gives read after the scenario
    // with no batch between.
    ReadScenario();
    ReadStoredRun();
    const std::string storedRun = Scenario(doc);
    const std::string history = WriteTemp("history.brv", HistoryFile());
    const std::string badScenario = WriteTemp("bad.dat", "data_version 4\n");
    const std::string badHistory = WriteTemp("bad.brv", "0123456789");
    const struct {
        const char* What;
        std::function<void()> Leave;
        int Mode;
        bool StoredRun;
    } endings[] = {
        {"Interactive", [&] { Run(V::ID_RUN_MODE_INTERACTIVE); }, InteractiveMode, false},
        {"Terminate Run", [&] { Run(V::ID_TERMINATE_RUN); }, InteractiveMode, false},
        {"a scenario read", [&] { ReadScenario(); }, InteractiveMode, false},
        {"a stored-run read", [&] { ReadStoredRun(); }, PlaybackMode, true},
        {"a document file by File/Open, then Interactive",
         [&] {
             Hooks.AnswerFile(history);
             Run(ID_FILE_OPEN);
             ASSERT_EQ(doc.RunMode, ReplayMode);
             EXPECT_EQ(doc.Landscape.Run.SweepOpen, 0);  // nothing resumes a sweep paused half-way
             Run(V::ID_RUN_MODE_INTERACTIVE);
         },
         InteractiveMode, false},
    };
    for (const auto& way : ways)
        for (const auto& ending : endings) {
            ReadScenario();
            const std::string before = Scenario(doc);
            way.Enter();
            const int mode = doc.RunMode;
            const std::string members = Scenario(doc);
            ASSERT_NE(members, before) << way.What;  // the batch ran on changed forces
            // A refused file leaves the batch standing on its own values, as
            // frames opened to replay do, which keep the run mode (once a
            // way: the ending shows what the record kept).
            if (&ending == endings) {
                Hooks.AnswerFile(badScenario);
                Run(ID_FILE_LOAD_INPUT_DATA);
                Hooks.AnswerFile(badHistory);
                Run(ID_FILE_OPEN);
                Hooks.AnswerFile(Fixture("frames_short.out"));
                Run(ID_FILE_OPEN);
                ASSERT_EQ(doc.RunMode, mode) << way.What;
                ASSERT_EQ(Scenario(doc), members) << way.What;
            }
            ending.Leave();
            ASSERT_EQ(doc.RunMode, ending.Mode);
            EXPECT_EQ(Scenario(doc), ending.StoredRun ? storedRun : before) << way.What << ", left by " << ending.What;
        }
}

// bench/data/small.dat read with no squad matrix file (zero inter-squad
// weights), a composition GA, whose members decode RED's weights, then
// scenario_v4.dat read from the File menu. Neither file holds weights: the
// document holds what a new window that opened scenario_v4.dat holds, zero
// weights included, and the same battle follows.
TEST_F(BatchWriteRecord, AScenarioReadAfterACompositionGaGivesWhatAFreshWindowReads)
{
    App->OpenDocumentFile(std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat");
    CBrevimarDoc& doc = Doc();
    RunBatch(Frame(), doc, V::ID_RUN_MODE_GA_FIRST + 2);
    ASSERT_EQ(doc.Ga.GaSearchMode, 3);
    ReadScenario();
    ASSERT_EQ(doc.RunMode, InteractiveMode);
    App->OpenDocumentFile(Fixture("scenario_v4.dat"));
    CBrevimarDoc& fresh = Doc();
    ASSERT_NE(&doc, &fresh);
    fresh.Pause();
    for (int r = 1; r <= 10; ++r)
        for (int c = 1; c <= 10; ++c)
            ASSERT_EQ(doc.RedForce.SquadWeightMatrix[r][c], 0.0) << r << " " << c;
    EXPECT_EQ(Scenario(doc), Scenario(fresh));
    for (int step = 1; step <= 4; ++step) {
        for (CBrevimarDoc* d : {&doc, &fresh})
            d->StepSimulation();
        for (Side side : {Side::Red, Side::Blue})
            for (int i = 1; i <= fresh.Force(side).NumAgents; ++i)
                ASSERT_TRUE(doc.Force(side).AgentX[i] == fresh.Force(side).AgentX[i] &&
                            doc.Force(side).AgentY[i] == fresh.Force(side).AgentY[i])
                    << "step " << step << " agent " << i;
    }
}

// bench/data/small.dat (RED A:C_RANGE 2 2 0 ...), a mode-1 GA whose every
// member sets RED squad 1's threshold range to 1, then scenario_v4.dat read
// (A:C_RANGE 1 2 3 ... 10), then scenario_v1.dat, which has no A:C_RANGE
// row: a new document's 0, not what the batch wrote last. The GA ended
// with the first read: the second gives what the same two reads give in a
// window that ran no GA.
TEST_F(BatchWriteRecord, ASecondScenarioReadAfterAGaGivesWhatTheReadsAloneGive)
{
    const std::string small = std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat";
    App->OpenDocumentFile(small);
    CBrevimarDoc& doc = Doc();
    ReadGaFile(1);
    RunTwoTicks(Frame());
    ASSERT_EQ(doc.RedForce.A_C_RANGE[1], 1);
    ReadScenario();
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    Run(ID_FILE_LOAD_INPUT_DATA);
    EXPECT_EQ(doc.RedForce.A_C_RANGE[1], 0);
    App->OpenDocumentFile(small);
    CBrevimarDoc& alone = Doc();
    ASSERT_NE(&doc, &alone);
    ReadScenario();
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    Run(ID_FILE_LOAD_INPUT_DATA);
    EXPECT_EQ(Scenario(doc), Scenario(alone));
}

// A squad matrix file whose RED rows hold what the mode-6 GA below writes:
// -1 between squads 1..3, 1 elsewhere (both sides alike).
std::string SquadMatrixFile()
{
    std::ostringstream text;
    for (const char* side : {"Red", "Blue"}) {
        text << "* " << side << " squad matrix weights *";
        for (int r = 1; r <= 10; ++r)
            for (int c = 1; c <= 10; ++c)
                text << (c == 1 ? "\n" : " ") << (r <= 3 && c <= 3 ? -1 : 1);
        text << '\n';
    }
    return text.str();
}

TEST_F(BatchWriteRecord, WhatTheUserSetAfterTheBatchsLastWriteStands)
{
    // scenario_v4.dat: RED squad 1's alive sensor range 5, which every
    // member of a mode-1 file below sets to 1; BLUE squad 2's HOLD switch 1,
    // which every GA switches off.
    CBrevimarDoc& doc = Doc();
    ASSERT_EQ(doc.RedForce.A_S_RANGE[1], 5);
    ASSERT_NE(doc.RedForce.SquadWeightMatrix[1][1], -1.0);
    const std::string matrices = WriteTemp("user.smw", SquadMatrixFile());
    const struct {
        const char* What;
        std::function<void()> BatchThenUser;
        std::function<bool()> UsersValueStands;
    } rows[] = {
        {"a searched range typed after the last generation",
         [&] {
             ReadGaFile(1);
             RunTwoTicks(Frame());
             ASSERT_EQ(doc.RedForce.A_S_RANGE[1], 1);
             Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "42"}});
             Run(V::ID_EDIT_RED_AGENTS);
         },
         [&] { return doc.RedForce.A_S_RANGE[1] == 42; }},
        // Every member of the mode-6 file decodes squads 1..3 to -1: the
        // file's values equal the batch's and are the user's all the same.
        {"a squad matrix file read in the weight-matrix GA",
         [&] {
             ReadGaFile(6, -1);
             RunTwoTicks(Frame());
             ASSERT_EQ(doc.RedForce.SquadWeightMatrix[3][3], -1.0);
             Hooks.AnswerFile(matrices);
             Run(V::ID_FILE_LOAD_SQUAD_MATRIX);
         },
         [&] { return doc.RedForce.SquadWeightMatrix[1][1] == -1.0 && doc.RedForce.SquadWeightMatrix[3][3] == -1.0; }},
    };
    for (const auto& row : rows)
        for (unsigned ending : {V::ID_RUN_MODE_INTERACTIVE, V::ID_TERMINATE_RUN}) {
            ReadScenario();
            row.BatchThenUser();
            Run(ending);
            ASSERT_EQ(doc.RunMode, InteractiveMode);
            EXPECT_TRUE(row.UsersValueStands()) << row.What << ", left by " << ending;
            EXPECT_EQ(doc.BlueForce.HOLD_flag[2], 1) << row.What << ", left by " << ending;
        }
}

TEST_F(BatchWriteRecord, AChromosomeSavedDuringAGaHoldsItsSearchedValuesAndTheScenariosOthers)
{
    // A mode-1 file: every member's squad 1 takes an alive sensor range of 1
    // (scenario_v4.dat: 5 6 7 ... 14 for RED squads 1..10). Not searched:
    // decoding clears flocking (RED w_flock_alive 0.3 -0.1 0 0.1 0.2 ...),
    // and every run's set-up draws RED's random personalities and with them
    // its local-command weight w7, which the set-up after reading the
    // scenario drew too. The best chromosome's file is of data version 1,
    // which has no flocking row. Each member runs RED as one squad of its
    // whole force: the file holds the scenario's total, 12.
    const CBrevimarDoc& doc = Doc();
    const double w7 = doc.RedLocal.w7;
    ReadGaFile(1);
    RunTwoTicks(Frame());
    ASSERT_EQ(doc.RedForce.w_flock_alive[1], 0.0f);
    ASSERT_NE(doc.RedLocal.w7, w7);
    const std::vector<double> sensors = {1, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    const std::vector<double> flocking = {0.3, -0.1, 0, 0.1, 0.2, 0.3, -0.1, 0, 0.1, 0.2};
    const struct {
        unsigned Display;
        const char* Label;
        int Occurrence;  // 1: RED's row
        std::vector<double> Values;  // the first of the row's values
    } rows[] = {
        {V::ID_DISPLAY_GA_CURRENT, "A:S_RANGE", 1, sensors},
        {V::ID_DISPLAY_GA_CURRENT, "w_flock_alive", 1, flocking},
        {V::ID_DISPLAY_GA_CURRENT, "w7:R_loc_comdr", 1, {w7}},
        {V::ID_DISPLAY_GA_CURRENT, "num_reds", 1, {12}},
        {V::ID_DISPLAY_GA_BEST, "A:S_RANGE", 1, sensors},
        {V::ID_DISPLAY_GA_BEST, "w7:R_loc_comdr", 1, {w7}},
    };
    const std::string path = TempFolder() + "/chromosome.dat";
    for (const auto& row : rows) {
        std::filesystem::remove(path);
        Hooks.AnswerDialog(IDOK);  // "Save to File"
        Hooks.AnswerFile(path);
        Run(row.Display);
        std::string text;
        ASSERT_TRUE(ReadTextFile(path, &text));
        const std::vector<double> read = RowAfter(text, row.Label, row.Occurrence);
        for (std::size_t k = 0; k < row.Values.size(); ++k)
            EXPECT_NEAR(read[k], row.Values[k], 1e-5) << row.Display << " " << row.Label << " " << k;
    }
    EXPECT_EQ(doc.RedForce.w_flock_alive[1], 0.0f);  // the batch's own values stand until it is left
}

}  // namespace
}  // namespace brevimar::testing
