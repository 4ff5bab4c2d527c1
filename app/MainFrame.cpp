#include "app/MainFrame.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QAction>
#include <QKeySequence>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/BrevimarView.h"
#include "app/ChildFrame.h"
#include "app/RecentFileList.h"
#include "app/ResourceIds.h"
#include "charts/ChartWindow.h"
#include "core/BattlefieldPicture.h"
#include "platform/StatusBar.h"

namespace brevimar {

namespace {

std::string MakeStatusWidthText()
{
    return "Time:" + std::string(7, ' ') + "Attrition:" + std::string(113, ' ');
}

}  // namespace

CMainFrame::CMainFrame()
    : StatusWidthText(MakeStatusWidthText()),
      Area(new QMdiArea(this)),
      Router([this] {
          std::vector<const CCommandMap*> chain;
          if (CBrevimarView* view = ActiveView())
              chain.push_back(&view->MessageMap());
          chain.push_back(&Map);
          chain.push_back(AppMap);
          return chain;
      })
{
    // The first field of the document template string: the main window's title.
    setWindowTitle("Brevimar Land Combat Laboratory");
    setCentralWidget(Area);
    // A battlefield window larger than the workspace stays within reach.
    Area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAcceptDrops(true);
    // The size and place last used, if the window was closed before.
    const QByteArray kept =
        QSettings(CRecentFileList::ProfileName, CRecentFileList::ApplicationName).value(GeometryKey).toByteArray();
    if (kept.isEmpty() || !restoreGeometry(kept)) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            // Else the whole of the screen the desktop leaves free, for a
            // large battlefield needs every pixel of it: maximised, so that
            // the window manager puts the frame and title bar on the screen
            // (a window the size of the free area would push them off it).
            // Until it shows, the window is the free area less a frame, so
            // that a first battlefield window is fitted to no more room than
            // it will have.
            const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
            const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
            setGeometry(screen->availableGeometry().marginsRemoved(QMargins(border, title + border, border, border)));
            setWindowState(Qt::WindowMaximized);
        } else {
            move(DefaultX, DefaultY);
        }
    }
    CommandBars = std::make_unique<CCommandBars>(this, Router);
    QObject::connect(Area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) { RefreshMenus(); });

    // The two Load items are the views' commands: with no battlefield window
    // they have no handler here, so they show greyed rather than do nothing.
    // The status pane is only ever enabled.
    Map.OnUpdate(ID_STATUS_PANE, [](CCmdUI& ui) { ui.Enable(true); });
    Map.On(ID_WINDOW_CASCADE, [this] { CascadeWindows(); });
    Map.On(ID_WINDOW_TILE_HORZ, [this] { Area->tileSubWindows(); });
}

CMainFrame::~CMainFrame()
{
    // Only a window the user has seen has a size worth keeping.
    if (isVisible())
        KeepGeometry();
}

void CMainFrame::KeepGeometry()
{
    WriteSettings([this](QSettings& settings) { settings.setValue(GeometryKey, saveGeometry()); });
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The battlefield windows close first, while the program is still on
    // screen to ask about what they hold.
    Area->closeAllSubWindows();
    // A window the user kept open (its RUN capture not written) keeps the program.
    for (QMdiSubWindow* window : Area->subWindowList())
        if (const auto* child = dynamic_cast<const CChildFrame*>(window); child && child->KeptOpen()) {
            event->ignore();
            return;
        }
    // Kept as the window closes (File > Exit, the close box): once it is
    // hidden, the program ends without seeing it again.
    QMainWindow::closeEvent(event);
    if (event->isAccepted() && isVisible())
        KeepGeometry();
}

void CMainFrame::CascadeWindows()
{
    // Each window keeps its size, trimmed to what the workspace can show
    // beside the stair of title bars; the active one ends on top.
    const QList<QMdiSubWindow*> windows = Area->subWindowList(QMdiArea::StackingOrder);
    const QSize room = Area->viewport()->size();
    const int step = CascadeStep;
    int i = 0;
    for (QMdiSubWindow* window : windows) {
        if (window->isMinimized() || window->isMaximized())
            window->showNormal();
        const QPoint corner(step * i, step * i);
        const QSize size = window->size().boundedTo(room - QSize(corner.x(), corner.y()));
        window->setGeometry(QRect(corner, size.expandedTo(QSize(MinCascadeSize, MinCascadeSize))));
        window->raise();
        ++i;
    }
}

QSize CMainFrame::WorkspaceRoom()
{
    if (Area->isVisible())
        return Area->viewport()->size();
    // Before the main window first shows, its layout has not yet given the
    // workspace its size: what the bars above and below leave of the window.
    int bars = menuBar()->sizeHint().height();
    for (const QToolBar* bar : findChildren<QToolBar*>())
        bars += bar->sizeHint().height();
    if (Status)
        bars += Status->sizeHint().height();
    const int border = 2 * Area->frameWidth();
    return QSize(width() - border, height() - bars - border);
}

void CMainFrame::FitIntoWorkspace(QMdiSubWindow* window)
{
    // A window larger than the workspace would hide its close button and
    // part of the field: it is trimmed (the view scrolls) and moved into view.
    const QSize room = Area->viewport()->size();
    if (room.isEmpty() || !Area->isVisible())
        return;
    QRect r = window->geometry();
    r.setSize(r.size().boundedTo(room));
    if (r.right() >= room.width())
        r.moveLeft(std::max(0, room.width() - r.width()));
    if (r.bottom() >= room.height())
        r.moveTop(std::max(0, room.height() - r.height()));
    window->setGeometry(r);
}

int CMainFrame::OnCreate(const ResourceSet& resources)
{
    auto toolbar = resources.Toolbars.find(IDR_MAINFRAME);
    auto frameMenu = resources.Menus.find(IDR_MAINFRAME);
    auto documentMenu = resources.Menus.find(IDR_BREVIMARTYPE);
    auto accelerators = resources.Accelerators.find(IDR_MAINFRAME);
    if (toolbar == resources.Toolbars.end() || frameMenu == resources.Menus.end() ||
        documentMenu == resources.Menus.end() || accelerators == resources.Accelerators.end())
        return -1;

    CommandBars->SetPrompts(resources.Prompts);
    Tools = CommandBars->BuildToolBar(toolbar->second, this);
    Tools->setObjectName("MainToolBar");
    Tools->setMovable(true);
    addToolBar(Qt::TopToolBarArea, Tools);

    // The pane's own id keeps the menus' prompts away from it.
    Status = new CStatusBar(this);
    Status->SetIndicators({ID_STATUS_PANE, ID_LEGEND_PANE}, {StatusPaneRestText, ""});
    setStatusBar(Status);
    const int width = QFontMetrics(Status->font()).horizontalAdvance(QString::fromStdString(StatusWidthText));
    Status->SetPaneInfo(0, ID_STATUS_PANE, true, width);
    // The legend may be cut on a narrow window; its tip holds it whole.
    Status->SetPaneInfo(1, ID_LEGEND_PANE, true, 1);
    CommandBars->AfterCommand = [this] { RefreshLegend(); };

    CommandBars->InstallAccelerators(accelerators->second);
    FrameMenus = CommandBars->BuildMenu(frameMenu->second);
    DocumentMenus = CommandBars->BuildMenu(documentMenu->second);
    for (QMenu* menu : DocumentMenus)
        if (menu->title() == "&Window")
            AddWindowList(menu);
    ShowMenu(false);

    // Ctrl+F4 closes the active battlefield window, as in every
    // multiple-document program.
    auto* closeChild = new QAction(this);
    closeChild->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    closeChild->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(closeChild, &QAction::triggered, Area, &QMdiArea::closeActiveSubWindow);
    addAction(closeChild);

    // The toolbar follows the commands' state as the framework's idle time does.
    auto* idle = new QTimer(this);
    QObject::connect(idle, &QTimer::timeout, this, [this] {
        if (isVisible())
            CommandBars->UpdateToolBar();
    });
    idle->start(250);
    CommandBars->UpdateToolBar();
    return 0;
}

void CMainFrame::AddWindowList(QMenu* menu)
{
    // The open windows follow the fixed items, numbered, the active one
    // marked: the battlefield windows, then the chart windows, which are
    // windows of their own and may be lost behind the main window. The list
    // is rebuilt each time the menu opens.
    QObject::connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* action : menu->actions())
            if (action->property("windowList").toBool())
                delete action;
        const QList<QMdiSubWindow*> windows = Area->subWindowList(QMdiArea::CreationOrder);
        QList<CChartWindow*> charts = findChildren<CChartWindow*>();
        charts.removeIf([](const CChartWindow* chart) { return chart->isHidden(); });
        if (windows.isEmpty() && charts.isEmpty())
            return;
        menu->addSeparator()->setProperty("windowList", true);
        int number = 0;
        const auto add = [&](const QWidget* window, bool active) {
            ++number;
            const QString text = number < 10 ? QString("&%1 %2").arg(number).arg(window->windowTitle())
                                             : QString("%1 %2").arg(number).arg(window->windowTitle());
            QAction* item = menu->addAction(text);
            item->setProperty("windowList", true);
            item->setCheckable(true);
            item->setChecked(active);
            return item;
        };
        for (QMdiSubWindow* window : windows) {
            QAction* item = add(window, window == Area->activeSubWindow() ||
                                            (!Area->activeSubWindow() && window == Area->currentSubWindow()));
            QObject::connect(item, &QAction::triggered, this, [this, window] {
                if (Area->subWindowList().contains(window)) {
                    if (window->isMinimized())
                        window->showNormal();
                    Area->setActiveSubWindow(window);
                }
            });
        }
        for (CChartWindow* chart : charts) {
            QAction* item = add(chart, chart->isActiveWindow());
            QObject::connect(item, &QAction::triggered, this, [chart = QPointer<CChartWindow>(chart)] {
                if (!chart)
                    return;
                if (chart->isMinimized())
                    chart->showNormal();
                chart->show();
                chart->raise();
                chart->activateWindow();
            });
        }
    });
}

void CMainFrame::SetStatusText(std::string text)
{
    if (Status)
        Status->SetPaneText(Status->CommandToIndex(ID_STATUS_PANE), text, true);
}

std::string CMainFrame::StatusText() const
{
    return Status ? Status->GetPaneText(Status->CommandToIndex(ID_STATUS_PANE)) : std::string();
}

void CMainFrame::RefreshLegend()
{
    if (!Status)
        return;
    CBrevimarView* view = ActiveView();
    const std::string text = view ? MapLegend(*view->GetDocument()) : std::string();
    const int index = Status->CommandToIndex(ID_LEGEND_PANE);
    Status->SetPaneText(index, text, false);
    if (QLabel* pane = Status->Pane(index))
        pane->setToolTip(QString::fromStdString(text));
}

std::string CMainFrame::LegendText() const
{
    return Status ? Status->GetPaneText(Status->CommandToIndex(ID_LEGEND_PANE)) : std::string();
}

CChildFrame* CMainFrame::ActiveChildFrame() const
{
    // While the main window is inactive the area has no active window; its
    // current one is the window the user left.
    QMdiSubWindow* active = Area->activeSubWindow();
    if (!active)
        active = Area->currentSubWindow();
    if (active && active->isHidden())
        return nullptr;
    return dynamic_cast<CChildFrame*>(active);
}

CBrevimarView* CMainFrame::ActiveView() const
{
    CChildFrame* frame = ActiveChildFrame();
    return frame ? frame->View() : nullptr;
}

bool CMainFrame::RunCommand(unsigned id)
{
    return CommandBars->Run(id);
}

const std::vector<QMenu*>& CMainFrame::ShownMenus() const
{
    return ShowingDocumentMenu ? DocumentMenus : FrameMenus;
}

QAction* CMainFrame::FindMenuItem(const QString& path) const
{
    return CommandBars->FindMenuItem(ShownMenus(), path);
}

void CMainFrame::ShowMenu(bool documentMenu)
{
    if (!menuBar()->actions().isEmpty() && documentMenu == ShowingDocumentMenu)
        return;
    ShowingDocumentMenu = documentMenu;
    menuBar()->clear();
    for (QMenu* menu : documentMenu ? DocumentMenus : FrameMenus)
        menuBar()->addMenu(menu);
}

void CMainFrame::RefreshMenus()
{
    // The last window closing leaves the frame's own menu.
    ShowMenu(ActiveView() != nullptr);
    CommandBars->UpdateToolBar();
    RefreshLegend();
}

bool CMainFrame::event(QEvent* event)
{
    // Menu prompts never reach the status line.
    if (event->type() == QEvent::StatusTip)
        return true;
    // Windows opened before the main window first showed were fitted to a
    // workspace that had no size yet: fit them again once it has one.
    if (event->type() == QEvent::Show)
        QTimer::singleShot(0, this, [this] {
            for (QMdiSubWindow* window : Area->subWindowList())
                FitIntoWorkspace(window);
        });
    return QMainWindow::event(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (OpenDroppedFiles(*event->mimeData())) {
        event->acceptProposedAction();
        activateWindow();
    }
}

bool CMainFrame::OpenDroppedFiles(const QMimeData& data)
{
    std::vector<std::string> files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    if (files.empty())
        return false;
    if (OnDropFiles)
        OnDropFiles(files);
    return true;
}

}  // namespace brevimar
