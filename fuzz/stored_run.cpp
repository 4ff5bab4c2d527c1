// A stored run: scenario groups, then the frames, as both loaders read them.
#include "files/RunFrames.h"
#include "files/StartupReader.h"
#include "files/WordReader.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    auto state = fuzz::ScratchState();
    CWordReader words(fuzz::Text(data, size));
    std::string problem;
    CStoredFrames frames;
    int lastStep = 0;
    if (ReadScenarioGroups(words, *state, &problem))
        ReadStartupFrames(words, state->RedForce.NumAgents, state->BlueForce.NumAgents, state->Battlefield.BattleSize,
                          state->RunHeader.CurrentStep, &frames, &lastStep, &problem);
    return 0;
}
