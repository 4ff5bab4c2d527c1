// A fitness landscape input file (*.f1) loaded as File > Load does, then one
// small sweep of it on a small skirmish of three squads a side: 2 x 2 grid
// points (the file's minima and maxima), one initial condition, runs of at
// most 6 observed steps. Finds the values a reader accepts that the sweep
// cannot use, and traps where the value a grid point is labelled with (in
// the report and the chart) is not what its runs hold.
#include <algorithm>
#include <functional>
#include <utility>

#include "experiments/LandscapeFiles.h"
#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"
#include "experiments/LandscapeSweep.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/Scenarios.h"

using namespace brevimar;

namespace {

// Called once per observed step of a run.
class SweepHost : public fuzz::QuietHost {
public:
    std::function<void()> OnPump;
    void PumpOneMessage() override { OnPump(); }
};

// Each side's six agents in three squads of two, squads 2 and 3 like squad 1
// and in its box.
void SplitIntoThreeSquads(CBrevimarDoc& doc)
{
    auto copy = [](auto&... rows) { ((rows[2] = rows[3] = rows[1]), ...); };
    CBattlefield& f = doc.Battlefield;
    copy(f.R_box_l, f.R_box_w, f.RED_cen_x, f.RED_cen_y, f.B_box_l, f.B_box_w, f.BLUE_cen_x, f.BLUE_cen_y);
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& r = doc.Force(side);
        copy(r.w1_a, r.w2_a, r.w3_a, r.w4_a, r.w5_a, r.w6_a, r.w1_i, r.w2_i, r.w3_i, r.w4_i, r.w5_i, r.w6_i,
             r.A_S_RANGE, r.I_S_RANGE, r.A_F_RANGE, r.I_F_RANGE, r.A_C_RANGE, r.I_C_RANGE, r.A_M_RANGE,
             r.I_M_RANGE, r.shot_prob_alive, r.shot_prob_injured, r.A_R_max_eng_num, r.I_R_max_eng_num,
             r.A_ADVANCE_num, r.A_CLUSTER_num, r.A_COMBAT_num);
        r.NumSquads = 3;
        r.num_per_squad[1] = r.num_per_squad[2] = r.num_per_squad[3] = 2;
    }
    doc.InitializeForces();
    doc.ResetBattlefield();
}

// The x and y labels of the open grid point against what its runs hold: a
// squad size in the agents of that squad, any other value in its field.
bool LabelsHold(const CBrevimarDoc& doc)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const CLandscapeRunState& run = doc.Landscape.Run;
    const CLandscapeResults& r = doc.Landscape.Results();
    const int ix = run.PointX, iy = run.PointY;
    for (const auto& [index, label] : {std::pair{s.LandscapeXParameter, r.LandscapeXUsed[ix][iy]},
                                       std::pair{s.LandscapeYParameter, r.LandscapeYUsed[ix][iy]}}) {
        double held = LandscapeFieldValue(doc, index);
        if (index == 1) {
            const CForce& red = doc.RedForce;
            held = 0;
            for (int i = 1; i <= red.NumAgents && i <= MaxAgents; ++i)
                held += red.AgentSquad[i] == s.LandscapeSquad;
        }
        if (held != label)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A fresh document per input: a sweep leaves its values in the forces.
    SweepHost host;
    const std::unique_ptr<CBrevimarDoc> document = CBrevimarDoc::Create();
    CBrevimarDoc& doc = *document;
    doc.SetHost(&host);
    doc.AllocateHeapBuffers();
    testing::MakeSkirmish(doc, {.PerSide = 6, .BattleSize = 24});
    SplitIntoThreeSquads(doc);
    CLandscapeInput input = StartingLandscapeInput(doc);
    std::string problem;
    if (!ParseLandscapeInput(fuzz::Text(data, size), input, &problem))
        return 0;
    ApplyLandscapeInput(doc, input);
    CLandscapeSettings& s = doc.Landscape.Settings;
    s.LandscapeInitialConditions = 1;
    s.LandscapeMaxTimeToFlag = std::min(s.LandscapeMaxTimeToFlag, 6);
    s.LandscapeXSamples = s.LandscapeYSamples = 1;
    DeriveLandscapeGrid(doc);
    host.OnPump = [&doc] {
        if (!LabelsHold(doc))
            __builtin_trap();
    };
    doc.Resume();
    RunLandscapeBatch(doc);
    return 0;
}
