#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

#include "platform/CommandBars.h"
#include "platform/Resources.h"

namespace brevimar {
namespace {

TEST(CommandRouting, UpdateHandlersDecideElseAHandlerEnables)
{
    CCommandMap view, frame;
    int runs = 0, frameRuns = 0;
    int paused = 1;
    view.On(100, [&] { ++runs; });
    view.OnUpdate(100, [&](CCmdUI& ui) {
        ui.Enable(paused == 1);
        ui.SetCheck(paused);
    });
    view.On(101, [&] { ++runs; });          // handler, no update handler
    frame.On(101, [&] { ++frameRuns; });    // never reached: the view comes first
    frame.On(102, [&] { ++frameRuns; });
    CCommandRouter router([&] { return std::vector<const CCommandMap*>{&view, &frame, nullptr}; });

    EXPECT_TRUE(router.Evaluate(100).Enabled);
    EXPECT_TRUE(router.Evaluate(100).Checked);
    paused = 0;
    EXPECT_FALSE(router.Evaluate(100).Enabled);
    EXPECT_FALSE(router.Evaluate(100).Checked);
    EXPECT_TRUE(router.Evaluate(101).Enabled);
    EXPECT_FALSE(router.Evaluate(101).Checked);
    EXPECT_TRUE(router.Evaluate(102).Enabled);
    // A command that nobody handles is disabled.
    EXPECT_FALSE(router.Evaluate(103).Enabled);

    EXPECT_TRUE(router.Dispatch(101));
    EXPECT_TRUE(router.Dispatch(102));
    EXPECT_FALSE(router.Dispatch(103));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(frameRuns, 1);
}

TEST(CommandRouting, UpdateHandlerWithoutEnableLeavesTheItemEnabled)
{
    CCommandMap map;
    map.OnUpdate(200, [](CCmdUI& ui) { ui.SetCheck(1); });
    map.OnRange(300, 302, [](unsigned) {});
    map.OnUpdateRange(300, 302, [](CCmdUI& ui) { ui.Enable(ui.m_nID != 301); });
    CCommandRouter router([&] { return std::vector<const CCommandMap*>{&map}; });
    EXPECT_TRUE(router.Evaluate(200).Enabled);
    EXPECT_TRUE(router.Evaluate(200).Checked);
    EXPECT_TRUE(router.Evaluate(300).Enabled);
    EXPECT_FALSE(router.Evaluate(301).Enabled);
    EXPECT_TRUE(router.Dispatch(302));
}

const char* SmallResources = R"(# a test menu
menu 7
"&Run"
  "Go" 100
  "Stop" 101
  -
  "Later" 102
  "Not yet"
  "Sub"
    "   ....Deep item" 103
accelerators 7
Ctrl+G 100
toolbar 7
100 Go "Run the battle"
-
102 Lt "Later"
)";

class CommandBarsTest : public ::testing::Test {
protected:
    CommandBarsTest()
        : Router([this] { return std::vector<const CCommandMap*>{&Map}; }), Bars(&Owner, Router)
    {
        Resources = ParseResources(SmallResources);
        Map.On(100, [this] { ++GoRuns; });
        Map.OnUpdate(100, [this](CCmdUI& ui) {
            ui.Enable(Running == 0);
            ui.SetCheck(Running == 0);
        });
        Map.On(101, [this] { Running = 0; });
        Map.On(103, [] {});
        Bars.InstallAccelerators(Resources.Accelerators[7]);
        Menus = Bars.BuildMenu(Resources.Menus[7]);
    }

    QWidget Owner;
    CCommandMap Map;
    CCommandRouter Router;
    CCommandBars Bars;
    ResourceSet Resources;
    std::vector<QMenu*> Menus;
    int GoRuns = 0;
    int Running = 0;
};

TEST_F(CommandBarsTest, OpeningAMenuEvaluatesItsItems)
{
    ASSERT_EQ(Menus.size(), 1u);
    QAction* go = Bars.FindMenuItem(Menus, "&Run/Go");
    QAction* later = Bars.FindMenuItem(Menus, "&Run/Later");
    QAction* notYet = Bars.FindMenuItem(Menus, "&Run/Not yet");
    QAction* deep = Bars.FindMenuItem(Menus, "&Run/Sub/   ....Deep item");
    ASSERT_TRUE(go && later && notYet && deep);
    // The item shows its accelerator.
    EXPECT_TRUE(go->text().startsWith("Go\t"));

    emit Menus[0]->aboutToShow();
    EXPECT_TRUE(go->isEnabled());
    EXPECT_TRUE(go->isChecked());
    EXPECT_FALSE(later->isEnabled());   // no handler
    EXPECT_FALSE(notYet->isEnabled());  // no command at all

    Running = 1;
    emit Menus[0]->aboutToShow();
    EXPECT_FALSE(go->isEnabled());
    EXPECT_FALSE(go->isChecked());
    // The submenu is evaluated when it opens.
    emit qobject_cast<QMenu*>(deep->parent())->aboutToShow();
    EXPECT_TRUE(deep->isEnabled());
}

TEST_F(CommandBarsTest, ADisabledCommandDoesNotRunAndEachCommandRefreshesTheToolbar)
{
    QToolBar* bar = Bars.BuildToolBar(Resources.Toolbars[7], &Owner);
    ASSERT_NE(bar, nullptr);
    QAction* goButton = Bars.ToolbarButtonFor(100);
    ASSERT_NE(goButton, nullptr);
    EXPECT_EQ(goButton->toolTip(), "Run the battle");

    int after = 0;
    Bars.AfterCommand = [&] { ++after; };
    Running = 1;
    EXPECT_FALSE(Bars.Run(100));
    EXPECT_EQ(GoRuns, 0);
    EXPECT_FALSE(goButton->isEnabled());

    EXPECT_TRUE(Bars.Run(101));  // stops the run: Go becomes possible
    EXPECT_EQ(after, 1);
    EXPECT_TRUE(goButton->isEnabled());
    EXPECT_FALSE(Bars.ToolbarButtonFor(102)->isEnabled());

    goButton->trigger();
    EXPECT_EQ(GoRuns, 1);
    // The same command from its menu item.
    Bars.MenuItems(100).front()->trigger();
    EXPECT_EQ(GoRuns, 2);
}

TEST(ResourceText, NestingSeparatorsAndTextKeptExactly)
{
    const ResourceSet set = ParseResources(SmallResources);
    EXPECT_TRUE(set.Errors.empty());
    const auto& popups = set.Menus.at(7);
    ASSERT_EQ(popups.size(), 1u);
    const MenuEntry& run = popups[0];
    EXPECT_TRUE(run.Popup);
    ASSERT_EQ(run.Items.size(), 6u);
    EXPECT_TRUE(run.Items[2].Separator);
    EXPECT_FALSE(run.Items[4].Popup);  // no command and nothing below it
    EXPECT_EQ(run.Items[4].Id, 0u);
    ASSERT_TRUE(run.Items[5].Popup);
    EXPECT_EQ(run.Items[5].Items[0].Text, "   ....Deep item");
    EXPECT_EQ(set.Accelerators.at(7).front().Key, "Ctrl+G");
    ASSERT_EQ(set.Toolbars.at(7).size(), 3u);
    EXPECT_TRUE(set.Toolbars.at(7)[1].Separator);
    std::vector<unsigned> ids;
    CollectMenuIds(popups, ids);
    EXPECT_EQ(ids, (std::vector<unsigned>{100, 101, 102, 0, 103}));
}

TEST(ResourceText, QuotesInsideATextAndBadLines)
{
    ResourceSet set = ParseResources("menu 1\n\"&T\"\n  \"Toggle Red \"Nearest\" Flag\" 33142\n");
    ASSERT_TRUE(set.Errors.empty());
    EXPECT_EQ(set.Menus.at(1)[0].Items[0].Text, "Toggle Red \"Nearest\" Flag");

    set = ParseResources("menu x\n\"A\" 1\nmenu 2\n\"B\"\n   \"odd\" 3\n      \"too deep\" 4\n  \"id\" 12a\nwidget 3\n");
    EXPECT_EQ(set.Errors.size(), 6u);
}

}  // namespace
}  // namespace brevimar
