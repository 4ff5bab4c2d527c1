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
    // A batch experiment inside its loop (it pumps messages between steps)
    // still works on the document: the window stays until it returns.
    if (ViewWindow && ViewWindow->GetDocument() && ViewWindow->GetDocument()->BatchBusy()) {
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
