#include "app/DocTemplate.h"

#include <QFileInfo>
#include <QMdiArea>

#include <algorithm>

#include "app/BrevimarView.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ResourceIds.h"
#include "core/Document.h"
#include "files/DocumentFile.h"
#include "platform/TestHooks.h"
#include "run/BatchDrivers.h"
#include "run/ScenarioLoad.h"

namespace brevimar {

CBrevimarDocTemplate::CBrevimarDocTemplate(CMainFrame& mainFrame) : MainFrame(mainFrame)
{
    ActivationWatch = QObject::connect(MainFrame.MdiArea(), &QMdiArea::subWindowActivated, &MainFrame,
                                       [this](QMdiSubWindow*) { ShowActiveStatus(); });
}

CBrevimarDocTemplate::~CBrevimarDocTemplate()
{
    // The main frame outlives the template and may activate windows as it goes.
    QObject::disconnect(ActivationWatch);
}

bool CBrevimarDocTemplate::ShowsStatusOf(const CBrevimarDoc* document) const
{
    const CBrevimarView* active = MainFrame.ActiveView();
    return !active || active->GetDocument() == document;
}

void CBrevimarDocTemplate::ShowActiveStatus()
{
    CBrevimarView* active = MainFrame.ActiveView();
    const Slot* slot = active ? SlotOf(active->GetDocument()) : nullptr;
    if (!slot)
        return;
    const std::optional<std::string>& text = slot->Host.LastStatusText();
    MainFrame.SetStatusText(text ? *text : std::string(StatusPaneRestText));
}

CChildFrame* CBrevimarDocTemplate::CreateFrame(Slot& slot, CBrevimarView*& view)
{
    view = new CBrevimarView(slot.Document.get());
    // The view may tell of a missing timer before it sits in the main frame.
    SetModalHooks(*view, ModalHooksOf(&MainFrame));
    if (view->OnCreate() != 0) {
        delete view;
        view = nullptr;
        return nullptr;
    }
    // Whatever a command read, every window on the document names it after.
    // Every command asks, so a name that stays costs a comparison alone.
    view->RetitleWindows = [this, document = slot.Document.get()] {
        if (Slot* shown = SlotOf(document); shown && FollowFileName(*shown))
            TitleWindows(*shown);
    };
    auto* frame = new CChildFrame(view);
    frame->CanClose = [this](CChildFrame* closing) { return FrameMayClose(closing); };
    frame->OnClosing = [this](CChildFrame* closing) { FrameClosing(closing); };
    MainFrame.MdiArea()->addSubWindow(frame);
    // The framework's placement of a new child window.
    frame->setGeometry(CChildFrame::DefaultX, CChildFrame::DefaultY, CChildFrame::DefaultWidth,
                       CChildFrame::DefaultHeight);
    slot.Views.push_back(view);
    return frame;
}

CBrevimarView* CBrevimarDocTemplate::OpenDocumentFile(const std::optional<std::string>& path)
{
    auto slot = std::make_unique<Slot>();
    slot->Document = CBrevimarDoc::Create();
    slot->Document->SetHost(&slot->Host);
    slot->Host.SetParentWindow(&MainFrame);
    slot->Host.SetWindowless(Windowless);
    slot->Host.SetStatusSink([this, document = slot->Document.get()](const std::string& text) {
        if (ShowsStatusOf(document))
            MainFrame.SetStatusText(text);
    });
    slot->Host.SetOpenedFileSink([this](const std::string& path) {
        if (OnFileOpened)
            OnFileOpened(path);
    });
    // A step repaints every window on the document, not only the timer's.
    slot->Host.SetRepaintAll([views = &slot->Views] {
        for (const QPointer<CBrevimarView>& v : *views)
            if (v)
                v->Invalidate(false);
    });

    CBrevimarView* view = nullptr;
    CChildFrame* frame = CreateFrame(*slot, view);
    if (!frame)
        return nullptr;
    slot->Host.SetView(view);

    // Named while the document reads its file or asks for one: the file's
    // name, or the program's name and a number.
    slot->Title = path ? QFileInfo(QString::fromStdString(*path)).fileName()
                       : QString("Brevimar%1").arg(++UntitledCount);
    frame->setWindowTitle(slot->Title);

    Slot& kept = *slot;
    Documents.push_back(std::move(slot));
    // A document file that cannot be read leaves no window: it has no
    // scenario to fall back on.
    const bool documentFile = path && IsDocumentFile(*path);
    bool read = true;
    if (path)
        read = NewDocumentFromFile(*kept.Document, *path);
    else
        kept.Document->OnNewDocument();
    if (!read && (documentFile || Windowless)) {
        frame->OnClosing = nullptr;
        view->OnDestroy();
        delete frame;
        Documents.pop_back();
        return nullptr;
    }
    // A refused file leaves the built-in scenario, which no file names: the
    // window is named as after a Cancel in the start-up chooser.
    if (!read)
        kept.Title = QString("Brevimar%1").arg(++UntitledCount);
    // Only a file that was read joins the recent files, as from the chooser.
    if (path && read)
        kept.Host.NoteFileOpened(*path);
    // The start-up chooser's file, or the file's own name as its reader gave it.
    FollowFileName(kept);
    TitleWindows(kept);

    // Shown first, so that the frame's borders are known when it is fitted
    // around the picture.
    frame->show();
    // A new document opens at the largest zoom that shows its whole field
    // inside the workspace, and keeps it as its default.
    CBrevimarDoc& opened = *view->GetDocument();
    opened.ZoomFactor = opened.DefaultZoomFactor =
        view->LargestZoomWithin(MainFrame.WorkspaceRoom() - (frame->size() - frame->contentsRect().size()));
    view->OnInitialUpdate();
    MainFrame.FitIntoWorkspace(frame);
    MainFrame.MdiArea()->setActiveSubWindow(frame);
    return view;
}

CBrevimarView* CBrevimarDocTemplate::CreateNewWindow(CBrevimarView* existing)
{
    Slot* slot = existing ? SlotOf(existing->GetDocument()) : nullptr;
    if (!slot)
        return nullptr;
    CBrevimarView* view = nullptr;
    CChildFrame* frame = CreateFrame(*slot, view);
    if (!frame)
        return nullptr;
    frame->WindowNumber = static_cast<int>(slot->Views.size());
    FollowFileName(*slot);
    TitleWindows(*slot);
    // Shown first, so that the frame's borders are known when it is fitted
    // around the picture.
    frame->show();
    view->OnInitialUpdate();
    MainFrame.FitIntoWorkspace(frame);
    MainFrame.MdiArea()->setActiveSubWindow(frame);
    return view;
}

QtHost* CBrevimarDocTemplate::HostOf(const CBrevimarDoc* document) const
{
    Slot* slot = SlotOf(document);
    return slot ? &slot->Host : nullptr;
}

CBrevimarDocTemplate::Slot* CBrevimarDocTemplate::SlotOf(const CBrevimarDoc* document) const
{
    for (const auto& slot : Documents)
        if (slot->Document.get() == document)
            return slot.get();
    return nullptr;
}

bool CBrevimarDocTemplate::FollowFileName(Slot& slot)
{
    // The title names what the status line names; a document that never had
    // a file keeps the name it opened with.
    const std::string& name = slot.Document->InputFileName;
    if (name.empty() || name == slot.TitledFrom)
        return false;
    slot.TitledFrom = name;
    slot.Title = QString::fromStdString(name);
    return true;
}

void CBrevimarDocTemplate::TitleWindows(Slot& slot)
{
    for (const QPointer<CBrevimarView>& view : slot.Views)
        for (QWidget* w = view ? view->parentWidget() : nullptr; w; w = w->parentWidget())
            if (auto* frame = dynamic_cast<CChildFrame*>(w)) {
                const int number = frame->WindowNumber;
                frame->setWindowTitle(number == 0 ? slot.Title : QString("%1:%2").arg(slot.Title).arg(number));
                break;
            }
}

bool CBrevimarDocTemplate::FrameMayClose(CChildFrame* frame)
{
    CBrevimarView* view = frame->View();
    Slot* slot = view ? SlotOf(view->GetDocument()) : nullptr;
    if (!slot)
        return true;
    for (const QPointer<CBrevimarView>& other : slot->Views)
        if (other && other != view)
            return true;
    // The last window on the document: a capture under way goes with it,
    // unless the user keeps it by cancelling its file.
    return slot->Document->OfferCapturedFrames();
}

void CBrevimarDocTemplate::FrameClosing(CChildFrame* frame)
{
    CBrevimarView* view = frame->View();
    Slot* slot = view ? SlotOf(view->GetDocument()) : nullptr;
    if (!slot)
        return;
    auto& views = slot->Views;
    views.erase(std::remove_if(views.begin(), views.end(),
                               [view](const QPointer<CBrevimarView>& v) { return v.isNull() || v == view; }),
                views.end());
    if (!views.empty()) {
        // The document's timers and repaints move to a window that stays.
        slot->Host.SetView(views.front());
        slot->Document->SetBatchDrivers(views.front());
        return;
    }
    // The last window on the document is closing: the document goes with it,
    // once the window's own events are done, and a capture under way with it.
    // Offered already where the close could still be refused.
    static_cast<void>(slot->Document->OfferCapturedFrames());
    slot->Host.SetView(nullptr);
    slot->Document->SetBatchDrivers(nullptr);
    // The status line no longer speaks of the closed document.
    MainFrame.SetStatusText(StatusPaneRestText);
    slot->Document->DeleteContents();
    auto it = std::find_if(Documents.begin(), Documents.end(), [slot](const auto& s) { return s.get() == slot; });
    if (it != Documents.end()) {
        std::shared_ptr<Slot> dying(std::move(*it));
        Documents.erase(it);
        QObject::connect(frame, &QObject::destroyed, [dying] {});
    }
}

}  // namespace brevimar
