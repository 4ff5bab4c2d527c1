#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QScrollArea>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <vector>

#include "app/AppFixture.h"
#include "app/ResourceIds.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/BattlefieldDlgs.h"
#include "dialogs/CombatParamsDlg.h"
#include "dialogs/FlockAreaDlg.h"
#include "dialogs/HitProbDlg.h"
#include "dialogs/MatrixDlg.h"
#include "dialogs/PassableTerrainDlg.h"
#include "dialogs/PersonalityDlg.h"
#include "dialogs/RangeOptionDlgs.h"
#include "dialogs/TerrainParamsDlg.h"
#include "dialogs/WeaponDialogs.h"
#include "files/ScenarioFormat.h"
#include "files/WeaponFiles.h"
#include "run/ScenarioLoad.h"
#include "support/DocumentBytes.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using A = CAgentParamsDlg;
using Values = std::map<int, std::string>;

class ParameterDialogs : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
    }
    int Messages(const std::string& text) const
    {
        int count = 0;
        for (const ModalRecord& r : Hooks.Log())
            count += r.Kind == ModalKind::MessageBox && r.Text == text;
        return count;
    }
    // A side with the given squad sizes and in-range values everywhere:
    // squad s has sensor range 10 + s, and its rows 4..10 hold their own
    // recognisable values too.
    void Squads(Side side, std::vector<int> sizes)
    {
        CForce& f = Doc().Force(side);
        f.NumSquads = static_cast<int>(sizes.size());
        f.NumAgents = 0;
        for (int s = 1; s <= MaxSquads; ++s) {
            f.num_per_squad[s] = s <= f.NumSquads ? sizes[s - 1] : 0;
            f.NumAgents += f.num_per_squad[s];
            f.A_S_RANGE[s] = f.I_S_RANGE[s] = 10 + s;
            f.A_F_RANGE[s] = f.I_F_RANGE[s] = f.A_C_RANGE[s] = f.I_C_RANGE[s] = 3;
            f.A_M_RANGE[s] = f.I_M_RANGE[s] = 1;
            f.A_R_max_eng_num[s] = f.I_R_max_eng_num[s] = 2;
            f.alive_strength[s] = f.injured_strength[s] = 1;
            f.A_ADVANCE_num[s] = f.I_ADVANCE_num[s] = f.A_CLUSTER_num[s] = f.I_CLUSTER_num[s] = 0;
            f.A_COMBAT_num[s] = f.I_COMBAT_num[s] = 0;
            f.A_R_R_min_dist[s] = f.I_R_R_min_dist[s] = f.A_R_B_min_dist[s] = f.I_R_B_min_dist[s] = 1;
            f.A_R_R_goal_min[s] = f.I_R_R_goal_min[s] = 1;
        }
        Doc().Local(side).w7 = 0.5f;
        Doc().Local(side).w8 = 0.5f;
        f.COMM_range = 5;
        Doc().ResetTail();
    }
    bool Run(unsigned id) { return Frame().RunCommand(id); }
};

TEST_F(ParameterDialogs, RedAgentDialogScreenshotIsWrittenIntoTheBuildTree)
{
    CRedAgentParamsDlg dlg(Doc());
    dlg.OnInitDialog();
    // As on a large screen: the whole body in view.
    auto* scroll = dlg.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    dlg.show();
    const QSize body = scroll->widget()->sizeHint();
    dlg.resize(body + QSize(80, 120));
    QCoreApplication::processEvents();
    const QImage shot = dlg.grab().toImage();
    const std::string path = std::string(BREVIMAR_BINARY_DIR) + "/red_agent_params_dialog.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(path)));
    // Fits a 1920 x 1080 desktop without scrolling.
    EXPECT_LE(body.width(), 1900);
    EXPECT_LE(body.height(), 1000);
}

TEST_F(ParameterDialogs, MenuItemsOpenTheirDialogsAndGreyWhileABatchRuns)
{
    const std::pair<const char*, const char*> items[] = {
        {"&Edit/RED Data/RED Agents...", "Edit::RED Agent Parameters"},
        {"&Edit/BLUE Data/BLUE Agents...", "Edit::BLUE Agent Parameters"},
        {"&Edit/RED Data/   ....Communications Matrix", "Options::Red Communications Connectivity Matrix"},
        {"&Edit/BLUE Data/   ....Inter-Squad Connectivity Matrix",
         "Options::Blue Inter-Squad Weight Connectivity Matrix"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/Personality...", "Options::Red Personality"},
        {"&On-the-Fly Parameter Changes/BLUE Agent Parameters/Meta-Personality...", "Options::Blue Meta-Personality"},
        {"&On-the-Fly Parameter Changes/BLUE Agent Parameters/Communications Connectivity Matrix...",
         "Options::Blue Communications Connectivity Matrix"},
        {"&On-the-Fly Parameter Changes/BLUE Agent Parameters/   ...Area", "Edit::Blue Area (for Move Selection)"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/   ...Formation Ranges", "Edit::Red Flock Parameters"},
    };
    for (const auto& [path, caption] : items) {
        QAction* item = Frame().FindMenuItem(path);
        ASSERT_NE(item, nullptr) << path;
        item->trigger();
        ASSERT_FALSE(Hooks.Log().empty());
        EXPECT_EQ(Hooks.Log().back().Title, caption) << path;
    }
    // The highlight toggle has no dialog and leaves the run going.
    Doc().Resume();
    Doc().HighlightRedSquadOn = 2;
    ASSERT_TRUE(Run(V::ID_HIGHLIGHT_RED_TOGGLE));
    EXPECT_EQ(Doc().HighlightRedSquadOn, 0);
    ASSERT_TRUE(Run(V::ID_HIGHLIGHT_RED_TOGGLE));
    EXPECT_EQ(Doc().HighlightRedSquadOn, 1);
    EXPECT_EQ(Doc().Paused, 0);

    CCmdUI ui(V::ID_EDIT_RED_AGENTS);
    Doc().Experiment.GABusy = 1;
    View()->MessageMap().Update(ui);
    EXPECT_FALSE(ui.Enabled);
    Doc().Experiment.GABusy = 0;
}

TEST_F(ParameterDialogs, SubDialogsSeedFromTheAgentDialogAndHandBackOnOk)
{
    Squads(Side::Red, {2, 2});
    CBrevimarDoc& doc = Doc();
    doc.RedForce.CommMatrix[2][1] = 0;
    doc.RedForce.CommMatrix[3][1] = 0;
    using F = CFlockDlg;
    Hooks.StepDialog({{IDC_OPEN_FORMATION, ""}, {A::IDC_OPEN_COMM_MATRIX, ""}});
    Hooks.StepDialog({{F::IDC_INNER_ALIVE, "8"}, {F::IDC_OUTER_ALIVE, "5"}, {IDC_STORE_SQUAD, ""}});
    Hooks.AnswerDialog(IDOK);
    // Squad 3 is beyond the two squads: its box stays clear.
    Hooks.AnswerDialog(IDOK, {{CCommMatrixDlg::CellId(2, 1), "1"}, {CCommMatrixDlg::CellId(3, 1), "1"}});
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    EXPECT_EQ(doc.RedForce.A_R_flock_min[1], 5.0f);
    EXPECT_EQ(doc.RedForce.A_R_flock_max[1], 5.0f);
    EXPECT_EQ(doc.RedForce.CommMatrix[2][1], 1);
    EXPECT_EQ(doc.RedForce.CommMatrix[3][1], 0);

    // A sub-dialog's OK reaches nothing when the outer dialog is cancelled.
    Hooks.StepDialog({{A::IDC_OPEN_COMM_MATRIX, ""}});
    Hooks.AnswerDialog(IDOK, {{CCommMatrixDlg::CellId(2, 1), "0"}});
    Hooks.AnswerDialog(IDCANCEL);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    EXPECT_EQ(doc.RedForce.CommMatrix[2][1], 1);
}

TEST_F(ParameterDialogs, UseBoxesFollowTheShownSquad)
{
    Squads(Side::Red, {2, 2});
    Doc().RedForce.R_R_min_dist_flag_flag[2] = 1;  // "Min D/RED", the own-side row on RED
    CRedMetaPersonalityDlg dlg(Doc());
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.IsDlgButtonChecked(MetaUseId(10)), 0);
    dlg.SelectSquad(2);
    EXPECT_EQ(dlg.IsDlgButtonChecked(MetaUseId(10)), 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(MetaUseId(11)), 0);
    EXPECT_EQ(dlg.GetDlgItemText(MetaAliveId(10)), "1");
}

// Squad switching, storing and refusal, on the flock dialog of a side with
// three squads.
TEST_F(ParameterDialogs, SquadsSwitchKeepStoredValuesAndRefuseOutOfRange)
{
    using F = CFlockDlg;
    CRedFlockDlg dlg;
    SetModalHooks(dlg, &Hooks);
    dlg.SquadCount = 3;
    for (int s = 1; s <= 3; ++s)
        dlg.OuterAlive.Squad[s] = 10.0f * s;
    dlg.ShowFirstSquad();
    Hooks.StepDialog({{IDC_SQUAD_1 + 1, "1"}, {F::IDC_OUTER_ALIVE, "55"}});  // squad 2, typed, not stored
    Hooks.StepDialog({{IDC_SQUAD_1 + 2, "1"}});                            // squad 3
    Hooks.StepDialog({{IDC_SQUAD_1 + 1, "1"}});                            // back to 2: old value
    Hooks.StepDialog({{IDC_SQUAD_1 + 4, "1"}});                            // squad 5 > count: ignored
    Hooks.StepDialog({{F::IDC_OUTER_ALIVE, "999.5"}, {IDC_STORE_SQUAD, ""}});  // refused
    Hooks.StepDialog({{F::IDC_OUTER_ALIVE, "0"}, {IDC_STORE_SQUAD, ""}});      // 0 accepted
    Hooks.AnswerDialog(IDOK, {{F::IDC_OUTER_ALIVE, "77"}});                    // OK stores the squad on show
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.CurrentSquad, 2);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD_1 + 1), 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SQUAD_1 + 4), 0);
    EXPECT_TRUE(dlg.GetDlgItem(IDC_SQUAD_1 + 2)->isEnabled());
    EXPECT_FALSE(dlg.GetDlgItem(IDC_SQUAD_1 + 3)->isEnabled());  // squad 4 of 3
    EXPECT_EQ(dlg.OuterAlive.Squad[1], 10.0f);
    EXPECT_EQ(dlg.OuterAlive.Squad[2], 77.0f);
    EXPECT_EQ(dlg.OuterAlive.Squad[3], 30.0f);
    EXPECT_EQ(Messages("Please enter a number between 0 and 999."), 1);
}

// OK keeps what the user typed into the squad on show, without the store
// button, in every per-squad dialog; each value below is the one typed.
TEST_F(ParameterDialogs, OkKeepsTheShownSquadsEditsWithoutStore)
{
    CBrevimarDoc& doc = Doc();
    CForce& red = doc.RedForce;
    CForce& blue = doc.BlueForce;
    red.WeaponAssignType = 1;  // the engagement dialog needs squad weapons
    red.WeaponFunction.weapon_squad[1] = 1;
    using C = CCombatParamsDlg;
    struct Case {
        unsigned Command;
        int Control;
        const char* Typed;
        std::function<double()> Kept;
        double Expected;
    };
    const Case cases[] = {
        {V::ID_EDIT_RED_AGENTS, A::IDC_SENSOR_ALIVE, "7", [&] { return red.A_S_RANGE[1]; }, 7},
        {V::ID_EDIT_COMBAT_PARAMETERS, C::SideId(Side::Red, C::CENTER_X + 2), "9", [&] { return doc.Battlefield.R_box_l[1]; }, 9},
        {V::ID_FLY_BLUE_SENSOR, CSquadRangeDlg::IDC_ALIVE, "6", [&] { return blue.A_S_RANGE[1]; }, 6},
        {V::ID_FLY_RED_PK, CSquadRangeDlg::IDC_INJURED, "0.25", [&] { return red.shot_prob_injured[1]; }, 0.25},
        {V::ID_FLY_RED_MOVEMENT, CMovementRangeDlg::IDC_RANGE_ALIVE, "0", [&] { return red.A_M_RANGE[1]; }, 0},
        {V::ID_FLY_RED_ADJUDICATION, CCombatAdjudicationDlg::IDC_MAX_ALIVE, "4", [&] { return red.A_R_max_eng_num[1]; }, 4},
        {V::ID_FLY_BLUE_DISTRIBUTION, CInitialDistributionDlg::IDC_SIZE_X, "8", [&] { return doc.Battlefield.B_box_l[1]; }, 8},
        {V::ID_FLY_RED_PERSONALITY, WeightAliveId(W6), "-3", [&] { return red.w6_a[1]; }, -3},
        {V::ID_FLY_BLUE_META_PERSONALITY, MetaAliveId(1), "3", [&] { return blue.A_ADVANCE_num[1]; }, 3},
        {V::ID_EDIT_RED_PASSABLE_TERRAIN, CPassableTerrainDlg::VisibilityId(1), "0.5",
         [&] { return doc.TerrainModifiers.Red.TerrainVisibility[1][1]; }, 0.5},
        {V::ID_EDIT_RED_SQUAD_WEAPONS, CHitProbDlg::ParamId(3, 0), "0.75", [&] { return red.WeaponFunction.pmin[1][0]; }, 0.75},
    };
    for (const Case& c : cases) {
        Hooks.AnswerDialog(IDOK, {{c.Control, c.Typed}});
        ASSERT_TRUE(Run(c.Command));
        EXPECT_EQ(Hooks.Log().back().Result, IDOK) << c.Command;
        EXPECT_EQ(c.Kept(), c.Expected) << c.Command;
    }
}

// What the degradation dialogs store stays through every set-up of the
// forces, as a terrain-modified agent data file's values do: Combat
// Parameters' OK with nothing changed, a restart. Typed for squad 1, Type-I:
// visibility 0.3 and alive sensor-range delta 4, where the defaults are 0.9
// and 1 (the other side keeps those). A scenario read brings the defaults
// back, over a file's values too.
TEST_F(ParameterDialogs, DegradationValuesTypedStayUntilAScenarioIsRead)
{
    using P = CPassableTerrainDlg;
    struct Case {
        const char* What;
        Side Edited;
        unsigned Then;
    };
    const Case cases[] = {
        {"RED, then Combat Parameters", Side::Red, V::ID_EDIT_COMBAT_PARAMETERS},
        {"BLUE, then Combat Parameters", Side::Blue, V::ID_EDIT_COMBAT_PARAMETERS},
        {"RED, then Restart", Side::Red, V::ID_RESTART_GO},
        {"BLUE, then Restart", Side::Blue, V::ID_RESTART_GO},
    };
    CBrevimarDoc& doc = Doc();
    auto expectTables = [&doc](Side edited, double visibility, int sensor, const char* what) {
        for (Side side : {Side::Red, Side::Blue}) {
            const CTerrainModifierSet& m = doc.Modifiers(side);
            EXPECT_EQ(m.TerrainVisibility[1][1], side == edited ? visibility : 0.9) << what;
            EXPECT_EQ(m.A_sensor_range[1][1], side == edited ? sensor : 1) << what;
            EXPECT_EQ(m.TerrainVisibility[1][2], 0.75) << what;  // not typed
        }
    };
    for (const Case& c : cases) {
        Hooks.AnswerDialog(IDOK, {{P::VisibilityId(1), "0.3"}, {P::SlabId(12, 1), "4"}});
        ASSERT_TRUE(Run(c.Edited == Side::Red ? V::ID_EDIT_RED_PASSABLE_TERRAIN : V::ID_EDIT_BLUE_PASSABLE_TERRAIN));
        if (c.Then == V::ID_EDIT_COMBAT_PARAMETERS)
            Hooks.AnswerDialog(IDOK, {});
        ASSERT_TRUE(Run(c.Then)) << c.What;
        expectTables(c.Edited, 0.3, 4, c.What);

        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Run(ID_FILE_LOAD_INPUT_DATA)) << c.What;
        expectTables(c.Edited, 0.9, 1, c.What);
    }

    // The same values through a terrain-modified agent data file: saved,
    // gone with a scenario read, loaded back, kept by a restart, gone again.
    Hooks.AnswerDialog(IDOK, {{P::VisibilityId(1), "0.3"}, {P::SlabId(12, 1), "4"}});
    ASSERT_TRUE(Run(V::ID_EDIT_RED_PASSABLE_TERRAIN));
    const std::string tma = TempFolder() + "/typed.tma";
    Hooks.AnswerFile(tma);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_TERRAIN_MODIFIERS));
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Run(ID_FILE_LOAD_INPUT_DATA));
    expectTables(Side::Red, 0.9, 1, "read after the save");
    Hooks.AnswerFile(tma);
    ASSERT_TRUE(Run(V::ID_FILE_LOAD_TERRAIN_MODIFIERS));
    ASSERT_TRUE(Run(V::ID_RESTART_GO));
    expectTables(Side::Red, 0.3, 4, "file loaded, then Restart");
    Hooks.AnswerFile(Fixture("scenario_v1.dat"));
    ASSERT_TRUE(Run(ID_FILE_LOAD_INPUT_DATA));
    expectTables(Side::Red, 0.9, 1, "read after the file");
}

// The document's bytes with its run state blanked: what a dialog confirmed
// untouched must leave exactly as it found, the forces, the battlefield and
// every parameter. Run state is what a step moves on or a restart draws
// afresh from the scenario seed, so a restart with unchanged parameters may
// change it; strings and path fields own heap memory and are compared by
// value instead.
std::vector<unsigned char> ScenarioBytes(const CBrevimarDoc& doc)
{
    std::vector<unsigned char> bytes = DocumentBytes(doc);
    const auto* base = reinterpret_cast<const unsigned char*>(static_cast<const CDocumentState*>(&doc));
    auto blank = [&](const auto& member) {
        const auto at = reinterpret_cast<const unsigned char*>(&member) - base;
        std::fill_n(bytes.begin() + at, sizeof member, 0);
    };
    // The capture of the run and where it ended.
    blank(doc.CapturedStep), blank(doc.CaptureEndStep), blank(doc.RunEndStep);
    // Deployment: where each agent stands and in what state, the grids that
    // follow the agents, the commanders appointed among them and what the
    // last step left in each agent (current ranges by state, weights and
    // values in force, counts, scans).
    blank(doc.Battlefield.OccupancyGrid), blank(doc.Battlefield.AgentGrid);
    for (const CGlobalCommander* g : {&doc.RedGlobal, &doc.BlueGlobal}) {
        blank(g->SectorWeight), blank(g->SectorAliveTally), blank(g->SectorInjuredTally);
        blank(g->GcTargetX), blank(g->GcTargetY), blank(g->GcHelpX), blank(g->GcHelpY);
    }
    for (const CLocalCommand* l : {&doc.RedLocal, &doc.BlueLocal}) {
        blank(l->CommanderAgent), blank(l->SubordinateCount), blank(l->Subordinates);
        blank(l->CommanderGoalX), blank(l->CommanderGoalY), blank(l->CommanderPrevGoalX);
        blank(l->CommanderPrevGoalY), blank(l->CommanderHealth), blank(l->ObeyGlobalWeight);
        blank(l->HelpLocalWeight), blank(l->CommandRole), blank(l->CommanderOf), blank(l->CommanderNumberOf);
        blank(l->AgentGoalX), blank(l->AgentGoalY), blank(l->LocalCommanderWeight), blank(l->LocalGoalWeight);
    }
    for (const CForce* f : {static_cast<const CForce*>(&doc.RedForce), static_cast<const CForce*>(&doc.BlueForce)}) {
        blank(f->HandRemoved), blank(f->AgentX), blank(f->AgentY), blank(f->AgentState), blank(f->Grid);
        blank(f->SensorRange), blank(f->FireRange), blank(f->ConstraintRange), blank(f->DistanceNormaliser);
        blank(f->CommRange), blank(f->CommWeightAlive), blank(f->CommWeightInjured);
        blank(f->EffW1), blank(f->EffW2), blank(f->EffW3), blank(f->EffW4), blank(f->EffW5), blank(f->EffW6);
        blank(f->EffWTerrain), blank(f->EffWArea), blank(f->FlockWeight);
        blank(f->EnemyCount), blank(f->EngagedTargets), blank(f->HitCount), blank(f->ReconstitutionTimer);
        blank(f->Scan), blank(f->FriendSensed), blank(f->EnemySensed), blank(f->FriendViaComm);
        blank(f->EnemyViaComm), blank(f->LocalCenterX), blank(f->LocalCenterY);
    }
    blank(doc.TerrainModifiers.RedTerrainModified), blank(doc.TerrainModifiers.BlueTerrainModified);
    // Fratricide, shots and hits counted in this run, and how it ended.
    blank(doc.Battlefield.RedFratricideCount), blank(doc.Battlefield.BlueFratricideCount);
    blank(doc.RedTallies), blank(doc.BlueTallies), blank(doc.RedHitTally), blank(doc.BlueHitTally);
    blank(doc.WinningSide), blank(doc.GoalInReach), blank(doc.RunTerminated);
    // The generator's state.
    blank(doc.RandomState), blank(doc.Generator);
    // Statistics of the run and of batches, and how far a batch has come.
    blank(doc.Collected), blank(doc.MultiRunCharts), blank(doc.Series.RedAliveSeries);
    blank(doc.Series.RedInjuredSeries), blank(doc.Series.BlueAliveSeries), blank(doc.Series.BlueInjuredSeries);
    blank(doc.Series.RedCombatEntropy), blank(doc.Series.BlueCombatEntropy), blank(doc.Series.MultiRunBusy);
    blank(doc.Series.MultiRunSample), blank(doc.Series.MultiRunStep);
    // The time step, its direction and live counts, the header of a stored
    // run and the move-order menu marks that follow MoveOrder.
    blank(doc.RunHeader), blank(doc.StepsSincePause);
    // The picture: pause, zoom (every restart returns it to 100%), frames,
    // maps and the status line.
    blank(doc.Paused), blank(doc.ZoomFactor), blank(doc.ZoomAreaCleared), blank(doc.DisplayFrame);
    blank(doc.ActivityGrids), blank(doc.TerritoryOwner), blank(doc.BattleFrontGrid);
    blank(doc.StatusText), blank(doc.SetupProblemsSaid);
    blank(doc.InputFileName), blank(doc.MultiRunGraphLabels), blank(doc.RedWaypointField), blank(doc.BlueWaypointField);
    return bytes;
}

// The built-in document (start-up chooser cancelled) and every scenario of
// the test data, each answered with OK untouched in every parameter dialog
// of the menus: no value is refused, and the scenario stays as it was to the
// byte. The built-in document and the files hold values the dialogs would
// refuse if typed (zero ranges, areas and flags): a dialog accepts what it
// was opened with.
TEST(UntouchedOk, EveryParameterDialogKeepsTheScenario)
{
    const char* scenarios[] = {nullptr,           "scenario_v1.dat", "scenario_v2.dat", "scenario_v3.dat",
                               "scenario_v4.dat", "menu_v1.dat",     "menu_v2.dat",     "menu_v3.dat",
                               "golden_default.dat", "golden_rich.run", "stored_v4.run", "stored_empty.run",
                               "stored_400.run"};
    // Left out: the genetic-algorithm and landscape commands, greyed outside
    // their run modes, which set the forces up for the search; "Step-Execute
    // for T steps...", a run control; the charts and data windows, which
    // write nothing back.
    const unsigned commands[] = {
        // Edit
        V::ID_EDIT_COMBAT_PARAMETERS, V::ID_EDIT_TERRAIN_BLOCKS, V::ID_EDIT_RED_PASSABLE_TERRAIN,
        V::ID_EDIT_BLUE_PASSABLE_TERRAIN, V::ID_EDIT_RED_AGENTS, V::ID_EDIT_BLUE_AGENTS, V::ID_EDIT_RED_COMM_MATRIX,
        V::ID_EDIT_BLUE_COMM_MATRIX, V::ID_EDIT_RED_SQUAD_WEIGHTS, V::ID_EDIT_BLUE_SQUAD_WEIGHTS,
        V::ID_EDIT_RED_SQUAD_WEAPONS, V::ID_EDIT_BLUE_SQUAD_WEAPONS, V::ID_EDIT_RED_GRENADE, V::ID_EDIT_BLUE_GRENADE,
        V::ID_EDIT_RED_AGENT_WEAPONS, V::ID_EDIT_BLUE_AGENT_WEAPONS, V::ID_EDIT_TERRITORIAL_POSSESSION,
        V::ID_EDIT_MULTI_RUN_PARAMETERS,
        // Simulation, Display
        V::ID_RESEED_RANDOM, V::ID_EDIT_HIGHLIGHT_SQUADS,
        // On-the-Fly Parameter Changes
        V::ID_FLY_BATTLEFIELD_SIZE, V::ID_FLY_RED_DISTRIBUTION, V::ID_FLY_BLUE_DISTRIBUTION, V::ID_FLY_RED_FLAG,
        V::ID_FLY_BLUE_FLAG, V::ID_FLY_RED_ADJUDICATION, V::ID_FLY_BLUE_ADJUDICATION, V::ID_FLY_RED_WEAPON_SELECTION,
        V::ID_FLY_BLUE_WEAPON_SELECTION, V::ID_FLY_RED_PERSONALITY, V::ID_FLY_BLUE_PERSONALITY,
        V::ID_FLY_RED_META_PERSONALITY, V::ID_FLY_BLUE_META_PERSONALITY, V::ID_FLY_RED_MOVEMENT,
        V::ID_FLY_BLUE_MOVEMENT, V::ID_FLY_RED_SENSOR, V::ID_FLY_BLUE_SENSOR, V::ID_FLY_RED_FIRE, V::ID_FLY_BLUE_FIRE,
        V::ID_FLY_RED_THRESHOLD, V::ID_FLY_BLUE_THRESHOLD, V::ID_FLY_RED_PK, V::ID_FLY_BLUE_PK,
        V::ID_FLY_RED_MAX_TARGETS, V::ID_FLY_BLUE_MAX_TARGETS, V::ID_FLY_RED_DEFENSE, V::ID_FLY_BLUE_DEFENSE,
        V::ID_FLY_RED_COMMUNICATIONS, V::ID_FLY_BLUE_COMMUNICATIONS, V::ID_FLY_RED_COMM_MATRIX,
        V::ID_FLY_BLUE_COMM_MATRIX, V::ID_FLY_RED_SQUAD_WEIGHTS, V::ID_FLY_BLUE_SQUAD_WEIGHTS, V::ID_FLY_RED_AREA,
        V::ID_FLY_BLUE_AREA, V::ID_FLY_RED_FORMATION, V::ID_FLY_BLUE_FORMATION};
    for (const char* scenario : scenarios) {
        const std::string name = scenario ? scenario : "built-in";
        QSettings(CRecentFileList::ProfileName, CRecentFileList::ApplicationName).clear();
        CModalHooks hooks;
        auto app = std::make_unique<CBrevimarApp>(&hooks);
        // A .dat file as the start-up chooser reads it; the scenario part of
        // a .run file as File > "Load Brevimar Input Data File..." does.
        const bool storedRun = scenario && name.ends_with(".run");
        if (scenario && !storedRun)
            hooks.AnswerFile(Fixture(name));
        else
            hooks.CancelFile();
        ASSERT_TRUE(app->InitInstance({"brevimar"})) << name;
        CMainFrame& frame = *app->MainFrame();
        CBrevimarDoc& doc = *frame.ActiveView()->GetDocument();
        if (storedRun) {
            ASSERT_TRUE(LoadScenario(doc, Fixture(name)).Read) << name;
        }
        // A consistent scenario: the squad sizes add up to the agent count.
        for (const CForce* f : {static_cast<const CForce*>(&doc.RedForce), static_cast<const CForce*>(&doc.BlueForce)})
            EXPECT_EQ(std::accumulate(f->num_per_squad + 1, f->num_per_squad + 1 + f->NumSquads, 0), f->NumAgents)
                << name;
        hooks.Reset();
        std::vector<unsigned char> before = ScenarioBytes(doc);
        const std::string file = doc.InputFileName;
        const CPathField redPaths = doc.RedWaypointField, bluePaths = doc.BlueWaypointField;
        for (const unsigned id : commands) {
            for (int k = 0; k < 3; ++k)  // a dialog and the sub-dialogs it may open
                hooks.AnswerDialog(IDOK);
            ASSERT_TRUE(frame.RunCommand(id)) << name << " " << id;
            int refusals = 0, accepted = 0;
            for (const ModalRecord& r : hooks.Log()) {
                refusals += r.Kind == ModalKind::MessageBox && r.Text.rfind("Please enter", 0) == 0;
                accepted += r.Kind == ModalKind::Dialog && r.Result == IDOK;
            }
            EXPECT_EQ(refusals, 0) << name << " " << id;
            EXPECT_GE(accepted, 1) << name << " " << id;
            const std::vector<unsigned char> after = ScenarioBytes(doc);
            const auto changed = std::mismatch(before.begin(), before.end(), after.begin()).first - before.begin();
            EXPECT_EQ(changed, std::ssize(before)) << name << " " << id << ": changed from byte " << changed;
            before = after;  // each command answers for its own change
            EXPECT_EQ(doc.InputFileName, file) << name << " " << id;
            EXPECT_TRUE(doc.RedWaypointField == redPaths && doc.BlueWaypointField == bluePaths) << name << " " << id;
            hooks.Reset();
        }
        app.reset();
        QCoreApplication::processEvents();
    }
}

TEST_F(ParameterDialogs, SharedHandlersToggleSetAndChoose)
{
    Squads(Side::Red, {3});
    CForce& f = Doc().RedForce;
    f.ADVANCE_flag[1] = 5;  // not 1: the first toggle makes it 1
    f.WeaponFunction.function_type = 1;
    CRedAgentParamsDlg dlg(Doc());
    dlg.OnInitDialog();
    auto click = [&](int id) { qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id))->click(); };
    click(MetaUseId(1));
    EXPECT_EQ(dlg.Meta.RuleOn[1].Edit, 1);
    click(A::IDC_USER_DEFINED);  // ticking the mode it already is: "Fixed"
    EXPECT_EQ(dlg.LethalityContourMode, 0);
    EXPECT_EQ(dlg.IsDlgButtonChecked(A::IDC_FIXED), 1);
    EXPECT_EQ(dlg.IsDlgButtonChecked(A::IDC_USER_DEFINED), 0);
    click(A::IDC_NORMALIZED);
    EXPECT_EQ(dlg.LethalityContourMode, 2);
    click(IDC_META_OFF);
    EXPECT_EQ(dlg.Meta.On.Edit, 0);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_META_OFF), 1);
}

TEST_F(ParameterDialogs, RedAgentsOkWritesStoredSquadsAndRestartsTheBattle)
{
    Squads(Side::Red, {5, 7, 3, 4, 6});
    CBrevimarDoc& doc = Doc();
    doc.RedForce.A_S_RANGE[2] = 20;
    // Squad 2: sensor range and the RED flag weight stored; fewer squads.
    Hooks.StepDialog({{A::IDC_SHOW_SQUAD, "2"}, {A::IDC_DISPLAY_SQUAD, ""}});
    Hooks.StepDialog({{A::IDC_SENSOR_ALIVE, "42"}, {WeightAliveId(W5), "-7.5"}, {A::IDC_SAVE_SQUAD, ""}});
    Hooks.StepDialog({{A::IDC_SHOW_SQUAD, "9"}, {A::IDC_DISPLAY_SQUAD, ""}});  // shows squad 5
    Hooks.StepDialog({{A::IDC_SENSOR_ALIVE, "0"}, {A::IDC_SAVE_SQUAD, ""}});   // refused
    Hooks.AnswerDialog(IDOK, {{A::IDC_NUM_SQUADS, "3"}, {A::IDC_SENSOR_ALIVE, "15"}});
    doc.RunHeader.CurrentStep = 17;
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    const CForce& f = doc.RedForce;
    EXPECT_EQ(Messages("Please enter an integer between 1 and 99."), 1);
    EXPECT_EQ(f.NumSquads, 3);
    EXPECT_EQ(f.A_S_RANGE[2], 42);
    EXPECT_EQ(f.w5_a[2], -7.5f);
    EXPECT_EQ(f.A_S_RANGE[4], 14);  // squads above the new count keep theirs
    EXPECT_EQ(f.A_S_RANGE[5], 15);
    EXPECT_EQ(f.num_per_squad[4], 4);
    EXPECT_EQ(doc.NumRed(), 15);  // 5 + 7 + 3
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);
    EXPECT_EQ(doc.Paused, 1);
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(f.SensorRangeAlive[i], f.AgentSquad[i] == 2 ? 42 : 10 + f.AgentSquad[i]) << i;

    // OK again without changes: the same seed gives the same deployment.
    std::array<int, 16> x{}, y{};
    for (int i = 1; i <= 15; ++i)
        x[i] = f.AgentX[i], y[i] = f.AgentY[i];
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    for (int i = 1; i <= 15; ++i)
        EXPECT_TRUE(f.AgentX[i] == x[i] && f.AgentY[i] == y[i]) << i;
}

// A raised number of squads adds squads that start as copies of the last
// one, size included, each value as the last one holds it, outside the
// dialog's range too: shown, it is kept as the last squad's is. The battle
// and the save keep them.
TEST_F(ParameterDialogs, AddedSquadStartsAsACopyOfTheLastAndStays)
{
    Squads(Side::Blue, {2, 2, 2});
    CBrevimarDoc& doc = Doc();
    CForce& f = doc.BlueForce;
    f.A_S_RANGE[4] = 33;  // a row above the count is not the new squad's
    f.SquadWeightMatrix[4][1] = 0.5;
    f.SquadWeightMatrix[3][1] = 0.25;
    f.A_CLUSTER_num[3] = 500;  // the meta dialog's range; BLUE's dialog here takes 0..99
    f.AreaCenterX[3] = 17;
    // Squad 4 shown once the count is raised, given a size of 5.
    Hooks.StepDialog({{A::IDC_NUM_SQUADS, "4"}, {A::IDC_SHOW_SQUAD, "4"}, {A::IDC_DISPLAY_SQUAD, ""}});
    Hooks.AnswerDialog(IDOK, {{A::IDC_SQUAD_SIZE, "5"}});
    ASSERT_TRUE(Run(V::ID_EDIT_BLUE_AGENTS));
    EXPECT_EQ(f.NumSquads, 4);
    EXPECT_EQ(doc.NumBlue(), 11);  // 2 + 2 + 2 + 5
    EXPECT_EQ(f.A_S_RANGE[4], 13);  // squad 3's 10 + 3
    EXPECT_EQ(f.A_CLUSTER_num[4], 500);  // squad 3's, shown and stored at OK
    EXPECT_EQ(f.A_CLUSTER_num[3], 500);  // as opened
    EXPECT_EQ(f.AreaCenterX[4], 17);
    EXPECT_EQ(f.SquadWeightMatrix[4][1], 0.25);  // squad 3's row
    EXPECT_EQ(f.AgentSquad[11], 4);

    const std::string path = TempFolder() + "/added_squad.dat";
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
    f.NumSquads = 1;
    ASSERT_TRUE(LoadScenario(doc, path).Read);
    EXPECT_EQ(f.NumSquads, 4);
    EXPECT_EQ(f.num_per_squad[4], 5);
    EXPECT_EQ(f.A_S_RANGE[4], 13);

    // Lowered to 1 at one opening, raised to 3 at the next: squads 2 and 3
    // are squad 1 again (sizes 2: 6 agents), not the rows left above the count.
    Hooks.AnswerDialog(IDOK, {{A::IDC_NUM_SQUADS, "1"}});
    ASSERT_TRUE(Run(V::ID_EDIT_BLUE_AGENTS));
    ASSERT_EQ(f.NumSquads, 1);
    Hooks.AnswerDialog(IDOK, {{A::IDC_NUM_SQUADS, "3"}});
    ASSERT_TRUE(Run(V::ID_EDIT_BLUE_AGENTS));
    EXPECT_EQ(f.NumSquads, 3);
    EXPECT_EQ(doc.NumBlue(), 6);
    for (int s : {2, 3}) {
        EXPECT_EQ(f.A_S_RANGE[s], 11) << s;
        EXPECT_EQ(f.alive_strength[s], 1) << s;
        EXPECT_EQ(f.A_R_max_eng_num[s], 2) << s;
    }
}

// bench/data/small.dat: each side 2 squads of 25, boxes of 8 x 8 cells
// centred at RED (6, 6), (16, 6) and BLUE (74, 74), (64, 74), targets 3 / 2,
// weapon #1 carried by all 25. Set here: no limit on targets, squad 2 made
// recognisable in both matrices, its carriers (5 grenades, 20 of weapon #1)
// and its hit-probability function (4), and row 3 of the weight matrix
// holding old values. Raised to 3 squads, squad 3 is squad 2 again: the
// 50 agents of the two share one box of 64 cells, so all 75 deploy, and so
// does the read of the save. Raised to 10, squads 2..10 share that box:
// 25 + 64 of 250 agents deploy, and the existing message says why.
TEST_F(ParameterDialogs, AddedSquadIsACopyOfTheLastInEveryTableAndDeploysAsItDoes)
{
    const std::string small = std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat";
    const struct {
        Side Of;
        int Count, Total, Deployed;
        int CentreX, CentreY;  // squad 2's
    } cases[] = {
        {Side::Red, 3, 75, 75, 16, 6},
        {Side::Blue, 3, 75, 75, 64, 74},
        {Side::Red, 10, 250, 89, 16, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(SideCode(c.Of)) + " " + std::to_string(c.Count));
        CBrevimarDoc& doc = Doc();
        ASSERT_TRUE(LoadScenario(doc, small).Read);
        const bool red = c.Of == Side::Red;
        CForce& f = doc.Force(c.Of);
        CBattlefield& b = doc.Battlefield;
        (red ? b.RedCombatUnlimited : b.BlueCombatUnlimited) = 1;
        ASSERT_EQ(f.point_to_point_1[2], 25);
        f.CommMatrix[2][1] = f.CommMatrix[1][2] = 0;
        f.SquadWeightMatrix[2][1] = 0.25;
        f.SquadWeightMatrix[1][2] = 0.75;
        f.SquadWeightMatrix[2][2] = 0.5;
        f.SquadWeightMatrix[3][1] = f.SquadWeightMatrix[3][3] = 0.125;
        f.grenades[2] = 5;
        f.point_to_point_1[2] = 20;
        HandOutWeapons(f);  // squad 2: weapon 1 to its first 20 agents, grenades to its last 5
        f.WeaponFunction.weapon_squad[2] = 4;
        Hooks.Reset();
        Hooks.AnswerDialog(IDOK, {{A::IDC_NUM_SQUADS, std::to_string(c.Count)}});
        ASSERT_TRUE(Run(red ? V::ID_EDIT_RED_AGENTS : V::ID_EDIT_BLUE_AGENTS));
        int messages = 0;
        for (const ModalRecord& r : Hooks.Log())
            messages += r.Kind == ModalKind::MessageBox;
        EXPECT_EQ(messages, c.Deployed < c.Total ? 1 : 0);

        const int s = c.Count;
        EXPECT_EQ(f.NumSquads, c.Count);
        EXPECT_EQ(f.NumAgents, c.Total);
        EXPECT_EQ((red ? b.R_box_l : b.B_box_l)[s], 8);
        EXPECT_EQ((red ? b.R_box_w : b.B_box_w)[s], 8);
        EXPECT_EQ((red ? b.RED_cen_x : b.BLUE_cen_x)[s], c.CentreX);
        EXPECT_EQ((red ? b.RED_cen_y : b.BLUE_cen_y)[s], c.CentreY);
        EXPECT_EQ(f.A_R_max_eng_num[s], 3);  // stored as its source's, not the 999 shown
        EXPECT_EQ(f.I_R_max_eng_num[s], 2);
        EXPECT_EQ(f.grenades[s], 5);
        EXPECT_EQ(f.point_to_point_1[s], 20);
        EXPECT_EQ(f.WeaponFunction.weapon_squad[s], 4);
        for (int i = 1, k = 0; i <= f.NumAgents; ++i)
            if (f.AgentSquad[i] == s) {
                ++k;
                EXPECT_EQ(f.AgentWeapon[i], k <= 20 ? 1 : Grenade) << "squad " << s << "'s agent " << k;
            }
        // Row and column of squad 2; squads 2 and s link as 2 with itself.
        EXPECT_EQ(f.CommMatrix[s][1], 0);
        EXPECT_EQ(f.CommMatrix[1][s], 0);
        EXPECT_EQ(f.CommMatrix[s][2], 1);
        EXPECT_EQ(f.SquadWeightMatrix[s][1], 0.25);
        EXPECT_EQ(f.SquadWeightMatrix[1][s], 0.75);
        EXPECT_EQ(f.SquadWeightMatrix[s][2], 0.5);
        EXPECT_EQ(f.SquadWeightMatrix[2][s], 0.5);
        EXPECT_EQ(f.SquadWeightMatrix[s][s], 0.5);

        auto deployed = [](const CForce& force) {
            int alive = 0;
            for (int i = 1; i <= force.NumAgents; ++i)
                alive += force.AgentState[i] == Alive;
            return alive;
        };
        EXPECT_EQ(deployed(f), c.Deployed);
        const std::string path = TempFolder() + "/added_squads.dat";
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
        ASSERT_TRUE(LoadScenario(doc, path).Read);
        EXPECT_EQ(f.NumSquads, c.Count);
        EXPECT_EQ(f.num_per_squad[s], 25);
        EXPECT_EQ((red ? b.RED_cen_x : b.BLUE_cen_x)[s], c.CentreX);
        EXPECT_EQ(f.A_R_max_eng_num[s], 3);
        EXPECT_EQ(f.I_R_max_eng_num[s], 2);
        EXPECT_EQ(deployed(f), c.Deployed);
    }
}

// A count raised by the store (or the OK) that also stores the last squad's
// edits adds a copy of that squad as the store leaves it: squad 2's sensor
// range 12 (10 + 2) typed as 20 and its own-side Min D 1 as 5 give the
// added squad 3 both 20 and 5.
TEST_F(ParameterDialogs, ASquadAddedByTheStoreOfItsSourceCopiesTheStoredValues)
{
    for (const int button : {static_cast<int>(A::IDC_SAVE_SQUAD), static_cast<int>(IDOK)}) {
        Squads(Side::Red, {2, 2});
        CForce& f = Doc().RedForce;
        Hooks.StepDialog({{A::IDC_SHOW_SQUAD, "2"}, {A::IDC_DISPLAY_SQUAD, ""}});
        Values typed = {{A::IDC_SENSOR_ALIVE, "20"}, {MetaAliveId(10), "5"}, {A::IDC_NUM_SQUADS, "3"}};
        if (button == IDOK) {
            Hooks.AnswerDialog(IDOK, typed);
        } else {
            typed[button] = "";
            Hooks.StepDialog(typed);
            Hooks.AnswerDialog(IDOK);
        }
        ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
        ASSERT_EQ(f.NumSquads, 3);
        for (int s : {2, 3}) {
            EXPECT_EQ(f.A_S_RANGE[s], 20) << button << " squad " << s;
            EXPECT_EQ(f.A_R_R_min_dist[s], 5.0f) << button << " squad " << s;
        }
    }
}

// Every per-squad row of a side that a save writes, from the writer's own
// table, as doubles (each int and float is held exactly): the side's
// deployment rows of the general section, whose labels start with the
// side's initial, and every row of its agent section.
using SquadRows = std::vector<std::pair<std::string, std::array<double, MaxSquads>>>;
SquadRows SavedSquadRows(CBrevimarDoc& doc, Side side)
{
    ScenarioBlocks blocks = BlocksOf(doc);
    SquadRows rows;
    for (ScenarioSection section : {ScenarioSection::General, ScenarioSection::Agents})
        for (const ScenarioLine& line : SectionLines(section)) {
            const std::string label = LabelWord(line.Text(side), 0);
            if (section == ScenarioSection::General && label[0] != (side == Side::Red ? 'R' : 'B'))
                continue;
            for (int v = 0; v < 2; ++v) {
                const ScenarioField& field = line.Values[v];
                if (!field.Used() || field.Count != MaxSquads)
                    continue;
                const auto at = [&](int k) -> double {
                    switch (field.Type) {
                    case ScenarioValueType::Int: return *ScenarioValue<int>(blocks, field, side, 0, k);
                    case ScenarioValueType::Float: return *ScenarioValue<float>(blocks, field, side, 0, k);
                    default: return *ScenarioValue<double>(blocks, field, side, 0, k);
                    }
                };
                std::array<double, MaxSquads> values{};
                for (int k = 0; k < MaxSquads; ++k)
                    values[k] = at(k);
                rows.emplace_back(label + (v == 1 ? " second" : ""), values);
            }
        }
    return rows;
}

// scenario_v4.dat holds squad values that no field of the agent dialog
// takes: RED squad 3 has injured threshold range 103 (the field takes
// 1..99), ADVANCE 113 (0..25), CLUSTER 123 (0..100), COMBAT 133 (-100..100)
// and minimum distances with fractions (own side alive 2.25); BLUE squad 2
// has its threshold and meta values in the thousands. The on-the-fly
// meta-personality dialog stores RED squad 3's CLUSTER 999 (it takes
// 0..999), COMBAT -999 / 999 and Min D/RED 99 (0..99), and the on-the-fly
// combat adjudication its target limit 0 (0..999); the agent dialog takes
// 0..100, -100..100, 0..10 and 1..999 there. A squad added is its source
// as stored: after the save and its read, every per-squad row holds the
// source's value in the added squad's place and every other value as it
// was; opened again, the dialog shows the added squad as it shows the
// source.
TEST_F(ParameterDialogs, AnAddedSquadKeepsItsSourcesValuesOutsideTheDialogsFields)
{
    using Adj = CCombatAdjudicationDlg;
    const struct {
        Side Of;
        bool OnTheFly;
        std::vector<std::pair<std::string, double>> Added;  // values of the added squad, from the fixture's rows
    } cases[] = {
        {Side::Red, false,
         {{"I:C_RANGE", 103}, {"I:ADVANCE_num", 113}, {"I:CLUSTER_num", 123}, {"I:COMBAT_num", 133},
          {"A:R_R_min_dist", 2.25}, {"I:R_area_min", 6.875}, {"A:R_max_eng_num", 4}}},
        {Side::Blue, false,
         {{"A:C_RANGE", 1002}, {"I:COMBAT_num", 1132}, {"I:SUPPORT2_num", 1182}, {"I:B_B_min_dist", 2.75}}},
        {Side::Red, true,
         {{"A:CLUSTER_num", 999}, {"A:COMBAT_num", -999}, {"I:COMBAT_num", 999}, {"A:R_R_min_dist", 99},
          {"A:R_max_eng_num", 0}, {"I:CLUSTER_num", 123}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(SideCode(c.Of)) + (c.OnTheFly ? " on the fly" : ""));
        CBrevimarDoc& doc = Doc();
        ASSERT_TRUE(LoadScenario(doc, Fixture("scenario_v4.dat")).Read);
        const bool red = c.Of == Side::Red;
        CForce& f = doc.Force(c.Of);
        const int source = f.NumSquads, added = source + 1;
        ASSERT_EQ(source, red ? 3 : 2);
        Hooks.Reset();
        if (c.OnTheFly) {
            Hooks.AnswerDialog(IDOK, {{IDC_SQUAD_1 + 2, "1"},
                                      {MetaAliveId(2), "999"},
                                      {MetaAliveId(3), "-999"},
                                      {MetaInjuredId(3), "999"},
                                      {MetaAliveId(10), "99"}});
            ASSERT_TRUE(Run(V::ID_FLY_RED_META_PERSONALITY));
            f.WeaponAssignType = 1;  // the adjudication needs squad weapons
            Hooks.AnswerDialog(IDOK, {{IDC_SQUAD_1 + 2, "1"}, {Adj::IDC_CLAMP, "1"}, {Adj::IDC_MAX_ALIVE, "0"}});
            ASSERT_TRUE(Run(V::ID_FLY_RED_ADJUDICATION));
            ASSERT_EQ(f.A_CLUSTER_num[3], 999);
            ASSERT_EQ(f.A_R_max_eng_num[3], 0);
        }
        const SquadRows before = SavedSquadRows(doc, c.Of);
        EXPECT_EQ(before.size(), 2u * 2 + 80);  // two pair rows of boxes, the agent section's 80

        Hooks.AnswerDialog(IDOK, {{A::IDC_NUM_SQUADS, std::to_string(added)}});
        ASSERT_TRUE(Run(red ? V::ID_EDIT_RED_AGENTS : V::ID_EDIT_BLUE_AGENTS));
        const std::string path = TempFolder() + "/added_exact.dat";
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
        ASSERT_TRUE(LoadScenario(doc, path).Read);
        ASSERT_EQ(f.NumSquads, added);
        const SquadRows after = SavedSquadRows(doc, c.Of);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t r = 0; r < after.size(); ++r)
            for (int k = 0; k < MaxSquads; ++k)
                EXPECT_EQ(after[r].second[k], before[r].second[k == added - 1 ? source - 1 : k])
                    << after[r].first << " squad " << k + 1;
        for (const auto& [label, value] : c.Added) {
            const auto row = std::find_if(after.begin(), after.end(), [&](const auto& r) { return r.first == label; });
            ASSERT_NE(row, after.end()) << label;
            EXPECT_EQ(row->second[added - 1], value) << label;
        }

        // Opened again: every field, tick and mark of the added squad as of its source.
        int inspected = 0;
        Hooks.InspectDialogs([&](QDialog& d) {
            auto* dlg = dynamic_cast<CAgentParamsDlg*>(&d);
            if (!dlg)
                return;
            auto shown = [&](int squad) {
                dlg->SetDlgItemText(A::IDC_SHOW_SQUAD, std::to_string(squad));
                dlg->OnDisplaySquad();
                EXPECT_EQ(dlg->CurrentSquad, squad);
                std::vector<std::string> texts;
                for (QLineEdit* edit : dlg->findChildren<QLineEdit*>())
                    if (edit != dlg->GetDlgItem(A::IDC_SHOW_SQUAD))
                        texts.push_back(edit->text().toStdString());
                for (QAbstractButton* button : dlg->findChildren<QAbstractButton*>())
                    texts.push_back(button->isChecked() ? "ticked" : "clear");
                return texts;
            };
            EXPECT_EQ(shown(added), shown(source));
            ++inspected;
        });
        Hooks.AnswerDialog(IDCANCEL);
        ASSERT_TRUE(Run(red ? V::ID_EDIT_RED_AGENTS : V::ID_EDIT_BLUE_AGENTS));
        Hooks.InspectDialogs({});
        EXPECT_EQ(inspected, 1);
    }
}

// A number of squads typed and not confirmed reaches the matrix, area and
// formation sub-dialogs, with the added squad as the copy of squad 2 it
// becomes: squad 2 hears no squad 1, weighs squad 1 at 0.25, has its area
// centred at x 17 and an outer alive ring of 6.
TEST_F(ParameterDialogs, SubDialogsOpenWithTheTypedNumberOfSquads)
{
    const struct {
        int Button;
        std::function<bool(QDialog&)> ShowsThirdSquad;
    } cases[] = {
        {A::IDC_OPEN_COMM_MATRIX,
         [](QDialog& d) {
             auto* m = dynamic_cast<CCommMatrixDlg*>(&d);
             return m && m->SquadCount == 3 && m->C[3][1] == 0 && m->C[3][2] == 1;
         }},
        {A::IDC_OPEN_WEIGHT_MATRIX,
         [](QDialog& d) {
             auto* m = dynamic_cast<CSquadWeightMatrixDlg*>(&d);
             return m && m->SquadCount == 3 && m->S[3][1] == 0.25;
         }},
        {IDC_OPEN_AREA,
         [](QDialog& d) {
             auto* m = dynamic_cast<CMoveAreaDlg*>(&d);
             return m && m->SquadCount == 3 && m->CenterX.Squad[3] == 17;
         }},
        {IDC_OPEN_FORMATION,
         [](QDialog& d) {
             auto* m = dynamic_cast<CFlockDlg*>(&d);
             return m && m->SquadCount == 3 && m->OuterAlive.Squad[3] == 6.0f;
         }},
    };
    for (const auto& c : cases) {
        Squads(Side::Red, {2, 2});
        CForce& f = Doc().RedForce;
        f.CommMatrix[2][1] = 0;
        f.CommMatrix[2][2] = 1;
        f.SquadWeightMatrix[2][1] = 0.25;
        f.AreaCenterX[2] = 17;
        f.A_R_flock_max[2] = 6;
        Hooks.Reset();
        int seen = 0;
        Hooks.InspectDialogs([&](QDialog& d) { seen += c.ShowsThirdSquad(d); });
        Hooks.StepDialog({{A::IDC_NUM_SQUADS, "3"}, {c.Button, ""}});
        Hooks.AnswerDialog(IDCANCEL);  // the sub-dialog
        Hooks.AnswerDialog(IDCANCEL);
        ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
        EXPECT_EQ(seen, 1) << c.Button;
        Hooks.InspectDialogs({});
    }
}

// A click on an On/Off choice keeps every value typed since the last store,
// in the dialogs of each kind; a value typed out of range is refused at OK,
// not by the click.
TEST_F(ParameterDialogs, OnOffChoiceKeepsWhatWasTyped)
{
    Squads(Side::Red, {3});
    Squads(Side::Blue, {3});
    CBrevimarDoc& doc = Doc();
    CForce& red = doc.RedForce;
    CForce& blue = doc.BlueForce;
    using T = CTerrainParamsDlg;
    struct Case {
        unsigned Command;
        Values Typed;
        int Choice;
        std::function<bool()> Kept;
    };
    const Case cases[] = {
        {V::ID_EDIT_RED_AGENTS,
         {{A::IDC_SENSOR_ALIVE, "8"}, {WeightAliveId(W1), "17"}, {MetaAliveId(1), "9"}},
         A::IDC_COMM_OFF,
         [&] { return red.A_S_RANGE[1] == 8 && red.w1_a[1] == 17.0f && red.A_ADVANCE_num[1] == 9 && red.CommOn == 0; }},
        {V::ID_EDIT_RED_AGENTS,
         {{A::IDC_SENSOR_ALIVE, "6"}, {MetaAliveId(1), "2"}},
         IDC_META_OFF,
         [&] { return red.A_S_RANGE[1] == 6 && red.A_ADVANCE_num[1] == 2 && red.movement_flag[1] == 0; }},
        {V::ID_FLY_BLUE_META_PERSONALITY,
         {{MetaAliveId(4), "0.25"}, {MetaAliveId(5), "-7"}},
         IDC_META_OFF,
         [&] { return blue.A_HOLD_f[1] == 0.25 && blue.A_PURSUIT1_num[1] == -7 && blue.movement_flag[1] == 0; }},
        {V::ID_EDIT_TERRAIN_BLOCKS,
         {{T::TypeId(1), "3"}, {T::LengthId(1), "4"}, {T::WidthId(1), "2"}},
         T::IDC_TERRAIN_OFF,
         [&] {
             const CBattlefield& b = doc.Battlefield;
             return b.TerrainBlockType[1] == 3 && b.TerrainBlockLength[1] == 4 && b.TerrainBlockWidth[1] == 2 &&
                    b.TerrainMode == 0;
         }},
    };
    for (const Case& c : cases) {
        red.A_S_RANGE[1] = 5, red.w1_a[1] = 10.0f, red.A_ADVANCE_num[1] = 3;
        red.CommOn = 1, red.movement_flag[1] = blue.movement_flag[1] = 1;
        blue.A_HOLD_f[1] = 0.5, blue.A_PURSUIT1_num[1] = 4;
        doc.Battlefield.TerrainMode = 1;
        Hooks.StepDialog(c.Typed);
        Hooks.AnswerDialog(IDOK, {{c.Choice, "1"}});
        ASSERT_TRUE(Run(c.Command));
        EXPECT_TRUE(c.Kept()) << c.Command << " " << c.Choice;
    }

    // Out of range when the choice is clicked: kept as typed, refused at OK.
    Hooks.StepDialog({{A::IDC_SENSOR_ALIVE, "0"}});
    Hooks.StepDialog({{A::IDC_COMM_OFF, "1"}});
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerDialog(IDOK, {{A::IDC_SENSOR_ALIVE, "9"}});
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    EXPECT_EQ(Messages("Please enter an integer between 1 and 99."), 1);
    EXPECT_EQ(red.A_S_RANGE[1], 9);
    EXPECT_EQ(red.CommOn, 0);
}

// A squad radio shows the new squad's own values, even where one reads as
// the value typed over did, and leaves what was typed into a field of no
// squad for OK to take.
TEST_F(ParameterDialogs, SquadRadioKeepsTypingInFieldsOfNoSquad)
{
    Squads(Side::Red, {3, 3});
    Squads(Side::Blue, {3, 3});
    CBrevimarDoc& doc = Doc();
    CForce& red = doc.RedForce;
    CForce& blue = doc.BlueForce;
    using W = CAgentWeaponsDlg;
    using H = CHitProbDlg;
    const auto typedWeapons = [](const char* maxTargets) {
        return Values{{W::MaxTargetsId(2), maxTargets}, {W::ProbHitId(3, 1), "0.5"}, {W::AgentsId(1), "1"}};
    };
    const Values typedPersonality{{IDC_LC_ALIVE, "7"},      {IDC_LC_INJURED, "7"},      {IDC_OBEY_LC_ALIVE, "33"},
                                  {IDC_OBEY_LC_INJURED, "33"}, {WeightAliveId(W1), "17"}};
    // Squads 1 and 2 hold the same per-squad values, so the shown text of
    // each per-squad field is the same before and after the switch.
    const auto weaponsKept = [&](const CForce& f, const SideWeapons& w, int maxTargets) {
        return w.max_tgts[2] == maxTargets && w.prob_hit[3][1] == 0.5f && f.point_to_point_1[1] == 0 &&
               f.point_to_point_1[2] == 0;
    };
    const auto personalityKept = [&](Side side) {
        const CForce& f = doc.Force(side);
        return doc.Local(side).w7 == 7.0f && doc.Local(side).w8 == 33.0f && f.w1_a[1] == 10.0f && f.w1_a[2] == 10.0f;
    };
    const struct {
        unsigned Command;
        Values Typed;
        std::function<bool()> Kept;
    } cases[] = {
        // Max Tgts and P(hit) belong to the weapon, not to a squad.
        {V::ID_EDIT_RED_AGENT_WEAPONS, typedWeapons("7"), [&] { return weaponsKept(red, doc.AgentWeapons.Red, 7); }},
        {V::ID_EDIT_BLUE_AGENT_WEAPONS, typedWeapons("9"),
         [&] { return weaponsKept(blue, doc.AgentWeapons.Blue, 9); }},
        {V::ID_FLY_RED_PERSONALITY, typedPersonality, [&] { return personalityKept(Side::Red); }},
        {V::ID_FLY_BLUE_PERSONALITY, typedPersonality, [&] { return personalityKept(Side::Blue); }},
        // Only per-squad fields: nothing typed survives.
        {V::ID_FLY_RED_SENSOR, {{CSquadRangeDlg::IDC_ALIVE, "20"}},
         [&] { return red.A_S_RANGE[1] == 11 && red.A_S_RANGE[2] == 11; }},
        // Both squads use function 1: the squad radio shows it anew.
        {V::ID_EDIT_RED_SQUAD_WEAPONS, {{H::ParamId(0, 0), "0.3"}},
         [&] { return red.WeaponFunction.plow[1][0] == 0.75; }},
    };
    for (const auto& c : cases) {
        for (CForce* f : {&red, &blue}) {
            f->point_to_point_1[1] = f->point_to_point_1[2] = 0;
            f->w1_a[1] = f->w1_a[2] = 10.0f;
            f->A_S_RANGE[1] = f->A_S_RANGE[2] = 11;
            f->WeaponFunction.weapon_squad[1] = f->WeaponFunction.weapon_squad[2] = 1;
            f->WeaponFunction.plow[1][0] = 0.75;
        }
        for (SideWeapons* w : {&doc.AgentWeapons.Red, &doc.AgentWeapons.Blue}) {
            w->max_tgts[2] = 2;
            w->prob_hit[3][1] = 0.0f;
        }
        for (const Side side : {Side::Red, Side::Blue})
            doc.Local(side).w7 = doc.Local(side).w8 = 0.0f;
        Hooks.StepDialog(c.Typed);
        Hooks.AnswerDialog(IDOK, {{IDC_SQUAD_1 + 1, "1"}});
        ASSERT_TRUE(Run(c.Command));
        EXPECT_TRUE(c.Kept()) << c.Command;
    }
}

TEST_F(ParameterDialogs, MoreThan300AgentsOrCancelChangeNothing)
{
    Squads(Side::Red, {100, 100});
    CBrevimarDoc& doc = Doc();
    doc.Resume();
    doc.RunHeader.CurrentStep = 9;
    const int invalidations = View()->InvalidateCount();
    Hooks.AnswerDialog(IDOK, {{A::IDC_SQUAD_SIZE, "201"}, {A::IDC_SAVE_SQUAD, ""}});
    Hooks.AnswerDialog(IDCANCEL);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    EXPECT_EQ(Messages("RED squad sizes add up to 301 agents; a side holds at most 300."), 1);
    EXPECT_EQ(doc.RedForce.num_per_squad[1], 100);
    EXPECT_EQ(doc.NumRed(), 200);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 9);
    EXPECT_EQ(doc.Paused, 1);  // Cancel or not, the run waits for the user
    EXPECT_EQ(View()->InvalidateCount(), invalidations);

    // Every other command of the road cancels the same way.
    for (const unsigned id : {V::ID_FLY_RED_PERSONALITY, V::ID_FLY_BLUE_META_PERSONALITY, V::ID_EDIT_RED_COMM_MATRIX,
                              V::ID_EDIT_BLUE_SQUAD_WEIGHTS, V::ID_FLY_RED_AREA, V::ID_FLY_BLUE_FORMATION}) {
        doc.RedForce.AliveWeight[W1][1] = 0.123f;  // not the squad's normalised weight
        Hooks.AnswerDialog(IDCANCEL);
        ASSERT_TRUE(Run(id));
        EXPECT_EQ(doc.RedForce.AliveWeight[W1][1], 0.123f) << id;
        EXPECT_EQ(doc.RunHeader.CurrentStep, 9) << id;
        EXPECT_EQ(doc.Paused, id == V::ID_FLY_RED_AREA ? 0 : 1) << id;  // the area alone does not pause
        doc.Resume();
        EXPECT_EQ(View()->InvalidateCount(), invalidations) << id;
    }
}

TEST_F(ParameterDialogs, RandomizeDrawsFiveWeightsFromTheHostRand)
{
    // rand() pairs: magnitude r * 99/32767, negated when the second draw
    // r/32767 is below 0.5 (16383 is, 16384 is not).
    const std::vector<int> draws = {32767, 0, 0, 32767, 10000, 20000, 32767, 16383, 1000, 16384};
    const float m[5] = {-99.0f, 0.0f, 30.213324f, -99.0f, 3.0213324f};
    struct Case {
        Side side;
        bool personalityDialog;
        std::array<int, 5> order;  // weights drawn, in draw order
        int zeroed;
    };
    const Case cases[] = {
        {Side::Red, false, {W1, W2, W3, W4, W6}, W5},
        {Side::Blue, false, {W2, W1, W4, W3, W6}, W5},
        {Side::Red, true, {W1, W2, W3, W4, W6}, W5},
        {Side::Blue, true, {W2, W1, W4, W3, W5}, W6},
    };
    ScriptedHost host;
    Doc().SetHost(&host);
    for (const Case& c : cases) {
        CPersonalityValues values;
        for (int k = W1; k <= W6; ++k)
            values.Alive[k].Edit = values.Injured[k].Edit = 50.0f;
        host.RandValues.assign(draws.begin(), draws.end());
        values.Randomize(host, c.side, false, c.personalityDialog);
        for (int d = 0; d < 5; ++d)
            EXPECT_FLOAT_EQ(values.Injured[c.order[d]].Edit, m[d]) << d;
        EXPECT_EQ(values.Injured[c.zeroed].Edit, 0.0f);
        EXPECT_EQ(values.Alive[W1].Edit, 50.0f);
        EXPECT_TRUE(host.RandValues.empty());
    }
    Doc().SetHost(nullptr);
}

TEST_F(ParameterDialogs, UnlimitedCombatShows999Targets)
{
    Squads(Side::Red, {2, 2});
    Doc().Battlefield.RedCombatUnlimited = 1;
    CRedAgentParamsDlg dlg(Doc());
    EXPECT_EQ(dlg.MaxTargetsAlive.Squad[2], 999);
    EXPECT_EQ(dlg.MaxTargetsInjured.Squad[1], 999);
    EXPECT_EQ(dlg.MaxTargetsAlive.Edit, 999);
}

TEST_F(ParameterDialogs, PersonalityOkNormalisesEachAgentByItsOwnSquad)
{
    Squads(Side::Red, {2, 2});
    CBrevimarDoc& doc = Doc();
    CForce& f = doc.RedForce;
    f.AgentSquad[1] = 2;  // an agent added by hand to squad 2
    doc.RunHeader.CurrentStep = 6;
    // Squad 2 alive: 2, -1, 1 and six zeros -> 0.5, -0.25, 0.25; injured all 0.
    Values typed = {{IDC_SQUAD_1 + 1, "1"}, {IDC_STORE_SQUAD, ""}};
    for (int k = W1; k < WeightSlots; ++k) {
        typed[WeightAliveId(k)] = k == W1 ? "2" : k == W2 ? "-1" : k == W3 ? "1" : "0";
        typed[WeightInjuredId(k)] = "0";
    }
    Hooks.StepDialog(typed);
    Hooks.AnswerDialog(IDOK, {{IDC_LC_ALIVE, "20"}, {IDC_LC_INJURED, "30"}});
    ASSERT_TRUE(Run(V::ID_FLY_RED_PERSONALITY));
    EXPECT_EQ(doc.RedLocal.w7, 30.0f);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 6);  // no restart
    for (const int i : {1, 3, 4}) {
        ASSERT_EQ(f.AgentSquad[i], 2);
        EXPECT_EQ(f.AliveWeight[W1][i], 0.5f) << i;
        EXPECT_EQ(f.AliveWeight[W2][i], -0.25f) << i;
        EXPECT_EQ(f.AliveWeight[W3][i], 0.25f) << i;
        EXPECT_EQ(f.AliveWeight[WFlock][i], 0.0f) << i;
        EXPECT_EQ(f.InjuredWeight[W6][i], 0.0f) << i;
    }
}

TEST_F(ParameterDialogs, MetaPersonalityOkRefreshesAgentsBySide)
{
    Squads(Side::Blue, {2, 2});
    Squads(Side::Red, {2, 2});
    CBrevimarDoc& doc = Doc();
    for (CForce* f : {static_cast<CForce*>(&doc.RedForce), static_cast<CForce*>(&doc.BlueForce)}) {
        f->A_R_terrain_min[1] = 12.7f;
        f->ShotProbAlive[3] = 0.01f;  // degraded by terrain
        f->shot_prob_alive[2] = 0.5f;
    }
    for (const auto& [id, f] : {std::pair{V::ID_FLY_RED_META_PERSONALITY, static_cast<CForce*>(&doc.RedForce)},
                                std::pair{V::ID_FLY_BLUE_META_PERSONALITY, static_cast<CForce*>(&doc.BlueForce)}}) {
        Hooks.StepDialog({{MetaUseId(14), "1"}, {MetaAliveId(1), "7"}, {IDC_STORE_SQUAD, ""}});
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Run(id));
        EXPECT_EQ(f->A_R_terrain_min[1], 12.7f);  // shown cut to 12, and came back as shown
        EXPECT_EQ(f->R_area_min_flag[1], 1);
        EXPECT_EQ(f->AdvanceNumAlive[1], 7);
        EXPECT_EQ(f->ShotProbAlive[3], id == V::ID_FLY_RED_META_PERSONALITY ? 0.01f : 0.5f);
    }
}

TEST_F(ParameterDialogs, CommunicationsGridHonoursTheSquadCountAndSymmetrises)
{
    CRedCommMatrixDlg dlg;
    SetModalHooks(dlg, &Hooks);
    dlg.SquadCount = 4;
    dlg.C[1][3] = 1;
    dlg.C[2][4] = 0;
    dlg.C[4][2] = 1;
    Hooks.AnswerDialog(IDOK, {{CCommMatrixDlg::CellId(5, 2), "1"},
                                    {CCommMatrixDlg::CellId(4, 4), "1"},
                                    {CCommMatrixDlg::IDC_SYMMETRIZE, ""}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.C[5][2], 0);
    EXPECT_EQ(dlg.IsDlgButtonChecked(CCommMatrixDlg::CellId(5, 2)), 0);
    EXPECT_EQ(dlg.C[4][4], 1);
    EXPECT_EQ(dlg.C[3][1], 1);
    EXPECT_EQ(dlg.C[4][2], 0);  // the upper triangle wins
}

// The agent dialog hands back only its squads' cells of both matrices, so
// both of its matrix sub-dialogs refuse a cell beyond them and say so.
TEST_F(ParameterDialogs, AgentMatrixSubDialogsRefuseCellsBeyondTheSquadsAndSaySo)
{
    Squads(Side::Red, {2, 2});
    CForce& f = Doc().RedForce;
    using M = CSquadWeightMatrixDlg;
    f.SquadWeightMatrix[1][2] = 0.0;
    f.SquadWeightMatrix[1][3] = 0.5;
    f.CommMatrix[3][1] = 0;
    Hooks.StepDialog({{A::IDC_OPEN_WEIGHT_MATRIX, ""}});
    Hooks.AnswerDialog(IDOK, {{M::CellId(1, 3), "0.9"}});
    Hooks.AnswerDialog(IDOK, {{M::CellId(1, 3), "0.5"}, {M::CellId(1, 2), "0.25"}});
    Hooks.StepDialog({{A::IDC_OPEN_COMM_MATRIX, ""}});
    Hooks.AnswerDialog(IDOK, {{CCommMatrixDlg::CellId(3, 1), "1"}});
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
    EXPECT_EQ(Messages("S[ 1 ][ 3 ] is not kept: the side has 2 squads, and only rows and columns 1 to 2 are."), 1);
    EXPECT_EQ(Messages("C[ 3 ][ 1 ] is not kept: the side has 2 squads, and only rows and columns 1 to 2 are."), 1);
    EXPECT_EQ(f.SquadWeightMatrix[1][2], 0.25);
    EXPECT_EQ(f.SquadWeightMatrix[1][3], 0.5);
    EXPECT_EQ(f.CommMatrix[3][1], 0);

    // Symmetrising mirrors the squads' cells alone: the others would be
    // dropped at the hand-back.
    CRedSquadWeightMatrixDlg weights;
    weights.SquadCount = 2;
    weights.RefusesCellsBeyondSquads = true;
    weights.S[1][2] = 0.25;
    weights.S[1][3] = 0.5;
    weights.S[3][1] = -0.5;
    weights.OnInitDialog();
    weights.OnSymmetrize();
    EXPECT_EQ(weights.S[2][1], 0.25);
    EXPECT_EQ(weights.S[3][1], -0.5);

    CRedCommMatrixDlg links;
    SetModalHooks(links, &Hooks);
    links.SquadCount = 1;
    links.OnCell(1, 2);
    EXPECT_EQ(Messages("C[ 1 ][ 2 ] is not kept: the side has 1 squad, and only C[ 1 ][ 1 ] is."), 1);
}

TEST_F(ParameterDialogs, WeightMatrixRangeAndTheTwoRoads)
{
    Squads(Side::Red, {2, 2});
    CBrevimarDoc& doc = Doc();
    using W = CSquadWeightMatrixDlg;
    doc.RunHeader.CurrentStep = 8;
    Hooks.AnswerDialog(IDOK, {{W::CellId(1, 10), "1.5"}});
    Hooks.AnswerDialog(IDOK, {{W::CellId(1, 10), "-1.01"}});
    Hooks.AnswerDialog(IDOK, {{W::CellId(1, 10), "-1"}, {W::CellId(2, 3), "1"}, {W::IDC_SYMMETRIZE, ""}});
    ASSERT_TRUE(Run(V::ID_FLY_RED_SQUAD_WEIGHTS));
    EXPECT_EQ(Messages("Please enter a number between -1 and 1."), 2);
    EXPECT_EQ(doc.RedForce.SquadWeightMatrix[10][1], -1.0);
    EXPECT_EQ(doc.RedForce.SquadWeightMatrix[3][2], 1.0);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 8);  // on the fly: no restart

    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_RED_SQUAD_WEIGHTS));
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);  // the Edit menu restarts
}

TEST_F(ParameterDialogs, FormationClampsRingsAndCopiesToEachAgentsSquad)
{
    Squads(Side::Red, {2, 2, 2});
    CBrevimarDoc& doc = Doc();
    CForce& f = doc.RedForce;
    f.A_R_flock_max[5] = 9.0f;
    f.AgentSquad[1] = 3;
    using F = CFlockDlg;
    Hooks.StepDialog({{IDC_SQUAD_1 + 2, "1"}, {F::IDC_INNER_ALIVE, "8"}, {F::IDC_OUTER_ALIVE, "5"},
                            {F::IDC_INNER_INJURED, "3"}, {F::IDC_OUTER_INJURED, "3"}, {IDC_STORE_SQUAD, ""}});
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_FLY_RED_FORMATION));
    EXPECT_EQ(f.A_R_flock_min[3], 5.0f);
    EXPECT_EQ(f.A_R_flock_max[3], 5.0f);
    EXPECT_EQ(f.I_R_flock_min[3], 3.0f);
    EXPECT_EQ(f.A_R_flock_max[5], 9.0f);  // squads above the count keep theirs
    EXPECT_EQ(f.FlockMinAlive[1], 5.0f);
    EXPECT_EQ(f.FlockMaxAlive[5], 5.0f);

    // The area refuses a typed centre of 0 and does not pause the run.
    doc.Resume();
    f.AreaCenterX[1] = f.AreaCenterY[1] = f.AreaRangeX[1] = f.AreaRangeY[1] = 1;
    Hooks.AnswerDialog(IDOK, {{CMoveAreaDlg::IDC_CENTER_X, "0"}, {IDC_STORE_SQUAD, ""}});
    Hooks.AnswerDialog(IDOK, {{CMoveAreaDlg::IDC_CENTER_X, "12"}, {IDC_STORE_SQUAD, ""}});
    ASSERT_TRUE(Run(V::ID_FLY_RED_AREA));
    EXPECT_EQ(Messages("Please enter an integer between 1 and 999."), 2);
    EXPECT_EQ(f.AreaCenterX[1], 12);
    EXPECT_EQ(doc.Paused, 0);
}

}  // namespace
}  // namespace brevimar::testing
