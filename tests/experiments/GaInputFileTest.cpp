// The GA input file: what it sets, and files that must be refused without
// touching the document.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "experiments/GaEngine.h"
#include "support/DocumentBytes.h"
#include "support/TestDocument.h"

namespace brevimar::testing {
namespace {

struct GaFileValues {
    std::string Mode = "2", Symmetrize = "0", Squads = "3", Population = "6", Generations = "20",
                Conditions = "4", MaxTime = "40", Power = "2", BestToFile = "1", Reserved1 = "7", Reserved2 = "8",
                Crossover = "0.6", Mutation = "0.05";
    std::string Weights[10] = {"0", "0", "2", "0", "0", "0", "0", "0", "0", "2"};
    std::string Rule = "2", Range = "5.5", Number = "3", Fraction = "0.25";
    std::vector<int> GenesOn = {1, 2, 9};
};

// A file laid out as users write it: labels and comment words before each value.
std::string GaFileText(const GaFileValues& v, const std::string& label = "label")
{
    std::ostringstream out;
    out << "* GA Input Data File *\nsearch_space " << v.Mode << "\n";
    const std::string ints[] = {v.Symmetrize, v.Squads, v.Population, v.Generations, v.Conditions, v.MaxTime,
                                v.Power, v.BestToFile, v.Reserved1, v.Reserved2, v.Crossover, v.Mutation};
    for (const std::string& value : ints)
        out << label << ' ' << value << '\n';
    out << "* MISSION WEIGHTS (w1 .. w10)\nw1 " << v.Weights[0] << '\n';
    for (int k = 1; k < 10; ++k)
        out << "w" << k + 1 << ' ' << v.Weights[k] << '\n';
    out << "rule " << v.Rule << "\nrange " << v.Range << "\nnumber " << v.Number << "\nfraction " << v.Fraction
        << "\n* GENES: on min max\ngene1 ";
    for (int g = 1; g <= 63; ++g) {
        if (g > 1)
            out << "gene" << g << ' ';
        const bool on = std::find(v.GenesOn.begin(), v.GenesOn.end(), g) != v.GenesOn.end();
        out << (on ? 1 : 0) << ' ' << g << ' ' << (g == 5 ? g : g + 0.5) << '\n';
    }
    return out.str();
}

bool Read(TestDocument& t, const std::string& text, std::string* error = nullptr)
{
    std::istringstream in(text);
    std::string problem;
    const bool ok = ReadGaInputFile(*t, in, problem);
    if (error)
        *error = problem;
    return ok;
}

TEST(GaInputFile, SetsTheWholeSetUp)
{
    TestDocument t;
    t->Ga.MissionUsed[5] = 1;
    std::string error;
    ASSERT_TRUE(Read(t, GaFileText({}), &error)) << error;
    const CGaData& d = t->Ga;
    EXPECT_EQ(d.GaSearchMode, 2);
    EXPECT_EQ(d.GaMultiSquad, 1);
    EXPECT_EQ(d.GaSearchModeFlags[2], 1);
    EXPECT_EQ(d.GaSquadCount, 3);
    EXPECT_EQ(d.GaPopulationSize, 6);
    EXPECT_EQ(t->Experiment.GaGenerations, 20);
    EXPECT_EQ(d.GaInitialConditions, 4);
    EXPECT_EQ(d.GaMaxTimeToFlag, 40);
    EXPECT_EQ(d.GaReserved2, 8);
    EXPECT_EQ(d.GaMutationProb, 0.05);
    EXPECT_EQ(d.GaTerminationRule, 2);
    EXPECT_EQ(d.GaContainmentRange, 5.5);
    EXPECT_EQ(d.GaCenterOfMassFraction, 0.25);
    // Weights 2 and 2 normalise to a half each; their use flags are set, the
    // others keep theirs.
    EXPECT_EQ(d.MissionWeight[3], 0.5);
    EXPECT_EQ(d.MissionWeight[10], 0.5);
    EXPECT_EQ(d.MissionUsed[3], 1);
    EXPECT_EQ(d.MissionUsed[5], 1);
    EXPECT_EQ(d.MissionUsed[4], 0);
    // Genes 1, 2, 9 searched.
    EXPECT_EQ(d.ActiveGeneCount, 3);
    EXPECT_EQ(d.ActiveGenes[3], 9);
    EXPECT_EQ(d.GeneSlot[9], 3);
    EXPECT_EQ(d.GeneSlot[5], 0);
    EXPECT_EQ(d.GeneMax[63], 63.5);
    // Every member of every squad drawn from the ranges, searched or not; a
    // range of one value gives that value.
    CGeneticAlgorithm ga(*t);
    for (int m = 0; m < 6; ++m)
        for (int s = 1; s <= 3; ++s) {
            EXPECT_EQ(ga.Member(m).Gene[s][5], 5.0);
            EXPECT_GE(ga.Member(m).Gene[s][40], 40.0);
            EXPECT_LT(ga.Member(m).Gene[s][40], 40.5);
        }
}

TEST(GaInputFile, ModesOutsideTheSquadSearchesAreSingleSquad)
{
    for (const char* mode : {"1", "7", "8"}) {
        TestDocument t;
        GaFileValues v;
        v.Mode = mode;
        ASSERT_TRUE(Read(t, GaFileText(v)));
        EXPECT_EQ(t->Ga.GaMultiSquad, 0) << mode;
    }
}

TEST(GaInputFile, BadFilesChangeNothing)
{
    struct Case {
        const char* What;
        std::function<void(GaFileValues&)> Change;
        std::string Label = "label";
        size_t Cut = std::string::npos;
    };
    const std::vector<Case> cases = {
        {"11 squads", [](GaFileValues& v) { v.Squads = "11"; }},
        {"no squads", [](GaFileValues& v) { v.Squads = "0"; }},
        {"301 members", [](GaFileValues& v) { v.Population = "301"; }},
        {"101 conditions", [](GaFileValues& v) { v.Conditions = "101"; }},
        {"1000 generations", [](GaFileValues& v) { v.Generations = "1000"; }},
        {"runs that never end", [](GaFileValues& v) { v.MaxTime = "0"; }},
        {"runs beyond the dialog's 999", [](GaFileValues& v) { v.MaxTime = "1000"; }},
        {"no penalty power", [](GaFileValues& v) { v.Power = "0"; }},
        // Containment squares beyond the largest battlefield (150 cells) would
        // overflow int: trunc(1e30), trunc(3e9), trunc(-1e30), flag x + r.
        {"range 1e30", [](GaFileValues& v) { v.Range = "1e30"; }},
        {"range 3e9", [](GaFileValues& v) { v.Range = "3e9"; }},
        {"range -1e30", [](GaFileValues& v) { v.Range = "-1e30"; }},
        {"range 2147483647", [](GaFileValues& v) { v.Range = "2147483647"; }},
        {"range 150.5", [](GaFileValues& v) { v.Range = "150.5"; }},
        {"weights that add up to infinity", [](GaFileValues& v) { v.Weights[2] = v.Weights[9] = "1e308"; }},
        {"a word for a number", [](GaFileValues& v) { v.Crossover = "often"; }},
        {"a 200-character label", [](GaFileValues&) {}, std::string(200, 'x')},
        {"a file that breaks off", [](GaFileValues&) {}, "label", 600},
    };
    for (const Case& c : cases) {
        TestDocument t;
        CGeneticAlgorithm ga(*t);
        ga.SetGAModeDefaults();
        ga.Member(0).Gene[1][1] = 77;
        GaFileValues v;
        c.Change(v);
        std::string text = GaFileText(v, c.Label);
        if (c.Cut != std::string::npos)
            text.resize(c.Cut);
        std::string error;
        EXPECT_FALSE(Read(t, text, &error)) << c.What;
        EXPECT_FALSE(error.empty()) << c.What;
        EXPECT_EQ(t->Ga.GaSquadCount, 1) << c.What;
        EXPECT_EQ(t->Ga.GaPopulationSize, 15) << c.What;
        EXPECT_EQ(t->Ga.MissionWeight[3], 1.0) << c.What;
        EXPECT_EQ(t->Ga.GaSearchMode, 1) << c.What;
        EXPECT_EQ(ga.Member(0).Gene[1][1], 77) << c.What;
    }
    // A 199-character label is still a label.
    TestDocument t;
    EXPECT_TRUE(Read(t, GaFileText({}, std::string(199, 'x'))));
}

TEST(GaInputFile, WeightsThatSumToZeroStayAsTheyAre)
{
    TestDocument t;
    GaFileValues v;
    for (auto& w : v.Weights)
        w = "0";
    v.Weights[1] = "-1.5";
    v.Weights[2] = "1.5";
    ASSERT_TRUE(Read(t, GaFileText(v)));
    EXPECT_EQ(t->Ga.MissionWeight[2], -1.5);
    EXPECT_EQ(t->Ga.MissionWeight[3], 1.5);
}

TEST(GaInputFile, ScrambledTextNeverBreaksTheReader)
{
    const std::string good = GaFileText({});
    std::mt19937 gen(7);
    for (int trial = 0; trial < 300; ++trial) {
        std::string text = good;
        for (int edits = 0; edits < 5; ++edits)
            text[gen() % text.size()] = "0123456789-.e x\n"[gen() % 16];
        TestDocument t;
        std::string error;
        if (Read(t, text, &error)) {
            EXPECT_GE(t->Ga.GaPopulationSize, 1);
            EXPECT_LE(t->Ga.GaPopulationSize, 300);
            EXPECT_LE(t->Ga.GaSquadCount, 10);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(GaInputFile, CommandChangesNothingWhenCancelledOrRefused)
{
    TestDocument t;
    t->RunMode = InteractiveMode;
    t->LoadInputFile = 1;
    t->Experiment.GaGeneration = 5;
    t->Pause();
    const std::string refused = std::string(BREVIMAR_BINARY_DIR) + "/ga_input_refused.ga2";
    GaFileValues tooMany;
    tooMany.Population = "301";
    std::ofstream(refused) << GaFileText(tooMany);
    for (const std::optional<std::string>& choice : {std::optional<std::string>{}, std::optional(refused)}) {
        const std::vector<unsigned char> before = DocumentBytes(*t);
        t.Host.FileChoices.push_back(choice);
        OnFileLoadGaInput(*t);
        EXPECT_TRUE(DocumentBytes(*t) == before) << (choice ? *choice : "cancelled");
    }
    EXPECT_EQ(t.Host.FileRequests.back().DefaultExtension, "ga1");
    t.Host.Messages.clear();

    // A file read through the command, and one that is refused with a message.
    const std::string path = std::string(BREVIMAR_BINARY_DIR) + "/ga_input_test.ga2";
    std::ofstream(path) << GaFileText({});
    t.Host.FileChoices.push_back(path);
    OnFileLoadGaInput(*t);
    EXPECT_EQ(t->Ga.GaPopulationSize, 6);
    EXPECT_EQ(t->RunMode, GeneticAlgorithmMode);
    EXPECT_EQ(t->LoadInputFile, 0);
    EXPECT_EQ(t->Experiment.GaGeneration, 0);
    EXPECT_TRUE(t.Host.Messages.empty());
    GaFileValues bad;
    bad.Population = "301";
    std::ofstream(path) << GaFileText(bad);
    t.Host.FileChoices.push_back(path);
    OnFileLoadGaInput(*t);
    EXPECT_EQ(t->Ga.GaPopulationSize, 6);
    ASSERT_EQ(t.Host.Messages.size(), 1u);
    EXPECT_NE(t.Host.Messages[0].Text.find("ga_input_test.ga2"), std::string::npos);
    EXPECT_NE(t.Host.Messages[0].Text.find("population"), std::string::npos);
    bad = {};
    bad.Range = "1e30";
    std::ofstream(path) << GaFileText(bad);
    t.Host.FileChoices.push_back(path);
    OnFileLoadGaInput(*t);
    EXPECT_EQ(t->Ga.GaContainmentRange, 5.5);
    ASSERT_EQ(t.Host.Messages.size(), 2u);
    EXPECT_NE(t.Host.Messages[1].Text.find("ga_input_test.ga2"), std::string::npos);
    EXPECT_NE(t.Host.Messages[1].Text.find("containment range"), std::string::npos);
}

}  // namespace
}  // namespace brevimar::testing
