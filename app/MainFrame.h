// The main window: menu bar, toolbar, the one-pane status line and the area
// that holds the battlefield windows.
#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Command.h"
#include "platform/CommandBars.h"
#include "platform/Resources.h"

class QMdiArea;
class QMdiSubWindow;
class QMimeData;
class QMenu;
class QToolBar;

namespace brevimar {

class CBrevimarView;
class CChildFrame;
class CStatusBar;

class CMainFrame : public QMainWindow {
public:
    static constexpr int DefaultX = 250;
    static constexpr const char* GeometryKey = "Main Window/Geometry";
    static constexpr int DefaultY = 150;

    CMainFrame();
    ~CMainFrame() override;

    // Builds the toolbar, the status line, the menus and the accelerators
    // from the resource tables; -1 when a table is missing.
    int OnCreate(const ResourceSet& resources);

    // The status line: its one pane shows `text` at once.
    void SetStatusText(std::string text);
    std::string StatusText() const;
    // The legend pane follows the active battlefield's map switches.
    void RefreshLegend();
    std::string LegendText() const;

    QMdiArea* MdiArea() const { return Area; }
    CChildFrame* ActiveChildFrame() const;
    CBrevimarView* ActiveView() const;

    CCommandMap& MessageMap() { return Map; }
    // The application's handlers come last in the command route.
    void SetApplicationCommands(const CCommandMap* map) { AppMap = map; }
    CCommandBars& Bars() { return *CommandBars; }
    // Runs a command as a menu choice does (when its item is enabled).
    bool RunCommand(unsigned id);

    // The menu bar in use: the document's menu while a battlefield window
    // is active, the frame's own otherwise.
    const std::vector<QMenu*>& ShownMenus() const;
    bool DocumentMenuShown() const { return ShowingDocumentMenu; }
    QAction* FindMenuItem(const QString& path) const;
    // Shows the menu that fits the active window and refreshes the toolbar.
    void RefreshMenus();
    // Window > Cascade: windows stepped down and right, each at a usable size.
    static constexpr int CascadeStep = 28;
    static constexpr int MinCascadeSize = 200;
    void CascadeWindows();
    // Trims and moves a child window so that the workspace shows it whole.
    void FitIntoWorkspace(QMdiSubWindow* window);
    // The size the workspace offers its windows.
    QSize WorkspaceRoom();

    CStatusBar* StatusLine() const { return Status; }
    QToolBar* ToolBar() const { return Tools; }
    // Sizes the status pane: "Time:", 7 blanks, "Attrition:" and 113 blanks.
    const std::string StatusWidthText;

    // Files dropped onto the window, in order.
    std::function<void(const std::vector<std::string>&)> OnDropFiles;
    // What a drop does: the local files it carries go to OnDropFiles.
    bool OpenDroppedFiles(const QMimeData& data);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The window's size, place and state, for the next run.
    void KeepGeometry();
    void ShowMenu(bool documentMenu);
    void AddWindowList(QMenu* menu);

    QMdiArea* Area;
    CStatusBar* Status = nullptr;
    QToolBar* Tools = nullptr;
    CCommandMap Map;
    const CCommandMap* AppMap = nullptr;
    CCommandRouter Router;
    std::unique_ptr<CCommandBars> CommandBars;
    std::vector<QMenu*> FrameMenus;
    std::vector<QMenu*> DocumentMenus;
    bool ShowingDocumentMenu = false;
};

}  // namespace brevimar
