#include "platform/ScrollView.h"

#include <QLayout>
#include <QScrollArea>

namespace brevimar {

CScrollView::CScrollView(QWidget* parent) : CWnd(parent)
{
    setFixedSize(TotalSize);
}

void CScrollView::SetScrollSizes(QSize total)
{
    TotalSize = total.expandedTo(QSize(1, 1));
    setFixedSize(TotalSize);
}

QScrollArea* CScrollView::Container()
{
    if (!Area) {
        Area = new QScrollArea;
        Area->setWidgetResizable(false);
        Area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Area->setWidget(this);
    }
    return Area;
}

void CScrollView::ResizeParentToFit(bool shrinkOnly)
{
    if (!Area)
        return;
    QWidget* frame = Area->parentWidget();
    if (!frame) {
        frame = Area;
    } else if (frame->layout()) {
        // A frame not yet shown has not placed the scroll area inside it.
        frame->ensurePolished();
        frame->layout()->activate();
    }
    // The frame keeps its borders around the scroll area; the scroll area's
    // inside becomes the whole picture.
    const int border = 2 * Area->frameWidth();
    const QSize around = frame == Area ? QSize(0, 0) : frame->size() - Area->size();
    QSize wanted = around + TotalSize + QSize(border, border);
    if (shrinkOnly)
        wanted = wanted.boundedTo(frame->size());
    frame->resize(wanted);
    // The frame lays its inside out later; the scroll area takes its new
    // size now, so that a second fit measures the frame as it will be.
    if (frame != Area)
        Area->resize(wanted - around);
}

}  // namespace brevimar
