#include <QMdiArea>

#include <filesystem>
#include <fstream>

#include "app/AppFixture.h"
#include "app/ResourceIds.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

void RunTicks(CBrevimarView& view, int count)
{
    for (int i = 0; i < count; ++i)
        view.OnTimer(CBrevimarView::RunTimerId);
}

class ScenarioLoad : public AppTest {
protected:
    const ModalRecord* LastOf(ModalKind kind) const
    {
        const ModalRecord* last = nullptr;
        for (const ModalRecord& r : Hooks.Log())
            if (r.Kind == kind)
                last = &r;
        return last;
    }
};

TEST_F(ScenarioLoad, InputDataFileReplacesTheScenarioAndTheBattleRestarts)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Doc().Battlefield.WaypointPathsOn = 1;
    Doc().Resume();

    Hooks.AnswerFile(Fixture("menu_v2.dat"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
    ASSERT_EQ(FileDialogsShown(), 2);
    EXPECT_EQ(LastOf(ModalKind::FileDialog)->Text,
              "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run||");
    EXPECT_EQ(LastOf(ModalKind::MessageBox), nullptr);
    CBrevimarDoc& doc = Doc();
    EXPECT_EQ(doc.InputFileName, "menu_v2.dat");
    EXPECT_EQ(doc.Battlefield.BattleSize, 80);
    EXPECT_EQ(doc.NumRed(), 3);
    EXPECT_EQ(doc.RunMode, InteractiveMode);
    EXPECT_EQ(doc.LoadInputFile, 1);
    EXPECT_EQ(doc.Battlefield.WaypointPathsOn, 0);
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);

    // The new battle runs once resumed (a tick at step 1 pauses it first).
    doc.Resume();
    RunTicks(*View(), 2);
    doc.Resume();
    RunTicks(*View(), 3);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 5);
    EXPECT_EQ(Frame().StatusText().rfind(" menu_v2.dat       [ TIME ]: 5", 0), 0u) << Frame().StatusText();
}

TEST_F(ScenarioLoad, RunFilePlaysItsStoredFrames)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Doc().DeploymentSource = RedHandPlacement;
    Hooks.AnswerFile(Fixture("stored_400.run"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_RUN));
    CBrevimarDoc& doc = Doc();
    EXPECT_EQ(LastOf(ModalKind::MessageBox), nullptr);
    EXPECT_EQ(doc.RunMode, PlaybackMode);
    EXPECT_EQ(doc.LoadInputFile, 0);
    EXPECT_EQ(doc.DeploymentSource, RandomDeployment);
    EXPECT_EQ(doc.RunHeader.LastStep, 350);

    EXPECT_TRUE(doc.RedForce.AgentGridCurrent() && doc.BlueForce.AgentGridCurrent());
    doc.Resume();
    RunTicks(*View(), 349);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 349);
    EXPECT_TRUE(doc.RedForce.AgentGridCurrent() && doc.BlueForce.AgentGridCurrent());
    EXPECT_EQ(doc.Paused, 0);
    EXPECT_NE(Frame().StatusText().find("[ TIME ]: 349"), std::string::npos) << Frame().StatusText();
    RunTicks(*View(), 1);  // past the last stored frame: back to frame 1, paused
    EXPECT_EQ(doc.RunHeader.CurrentStep, 1);
    EXPECT_EQ(doc.Paused, 1);
}

TEST_F(ScenarioLoad, NothingReadPutsTheRunModeAndFileKindBack)
{
    struct Case {
        unsigned Command;
        bool Cancel;  // otherwise a file that is refused
    };
    const std::string bad = testing::WriteTemp("bad.dat", "data_version 4\n");
    for (const Case c : {Case{ID_FILE_LOAD_INPUT_DATA, true}, Case{ID_FILE_LOAD_RUN, true},
                         Case{ID_FILE_LOAD_INPUT_DATA, false}, Case{ID_FILE_LOAD_RUN, false}}) {
        Hooks.Reset();
        Hooks.CancelFile();
        ASSERT_TRUE(Start());
        CBrevimarDoc& doc = Doc();
        const int battleSize = doc.Battlefield.BattleSize;
        doc.RunMode = ReplayMode;
        doc.LoadInputFile = 7;
        doc.Battlefield.WaypointPathsOn = 1;
        doc.DeploymentSource = BlueHandPlacement;
        if (c.Cancel)
            Hooks.CancelFile();
        else
            Hooks.AnswerFile(bad);
        ASSERT_TRUE(Frame().RunCommand(c.Command));
        const bool scenario = c.Command == ID_FILE_LOAD_INPUT_DATA;
        EXPECT_EQ(doc.RunMode, ReplayMode) << c.Command;
        EXPECT_EQ(doc.LoadInputFile, 7) << c.Command;
        EXPECT_EQ(doc.DeploymentSource, RandomDeployment) << c.Command;
        EXPECT_EQ(doc.Battlefield.WaypointPathsOn, scenario ? 0 : 1) << c.Command;
        EXPECT_EQ(doc.Battlefield.BattleSize, battleSize);
        EXPECT_EQ(doc.Paused, 1);
        const ModalRecord* message = LastOf(ModalKind::MessageBox);
        if (c.Cancel) {
            EXPECT_EQ(message, nullptr);
        } else {
            ASSERT_NE(message, nullptr);
            EXPECT_NE(message->Text.find(bad), std::string::npos) << message->Text;
            EXPECT_NE(message->Text.find("the file ends"), std::string::npos) << message->Text;
        }
        App.reset();
        QCoreApplication::processEvents();
        App = std::make_unique<CBrevimarApp>(&Hooks);
    }
}

TEST_F(ScenarioLoad, WithoutABattlefieldWindowTheItemsDoNothing)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    Frame().RefreshMenus();
    ASSERT_EQ(View(), nullptr);
    for (unsigned id : {ID_FILE_LOAD_INPUT_DATA, ID_FILE_LOAD_RUN})
        EXPECT_FALSE(Frame().RunCommand(id));  // greyed
    EXPECT_EQ(FileDialogsShown(), 1);  // only the start-up one
    EXPECT_EQ(App->DocTemplate().DocumentCount(), 0u);
}

}  // namespace
}  // namespace brevimar::testing
