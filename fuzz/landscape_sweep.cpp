// A fitness landscape input file (*.f1) loaded as File > Load does, then one
// small sweep of it on a small skirmish: 2 x 2 grid points (the file's minima
// and maxima), one initial condition, runs of at most 6 observed steps. Finds
// the values a reader accepts that the sweep cannot use.
#include <algorithm>
#include <sstream>

#include "experiments/LandscapeFiles.h"
#include "experiments/LandscapeSetup.h"
#include "experiments/LandscapeSweep.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/Scenarios.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    // A fresh document per input: a sweep leaves its values in the forces.
    fuzz::Document document;
    CBrevimarDoc& doc = *document.Doc;
    testing::MakeSkirmish(doc, {.PerSide = 5, .BattleSize = 24});
    CLandscapeInput input = StartingLandscapeInput(doc);
    std::istringstream in(fuzz::Text(data, size));
    std::string problem;
    if (!ParseLandscapeInput(in, input, &problem))
        return 0;
    ApplyLandscapeInput(doc, input);
    CLandscapeSettings& s = doc.Landscape.Settings;
    s.LandscapeInitialConditions = 1;
    s.LandscapeMaxTimeToFlag = std::min(s.LandscapeMaxTimeToFlag, 6);
    s.LandscapeXSamples = s.LandscapeYSamples = 1;
    DeriveLandscapeGrid(doc);
    doc.Resume();
    RunLandscapeBatch(doc);
    return 0;
}
