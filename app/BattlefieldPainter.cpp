#include "app/BattlefieldPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "core/Document.h"

namespace brevimar {

namespace {

QRgb ToQRgb(CRgb c) { return qRgb(c.R, c.G, c.B); }

}  // namespace

CBattlefieldPainter::CBattlefieldPainter()
{
    const auto& pictures = CellPictures();
    for (int slot = 0; slot < CellPictureCount; ++slot)
        for (int row = 0; row < CellPictureSize; ++row)
            for (int column = 0; column < CellPictureSize; ++column)
                SlotPixels[slot][CellPictureSize * row + column] = ToQRgb(pictures[slot].Pixels[row][column]);
}

const QImage& CBattlefieldPainter::Render(CBrevimarDoc& doc)
{
    ComposeBattlefield(doc, Composed);
    RenderComposed();
    return Image;
}

void CBattlefieldPainter::RenderComposed()
{
    const CBattlefieldGeometry& g = Composed.Geometry;
    const int width = std::max(g.Width(), 1);
    const int height = std::max(g.Height(), 1);
    if (Image.width() != width || Image.height() != height)
        Image = QImage(width, height, QImage::Format_RGB32);

    // The background rectangle, outlined with the default black pen. The
    // pixels are reached through one pointer taken per frame.
    const QRgb ground = Composed.WhiteBackground ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    Image.fill(ground);
    std::uint8_t* bits = Image.bits();
    const qsizetype stride = Image.bytesPerLine();
    auto line = [&](int y) { return reinterpret_cast<std::uint32_t*>(bits + stride * y); };
    const QRgb outline = qRgb(0, 0, 0);
    std::fill(line(0), line(0) + width, outline);
    std::fill(line(height - 1), line(height - 1) + width, outline);
    for (int y = 0; y < height; ++y) {
        line(y)[0] = outline;
        line(y)[width - 1] = outline;
    }
    if (Composed.BatchMode)
        return;

    // One unscaled copy per cell.
    const int extent = g.Extent;
    const int columns = std::min(CellPictureSize, g.CellWidth);
    const int rows = std::min(CellPictureSize, g.CellHeight);
    for (int r = 0; r < extent; ++r) {
        const int left = r * g.CellWidth;
        for (int c = 0; c < extent; ++c) {
            const int slot = Composed.Slot(r, c);
            if (slot < 0 || slot >= CellPictureCount)
                continue;
            const int top = c * g.CellHeight;
            for (int row = 0; row < rows; ++row)
                std::memcpy(line(top + row) + left, &SlotPixels[slot][CellPictureSize * row],
                            sizeof(std::uint32_t) * columns);
        }
    }
}

void CBattlefieldPainter::PaintHelpText(QPainter& window) const
{
    // The window's own font, black on an opaque white ground, as plain text output.
    window.save();
    window.setPen(Qt::black);
    window.setBackground(Qt::white);
    window.setBackgroundMode(Qt::OpaqueMode);
    const QFontMetrics metrics(window.font());
    for (const CHelpLine& line : HelpLines)
        window.drawText(QPoint(HelpTextLeft, line.Top + metrics.ascent()), QString::fromLatin1(line.Text));
    window.restore();
}

void CBattlefieldPainter::Paint(CBrevimarDoc& doc, QPainter& window)
{
    Render(doc);
    const CBattlefieldGeometry& g = Composed.Geometry;
    if (Composed.BatchMode) {
        window.drawImage(0, 0, Image);
        PaintHelpText(window);
        return;
    }

    const QColor ground = Composed.WhiteBackground ? Qt::white : Qt::black;
    // After a zoom change the larger old picture may still be on the window.
    if (Composed.EraseZoomArea)
        window.fillRect(0, 0, 2 * g.Width(), 2 * g.Height(), ground);

    window.save();
    window.setRenderHint(QPainter::SmoothPixmapTransform, false);
    window.setRenderHint(QPainter::Antialiasing, false);
    const int zoomedWidth = g.ZoomedWidth();
    const int zoomedHeight = g.ZoomedHeight();
    if (zoomedWidth == Image.width() && zoomedHeight == Image.height())
        window.drawImage(0, 0, Image);
    else
        window.drawImage(QRect(0, 0, zoomedWidth, zoomedHeight), Image, Image.rect());

    // The lines follow the stretch, so they meet the cells they join.
    if (!Composed.Lines.empty()) {
        const CRgb c = Composed.LineColour;
        QPen pen(QColor(c.R, c.G, c.B));
        pen.setWidth(1);
        pen.setCosmetic(true);
        window.setPen(pen);
        const double sx = Image.width() > 0 ? static_cast<double>(zoomedWidth) / Image.width() : 1.0;
        const double sy = Image.height() > 0 ? static_cast<double>(zoomedHeight) / Image.height() : 1.0;
        for (const CCommandLine& line : Composed.Lines)
            window.drawLine(QLineF(line.X0 * sx, line.Y0 * sy, line.X1 * sx, line.Y1 * sy));
    }
    window.restore();
}

}  // namespace brevimar
