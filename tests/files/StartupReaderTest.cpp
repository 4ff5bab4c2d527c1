#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "files/RunFrames.h"
#include "files/StartupReader.h"
#include "files/WordReader.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::DataPath;
using testing::FixtureText;
using testing::TestDocument;
using testing::WriteTemp;

// The fixture with the values of the first line labelled `label` replaced.
std::string WithValues(std::string text, const std::string& label, const std::string& values)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == label) {
            text.replace(start, end - start, label + " " + values);
            return text;
        }
        start = end + 1;
    }
    ADD_FAILURE() << "no line labelled " << label;
    return text;
}

int Load(TestDocument& doc, const std::string& path)
{
    doc.Host.FileChoices.push_back(path);
    return doc->ReadStartupInputFile();
}

// Hash of what a load may change. Blocks are hashed whole (their copies are
// bitwise); the document's own scalars one by one.
struct Hasher {
    std::uint64_t Value = 1469598103934665603ull;
    void Bytes(const void* data, std::size_t size)
    {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            Value = (Value ^ p[i]) * 1099511628211ull;
    }
    template <typename T>
    Hasher& operator<<(const T& block)
    {
        Bytes(&block, sizeof block);
        return *this;
    }
    Hasher& operator<<(const std::string& text)
    {
        Bytes(text.data(), text.size());
        return *this;
    }
};

std::uint64_t Fingerprint(CBrevimarDoc& d)
{
    Hasher h;
    h << d.RunMode << d.RunCaptureOn << d.CapturedStep << d.RedGlobal << d.BlueGlobal << d.RedLocal << d.BlueLocal
      << d.Battlefield << d.RedForce << d.BlueForce << d.TerrainModifiers << d.Statistics << d.WeaponStatsOn
      << d.RedTallies << d.BlueTallies << d.AgentWeapons << d.InputFileName << d.InitialSeed << d.RandomState
      << d.Generator << d.RunTerminated << d.Experiment << d.Series << d.RunHeader << d.StepExecuteMode
      << d.StepsPerBurst << d.StepsSincePause << d.LoadInputFile << d.LatticeExtentX << d.LatticeExtentY
      << d.TraceOn << d.HighlightRedSquadOn << d.HighlightRedSquadNumber << d.ShowOtherRedAgents
      << d.RedCommanderMarks << d.DeploymentSource << d.ZoomFactor << d.Charts << d.Paused << d.DisplayFrame
      << d.RedActivityMapOn << d.BlueActivityMapOn << d.ActivityRadius << d.ActivityGrids << d.InitialComposition
      << d.RedSquadBoxCopy << d.BlueSquadBoxCopy;
    h.Bytes(d.DisplayGrid.get(), 2 * LatticeCells);
    for (const auto& buffer : d.CaptureBuffer)
        h.Bytes(buffer.get(), sizeof(int) * CaptureCells);
    return h.Value;
}

// The reader's random sequence: the scenario seed, one draw to start the
// shuffle table, then draws in (1, 10000) scaled by 0.0001.
struct DrawReplay {
    CUniformGenerator Generator;
    int Seed = -31415926;
    DrawReplay() { Generator.Draw(&Seed); }
    double Next() { return Generator.DrawRange(1, 10000, &Seed) * 0.0001; }
    // w1, w2, w3, w4, w5, w6 from five draws over their sum.
    void Set(float* w)
    {
        double d[5];
        for (double& u : d)
            u = Next();
        const double total = d[0] + d[1] + d[2] + d[3] + d[4];
        for (int k = 0; k < 4; ++k)
            w[k] = static_cast<float>(d[k] / total);
        w[4] = 0.0f;
        w[5] = static_cast<float>(d[4] / total);
    }
};

void ExpectAgentWeights(const CForce& f, int agent, const float* alive, const float* injured, const char* side)
{
    for (int w = W1; w <= W6; ++w) {
        EXPECT_EQ(f.AliveWeight[w][agent], alive[w - W1]) << side << " agent " << agent << " alive w" << w;
        EXPECT_EQ(f.InjuredWeight[w][agent], injured[w - W1]) << side << " agent " << agent << " injured w" << w;
    }
}

TEST(StartupReader, AsksForTheScenarioWithItsFilter)
{
    TestDocument doc;
    doc->Paused = 1;
    const std::uint64_t before = Fingerprint(*doc) ;
    EXPECT_EQ(doc->ReadStartupInputFile(), 1);  // the chooser is cancelled
    ASSERT_EQ(doc.Host.FileRequests.size(), 1u);
    EXPECT_EQ(doc.Host.FileRequests[0].Filter,
              "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run|Brevimar OUT Files "
              "(*.out)|*.out|Brevimar VLX Files (*.vlx)|*.vlx|Brevimar Files (*.brv)|*.brv||");
    EXPECT_EQ(doc.Host.FileRequests[0].DefaultExtension, "dat");
    EXPECT_EQ(doc.Host.FileRequests[0].Title, "Open a scenario, run or document file");
    EXPECT_TRUE(doc.Host.FileRequests[0].InitialName.empty());
    EXPECT_EQ(doc->Paused, 0);  // cleared on entry, cancelled or not
    doc->Paused = 1;
    EXPECT_EQ(Fingerprint(*doc), before);
    EXPECT_TRUE(doc.Host.Messages.empty());
}

TEST(StartupReader, ExtensionsAreComparedExactly)
{
    EXPECT_EQ(ClassifyStartupExtension("dat"), StartupFileKind::Scenario);
    EXPECT_EQ(ClassifyStartupExtension("DAT"), StartupFileKind::Scenario);
    EXPECT_EQ(ClassifyStartupExtension("run"), StartupFileKind::StoredRun);
    EXPECT_EQ(ClassifyStartupExtension("RUN"), StartupFileKind::StoredRun);
    EXPECT_EQ(ClassifyStartupExtension("out"), StartupFileKind::FrameFile);
    EXPECT_EQ(ClassifyStartupExtension("OUT"), StartupFileKind::FrameFile);
    for (const char* other : {"Dat", "Run", "oUT", "vlx", "brv", "", "dat "})
        EXPECT_EQ(ClassifyStartupExtension(other), StartupFileKind::Unlisted) << other;
    EXPECT_EQ(FloatAbs(-0.5f), 0.5f);
    EXPECT_EQ(FloatAbs(2.0f), 2.0f);
}

TEST(StartupReader, Version4ScenarioGeneralAndCommandGroups)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("scenario_v4.dat")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    const CBattlefield& b = doc->Battlefield;

    EXPECT_EQ(doc->InputFileName, "scenario_v4.dat");
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    EXPECT_EQ(doc->LoadInputFile, 1);
    EXPECT_EQ(doc->InitialSeed, -31415926);
    EXPECT_EQ(b.BattleSize, 150);
    EXPECT_EQ(b.init_dist, 2);
    EXPECT_EQ(b.R_box_l[2], 21);
    EXPECT_EQ(b.R_box_w[2], 20);
    EXPECT_EQ(b.B_box_l[10], 19);
    EXPECT_EQ(b.B_box_w[10], 17);
    // Corner deployment: RED boxes to the low corner, BLUE to the far one.
    EXPECT_EQ(b.RED_cen_x[1], 3);
    EXPECT_EQ(b.RED_cen_y[1], 2);
    EXPECT_EQ(b.RED_cen_x[2], 10);
    EXPECT_EQ(b.RED_cen_y[2], 10);
    EXPECT_EQ(b.BLUE_cen_x[1], 146);
    EXPECT_EQ(b.BLUE_cen_y[1], 147);
    EXPECT_EQ(b.BLUE_cen_x[2], 139);
    EXPECT_EQ(b.BLUE_cen_y[2], 140);
    // ... while the forces' copies keep the centres as the file gives them.
    EXPECT_EQ(doc->RedSquadBoxCopy.CenterX[1], 21);
    EXPECT_EQ(doc->RedSquadBoxCopy.CenterY[1], 31);
    EXPECT_EQ(doc->RedSquadBoxCopy.Length[2], 21);
    EXPECT_EQ(doc->RedSquadBoxCopy.Width[2], 20);
    EXPECT_EQ(doc->BlueSquadBoxCopy.CenterX[10], 130);
    EXPECT_EQ(doc->BlueSquadBoxCopy.CenterY[10], 120);

    EXPECT_EQ(doc->RedForce.GoalFlagX, 140);
    EXPECT_EQ(doc->RedForce.GoalFlagY, 141);
    EXPECT_EQ(doc->BlueForce.GoalFlagX, 10);
    EXPECT_EQ(doc->BlueForce.GoalFlagY, 11);
    EXPECT_EQ(b.termination, 1);
    EXPECT_EQ(b.MoveOrder, 2);
    EXPECT_EQ(doc->RunHeader.RandomMoveOrderSelected, 1);
    EXPECT_EQ(doc->RunHeader.FixedMoveOrderSelected, 0);
    EXPECT_EQ(b.RedCombatUnlimited, 1);
    EXPECT_EQ(b.BlueCombatUnlimited, 0);
    EXPECT_EQ(b.TerrainMode, 1);
    EXPECT_EQ(b.red_frat_flag, 1);
    EXPECT_EQ(b.blue_frat_flag, 0);
    EXPECT_EQ(b.red_frat_rad, 2);
    EXPECT_EQ(b.blue_frat_rad, 3);
    EXPECT_EQ(b.red_frat_prob, 0.25f);
    EXPECT_EQ(b.blue_frat_prob, 0.125f);
    EXPECT_EQ(b.RED_recon_flag, 1);
    EXPECT_EQ(doc->RedForce.recon_time, 7);
    EXPECT_EQ(b.BLUE_recon_flag, 0);
    EXPECT_EQ(doc->BlueForce.recon_time, 9);

    // All seven statistics on: "Set All" brings territory, weapons and the
    // capacity dimension; the scenario route then turns territory off.
    const CStatisticsParameters& st = doc->Statistics;
    EXPECT_EQ(st.DataCollectionOn, 1);
    EXPECT_EQ(st.GoalStatsOn, 1);
    EXPECT_EQ(st.NeighborStatsOn, 1);
    EXPECT_EQ(st.AllStatisticsOn, 1);
    EXPECT_EQ(st.CapacityDimensionOn, 1);
    EXPECT_EQ(doc->WeaponStatsOn, 1);
    EXPECT_EQ(st.TerritoryStatsOn, 0);

    const CGlobalCommander& rg = doc->RedGlobal;
    EXPECT_EQ(rg.GlobalCommandOn, 1);
    EXPECT_EQ(rg.GC_fear_index, 0.3f);
    EXPECT_EQ(rg.GC_w_beta, 0.6f);
    EXPECT_EQ(rg.GC_frac_R[2], 0.5f);
    EXPECT_EQ(rg.GC_w_swath[3], 0.3f);
    EXPECT_EQ(rg.GC_max_red_f, 0.75f);
    EXPECT_EQ(rg.GC_help_radius, 12);
    EXPECT_EQ(rg.GC_rel_h_thresh, 0.35f);
    EXPECT_EQ(doc->BlueGlobal.GlobalCommandOn, 0);
    EXPECT_EQ(doc->BlueGlobal.GC_help_radius, 0);

    const CLocalCommand& rl = doc->RedLocal;
    EXPECT_EQ(rl.LocalCommandOn, 1);
    EXPECT_EQ(rl.NumLocalCommanders, 2);
    EXPECT_EQ(rl.patch_type, 2);
    EXPECT_EQ(rl.patch_flag, 0);
    EXPECT_EQ(rl.undr_cmd[1], 3);
    EXPECT_EQ(rl.cmnd_rad[1], 4);
    EXPECT_EQ(rl.CommandPatchSize[1], 22);  // 5r + 2 for patch type 2
    EXPECT_EQ(rl.CommandPatchSize[2], 7);
    EXPECT_EQ(rl.SENSOR_rng[1], 6);
    EXPECT_EQ(rl.Normalised.w_terrain[1], 0.2f);  // 2 / (1 + 1 + 2 + 0 + 0 + 4 + 2); not drawn
    EXPECT_EQ(rl.Normalised.w_terrain[2], 0.0f);  // all seven 0: the sum counts as 1
    EXPECT_EQ(rl.w_terrain[1], 2.0f);             // the file's own value is kept
    EXPECT_EQ(rl.ADV_range[2], 2);
    EXPECT_EQ(rl.ADVANCE_num[2], 4);
    EXPECT_EQ(rl.CLUSTER_num[2], 5);
    EXPECT_EQ(rl.COMBAT_num[2], 6);
    EXPECT_EQ(rl.w_alpha[1], 0.1f);
    EXPECT_EQ(rl.w_gamma[2], 0.45f);
    EXPECT_EQ(rl.w_obey_GC_def[1], 0.5f);
    EXPECT_EQ(rl.w_help_LC_def[2], 0.65f);

    const CLocalCommand& bl = doc->BlueLocal;
    EXPECT_EQ(bl.NumLocalCommanders, 1);
    EXPECT_EQ(bl.patch_type, 1);
    EXPECT_EQ(bl.CommandPatchSize[1], 7);  // 3r + 1
    // BLUE's personality is the squads': the commander keeps its own weights,
    // divided by the sum of their absolute values, 5.
    EXPECT_EQ(bl.Normalised.w1[1], 0.5f / 5.0f);
    EXPECT_EQ(bl.Normalised.w3[1], 1.0f / 5.0f);
    EXPECT_EQ(bl.Normalised.w6[1], 2.0f / 5.0f);
    EXPECT_EQ(bl.Normalised.w_terrain[1], -1.0f / 5.0f);
    EXPECT_EQ(bl.w6[1], 2.0f);
    EXPECT_EQ(bl.w7, 0.7f);
    EXPECT_EQ(bl.w8, 0.8f);

    // Terrain blocks: a pillar switches line of sight on whatever LOS_flag?
    // said; a passable block switches the modifiers on.
    EXPECT_EQ(b.terrain_blocks, 2);
    EXPECT_EQ(b.TerrainBlockType[1], Pillar);
    EXPECT_EQ(b.TerrainBlockLength[1], 4);
    EXPECT_EQ(b.TerrainBlockWidth[1], 3);
    EXPECT_EQ(b.TerrainBlockX[2], 30);
    EXPECT_EQ(b.TerrainBlockY[2], 100);
    EXPECT_EQ(b.TerrainBlockUsed[1], 1);
    EXPECT_EQ(b.TerrainBlockUsed[2], 1);
    EXPECT_EQ(b.TerrainBlockUsed[3], 0);
    EXPECT_EQ(b.LineOfSightOn, 1);
    EXPECT_EQ(b.TerrainModifiersOn, 1);
}

TEST(StartupReader, Version4ScenarioForces)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("scenario_v4.dat")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty());
    const CForce& r = doc->RedForce;

    // 5 + 5 + 5 for 12 agents: the third squad is cut to 2.
    EXPECT_EQ(r.NumAgents, 12);
    EXPECT_EQ(r.NumSquads, 3);
    EXPECT_EQ(r.num_per_squad[1], 5);
    EXPECT_EQ(r.num_per_squad[3], 2);
    EXPECT_EQ(r.AgentSquad[5], 1);
    EXPECT_EQ(r.AgentSquad[6], 2);
    EXPECT_EQ(r.AgentSquad[11], 3);
    EXPECT_EQ(r.AgentSquad[12], 3);
    EXPECT_EQ(r.A_M_RANGE[1], 2);
    EXPECT_EQ(r.I_M_RANGE[2], 0);
    EXPECT_EQ(r.personality, 0);
    EXPECT_EQ(r.near_terrain_flag, 1);
    EXPECT_EQ(r.w2_a[1], 0.1f);
    EXPECT_EQ(r.w5_a[1], -0.1f);
    EXPECT_EQ(r.w_area_alive[1], 0.2f);
    EXPECT_EQ(r.w_flock_alive[2], -0.1f);
    EXPECT_EQ(r.w_terrain_injured[1], 0.3f);
    EXPECT_EQ(r.w_flock_injured[6], 0.3f);
    EXPECT_EQ(r.defense_flag, 1);
    EXPECT_EQ(r.alive_strength[10], 11);
    EXPECT_EQ(r.A_S_RANGE[1], 5);
    EXPECT_EQ(r.I_F_RANGE[10], 11);
    EXPECT_EQ(r.MinSensorRange, 5);
    // Communications off: range and weights are cleared.
    EXPECT_EQ(r.CommOn, 0);
    EXPECT_EQ(r.COMM_range, 0);
    EXPECT_EQ(r.A_COMM_weight, 0.0f);
    EXPECT_EQ(r.I_COMM_weight, 0.0f);
    EXPECT_EQ(r.movement_flag[1], 1);
    EXPECT_EQ(r.ADVANCE_flag[1], 1);
    EXPECT_EQ(r.CLUSTER_flag[1], 0);
    EXPECT_EQ(r.R_terrain_min_flag[2], 0);
    EXPECT_EQ(r.R_area_min_flag[2], 1);
    EXPECT_EQ(r.A_C_RANGE[3], 3);
    EXPECT_EQ(r.A_COMBAT_num[10], 40);
    EXPECT_EQ(r.A_HOLD_f[3], 0.166667);
    EXPECT_EQ(r.A_SUPPORT2_num[1], 81);
    EXPECT_EQ(r.I_C_RANGE[1], 101);
    EXPECT_EQ(r.I_HOLD_f[4], 1.0);
    EXPECT_EQ(r.I_PURSUIT1_num[10], 150);
    EXPECT_EQ(r.C_RANGE_m, 0);
    EXPECT_EQ(r.C_RANGE_M, 2);
    EXPECT_EQ(r.A_COMB_m, 3);
    EXPECT_EQ(r.I_ADV_M, 6);
    EXPECT_EQ(r.I_COMB_M, 8);
    EXPECT_EQ(r.A_R_R_min_dist[1], 1.75f);
    EXPECT_EQ(r.A_R_terrain_min[1], 4.75f);
    EXPECT_EQ(r.A_R_area_min[1], 5.75f);
    EXPECT_EQ(r.A_R_flock_max[1], 7.75f);
    EXPECT_EQ(r.I_R_B_min_dist[2], 3.75f);
    EXPECT_EQ(r.I_R_flock_min[8], 8.5f);
    EXPECT_EQ(r.shot_prob_alive[1], 0.45f);
    EXPECT_EQ(r.shot_prob_injured[10], 0.3f);
    EXPECT_EQ(r.A_R_max_eng_num[3], 4);
    EXPECT_EQ(r.I_R_max_eng_num[3], 1);

    // Agent 12 belongs to squad 3 and carries its parameters.
    EXPECT_EQ(r.AliveStrength[12], 4);
    EXPECT_EQ(r.SensorRangeAlive[12], 7);
    EXPECT_EQ(r.SensorRangeInjured[12], 6);
    EXPECT_EQ(r.FireRangeInjured[12], 4);
    EXPECT_EQ(r.MoveRangeAlive[12], 2);
    EXPECT_EQ(r.ShotProbAlive[12], 0.55f);
    EXPECT_EQ(r.MaxTargetsAlive[12], 4);
    EXPECT_EQ(r.GoalMinDistAlive[12], 4.25f);
    EXPECT_EQ(r.FlockMaxInjured[12], 8.875f);
    EXPECT_EQ(r.ConstraintRangeAlive[12], 3);
    EXPECT_EQ(r.ConstraintRangeInjured[12], 103);
    EXPECT_EQ(r.HoldFractionAlive[12], r.A_HOLD_f[3]);
    EXPECT_EQ(r.Support1NumInjured[12], 173);
    EXPECT_EQ(r.MovementFlag[12], 1);
    // Current ranges start from the alive copies.
    EXPECT_EQ(r.SensorRange[12], 7);
    EXPECT_EQ(r.FireRange[12], 5);
    EXPECT_EQ(r.ConstraintRange[12], 3);

    const CForce& bf = doc->BlueForce;
    // 4 + 4 for 10 agents: the last squad takes the remainder.
    EXPECT_EQ(bf.NumAgents, 10);
    EXPECT_EQ(bf.NumSquads, 2);
    EXPECT_EQ(bf.num_per_squad[2], 6);
    EXPECT_EQ(bf.CommOn, 1);
    EXPECT_EQ(bf.COMM_range, 5);
    EXPECT_EQ(bf.A_COMM_weight, 0.5f);
    EXPECT_EQ(bf.C_RANGE_M, 3);
    // Squad personality: squad 1's alive weights 1, 2, 0, 0, 0, 4, 1, 1, 1 over 10.
    EXPECT_EQ(bf.AliveWeight[W1][1], 0.1f);
    EXPECT_EQ(bf.AliveWeight[W2][4], 0.2f);
    EXPECT_EQ(bf.AliveWeight[W6][4], 0.4f);
    EXPECT_EQ(bf.AliveWeight[WTerrain][1], 0.1f);
    EXPECT_EQ(bf.AliveWeight[WFlock][1], 0.1f);
    EXPECT_EQ(bf.MaxAliveWeight[1], 0.4f);
    // Squad 2's alive weights are all 0: so are its agents'.
    for (int w = W1; w < WeightSlots; ++w)
        EXPECT_EQ(bf.AliveWeight[w][7], 0.0f) << w;
    EXPECT_EQ(bf.MaxAliveWeight[7], 0.0f);
    // Injured: squad 2 holds 0, .1, .2, .3, .05, .15, .25, 0, .1.
    float injuredSum = 0.0f;
    for (float v : {0.0f, 0.1f, 0.2f, 0.3f, 0.05f, 0.15f, 0.25f, 0.0f, 0.1f})
        injuredSum += v;
    EXPECT_EQ(bf.InjuredWeight[W4][5], 0.3f / injuredSum);
    EXPECT_EQ(bf.MaxInjuredWeight[5], 0.3f / injuredSum);

    // Run state after a scenario: step 0 of a 501-step run.
    EXPECT_EQ(doc->RunHeader.LastStep, 501);
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    EXPECT_EQ(doc->RunHeader.TimeDirection, 1);
    EXPECT_EQ(doc->RunHeader.RedAlive, 12);
    EXPECT_EQ(doc->RunHeader.BlueAlive, 10);
    EXPECT_EQ(doc->LatticeExtentX, 152);
    EXPECT_EQ(doc->StepsPerBurst, 1);
    EXPECT_EQ(doc->HighlightRedSquadNumber, 1);
    EXPECT_EQ(doc->ShowOtherBlueAgents, 1);
    EXPECT_EQ(doc->Experiment.LandscapeWinThreshold, 0.5);
    EXPECT_EQ(doc->RedForce.MoveProbAlive[10], 1.0f);
    EXPECT_EQ(doc->BlueForce.MovePeriodInjured[1], 1);
    EXPECT_EQ(doc->InitialComposition.RedCount, 12);
    EXPECT_EQ(doc->InitialComposition.BlueSquads, 2);
    EXPECT_EQ(doc->InitialComposition.RedPerSquad[3], 2);
    EXPECT_EQ(doc->InitialComposition.BluePerSquad[2], 6);
    EXPECT_EQ(doc->InitialComposition.BlueAgentSquad[10], 2);
    // Every agent stands on the battlefield after the reset.
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(r.AgentState[i], Alive) << i;
}

TEST(StartupReader, RandomPersonalitiesFollowTheFirstDraw)
{
    // RED draws: its two commanders first, then per agent five alive, five
    // injured and the two local-command weights. BLUE's are the squads'.
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("scenario_v4.dat")), 1);
    DrawReplay replay;
    float w[6];
    for (int k = 1; k <= 2; ++k) {
        replay.Set(w);
        EXPECT_EQ(doc->RedLocal.Normalised.w1[k], w[0]) << k;
        EXPECT_EQ(doc->RedLocal.Normalised.w4[k], w[3]) << k;
        EXPECT_EQ(doc->RedLocal.Normalised.w5[k], 0.0f) << k;
        EXPECT_EQ(doc->RedLocal.Normalised.w6[k], w[5]) << k;
    }
    float w7 = 0, w8 = 0;
    for (int i = 1; i <= 12; ++i) {
        float alive[6], injured[6];
        replay.Set(alive);
        replay.Set(injured);
        ExpectAgentWeights(doc->RedForce, i, alive, injured, "RED");
        w7 = static_cast<float>(replay.Next());
        w8 = static_cast<float>(replay.Next());
        EXPECT_EQ(doc->RedForce.MaxAliveWeight[i], *std::max_element(alive, alive + 6)) << i;
    }
    EXPECT_EQ(doc->RedLocal.w7, w7);
    EXPECT_EQ(doc->RedLocal.w8, w8);

    // The reader's draws end there: its state hands on to the deployment.
    const std::string v4 = FixtureText("scenario_v4.dat");
    CWordReader words(v4);
    auto scratch = std::make_unique<CDocumentState>();
    scratch->RandomState = -31415926;
    scratch->Generator.Draw(&scratch->RandomState);
    std::string problem;
    ASSERT_TRUE(ReadScenarioGroups(words, *scratch, &problem)) << problem;
    EXPECT_EQ(scratch->RandomState, replay.Seed);
}

TEST(StartupReader, Version1FileUsesTheOldDefaults)
{
    TestDocument doc;
    for (int s = 1; s <= MaxSquads; ++s) {
        // Not in a version 1 file: a new document's 0, whatever stood before.
        doc->RedForce.A_C_RANGE[s] = 77;
        doc->BlueForce.A_COMBAT_num[s] = 66;
        doc->RedForce.HOLD_flag[s] = 1;
        doc->RedForce.w_area_alive[s] = 0.5f;
    }
    ASSERT_EQ(Load(doc, DataPath("scenario_v1.dat")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    const CBattlefield& b = doc->Battlefield;
    // init_dist 2 on an 80-cell battlefield, boxes 7 x 5.
    EXPECT_EQ(b.BattleSize, 80);
    EXPECT_EQ(b.RED_cen_x[1], 3);
    EXPECT_EQ(b.RED_cen_y[1], 2);
    EXPECT_EQ(b.BLUE_cen_x[1], 76);
    EXPECT_EQ(b.BLUE_cen_y[1], 77);
    EXPECT_EQ(doc->LatticeExtentX, 82);
    EXPECT_EQ(doc->RunHeader.FixedMoveOrderSelected, 1);
    EXPECT_EQ(doc->RunHeader.RandomMoveOrderSelected, 0);
    // Six of seven statistics: no "Set All".
    EXPECT_EQ(doc->Statistics.AllStatisticsOn, 0);
    EXPECT_EQ(doc->Statistics.CapacityDimensionOn, 0);
    EXPECT_EQ(doc->WeaponStatsOn, 0);
    // Local command off: no commanders, patch type and flag 1.
    EXPECT_EQ(doc->RedLocal.NumLocalCommanders, 0);
    EXPECT_EQ(doc->RedLocal.patch_type, 1);
    EXPECT_EQ(doc->RedLocal.patch_flag, 1);
    EXPECT_EQ(b.TerrainMode, 0);
    EXPECT_EQ(b.LineOfSightOn, 0);
    EXPECT_EQ(b.CellTerrainDefined, 0);

    for (const CForce* f : {static_cast<const CForce*>(&doc->RedForce), static_cast<const CForce*>(&doc->BlueForce)}) {
        for (int s = 1; s <= MaxSquads; ++s) {
            EXPECT_EQ(f->ADVANCE_flag[s], 1);
            EXPECT_EQ(f->CLUSTER_flag[s], 1);
            EXPECT_EQ(f->COMBAT_flag[s], 1);
            EXPECT_EQ(f->HOLD_flag[s], 0);
            EXPECT_EQ(f->SUPPORT2_flag[s], 0);
            EXPECT_EQ(f->R_terrain_min_flag[s], 0);
            EXPECT_EQ(f->R_area_min_flag[s], 0);
            EXPECT_EQ(f->A_HOLD_f[s], 0.0);
            EXPECT_EQ(f->I_PURSUIT2_num[s], 0);
            EXPECT_EQ(f->A_SUPPORT1_num[s], 0);
            EXPECT_EQ(f->w_area_alive[s], 0.0f);
            EXPECT_EQ(f->w_flock_injured[s], 0.0f);
            EXPECT_EQ(f->A_R_area_min[s], 0.0f);
            EXPECT_EQ(f->I_R_flock_max[s], 0.0f);
        }
        EXPECT_EQ(f->movement_flag[1], 1);  // read in every version
    }
    EXPECT_EQ(doc->RedForce.A_C_RANGE[1], 0);
    EXPECT_EQ(doc->RedForce.ConstraintRangeAlive[1], 0);
    EXPECT_EQ(doc->RedForce.ConstraintRange[2], 0);
    EXPECT_EQ(doc->BlueForce.A_COMBAT_num[4], 0);
    EXPECT_EQ(doc->RedForce.I_C_RANGE[1], 101);  // the injured rows are in every version
    EXPECT_EQ(doc->RedForce.A_R_terrain_min[1], 4.75f);

    // Both sides draw their personalities, RED's agents then BLUE's.
    DrawReplay replay;
    for (int i = 1; i <= 3; ++i) {
        float alive[6], injured[6];
        replay.Set(alive);
        replay.Set(injured);
        ExpectAgentWeights(doc->RedForce, i, alive, injured, "RED");
    }
    for (int i = 1; i <= 2; ++i) {
        float alive[6], injured[6];
        replay.Set(alive);
        replay.Set(injured);
        ExpectAgentWeights(doc->BlueForce, i, alive, injured, "BLUE");
    }
}

TEST(StartupReader, Version2And3Files)
{
    // What the file does not hold takes a new document's value (0), not
    // what stood before.
    TestDocument v2;
    for (int s = 1; s <= MaxSquads; ++s)
        v2->BlueForce.A_C_RANGE[s] = 55;
    ASSERT_EQ(Load(v2, DataPath("scenario_v2.dat")), 1);
    ASSERT_TRUE(v2.Host.Messages.empty()) << v2.Host.Messages[0].Text;
    for (const CForce* f : {static_cast<const CForce*>(&v2->RedForce), static_cast<const CForce*>(&v2->BlueForce)}) {
        for (int s = 1; s <= MaxSquads; ++s) {
            EXPECT_EQ(f->R_area_min_flag[s], 1);
            EXPECT_EQ(f->w_area_injured[s], 0.0f);
            EXPECT_EQ(f->I_R_area_min[s], 0.0f);
            EXPECT_EQ(f->A_R_flock_min[s], 0.0f);
        }
        // The flag rows and the HOLD thresholds are in the file.
        EXPECT_EQ(f->ADVANCE_flag[2], 0);
        EXPECT_EQ(f->CLUSTER_flag[2], 1);
        EXPECT_EQ(f->HOLD_flag[1], 0);
        EXPECT_EQ(f->R_terrain_min_flag[1], 1);
        EXPECT_EQ(f->R_R_goal_min_flag[2], 1);
        EXPECT_EQ(f->A_HOLD_f[2], 0.25);
        EXPECT_EQ(f->I_HOLD_f[2], 0.5);
    }
    EXPECT_EQ(v2->BlueForce.A_C_RANGE[3], 0);
    EXPECT_EQ(v2->RedForce.A_RETREAT_num[2], 62);
    EXPECT_EQ(v2->BlueForce.I_SUPPORT1_num[1], 671);
    // Terrain cells: x and y before the type; the grids are cleared first.
    // The passable cell turns the modifiers on; no pillar, no line of sight.
    const CBattlefield& b = v2->Battlefield;
    EXPECT_EQ(b.TerrainMode, 2);
    EXPECT_EQ(b.TerrainType[GridIndex(2, 9)], PassableI);
    EXPECT_EQ(b.TerrainType[GridIndex(3, 7)], Lava);
    EXPECT_EQ(b.CellTerrainDefined, 1);
    EXPECT_EQ(b.LineOfSightOn, 0);
    EXPECT_EQ(b.TerrainModifiersOn, 1);

    TestDocument v3;
    for (int s = 1; s <= MaxSquads; ++s)
        v3->RedForce.A_ADVANCE_num[s] = 44;
    ASSERT_EQ(Load(v3, DataPath("scenario_v3.dat")), 1);
    ASSERT_TRUE(v3.Host.Messages.empty()) << v3.Host.Messages[0].Text;
    EXPECT_EQ(v3->RedForce.R_area_min_flag[1], 0);
    EXPECT_EQ(v3->RedForce.R_area_min_flag[2], 1);
    EXPECT_EQ(v3->RedForce.w_area_alive[1], 0.2f);
    EXPECT_EQ(v3->RedForce.w_flock_alive[1], 0.0f);
    EXPECT_EQ(v3->RedForce.A_R_area_min[1], 5.75f);
    EXPECT_EQ(v3->RedForce.A_R_flock_max[1], 0.0f);
    EXPECT_EQ(v3->RedForce.A_ADVANCE_num[1], 0);
    EXPECT_EQ(v3->RedForce.AdvanceNumAlive[1], 0);
}

TEST(StartupReader, SquadSizesMeetTheAgentCount)
{
    const std::string text = FixtureText("scenario_v4.dat");
    struct Case {
        const char* Count;
        const char* Sizes;
        int Squads;
        int Last;
    };
    // 5, 5, 5 with 12, 10 and 20 agents; 20, 5 with 12.
    for (const Case& c : {Case{"12", "5 5 5 0 0 0 0 0 0 0", 3, 2}, Case{"10", "5 5 5 0 0 0 0 0 0 0", 2, 5},
                          Case{"20", "5 5 5 0 0 0 0 0 0 0", 3, 10}, Case{"12", "20 5 5 0 0 0 0 0 0 0", 1, 12}}) {
        std::string edited = WithValues(text, "num_reds", c.Count);
        edited = WithValues(edited, "num_per_squad", c.Sizes);
        CWordReader words(edited);
        auto state = std::make_unique<CDocumentState>();
        std::string problem;
        ASSERT_TRUE(ReadScenarioGroups(words, *state, &problem)) << problem;
        EXPECT_EQ(state->RedForce.NumSquads, c.Squads) << c.Count << " / " << c.Sizes;
        EXPECT_EQ(state->RedForce.num_per_squad[c.Squads], c.Last) << c.Count << " / " << c.Sizes;
        const int n = std::stoi(c.Count);
        EXPECT_EQ(state->RedForce.AgentSquad[n], c.Squads);
        EXPECT_EQ(state->RedForce.AgentSquad[n + 1], 0);
    }
}

TEST(StartupReader, CarriageReturnLineEndsReadTheSame)
{
    std::string text = FixtureText("scenario_v4.dat");
    std::string dos;
    for (char c : text) {
        if (c == '\n')
            dos += '\r';
        dos += c;
    }
    TestDocument unix, windows;
    ASSERT_EQ(Load(unix, WriteTemp("unix/same.dat", text)), 1);
    ASSERT_EQ(Load(windows, WriteTemp("dos/same.dat", dos)), 1);
    EXPECT_TRUE(unix.Host.Messages.empty());
    EXPECT_TRUE(windows.Host.Messages.empty());
    EXPECT_EQ(Fingerprint(*unix), Fingerprint(*windows));
    EXPECT_EQ(windows->RedForce.I_R_max_eng_num[3], 1);
    EXPECT_EQ(windows->Battlefield.TerrainBlockY[2], 100);
}

TEST(StartupReader, UnlistedExtensionIsRefusedUnread)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("scenario_v3.dat")), 1);
    const std::uint64_t before = Fingerprint(*doc);
    // A scenario the reader would take as .dat, under names it does not
    // read. (A document file, .brv, is read as one: FileCommandsTest.)
    const std::string text = FixtureText("scenario_v4.dat");
    for (const char* name : {"scenario.vlx", "scenario.Dat", "scenario.txt", "scenario"}) {
        const std::string path = WriteTemp(name, text);
        doc.Host.Messages.clear();
        EXPECT_EQ(Load(doc, path), 1) << name;
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << name;
        EXPECT_EQ(doc.Host.Messages[0].Text,
                  "Error: cannot read input file " + path +
                      ":\nits name does not end in an extension a new document reads: scenarios .dat or .DAT, "
                      "stored runs .run or .RUN, frame files .out or .OUT, and document files .brv in any case.");
        EXPECT_EQ(Fingerprint(*doc), before) << name;
    }
}

TEST(StartupReader, UnopenableFileLeavesTheDocument)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("scenario_v3.dat")), 1);
    const std::uint64_t before = Fingerprint(*doc);
    const std::string missing = DataPath("no-such-scenario.dat");
    EXPECT_EQ(Load(doc, missing), 1);
    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_EQ(doc.Host.Messages[0].Text, "Error: cannot open input file.\n" + missing);
    EXPECT_EQ(doc.Host.Messages[0].Style & 0xF0u, unsigned(MB_ICONERROR));
    EXPECT_EQ(Fingerprint(*doc), before);
}

struct BadEdit {
    const char* Fixture;
    const char* Label;
    const char* Values;
    const char* Problem;
};

TEST(StartupReader, BadScenarioFilesAreRefusedWholesale)
{
    const BadEdit edits[] = {
        {"scenario_v4.dat", "data_version", "5", "data_version is 5, outside 1..4"},
        {"scenario_v4.dat", "data_version", "0", "data_version is 0, outside 1..4"},
        {"scenario_v4.dat", "battle_size", "151", "battle_size is 151, outside 1..150"},
        {"scenario_v4.dat", "battle_size", "0", "battle_size is 0, outside 1..150"},
        {"scenario_v4.dat", "num_reds", "301", "num_reds is 301, outside 0..300"},
        {"scenario_v4.dat", "num_blues", "-1", "num_blues is -1, outside 0..300"},
        {"scenario_v4.dat", "squads", "11", "RED squads is 11, outside 1..10"},
        {"scenario_v4.dat", "num_per_squad", "-2 5 5 0 0 0 0 0 0 0", "RED num_per_squad of squad 1 is -2, outside 0..300"},
        // Values that overflowed the sizes, sums and timers derived from them.
        {"scenario_v4.dat", "num_per_squad", "2147483647 5 5 0 0 0 0 0 0 0",
         "RED num_per_squad of squad 1 is 2147483647, outside 0..300"},
        {"scenario_v4.dat", "(1)_R_cmnd_rad", "1000000000", "(1)_R_cmnd_rad is 1000000000, outside 0..150"},
        {"scenario_v4.dat", "(1)_B_cmnd_rad", "-1", "(1)_B_cmnd_rad is -1, outside 0..150"},
        {"scenario_v4.dat", "RED_recon_time", "-2147483648", "RED_recon_time is -2147483648, outside -1000000..1000000"},
        {"scenario_v4.dat", "A:S_RANGE", "5 1000 7 8 9 10 11 12 13 14", "RED A:S_RANGE of squad 2 is 1000, outside 0..999"},
        {"scenario_v4.dat", "I:F_RANGE", "2 3 2147483647 5 6 7 8 9 10 11",
         "RED I:F_RANGE of squad 3 is 2147483647, outside -999..999"},
        {"scenario_v4.dat", "num_RED_comdrs", "11", "num_RED_comdrs is 11, outside 0..10"},
        {"scenario_v4.dat", "(2)_R_undr_cmd", "51", "(2)_R_undr_cmd is 51, outside 0..50"},
        {"scenario_v4.dat", "A:M_RANGE", "2 5 2 1 2 1 2 1 2 1", "RED A:M_RANGE of squad 2 is 5, outside 0..4"},
        {"scenario_v4.dat", "I:M_RANGE", "1 0 -1 0 1 0 1 0 1 0", "RED I:M_RANGE of squad 3 is -1, outside 0..4"},
        {"scenario_v4.dat", "A:S_RANGE", "5 -1 7 8 9 10 11 12 13 14", "RED A:S_RANGE of squad 2 is -1, outside 0..999"},
        {"scenario_v4.dat", "B_flag_(x,y)", "151 3", "B_flag_(x,y) (151, 3) lies off the 150 x 150 battlefield"},
        {"scenario_v4.dat", "terrain_blocks", "33", "terrain_blocks is 33, outside 0..32"},
        {"scenario_v4.dat", "type(2)", "6", "type(2) is 6, outside 0..5"},
        {"scenario_v4.dat", "red_frat_prob", "x0.25", "found \"x0.25\""},
        {"scenario_v2.dat", "terrain_x_y_(2)", "3 81", "terrain cell 2 at (3, 81) lies off the 80 x 80 battlefield"},
        {"scenario_v2.dat", "type(1)", "9", "the type of terrain cell 1 is 9, outside 0..5"},
    };
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("scenario_v4.dat")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty());
    const std::uint64_t before = Fingerprint(*doc);
    for (const BadEdit& edit : edits) {
        const std::string path = WriteTemp("bad.dat", WithValues(FixtureText(edit.Fixture), edit.Label, edit.Values));
        doc.Host.Messages.clear();
        EXPECT_EQ(Load(doc, path), 1);
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << edit.Label;
        const std::string& message = doc.Host.Messages[0].Text;
        EXPECT_EQ(message.rfind("Error: cannot read input file " + path + ":\n", 0), 0u) << message;
        EXPECT_NE(message.find(edit.Problem), std::string::npos) << message;
        EXPECT_EQ(Fingerprint(*doc), before) << edit.Label;
    }
}

TEST(StartupReader, TruncatedScenarioIsRefused)
{
    TestDocument doc;
    const std::uint64_t before = Fingerprint(*doc);
    const std::string text = FixtureText("scenario_v4.dat");
    for (std::size_t cut : {std::size_t(0), std::size_t(100), text.size() / 2, text.size() - 10}) {
        const std::string path = WriteTemp("short.dat", text.substr(0, cut));
        doc.Host.Messages.clear();
        EXPECT_EQ(Load(doc, path), 1);
        ASSERT_EQ(doc.Host.Messages.size(), 1u);
        EXPECT_NE(doc.Host.Messages[0].Text.find("the file ends"), std::string::npos) << doc.Host.Messages[0].Text;
        EXPECT_EQ(Fingerprint(*doc), before);
    }
}

// --- stored runs and frame files through the start-up reader

TEST(StartupReader, StoredRunPlaysBackItsFrames)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("stored_v4.run")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->RunMode, PlaybackMode);
    EXPECT_EQ(doc->LoadInputFile, 0);
    EXPECT_EQ(doc->InitialSeed, -31415926);
    EXPECT_EQ(doc->NumRed(), 12);
    EXPECT_EQ(doc->RunHeader.LastStep, 2);
    EXPECT_EQ(doc->RunHeader.TimeDirection, 1);
    // Rebuilding the lattice from frame 0 leaves the run at 0, so that the
    // first tick of the playback shows frame 1.
    EXPECT_EQ(doc->RunHeader.CurrentStep, 0);
    // Frame 2, RED agent 5: state (2 + 5) % 3, x 1 + (2 + 15) % 150, y 1 + (4 + 5) % 150.
    EXPECT_EQ(doc->Capture(RedCaptureState, 2, 5), 1);
    EXPECT_EQ(doc->Capture(RedCaptureX, 2, 5), 18);
    EXPECT_EQ(doc->Capture(RedCaptureY, 2, 5), 10);
    // Frame 1, BLUE agent 10: state (1 + 11) % 3, x 1 + 51, y 1 + 13.
    EXPECT_EQ(doc->Capture(BlueCaptureState, 1, 10), 0);
    EXPECT_EQ(doc->Capture(BlueCaptureX, 1, 10), 52);
    EXPECT_EQ(doc->Capture(BlueCaptureY, 1, 10), 14);
    EXPECT_EQ(doc->Capture(RedCaptureX, 3, 1), 0);
}

TEST(StartupReader, StoredRunKeepsFramesUpToStep350)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("stored_400.run")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->RunHeader.LastStep, 350);
    // Frame 350, RED agent 3: x 1 + (350 + 9) % 80.
    EXPECT_EQ(doc->Capture(RedCaptureX, 350, 3), 1 + (350 + 9) % 80);
    EXPECT_EQ(doc->Capture(BlueCaptureY, 350, 2), 1 + (3 * 350 + 2) % 80);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(doc->Capture(RedCaptureX, 351, i), 0);
}

TEST(StartupReader, StoredRunWithoutFrames)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("stored_empty.run")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->RunMode, PlaybackMode);
    EXPECT_EQ(doc->RunHeader.LastStep, 0);  // the step the run stood at
    // Frame 0 is all zero: every agent dead, nothing living on the lattice.
    const unsigned char* plane = doc->DisplayPlane(0);
    int agents = 0;
    for (int k = 0; k < LatticeCells; ++k)
        agents += plane[k] == 1 || plane[k] == 2;
    EXPECT_EQ(agents, 0);
}

std::string FramesText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n" + line;
    return text;
}

TEST(StartupReader, DamagedStoredRunsKeepTheirCompleteFrames)
{
    const std::string scenario = FixtureText("stored_empty.run");  // 3 RED, 2 BLUE on 80 x 80
    const std::string good0 = FramesText({"0", "2 1 1", "2 2 2", "2 3 3", "2 80 80", "1 79 80"});
    struct Case {
        std::string Frames;
        const char* Problem;
    };
    const Case cases[] = {
        {good0 + FramesText({"352", "2 1 1", "2 2 2", "2 3 3", "2 4 4", "2 5 5"}),
         "a frame has step 352, outside the stored steps 0..351"},
        {good0 + FramesText({"-1", "2 1 1", "2 2 2", "2 3 3", "2 4 4", "2 5 5"}), "a frame has step -1"},
        {good0 + FramesText({"1", "2 1 1", "2 81 2", "2 3 3", "2 4 4", "2 5 5"}),
         "the frame of step 1 puts RED agent 2 at (81, 2), off the 80 x 80 battlefield"},
        {good0 + FramesText({"1", "2 1 1", "2 2 2", "2 3 3", "2 4 4", "2 5 0"}),
         "puts BLUE agent 2 at (5, 0)"},
        {good0 + FramesText({"1", "2 1 1", "2 2 2", "1 0 0", "2 4 4", "2 5 5"}),
         "puts RED agent 3 at (0, 0)"},
        {good0 + FramesText({"1", "2 1 1", "2 2 2", "2 3 3", "2 4 4", "2 5"}), "the frame of step 1 breaks off"},
        {good0 + FramesText({"1", "2 1 1", "2 x 2"}), "found \"x\""},
        {good0 + FramesText({"step"}), "a frame step is unreadable"},
        {good0 + FramesText({"1", "2 1 1", "2 2 2", "2 3 3", "3 4 4", "2 5 5"}),
         "the frame of step 1 gives BLUE agent 1 the state 3, outside 0..2"},
        {good0 + FramesText({"1", "-1 1 1", "2 2 2", "2 3 3", "2 4 4", "2 5 5"}), "RED agent 1 the state -1"},
    };
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("stored_v4.run")), 1);
    const std::uint64_t before = Fingerprint(*doc);
    // Damage after frame 0: the scenario and frame 0 load, with a warning
    // naming the file and the frame.
    for (const Case& c : cases) {
        doc.Host.Messages.clear();
        const std::string path = WriteTemp("damaged.run", scenario + c.Frames);
        EXPECT_EQ(Load(doc, path), 1);
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << c.Problem;
        const std::string& text = doc.Host.Messages[0].Text;
        EXPECT_NE(text.find(c.Problem), std::string::npos) << text;
        EXPECT_NE(text.find("stored run " + path + " is damaged in frame 2 of the file"), std::string::npos) << text;
        EXPECT_NE(text.find("the 1 complete frame before it are loaded"), std::string::npos) << text;
        EXPECT_EQ(doc.Host.Messages[0].Style & 0xF0u, unsigned(MB_ICONWARNING));
        EXPECT_EQ(doc->NumRed(), 3);
        EXPECT_EQ(doc->RunHeader.LastStep, 0);
        EXPECT_EQ(doc->Capture(BlueCaptureY, 0, 2), 80);
    }
    // Damage in the first frame leaves nothing to play: refused.
    ASSERT_EQ(Load(doc, DataPath("stored_v4.run")), 1);
    doc.Host.Messages.clear();
    const std::string bad0 = FramesText({"0", "2 1 1", "7 2 2", "2 3 3", "2 80 80", "1 79 80"});
    EXPECT_EQ(Load(doc, WriteTemp("bad.run", scenario + bad0)), 1);
    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_NE(doc.Host.Messages[0].Text.find("RED agent 2 the state 7, outside 0..2"), std::string::npos);
    EXPECT_EQ(Fingerprint(*doc), before);
    // The same frames without the fault load, trailing line end and all; a
    // dead agent that set-up left off the battlefield stands at (0, 0).
    doc.Host.Messages.clear();
    const std::string parked = FramesText({"1", "2 1 1", "0 0 0", "2 3 3", "2 4 4", "2 5 5"});
    EXPECT_EQ(Load(doc, WriteTemp("good.run", scenario + good0 + parked + "\n")), 1);
    EXPECT_TRUE(doc.Host.Messages.empty());
    EXPECT_EQ(doc->Capture(BlueCaptureY, 0, 2), 80);
    EXPECT_EQ(doc->Capture(RedCaptureX, 1, 2), 0);
    EXPECT_EQ(doc->RunHeader.LastStep, 1);
}

TEST(StartupReader, FrameFileReplaysFromItsOwnHeader)
{
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("scenario_v3.dat")), 1);
    doc->RunHeader.RedSnapshot.Unfiled = 4242;
    const int seed = doc->RandomState;
    const float weight = doc->RedForce.w2_a[1];
    ASSERT_EQ(Load(doc, DataPath("frames_startup.out")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    const CRunHeader& h = doc->RunHeader;
    EXPECT_EQ(doc->RunMode, ReplayMode);
    EXPECT_EQ(doc->LoadInputFile, 0);
    EXPECT_EQ(doc->InputFileName, "frames_startup.out");
    EXPECT_EQ(h.LatticeSize, 60);
    EXPECT_EQ(h.GeneralInts[0], 101);
    EXPECT_EQ(h.GeneralInts[5], 106);
    EXPECT_EQ(h.RedSnapshot.Lead, 11);
    EXPECT_EQ(h.RedCount, 4);
    EXPECT_EQ(h.RedSnapshot.Ints1[1], 13);
    EXPECT_EQ(h.RedSnapshot.Floats1[11], 11.5f);
    EXPECT_EQ(h.RedSnapshot.Ints2[3], 17);
    EXPECT_EQ(h.RedSnapshot.Float2, 2.75f);
    EXPECT_EQ(h.RedSnapshot.Ints3[7], 25);
    EXPECT_EQ(h.RedSnapshot.Floats3[6], 7.5f);
    EXPECT_EQ(h.RedSnapshot.Unfiled, 4242);  // not in the file
    EXPECT_EQ(h.BlueSnapshot.Lead, 21);
    EXPECT_EQ(h.BlueCount, 3);
    EXPECT_EQ(h.BlueSnapshot.Ints3[0], 28);
    EXPECT_EQ(h.Trailer, 99);
    EXPECT_EQ(doc->LatticeExtentX, 62);
    EXPECT_EQ(doc->LatticeExtentY, 62);
    EXPECT_EQ(h.RedAlive, 4);
    EXPECT_EQ(h.BlueAlive, 3);
    EXPECT_EQ(h.LastStep, 5);
    EXPECT_EQ(h.TimeDirection, 1);
    // The counts are the header's, not the scenario's; the scenario and the
    // seeds stay.
    EXPECT_EQ(doc->NumRed(), 3);
    EXPECT_EQ(doc->RandomState, seed);
    EXPECT_EQ(doc->RedForce.w2_a[1], weight);
    EXPECT_EQ(doc->Capture(RedCaptureX, 5, 4), 1 + (5 + 12) % 60);
    EXPECT_EQ(doc->Capture(BlueCaptureState, 3, 3), (3 + 3 + 1) % 3);
    EXPECT_EQ(doc->Capture(BlueCaptureY, 5, 3), 1 + (15 + 3) % 60);
}

TEST(StartupReader, FrameFileWithoutFrames)
{
    TestDocument doc;
    doc->RunHeader.CurrentStep = 7;
    ASSERT_EQ(Load(doc, DataPath("frames_noframes.out")), 1);
    ASSERT_TRUE(doc.Host.Messages.empty()) << doc.Host.Messages[0].Text;
    EXPECT_EQ(doc->RunMode, ReplayMode);
    EXPECT_EQ(doc->RunHeader.LastStep, 7);  // the step the run stood at
    EXPECT_EQ(doc->RunHeader.RedCount, 4);
}

std::string HeaderText(int size, int red, int blue, int values = 80)
{
    std::vector<std::string> all = {std::to_string(size), "1", "2", "3", "4", "5", "6"};
    for (int count : {red, blue}) {
        all.push_back("9");
        all.push_back(std::to_string(count));
        for (int k = 0; k < 34; ++k)
            all.push_back("3");  // reads as an int and as a float
    }
    all.push_back("7");
    std::string text;
    for (int k = 0; k < values; ++k)
        text += all[k] + (k % 10 == 9 ? "\n" : " ");
    return text;
}

TEST(StartupReader, BadFrameFilesAreRefused)
{
    struct Case {
        std::string Text;
        const char* Problem;
    };
    const std::string frame = "\n0\n2 1 1\n2 40 40\n";
    const Case cases[] = {
        {HeaderText(151, 1, 1) + frame, "the lattice size is 151, outside 1..150"},
        {HeaderText(0, 1, 1) + frame, "the lattice size is 0, outside 1..150"},
        {HeaderText(60, 301, 1) + frame, "the RED agent count is 301, outside 0..300"},
        {HeaderText(60, 1, -3) + frame, "the BLUE agent count is -3, outside 0..300"},
        {HeaderText(60, 1, 1, 79), "the run header breaks off"},
        {HeaderText(30, 1, 1) + frame, "the frame of step 0 puts BLUE agent 1 at (40, 40), off the 30 x 30 battlefield"},
    };
    TestDocument doc;
    ASSERT_EQ(Load(doc, DataPath("frames_startup.out")), 1);
    const std::uint64_t before = Fingerprint(*doc);
    for (const Case& c : cases) {
        doc.Host.Messages.clear();
        EXPECT_EQ(Load(doc, WriteTemp("bad.out", c.Text)), 1);
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << c.Problem;
        EXPECT_NE(doc.Host.Messages[0].Text.find(c.Problem), std::string::npos) << doc.Host.Messages[0].Text;
        EXPECT_EQ(Fingerprint(*doc), before) << c.Problem;
    }
    doc.Host.Messages.clear();
    EXPECT_EQ(Load(doc, WriteTemp("good.OUT", HeaderText(60, 1, 1) + frame)), 1);
    EXPECT_TRUE(doc.Host.Messages.empty());
    EXPECT_EQ(doc->Capture(BlueCaptureX, 0, 1), 40);
}

}  // namespace
}  // namespace brevimar
