// Our own pictures for the splash window and the program-information box.
#pragma once

#include <QPixmap>

namespace brevimar {

// A battlefield scene with the program's name, `size` pixels.
QPixmap MakeSplashPicture(QSize size);

}  // namespace brevimar
