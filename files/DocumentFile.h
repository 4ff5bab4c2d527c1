// The document file (*.brv): the stored run history in binary, 32-bit signed
// little-endian integers with no header of the framework's own:
//
//   battle size, RED count R, BLUE count B, step count T,
//   then per step k = 1..T: k, and state, x, y of RED agents 1..R, then of
//   BLUE agents 1..B.
//
// The framework's Save (Ctrl+S) stores it; its document-opening path (a file
// named on the command line, dropped on the window, from the recent-file list,
// or File/Open, in a battlefield window too) loads it.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace brevimar {

class CBrevimarDoc;

// What the framework's document template registers.
inline constexpr const char* DocumentFileExtension = "brv";

// A path whose extension is the document file's, in any case: the desktop's
// file types match names regardless of case, so "RUN.BRV" is one too.
bool IsDocumentFile(const std::string& path);

// The steps T of the run history the document holds: LastStep of a stored
// run or frame file being played back (bounded to the capture's rows), or,
// in the interactive run, the frames a RUN file of the capture under way
// holds less frame 0; 0 when there is no history.
int StoredHistorySteps(const CBrevimarDoc& doc);

// Stores the header (the history's field and agent counts, T) and the rows
// 1..T. Changes nothing in the document.
void StoreDocument(const CBrevimarDoc& doc, std::ostream& out);

// Loads a stored history. Refused, with the document unchanged: a header
// outside the capture (battle size 1..150, counts 0..300, steps 0..351), a
// length other than the header promises, a state outside 0..2 or a position
// outside 0..battle size. Afterwards the run is paused and the display shows
// the agents of stored step 1.
bool LoadDocument(CBrevimarDoc& doc, std::string_view bytes, std::string* problem);

// The same on a file by path; problems, the file's not opening included, are
// reported to the user. True when the file was written or read.
bool WriteDocumentFile(CBrevimarDoc& doc, const std::string& path);
bool ReadDocumentFile(CBrevimarDoc& doc, const std::string& path);

// The framework's Save: asks for the name with the document type's filter.
// A document without a run history says so instead and writes nothing.
// True when a file was written.
bool SaveDocumentAs(CBrevimarDoc& doc);

}  // namespace brevimar
