// The main window's shell: the map legend, the Window menu, the choosers'
// titles and the stored settings.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "app/AppFixture.h"
#include "app/ResourceIds.h"

namespace brevimar::testing {
namespace {

using Shell = AppTest;

TEST_F(Shell, LegendNamesTheColoursOfTheMapOnShow)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    CBrevimarDoc& d = Doc();
    d.BackgroundToggle = 1;  // white ground
    // Each row is a menu choice from a field with no map; the words come from
    // what the drawing puts in the cells: red/blue territory cells, black
    // crosses (RED) and black squares (BLUE) on white, a grey ramp of moves.
    struct Case {
        std::vector<unsigned> Ids;
        const char* Expected;
    } cases[] = {
        {{}, ""},
        {{33166}, "Territory: RED-held cells red"},
        {{33165}, "Territory: RED-held cells red, BLUE-held cells blue"},
        {{33107}, "Kill map: RED killed: black crosses, BLUE killed: black squares"},
        {{33108, 33114}, "Kill map, agents hidden: RED killed: black crosses"},
        // Kill-only with no side's kills shown: the empty field is explained.
        {{33114}, "Kill map: agents hidden and no side's kills chosen, so the field is empty"},
        {{33132}, "Activity (BLUE moves): black none, grey to white more moves nearby"},
        {{33136}, "Activity (RED and BLUE moves): black none, grey to white more moves nearby"},
        {{33175}, "Battle front: front cells black"},
        {{33257, 33175}, "Battle front: grey from white (weak front) to black (strong front)"},
    };
    for (const Case& c : cases) {
        d.KillMapOnly = d.KillMapRed = d.KillMapBlue = 0;
        d.TerritoryMapRed = d.TerritoryMapBlue = d.RedActivityMapOn = d.BlueActivityMapOn = d.BattleFrontOn = 0;
        d.BattleFrontGrayscale = 0;
        d.BattleFrontSolid = 1;
        Frame().RefreshLegend();
        for (unsigned id : c.Ids)
            ASSERT_TRUE(Frame().RunCommand(id)) << id;
        EXPECT_EQ(Frame().LegendText(), c.Expected) << c.Expected;
    }
}

TEST_F(Shell, WindowMenuListsTheOpenWindowsAndCtrlF4ClosesTheActiveOne)
{
    Hooks.CancelFile();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    QCoreApplication::processEvents();
    ASSERT_EQ(Frame().MdiArea()->subWindowList().size(), 2);
    QMenu* windowMenu = nullptr;
    for (QMenu* menu : Frame().ShownMenus())
        if (menu->title() == "&Window")
            windowMenu = menu;
    ASSERT_NE(windowMenu, nullptr);
    auto listed = [&] {
        emit windowMenu->aboutToShow();
        std::vector<QAction*> items;
        for (QAction* a : windowMenu->actions())
            if (!a->isSeparator() && a->data().toUInt() == 0)
                items.push_back(a);
        return items;
    };
    std::vector<QAction*> items = listed();
    ASSERT_EQ(items.size(), 2u);
    QMdiSubWindow* first = Frame().MdiArea()->subWindowList().front();
    EXPECT_TRUE(items[0]->text().startsWith("&1 "));
    EXPECT_TRUE(items[0]->text().endsWith(first->windowTitle()));
    EXPECT_FALSE(items[0]->isChecked());  // the new window is the active one
    EXPECT_TRUE(items[1]->isChecked());
    items[0]->trigger();
    EXPECT_EQ(Frame().MdiArea()->activeSubWindow(), first);
    EXPECT_EQ(listed().size(), 2u);  // opening again does not add a second list

    QAction* close = nullptr;
    for (QAction* a : Frame().actions())
        if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_F4))
            close = a;
    ASSERT_NE(close, nullptr);
    close->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(Frame().MdiArea()->subWindowList().size(), 1);
    EXPECT_NE(Frame().MdiArea()->subWindowList().front(), first);
    EXPECT_EQ(listed().size(), 1u);
}

}  // namespace
}  // namespace brevimar::testing
