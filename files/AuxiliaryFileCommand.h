// What the auxiliary parameter files (terrain, waypoint paths, terrain
// modifiers, weapons, agents, matrices) share around the common file-command
// frame: a reader parses the whole file into a scratch copy and commits only
// when every value was read and checked; anything short of that (a cancelled
// chooser, a file that does not open, bad content) leaves the document as it
// was, the settings the frame makes before its chooser included.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "files/FileCommandFrame.h"

namespace brevimar {

class CBrevimarDoc;
class CWordReader;

// Parses text; on success commits to the document and returns true, otherwise
// puts what is wrong into *problem and leaves the document alone.
using AuxiliaryParser = std::function<bool(std::string_view text, std::string* problem)>;

// What a read that sets the run up again on what it read does once its file
// is read (File > Load of terrain, terrain modifiers, agents and the two
// matrices); null for a read that leaves the run going. The menu's Load
// commands run it, and a RUN capture under way ends with it: RunAuxiliaryRead
// offers the capture's frames before such a read takes effect.
using RunRestart = void (*)(CBrevimarDoc& doc);
RunRestart RestartAfterRead(FileCommand command);

// Runs the reader command: 1 when the file was read and committed, 0 when the
// chooser was cancelled, the file did not open or was refused (the user has
// then been told why, naming the file). *path receives the chosen file.
int RunAuxiliaryRead(CBrevimarDoc& doc, FileCommand command, const AuxiliaryParser& parse,
                     std::string* path = nullptr);

// Runs the writer command; a write that fails on the way is reported.
// True when the file was written.
bool RunAuxiliaryWrite(CBrevimarDoc& doc, FileCommand command, const std::function<void(std::ostream&)>& write);

// "expected ... (word n, line m), found ..." for the first failed extraction.
std::string DescribeReadFailure(const CWordReader& words);

}  // namespace brevimar
