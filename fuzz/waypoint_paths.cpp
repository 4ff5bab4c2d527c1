// The terrain waypoint path file (*.pth), both sides' fields.
#include "core/PathField.h"
#include "files/TerrainFiles.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    auto red = std::make_unique<CPathField>();
    auto blue = std::make_unique<CPathField>();
    std::string problem;
    // The seeds' battlefields: the hand-made 3 x 3 field's, and the largest.
    for (const int battleSize : {2, MaxBattleSize})
        ReadWaypointPathText(fuzz::Text(data, size), battleSize, red.get(), blue.get(), &problem);
    return 0;
}
