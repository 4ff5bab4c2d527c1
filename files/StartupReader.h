// The scenario chosen when a document is created: a scenario input data
// file, a stored run (scenario plus frames) or a frame file. The file is read
// into a scratch copy of the document's state and checked as it goes; only a
// file read without a problem replaces the document's scenario.
#pragma once

#include <string>

#include "files/ScenarioGroupReader.h"

namespace brevimar {

class CBrevimarDoc;
struct CDocumentState;
struct CStoredFrames;

enum class StartupFileKind {
    FrameFile,  // "out", "OUT"
    Scenario,   // "dat", "DAT"
    StoredRun,  // "run", "RUN"
    Unlisted,   // anything else, "Dat" included: refused unread
};

// Why a file of an unlisted extension is refused: the kinds of file a new
// document reads, document files (.brv, read before this reader) included.
extern const char UnlistedStartupFileProblem[];

// By the extension as the chooser gives it, without the dot; the comparison
// is exact and case-sensitive.
StartupFileKind ClassifyStartupExtension(const std::string& extension);

// x when x is not below 0, else -x: the scenario readers' absolute value.
float FloatAbs(float x);

// Tails both scenario readers share once a file has been committed.
// The per-agent current ranges, display and run switches, weapon defaults,
// lattice extents and live counts that follow a newly read scenario.
void DeriveRunState(CBrevimarDoc& doc);
// The force composition that Restart brings back after agent editing.
void KeepInitialComposition(CBrevimarDoc& doc);
// Playback of the stored frames, from the deployment of frame 0.
void StartStoredRun(CBrevimarDoc& doc, const CStoredFrames& frames, int lastStep);

}  // namespace brevimar
