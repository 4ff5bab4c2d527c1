// Binds a document to its child frames and views, and owns the documents:
// each lives while it has a view.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/QtHost.h"

namespace brevimar {

class CBrevimarDoc;
class CBrevimarView;
class CChildFrame;
class CMainFrame;

class CBrevimarDocTemplate {
public:
    explicit CBrevimarDocTemplate(CMainFrame& mainFrame);
    ~CBrevimarDocTemplate();

    // A new document in a new window. With a path, the start-up reader reads
    // that file instead of offering its file dialog. Nothing (and no window)
    // when the view cannot be created or the document cannot be set up, and,
    // windowless, when the file is refused.
    CBrevimarView* OpenDocumentFile(const std::optional<std::string>& path);
    // Printing from the command line: the documents opened from now on show
    // no box (their messages go to standard error), and a file refused gives
    // no document rather than the built-in scenario.
    void SetWindowless(bool windowless) { Windowless = windowless; }
    // One more window on the document of `view`.
    CBrevimarView* CreateNewWindow(CBrevimarView* view);

    std::size_t DocumentCount() const { return Documents.size(); }

    // A file a document's chooser opened (the recent-file list takes it).
    std::function<void(const std::string&)> OnFileOpened;
    QtHost* HostOf(const CBrevimarDoc* document) const;

private:
    struct Slot {
        std::unique_ptr<CBrevimarDoc> Document;
        QtHost Host;
        std::vector<QPointer<CBrevimarView>> Views;
        // The name the document's windows carry: its file's once it has
        // one, the program's name and a number before.
        QString Title;
        // The file name Title was last taken from.
        std::string TitledFrom;
    };

    CChildFrame* CreateFrame(Slot& slot, CBrevimarView*& view);
    // The status line speaks of the active window's document alone: another
    // document's text waits until its window is activated.
    bool ShowsStatusOf(const CBrevimarDoc* document) const;
    void ShowActiveStatus();
    bool FrameMayClose(CChildFrame* frame);
    void FrameClosing(CChildFrame* frame);
    Slot* SlotOf(const CBrevimarDoc* document) const;
    // Takes the document's file name for its windows' name: false when the
    // document names no file, or the one the name was last taken from.
    bool FollowFileName(Slot& slot);
    // Every window on the document: the name, then its number if it has one.
    void TitleWindows(Slot& slot);

    CMainFrame& MainFrame;
    QMetaObject::Connection ActivationWatch;
    std::vector<std::unique_ptr<Slot>> Documents;
    int UntitledCount = 0;
    bool Windowless = false;
};

}  // namespace brevimar
