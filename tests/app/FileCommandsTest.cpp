#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "app/AppFixture.h"
#include "app/BatchRuns.h"
#include "app/ResourceIds.h"
#include "core/LatticeCodes.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/BattlefieldDlgs.h"
#include "dialogs/CombatParamsDlg.h"
#include "dialogs/MatrixDlg.h"
#include "files/ScenarioWriter.h"
#include "files/WordReader.h"
#include "run/ScenarioLoad.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

using testing::TempFolder;

constexpr unsigned SaveInputData = CBrevimarView::ID_FILE_SAVE_INPUT_DATA;
constexpr unsigned SaveRun = CBrevimarView::ID_FILE_SAVE_RUN;
constexpr unsigned StopCapture = CBrevimarView::ID_FILE_STOP_RUN_CAPTURE;

std::string Written(const CBrevimarDoc& doc)
{
    std::ostringstream out;
    WriteScenario(doc, out);
    return out.str();
}

std::string FileText(const std::string& path)
{
    std::string text;
    EXPECT_TRUE(ReadTextFile(path, &text)) << path;
    return text;
}

class FileCommands : public AppTest {
protected:
    void StartWithScenario()
    {
        Hooks.AnswerFile(Fixture("scenario_v4.dat"));
        ASSERT_TRUE(Start());
        ASSERT_EQ(Doc().RunMode, InteractiveMode);
    }
    void Tick(int count)
    {
        for (int i = 0; i < count; ++i)
            View()->OnTimer(CBrevimarView::RunTimerId);
    }
    const ModalRecord& LastModal() const { return Hooks.Log().back(); }
    // Save RUN File, then `steps` ticks: frames 0..steps are recorded, and a
    // RUN file written now holds frames 0..steps-1.
    void CaptureSteps(int steps)
    {
        ASSERT_TRUE(Frame().RunCommand(SaveRun));
        for (int i = 0; i < steps; ++i) {
            Doc().Resume();
            Tick(1);
        }
        ASSERT_EQ(Doc().RunHeader.CurrentStep, steps);
    }
    std::size_t MessagesShown() const
    {
        return static_cast<std::size_t>(std::count_if(Hooks.Log().begin(), Hooks.Log().end(), [](const ModalRecord& r) {
            return r.Kind == ModalKind::MessageBox;
        }));
    }
};

TEST_F(FileCommands, SaveInputDataFileWritesInTheInteractiveRunOnly)
{
    StartWithScenario();
    const std::string folder = TempFolder();
    Doc().Resume();
    Hooks.AnswerFile(folder + "/saved.dat");
    ASSERT_TRUE(Frame().RunCommand(SaveInputData));
    EXPECT_EQ(Doc().Paused, 1);
    EXPECT_EQ(LastModal().Title, "Save input data file");
    EXPECT_EQ(LastModal().Text, "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run||");
    EXPECT_EQ(FileText(folder + "/saved.dat"), Written(Doc()));

    // In the genetic-algorithm mode the command is greyed and asks nothing.
    Doc().RunMode = GeneticAlgorithmMode;
    Hooks.AnswerFile(folder + "/not-written.dat");
    EXPECT_FALSE(Frame().RunCommand(SaveInputData));
    EXPECT_EQ(Hooks.Pending(ModalKind::FileDialog), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder + "/not-written.dat"));
}

TEST_F(FileCommands, TheBuiltInScenarioDeploysEveryAgentAndReadsBackWithoutAWarning)
{
    // Cancel at start-up keeps the built-in scenario: ten agents a side.
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    EXPECT_EQ(doc.RunHeader.RedAlive, 10);
    EXPECT_EQ(doc.RunHeader.BlueAlive, 10);
    std::set<std::pair<int, int>> cells;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce* force = &doc.Force(side);
        ASSERT_EQ(force->NumAgents, 10);
        for (int i = 1; i <= force->NumAgents; ++i) {
            EXPECT_EQ(force->AgentState[i], 2) << i;
            cells.insert({force->AgentX[i], force->AgentY[i]});
        }
    }
    EXPECT_EQ(cells.size(), 20u) << "agents share cells";

    const std::string path = TempFolder() + "/built-in.dat";
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Frame().RunCommand(SaveInputData));
    const LoadResult read = LoadScenario(doc, path);
    EXPECT_TRUE(read.Read);
    EXPECT_EQ(read.Message, "");
    EXPECT_EQ(doc.RunHeader.RedAlive + doc.RunHeader.BlueAlive, 20);
}

TEST_F(FileCommands, CaptureRecordsEveryStepAndStopWritesTheRunFile)
{
    StartWithScenario();
    const std::string folder = TempFolder();
    Tick(3);
    ASSERT_TRUE(Frame().RunCommand(SaveRun));
    CBrevimarDoc& doc = Doc();
    EXPECT_EQ(doc.RunCaptureOn, 1);
    EXPECT_LE(doc.RunHeader.CurrentStep, 1);  // back before the first step
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_EQ(FileDialogsShown(), 1);  // only the start-up's
    // Set-up recorded the deployment as frame 0.
    for (int i = 1; i <= doc.NumRed(); ++i) {
        EXPECT_EQ(doc.Capture(RedCaptureX, 0, i), doc.RedForce.AgentX[i]);
        EXPECT_EQ(doc.Capture(RedCaptureY, 0, i), doc.RedForce.AgentY[i]);
    }

    Doc().Resume();
    Tick(2);  // the tick at step 1 pauses the run
    Doc().Resume();
    Tick(4);
    const int step = doc.RunHeader.CurrentStep;
    ASSERT_GT(step, 3);
    const std::string expected = Written(doc);
    doc.RunCaptureOn = 0;
    const std::size_t scenarioSize = Written(doc).size();
    doc.RunCaptureOn = 1;
    ASSERT_GT(expected.size(), scenarioSize);

    Hooks.AnswerFile(folder + "/battle.run");
    ASSERT_TRUE(Frame().RunCommand(StopCapture));
    EXPECT_EQ(FileText(folder + "/battle.run"), expected);
    const std::string frames = expected.substr(scenarioSize);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), '\n'), step * (1 + doc.NumRed() + doc.NumBlue()));
    EXPECT_EQ(doc.RunCaptureOn, 0);
    EXPECT_LE(doc.RunHeader.CurrentStep, 1);
    EXPECT_EQ(doc.RunHeader.TimeDirection, 1);
    EXPECT_EQ(doc.Paused, 1);
}

TEST_F(FileCommands, CaptureCommandsOutsideTheirCaseAndFilesThatDoNotOpen)
{
    StartWithScenario();
    const std::string folder = TempFolder();
    CBrevimarDoc& doc = Doc();

    // Save RUN File outside the interactive run: greyed, and the handler
    // itself would do nothing either.
    doc.RunMode = GeneticAlgorithmMode;
    doc.RunHeader.CurrentStep = 9;
    EXPECT_FALSE(Frame().RunCommand(SaveRun));
    View()->OnFileSaveRunFile();
    EXPECT_EQ(doc.RunCaptureOn, 0);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 9);

    // Stop RUN Capture waits while a batch is inside its loop.
    CCmdUI ui(StopCapture);
    doc.Experiment.GABusy = 1;
    ASSERT_TRUE(View()->MessageMap().Update(ui));
    EXPECT_FALSE(ui.Enabled);
    doc.Experiment.GABusy = 0;

    // Cancelled, it writes nothing and the capture goes on where it stood;
    // the next Stop writes every frame recorded before and after the cancel.
    doc.RunMode = InteractiveMode;
    ASSERT_TRUE(Frame().RunCommand(SaveRun));
    ASSERT_EQ(doc.RunCaptureOn, 1);
    doc.Resume();
    for (int tick = 0; tick < 5; ++tick, doc.Resume())
        View()->OnTimer(CBrevimarView::RunTimerId);
    ASSERT_EQ(doc.RunHeader.CurrentStep, 5);
    Hooks.CancelFile();
    ASSERT_TRUE(Frame().RunCommand(StopCapture));
    EXPECT_EQ(doc.RunCaptureOn, 1);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 5);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    doc.Resume();
    View()->OnTimer(CBrevimarView::RunTimerId);
    doc.RunCaptureOn = 0;
    const std::size_t scenarioSize = Written(doc).size();
    doc.RunCaptureOn = 1;
    Hooks.AnswerFile(folder + "/after-cancel.run");
    ASSERT_TRUE(Frame().RunCommand(StopCapture));
    // The frames before the current step 6, that is 0..5, each a step line
    // and one line per agent.
    const std::string frames = FileText(folder + "/after-cancel.run").substr(scenarioSize);
    EXPECT_EQ(std::count(frames.begin(), frames.end(), '\n'), 6 * (1 + doc.NumRed() + doc.NumBlue()));
    std::filesystem::remove(folder + "/after-cancel.run");

    // A file that cannot be created is reported; the program and the
    // document carry on.
    doc.Statistics.AllStatisticsOn = 1;
    const std::string path = folder + "/missing/x.dat";
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Frame().RunCommand(SaveInputData));
    EXPECT_EQ(LastModal().Kind, ModalKind::MessageBox);
    EXPECT_EQ(LastModal().Text, "Error: cannot open output file.\n" + path + "\nNo such file or directory.");
    EXPECT_EQ(doc.Statistics.AllStatisticsOn, 1);
    EXPECT_EQ(doc.RunMode, InteractiveMode);
}

// Ctrl+S keeps the history the window shows, and the document file, opened
// as from the command line, the shell or a drop, plays the same frames back
// without a word and without a battle of its own.
TEST_F(FileCommands, SavedDocumentFileReopensToTheFramesOfItsSource)
{
    ASSERT_TRUE(Start({QString::fromStdString(Fixture("scenario_v4.dat"))}));
    const std::string folder = TempFolder();
    const struct {
        const char* what;
        std::function<void()> open;  // leaves the source's window active
        int size, red, blue, steps;  // expected header
        int row, redAgent1[3], lastBlue[3];  // a frame of the source, by hand
    } sources[] = {
        // stored_v4.run: 12 RED and 10 BLUE on 150 x 150, frames 0, 1, 2;
        // frame 1 begins "2 5 4", frame 2 ends with BLUE 10 at "1 53 17".
        {"stored run", [&] { App->OpenDocumentFile(Fixture("stored_v4.run")); }, 150, 12, 10, 2,
         2, {0, 6, 6}, {1, 53, 17}},
        // frames_startup.out: a 60 x 60 field, 4 RED and 3 BLUE, frames 0..5;
        // frame 5 begins "0 9 12" and ends "0 21 19".
        {"frame file", [&] { App->OpenDocumentFile(Fixture("frames_startup.out")); }, 60, 4, 3, 5,
         5, {0, 9, 12}, {0, 21, 19}},
        // scenario_v4.dat captured for 6 steps: the RUN file would hold
        // frames 0..5, the document file has rows for 1..5.
        {"capture",
         [&] {
             App->OpenDocumentFile(Fixture("scenario_v4.dat"));
             CaptureSteps(6);
         },
         150, 12, 10, 5, 0, {}, {}},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.what);
        source.open();
        CBrevimarDoc& from = Doc();
        const std::string path = folder + "/" + source.what + ".brv";
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
        // 16 header bytes, then per step 4 + 12 x (R + B) bytes.
        ASSERT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(std::filesystem::file_size(path),
                  16u + static_cast<unsigned>(source.steps * (4 + 12 * (source.red + source.blue))));

        const std::size_t messages = MessagesShown();
        CBrevimarView* view = App->OpenDocumentFile(path);
        ASSERT_NE(view, nullptr);
        CBrevimarDoc& to = *view->GetDocument();
        EXPECT_EQ(MessagesShown(), messages);  // no deployment message
        EXPECT_EQ(to.RunMode, ReplayMode);
        EXPECT_EQ(to.RunHeader.LatticeSize, source.size);
        EXPECT_EQ(to.RunHeader.RedCount, source.red);
        EXPECT_EQ(to.RunHeader.BlueCount, source.blue);
        EXPECT_EQ(to.RunHeader.LastStep, source.steps);
        for (int b = 0; b < 3 && source.row > 0; ++b) {
            EXPECT_EQ(to.Capture(RedCaptureState + b, source.row, 1), source.redAgent1[b]);
            EXPECT_EQ(to.Capture(BlueCaptureState + b, source.row, source.blue), source.lastBlue[b]);
        }
        for (int k = 1; k <= source.steps; ++k)
            for (int b = 0; b < CaptureBufferCount; ++b)
                for (int i = 1; i <= (b < BlueCaptureState ? source.red : source.blue); ++i)
                    ASSERT_EQ(to.Capture(b, k, i), from.Capture(b, k, i)) << "row " << k << " agent " << i;
        // Ticks replay the frames; no battle runs and the history stays whole.
        to.Resume();
        view->OnTimer(CBrevimarView::RunTimerId);
        view->OnTimer(CBrevimarView::RunTimerId);
        EXPECT_EQ(to.RunMode, ReplayMode);
        EXPECT_EQ(to.RunHeader.LastStep, source.steps);
    }

    // The chooser of a new window opens a document file the same way.
    const std::size_t messages = MessagesShown();
    Hooks.AnswerFile(folder + "/stored run.brv");
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    EXPECT_EQ(MessagesShown(), messages);
    EXPECT_EQ(Doc().RunMode, ReplayMode);
    EXPECT_EQ(Doc().RunHeader.LastStep, 2);

    // A battle nobody captures holds no history: Save says so and writes
    // nothing, rather than a file that reopens empty.
    App->OpenDocumentFile(Fixture("scenario_v4.dat"));
    Doc().Resume();
    Tick(2);
    const std::string none = folder + "/none.brv";
    Hooks.AnswerFile(none);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_FALSE(std::filesystem::exists(none));
    EXPECT_EQ(Hooks.Pending(ModalKind::FileDialog), 1u);
    ASSERT_EQ(LastModal().Kind, ModalKind::MessageBox);
    EXPECT_NE(LastModal().Text.find("no run history"), std::string::npos) << LastModal().Text;
}

// A document file opens alike whatever the case of its extension and the
// way it comes: paused on its frame 1, which the status line and a printed
// page name with the file's own agent counts.
TEST_F(FileCommands, ADocumentFileOpensOnEveryPathPausedOnItsFirstFrame)
{
    // 10 x 10, 2 RED, 1 BLUE, 3 steps; per step k, then state, x, y of RED 1,
    // RED 2, BLUE 1. Step 1: RED 1 alive at (3, 4), RED 2 injured, BLUE 1
    // alive at (7, 8); step 2: RED 2 dead, BLUE 1 injured.
    std::string bytes;
    for (const std::int32_t v : {10, 2, 1, 3,                 //
                                 1, 2, 3, 4, 1, 5, 6, 2, 7, 8,  //
                                 2, 2, 3, 5, 0, 5, 6, 1, 7, 7,  //
                                 3, 2, 4, 5, 0, 5, 6, 0, 7, 7})
        for (int b = 0; b < 4; ++b)
            bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
    const std::string path = testing::WriteTemp("RUN.BRV", bytes);
    const QString qpath = QString::fromStdString(path);
    const struct {
        const char* way;
        bool named;  // the window takes the file's name (a new window from the chooser keeps its own)
        std::function<void()> open;
    } ways[] = {
        {"command line", true, [&] { ASSERT_TRUE(Start({qpath})); }},
        {"start-up chooser", false, [&] { Hooks.AnswerFile(path); ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW)); }},
        {"drop", true, [&] {
             QMimeData data;
             data.setUrls({QUrl::fromLocalFile(qpath)});
             ASSERT_TRUE(Frame().OpenDroppedFiles(data));
         }},
        {"File/Open in a battlefield window", true, [&] {
             App->OpenDocumentFile(Fixture("scenario_v4.dat"));
             Hooks.AnswerFile(path);
             ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        if (App->MainFrame())
            Frame().SetStatusText("the window before");
        const std::size_t messages = MessagesShown();
        way.open();
        CBrevimarDoc& doc = Doc();
        EXPECT_EQ(MessagesShown(), messages);
        EXPECT_EQ(doc.RunMode, ReplayMode);
        EXPECT_EQ(doc.Paused, 1);
        EXPECT_EQ(doc.RunHeader.CurrentStep, 1);
        EXPECT_EQ(doc.Capture(BlueCaptureState, 2, 1), 1);
        ASSERT_FALSE(App->RecentFiles().Files().empty());
        EXPECT_EQ(App->RecentFiles().Files().front(), path);
        if (way.named) {
            EXPECT_EQ(Frame().MdiArea()->activeSubWindow()->windowTitle(), "RUN.BRV");
        }
        // Extent 12: cell (x, y) at row x, column 11 - y.
        const unsigned char* plane = doc.DisplayPlane(doc.GetDisplayFrame());
        EXPECT_EQ(plane[LatticeCellOffset(12, 3, 4)], LatticeRedAlive);
        EXPECT_EQ(plane[LatticeCellOffset(12, 7, 8)], LatticeBlueAlive);
        EXPECT_EQ(Frame().StatusText(),
                  " RUN.BRV       [ TIME ]: 1      [RED/2] Alive 1 / Injured 1   [BLUE/1] Alive 1  / Injured 0");
        EXPECT_EQ(View()->PageTitle().toStdString(), "RUN.BRV   [ TIME ]: 1");
        // Go, and a tick shows step 2.
        EXPECT_TRUE(Frame().RunCommand(CBrevimarView::ID_RUN));
        View()->OnTimer(CBrevimarView::RunTimerId);
        EXPECT_EQ(Frame().StatusText(),
                  " RUN.BRV       [ TIME ]: 2      [RED/2] Alive 1 / Injured 0   [BLUE/1] Alive 0  / Injured 1");
    }
}

// An agent placed by hand during a capture did not exist before: the frames
// recorded before it show it absent (dead, off the field at (0, 0)), not as
// whatever an earlier run left in its column.
TEST_F(FileCommands, AgentAddedDuringACaptureIsAbsentFromTheFramesBefore)
{
    StartWithScenario();
    CBrevimarDoc& doc = Doc();
    const int n = doc.NumRed();
    for (int row = 0; row < CaptureRows; ++row) {  // as a run of more agents left them
        doc.Capture(RedCaptureState, row, n + 1) = 2;
        doc.Capture(RedCaptureX, row, n + 1) = 7;
        doc.Capture(RedCaptureY, row, n + 1) = 7;
    }
    CaptureSteps(3);
    doc.DeploymentSource = RedHandPlacement;
    doc.EditRedSquad = 1;
    const int size = doc.Battlefield.BattleSize;
    int x = 1;
    while (doc.Battlefield.AgentGrid[GridIndex(x, size)] != CellFree)
        ++x;
    // The middle of cell (x, size): cells are 5 pixels at 100%, row 1 at the top.
    const float zoom = doc.ZoomFactor;
    View()->OnRButtonUp(0, QPoint(static_cast<int>((x * 5 + 2) * zoom), static_cast<int>((1 * 5 + 2) * zoom)));
    ASSERT_EQ(doc.NumRed(), n + 1);
    doc.Resume();
    Tick(1);  // records frame 4, the first with the new agent
    EXPECT_EQ(doc.RunHeader.RedCount, n + 1);  // the history's count, as a document file stores it
    for (int row = 0; row <= 3; ++row)
        for (int b = RedCaptureState; b <= RedCaptureY; ++b)
            EXPECT_EQ(doc.Capture(b, row, n + 1), 0) << "row " << row;
    EXPECT_EQ(doc.Capture(RedCaptureState, 4, n + 1), 2);
    EXPECT_EQ(doc.Capture(RedCaptureX, 4, n + 1), x);
    EXPECT_EQ(doc.Capture(RedCaptureY, 4, n + 1), size);
}

// A RED agent taken off by a right click while a RUN capture records, on
// small.dat: 50 RED agents in squads of 25 and 25, agent 1 in squad 1 (agents
// are numbered squad by squad). A file that holds no frames is the scenario
// a save without a capture writes: 50 - 1 = 49 agents in squads of 24 and
// 25, which a read deploys. Frames hold one agent line a slot, so a file
// with frames keeps agent 1's slot, 50 in 25 and 25: its frames show agent
// 1 alive until it was taken off and dead after, and the scenario deploys
// the 50 of frame 0 (the file cannot tell an agent taken off from one
// killed). BLUE's 50 in 25 and 25 stay as they are throughout.
TEST_F(FileCommands, AnAgentTakenOffDuringACaptureStaysOnlyInAFileWithFrames)
{
    const struct {
        const char* What;
        int Before, After;  // ticks of the capture before the right click and after it
        unsigned Save;
        int Reds, Squad1, Frames;
    } cases[] = {
        {"Save Input Data File at the capture's step 0", 0, 0, SaveInputData, 49, 24, 0},
        {"Stop RUN Capture at step 0", 0, 0, StopCapture, 49, 24, 0},
        // Frames 0..3 are recorded before the click at step 3, 4 and 5 after
        // it; the file holds 0..4.
        {"Save Input Data File after five frames", 3, 2, SaveInputData, 50, 25, 5},
    };
    constexpr int Blues = 50;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Hooks.AnswerFile(Fixture("../../bench/data/small.dat"));
        ASSERT_TRUE(Start());
        CBrevimarDoc& doc = Doc();
        CaptureSteps(c.Before);
        ASSERT_TRUE(Frame().RunCommand(33230));  // Edit > RED Data > User-Defined
        const CBattlefieldGeometry g = BattlefieldGeometry(doc);
        View()->OnRButtonUp(0, QPoint(static_cast<int>(g.WindowX(doc.RedForce.AgentX[1])) + 2,
                                      static_cast<int>(g.WindowY(doc.RedForce.AgentY[1])) + 2));
        ASSERT_EQ(doc.RedForce.AgentState[1], Dead);
        View()->OnLButtonUp(0, QPoint());  // placement ends
        for (int i = 0; i < c.After; ++i) {
            doc.Resume();
            Tick(1);
        }
        const std::string path = TempFolder() + "/taken-off.run";
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Frame().RunCommand(c.Save));

        const std::string text = FileText(path);
        EXPECT_EQ(RowAfter(text, "num_reds", 1)[0], c.Reds);
        using Sizes = std::vector<double>;
        EXPECT_EQ(RowAfter(text, "num_per_squad", 1), Sizes({double(c.Squad1), 25, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(RowAfter(text, "num_blues", 1)[0], Blues);
        EXPECT_EQ(RowAfter(text, "num_per_squad", 2), Sizes({25, 25, 0, 0, 0, 0, 0, 0, 0, 0}));
        // After the terrain banner: a step line, then a line per RED and per BLUE agent, a frame.
        const std::vector<std::string> lines = Lines(text);
        const auto banner = std::find(lines.begin(), lines.end(), "*    TERRAIN PARAMETERS");
        ASSERT_NE(banner, lines.end());
        const std::size_t first = static_cast<std::size_t>(banner - lines.begin()) + 2;
        const std::size_t frame = 1 + c.Reds + Blues;
        ASSERT_EQ(lines.size() - first, c.Frames * frame);
        for (int j = 0; j < c.Frames; ++j)
            EXPECT_EQ(lines[first + j * frame + 1].substr(0, 2), j < 4 ? "2 " : "0 ") << "agent 1 in frame " << j;

        if (c.Frames == 0) {
            Hooks.AnswerFile(path);
            ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
            EXPECT_EQ(doc.RunHeader.RedAlive, 49);
            EXPECT_EQ(doc.RedForce.num_per_squad[1], 24);
            EXPECT_EQ(doc.RedForce.num_per_squad[2], 25);
        } else {
            Hooks.AnswerMessage(IDNO);  // the capture's frames, written already
            Hooks.AnswerFile(path);
            ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_RUN));
            ASSERT_EQ(doc.RunMode, PlaybackMode);
            ASSERT_EQ(Hooks.Pending(ModalKind::MessageBox), 0u);
            for (int j = 0; j < c.Frames; ++j)
                EXPECT_EQ(doc.Capture(RedCaptureState, j, 1), j < 4 ? Alive : Dead) << "frame " << j;
            ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_RUN_MODE_INTERACTIVE));
            EXPECT_EQ(doc.RunHeader.RedAlive, 50);
            EXPECT_EQ(doc.RedForce.num_per_squad[1], 25);
        }
        TearDown();
        SetUp();
    }
}

// A command that ends, restarts or cuts a capture short offers first to
// write what it holds, as Stop RUN Capture does, with the scenario the
// frames were captured with: a dialog's OK that changes a value is applied
// after the offer. An OK that stores nothing changes nothing, the capture
// included, and a restart records its new battle from frame 0 on.
TEST_F(FileCommands, CommandsThatEndACaptureOfferToWriteIt)
{
    using V = CBrevimarView;
    enum Outcome { Offered, NoBox, Refused };
    auto run = [this](unsigned id) { return [this, id] { ASSERT_TRUE(Frame().RunCommand(id)); }; };
    auto okUntouched = [this](unsigned id) {
        return [this, id] {
            Hooks.AnswerDialog(IDOK);
            ASSERT_TRUE(Frame().RunCommand(id));
        };
    };
    auto okTyped = [this](unsigned id, std::map<int, std::string> typed) {
        return [this, id, typed] {
            Hooks.AnswerDialog(IDOK, typed);
            ASSERT_TRUE(Frame().RunCommand(id));
        };
    };
    const std::string seeds = std::string(BREVIMAR_TEST_DATA) + "/../../fuzz/seeds/";
    auto writeRefusedGa = [] { return testing::WriteTemp("refused.ga1", "not a GA input file"); };
    const std::string refusedGa = writeRefusedGa();
    const struct {
        const char* what;
        int steps;                // ticks captured: frames 0..steps-1 are writable
        std::string chosenFirst;  // the command's own file, chosen before the RUN file
        std::function<void()> command;
        Outcome outcome;
        int framesAfter;  // held by the capture afterwards; -1: the capture is off
    } cases[] = {
        {"Clear", 1, {}, run(V::ID_CLEAR), Offered, -1},
        // Set-up records the new battle from frame 0 on.
        {"Restart/Go", 4, {}, run(V::ID_RESTART_GO), Offered, 0},
        // Forces deployed from an agent file, restarted from the block data:
        // rebuilt, so the capture ends instead of recording them.
        {"Restart/Go rebuilding an agent file's forces",
         4,
         {},
         [this] {
             Doc().DeploymentSource = AgentFileDeployment;  // as an agent file load leaves it
             ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_USE_BLOCK_DATA));
             ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_GO));
         },
         Offered, -1},
        {"Randomize", 4, {}, run(V::ID_RANDOMIZE), Offered, 0},
        {"Terminate Run",
         4,
         {},
         [this] {
             Hooks.AnswerFile(Fixture("scenario_v4.dat"));  // the scenario Terminate Run asks for
             ASSERT_TRUE(Frame().RunCommand(V::ID_TERMINATE_RUN));
         },
         Offered, -1},
        {"Load Input Data File", 4, Fixture("scenario_v4.dat"), run(ID_FILE_LOAD_INPUT_DATA), Offered, -1},
        {"Load RUN File", 4, Fixture("stored_v4.run"), run(ID_FILE_LOAD_RUN), Offered, -1},
        // The batches' runs replace the battle; each sets the step to 0 besides.
        {"GA search mode 1", 4, {}, run(V::ID_RUN_MODE_GA_FIRST), Offered, -1},
        {"GA input file", 4, seeds + "ga_input/two_squads.ga1", run(V::ID_FILE_LOAD_GA_INPUT), Offered, -1},
        // Refused before anything changes: nothing to offer, the capture records on.
        {"refused GA input file", 4, refusedGa,
         [&] {
             writeRefusedGa();  // again: each case starts on an empty scratch folder
             ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_GA_INPUT));
         },
         Refused, 4},
        {"landscape", 4, {}, run(V::ID_RUN_MODE_LANDSCAPE), Offered, -1},
        {"landscape file", 4, seeds + "landscape_input/sweep.f1", run(V::ID_FILE_LOAD_LANDSCAPE), Offered, -1},
        {"Multiple Time-Series", 4, {}, run(V::ID_MULTIPLE_TIME_SERIES), Offered, -1},
        {"closing the window",
         4,
         {},
         [this] {
             Frame().MdiArea()->closeAllSubWindows();
             QCoreApplication::processEvents();
         },
         Offered, -1},
        {"closing the program", 4, {}, [this] { Frame().close(); }, Offered, -1},
        // A smaller field clears the picture, and with it the step, once
        // the frames are offered.
        {"Battlefield Size 149",
         4,
         {},
         [this] {
             using B = CBattlefieldSizeDlg;
             Hooks.AnswerDialog(IDOK, {{B::IDC_LENGTH, "149"}, {B::IDC_WIDTH, "149"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_FLY_BATTLEFIELD_SIZE));
         },
         Offered, -1},
        {"Edit RED Agents, OK untouched", 4, {}, okUntouched(V::ID_EDIT_RED_AGENTS), NoBox, 4},
        // One value changed is a new scenario: the Reset tail ends the capture.
        // Squad 1's alive sensor range is 5 in the scenario.
        {"Edit RED Agents, OK with one sensor range changed", 4, {},
         okTyped(V::ID_EDIT_RED_AGENTS, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "6"}}), Offered, -1},
        // The local-commander weight w7 (0.7 in the scenario) is the dialog's
        // second field of the pair: the one the document takes.
        {"Edit RED Agents, OK with the local-commander weight changed", 4, {},
         okTyped(V::ID_EDIT_RED_AGENTS, {{IDC_LC_INJURED, "0.5"}}), Offered, -1},
        {"Combat Parameters, OK untouched", 4, {}, okUntouched(V::ID_EDIT_COMBAT_PARAMETERS), NoBox, 4},
        // The scenario's random move order made fixed, on a smaller field.
        {"Combat Parameters, OK with the move order and the field changed", 4, {},
         okTyped(V::ID_EDIT_COMBAT_PARAMETERS, {{CCombatParamsDlg::IDC_MOVE_FIXED, "1"},
                                                {CCombatParamsDlg::IDC_LENGTH, "149"},
                                                {CCombatParamsDlg::IDC_WIDTH, "149"}}),
         Offered, -1},
        // Links off and never set, as before a document's first set-up: OK
        // on the matrix as shown sets them, and a restart no longer links
        // every squad pair.
        {"RED Communications Matrix, OK untouched on links never set",
         4,
         {},
         [this] {
             CBrevimarDoc& doc = Doc();
             doc.CommMatricesSet = 0;
             for (Side side : {Side::Red, Side::Blue})
                 for (auto& row : doc.Force(side).CommMatrix)
                     std::fill(std::begin(row), std::end(row), 0);
             Hooks.AnswerDialog(IDOK);
             ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_COMM_MATRIX));
             ASSERT_EQ(doc.CommMatricesSet, 1);
         },
         Offered, -1},
        // The auxiliary reads that set the run up again on what they read.
        {"Load Terrain Data File", 4, seeds + "terrain_data/written.ter", run(V::ID_FILE_LOAD_TERRAIN), Offered, -1},
        {"Load Terrain-Modified Agent Data", 4, seeds + "terrain_modified_agents/written.tma",
         run(V::ID_FILE_LOAD_TERRAIN_MODIFIERS), Offered, -1},
        {"Load Agent Data File", 4, seeds + "agent_data/written.agt", run(V::ID_FILE_LOAD_AGENT_DATA), Offered, -1},
        {"Load Squad-Matrix Weights", 4, seeds + "squad_matrix/written.smw", run(V::ID_FILE_LOAD_SQUAD_MATRIX),
         Offered, -1},
        {"Load Communications Matrix", 4, seeds + "comm_matrix/written.cmw", run(V::ID_FILE_LOAD_COMM_MATRIX),
         Offered, -1},
        // Terrain switched off, as the scenario has it on: a restart without a dialog.
        {"Terrain On/Off", 4, {}, run(V::ID_TERRAIN_ON_OFF), Offered, -1},
        // Waypoint paths change no force and no battlefield: the run goes on.
        {"Load Terrain Waypoint Path File", 4, seeds + "waypoint_paths/written.pth",
         run(V::ID_FILE_LOAD_WAYPOINT_PATHS), NoBox, 4},
        // RED squad 1's weight toward squad 2 of the inter-squad matrix.
        {"RED Squad Weight Matrix, OK with one weight changed", 4, {},
         okTyped(V::ID_EDIT_RED_SQUAD_WEIGHTS, {{CSquadWeightMatrixDlg::CellId(1, 2), "0.25"}}), Offered, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        App = std::make_unique<CBrevimarApp>(&Hooks);
        Hooks.Reset();
        StartWithScenario();
        CaptureSteps(c.steps);
        CBrevimarDoc& doc = Doc();
        doc.RunCaptureOn = 0;
        const std::string scenario = Written(doc);
        doc.RunCaptureOn = 1;
        const std::string path = TempFolder() + "/kept.run";
        Hooks.AnswerMessage(IDYES);
        if (!c.chosenFirst.empty())
            Hooks.AnswerFile(c.chosenFirst);
        Hooks.AnswerFile(path);
        const std::size_t before = Hooks.Log().size();
        c.command();
        std::size_t box = before;
        while (box < Hooks.Log().size() && Hooks.Log()[box].Kind != ModalKind::MessageBox)
            ++box;
        if (c.outcome == NoBox) {
            EXPECT_EQ(box, Hooks.Log().size()) << Hooks.Log()[box].Text;
            EXPECT_FALSE(std::filesystem::exists(path));
        } else if (c.outcome == Refused) {
            ASSERT_EQ(box + 1, Hooks.Log().size());  // the refusal, and nothing asked after it
            EXPECT_NE(Hooks.Log()[box].Text.find("refused.ga1 was not read"), std::string::npos)
                << Hooks.Log()[box].Text;
            EXPECT_FALSE(std::filesystem::exists(path));
        } else {
            ASSERT_LT(box, Hooks.Log().size());
            const ModalRecord& first = Hooks.Log()[box];
            const std::string count = c.steps == 1 ? "1 frame " : std::to_string(c.steps) + " frames ";
            EXPECT_NE(first.Text.find(count), std::string::npos) << first.Text;
            // The offer says what becomes of the capture.
            const char* fate = c.framesAfter < 0 ? "The RUN capture ends here" : "The RUN capture starts again";
            EXPECT_NE(first.Text.find(fate), std::string::npos) << first.Text;
            // Frames 0..steps-1 of the capture, each a step line and 12 + 10
            // agent lines, after the scenario as it stood before the command.
            const std::string written = FileText(path);
            ASSERT_EQ(written.substr(0, scenario.size()), scenario);
            const std::string frames = written.substr(scenario.size());
            EXPECT_EQ(std::count(frames.begin(), frames.end(), '\n'), c.steps * (1 + 12 + 10));
            // That box is the capture's only notice.
            for (std::size_t later = box + 1; later < Hooks.Log().size(); ++later)
                EXPECT_EQ(Hooks.Log()[later].Text.find("RUN capture"), std::string::npos) << Hooks.Log()[later].Text;
        }
        if (View()) {
            EXPECT_EQ(Doc().RunCaptureOn, c.framesAfter < 0 ? 0 : 1);
            EXPECT_EQ(Doc().CapturedFrames(), std::max(c.framesAfter, 0));
        }
    }
}

// The frames are offered with the values they were captured under, however
// few; Yes or No, the OK's own values are the document's afterwards.
TEST_F(FileCommands, AnOkThatEndsACaptureAppliesItsValuesAfterTheOffer)
{
    const struct {
        const char* what;
        int answer;
        int steps;
        const char* count;
    } cases[] = {
        {"Yes", IDYES, 4, "the 4 frames it holds have"},
        {"No, one frame", IDNO, 1, "the 1 frame it holds has"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        App = std::make_unique<CBrevimarApp>(&Hooks);
        Hooks.Reset();
        StartWithScenario();
        CaptureSteps(c.steps);
        ASSERT_EQ(Doc().RedForce.A_S_RANGE[1], 5);
        Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "6"}});
        Hooks.AnswerMessage(c.answer);
        Hooks.AnswerFile(TempFolder() + "/kept.run");
        const std::size_t before = MessagesShown();
        ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_EDIT_RED_AGENTS));
        ASSERT_EQ(MessagesShown(), before + 1);
        const auto box = std::find_if(Hooks.Log().rbegin(), Hooks.Log().rend(),
                                      [](const ModalRecord& r) { return r.Kind == ModalKind::MessageBox; });
        EXPECT_NE(box->Text.find(c.count), std::string::npos) << box->Text;
        EXPECT_EQ(Doc().RedForce.A_S_RANGE[1], 6);
        EXPECT_EQ(Doc().RunCaptureOn, 0);
    }
}

// Yes to the offer, then Cancel in the RUN file chooser: the command is
// abandoned, nothing of a dialog's OK applied, and the capture records on
// with every frame it holds.
TEST_F(FileCommands, CancellingTheOfferedRunFileCancelsTheCommand)
{
    using V = CBrevimarView;
    auto okTyped = [this](unsigned id, std::map<int, std::string> typed) {
        return [this, id, typed] {
            Hooks.AnswerDialog(IDOK, typed);
            ASSERT_TRUE(Frame().RunCommand(id));
        };
    };
    // What an OK or a read stores into.
    auto stored = [](const CBrevimarDoc& doc) {
        std::string bytes;
        auto add = [&bytes](const auto& block) { bytes.append(reinterpret_cast<const char*>(&block), sizeof block); };
        add(doc.RedForce), add(doc.BlueForce), add(doc.Battlefield), add(doc.TerrainModifiers);
        return bytes;
    };
    const std::string seeds = std::string(BREVIMAR_TEST_DATA) + "/../../fuzz/seeds/";
    const struct {
        const char* what;
        std::function<void()> command;
        std::string chosenFirst = {};  // the command's own file, chosen before the RUN file
    } cases[] = {
        {"Edit RED Agents, OK with one sensor range changed",
         okTyped(V::ID_EDIT_RED_AGENTS, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "6"}})},
        {"Combat Parameters, OK with the move order and the field changed",
         okTyped(V::ID_EDIT_COMBAT_PARAMETERS, {{CCombatParamsDlg::IDC_MOVE_FIXED, "1"},
                                                {CCombatParamsDlg::IDC_LENGTH, "149"},
                                                {CCombatParamsDlg::IDC_WIDTH, "149"}})},
        {"Battlefield Size 149", okTyped(V::ID_FLY_BATTLEFIELD_SIZE, {{CBattlefieldSizeDlg::IDC_LENGTH, "149"},
                                                                      {CBattlefieldSizeDlg::IDC_WIDTH, "149"}})},
        {"Load Terrain Data File", [this] { ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_TERRAIN)); },
         seeds + "terrain_data/written.ter"},
        {"Load Squad-Matrix Weights", [this] { ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_SQUAD_MATRIX)); },
         seeds + "squad_matrix/written.smw"},
        {"Clear", [this] { ASSERT_TRUE(Frame().RunCommand(V::ID_CLEAR)); }},
        {"Restart/Go", [this] { ASSERT_TRUE(Frame().RunCommand(V::ID_RESTART_GO)); }},
        {"Terminate Run", [this] { ASSERT_TRUE(Frame().RunCommand(V::ID_TERMINATE_RUN)); }},
        {"Terrain On/Off", [this] { ASSERT_TRUE(Frame().RunCommand(V::ID_TERRAIN_ON_OFF)); }},
        {"Save RUN File", [this] { ASSERT_TRUE(Frame().RunCommand(SaveRun)); }},
        {"a scenario load", [this] { EXPECT_FALSE(LoadScenario(Doc(), Fixture("scenario_v4.dat")).Read); }},
        {"GA search mode 1", [this] { ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST)); }},
        {"closing the program", [this] { Frame().close(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        App = std::make_unique<CBrevimarApp>(&Hooks);
        Hooks.Reset();
        StartWithScenario();
        CaptureSteps(4);
        const std::string scenario = Written(Doc());
        const std::string values = stored(Doc());
        const CRunHeader header = Doc().RunHeader;
        Hooks.AnswerMessage(IDYES);
        if (!c.chosenFirst.empty())
            Hooks.AnswerFile(c.chosenFirst);
        Hooks.CancelFile();
        const int dialogs = FileDialogsShown();
        c.command();
        ASSERT_TRUE(Frame().isVisible());
        ASSERT_NE(View(), nullptr);
        EXPECT_EQ(FileDialogsShown(), dialogs + 1 + !c.chosenFirst.empty());  // and the RUN file's
        EXPECT_EQ(Hooks.Log().back().Kind, ModalKind::FileDialog);  // and no notice after it
        CBrevimarDoc& doc = Doc();
        EXPECT_EQ(doc.RunMode, InteractiveMode);
        EXPECT_EQ(doc.RunHeader.CurrentStep, 4);
        EXPECT_EQ(doc.RunCaptureOn, 1);
        EXPECT_EQ(doc.CapturedFrames(), 4);
        EXPECT_EQ(Written(doc), scenario);
        EXPECT_TRUE(stored(doc) == values);
        EXPECT_EQ(doc.RunHeader.RandomMoveOrderSelected, header.RandomMoveOrderSelected);
        EXPECT_EQ(doc.RunHeader.FixedMoveOrderSelected, header.FixedMoveOrderSelected);
    }
}

}  // namespace
}  // namespace brevimar::testing
