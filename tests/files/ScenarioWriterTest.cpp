#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/SquadCopies.h"
#include "files/ScenarioFormat.h"
#include "files/ScenarioWriter.h"
#include "files/TerrainFiles.h"
#include "files/WordReader.h"
#include "run/ScenarioLoad.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::Lines;

using testing::TempFolder;

using testing::TestDocument;

std::string FileText(const std::string& path)
{
    std::string text;
    EXPECT_TRUE(ReadTextFile(path, &text)) << path;
    return text;
}
std::string Golden(const std::string& name) { return FileText(std::string(BREVIMAR_TEST_DATA) + "/" + name); }

std::string Written(const CBrevimarDoc& doc)
{
    std::ostringstream out;
    WriteScenario(doc, out);
    return out.str();
}

int Words(const std::string& line)
{
    std::istringstream in(line);
    int n = 0;
    for (std::string word; in >> word;)
        ++n;
    return n;
}

// A scenario that touches every kind of line: both global blocks, ten
// commanders a side, three squads against two, terrain blocks with a Pillar
// (so the line-of-sight switch is what a reader derives), and a capture of
// two frames. The golden file golden_rich.run was built from the same values.
void MakeRich(CBrevimarDoc& doc)
{
    CBattlefield& b = doc.Battlefield;
    b.BattleSize = 80;
    b.init_dist = 1;
    for (int s = 1; s <= MaxSquads; ++s) {
        b.R_box_l[s] = 10 + s, b.R_box_w[s] = 20 + s, b.RED_cen_x[s] = 15 + s, b.RED_cen_y[s] = 16 + s;
        b.B_box_l[s] = 30 + s, b.B_box_w[s] = 40 + s, b.BLUE_cen_x[s] = 60 + s, b.BLUE_cen_y[s] = 61 + s;
    }
    doc.RedForce.GoalFlagX = 70, doc.RedForce.GoalFlagY = 71;
    doc.BlueForce.GoalFlagX = 5, doc.BlueForce.GoalFlagY = 6;
    b.termination = 1, b.MoveOrder = 2, b.RedCombatUnlimited = 1, b.BlueCombatUnlimited = 0;
    b.TerrainMode = 1, b.LineOfSightOn = 1;
    b.red_frat_flag = 1, b.red_frat_rad = 2, b.blue_frat_rad = 3;
    b.red_frat_prob = 0.25f, b.blue_frat_prob = 1.0f / 3.0f;
    b.RED_recon_flag = 1, doc.RedForce.recon_time = 7, doc.BlueForce.recon_time = -3;

    CStatisticsParameters& st = doc.Statistics;
    st.DataCollectionOn = 1, st.GoalStatsOn = 1, st.InterpointOn = 1, st.ClusterD1On = 1, st.NeighborStatsOn = 1;

    CGlobalCommander& rg = doc.RedGlobal;
    rg.GlobalCommandOn = 1, rg.GC_fear_index = 0.3f, rg.GC_w_alpha = 0.4f, rg.GC_w_beta = 0.6f;
    rg.GC_frac_R[1] = 0.25f, rg.GC_frac_R[2] = 0.5f;
    rg.GC_w_swath[1] = 0.1f, rg.GC_w_swath[2] = 0.2f, rg.GC_w_swath[3] = 0.3f;
    rg.GC_max_red_f = 2500000.0f, rg.GC_help_radius = 12, rg.GC_h_thresh = 0.2f, rg.GC_rel_h_thresh = 0.35f;
    CGlobalCommander& bg = doc.BlueGlobal;
    bg.GlobalCommandOn = 1, bg.GC_fear_index = 1.0f, bg.GC_w_alpha = 0.000125f, bg.GC_w_beta = 1e-05f;
    bg.GC_frac_R[1] = 0.75f, bg.GC_frac_R[2] = 0.125f;
    bg.GC_w_swath[1] = 1.0f, bg.GC_w_swath[2] = 2.0f, bg.GC_w_swath[3] = 3.0f;
    bg.GC_max_red_f = 123456.0f, bg.GC_help_radius = -4, bg.GC_h_thresh = 1234567.0f, bg.GC_rel_h_thresh = 0.0001f;

    for (Side side : {Side::Red, Side::Blue}) {
        const int k = side == Side::Red ? 0 : 1;
        CLocalCommand& l = doc.Local(side);
        l.LocalCommandOn = 1, l.NumLocalCommanders = 10, l.patch_type = 2 - k, l.patch_flag = k;
        for (int c = 1; c <= MaxCommanders; ++c) {
            // Weights whose magnitudes already add up to 1, so a reader's
            // normalisation keeps them.
            float* w[] = {l.w1, l.w2, l.w3, l.w4, l.w5, l.w6, l.w_terrain};
            for (int n = 0; n < 7; ++n)
                w[n][c] = n == c % 7 ? 0.25f : (n == (c + 1) % 7 ? -0.125f : 0.125f);
            l.undr_cmd[c] = k == 0 ? c % 2 : (c == 10 ? 3 : 0);
            l.cmnd_rad[c] = c + 20 * k, l.SENSOR_rng[c] = 10 + c + 20 * k;
            l.ADV_range[c] = c + 1 + k, l.ADVANCE_num[c] = c + 2 + k, l.CLUSTER_num[c] = c + 3 + k;
            l.COMBAT_num[c] = c + 4 + k;
            l.w_alpha[c] = 0.5f * c + k, l.w_beta[c] = c / 4.0f, l.w_delta[c] = -c, l.w_gamma[c] = c / 8.0f;
            l.w_obey_GC_def[c] = c * 0.25f, l.w_help_LC_def[c] = 100.0f * c + k;
        }
        l.w7 = k == 0 ? 0.6f : 0.7f;
        l.w8 = k == 0 ? 0.4f : 0.3f;

        CForce& f = doc.Force(side);
        f.NumAgents = k == 0 ? 20 : 15;
        f.NumSquads = k == 0 ? 3 : 2;
        const int perSquad[2][4] = {{0, 8, 7, 5}, {0, 10, 5, 0}};
        for (int s = 1; s <= MaxSquads; ++s) {
            f.num_per_squad[s] = s <= 3 ? perSquad[k][s] : (k == 0 ? 9 : 0);
            f.A_M_RANGE[s] = (s + k) % 5, f.I_M_RANGE[s] = 1;
            f.w1_a[s] = s + 10 * k, f.w2_a[s] = -0.5f * s, f.w6_a[s] = s / 1024.0f;
            f.w_terrain_alive[s] = 1000000.0f * (1 + k), f.w_area_alive[s] = 0.1f;
            f.w_flock_injured[s] = k == 0 ? 0.3f : 1.3f;
            f.alive_strength[s] = s + k, f.injured_strength[s] = 2 * s;
            f.A_S_RANGE[s] = 5 + s + k, f.A_F_RANGE[s] = 3 + s, f.I_S_RANGE[s] = 4 + s, f.I_F_RANGE[s] = 2 + s + k;
            f.movement_flag[s] = 1, f.ADVANCE_flag[s] = (s + k) % 2, f.R_area_min_flag[s] = 1 - k;
            f.A_C_RANGE[s] = s + 1, f.A_HOLD_f[s] = 1.0 / 3.0, f.I_HOLD_f[s] = 0.5 + k, f.I_SUPPORT2_num[s] = -s;
            f.A_R_R_min_dist[s] = 1.5f + k, f.A_R_flock_min[s] = 2, f.A_R_flock_max[s] = 8.0f + k;
            f.I_R_area_min[s] = -1;
            f.shot_prob_alive[s] = s / 64.0f, f.shot_prob_injured[s] = s / 128.0f + k;
            f.A_R_max_eng_num[s] = s, f.I_R_max_eng_num[s] = 1 + k;
        }
        f.personality = 1, f.near_terrain_flag = 1 - k, f.defense_flag = 1;
        if (k == 0)
            f.CommOn = 1, f.COMM_range = 9, f.A_COMM_weight = 0.75f, f.I_COMM_weight = 0.5f;
        int* pairs[][2] = {{&f.C_RANGE_m, &f.C_RANGE_M}, {&f.A_ADV_m, &f.A_ADV_M}, {&f.A_CLUS_m, &f.A_CLUS_M},
                           {&f.A_COMB_m, &f.A_COMB_M},   {&f.I_ADV_m, &f.I_ADV_M}, {&f.I_CLUS_m, &f.I_CLUS_M},
                           {&f.I_COMB_m, &f.I_COMB_M}};
        for (int n = 0; n < 7; ++n)
            *pairs[n][0] = 2 * n + 1 + 20 * k, *pairs[n][1] = 2 * n + 2 + 20 * k;
    }

    b.terrain_blocks = 3;
    const int blocks[3][5] = {{Pillar, 5, 3, 40, 41}, {PassableII, 7, 2, 20, 60}, {Lava, 1, 1, 70, 10}};
    for (int k = 1; k <= 3; ++k) {
        b.TerrainBlockType[k] = blocks[k - 1][0], b.TerrainBlockLength[k] = blocks[k - 1][1];
        b.TerrainBlockWidth[k] = blocks[k - 1][2], b.TerrainBlockX[k] = blocks[k - 1][3];
        b.TerrainBlockY[k] = blocks[k - 1][4];
        b.TerrainBlockUsed[k] = 1;
    }

    doc.RunCaptureOn = 1;
    doc.CaptureFrameCount = 2;
    for (int j = 0; j < 2; ++j) {
        doc.CapturedStep[j] = j;
        for (int i = 1; i <= 20; ++i) {
            doc.Capture(RedCaptureState, j, i) = 2 - (i + j) % 3;
            doc.Capture(RedCaptureX, j, i) = 1 + (3 * i + j) % 80;
            doc.Capture(RedCaptureY, j, i) = 1 + (7 * i + 5 * j) % 80;
        }
        for (int i = 1; i <= 15; ++i) {
            doc.Capture(BlueCaptureState, j, i) = (i + j) % 3;
            doc.Capture(BlueCaptureX, j, i) = 80 - (i + j) % 80;
            doc.Capture(BlueCaptureY, j, i) = 1 + (11 * i + j) % 80;
        }
    }
}

void AddTerrainCells(CBattlefield& b)
{
    b.TerrainMode = 2, b.LineOfSightOn = 0;
    b.AgentGrid[GridIndex(3, 7)] = CellTerrain, b.TerrainType[GridIndex(3, 7)] = Lava;
    b.AgentGrid[GridIndex(2, 9)] = CellTerrain, b.TerrainType[GridIndex(2, 9)] = PassableIII;
}

TEST(ScenarioWriter, DefaultAndRichDocumentsMatchTheirGoldenFiles)
{
    TestDocument fresh;
    EXPECT_EQ(Written(*fresh), Golden("golden_default.dat"));

    TestDocument rich;
    MakeRich(*rich);
    // Whatever the stream was set to, the file has the default format, and
    // the stream gets its settings back.
    std::ostringstream out;
    out << std::fixed << std::setprecision(2) << std::showpos << std::setfill('#') << std::setw(9);
    WriteScenario(*rich, out);
    const std::string text = out.str();
    EXPECT_EQ(text, Golden("golden_rich.run"));
    EXPECT_EQ(out.precision(), 2);

    // The golden files pin every byte; the properties the readers rely on:
    EXPECT_TRUE(text.starts_with("******************************\n*    RUN TIME PARAMETERS\n"));
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
    const std::vector<std::string> lines = Lines(text);
    EXPECT_EQ(lines[3], "data_version        4");
    const auto third = std::find(lines.begin(), lines.end(), "(3)_R_undr_cmd    1");
    ASSERT_NE(third, lines.end());
    EXPECT_EQ(Words(*third), 2);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "(10)_B_undr_cmd    3"), lines.end());
    // Each agent section: 125 lines, 98 of them labelled, carrying 825 values.
    for (const char* title : {"* RED VORLAX PARAMETERS", "* BLUE VORLAX PARAMETERS"}) {
        const auto titleLine = std::find(lines.begin(), lines.end(), title);
        ASSERT_LT(titleLine + 125, lines.end()) << title;
        const auto first = titleLine - 1;
        int labelled = 0, values = 0;
        for (auto line = first; line != first + 125; ++line)
            if ((*line)[0] != '*')
                ++labelled, values += Words(*line) - 1;
        EXPECT_EQ(labelled, 98) << title;
        EXPECT_EQ(values, 825) << title;
        EXPECT_EQ(first[125][0], '*') << title;
    }
}

TEST(ScenarioWriter, TerrainCellsAndTheCaptureLimits)
{
    TestDocument doc;
    MakeRich(*doc);
    CBattlefield& b = doc->Battlefield;
    AddTerrainCells(b);
    b.AgentGrid[GridIndex(80, 80)] = CellTerrain, b.TerrainType[GridIndex(80, 80)] = Pillar;
    b.AgentGrid[GridIndex(81, 1)] = CellTerrain;  // off the 80-cell battlefield
    b.AgentGrid[GridIndex(4, 4)] = CellAgent;
    doc->RunCaptureOn = 0;
    // x is the outer loop: (2, 9) comes before (3, 7); position before type.
    EXPECT_TRUE(Written(*doc).ends_with("*    TERRAIN PARAMETERS\n******************************\nnum_elements   3\n"
                                        "terrain_x_y_(1)     2 9\ntype(1)     5\nterrain_x_y_(2)     3 7\n"
                                        "type(2)     1\nterrain_x_y_(3)     80 80\ntype(3)     2"));
    b.TerrainMode = 0;
    EXPECT_TRUE(Written(*doc).ends_with("*    TERRAIN PARAMETERS\n******************************"));

    // The frames the capture counts while it is on, a step line and a line
    // per agent each; never more than the readers keep (frames 0..350).
    const std::size_t base = Lines(Written(*doc)).size();
    doc->RunCaptureOn = 1;
    const int cases[][2] = {{0, 0}, {1, 1}, {2, 2}, {501, 351}};
    for (const auto& [counted, frames] : cases) {
        doc->CaptureFrameCount = counted;
        EXPECT_EQ(Lines(Written(*doc)).size(), base + 36u * frames) << "counted " << counted;
    }
    // A run that ended at step 5 and wrapped to 1 saves its five frames.
    doc->CaptureEndStep = 5;
    doc->RunHeader.CurrentStep = 1;
    EXPECT_EQ(Lines(Written(*doc)).size(), base + 36u * 5);
}

// The file has no use tick: a block whose tick is off is not laid and not
// saved, and the laid ones follow one another. MakeRich's blocks are 1
// Pillar 5 x 3 at (40, 41), 2 type II 7 x 2 at (20, 60), 3 Lava 1 x 1 at
// (70, 10). Block 2 spans x 20 - 3 .. 20 + 3 + 1 and y 60 - 1 .. 60 + 1.
TEST(ScenarioWriter, OnlyTheLaidTerrainBlocksAreSaved)
{
    const std::string one = "type(1)     2\nterrain_l_w_(1)     5 3\nterrain_x_y_(1)     40 41";
    const struct {
        std::vector<int> Off;
        std::string Blocks;
    } cases[] = {
        {{2}, "terrain_blocks\t\t2\n" + one + "\ntype(2)     1\nterrain_l_w_(2)     1 1\nterrain_x_y_(2)     70 10"},
        {{1, 3}, "terrain_blocks\t\t1\ntype(1)     4\nterrain_l_w_(1)     7 2\nterrain_x_y_(1)     20 60"},
        {{1, 2, 3}, "terrain_blocks\t\t0"},
    };
    for (const auto& c : cases) {
        TestDocument doc;
        MakeRich(*doc);
        doc->RunCaptureOn = 0;
        for (int k : c.Off)
            doc->Battlefield.TerrainBlockUsed[k] = 0;
        EXPECT_TRUE(Written(*doc).ends_with("******************************\n" + c.Blocks)) << c.Blocks;
    }

    TestDocument doc;
    MakeRich(*doc);
    doc->RunCaptureOn = 0;
    doc->Battlefield.TerrainBlockUsed[2] = 0;
    const std::string path = TempFolder() + "/laid.dat";
    doc.Host.FileChoices.push_back(path);
    ASSERT_EQ(WriteInputDataFile(*doc), FileCommandResult::Done);
    TestDocument reader;
    reader.Host.FileChoices.push_back(path);
    reader->ReadStartupInputFile();
    ASSERT_TRUE(reader.Host.Messages.empty()) << reader.Host.Messages.front().Text;
    const CBattlefield& b = reader->Battlefield;
    EXPECT_EQ(b.TerrainType[GridIndex(20, 60)], OpenGround);
    EXPECT_EQ(b.TerrainType[GridIndex(24, 61)], OpenGround);
    EXPECT_EQ(b.TerrainType[GridIndex(40, 41)], Pillar);
    EXPECT_EQ(b.TerrainType[GridIndex(70, 10)], Lava);
    EXPECT_EQ(b.TerrainModifiersOn, 0);  // no passable block was laid
}

// A passable cell keeps its terrain whatever stands on it: the Lava at (3, 7)
// is marked terrain, the type III cell at (2, 9) holds an agent's mark and
// the type I cell at (5, 5) was left free by one that crossed it. Both the
// scenario and the terrain file hold all three, x outer and y inner; the
// scenario reads back with the three cells.
TEST(ScenarioWriter, TerrainUnderOrLeftByAnAgentIsSaved)
{
    TestDocument doc;
    MakeRich(*doc);
    CBattlefield& b = doc->Battlefield;
    AddTerrainCells(b);
    b.AgentGrid[GridIndex(2, 9)] = CellAgent;
    b.TerrainType[GridIndex(5, 5)] = PassableI;
    doc->RunCaptureOn = 0;
    EXPECT_TRUE(Written(*doc).ends_with("\nnum_elements   3\nterrain_x_y_(1)     2 9\ntype(1)     5\n"
                                        "terrain_x_y_(2)     3 7\ntype(2)     1\nterrain_x_y_(3)     5 5\ntype(3)     3"));
    std::ostringstream terrain;
    WriteTerrainText(b, terrain);
    EXPECT_EQ(terrain.str(), "80\n3\n2 9\n2 5\n3 7\n2 1\n5 5\n2 3");

    const std::string path = TempFolder() + "/crossed.dat";
    doc.Host.FileChoices.push_back(path);
    ASSERT_EQ(WriteInputDataFile(*doc), FileCommandResult::Done);
    TestDocument reader;
    reader.Host.FileChoices.push_back(path);
    reader->ReadStartupInputFile();
    ASSERT_TRUE(reader.Host.Messages.empty()) << reader.Host.Messages.front().Text;
    EXPECT_EQ(reader->Battlefield.TerrainType[GridIndex(2, 9)], PassableIII);
    EXPECT_EQ(reader->Battlefield.TerrainType[GridIndex(3, 7)], Lava);
    EXPECT_EQ(reader->Battlefield.TerrainType[GridIndex(5, 5)], PassableI);
}

// Saved through the command, read back by the start-up reader into a fresh
// document, written again: the same bytes. A stored run is read for
// playback; capturing it again takes the capture switch and its step.
TEST(ScenarioWriter, WriteReadWriteGivesTheSameBytes)
{
    const std::string folder = TempFolder();
    for (const char* name : {"rich.run", "blocks.dat", "cells.dat"}) {
        const std::string path = folder + "/" + name;
        TestDocument doc;
        MakeRich(*doc);
        doc->RunCaptureOn = path.ends_with(".run");
        if (path.ends_with("cells.dat"))
            AddTerrainCells(doc->Battlefield);
        doc.Host.FileChoices.push_back(path);
        ASSERT_EQ(WriteInputDataFile(*doc), FileCommandResult::Done);
        const std::string first = FileText(path);
        ASSERT_EQ(first, Written(*doc)) << name;

        TestDocument reader;
        reader.Host.FileChoices.push_back(path);
        reader->ReadStartupInputFile();
        ASSERT_TRUE(reader.Host.Messages.empty()) << reader.Host.Messages.front().Text;
        if (doc->RunCaptureOn == 1) {
            EXPECT_EQ(reader->RunMode, PlaybackMode);
            reader->RunCaptureOn = 1, reader->CaptureFrameCount = 2, reader->CapturedStep[1] = 1;
        }
        EXPECT_EQ(Written(*reader), first) << name;
    }
}

// A new document whose start-up chooser was cancelled: its start values
// hold for a scenario loaded later from the menu, and the file it saves
// reads back.
TEST(ScenarioWriter, TheNewDocumentSavesAFileThatReadsBack)
{
    TestDocument doc;
    doc->OnNewDocument();  // the chooser is cancelled: the built-in scenario
    EXPECT_EQ(doc->RedForce.MoveProbAlive[1], 1.0f);
    EXPECT_EQ(doc->BlueForce.MovePeriodInjured[10], 1);
    const std::string path = TempFolder() + "/new.dat";
    doc.Host.FileChoices.push_back(path);
    ASSERT_EQ(WriteInputDataFile(*doc), FileCommandResult::Done);

    TestDocument reader;
    reader.Host.FileChoices.push_back(path);
    reader->ReadStartupInputFile();
    for (const auto& message : reader.Host.Messages)
        EXPECT_EQ(message.Text.find("cannot read"), std::string::npos) << message.Text;
    EXPECT_EQ(reader->InputFileName, "new.dat");
    EXPECT_EQ(reader->NumRed(), 10);
    EXPECT_EQ(reader->RedForce.num_per_squad[1], 10);  // the one squad takes every agent

    doc->LoadInputFile = 1;
    doc.Host.FileChoices.push_back(std::string(BREVIMAR_TEST_DATA) + "/scenario_v4.dat");
    ASSERT_EQ(LoadInputDataFile(*doc), 1);
    EXPECT_EQ(doc->RedForce.MoveProbAlive[1], 1.0f);
    EXPECT_EQ(doc->BlueForce.MoveProbInjured[3], 1.0f);
}

// The commanders' weights are saved as the file gave them, so saving and
// reading again derives bit for bit the same weights the step uses.
TEST(ScenarioWriter, CommanderWeightsDoNotDriftOverSaveAndReload)
{
    TestDocument first;
    first.Host.FileChoices.push_back(std::string(BREVIMAR_TEST_DATA) + "/scenario_v4.dat");
    first->ReadStartupInputFile();
    ASSERT_EQ(first->BlueLocal.w6[1], 2.0f);  // the file's value, not divided
    std::string path = TempFolder() + "/again.dat";
    for (int round = 0; round < 2; ++round) {
        std::ofstream(path) << Written(*first);
        TestDocument again;
        again.Host.FileChoices.push_back(path);
        again->ReadStartupInputFile();
        for (Side side : {Side::Red, Side::Blue}) {
            const CCommanderWeights& a = first->Local(side).Normalised;
            const CCommanderWeights& b = again->Local(side).Normalised;
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "round " << round;
            EXPECT_EQ(first->Local(side).w_terrain[1], again->Local(side).w_terrain[1]);
        }
    }
}

TEST(ScenarioWriter, SaveCancelledOrUnopenedWritesNothingAndKeepsTheDocument)
{
    const std::string folder = TempFolder();
    TestDocument doc;
    MakeRich(*doc);
    doc->Statistics.AllStatisticsOn = 1;

    EXPECT_EQ(WriteInputDataFile(*doc), FileCommandResult::Cancelled);
    ASSERT_EQ(doc.Host.FileRequests.size(), 1u);
    EXPECT_EQ(doc.Host.FileRequests[0].Filter,
              "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run||");
    // A capture is running, so what is written is a RUN file.
    ASSERT_EQ(doc->RunCaptureOn, 1);
    EXPECT_EQ(doc.Host.FileRequests[0].DefaultExtension, "run");
    EXPECT_EQ(doc->Paused, 1);

    const std::string missing = folder + "/no such folder/x.dat";
    doc.Host.FileChoices.push_back(missing);
    EXPECT_EQ(WriteInputDataFile(*doc), FileCommandResult::CannotOpen);
    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_EQ(doc.Host.Messages[0].Text, "Error: cannot open output file.\n" + missing + "\nNo such file or directory.");
    EXPECT_EQ(doc->Statistics.AllStatisticsOn, 1);
    EXPECT_TRUE(std::filesystem::is_empty(folder));

    // Saved: the "Set All" mark goes, the switches stay; a capture that is on
    // is written whatever the file's name.
    doc.Host.FileChoices.push_back(folder + "/saved.dat");
    EXPECT_EQ(WriteInputDataFile(*doc), FileCommandResult::Done);
    EXPECT_EQ(doc->Statistics.AllStatisticsOn, 0);
    EXPECT_EQ(doc->Statistics.GoalStatsOn, 1);
    EXPECT_EQ(FileText(folder + "/saved.dat"), Golden("golden_rich.run"));
    EXPECT_EQ(doc.Host.InvalidateCount, 0);  // writers do not redraw
}

// Save Input Data File onto a FIFO: one that nothing reads is refused after
// a moment, naming it, with the document and its RUN capture as they were;
// one that is read gets the bytes a save to a regular file holds.
TEST(ScenarioWriter, SaveOntoAPipeIsRefusedUnreadOrWrittenWhole)
{
    const std::string regular = TempFolder() + "/saved.run";
    for (const bool read : {false, true}) {
        std::optional<testing::DrainedPipe> pipe;
        if (read)
            pipe.emplace("capture.run");
        const std::string path = read ? pipe->Path : testing::UnfedPipe("capture.run");
        const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
            TestDocument doc;
            MakeRich(*doc);
            doc->Statistics.AllStatisticsOn = 1;
            doc.Host.FileChoices.push_back(path);
            const bool done = WriteInputDataFile(*doc) == FileCommandResult::Done;
            std::string said = std::string(done ? "saved" : "not saved") +
                               ", Set All " + std::to_string(doc->Statistics.AllStatisticsOn) + ", capture " +
                               std::to_string(doc->RunCaptureOn) + " of " + std::to_string(doc->CapturedFrames()) +
                               " frames: ";
            for (const auto& message : doc.Host.Messages)
                said += message.Text + "|";
            return said;
        });
        TestDocument doc;
        MakeRich(*doc);
        const std::string frames = std::to_string(doc->CapturedFrames());
        if (!read) {
            EXPECT_EQ(answer, "not saved, Set All 1, capture 1 of " + frames +
                                  " frames: Error: cannot open output file.\n" + path +
                                  "\nnothing read it within 2 seconds.|");
            continue;
        }
        // Saved, "Set All" goes as after any save.
        EXPECT_EQ(answer, "saved, Set All 0, capture 1 of " + frames + " frames: ");
        doc.Host.FileChoices.push_back(regular);
        ASSERT_EQ(WriteInputDataFile(*doc), FileCommandResult::Done);
        EXPECT_EQ(pipe->Taken(), FileText(regular));
    }
}

// Every row of ten squads (or ten pairs) a save holds, for both sides: with
// squad rows all distinct, a side grown from 2 to 3 squads writes squad 2's
// values in squad 3's places and nothing else changes. The rows come from
// the writer's own table, not from a list of the copy's. Tables the file
// does not hold (terrain modifiers, the movement gate) are copied too.
TEST(ScenarioWriter, AnAddedSquadHoldsItsSourcesValueInEveryRowASaveWrites)
{
    TestDocument doc;
    ScenarioBlocks blocks = BlocksOf(*doc);
    int next = 1;
    for (ScenarioSection section : {ScenarioSection::General, ScenarioSection::Agents})
        for (Side side : {Side::Red, Side::Blue})
            for (const ScenarioLine& line : SectionLines(section))
                for (const ScenarioField& field : line.Values)
                    if (field.Used() && field.Count == MaxSquads)
                        for (int k = 0; k < MaxSquads; ++k, ++next) {
                            if (field.Type == ScenarioValueType::Int)
                                *ScenarioValue<int>(blocks, field, side, 0, k) = next;
                            else if (field.Type == ScenarioValueType::Float)
                                *ScenarioValue<float>(blocks, field, side, 0, k) = static_cast<float>(next);
                            else
                                *ScenarioValue<double>(blocks, field, side, 0, k) = next;
                        }
    doc->TerrainModifiers.Blue.A_fire_range[2][3] = 7;
    doc->RedForce.MoveProbAlive[2] = 0.25f;
    for (Side side : {Side::Red, Side::Blue})
        doc->Force(side).NumSquads = 2;
    const std::vector<std::string> before = Lines(Written(*doc));
    for (Side side : {Side::Red, Side::Blue})
        AddSquadCopies(*doc, side, 3);
    const std::vector<std::string> after = Lines(Written(*doc));
    ASSERT_EQ(after.size(), before.size());
    int rows = 0;
    for (std::size_t n = 0; n < after.size(); ++n) {
        const int values = Words(before[n]) - 1;
        if (values != MaxSquads && values != 2 * MaxSquads) {
            if (!before[n].starts_with("squads")) {
                EXPECT_EQ(after[n], before[n]);
            }
            continue;
        }
        ++rows;
        const int per = values / MaxSquads;
        std::istringstream was(before[n]), is(after[n]);
        std::string label;
        was >> label;
        is >> label;
        std::vector<std::string> old(values), now(values);
        for (int k = 0; k < values; ++k)
            was >> old[k], is >> now[k];
        for (int k = 0; k < values; ++k) {
            const int squad = k / per + 1;
            EXPECT_EQ(now[k], squad == 3 ? old[k - per] : old[k]) << label << " value " << k;
        }
    }
    EXPECT_EQ(rows, 4 + 2 * 80);  // the four box rows, then each side's 80 squad rows
    EXPECT_EQ(doc->TerrainModifiers.Blue.A_fire_range[3][3], 7);
    EXPECT_EQ(doc->RedForce.MoveProbAlive[3], 0.25f);
}

// The best chromosome's mark ends when a command leaves RED's values, as a
// save writes them, other than it found them. A float that changes in its
// last bits but is written as before (0.333333343 and 0.333333 are both
// "0.333333") is no change; RED's local commanders beyond the count, BLUE's
// general lines and RED values the file does not hold are not written.
TEST(ScenarioWriter, TheBestMarkEndsWhenRedsSavedValuesChange)
{
    const struct {
        const char* Edit;
        void (*Command)(CBrevimarDoc&);
        int Mark;
    } rows[] = {
        {"RED alive w1 of squad 1, 1/3 -> 0.333333", [](CBrevimarDoc& d) { d.RedForce.w1_a[1] = 0.333333f; }, 1},
        {"RED alive w1 of squad 1, 1/3 -> 0.333334", [](CBrevimarDoc& d) { d.RedForce.w1_a[1] = 0.333334f; }, 0},
        {"RED's fratricide radius", [](CBrevimarDoc& d) { d.Battlefield.red_frat_rad = 2; }, 0},
        {"RED's flag (the BLUE goal)", [](CBrevimarDoc& d) { d.BlueForce.GoalFlagX += 1; }, 0},
        {"RED's fifth commander, of 4", [](CBrevimarDoc& d) { d.RedLocal.w1[5] = 7; }, 1},
        {"RED's fourth commander, of 4", [](CBrevimarDoc& d) { d.RedLocal.w1[4] = 7; }, 0},
        {"RED's commander count", [](CBrevimarDoc& d) { d.RedLocal.NumLocalCommanders = 5; }, 0},
        {"RED's agents as an agent file placed them", [](CBrevimarDoc& d) { d.RedForce.StoredAgentX[300] = 9; }, 0},
        {"RED's squad 0 sensor range, never written", [](CBrevimarDoc& d) { d.RedForce.A_S_RANGE[0] = 9; }, 1},
        {"RED's grenades, not in the file", [](CBrevimarDoc& d) { d.RedForce.grenades[1] = 9; }, 1},
        {"BLUE's fratricide radius", [](CBrevimarDoc& d) { d.Battlefield.blue_frat_rad = 2; }, 1},
        {"BLUE's flag (the RED goal)", [](CBrevimarDoc& d) { d.RedForce.GoalFlagX += 1; }, 1},
    };
    for (const auto& row : rows) {
        TestDocument doc;
        doc->RedForce.w1_a[1] = 1.0f / 3;
        doc->RedLocal.LocalCommandOn = 1;
        doc->RedLocal.NumLocalCommanders = 4;
        doc->Ga.GaBestShown = 1;
        {
            const RedEditScope scope(*doc);
            row.Command(*doc);
        }
        EXPECT_EQ(doc->Ga.GaBestShown, row.Mark) << row.Edit;
    }
}

// Save Input Data File (a RUN file here: a capture runs) under the
// process's file-size limit, the signal at its default: a limit of the
// file's own size takes it whole; a byte less is reported, and the save is
// not taken for done ("Set All" stays).
TEST(ScenarioWriter, ASaveCutByTheFileSizeLimitIsReportedAndNotTakenForDone)
{
    const std::string golden = Golden("golden_rich.run");
    const std::string path = TempFolder() + "/capture.run";
    for (const std::uintmax_t limit : {golden.size(), golden.size() - 1}) {
        const std::string answer = testing::AnswerUnderFileSizeLimit(limit, [&] {
            TestDocument doc;
            MakeRich(*doc);
            doc->Statistics.AllStatisticsOn = 1;
            doc.Host.FileChoices.push_back(path);
            std::string said = WriteInputDataFile(*doc) == FileCommandResult::Done ? "saved" : "not saved";
            said += ", Set All " + std::to_string(doc->Statistics.AllStatisticsOn) + ": ";
            for (const auto& message : doc.Host.Messages)
                said += message.Text + "|";
            return said;
        });
        EXPECT_EQ(answer, limit == golden.size()
                              ? "saved, Set All 0: "
                              : "not saved, Set All 1: Error: cannot write output file " + path + ":\nFile too large.|");
        EXPECT_EQ(FileText(path), golden.substr(0, limit));
    }
}

}  // namespace
}  // namespace brevimar
