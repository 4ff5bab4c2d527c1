// The Data Visualization commands: each pauses the run, asks the chart's
// options and opens a modeless chart window of the document as it stands.
#include "app/BrevimarView.h"
#include "app/MultiRunRawData.h"
#include "charts/AttritionGraph.h"
#include "core/Document.h"

namespace brevimar {

void CBrevimarView::OnAttritionGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& charts = doc.Charts;
    CAttritionGraphOptionsDlg dialog(doc, this);
    dialog.AttritionShowAll = charts.AttritionShowAll;
    dialog.AttritionShowRedAlive = charts.AttritionShowRedAlive;
    dialog.AttritionShowRedInjured = charts.AttritionShowRedInjured;
    dialog.AttritionShowBlueAlive = charts.AttritionShowBlueAlive;
    dialog.AttritionShowBlueInjured = charts.AttritionShowBlueInjured;
    dialog.AttritionShowRedTotal = charts.AttritionShowRedTotal;
    dialog.AttritionShowBlueTotal = charts.AttritionShowBlueTotal;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        charts.AttritionShowAll = dialog.AttritionShowAll;
        charts.AttritionShowRedAlive = dialog.AttritionShowRedAlive;
        charts.AttritionShowRedInjured = dialog.AttritionShowRedInjured;
        charts.AttritionShowBlueAlive = dialog.AttritionShowBlueAlive;
        charts.AttritionShowBlueInjured = dialog.AttritionShowBlueInjured;
        charts.AttritionShowRedTotal = dialog.AttritionShowRedTotal;
        charts.AttritionShowBlueTotal = dialog.AttritionShowBlueTotal;
        // The window lives on its own until closed; the view keeps the last.
        if (doc.RunMode == MultipleTimeSeriesMode) {
            // The averaged run's raw data is asked before the chart and
            // written once the chart has handed off its series.
            const RawDataChoice choice = AskMultiRunRawData(doc, this);
            LastChartWindow = new CAttritionGraphDlg(this, doc);
            WriteChosenRawData(doc, choice, this);
        } else {
            LastChartWindow = new CAttritionGraphDlg(this, doc);
        }
    }
    Invalidate(false);
}

}  // namespace brevimar
