#include "app/MultiRunRawData.h"

#include "collect/MultiRunRawReports.h"
#include "core/Document.h"
#include "dialogs/MultiRunDialogs.h"

namespace brevimar {

RawDataChoice AskMultiRunRawData(CBrevimarDoc& doc, QWidget* parent)
{
    CMultiRunRawDataDlg dialog(doc, parent);
    if (dialog.DoModal() != IDOK)
        return {};
    return {dialog.WriteRawSample == 1, dialog.WriteRawGraph == 1, dialog.WriteRawAttrition == 1};
}

void WriteChosenRawData(CBrevimarDoc& doc, const RawDataChoice& choice)
{
    if (choice.Sample == 1)
        WriteRawSampleData(doc);
    if (choice.Graph == 1)
        WriteRawGraphData(doc);
    if (choice.Attrition == 1)
        doc.host().ShowError("The raw attrition report (.att) is not available yet; nothing was written.");
}

}  // namespace brevimar
