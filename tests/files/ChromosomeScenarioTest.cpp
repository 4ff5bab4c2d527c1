#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "files/ScenarioWriter.h"
#include "run/ScenarioLoad.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::TempFolder;
using testing::TestDocument;

// A small scenario with values the version-1 layout drops or zeroes on both
// sides, terrain given cell by cell, and a decoded best chromosome for RED
// that differs from the live RED force everywhere it is used.
void MakeScenario(CBrevimarDoc& doc, CGaDecoded& best)
{
    CBattlefield& b = doc.Battlefield;
    b.BattleSize = 40;
    b.TerrainMode = 2;
    b.AgentGrid[GridIndex(3, 7)] = CellTerrain, b.TerrainType[GridIndex(3, 7)] = Lava;
    b.AgentGrid[GridIndex(30, 9)] = CellTerrain, b.TerrainType[GridIndex(30, 9)] = PassableII;
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        f.NumSquads = 1;
        f.NumAgents = f.num_per_squad[1] = 5;
        f.A_S_RANGE[1] = f.I_S_RANGE[1] = 5, f.A_F_RANGE[1] = f.I_F_RANGE[1] = 3;
        f.A_M_RANGE[1] = f.I_M_RANGE[1] = 1;
        f.personality = 1, f.near_terrain_flag = 1, f.CommOn = 1;
        f.w1_a[1] = 0.25f, f.w_terrain_alive[1] = 0.5f, f.w_area_alive[1] = 0.5f, f.w_flock_injured[1] = 0.5f;
        f.ADVANCE_flag[1] = 0, f.HOLD_flag[1] = 1, f.A_HOLD_f[1] = 0.5;
        f.A_R_terrain_min[1] = 4, f.I_R_area_min[1] = 3, f.A_R_flock_max[1] = 6;
    }
    doc.Battlefield.R_box_l[1] = doc.Battlefield.R_box_w[1] = 5;
    doc.Battlefield.RED_cen_x[1] = doc.Battlefield.RED_cen_y[1] = 10;
    doc.Battlefield.B_box_l[1] = doc.Battlefield.B_box_w[1] = 5;
    doc.Battlefield.BLUE_cen_x[1] = doc.Battlefield.BLUE_cen_y[1] = 30;

    best.NumRed = 7, best.NumSquads = 2;
    best.num_per_squad[1] = 4, best.num_per_squad[2] = 3;
    for (int s = 1; s <= 2; ++s) {
        best.A_S_RANGE[s] = 8 + s, best.I_S_RANGE[s] = 6, best.A_F_RANGE[s] = 4, best.I_F_RANGE[s] = 2 + s;
        best.A_M_RANGE[s] = 2, best.I_M_RANGE[s] = s;
        best.A_C_RANGE[s] = 3, best.I_C_RANGE[s] = 4;
        best.A_COMBAT_num[s] = -3 * s, best.I_ADVANCE_num[s] = 5;
        best.Weight[0][W1][s] = 0.75f, best.Weight[1][W6][s] = -0.5f;
        best.A_R_R_min_dist[s] = 2, best.I_R_B_min_dist[s] = 1.5f;
        best.shot_prob_alive[s] = 0.25f, best.A_R_max_eng_num[s] = 2;
        best.alive_strength[s] = best.injured_strength[s] = 1;
        best.R_box_l[s] = best.R_box_w[s] = 4, best.RED_cen_x[s] = 8 * s, best.RED_cen_y[s] = 12;
    }
    best.COMM_range = 6, best.A_COMM_weight = 0.5f, best.recon_time = 9, best.red_frat_rad = 2;
}

// A value read back and the one expected, of any numeric type.
struct Value {
    template <typename A, typename B>
    Value(const char* w, A g, B e) : what(w), got(static_cast<double>(g)), want(static_cast<double>(e))
    {
    }
    const char* what;
    double got, want;
};

// Saved through the command and loaded back by the File menu's loader: RED is
// the evolved force, BLUE the document's, and everything version 1 lacks
// takes the version-1 defaults on both sides. The cells come back with it.
TEST(ChromosomeScenario, SavedBestChromosomeLoadsBackAsTheEvolvedScenario)
{
    const std::string path = TempFolder() + "/best.dat";
    TestDocument doc;
    CGaDecoded& best = doc->Ga.GaBestDecoded;
    MakeScenario(*doc, best);
    doc.Host.FileChoices.push_back(path);
    ASSERT_EQ(WriteChromosomeInputDataFile(*doc), FileCommandResult::Done);
    EXPECT_EQ(doc.Host.FileRequests.at(0).DefaultExtension, "dat");

    TestDocument loaded;
    ASSERT_TRUE(LoadScenario(*loaded, path).Read);
    ASSERT_TRUE(loaded.Host.Messages.empty()) << loaded.Host.Messages.front().Text;
    const CForce& red = loaded->RedForce;
    const CForce& blue = loaded->BlueForce;
    const Value values[] = {
        {"RED agents", red.NumAgents, 7},
        {"RED squads", red.NumSquads, 2},
        {"RED squad 2 size", red.num_per_squad[2], 3},
        {"RED A:S_RANGE 2", red.A_S_RANGE[2], 10},
        {"RED I:F_RANGE 2", red.I_F_RANGE[2], 4},
        {"RED I:M_RANGE 2", red.I_M_RANGE[2], 2},
        {"RED A:C_RANGE 1", red.A_C_RANGE[1], 3},
        {"RED A:COMBAT_num 2", red.A_COMBAT_num[2], -6},
        {"RED I:ADVANCE_num 1", red.I_ADVANCE_num[1], 5},
        {"RED w1 alive", red.w1_a[1], 0.75},
        {"RED w6 injured", red.w6_i[2], -0.5},
        {"RED A:R_R_min_dist", red.A_R_R_min_dist[2], 2},
        {"RED I:R_B_min_dist", red.I_R_B_min_dist[1], 1.5},
        {"RED shot_prob_alive", red.shot_prob_alive[1], 0.25},
        {"RED COMM_range", red.COMM_range, 6},
        {"RED recon time", red.recon_time, 9},
        {"red_frat_rad", loaded->Battlefield.red_frat_rad, 2},
        {"RED_cen_x 2", loaded->Battlefield.RED_cen_x[2], 16},
        {"BLUE agents", blue.NumAgents, 5},
        {"BLUE w1 alive", blue.w1_a[1], 0.25},
        {"BLUE BLUE_cen_x", loaded->Battlefield.BLUE_cen_x[1], 30},
        // Written as zeros, or absent from version 1, on both sides.
        {"RED near_terrain_flag", red.near_terrain_flag, 0},
        {"BLUE w_terrain alive", blue.w_terrain_alive[1], 0},
        {"BLUE w_area alive", blue.w_area_alive[1], 0},
        {"BLUE w_flock injured", blue.w_flock_injured[1], 0},
        {"BLUE terrain min", blue.A_R_terrain_min[1], 0},
        {"RED area min", red.I_R_area_min[1], 0},
        {"BLUE flock max", blue.A_R_flock_max[1], 0},
        {"BLUE ADVANCE flag", blue.ADVANCE_flag[1], 1},
        {"RED HOLD flag", red.HOLD_flag[1], 0},
        {"BLUE HOLD f", blue.A_HOLD_f[1], 0},
        {"terrain by cells", loaded->Battlefield.TerrainMode, 2},
        {"cell (3,7)", loaded->Battlefield.TerrainType[GridIndex(3, 7)], Lava},
        {"cell (30,9)", loaded->Battlefield.TerrainType[GridIndex(30, 9)], PassableII},
    };
    for (const auto& v : values)
        EXPECT_EQ(v.got, v.want) << v.what;
}

// While the best chromosome is shown, the ordinary scenario file takes the
// twelve decided RED rows from it and nothing else.
TEST(ChromosomeScenario, ShownBestChromosomeDecidesTwelveRedRowsOfTheScenarioFile)
{
    TestDocument doc;
    MakeScenario(*doc, doc->Ga.GaBestDecoded);
    auto line = [&doc](const std::string& label) {
        std::ostringstream out;
        WriteScenario(*doc, out);
        const std::string text = out.str();
        const auto at = text.find("\n" + label);
        EXPECT_NE(at, std::string::npos) << label;
        return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
    };
    EXPECT_EQ(line("A:S_RANGE"), "A:S_RANGE          5 0 0 0 0 0 0 0 0 0");
    doc->Ga.GaBestShown = 1;
    EXPECT_EQ(line("A:S_RANGE"), "A:S_RANGE          9 10 0 0 0 0 0 0 0 0");
    EXPECT_EQ(line("A:COMBAT_num"), "A:COMBAT_num        -3 -6 0 0 0 0 0 0 0 0");
    EXPECT_EQ(line("A:M_RANGE"), "A:M_RANGE         1 0 0 0 0 0 0 0 0 0");
    EXPECT_EQ(line("num_reds"), "num_reds          5");
}

// The words after the `nth` line that begins with `label`.
std::vector<std::string> RowOf(const std::string& text, const std::string& label, int nth = 1)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word != label || --nth > 0)
            continue;
        std::vector<std::string> row;
        while (words >> word)
            row.push_back(word);
        return row;
    }
    return {};
}

using Row = std::vector<std::string>;

// A file without frames holds the scenario a save without a capture holds,
// whether a capture records or not: the agents a right click took off are
// out of it (RED 5 - 1 = 4, BLUE 5 - 2 = 3, each side one squad) and the
// shown best chromosome's rows in it (A:S_RANGE 9 10 against RED's own 5).
// Frames that follow were recorded under the scenario with every slot and
// RED's own rows, one agent line a slot: 5 and 5, and 5. The best
// chromosome's own file has RED's evolved 7 in squads of 4 and 3, and BLUE
// as a save writes it.
TEST(ChromosomeScenario, AFileWithoutFramesHoldsTheForceASaveWithoutACaptureHolds)
{
    const struct {
        const char* What;
        bool Chromosome;
        int Capture, Frames;
        Row Reds, RedSizes, Blues, BlueSizes, SensorRange;
    } rows[] = {
        {"no capture", false, 0, 0, {"4"}, {"4", "0"}, {"3"}, {"3", "0"}, {"9", "10"}},
        {"a capture of no frames yet", false, 1, 0, {"4"}, {"4", "0"}, {"3"}, {"3", "0"}, {"9", "10"}},
        {"a capture of two frames", false, 1, 2, {"5"}, {"5", "0"}, {"5"}, {"5", "0"}, {"5", "0"}},
        {"the best chromosome's file in a capture of no frames", true, 1, 0, {"7"}, {"4", "3"}, {"3"}, {"3", "0"},
         {"9", "10"}},
    };
    for (const auto& r : rows) {
        TestDocument doc;
        CGaDecoded& best = doc->Ga.GaBestDecoded;
        MakeScenario(*doc, best);
        doc->Ga.GaBestShown = 1;
        doc->RedForce.AgentState[1] = 0, doc->RedForce.HandRemoved[1] = 1;
        doc->BlueForce.AgentState[1] = doc->BlueForce.AgentState[2] = 0, doc->BlueForce.HandRemoved[1] = 2;
        doc->RunCaptureOn = r.Capture;
        doc->CaptureFrameCount = r.Frames;
        std::ostringstream out;
        if (r.Chromosome)
            WriteChromosomeScenario(*doc, best, out);
        else
            WriteScenario(*doc, out);
        const std::string text = out.str();
        auto first = [](Row row, std::size_t n) { return Row(row.begin(), row.begin() + std::min(n, row.size())); };
        EXPECT_EQ(RowOf(text, "num_reds"), r.Reds) << r.What;
        EXPECT_EQ(first(RowOf(text, "num_per_squad", 1), 2), r.RedSizes) << r.What;
        EXPECT_EQ(RowOf(text, "num_blues"), r.Blues) << r.What;
        EXPECT_EQ(first(RowOf(text, "num_per_squad", 2), 2), r.BlueSizes) << r.What;
        EXPECT_EQ(first(RowOf(text, "A:S_RANGE"), 2), r.SensorRange) << r.What;
    }
}

}  // namespace
}  // namespace brevimar
