// The File menu's scenario loader: replaces the whole scenario of an open
// document with a scenario input data file (*.dat) or a stored run (*.run),
// rebuilds the per-agent tables and the run state, and either starts a fresh
// interactive run or prepares the stored frames for playback. The file is read
// into a scratch copy and checked as it goes; a file that cannot be read
// leaves the document's scenario as it was.
#pragma once

#include <string>

namespace brevimar {

class CBrevimarDoc;

// Pauses the run, asks for the file (through the common file-command frame)
// and reads it. Which kind is read follows
// the document's LoadInputFile as the caller left it: 1 a scenario input data
// file, anything else a stored run. Returns 1 when a file was read, 0 when the
// chooser was cancelled or the file was refused (the user has then been told
// why). The view is invalidated in every case.
int LoadInputDataFile(CBrevimarDoc& doc);

// A stored run for playback: run mode 0 and a run file are asked for, and put
// back as they were when nothing was read. Returns what LoadInputDataFile did.
int LoadStoredRunFile(CBrevimarDoc& doc);

// How the menu loader reads the scenario groups.
struct ScenarioReadOptions;
extern const ScenarioReadOptions MenuReadOptions;

// The same for a file already chosen: no pause, no chooser, no final redraw.
// True when the file was read and committed.
bool ReadInputDataFile(CBrevimarDoc& doc, const std::string& path);

}  // namespace brevimar
