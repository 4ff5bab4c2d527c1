#include "files/ReadReport.h"

#include "core/Document.h"

namespace brevimar {

void ReportReadProblem(CBrevimarDoc& doc, const std::string& message)
{
    doc.host().Log(message);
    doc.host().ShowError(message);
}

void ReportReadWarning(CBrevimarDoc& doc, const std::string& message)
{
    doc.host().Log(message);
    doc.host().MessageBox(message, "Brevimar", MB_OK | MB_ICONWARNING);
}

}  // namespace brevimar
