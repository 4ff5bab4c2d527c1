#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/AppFixture.h"
#include "app/ChildFrame.h"
#include "app/ResourceIds.h"
#include "platform/Resources.h"

namespace brevimar::testing {
namespace {

QStringList Titles(const std::vector<QMenu*>& menus)
{
    QStringList titles;
    for (QMenu* menu : menus)
        titles << menu->title();
    return titles;
}

void OpenAll(QMenu* menu)
{
    emit menu->aboutToShow();
    for (QAction* action : menu->actions())
        if (action->menu())
            OpenAll(action->menu());
}

using Menus = AppTest;

TEST(MenuResources, TheTablesParseWithoutErrors)
{
    QFile file(QString(BREVIMAR_TEST_DATA) + "/../../resources/brevimar.menu");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const ResourceSet set = ParseResources(file.readAll().toStdString());
    EXPECT_TRUE(set.Errors.empty()) << (set.Errors.empty() ? "" : set.Errors.front());
    EXPECT_EQ(set.Menus.size(), 2u);
    // Every toolbar button names a command of the document's menu.
    std::vector<unsigned> ids;
    CollectMenuIds(set.Menus.at(IDR_BREVIMARTYPE), ids);
    for (const ToolbarButton& button : set.Toolbars.at(IDR_MAINFRAME)) {
        if (!button.Separator) {
            EXPECT_NE(std::find(ids.begin(), ids.end(), button.Id), ids.end()) << button.Tip;
        }
    }
}

TEST_F(Menus, DocumentMenuInOrderAndItsItemsPresent)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Titles(Frame().ShownMenus()),
              QStringList({"&File", "&Edit", "&Simulation", "&Display", "&On-the-Fly Parameter Changes",
                           "Data Collection", "Data Visualization", "&Window", "&Help"}));
    for (const char* path : {
             "&File/Load Brevimar Input Data File...",
             "&File/Save/   ....Stop RUN Capture",
             "&File/Save/Terrain Data/   ....Start Computing at Min Dist to Terrain/D=15",
             "&Edit/RED Data/   ....Agent-Specific Weapons Parameters/Grenade Parameters...",
             "&Edit/BLUE Data/   ....Specify Squad/S=10",
             "&Edit/1-Sided Genetic Algorithm Parameters/Agent Chromosome/Communications Matrix Search...",
             "&Simulation/Run Mode/1-Sided Genetic Algorithm Learning (Evolutionary)/Terrain Placement",
             "&Simulation/Restart/   ...Use Agent (*.agt) File Data",
             "&Simulation/Step-Execute for T steps...",
             "&Display/Display All Agents/ Highlight Injured",
             "&Display/Battle-Front Map/   ....Set Threshold/T=15",
             "&Display/Zoom/175%",
             "&On-the-Fly Parameter Changes/Terrain/Toggle Red \"Nearest-Terrain-Element\" Weight Flag (On/Off)",
             "&On-the-Fly Parameter Changes/BLUE Agent Parameters/Movement (Range,  Prob/Move, Time/Move) ...",
             "&On-the-Fly Parameter Changes/RED Agent Parameters/Weapon Assignments/Squad-Specific/"
             "Default Prob(HIT) vs. Range",
             "Data Collection/   ...Capacity Dimension ",
             "Data Visualization/Genetic Algorithm Progress/Mission Fitness (Time Series)...",
             "&Window/&Tile",
             "&Help/&About Brevimar...",
         })
        EXPECT_NE(Frame().FindMenuItem(path), nullptr) << path;
}

TEST_F(Menus, ItemsWithoutHandlersAreGreyedAndTheFramesOwnAreNot)
{
    ASSERT_TRUE(Start());
    for (QMenu* menu : Frame().ShownMenus())
        OpenAll(menu);
    EXPECT_FALSE(Frame().FindMenuItem("&Display/Data/PURPLE Agents...")->isEnabled());
    EXPECT_FALSE(Frame().FindMenuItem("Data Visualization/2D Graphs/Mission Fitness...")->isEnabled());
    EXPECT_TRUE(Frame().FindMenuItem("&Help/&About Brevimar...")->isEnabled());
    EXPECT_TRUE(Frame().FindMenuItem("&File/Load Brevimar Input Data File...")->isEnabled());
    EXPECT_TRUE(Frame().FindMenuItem("&Window/&New Window")->isEnabled());
    // The accelerator of Clear shows beside it.
    EXPECT_TRUE(Frame().FindMenuItem("&Simulation/Clear")->text().contains('\t'));
    // Commands without handlers are refused, and so are their keys.
    EXPECT_FALSE(Frame().RunCommand(32892));
}

TEST_F(Menus, AboutBoxIsModal)
{
    ASSERT_TRUE(Start());
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(ID_APP_ABOUT));
    EXPECT_EQ(Hooks.Log().back().Kind, ModalKind::Dialog);
    EXPECT_EQ(Hooks.Log().back().Title, "About Brevimar");
}

TEST_F(Menus, NewWindowSharesTheDocumentWhichLivesWhileItHasAWindow)
{
    ASSERT_TRUE(Start());
    CBrevimarView* first = View();
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    CBrevimarView* second = View();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->GetDocument(), first->GetDocument());
    EXPECT_EQ(App->DocTemplate().DocumentCount(), 1u);
    EXPECT_TRUE(second->HasTimer(42));

    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    EXPECT_EQ(App->DocTemplate().DocumentCount(), 0u);
    Frame().RefreshMenus();
    EXPECT_FALSE(Frame().DocumentMenuShown());
    EXPECT_EQ(Titles(Frame().ShownMenus()), QStringList({"&File", "&Help"}));
    QStringList items;
    for (QAction* action : Frame().ShownMenus()[0]->actions())
        items << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(items, QStringList({"Load Brevimar Input Data File...", "Load Brevimar RUN File...", "-", "E&xit"}));
    // With no view nothing serves these two: greyed and refused.
    EXPECT_FALSE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
}

TEST_F(Menus, RecentFilesKeepFourNewestFirstInTheProfile)
{
    ASSERT_TRUE(Start());
    CRecentFileList& recent = App->RecentFiles();
    for (const char* name : {"/data/a.dat", "/data/b.dat", "/data/c.dat", "/data/d.dat", "/data/e.dat"})
        recent.Add(name);
    recent.Add("/data/c.dat");
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/data/c.dat", "/data/e.dat", "/data/d.dat", "/data/b.dat"}));
    recent.WriteList();

    QSettings settings(CRecentFileList::ProfileName, CRecentFileList::ApplicationName);
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), "/data/c.dat");
    EXPECT_EQ(settings.value("Recent File List/File4").toString(), "/data/b.dat");
    EXPECT_FALSE(settings.contains("Recent File List/File5"));
    CRecentFileList reread;
    reread.ReadList();
    EXPECT_EQ(reread.Files(), recent.Files());
}

TEST_F(Menus, RecentFileMenuOpensTheFile)
{
    const std::string path = Fixture("scenario_v3.dat");
    ASSERT_TRUE(Start({QString::fromStdString(path)}));
    QAction* first = Frame().Bars().MenuItems(ID_FILE_MRU_FILE1).front();
    EXPECT_EQ(first->text(), "&1 scenario_v3.dat");
    EXPECT_FALSE(Frame().Bars().MenuItems(ID_FILE_MRU_FILE1 + 1).front()->isVisible());
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_MRU_FILE1));
    EXPECT_EQ(App->DocTemplate().DocumentCount(), 2u);
    EXPECT_EQ(FileDialogsShown(), 0);
}

TEST_F(Menus, DroppedFilesOpenAsDocuments)
{
    ASSERT_TRUE(Start());
    const std::size_t before = App->DocTemplate().DocumentCount();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Fixture("scenario_v1.dat"))),
                  QUrl::fromLocalFile(QString::fromStdString(Fixture("scenario_v4.dat")))});
    ASSERT_TRUE(Frame().OpenDroppedFiles(data));
    EXPECT_EQ(App->DocTemplate().DocumentCount(), before + 2);
    EXPECT_EQ(App->RecentFiles().Files().size(), 2u);
    // Only the first document's start-up asked for a file.
    EXPECT_EQ(FileDialogsShown(), 1);
    QMimeData none;
    none.setUrls({QUrl("https://example.org/a.dat")});
    EXPECT_FALSE(Frame().OpenDroppedFiles(none));
}

}  // namespace
}  // namespace brevimar::testing
