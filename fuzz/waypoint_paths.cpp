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
    ReadWaypointPathText(fuzz::Text(data, size), red.get(), blue.get(), &problem);
    return 0;
}
