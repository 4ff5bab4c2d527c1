#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "dialogs/BattlefieldDlgs.h"
#include "dialogs/CombatParamsDlg.h"
#include "dialogs/RangeOptionDlgs.h"
#include "dialogs/SmallEditors.h"
#include "dialogs/SquadSections.h"
#include "dialogs/TerrainParamsDlg.h"
#include "run/ScenarioLoad.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using R = CSquadRangeDlg;
using Values = std::map<int, std::string>;

// The scenario: an 80-cell field, RED's goal (the BLUE flag) at (70, 71),
// BLUE's goal (the RED flag) at (5, 6).
class OnTheFly : public AppTest {
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
    int Dialogs() const
    {
        int count = 0;
        for (const ModalRecord& r : Hooks.Log())
            count += r.Kind == ModalKind::Dialog;
        return count;
    }
    // Three squads of two agents on each side, every row in range.
    void ThreeSquads()
    {
        for (Side side : {Side::Red, Side::Blue}) {
            CForce& f = Doc().Force(side);
            f.NumSquads = 3;
            f.NumAgents = 6;
            for (int s = 1; s <= MaxSquads; ++s) {
                f.num_per_squad[s] = s <= 3 ? 2 : 0;
                f.A_F_RANGE[s] = f.I_F_RANGE[s] = f.A_S_RANGE[s] = f.I_S_RANGE[s] = 3;
                f.A_C_RANGE[s] = f.I_C_RANGE[s] = f.A_M_RANGE[s] = f.I_M_RANGE[s] = 2;
                f.A_R_max_eng_num[s] = f.I_R_max_eng_num[s] = f.alive_strength[s] = f.injured_strength[s] = 1;
                f.shot_prob_alive[s] = f.shot_prob_injured[s] = 0.5f;
                f.MoveProbAlive[s] = f.MoveProbInjured[s] = 1.0f;
                f.MovePeriodAlive[s] = f.MovePeriodInjured[s] = 1;
            }
        }
        Doc().ResetTail();
    }
    bool Run(unsigned id) { return Frame().RunCommand(id); }
};

TEST_F(OnTheFly, MenuItemsOpenTheirDialogsAndCancelChangesNothing)
{
    const std::pair<const char*, const char*> items[] = {
        {"&Edit/Terrain/Terrain Blocks...", "Edit::Terrain Parameters"},
        {"&Edit/Territorial Possession...", "Edit::Territorial Possession"},
        {"&Simulation/Reseed Random Number Generator...", "Edit::Random Number Seed"},
        {"&Display/Highlight Individual Squads/Edit Highlight-Squad Dialog...", "Display::Select Squads to Highlight"},
        {"&On-the-Fly Parameter Changes/Combat Parameters/Battlefield Size...", "Options::Battlefield Size"},
        {"&On-the-Fly Parameter Changes/Combat Parameters/Initial Distribution of Forces/Blue...",
         "Options::Initial Blue Distribution"},
        {"&On-the-Fly Parameter Changes/Combat Parameters/Flag Positions/Red...", "Options::Red Flag Position"},
        {"&On-the-Fly Parameter Changes/Combat Parameters/Combat Adjudication/Blue...",
         "Options::Blue Combat Adjudication"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/Movement (Range, Prob/Move, Time/Move) ...",
         "Options::Red Movement Range"},
        {"&On-the-Fly Parameter Changes/BLUE Agent Parameters/Sensor Range...", "Options::Blue Sensor Range"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/Fire Range...", "Options::Red Fire Range"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/Threshold Range...", "Options::Red Threshold Range"},
        {"&On-the-Fly Parameter Changes/BLUE Agent Parameters/Single-Shot Probability of Kill...",
         "Options::Blue Single-Shot P(k)"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/Maximum Number of Engagements...",
         "Options::Red Max Tgts"},
        {"&On-the-Fly Parameter Changes/BLUE Agent Parameters/Defensive Strength...", "Options::Blue Defense"},
        {"&On-the-Fly Parameter Changes/RED Agent Parameters/Communications..", "Options::Red Communications"},
    };
    CBrevimarDoc& doc = Doc();
    doc.Resume();
    doc.RunHeader.CurrentStep = 9;
    doc.Battlefield.TerrainMode = 2;
    const int size = doc.Battlefield.BattleSize;
    const int seed = doc.InitialSeed;
    const int invalidations = View()->InvalidateCount();
    for (const auto& [path, caption] : items) {
        QAction* item = Frame().FindMenuItem(path);
        ASSERT_NE(item, nullptr) << path;
        item->trigger();  // no answer queued: cancelled
        ASSERT_FALSE(Hooks.Log().empty());
        EXPECT_EQ(Hooks.Log().back().Title, caption) << path;
        EXPECT_EQ(doc.RunHeader.CurrentStep, 9) << path;
        EXPECT_EQ(doc.Paused, 1) << path;  // the run waits for the user after Cancel too
        doc.Resume();
    }
    EXPECT_EQ(View()->InvalidateCount(), invalidations);
    EXPECT_EQ(doc.Battlefield.TerrainMode, 2);
    EXPECT_EQ(doc.Battlefield.BattleSize, size);
    EXPECT_EQ(doc.InitialSeed, seed);
}

TEST_F(OnTheFly, DialogsOpenWithTheDocumentsValues)
{
    ThreeSquads();
    CBrevimarDoc& doc = Doc();
    doc.BlueForce.A_F_RANGE[1] = 17;
    doc.Battlefield.TerrainBlockX[32] = 123;
    doc.InitialSeed = -4321;
    doc.BlueForce.MovePeriodAlive[1] = 6;
    CBlueFireRangeDlg fire(doc);
    CTerrainParamsDlg terrain(doc);
    CRandomSeedDlg seed(doc);
    CBlueMovementRangeDlg movement(doc);
    const std::tuple<CDialog*, int, const char*> shown[] = {
        {&fire, R::IDC_ALIVE, "17"},
        {&terrain, CTerrainParamsDlg::CenterXId(32), "123"},
        {&seed, CRandomSeedDlg::IDC_SEED, "-4321"},
        {&movement, CMovementRangeDlg::IDC_TIME_ALIVE, "6"},
    };
    for (const auto& [dlg, id, text] : shown) {
        dlg->OnInitDialog();
        EXPECT_EQ(dlg->GetDlgItemText(id), text) << id;
    }
    // Squads beyond the count move every step.
    EXPECT_EQ(movement.ProbAlive.Squad[4], 1.0f);
    EXPECT_EQ(movement.TimeInjured.Squad[10], 1);
}

// One row per per-squad range dialog: squad 2 gets new values, squad 1
// keeps its own, and a value out of range is refused at the store button.
TEST_F(OnTheFly, RangeOptionsReachEverySquadAgentAndItsBaseCopy)
{
    using M = CMovementRangeDlg;
    struct Case {
        unsigned id;
        Side side;
        int aliveId, injuredId;
        const char *alive, *injured, *bad, *message;
        std::function<double(CForce&, int agent)> working;
        std::function<double(CAgentBaseCopies&, int agent)> base;
        std::function<double(CForce&, int)> squad2;
    };
    // Alive + 100 * injured, so one number checks both.
    auto both = [](const auto* alive, const auto* injured, int k) { return alive[k] + 100.0 * injured[k]; };
    const Case cases[] = {
        {V::ID_FLY_RED_FIRE, Side::Red, R::IDC_ALIVE, R::IDC_INJURED, "25", "7", "26",
         "Please enter an integer between 1 and 25.",
         [=](auto& f, int i) { return both(f.FireRangeAlive, f.FireRangeInjured, i); },
         [=](auto& b, int i) { return both(b.BaseFireRangeAlive, b.BaseFireRangeInjured, i); },
         [=](auto& f, int) { return both(f.A_F_RANGE, f.I_F_RANGE, 2); }},
        {V::ID_FLY_BLUE_SENSOR, Side::Blue, R::IDC_ALIVE, R::IDC_INJURED, "25", "7", "0",
         "Please enter an integer between 1 and 99.",
         [=](auto& f, int i) { return both(f.SensorRangeAlive, f.SensorRangeInjured, i); },
         [=](auto& b, int i) { return both(b.BaseSensorRangeAlive, b.BaseSensorRangeInjured, i); },
         [=](auto& f, int) { return both(f.A_S_RANGE, f.I_S_RANGE, 2); }},
        {V::ID_FLY_RED_THRESHOLD, Side::Red, R::IDC_ALIVE, R::IDC_INJURED, "25", "7", "100",
         "Please enter an integer between 1 and 99.",
         [=](auto& f, int i) { return both(f.ConstraintRangeAlive, f.ConstraintRangeInjured, i); },
         [=](auto& b, int i) { return both(b.BaseConstraintRangeAlive, b.BaseConstraintRangeInjured, i); },
         [=](auto& f, int) { return both(f.A_C_RANGE, f.I_C_RANGE, 2); }},
        {V::ID_FLY_BLUE_MAX_TARGETS, Side::Blue, R::IDC_ALIVE, R::IDC_INJURED, "25", "7", "0",
         "Please enter an integer between 1 and 999.",
         [=](auto& f, int i) { return both(f.MaxTargetsAlive, f.MaxTargetsInjured, i); },
         [=](auto& b, int i) { return both(b.BaseMaxTargetsAlive, b.BaseMaxTargetsInjured, i); },
         [=](auto& f, int) { return both(f.A_R_max_eng_num, f.I_R_max_eng_num, 2); }},
        {V::ID_FLY_RED_PK, Side::Red, R::IDC_ALIVE, R::IDC_INJURED, "0.25", "0.07", "1.5",
         "Please enter a number between 0 and 1.",
         [=](auto& f, int i) { return both(f.ShotProbAlive, f.ShotProbInjured, i); },
         [=](auto& b, int i) { return both(b.BaseShotProbAlive, b.BaseShotProbInjured, i); },
         [=](auto& f, int) { return both(f.shot_prob_alive, f.shot_prob_injured, 2); }},
        {V::ID_FLY_BLUE_DEFENSE, Side::Blue, R::IDC_ALIVE, R::IDC_INJURED, "25", "7", "0",
         "Please enter an integer between 1 and 99.",
         [=](auto& f, int i) { return both(f.AliveStrength, f.InjuredStrength, i); },
         [=](auto& b, int i) { return both(b.BaseAliveStrength, b.BaseInjuredStrength, i); },
         [=](auto& f, int) { return both(f.alive_strength, f.injured_strength, 2); }},
        {V::ID_FLY_RED_MOVEMENT, Side::Red, M::IDC_RANGE_ALIVE, M::IDC_RANGE_INJURED, "4", "0", "5",
         "Please enter an integer between 0 and 4.",
         [=](auto& f, int i) { return both(f.MoveRangeAlive, f.MoveRangeInjured, i); },
         [=](auto& b, int i) { return both(b.BaseMoveRangeAlive, b.BaseMoveRangeInjured, i); },
         [=](auto& f, int) { return both(f.A_M_RANGE, f.I_M_RANGE, 2); }},
    };
    ThreeSquads();
    CBrevimarDoc& doc = Doc();
    for (const Case& c : cases) {
        doc.RunHeader.CurrentStep = 40;
        const int state = doc.RandomState;
        const double before = c.working(doc.Force(c.side), 1);
        // Alive: the 1 typed before OK, which OK keeps as the store would.
        const double expected = 1 + 100 * std::stod(c.injured);
        Hooks.StepDialog({{IDC_SQUAD_1 + 1, "1"}, {c.aliveId, c.bad}, {IDC_STORE_SQUAD, ""}});
        Hooks.StepDialog({{c.aliveId, c.alive}, {c.injuredId, c.injured}, {IDC_STORE_SQUAD, ""}});
        Hooks.AnswerDialog(IDOK, {{c.aliveId, "1"}});  // typed, not stored: kept by OK
        ASSERT_TRUE(Run(c.id));
        EXPECT_EQ(Messages(c.message), 1) << c.id;
        Hooks.Reset();
        EXPECT_FLOAT_EQ(c.squad2(doc.Force(c.side), 2), expected) << c.id;
        for (const int agent : {3, 4}) {  // squad 2
            EXPECT_FLOAT_EQ(c.working(doc.Force(c.side), agent), expected) << c.id;
            EXPECT_FLOAT_EQ(c.base(doc.BaseCopies(c.side), agent), expected) << c.id;
        }
        EXPECT_EQ(c.working(doc.Force(c.side), 1), before) << c.id;
        EXPECT_EQ(doc.RunHeader.CurrentStep, 40) << c.id;
        EXPECT_EQ(doc.RandomState, state) << c.id;
    }
}

TEST_F(OnTheFly, MovementModeAndCommunicationsLastThroughOpenGround)
{
    using M = CMovementRangeDlg;
    using C = CCommunicationsDlg;
    ThreeSquads();
    CBrevimarDoc& doc = Doc();
    CForce& f = doc.RedForce;
    Hooks.StepDialog({{IDC_SQUAD_1 + 2, "1"}, {M::IDC_TIME_ALIVE, "0"}, {IDC_STORE_SQUAD, ""}});
    Hooks.StepDialog({{M::IDC_TIME_MOVE, "1"}, {M::IDC_TIME_ALIVE, "12"}, {IDC_STORE_SQUAD, ""}});
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_FLY_RED_MOVEMENT));
    EXPECT_EQ(Messages("Please enter an integer between 1 and 999."), 1);
    EXPECT_EQ(f.MoveGateByTime, 1);
    EXPECT_EQ(f.MovePeriodAlive[3], 12);

    // Communications and defence, then agent 1 leaves passable terrain: it
    // gets back the new values, not the ones from the last restart.
    Hooks.AnswerDialog(IDOK, {{C::IDC_RANGE, "7"}, {C::IDC_WEIGHT_ALIVE, "0.75"}, {C::IDC_OFF, "1"}});
    ASSERT_TRUE(Run(V::ID_FLY_RED_COMMUNICATIONS));
    Hooks.AnswerDialog(IDOK, {{R::IDC_ALIVE, "9"}, {IDC_STORE_SQUAD, ""}});
    ASSERT_TRUE(Run(V::ID_FLY_RED_DEFENSE));
    EXPECT_EQ(f.CommOn, 0);
    EXPECT_EQ(f.A_COMM_weight, 0.75f);
    f.CommRange = 1;  // as lowered by terrain
    f.AliveStrength[1] = 50;
    doc.RestoreRedAgentParams(1);
    EXPECT_EQ(f.CommRange, 7);
    EXPECT_EQ(f.COMM_range, 7);
    EXPECT_EQ(f.CommWeightAlive, 0.75f);
    EXPECT_EQ(f.AliveStrength[1], 9);
}

TEST_F(OnTheFly, CommunicationsToggleAsksOnlyWhenThereIsNothingToPassOn)
{
    CForce& f = Doc().BlueForce;
    struct Case {
        int on, range;
        float alive, injured;
        int dialogs, onAfter;
    };
    const Case cases[] = {
        {1, 3, 0.5f, 0.0f, 0, 0},
        {0, 3, 0.5f, 0.0f, 0, 1},
        {0, 3, 0.0f, 0.0f, 1, 1},
        {0, 0, 0.5f, 0.5f, 1, 1},
    };
    for (const Case& c : cases) {
        f.CommOn = c.on;
        f.COMM_range = c.range;
        f.A_COMM_weight = c.alive;
        f.I_COMM_weight = c.injured;
        const int before = Dialogs();
        ASSERT_TRUE(Run(V::ID_TOGGLE_BLUE_COMMUNICATIONS));
        EXPECT_EQ(Dialogs() - before, c.dialogs);
        EXPECT_EQ(f.CommOn, c.onAfter);
    }
}

// Battlefield Size and Combat Parameters take a length by one rule: every
// flag coordinate, x or y, at most the length; the width, not kept, takes
// no part. BLUE flag (10, 70): 20 is refused down to 70; (67, 77): 70 and
// 76 are refused down to 77, 77 taken.
TEST_F(OnTheFly, BothFieldDialogsRefuseALengthThatLeavesAFlagCoordinateOffIt)
{
    const struct {
        int FlagX, FlagY, Length, Width;
        const char* Refusal;
    } cases[] = {
        {10, 70, 20, 80, "Please enter an integer between 70 and 150."},
        {67, 77, 70, 77, "Please enter an integer between 77 and 150."},
        {67, 77, 76, 77, "Please enter an integer between 77 and 150."},
        {67, 77, 77, 20, nullptr},
    };
    CBrevimarDoc& doc = Doc();
    for (const unsigned command : {V::ID_FLY_BATTLEFIELD_SIZE, V::ID_EDIT_COMBAT_PARAMETERS})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(command) + " length " + std::to_string(c.Length));
            doc.Battlefield.BattleSize = 80;
            doc.RedForce.GoalFlagX = c.FlagX;  // RED goes for the BLUE flag
            doc.RedForce.GoalFlagY = c.FlagY;
            const std::string length = std::to_string(c.Length), width = std::to_string(c.Width);
            Hooks.Reset();
            if (command == V::ID_FLY_BATTLEFIELD_SIZE)
                Hooks.AnswerDialog(IDOK, {{CBattlefieldSizeDlg::IDC_LENGTH, length},
                                          {CBattlefieldSizeDlg::IDC_WIDTH, width}});
            else
                Hooks.AnswerDialog(IDOK,
                                   {{CCombatParamsDlg::IDC_LENGTH, length}, {CCombatParamsDlg::IDC_WIDTH, width}});
            Hooks.AnswerDialog(IDCANCEL);
            ASSERT_TRUE(Run(command));
            EXPECT_EQ(doc.Battlefield.BattleSize, c.Refusal ? 80 : c.Length);
            if (c.Refusal) {
                EXPECT_EQ(Messages(c.Refusal), 1);
            }
        }
}

// A size that would leave a flag off the field, or a flag off it, is refused
// naming the least length (the BLUE flag's y, 71) or the field's size, and
// the dialog stays open; Cancel then restarts nothing. The field is square:
// the length holds the flags, the width is not kept.
TEST_F(OnTheFly, BattlefieldSizeAndFlagsAreRefusedUnlessTheFlagsStayOnTheField)
{
    using B = CBattlefieldSizeDlg;
    using F = CFlagPositionDlg;
    CBrevimarDoc& doc = Doc();
    struct Case {
        unsigned id;
        Values typed;
        int size, redFlagX;  // the RED flag is BLUE's goal
        const char* refusal;
    };
    const Case cases[] = {
        {V::ID_FLY_BATTLEFIELD_SIZE, {{B::IDC_LENGTH, "60"}, {B::IDC_WIDTH, "80"}}, 80, 5,
         "Please enter an integer between 71 and 150."},
        {V::ID_FLY_BATTLEFIELD_SIZE, {{B::IDC_LENGTH, "70"}, {B::IDC_WIDTH, "80"}}, 80, 5,
         "Please enter an integer between 71 and 150."},
        {V::ID_FLY_BATTLEFIELD_SIZE, {{B::IDC_LENGTH, "9"}}, 80, 5, "Please enter an integer between 71 and 150."},
        {V::ID_FLY_BATTLEFIELD_SIZE, {{B::IDC_LENGTH, "72"}, {B::IDC_WIDTH, "20"}}, 72, 5, nullptr},
        {V::ID_FLY_RED_FLAG, {{F::IDC_X, "0"}}, 72, 5, "Please enter an integer between 1 and 72."},
        {V::ID_FLY_RED_FLAG, {{F::IDC_X, "73"}}, 72, 5, "Please enter an integer between 1 and 72."},
        {V::ID_FLY_RED_FLAG, {{F::IDC_X, "72"}, {F::IDC_Y, "1"}}, 72, 72, nullptr},
    };
    for (const Case& c : cases) {
        doc.RunHeader.CurrentStep = 30;
        Hooks.Reset();
        Hooks.AnswerDialog(IDOK, c.typed);
        if (c.refusal)
            Hooks.AnswerDialog(IDCANCEL);
        ASSERT_TRUE(Run(c.id));
        EXPECT_EQ(doc.Battlefield.BattleSize, c.size);
        EXPECT_EQ(doc.BlueForce.GoalFlagX, c.redFlagX);
        if (c.refusal) {
            EXPECT_EQ(Messages(c.refusal), 1) << c.refusal;
        }
        EXPECT_EQ(doc.RunHeader.CurrentStep, c.refusal ? 30 : 0);
    }
    EXPECT_EQ(doc.BlueForce.GoalFlagY, 1);
    EXPECT_EQ(doc.RedForce.GoalFlagX, 70);

    // The shrunken field restarted with every agent on it.
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(side);
        ASSERT_GT(f.NumAgents, 0);
        for (int i = 1; i <= f.NumAgents; ++i) {
            EXPECT_EQ(f.AgentState[i], Alive) << i;
            EXPECT_TRUE(f.AgentX[i] >= 1 && f.AgentX[i] <= 72 && f.AgentY[i] >= 1 && f.AgentY[i] <= 72) << i;
            EXPECT_EQ(doc.Battlefield.AgentGrid[GridIndex(f.AgentX[i], f.AgentY[i])], CellAgent) << i;
        }
    }
}

TEST_F(OnTheFly, DistributionAndAdjudicationStoreSquadsAndRestart)
{
    using D = CInitialDistributionDlg;
    using A = CCombatAdjudicationDlg;
    ThreeSquads();
    CBrevimarDoc& doc = Doc();
    CBattlefield& b = doc.Battlefield;
    b.init_dist = 1;  // the boxes' own centres
    b.RED_cen_x[1] = 11;
    doc.RunHeader.CurrentStep = 12;
    Hooks.StepDialog({{IDC_SQUAD_1 + 1, "1"}, {D::IDC_CENTER_X, "151"}, {IDC_STORE_SQUAD, ""}});
    Hooks.StepDialog({{D::IDC_CENTER_X, "40"}, {D::IDC_SIZE_Y, "9"}, {IDC_STORE_SQUAD, ""}});
    Hooks.StepDialog({{IDC_SQUAD_1 + 3, "1"}});  // squad 4 of 3: stays on 2
    Hooks.AnswerDialog(IDOK, {{D::IDC_CENTER_X, "41"}});  // OK keeps the squad on show
    ASSERT_TRUE(Run(V::ID_FLY_RED_DISTRIBUTION));
    EXPECT_EQ(Messages("Please enter an integer between 1 and 150."), 1);
    EXPECT_EQ(b.RED_cen_x[2], 41);
    EXPECT_EQ(b.R_box_w[2], 9);
    EXPECT_EQ(b.RED_cen_x[1], 11);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);

    // Agent-specific weapons: the command does nothing at all.
    doc.BlueForce.WeaponAssignType = 0;
    doc.Resume();
    const int dialogs = Dialogs();
    ASSERT_TRUE(Run(V::ID_FLY_BLUE_ADJUDICATION));
    EXPECT_EQ(Dialogs(), dialogs);
    EXPECT_EQ(doc.Paused, 0);

    // A limit of 0 is allowed here; "No limit" chosen.
    doc.RunHeader.CurrentStep = 12;
    Hooks.AnswerDialog(IDOK, {{A::IDC_NO_LIMIT, "1"}, {A::IDC_MAX_ALIVE, "0"}, {A::IDC_UPDATE, ""}});
    ASSERT_TRUE(Run(V::ID_FLY_RED_ADJUDICATION));
    EXPECT_EQ(b.RedCombatUnlimited, 1);
    EXPECT_EQ(doc.RedForce.A_R_max_eng_num[1], 0);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);
}

TEST_F(OnTheFly, TerrainBlocksChangeNothingUntilOkAndTerrainToggles)
{
    using T = CTerrainParamsDlg;
    CBrevimarDoc& doc = Doc();
    CBattlefield& b = doc.Battlefield;
    const CForce& r = doc.RedForce;
    const int agentCell = GridIndex(r.AgentX[1], r.AgentY[1]);
    ASSERT_EQ(b.AgentGrid[agentCell], CellAgent);
    // Cancel: the agents' marks stay (terrain is off).
    Hooks.AnswerDialog(IDCANCEL, {{T::TypeId(1), "3"}});
    ASSERT_TRUE(Run(V::ID_EDIT_TERRAIN_BLOCKS));
    EXPECT_EQ(b.AgentGrid[agentCell], CellAgent);
    EXPECT_EQ(b.terrain_blocks, 0);

    // Terrain on with no blocks asks for them: a type-4 block of 4 x 2 at
    // (40, 40) covers x 38..42, y 39..41.
    doc.RunHeader.CurrentStep = 5;
    Hooks.AnswerDialog(IDOK, {{T::UseId(1), "1"}, {T::TypeId(1), "6"}});  // types end at 5
    Hooks.AnswerDialog(IDOK, {{T::TypeId(1), "4"}, {T::LengthId(1), "4"}, {T::WidthId(1), "2"},
                                    {T::CenterXId(1), "40"}, {T::CenterYId(1), "40"}});
    ASSERT_TRUE(Run(V::ID_TERRAIN_ON_OFF));
    EXPECT_EQ(Messages("Please enter an integer between 0 and 5."), 1);
    EXPECT_EQ(b.TerrainMode, 1);
    EXPECT_EQ(b.terrain_blocks, 1);
    EXPECT_EQ(b.TerrainModifiersOn, 1);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);
    int cells = 0;
    for (int x = 1; x <= 80; ++x)
        for (int y = 1; y <= 80; ++y)
            cells += b.TerrainType[GridIndex(x, y)] == PassableII;
    EXPECT_EQ(cells, 15);
    EXPECT_EQ(b.TerrainType[GridIndex(38, 39)], PassableII);
    EXPECT_EQ(b.TerrainType[GridIndex(42, 41)], PassableII);

    // Off clears every terrain cell; the check mark follows.
    ASSERT_TRUE(Run(V::ID_TERRAIN_ON_OFF));
    EXPECT_EQ(b.TerrainMode, 0);
    EXPECT_EQ(b.TerrainType[GridIndex(40, 40)], 0);
    EXPECT_NE(b.AgentGrid[GridIndex(40, 40)], CellTerrain);
    CCmdUI ui(V::ID_TERRAIN_ON_OFF);
    View()->MessageMap().Update(ui);
    EXPECT_FALSE(ui.Checked);
}

// Block 2 left empty between two filled ones: block 3 moves up to 2 and is
// laid, written and read back as block 2 (a 4 x 2 block at (40, 40) covers
// x 38..42, y 39..41).
TEST_F(OnTheFly, TerrainBlockAfterAnEmptyOneIsKept)
{
    using T = CTerrainParamsDlg;
    CBrevimarDoc& doc = Doc();
    CBattlefield& b = doc.Battlefield;
    Values typed = {{T::IDC_TERRAIN_ON, "1"}, {T::LengthId(2), "0"}};
    for (const auto& [k, type, x] : {std::tuple{1, Lava, 10}, std::tuple{3, PassableI, 40}})
        for (const auto& [id, value] : {std::pair{T::UseId(k), 1}, {T::TypeId(k), type}, {T::LengthId(k), 4},
                                        {T::WidthId(k), 2}, {T::CenterXId(k), x}, {T::CenterYId(k), 40}})
            typed[id] = std::to_string(value);
    Hooks.AnswerDialog(IDOK, typed);
    ASSERT_TRUE(Run(V::ID_EDIT_TERRAIN_BLOCKS));
    EXPECT_EQ(b.terrain_blocks, 2);
    EXPECT_EQ(b.TerrainType[GridIndex(42, 41)], PassableI);
    EXPECT_EQ(b.TerrainType[GridIndex(8, 39)], Lava);

    const std::string path = TempFolder() + "/kept_block.dat";
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
    b.terrain_blocks = 0;
    ASSERT_TRUE(LoadScenario(doc, path).Read);
    EXPECT_EQ(b.terrain_blocks, 2);
    EXPECT_EQ(b.TerrainBlockType[2], PassableI);
    EXPECT_EQ(b.TerrainBlockX[2], 40);
    EXPECT_EQ(b.TerrainType[GridIndex(38, 39)], PassableI);
}

TEST_F(OnTheFly, TogglesFlipTheirFieldAndMarkWithoutPausing)
{
    CBrevimarDoc& doc = Doc();
    CBattlefield& b = doc.Battlefield;
    b.TerrainMode = 1;
    const std::pair<unsigned, int*> toggles[] = {
        {V::ID_TOGGLE_RED_RECON, &b.RED_recon_flag},          {V::ID_TOGGLE_BLUE_FRATRICIDE, &b.blue_frat_flag},
        {V::ID_TOGGLE_RED_NEAREST_TERRAIN, &doc.RedForce.near_terrain_flag},
        {V::ID_TOGGLE_LINE_OF_SIGHT, &b.LineOfSightOn},
    };
    doc.Resume();
    for (const auto& [id, field] : toggles) {
        *field = 2;  // not 1: the first flip gives 1
        for (int expected : {1, 0}) {
            ASSERT_TRUE(Run(id));
            EXPECT_EQ(*field, expected) << id;
            CCmdUI ui(id);
            View()->MessageMap().Update(ui);
            EXPECT_EQ(ui.Checked, expected == 1) << id;
        }
    }
    EXPECT_EQ(doc.Paused, 0);
    ASSERT_TRUE(Run(V::ID_MOVE_ORDER_RANDOM));
    EXPECT_EQ(b.MoveOrder, 2);
    ASSERT_TRUE(Run(V::ID_MOVE_ORDER_FIXED));
    EXPECT_EQ(b.MoveOrder, 1);
    b.TerrainMode = 0;
    CCmdUI los(V::ID_TOGGLE_LINE_OF_SIGHT);
    View()->MessageMap().Update(los);
    EXPECT_FALSE(los.Enabled);
}

TEST_F(OnTheFly, SmallEditorsRefuseOutOfRangeAndHandBack)
{
    using S = CRandomSeedDlg;
    using P = CTerritorialPossessionDlg;
    using H = CSquadHighlightDlg;
    ThreeSquads();
    CBrevimarDoc& doc = Doc();
    const int state = doc.RandomState;
    Hooks.AnswerDialog(IDOK, {{S::IDC_SEED, "1"}});
    Hooks.AnswerDialog(IDOK, {{S::IDC_SEED, "-99999999"}});
    ASSERT_TRUE(Run(V::ID_RESEED_RANDOM));
    EXPECT_EQ(Messages("Please enter an integer between -99999999 and 0."), 1);
    EXPECT_EQ(doc.InitialSeed, -99999999);
    EXPECT_EQ(doc.RandomState, state);

    CBattlefield& b = doc.Battlefield;
    b.TerritoryUserArea = 1;
    b.TerritoryCenterX = 33;
    Hooks.AnswerDialog(IDOK, {{P::IDC_DELTA, "-1000"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_ENTIRE, "1"}, {P::IDC_DELTA, "-999"}, {P::IDC_RANGE, "99"},
                                    {P::IDC_MIN_COUNT, "1"}, {P::IDC_RANGE_X, "5"}, {P::IDC_RANGE_Y, "5"},
                                    {P::IDC_CENTER_Y, "5"}});
    ASSERT_TRUE(Run(V::ID_EDIT_TERRITORIAL_POSSESSION));
    EXPECT_EQ(Messages("Please enter an integer between -999 and 999."), 1);
    EXPECT_EQ(b.TerritoryDelta, -999);
    EXPECT_EQ(b.TerritoryUserArea, 0);
    EXPECT_EQ(b.TerritoryCenterX, 33);
    EXPECT_EQ(b.TerritoryRange, 99);

    doc.HighlightRedSquadNumber = doc.HighlightBlueSquadNumber = 1;
    doc.ShowOtherBlueAgents = doc.HighlightRedSquadOn = 0;
    Hooks.AnswerDialog(IDOK, {{H::IDC_BLUE_YES, "1"}, {H::IDC_BLUE_SQUAD, "11"}});
    Hooks.AnswerDialog(IDOK, {{H::IDC_RED_ON, "1"}, {H::IDC_RED_SQUAD, "7"}, {H::IDC_BLUE_SQUAD, "2"}});
    ASSERT_TRUE(Run(V::ID_EDIT_HIGHLIGHT_SQUADS));
    EXPECT_EQ(Messages("Please enter an integer between 1 and 10."), 1);
    EXPECT_EQ(doc.HighlightRedSquadNumber, 3);
    EXPECT_EQ(doc.HighlightRedSquadOn, 1);
    EXPECT_EQ(doc.ShowOtherBlueAgents, 1);
    EXPECT_EQ(doc.HighlightBlueSquadNumber, 2);

    CCommMatrixParamsDlg comm;
    SetModalHooks(comm, &Hooks);
    using C = CCommMatrixParamsDlg;
    Hooks.AnswerDialog(IDOK, {{C::IDC_SEED_ALL, "1"}, {C::IDC_LINK_PROB, "1.2"}});
    Hooks.AnswerDialog(IDOK, {{C::IDC_LINK_PROB, "0.3"}});
    ASSERT_EQ(comm.DoModal(), IDOK);
    EXPECT_EQ(comm.SeedAll, 1);
    EXPECT_EQ(comm.LinkProb, 0.3);
    CSquadMatrixParamsDlg squad;
    SetModalHooks(squad, &Hooks);
    Hooks.AnswerDialog(IDOK, {{CSquadMatrixParamsDlg::IDC_T2, "-0.1"}});
    Hooks.AnswerDialog(IDOK, {{CSquadMatrixParamsDlg::IDC_T1, "0.2"}, {CSquadMatrixParamsDlg::IDC_T2, "1"}});
    ASSERT_EQ(squad.DoModal(), IDOK);
    EXPECT_EQ(squad.T1, 0.2);
    EXPECT_EQ(squad.T2, 1.0);
    EXPECT_EQ(Messages("Please enter a number between 0 and 1."), 2);
}

}  // namespace
}  // namespace brevimar::testing
