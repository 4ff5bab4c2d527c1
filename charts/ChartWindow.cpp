#include "charts/ChartWindow.h"

#include <QAction>
#include <QKeySequence>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <vector>

#include "core/Document.h"
#include "platform/Dialog.h"

namespace brevimar {

CChartWindow::CChartWindow(unsigned templateId, const std::string& caption, QWidget* parent)
    : QDialog(parent), Template(templateId)
{
    setWindowTitle(QString::fromStdString(caption));
    setModal(false);
    // Owned by its parent (it closes with it) but an ordinary window, so the
    // main window can come in front of it.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(std::max(TemplateWidth, CaptionFitWidth(caption)), TemplateHeight);
    // Ctrl+F4 closes the active window, a chart as a battlefield window.
    auto* closeKey = new QAction(this);
    closeKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    closeKey->setShortcutContext(Qt::WindowShortcut);
    connect(closeKey, &QAction::triggered, this, &QWidget::close);
    addAction(closeKey);
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
    QWidget* parent = parentWidget();
    if (!parent)
        return true;
    QPoint first = parent->mapToGlobal(QPoint(0, 0)) + QPoint(PlacementOffset, PlacementOffset);
    // Windows opened on one spot hide one another: each takes the first
    // step of a stair, down and right, that no other chart window of the
    // main window stands on, so that every title bar stays in sight.
    std::vector<QPoint> taken;
    for (const CChartWindow* other : parent->window()->findChildren<CChartWindow*>())
        if (other != this && !other->isHidden())
            taken.push_back(other->pos());
    int steps = static_cast<int>(taken.size()) + 1;
    // A title bar that can be seen and grabbed: the stair stays where its
    // windows' title bars are on the screen, and starts again at its top
    // before it would leave it.
    if (const QScreen* screen = parent->screen()) {
        const QRect room = screen->availableGeometry();
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        const QSize grip(std::min(width(), TitleGripWidth), style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
        first.setX(std::max(room.left(), std::min(first.x(), room.right() + 1 - grip.width())));
        first.setY(std::max(room.top(), std::min(first.y(), room.bottom() + 1 - grip.height())));
        const int across = room.right() + 1 - grip.width() - first.x();
        const int down = room.bottom() + 1 - grip.height() - first.y();
        steps = std::clamp(std::min(across, down) / CascadeStep + 1, 1, steps);
    }
    const auto at = [&](int step) { return first + QPoint(step, step) * CascadeStep; };
    int step = 0;
    while (step < steps && std::find(taken.begin(), taken.end(), at(step)) != taken.end())
        ++step;
    move(at(step < steps ? step : static_cast<int>(taken.size()) % steps));
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

namespace {

// What every chart look begins with: grey background, no tool bar, the
// property pages and every tool on.
void ApplyFrame(CGraphCtrl& graph)
{
    graph.Background[0] = 7;
    graph.Toolbar = 0;
    graph.PropertyPages = 1;
    for (int k = 0; k <= 18; ++k)
        graph.ToolStat[k] = 1;
}

void ApplyFonts(CGraphCtrl& graph)
{
    graph.ThickLines = 0;
    graph.TickStyle = 1;
    graph.FontSize[0] = 100;
    graph.FontStyle[0] = 2;
    graph.FontSize[1] = 75;
}

}  // namespace

void CChartWindow::ApplyCommon2DSettings(const Common2D& settings)
{
    ApplyFrame(Graph);
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
    Graph.XAxisTicks = XAxisTickStep(settings.TickPoints);

    Graph.YAxisStyle[0] = 2;
    if (settings.YMaxOne)
        Graph.YAxisMax[0] = 1.0;
    if (settings.YMinZero)
        Graph.YAxisMin[0] = 0.0;
    Graph.YAxisTicks[0] = 3;
    Graph.YAxisMinorTicks[0] = 1;

    ApplyFonts(Graph);
    Graph.LeftTitleStyle = 1;
}

void CChartWindow::ApplyCommon2DClosing()
{
    Graph.FontSize[2] = 100;
    Graph.BackgroundStyle[6] = 1;
    Graph.LegendSize = 50;
    Graph.RandomData = 0;
}

void CChartWindow::ApplyXYPlotLook()
{
    Graph.GraphType = 9;
    Graph.GraphStyle = 0;
    ApplyFrame(Graph);
    Graph.ToolStat[5] = 0;
    Graph.ToolStat[8] = 0;
    Graph.ToolStat[9] = 0;
    Graph.XAxisStyle = 2;
    ApplyFonts(Graph);
    Graph.LeftTitleStyle = 1;
    ApplyCommon2DClosing();
}

void CChartWindow::Apply3DLook(bool toolFiveOff)
{
    ApplyFrame(Graph);
    Graph.ToolStat[6] = 0;
    if (toolFiveOff)
        Graph.ToolStat[5] = 0;
    Graph.CageWallColor = 15;
    Graph.XAxisStyle = 2;
    Graph.ZAxisStyle = 2;
    ApplyFonts(Graph);
    ApplyCommon2DClosing();
}

void CChartWindow::ApplyFiveTicks(bool withZ)
{
    Graph.XAxisTicks = 5;
    if (withZ)
        Graph.ZAxisTicks = 5;
    Graph.XAxisMinorTicks = 1;
    Graph.YAxisStyle[0] = 2;
    Graph.YAxisTicks[0] = 5;
    Graph.YAxisMinorTicks[0] = 1;
}

void CChartWindow::PlacePathPoint(bool cage, int set, int point, double x, double y, int time)
{
    Graph.GraphData[set][point] = cage ? static_cast<double>(time) : y;
    Graph.XPosData[set][point] = x;
    if (cage)
        Graph.ZPosData[set][point] = y;
}

void CChartWindow::SetXRange(int first, int last)
{
    Graph.XAxisMin = static_cast<double>(first);
    Graph.XAxisMax = static_cast<double>(last);
    Graph.RangeMin = first;
    Graph.RangeMax = last;
}

std::string CChartWindow::SampledTitle(bool multiRun, int samples, const std::string& title,
                                       const std::string& settings)
{
    if (multiRun)
        return title + "; (" + (settings.empty() ? "" : settings + "; ") + std::to_string(samples) + " Samples)";
    return settings.empty() ? title : title + "; (" + settings + ")";
}

std::string CChartWindow::Averaged(bool multiRun, const std::string& text)
{
    return multiRun ? "(Ave) " + text : text;
}

double CChartWindow::LowerBar(double value, double spread)
{
    return value >= 0.0 ? std::min(spread, value) : spread;
}

bool CChartWindow::HandsOff(const CBrevimarDoc& doc)
{
    return doc.RunMode != MultipleTimeSeriesMode || doc.MultiRunEnded();
}

void CChartWindow::BeginHandOff(CBrevimarDoc& doc)
{
    if (HandsOff(doc))
        doc.MultiRunCharts.MultiRunGraphCount = 0;
}

void CChartWindow::HandOffLabel(CBrevimarDoc& doc, int set, const std::string& label)
{
    if (HandsOff(doc) && set >= 0 && set < MultiRunGraphSlots)
        doc.MultiRunGraphLabels[set] = label;
}

void CChartWindow::HandOffPoint(CBrevimarDoc& doc, int set, int point, double value, double deviation)
{
    if (!HandsOff(doc) || set < 0 || set >= MultiRunGraphSlots || point < 1 || point >= MultiRunGraphPoints)
        return;
    doc.MultiRunCharts.MultiRunGraphSeries[set][point] = value;
    doc.MultiRunCharts.MultiRunGraphDev[set][point] = deviation;
}

void CChartWindow::EndHandOff(CBrevimarDoc& doc, int sets)
{
    if (HandsOff(doc))
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

void CChartOptionsDlg::OnOK()
{
    Accepted = 1;
    CDialog::OnOK();
}

void CChartOptionsDlg::OnCancel()
{
    Accepted = 0;
    CDialog::OnCancel();
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
