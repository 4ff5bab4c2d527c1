// The File menu's scenario loader (a *.dat file), read and committed.
#include "files/StartupReader.h"
#include "files/WordReader.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    auto state = fuzz::ScratchState();
    CWordReader words(fuzz::Text(data, size));
    std::string problem;
    ReadScenarioGroups(words, *state, &problem, MenuReadOptions);
    return 0;
}
