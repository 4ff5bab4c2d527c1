#include "files/ScenarioWriter.h"

#include <algorithm>
#include <iostream>
#include <locale>
#include <memory>

#include "core/Document.h"

namespace brevimar {

namespace {

// Label padding of two tab characters instead of blanks.
constexpr int TwoTabs = -1;

// The side's rows of the agent parameter sections: what each line is, its
// label for either side and where its values come from.
enum class LineKind { Banner, Comment, Int, Float, IntRow, FloatRow, DoubleRow, IntPair, LocalFloat };

struct Label {
    const char* Word = nullptr;
    int Padding = 0;  // blanks after the word, or TwoTabs
};

// What the version-1 layout of the best-chromosome file does with a line.
enum class Version1 { Keep, Omit, Zero, RedLabel };

struct AgentLine {
    LineKind Kind = LineKind::Comment;
    Version1 Old = Version1::Keep;
    Label Red;
    Label Blue;  // no word: as RED
    int CForce::*Int = nullptr;
    float CForce::*Float = nullptr;
    int (CForce::*IntRow)[SquadSlots] = nullptr;
    float (CForce::*FloatRow)[SquadSlots] = nullptr;
    double (CForce::*DoubleRow)[SquadSlots] = nullptr;
    int CForce::*PairMax = nullptr;
    float CLocalCommand::*Local = nullptr;

    // The BLUE section's label where it differs.
    constexpr AgentLine Bl(const char* word, int padding) const
    {
        AgentLine line = *this;
        line.Blue = {word, padding};
        return line;
    }
    constexpr AgentLine Omit1() const { return With(Version1::Omit); }
    constexpr AgentLine Zero1() const { return With(Version1::Zero); }
    constexpr AgentLine RedLabel1() const { return With(Version1::RedLabel); }
    constexpr AgentLine With(Version1 old) const
    {
        AgentLine line = *this;
        line.Old = old;
        return line;
    }
};

constexpr AgentLine Line(LineKind kind, const char* word = nullptr, int padding = 0)
{
    AgentLine line;
    line.Kind = kind;
    line.Red = {word, padding};
    return line;
}
constexpr AgentLine Banner() { return Line(LineKind::Banner); }
constexpr AgentLine Note(const char* text) { return Line(LineKind::Comment, text); }
constexpr AgentLine Field(const char* word, int padding, int CForce::*member)
{
    AgentLine line = Line(LineKind::Int, word, padding);
    line.Int = member;
    return line;
}
constexpr AgentLine Field(const char* word, int padding, float CForce::*member)
{
    AgentLine line = Line(LineKind::Float, word, padding);
    line.Float = member;
    return line;
}
constexpr AgentLine Field(const char* word, int padding, int (CForce::*member)[SquadSlots])
{
    AgentLine line = Line(LineKind::IntRow, word, padding);
    line.IntRow = member;
    return line;
}
constexpr AgentLine Field(const char* word, int padding, float (CForce::*member)[SquadSlots])
{
    AgentLine line = Line(LineKind::FloatRow, word, padding);
    line.FloatRow = member;
    return line;
}
constexpr AgentLine Field(const char* word, int padding, double (CForce::*member)[SquadSlots])
{
    AgentLine line = Line(LineKind::DoubleRow, word, padding);
    line.DoubleRow = member;
    return line;
}
constexpr AgentLine Pair(const char* word, int padding, int CForce::*low, int CForce::*high)
{
    AgentLine line = Line(LineKind::IntPair, word, padding);
    line.Int = low;
    line.PairMax = high;
    return line;
}
constexpr AgentLine Field(const char* word, int padding, float CLocalCommand::*member)
{
    AgentLine line = Line(LineKind::LocalFloat, word, padding);
    line.Local = member;
    return line;
}

// Both agent parameter sections, line by line. RED's w8 is written under
// RED's w7 label, and some BLUE labels keep the letter R: that is how the
// files have always been written and the readers skip labels anyway.
constexpr AgentLine AgentLines[] = {
    Banner(),
    Note("* RED VORLAX PARAMETERS").Bl("* BLUE VORLAX PARAMETERS", 0),
    Banner(),
    Field("num_reds", 10, &CForce::NumAgents).Bl("num_blues", 9),
    Field("squads", 12, &CForce::NumSquads),
    Field("num_per_squad", 5, &CForce::num_per_squad),
    Field("A:M_RANGE", 9, &CForce::A_M_RANGE),
    Field("I:M_RANGE", 9, &CForce::I_M_RANGE),
    Field("personality", 7, &CForce::personality),
    Field("near_terrain_flag", 1, &CForce::near_terrain_flag).Zero1(),
    Note("*"),
    Note("* ALIVE personality weights"),
    Note("*"),
    Field("w1_a:R_alive_R", 5, &CForce::w1_a).Bl("w1_a:B_alive_B", 5),
    Field("w2_a:R_alive_B", 5, &CForce::w2_a).Bl("w2_a:B_alive_R", 5),
    Field("w3_a:R_injrd_R", 5, &CForce::w3_a).Bl("w3_a:B_injrd_B", 5),
    Field("w4_a:R_injrd_B", 5, &CForce::w4_a).Bl("w4_a:B_injrd_R", 5),
    Field("w5_a:R_R_goal", 7, &CForce::w5_a).Bl("w5_a:B_B_goal", 7),
    Field("w6_a:R_B_goal", 6, &CForce::w6_a).Bl("w6_a:B_R_goal", 6),
    Field("w_terrain_alive", 4, &CForce::w_terrain_alive).Zero1(),
    Field("w_area_alive", 4, &CForce::w_area_alive).Bl("w_area_alive", 7).Omit1(),
    Field("w_flock_alive", 3, &CForce::w_flock_alive).Omit1(),
    Note("*"),
    Note("* INJURED personality weights"),
    Note("*"),
    Field("w1_i:R_alive_R", 5, &CForce::w1_i).Bl("w1_i:B_alive_B", 5),
    Field("w2_i:R_alive_B", 5, &CForce::w2_i).Bl("w2_i:B_alive_R", 5),
    Field("w3_i:R_injrd_R", 5, &CForce::w3_i).Bl("w3_i:B_injrd_B", 5),
    Field("w4_i:R_injrd_B", 5, &CForce::w4_i).Bl("w4_i:B_injrd_R", 5),
    Field("w5_i:R_R_goal", 7, &CForce::w5_i).Bl("w5_i:B_B_goal", 7),
    Field("w6_i:R_B_goal", 6, &CForce::w6_i).Bl("w6_i:B_R_goal", 6),
    Field("w_terrain_injured", 2, &CForce::w_terrain_injured).Bl("w_terrain_injured", 3).Zero1(),
    Field("w_area_injured", 2, &CForce::w_area_injured).Bl("w_area_injured", 6).Omit1(),
    Field("w_flock_injured", 1, &CForce::w_flock_injured).Omit1(),
    Note("*"),
    Note("* VORLAX-LC weights"),
    Note("*"),
    Field("w7:R_loc_comdr", 4, &CLocalCommand::w7).Bl("w7:B_loc_comdr", 4),
    Field("w7:R_loc_comdr", 4, &CLocalCommand::w8).Bl("w8:B_loc_goal", 5),
    Note("*"),
    Note("* defense parameters"),
    Note("*"),
    Field("defense_flag", 7, &CForce::defense_flag),
    Field("alive_strength", 5, &CForce::alive_strength),
    Field("injured_strength", 3, &CForce::injured_strength),
    Note("*"),
    Note("* sensor/fire ranges"),
    Note("*"),
    Field("A:S_RANGE", 10, &CForce::A_S_RANGE),
    Field("A:F_RANGE", 10, &CForce::A_F_RANGE),
    Field("I:S_RANGE", 10, &CForce::I_S_RANGE),
    Field("I:F_RANGE", 10, &CForce::I_F_RANGE),
    Note("*"),
    Note("* communications"),
    Note("*"),
    Field("COMM_flag", 9, &CForce::CommOn),
    Field("COMM_range", 8, &CForce::COMM_range),
    Field("A:COMM_weight", 5, &CForce::A_COMM_weight),
    Field("I:COMM_weight", 5, &CForce::I_COMM_weight),
    Note("*"),
    Note("* movement constraints"),
    Note("*"),
    Field("movement_flag", TwoTabs, &CForce::movement_flag),
    Field("ADVANCE_flag", TwoTabs, &CForce::ADVANCE_flag).Omit1(),
    Field("CLUSTER_flag", TwoTabs, &CForce::CLUSTER_flag).Omit1(),
    Field("COMBAT_flag", TwoTabs, &CForce::COMBAT_flag).Omit1(),
    Field("HOLD_flag", TwoTabs, &CForce::HOLD_flag).Omit1(),
    Field("PURSUIT1_flag", TwoTabs, &CForce::PURSUIT1_flag).Omit1(),
    Field("PURSUIT2_flag", TwoTabs, &CForce::PURSUIT2_flag).Omit1(),
    Field("RETREAT_flag", TwoTabs, &CForce::RETREAT_flag).Omit1(),
    Field("SUPPORT1_flag", TwoTabs, &CForce::SUPPORT1_flag).Omit1(),
    Field("SUPPORT2_flag", TwoTabs, &CForce::SUPPORT2_flag).Omit1(),
    Field("R_R_min_dist_flag_flag", TwoTabs, &CForce::R_R_min_dist_flag_flag).Bl("B_B_min_dist_flag_flag", TwoTabs).Omit1(),
    Field("R_B_min_dist_flag_flag", TwoTabs, &CForce::R_B_min_dist_flag_flag).Bl("B_R_min_dist_flag_flag", TwoTabs).Omit1(),
    Field("R_R_goal_min_flag", TwoTabs, &CForce::R_R_goal_min_flag).Bl("B_B_goal_min_flag", TwoTabs).Omit1(),
    Field("R_terrain_min_flag", TwoTabs, &CForce::R_terrain_min_flag).Omit1(),
    Field("R_area_min_flag", TwoTabs, &CForce::R_area_min_flag).Bl("R_area_min_flag", 11).Omit1(),
    Field("A:C_RANGE", 11, &CForce::A_C_RANGE),
    Field("A:ADVANCE_num", 7, &CForce::A_ADVANCE_num),
    Field("A:CLUSTER_num", 7, &CForce::A_CLUSTER_num),
    Field("A:COMBAT_num", 8, &CForce::A_COMBAT_num),
    Field("A:HOLD_f", 8, &CForce::A_HOLD_f).Omit1(),
    Field("A:PURSUIT1_num", 8, &CForce::A_PURSUIT1_num).Omit1(),
    Field("A:PURSUIT2_num", 8, &CForce::A_PURSUIT2_num).Omit1(),
    Field("A:RETREAT_num", 8, &CForce::A_RETREAT_num).Omit1(),
    Field("A:SUPPORT1_num", 8, &CForce::A_SUPPORT1_num).Omit1(),
    Field("A:SUPPORT2_num", 8, &CForce::A_SUPPORT2_num).Omit1(),
    Field("I:C_RANGE", 11, &CForce::I_C_RANGE),
    Field("I:ADVANCE_num", 7, &CForce::I_ADVANCE_num),
    Field("I:CLUSTER_num", 7, &CForce::I_CLUSTER_num),
    Field("I:COMBAT_num", 8, &CForce::I_COMBAT_num),
    Field("I:HOLD_f", 8, &CForce::I_HOLD_f).Omit1(),
    Field("I:PURSUIT1_num", 8, &CForce::I_PURSUIT1_num).Omit1(),
    Field("I:PURSUIT2_num", 8, &CForce::I_PURSUIT2_num).Omit1(),
    Field("I:RETREAT_num", 8, &CForce::I_RETREAT_num).Omit1(),
    Field("I:SUPPORT1_num", 8, &CForce::I_SUPPORT1_num).Omit1(),
    Field("I:SUPPORT2_num", 8, &CForce::I_SUPPORT2_num).Omit1(),
    Pair("C_RANGE_(m,M)", 5, &CForce::C_RANGE_m, &CForce::C_RANGE_M),
    Pair("A:ADV_(m,M)", 7, &CForce::A_ADV_m, &CForce::A_ADV_M),
    Pair("A:CLUS_(m,M)", 6, &CForce::A_CLUS_m, &CForce::A_CLUS_M),
    Pair("A:COMB_(m,M)", 6, &CForce::A_COMB_m, &CForce::A_COMB_M),
    Pair("I:ADV_(m,M)", 7, &CForce::I_ADV_m, &CForce::I_ADV_M),
    Pair("I:CLUS_(m,M)", 6, &CForce::I_CLUS_m, &CForce::I_CLUS_M),
    Pair("I:COMB_(m,M)", 6, &CForce::I_COMB_m, &CForce::I_COMB_M),
    Field("A:R_R_min_dist", 5, &CForce::A_R_R_min_dist).Bl("A:B_B_min_dist", 5).RedLabel1(),
    Field("A:R_B_min_dist", 5, &CForce::A_R_B_min_dist).Bl("A:B_R_min_dist", 5).RedLabel1(),
    Field("A:R_R_goal_min", 5, &CForce::A_R_R_goal_min).Bl("A:B_B_goal_min", 5).RedLabel1(),
    Field("A:R_terrain_min", 4, &CForce::A_R_terrain_min).Bl("A:B_terrain_min", 4).Omit1(),
    Field("A:R_area_min", 7, &CForce::A_R_area_min).Bl("A:B_area_min", 7).Zero1(),
    Field("A:R_flock_min", 6, &CForce::A_R_flock_min).Omit1(),
    Field("A:R_flock_max", 6, &CForce::A_R_flock_max).Omit1(),
    Field("I:R_R_min_dist", 5, &CForce::I_R_R_min_dist).Bl("I:B_B_min_dist", 5).RedLabel1(),
    Field("I:R_B_min_dist", 5, &CForce::I_R_B_min_dist).Bl("I:B_R_min_dist", 5).RedLabel1(),
    Field("I:R_R_goal_min", 5, &CForce::I_R_R_goal_min).Bl("I:B_B_goal_min", 5).RedLabel1(),
    Field("I:R_terrain_min", 4, &CForce::I_R_terrain_min).Bl("I:B_terrain_min", 4).Omit1(),
    Field("I:R_area_min", 7, &CForce::I_R_area_min).Bl("I:B_area_min", 7).Zero1(),
    Field("I:R_flock_min", 6, &CForce::I_R_flock_min).Omit1(),
    Field("I:R_flock_max", 6, &CForce::I_R_flock_max).Omit1(),
    Note("*"),
    Note("* combat/engagement"),
    Note("*"),
    Field("shot_prob_alive", 4, &CForce::shot_prob_alive),
    Field("shot_prob_injured", 2, &CForce::shot_prob_injured),
    Field("A:R_max_eng_num", 4, &CForce::A_R_max_eng_num),
    Field("I:R_max_eng_num", 4, &CForce::I_R_max_eng_num),
};
static_assert(std::size(AgentLines) == 125);

// The keyword lines of one local commander's group: "(" c, then the tail.
struct CommanderLine {
    const char* RedTail;  // nullptr: a comment line, Comment holds its text
    const char* BlueTail;
    int (CLocalCommand::*IntRow)[CommanderSlots] = nullptr;
    float (CLocalCommand::*FloatRow)[CommanderSlots] = nullptr;
    const char* Comment = nullptr;
};

constexpr CommanderLine Remark(const char* text) { return {nullptr, nullptr, nullptr, nullptr, text}; }
constexpr CommanderLine Tail(const char* red, const char* blue, int (CLocalCommand::*row)[CommanderSlots])
{
    return {red, blue, row, nullptr, nullptr};
}
constexpr CommanderLine Tail(const char* red, const char* blue, float (CLocalCommand::*row)[CommanderSlots])
{
    return {red, blue, nullptr, row, nullptr};
}

constexpr CommanderLine CommanderLines[] = {
    Remark("*"),
    Remark("* local commander parameters"),
    Remark("*"),
    Tail(")_R_undr_cmd    ", ")_B_undr_cmd    ", &CLocalCommand::undr_cmd),
    Tail(")_R_cmnd_rad    ", ")_B_cmnd_rad    ", &CLocalCommand::cmnd_rad),
    Tail(")_R_SENSOR_rng  ", ")_B_SENSOR_rng  ", &CLocalCommand::SENSOR_rng),
    Remark("*"),
    Remark("* local commander personality"),
    Remark("*"),
    Tail(")_w1:alive_R    ", ")_w1:alive_B    ", &CLocalCommand::w1),
    Tail(")_w2:alive_B    ", ")_w2:alive_R    ", &CLocalCommand::w2),
    Tail(")_w3:injrd_R    ", ")_w3:injrd_B    ", &CLocalCommand::w3),
    Tail(")_w4:injrd_B    ", ")_w4:injrd_R    ", &CLocalCommand::w4),
    Tail(")_w5:R_goal     ", ")_w5:B_goal     ", &CLocalCommand::w5),
    Tail(")_w6:B_goal     ", ")_w6:R_goal     ", &CLocalCommand::w6),
    Tail(")_w_terrain     ", ")_w_terrain     ", &CLocalCommand::w_terrain),
    Remark("*"),
    Remark("* local commander constraints"),
    Remark("*"),
    Tail(")_R_ADV_range   ", ")_B_ADV_range   ", &CLocalCommand::ADV_range),
    Tail(")_ADVANCE_num   ", ")_ADVANCE_num   ", &CLocalCommand::ADVANCE_num),
    Tail(")_CLUSTER_num   ", ")_CLUSTER_num   ", &CLocalCommand::CLUSTER_num),
    Tail(")_COMBAT_num    ", ")_COMBAT_num    ", &CLocalCommand::COMBAT_num),
    Remark("*"),
    Remark("* local command weights"),
    Remark("*"),
    Tail(")_R_w_alpha     ", ")_B_w_alpha     ", &CLocalCommand::w_alpha),
    Tail(")_R_w_beta      ", ")_B_w_beta      ", &CLocalCommand::w_beta),
    Tail(")_R_w_delta     ", ")_B_w_delta     ", &CLocalCommand::w_delta),
    Tail(")_R_w_gamma     ", ")_B_w_gamma     ", &CLocalCommand::w_gamma),
    Remark("*"),
    Remark("* global command weights"),
    Remark("*"),
    Tail(")_w_obey_GC_def ", ")_w_obey_GC_def ", &CLocalCommand::w_obey_GC_def),
    Tail(")_w_help_LC_def ", ")_w_help_LC_def ", &CLocalCommand::w_help_LC_def),
};
static_assert(std::size(CommanderLines) == 35);

const char Banner30[] = "******************************";
const char Banner31[] = "*******************************";
const char Banner32[] = "********************************";

// Lines after the first begin with a line feed, so the file ends without one.
class ScenarioText {
public:
    explicit ScenarioText(std::ostream& out) : Out(out) {}

    std::ostream& Line(const char* text)
    {
        if (!First)
            Out << '\n';
        First = false;
        return Out << text;
    }
    std::ostream& Line(const Label& label)
    {
        Line(label.Word);
        if (label.Padding == TwoTabs)
            return Out << "\t\t";
        for (int k = 0; k < label.Padding; ++k)
            Out << ' ';
        return Out;
    }
    template <typename T>
    void Values(const T* values, int count)
    {
        for (int k = 0; k < count; ++k) {
            if (k > 0)
                Out << ' ';
            Out << values[k];
        }
    }
    template <typename T>
    void Squads(const T (&row)[SquadSlots])
    {
        Values(row + 1, MaxSquads);
    }
    // l1 w1 l2 w2 ... squad by squad.
    void SquadPairs(const char* label, const int (&first)[SquadSlots], const int (&second)[SquadSlots])
    {
        Line(label);
        for (int s = 1; s <= MaxSquads; ++s)
            Out << (s > 1 ? " " : "") << first[s] << ' ' << second[s];
    }
    void Banner(const char* stars, const char* title)
    {
        Line(stars);
        Line(title);
        Line(stars);
    }
    void Comment(const char* title)
    {
        Line("*");
        Line(title);
        Line("*");
    }

private:
    std::ostream& Out;
    bool First = true;
};

// What differs between the version-4 file and the best chromosome's.
struct Layout {
    int Version = ScenarioDataVersion;
    const CGaDecoded* Best = nullptr;  // RED's evolved values, when given
};

void WriteGeneral(const CDocumentState& doc, const Layout& layout, ScenarioText& text)
{
    const CBattlefield& b = doc.Battlefield;
    const CGaDecoded* best = layout.Best;
    text.Banner(Banner30, "*    RUN TIME PARAMETERS");
    text.Line("data_version        ") << layout.Version;
    text.Banner(Banner30, "* GENERAL BATTLE PARAMETERS");
    text.Line("battle_size       ") << b.BattleSize;
    text.Comment("* initial distribution");
    text.Line("init_dist         ") << b.init_dist;
    text.SquadPairs("R_box_(l,w)       ", best ? best->R_box_l : b.R_box_l, best ? best->R_box_w : b.R_box_w);
    text.SquadPairs("RED_cen_(x,y)     ", best ? best->RED_cen_x : b.RED_cen_x, best ? best->RED_cen_y : b.RED_cen_y);
    text.SquadPairs("B_box_(l,w)       ", b.B_box_l, b.B_box_w);
    text.SquadPairs("BLUE_cen_(x,y)    ", b.BLUE_cen_x, b.BLUE_cen_y);
    // Each force holds the enemy's flag as its goal.
    text.Line("B_flag_(x,y)      ") << doc.RedForce.GoalFlagX << ' ' << doc.RedForce.GoalFlagY;
    text.Line("R_flag_(x,y)      ") << doc.BlueForce.GoalFlagX << ' ' << doc.BlueForce.GoalFlagY;
    text.Line("termination?      ") << b.termination;
    text.Line("move_order?       ") << b.MoveOrder;
    text.Line("RED_combat_flag?  ") << b.RedCombatUnlimited;
    text.Line("BLUE_combat_flag? ") << b.BlueCombatUnlimited;
    text.Line("terrain_flag?     ") << b.TerrainMode;
    text.Line("LOS_flag?         ") << b.LineOfSightOn;
    text.Comment("* fratricide parameters");
    text.Line("red_frat_flag?    ") << b.red_frat_flag;
    text.Line("blue_frat_flag?   ") << b.blue_frat_flag;
    text.Line("red_frat_rad      ") << (best ? best->red_frat_rad : b.red_frat_rad);
    text.Line("blue_frat_rad     ") << b.blue_frat_rad;
    text.Line("red_frat_prob     ") << b.red_frat_prob;
    text.Line("blue_frat_prob    ") << b.blue_frat_prob;
    text.Comment("* reconstitution");
    text.Line("RED_recon_flag?   ") << b.RED_recon_flag;
    text.Line("RED_recon_time    ") << (best ? best->recon_time : doc.RedForce.recon_time);
    text.Line("BLUE_recon_flag?  ") << b.BLUE_recon_flag;
    text.Line("BLUE_recon_time   ") << doc.BlueForce.recon_time;
}

void WriteStatistics(const CStatisticsParameters& st, ScenarioText& text)
{
    // Territory, capacity dimension and weapon statistics are not part of the file.
    text.Banner(Banner31, "*   STATISTICS PARAMETERS");
    text.Line("stat_flag?        ") << st.DataCollectionOn;
    text.Line("goal_stat_flag?   ") << st.GoalStatsOn;
    text.Line("center_mass_flag? ") << st.CenterOfMassOn;
    text.Line("interpoint_flag?  ") << st.InterpointOn;
    text.Line("entropy_flag?     ") << st.SpatialEntropyOn;
    text.Line("cluster_1_flag?   ") << st.ClusterD1On;
    text.Line("cluster_2_flag?   ") << st.ClusterD2On;
    text.Line("neighbors_flag?   ") << st.NeighborStatsOn;
}

void WriteGlobalCommand(const CGlobalCommander& g, Side side, ScenarioText& text)
{
    if (side == Side::Red) {
        text.Banner(Banner31, "* RED GLOBAL COMMAND PARAMETERS");
        text.Line("RED_global_flag   ") << g.GlobalCommandOn;
    } else {
        text.Banner(Banner32, "* BLUE GLOBAL COMMAND PARAMETERS");
        text.Line("BLUE_global_flag   ") << g.GlobalCommandOn;
    }
    if (g.GlobalCommandOn != 1)
        return;
    text.Comment("* direction parameters");
    text.Line("GC_fear_index    ") << g.GC_fear_index;
    text.Line("GC_w_alpha       ") << g.GC_w_alpha;
    text.Line("GC_w_beta        ") << g.GC_w_beta;
    text.Line("GC_frac_R[1]     ") << g.GC_frac_R[1];
    text.Line("GC_frac_R[2]     ") << g.GC_frac_R[2];
    text.Line("GC_w_swath[1]    ") << g.GC_w_swath[1];
    text.Line("GC_w_swath[2]    ") << g.GC_w_swath[2];
    text.Line("GC_w_swath[3]    ") << g.GC_w_swath[3];
    text.Comment("* help parameters");
    text.Line("GC_max_red_f     ") << g.GC_max_red_f;
    text.Line("GC_help_radius   ") << g.GC_help_radius;
    text.Line("GC_h_thresh      ") << g.GC_h_thresh;
    text.Line("GC_rel_h_thresh  ") << g.GC_rel_h_thresh;
}

void WriteLocalCommand(const CLocalCommand& l, Side side, ScenarioText& text)
{
    const bool red = side == Side::Red;
    text.Banner(Banner30, red ? "* RED LOCAL COMMAND PARAMETERS" : "* BLUE LOCAL COMMAND PARAMETERS");
    text.Line(red ? "RED_command_flag  " : "BLUE_command_flag ") << l.LocalCommandOn;
    if (l.LocalCommandOn != 1)
        return;
    text.Line(red ? "num_RED_comdrs    " : "num_BLUE_comdrs   ") << l.NumLocalCommanders;
    text.Line(red ? "R_patch_type      " : "B_patch_type      ") << l.patch_type;
    text.Line(red ? "R_patch_flag      " : "B_patch_flag      ") << l.patch_flag;
    // The per-commander arrays hold commanders 1..10.
    const int commanders = std::min(l.NumLocalCommanders, MaxCommanders);
    for (int c = 1; c <= commanders; ++c) {
        for (const CommanderLine& line : CommanderLines) {
            if (line.Comment) {
                text.Line(line.Comment);
                continue;
            }
            std::ostream& out = text.Line("(") << c << (red ? line.RedTail : line.BlueTail);
            if (line.IntRow)
                out << (l.*line.IntRow)[c];
            else
                out << (l.*line.FloatRow)[c];
        }
    }
}

void WriteAgentParameters(const CForce& f, const CLocalCommand& l, Side side, int version, ScenarioText& text)
{
    const bool red = side == Side::Red;
    const bool old = version == 1;
    static constexpr int Zeros[MaxSquads] = {};
    for (const AgentLine& line : AgentLines) {
        if (old && line.Old == Version1::Omit)
            continue;
        const bool redLabel = red || line.Blue.Word == nullptr || (old && line.Old == Version1::RedLabel);
        const Label& label = redLabel ? line.Red : line.Blue;
        if (old && line.Old == Version1::Zero) {
            text.Line(label);
            text.Values(Zeros, line.Kind == LineKind::Int ? 1 : MaxSquads);
            continue;
        }
        switch (line.Kind) {
        case LineKind::Banner:
            text.Line(Banner30);
            break;
        case LineKind::Comment:
            text.Line(label.Word);
            break;
        case LineKind::Int:
            text.Line(label) << f.*line.Int;
            break;
        case LineKind::Float:
            text.Line(label) << f.*line.Float;
            break;
        case LineKind::IntRow:
            text.Line(label);
            text.Squads(f.*line.IntRow);
            break;
        case LineKind::FloatRow:
            text.Line(label);
            text.Squads(f.*line.FloatRow);
            break;
        case LineKind::DoubleRow:
            text.Line(label);
            text.Squads(f.*line.DoubleRow);
            break;
        case LineKind::IntPair:
            text.Line(label) << f.*line.Int << ' ' << f.*line.PairMax;
            break;
        case LineKind::LocalFloat:
            text.Line(label) << l.*line.Local;
            break;
        }
    }
}

void WriteTerrain(const CBattlefield& b, ScenarioText& text)
{
    text.Banner(Banner30, "*    TERRAIN PARAMETERS");
    if (b.TerrainMode == 1) {
        text.Line("terrain_blocks\t\t") << b.terrain_blocks;
        const int blocks = std::min(b.terrain_blocks, MaxTerrainBlocks);
        for (int k = 1; k <= blocks; ++k) {
            text.Line("type(") << k << ")     " << b.TerrainBlockType[k];
            text.Line("terrain_l_w_(") << k << ")     " << b.TerrainBlockLength[k] << ' ' << b.TerrainBlockWidth[k];
            text.Line("terrain_x_y_(") << k << ")     " << b.TerrainBlockX[k] << ' ' << b.TerrainBlockY[k];
        }
    } else if (b.TerrainMode == 2) {
        const int size = std::clamp(b.BattleSize, 1, MaxBattleSize);
        auto isTerrain = [&b](int x, int y) { return b.AgentGrid[GridIndex(x, y)] == CellTerrain; };
        int count = 0;
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y)
                count += isTerrain(x, y);
        text.Line("num_elements   ") << count;
        int k = 0;
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y) {
                if (!isTerrain(x, y))
                    continue;
                ++k;
                text.Line("terrain_x_y_(") << k << ")     " << x << ' ' << y;
                text.Line("type(") << k << ")     " << b.TerrainType[GridIndex(x, y)];
            }
    }
}

void WriteCapture(const CBrevimarDoc& doc, ScenarioText& text)
{
    if (doc.RunCaptureOn != 1 || doc.HeapBuffersAllocated != 1)
        return;
    // Frames 0..T-1, but never past the capture rows, and no more than the
    // readers keep (they stop after the frame of step 350).
    // Frames 0..T-1 of the run being captured, or of the run that ended.
    const int end = doc.CaptureEndStep != 0 ? doc.CaptureEndStep : doc.RunHeader.CurrentStep;
    const int frames = std::min(end, MaxStoredFrameStep + 1);
    const int counts[2] = {std::clamp(doc.RedForce.NumAgents, 0, MaxAgents),
                           std::clamp(doc.BlueForce.NumAgents, 0, MaxAgents)};
    for (int j = 0; j < frames; ++j) {
        text.Line("") << doc.CapturedStep[j];
        for (int side = 0; side < 2; ++side) {
            const int base = side == 0 ? RedCaptureState : BlueCaptureState;
            for (int i = 1; i <= counts[side]; ++i) {
                const int index = CaptureIndex(j, i);
                text.Line("") << doc.CaptureBuffer[base][index] << ' ' << doc.CaptureBuffer[base + 1][index]
                              << ' ' << doc.CaptureBuffer[base + 2][index];
            }
        }
    }
}

// The stream's default number format in the C locale, for the length of one
// file; the caller's settings come back afterwards.
class DefaultFormat {
public:
    explicit DefaultFormat(std::ostream& out)
        : Out(out), Locale(out.imbue(std::locale::classic())), Flags(out.flags()), Precision(out.precision()),
          Width(out.width()), Fill(out.fill())
    {
        out.flags(std::ios::dec | std::ios::skipws);
        out.precision(6);
        out.width(0);
        out.fill(' ');
    }
    ~DefaultFormat()
    {
        Out.imbue(Locale);
        Out.flags(Flags);
        Out.precision(Precision);
        Out.width(Width);
        Out.fill(Fill);
    }

private:
    std::ostream& Out;
    std::locale Locale;
    std::ios::fmtflags Flags;
    std::streamsize Precision;
    std::streamsize Width;
    char Fill;
};

template <typename T>
void CopyRow(T (&to)[SquadSlots], const T (&from)[SquadSlots])
{
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

// The twelve rows a shown best chromosome decides in every scenario file.
void TakeBestRows(CForce& f, const CGaDecoded& r)
{
    CopyRow(f.A_S_RANGE, r.A_S_RANGE), CopyRow(f.I_S_RANGE, r.I_S_RANGE);
    CopyRow(f.A_F_RANGE, r.A_F_RANGE), CopyRow(f.I_F_RANGE, r.I_F_RANGE);
    CopyRow(f.A_C_RANGE, r.A_C_RANGE), CopyRow(f.I_C_RANGE, r.I_C_RANGE);
    CopyRow(f.A_ADVANCE_num, r.A_ADVANCE_num), CopyRow(f.I_ADVANCE_num, r.I_ADVANCE_num);
    CopyRow(f.A_CLUSTER_num, r.A_CLUSTER_num), CopyRow(f.I_CLUSTER_num, r.I_CLUSTER_num);
    CopyRow(f.A_COMBAT_num, r.A_COMBAT_num), CopyRow(f.I_COMBAT_num, r.I_COMBAT_num);
}

// Every RED agent value the best chromosome's file takes from the decoding;
// the local-commander weights are not searched and stay the document's.
void TakeEvolvedValues(CForce& f, const CGaDecoded& r)
{
    TakeBestRows(f, r);
    f.NumAgents = r.NumRed;
    f.NumSquads = r.NumSquads;
    CopyRow(f.num_per_squad, r.num_per_squad);
    CopyRow(f.A_M_RANGE, r.A_M_RANGE), CopyRow(f.I_M_RANGE, r.I_M_RANGE);
    float(*alive[])[SquadSlots] = {&f.w1_a, &f.w2_a, &f.w3_a, &f.w4_a, &f.w5_a, &f.w6_a};
    float(*injured[])[SquadSlots] = {&f.w1_i, &f.w2_i, &f.w3_i, &f.w4_i, &f.w5_i, &f.w6_i};
    for (int w = W1; w <= W6; ++w) {
        CopyRow(*alive[w - W1], r.Weight[0][w]);
        CopyRow(*injured[w - W1], r.Weight[1][w]);
    }
    CopyRow(f.alive_strength, r.alive_strength), CopyRow(f.injured_strength, r.injured_strength);
    f.COMM_range = r.COMM_range;
    f.A_COMM_weight = r.A_COMM_weight;
    f.I_COMM_weight = r.I_COMM_weight;
    CopyRow(f.A_R_R_min_dist, r.A_R_R_min_dist), CopyRow(f.I_R_R_min_dist, r.I_R_R_min_dist);
    CopyRow(f.A_R_B_min_dist, r.A_R_B_min_dist), CopyRow(f.I_R_B_min_dist, r.I_R_B_min_dist);
    CopyRow(f.A_R_R_goal_min, r.A_R_R_goal_min), CopyRow(f.I_R_R_goal_min, r.I_R_R_goal_min);
    CopyRow(f.shot_prob_alive, r.shot_prob_alive), CopyRow(f.shot_prob_injured, r.shot_prob_injured);
    CopyRow(f.A_R_max_eng_num, r.A_R_max_eng_num), CopyRow(f.I_R_max_eng_num, r.I_R_max_eng_num);
}

void WriteWhole(const CBrevimarDoc& doc, const Layout& layout, std::ostream& out)
{
    DefaultFormat format(out);
    ScenarioText text(out);
    // RED's section from a copy when the genetic algorithm decides some of it.
    std::unique_ptr<CForce> red;
    if (layout.Best) {
        red = std::make_unique<CForce>(doc.RedForce);
        TakeEvolvedValues(*red, *layout.Best);
    } else if (doc.Ga.GaBestShown != 0) {
        red = std::make_unique<CForce>(doc.RedForce);
        TakeBestRows(*red, doc.Ga.GaBestDecoded);
    }
    WriteGeneral(doc, layout, text);
    WriteStatistics(doc.Statistics, text);
    WriteGlobalCommand(doc.RedGlobal, Side::Red, text);
    WriteGlobalCommand(doc.BlueGlobal, Side::Blue, text);
    WriteLocalCommand(doc.RedLocal, Side::Red, text);
    WriteLocalCommand(doc.BlueLocal, Side::Blue, text);
    WriteAgentParameters(red ? *red : static_cast<const CForce&>(doc.RedForce), doc.RedLocal, Side::Red, layout.Version, text);
    WriteAgentParameters(doc.BlueForce, doc.BlueLocal, Side::Blue, layout.Version, text);
    WriteTerrain(doc.Battlefield, text);
    WriteCapture(doc, text);
}

}  // namespace

void WriteScenario(const CBrevimarDoc& doc, std::ostream& out)
{
    WriteWhole(doc, Layout{}, out);
}

void WriteChromosomeScenario(const CBrevimarDoc& doc, const CGaDecoded& best, std::ostream& out)
{
    WriteWhole(doc, Layout{1, &best}, out);
}

FileCommandResult WriteChromosomeInputDataFile(CBrevimarDoc& doc)
{
    return RunFileCommand(doc, FileCommand::BestScenarioWrite, [&doc](std::iostream& stream, const ChosenFile&) {
        WriteChromosomeScenario(doc, doc.Ga.GaBestDecoded, stream);
    });
}

FileCommandResult WriteInputDataFile(CBrevimarDoc& doc, FileCommand command)
{
    const FileCommandResult result =
        RunFileCommand(doc, command, [&doc](std::iostream& stream, const ChosenFile&) { WriteScenario(doc, stream); });
    if (result == FileCommandResult::Done)
        doc.Statistics.AllStatisticsOn = 0;
    return result;
}

}  // namespace brevimar
