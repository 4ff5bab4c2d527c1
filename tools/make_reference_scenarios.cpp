// Writes the reference scenarios of the benchmarks and integration tests:
//   make_reference_scenarios DIR
// large.dat         300 against 300 on 150 x 150, sensor 5, movement 2, communications on
// large_terrain.dat the same over terrain blocks of every type (the benchmark adds weapons)
// small.dat         50 against 50 on 80 x 80
#include <fstream>
#include <iostream>
#include <string>

#include "core/Document.h"
#include "files/ScenarioWriter.h"

namespace {

using namespace brevimar;

struct Layout {
    int BattleSize;
    int PerSide;
    int Squads;
    bool Terrain;
};

void Describe(CBrevimarDoc& doc, const Layout& layout)
{
    CBattlefield& f = doc.Battlefield;
    f.BattleSize = layout.BattleSize;
    f.MoveOrder = 2;
    f.termination = 2;
    const int S = layout.BattleSize;
    const int perSquad = layout.PerSide / layout.Squads;
    // Square boxes with twice the cells their squad needs, side by side along
    // each side's own corner of the battlefield.
    int box = 1;
    while (box * box < 2 * perSquad)
        ++box;
    for (int s = 1; s <= layout.Squads; ++s) {
        f.R_box_l[s] = f.R_box_w[s] = box;
        f.B_box_l[s] = f.B_box_w[s] = box;
        f.RED_cen_x[s] = box / 2 + 2 + (s - 1) * (box + 2);
        f.RED_cen_y[s] = box / 2 + 2;
        f.BLUE_cen_x[s] = S - box / 2 - 2 - (s - 1) * (box + 2);
        f.BLUE_cen_y[s] = S - box / 2 - 2;
    }
    doc.RedForce.GoalFlagX = doc.RedForce.GoalFlagY = S - 3;  // the BLUE flag
    doc.BlueForce.GoalFlagX = doc.BlueForce.GoalFlagY = 4;    // the RED flag

    for (Side side : {Side::Red, Side::Blue}) {
        CForce& force = doc.Force(side);
        force.NumAgents = layout.PerSide;
        force.NumSquads = layout.Squads;
        force.personality = 1;
        force.CommOn = 1;
        force.COMM_range = 10;
        force.A_COMM_weight = 0.5f;
        force.I_COMM_weight = 0.25f;
        for (int s = 1; s <= layout.Squads; ++s) {
            force.num_per_squad[s] = perSquad;
            force.w1_a[s] = 10, force.w2_a[s] = 40, force.w3_a[s] = 10, force.w4_a[s] = 40;
            force.w5_a[s] = 0, force.w6_a[s] = 25 + 10 * s;
            force.w1_i[s] = 10, force.w2_i[s] = -40, force.w3_i[s] = 10, force.w4_i[s] = -20;
            force.w5_i[s] = 30, force.w6_i[s] = 5;
            force.w_terrain_alive[s] = layout.Terrain ? 5 : 0;
            force.A_S_RANGE[s] = force.I_S_RANGE[s] = 5;
            force.A_F_RANGE[s] = 3;
            force.I_F_RANGE[s] = 2;
            force.A_C_RANGE[s] = force.I_C_RANGE[s] = 2;
            force.A_M_RANGE[s] = 2;
            force.I_M_RANGE[s] = 1;
            force.shot_prob_alive[s] = 0.05f;
            force.shot_prob_injured[s] = 0.025f;
            force.A_R_max_eng_num[s] = 3;
            force.I_R_max_eng_num[s] = 2;
            force.movement_flag[s] = 1;
            force.CLUSTER_flag[s] = force.COMBAT_flag[s] = 1;
            force.A_ADVANCE_num[s] = 3;
            force.A_CLUSTER_num[s] = 5;
            force.A_COMBAT_num[s] = 2;
            force.I_CLUSTER_num[s] = 5;
            force.I_COMBAT_num[s] = 4;
            force.alive_strength[s] = force.injured_strength[s] = 1;
            for (int t = 1; t <= layout.Squads; ++t)
                force.CommMatrix[s][t] = 1;
        }
    }

    if (layout.Terrain) {
        f.TerrainMode = 1;
        const int types[] = {Lava, Pillar, PassableI, PassableII, PassableIII, Lava};
        f.terrain_blocks = 6;
        for (int b = 1; b <= 6; ++b) {
            f.TerrainBlockType[b] = types[b - 1];
            f.TerrainBlockLength[b] = 6 + 2 * (b % 3);
            f.TerrainBlockWidth[b] = 10 - 2 * (b % 2);
            f.TerrainBlockX[b] = S / 4 + ((b - 1) % 3) * (S / 4);
            f.TerrainBlockY[b] = b <= 3 ? S / 3 : 2 * S / 3;
            f.TerrainBlockUsed[b] = 1;
        }
    }
}

bool Write(const std::string& path, const Layout& layout)
{
    auto doc = CBrevimarDoc::Create();
    doc->AllocateHeapBuffers();
    Describe(*doc, layout);
    std::ofstream out(path, std::ios::binary);
    WriteScenario(*doc, out);
    out.close();
    if (!out) {
        std::cerr << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_reference_scenarios DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = Write(dir + "/large.dat", {150, 300, 3, false}) &&
                    Write(dir + "/large_terrain.dat", {150, 300, 3, true}) &&
                    Write(dir + "/small.dat", {80, 50, 2, false});
    return ok ? 0 : 1;
}
