#include <filesystem>
#include <set>
#include <sstream>

#include "app/AppFixture.h"
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
    EXPECT_EQ(LastModal().Text, "Error: cannot open output file.\n" + path);
    EXPECT_EQ(doc.Statistics.AllStatisticsOn, 1);
    EXPECT_EQ(doc.RunMode, InteractiveMode);
}

}  // namespace
}  // namespace brevimar::testing
