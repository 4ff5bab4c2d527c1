#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/RunFrames.h"
#include "files/ScenarioWriter.h"
#include "files/StartupReader.h"
#include "files/WordReader.h"
#include "run/RunLoop.h"
#include "run/ScenarioLoad.h"
#include "support/Battles.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::Battle;
using testing::DataPath;
using testing::FixtureText;
using testing::TestDocument;
using testing::WriteTemp;

// The text with the values of the nth line labelled `label` replaced.
std::string WithValues(std::string text, const std::string& label, const std::string& values, int nth = 1)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::istringstream words(text.substr(start, end - start));
        std::string first;
        words >> first;
        if (first == label && --nth == 0) {
            text.replace(start, end - start, label + " " + values);
            return text;
        }
        start = end + 1;
    }
    ADD_FAILURE() << "no line labelled " << label;
    return text;
}

// Through the menu's frame, as the File commands call it.
int Load(TestDocument& doc, const std::string& path, int loadInputFile = 1)
{
    doc->LoadInputFile = loadInputFile;
    doc.Host.FileChoices.push_back(path);
    return LoadInputDataFile(*doc);
}

int LoadText(TestDocument& doc, const std::string& name, const std::string& text, int loadInputFile = 1)
{
    return Load(doc, WriteTemp(name, text), loadInputFile);
}

std::string Written(const CBrevimarDoc& doc)
{
    std::ostringstream out;
    WriteScenario(doc, out);
    return out.str();
}

template <typename T>
bool SameBytes(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Everything a load may change, byte for byte: a refused file leaves all of it.
bool Untouched(CBrevimarDoc& doc, const std::unique_ptr<unsigned char[]>& before)
{
    return std::memcmp(static_cast<CDocumentState*>(&doc), before.get(), sizeof(CDocumentState)) == 0;
}
std::unique_ptr<unsigned char[]> Snapshot(CBrevimarDoc& doc)
{
    auto bytes = std::make_unique<unsigned char[]>(sizeof(CDocumentState));
    std::memcpy(bytes.get(), static_cast<CDocumentState*>(&doc), sizeof(CDocumentState));
    return bytes;
}

template <typename Row>
void ExpectRow(const Row& row, std::initializer_list<double> values, const std::string& what)
{
    int s = 1;
    for (double v : values) {
        EXPECT_EQ(row[s], v) << what << " squad " << s;
        ++s;
    }
}
template <typename Row>
void ExpectAll(const Row& row, double value, const std::string& what)
{
    for (int s = 1; s <= MaxSquads; ++s)
        EXPECT_EQ(row[s], value) << what << " squad " << s;
}

TEST(MenuScenarioLoader, ChooserFollowsTheKindAndCancelChangesNothingButThePause)
{
    TestDocument doc;
    doc->Paused = 0;
    for (int kind : {1, 0}) {
        doc->LoadInputFile = kind;
        const auto before = Snapshot(*doc);
        doc.Host.FileChoices.push_back(std::nullopt);
        EXPECT_EQ(LoadInputDataFile(*doc), 0);
        const FileDialogRequest& request = doc.Host.FileRequests.back();
        EXPECT_EQ(request.Filter, "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run||");
        // The chooser starts on the filter of the kind it pre-fills.
        EXPECT_EQ(request.DefaultExtension, kind == 1 ? "dat" : "run");
        EXPECT_EQ(request.InitialName, kind == 1 ? "*.dat" : "*.run");
        EXPECT_EQ(doc->Paused, 1);
        EXPECT_GE(doc.Host.InvalidateCount, 1);
        doc->Paused = 0;
        EXPECT_TRUE(Untouched(*doc, before));
        doc.Host.InvalidateCount = 0;
    }
    EXPECT_TRUE(doc.Host.Messages.empty());
}

// --- reading

TEST(MenuScenarioLoader, WriteReadWriteRoundTrips)
{
    // Rich documents: global and local command, drawn and squad
    // personalities, terrain blocks (v4) and cells (v2), the older versions'
    // defaults written out as version 4. (Commanders of a side with drawn
    // personalities are left out: their terrain weight is normalised against
    // the file's weights on every load but the others are drawn afresh, so
    // it changes from one load to the next.)
    for (const char* name : {"scenario_v4.dat", "menu_v2.dat", "menu_v1.dat", "menu_v3.dat"}) {
        TestDocument first, second;
        std::string original = FixtureText(name);
        if (name == std::string("scenario_v4.dat"))
            original = WithValues(original, "personality", "1");
        ASSERT_EQ(LoadText(first, name, original), 1) << name;
        ASSERT_TRUE(first.Host.Messages.empty()) << first.Host.Messages[0].Text;
        const std::string text = Written(*first);
        ASSERT_EQ(LoadText(second, "again.dat", text), 1) << name;
        ASSERT_TRUE(second.Host.Messages.empty()) << second.Host.Messages[0].Text;
        EXPECT_EQ(Written(*second), text) << name;
        // Values the file carries come back exactly, BLUE as RED.
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& a = first->Force(side);
            const CForce& b = second->Force(side);
            EXPECT_TRUE(SameBytes(a.R_R_min_dist_flag_flag, b.R_R_min_dist_flag_flag)) << name;
            EXPECT_TRUE(SameBytes(a.R_B_min_dist_flag_flag, b.R_B_min_dist_flag_flag)) << name;
            EXPECT_TRUE(SameBytes(a.R_area_min_flag, b.R_area_min_flag)) << name;
            EXPECT_TRUE(SameBytes(a.A_HOLD_f, b.A_HOLD_f)) << name;
            EXPECT_TRUE(SameBytes(a.A_C_RANGE, b.A_C_RANGE)) << name;
            EXPECT_TRUE(SameBytes(a.I_R_flock_max, b.I_R_flock_max)) << name;
            EXPECT_TRUE(SameBytes(a.AliveWeight, b.AliveWeight)) << name;  // same seed, same draws
            EXPECT_TRUE(SameBytes(a.AgentX, b.AgentX)) << name;            // same deployment
        }
        EXPECT_TRUE(SameBytes(first->Battlefield.TerrainType, second->Battlefield.TerrainType)) << name;
        EXPECT_TRUE(SameBytes(first->RedGlobal, second->RedGlobal)) << name;
    }

    // A stored run: the scenario and, while a capture is on, its frames.
    TestDocument first, second;
    ASSERT_EQ(LoadText(first, "stored.run", WithValues(FixtureText("stored_v4.run"), "personality", "1"), 0), 1);
    first->RunCaptureOn = 1;
    first->CaptureFrameCount = 3;  // frames 0..2 were captured, as the run loop records them
    for (int t = 0; t < 3; ++t)
        first->CapturedStep[t] = t;
    const std::string text = Written(*first);
    ASSERT_EQ(LoadText(second, "again.run", text, 0), 1);
    ASSERT_TRUE(second.Host.Messages.empty()) << second.Host.Messages[0].Text;
    for (int t = 0; t < 3; ++t)
        second->CapturedStep[t] = t;
    EXPECT_EQ(second->RunHeader.LastStep, 2);
    for (int buffer = 0; buffer < CaptureBufferCount; ++buffer)
        for (int t = 0; t <= 2; ++t)
            for (int i = 1; i <= 12; ++i)
                ASSERT_EQ(second->Capture(buffer, t, i), first->Capture(buffer, t, i)) << buffer << " " << t << " " << i;
    second->RunCaptureOn = 1;
    second->CaptureFrameCount = 3;
    EXPECT_EQ(Written(*second), text);
}

// Files of versions 1 to 3 come with and without the four alive threshold
// rows: both readers read both, recognising the rows by their labels.
TEST(ScenarioReaders, OldVersionsWithAndWithoutTheAliveThresholdRows)
{
    const struct {
        const char* File;
        int RedRange, BlueRange;  // A:C_RANGE of squad 1; 0 where the file has none
    } files[] = {{"menu_v3.dat", 1, 1001}, {"scenario_v3.dat", 0, 0}};
    for (const auto& file : files)
        for (bool menu : {true, false}) {
            TestDocument doc;
            if (menu) {
                ASSERT_EQ(Load(doc, DataPath(file.File)), 1) << file.File;
            } else {
                doc.Host.FileChoices.push_back(DataPath(file.File));
                doc->ReadStartupInputFile();
            }
            EXPECT_TRUE(doc.Host.Messages.empty()) << file.File << " " << doc.Host.Messages[0].Text;
            EXPECT_EQ(doc->RedForce.A_C_RANGE[1], file.RedRange) << file.File << (menu ? " menu" : " start-up");
            EXPECT_EQ(doc->BlueForce.A_C_RANGE[1], file.BlueRange) << file.File << (menu ? " menu" : " start-up");
            EXPECT_EQ(doc->RedForce.I_C_RANGE[1], 101) << file.File;
        }
}

TEST(MenuScenarioLoader, OlderVersionsTakeTheStartUpDefaults)
{
    struct Case {
        const char* File;
        int Version;
    };
    for (const Case c : {Case{"menu_v1.dat", 1}, Case{"menu_v2.dat", 2}, Case{"menu_v3.dat", 3}}) {
        TestDocument doc;
        // Stale values from an earlier scenario, which the defaults must replace.
        for (Side side : {Side::Red, Side::Blue})
            for (int s = 0; s <= MaxSquads; ++s) {
                CForce& f = doc->Force(side);
                f.w_flock_alive[s] = f.A_R_flock_min[s] = f.I_R_flock_max[s] = 7.0f;
                f.w_area_injured[s] = f.A_R_area_min[s] = 7.0f;
                f.HOLD_flag[s] = f.R_area_min_flag[s] = f.A_PURSUIT1_num[s] = 7;
                f.I_HOLD_f[s] = 7.0;
            }
        ASSERT_EQ(Load(doc, DataPath(c.File)), 1) << c.File;
        ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
        const std::string v = std::string(c.File) + " ";
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& f = doc->Force(side);
            const std::string what = v + (side == Side::Red ? "RED " : "BLUE ");
            const int base = side == Side::Red ? 0 : 1000;
            // The alive thresholds are in files of every version.
            ExpectRow(f.A_C_RANGE, {base + 1., base + 2., base + 3.}, what + "A:C_RANGE");
            ExpectRow(f.A_COMBAT_num, {base + 31., base + 32.}, what + "A:COMBAT_num");
            EXPECT_EQ(f.ConstraintRangeAlive[1], base + 1) << what;
            EXPECT_EQ(f.ConstraintRange[1], base + 1) << what;
            ExpectAll(f.w_flock_alive, 0.0, what + "w_flock_alive");
            ExpectAll(f.A_R_flock_min, 0.0, what + "A:R_flock_min");
            ExpectAll(f.I_R_flock_max, 0.0, what + "I:R_flock_max");
            if (c.Version == 1) {
                ExpectAll(f.ADVANCE_flag, 1, what + "ADVANCE_flag");
                ExpectAll(f.COMBAT_flag, 1, what + "COMBAT_flag");
                ExpectAll(f.HOLD_flag, 0, what + "HOLD_flag");
                ExpectAll(f.R_terrain_min_flag, 0, what + "R_terrain_min_flag");
                ExpectAll(f.I_HOLD_f, 0.0, what + "I:HOLD_f");
                ExpectAll(f.A_PURSUIT1_num, 0, what + "A:PURSUIT1_num");
                EXPECT_EQ(f.Pursuit1NumAlive[1], 0) << what;
            } else {
                ExpectRow(f.HOLD_flag, {0, 1, 0}, what + "HOLD_flag");
                ExpectRow(f.I_HOLD_f, {0.25, 0.5}, what + "I:HOLD_f");
                const int pursuit = side == Side::Red ? 41 : 541;
                ExpectRow(f.A_PURSUIT1_num, {pursuit + 0., pursuit + 1.}, what + "A:PURSUIT1_num");
            }
            if (c.Version < 3) {
                // Version 2 switched the area rule on for every squad, as a
                // start-up read of the file does.
                ExpectAll(f.R_area_min_flag, c.Version == 2 ? 1 : 0, what + "R_area_min_flag");
                ExpectAll(f.w_area_injured, 0.0, what + "w_area_injured");
                ExpectAll(f.A_R_area_min, 0.0, what + "A:R_area_min");
            } else {
                ExpectRow(f.R_area_min_flag, {0, 1, 0, 1}, what + "R_area_min_flag");
                EXPECT_EQ(f.A_R_area_min[1], 5.75f) << what;
            }
        }
    }
}

TEST(MenuScenarioLoader, GeneralSectionDerivations)
{
    TestDocument doc;
    doc->Battlefield.RedFratricideCount = 5;
    doc->Battlefield.BlueFratricideCount = 6;
    doc->Battlefield.terrain_blocks = 3;  // from an earlier scenario with blocks
    doc->DeploymentSource = RedHandPlacement;
    doc->RedForce.num_per_squad[0] = 9;
    // Battlefield 80, corner deployment; squad 1's boxes 11 x 5.
    std::string text = WithValues(FixtureText("menu_v1.dat"), "R_box_(l,w)", "11 5 7 5 7 5 7 5 7 5 7 5 7 5 7 5 7 5 7 5");
    text = WithValues(text, "B_box_(l,w)", "11 5 7 6 7 5 7 5 7 5 7 5 7 5 7 5 7 5 7 5");
    text = WithValues(text, "move_order?", "2");
    ASSERT_EQ(LoadText(doc, "corners.dat", text), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    const CBattlefield& b = doc->Battlefield;
    EXPECT_EQ(b.BattleSize, 80);
    EXPECT_EQ(b.RED_cen_x[1], 5);
    EXPECT_EQ(b.RED_cen_y[1], 2);
    EXPECT_EQ(b.BLUE_cen_x[1], 74);
    EXPECT_EQ(b.BLUE_cen_y[1], 77);
    EXPECT_EQ(b.BLUE_cen_y[2], 77);  // trunc(80 - 3)
    EXPECT_EQ(b.RED_cen_x[2], 3);
    // The force blocks' copies keep the centres as read.
    EXPECT_EQ(doc->RedSquadBoxCopy.CenterX[1], 11);
    EXPECT_EQ(doc->RedSquadBoxCopy.Length[1], 11);
    EXPECT_EQ(doc->BlueSquadBoxCopy.CenterY[2], 64);
    EXPECT_EQ(doc->BlueSquadBoxCopy.Width[2], 6);
    EXPECT_EQ(doc->RunHeader.FixedMoveOrderSelected, 0);
    EXPECT_EQ(doc->RunHeader.RandomMoveOrderSelected, 1);
    EXPECT_EQ(b.RedFratricideCount, 0);
    EXPECT_EQ(b.BlueFratricideCount, 0);
    EXPECT_EQ(b.terrain_blocks, 0);  // terrain_flag? 0
    EXPECT_EQ(doc->DeploymentSource, RandomDeployment);
    EXPECT_EQ(doc->RedForce.num_per_squad[0], 0);
    EXPECT_EQ(doc->RedForce.recon_time, 7);
    EXPECT_EQ(b.red_frat_prob, 0.25f);
}

TEST(MenuScenarioLoader, SevenStatisticsFlagsSwitchOnTheOtherThree)
{
    struct Case {
        const char* Flags;  // goal, centre of mass, interpoint, entropy, cluster 1, cluster 2, neighbours
        int WeaponsBefore;
        int All;
        int Weapons;
    };
    const char* labels[] = {"goal_stat_flag?", "center_mass_flag?", "interpoint_flag?", "entropy_flag?",
                            "cluster_1_flag?", "cluster_2_flag?",   "neighbors_flag?"};
    for (const Case c : {Case{"1111111", 0, 1, 1}, Case{"1111110", 0, 0, 0}, Case{"0111111", 1, 0, 1},
                         Case{"1112111", 0, 0, 0}}) {
        std::string text = FixtureText("scenario_v4.dat");
        for (int k = 0; k < 7; ++k)
            text = WithValues(text, labels[k], std::string(1, c.Flags[k]));
        TestDocument doc;
        doc->WeaponStatsOn = c.WeaponsBefore;
        doc->Statistics.CapacityDimensionOn = c.WeaponsBefore;
        doc->Statistics.TerritoryStatsOn = 1;
        ASSERT_EQ(LoadText(doc, "stats.dat", text), 1);
        ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
        EXPECT_EQ(doc->Statistics.AllStatisticsOn, c.All) << c.Flags;
        // Unlike at start-up, territorial possession stays on after the load.
        EXPECT_EQ(doc->Statistics.TerritoryStatsOn, c.All) << c.Flags;
        EXPECT_EQ(doc->WeaponStatsOn, c.Weapons) << c.Flags;
        EXPECT_EQ(doc->Statistics.CapacityDimensionOn, c.Weapons) << c.Flags;
    }
}

// Blocks and cells follow one rule: a pillar laid turns line of sight on,
// passable ground (types 3..5) the modifiers; the file's LOS_flag? of 1 is not
// kept. menu_v2.dat holds two cells, type(1) at (2, 9) and type(2) at (3, 7),
// 3 and 1 as it stands.
TEST(MenuScenarioLoader, LineOfSightOnlyWithASightBlockingBlock)
{
    struct Case {
        const char* File;
        const char* TerrainFlag;
        const char* Types;  // of the fixture's two blocks or cells
        int Sight;
        int Passable;
    };
    for (const Case c : {Case{"scenario_v4.dat", "1", "2 4", 1, 1}, Case{"scenario_v4.dat", "1", "1 4", 0, 1},
                         Case{"scenario_v4.dat", "1", "1 2", 1, 0}, Case{"scenario_v4.dat", "0", "2 2", 0, 0},
                         Case{"menu_v2.dat", "2", nullptr, 0, 1}, Case{"menu_v2.dat", "2", "1 2", 1, 0},
                         Case{"menu_v2.dat", "2", "5 1", 0, 1}, Case{"menu_v2.dat", "2", "2 4", 1, 1},
                         Case{"menu_v2.dat", "2", "1 1", 0, 0}}) {
        std::string text = WithValues(FixtureText(c.File), "LOS_flag?", "1");
        text = WithValues(text, "terrain_flag?", c.TerrainFlag);
        if (c.Types) {
            text = WithValues(text, "type(1)", std::string(1, c.Types[0]));
            text = WithValues(text, "type(2)", std::string(1, c.Types[2]));
        }
        TestDocument doc;
        ASSERT_EQ(LoadText(doc, "sight.dat", text), 1) << c.File << " " << c.TerrainFlag;
        ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
        const std::string what = std::string(c.File) + " terrain " + c.TerrainFlag + " types " + (c.Types ? c.Types : "-");
        EXPECT_EQ(doc->Battlefield.LineOfSightOn, c.Sight) << what;
        EXPECT_EQ(doc->Battlefield.TerrainModifiersOn, c.Passable) << what;
        EXPECT_EQ(doc->Battlefield.CellTerrainDefined, c.TerrainFlag[0] == '2' ? 1 : 0);
    }
}

TEST(MenuScenarioLoader, SquadSizesMeetTheAgentCount)
{
    struct Case {
        const char* Count;
        const char* Sizes;
        int Squads;
        int Last;
    };
    for (const Case c : {Case{"12", "5 5 5 0 0 0 0 0 0 0", 3, 2}, Case{"10", "5 5 5 0 0 0 0 0 0 0", 2, 5},
                         Case{"20", "5 5 5 0 0 0 0 0 0 0", 3, 10}, Case{"12", "20 5 5 0 0 0 0 0 0 0", 1, 12}}) {
        std::string text = WithValues(FixtureText("scenario_v4.dat"), "num_reds", c.Count);
        text = WithValues(text, "num_per_squad", c.Sizes);
        TestDocument doc;
        doc->InitialComposition.RedCount = 99;
        ASSERT_EQ(LoadText(doc, "squads.dat", text), 1);
        ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
        const CForce& f = doc->RedForce;
        const int n = std::stoi(c.Count);
        EXPECT_EQ(f.NumSquads, c.Squads) << c.Count << " / " << c.Sizes;
        EXPECT_EQ(f.num_per_squad[c.Squads], c.Last) << c.Count << " / " << c.Sizes;
        EXPECT_EQ(f.AgentSquad[1], 1);
        EXPECT_EQ(f.AgentSquad[n], c.Squads);
        // Restart after agent editing brings back these forces.
        const CForceComposition& kept = doc->InitialComposition;
        EXPECT_EQ(kept.RedCount, n);
        EXPECT_EQ(kept.RedSquads, c.Squads);
        EXPECT_EQ(kept.RedPerSquad[c.Squads], c.Last);
        EXPECT_EQ(kept.RedAgentSquad[n], c.Squads);
        EXPECT_EQ(kept.BlueCount, 10);
        doc->RedForce.NumAgents = 1;  // agents removed by hand
        doc->RestoreInitialComposition();
        EXPECT_EQ(f.NumAgents, n);
        EXPECT_EQ(f.NumSquads, c.Squads);
    }
}

// As the start-up reader reads them: the battle is the file's whichever
// reader read it.
TEST(MenuScenarioLoader, FlockMinimumAboveMaximumIsKeptAsRead)
{
    std::string text = FixtureText("scenario_v4.dat");
    text = WithValues(text, "A:R_flock_min", "1 5 3 3 3 3 3 3 3 3");
    text = WithValues(text, "A:R_flock_max", "2 4 3 3 3 3 3 3 3 1.5");
    text = WithValues(text, "I:R_flock_min", "9 0 0 0 0 0 0 0 0 0", 2);  // BLUE
    text = WithValues(text, "I:R_flock_max", "8.5 0 0 0 0 0 0 0 0 0", 2);
    TestDocument doc;
    ASSERT_EQ(LoadText(doc, "flock.dat", text), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    ExpectRow(doc->RedForce.A_R_flock_min, {1, 5, 3}, "RED A:R_flock_min");
    EXPECT_EQ(doc->RedForce.A_R_flock_min[10], 3.0f);
    EXPECT_EQ(doc->RedForce.A_R_flock_max[2], 4.0f);
    EXPECT_EQ(doc->BlueForce.I_R_flock_min[1], 9.0f);
    const int inSquad2 = doc->RedForce.num_per_squad[1] + 1;
    EXPECT_EQ(doc->RedForce.FlockMinAlive[inSquad2], 5.0f);
    EXPECT_EQ(doc->BlueForce.FlockMinInjured[1], 9.0f);
}

TEST(MenuScenarioLoader, ScenarioFileStartsAFreshInteractiveRun)
{
    TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->RunHeader.LastStep = 40;
    doc->RunHeader.TimeDirection = -1;
    doc->RunTerminated = 1;
    doc->TraceOn = 1;
    doc->HighlightRedSquadOn = 1;
    doc->BlueCommandLinks = 1;
    doc->StepsPerBurst = 9;
    // Values no file holds, left by an earlier run and an On-the-Fly change.
    doc->Experiment.LandscapeWinThreshold = 0.25;
    doc->RedForce.MoveProbAlive[1] = 0.5f;
    doc->BlueForce.MoveGateByTime = 1;
    doc->BlueForce.MovePeriodInjured[10] = 4;
    doc->RedTallies.WeaponShots[2] = 5.0;  // shots of the battle before
    // RED squad personality, so that the all-zero commander 2 keeps its zeros.
    const std::string text = WithValues(FixtureText("scenario_v4.dat"), "personality", "1");
    ASSERT_EQ(LoadText(doc, "fresh.dat", text), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->InputFileName, "fresh.dat");
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    EXPECT_EQ(doc->InitialSeed, -31415926);
    EXPECT_EQ(doc->RunHeader.LastStep, 501);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);  // the battlefield reset leaves step 0
    EXPECT_EQ(doc->RunHeader.TimeDirection, 1);
    EXPECT_EQ(doc->RunTerminated, 0);
    EXPECT_EQ(doc->LatticeExtentX, 152);
    EXPECT_EQ(doc->RunHeader.RedAlive + doc->RunHeader.RedInjured, 12);
    EXPECT_EQ(doc->TraceOn, 0);
    EXPECT_EQ(doc->HighlightRedSquadOn, 0);
    EXPECT_EQ(doc->HighlightBlueSquadNumber, 1);
    EXPECT_EQ(doc->ShowOtherRedAgents, 1);
    EXPECT_EQ(doc->BlueCommandLinks, 0);
    EXPECT_EQ(doc->StepsPerBurst, 1);
    // ... start as a start-up read starts them: threshold 0.5, every agent
    // moving by probability 1.0, periods 1.
    EXPECT_EQ(doc->Experiment.LandscapeWinThreshold, 0.5);
    EXPECT_EQ(doc->RedForce.MoveProbAlive[1], 1.0f);
    EXPECT_EQ(doc->BlueForce.MoveGateByTime, 0);
    EXPECT_EQ(doc->BlueForce.MovePeriodInjured[10], 1);
    // Commander weights over the sum of their magnitudes; all zero stays zero.
    EXPECT_EQ(doc->RedLocal.Normalised.w6[1], 4.0f / 10.0f);
    EXPECT_EQ(doc->RedLocal.Normalised.w2[1], -1.0f / 10.0f);
    EXPECT_EQ(doc->RedLocal.Normalised.w_terrain[2], 0.0f);
    EXPECT_EQ(doc->RedLocal.Normalised.w1[2], 0.0f);
    EXPECT_EQ(doc->RedLocal.CommandPatchSize[1], 5 * 4 + 2);
    // Current ranges are the alive ones of the agent's squad.
    for (int i = 1; i <= doc->NumRed(); ++i) {
        const int s = doc->RedForce.AgentSquad[i];
        EXPECT_EQ(doc->RedForce.SensorRange[i], doc->RedForce.A_S_RANGE[s]);
        EXPECT_EQ(doc->RedForce.FireRange[i], doc->RedForce.A_F_RANGE[s]);
        EXPECT_EQ(doc->RedForce.ConstraintRange[i], doc->RedForce.A_C_RANGE[s]);
    }
    // stat_flag? 1 and weapon statistics on: the starting state's weapon
    // counters were filed at step 0, and the battle before fired none of
    // this battle's shots.
    EXPECT_EQ(doc->RedShotsLog[SeriesIndex(2, 0)], 0.0);
    EXPECT_EQ(doc->RedTallies.WeaponShots[2], 0.0);
}

// Read from the menu over a document that fought another battle and was
// edited in every way a user edits what no scenario file holds (the squad
// weight and communications matrices, On-the-Fly movement, the terrain
// modifiers, the waypoint distance), a file gives what a start-up read of
// it gives in a new document: the same save, every battle value byte for
// byte, and the same battle. The files: small.dat, every older version
// (which lack rows the battle before held), one whose flock minimum lies
// above its maximum, and cell terrain.
TEST(MenuScenarioLoader, AFileGivesWhatAStartUpReadOfItGives)
{
    const std::string flock = WithValues(FixtureText("scenario_v4.dat"), "A:R_flock_min", "9 9 9 9 9 9 9 9 9 9");
    const std::string files[] = {DataPath("../../bench/data/small.dat"), DataPath("scenario_v1.dat"),
                                 DataPath("scenario_v2.dat"), DataPath("scenario_v3.dat"),
                                 DataPath("scenario_v4.dat"), DataPath("menu_v1.dat"),
                                 DataPath("menu_v2.dat"), DataPath("menu_v3.dat"),
                                 WriteTemp("flock.dat", flock)};
    for (const std::string& path : files) {
        TestDocument startUp;
        ASSERT_TRUE(LoadStartupFile(*startUp, path).Read) << path;
        TestDocument menu;
        ASSERT_TRUE(LoadStartupFile(*menu, DataPath("scenario_v4.dat")).Read);
        for (int n = 0; n < 20; ++n)
            TakeInteractiveStep(*menu);
        for (Side side : {Side::Red, Side::Blue}) {
            CForce& f = menu->Force(side);
            f.SquadWeightMatrix[1][2] = 0.9;
            f.CommMatrix[1][2] = f.CommMatrix[2][1] = 0;
            f.MoveProbAlive[1] = 0.5f;
            f.MovePeriodAlive[2] = 3;
            menu->Modifiers(side).TerrainVisibility[1][1] = 0.3;
        }
        menu->TerrainModifiersLoaded = 1;
        menu->Battlefield.PathStartDistance = 6;
        ASSERT_EQ(Load(menu, path), 1) << path;
        ASSERT_TRUE(menu.Host.Messages.empty()) << menu.Host.Messages[0].Text;
        EXPECT_EQ(Written(*menu), Written(*startUp)) << path;
        EXPECT_TRUE(SameBytes(menu->RedForce, startUp->RedForce)) << path;
        EXPECT_TRUE(SameBytes(menu->BlueForce, startUp->BlueForce)) << path;
        EXPECT_TRUE(SameBytes(menu->RedLocal, startUp->RedLocal)) << path;
        EXPECT_TRUE(SameBytes(menu->BlueLocal, startUp->BlueLocal)) << path;
        EXPECT_TRUE(SameBytes(menu->RedGlobal, startUp->RedGlobal)) << path;
        EXPECT_TRUE(SameBytes(menu->BlueGlobal, startUp->BlueGlobal)) << path;
        EXPECT_TRUE(SameBytes(menu->Battlefield, startUp->Battlefield)) << path;
        EXPECT_TRUE(SameBytes(menu->TerrainModifiers, startUp->TerrainModifiers)) << path;
        EXPECT_EQ(menu->TerrainModifiersLoaded, 0) << path;
        EXPECT_EQ(Battle(*menu, 30), Battle(*startUp, 30)) << path;
    }
}

// What belongs to the window rather than the battle stays as the user set
// it across a read: how the field is shown, the zoom the window opened
// with, the GA's and the batch's settings.
TEST(MenuScenarioLoader, AReadKeepsWhatBelongsToTheWindow)
{
    TestDocument doc;
    ASSERT_TRUE(LoadStartupFile(*doc, DataPath("scenario_v4.dat")).Read);
    doc->BackgroundToggle = 0;
    doc->ShowAll = 0;
    doc->ShowInjured = 1;
    doc->KillMapRed = 1;
    doc->KillMapOnly = 1;
    doc->DefaultZoomFactor = 1.5f;
    doc->Ga.GaPopulationSize = 40;
    doc->Ga.GaMutationProb = 0.25;
    doc->Series.MultiRunSampleCount = 25;
    doc->Series.MultiRunStepCount = 60;
    ASSERT_EQ(Load(doc, DataPath("../../bench/data/small.dat")), 1);
    EXPECT_EQ(doc->BackgroundToggle, 0);
    EXPECT_EQ(doc->ShowAll, 0);
    EXPECT_EQ(doc->ShowInjured, 1);
    EXPECT_EQ(doc->KillMapRed, 1);
    EXPECT_EQ(doc->KillMapOnly, 1);
    EXPECT_EQ(doc->DefaultZoomFactor, 1.5f);
    EXPECT_EQ(doc->ZoomFactor, 1.5f);  // the display reset returns to the opened zoom
    EXPECT_EQ(doc->Ga.GaPopulationSize, 40);
    EXPECT_EQ(doc->Ga.GaMutationProb, 0.25);
    EXPECT_EQ(doc->Series.MultiRunSampleCount, 25);
    EXPECT_EQ(doc->Series.MultiRunStepCount, 60);
}

TEST(MenuScenarioLoader, StoredRunOf400FramesPlaysUpToFrame350)
{
    TestDocument doc;
    for (int i = 1; i <= 3; ++i)
        doc->Capture(RedCaptureX, 351, i) = 77;  // a row of an earlier capture
    ASSERT_EQ(Load(doc, DataPath("stored_400.run"), 0), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->RunMode, PlaybackMode);
    EXPECT_EQ(doc->LoadInputFile, 0);
    EXPECT_EQ(doc->RunHeader.LastStep, 350);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    EXPECT_EQ(doc->Capture(RedCaptureX, 350, 3), 1 + (350 + 9) % 80);
    EXPECT_EQ(doc->Capture(BlueCaptureY, 350, 2), 1 + (3 * 350 + 2) % 80);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(doc->Capture(RedCaptureX, 351, i), 0);
    EXPECT_EQ(doc->InitialComposition.RedCount, 3);

    // Playback shows the stored frames in turn and wraps at the last one.
    doc->Resume();
    for (int t = 1; t < 350; ++t) {
        doc->OnTimer(1);
        ASSERT_EQ(doc->RunHeader.CurrentStep, t);
        ASSERT_EQ(doc->Paused, 0) << t;
    }
    // Frame 349: RED states (349 + i) % 3 for i = 1..3 give one alive, one injured.
    EXPECT_EQ(doc->RunHeader.RedAlive, 1);
    EXPECT_EQ(doc->RunHeader.RedInjured, 1);
    doc->OnTimer(1);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 1);
    EXPECT_EQ(doc->Paused, 1);
}

TEST(MenuScenarioLoader, CarriageReturnLineEndsReadTheSame)
{
    const std::string text = FixtureText("stored_v4.run");
    std::string dos;
    for (char c : text) {
        if (c == '\n')
            dos += '\r';
        dos += c;
    }
    TestDocument unix, windows;
    ASSERT_EQ(LoadText(unix, "unix/same.run", text, 0), 1);
    ASSERT_EQ(LoadText(windows, "dos/same.run", dos, 0), 1);
    EXPECT_TRUE(unix.Host.Messages.empty());
    EXPECT_TRUE(windows.Host.Messages.empty());
    EXPECT_TRUE(SameBytes(unix->RedForce, windows->RedForce));
    EXPECT_TRUE(SameBytes(unix->BlueForce, windows->BlueForce));
    EXPECT_TRUE(SameBytes(unix->Battlefield, windows->Battlefield));
    EXPECT_TRUE(SameBytes(unix->BlueLocal, windows->BlueLocal));
    EXPECT_EQ(std::memcmp(unix->CaptureBuffer[BlueCaptureX].get(), windows->CaptureBuffer[BlueCaptureX].get(),
                          sizeof(int) * CaptureCells),
              0);
    EXPECT_EQ(windows->RunHeader.LastStep, 2);
}

// --- refused files

TEST(MenuScenarioLoader, BadFilesLeaveTheDocumentUntouched)
{
    const std::string v4 = FixtureText("scenario_v4.dat");
    const std::string run = FixtureText("stored_empty.run");  // 3 RED, 2 BLUE on 80 x 80
    const std::string frame0 = "\n0\n2 1 1\n2 2 2\n2 3 3\n2 80 80\n1 79 80";
    struct Case {
        std::string Name;
        std::string Text;  // empty: the file does not exist
        int Kind;          // LoadInputFile
        std::string Problem;
    };
    const Case cases[] = {
        {"missing.dat", "", 1, "Error: cannot open input file.\n"},
        {"v5.dat", WithValues(v4, "data_version", "5"), 1, "data_version is 5, outside 1..4"},
        {"v0.dat", WithValues(v4, "data_version", "0"), 1, "data_version is 0, outside 1..4"},
        {"big.dat", WithValues(v4, "battle_size", "151"), 1, "battle_size is 151, outside 1..150"},
        {"many.dat", WithValues(v4, "num_blues", "301"), 1, "num_blues is 301, outside 0..300"},
        {"squads.dat", WithValues(v4, "squads", "11"), 1, "RED squads is 11, outside 1..10"},
        {"commanders.dat", WithValues(v4, "num_BLUE_comdrs", "11"), 1, "num_BLUE_comdrs is 11, outside 0..10"},
        {"blocks.dat", WithValues(v4, "terrain_blocks", "33"), 1, "terrain_blocks is 33, outside 0..32"},
        {"cell.dat", WithValues(FixtureText("menu_v2.dat"), "terrain_x_y_(2)", "3 81"), 1,
         "terrain cell 2 at (3, 81) lies off the 80 x 80 battlefield"},
        {"short.dat", v4.substr(0, v4.size() / 2), 1, "the file ends"},
        {"word.dat", WithValues(v4, "blue_frat_prob", "x0.5"), 1, "found \"x0.5\""},
        {"state.run", run + "\n0\n2 1 1\n2 2 2\n2 3 3\n5 80 80\n1 79 80", 0,
         "the frame of step 0 gives BLUE agent 1 the state 5, outside 0..2"},
    };
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("stored_v4.run"), 0), 1);
    ASSERT_TRUE(doc.Host.Messages.empty());
    for (const Case& c : cases) {
        const std::string path = c.Text.empty() ? DataPath("no-such-" + c.Name) : WriteTemp(c.Name, c.Text);
        doc->LoadInputFile = c.Kind;
        doc->Paused = 1;
        const auto before = Snapshot(*doc);
        doc.Host.Messages.clear();
        doc.Host.FileChoices.push_back(path);
        EXPECT_EQ(LoadInputDataFile(*doc), 0) << c.Name;
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << c.Name;
        const std::string& message = doc.Host.Messages[0].Text;
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find(c.Problem), std::string::npos) << message;
        EXPECT_EQ(doc.Host.Messages[0].Style & 0xF0u, unsigned(MB_ICONERROR));
        EXPECT_TRUE(Untouched(*doc, before)) << c.Name;
    }
    // The same kind of file without the fault still loads.
    doc.Host.Messages.clear();
    EXPECT_EQ(Load(doc, WriteTemp("good.run", run + frame0), 0), 1);
    EXPECT_TRUE(doc.Host.Messages.empty());
    EXPECT_EQ(doc->NumRed(), 3);

    // Damage after frame 0 keeps the scenario and frame 0, with a warning.
    const std::pair<std::string, std::string> damaged[] = {
        {"\n352\n2 1 1\n2 2 2\n2 3 3\n2 4 4\n2 5 5", "a frame has step 352, outside the stored steps 0..351"},
        {"\n1\n2 1 1\n2 81 2\n2 3 3\n2 4 4\n2 5 5",
         "the frame of step 1 puts RED agent 2 at (81, 2), off the 80 x 80 battlefield"},
        {"\n1\n2 1 1", "the frame of step 1 breaks off"},
    };
    for (const auto& [tail, problem] : damaged) {
        doc.Host.Messages.clear();
        const std::string path = WriteTemp("damaged.run", run + frame0 + tail);
        EXPECT_EQ(Load(doc, path, 0), 1) << problem;
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << problem;
        const std::string& message = doc.Host.Messages[0].Text;
        EXPECT_NE(message.find(problem), std::string::npos) << message;
        EXPECT_NE(message.find(path + " is damaged in frame 2 of the file"), std::string::npos) << message;
        EXPECT_EQ(doc.Host.Messages[0].Style & 0xF0u, unsigned(MB_ICONWARNING));
        EXPECT_EQ(doc->RunHeader.LastStep, 0);
        EXPECT_EQ(doc->Capture(RedCaptureX, 0, 3), 3);
    }
}

}  // namespace
}  // namespace brevimar
