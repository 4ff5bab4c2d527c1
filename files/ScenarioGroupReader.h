// The scenario groups of a scenario input data file, read by walking the
// table of files/ScenarioFormat.h. Both scenario readers use it; where they
// differ in the groups, ScenarioReadOptions says how.
#pragma once

#include <string>

namespace brevimar {

struct CDocumentState;
class CWordReader;

// Where the File menu's scenario loader reads a scenario file differently
// from the start-up reader. The defaults are the start-up reader's.
struct ScenarioReadOptions {
    // A version-2 file switches the squad-area flag on for RED squads only.
    bool BlueAreaFlagOffInVersion2 = false;
    // A flock minimum above its maximum is lowered to the maximum.
    bool ClampFlockMinimum = false;
};

// How the File menu's loader reads the scenario groups.
inline constexpr ScenarioReadOptions MenuReadOptions{
    .BlueAreaFlagOffInVersion2 = true,
    .ClampFlockMinimum = true,
};

// The scenario groups of a scenario input data file, data versions 1 to 4,
// with the derivations made while reading (deployment corners, move-order
// marks, statistics switches, commander patches and weights, squad sizes,
// personalities with their random draws on state.RandomState, per-agent
// copies, terrain). Values are checked against the arrays they index. On a
// problem *problem names it and state is left half-written: it must be a
// scratch copy.
bool ReadScenarioGroups(CWordReader& words, CDocumentState& state, std::string* problem,
                        const ScenarioReadOptions& options = {});

}  // namespace brevimar
