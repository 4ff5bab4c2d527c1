// The squad-specific weapons file (*.wp), read into a scratch document.
#include "files/WeaponFiles.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    auto red = std::make_unique<SquadWeaponFunction>();
    auto blue = std::make_unique<SquadWeaponFunction>();
    std::string problem;
    ReadSquadWeaponsText(fuzz::Text(data, size), red.get(), blue.get(), &problem);
    return 0;
}
