// How a reader tells the user about the file it was given: in the host's log
// (standard error) and in a message box.
#pragma once

#include <string>

namespace brevimar {

class CBrevimarDoc;

// A file refused; the document is as it was.
void ReportReadProblem(CBrevimarDoc& doc, const std::string& message);
// A file read, with something the user should know.
void ReportReadWarning(CBrevimarDoc& doc, const std::string& message);

}  // namespace brevimar
