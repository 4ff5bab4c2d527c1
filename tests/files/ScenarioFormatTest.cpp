#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "core/Document.h"
#include "files/ScenarioFormat.h"

namespace brevimar {
namespace {

constexpr ScenarioSection AllSections[] = {
    ScenarioSection::General,          ScenarioSection::Statistics,        ScenarioSection::GlobalFlag,
    ScenarioSection::Global,           ScenarioSection::LocalFlag,         ScenarioSection::Local,
    ScenarioSection::Commander,        ScenarioSection::Agents,            ScenarioSection::TerrainBanner,
    ScenarioSection::TerrainBlockCount, ScenarioSection::TerrainBlock,     ScenarioSection::TerrainCellCount,
    ScenarioSection::TerrainCell,
};

// The keyword lines a file of each version leaves out, as the readers'
// version table gives them (RED labels). The alive constraint group from
// A:C_RANGE is not among them: older files may carry it, and it is read when
// its label is there.
TEST(ScenarioFormat, LinesEachVersionLeavesOut)
{
    const std::set<std::string> version3 = {"w_flock_alive", "w_flock_injured", "A:R_flock_min",
                                            "A:R_flock_max", "I:R_flock_min",   "I:R_flock_max"};
    std::set<std::string> version2 = version3;
    version2.insert({"w_area_alive", "w_area_injured", "R_area_min_flag", "A:R_area_min", "I:R_area_min"});
    std::set<std::string> version1 = version2;
    version1.insert({"ADVANCE_flag", "CLUSTER_flag", "COMBAT_flag", "HOLD_flag", "PURSUIT1_flag", "PURSUIT2_flag",
                     "RETREAT_flag", "SUPPORT1_flag", "SUPPORT2_flag", "R_R_min_dist_flag_flag",
                     "R_B_min_dist_flag_flag", "R_R_goal_min_flag", "R_terrain_min_flag"});
    for (const char* prefix : {"A:", "I:"})
        for (const char* row : {"HOLD_f", "PURSUIT1_num", "PURSUIT2_num", "RETREAT_num", "SUPPORT1_num", "SUPPORT2_num"})
            version1.insert(std::string(prefix) + row);
    const std::set<std::string> expected[] = {version1, version2, version3, {}};

    for (int version = 1; version <= 4; ++version) {
        std::set<std::string> missing;
        std::set<std::string> byLabel;
        for (ScenarioSection section : AllSections)
            for (const ScenarioLine& line : SectionLines(section)) {
                if (line.Kind != ScenarioLineKind::Values || line.CarriedBy(version))
                    continue;
                if (line.Missing == WhenAbsent::KeepUnlabelled)
                    byLabel.insert(LabelWord(line.Red, 0));
                else
                    missing.insert(LabelWord(line.Red, 0));
            }
        EXPECT_EQ(missing, expected[version - 1]) << "version " << version;
        const std::set<std::string> group = {"A:C_RANGE", "A:ADVANCE_num", "A:CLUSTER_num", "A:COMBAT_num"};
        EXPECT_EQ(byLabel, version < 4 ? group : std::set<std::string>{}) << "version " << version;
    }
}

// The readers skip every label as one word, and every value has a member of
// its own: no two lines (nor the two sides) share one, and none lies outside
// the blocks of a walk.
TEST(ScenarioFormat, EveryLabelIsOneWordAndEveryValueHasAMemberOfItsOwn)
{
    auto state = std::make_unique<CDocumentState>();
    ScenarioBlocks blocks;
    blocks.Battlefield = &state->Battlefield;
    blocks.Statistics = &state->Statistics;
    blocks.Force[0] = &state->RedForce;
    blocks.Force[1] = &state->BlueForce;
    blocks.Global[0] = &state->RedGlobal;
    blocks.Global[1] = &state->BlueGlobal;
    blocks.Local[0] = &state->RedLocal;
    blocks.Local[1] = &state->BlueLocal;
    auto inside = [&](const void* p, const void* object, std::size_t size) {
        const char* c = static_cast<const char*>(p);
        return c >= static_cast<const char*>(object) && c < static_cast<const char*>(object) + size;
    };

    std::set<const void*> seen;
    int values = 0;
    for (ScenarioSection section : AllSections)
        for (Side side : {Side::Red, Side::Blue}) {
            // Sections walked once are walked for RED.
            const bool perSide = section == ScenarioSection::GlobalFlag || section == ScenarioSection::Global ||
                                 section == ScenarioSection::LocalFlag || section == ScenarioSection::Local ||
                                 section == ScenarioSection::Commander || section == ScenarioSection::Agents;
            if (side == Side::Blue && !perSide)
                continue;
            for (const ScenarioLine& line : SectionLines(section)) {
                if (line.Kind != ScenarioLineKind::Values)
                    continue;
                for (int version : {1, 4}) {
                    const char* label = line.Label(side, version);
                    EXPECT_EQ(WordCount(label), 1) << label;
                    EXPECT_EQ(LabelWord(label, 7).find('#'), std::string::npos) << label;
                }
                for (const ScenarioField& field : line.Values) {
                    if (!field.Used())
                        continue;
                    for (int k = 0; k < field.Count; ++k) {
                        const void* p = field.Type == ScenarioValueType::Int
                                            ? static_cast<void*>(ScenarioValue<int>(blocks, field, side, 1, k))
                                        : field.Type == ScenarioValueType::Float
                                            ? static_cast<void*>(ScenarioValue<float>(blocks, field, side, 1, k))
                                            : static_cast<void*>(ScenarioValue<double>(blocks, field, side, 1, k));
                        EXPECT_TRUE(inside(p, state.get(), sizeof(CDocumentState)) ||
                                    inside(p, &blocks, sizeof(blocks)))
                            << line.Red;
                        EXPECT_TRUE(seen.insert(p).second) << line.Text(side) << " value " << k;
                        ++values;
                    }
                }
            }
        }
    // Counted from the file's layout: data_version, battle_size, init_dist,
    // four box pair rows of 20, two flag pairs, six switches, six fratricide
    // and four reconstitution values; eight statistics switches; per side a
    // global switch and 12 parameters, a local switch, 3 command values and
    // 20 per commander; per side 80 per-squad rows, 11 single values and 7
    // pairs; terrain: the block count, a block's 5 values, the cell count and
    // a cell's 3.
    const int general = 3 + 4 * 20 + 2 * 2 + 6 + 6 + 4;
    const int statistics = 8;
    const int command = (1 + 12) + (1 + 3) + 20;
    const int agents = 80 * MaxSquads + 11 + 7 * 2;
    const int terrain = 1 + 5 + 1 + 3;
    EXPECT_EQ(values, general + statistics + 2 * (command + agents) + terrain);
}

}  // namespace
}  // namespace brevimar
