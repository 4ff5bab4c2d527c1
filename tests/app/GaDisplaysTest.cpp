// The genetic algorithm's displays and its progress chart, driven headless.
#include <QCoreApplication>
#include <QEvent>

#include <functional>
#include <map>

#include "app/AppFixture.h"
#include "app/ResourceIds.h"
#include "charts/MissionFitnessGraph.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/ChromosomeDisplays.h"
#include "dialogs/CombatParamsDlg.h"
#include "dialogs/GaEditDialogs.h"
#include "dialogs/MissionFitnessGraphOptionsDlg.h"
#include "dialogs/RangeOptionDlgs.h"
#include "dialogs/SquadSections.h"
#include "experiments/GaEngine.h"
#include "run/ScenarioLoad.h"
#include "support/TestFiles.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using D = CChromosomeDisplayDlg;
using X = CMatrixDisplayDlg;
using namespace chart;

class GaDisplays : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        Doc().RunMode = GeneticAlgorithmMode;
    }
    bool Run(unsigned id) { return Frame().RunCommand(id); }
    std::string Scratch(const std::string& name)
    {
        return TempFolder() + "/" + name;  // one file a test
    }
};

TEST_F(GaDisplays, ModesWithoutADisplayOnlyPause)
{
    for (int mode : {4, 7, 8}) {
        Doc().Ga.GaSearchMode = mode;
        Doc().Resume();
        const std::size_t before = Hooks.Log().size();
        ASSERT_TRUE(Run(V::ID_DISPLAY_GA_BEST));
        ASSERT_TRUE(Run(V::ID_DISPLAY_GA_CURRENT));
        EXPECT_EQ(Hooks.Log().size(), before) << mode;
        EXPECT_EQ(Doc().Paused, 1);
    }
    Doc().RunMode = 1;
    for (unsigned id : {V::ID_DISPLAY_GA_BEST, V::ID_DISPLAY_GA_CURRENT, V::ID_DISPLAY_GA_SUMMARY, V::ID_GA_FITNESS_GRAPH}) {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        EXPECT_FALSE(ui.Enabled) << id;
    }
}

// The best chromosome shown and saved from the menu loads back with RED's
// evolved squad values; the BEST display's OK marks it as shown.
TEST_F(GaDisplays, BestChromosomeIsShownAndSavedAsAScenarioThatLoadsBack)
{
    ASSERT_TRUE(Run(V::ID_RUN_MODE_GA_FIRST));  // mode 1, dialogs cancelled
    CBrevimarDoc& doc = Doc();
    CGaMember& best = doc.GaRecords->GaPopulation[doc.Ga.GaPopulationSize];
    for (int g = 1; g <= GaPersonalityGenes; ++g)
        doc.Ga.GeneOn[g] = 0;
    doc.Ga.GeneOn[1] = 1;  // sensor range alive: gene 1 decodes to its integer part
    best.Gene[1][1] = 17.6;
    best.Fitness = 0.25;
    const std::string path = Scratch("best.dat");
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Run(V::ID_DISPLAY_GA_BEST));
    EXPECT_EQ(doc.Ga.GaBestShown, 1);
    EXPECT_EQ(Hooks.Log().at(Hooks.Log().size() - 2).Title, "Display::Show BEST Chromosome");

    // CURRENT's OK clears the mark.
    Hooks.AnswerDialog(IDCANCEL);
    ASSERT_TRUE(Run(V::ID_DISPLAY_GA_CURRENT));
    EXPECT_EQ(Doc().Ga.GaBestShown, 1);
    Hooks.AnswerDialog(IDOK);
    Hooks.CancelFile();
    ASSERT_TRUE(Run(V::ID_DISPLAY_GA_CURRENT));
    EXPECT_EQ(Doc().Ga.GaBestShown, 0);

    CBrevimarDoc& loaded = doc;
    const int blueAgents = doc.BlueForce.NumAgents;
    ASSERT_TRUE(LoadScenario(loaded, path).Read);
    EXPECT_EQ(loaded.RedForce.A_S_RANGE[1], 17);
    EXPECT_EQ(loaded.BlueForce.NumAgents, blueAgents);
}

TEST_F(GaDisplays, CurrentChromosomeShowsTheRedSquads)
{
    CBrevimarDoc& doc = Doc();
    CForce& red = doc.RedForce;
    red.NumSquads = 3;
    red.A_R_B_min_dist[3] = 4.9f;
    red.A_R_max_eng_num[2] = 3;
    doc.RedLocal.w7 = 50;
    doc.Battlefield.RedCombatUnlimited = 1;
    CShowCurrentChromosomeDlg dialog(doc);
    SetModalHooks(dialog, &Hooks);
    dialog.OnInitDialog();
    const struct {
        const char* typed;
        int squad;
    } picks[] = {{"7", 3}, {"0", 1}, {"2", 2}};
    for (const auto& p : picks) {
        dialog.SetDlgItemText(D::IDC_SQUAD, p.typed);
        dialog.OnShowSquad();
        EXPECT_EQ(dialog.SelectedSquad, p.squad) << p.typed;
    }
    EXPECT_EQ(dialog.GetDlgItemText(D::IDC_MAX_TARGETS), "999");
    EXPECT_EQ(dialog.GetDlgItemText(D::IDC_MAX_TARGETS + 1), "999");
    dialog.SetDlgItemText(D::IDC_SQUAD, "3");
    dialog.OnShowSquad();
    EXPECT_EQ(dialog.GetDlgItemText(D::IDC_MIN_BLUE), "4");
    EXPECT_EQ(dialog.GetDlgItemText(D::IDC_LC), "50");
    EXPECT_EQ(dialog.GetDlgItemText(D::IDC_LC + 1), "50");
}

TEST_F(GaDisplays, MatrixDisplaysSaveOnlyWhenClosedWithOk)
{
    CBrevimarDoc& doc = Doc();
    doc.RedForce.NumSquads = 6;
    for (int i = 1; i < SquadSlots; ++i)
        for (int j = 1; j < SquadSlots; ++j)
            doc.RedForce.CommMatrix[i][j] = 1;

    const int shown = FileDialogsShown();
    doc.Ga.GaSearchMode = 3;
    Hooks.StepDialog({{X::IDC_SAVE_MATRIX, ""}});
    Hooks.AnswerDialog(IDCANCEL);
    ASSERT_TRUE(Run(V::ID_DISPLAY_GA_CURRENT));
    EXPECT_EQ(FileDialogsShown(), shown);

    // CURRENT in mode 5: RED's 6 x 6 block, the rest 0, then the writer.
    doc.Ga.GaSearchMode = 5;
    Hooks.StepDialog({{X::IDC_SAVE_MATRIX, ""}});
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerFile(Scratch("current.cmw"));
    ASSERT_TRUE(Run(V::ID_DISPLAY_GA_CURRENT));
    EXPECT_EQ(FileDialogsShown(), shown + 1);
    const CGaDecoded& ga = doc.Ga.GaBestDecoded;
    EXPECT_EQ(ga.CommMatrix[6][6], 1);
    EXPECT_EQ(ga.CommMatrix[7][1], 0);
    EXPECT_EQ(ga.CommMatrix[1][10], 0);
}

TEST_F(GaDisplays, SummaryWindowIsFreedWhenClosed)
{
    Doc().Experiment.GaGeneration = 3;
    Doc().Ga.GaBestFitness = 0.5;
    ASSERT_TRUE(Run(V::ID_DISPLAY_GA_SUMMARY));
    auto* summary = dynamic_cast<CGaSearchSummaryDlg*>(View()->LastChartWindow.data());
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(summary->isVisible());
    EXPECT_EQ(summary->GetDlgItemText(CGaSearchSummaryDlg::IDC_GENERATION), "3");
    EXPECT_EQ(summary->GetDlgItemText(CGaSearchSummaryDlg::IDC_BEST), "0.5");
    summary->OnOK();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(View()->LastChartWindow.isNull());
}

// The reference scenario saved as it loads; then a multi-squad personality
// GA of 4 members over 3 generations run on it, and its best chromosome
// shown with OK (the OK asks for a file; none is given).
class BestShownThen : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Small);
        ASSERT_TRUE(Start());
        Hooks.AnswerFile(Before);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
        ASSERT_TRUE(ReadTextFile(Before, &BeforeText));
    }
    void ShowBest()
    {
        using P = CGaRunTimeParamsDlg;
        Hooks.AnswerDialog(IDOK, {{P::IDC_POPULATION, "4"}, {P::IDC_GENERATIONS, "3"}});
        ASSERT_TRUE(Run(V::ID_RUN_MODE_GA_FIRST + 1));
        ASSERT_TRUE(Run(V::ID_RUN));
        for (int tick = 0; tick < 3; ++tick)
            View()->OnTimer(V::RunTimerId);
        Hooks.AnswerDialog(IDOK);
        Hooks.CancelFile();
        View()->OnTimer(V::RunTimerId);  // the GA has ended: its best chromosome is shown
        ASSERT_EQ(Doc().Ga.GaBestShown, 1);
        // The file's A:F_RANGE of squad 2 is 3: the GA's differs, or no test
        // here could fail.
        ASSERT_NE(Doc().Ga.GaBestDecoded.A_F_RANGE[2], 3);
    }
    bool Run(unsigned id) { return Frame().RunCommand(id); }
    std::string Written(const std::string& path)
    {
        std::string text;
        EXPECT_TRUE(ReadTextFile(path, &text)) << path;
        return text;
    }
    const std::string Small = std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat";
    const std::string Folder = TempFolder();
    const std::string Before = Folder + "/before.dat";
    std::string BeforeText;
};

// A scenario shown afterwards is no longer the best chromosome's: saved, it
// is the file it came from, whichever way it came.
TEST_F(BestShownThen, AScenarioShownAfterwardsIsSavedAsRead)
{
    // 10 x 10, 1 RED and 1 BLUE agent, one step: RED alive at (3, 4), BLUE
    // alive at (7, 8).
    std::string bytes;
    for (const std::int32_t v : {10, 1, 1, 1, 1, 2, 3, 4, 2, 7, 8})
        for (int b = 0; b < 4; ++b)
            bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
    const std::string history = testing::WriteTemp("history.brv", bytes);
    const struct {
        const char* way;
        std::function<void()> show;
    } ways[] = {
        {"Load Input Data File", [&] {
             Hooks.AnswerFile(Small);
             ASSERT_TRUE(Run(ID_FILE_LOAD_INPUT_DATA));
         }},
        {"a document file by File/Open", [&] {
             Hooks.AnswerFile(history);
             ASSERT_TRUE(Run(ID_FILE_OPEN));
             ASSERT_EQ(Doc().RunMode, ReplayMode);
             ASSERT_TRUE(Run(V::ID_RUN_MODE_INTERACTIVE));  // where the scenario can be saved
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        ShowBest();
        way.show();
        const std::string after = Folder + "/after.dat";
        Hooks.AnswerFile(after);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
        EXPECT_EQ(Written(after), BeforeText);
    }
}

// With no file read, the interactive run fights with the scenario's own
// values: a RUN file captured then holds them ahead of its frames.
TEST_F(BestShownThen, ARunCapturedAfterwardsHoldsTheScenarioItWasFoughtUnder)
{
    ShowBest();
    ASSERT_TRUE(Run(V::ID_RUN_MODE_INTERACTIVE));
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_RUN));
    for (int tick = 0; tick < 3; ++tick) {
        Doc().Resume();
        View()->OnTimer(V::RunTimerId);
    }
    const std::string path = Folder + "/battle.run";
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Run(V::ID_FILE_STOP_RUN_CAPTURE));
    EXPECT_EQ(Written(path).substr(0, BeforeText.size() + 1), BeforeText + "\n");
}

// `text` with the first `from` in the side's agent section made `to`.
std::string Edited(std::string text, Side side, const std::string& from, const std::string& to)
{
    const std::size_t section = text.find(side == Side::Red ? "* RED VORLAX" : "* BLUE VORLAX");
    const std::size_t at = section == std::string::npos ? section : text.find(from, section);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// `text` with its one `from` made `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from + "\n");
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Edit > RED Data > User-Defined (Click w/Right Mouse Button).
constexpr unsigned RedPlacementByHand = 33230;

// Once the best chromosome was shown, a save writes the GA's twelve RED rows
// until a command changes one of RED's values; from then on it writes what
// the dialogs show. small.dat gives squads 1 and 2 of both sides alive
// sensor range 5, alive fire range 3 and alive w6 35 and 45, 25 agents a
// squad and both fratricide probabilities 0.
TEST_F(BestShownThen, ACommandThatChangesRedsValuesEndsTheMarkAndNoOtherDoes)
{
    const std::string agents = Folder + "/agents.agt";
    Hooks.AnswerFile(agents);
    ASSERT_TRUE(Run(V::ID_FILE_SAVE_AGENT_DATA));
    const std::string sensor = "A:S_RANGE          5 5", fire = "A:F_RANGE          3 3";
    const std::string sensor9 = "A:S_RANGE          9 5", fire4 = "A:F_RANGE          4 3";
    using Typed = std::map<int, std::string>;
    const auto ok = [this](unsigned id, Typed typed) {
        return [this, id, typed] {
            Hooks.AnswerDialog(IDOK, typed);
            ASSERT_TRUE(Run(id));
        };
    };
    const auto best = [](const std::string& text) { return text; };
    const auto takeOffAgent1 = [this] {
        ASSERT_TRUE(Run(RedPlacementByHand));
        const CBrevimarDoc& doc = Doc();
        const CBattlefieldGeometry g = BattlefieldGeometry(doc);
        const double half = g.CellWidth * g.Zoom / 2;
        View()->OnRButtonUp(0, QPoint(static_cast<int>(g.WindowX(doc.RedForce.AgentX[1]) + half),
                                      static_cast<int>(g.WindowY(doc.RedForce.AgentY[1]) + half)));
        ASSERT_EQ(doc.RedForce.AgentState[1], Dead);
    };
    const auto agent1TakenOff = [this](const std::string&) {
        return Edited(Edited(BeforeText, Side::Red, "num_reds          50", "num_reds          49"), Side::Red,
                      "num_per_squad     25 25", "num_per_squad     24 25");
    };
    const struct {
        const char* Name;
        std::function<void()> Command;
        // What the save after it holds, from the save before it (the best
        // rows) when the mark stays.
        std::function<std::string(const std::string&)> Saved;
    } cases[] = {
        {"RED agents: squad 1's sensor range 9, fire range 4",
         ok(V::ID_EDIT_RED_AGENTS, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "9"}, {CAgentParamsDlg::IDC_FIRE_ALIVE, "4"}}),
         [&](const std::string&) { return Edited(Edited(BeforeText, Side::Red, sensor, sensor9), Side::Red, fire, fire4); }},
        {"RED agents, OK on what it showed", ok(V::ID_EDIT_RED_AGENTS, {}), best},
        {"RED agents cancelled", [this] {
             Hooks.AnswerDialog(IDCANCEL, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "9"}});
             ASSERT_TRUE(Run(V::ID_EDIT_RED_AGENTS));
         }, best},
        {"BLUE agents: squad 1's sensor range 9",
         ok(V::ID_EDIT_BLUE_AGENTS, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "9"}}),
         [&](const std::string& before) { return Edited(before, Side::Blue, sensor, sensor9); }},
        {"On the Fly, RED sensor range 9", ok(V::ID_FLY_RED_SENSOR, {{CSquadRangeDlg::IDC_ALIVE, "9"}}),
         [&](const std::string&) { return Edited(BeforeText, Side::Red, sensor, sensor9); }},
        {"On the Fly, RED personality: alive w6 -3", ok(V::ID_FLY_RED_PERSONALITY, {{WeightAliveId(W6), "-3"}}),
         [&](const std::string&) {
             return Edited(BeforeText, Side::Red, "w6_a:R_B_goal      35 45", "w6_a:R_B_goal      -3 45");
         }},
        {"RED's agents read from an agent file", [&] {
             Hooks.AnswerFile(agents);
             ASSERT_TRUE(Run(V::ID_FILE_LOAD_AGENT_DATA));
         }, [&](const std::string&) { return BeforeText; }},
        {"Combat Parameters: RED fratricide probability 0.5",
         ok(V::ID_EDIT_COMBAT_PARAMETERS, {{CCombatParamsDlg::SideId(Side::Red, CCombatParamsDlg::FRATRICIDE_PROB), "0.5"}}),
         [&](const std::string&) { return Replaced(BeforeText, "red_frat_prob     0", "red_frat_prob     0.5"); }},
        {"Combat Parameters: BLUE fratricide probability 0.5, a general line of BLUE's",
         ok(V::ID_EDIT_COMBAT_PARAMETERS, {{CCombatParamsDlg::SideId(Side::Blue, CCombatParamsDlg::FRATRICIDE_PROB), "0.5"}}),
         [&](const std::string& before) { return Replaced(before, "blue_frat_prob    0", "blue_frat_prob    0.5"); }},
        {"A RED agent placed by a right click, in squad 1",
         [&] {
             ASSERT_TRUE(Run(RedPlacementByHand));
             PlaceByHand(1);
         },
         [&](const std::string&) {
             return Edited(Edited(BeforeText, Side::Red, "num_reds          50", "num_reds          51"), Side::Red,
                           "num_per_squad     25 25", "num_per_squad     26 25");
         }},
        // RED agent 1 (squad 1) taken off: a save holds 24 + 25.
        {"RED agent 1 taken off by a right click", takeOffAgent1, agent1TakenOff},
        // Taken off while a RUN capture records frames, whose file keeps the
        // agent: a save without frames after the capture holds 24 + 25 too,
        // and not the best rows.
        {"RED agent 1 taken off by a right click while a capture records frames",
         [&] {
             ASSERT_TRUE(Run(V::ID_FILE_SAVE_RUN));
             for (int tick = 0; tick < 3; ++tick) {
                 Doc().Resume();
                 View()->OnTimer(V::RunTimerId);
             }
             ASSERT_GT(Doc().CapturedFrames(), 0);
             takeOffAgent1();
             Hooks.AnswerFile(Folder + "/battle.run");
             ASSERT_TRUE(Run(V::ID_FILE_STOP_RUN_CAPTURE));
         },
         agent1TakenOff},
    };
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (first) {
            ShowBest();
            ASSERT_TRUE(Run(V::ID_RUN_MODE_INTERACTIVE));
            first = false;
        } else {
            // The scenario as it was read, and the best chromosome of the
            // run above confirmed again.
            Hooks.AnswerFile(Small);
            ASSERT_TRUE(Run(ID_FILE_LOAD_INPUT_DATA));
            Doc().Ga.GaBestShown = 1;
        }
        const std::string shown = Folder + "/shown.dat", after = Folder + "/after.dat";
        Hooks.AnswerFile(shown);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
        const std::string bestRows = Written(shown);
        ASSERT_NE(bestRows, BeforeText);
        c.Command();
        Hooks.AnswerFile(after);
        ASSERT_TRUE(Run(V::ID_FILE_SAVE_INPUT_DATA));
        EXPECT_EQ(Written(after), c.Saved(bestRows));
    }
}

double Point(const CMissionFitnessGraphDlg& w, Prop prop, int s, int p)
{
    return GetProperty(w.Graph.GraphHandle, prop, s, p).ToDouble();
}

// Four generations run. The histories hold generations 1..3 (best 0.2,
// 0.4, 0.6 ...; a generation's figures are filed when the next one is bred,
// the best so far one entry ahead); the fourth is the population as it
// stands: fitness 0.5, 0.8 and 0.3, the best so far 0.8, the status line's
// F_max. The chart ends with it: best 0.8, worst 0.3, average 1.6 / 3.
TEST_F(GaDisplays, FitnessChartDrawsTheChosenHistoriesToTheLastGeneration)
{
    CBrevimarDoc& doc = Doc();
    CGaData& ga = doc.Ga;
    for (int g = 1; g <= 3; ++g) {
        ga.GaGenBest[g] = 0.2 * g, ga.GaGenWorst[g] = 0.05 * g, ga.GaGenAverage[g] = 0.1 * g;
        ga.GaBestHistory[g] = g == 1 ? 0 : 0.2 * (g - 1);
    }
    ga.GaBestHistory[4] = 0.6;
    ga.GaPopulationSize = 3;
    CGeneticAlgorithm engine(doc);
    const double fitness[] = {0.5, 0.8, 0.3};
    for (int m = 0; m < 3; ++m)
        engine.Member(m).Fitness = fitness[m];
    engine.Best().Fitness = 0.8;
    doc.RunHeader.CurrentStep = doc.Experiment.GaGeneration = 4;  // generations completed
    ASSERT_NE(engine.GaStatusLine().find("[ F_max ]: 8000 / 10000"), std::string::npos);
    Hooks.AnswerDialog(IDOK, {{CMissionFitnessGraphOptionsDlg::IDC_GEN_WORST, "1"},
                                    {CMissionFitnessGraphOptionsDlg::IDC_AVERAGE, "1"}});
    ASSERT_TRUE(Run(V::ID_GA_FITNESS_GRAPH));
    auto* w = dynamic_cast<CMissionFitnessGraphDlg*>(View()->LastChartWindow.data());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(GetProperty(w->Graph.GraphHandle, Prop::NumSets, 0, 0).ToInt(), 4);
    // One point per generation at x = 1..4, nothing before or after.
    EXPECT_EQ(GetProperty(w->Graph.GraphHandle, Prop::NumPoints, 0, 0).ToInt(), 4);
    const struct {
        int set;
        double y[4];
    } sets[] = {{0, {0.2, 0.4, 0.6, 0.8}},
                {1, {0.05, 0.1, 0.15, 0.3}},
                {2, {0.2, 0.4, 0.6, 0.8}},
                {3, {0.1, 0.2, 0.3, 1.6 / 3}}};
    for (const auto& s : sets) {
        for (int p = 0; p < 4; ++p) {
            EXPECT_DOUBLE_EQ(Point(*w, Prop::GraphData, s.set, p), s.y[p]) << s.set << " " << p;
            EXPECT_DOUBLE_EQ(Point(*w, Prop::XPosData, s.set, p), p + 1.0) << s.set << " " << p;
        }
        EXPECT_FALSE(HasProperty(w->Graph.GraphHandle, Prop::GraphData, s.set, 4));
    }
    EXPECT_DOUBLE_EQ(Point(*w, Prop::YAxisMax, 0, 0), 0.8);

    // The longest GA a file or the dialog allows, 999 generations, ends on
    // the population as it stands too.
    doc.RunHeader.CurrentStep = doc.Experiment.GaGeneration = GaMaxGenerations;
    w = new CMissionFitnessGraphDlg(View(), doc);
    EXPECT_EQ(GetProperty(w->Graph.GraphHandle, Prop::NumPoints, 0, 0).ToInt(), 999);
    EXPECT_DOUBLE_EQ(Point(*w, Prop::XPosData, 0, 998), 999.0);
    EXPECT_DOUBLE_EQ(Point(*w, Prop::GraphData, 0, 998), 0.8);

    // Before the first generation, no point and the y axis 0..1.
    doc.RunHeader.CurrentStep = doc.Experiment.GaGeneration = 0;
    w = new CMissionFitnessGraphDlg(View(), doc);
    EXPECT_FALSE(HasProperty(w->Graph.GraphHandle, Prop::GraphData, 0, 0));
    EXPECT_DOUBLE_EQ(Point(*w, Prop::YAxisMax, 0, 0), 1.0);
    EXPECT_DOUBLE_EQ(Point(*w, Prop::YAxisMin, 0, 0), 0.0);
}

}  // namespace
}  // namespace brevimar::testing
