#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <vector>

#include "core/TextFileBound.h"
#include "experiments/GaEngine.h"
#include "experiments/LandscapeFiles.h"
#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"
#include "experiments/LandscapeSweep.h"
#include "run/ScenarioLoad.h"
#include "support/DocumentBytes.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::MakeSkirmish;
using testing::TestDocument;
using testing::WriteTemp;

// A complete input file, 247 words; labels are any words, digits included.
// Combination weights: the identity, plus 0.5 of measure 3 in combination 7.
std::string InputText()
{
    std::string text =
        "LANDSCAPE INPUT FILE version 1 x\n"
        "sym_AI 0\nsym_W 1\nIC 3\nT_max 40\npower 1\nterm 4\nD 5.5\nN 12\ncom 0.25\n"
        "TERRITORY POSSESSION PARAMETERS header 6 x\n"
        "use 1\nR 2\nN 3\ndelta 1\ncx 120\nrx 40\ncy 50\nry 10\ntmin 5\ntmax 30\n"
        "XY PARAMETERS header words 6 6\n"
        "squad 2\nx 2\nxmin 3\nxmax 12\nxs 4\ny 30\nymin -20\nymax 20\nys 5\n"
        "PLOT a b c d\nplot 2\ngraph 3\ncolor 2\n"
        "MATRIX h h h h h\n";
    for (int i = 1; i <= 12; ++i) {
        text += "row" + std::to_string(i);
        for (int c = 1; c <= 12; ++c)
            text += i == c ? " 1.0" : (i == 3 && c == 7 ? " 0.5" : " 0");
        text += '\n';
    }
    return text;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

class LandscapeInputFile : public ::testing::Test {
protected:
    TestDocument doc;
    void SetUp() override
    {
        MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 150});
        // Ten RED squads (of 6, 0, ..., 0 agents): every squad a file names is one of the scenario's.
        doc->RedForce.NumSquads = MaxSquads;
    }
    void Load(const std::string& text)
    {
        doc.Host.FileChoices.push_back(WriteTemp("sweep.f1", text));
        OnLoadLandscapeFile(*doc);
    }
};

TEST_F(LandscapeInputFile, ReadsEveryFieldAndSelectsTheLandscapeMode)
{
    doc->RandomState = 12345;
    Load(InputText());
    const CLandscapeSettings& s = doc->Landscape.Settings;
    EXPECT_TRUE(doc.Host.Messages.empty());
    EXPECT_EQ(doc->RunMode, FitnessLandscapeMode);
    EXPECT_EQ(doc->Paused, 1);
    EXPECT_EQ(doc->RandomState, doc->InitialSeed);
    EXPECT_EQ(s.LandscapeSymmetrizeWeights, 1);
    EXPECT_EQ(s.LandscapeInitialConditions, 3);
    EXPECT_EQ(s.LandscapeMaxTimeToFlag, 40);
    EXPECT_EQ(s.LandscapeContainmentRange, 5.5);
    EXPECT_EQ(s.LandscapeCenterOfMassFraction, 0.25);
    EXPECT_EQ(s.LandscapeTerritoryTimeMax, 30);
    EXPECT_EQ(s.LandscapeSquad, 2);
    EXPECT_EQ(s.LandscapeGraphKind, 3);
    EXPECT_EQ(s.LandscapeColorMode, 2);
    EXPECT_EQ(s.LandscapeMeasureMatrix[3][7], 0.5);
    EXPECT_EQ(s.LandscapeMeasureMatrix[12][12], 1.0);
    EXPECT_EQ(s.LandscapeMeasureMatrix[7][3], 0.0);
    // 3..12 in 4 intervals, -20..20 in 5.
    EXPECT_EQ(s.LandscapeXStep, 2.25);
    EXPECT_EQ(s.LandscapeYStep, 8.0);
    EXPECT_EQ(s.LandscapeXCount, 5);
    EXPECT_EQ(s.LandscapeYCount, 6);
    EXPECT_EQ(doc->Experiment.LandscapePointCount, 30);
    const CBattlefield& f = doc->Battlefield;
    EXPECT_EQ(f.TerritoryUserArea, 1);
    EXPECT_EQ(f.TerritoryRange, 2);
    EXPECT_EQ(f.TerritoryMinCount, 3);
    EXPECT_EQ(f.TerritoryRangeY, 10);
    // x 80..160 cut to 80..150 (71 cells), y 40..60 (21 cells).
    EXPECT_EQ(s.LandscapeTerritoryCells, 71 * 21);
    EXPECT_EQ(doc->Landscape.Settings.LandscapeObjectiveUsed[4], 1);
    EXPECT_NE(doc.Host.LastStatus().find("[ x ]: 1/5     [ y ]: 1/6"), std::string::npos);
}

// A file that ends without a newline, its last value (measure 12 in
// combination 12) read whole from a buffer of the text's exact size.
TEST_F(LandscapeInputFile, TheLastValueOfATextWithoutANewlineIsReadWhole)
{
    std::string text = InputText();
    text.replace(text.size() - std::string(" 1.0\n").size(), std::string::npos, " 0.75");
    const testing::ExactText exact(text);
    CLandscapeInput input = StartingLandscapeInput(*doc);
    std::string problem;
    ASSERT_TRUE(ParseLandscapeInput(exact.View(), input, &problem)) << problem;
    EXPECT_EQ(input.Settings.LandscapeMeasureMatrix[12][12], 0.75);
}

TEST_F(LandscapeInputFile, TerritoryOffLeavesTheUserAreaSwitchAsItWas)
{
    doc->Battlefield.TerritoryUserArea = 1;
    Load(Replace(InputText(), "use 1", "use 0"));
    EXPECT_EQ(doc->Battlefield.TerritoryUserArea, 1);
    EXPECT_EQ(doc->Landscape.Settings.LandscapeUseTerritory, 0);
}

struct BadInput {
    const char* What;
    std::string Text;
    std::string Names = "";  // what the message must name
};

// The combination matrix of InputText with every weight `weight`.
std::string WithWeights(std::string text, const std::string& weight)
{
    const std::size_t matrix = text.find("row1 ");
    std::string rows;
    for (int i = 1; i <= 12; ++i) {
        rows += "row" + std::to_string(i);
        for (int c = 1; c <= 12; ++c)
            rows += " " + weight;
        rows += '\n';
    }
    return text.substr(0, matrix) + rows;
}

TEST_F(LandscapeInputFile, BadFilesAreReportedAndChangeNothing)
{
    const std::string good = InputText();
    const std::vector<BadInput> cases = {
        {"truncated", good.substr(0, good.find("row12"))},
        {"word for a number", Replace(good, "IC 3", "IC three")},
        {"no intervals", Replace(good, "xs 4", "xs 0")},
        {"too many values", Replace(good, "ys 5", "ys 50")},
        {"too many conditions", Replace(good, "IC 3", "IC 101")},
        {"no steps", Replace(good, "T_max 40", "T_max 0")},
        {"squad", Replace(good, "squad 2", "squad 11")},
        {"parameter", Replace(good, "y 30", "y 58")},
        {"empty", ""},
        {"binary", std::string("\0\xff\x01 7 \x80", 7)},
        // 999.0000000000001 is 999 + one spacing of doubles there (1.1e-13):
        // a step of a quarter spacing is lost, five values all 999.
        {"step lost in rounding", Replace(Replace(good, "xmin 3", "xmin 999"), "xmax 12", "xmax 999.0000000000001")},
        {"x beyond the dialog's range", Replace(Replace(good, "xmin 3", "xmin 1e16"), "xmax 12", "xmax 1.0000000000000004e16")},
        // A sweep from above its maximum visits nothing and ends at once.
        {"x_min above x_max", Replace(good, "xmin 3", "xmin 13"), "x_min is 13, above x_max 12"},
        {"y_min above y_max", Replace(good, "ymin -20", "ymin 21"), "y_min is 21, above y_max 20"},
        {"window from the lowest int", Replace(good, "tmin 5", "tmin -2147483648")},
        {"window to the highest int", Replace(good, "tmax 30", "tmax 2147483647")},
        {"window beyond any run", Replace(good, "tmax 30", "tmax 1000")},
        {"box centre beyond the dialog's 999", Replace(good, "cx 120", "cx 1000"), "1000"},
        {"negative box range", Replace(good, "ry 10", "ry -1")},
        {"delta beyond the cells", Replace(good, "delta 1", "delta 2147483647")},
        {"containment range", Replace(good, "D 5.5", "D 1e30")},
        {"power 0", Replace(good, "power 1", "power 0")},
        // Beyond what dialogs 229, 230 and 232 accept.
        {"power 16", Replace(good, "power 1", "power 16"), "16"},
        {"termination code 5", Replace(good, "term 4", "term 5"), "5"},
        {"termination code 0", Replace(good, "term 4", "term 0")},
        {"containment range 0", Replace(good, "D 5.5", "D 0")},
        {"containment range 99.5", Replace(good, "D 5.5", "D 99.5"), "99.5"},
        {"containment number 100", Replace(good, "N 12", "N 100")},
        {"fraction 1.5", Replace(good, "com 0.25", "com 1.5")},
        {"symmetrize 2", Replace(good, "sym_AI 0", "sym_AI 2")},
        {"territory switch -1", Replace(good, "use 1", "use -1")},
        {"threshold range 0", Replace(good, "R 2", "R 0")},
        {"threshold range 100", Replace(good, "R 2", "R 100")},
        {"surrounding number 1000", Replace(good, "N 3", "N 1000")},
        {"centre y 0", Replace(good, "cy 50", "cy 0")},
        {"range x 0", Replace(good, "rx 40", "rx 0")},
        {"range y 1000", Replace(good, "ry 10", "ry 1000")},
        {"plot 3", Replace(good, "plot 2", "plot 3")},
        {"graph 4", Replace(good, "graph 3", "graph 4")},
        {"colour 0", Replace(good, "color 2", "color 0")},
        // 0 x inf of an unused combination printed -nan in the report.
        {"combination weights 1e308", WithWeights(good, "1e308"), "1e+308"},
        {"combination weight 100.5", Replace(good, "row3 0 0 1.0", "row3 0 0 100.5"), "100.5"},
        {"combination weight -100.5", Replace(good, "row3 0 0 1.0", "row3 0 0 -100.5"), "-100.5"},
        // An axis value its parameter's field cannot hold: a scenario with a
        // sensor range of -999 is one our scenario reader refuses.
        {"alive sensor range -999", Replace(good, "xmin 3", "xmin -999"), "-999"},
    };
    for (const BadInput& c : cases) {
        doc.Host.Messages.clear();
        doc->RunMode = InteractiveMode;
        doc->Battlefield.TerritoryRange = 9;
        doc->Landscape.Settings.LandscapeInitialConditions = 77;
        doc->RandomState = 4242;
        Load(c.Text);
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << c.What;
        EXPECT_NE(doc.Host.Messages[0].Text.find("sweep.f1"), std::string::npos) << c.What;
        EXPECT_NE(doc.Host.Messages[0].Text.find(c.Names), std::string::npos) << c.What << ": " << doc.Host.Messages[0].Text;
        EXPECT_EQ(doc->RunMode, InteractiveMode) << c.What;
        EXPECT_EQ(doc->Battlefield.TerritoryRange, 9) << c.What;
        EXPECT_EQ(doc->Landscape.Settings.LandscapeInitialConditions, 77) << c.What;
        EXPECT_EQ(doc->RandomState, 4242) << c.What;
    }
}

// A file refused is refused on standard error too, in the words of its box,
// as by every other reader of the File menu: one over the 16 MiB bound from
// its size, a pipe past it, bad content.
TEST_F(LandscapeInputFile, RefusalsAreAlsoWrittenOnStandardError)
{
    const testing::FedPipe pipe("pipe.f1", std::string(MaxTextFileBytes + 1, ' '));
    const struct {
        std::string Path, Message;
    } cases[] = {
        {testing::WriteSparse("large.f1", MaxTextFileBytes + 1),
         "The fitness landscape input file large.f1 cannot be used: the file holds 16777217 bytes, more than the "
         "16777216 any file of its kind may hold."},
        {pipe.Path, "The fitness landscape input file pipe.f1 cannot be used: the file holds more than the 16777216 "
                    "bytes any file of its kind may hold."},
        {WriteTemp("bad.f1", Replace(InputText(), "IC 3", "IC x")), "The fitness landscape input file bad.f1 cannot "
                                                                      "be used: "},
    };
    for (const auto& c : cases) {
        doc.Host.Messages.clear();
        doc.Host.Logs.clear();
        doc.Host.FileChoices.push_back(c.Path);
        OnLoadLandscapeFile(*doc);
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << c.Path;
        EXPECT_TRUE(doc.Host.Messages[0].Text.starts_with(c.Message)) << doc.Host.Messages[0].Text;
        EXPECT_EQ(doc.Host.Logs, std::vector<std::string>{doc.Host.Messages[0].Text}) << c.Path;
    }
}

// Whatever dialog 230 allows is read as it stands: the territorial box up to
// 999 (not only the battlefield's 150). No dialog edits the combination
// weights: the combination is a sum clamped to [0, 1], so any sign is sound,
// and -100..100 keeps the sums finite.
TEST_F(LandscapeInputFile, EdgesOfTheDialogRangesAreRead)
{
    using Edits = std::vector<std::pair<std::string, std::string>>;
    const Edits upper = {{"IC 3", "IC 100"}, {"T_max 40", "T_max 999"}, {"power 1", "power 15"}, {"D 5.5", "D 99"},
                         {"N 12", "N 99"},   {"com 0.25", "com 1"},     {"R 2", "R 99"},         {"N 3", "N 999"},
                         {"delta 1", "delta 999"}, {"cx 120", "cx 999"}, {"rx 40", "rx 999"}, {"cy 50", "cy 999"},
                         {"ry 10", "ry 999"}, {"tmin 5", "tmin 999"}, {"tmax 30", "tmax 999"}, {"squad 2", "squad 10"}};
    const Edits lower = {{"IC 3", "IC 1"},   {"T_max 40", "T_max 1"}, {"term 4", "term 1"},   {"D 5.5", "D 1"},
                         {"N 12", "N 0"},    {"com 0.25", "com 0"},   {"R 2", "R 1"},         {"N 3", "N 0"},
                         {"delta 1", "delta 0"}, {"cx 120", "cx 0"},  {"rx 40", "rx 1"},      {"cy 50", "cy 1"},
                         {"ry 10", "ry 1"},  {"tmin 5", "tmin 1"},    {"tmax 30", "tmax 1"},  {"squad 2", "squad 1"}};
    struct Case {
        const Edits& Changes;
        std::string Weight;  // every combination weight
        int Box;             // centre y and both ranges (centre x: 0 at the lower edge)
        double Range;        // containment range
    };
    for (const auto& [changes, weight, box, range] : {Case{upper, "100", 999, 99}, Case{lower, "-100", 1, 1}}) {
        std::string text = WithWeights(InputText(), weight);
        for (const auto& [from, to] : changes)
            text = Replace(text, from, to);
        doc.Host.Messages.clear();
        Load(text);
        ASSERT_TRUE(doc.Host.Messages.empty()) << weight << ": " << doc.Host.Messages[0].Text;
        const CBattlefield& f = doc->Battlefield;
        const CLandscapeSettings& s = doc->Landscape.Settings;
        EXPECT_EQ(f.TerritoryCenterY, box);
        EXPECT_EQ(f.TerritoryRangeX, box);
        EXPECT_EQ(f.TerritoryRangeY, box);
        EXPECT_EQ(f.TerritoryCenterX, box == 1 ? 0 : 999);
        EXPECT_EQ(s.LandscapeContainmentRange, range);
        EXPECT_EQ(s.LandscapeMeasureMatrix[7][3], std::stod(weight));
    }
}

struct AxisLimit {
    int Index;
    const char* Min;
    const char* Max;
    const char* Refused;  // what the message names; "" when the range is read
};

// The x values a parameter's field can hold are those a scenario file can
// hold in that RED field, as the scenario reader reads it: a squad of 0..300
// agents, sensor ranges 0..999, fire ranges -999..999 and movement ranges
// 0..4 (the move tables); every other field any value, here the coordinates'
// -999..999 (a dialog's range is no limit). Int fields take the value
// truncated, 0 becoming 1 for the six ranges: -0.5 is a sensor range of 1.
TEST_F(LandscapeInputFile, AxisValuesAreThoseTheirParameterTakes)
{
    std::vector<AxisLimit> rows = {
        {1, "0", "300", ""},      {1, "0", "301", "x_max is 301"}, {1, "-1", "5", "x_min is -1"},
        {2, "-0.5", "999", ""},   {2, "-1", "12", "x_min is -1"},  {3, "-1.5", "5", "x_min is -1.5"},
        {8, "0", "4.9", ""},      {9, "0", "5", "x_max is 5"},     {8, "-1", "4", "x_min is -1"},
    };
    for (int index = 4; index <= LandscapeParameterCount; ++index)
        if (index != 8 && index != 9)
            rows.push_back({index, "-999", "999", ""});
    for (const AxisLimit& row : rows) {
        const std::string text = Replace(Replace(Replace(InputText(), "\nx 2\n", "\nx " + std::to_string(row.Index) + "\n"),
                                                 "xmin 3", std::string("xmin ") + row.Min),
                                         "xmax 12", std::string("xmax ") + row.Max);
        doc.Host.Messages.clear();
        doc->RunMode = InteractiveMode;
        Load(text);
        const std::string what = std::to_string(row.Index) + " " + row.Min + ".." + row.Max;
        if (*row.Refused == 0) {
            ASSERT_TRUE(doc.Host.Messages.empty()) << what << ": " << doc.Host.Messages[0].Text;
            EXPECT_EQ(doc->Landscape.Settings.LandscapeXParameter, row.Index);
            EXPECT_EQ(doc->Landscape.Settings.LandscapeXMin, std::stod(row.Min)) << what;
            EXPECT_EQ(doc->Landscape.Settings.LandscapeXMax, std::stod(row.Max)) << what;
        } else {
            ASSERT_EQ(doc.Host.Messages.size(), 1u) << what;
            EXPECT_NE(doc.Host.Messages[0].Text.find(row.Refused), std::string::npos)
                << what << ": " << doc.Host.Messages[0].Text;
            EXPECT_NE(doc.Host.Messages[0].Text.find(LandscapeParameter(row.Index).Name), std::string::npos) << what;
            EXPECT_EQ(doc->RunMode, InteractiveMode) << what;
        }
    }
}

// A file is read over the scenario the document holds: golden_default.dat,
// a new document's scenario, has one RED squad.
TEST_F(LandscapeInputFile, ASquadTheScenarioLacksIsRefused)
{
    ASSERT_TRUE(LoadScenario(*doc, testing::DataPath("golden_default.dat")).Read);
    ASSERT_EQ(doc->RedForce.NumSquads, 1);
    doc.Host.Messages.clear();
    Load(Replace(InputText(), "squad 2", "squad 10"));
    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_NE(doc.Host.Messages[0].Text.find("RED squad 10"), std::string::npos) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    Load(Replace(InputText(), "squad 2", "squad 1"));
    EXPECT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_EQ(doc->Landscape.Settings.LandscapeSquad, 1);
}

// golden_default.dat's alive sensor range swept 3..200 in 4 samples, far
// beyond the agent dialog's 99: step 49.25, values 3, 52.25, 101.5, 150.75
// and 200, which the int field takes as 3, 52, 101, 150 and 200.
TEST(LandscapeInputFileSweep, AnAliveSensorRangeBeyondTheDialogsIsSwept)
{
    TestDocument doc;
    ASSERT_TRUE(LoadScenario(*doc, testing::DataPath("golden_default.dat")).Read);
    doc.Host.Messages.clear();
    std::string text = InputText();
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"IC 3", "IC 1"}, {"T_max 40", "T_max 2"}, {"squad 2", "squad 1"}, {"xmax 12", "xmax 200"},
             {"ys 5", "ys 1"}})
        text = Replace(text, from, to);
    doc.Host.FileChoices.push_back(WriteTemp("sensor.f1", text));
    OnLoadLandscapeFile(*doc);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 10);
    const CLandscapeResults& r = doc->Landscape.Results();
    const double used[] = {3, 52, 101, 150, 200};
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 2; ++j)
            EXPECT_EQ(r.LandscapeXUsed[i][j], used[i - 1]) << i << "," << j;
}

// A GA of search mode 1 runs its members on RED squad 1 alone; a file naming
// squad 2, loaded while it stands paused, is read over the scenario the
// sweep runs on, bench/data/small.dat with its 2 RED squads.
TEST(LandscapeInputFileOverAGa, ASquadOfTheScenarioIsRead)
{
    TestDocument doc;
    ASSERT_TRUE(LoadScenario(*doc, std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat").Read);
    SelectGaSearchMode(*doc, GaPersonalityMode, nullptr);
    doc->Ga.GaPopulationSize = 2, doc->Ga.GaInitialConditions = 1, doc->Ga.GaMaxTimeToFlag = 2;
    CGeneticAlgorithm ga(*doc);
    ga.ResetGeneticAlgorithmState();
    ga.RunGABatch(43);
    doc->Pause();
    ASSERT_EQ(doc->RedForce.NumSquads, 1);
    doc.Host.Messages.clear();
    doc.Host.FileChoices.push_back(WriteTemp("squad2.f1", InputText()));
    OnLoadLandscapeFile(*doc);
    EXPECT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->RunMode, FitnessLandscapeMode);
    EXPECT_EQ(doc->Landscape.Settings.LandscapeSquad, 2);
    EXPECT_EQ(doc->RedForce.NumSquads, 2);
}

// The hand-written files the fuzz targets start from are files a user could
// have typed: each must be read, over a scenario of three RED squads as the
// sweep target's.
TEST(LandscapeInputFileSeeds, FuzzSeedsAreRead)
{
    const std::filesystem::path seeds = std::filesystem::path(BREVIMAR_TEST_DATA) / ".." / ".." / "fuzz" / "seeds";
    int read = 0;
    for (const char* target : {"landscape_input", "landscape_sweep"})
        for (const auto& entry : std::filesystem::directory_iterator(seeds / target)) {
            TestDocument doc;
            doc->RedForce.NumSquads = 3;
            CLandscapeInput input = StartingLandscapeInput(*doc);
            std::string text, problem;
            ASSERT_TRUE(ReadTextFile(entry.path().string(), &text)) << entry.path();
            EXPECT_TRUE(ParseLandscapeInput(text, input, &problem)) << entry.path() << ": " << problem;
            ++read;
        }
    EXPECT_GE(read, 3);
}

// The largest weights the reader and dialog 229 allow, with the largest power,
// keep every score, the chart's planes and the report finite.
TEST(LandscapeInputFileSweep, LargestWeightsKeepTheReportFinite)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 30});
    std::string text = WithWeights(InputText(), "100");
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"IC 3", "IC 2"}, {"T_max 40", "T_max 8"}, {"power 1", "power 15"}, {"cx 120", "cx 15"},
             {"tmin 5", "tmin 1"}, {"tmax 30", "tmax 8"}, {"squad 2", "squad 1"}, {"xs 4", "xs 1"}, {"ys 5", "ys 1"}})
        text = Replace(text, from, to);
    doc.Host.FileChoices.push_back(WriteTemp("heavy.f1", text));
    OnLoadLandscapeFile(*doc);
    ASSERT_TRUE(doc.Host.Messages.empty());
    RunLandscapeBatch(*doc);
    CLandscapeSettings& s = doc->Landscape.Settings;
    for (int k = 1; k <= 12; ++k)
        s.LandscapeObjectiveUsed[k] = 1, s.LandscapeObjectiveWeight[k] = 100;
    const CLandscapeResults& r = doc->Landscape.Results();
    for (int c = 1; c <= 12; ++c)
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) {
                EXPECT_TRUE(std::isfinite(r.LandscapeFitnessAve[c][i][j])) << c;
                EXPECT_TRUE(std::isfinite(r.LandscapeFitnessDelta[c][i][j])) << c;
            }
    std::ostringstream out;
    WriteRawFitnessReport(out, *doc);
    EXPECT_EQ(out.str().find("nan"), std::string::npos);
    EXPECT_EQ(out.str().find("inf"), std::string::npos);
}

// Combination weights of either sign. With one step (T = 1) no agent moves or
// fights, so each run scores the deployment: measure 2 (RED present / NumRed)
// 6 / 6 = 1; measure 4 with nB = 6 (m = 5, c = 4) and r = 6 / (6 x 6) = 1/6
// is (5/6) / (4/6 + 1) = 0.5. Combination 1 = 1 x m2 - 1 x m4 = 0.5, within
// [0, 1], so its mean is 0.5 and its delta 0; combination 2 = -100 x m2 =
// -100 has the mean clamped to 0 and the delta |-100 - 0| = 100.
TEST(LandscapeInputFileSweep, NegativeCombinationWeightsAreSummedAndClamped)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 30});
    std::string text = WithWeights(InputText(), "0");
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"IC 3", "IC 1"}, {"T_max 40", "T_max 1"}, {"use 1", "use 0"}, {"squad 2", "squad 1"},
             {"xs 4", "xs 1"}, {"ys 5", "ys 1"},
             {"row2 0 0", "row2 1 -100"}, {"row4 0", "row4 -1"}})
        text = Replace(text, from, to);
    doc.Host.FileChoices.push_back(WriteTemp("signs.f1", text));
    OnLoadLandscapeFile(*doc);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 4);
    const CLandscapeResults& r = doc->Landscape.Results();
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) {
            EXPECT_EQ(r.LandscapeFitnessAve[1][i][j], 0.5) << i << "," << j;
            EXPECT_EQ(r.LandscapeFitnessDelta[1][i][j], 0.0) << i << "," << j;
            EXPECT_EQ(r.LandscapeFitnessAve[2][i][j], 0.0) << i << "," << j;
            EXPECT_EQ(r.LandscapeFitnessDelta[2][i][j], 100.0) << i << "," << j;
        }
}

// The file's box and rule hold through the sweep, whose every run resets the
// data collection. Box (1..3) x (28..30) on a 30 x 30 skirmish, threshold
// range 1, a cell RED's when nR >= 0 and nR >= 0 + nB: no agent comes near
// that corner in 8 steps, so all 9 cells are RED's at each of the steps 1..8
// and measure 11 is 9 / 9 per step, (8 x 1) / 8 = 1 per run; measure 12
// (nothing BLUE's) has the raw value 0 and the score 1 - 0 = 1 (power 1).
// The default box 10 +/- 5 and rule (2, 4, 2) would own fewer, or divide by
// the wrong count.
TEST(LandscapeInputFileSweep, TerritorialBoxAndRuleOfTheFileHoldThroughTheSweep)
{
    TestDocument doc;
    MakeSkirmish(*doc, {.PerSide = 6, .BattleSize = 30});
    std::string text = InputText();
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"IC 3", "IC 1"}, {"T_max 40", "T_max 8"}, {"R 2", "R 1"}, {"N 3", "N 0"}, {"delta 1", "delta 0"},
             {"cx 120", "cx 2"}, {"rx 40", "rx 1"}, {"cy 50", "cy 29"}, {"ry 10", "ry 1"}, {"tmin 5", "tmin 1"},
             {"tmax 30", "tmax 8"}, {"squad 2", "squad 1"}, {"xs 4", "xs 1"}, {"ys 5", "ys 1"}})
        text = Replace(text, from, to);
    doc.Host.FileChoices.push_back(WriteTemp("corner.f1", text));
    OnLoadLandscapeFile(*doc);
    ASSERT_TRUE(doc.Host.Messages.empty());
    RunLandscapeBatch(*doc);
    ASSERT_EQ(doc->Experiment.LandscapeGridPoint, 4);
    const CBattlefield& f = doc->Battlefield;
    EXPECT_EQ(f.TerritoryCenterX, 2);
    EXPECT_EQ(f.TerritoryRangeX, 1);
    EXPECT_EQ(f.TerritoryCenterY, 29);
    EXPECT_EQ(f.TerritoryRangeY, 1);
    EXPECT_EQ(f.TerritoryRange, 1);
    EXPECT_EQ(f.TerritoryMinCount, 0);
    EXPECT_EQ(f.TerritoryDelta, 0);
    EXPECT_EQ(f.TerritoryUserArea, 1);
    EXPECT_EQ(doc->Landscape.Settings.LandscapeTerritoryCells, 9);
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) {
            const CLandscapeResults& r = doc->Landscape.Results();
            EXPECT_EQ(r.LandscapeMeasureMean[11][i][j], 1.0) << i << "," << j;
            EXPECT_EQ(r.LandscapeMeasureMean[12][i][j], 0.0) << i << "," << j;
            EXPECT_EQ(r.LandscapeFitnessAve[11][i][j], 1.0) << i << "," << j;
            EXPECT_EQ(r.LandscapeFitnessAve[12][i][j], 1.0) << i << "," << j;
        }
}

TEST_F(LandscapeInputFile, MissingRefusedOrCancelledChangesNothing)
{
    doc->Pause();
    doc->Landscape.Settings.LandscapeInitialConditions = 77;
    const std::vector<unsigned char> before = testing::DocumentBytes(*doc);
    const std::string missing = testing::TempFolder() + "/none.f1";
    doc.Host.FileChoices.push_back(missing);
    OnLoadLandscapeFile(*doc);
    // Standard error names the file as the box does.
    const std::string said = "Error: cannot open input file.\n" + missing;
    EXPECT_TRUE(doc.Host.SawMessageContaining(said));
    EXPECT_EQ(doc.Host.Logs, std::vector<std::string>{said});
    Load(Replace(InputText(), "IC 3", "IC x"));
    OnLoadLandscapeFile(*doc);  // cancelled
    EXPECT_TRUE(testing::DocumentBytes(*doc) == before);
    EXPECT_EQ(doc.Host.FileRequests.back().Filter,
              "Brevimar 2-Parameter Fitness Landscape Input Data Files (*.f1)|*.f1||");
}

std::string Stars(int n) { return "\n" + std::string(n, '*'); }
std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(RawFitnessReport, WrittenByteForByte)
{
    TestDocument doc;
    SetLandscapeModeDefaults(*doc);
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeXParameter = 2, s.LandscapeXMin = 1, s.LandscapeXMax = 2, s.LandscapeXSamples = 1;
    s.LandscapeYParameter = 46, s.LandscapeYMin = 0, s.LandscapeYMax = 0.25, s.LandscapeYSamples = 1;
    s.LandscapeInitialConditions = 1;
    DeriveLandscapeGrid(*doc);
    for (int k = 1; k <= 12; ++k)
        s.LandscapeObjectiveUsed[k] = 0;
    s.LandscapeObjectiveUsed[2] = 1, s.LandscapeObjectiveWeight[2] = 0.25;
    s.LandscapeObjectiveUsed[5] = 1, s.LandscapeObjectiveWeight[5] = 0.75;
    CLandscapeData& d = doc->Landscape;
    for (int k = 1; k <= 12; ++k)
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j)
                d.LandscapeRawMeasure(k, i, j, 1) = 0.5;
    d.LandscapeRawMeasure(1, 1, 1, 1) = 12.5;
    d.Results().LandscapeMeasureMean[1][1][1] = 1.0;
    d.Results().LandscapeFitnessAve[2][1][1] = 0.4;
    d.Results().LandscapeFitnessAve[5][1][1] = 0.8;
    d.Results().LandscapeFitnessDelta[2][1][1] = 0.2;
    d.Results().LandscapeFitnessDelta[5][1][1] = 0.4;

    std::ostringstream out;
    WriteRawFitnessReport(out, *doc);

    std::string expected = Stars(76) + "\n                 RAW TWO_PARAMETER-FITNESS DATA" + Stars(76) + "\n" +
                           "\nx_parameter: ALIVE RS" + "\ny_parameter: Alive HOLD Threshold" + "\n" +
                           "\nMinimize Time to Goal:  0.0000" + "\nMinimize Number of Red Losses:  0.25000" +
                           "\nMinimize Number of Blue Losses:  0.0000" + "\nMaximize Red/Blue Survival Ratio:  0.0000" +
                           "\nMinimize Dist between Red-CoM and Blue-Flag:  0.75000" +
                           "\nMaximize Dist Between Blue-CoM and Red-Flag:  0.0000" +
                           "\nMaximize Number of Red Forces Near Blue Flag:  0.0000" +
                           "\nMinimize Number of Blue Forces Near Red Flag:  0.0000" +
                           "\nMinimize Total Number of Red Fratricide Hits:  0.0000" +
                           "\nMaximize Number of Blue Fratricide Hits:  0.0000" +
                           "\nMaximize Red Territorial Possession:  0.0000" +
                           "\nMinimize Blue Territorial Possession:  0.0000" + Stars(85) +
                           "\n                                 n_power = 1" + "\n" +
                           "\n     IC  t_G  R_loss  B_loss  Surv  RCM/BF  BCM/RF  R/BF  B/RF  RFr  BFr  RTr  BTr" +
                           Stars(85);
    const char* xs[] = {"", "1.0000", "2.0000"};
    const char* ys[] = {"", "0.0000", "0.25000"};
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) {
            const bool first = i == 1 && j == 1;
            expected += std::string("\nx = ") + xs[i] + "\ny = " + ys[j];
            expected += std::string("\n     1") + (first ? " 12.500" : " 0.50000") + Repeat(" 0.50000", 11);
            expected += std::string("\nAVE:   ") + (first ? "1.0000" : "0.0000") + Repeat(" 0.0000", 11) + "\n";
        }
    expected += "\n" + Stars(76) + "\n            RAW TWO_PARAMETER-FITNESS DATA (for selected mission)" + "\n" +
                "\nFORMAT:" + "\nx_sample::y_sample::fitness:mean_absolute_deviation" + Stars(76);
    // F = 0.25 * 0.4 + 0.75 * 0.8 = 0.7; D = sqrt(0.0625 * 0.04 + 0.5625 * 0.16) = sqrt(0.0925).
    expected += "\n1.0000     0.0000     0.70000     0.30414";
    expected += "\n1.0000     0.25000     0.0000     0.0000";
    expected += "\n2.0000     0.0000     0.0000     0.0000";
    expected += "\n2.0000     0.25000     0.0000     0.0000";
    EXPECT_EQ(out.str(), expected);
}

TEST(RawFitnessReport, IntegerParametersShowTheValueTheirFieldTook)
{
    // "Alive Sensor Range" 1..11 in 3 intervals sweeps 1, 4.3333, 7.6667, 11,
    // which the int field truncates to 1, 4, 7, 11; the HOLD threshold is a
    // double and keeps 0.25.
    TestDocument doc;
    SetLandscapeModeDefaults(*doc);
    CLandscapeSettings& s = doc->Landscape.Settings;
    s.LandscapeXParameter = 2, s.LandscapeXMin = 1, s.LandscapeXMax = 11, s.LandscapeXSamples = 3;
    s.LandscapeYParameter = 46, s.LandscapeYMin = 0, s.LandscapeYMax = 0.25, s.LandscapeYSamples = 1;
    s.LandscapeInitialConditions = 1;
    DeriveLandscapeGrid(*doc);
    std::ostringstream out;
    WriteRawFitnessReport(out, *doc);
    const std::string text = out.str();
    for (const char* x : {"1.0000", "4.0000", "7.0000", "11.000"}) {
        EXPECT_NE(text.find(std::string("\nx = ") + x + "\ny = 0.25000"), std::string::npos) << x;
        EXPECT_NE(text.find(std::string("\n") + x + "     0.25000     "), std::string::npos) << x;
    }
    EXPECT_EQ(text.find("4.3333"), std::string::npos);
    EXPECT_EQ(text.find("7.6667"), std::string::npos);
}

TEST(RawFitnessReport, EmptyRangeWritesTheHeadersAloneAndTheCommandSaves)
{
    TestDocument doc;
    SetLandscapeModeDefaults(*doc);
    doc->Landscape.Settings.LandscapeXMin = 13;  // above the maximum 12
    doc->Landscape.Settings.LandscapeXParameter = 0;
    DeriveLandscapeGrid(*doc);
    const std::string path = testing::TempFolder() + "/raw.fit";
    doc.Host.FileChoices.push_back(path);
    SaveRawFitnessFile(*doc);
    std::string text;
    ASSERT_TRUE(ReadTextFile(path, &text));
    EXPECT_EQ(text.find("x_parameter"), std::string::npos);
    EXPECT_EQ(text.find("\nx = "), std::string::npos);
    EXPECT_NE(text.find("\ny_parameter: CBT ALIVE"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 77), Stars(76));
}

}  // namespace
}  // namespace brevimar
