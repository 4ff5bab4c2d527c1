#include <QAbstractButton>
#include <QImage>

#include <cmath>
#include <cstring>

#include "app/AppFixture.h"
#include "charts/HitProbabilityGraph.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/CombatParamsDlg.h"
#include "dialogs/HitProbDlg.h"
#include "dialogs/PassableTerrainDlg.h"
#include "dialogs/SquadSections.h"
#include "dialogs/WeaponDialogs.h"
#include "files/WeaponFiles.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using H = CHitProbDlg;
using W = CAgentWeaponsDlg;
using C = CCombatParamsDlg;
using P = CPassableTerrainDlg;
using Values = std::map<int, std::string>;

class CombatDialogs : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
    }
    // A side of the given squad sizes, restarted so that its agents belong
    // to them; every squad fires out to 5 (alive) and 3 (injured).
    void Squads(Side side, std::vector<int> sizes)
    {
        CForce& f = Doc().Force(side);
        f.NumSquads = static_cast<int>(sizes.size());
        f.NumAgents = 0;
        for (int s = 1; s <= MaxSquads; ++s) {
            f.num_per_squad[s] = s <= f.NumSquads ? sizes[s - 1] : 0;
            f.NumAgents += f.num_per_squad[s];
            f.A_F_RANGE[s] = 5;
            f.I_F_RANGE[s] = 3;
            // In range for the agent dialog too.
            f.A_S_RANGE[s] = f.I_S_RANGE[s] = 10;
            f.A_C_RANGE[s] = f.I_C_RANGE[s] = 3;
            f.A_M_RANGE[s] = f.I_M_RANGE[s] = 1;
            f.A_R_max_eng_num[s] = f.I_R_max_eng_num[s] = 2;
            f.alive_strength[s] = f.injured_strength[s] = 1;
            f.A_ADVANCE_num[s] = f.I_ADVANCE_num[s] = f.A_CLUSTER_num[s] = f.I_CLUSTER_num[s] = 0;
            f.A_COMBAT_num[s] = f.I_COMBAT_num[s] = 0;
            f.A_R_R_min_dist[s] = f.I_R_R_min_dist[s] = f.A_R_B_min_dist[s] = f.I_R_B_min_dist[s] = 1;
            f.A_R_R_goal_min[s] = f.I_R_R_goal_min[s] = 1;
        }
        Doc().Local(side).w7 = Doc().Local(side).w8 = 0.5f;
        f.COMM_range = 5;
        Doc().ResetTail();
    }
    int Messages(const std::string& text) const
    {
        int count = 0;
        for (const ModalRecord& r : Hooks.Log())
            count += r.Kind == ModalKind::MessageBox && r.Text == text;
        return count;
    }
    std::vector<std::string> DialogTitles() const
    {
        std::vector<std::string> titles;
        for (const ModalRecord& r : Hooks.Log())
            if (r.Kind == ModalKind::Dialog)
                titles.push_back(r.Title);
        return titles;
    }
    bool Run(unsigned id) { return Frame().RunCommand(id); }
};

TEST_F(CombatDialogs, MenuItemsOpenTheirDialogsAndCancelChangesNothing)
{
    const std::pair<const char*, const char*> items[] = {
        {"&Edit/Combat Parameters...", "Edit::Combat Parameters"},
        {"&Edit/RED Data/   ....Passable-Terrain Degradation Parameters", "Edit::Red Passable-Terrain Modifiers"},
        {"&Edit/Terrain/Blue Passable-Terrain Degradation Parameters...", "Edit::Blue Passable-Terrain Modifiers"},
        {"&Edit/BLUE Data/   ....Squad-Specific Weapons Parameters", "Edit::BLUE Prob(HIT) vs. Fire Range"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/Weapon Assignments/Squad-Specific/Prob(HIT) vs. Range...",
         "Edit::RED Prob(HIT) vs. Fire Range"},
        {"&Edit/RED Data/   ....Agent-Specific Weapons Parameters/Grenade Parameters...",
         "Edit::Red Grenade Parameters"},
        {"&Edit/BLUE Data/   ....Agent-Specific Weapons Parameters/Weapon Assignments...",
         "Edit::Blue Agent-Specific Weapon Assignments"},
        {"&On-the-Fly Parameter Changes/Combat Parameters/Weapon Selection/Red...",
         "Specify Red Force Weapon Assignment Type"},
    };
    CBrevimarDoc& doc = Doc();
    doc.Resume();
    doc.RunHeader.CurrentStep = 7;
    const CForce before = doc.RedForce;
    const CTerrainModifiers modifiers = doc.TerrainModifiers;
    const CAgentWeapons weapons = doc.AgentWeapons;
    for (const auto& [path, caption] : items) {
        QAction* item = Frame().FindMenuItem(path);
        ASSERT_NE(item, nullptr) << path;
        Hooks.AnswerDialog(IDCANCEL);
        item->trigger();
        ASSERT_FALSE(Hooks.Log().empty());
        EXPECT_EQ(Hooks.Log().back().Title, caption) << path;
        EXPECT_EQ(doc.Paused, 1) << path;  // the run waits for the user after Cancel too
        doc.Resume();
        EXPECT_EQ(doc.RunHeader.CurrentStep, 7) << path;
    }
    EXPECT_EQ(std::memcmp(&before, &doc.RedForce, sizeof before), 0);
    EXPECT_EQ(std::memcmp(&modifiers, &doc.TerrainModifiers, sizeof modifiers), 0);
    EXPECT_EQ(std::memcmp(&weapons, &doc.AgentWeapons, sizeof weapons), 0);
}

TEST_F(CombatDialogs, CurveValuesWorkedByHand)
{
    // r_min 2, r_max 6, P1 0.9, P2 0.1, plateaus 0.95 below and 0.05 above.
    // Slow: P1 - (P1 - P2)(r^n - 2^n)/(6^n - 2^n); fast reflects about r = 4.
    const struct {
        double power;
        int decay;
        double r;
        float p;
    } cases[] = {
        {1, 0, 4, 0.5f},                 // 0.9 - 0.8 * 2/4
        {2, 0, 4, 0.6f},                 // 0.9 - 0.8 * 12/32
        {2, 1, 4, 0.4f},                 // 0.1 + 0.8 * (16 - 4)/32
        {2, 0, 3, 0.9f - 0.8f * 5 / 32},  // 0.775
        {2, 1, 3, 0.1f + 0.8f * 21 / 32},  // (5^2 - 4) = 21: 0.625
        {2, 0, 2, 0.9f},
        {2, 0, 6, 0.1f},
        {2, 0, 1, 0.95f},
        {2, 1, 7, 0.05f},
    };
    for (const auto& c : cases) {
        const HitCurve curve{0.95, 2, 6, 0.9, 0.1, c.power, 0.05, c.decay};
        EXPECT_NEAR(HitCurveValue(curve, c.r), c.p, 1e-6) << c.power << " " << c.decay << " " << c.r;
    }
    // r_min = r_max: plateau, the point itself, plateau.
    const HitCurve flat{0.7, 4, 4, 0.5, 0.2, 3, 0.1, 0};
    EXPECT_FLOAT_EQ(HitCurveValue(flat, 3), 0.7f);
    EXPECT_FLOAT_EQ(HitCurveValue(flat, 4), 0.5f);
    EXPECT_FLOAT_EQ(HitCurveValue(flat, 5), 0.1f);
}

TEST_F(CombatDialogs, GenerateArrayFillsEachStateToItsFireRangeAndHandsBack)
{
    Squads(Side::Red, {4, 4});
    CBrevimarDoc& doc = Doc();
    doc.RedForce.A_F_RANGE[2] = 25;  // beyond the table: ranges 1..20 only
    doc.RedForce.WeaponFunction.p_r[3][4][0] = 0.33f;
    // Squad 1 (fire ranges 5 and 3), weapon 3, slow n = 1 from 0.9 at 2 to
    // 0.1 at 6; the injured side a flat 0.4.
    Values typed = {{H::IDC_WEAPON_1 + 2, "1"}};
    const char* alive[7] = {"1", "2", "6", "0.9", "0.1", "1", "0"};
    for (int k = 0; k < 7; ++k) {
        typed[H::ParamId(k, 0)] = alive[k];
        typed[H::ParamId(k, 1)] = k == 1 ? "0" : k == 2 ? "0" : k == 5 ? "1" : "0.4";
    }
    typed[H::IDC_GENERATE] = "";
    Hooks.StepDialog(typed);
    Hooks.StepDialog({{IDC_SQUAD_1 + 1, "1"}, {H::IDC_WEAPON_1 + 4, "1"}, {H::ParamId(0, 0), "0.25"},
                            {H::IDC_GENERATE, ""}});
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_SQUAD_WEAPONS));
    const SquadWeaponFunction& f = doc.RedForce.WeaponFunction;
    const float aliveTable[6] = {0, 1.0f, 0.9f, 0.7f, 0.5f, 0.3f};
    for (int r = 1; r <= HitDialogRanges; ++r) {
        EXPECT_FLOAT_EQ(f.p_r[3][r][0], r <= 5 ? aliveTable[r] : 0.0f) << r;
        EXPECT_FLOAT_EQ(f.p_r[3][r][1], r <= 3 ? 0.4f : 0.0f) << r;
    }
    EXPECT_EQ(f.weapon_squad[1], 3);
    EXPECT_EQ(f.weapon_squad[2], 5);
    EXPECT_DOUBLE_EQ(f.rmax[3][0], 6.0);
    // Squad 2's range 25 fills all twenty ranges; r = 0 of the plateau is below r_min.
    EXPECT_FLOAT_EQ(f.p_r[5][20][0], f.phigh[5][0]);
    EXPECT_FLOAT_EQ(f.p_r[5][1][0], HitCurveValue({0.25, f.rmin[5][0], f.rmax[5][0], f.pmin[5][0], f.pmax[5][0],
                                                    f.power[5][0], f.phigh[5][0], f.decay[5][0] == 0 ? 0 : 1},
                                                   1));
    EXPECT_EQ(doc.Paused, 1);
}

TEST_F(CombatDialogs, WeaponRadioAssignsAtOnceAndSymmetrizeCopiesAlive)
{
    Squads(Side::Blue, {3, 3, 3});
    CBrevimarDoc& doc = Doc();
    SquadWeaponFunction& f = doc.BlueForce.WeaponFunction;
    f.p_r[1][7][0] = 0.8f;
    f.rmin[1][0] = 3;
    // Weapon 4 for squad 2 at once; then squad 9 (> 3 squads) changes nothing.
    Hooks.StepDialog({{IDC_SQUAD_1 + 1, "1"}, {H::IDC_WEAPON_1 + 3, "1"}});
    Hooks.AnswerDialog(IDCANCEL);
    ASSERT_TRUE(Run(V::ID_EDIT_BLUE_SQUAD_WEAPONS));
    EXPECT_EQ(f.weapon_squad[2], 1);  // Cancel drops it

    CBlueSquadHitProbDlg dlg(doc);
    SetModalHooks(dlg, &Hooks);
    dlg.OnInitDialog();
    dlg.OnSquad(2);
    dlg.OnWeapon(4);
    EXPECT_EQ(dlg.Functions.weapon_squad[2], 4);
    dlg.OnSquad(9);
    EXPECT_EQ(dlg.CurrentSquad, 2);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD_1 + 1), 1);
    dlg.OnSquad(1);
    EXPECT_EQ(dlg.CurrentFunction, 1);
    dlg.SetDlgItemText(H::ParamId(1, 1), "9");
    dlg.OnSymmetrizeParameters();
    dlg.OnSymmetrizeTable();
    EXPECT_DOUBLE_EQ(dlg.Functions.rmin[1][1], 3.0);
    EXPECT_FLOAT_EQ(dlg.Functions.p_r[1][7][1], 0.8f);
    dlg.SetDlgItemText(H::TableId(20, 0), "1.5");
    EXPECT_FALSE(dlg.OnUpdateSquadWeapon());
    EXPECT_EQ(Messages("Please enter a number between 0 and 1."), 1);
    // An alive P1 of 2 (above 1, as a file may hold) is the alive column's
    // own, not the injured one's: symmetrizing refuses to store it there.
    dlg.Functions.pmin[1][0] = 2.0;
    dlg.Functions.pmin[1][1] = 0.5;
    dlg.OnSquad(1);
    dlg.OnSymmetrizeParameters();
    EXPECT_EQ(Messages("Please enter a number between 0 and 1."), 2);
    EXPECT_EQ(dlg.FocusedControl(), H::ParamId(3, 1));
    EXPECT_DOUBLE_EQ(dlg.Functions.pmin[1][1], 0.5);
}

TEST_F(CombatDialogs, ShowFunctionDrawsBothCurvesAtTheirRanges)
{
    Squads(Side::Red, {4});
    CBrevimarDoc& doc = Doc();
    doc.RedForce.A_F_RANGE[1] = 6;
    doc.RedForce.I_F_RANGE[1] = 2;
    CRedSquadHitProbDlg dlg(doc);
    dlg.OnInitDialog();
    // Values at or below 0.5: the y axis tops at the largest, 0.5.
    const float alive[7] = {0, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f, 0.05f};
    const float injured[7] = {0, 0.05f, 0.05f, 0.05f, 0.05f, 0.05f, 0.05f};
    for (int r = 1; r <= 6; ++r) {
        dlg.SetDlgItemText(H::TableId(r, 0), std::to_string(alive[r]));
        dlg.SetDlgItemText(H::TableId(r, 1), std::to_string(injured[r]));
    }
    qobject_cast<QAbstractButton*>(dlg.GetDlgItem(H::IDC_SHOW_FUNCTION))->click();
    CHitProbabilityGraphDlg* chart = dlg.LastChart.data();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->windowTitle().toStdString(), "Prob(HIT) vs. Fire-Range");
    using chart::Prop;
    auto value = [&](Prop p, unsigned i = 0, unsigned j = 0) {
        return chart::GetProperty(chart->Graph.GraphHandle, p, i, j).ToDouble();
    };
    EXPECT_EQ(value(Prop::NumPoints), 6);
    EXPECT_EQ(value(Prop::NumSets), 2);
    EXPECT_EQ(value(Prop::XAxisMin), 0.0);
    EXPECT_EQ(value(Prop::YAxisMax), 0.5);
    EXPECT_FLOAT_EQ(value(Prop::GraphData, 0, 0), 0.5);  // range 1 again at x = 1
    EXPECT_EQ(value(Prop::XPosData, 0, 0), 1.0);

    chart::ChartLayout layout;
    const QImage image = chart::RenderChartImage(chart->Graph.GraphHandle, QSize(640, 480), &layout);
    ASSERT_TRUE(layout.Drawn);
    EXPECT_NE(layout.FindText("Single-Shot HIT Prob vs. Fire-Range"), nullptr);
    EXPECT_NE(layout.FindText("Injured"), nullptr);
    const QRectF plot = layout.PlotRect;
    // Whether a pixel within one of the point (x, y) has the colour.
    auto near = [&](double x, double y, const QColor& colour) {
        const double px = plot.left() + (x - 0.0) / (6.0 - 0.0) * plot.width();
        const double py = plot.top() + plot.height() - (y - 0.0) / (0.5 - 0.0) * plot.height();
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (image.pixelColor(static_cast<int>(std::lround(px)) + dx, static_cast<int>(std::lround(py)) + dy) ==
                    colour)
                    return true;
        return false;
    };
    // Midway between drawn points r and r + 1 each line passes in its colour.
    ASSERT_EQ(layout.Series.size(), 2u);
    const QColor red = layout.Series[0].Colour;
    const QColor blue = layout.Series[1].Colour;
    for (int r = 1; r <= 4; ++r) {
        const double mid = (alive[r] + alive[r + 1]) / 2;
        EXPECT_TRUE(near(r + 0.5, mid, red)) << r;
        EXPECT_TRUE(near(r + 0.5, 0.05, blue)) << r;
        EXPECT_FALSE(near(r + 0.5, (mid + 0.5) / 2, red)) << r;  // above both curves
        EXPECT_FALSE(near(r + 0.5, (mid + 0.05) / 2, red)) << r;  // between them
    }
    // A second press opens a second window; the first stays open.
    QPointer<CHitProbabilityGraphDlg> first = chart;
    dlg.OnShowFunction();
    EXPECT_NE(dlg.LastChart.data(), first.data());
    EXPECT_TRUE(first && first->isVisible());
    first->close();
    dlg.LastChart->close();
}

TEST_F(CombatDialogs, AgentDialogOpensThePHitDialogAndMarksFunctionsDefined)
{
    Squads(Side::Red, {4, 4});
    CBrevimarDoc& doc = Doc();
    doc.RedForce.SquadWeaponsDefined = 0;
    using A = CAgentParamsDlg;
    Hooks.StepDialog({{A::IDC_OPEN_PR, ""}});
    Hooks.AnswerDialog(IDOK, {{H::IDC_WEAPON_1 + 6, "1"}, {H::TableId(20, 1), "0.75"}, {H::IDC_UPDATE, ""}});
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    EXPECT_EQ(DialogTitles().end()[-2], "Edit::RED Prob(HIT) vs. Fire Range");
    EXPECT_EQ(doc.RedForce.SquadWeaponsDefined, 1);
    EXPECT_EQ(doc.RedForce.WeaponFunction.weapon_squad[1], 7);
    EXPECT_FLOAT_EQ(doc.RedForce.WeaponFunction.p_r[7][20][1], 0.75f);  // range 20 reaches the document
}

TEST_F(CombatDialogs, SaveSquadRefusesWhatDoesNotFitAndBalancesEverySquad)
{
    // Squad 1: 10 agents; squad 2: 2 agents carrying 3 + 3 + 3 (grenade, #1, #2).
    Squads(Side::Red, {10, 2, 3});
    CForce& f = Doc().RedForce;
    for (int k = 0; k < WeaponKinds; ++k)
        for (int s = 1; s <= 3; ++s)
            WeaponCarriers(f, k)[s] = 0;
    f.point_to_point_2[1] = 4;
    f.grenades[2] = f.point_to_point_1[2] = f.point_to_point_2[2] = 3;
    f.point_to_point_1[3] = 2;
    f.grenades[3] = 1;
    CRedAgentWeaponsDlg dlg(Doc());
    SetModalHooks(dlg, &Hooks);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.GetDlgItemText(W::IDC_SQUAD_SIZE), "10");
    // #1 = 6 fits; #2 = 6 does not: 10 - 6 leaves room for 4. Nothing is
    // stored, and no squad is balanced.
    dlg.SetDlgItemText(W::AgentsId(1), "6");
    dlg.SetDlgItemText(W::AgentsId(2), "6");
    EXPECT_FALSE(dlg.OnSaveSquad());
    EXPECT_EQ(Messages("Please enter an integer between 0 and 4."), 1);
    EXPECT_EQ(dlg.FocusedControl(), W::AgentsId(2));
    EXPECT_EQ(dlg.Carriers[1].Squad[1], 0);
    EXPECT_EQ(dlg.Carriers[0].Squad[2], 3);
    // With 4 the sum 10 is right.
    dlg.SetDlgItemText(W::AgentsId(2), "4");
    EXPECT_TRUE(dlg.OnSaveSquad());
    const int expected[3][WeaponKinds] = {
        {0, 6, 4, 0, 0, 0},
        {0, 0, 2, 0, 0, 0},  // excess 7: 3 from the grenade, 3 from #1, 1 from #2; never below 0
        {1, 2, 0, 0, 0, 0},
    };
    for (int s = 1; s <= 3; ++s)
        for (int k = 0; k < WeaponKinds; ++k)
            EXPECT_EQ(dlg.Carriers[k].Squad[s], expected[s - 1][k]) << s << " " << k;
    // Squad size 10 with 3, 3, 3: the shortfall goes to the grenade, the first of the largest.
    dlg.SetDlgItemText(W::AgentsId(0), "3");
    dlg.SetDlgItemText(W::AgentsId(1), "3");
    dlg.SetDlgItemText(W::AgentsId(2), "3");
    dlg.OnSaveSquad();
    EXPECT_EQ(dlg.Carriers[0].Squad[1], 4);
    EXPECT_EQ(dlg.GetDlgItemText(W::AgentsId(0)), "4");

    // OK stores the squad on show the same way: 11 carriers of #1 in a squad
    // of 10 keep the dialog open, and Cancel then keeps the document's 0.
    Hooks.AnswerDialog(IDOK, {{W::AgentsId(1), "11"}});
    Hooks.AnswerDialog(IDCANCEL);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENT_WEAPONS));
    EXPECT_EQ(Messages("Please enter an integer between 0 and 10."), 1);
    EXPECT_EQ(Hooks.Log().back().Result, IDCANCEL);
    EXPECT_EQ(f.point_to_point_1[1], 0);
}

TEST_F(CombatDialogs, AssignmentsOkHandsEachAgentItsWeapon)
{
    Squads(Side::Blue, {3, 6});
    CBrevimarDoc& doc = Doc();
    CForce& f = doc.BlueForce;
    for (int k = 0; k < WeaponKinds; ++k)
        WeaponCarriers(f, k)[1] = WeaponCarriers(f, k)[2] = 0;
    f.point_to_point_1[2] = 2;
    f.point_to_point_3[2] = 1;
    f.grenades[2] = 2;
    for (int a = 1; a <= 9; ++a)
        f.AgentWeapon[a] = 4;
    doc.RunHeader.CurrentStep = 12;
    Hooks.AnswerDialog(IDOK, {{W::AgentsId(1), "2"}, {W::AgentsId(0), "1"}, {W::IDC_SAVE_SQUAD, ""},
                                    {W::RangeId(3), "7"}, {W::ProbHitId(3, 10), "0.125"}, {W::IDC_SENSOR_CONST + 2, "1"}});
    ASSERT_TRUE(Run(V::ID_EDIT_BLUE_AGENT_WEAPONS));
    // Saving squad 1 also balanced squad 2: its shortfall of one went to
    // the grenade, the first of its largest counts.
    const int codes[10] = {0, 1, 1, 0, 1, 1, 3, 0, 0, 0};
    for (int a = 1; a <= 9; ++a)
        EXPECT_EQ(f.AgentWeapon[a], codes[a]) << a;
    EXPECT_EQ(doc.AgentWeapons.Blue.fire_range[3], 7);
    EXPECT_FLOAT_EQ(doc.AgentWeapons.Blue.prob_hit[3][10], 0.125f);
    EXPECT_EQ(doc.AgentWeapons.Blue.sensor_type, 2);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 12);  // the battle goes on
}

TEST_F(CombatDialogs, GrenadeOkWritesItsValuesOnly)
{
    Squads(Side::Red, {4});
    CBrevimarDoc& doc = Doc();
    doc.RedForce.AgentWeapon[2] = 3;
    doc.RedForce.grenades[1] = 2;
    Hooks.AnswerDialog(IDOK, {{CGrenadeDlg::IDC_MAX_THROW, "16"}});  // refused: 1..15
    Hooks.AnswerDialog(IDOK, {{CGrenadeDlg::IDC_MAX_THROW, "12"}, {CGrenadeDlg::IDC_BLAST_RADIUS, "4"},
                                    {CGrenadeDlg::LandingId(10), "0.5"}, {CGrenadeDlg::ProbHitId(0), "0.9"},
                                    {CGrenadeDlg::IDC_MIN_ENEMIES, "3"}, {CGrenadeDlg::IDC_SENSOR_CONST + 1, "1"}});
    ASSERT_TRUE(Run(V::ID_EDIT_RED_GRENADE));
    EXPECT_EQ(Messages("Please enter an integer between 1 and 15."), 1);
    const SideWeapons& w = doc.AgentWeapons.Red;
    EXPECT_EQ(w.max_throw_range, 12);
    EXPECT_EQ(w.blast_range, 4);
    EXPECT_EQ(w.use_threshold, 3);
    EXPECT_EQ(w.sensor_type, 1);
    EXPECT_FLOAT_EQ(w.prob_landing[10], 0.5f);
    EXPECT_FLOAT_EQ(w.prob_hit[0][0], 0.9f);
    EXPECT_EQ(doc.RedForce.AgentWeapon[2], 3);
    EXPECT_EQ(doc.RedForce.grenades[1], 2);
}

TEST_F(CombatDialogs, WeaponSelectionOpensOnlyTheDialogOfTheChoice)
{
    CBrevimarDoc& doc = Doc();
    using T = CWeaponAssignTypeDlg;
    const struct {
        int choice;
        int agentOn;
        const char* second;
    } cases[] = {
        {T::IDC_AGENT_SPECIFIC, 1, "Edit::Red Agent-Specific Weapon Assignments"},
        {T::IDC_SQUAD_SPECIFIC, 0, "Edit::RED Prob(HIT) vs. Fire Range"},
    };
    for (const auto& c : cases) {
        Hooks.Reset();
        Hooks.AnswerDialog(IDOK, {{c.choice, "1"}});
        Hooks.AnswerDialog(IDCANCEL);
        ASSERT_TRUE(Run(V::ID_FLY_RED_WEAPON_SELECTION));
        EXPECT_EQ(DialogTitles(), (std::vector<std::string>{"Specify Red Force Weapon Assignment Type", c.second}));
        EXPECT_EQ(doc.RedForce.WeaponsOn, c.agentOn);
        EXPECT_EQ(doc.RedForce.WeaponAssignType, 1 - c.agentOn);
    }
    // Cancelled at the first dialog: nothing changes, the view still redraws.
    const int invalidations = View()->InvalidateCount();
    Hooks.AnswerDialog(IDCANCEL, {{T::IDC_AGENT_SPECIFIC, "1"}});
    ASSERT_TRUE(Run(V::ID_FLY_RED_WEAPON_SELECTION));
    EXPECT_EQ(doc.RedForce.WeaponAssignType, 1);
    EXPECT_EQ(View()->InvalidateCount(), invalidations + 1);
}

TEST_F(CombatDialogs, PassableTerrainSquadsSaveAndSetAll)
{
    Squads(Side::Blue, {2, 2, 2, 2, 2});
    CBrevimarDoc& doc = Doc();
    CTerrainModifierSet& m = doc.TerrainModifiers.Blue;
    for (int s = 1; s <= MaxSquads; ++s) {
        m.A_sensor_range[s][2] = 10 + s;
        m.A_pk_alive[s][3] = 0.25f;
    }
    CBluePassableTerrainDlg dlg(doc);
    SetModalHooks(dlg, &Hooks);
    dlg.OnInitDialog();
    const int sensorII = P::SlabId(12, 2);
    dlg.OnSquad(3);
    dlg.OnSquad(7);  // beyond the five squads: nothing changes
    EXPECT_EQ(dlg.GetDlgItemText(sensorII), "13");
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD_1 + 2), 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD_1 + 6), 0);
    dlg.SetDlgItemText(sensorII, "40");
    dlg.OnSquad(4);  // the typing for squad 3 is lost
    EXPECT_EQ(dlg.Amounts[12][2].Squad[3], 13);
    dlg.SetDlgItemText(sensorII, "-5");  // accepted, whatever the heading says
    dlg.SetDlgItemText(P::SlabId(16, 1), "-1");  // defence refused
    EXPECT_FALSE(dlg.StoreSquad());
    dlg.SetDlgItemText(P::SlabId(16, 1), "2");
    EXPECT_TRUE(dlg.StoreSquad());
    EXPECT_EQ(dlg.Amounts[12][2].Squad[4], -5);
    dlg.SetDlgItemText(P::VisibilityId(3), "0.25");
    dlg.OnSetAll();  // squad 4 stored first, then every squad := squad 1
    EXPECT_EQ(dlg.CurrentSquad, 1);
    EXPECT_EQ(dlg.Amounts[12][2].Squad[4], 11);
    EXPECT_EQ(dlg.Visibility[3].Squad[10], dlg.Visibility[3].Squad[1]);

    // Through the command: squads 1..5 only reach the document, and the run goes on.
    doc.RunHeader.CurrentStep = 5;
    Hooks.AnswerDialog(IDOK, {{P::SlabId(10, 3), "0.5"}, {IDC_STORE_SQUAD, ""}, {P::IDC_SET_ALL, ""}});
    ASSERT_TRUE(Run(V::ID_EDIT_BLUE_PASSABLE_TERRAIN));
    EXPECT_FLOAT_EQ(m.A_pk_alive[5][3], 0.5f);
    EXPECT_EQ(doc.BlueForce.NumSquads, 5);
    EXPECT_FLOAT_EQ(m.A_pk_alive[6][3], 0.25f);
    EXPECT_EQ(m.A_sensor_range[6][2], 16);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 5);
    EXPECT_EQ(Messages("Please enter an integer between 0 and 99."), 1);

    // Squad 1's visibility of 2 (above 1, as a file may hold) is its own,
    // not squad 2's: "Set ALL" refuses to copy it, and OK keeps both.
    m.TerrainVisibility[1][1] = 2.0;
    m.TerrainVisibility[2][1] = 0.5;
    Hooks.AnswerDialog(IDOK, {{P::IDC_SET_ALL, ""}});
    ASSERT_TRUE(Run(V::ID_EDIT_BLUE_PASSABLE_TERRAIN));
    EXPECT_EQ(Messages("Please enter a number between 0 and 1."), 1);
    EXPECT_EQ(m.TerrainVisibility[1][1], 2.0);
    EXPECT_EQ(m.TerrainVisibility[2][1], 0.5);
}

// Every value the weapon dialogs take is saved by File > Save > Weapon Data >
// Agent-Specific and read back by File > Load: RED's through the assignments
// dialog, BLUE's through the grenade dialog, first the reach of the issue (a
// blast of 50, weapon 1 reaching 99, both past the P(hit) tables' range 10),
// then every range at the low and at the high end of its field.
TEST_F(CombatDialogs, WeaponValuesTheDialogsTakeLoadBackFromTheirFile)
{
    using G = CGrenadeDlg;
    CBrevimarDoc& doc = Doc();
    Squads(Side::Red, {3, 2});
    Squads(Side::Blue, {4});
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        for (int s = 1; s <= MaxSquads; ++s)
            for (int k = 0; k < WeaponKinds; ++k)
                WeaponCarriers(f, k)[s] = k == 1 ? f.num_per_squad[s] : 0;
    }
    doc.RedForce.WeaponsOn = 1;
    auto ends = [](bool high) {
        Values assignments{{W::IDC_BLAST_RANGE, high ? "999" : "1"}};
        for (int k = 1; k < WeaponKinds; ++k) {
            assignments[W::RangeId(k)] = !high ? "0" : k == 1 ? "99" : "999";
            assignments[W::MaxTargetsId(k)] = high ? "999" : "0";
        }
        const Values grenade{{G::IDC_BLAST_RADIUS, high ? "10" : "0"},
                             {G::IDC_MIN_THROW, high ? "15" : "0"},
                             {G::IDC_MAX_THROW, high ? "15" : "1"},
                             {G::IDC_FRATRICIDE_TOLERANCE, high ? "99" : "0"},
                             {G::IDC_MIN_ENEMIES, high ? "99" : "0"}};
        return std::pair{assignments, grenade};
    };
    const struct {
        const char* what;
        std::pair<Values, Values> typed;
        int redBlast, redReach[WeaponKinds], blueBlast;
    } cases[] = {
        {"the issue's reach", {{{W::IDC_BLAST_RANGE, "50"}, {W::RangeId(1), "99"}}, {}}, 50, {0, 99, 3, 3, 3, 3}, 3},
        {"low ends", ends(false), 1, {0, 0, 0, 0, 0, 0}, 0},
        {"high ends", ends(true), 999, {0, 99, 999, 999, 999, 999}, 10},
    };
    const std::string path = TempFolder() + "/reach.awp";
    for (const auto& c : cases) {
        Hooks.AnswerDialog(IDOK, c.typed.first);
        ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENT_WEAPONS));
        Hooks.AnswerDialog(IDOK, c.typed.second);
        ASSERT_TRUE(Run(V::ID_EDIT_BLUE_GRENADE));
        SideWeapons& red = doc.AgentWeapons.Red;
        SideWeapons& blue = doc.AgentWeapons.Blue;
        ASSERT_EQ(red.blast_range, c.redBlast) << c.what;
        for (int k = 1; k < WeaponKinds; ++k)
            ASSERT_EQ(red.fire_range[k], c.redReach[k]) << c.what << ", weapon " << k;
        ASSERT_EQ(blue.blast_range, c.blueBlast) << c.what;
        const SideWeapons saved[2] = {red, blue};
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_AGENT_WEAPONS));

        // Other values meanwhile, so that only the file brings them back.
        for (SideWeapons* w : {&red, &blue}) {
            w->blast_range = w->min_throw_range = w->max_throw_range = 6;
            std::fill(std::begin(w->fire_range) + 1, std::end(w->fire_range), 6);
        }
        const std::size_t logged = Hooks.Log().size();
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Run(V::ID_FILE_LOAD_AGENT_WEAPONS));
        for (std::size_t r = logged; r < Hooks.Log().size(); ++r)
            EXPECT_NE(Hooks.Log()[r].Kind, ModalKind::MessageBox) << c.what << ": " << Hooks.Log()[r].Text;
        EXPECT_EQ(std::memcmp(&red, &saved[0], sizeof red), 0) << c.what;
        EXPECT_EQ(std::memcmp(&blue, &saved[1], sizeof blue), 0) << c.what;
    }
}

// Every value the passable-terrain dialog takes for a squad is saved by File
// > Save > Terrain Data > Terrain-Modified Agent Data and read back by File >
// Load: first the Type-I sensor range delta of -5 (raising the range)
// alone, then every field of the three types at the low and the high end of
// its range (deltas -99..99, defence 0..99, factors and visibility 0..1).
TEST_F(CombatDialogs, PassableTerrainValuesTheDialogTakesLoadBackFromTheirFile)
{
    CBrevimarDoc& doc = Doc();
    Squads(Side::Blue, {2, 2});
    CTerrainModifierSet& m = doc.TerrainModifiers.Blue;
    auto ends = [](bool high) {
        Values typed;
        for (int c = 1; c < TerrainColumns; ++c) {
            typed[P::VisibilityId(c)] = high ? "1" : "0";
            for (int slab = 0; slab < TerrainSlabs; ++slab)
                typed[P::SlabId(slab, c)] = high ? "99" : IsFactorSlab(slab) || slab >= 16 ? "0" : "-99";
            for (int slab : {2, 3, 10, 11})
                typed[P::SlabId(slab, c)] = high ? "1" : "0";
        }
        return typed;
    };
    const struct {
        const char* what;
        Values typed;
        int sensorTypeI, defenceTypeIII;
    } cases[] = {
        {"the issue's delta", {{P::SlabId(12, 1), "-5"}}, -5, 3},
        {"low ends", ends(false), -99, 0},
        {"high ends", ends(true), 99, 99},
    };
    const std::string path = TempFolder() + "/deltas.tma";
    for (const auto& c : cases) {
        Values typed = c.typed;
        typed[IDC_SQUAD_1 + 1] = "1";
        typed[IDC_STORE_SQUAD] = "";
        Hooks.AnswerDialog(IDOK, typed);
        ASSERT_TRUE(Run(V::ID_EDIT_BLUE_PASSABLE_TERRAIN));
        ASSERT_EQ(m.A_sensor_range[2][1], c.sensorTypeI) << c.what;
        ASSERT_EQ(m.I_defense_alive[2][3], c.defenceTypeIII) << c.what;
        const CTerrainModifierSet saved[2] = {doc.TerrainModifiers.Red, m};
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_TERRAIN_MODIFIERS));

        // Other values meanwhile, so that only the file brings them back.
        for (int slab = 0; slab < TerrainSlabs; ++slab)
            for (int t = 1; t < TerrainColumns; ++t) {
                if (IsFactorSlab(slab))
                    FactorSlab(m, slab)[2][t] = 0.5f;
                else
                    AmountSlab(m, slab)[2][t] = 7;
                m.TerrainVisibility[2][t] = 0.5;
            }
        const std::size_t logged = Hooks.Log().size();
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Run(V::ID_FILE_LOAD_TERRAIN_MODIFIERS));
        for (std::size_t r = logged; r < Hooks.Log().size(); ++r)
            EXPECT_NE(Hooks.Log()[r].Kind, ModalKind::MessageBox) << c.what << ": " << Hooks.Log()[r].Text;
        EXPECT_EQ(std::memcmp(&doc.TerrainModifiers.Red, &saved[0], sizeof saved[0]), 0) << c.what;
        EXPECT_EQ(std::memcmp(&m, &saved[1], sizeof m), 0) << c.what;
    }
}

TEST_F(CombatDialogs, CombatParametersWriteSavedSquadsAndRestart)
{
    Squads(Side::Red, {3, 3});
    Squads(Side::Blue, {3, 3});
    CBrevimarDoc& doc = Doc();
    CBattlefield& b = doc.Battlefield;
    b.init_dist = 0;  // the boxes as given, not the corners
    b.BattleSize = 80;
    b.TerrainMode = 2;
    b.RED_cen_x[1] = b.RED_cen_x[2] = 20;
    b.BLUE_cen_y[2] = 60;
    doc.RedForce.GoalFlagX = doc.RedForce.GoalFlagY = 50;  // the BLUE flag, on the smaller field
    doc.BlueForce.GoalFlagX = 10;  // the RED flag
    const int invalidations = View()->InvalidateCount();
    const int rb = C::SideId(Side::Red, 0), bb = C::SideId(Side::Blue, 0);
    Hooks.StepDialog({{rb + C::SHOW_SQUAD, "2"}, {rb + C::DISPLAY_SQUAD, ""}});
    Hooks.StepDialog({{rb + C::CENTER_X, "33"}, {rb + C::SAVE_SQUAD, ""}});   // stored
    Hooks.StepDialog({{bb + C::SHOW_SQUAD, "9"}, {bb + C::DISPLAY_SQUAD, ""}});  // shows squad 2
    Hooks.StepDialog({{bb + C::CENTER_X + 1, "44"}, {bb + C::SHOW_SQUAD, "5"}, {bb + C::SAVE_SQUAD, ""}});
    Hooks.StepDialog({{C::IDC_MOVE_RANDOM, "1"}});
    Hooks.AnswerDialog(IDOK, {{C::IDC_LENGTH, "60"}, {C::IDC_WIDTH, "90"}, {rb + C::FLAG_X, "5"},
                                    {rb + C::NO_LIMIT, "1"}, {rb + C::CENTER_X, "99"}});
    ASSERT_TRUE(Run(V::ID_EDIT_COMBAT_PARAMETERS));
    EXPECT_EQ(b.RED_cen_x[2], 99);  // typed on squad 2 before OK, which keeps it
    EXPECT_EQ(b.RED_cen_x[1], 20);
    EXPECT_EQ(b.BLUE_cen_y[2], 60);  // squad 5 is beyond the count
    EXPECT_EQ(b.BattleSize, 60);
    EXPECT_EQ(b.TerrainMode, 2);
    EXPECT_EQ(b.MoveOrder, 2);
    EXPECT_EQ(doc.RunHeader.RandomMoveOrderSelected, 1);
    EXPECT_EQ(doc.RunHeader.FixedMoveOrderSelected, 0);
    EXPECT_EQ(b.RedCombatUnlimited, 1);
    EXPECT_EQ(doc.BlueForce.GoalFlagX, 5);
    EXPECT_EQ(doc.RedForce.GoalFlagX, 50);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);
    EXPECT_EQ(View()->InvalidateCount(), invalidations + 2);  // the erase for the smaller field, then the reset

    // The same size: no clearing.
    Hooks.AnswerDialog(IDOK, {{C::IDC_TERRAIN_NO, "1"}});
    ASSERT_TRUE(Run(V::ID_EDIT_COMBAT_PARAMETERS));
    EXPECT_EQ(b.BattleSize, 60);
    EXPECT_EQ(b.TerrainMode, 0);
    EXPECT_EQ(View()->InvalidateCount(), invalidations + 3);

    // A radio keeps the length typed before it.
    CCombatParamsDlg dlg(doc);
    dlg.OnInitDialog();
    dlg.SetDlgItemText(C::IDC_LENGTH, "99");
    qobject_cast<QAbstractButton*>(dlg.GetDlgItem(rb + C::FRATRICIDE_YES))->click();
    EXPECT_EQ(dlg.GetDlgItemText(C::IDC_LENGTH), "99");
    EXPECT_EQ(dlg.Red.Fratricide, 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(rb + C::NO_LIMIT), 1);
}

// A field that would leave a flag off it is refused as the on-the-fly
// Battlefield Size and Flag Position dialogs refuse it, the dialog left open
// (with no answer left it is cancelled) and nothing stored. The BLUE flag
// stands at (77, 77), the RED flag at (5, 6), on the 80-cell field. A length
// the user changed must reach the farthest flag coordinate: 77, or 90 for a
// BLUE flag y typed at 90. Under the length as opened, a flag x or y must lie
// in 1..80. A length of exactly 77 is taken.
TEST_F(CombatDialogs, CombatParametersRefuseAFieldThatLeavesAFlagOffIt)
{
    const int rb = C::SideId(Side::Red, 0), bb = C::SideId(Side::Blue, 0);
    const struct {
        Values Typed;
        const char* Message;
    } cases[] = {
        {{{C::IDC_LENGTH, "20"}}, "Please enter an integer between 77 and 150."},
        {{{C::IDC_LENGTH, "76"}, {C::IDC_WIDTH, "76"}}, "Please enter an integer between 77 and 150."},
        {{{rb + C::FLAG_X, "100"}}, "Please enter an integer between 1 and 80."},
        {{{bb + C::FLAG_Y, "81"}}, "Please enter an integer between 1 and 80."},
        {{{C::IDC_LENGTH, "85"}, {bb + C::FLAG_Y, "90"}}, "Please enter an integer between 90 and 150."},
    };
    CBrevimarDoc& doc = Doc();
    ASSERT_EQ(doc.Battlefield.BattleSize, 80);
    doc.RedForce.GoalFlagX = doc.RedForce.GoalFlagY = 77;  // the BLUE flag
    ASSERT_EQ(doc.BlueForce.GoalFlagX, 5);
    ASSERT_EQ(doc.BlueForce.GoalFlagY, 6);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        Hooks.Reset();
        doc.RunHeader.CurrentStep = 9;
        Hooks.AnswerDialog(IDOK, c.Typed);
        ASSERT_TRUE(Run(V::ID_EDIT_COMBAT_PARAMETERS));
        EXPECT_EQ(Messages(c.Message), 1);
        EXPECT_EQ(Hooks.Log().back().Result, IDCANCEL);
        EXPECT_EQ(doc.Battlefield.BattleSize, 80);
        EXPECT_EQ(doc.RedForce.GoalFlagY, 77);
        EXPECT_EQ(doc.BlueForce.GoalFlagX, 5);
        EXPECT_EQ(doc.RunHeader.CurrentStep, 9);  // no restart
    }
    Hooks.Reset();
    Hooks.AnswerDialog(IDOK, {{C::IDC_LENGTH, "77"}});
    ASSERT_TRUE(Run(V::ID_EDIT_COMBAT_PARAMETERS));
    EXPECT_EQ(Hooks.Log().back().Result, IDOK);
    EXPECT_EQ(doc.Battlefield.BattleSize, 77);
}

// A value the range check refuses never reaches a squad table, and a squad's
// own opened value stays acceptable though another squad's equal text was
// refused. Two RED squads with centres x 20 and c2 (0 is below the minimum
// of 1, as a file may hold); RED squad 1 takes the typed text and "SAVE
// Squad Data" (refused both times: 999 is above 150, 0 below 1), squad 2 is
// shown, OK: the document keeps both opened centres.
TEST_F(CombatDialogs, RefusedCentreReachesNoSquadAndOpenedCentreStaysAcceptable)
{
    const struct {
        const char* Typed;
        int Squad2Centre;
    } cases[] = {{"999", 30}, {"0", 0}};
    const int rb = C::SideId(Side::Red, 0);
    for (const auto& c : cases) {
        Doc().Battlefield.init_dist = 0;  // the boxes as given, not the corners
        Squads(Side::Red, {3, 3});
        CBattlefield& b = Doc().Battlefield;
        b.RED_cen_x[1] = 20;
        b.RED_cen_x[2] = c.Squad2Centre;
        Hooks.Reset();
        Hooks.StepDialog({{rb + C::CENTER_X, c.Typed}, {rb + C::SAVE_SQUAD, ""}});
        Hooks.StepDialog({{rb + C::SHOW_SQUAD, "2"}, {rb + C::DISPLAY_SQUAD, ""}});
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Run(V::ID_EDIT_COMBAT_PARAMETERS));
        EXPECT_EQ(Hooks.Log().back().Result, IDOK) << c.Typed;
        EXPECT_EQ(Messages("Please enter an integer between 1 and 150."), 2) << c.Typed;  // SAVE, then the switch
        EXPECT_EQ(b.RED_cen_x[1], 20) << c.Typed;
        EXPECT_EQ(b.RED_cen_x[2], c.Squad2Centre) << c.Typed;
    }
}

// A shown value is judged for the squad it is stored into. RED squad 1 has
// centre x 20, squad 2 centre x 0 (below the minimum of 1, as a file may
// hold); both squads' other values are alike and in range. Squad 2 is shown,
// then "1" goes into the squad number and "SAVE Squad Data" is pressed: the
// untouched 0 is squad 2's, not squad 1's, so it is refused ("between 1 and
// 150"), and so is OK while the number still says 1. The second case also
// types a length of 5, refused first ("between 10 and 150"); the button goes
// on with the values held, and the held 0 is refused for squad 1 all the
// same; its first OK stops at the length still shown. The last OK, with
// squad number 2 and the length as it was, closes the dialog and the
// document keeps both centres.
TEST_F(CombatDialogs, ShownValueIsCheckedForTheSquadItIsStoredInto)
{
    const int rb = C::SideId(Side::Red, 0);
    const struct {
        Values AtSave;
        int CentreRefusals, LengthRefusals;
    } cases[] = {
        {{{rb + C::SHOW_SQUAD, "1"}}, 2, 0},
        {{{rb + C::SHOW_SQUAD, "1"}, {C::IDC_LENGTH, "5"}}, 1, 2},
    };
    for (const auto& c : cases) {
        Squads(Side::Red, {3, 3});
        CBattlefield& b = Doc().Battlefield;
        b.init_dist = 0;  // the boxes as given, not the corners
        b.BattleSize = 80;
        for (int s = 1; s <= 2; ++s) {
            b.RED_cen_x[s] = s == 1 ? 20 : 0;
            b.RED_cen_y[s] = 20;
            b.R_box_l[s] = b.R_box_w[s] = 10;
        }
        Hooks.Reset();
        Hooks.StepDialog({{rb + C::SHOW_SQUAD, "2"}, {rb + C::DISPLAY_SQUAD, ""}});
        Values save = c.AtSave;
        save[rb + C::SAVE_SQUAD] = "";
        Hooks.StepDialog(save);
        Hooks.AnswerDialog(IDOK);
        Hooks.AnswerDialog(IDOK, {{rb + C::SHOW_SQUAD, "2"}, {C::IDC_LENGTH, "80"}});
        ASSERT_TRUE(Run(V::ID_EDIT_COMBAT_PARAMETERS));
        EXPECT_EQ(Hooks.Log().back().Result, IDOK);
        EXPECT_EQ(Messages("Please enter an integer between 1 and 150."), c.CentreRefusals);
        EXPECT_EQ(Messages("Please enter an integer between 10 and 150."), c.LengthRefusals);
        EXPECT_EQ(b.RED_cen_x[1], 20);
        EXPECT_EQ(b.RED_cen_x[2], 0);
    }
}

}  // namespace
}  // namespace brevimar::testing
