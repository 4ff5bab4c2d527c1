// The File menu's Load and Save items of the auxiliary parameter files, the
// document file's Save (Ctrl+S) and File/Open of a document file while no
// battlefield window is active.
#include <QCoreApplication>
#include <QMdiArea>

#include <filesystem>

#include "app/AppFixture.h"
#include "files/DocumentFile.h"
#include "platform/Command.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

class AuxFileCommands : public AppTest {
protected:
    void StartWithScenario()
    {
        Hooks.AnswerFile(Fixture("scenario_v4.dat"));
        ASSERT_TRUE(Start());
    }
};

TEST_F(AuxFileCommands, EveryItemAsksForItsOwnKindOfFile)
{
    StartWithScenario();
    const struct {
        const char* item;
        unsigned id;
        const char* title;
        const char* filter;
    } items[] = {
        {"&File/Load/Terrain Data/Terrain Data File...", CBrevimarView::ID_FILE_LOAD_TERRAIN, "Load terrain data file",
         "Brevimar Terrain Input Data Files (*.ter)|*.ter||"},
        {"&File/Load/Terrain Data/Terrain Waypoint Path File...", CBrevimarView::ID_FILE_LOAD_WAYPOINT_PATHS,
         "Load terrain waypoint path", "Brevimar Terrain Waypoint Path Files (*.pth)|*.pth||"},
        {"&File/Load/Terrain Data/Terrain-Modified Agent Data...", CBrevimarView::ID_FILE_LOAD_TERRAIN_MODIFIERS,
         "Load terrain-modified agent data", "Brevimar Terrain-Modified Agent Data Files (*.tma)|*.tma||"},
        {"&File/Load/Weapon Data/Squad-Specific Weapons Parameter Data File...",
         CBrevimarView::ID_FILE_LOAD_SQUAD_WEAPONS, "Load squad-specific weapons file",
         "Brevimar Squad Weapon Input Data Files (*.wp)|*.wp||"},
        {"&File/Load/Weapon Data/Agent-Specific Weapons Parameter Data File...",
         CBrevimarView::ID_FILE_LOAD_AGENT_WEAPONS, "Load agent-specific weapons file",
         "Brevimar Agent Weapon Input Data Files (*.awp)|*.awp||"},
        {"&File/Load/Agent Data/Agent Data File...", CBrevimarView::ID_FILE_LOAD_AGENT_DATA, "Load agent data file",
         "Brevimar Agent Input Data Files (*.agt)|*.agt||"},
        {"&File/Load/Agent Data/Squad-Matrix Weights...", CBrevimarView::ID_FILE_LOAD_SQUAD_MATRIX, "Load squad-matrix weights",
         "Brevimar Squad Matrix Input Data Files (*.smw)|*.smw||"},
        {"&File/Load/Agent Data/Communications Matrix...", CBrevimarView::ID_FILE_LOAD_COMM_MATRIX, "Load communications matrix",
         "Brevimar Comm Matrix Input Data Files (*.cmw)|*.cmw||"},
        {"&File/Save/Terrain Data/Terrain Data File...", CBrevimarView::ID_FILE_SAVE_TERRAIN, "Save terrain data file",
         "Brevimar Terrain Input Data Files (*.ter)|*.ter||"},
        {"&File/Save/Terrain Data/Terrain Waypoint Path File...", CBrevimarView::ID_FILE_SAVE_WAYPOINT_PATHS,
         "Save terrain waypoint path", "Brevimar Terrain Waypoint Path Files (*.pth)|*.pth||"},
        {"&File/Save/Terrain Data/Terrain-Modified Agent Data...", CBrevimarView::ID_FILE_SAVE_TERRAIN_MODIFIERS,
         "Save terrain-modified agent data", "Brevimar Terrain-Modified Agent Data Files (*.tma)|*.tma||"},
        {"&File/Save/Weapon Data/Squad-Specific Weapons Parameter Data File...",
         CBrevimarView::ID_FILE_SAVE_SQUAD_WEAPONS, "Save squad-specific weapons file",
         "Brevimar Squad Weapon Input Data Files (*.wp)|*.wp||"},
        {"&File/Save/Weapon Data/Agent-Specific Weapons Parameter Data File...",
         CBrevimarView::ID_FILE_SAVE_AGENT_WEAPONS, "Save agent-specific weapons file",
         "Brevimar Agent Weapon Input Data Files (*.awp)|*.awp||"},
        {"&File/Save/Agent Data/Agent Data File...", CBrevimarView::ID_FILE_SAVE_AGENT_DATA, "Save agent data file",
         "Brevimar Agent Input Data Files (*.agt)|*.agt||"},
        {"&File/Save/Agent Data/Squad-Matrix Weights...", CBrevimarView::ID_FILE_SAVE_SQUAD_MATRIX, "Save squad-matrix weights",
         "Brevimar Squad Matrix Input Data Files (*.smw)|*.smw||"},
        {"&File/Save/Agent Data/Communications Matrix...", CBrevimarView::ID_FILE_SAVE_COMM_MATRIX, "Save communications matrix",
         "Brevimar Comm Matrix Input Data Files (*.cmw)|*.cmw||"},
    };
    // Each weapon file item is offered only while some side uses its model.
    Doc().RedForce.WeaponsOn = 1;
    Doc().BlueForce.WeaponAssignType = 1;
    for (const auto& item : items) {
        QAction* action = Frame().FindMenuItem(item.item);
        ASSERT_NE(action, nullptr) << item.item;
        EXPECT_EQ(action->data().toUInt(), item.id) << item.item;
        Hooks.CancelFile();
        const std::size_t before = Hooks.Log().size();
        ASSERT_TRUE(Frame().RunCommand(item.id)) << item.item;
        ASSERT_EQ(Hooks.Log().size(), before + 1) << item.item;
        EXPECT_EQ(Hooks.Log().back().Title, item.title) << item.item;
        EXPECT_EQ(Hooks.Log().back().Text, item.filter) << item.item;
    }
}

TEST_F(AuxFileCommands, CtrlSStoresTheDocumentFileAndFileOpenReadsItIntoANewDocument)
{
    StartWithScenario();
    const std::string path = TempFolder() + "/history.brv";
    Doc().RunMode = ReplayMode;  // a replayed history
    Doc().RunHeader.LatticeSize = 40;
    Doc().RunHeader.RedCount = 2;
    Doc().RunHeader.BlueCount = 1;
    Doc().RunHeader.LastStep = 3;
    Doc().Capture(BlueCaptureX, 3, 1) = 17;
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_EQ(Hooks.Log().back().Text, "Brevimar Files (*.brv)|*.brv||");
    EXPECT_EQ(std::filesystem::file_size(path), 16u + 3u * (4u + 12u * 3u));

    // With no battlefield window, File/Open opens a document file.
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    Frame().RefreshMenus();
    ASSERT_EQ(View(), nullptr);
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(Doc().RunHeader.LatticeSize, 40);
    EXPECT_EQ(Doc().RunHeader.LastStep, 3);
    EXPECT_EQ(Doc().Capture(BlueCaptureX, 3, 1), 17);
    EXPECT_EQ(Doc().Paused, 1);

    // A damaged file is reported and leaves no new window.
    const std::string bad = WriteTemp("bad.brv", "0123456789");
    const std::size_t documents = App->DocTemplate().DocumentCount();
    App->OpenDocumentFile(bad);
    EXPECT_EQ(App->DocTemplate().DocumentCount(), documents);
    bool reported = false;
    for (const ModalRecord& r : Hooks.Log())
        reported = reported || (r.Kind == ModalKind::MessageBox && r.Text.find(bad) != std::string::npos);
    EXPECT_TRUE(reported);
}

}  // namespace
}  // namespace brevimar::testing
