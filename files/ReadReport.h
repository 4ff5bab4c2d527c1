// How a reader tells the user about the file it was given: on standard error
// for the log, and in a message box.
#pragma once

#include <string>

namespace brevimar {

class CBrevimarDoc;

// A file refused; the document is as it was.
void ReportReadProblem(CBrevimarDoc& doc, const std::string& message);
// A file read, with something the user should know.
void ReportReadWarning(CBrevimarDoc& doc, const std::string& message);

}  // namespace brevimar
