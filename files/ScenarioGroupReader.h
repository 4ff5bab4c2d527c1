// The scenario groups of a scenario input data file, read by walking the
// table of files/ScenarioFormat.h. Both scenario readers use it alike, so
// that a file gives one battle whichever reads it.
#pragma once

#include <string>

namespace brevimar {

struct CDocumentState;
class CWordReader;

// The scenario groups of a scenario input data file, data versions 1 to 4,
// with the derivations made while reading (deployment corners, move-order
// marks, statistics switches, commander patches and weights, squad sizes,
// personalities with their random draws on state.RandomState, per-agent
// copies, terrain). Values are checked against the arrays they index. On a
// problem *problem names it and state is left half-written: it must be a
// scratch copy.
bool ReadScenarioGroups(CWordReader& words, CDocumentState& state, std::string* problem);

}  // namespace brevimar
