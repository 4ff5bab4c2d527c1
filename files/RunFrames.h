// Stored runs as frames: for one time step, the state and cell of every agent
// of both sides. Frames come as the appendix of a stored-run file and as
// frame files, in two layouts: the start-up layout, led by a full run header,
// and the short layout of File/Open, led by four counts. Frames are checked
// in full before any of them reaches the capture buffers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/RunHeader.h"

namespace brevimar {

class CBrevimarDoc;
class CWordReader;

// Frames read and checked, not yet stored.
struct CStoredFrames {
    int RedCount = 0;
    int BlueCount = 0;
    std::vector<int> Steps;   // step of each frame, in file order
    std::vector<int> Values;  // per frame: state, x, y of RED agents 1..RedCount, then of BLUE agents

    int FrameCount() const { return static_cast<int>(Steps.size()); }
};

// The frame loop of the start-up reader: frames follow one another until the
// text ends or a frame with step 350 or later has been read. startStep is the
// step the run stands at before the read; *lastStep receives the step of the
// last frame read (startStep when there is none). A frame whose step lies
// outside the capture rows, an agent off the battleSize x battleSize
// battlefield, a word that is not a number or a frame cut short is refused
// with *problem set.
bool ReadStartupFrames(CWordReader& words, int redCount, int blueCount, int battleSize, int startStep,
                       CStoredFrames* frames, int* lastStep, std::string* problem);

// The frames of a stored run: when a frame part way is damaged (cut short,
// off the battlefield, a state outside 0..2, ...) the complete frames before
// it are kept and *warning says which frame of the file `path` is damaged
// and why. False, with *problem set, only when not one frame is complete.
bool ReadStoredRunFrames(CWordReader& words, int redCount, int blueCount, int battleSize, int startStep,
                         const std::string& path, CStoredFrames* frames, int* lastStep, std::string* problem,
                         std::string* warning);

// Rows of the six capture buffers from the frames, in file order.
void StoreFrames(CBrevimarDoc& doc, const CStoredFrames& frames);

// The 80 values that lead a frame file in the start-up layout, into the
// header fields in their order. The lattice size and the counts are checked.
bool ReadRunHeaderValues(CWordReader& words, CRunHeader* header, std::string* problem);

// A frame file in the start-up layout: header and frames are read and
// checked, then committed: replay mode, lattice extents, frames, live counts,
// LastStep, and the lattice rebuilt from frame 1. On a problem nothing of the
// document changes.
bool LoadStartupFrameFile(CBrevimarDoc& doc, CWordReader& words, std::string* problem);

// A frame file in the short layout (lattice size, RED count, BLUE count,
// last step, then frames until one whose step reaches the last step), for the
// File/Open command. It fills the run header's size and counts, LastStep and
// the capture rows (those without a frame emptied); the run mode and the
// lattice are the command's business.
// On failure *error holds the whole message for the user and the document is
// unchanged.
bool ReadShortFrameFile(CBrevimarDoc& doc, const std::string& path, std::string* error);
// The same on the file's text; path only names the file in messages.
bool ReadShortFrameText(CBrevimarDoc& doc, std::string_view text, const std::string& path, std::string* error);

// Messages about input files, shared by the readers.
std::string CannotOpenInputFileMessage(const std::string& path);
std::string BadInputFileMessage(const std::string& path, const std::string& problem);

}  // namespace brevimar
