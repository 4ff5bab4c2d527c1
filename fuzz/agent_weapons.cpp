// The agent-specific weapons file (*.awp), and on success what its load
// command does next: balance each squad's carriers and arm the agents.
#include "files/WeaponFiles.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    // The reader and the balancing touch the forces only: a whole document
    // state per input would cost most of the time.
    static const CDocumentState* fresh = fuzz::ScratchState().release();
    static CDocumentState* state = new CDocumentState(*fresh);
    state->RedForce = fresh->RedForce;
    state->BlueForce = fresh->BlueForce;
    std::string problem;
    if (ReadAgentWeaponsText(fuzz::Text(data, size), state, &problem))
        for (CForce* force : {static_cast<CForce*>(&state->RedForce), static_cast<CForce*>(&state->BlueForce)}) {
            BalanceSquadWeapons(*force);
            HandOutWeapons(*force);
        }
    return 0;
}
