// The terrain-modified agent data file (*.tma), read into a scratch document.
#include "core/TerrainModifiers.h"
#include "files/TerrainModifierFile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static const CTerrainModifiers* fresh = new CTerrainModifiers;
    static CTerrainModifiers* modifiers = new CTerrainModifiers;
    *modifiers = *fresh;  // a whole document state per input would cost most of the time
    std::string problem;
    ReadTerrainModifiedAgentText(fuzz::Text(data, size), modifiers, &problem);
    return 0;
}
