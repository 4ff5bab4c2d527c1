#include "app/Pictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

namespace brevimar {

QPixmap MakeSplashPicture(QSize size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    PaintSplashPicture(painter, size);
    painter.end();
    return picture;
}

void PaintSplashPicture(QPainter& painter, QSize size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const int w = size.width();
    const int h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(24, 46, 38));
    sky.setColorAt(1, QColor(58, 92, 64));
    painter.fillRect(QRect(QPoint(0, 0), size), sky);

    // Two forces closing on each other across a lattice: a fixed pattern,
    // so the picture is the same at every start.
    const int cell = std::max(4, w / 60);
    painter.setPen(QColor(255, 255, 255, 28));
    for (int x = 0; x < w; x += cell)
        painter.drawLine(x, h / 2, x, h);
    for (int y = h / 2; y < h; y += cell)
        painter.drawLine(0, y, w, y);
    unsigned seed = 12345u;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFFu;
    };
    for (int i = 0; i < 70; ++i) {
        const int gx = static_cast<int>(next() % 18u);
        const int gy = static_cast<int>(next() % 9u);
        const bool red = i % 2 == 0;
        const int x = red ? cell * (2 + gx) : w - cell * (3 + gx);
        const int y = h / 2 + cell * (1 + gy);
        painter.fillRect(x, y, cell - 1, cell - 1, red ? QColor(220, 50, 40) : QColor(60, 110, 230));
    }

    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setPixelSize(std::max(12, h / 6));
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, h / 10, w, h / 4), Qt::AlignHCenter | Qt::AlignVCenter, "Brevimar");
    const QString line = "A laboratory for emergent behaviour in land combat";
    QFont subtitle = painter.font();
    subtitle.setBold(false);
    int pixels = std::max(8, h / 18);
    subtitle.setPixelSize(pixels);
    // The line fits the picture's width.
    while (pixels > 6 && QFontMetrics(subtitle).horizontalAdvance(line) > w * 9 / 10)
        subtitle.setPixelSize(--pixels);
    painter.setFont(subtitle);
    painter.drawText(QRect(0, h / 10 + h / 4, w, h / 10), Qt::AlignHCenter | Qt::AlignVCenter,
                     line);
    painter.restore();
}

}  // namespace brevimar
