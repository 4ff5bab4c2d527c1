// The genetic algorithm's editing dialogs, driven headless from the menu.
#include <QLabel>

#include "app/AppFixture.h"
#include "dialogs/GaEditDialogs.h"
#include "experiments/GaEngine.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using C = CAgentChromosomeDlg;
using R = CGeneMinMaxDlg;
using M = CMissionObjectiveDlg;

class GaDialogs : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        Doc().RunMode = GeneticAlgorithmMode;
    }
    bool Run(unsigned id) { return Frame().RunCommand(id); }
    CGaData& Ga() { return Doc().Ga; }
};

TEST_F(GaDialogs, EditItemsOpenTheirDialogsOnlyInTheGeneticAlgorithmMode)
{
    const std::pair<unsigned, const char*> items[] = {
        {V::ID_EDIT_GA_SEARCH_SPACE, "Edit::Specify One-Sided GA Search Space"},
        {V::ID_EDIT_GA_RUN_TIME, "Edit::Genetic Algorithm Run-Time Parameters"},
        {V::ID_EDIT_GA_GENOME, "Edit::Agent Chromosome"},
        {V::ID_EDIT_GA_GENE_RANGES, "Edit::Agent Gene Minimum/Maximum Values"},
        {V::ID_EDIT_GA_MISSION, "Edit::One-Sided Genetic Algorithm:Edit Mission Objective"},
        {V::ID_EDIT_GA_COMPOSITION_SEARCH, "Edit::Squad Composition Parameters"},
        {V::ID_EDIT_GA_SQUAD_MATRIX_SEARCH, "Edit::Squad Matrix Parameters"},
        {V::ID_EDIT_GA_COMM_MATRIX_SEARCH, "Edit::Communications Matrix Parameters"},
    };
    for (const auto& [id, caption] : items) {
        Doc().RunMode = GeneticAlgorithmMode;
        ASSERT_TRUE(Run(id)) << id;
        ASSERT_FALSE(Hooks.Log().empty());
        EXPECT_EQ(Hooks.Log().back().Title, caption);
        Doc().RunMode = 1;
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        EXPECT_FALSE(ui.Enabled) << id;
    }
    // Cancelling a structural search keeps the mode it switched to.
    EXPECT_EQ(Ga().GaSearchMode, 5);
}

TEST_F(GaDialogs, ChromosomeDialogKeepsItsGeneRules)
{
    struct Case {
        const char* what;
        std::map<int, std::string> clicks;
        std::vector<std::pair<int, int>> genes;  // gene, flag after OK
        int symmetrize;
    };
    const Case cases[] = {
        // COMBAT unchecked: its sign genes are on anyway; no minimum distance: 41 off.
        {"opened", {}, {{37, 0}, {38, 1}, {39, 0}, {40, 1}, {41, 0}}, 0},
        // A pair box sets both genes; a minimum-distance box switches 41 on.
        {"pair and distance", {{C::GeneId(9), "1"}, {C::GeneId(44), "1"}}, {{9, 1}, {10, 1}, {44, 1}, {41, 1}}, 0},
        // Symmetrize clears the injured side, except gene 40.
        {"symmetrize",
         {{C::GeneId(1), "1"}, {C::GeneId(2), "1"}, {C::GeneId(21), "1"}, {C::IDC_SYMMETRIZE, ""}},
         {{1, 1}, {2, 0}, {21, 0}, {22, 0}, {39, 0}, {40, 1}},
         1},
    };
    for (const Case& c : cases) {
        for (int g = 1; g <= GaPersonalityGenes; ++g)
            Ga().GeneOn[g] = 0;
        Ga().GaSymmetrize = 0;
        Hooks.AnswerDialog(IDOK, c.clicks);
        ASSERT_TRUE(Run(V::ID_EDIT_GA_GENOME));
        for (const auto& [gene, flag] : c.genes)
            EXPECT_EQ(Ga().GeneOn[gene], flag) << c.what << " gene " << gene;
        EXPECT_EQ(Ga().GaSymmetrize, c.symmetrize) << c.what;
    }
    // Active genes are the genes switched on, in order.
    EXPECT_EQ(Ga().ActiveGeneCount, 3);  // 1, 38, 40
    EXPECT_EQ(Ga().ActiveGenes[2], 38);
}

TEST_F(GaDialogs, NumberOfSquadsOutsideOneToTenIsRefused)
{
    for (const char* typed : {"0", "11", "16"}) {
        Ga().GaSquadCount = 2;
        Hooks.AnswerDialog(IDOK, {{C::IDC_SQUADS, typed}});  // refused: the dialog stays open, then cancels
        ASSERT_TRUE(Run(V::ID_EDIT_GA_GENOME));
        EXPECT_EQ(Ga().GaSquadCount, 2) << typed;
    }
    Hooks.AnswerDialog(IDOK, {{C::IDC_SQUADS, "10"}});
    ASSERT_TRUE(Run(V::ID_EDIT_GA_GENOME));
    EXPECT_EQ(Ga().GaSquadCount, 10);
}

TEST_F(GaDialogs, RunTimeDialogRefusesRunsThatNeverEnd)
{
    using T = CGaRunTimeParamsDlg;
    ASSERT_TRUE(Run(V::ID_RUN_MODE_GA_FIRST));  // the mode's defaults; its dialogs cancelled
    Ga().GaMaxTimeToFlag = 7;
    Hooks.AnswerDialog(IDOK, {{T::IDC_MAX_TIME, "0"}});  // refused: the dialog stays open, then cancels
    ASSERT_TRUE(Run(V::ID_EDIT_GA_RUN_TIME));
    EXPECT_EQ(Ga().GaMaxTimeToFlag, 7);
    Hooks.AnswerDialog(IDOK, {{T::IDC_MAX_TIME, "1"}});
    ASSERT_TRUE(Run(V::ID_EDIT_GA_RUN_TIME));
    EXPECT_EQ(Ga().GaMaxTimeToFlag, 1);
}

TEST_F(GaDialogs, RunTimeChoiceKeepsTheTypedPopulation)
{
    using T = CGaRunTimeParamsDlg;
    ASSERT_TRUE(Run(V::ID_RUN_MODE_GA_FIRST));
    Ga().GaPopulationSize = 20;
    Ga().GaBestToFile = 1;
    Hooks.StepDialog({{T::IDC_POPULATION, "30"}});
    Hooks.AnswerDialog(IDOK, {{T::IDC_BEST_NO, "1"}});
    ASSERT_TRUE(Run(V::ID_EDIT_GA_RUN_TIME));
    EXPECT_EQ(Ga().GaPopulationSize, 30);
    EXPECT_EQ(Ga().GaBestToFile, 0);
}

TEST_F(GaDialogs, RangeRowsSetTheirGeneAndTheGeneTheyAreCopiedTo)
{
    ASSERT_TRUE(Run(V::ID_RUN_MODE_GA_FIRST));  // the mode's default ranges; its dialogs cancelled
    Ga().GeneMin[10] = 0.25, Ga().GeneMax[10] = 0.75;
    Ga().GaPopulationSize = 4;
    Hooks.AnswerDialog(IDOK, {{R::MinId(1), "2"}, {R::MaxId(1), "5"}, {R::MinId(9), "2"}, {R::MaxId(9), "5"},
                                    {R::IDC_THRESHOLD, "3.5"}});
    ASSERT_TRUE(Run(V::ID_EDIT_GA_GENE_RANGES));
    for (int gene : {1, 2, 9, 21}) {
        EXPECT_EQ(Ga().GeneMin[gene], 2.0) << gene;
        EXPECT_EQ(Ga().GeneMax[gene], 5.0) << gene;
    }
    EXPECT_EQ(Ga().GeneMin[10], 0.25);
    EXPECT_EQ(Ga().GeneMax[10], 0.75);
    EXPECT_EQ(Ga().GaWeightThreshold, 3.5);
    // The redrawn population lies inside the new ranges.
    for (int m = 0; m < 4; ++m)
        for (int gene : {1, 2, 9, 21}) {
            const double v = Doc().GaRecords->GaPopulation[m].Gene[1][gene];
            EXPECT_GE(v, 2.0);
            EXPECT_LE(v, 5.0);
        }
}

TEST_F(GaDialogs, SearchSpaceCommandsNumberTheirDialogs)
{
    const struct {
        unsigned id;
        std::vector<std::string> titles;
    } commands[] = {
        {V::ID_RUN_MODE_GA_FIRST,  // mode 1: run time, mission, chromosome, ranges
         {"Edit::Genetic Algorithm Run-Time Parameters (1 of 4)",
          "Edit::One-Sided Genetic Algorithm:Edit Mission Objective (2 of 4)", "Edit::Agent Chromosome (3 of 4)",
          "Edit::Agent Gene Minimum/Maximum Values (4 of 4)"}},
        {V::ID_RUN_MODE_GA_FIRST + 5,  // mode 6: run time, mission, squad matrix
         {"Edit::Genetic Algorithm Run-Time Parameters (1 of 3)",
          "Edit::One-Sided Genetic Algorithm:Edit Mission Objective (2 of 3)",
          "Edit::Squad Matrix Parameters (3 of 3)"}},
        {V::ID_EDIT_GA_RUN_TIME, {"Edit::Genetic Algorithm Run-Time Parameters"}},  // alone again
    };
    for (const auto& c : commands) {
        Hooks.Reset();
        ASSERT_TRUE(Run(c.id));
        std::vector<std::string> titles;
        for (const ModalRecord& r : Hooks.Log())
            titles.push_back(r.Title);
        EXPECT_EQ(titles, c.titles);
    }
}

TEST_F(GaDialogs, WeightRowsSayTheyBoundTheMagnitude)
{
    // A weight gene holds |w|, its sign gene the sign: the displays show -Max..Max.
    R dialog(Doc());
    bool said = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        said = said || label->text().contains("from -Max to Max");
    EXPECT_TRUE(said);
}

TEST_F(GaDialogs, MissionWeightsAreNormalisedAndASumOfZeroIsRefused)
{
    struct Case {
        int rule;
        std::vector<std::string> typed;  // weights 1..3, the rest 0
        std::vector<double> stored;      // refused: the weights before, 0.5, 0.5, 0
    };
    const Case cases[] = {
        {4, {"10", "0", "30"}, {0, 0, 1}},          // weight 1 cleared before dividing by 30
        {1, {"10", "0", "30"}, {0.25, 0, 0.75}},    // 10/40, 30/40
        {4, {"10", "0", "0"}, {0.5, 0.5, 0}},       // sum 0 after clearing: refused
        {1, {"0", "0", "0"}, {0.5, 0.5, 0}},        // sum 0: refused
    };
    for (const Case& c : cases) {
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            Ga().MissionWeight[k] = k <= 2 ? 0.5 : 0;
        Hooks.Reset();
        Ga().GaTerminationRule = c.rule;
        std::map<int, std::string> values;
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            values[M::WeightId(k)] = k <= 3 ? c.typed[k - 1] : "0";
        Ga().MissionUsed[2] = 0;
        values[M::UseId(2)] = "1";
        Hooks.AnswerDialog(IDOK, values);
        ASSERT_TRUE(Run(V::ID_EDIT_GA_MISSION));
        for (int k = 1; k <= 3; ++k)
            EXPECT_DOUBLE_EQ(Ga().MissionWeight[k], c.stored[k - 1]) << c.typed[0] << " rule " << c.rule << " k " << k;
        const bool refused = c.stored[0] == 0.5;
        EXPECT_EQ(Ga().MissionUsed[2], refused ? 0 : 1);
        bool told = false;
        for (const ModalRecord& r : Hooks.Log())
            told = told || (r.Kind == ModalKind::MessageBox && r.Text.find("weight") != std::string::npos);
        EXPECT_EQ(told, refused) << c.typed[0] << " rule " << c.rule;
    }
}

// A GA file and the mission dialog take the same weights alike: what the
// file sets, the dialog confirms unchanged; the weights the file is refused
// for, the dialog refuses when typed; typed weights the file held are stored
// as the file stored them.
TEST_F(GaDialogs, MissionDialogAgreesWithTheGaFile)
{
    auto file = [](int rule, const std::string& w1, const std::string& w3) {
        std::string text = "a b c d e f g 1 s 0 n 1 p 2 g 1 ic 1 t 5 pw 2 b 0 r 0 r 0 c 0.5 m 0.1 a b c d e f";
        text += " w1 " + w1 + " w 0 w " + w3;
        for (int k = 4; k <= 10; ++k)
            text += " w 0";
        // Every gene 0 1 1: a range every dialog row and switch allows.
        text += " rule " + std::to_string(rule) + " r 10 n 10 f 0.5 a b c d e g1 0 1 1";
        for (int g = 2; g <= 63; ++g)
            text += " g 0 1 1";
        return text;
    };
    struct Case {
        int rule;
        const char *w1, *w3;
    };
    const Case cases[] = {{4, "100", "1"}, {4, "5", "0"}, {1, "100", "1"}};
    auto toldOfWeights = [this] {
        for (const ModalRecord& r : Hooks.Log())
            if (r.Kind == ModalKind::MessageBox && r.Text.find("weight") != std::string::npos)
                return true;
        return false;
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.rule) + " " + c.w1 + " " + c.w3;
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            Ga().MissionWeight[k] = k == 2 ? 1 : 0;
        std::string problem;
        const bool read = ReadGaInputFile(Doc(), file(c.rule, c.w1, c.w3), problem);
        Ga().GaTerminationRule = c.rule;
        double fromFile[GaPrimitiveSlots] = {};
        std::copy(std::begin(Ga().MissionWeight), std::end(Ga().MissionWeight), fromFile);
        if (read) {
            Hooks.Reset();
            Hooks.AnswerDialog(IDOK);
            ASSERT_TRUE(Run(V::ID_EDIT_GA_MISSION));
            EXPECT_FALSE(toldOfWeights()) << what;
            // The edits show 15 significant digits.
            for (int k = 1; k <= GaPrimitiveCount; ++k)
                EXPECT_NEAR(Ga().MissionWeight[k], fromFile[k], 1e-12) << what << " k " << k;
        }
        Hooks.Reset();
        std::map<int, std::string> typed;
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            typed[M::WeightId(k)] = k == 1 ? c.w1 : k == 3 ? c.w3 : "0";
        Hooks.AnswerDialog(IDOK, typed);
        ASSERT_TRUE(Run(V::ID_EDIT_GA_MISSION));
        EXPECT_EQ(toldOfWeights(), !read) << what << ": " << problem;
        for (int k = 1; k <= GaPrimitiveCount; ++k)
            EXPECT_DOUBLE_EQ(Ga().MissionWeight[k], fromFile[k]) << what << " k " << k;
    }
}

TEST_F(GaDialogs, StructuralSearchesDrawTheirPopulationAfterOk)
{
    using Q = CSquadCompositionParamsDlg;
    Ga().GaPopulationSize = 5;
    Ga().GaSearchSquadMatrix = 1;
    Hooks.AnswerDialog(IDOK, {{Q::IDC_MAX_SQUADS, "4"}, {Q::IDC_TOTAL, "20"}, {Q::IDC_SEARCH_MATRIX, "0"}});
    ASSERT_TRUE(Run(V::ID_EDIT_GA_COMPOSITION_SEARCH));
    EXPECT_EQ(Ga().GaSearchMode, 3);
    EXPECT_EQ(Doc().RedForce.NumAgents, 20);
    EXPECT_EQ(Ga().ActiveGeneCount, 11);  // bits 1..3 and sizes 4..11
    for (int m = 0; m < 5; ++m) {
        const double* gene = Doc().GaRecords->GaPopulation[m].Gene[1];
        double agents = 0;
        for (int g = 4; g <= 11; ++g)
            agents += gene[g];
        EXPECT_EQ(agents, 20.0) << m;  // the sizes partition the whole force
        for (int g = 12; g <= 75; ++g)
            ASSERT_EQ(gene[g], 1.0) << m << " gene " << g;
    }

    // Seeding every link: member 0 has all links, the communications matrices are cleared.
    Ga().GaSeedAllLinks = 1;
    Ga().GaLinkProbability = 0;
    Doc().RedForce.NumSquads = 2;
    Doc().RedForce.CommMatrix[1][2] = 1;
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Run(V::ID_EDIT_GA_COMM_MATRIX_SEARCH));
    EXPECT_EQ(Ga().GaSearchMode, 5);
    EXPECT_EQ(Ga().ActiveGeneCount, 4);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(Doc().GaRecords->GaPopulation[0].Gene[1][Ga().ActiveGenes[k]], 1.0);
        EXPECT_EQ(Doc().GaRecords->GaPopulation[1].Gene[1][Ga().ActiveGenes[k]], 0.0);
    }
    EXPECT_EQ(Doc().RedForce.CommMatrix[1][2], 0);
    EXPECT_EQ(Doc().CommMatricesSet, 1);
}

}  // namespace
}  // namespace brevimar::testing
