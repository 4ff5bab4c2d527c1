// The GA input file: what it sets, and files that must be refused without
// touching the document.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "experiments/GaEngine.h"
#include "files/WordReader.h"
#include "support/DocumentBytes.h"
#include "support/Scenarios.h"
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
    std::map<int, std::string> Genes;  // gene -> "on min max", in place of the usual row
};

// Genes whose values the dialogs keep within 0..1 or 0..4 (movement, sign
// genes, switch 41, probabilities, communications weights); the others take
// g..g + 0.5, which every one of their dialog rows allows.
bool SmallGene(int g)
{
    return g == 7 || g == 8 || (g >= 10 && g <= 32 && g % 2 == 0) || g == 38 || g == 40 || g == 41 || g == 48 ||
           g == 49 || g == 55 || g == 56 || g == 59;
}

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
        if (const auto row = v.Genes.find(g); row != v.Genes.end())
            out << row->second << '\n';
        else if (SmallGene(g))
            out << (on ? 1 : 0) << " 0.25 0.75\n";
        else
            out << (on ? 1 : 0) << ' ' << g << ' ' << (g == 5 ? g : g + 0.5) << '\n';
    }
    return out.str();
}

// Gene rows of a file of search mode 3, 5 or 6 that the dialogs editing
// what its genes mean there allow; one value each, so every member draws it
// exactly (a + u (a - a) = a). Mode 3: bits 1, 0, 1, squad sizes 10..20
// (genes 7 and 8 among them) and 300, inter-squad weights -1. Mode 5: links
// 1 and, for genes 60..63 (G(4, 8)..G(7, 8)), 0. Mode 6: weights -1.
void MatrixModeGenes(GaFileValues& v, int mode)
{
    auto rows = [&v](int first, int last, const std::string& row) {
        for (int g = first; g <= last; ++g)
            v.Genes[g] = row;
    };
    v.Mode = std::to_string(mode);
    if (mode == 3) {
        v.Genes[1] = v.Genes[3] = "1 1 1", v.Genes[2] = "1 0 0";
        rows(4, 10, "1 10 20");
        v.Genes[11] = "1 300 300";
        rows(12, 63, "1 -1 -1");
    } else if (mode == 5) {
        rows(1, 59, "1 1 1");
        rows(60, 63, "1 0 0");
    } else {
        rows(1, 63, "1 -1 -1");
    }
}

bool Read(TestDocument& t, const std::string& text, std::string* error = nullptr)
{
    std::string problem;
    const bool ok = ReadGaInputFile(*t, text, problem);
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
            EXPECT_GE(ga.Member(m).Gene[s][40], 0.25);
            EXPECT_LT(ga.Member(m).Gene[s][40], 0.75);
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
        std::string Names = "";  // what the message must name
    };
    auto weights = [](std::vector<std::string> w) {
        return [w](GaFileValues& v) {
            for (int k = 0; k < 10; ++k)
                v.Weights[k] = k < static_cast<int>(w.size()) ? w[k] : "0";
        };
    };
    auto gene = [](int g, std::string row) { return [g, row](GaFileValues& v) { v.Genes[g] = row; }; };
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
        // Beyond what the dialogs accept (run-time 218, mission 216, chromosome
        // 217, gene ranges 219, search space 220; boxes and centres 1..150).
        {"penalty power 11", [](GaFileValues& v) { v.Power = "11"; }, "label", std::string::npos, "11"},
        {"mode 9", [](GaFileValues& v) { v.Mode = "9"; }, "label", std::string::npos, "9"},
        {"mode 0", [](GaFileValues& v) { v.Mode = "0"; }},
        {"symmetrize 2", [](GaFileValues& v) { v.Symmetrize = "2"; }},
        {"best to file -1", [](GaFileValues& v) { v.BestToFile = "-1"; }},
        {"crossover 1.5", [](GaFileValues& v) { v.Crossover = "1.5"; }, "label", std::string::npos, "1.5"},
        {"mutation -0.1", [](GaFileValues& v) { v.Mutation = "-0.1"; }},
        {"containment range 99.5", [](GaFileValues& v) { v.Range = "99.5"; }},
        {"containment number 1000", [](GaFileValues& v) { v.Number = "1000"; }},
        {"fraction 1.5", [](GaFileValues& v) { v.Fraction = "1.5"; }},
        // 1e308 - 1e308 + 1e-300 = 1e-300: divided by it, inf and -inf.
        {"weights 1e308, -1e308, 1e-300", weights({"1e308", "-1e308", "1e-300"}), "label", std::string::npos,
         "1e+308"},
        {"weight 100.5", weights({"0", "0", "100.5"}), "label", std::string::npos, "100.5"},
        {"weights -1.5, 1.5 (sum 0)", weights({"0", "-1.5", "1.5"})},
        {"weights all 0", weights({}), "label", std::string::npos, "weights"},
        // Rule 4 clears weight 1 before the division, as the mission dialog does.
        {"rule 4 with only weight 1",
         [](GaFileValues& v) { v.Rule = "4", v.Weights[0] = "5", v.Weights[2] = v.Weights[9] = "0"; }, "label",
         std::string::npos, "weight"},
        {"gene switched on with 2", gene(9, "2 0 100")},
        // A squad-count bit below 0 would take the squad count under 1.
        {"mode-3 bit gene 2 from -1", [](GaFileValues& v) { MatrixModeGenes(v, 3), v.Genes[2] = "1 -1 0"; },
         "label", std::string::npos, "gene 2 is -1"},
        {"movement gene 7 up to 5", gene(7, "1 0 5")},
        {"mode-1 movement gene 7 up to 5", [](GaFileValues& v) { v.Mode = "1", v.Genes[7] = "1 0 5"; }, "label",
         std::string::npos, "gene 7"},
        {"injured sensor gene 2 from -1", gene(2, "1 -1 5")},
        // Each gene by what it means in its mode: a squad size (3), a link (5),
        // an inter-squad weight (3 and 6).
        {"mode-3 squad size 301", [](GaFileValues& v) { MatrixModeGenes(v, 3), v.Genes[8] = "1 10 301"; }, "label",
         std::string::npos, "gene 8"},
        {"mode-3 matrix gene 12 up to 1.5", [](GaFileValues& v) { MatrixModeGenes(v, 3), v.Genes[12] = "1 0 1.5"; },
         "label", std::string::npos, "gene 12"},
        {"mode-5 link gene 60 from -1e308 to 1e308",
         [](GaFileValues& v) { MatrixModeGenes(v, 5), v.Genes[60] = "1 -1e308 1e308"; }, "label",
         std::string::npos, "gene 60"},
        {"mode-6 weight gene 1 from -1.5", [](GaFileValues& v) { MatrixModeGenes(v, 6), v.Genes[1] = "1 -1.5 1"; },
         "label", std::string::npos, "gene 1 is"},
        // No dialog sets a sign gene's range, but drawing from one 2e308 wide overflows.
        {"sign gene 10 from -1e308 to 1e308", gene(10, "1 -1e308 1e308"), "label", std::string::npos, "gene 10"},
        {"defense gene 52 up to 0.5", gene(52, "1 0 0.5")},
        {"centre gene 62 up to 151", gene(62, "0 1 151")},
        {"box gene 60 from 0", gene(60, "0 0 25")},
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
        EXPECT_NE(error.find(c.Names), std::string::npos) << c.What << ": " << error;
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

// The edges of every dialog's range are read as they stand, and the weights
// normalise to finite shares: ten weights of 100 under rule 4 give 0 to
// weight 1 and 1/9 to each other; 1e-300 alone gives 1 (a share is never
// above 1, so no division overflows).
TEST(GaInputFile, EdgesOfTheDialogRangesAreRead)
{
    struct Case {
        const char* What;
        std::function<void(GaFileValues&)> Change;
        double Weight1;
    };
    const Case cases[] = {
        {"upper edges",
         [](GaFileValues& v) {
             v.Mode = "8", v.Symmetrize = "1", v.Squads = "10", v.Population = "300", v.Generations = "999";
             v.Conditions = "100", v.MaxTime = "999", v.Power = "10", v.BestToFile = "1";
             v.Crossover = "1", v.Mutation = "1", v.Rule = "4", v.Range = "99", v.Number = "999", v.Fraction = "1";
             for (auto& w : v.Weights)
                 w = "100";
             v.Genes = {{1, "1 99 99"}, {7, "1 4 4"}, {9, "1 100 100"}, {10, "1 1 1"}, {35, "1 999 999"},
                        {48, "1 1 1"}, {62, "1 150 150"}};
         },
         0},  // rule 4 clears weight 1; the other nine take 100/900 each
        {"lower edges",
         [](GaFileValues& v) {
             v.Mode = "1", v.Squads = "1", v.Population = "1", v.Generations = "1", v.Conditions = "1";
             v.MaxTime = "1", v.Power = "1", v.BestToFile = "0", v.Crossover = "0", v.Mutation = "0", v.Rule = "1";
             v.Range = "0", v.Number = "0", v.Fraction = "0";
             for (auto& w : v.Weights)
                 w = "0";
             v.Weights[0] = "1e-300";
             v.Genes = {{1, "0 0 1"}, {7, "0 0 0"}, {52, "0 0 1"}, {60, "0 1 1"}, {62, "0 1 1"}};
         },
         1.0},
    };
    for (const Case& c : cases) {
        TestDocument t;
        GaFileValues v;
        c.Change(v);
        std::string error;
        ASSERT_TRUE(Read(t, GaFileText(v), &error)) << c.What << ": " << error;
        EXPECT_DOUBLE_EQ(t->Ga.MissionWeight[1], c.Weight1) << c.What;
        double sum = 0;
        for (int k = 1; k <= 10; ++k)
            sum += t->Ga.MissionWeight[k];
        EXPECT_NEAR(sum, 1.0, 1e-12) << c.What;
        // Every primitive scoring 1 gives a fitness of the weights' sum.
        for (int k = 1; k <= 10; ++k)
            t->Ga.PrimitiveScore[k][1] = 1.0;
        t->Ga.GaInitialConditions = 1;
        EXPECT_NEAR(CGeneticAlgorithm(*t).MemberFitness(), 1.0, 1e-12) << c.What;
    }
}

// A file of each search mode whose genes lie where that mode's dialogs keep
// them, or where no dialog sets them anywhere its decoding takes, is read,
// and two generations run from it.
TEST(GaInputFile, EveryModeChecksItsGenesByWhatTheyMean)
{
    struct Case {
        const char* Mode;
        std::function<void(GaFileValues&)> Genes;
        int Gene;
        double Value;  // of that gene in member 0
    };
    const Case cases[] = {
        // The range dialog's rows, the movement gene at its edge of 4.
        {"1", [](GaFileValues& v) { v.Genes[7] = "1 4 4"; }, 7, 4},
        {"2", [](GaFileValues&) {}, 5, 5},
        {"3", [](GaFileValues& v) { MatrixModeGenes(v, 3); }, 11, 300},
        // Bits as earlier versions read them, 1..10, and one far beyond a
        // squad size: K = 1 + 1 + 2 + 4 x 2^29 is capped at the squad count.
        {"3", [](GaFileValues& v) { MatrixModeGenes(v, 3), v.Genes[1] = v.Genes[2] = "1 1 10"; }, 11, 300},
        {"3", [](GaFileValues& v) { MatrixModeGenes(v, 3), v.Genes[3] = "1 536870912 536870912"; }, 3, 536870912},
        {"4", [](GaFileValues&) {}, 5, 5},
        {"5", [](GaFileValues& v) { MatrixModeGenes(v, 5); }, 60, 0},
        // No dialog sets a link's range: the GA's default rows (gene 1 at
        // 1..10, genes 60..63 at 1..25 and 1..75) and the personality rows.
        {"5", [](GaFileValues& v) { v.Genes = {{1, "1 1 10"}, {60, "1 1 25"}, {62, "1 1 75"}}; }, 5, 5},
        {"6", [](GaFileValues& v) { MatrixModeGenes(v, 6); }, 63, -1},
        {"7", [](GaFileValues&) {}, 5, 5},
        {"8", [](GaFileValues&) {}, 5, 5},
    };
    for (const Case& c : cases) {
        TestDocument t;
        SkirmishOptions o;
        o.PerSide = 10;
        o.BattleSize = 40;
        MakeSkirmish(*t, o);
        GaFileValues v;
        v.Mode = c.Mode;
        v.Squads = "1", v.Population = "3", v.Conditions = "1", v.MaxTime = "4";
        c.Genes(v);
        std::string error;
        ASSERT_TRUE(Read(t, GaFileText(v), &error)) << "mode " << c.Mode << ": " << error;
        CGeneticAlgorithm ga(*t);
        EXPECT_EQ(ga.Member(0).Gene[1][c.Gene], c.Value) << "mode " << c.Mode;
        t->RunMode = GeneticAlgorithmMode;
        ga.ResetGeneticAlgorithmState();
        for (int generation = 0; generation < 2; ++generation)
            ga.RunGABatch(43);
        EXPECT_EQ(t->Experiment.GaGeneration, 2) << "mode " << c.Mode;
        for (int m = 0; m <= 3; ++m) {
            EXPECT_GE(ga.Member(m).Fitness, 0) << "mode " << c.Mode;
            EXPECT_LE(ga.Member(m).Fitness, 1) << "mode " << c.Mode;
        }
    }
}

// What no dialog edits is read as the file holds it: any termination rule
// (2 and 3 end runs early, every other value none), and sign genes and
// switch 41 of any finite range, which decoding only compares with 0.5.
TEST(GaInputFile, ValuesNoDialogEditsAreReadAsTheyStand)
{
    struct Case {
        const char* What;
        std::function<void(GaFileValues&)> Change;
        std::function<bool(const CGaData&)> Holds;
    };
    const Case cases[] = {
        {"rule 5", [](GaFileValues& v) { v.Rule = "5"; }, [](const CGaData& d) { return d.GaTerminationRule == 5; }},
        {"rule 0", [](GaFileValues& v) { v.Rule = "0"; }, [](const CGaData& d) { return d.GaTerminationRule == 0; }},
        {"rule -7", [](GaFileValues& v) { v.Rule = "-7"; },
         [](const CGaData& d) { return d.GaTerminationRule == -7; }},
        {"sign gene 10 over -5..1e300", [](GaFileValues& v) { v.Genes[10] = "1 -5 1e300"; },
         [](const CGaData& d) { return d.GeneMin[10] == -5 && d.GeneMax[10] == 1e300; }},
        {"sign gene 38 over 2..3", [](GaFileValues& v) { v.Genes[38] = "1 2 3"; },
         [](const CGaData& d) { return d.GeneMin[38] == 2 && d.GeneMax[38] == 3; }},
        {"switch 41 over -1..0", [](GaFileValues& v) { v.Genes[41] = "1 -1 0"; },
         [](const CGaData& d) { return d.GeneMin[41] == -1 && d.GeneMax[41] == 0; }},
    };
    for (const Case& c : cases) {
        TestDocument t;
        GaFileValues v;
        c.Change(v);
        std::string error;
        ASSERT_TRUE(Read(t, GaFileText(v), &error)) << c.What << ": " << error;
        EXPECT_TRUE(c.Holds(t->Ga)) << c.What;
    }
}

// Under termination rule 4 no run ends early, so primitive 1 scores 0: its
// weight is cleared before the ten are divided by their sum, as the mission
// dialog stores them. A member scoring 1 on primitive 3 and 0 on primitive 1
// then has fitness w3.
TEST(GaInputFile, RuleFourClearsWeightOneBeforeTheDivision)
{
    struct Case {
        const char* Rule;
        double W1, W3;  // stored
    };
    const Case cases[] = {
        {"4", 0, 1},                      // 100 cleared; 1 / 1
        {"1", 100.0 / 101, 1.0 / 101},    // 100 / 101, 1 / 101
        {"5", 100.0 / 101, 1.0 / 101},    // no early end either, but only rule 4 clears
    };
    for (const Case& c : cases) {
        TestDocument t;
        GaFileValues v;
        v.Rule = c.Rule;
        for (auto& w : v.Weights)
            w = "0";
        v.Weights[0] = "100", v.Weights[2] = "1";
        std::string error;
        ASSERT_TRUE(Read(t, GaFileText(v), &error)) << c.Rule << ": " << error;
        EXPECT_DOUBLE_EQ(t->Ga.MissionWeight[1], c.W1) << c.Rule;
        EXPECT_DOUBLE_EQ(t->Ga.MissionWeight[3], c.W3) << c.Rule;
        t->Ga.GaInitialConditions = 1;
        for (int k = 1; k <= 10; ++k)
            t->Ga.PrimitiveScore[k][1] = k == 3 ? 1.0 : 0.0;
        EXPECT_DOUBLE_EQ(CGeneticAlgorithm(*t).MemberFitness(), c.W3) << c.Rule;
    }
}

// The hand-written files the fuzz targets start from are files a user could
// have typed: each must be read.
TEST(GaInputFile, FuzzSeedsAreRead)
{
    const std::filesystem::path seeds = std::filesystem::path(BREVIMAR_TEST_DATA) / ".." / ".." / "fuzz" / "seeds";
    int read = 0;
    for (const char* target : {"ga_input", "ga_generation"})
        for (const auto& entry : std::filesystem::directory_iterator(seeds / target)) {
            TestDocument t;
            std::string text, error;
            ASSERT_TRUE(ReadTextFile(entry.path().string(), &text)) << entry.path();
            EXPECT_TRUE(ReadGaInputFile(*t, text, error)) << entry.path() << ": " << error;
            ++read;
        }
    EXPECT_GE(read, 4);
}

// No program writer makes this format; what the genetic algorithm's mode
// defaults hold (what every dialog opens with) must read back as it stands.
TEST(GaInputFile, TheModeDefaultsReadBack)
{
    TestDocument t;
    CGeneticAlgorithm ga(*t);
    ga.SetGAModeDefaults();
    t->Ga.GaSquadCount = 1;
    const CGaData d = t->Ga;
    std::ostringstream out;
    out.precision(17);
    out << "a b c d e f g " << d.GaSearchMode << " s " << d.GaSymmetrize << " n " << d.GaSquadCount << " p "
        << d.GaPopulationSize << " g " << t->Experiment.GaGenerations << " ic " << d.GaInitialConditions << " t "
        << d.GaMaxTimeToFlag << " pw " << d.GaPenaltyPower << " b " << d.GaBestToFile << " r " << d.GaReserved1
        << " r " << d.GaReserved2 << " c " << d.GaCrossoverProb << " m " << d.GaMutationProb << " a b c d e f w1";
    for (int k = 1; k <= 10; ++k)
        out << (k > 1 ? " w " : " ") << d.MissionWeight[k];
    out << " rule " << d.GaTerminationRule << " r " << d.GaContainmentRange << " n " << d.GaContainmentNumber
        << " f " << d.GaCenterOfMassFraction << " a b c d e g1";
    for (int g = 1; g <= 63; ++g)
        out << (g > 1 ? " g " : " ") << d.GeneOn[g] << ' ' << d.GeneMin[g] << ' ' << d.GeneMax[g];
    t->Ga.GaPopulationSize = 2;  // to see the file's own value come back
    std::string error;
    ASSERT_TRUE(Read(t, out.str(), &error)) << error;
    EXPECT_EQ(t->Ga.GaPopulationSize, d.GaPopulationSize);
    EXPECT_EQ(t->Ga.GaPenaltyPower, d.GaPenaltyPower);
    EXPECT_EQ(t->Ga.GaCrossoverProb, d.GaCrossoverProb);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(t->Ga.MissionWeight[k], d.MissionWeight[k]) << k;
    for (int g = 1; g <= 63; ++g) {
        EXPECT_EQ(t->Ga.GeneOn[g], d.GeneOn[g]) << g;
        EXPECT_EQ(t->Ga.GeneMin[g], d.GeneMin[g]) << g;
        EXPECT_EQ(t->Ga.GeneMax[g], d.GeneMax[g]) << g;
    }
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
    t.Host.Logs.clear();

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
    // Refused on standard error too, in the words of its box, as by every
    // other reader of the File menu.
    EXPECT_EQ(t.Host.Logs, std::vector<std::string>{t.Host.Messages[0].Text});
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

// A file read during a RUN capture: Yes to the offer to write the frames,
// then Cancel in the RUN file's chooser keeps the capture, and with it the
// GA as it stood: settings, generations and the population already drawn.
TEST(GaInputFile, KeepingACaptureLeavesTheGaAsItWas)
{
    TestDocument t;
    ASSERT_TRUE(Read(t, GaFileText({})));  // population 6, 20 generations, drawn
    t->RunMode = InteractiveMode;
    t->LoadInputFile = 1;
    t->RunCaptureOn = 1;
    t->CaptureFrameCount = 3;
    t->Pause();
    GaFileValues other;
    other.Population = "4", other.Generations = "7";
    const std::string path = std::string(BREVIMAR_BINARY_DIR) + "/ga_input_kept.ga2";
    std::ofstream(path) << GaFileText(other);
    const std::vector<unsigned char> before = DocumentBytes(*t);
    const auto population = std::make_unique<CGaRecords>(*t->GaRecords);
    t.Host.MessageAnswers.push_back(IDYES);
    t.Host.FileChoices = {path, std::nullopt};
    OnFileLoadGaInput(*t);
    ASSERT_EQ(t.Host.FileRequests.size(), 2u);  // the GA file, then the RUN file
    ASSERT_EQ(t.Host.Messages.size(), 1u);      // the offer alone
    EXPECT_NE(t.Host.Messages[0].Text.find("3 frames"), std::string::npos) << t.Host.Messages[0].Text;
    EXPECT_EQ(t->Ga.GaPopulationSize, 6);
    EXPECT_EQ(t->Experiment.GaGenerations, 20);
    EXPECT_TRUE(DocumentBytes(*t) == before);
    EXPECT_EQ(std::memcmp(t->GaRecords.get(), population.get(), sizeof(CGaRecords)), 0);
}

}  // namespace
}  // namespace brevimar::testing
