#include "charts/ChartWindow.h"

#include <QResizeEvent>

#include "core/Document.h"
#include "platform/Dialog.h"

namespace brevimar {

CChartWindow::CChartWindow(unsigned templateId, const std::string& caption, QWidget* parent)
    : QDialog(parent), Template(templateId)
{
    setWindowTitle(QString::fromStdString(caption));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(TemplateWidth, TemplateHeight);
}

CChartWindow::~CChartWindow() = default;

int CChartWindow::XAxisTickStep(int n)
{
    if (n < 50)
        return 1;
    if (n < 200)
        return 10;
    if (n < 400)
        return 25;
    return 50;
}

void CChartWindow::Create()
{
    OnInitDialog();
    show();
}

bool CChartWindow::OnInitDialog()
{
    if (QWidget* parent = parentWidget()) {
        const QPoint corner = parent->mapToGlobal(QPoint(0, 0));
        move(corner + QPoint(PlacementOffset, PlacementOffset));
    }
    return true;
}

void CChartWindow::CreateChart()
{
    Graph.Create(0, WS_CHILD | WS_VISIBLE, rect(), this, ChartControlId);
}

void CChartWindow::ResetChartTemplate()
{
    Graph.GraphFile = "default.GSP";
    Graph.GraphName = "default";
    Graph.DrawMode = 9;
}

void CChartWindow::DrawChart()
{
    Graph.RunTime = 1;
    Graph.DrawMode = 3;
}

void CChartWindow::ApplyCommon2DSettings(const Common2D& settings)
{
    Graph.Background[0] = 7;
    Graph.Toolbar = 0;
    Graph.PropertyPages = 1;
    for (int k = 0; k <= 18; ++k)
        Graph.ToolStat[k] = 1;
    if (settings.MultiRun)
        Graph.ToolStat[11] = 0;
    Graph.ToolStat[5] = 0;
    Graph.ToolStat[8] = 0;
    Graph.ToolStat[9] = 0;

    Graph.XAxisStyle = 2;
    if (settings.XRangeFromPoints) {
        Graph.XAxisMax = Graph.NumPoints.GetDouble();
        Graph.XAxisMin = 1.0;
    }
    Graph.ThickLines = 0;
    Graph.TickStyle = 1;
    Graph.XAxisTicks = XAxisTickStep(settings.TickPoints);

    Graph.YAxisStyle[0] = 2;
    if (settings.YMaxOne)
        Graph.YAxisMax[0] = 1.0;
    if (settings.YMinZero)
        Graph.YAxisMin[0] = 0.0;
    Graph.YAxisTicks[0] = 3;
    Graph.YAxisMinorTicks[0] = 1;

    Graph.FontSize[0] = 100;
    Graph.FontStyle[0] = 2;
    Graph.FontSize[1] = 75;
    Graph.LeftTitleStyle = 1;
}

void CChartWindow::ApplyCommon2DClosing()
{
    Graph.FontSize[2] = 100;
    Graph.BackgroundStyle[6] = 1;
    Graph.LegendSize = 50;
    Graph.RandomData = 0;
}

void CChartWindow::BeginHandOff(CBrevimarDoc& doc)
{
    doc.MultiRunCharts.MultiRunGraphCount = 0;
}

void CChartWindow::HandOffLabel(CBrevimarDoc& doc, int set, const std::string& label)
{
    if (set >= 0 && set < MultiRunGraphSlots)
        doc.MultiRunGraphLabels[set] = label;
}

void CChartWindow::HandOffPoint(CBrevimarDoc& doc, int set, int point, double value, double deviation)
{
    if (set < 0 || set >= MultiRunGraphSlots || point < 1 || point >= MultiRunGraphPoints)
        return;
    doc.MultiRunCharts.MultiRunGraphSeries[set][point] = value;
    doc.MultiRunCharts.MultiRunGraphDev[set][point] = deviation;
}

void CChartWindow::EndHandOff(CBrevimarDoc& doc, int sets)
{
    doc.MultiRunCharts.MultiRunGraphCount = std::min(sets, MultiRunGraphSlots);
}

void CChartWindow::done(int result)
{
    // Enter and Escape end the window as the close box does: it goes away.
    QDialog::done(result);
    deleteLater();
}

void CChartWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (QWidget* chart = chart::GraphWindow(Graph.GraphHandle))
        chart->setGeometry(rect());
}

void ToggleCheckFlag(CDialog& dialog, int& flag)
{
    dialog.UpdateData(true);
    flag = flag == 1 ? 0 : 1;
    dialog.UpdateData(false);
}

void DDX_CheckFlag(CDataExchange& dx, int id, int flag)
{
    if (!dx.SaveAndValidate && dx.Active())
        dx.Dialog.CheckDlgButton(id, flag == 1 ? 1 : 0);
}

}  // namespace brevimar
