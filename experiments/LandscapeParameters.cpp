#include "experiments/LandscapeParameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "core/Document.h"

namespace brevimar {

namespace {

using T = LandscapeFieldType;

const LandscapeParameterEntry Table[LandscapeParameterCount + 1] = {
    {"", "", "", T::Int, 0, 0, 0, false},
    {"Number of Red Forces", "# RED VORLAXs", "# RED VORLAXs", T::Int, 5, 10, 110, true},
    {"Alive Sensor Range", "ALIVE RS", "ALIVE RS", T::Int, 5, 1, 11, true},
    {"Injured Sensor Range", "INJURED RS", "INJURED RS", T::Int, 5, 1, 11, true},
    {"Alive Fire Range", "ALIVE RF", "ALIVE RF", T::Int, 5, 1, 11, true},
    {"Injured Fire Range", "INJURED RF", "INJURED RF", T::Int, 5, 1, 11, true},
    {"Alive Threshold Range", "ALIVE RT", "ALIVE RT", T::Int, 5, 1, 11, true},
    {"Injured Threshold Range", "INJURED RT", "INJURED RT", T::Int, 5, 1, 11, true},
    {"Alive Movement Range", "ALIVE RM", "ALIVE RM", T::Int, 3, 1, 4, true},
    {"Injured Movement Range", "INJURED RM", "INJURED RM", T::Int, 3, 1, 4, true},
    {"Alive Communications Range", "COMM RNG", "COMM RNG", T::Int, 5, 5, 30, true},
    {"Injured Communications Range", "COMM RNG", "COMM RNG", T::Int, 5, 5, 30, true},
    {"Alive Communications Weight", "COMM WT ALIVE", "COMM WT ALIVE", T::Float, 5, 0, 1, false},
    {"Injured Communications Weight", "COMM WT INJURED", "COMM WT INJURED", T::Float, 5, 0, 1, false},
    {"Alive Weight w1 (Alive Red --> Alive Red)", "w1 ALIVE", "w1 ALIVE", T::Float, 10, -1, 1, false},
    {"Injured Weight w1 (Injured Red --> Alive Red)", "w1 INJURED", "w1 INJURED", T::Float, 10, -1, 1, false},
    {"Alive Weight w2 (Alive Red --> Alive Blue)", "w2 ALIVE", "w2 ALIVE", T::Float, 10, -1, 1, false},
    {"Injured Weight w2 (Injured Red --> Alive Blue)", "w2 INJURED", "w2 INJURED", T::Float, 10, -1, 1, false},
    {"Alive Weight w3 (Alive Red -->Injured Red)", "w3 ALIVE", "w3 ALIVE", T::Float, 10, -1, 1, false},
    {"Injured Weight w3 (Injured Red -->Injured Red)", "w3 INJURED", "w3 INJURED", T::Float, 10, -1, 1, false},
    {"Alive Weight w4 (Alive Red -->Injured Blue)", "w4 ALIVE", "w4 ALIVE", T::Float, 10, -1, 1, false},
    {"Injured Weight w4 (Injured Red -->Injured Blue)", "w4 INJURED", "w4 INJURED", T::Float, 10, -1, 1, false},
    {"Alive Weight w5 (Alive Red -->Red Flag)", "w5 ALIVE", "w5 ALIVE", T::Float, 10, -1, 1, false},
    {"Injured Weight w5 (Injured Red -->Red Flag)", "w5 INJURED", "w5 INJURED", T::Float, 10, -1, 1, false},
    {"Alive Weight w6 (Alive Red -->Blue Flag)", "w6 ALIVE", "w6 ALIVE", T::Float, 10, -1, 1, false},
    {"Injured Weight w6 (Injured Red -->Blue Flag)", "w6 INJURED", "w6 INJURED", T::Float, 10, -1, 1, false},
    {"Alive ADVANCE Threshold", "ADV ALIVE", "ADV ALIVE", T::Int, 5, 0, 10, true},
    {"Injured ADVANCE Threshold", "ADV INJURED", "ADV INJURED", T::Int, 5, 0, 10, true},
    {"Alive CLUSTER Threshold", "CLS ALIVE", "CLS ALIVE", T::Int, 5, 0, 15, true},
    {"Injured CLUSTER Threshold", "CLS INJURED", "CLS INJURED", T::Int, 5, 0, 15, true},
    {"Alive COMBAT Threshold", "CBT ALIVE", "CBT ALIVE", T::Int, 10, -15, 15, true},
    {"Injured COMBAT Threshold", "CBT INJURED", "CBT INJURED", T::Int, 10, -15, 15, true},
    {"Alive Min Distance from Red", "R/R MIN DIST ALIVE", "R/R MIN DIST ALIVE", T::Float, 5, 0, 10, true},
    {"Injured Min Distance from Red", "R/R MIN DIST INJURED", "R/R MIN DIST INJURED", T::Float, 5, 0, 10, true},
    {"Alive Min Distance from Blue", "B/R MIN DIST ALIVE", "B/R MIN DIST ALIVE", T::Float, 5, 0, 10, true},
    {"Injured Min Distance from Blue", "B/R MIN DIST INJURED", "B/R MIN DIST INJURED", T::Float, 5, 0, 10, true},
    {"Alive Min Distance from Red Flag", "R/RF MIN DIST ALIVE", "R/RF MIN DIST ALIVE", T::Float, 5, 0, 30, true},
    {"Injured Min Distance from Red Flag", "R/RF MIN DIST INJURED", "R/RF MIN DIST INJURED", T::Float, 5, 0, 30, true},
    {"Alive Maximum Simultaneous Targets", "MAX TGTS ALIVE", "MAX TGTS ALIVE", T::Int, 5, 1, 16, true},
    {"Injured Maximum Simultaneous Targets", "MAX TGTS INJURED", "MAX TGTS INJURED", T::Int, 5, 1, 16, true},
    {"Alive Single-Shot Hit Probability", "P(shot) ALIVE", "P(shot) ALIVE", T::Float, 10, 0, 0.02, false},
    {"Injured Single-Shot Hit Probability", "P(shot) INJURED", "P(shot) INJURED", T::Float, 10, 0, 0.02, false},
    {"Alive Terrain Weight (Alive Red --> Terrain)", "w(Terrain) ALIVE", "w(Terrain) ALIVE", T::Float, 10, -1, 1, false},
    {"Injured Terrain Weight (Injured Red --> Terrain)", "w(Terrain) INJURED", "w(Terrain) INJURED", T::Float, 10, -1, 1,
     false},
    {"Alive Min Distance from Terrain", "R/Terrain MIN DIST ALIVE", "R/Terrain MIN DIST ALIVE", T::Float, 5, 0, 5, false},
    {"Injured Min Distance from Terrain", "R/Terrain MIN DIST INJURED", "R/Terrain MIN DIST INJURED", T::Float, 5, 0, 5,
     false},
    {"Alive HOLD Threshold", "Alive HOLD Threshold", "HOLD ALIVE", T::Double, 5, 0, 1, false},
    {"Injured HOLD Threshold", "Injured HOLD Threshold", "HOLD INJURED", T::Double, 5, 0, 1, false},
    {"Alive PURSUIT-I Threshold", "Alive PURSUIT-I Threshold", "PURSUIT-I ALIVE", T::Int, 5, -10, 0, true},
    {"Injured PURSUIT-I Threshold", "Injured PURSUIT-I Threshold", "PURSUIT-I INJURED", T::Int, 5, -10, 0, true},
    {"Alive PURSUIT-II Threshold", "Alive PURSUIT-II Threshold", "PURSUIT-II ALIVE", T::Int, 5, 0, 15, true},
    {"Injured PURSUIT-II Threshold", "Injured PURSUIT-II Threshold", "PURSUIT-II INJURED", T::Int, 5, 0, 15, true},
    {"Alive RETREAT Threshold", "Alive RETREAT Threshold", "RETREAT ALIVE", T::Int, 5, 0, 10, true},
    {"Injured RETREAT Threshold", "Injured RETREAT Threshold", "RETREAT INJURED", T::Int, 5, 0, 10, true},
    {"Alive SUPPORT-I Threshold", "Alive SUPPORT-I Threshold", "SUPPORT-I ALIVE", T::Int, 5, 0, 10, true},
    {"Injured SUPPORT-I Threshold", "Injured SUPPORT-I Threshold", "SUPPORT-I INJURED", T::Int, 5, 0, 10, true},
    {"Alive SUPPORT-II Threshold", "Alive SUPPORT-II Threshold", "SUPPORT-II ALIVE", T::Int, 5, 0, 10, true},
    {"Injured SUPPORT-II Threshold", "Injured SUPPORT-II Threshold", "SUPPORT-II INJURED", T::Int, 5, 0, 10, true},
};

// Truncation toward zero; a value beyond the int range (a typed 1e30) is
// held at its edge instead of being undefined.
int Truncate(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(v, -2.0e9, 2.0e9));
}

// What an int field takes from a grid value, as far as the value alone
// decides it (the fire-range cap and the agent total depend on other fields).
int IntegerValue(int index, double v)
{
    const int n = Truncate(v);
    switch (index) {
    case 1: return std::clamp(n, 0, MaxAgents);
    case 2: case 3: case 4: case 5: case 6: case 7: return n == 0 ? 1 : n;
    // Movement ranges index the move tables, which reach MaxMoveRange.
    case 8: case 9: return std::clamp(n, 0, MaxMoveRange);
    default: return n;
    }
}

}  // namespace

ValueLimit LandscapeParameterLimit(int index)
{
    // What the scenario reader refuses in a RED squad; the step takes any
    // other value a scenario file may hold, so the rest are held only to the
    // coordinates' own -999..999.
    if (index < 1 || index > LandscapeParameterCount)
        return {0, 0};
    switch (index) {
    case 1: return {0, MaxAgents};
    case 2: case 3: return {0, 999};
    case 4: case 5: return {-999, 999};
    case 8: case 9: return {0, MaxMoveRange};  // the move tables
    default: return {-999, 999};
    }
}

std::string CheckLandscapeAxisValue(const char* what, int index, double value)
{
    if (index < 1 || index > LandscapeParameterCount)
        return {};
    const ValueLimit limit = LandscapeParameterLimit(index);
    // Far beyond every limit (or no number) is refused before a conversion
    // could overflow.
    bool holds = std::fabs(value) <= 1.0e9;
    if (holds) {
        double held = value;
        if (Table[index].Type == LandscapeFieldType::Int) {
            const int n = Truncate(value);
            held = n == 0 && index >= 2 && index <= 7 ? 1 : n;
        } else if (Table[index].Type == LandscapeFieldType::Float) {
            held = static_cast<float>(value);
        }
        holds = limit.Holds(held);
    }
    if (holds)
        return {};
    return std::string(what) + " is " + ShortestNumber(value) + "; \"" + Table[index].Name + "\" takes " +
           ShortestNumber(limit.Low) + " to " + ShortestNumber(limit.High) + ".";
}

double LandscapeValueAsUsed(int index, double value)
{
    if (index < 1 || index > LandscapeParameterCount || Table[index].Type != LandscapeFieldType::Int)
        return value;
    return IntegerValue(index, value);
}

const LandscapeParameterEntry& LandscapeParameter(int index)
{
    return Table[(index >= 1 && index <= LandscapeParameterCount) ? index : 0];
}

int FindLandscapeParameter(const char* name)
{
    for (int i = 1; i <= LandscapeParameterCount; ++i)
        if (std::strcmp(Table[i].Name, name) == 0)
            return i;
    return 0;
}

namespace {

// Where entry `index` of squad s lives in the RED force: one of the three
// pointers, by the entry's type.
template <typename Force>
struct FieldRef {
    using Int = std::conditional_t<std::is_const_v<Force>, const int, int>;
    using Float = std::conditional_t<std::is_const_v<Force>, const float, float>;
    using Double = std::conditional_t<std::is_const_v<Force>, const double, double>;
    Int* I = nullptr;
    Float* F = nullptr;
    Double* D = nullptr;
};

template <typename Force>
FieldRef<Force> FieldOf(Force& red, int index, int s)
{
    FieldRef<Force> r;
    switch (index) {
    case 1: r.I = &red.num_per_squad[s]; break;
    case 2: r.I = &red.A_S_RANGE[s]; break;
    case 3: r.I = &red.I_S_RANGE[s]; break;
    case 4: r.I = &red.A_F_RANGE[s]; break;
    case 5: r.I = &red.I_F_RANGE[s]; break;
    case 6: r.I = &red.A_C_RANGE[s]; break;
    case 7: r.I = &red.I_C_RANGE[s]; break;
    case 8: r.I = &red.A_M_RANGE[s]; break;
    case 9: r.I = &red.I_M_RANGE[s]; break;
    case 10:
    case 11: r.I = &red.COMM_range; break;
    case 12: r.F = &red.A_COMM_weight; break;
    case 13: r.F = &red.I_COMM_weight; break;
    case 14: r.F = &red.w1_a[s]; break;
    case 15: r.F = &red.w1_i[s]; break;
    case 16: r.F = &red.w2_a[s]; break;
    case 17: r.F = &red.w2_i[s]; break;
    case 18: r.F = &red.w3_a[s]; break;
    case 19: r.F = &red.w3_i[s]; break;
    case 20: r.F = &red.w4_a[s]; break;
    case 21: r.F = &red.w4_i[s]; break;
    case 22: r.F = &red.w5_a[s]; break;
    case 23: r.F = &red.w5_i[s]; break;
    case 24: r.F = &red.w6_a[s]; break;
    case 25: r.F = &red.w6_i[s]; break;
    case 26: r.I = &red.A_ADVANCE_num[s]; break;
    case 27: r.I = &red.I_ADVANCE_num[s]; break;
    case 28: r.I = &red.A_CLUSTER_num[s]; break;
    case 29: r.I = &red.I_CLUSTER_num[s]; break;
    case 30: r.I = &red.A_COMBAT_num[s]; break;
    case 31: r.I = &red.I_COMBAT_num[s]; break;
    case 32: r.F = &red.A_R_R_min_dist[s]; break;
    case 33: r.F = &red.I_R_R_min_dist[s]; break;
    case 34: r.F = &red.A_R_B_min_dist[s]; break;
    case 35: r.F = &red.I_R_B_min_dist[s]; break;
    case 36: r.F = &red.A_R_R_goal_min[s]; break;
    case 37: r.F = &red.I_R_R_goal_min[s]; break;
    case 38: r.I = &red.A_R_max_eng_num[s]; break;
    case 39: r.I = &red.I_R_max_eng_num[s]; break;
    case 40: r.F = &red.shot_prob_alive[s]; break;
    case 41: r.F = &red.shot_prob_injured[s]; break;
    case 42: r.F = &red.w_terrain_alive[s]; break;
    case 43: r.F = &red.w_terrain_injured[s]; break;
    case 44: r.F = &red.A_R_terrain_min[s]; break;
    case 45: r.F = &red.I_R_terrain_min[s]; break;
    case 46: r.D = &red.A_HOLD_f[s]; break;
    case 47: r.D = &red.I_HOLD_f[s]; break;
    case 48: r.I = &red.A_PURSUIT1_num[s]; break;
    case 49: r.I = &red.I_PURSUIT1_num[s]; break;
    case 50: r.I = &red.A_PURSUIT2_num[s]; break;
    case 51: r.I = &red.I_PURSUIT2_num[s]; break;
    case 52: r.I = &red.A_RETREAT_num[s]; break;
    case 53: r.I = &red.I_RETREAT_num[s]; break;
    case 54: r.I = &red.A_SUPPORT1_num[s]; break;
    case 55: r.I = &red.I_SUPPORT1_num[s]; break;
    case 56: r.I = &red.A_SUPPORT2_num[s]; break;
    case 57: r.I = &red.I_SUPPORT2_num[s]; break;
    default: break;
    }
    return r;
}

}  // namespace

double LandscapeFieldValue(const CBrevimarDoc& doc, int index)
{
    const int s = doc.Landscape.Settings.LandscapeSquad;
    if (s < 1 || s > MaxSquads)
        return 0.0;
    const FieldRef<const CForce> field = FieldOf(static_cast<const CForce&>(doc.RedForce), index, s);
    return field.I ? *field.I : field.F ? *field.F : field.D ? *field.D : 0.0;
}

void WriteLandscapeParameter(CBrevimarDoc& doc, int index, double v)
{
    const int s = doc.Landscape.Settings.LandscapeSquad;
    if (index < 1 || index > LandscapeParameterCount || s < 1 || s > MaxSquads)
        return;
    CForce& red = doc.RedForce;
    const int n = IntegerValue(index, v);
    if (index == 1) {
        // The RED force holds at most MaxAgents: the swept squad gives way.
        red.num_per_squad[s] = n;
        int others = 0;
        for (int k = 1; k <= red.NumSquads && k <= MaxSquads; ++k)
            if (k != s)
                others += red.num_per_squad[k];
        if (others + red.num_per_squad[s] > MaxAgents)
            red.num_per_squad[s] = std::max(MaxAgents - others, 0);
        int total = 0;
        for (int k = 1; k <= red.NumSquads && k <= MaxSquads; ++k)
            total += red.num_per_squad[k];
        red.NumAgents = std::min(total, MaxAgents);
        return;
    }
    const FieldRef<CForce> field = FieldOf(red, index, s);
    if (field.I)
        *field.I = index == 4 ? std::min(n, red.A_S_RANGE[s]) : index == 5 ? std::min(n, red.I_S_RANGE[s]) : n;
    else if (field.F)
        *field.F = static_cast<float>(v);
    else if (field.D)
        *field.D = v;
}

void SetLandscapeParameters(CBrevimarDoc& doc, double x, double y)
{
    WriteLandscapeParameter(doc, doc.Landscape.Settings.LandscapeXParameter, x);
    WriteLandscapeParameter(doc, doc.Landscape.Settings.LandscapeYParameter, y);
}

void SymmetrizeAliveInjured(CBrevimarDoc& doc)
{
    CForce& r = doc.RedForce;
    for (int s = 1; s <= MaxSquads; ++s) {
        r.I_M_RANGE[s] = r.A_M_RANGE[s];
        r.w1_i[s] = r.w1_a[s];
        r.w2_i[s] = r.w2_a[s];
        r.w3_i[s] = r.w3_a[s];
        r.w4_i[s] = r.w4_a[s];
        r.w5_i[s] = r.w5_a[s];
        r.w6_i[s] = r.w6_a[s];
        r.w_terrain_injured[s] = r.w_terrain_alive[s];
        r.injured_strength[s] = r.alive_strength[s];
        r.I_S_RANGE[s] = r.A_S_RANGE[s];
        r.I_F_RANGE[s] = r.A_F_RANGE[s];
        r.I_C_RANGE[s] = r.A_C_RANGE[s];
        r.I_ADVANCE_num[s] = r.A_ADVANCE_num[s];
        r.I_CLUSTER_num[s] = r.A_CLUSTER_num[s];
        r.I_COMBAT_num[s] = r.A_COMBAT_num[s];
        r.I_R_R_min_dist[s] = r.A_R_R_min_dist[s];
        r.I_R_B_min_dist[s] = r.A_R_B_min_dist[s];
        r.I_R_R_goal_min[s] = r.A_R_R_goal_min[s];
        r.I_R_terrain_min[s] = r.A_R_terrain_min[s];
        r.shot_prob_injured[s] = r.shot_prob_alive[s];
        r.I_R_max_eng_num[s] = r.A_R_max_eng_num[s];
    }
    r.I_COMM_weight = r.A_COMM_weight;
    r.CommWeightInjured = r.CommWeightAlive;
}

void SymmetrizeWeightPairs(CBrevimarDoc& doc)
{
    CForce& r = doc.RedForce;
    for (int s = 1; s <= MaxSquads; ++s) {
        r.w3_a[s] = r.w1_a[s];
        r.w4_a[s] = r.w2_a[s];
        r.w3_i[s] = r.w1_i[s];
        r.w4_i[s] = r.w2_i[s];
    }
}

}  // namespace brevimar
