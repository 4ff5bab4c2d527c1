#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollArea>

#include "app/BrevimarView.h"
#include "core/Document.h"
#include "dialogs/AgentDataDlg.h"
#include "platform/TestHooks.h"
#include "support/TestDocument.h"

namespace brevimar::testing {
namespace {

class DisplayCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        Doc->OnNewDocument();
        View = new CBrevimarView(Doc.Doc.get());
        SetModalHooks(*View, &Hooks);
        Area = View->Container();
    }
    void TearDown() override
    {
        delete Area;
        QCoreApplication::processEvents();
    }
    CBrevimarDoc& D() { return *Doc.Doc; }
    void Run(unsigned id) { ASSERT_TRUE(View->MessageMap().Execute(id)) << id; }
    CCmdUI State(unsigned id)
    {
        CCmdUI ui(id);
        View->MessageMap().Update(ui);
        return ui;
    }
    // The middle of cell (x, y)'s picture: cells are 5 pixels, column x,
    // row BattleSize + 1 - y, all scaled by the zoom.
    QPoint CellCentre(int x, int y, float zoom = 1.0f)
    {
        const int row = D().Battlefield.BattleSize + 1 - y;
        return QPoint(static_cast<int>((x * 5 + 2) * zoom), static_cast<int>((row * 5 + 2) * zoom));
    }
    void RightClick(int x, int y) { View->OnRButtonUp(0, CellCentre(x, y)); }

    CModalHooks Hooks;
    TestDocument Doc;
    CBrevimarView* View = nullptr;
    QScrollArea* Area = nullptr;
};

struct MapSwitches {
    int KillOnly, KillRed, KillBlue, TerrRed, TerrBlue, ActRed, ActBlue, Front;
    bool operator==(const MapSwitches&) const = default;
};

MapSwitches Maps(const CBrevimarDoc& d)
{
    return {d.KillMapOnly,      d.KillMapRed,       d.KillMapBlue,       d.TerritoryMapRed,
            d.TerritoryMapBlue, d.RedActivityMapOn, d.BlueActivityMapOn, d.BattleFrontOn};
}

void SetMaps(CBrevimarDoc& d, const MapSwitches& m)
{
    d.KillMapOnly = m.KillOnly, d.KillMapRed = m.KillRed, d.KillMapBlue = m.KillBlue;
    d.TerritoryMapRed = m.TerrRed, d.TerritoryMapBlue = m.TerrBlue;
    d.RedActivityMapOn = m.ActRed, d.BlueActivityMapOn = m.ActBlue, d.BattleFrontOn = m.Front;
}

TEST_F(DisplayCommands, MapCommandsClearTheOtherMapsExceptThoseTheyKeep)
{
    // Expected rows follow the menu's rules: which switch a command sets,
    // whether it toggles, and which other maps it keeps.
    const MapSwitches all{1, 1, 1, 1, 1, 1, 1, 1};
    struct Case {
        unsigned Id;
        MapSwitches Before, After;
    } cases[] = {
        {33166, {0, 0, 0, 1, 1, 0, 0, 1}, {0, 0, 0, 1, 0, 0, 0, 0}},  // RED territory is not a toggle
        {33165, {0, 0, 0, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}},  // Show All territory toggles off
        {33165, all, {1, 1, 1, 0, 0, 1, 1, 1}},                      // toggled off alone
        {33165, {1, 1, 1, 0, 1, 1, 1, 1}, {0, 0, 0, 1, 1, 0, 0, 1}},  // ... and on, keeping the front
        {33175, all, {1, 1, 1, 1, 1, 1, 1, 0}},                      // front on -> off alone
        {33175, {1, 1, 1, 1, 1, 1, 1, 0}, {0, 0, 0, 1, 1, 0, 0, 1}},  // front keeps the territory maps
        {33107, all, {1, 1, 1, 0, 0, 0, 0, 0}},                      // kill map all keeps kill-only
        {33108, {1, 0, 1, 1, 0, 1, 0, 1}, {1, 1, 1, 0, 0, 0, 0, 0}},
        {33108, all, {1, 0, 1, 1, 1, 1, 1, 1}},                      // RED kills off touches nothing else
        {33114, {0, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 0, 0, 0, 0, 0}},
        {33136, all, {1, 1, 1, 1, 1, 0, 0, 1}},                      // both activity maps off
        {33136, {1, 1, 1, 1, 1, 1, 0, 1}, {0, 0, 0, 0, 0, 1, 1, 0}},
        {33132, {1, 1, 1, 1, 1, 1, 0, 1}, {0, 0, 0, 0, 0, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        SetMaps(D(), c.Before);
        Run(c.Id);
        EXPECT_TRUE(Maps(D()) == c.After) << c.Id;
    }
}

TEST_F(DisplayCommands, FiltersValueItemsAndTheirMarks)
{
    Run(32856);  // injured alone also highlights the injured
    EXPECT_EQ(D().ShowInjured, 1);
    EXPECT_TRUE(State(32874).Checked);
    EXPECT_FALSE(State(32854).Checked);

    struct Case {
        unsigned Id;
        const int* Field;
        int Value;
    } cases[] = {
        {33133, &D().ActivityRadius, 3},         {33129, &D().ActivityRadius, 10},
        {33181, &D().Statistics.BattleFrontRadius, 5},  {33196, &D().Statistics.BattleFrontThreshold, 15},
        {33197, &D().Battlefield.TerritoryRange, 1},    {33219, &D().Battlefield.TerritoryMinCount, 10},
        {33209, &D().Battlefield.TerritoryDelta, 7},    {33354, &D().Battlefield.PathStartDistance, 15},
        {33347, &D().Battlefield.PathStartDistance, 4},
    };
    for (const Case& c : cases) {
        Run(c.Id);
        EXPECT_EQ(*c.Field, c.Value) << c.Id;
        EXPECT_TRUE(State(c.Id).Checked) << c.Id;
    }
    EXPECT_FALSE(State(33353).Checked);  // D=10 lost its mark to D=4
}

TEST_F(DisplayCommands, SquadItemsAboveTheSquadCountAreGreyAndUnmarked)
{
    D().RedForce.NumSquads = 3;
    D().HighlightRedSquadNumber = 4;
    EXPECT_FALSE(State(33284).Enabled);  // S=4
    EXPECT_FALSE(State(33284).Checked);
    EXPECT_TRUE(State(33283).Enabled);
    Run(33283);
    EXPECT_EQ(D().HighlightRedSquadNumber, 3);
    EXPECT_TRUE(State(33283).Checked);
    // The same rule on the right-click squad pickers; S=1 is always offered.
    D().BlueForce.NumSquads = 1;
    EXPECT_TRUE(State(33242).Enabled);
    EXPECT_FALSE(State(33251).Enabled);
    // "Turn Off Other Squads" is marked while the others are hidden.
    D().ShowOtherRedAgents = 1;
    Run(33292);
    EXPECT_EQ(D().ShowOtherRedAgents, 0);
    EXPECT_TRUE(State(33292).Checked);
    // Command-structure items need the side's local command.
    D().BlueLocal.LocalCommandOn = 0;
    EXPECT_FALSE(State(33145).Enabled);
    D().BlueLocal.LocalCommandOn = 1;
    Run(33145);
    EXPECT_TRUE(State(33145).Enabled);
    EXPECT_TRUE(State(33145).Checked);
}

TEST_F(DisplayCommands, ZoomScalesThePictureAndTheMouseStillFindsTheCell)
{
    const QSize unzoomed = View->PictureSize();
    Run(33173);  // 200%
    EXPECT_EQ(D().ZoomFactor, 2.0f);
    EXPECT_TRUE(State(33173).Checked);
    EXPECT_FALSE(State(32910).Checked);
    EXPECT_EQ(View->PictureSize(), unzoomed * 2);
    EXPECT_EQ(View->PointToCell(CellCentre(10, 20, 2.0f)), QPoint(10, 20));
    Run(33169);  // 25%
    EXPECT_EQ(View->PointToCell(CellCentre(100, 3, 0.25f)), QPoint(100, 3));
}

TEST_F(DisplayCommands, RightClickTerrainPlacesAndRemovesWithItsSwitches)
{
    Run(33223);
    Run(33225);  // Pillar
    EXPECT_TRUE(State(33223).Checked);
    EXPECT_EQ(D().Battlefield.TerrainMode, 2);
    D().Battlefield.LineOfSightOn = 0;
    const int at = GridIndex(30, 40);
    D().Battlefield.AgentGrid[at] = CellFree;
    RightClick(30, 40);
    EXPECT_EQ(D().Battlefield.TerrainType[at], Pillar);
    EXPECT_EQ(D().Battlefield.AgentGrid[at], CellTerrain);
    EXPECT_EQ(D().Battlefield.LineOfSightOn, 1);
    RightClick(30, 40);
    EXPECT_EQ(D().Battlefield.TerrainType[at], OpenGround);
    EXPECT_EQ(D().Battlefield.LineOfSightOn, 1);  // removing a pillar keeps sight lines on

    // The last passable cell gone: no passable terrain left.
    for (int i = 0; i < GridCells; ++i)
        if (IsPassableTerrain(D().Battlefield.TerrainType[i]))
            D().Battlefield.TerrainType[i] = OpenGround;
    Run(33227);  // Passable Type II
    RightClick(30, 40);
    EXPECT_EQ(D().Battlefield.TerrainModifiersOn, 1);
    RightClick(30, 40);
    EXPECT_EQ(D().Battlefield.TerrainModifiersOn, 0);
}

TEST_F(DisplayCommands, RightClickAgentsAddToTheirSquadAndRemoveOnlyLiveOnes)
{
    CForce& red = D().RedForce;
    red.NumSquads = 2;
    red.NumAgents = 3;
    red.num_per_squad[1] = 2;
    red.num_per_squad[2] = 1;
    // Agent 1 died on (50, 60); agent 2 stands there alive; agent 3 injured elsewhere.
    const int states[] = {0, 0, 2, 1}, xs[] = {0, 50, 50, 5}, ys[] = {0, 60, 60, 5};
    for (int i = 1; i <= 3; ++i)
        red.AgentState[i] = states[i], red.AgentX[i] = xs[i], red.AgentY[i] = ys[i];
    for (int i = 1; i <= D().BlueForce.NumAgents; ++i)
        D().BlueForce.AgentX[i] = 1, D().BlueForce.AgentY[i] = 1;
    D().Battlefield.AgentGrid[GridIndex(50, 60)] = CellAgent;
    D().Battlefield.AgentGrid[GridIndex(70, 80)] = CellFree;

    Run(33230);
    Run(33232);  // squad 2
    EXPECT_TRUE(State(33230).Checked);
    RightClick(50, 60);
    EXPECT_EQ(red.AgentState[2], 0);  // the live one, not the dead agent 1
    EXPECT_EQ(D().Battlefield.AgentGrid[GridIndex(50, 60)], CellFree);
    EXPECT_EQ(red.NumAgents, 3);  // slots are not compacted

    RightClick(70, 80);
    EXPECT_EQ(red.NumAgents, 4);
    EXPECT_EQ(red.AgentSquad[4], 2);
    EXPECT_EQ(red.num_per_squad[2], 2);
    EXPECT_EQ(red.AgentState[4], 2);
    // The status counts are recounted after the edit: agent 4 alone is
    // alive, agent 3 injured, agents 1 and 2 dead.
    EXPECT_EQ(D().RunHeader.RedAlive, 1);
    EXPECT_EQ(D().RunHeader.RedInjured, 1);
    EXPECT_EQ(D().Battlefield.AgentGrid[GridIndex(70, 80)], CellAgent);

    // A full side takes no more agents.
    red.NumAgents = MaxAgents;
    D().Battlefield.AgentGrid[GridIndex(90, 90)] = CellFree;
    RightClick(90, 90);
    EXPECT_EQ(red.NumAgents, MaxAgents);
    EXPECT_EQ(D().Battlefield.AgentGrid[GridIndex(90, 90)], CellFree);
}

TEST_F(DisplayCommands, AgentDataWindowShowsTheSquadItWasOpenedOnAndIsFreedWhenClosed)
{
    CForce& blue = D().BlueForce;
    blue.NumSquads = 4;
    blue.A_S_RANGE[4] = 7;
    blue.I_S_RANGE[4] = 3;
    blue.A_R_max_eng_num[4] = 2;
    D().Battlefield.BlueCombatUnlimited = 1;
    D().Paused = 0;
    Run(32882);
    EXPECT_EQ(D().Paused, 1);
    auto* window = dynamic_cast<CAgentDataDlg*>(View->LastChartWindow.data());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "BLUE Agent Data");
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::IDC_SQUAD), "1");

    // Squad 7 of 4 shows squad 4; the maximum targets read 999 without a limit.
    blue.A_S_RANGE[4] = 9;  // a later change does not reach the open window
    window->SetDlgItemText(CAgentDataDlg::IDC_SQUAD, "7");
    window->OnDisplaySquad();
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::IDC_SQUAD), "4");
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::RowControl(0, 0)), "7");
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::RowControl(0, 1)), "3");
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::RowControl(28, 0)), "999");

    // A squad of 0 is refused with a message, and squad 1 shows.
    const std::size_t messages = Hooks.Log().size();
    window->SetDlgItemText(CAgentDataDlg::IDC_SQUAD, "0");
    window->OnDisplaySquad();
    EXPECT_GT(Hooks.Log().size(), messages);
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::IDC_SQUAD), "1");

    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(View->LastChartWindow.isNull());
}

// A BLUE force block holds BLUE's own side first (w1 toward alive BLUE, w5
// toward the BLUE goal, R_R distances to BLUE); the window's rows are labelled
// by side name, so each own/other pair lands crosswise.
TEST_F(DisplayCommands, BlueAgentDataWindowShowsBluesFieldsUnderTheSideNamedRows)
{
    CForce& blue = D().BlueForce;
    blue.NumSquads = 1;
    blue.w1_a[1] = 11, blue.w2_a[1] = 12, blue.w3_i[1] = 13, blue.w4_i[1] = 14, blue.w5_a[1] = 15, blue.w6_a[1] = 16;
    blue.A_R_R_min_dist[1] = 21, blue.A_R_B_min_dist[1] = 22;
    Run(32882);
    auto* window = dynamic_cast<CAgentDataDlg*>(View->LastChartWindow.data());
    ASSERT_NE(window, nullptr);
    const struct {
        int Row, Column;
        const char* Shown;
    } rows[] = {
        {4, 0, "12"},  // "--> Alive RED"
        {5, 0, "11"},  // "--> Alive BLUE"
        {6, 1, "14"},  // "--> Injured RED"
        {7, 1, "13"},  // "--> Injured BLUE"
        {8, 0, "16"},  // "--> RED Goal"
        {9, 0, "15"},  // "--> BLUE Goal"
        {22, 0, "21"},  // "Min/B"
        {23, 0, "22"},  // "Min/R"
    };
    for (const auto& r : rows)
        EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::RowControl(r.Row, r.Column)), r.Shown) << r.Row;
    // Read-only boxes, but for the squad number that "Display Squad" reads.
    EXPECT_TRUE(qobject_cast<QLineEdit*>(window->GetDlgItem(CAgentDataDlg::RowControl(4, 0)))->isReadOnly());
    EXPECT_FALSE(qobject_cast<QLineEdit*>(window->GetDlgItem(CAgentDataDlg::IDC_SQUAD))->isReadOnly());
    window->close();

    // Replaying a frame file: the run header's count, not the scenario's squads.
    D().RunMode = 2;
    D().RunHeader.BlueCount = 37;
    blue.NumSquads = 3;
    blue.A_S_RANGE[1] = 7;
    Run(32882);
    window = dynamic_cast<CAgentDataDlg*>(View->LastChartWindow.data());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::IDC_AGENTS), "37");
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::IDC_SQUADS), "1");
    EXPECT_EQ(window->GetDlgItemText(CAgentDataDlg::RowControl(0, 0)), "0");
    window->close();
}

}  // namespace
}  // namespace brevimar::testing
