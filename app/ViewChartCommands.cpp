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
        LastChartWindow =
            OpenChartOfferingRawData(doc, this, true, [this, &doc] { return new CAttritionGraphDlg(this, doc); });
    }
    Invalidate(false);
}

}  // namespace brevimar
