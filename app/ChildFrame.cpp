#include "app/ChildFrame.h"

#include <QCloseEvent>
#include <QScrollArea>

#include "app/BrevimarView.h"

namespace brevimar {

CChildFrame::CChildFrame(CBrevimarView* view) : ViewWindow(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view->Container());
    setGeometry(DefaultX, DefaultY, DefaultWidth, DefaultHeight);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (ViewWindow)
        ViewWindow->OnDestroy();
    if (OnClosing)
        OnClosing(this);
    QMdiSubWindow::closeEvent(event);
}

}  // namespace brevimar
