#include "app/MultiRunRawData.h"

#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <iterator>

#include "collect/MultiRunRawReports.h"
#include "collect/RawAttritionReport.h"
#include "core/Document.h"
#include "dialogs/MultiRunDialogs.h"
#include "dialogs/SaveRawAttritionDlg.h"

namespace brevimar {

QWidget* OpenChartOfferingRawData(CBrevimarDoc& doc, QWidget* parent, bool offersAttrition,
                                  const std::function<QWidget*()>& create)
{
    if (doc.RunMode != MultipleTimeSeriesMode)
        return create();
    RawDataChoice choice = AskMultiRunRawData(doc, parent);
    const QPointer<QWidget> chart = create();
    if (!offersAttrition)
        choice.Attrition = 0;
    WriteChosenRawData(doc, choice, parent);
    // A chooser or box that closed handed the focus back to the main window,
    // in front of the chart the user asked for.
    if (chart) {
        chart->raise();
        chart->activateWindow();
    }
    return chart;
}

RawDataChoice AskMultiRunRawData(CBrevimarDoc& doc, QWidget* parent)
{
    CMultiRunRawDataDlg dialog(doc, parent);
    if (dialog.DoModal() != IDOK)
        return {};
    return {dialog.WriteRawSample == 1, dialog.WriteRawGraph == 1, dialog.WriteRawAttrition == 1};
}

void WriteChosenRawData(CBrevimarDoc& doc, const RawDataChoice& choice, QWidget* parent)
{
    if (choice.Sample != 1 && choice.Graph != 1 && choice.Attrition != 1)
        return;
    // Samples that never ran would read as measured: one word for all three.
    if (!doc.MultiRunEnded()) {
        doc.host().ShowMessage(MultiRunUnfinishedNote(doc));
        return;
    }
    if (choice.Sample == 1)
        WriteRawSampleData(doc);
    if (choice.Graph == 1)
        WriteRawGraphData(doc);
    if (choice.Attrition == 1)
        WriteRawAttritionData(doc, parent);
}

void WriteRawAttritionData(CBrevimarDoc& doc, QWidget* parent)
{
    doc.Pause();
    RawAttritionLevels levels;
    CSaveRawAttritionDlg dialog(doc, parent);
    dialog.SaveRateData = levels.SaveRateData;
    std::copy(std::begin(levels.CasualtyLevel), std::end(levels.CasualtyLevel), dialog.CasualtyLevel);
    std::copy(std::begin(levels.PercentLevel), std::end(levels.PercentLevel), dialog.PercentLevel);
    // Closed without OK, the report still follows, with the levels the
    // dialog opened with.
    if (dialog.DoModal() == IDOK) {
        levels.SaveRateData = dialog.SaveRateData;
        std::copy(std::begin(dialog.CasualtyLevel), std::end(dialog.CasualtyLevel), levels.CasualtyLevel);
        std::copy(std::begin(dialog.PercentLevel), std::end(dialog.PercentLevel), levels.PercentLevel);
    }
    WriteRawAttritionFile(doc, levels);
}

}  // namespace brevimar
