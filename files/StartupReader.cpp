#include "files/StartupReader.h"

#include <sstream>

#include "core/Document.h"
#include "files/RunFrames.h"
#include "files/WordReader.h"

namespace brevimar {

StartupFileKind ClassifyStartupExtension(const std::string& extension)
{
    if (extension == "out" || extension == "OUT")
        return StartupFileKind::FrameFile;
    if (extension == "dat" || extension == "DAT")
        return StartupFileKind::Scenario;
    if (extension == "run" || extension == "RUN")
        return StartupFileKind::StoredRun;
    return StartupFileKind::Unlisted;
}

float FloatAbs(float x) { return x >= 0.0f ? x : -x; }

namespace {

// Ranges the editors accept, and the longest reconstitution time a run can use.
constexpr int MaxRange = 999;
constexpr int MaxReconTime = 1000000;

}  // namespace

namespace {

// How the messages name a side.
struct SideNames {
    const char* Side;            // "RED"
    const char* AgentCount;      // "num_reds"
    const char* CommanderCount;  // "num_RED_comdrs"
    const char* Letter;          // "R", in the commander labels
};
constexpr SideNames RedNames{"RED", "num_reds", "num_RED_comdrs", "R"};
constexpr SideNames BlueNames{"BLUE", "num_blues", "num_BLUE_comdrs", "B"};

// Reads the scenario groups into one state, word by word, stopping at the
// first problem.
class ScenarioReader {
public:
    ScenarioReader(CWordReader& words, CDocumentState& state, const ScenarioReadOptions& options)
        : Words(words), S(state), Options(options)
    {
    }

    bool Read();
    const std::string& Problem() const { return Message; }

private:
    CForce& Force(Side side) { return side == Side::Red ? static_cast<CForce&>(S.RedForce) : S.BlueForce; }
    CLocalCommand& Local(Side side) { return side == Side::Red ? S.RedLocal : S.BlueLocal; }
    CGlobalCommander& Global(Side side) { return side == Side::Red ? S.RedGlobal : S.BlueGlobal; }
    static const SideNames& Names(Side side) { return side == Side::Red ? RedNames : BlueNames; }

    bool Broken()
    {
        Message = Words.Failure().Describe();
        return false;
    }
    bool Refuse(const std::string& text)
    {
        Message = text;
        return false;
    }
    bool Skip(int n) { return Words.Skip(n) || Broken(); }
    template <typename T>
    bool Value(T& value)
    {
        return Words.Read(value) || Broken();
    }
    // skip words, then one value
    template <typename T>
    bool Labelled(int skip, T& value)
    {
        return Skip(skip) && Value(value);
    }
    // skip words, then the ten values of a per-squad row
    template <typename T>
    bool Row(int skip, T (&row)[SquadSlots])
    {
        return Skip(skip) && (Words.ReadEach(row + 1, MaxSquads) || Broken());
    }
    // one label, then ten interleaved pairs
    bool PairRow(int (&first)[SquadSlots], int (&second)[SquadSlots])
    {
        if (!Skip(1))
            return false;
        for (int s = 1; s <= MaxSquads; ++s)
            if (!Value(first[s]) || !Value(second[s]))
                return false;
        return true;
    }
    template <typename T>
    static void Fill(T (&row)[SquadSlots], T value)
    {
        for (int s = 1; s <= MaxSquads; ++s)
            row[s] = value;
    }
    bool InRange(int value, int low, int high, const std::string& what)
    {
        if (value >= low && value <= high)
            return true;
        return Refuse(what + " is " + std::to_string(value) + ", outside " + std::to_string(low) + ".." +
                      std::to_string(high));
    }
    double Draw() { return S.Generator.DrawRange(1, 10000, &S.RandomState) * 0.0001; }

    bool ReadGeneral();
    void PlaceBoxesAndKeepCopies();
    bool ReadStatistics();
    bool ReadGlobalCommand(Side side);
    bool ReadLocalCommand(Side side);
    bool ReadLocalCommander(Side side, int k);
    bool ReadForce(Side side);
    void ReconcileSquads(Side side);
    bool ReadPersonality(Side side);
    void DrawPersonalities(Side side);
    bool ReadMetaPersonality(Side side);
    void CopySquadParameters(Side side);
    bool ReadTerrain();

    CWordReader& Words;
    CDocumentState& S;
    const ScenarioReadOptions Options;
    int DataVersion = 0;
    std::string Message;
};

bool ScenarioReader::Read()
{
    if (!ReadGeneral() || !ReadStatistics())
        return false;
    for (Side side : {Side::Red, Side::Blue})
        if (!ReadGlobalCommand(side))
            return false;
    for (Side side : {Side::Red, Side::Blue})
        if (!ReadLocalCommand(side))
            return false;
    for (Side side : {Side::Red, Side::Blue})
        if (!ReadForce(side))
            return false;
    return ReadTerrain();
}

bool ScenarioReader::ReadGeneral()
{
    CBattlefield& b = S.Battlefield;
    if (!Labelled(7, DataVersion) || !InRange(DataVersion, 1, 4, "data_version"))
        return false;
    if (!Labelled(7, b.BattleSize) || !InRange(b.BattleSize, 1, MaxBattleSize, "battle_size"))
        return false;
    if (!Labelled(6, b.init_dist) || !PairRow(b.R_box_l, b.R_box_w) || !PairRow(b.RED_cen_x, b.RED_cen_y) ||
        !PairRow(b.B_box_l, b.B_box_w) || !PairRow(b.BLUE_cen_x, b.BLUE_cen_y))
        return false;
    PlaceBoxesAndKeepCopies();

    // Each force keeps the enemy's flag as its goal.
    const char* flagWords[] = {"B_flag_(x,y)", "R_flag_(x,y)"};
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Force(side);
        if (!Skip(1) || !Value(f.GoalFlagX) || !Value(f.GoalFlagY))
            return false;
        // The lattice and the grids index the flag cell; 0 stands for a flag
        // not yet placed.
        if (f.GoalFlagX < 0 || f.GoalFlagX > b.BattleSize || f.GoalFlagY < 0 || f.GoalFlagY > b.BattleSize) {
            std::ostringstream text;
            text << flagWords[side == Side::Red ? 0 : 1] << " (" << f.GoalFlagX << ", " << f.GoalFlagY
                 << ") lies off the " << b.BattleSize << " x " << b.BattleSize << " battlefield";
            return Refuse(text.str());
        }
    }

    if (!Labelled(1, b.termination) || !Labelled(1, b.MoveOrder))
        return false;
    S.RunHeader.RandomMoveOrderSelected = b.MoveOrder == 1 ? 0 : 1;
    S.RunHeader.FixedMoveOrderSelected = b.MoveOrder == 1 ? 1 : 0;

    // LOS_flag? is read only to be replaced once the terrain is known.
    if (!Labelled(1, b.RedCombatUnlimited) || !Labelled(1, b.BlueCombatUnlimited) || !Labelled(1, b.TerrainMode) ||
        !Labelled(1, b.LineOfSightOn))
        return false;
    if (!Labelled(6, b.red_frat_flag) || !Labelled(1, b.blue_frat_flag) || !Labelled(1, b.red_frat_rad) ||
        !Labelled(1, b.blue_frat_rad) || !Labelled(1, b.red_frat_prob) || !Labelled(1, b.blue_frat_prob))
        return false;
    // The reconstitution timer counts down once per step: a time near the
    // smallest int would run it past it.
    return Labelled(5, b.RED_recon_flag) && Labelled(1, S.RedForce.recon_time) &&
           InRange(S.RedForce.recon_time, -MaxReconTime, MaxReconTime, "RED_recon_time") && Labelled(1, b.BLUE_recon_flag) &&
           Labelled(1, S.BlueForce.recon_time) && InRange(S.BlueForce.recon_time, -MaxReconTime, MaxReconTime, "BLUE_recon_time");
}

void ScenarioReader::PlaceBoxesAndKeepCopies()
{
    CBattlefield& b = S.Battlefield;
    // The copies keep the boxes as the file gives them, before a corner
    // deployment moves the centres.
    for (int s = 1; s <= MaxSquads; ++s) {
        S.RedSquadBoxCopy.CenterX[s] = b.RED_cen_x[s];
        S.RedSquadBoxCopy.Length[s] = b.R_box_l[s];
        S.RedSquadBoxCopy.CenterY[s] = b.RED_cen_y[s];
        S.RedSquadBoxCopy.Width[s] = b.R_box_w[s];
        S.BlueSquadBoxCopy.CenterX[s] = b.BLUE_cen_x[s];
        S.BlueSquadBoxCopy.Length[s] = b.B_box_l[s];
        S.BlueSquadBoxCopy.CenterY[s] = b.BLUE_cen_y[s];
        S.BlueSquadBoxCopy.Width[s] = b.B_box_w[s];
    }
    if (b.init_dist != 2)
        return;
    // RED boxes go to the low corner, BLUE boxes to the opposite one; the
    // casts cut toward zero.
    for (int s = 1; s <= MaxSquads; ++s) {
        b.RED_cen_x[s] = static_cast<int>(0.5 * b.R_box_l[s]);
        b.RED_cen_y[s] = static_cast<int>(0.5 * b.R_box_w[s]);
        b.BLUE_cen_x[s] = static_cast<int>(b.BattleSize - 0.5 * b.B_box_l[s]);
        b.BLUE_cen_y[s] = static_cast<int>(b.BattleSize - 0.5 * b.B_box_w[s]);
    }
}

bool ScenarioReader::ReadStatistics()
{
    CStatisticsParameters& st = S.Statistics;
    if (!Labelled(6, st.DataCollectionOn) || !Labelled(1, st.GoalStatsOn) || !Labelled(1, st.CenterOfMassOn) ||
        !Labelled(1, st.InterpointOn) || !Labelled(1, st.SpatialEntropyOn) || !Labelled(1, st.ClusterD1On) ||
        !Labelled(1, st.ClusterD2On) || !Labelled(1, st.NeighborStatsOn))
        return false;
    // All seven statistics on means "Set All": territory, weapons and the
    // capacity dimension join them. stat_flag? is not part of the test.
    st.TerritoryStatsOn = 0;
    st.AllStatisticsOn = 0;
    if (st.GoalStatsOn == 1 && st.CenterOfMassOn == 1 && st.InterpointOn == 1 && st.SpatialEntropyOn == 1 &&
        st.ClusterD1On == 1 && st.ClusterD2On == 1 && st.NeighborStatsOn == 1)
        st.AllStatisticsOn = 1;
    if (st.AllStatisticsOn == 1) {
        st.TerritoryStatsOn = 1;
        S.WeaponStatsOn = 1;
        st.CapacityDimensionOn = 1;
    }
    return true;
}

bool ScenarioReader::ReadGlobalCommand(Side side)
{
    CGlobalCommander& g = Global(side);
    if (!Labelled(8, g.GlobalCommandOn))
        return false;
    if (g.GlobalCommandOn != 1)
        return true;
    return Labelled(6, g.GC_fear_index) && Labelled(1, g.GC_w_alpha) && Labelled(1, g.GC_w_beta) &&
           Labelled(1, g.GC_frac_R[1]) && Labelled(1, g.GC_frac_R[2]) && Labelled(1, g.GC_w_swath[1]) &&
           Labelled(1, g.GC_w_swath[2]) && Labelled(1, g.GC_w_swath[3]) && Labelled(6, g.GC_max_red_f) &&
           Labelled(1, g.GC_help_radius) && Labelled(1, g.GC_h_thresh) && Labelled(1, g.GC_rel_h_thresh);
}

bool ScenarioReader::ReadLocalCommand(Side side)
{
    CLocalCommand& l = Local(side);
    if (!Labelled(8, l.LocalCommandOn))
        return false;
    if (l.LocalCommandOn != 1) {
        l.NumLocalCommanders = 0;
        l.patch_type = 1;
        l.patch_flag = 1;
        return true;
    }
    if (!Labelled(1, l.NumLocalCommanders) ||
        !InRange(l.NumLocalCommanders, 0, MaxCommanders, std::string(Names(side).CommanderCount)))
        return false;
    if (!Labelled(1, l.patch_type) || !Labelled(1, l.patch_flag))
        return false;
    for (int k = 1; k <= l.NumLocalCommanders; ++k)
        if (!ReadLocalCommander(side, k))
            return false;
    return true;
}

bool ScenarioReader::ReadLocalCommander(Side side, int k)
{
    CLocalCommand& l = Local(side);
    const std::string label = "(" + std::to_string(k) + ")_" + Names(side).Letter + "_undr_cmd";
    if (!Labelled(7, l.undr_cmd[k]) || !InRange(l.undr_cmd[k], 0, MaxSubordinates, label))
        return false;
    l.SubordinateCount[k] = l.undr_cmd[k];
    // A patch is 2r + 1 cells wide: a radius past the battlefield covers it all.
    if (!Labelled(1, l.cmnd_rad[k]) ||
        !InRange(l.cmnd_rad[k], 0, MaxBattleSize, "(" + std::to_string(k) + ")_" + Names(side).Letter + "_cmnd_rad"))
        return false;
    const int r = l.cmnd_rad[k];
    l.CommandPatchSize[k] = l.patch_type == 1 ? 3 * r + 1 : 5 * r + 2;
    if (!Labelled(1, l.SENSOR_rng[k]))
        return false;

    // The file's weights are kept as the scenario's; the step uses them
    // divided by the sum of their magnitudes, as force set-up derives them.
    float* weights[] = {&l.w1[k], &l.w2[k], &l.w3[k], &l.w4[k], &l.w5[k], &l.w6[k], &l.w_terrain[k]};
    CCommanderWeights& out = l.Normalised;
    float* normalised[] = {&out.w1[k], &out.w2[k], &out.w3[k], &out.w4[k], &out.w5[k], &out.w6[k], &out.w_terrain[k]};
    if (!Labelled(7, *weights[0]))
        return false;
    for (int n = 1; n < 7; ++n)
        if (!Labelled(1, *weights[n]))
            return false;
    float sum = 0.0f;
    for (float* w : weights)
        sum += FloatAbs(*w);
    if (sum == 0.0f)
        sum = 1.0f;
    for (int n = 0; n < 7; ++n)
        *normalised[n] = *weights[n] / sum;

    return Labelled(7, l.ADV_range[k]) && Labelled(1, l.ADVANCE_num[k]) && Labelled(1, l.CLUSTER_num[k]) &&
           Labelled(1, l.COMBAT_num[k]) && Labelled(7, l.w_alpha[k]) && Labelled(1, l.w_beta[k]) &&
           Labelled(1, l.w_delta[k]) && Labelled(1, l.w_gamma[k]) && Labelled(7, l.w_obey_GC_def[k]) &&
           Labelled(1, l.w_help_LC_def[k]);
}

bool ScenarioReader::ReadForce(Side side)
{
    CForce& f = Force(side);
    const SideNames& names = Names(side);
    const std::string sideName = names.Side;

    if (!Labelled(7, f.NumAgents) || !InRange(f.NumAgents, 0, MaxAgents, names.AgentCount))
        return false;
    if (!Labelled(1, f.NumSquads) || !InRange(f.NumSquads, 1, MaxSquads, sideName + " squads"))
        return false;
    if (!Row(1, f.num_per_squad))
        return false;
    for (int s = 1; s <= f.NumSquads; ++s)
        if (!InRange(f.num_per_squad[s], 0, MaxAgents, sideName + " num_per_squad of squad " + std::to_string(s)))
            return false;
    ReconcileSquads(side);

    if (!Row(1, f.A_M_RANGE) || !Row(1, f.I_M_RANGE))
        return false;
    // The move tables hold boxes up to 9 x 9 cells.
    for (int s = 1; s <= f.NumSquads; ++s) {
        const std::string squad = " of squad " + std::to_string(s);
        if (!InRange(f.A_M_RANGE[s], 0, MaxMoveRange, sideName + " A:M_RANGE" + squad) ||
            !InRange(f.I_M_RANGE[s], 0, MaxMoveRange, sideName + " I:M_RANGE" + squad))
            return false;
    }
    if (!Labelled(1, f.personality) || !Labelled(1, f.near_terrain_flag))
        return false;
    if (!ReadPersonality(side))
        return false;

    if (!Labelled(6, f.defense_flag) || !Row(1, f.alive_strength) || !Row(1, f.injured_strength))
        return false;
    if (!Row(6, f.A_S_RANGE) || !Row(1, f.A_F_RANGE) || !Row(1, f.I_S_RANGE) || !Row(1, f.I_F_RANGE))
        return false;
    // A sensor range of 0 is the new document's own (an agent that senses
    // nothing beyond its cell), so a saved new document reads back. Ranges far
    // past the battlefield only overflow the sums of the penalty.
    for (int s = 1; s <= f.NumSquads; ++s) {
        const std::string squad = " of squad " + std::to_string(s);
        if (!InRange(f.A_S_RANGE[s], 0, MaxRange, sideName + " A:S_RANGE" + squad) ||
            !InRange(f.I_S_RANGE[s], 0, MaxRange, sideName + " I:S_RANGE" + squad) ||
            !InRange(f.A_F_RANGE[s], -MaxRange, MaxRange, sideName + " A:F_RANGE" + squad) ||
            !InRange(f.I_F_RANGE[s], -MaxRange, MaxRange, sideName + " I:F_RANGE" + squad))
            return false;
    }
    f.MinSensorRange = 100;
    for (int s = 1; s <= f.NumSquads; ++s)
        if (f.A_S_RANGE[s] < f.MinSensorRange)
            f.MinSensorRange = f.A_S_RANGE[s];

    if (!Labelled(5, f.CommOn) || !Labelled(1, f.COMM_range) || !Labelled(1, f.A_COMM_weight) ||
        !Labelled(1, f.I_COMM_weight))
        return false;
    if (f.CommOn == 0) {
        f.COMM_range = 0;
        f.A_COMM_weight = 0;
        f.I_COMM_weight = 0;
        f.CommWeightAlive = 0;
        f.CommWeightInjured = 0;
    }

    if (!ReadMetaPersonality(side))
        return false;
    if (!Row(5, f.shot_prob_alive) || !Row(1, f.shot_prob_injured) || !Row(1, f.A_R_max_eng_num) ||
        !Row(1, f.I_R_max_eng_num))
        return false;
    CopySquadParameters(side);
    return true;
}

void ScenarioReader::ReconcileSquads(Side side)
{
    CForce& f = Force(side);
    f.ReconcileSquadSizes();
    f.NumberAgentsBySquad();
}

bool ScenarioReader::ReadPersonality(Side side)
{
    CForce& f = Force(side);
    CLocalCommand& l = Local(side);

    float(*aliveRows[])[SquadSlots] = {&f.w1_a, &f.w2_a, &f.w3_a, &f.w4_a, &f.w5_a,
                                       &f.w6_a, &f.w_terrain_alive, &f.w_area_alive, &f.w_flock_alive};
    float(*injuredRows[])[SquadSlots] = {&f.w1_i, &f.w2_i, &f.w3_i, &f.w4_i, &f.w5_i,
                                         &f.w6_i, &f.w_terrain_injured, &f.w_area_injured, &f.w_flock_injured};
    // Seven rows in every version, then the area row from version 3 and the
    // flock row from version 4; rows a version lacks are 0.
    for (auto rows : {aliveRows, injuredRows}) {
        for (int n = 0; n < 7; ++n)
            if (!Row(n == 0 ? 7 : 1, *rows[n]))
                return false;
        if (DataVersion >= 3) {
            if (!Row(1, *rows[7]))
                return false;
        } else {
            Fill(*rows[7], 0.0f);
        }
        if (DataVersion >= 4) {
            if (!Row(1, *rows[8]))
                return false;
        } else {
            Fill(*rows[8], 0.0f);
        }
    }

    if (f.personality == 1) {
        float aliveSum[SquadSlots] = {};
        float injuredSum[SquadSlots] = {};
        for (int s = 1; s <= f.NumSquads; ++s) {
            for (auto* row : aliveRows)
                aliveSum[s] += FloatAbs((*row)[s]);
            for (auto* row : injuredRows)
                injuredSum[s] += FloatAbs((*row)[s]);
            if (aliveSum[s] == 0.0f)
                aliveSum[s] = 1.0f;
            if (injuredSum[s] == 0.0f)
                injuredSum[s] = 1.0f;
        }
        for (int i = 1; i <= f.NumAgents; ++i) {
            const int s = f.AgentSquad[i];
            for (int w = W1; w < WeightSlots; ++w) {
                f.AliveWeight[w][i] = (*aliveRows[w - W1])[s] / aliveSum[s];
                f.InjuredWeight[w][i] = (*injuredRows[w - W1])[s] / injuredSum[s];
            }
        }
    }

    // The local-command weights; RED's file labels both w7:R_loc_comdr.
    if (!Labelled(6, l.w7) || !Labelled(1, l.w8))
        return false;
    if (f.personality != 1)
        DrawPersonalities(side);

    for (int i = 1; i <= f.NumAgents; ++i) {
        float maxAlive = 0.0f;
        float maxInjured = 0.0f;
        for (int w = W1; w <= W6; ++w) {
            if (FloatAbs(f.AliveWeight[w][i]) > maxAlive)
                maxAlive = FloatAbs(f.AliveWeight[w][i]);
            if (FloatAbs(f.InjuredWeight[w][i]) > maxInjured)
                maxInjured = FloatAbs(f.InjuredWeight[w][i]);
        }
        f.MaxAliveWeight[i] = maxAlive;
        f.MaxInjuredWeight[i] = maxInjured;
    }
    return true;
}

void ScenarioReader::DrawPersonalities(Side side)
{
    CForce& f = Force(side);
    CLocalCommand& l = Local(side);
    // Five draws, normalised by their sum, give w1..w4 and w6; w5 is 0.
    auto drawSet = [this](float& w1, float& w2, float& w3, float& w4, float& w5, float& w6) {
        double d[5];
        for (double& u : d)
            u = Draw();
        const double total = d[0] + d[1] + d[2] + d[3] + d[4];
        w1 = static_cast<float>(d[0] / total);
        w2 = static_cast<float>(d[1] / total);
        w3 = static_cast<float>(d[2] / total);
        w4 = static_cast<float>(d[3] / total);
        w5 = 0.0f;
        w6 = static_cast<float>(d[4] / total);
    };
    if (l.LocalCommandOn == 1)
        for (int k = 1; k <= l.NumLocalCommanders; ++k)
            drawSet(l.Normalised.w1[k], l.Normalised.w2[k], l.Normalised.w3[k], l.Normalised.w4[k],
                    l.Normalised.w5[k], l.Normalised.w6[k]);
    for (int i = 1; i <= f.NumAgents; ++i) {
        drawSet(f.AliveWeight[W1][i], f.AliveWeight[W2][i], f.AliveWeight[W3][i], f.AliveWeight[W4][i],
                f.AliveWeight[W5][i], f.AliveWeight[W6][i]);
        drawSet(f.InjuredWeight[W1][i], f.InjuredWeight[W2][i], f.InjuredWeight[W3][i], f.InjuredWeight[W4][i],
                f.InjuredWeight[W5][i], f.InjuredWeight[W6][i]);
        // Side-wide weights: the last agent's draws stand.
        if (l.LocalCommandOn == 1) {
            l.w7 = static_cast<float>(Draw());
            l.w8 = static_cast<float>(Draw());
        }
    }
}

bool ScenarioReader::ReadMetaPersonality(Side side)
{
    CForce& f = Force(side);
    if (!Row(6, f.movement_flag))
        return false;

    int(*flagRows[])[SquadSlots] = {&f.ADVANCE_flag,  &f.CLUSTER_flag,  &f.COMBAT_flag,
                                    &f.HOLD_flag,     &f.PURSUIT1_flag, &f.PURSUIT2_flag,
                                    &f.RETREAT_flag,  &f.SUPPORT1_flag, &f.SUPPORT2_flag,
                                    &f.R_R_min_dist_flag_flag, &f.R_B_min_dist_flag_flag,
                                    &f.R_R_goal_min_flag,      &f.R_terrain_min_flag};
    if (DataVersion >= 2) {
        for (auto* row : flagRows)
            if (!Row(1, *row))
                return false;
    } else {
        // Version 1 knew only the first three rules, always on.
        for (int n = 0; n < 13; ++n)
            Fill(*flagRows[n], n < 3 ? 1 : 0);
    }
    if (DataVersion >= 3) {
        if (!Row(1, f.R_area_min_flag))
            return false;
    } else {
        const bool blueOff = Options.BlueAreaFlagOffInVersion2 && side == Side::Blue;
        Fill(f.R_area_min_flag, DataVersion == 2 && !blueOff ? 1 : 0);
    }

    // The alive constraint range and thresholds are always in version 4;
    // older files come with and without them, so they are recognised by their
    // label, and a file without them leaves them as they were.
    if ((DataVersion >= 4 || Words.NextWordIs("A:C_RANGE")) &&
        (!Row(1, f.A_C_RANGE) || !Row(1, f.A_ADVANCE_num) || !Row(1, f.A_CLUSTER_num) || !Row(1, f.A_COMBAT_num)))
        return false;

    auto readHoldAndNums = [this](double(&hold)[SquadSlots], int(&p1)[SquadSlots], int(&p2)[SquadSlots],
                                  int(&retreat)[SquadSlots], int(&s1)[SquadSlots], int(&s2)[SquadSlots]) {
        if (DataVersion >= 2)
            return Row(1, hold) && Row(1, p1) && Row(1, p2) && Row(1, retreat) && Row(1, s1) && Row(1, s2);
        Fill(hold, 0.0);
        for (auto* row : {&p1, &p2, &retreat, &s1, &s2})
            Fill(*row, 0);
        return true;
    };
    if (!readHoldAndNums(f.A_HOLD_f, f.A_PURSUIT1_num, f.A_PURSUIT2_num, f.A_RETREAT_num, f.A_SUPPORT1_num,
                         f.A_SUPPORT2_num))
        return false;
    if (!Row(1, f.I_C_RANGE) || !Row(1, f.I_ADVANCE_num) || !Row(1, f.I_CLUSTER_num) || !Row(1, f.I_COMBAT_num))
        return false;
    if (!readHoldAndNums(f.I_HOLD_f, f.I_PURSUIT1_num, f.I_PURSUIT2_num, f.I_RETREAT_num, f.I_SUPPORT1_num,
                         f.I_SUPPORT2_num))
        return false;

    if (!Skip(1) || !Value(f.C_RANGE_m) || !Value(f.C_RANGE_M) || !Skip(1) || !Value(f.A_ADV_m) ||
        !Value(f.A_ADV_M) || !Skip(1) || !Value(f.A_CLUS_m) || !Value(f.A_CLUS_M) || !Skip(1) ||
        !Value(f.A_COMB_m) || !Value(f.A_COMB_M) || !Skip(1) || !Value(f.I_ADV_m) || !Value(f.I_ADV_M) ||
        !Skip(1) || !Value(f.I_CLUS_m) || !Value(f.I_CLUS_M) || !Skip(1) || !Value(f.I_COMB_m) ||
        !Value(f.I_COMB_M))
        return false;

    // Minimum distances, alive then injured: four rows in every version, the
    // area row from version 3, the flock rows from version 4.
    auto readDistances = [this](float(&friendRow)[SquadSlots], float(&enemyRow)[SquadSlots],
                                float(&goalRow)[SquadSlots], float(&terrainRow)[SquadSlots],
                                float(&areaRow)[SquadSlots], float(&flockMin)[SquadSlots],
                                float(&flockMax)[SquadSlots]) {
        if (!Row(1, friendRow) || !Row(1, enemyRow) || !Row(1, goalRow) || !Row(1, terrainRow))
            return false;
        if (DataVersion >= 3) {
            if (!Row(1, areaRow))
                return false;
        } else {
            Fill(areaRow, 0.0f);
        }
        if (DataVersion >= 4) {
            if (!Row(1, flockMin) || !Row(1, flockMax))
                return false;
            if (Options.ClampFlockMinimum)
                for (int s = 1; s <= MaxSquads; ++s)
                    if (flockMin[s] > flockMax[s])
                        flockMin[s] = flockMax[s];
            return true;
        }
        Fill(flockMin, 0.0f);
        Fill(flockMax, 0.0f);
        return true;
    };
    return readDistances(f.A_R_R_min_dist, f.A_R_B_min_dist, f.A_R_R_goal_min, f.A_R_terrain_min, f.A_R_area_min,
                         f.A_R_flock_min, f.A_R_flock_max) &&
           readDistances(f.I_R_R_min_dist, f.I_R_B_min_dist, f.I_R_R_goal_min, f.I_R_terrain_min, f.I_R_area_min,
                         f.I_R_flock_min, f.I_R_flock_max);
}

void ScenarioReader::CopySquadParameters(Side side)
{
    CForce& f = Force(side);
    for (int i = 1; i <= f.NumAgents; ++i)
        f.CopySquadParameters(i, f.AgentSquad[i]);
}

bool ScenarioReader::ReadTerrain()
{
    CBattlefield& b = S.Battlefield;
    if (!Skip(5))
        return false;
    b.TerrainModifiersOn = 0;
    b.CellTerrainDefined = 0;
    b.LineOfSightOn = 0;
    const int size = b.BattleSize;
    auto terrainType = [this](int type, const std::string& what) {
        return InRange(type, OpenGround, PassableIII, what);
    };

    if (b.TerrainMode == 1) {
        if (!Labelled(1, b.terrain_blocks) || !InRange(b.terrain_blocks, 0, MaxTerrainBlocks, "terrain_blocks"))
            return false;
        for (int k = 1; k <= b.terrain_blocks; ++k) {
            const std::string number = "(" + std::to_string(k) + ")";
            if (!Labelled(1, b.TerrainBlockType[k]) || !terrainType(b.TerrainBlockType[k], "type" + number))
                return false;
            if (!Skip(1) || !Value(b.TerrainBlockLength[k]) || !Value(b.TerrainBlockWidth[k]) || !Skip(1) ||
                !Value(b.TerrainBlockX[k]) || !Value(b.TerrainBlockY[k]))
                return false;
            b.TerrainBlockUsed[k] = 1;
            if (b.TerrainBlockType[k] > Pillar)
                b.TerrainModifiersOn = 1;
            if (b.TerrainBlockType[k] == Pillar)
                b.LineOfSightOn = 1;
        }
    } else if (b.TerrainMode == 2) {
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y) {
                b.TerrainType[GridIndex(x, y)] = 0;
                b.AgentGrid[GridIndex(x, y)] = 0;
            }
        int records = 0;
        if (!Labelled(1, records))
            return false;
        for (int k = 1; k <= records; ++k) {
            int x = 0, y = 0, type = 0;
            if (!Skip(1) || !Value(x) || !Value(y) || !Labelled(1, type))
                return false;
            if (x < 1 || x > size || y < 1 || y > size) {
                std::ostringstream text;
                text << "terrain cell " << k << " at (" << x << ", " << y << ") lies off the " << size << " x "
                     << size << " battlefield";
                return Refuse(text.str());
            }
            if (!terrainType(type, "the type of terrain cell " + std::to_string(k)))
                return false;
            b.TerrainType[GridIndex(x, y)] = type;
        }
        b.CellTerrainDefined = 1;
    }
    return true;
}

}  // namespace

void DeriveRunState(CBrevimarDoc& doc)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        for (int i = 1; i <= f.NumAgents; ++i) {
            f.SensorRange[i] = f.SensorRangeAlive[i];
            f.FireRange[i] = f.FireRangeAlive[i];
            f.ConstraintRange[i] = f.ConstraintRangeAlive[i];
        }
    }

    doc.ResetHighlightsAndBursts();
    doc.ResetDataCollection();
    doc.InitWeaponDefaults();
    // A scenario file carries no weapon data: the squad weapon functions are
    // the defaults' to set.
    for (Side side : {Side::Red, Side::Blue}) {
        doc.Force(side).WeaponsOn = 0;
        doc.Force(side).SquadWeaponsDefined = 0;
    }
    doc.SetDefaultWeaponParameters();

    doc.LatticeExtentX = doc.LatticeExtentY = doc.Battlefield.BattleSize + 2;
    doc.RunHeader.RedAlive = doc.NumRed();
    doc.RunHeader.RedInjured = 0;
    doc.RunHeader.BlueAlive = doc.NumBlue();
    doc.RunHeader.BlueInjured = 0;
}

void KeepInitialComposition(CBrevimarDoc& doc)
{
    CForceComposition& c = doc.InitialComposition;
    c.RedCount = doc.RedForce.NumAgents;
    c.BlueCount = doc.BlueForce.NumAgents;
    c.RedSquads = doc.RedForce.NumSquads;
    c.BlueSquads = doc.BlueForce.NumSquads;
    for (int s = 1; s <= MaxSquads; ++s) {
        c.RedPerSquad[s] = doc.RedForce.num_per_squad[s];
        c.BluePerSquad[s] = doc.BlueForce.num_per_squad[s];
    }
    for (int i = 1; i <= MaxAgents; ++i) {
        c.RedAgentSquad[i] = doc.RedForce.AgentSquad[i];
        c.BlueAgentSquad[i] = doc.BlueForce.AgentSquad[i];
    }
}

void StartStoredRun(CBrevimarDoc& doc, const CStoredFrames& frames, int lastStep)
{
    StoreFrames(doc, frames);
    if (doc.RedActivityMapOn == 1 || doc.BlueActivityMapOn == 1) {
        const int size = doc.Battlefield.BattleSize;
        for (auto& plane : doc.ActivityGrids)
            for (int x = 1; x <= size; ++x)
                for (int y = 1; y <= size; ++y)
                    plane[LatticeStride * x + y] = 0;
    }
    doc.RunHeader.LastStep = lastStep;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RunMode = PlaybackMode;
    doc.RebuildLatticeFromSaved();
}

bool ReadScenarioGroups(CWordReader& words, CDocumentState& state, std::string* problem,
                        const ScenarioReadOptions& options)
{
    ScenarioReader reader(words, state, options);
    if (reader.Read())
        return true;
    *problem = reader.Problem();
    return false;
}

}  // namespace brevimar
