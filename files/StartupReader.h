// The scenario chosen when a document is created: a scenario input data
// file, a stored run (scenario plus frames) or a frame file. The file is read
// into a scratch copy of the document's state and checked as it goes; only a
// file read without a problem replaces the document's scenario.
#pragma once

#include <string>

namespace brevimar {

class CBrevimarDoc;
struct CDocumentState;
struct CStoredFrames;
class CWordReader;

// The generator's seed for the personalities a scenario file draws, as both
// scenario readers start it.
inline constexpr int ScenarioSeed = -31415926;

enum class StartupFileKind {
    FrameFile,  // "out", "OUT"
    Scenario,   // "dat", "DAT"
    StoredRun,  // "run", "RUN"
    Unlisted,   // anything else, "Dat" included: nothing is read
};

// By the extension as the chooser gives it, without the dot; the comparison
// is exact and case-sensitive.
StartupFileKind ClassifyStartupExtension(const std::string& extension);

// x when x is not below 0, else -x: the scenario readers' absolute value.
float FloatAbs(float x);

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

// Tails both scenario readers share once a file has been committed.
// The per-agent current ranges, display and run switches, weapon defaults,
// lattice extents and live counts that follow a newly read scenario.
void DeriveRunState(CBrevimarDoc& doc);
// The force composition that Restart brings back after agent editing.
void KeepInitialComposition(CBrevimarDoc& doc);
// Playback of the stored frames, from the deployment of frame 0.
void StartStoredRun(CBrevimarDoc& doc, const CStoredFrames& frames, int lastStep);

}  // namespace brevimar
