#include "app/ChildFrame.h"

#include <QCloseEvent>
#include <QScrollArea>

#include "app/BrevimarView.h"
#include "core/Document.h"

namespace brevimar {

CChildFrame::CChildFrame(CBrevimarView* view) : ViewWindow(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view->Container());
    setGeometry(DefaultX, DefaultY, DefaultWidth, DefaultHeight);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    Kept = false;
    // A batch experiment is on the stack below this event: closing now would
    // pull the document from under it. The close pauses it instead, and the
    // next close goes through.
    if (ViewWindow && ViewWindow->GetDocument() && ViewWindow->GetDocument()->BatchBusy()) {
        ViewWindow->GetDocument()->Pause();
        event->ignore();
        return;
    }
    if (CanClose && !CanClose(this)) {
        Kept = true;
        event->ignore();
        return;
    }
    if (ViewWindow)
        ViewWindow->OnDestroy();
    if (OnClosing)
        OnClosing(this);
    QMdiSubWindow::closeEvent(event);
}

}  // namespace brevimar
