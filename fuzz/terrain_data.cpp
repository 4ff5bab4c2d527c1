// The terrain file (*.ter) as File/Load reads it, onto the largest
// battlefield and onto a small one.
#include "core/Battlefield.h"
#include "files/TerrainFiles.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static const CBattlefield* fresh = new CBattlefield;
    static CBattlefield* field = new CBattlefield;
    for (int battleSize : {150, 12}) {
        *field = *fresh;
        field->BattleSize = battleSize;
        std::string problem;
        ReadTerrainText(fuzz::Text(data, size), field, &problem);
    }
    return 0;
}
