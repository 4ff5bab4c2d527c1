// Loading a scenario into an open document, by path. Each load reads the file
// into a scratch copy and checks it as it goes; a file that cannot be read
// leaves the document's scenario as it was, and the user is told why through
// the document's host. The menu commands call these after their chooser; the
// headless runner and the tests call them directly.
#pragma once

#include <string>

namespace brevimar {

class CBrevimarDoc;

struct LoadResult {
    bool Read = false;
    // Why the file was refused, or the warning a file read with; empty when
    // there was nothing to say.
    std::string Message;
};

// A new document that read no scenario (the chooser cancelled, or the file
// refused) runs its built-in one: every agent deployed on a cell of its own.
void StartBuiltInScenario(CBrevimarDoc& doc);

// What a new document does with the file chosen at start-up: by extension, a
// scenario (.dat), a stored run for playback (.run) or a frame file (.out),
// each in all-lower or all-upper case; a file of any other extension is
// refused unread, with the document as it was.
LoadResult LoadStartupFile(CBrevimarDoc& doc, const std::string& path);

// A new document started from a file named before it opens (the command
// line, a dropped file, the recent-file list), as if the start-up chooser had
// picked it. False when the file was refused; a refused file other than a
// document file leaves the built-in scenario, as a Cancel in the chooser does.
bool NewDocumentFromFile(CBrevimarDoc& doc, const std::string& path);

// A document file (.brv) opened into a new document, from its name or its
// start-up chooser, or into a battlefield window by File/Open: it holds a run
// history and no scenario, so its frames are replayed from its own field and
// counts as a frame file's are (run mode 2), paused on the first. A GA or a
// landscape standing in the window ends as Interactive ends it. False,
// reported, when it cannot be read: the document is left as it was.
bool LoadDocumentHistory(CBrevimarDoc& doc, const std::string& path);

// The File menu's scenario loader: a scenario input data file replaces the
// whole scenario and a fresh interactive run (run mode 1) starts from a random
// deployment, without waypoint paths.
LoadResult LoadScenario(CBrevimarDoc& doc, const std::string& path);

// The File menu's stored-run loader: the scenario and frames of a run file,
// ready for playback in run mode 0. The run mode and the loader's kind are
// put back as they were when nothing was read.
LoadResult LoadStoredRun(CBrevimarDoc& doc, const std::string& path);

// The menu commands: pause, ask for the file (through the common
// file-command frame) and load it. The kind read follows the document's
// LoadInputFile as the caller left it: 1 a scenario input data file, anything
// else a stored run. Returns 1 when a file was read, 0 when the chooser was
// cancelled or the file was refused. The view is invalidated in every case.
int LoadInputDataFile(CBrevimarDoc& doc);
// A stored run for playback: run mode 0 and a run file are asked for, and put
// back as they were when nothing was read. Returns what LoadInputDataFile did.
int LoadStoredRunFile(CBrevimarDoc& doc);

}  // namespace brevimar
