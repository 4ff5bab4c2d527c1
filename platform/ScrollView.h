// A view whose picture may be larger than its window: the view is the whole
// picture, and the frame shows it through a scroll area.
#pragma once

#include <QSize>

#include "platform/Wnd.h"

class QScrollArea;

namespace brevimar {

class CScrollView : public CWnd {
public:
    explicit CScrollView(QWidget* parent = nullptr);

    // Total size of the picture in pixels; page and line sizes stay the
    // scroll bars' defaults.
    void SetScrollSizes(QSize total);
    QSize GetTotalSize() const { return TotalSize; }

    // The scroll area that shows this view; created on first use, with the
    // view inside it. The frame takes ownership of it.
    QScrollArea* Container();

    // Resizes the window holding the scroll area so that the whole picture
    // shows without scroll bars; with `shrinkOnly` it never grows.
    void ResizeParentToFit(bool shrinkOnly = false);

private:
    QSize TotalSize{100, 100};
    QScrollArea* Area = nullptr;
};

}  // namespace brevimar
