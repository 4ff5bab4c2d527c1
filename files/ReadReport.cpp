#include "files/ReadReport.h"

#include <iostream>

#include "core/Document.h"

namespace brevimar {

void ReportReadProblem(CBrevimarDoc& doc, const std::string& message)
{
    std::cerr << message << '\n';
    doc.host().ShowError(message);
}

void ReportReadWarning(CBrevimarDoc& doc, const std::string& message)
{
    std::cerr << message << '\n';
    doc.host().MessageBox(message, "Brevimar", MB_OK | MB_ICONWARNING);
}

}  // namespace brevimar
