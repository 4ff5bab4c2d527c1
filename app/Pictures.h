// Our own pictures for the splash window and the program-information box.
#pragma once

#include <QPixmap>

class QPainter;

namespace brevimar {

// A battlefield scene with the program's name, `size` pixels.
QPixmap MakeSplashPicture(QSize size);
// The same scene painted straight onto a window's surface from (0, 0).
void PaintSplashPicture(QPainter& painter, QSize size);

}  // namespace brevimar
