#include "files/ScenarioFormat.h"

#include <iterator>

#include "core/Document.h"

namespace brevimar {

namespace {

template <class Owner>
Owner& BlockOf(ScenarioBlocks& b, Side side)
{
    const int k = side == Side::Red ? 0 : 1;
    if constexpr (std::is_same_v<Owner, CBattlefield>)
        return *b.Battlefield;
    else if constexpr (std::is_same_v<Owner, CStatisticsParameters>)
        return *b.Statistics;
    else if constexpr (std::is_same_v<Owner, CForce>)
        return *b.Force[k];
    else if constexpr (std::is_same_v<Owner, CGlobalCommander>)
        return *b.Global[k];
    else if constexpr (std::is_same_v<Owner, CLocalCommand>)
        return *b.Local[k];
    else
        return b;
}

template <class Pointer>
struct MemberOf;
template <class C, class M>
struct MemberOf<M C::*> {
    using Owner = C;
    using Stored = M;
};

// A member of one of the blocks; `first` and `count` pick values of an array
// member. A per-squad array gives squads 1..10 unless told otherwise.
template <auto Member>
constexpr ScenarioField F(int first = -1, int count = -1, bool byNumber = false)
{
    using Owner = typename MemberOf<decltype(Member)>::Owner;
    using Stored = typename MemberOf<decltype(Member)>::Stored;
    using Element = std::remove_all_extents_t<Stored>;
    static_assert(std::rank_v<Stored> <= 1);
    static_assert(std::is_same_v<Element, int> || std::is_same_v<Element, float> || std::is_same_v<Element, double>);
    ScenarioField field;
    field.Type = std::is_same_v<Element, int> ? ScenarioValueType::Int
                 : std::is_same_v<Element, float> ? ScenarioValueType::Float
                                                   : ScenarioValueType::Double;
    const bool squads = std::extent_v<Stored> == SquadSlots;
    field.First = first >= 0 ? first : squads ? 1 : 0;
    field.Count = count >= 0 ? count : squads ? MaxSquads : 1;
    field.ByNumber = byNumber;
    field.Member = [](ScenarioBlocks& b, Side side) -> void* {
        auto& member = BlockOf<Owner>(b, side).*Member;
        if constexpr (std::is_array_v<Stored>)
            return &member[0];
        else
            return &member;
    };
    return field;
}
// One value of an array member.
template <auto Member>
constexpr ScenarioField At(int index)
{
    return F<Member>(index, 1);
}
// The value of the commander or terrain block the walk stands at.
template <auto Member>
constexpr ScenarioField Numbered()
{
    return F<Member>(0, 1, true);
}
// A force member of the given side, in a section walked once.
template <auto Member>
constexpr ScenarioField Of(Side side)
{
    ScenarioField field = F<Member>();
    field.FixedSide = static_cast<int>(side);
    return field;
}

constexpr ScenarioLine Txt(const char* red, const char* blue = nullptr)
{
    ScenarioLine line;
    line.Kind = ScenarioLineKind::Text;
    line.Red = red;
    line.Blue = blue;
    return line;
}
constexpr ScenarioLine Val(const char* red, const char* blue, ScenarioField first, ScenarioField second = {})
{
    ScenarioLine line;
    line.Kind = ScenarioLineKind::Values;
    line.Red = red;
    line.Blue = blue;
    line.Values[0] = first;
    line.Values[1] = second;
    return line;
}
constexpr ScenarioLine Val(const char* label, ScenarioField first, ScenarioField second = {})
{
    return Val(label, nullptr, first, second);
}

constexpr char Banner30[] = "******************************";
constexpr char Banner31[] = "*******************************";
constexpr char Banner32[] = "********************************";

constexpr ScenarioLine GeneralLines[] = {
    Txt(Banner30),
    Txt("*    RUN TIME PARAMETERS"),
    Txt(Banner30),
    Val("data_version        ", F<&ScenarioBlocks::DataVersion>()).Then(ScenarioStep::DataVersion),
    Txt(Banner30),
    Txt("* GENERAL BATTLE PARAMETERS"),
    Txt(Banner30),
    Val("battle_size       ", F<&CBattlefield::BattleSize>()).Then(ScenarioStep::BattleSize),
    Txt("*"),
    Txt("* initial distribution"),
    Txt("*"),
    Val("init_dist         ", F<&CBattlefield::init_dist>()),
    Val("R_box_(l,w)       ", F<&CBattlefield::R_box_l>(), F<&CBattlefield::R_box_w>()),
    Val("RED_cen_(x,y)     ", F<&CBattlefield::RED_cen_x>(), F<&CBattlefield::RED_cen_y>()),
    Val("B_box_(l,w)       ", F<&CBattlefield::B_box_l>(), F<&CBattlefield::B_box_w>()),
    Val("BLUE_cen_(x,y)    ", F<&CBattlefield::BLUE_cen_x>(), F<&CBattlefield::BLUE_cen_y>())
        .Then(ScenarioStep::DeploymentBoxes),
    // Each force holds the enemy's flag as its goal.
    Val("B_flag_(x,y)      ", Of<&CForce::GoalFlagX>(Side::Red), Of<&CForce::GoalFlagY>(Side::Red))
        .Then(ScenarioStep::RedGoalFlag),
    Val("R_flag_(x,y)      ", Of<&CForce::GoalFlagX>(Side::Blue), Of<&CForce::GoalFlagY>(Side::Blue))
        .Then(ScenarioStep::BlueGoalFlag),
    Val("termination?      ", F<&CBattlefield::termination>()),
    Val("move_order?       ", F<&CBattlefield::MoveOrder>()).Then(ScenarioStep::MoveOrder),
    Val("RED_combat_flag?  ", F<&CBattlefield::RedCombatUnlimited>()),
    Val("BLUE_combat_flag? ", F<&CBattlefield::BlueCombatUnlimited>()),
    Val("terrain_flag?     ", F<&CBattlefield::TerrainMode>()),
    Val("LOS_flag?         ", F<&CBattlefield::LineOfSightOn>()),
    Txt("*"),
    Txt("* fratricide parameters"),
    Txt("*"),
    Val("red_frat_flag?    ", F<&CBattlefield::red_frat_flag>()),
    Val("blue_frat_flag?   ", F<&CBattlefield::blue_frat_flag>()),
    Val("red_frat_rad      ", F<&CBattlefield::red_frat_rad>()),
    Val("blue_frat_rad     ", F<&CBattlefield::blue_frat_rad>()),
    Val("red_frat_prob     ", F<&CBattlefield::red_frat_prob>()),
    Val("blue_frat_prob    ", F<&CBattlefield::blue_frat_prob>()),
    Txt("*"),
    Txt("* reconstitution"),
    Txt("*"),
    Val("RED_recon_flag?   ", F<&CBattlefield::RED_recon_flag>()),
    Val("RED_recon_time    ", Of<&CForce::recon_time>(Side::Red)).Then(ScenarioStep::RedReconTime),
    Val("BLUE_recon_flag?  ", F<&CBattlefield::BLUE_recon_flag>()),
    Val("BLUE_recon_time   ", Of<&CForce::recon_time>(Side::Blue)).Then(ScenarioStep::BlueReconTime),
};

// Territory, capacity dimension and weapon statistics are not part of the file.
constexpr ScenarioLine StatisticsLines[] = {
    Txt(Banner31),
    Txt("*   STATISTICS PARAMETERS"),
    Txt(Banner31),
    Val("stat_flag?        ", F<&CStatisticsParameters::DataCollectionOn>()),
    Val("goal_stat_flag?   ", F<&CStatisticsParameters::GoalStatsOn>()),
    Val("center_mass_flag? ", F<&CStatisticsParameters::CenterOfMassOn>()),
    Val("interpoint_flag?  ", F<&CStatisticsParameters::InterpointOn>()),
    Val("entropy_flag?     ", F<&CStatisticsParameters::SpatialEntropyOn>()),
    Val("cluster_1_flag?   ", F<&CStatisticsParameters::ClusterD1On>()),
    Val("cluster_2_flag?   ", F<&CStatisticsParameters::ClusterD2On>()),
    Val("neighbors_flag?   ", F<&CStatisticsParameters::NeighborStatsOn>()).Then(ScenarioStep::SetAll),
};

constexpr ScenarioLine GlobalFlagLines[] = {
    Txt(Banner31, Banner32),
    Txt("* RED GLOBAL COMMAND PARAMETERS", "* BLUE GLOBAL COMMAND PARAMETERS"),
    Txt(Banner31, Banner32),
    Val("RED_global_flag   ", "BLUE_global_flag   ", F<&CGlobalCommander::GlobalCommandOn>()),
};

constexpr ScenarioLine GlobalLines[] = {
    Txt("*"),
    Txt("* direction parameters"),
    Txt("*"),
    Val("GC_fear_index    ", F<&CGlobalCommander::GC_fear_index>()),
    Val("GC_w_alpha       ", F<&CGlobalCommander::GC_w_alpha>()),
    Val("GC_w_beta        ", F<&CGlobalCommander::GC_w_beta>()),
    Val("GC_frac_R[1]     ", At<&CGlobalCommander::GC_frac_R>(1)),
    Val("GC_frac_R[2]     ", At<&CGlobalCommander::GC_frac_R>(2)),
    Val("GC_w_swath[1]    ", At<&CGlobalCommander::GC_w_swath>(1)),
    Val("GC_w_swath[2]    ", At<&CGlobalCommander::GC_w_swath>(2)),
    Val("GC_w_swath[3]    ", At<&CGlobalCommander::GC_w_swath>(3)),
    Txt("*"),
    Txt("* help parameters"),
    Txt("*"),
    Val("GC_max_red_f     ", F<&CGlobalCommander::GC_max_red_f>()),
    Val("GC_help_radius   ", F<&CGlobalCommander::GC_help_radius>()),
    Val("GC_h_thresh      ", F<&CGlobalCommander::GC_h_thresh>()),
    Val("GC_rel_h_thresh  ", F<&CGlobalCommander::GC_rel_h_thresh>()),
};

constexpr ScenarioLine LocalFlagLines[] = {
    Txt(Banner30),
    Txt("* RED LOCAL COMMAND PARAMETERS", "* BLUE LOCAL COMMAND PARAMETERS"),
    Txt(Banner30),
    Val("RED_command_flag  ", "BLUE_command_flag ", F<&CLocalCommand::LocalCommandOn>()),
};

constexpr ScenarioLine LocalLines[] = {
    Val("num_RED_comdrs    ", "num_BLUE_comdrs   ", F<&CLocalCommand::NumLocalCommanders>())
        .Then(ScenarioStep::CommanderCount),
    Val("R_patch_type      ", "B_patch_type      ", F<&CLocalCommand::patch_type>()),
    Val("R_patch_flag      ", "B_patch_flag      ", F<&CLocalCommand::patch_flag>()),
};

// One local commander's group, numbered 1..count.
constexpr ScenarioLine CommanderLines[] = {
    Txt("*"),
    Txt("* local commander parameters"),
    Txt("*"),
    Val("(#)_R_undr_cmd    ", "(#)_B_undr_cmd    ", Numbered<&CLocalCommand::undr_cmd>()).Then(ScenarioStep::Subordinates),
    Val("(#)_R_cmnd_rad    ", "(#)_B_cmnd_rad    ", Numbered<&CLocalCommand::cmnd_rad>()).Then(ScenarioStep::CommandRadius),
    Val("(#)_R_SENSOR_rng  ", "(#)_B_SENSOR_rng  ", Numbered<&CLocalCommand::SENSOR_rng>()),
    Txt("*"),
    Txt("* local commander personality"),
    Txt("*"),
    Val("(#)_w1:alive_R    ", "(#)_w1:alive_B    ", Numbered<&CLocalCommand::w1>()),
    Val("(#)_w2:alive_B    ", "(#)_w2:alive_R    ", Numbered<&CLocalCommand::w2>()),
    Val("(#)_w3:injrd_R    ", "(#)_w3:injrd_B    ", Numbered<&CLocalCommand::w3>()),
    Val("(#)_w4:injrd_B    ", "(#)_w4:injrd_R    ", Numbered<&CLocalCommand::w4>()),
    Val("(#)_w5:R_goal     ", "(#)_w5:B_goal     ", Numbered<&CLocalCommand::w5>()),
    Val("(#)_w6:B_goal     ", "(#)_w6:R_goal     ", Numbered<&CLocalCommand::w6>()),
    Val("(#)_w_terrain     ", nullptr, Numbered<&CLocalCommand::w_terrain>()).Then(ScenarioStep::CommanderWeights),
    Txt("*"),
    Txt("* local commander constraints"),
    Txt("*"),
    Val("(#)_R_ADV_range   ", "(#)_B_ADV_range   ", Numbered<&CLocalCommand::ADV_range>()),
    Val("(#)_ADVANCE_num   ", nullptr, Numbered<&CLocalCommand::ADVANCE_num>()),
    Val("(#)_CLUSTER_num   ", nullptr, Numbered<&CLocalCommand::CLUSTER_num>()),
    Val("(#)_COMBAT_num    ", nullptr, Numbered<&CLocalCommand::COMBAT_num>()),
    Txt("*"),
    Txt("* local command weights"),
    Txt("*"),
    Val("(#)_R_w_alpha     ", "(#)_B_w_alpha     ", Numbered<&CLocalCommand::w_alpha>()),
    Val("(#)_R_w_beta      ", "(#)_B_w_beta      ", Numbered<&CLocalCommand::w_beta>()),
    Val("(#)_R_w_delta     ", "(#)_B_w_delta     ", Numbered<&CLocalCommand::w_delta>()),
    Val("(#)_R_w_gamma     ", "(#)_B_w_gamma     ", Numbered<&CLocalCommand::w_gamma>()),
    Txt("*"),
    Txt("* global command weights"),
    Txt("*"),
    Val("(#)_w_obey_GC_def ", nullptr, Numbered<&CLocalCommand::w_obey_GC_def>()),
    Val("(#)_w_help_LC_def ", nullptr, Numbered<&CLocalCommand::w_help_LC_def>()),
};

// A side's agent parameters.
constexpr ScenarioLine AgentLines[] = {
    Txt(Banner30),
    Txt("* RED VORLAX PARAMETERS", "* BLUE VORLAX PARAMETERS"),
    Txt(Banner30),
    Val("num_reds          ", "num_blues         ", F<&CForce::NumAgents>()).Then(ScenarioStep::AgentCount),
    Val("squads            ", F<&CForce::NumSquads>()).Then(ScenarioStep::SquadCount),
    Val("num_per_squad     ", F<&CForce::num_per_squad>()).Then(ScenarioStep::SquadSizes),
    Val("A:M_RANGE         ", F<&CForce::A_M_RANGE>()),
    Val("I:M_RANGE         ", F<&CForce::I_M_RANGE>()).Then(ScenarioStep::MoveRanges),
    Val("personality       ", F<&CForce::personality>()),
    Val("near_terrain_flag ", F<&CForce::near_terrain_flag>()).Zero1(),
    Txt("*"),
    Txt("* ALIVE personality weights"),
    Txt("*"),
    Val("w1_a:R_alive_R     ", "w1_a:B_alive_B     ", F<&CForce::w1_a>()),
    Val("w2_a:R_alive_B     ", "w2_a:B_alive_R     ", F<&CForce::w2_a>()),
    Val("w3_a:R_injrd_R     ", "w3_a:B_injrd_B     ", F<&CForce::w3_a>()),
    Val("w4_a:R_injrd_B     ", "w4_a:B_injrd_R     ", F<&CForce::w4_a>()),
    Val("w5_a:R_R_goal       ", "w5_a:B_B_goal       ", F<&CForce::w5_a>()),
    Val("w6_a:R_B_goal      ", "w6_a:B_R_goal      ", F<&CForce::w6_a>()),
    Val("w_terrain_alive    ", F<&CForce::w_terrain_alive>()).Zero1(),
    Val("w_area_alive    ", "w_area_alive       ", F<&CForce::w_area_alive>()).Since(3),
    Val("w_flock_alive   ", F<&CForce::w_flock_alive>()).Since(4),
    Txt("*"),
    Txt("* INJURED personality weights"),
    Txt("*"),
    Val("w1_i:R_alive_R     ", "w1_i:B_alive_B     ", F<&CForce::w1_i>()),
    Val("w2_i:R_alive_B     ", "w2_i:B_alive_R     ", F<&CForce::w2_i>()),
    Val("w3_i:R_injrd_R     ", "w3_i:B_injrd_B     ", F<&CForce::w3_i>()),
    Val("w4_i:R_injrd_B     ", "w4_i:B_injrd_R     ", F<&CForce::w4_i>()),
    Val("w5_i:R_R_goal       ", "w5_i:B_B_goal       ", F<&CForce::w5_i>()),
    Val("w6_i:R_B_goal      ", "w6_i:B_R_goal      ", F<&CForce::w6_i>()),
    Val("w_terrain_injured  ", "w_terrain_injured   ", F<&CForce::w_terrain_injured>()).Zero1(),
    Val("w_area_injured  ", "w_area_injured      ", F<&CForce::w_area_injured>()).Since(3),
    Val("w_flock_injured ", F<&CForce::w_flock_injured>()).Since(4).Then(ScenarioStep::SquadWeights),
    Txt("*"),
    Txt("* VORLAX-LC weights"),
    Txt("*"),
    Val("w7:R_loc_comdr    ", "w7:B_loc_comdr    ", F<&CLocalCommand::w7>()),
    Val("w7:R_loc_comdr    ", "w8:B_loc_goal     ", F<&CLocalCommand::w8>()).Then(ScenarioStep::AgentWeights),
    Txt("*"),
    Txt("* defense parameters"),
    Txt("*"),
    Val("defense_flag       ", F<&CForce::defense_flag>()),
    Val("alive_strength     ", F<&CForce::alive_strength>()),
    Val("injured_strength   ", F<&CForce::injured_strength>()),
    Txt("*"),
    Txt("* sensor/fire ranges"),
    Txt("*"),
    Val("A:S_RANGE          ", F<&CForce::A_S_RANGE>()),
    Val("A:F_RANGE          ", F<&CForce::A_F_RANGE>()),
    Val("I:S_RANGE          ", F<&CForce::I_S_RANGE>()),
    Val("I:F_RANGE          ", F<&CForce::I_F_RANGE>()).Then(ScenarioStep::SensorFireRanges),
    Txt("*"),
    Txt("* communications"),
    Txt("*"),
    Val("COMM_flag         ", F<&CForce::CommOn>()),
    Val("COMM_range        ", F<&CForce::COMM_range>()),
    Val("A:COMM_weight     ", F<&CForce::A_COMM_weight>()),
    Val("I:COMM_weight     ", F<&CForce::I_COMM_weight>()).Then(ScenarioStep::Communications),
    Txt("*"),
    Txt("* movement constraints"),
    Txt("*"),
    Val("movement_flag\t\t", F<&CForce::movement_flag>()),
    Val("ADVANCE_flag\t\t", F<&CForce::ADVANCE_flag>()).Since(2).Absent(WhenAbsent::One),
    Val("CLUSTER_flag\t\t", F<&CForce::CLUSTER_flag>()).Since(2).Absent(WhenAbsent::One),
    Val("COMBAT_flag\t\t", F<&CForce::COMBAT_flag>()).Since(2).Absent(WhenAbsent::One),
    Val("HOLD_flag\t\t", F<&CForce::HOLD_flag>()).Since(2),
    Val("PURSUIT1_flag\t\t", F<&CForce::PURSUIT1_flag>()).Since(2),
    Val("PURSUIT2_flag\t\t", F<&CForce::PURSUIT2_flag>()).Since(2),
    Val("RETREAT_flag\t\t", F<&CForce::RETREAT_flag>()).Since(2),
    Val("SUPPORT1_flag\t\t", F<&CForce::SUPPORT1_flag>()).Since(2),
    Val("SUPPORT2_flag\t\t", F<&CForce::SUPPORT2_flag>()).Since(2),
    Val("R_R_min_dist_flag_flag\t\t", "B_B_min_dist_flag_flag\t\t", F<&CForce::R_R_min_dist_flag_flag>()).Since(2),
    Val("R_B_min_dist_flag_flag\t\t", "B_R_min_dist_flag_flag\t\t", F<&CForce::R_B_min_dist_flag_flag>()).Since(2),
    Val("R_R_goal_min_flag\t\t", "B_B_goal_min_flag\t\t", F<&CForce::R_R_goal_min_flag>()).Since(2),
    Val("R_terrain_min_flag\t\t", F<&CForce::R_terrain_min_flag>()).Since(2),
    Val("R_area_min_flag\t\t", "R_area_min_flag           ", F<&CForce::R_area_min_flag>()).Since(3).Absent(WhenAbsent::AreaFlag),
    Val("A:C_RANGE           ", F<&CForce::A_C_RANGE>()).Since(4).Absent(WhenAbsent::KeepUnlabelled),
    Val("A:ADVANCE_num       ", F<&CForce::A_ADVANCE_num>()).Since(4).Absent(WhenAbsent::KeepUnlabelled),
    Val("A:CLUSTER_num       ", F<&CForce::A_CLUSTER_num>()).Since(4).Absent(WhenAbsent::KeepUnlabelled),
    Val("A:COMBAT_num        ", F<&CForce::A_COMBAT_num>()).Since(4).Absent(WhenAbsent::KeepUnlabelled),
    Val("A:HOLD_f        ", F<&CForce::A_HOLD_f>()).Since(2),
    Val("A:PURSUIT1_num        ", F<&CForce::A_PURSUIT1_num>()).Since(2),
    Val("A:PURSUIT2_num        ", F<&CForce::A_PURSUIT2_num>()).Since(2),
    Val("A:RETREAT_num        ", F<&CForce::A_RETREAT_num>()).Since(2),
    Val("A:SUPPORT1_num        ", F<&CForce::A_SUPPORT1_num>()).Since(2),
    Val("A:SUPPORT2_num        ", F<&CForce::A_SUPPORT2_num>()).Since(2),
    Val("I:C_RANGE           ", F<&CForce::I_C_RANGE>()),
    Val("I:ADVANCE_num       ", F<&CForce::I_ADVANCE_num>()),
    Val("I:CLUSTER_num       ", F<&CForce::I_CLUSTER_num>()),
    Val("I:COMBAT_num        ", F<&CForce::I_COMBAT_num>()),
    Val("I:HOLD_f        ", F<&CForce::I_HOLD_f>()).Since(2),
    Val("I:PURSUIT1_num        ", F<&CForce::I_PURSUIT1_num>()).Since(2),
    Val("I:PURSUIT2_num        ", F<&CForce::I_PURSUIT2_num>()).Since(2),
    Val("I:RETREAT_num        ", F<&CForce::I_RETREAT_num>()).Since(2),
    Val("I:SUPPORT1_num        ", F<&CForce::I_SUPPORT1_num>()).Since(2),
    Val("I:SUPPORT2_num        ", F<&CForce::I_SUPPORT2_num>()).Since(2),
    Val("C_RANGE_(m,M)     ", F<&CForce::C_RANGE_m>(), F<&CForce::C_RANGE_M>()),
    Val("A:ADV_(m,M)       ", F<&CForce::A_ADV_m>(), F<&CForce::A_ADV_M>()),
    Val("A:CLUS_(m,M)      ", F<&CForce::A_CLUS_m>(), F<&CForce::A_CLUS_M>()),
    Val("A:COMB_(m,M)      ", F<&CForce::A_COMB_m>(), F<&CForce::A_COMB_M>()),
    Val("I:ADV_(m,M)       ", F<&CForce::I_ADV_m>(), F<&CForce::I_ADV_M>()),
    Val("I:CLUS_(m,M)      ", F<&CForce::I_CLUS_m>(), F<&CForce::I_CLUS_M>()),
    Val("I:COMB_(m,M)      ", F<&CForce::I_COMB_m>(), F<&CForce::I_COMB_M>()),
    // Minimum distances. The version-1 layout gives BLUE the first three RED
    // labels and has no terrain row of its own: its fourth row, labelled as
    // the area row, is read as the terrain distances and written as zeros.
    Val("A:R_R_min_dist     ", "A:B_B_min_dist     ", F<&CForce::A_R_R_min_dist>()).Labels1(nullptr, "A:R_R_min_dist     "),
    Val("A:R_B_min_dist     ", "A:B_R_min_dist     ", F<&CForce::A_R_B_min_dist>()).Labels1(nullptr, "A:R_B_min_dist     "),
    Val("A:R_R_goal_min     ", "A:B_B_goal_min     ", F<&CForce::A_R_R_goal_min>()).Labels1(nullptr, "A:R_R_goal_min     "),
    Val("A:R_terrain_min    ", "A:B_terrain_min    ", F<&CForce::A_R_terrain_min>())
        .Zero1()
        .Labels1("A:R_area_min       ", "A:B_area_min       "),
    Val("A:R_area_min       ", "A:B_area_min       ", F<&CForce::A_R_area_min>()).Since(3),
    Val("A:R_flock_min      ", F<&CForce::A_R_flock_min>()).Since(4),
    Val("A:R_flock_max      ", F<&CForce::A_R_flock_max>()).Since(4),
    Val("I:R_R_min_dist     ", "I:B_B_min_dist     ", F<&CForce::I_R_R_min_dist>()).Labels1(nullptr, "I:R_R_min_dist     "),
    Val("I:R_B_min_dist     ", "I:B_R_min_dist     ", F<&CForce::I_R_B_min_dist>()).Labels1(nullptr, "I:R_B_min_dist     "),
    Val("I:R_R_goal_min     ", "I:B_B_goal_min     ", F<&CForce::I_R_R_goal_min>()).Labels1(nullptr, "I:R_R_goal_min     "),
    Val("I:R_terrain_min    ", "I:B_terrain_min    ", F<&CForce::I_R_terrain_min>())
        .Zero1()
        .Labels1("I:R_area_min       ", "I:B_area_min       "),
    Val("I:R_area_min       ", "I:B_area_min       ", F<&CForce::I_R_area_min>()).Since(3),
    Val("I:R_flock_min      ", F<&CForce::I_R_flock_min>()).Since(4),
    Val("I:R_flock_max      ", F<&CForce::I_R_flock_max>()).Since(4),
    Txt("*"),
    Txt("* combat/engagement"),
    Txt("*"),
    Val("shot_prob_alive    ", F<&CForce::shot_prob_alive>()),
    Val("shot_prob_injured  ", F<&CForce::shot_prob_injured>()),
    Val("A:R_max_eng_num    ", F<&CForce::A_R_max_eng_num>()),
    Val("I:R_max_eng_num    ", F<&CForce::I_R_max_eng_num>()).Then(ScenarioStep::SquadCopies),
};
static_assert(std::size(AgentLines) == 125);

constexpr ScenarioLine TerrainBannerLines[] = {
    Txt(Banner30),
    Txt("*    TERRAIN PARAMETERS"),
    Txt(Banner30),
};

constexpr ScenarioLine TerrainBlockCountLines[] = {
    Val("terrain_blocks\t\t", F<&CBattlefield::terrain_blocks>()).Then(ScenarioStep::BlockCount),
};

constexpr ScenarioLine TerrainBlockLines[] = {
    Val("type(#)     ", Numbered<&CBattlefield::TerrainBlockType>()).Then(ScenarioStep::BlockType),
    Val("terrain_l_w_(#)     ", Numbered<&CBattlefield::TerrainBlockLength>(),
        Numbered<&CBattlefield::TerrainBlockWidth>()),
    Val("terrain_x_y_(#)     ", Numbered<&CBattlefield::TerrainBlockX>(), Numbered<&CBattlefield::TerrainBlockY>())
        .Then(ScenarioStep::BlockPlaced),
};

constexpr ScenarioLine TerrainCellCountLines[] = {
    Val("num_elements   ", F<&ScenarioBlocks::CellCount>()),
};

constexpr ScenarioLine TerrainCellLines[] = {
    Val("terrain_x_y_(#)     ", F<&ScenarioBlocks::CellX>(), F<&ScenarioBlocks::CellY>()),
    Val("type(#)     ", F<&ScenarioBlocks::CellType>()).Then(ScenarioStep::CellPlaced),
};

template <std::size_t N>
std::span<const ScenarioLine> Lines(const ScenarioLine (&lines)[N])
{
    return {lines, N};
}

}  // namespace

std::span<const ScenarioLine> SectionLines(ScenarioSection section)
{
    switch (section) {
    case ScenarioSection::General:
        return Lines(GeneralLines);
    case ScenarioSection::Statistics:
        return Lines(StatisticsLines);
    case ScenarioSection::GlobalFlag:
        return Lines(GlobalFlagLines);
    case ScenarioSection::Global:
        return Lines(GlobalLines);
    case ScenarioSection::LocalFlag:
        return Lines(LocalFlagLines);
    case ScenarioSection::Local:
        return Lines(LocalLines);
    case ScenarioSection::Commander:
        return Lines(CommanderLines);
    case ScenarioSection::Agents:
        return Lines(AgentLines);
    case ScenarioSection::TerrainBanner:
        return Lines(TerrainBannerLines);
    case ScenarioSection::TerrainBlockCount:
        return Lines(TerrainBlockCountLines);
    case ScenarioSection::TerrainBlock:
        return Lines(TerrainBlockLines);
    case ScenarioSection::TerrainCellCount:
        return Lines(TerrainCellCountLines);
    case ScenarioSection::TerrainCell:
        return Lines(TerrainCellLines);
    }
    return {};
}

int WordCount(const char* text)
{
    int words = 0;
    bool inWord = false;
    for (const char* c = text; *c; ++c) {
        const bool blank = *c == ' ' || *c == '\t' || *c == '\n' || *c == '\r';
        if (!blank && !inWord)
            ++words;
        inWord = !blank;
    }
    return words;
}

std::string LabelWord(const char* label, int number)
{
    std::string word;
    for (const char* c = label; *c && *c != ' ' && *c != '\t'; ++c) {
        if (*c == '#')
            word += std::to_string(number);
        else
            word += *c;
    }
    return word;
}

ScenarioBlocks BlocksOf(CDocumentState& state)
{
    ScenarioBlocks blocks;
    blocks.Battlefield = &state.Battlefield;
    blocks.Statistics = &state.Statistics;
    blocks.Force[0] = &state.RedForce;
    blocks.Force[1] = &state.BlueForce;
    blocks.Global[0] = &state.RedGlobal;
    blocks.Global[1] = &state.BlueGlobal;
    blocks.Local[0] = &state.RedLocal;
    blocks.Local[1] = &state.BlueLocal;
    return blocks;
}

}  // namespace brevimar
