#include "app/BattlefieldPainter.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <type_traits>

#include "app/LinePixels.h"
#include "core/Document.h"

namespace brevimar {

namespace {

QRgb ToQRgb(CRgb c) { return qRgb(c.R, c.G, c.B); }

// Copies whole 5 x 5 cell pictures at Scale times their size into one band
// of cells: cell k at column at[k] shows the picture whose scaled rows start
// at rows[k]. The row length is fixed, so each copy is a few moves.
// At 2 times the size the second of each pair of pixel rows is the first
// again: for each run of neighbouring cells it is copied from the first in
// one move.
template <int Scale>
void CopyBand(std::uint8_t* band, qsizetype stride, const std::uint16_t* at, const std::uint32_t* const* rows,
              int count)
{
    constexpr int rowLength = Scale * CellPictureSize;
    for (int y = 0; y < rowLength; y += Scale) {
        auto* out = reinterpret_cast<std::uint32_t*>(band + stride * y);
        for (int k = 0; k < count; ++k)
            std::memcpy(out + rowLength * at[k], rows[k] + rowLength * (y / Scale), sizeof(std::uint32_t) * rowLength);
        for (int again = 1; again < Scale; ++again) {
            auto* copy = reinterpret_cast<std::uint32_t*>(band + stride * (y + again));
            for (int k = 0, end = 0; k < count; k = end) {
                for (end = k + 1; end < count && at[end] == at[end - 1] + 1;)
                    ++end;
                std::memcpy(copy + rowLength * at[k], out + rowLength * at[k],
                            sizeof(std::uint32_t) * rowLength * (end - k));
            }
        }
    }
}

}  // namespace

CBattlefieldPainter::CBattlefieldPainter()
{
    const auto& pictures = CellPictures();
    for (int slot = 0; slot < CellPictureCount; ++slot)
        for (int row = 0; row < CellPictureSize; ++row)
            for (int column = 0; column < CellPictureSize; ++column)
                SlotPixels[slot][CellPictureSize * row + column] = ToQRgb(pictures[slot].Pixels[row][column]);
    for (int scale = 1; scale <= 2; ++scale)
        for (int slot = 0; slot < CellPictureCount; ++slot)
            for (int row = 0; row < CellPictureSize; ++row)
                for (int x = 0; x < scale * CellPictureSize; ++x)
                    ScaledPixels[scale - 1][slot][scale * CellPictureSize * row + x] =
                        SlotPixels[slot][CellPictureSize * row + x / scale];
    for (int scale = 0; scale < 2; ++scale) {
        std::fill(std::begin(GroundPixels[scale][0]), std::end(GroundPixels[scale][0]), qRgb(255, 255, 255));
        std::fill(std::begin(GroundPixels[scale][1]), std::end(GroundPixels[scale][1]), qRgb(0, 0, 0));
    }
    std::fill(std::begin(KeptSlots), std::end(KeptSlots), KeptStale);
    Last.Geometry.Extent = 0;  // nothing painted yet
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

void CBattlefieldPainter::RefreshCell(std::uint8_t* bits, qsizetype stride, int r, int c, int slot)
{
    const CBattlefieldGeometry& g = KeptGeometry;
    const int scale = KeptScale;
    const int width = g.Width(), height = g.Height();
    const QRgb ground = KeptWhite ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    const QRgb outline = qRgb(0, 0, 0);
    const bool picture = slot >= 0 && slot < CellPictureCount;
    const int left = r * g.CellWidth, top = c * g.CellHeight;
    std::uint32_t row[2 * 8 * CellPictureSize];
    const int rowLength = scale * g.CellWidth;
    const bool buffered = rowLength <= static_cast<int>(std::size(row));
    for (int dy = 0; dy < g.CellHeight; ++dy) {
        const int py = top + dy;
        auto* out = reinterpret_cast<std::uint32_t*>(bits + stride * scale * py) + scale * left;
        std::uint32_t* target = buffered ? row : out;
        for (int dx = 0; dx < g.CellWidth; ++dx) {
            const int px = left + dx;
            // As the unscaled render lays it: ground, the outline, then the
            // cell's picture over both.
            QRgb colour = px == 0 || py == 0 || px == width - 1 || py == height - 1 ? outline : ground;
            if (picture && dx < CellPictureSize && dy < CellPictureSize)
                colour = SlotPixels[slot][CellPictureSize * dy + dx];
            for (int k = 0; k < scale; ++k)
                target[scale * dx + k] = colour;
        }
        for (int k = buffered ? 0 : 1; k < scale; ++k)
            std::memcpy(reinterpret_cast<std::uint32_t*>(bits + stride * (scale * py + k)) + scale * left,
                        buffered ? row : out, sizeof(std::uint32_t) * rowLength);
    }
}

void CBattlefieldPainter::RefreshKept(int scale, const QRect& area, bool withLines)
{
    const CBattlefieldGeometry& g = Composed.Geometry;
    const bool sameGeometry = KeptGeometry.Extent == g.Extent && KeptGeometry.CellWidth == g.CellWidth &&
                              KeptGeometry.CellHeight == g.CellHeight;
    if (Kept.width() != scale * g.Width() || Kept.height() != scale * g.Height() || KeptScale != scale ||
        !sameGeometry || KeptWhite != Composed.WhiteBackground) {
        if (Kept.width() != scale * g.Width() || Kept.height() != scale * g.Height())
            Kept = QImage(scale * g.Width(), scale * g.Height(), QImage::Format_RGB32);
        KeptScale = scale;
        KeptGeometry = g;
        KeptWhite = Composed.WhiteBackground;
        std::fill(std::begin(KeptSlots), std::end(KeptSlots), KeptStale);
        UnderCount = 0;  // every cell is redrawn before it shows again
        LinesKept = false;
        ColumnCell.resize(static_cast<std::size_t>(Kept.width()));
        for (int x = 0; x < Kept.width(); ++x)
            ColumnCell[x] = static_cast<std::uint16_t>(x / (scale * g.CellWidth));
        RowCell.resize(static_cast<std::size_t>(Kept.height()));
        for (int y = 0; y < Kept.height(); ++y)
            RowCell[y] = static_cast<std::uint16_t>(y / (scale * g.CellHeight));
    }
    std::uint8_t* bits = Kept.bits();
    const qsizetype stride = Kept.bytesPerLine();
    auto* pixels = reinterpret_cast<std::uint32_t*>(bits);
    // The cells that meet the area, none when it is empty.
    const QRect inside = area & Kept.rect();
    const int cellWidth = scale * g.CellWidth, cellHeight = scale * g.CellHeight;
    int r0 = 0, r1 = -1, c0 = 0, c1 = -1;
    if (!inside.isEmpty()) {
        r0 = inside.left() / cellWidth;
        r1 = std::min(inside.right() / cellWidth, g.Extent - 1);
        c0 = inside.top() / cellHeight;
        c1 = std::min(inside.bottom() / cellHeight, g.Extent - 1);
    }

    // A repaint of a battle that has not moved (the window uncovered,
    // scrolled) finds the lines and the cells it shows as they are.
    const auto sameLine = [](const CCommandLine& a, const CCommandLine& b) {
        return a.X0 == b.X0 && a.Y0 == b.Y0 && a.X1 == b.X1 && a.Y1 == b.Y1;
    };
    const bool linesCurrent = withLines ? LinesKept && KeptLineColour == LineColour() &&
                                              std::equal(Composed.Lines.begin(), Composed.Lines.end(),
                                                         KeptLines.begin(), KeptLines.end(), sameLine)
                                        : !LinesKept;
    bool cellsCurrent = true;
    for (int c = c0; c <= c1 && cellsCurrent; ++c)
        for (int r = r0; r <= r1; ++r)
            if (KeptSlots[LatticeStride * r + c] != static_cast<std::int8_t>(Composed.Slot(r, c))) {
                cellsCurrent = false;
                break;
            }
    if (linesCurrent && cellsCurrent)
        return;

    // Lines that stay as they are stay set in: only over the cells redrawn
    // are they set in again, which is all a paint where the battle moves
    // under still lines (a map switched on or off) has to do for them.
    const bool keepLines = withLines && linesCurrent;
    if (keepLines) {
        std::fill(std::begin(Redrawn), std::end(Redrawn), false);
        if (!UnderByBand)
            GroupKeptLinesByBand();
    } else {
        EraseKeptLines(pixels);
    }
    const std::uint32_t colour = KeptLineColour;
    const bool plainCells = g.CellWidth == CellPictureSize && g.CellHeight == CellPictureSize;
    // One band of cells across the picture at a time. Most cells are a whole
    // picture, or the bare ground, inside the outline: those of a band are
    // copied together, pixel row by pixel row, so that the writes run along
    // the image's rows.
    std::uint16_t plainAt[LatticeStride];
    const std::uint32_t* plainRows[LatticeStride];
    const std::uint32_t* ground = GroundPixels[scale - 1][KeptWhite ? 0 : 1];
    for (int c = c0; c <= c1; ++c) {
        int plain = 0;
        for (int r = r0; r <= r1; ++r) {
            const std::int8_t slot = static_cast<std::int8_t>(Composed.Slot(r, c));
            std::int8_t& kept = KeptSlots[LatticeStride * r + c];
            if (kept == slot)
                continue;
            kept = slot;
            Redrawn[LatticeStride * r + c] = true;
            const bool picture = slot >= 0 && slot < CellPictureCount;
            if (plainCells && (picture || slot == CBattlefieldPicture::Background) && r > 0 && c > 0 &&
                r < g.Extent - 1 && c < g.Extent - 1) {
                plainAt[plain] = static_cast<std::uint16_t>(r);
                plainRows[plain++] = picture ? ScaledPixels[scale - 1][slot] : ground;
            } else {
                RefreshCell(bits, stride, r, c, slot);
            }
        }
        if (plain > 0) {
            std::uint8_t* band = bits + stride * cellHeight * c;
            if (scale == 2)
                CopyBand<2>(band, stride, plainAt, plainRows, plain);
            else
                CopyBand<1>(band, stride, plainAt, plainRows, plain);
        }
        // In the band's order the pixels come as they were covered, so where
        // lines cross the first keeps the cell's colour and the others the
        // line's, as when they were first set in.
        if (keepLines)
            for (std::uint32_t k = UnderBandStart[c]; k < UnderBandStart[c + 1]; ++k)
                if (Redrawn[UnderCells[k]]) {
                    const std::uint32_t offset = UnderLines[k].Offset;
                    UnderLines[k].Colour = pixels[offset];
                    pixels[offset] = colour;
                }
    }
    if (withLines && !keepLines)
        DrawKeptLines(pixels);
}

void CBattlefieldPainter::GroupKeptLinesByBand()
{
    const std::size_t perLine = static_cast<std::size_t>(Kept.bytesPerLine()) / sizeof(std::uint32_t);
    UnderBandStart.assign(static_cast<std::size_t>(KeptGeometry.Extent) + 2, 0);
    for (std::size_t k = 0; k < UnderCount; ++k)
        ++UnderBandStart[RowCell[UnderLines[k].Offset / perLine] + 2];
    for (std::size_t b = 1; b < UnderBandStart.size(); ++b)
        UnderBandStart[b] += UnderBandStart[b - 1];
    // Counted two places on, each band's running start ends one place on,
    // where the next band's start belongs.
    for (std::size_t k = 0; k < UnderCount; ++k) {
        const std::size_t y = UnderLines[k].Offset / perLine, x = UnderLines[k].Offset - y * perLine;
        const std::uint32_t at = UnderBandStart[RowCell[y] + 1]++;
        UnderSpare[at] = UnderLines[k];
        UnderCells[at] = static_cast<std::uint16_t>(LatticeStride * ColumnCell[x] + RowCell[y]);
    }
    UnderLines.swap(UnderSpare);
    UnderByBand = true;
}

void CBattlefieldPainter::EraseKeptLines(std::uint32_t* pixels)
{
    // Last covered first, so that where lines crossed the colour from before
    // the first of them comes back.
    for (std::size_t k = UnderCount; k-- > 0;)
        pixels[UnderLines[k].Offset] = UnderLines[k].Colour;
    UnderCount = 0;
    UnderByBand = false;
    LinesKept = false;
}

std::uint32_t CBattlefieldPainter::LineColour() const
{
    const CRgb c = Composed.LineColour;
    return qRgb(c.R, c.G, c.B);
}

void CBattlefieldPainter::DrawKeptLines(std::uint32_t* pixels)
{
    const std::uint32_t colour = LineColour();
    const int perLine = static_cast<int>(Kept.bytesPerLine() / sizeof(std::uint32_t));
    const int scale = KeptScale;
    // A line sets at most one pixel per step along its longer axis, and no
    // more than fit across the picture.
    const long long across = std::max(Kept.width(), Kept.height());
    std::size_t most = 0;
    for (const CCommandLine& line : Composed.Lines) {
        const long long dx = std::abs(static_cast<long long>(line.X1) - line.X0);
        const long long dy = std::abs(static_cast<long long>(line.Y1) - line.Y0);
        most += static_cast<std::size_t>(std::min(scale * std::max(dx, dy) + 1, across));
    }
    if (most > UnderCapacity) {
        UnderCapacity = std::max(most, 2 * UnderCapacity);
        UnderLines.reset(new CoveredPixel[UnderCapacity]);
        UnderSpare.reset(new CoveredPixel[UnderCapacity]);
        UnderCells.reset(new std::uint16_t[UnderCapacity]);
    }
    CoveredPixel* under = UnderLines.get();
    for (const CCommandLine& line : Composed.Lines)
        ForEachLinePixel(scale * line.X0, scale * line.Y0, scale * line.X1, scale * line.Y1, Kept.width(),
                         Kept.height(), [&](int x, int y) {
                             const std::uint32_t offset = static_cast<std::uint32_t>(perLine * y + x);
                             *under++ = {offset, pixels[offset]};
                             pixels[offset] = colour;
                         });
    UnderCount = static_cast<std::size_t>(under - UnderLines.get());
    UnderByBand = false;
    KeptLines = Composed.Lines;
    KeptLineColour = colour;
    LinesKept = true;
}

void CBattlefieldPainter::BuildRow(int y, int scale, std::uint32_t* row)
{
    const CBattlefieldGeometry& g = Composed.Geometry;
    const int width = scale * g.Width();
    // As the unscaled render lays it: ground, the outline, then the
    // pictures of the cells over both.
    const QRgb outline = qRgb(0, 0, 0);
    const bool edge = y == 0 || y == g.Height() - 1;
    const int c = y / g.CellHeight, dy = y - c * g.CellHeight;
    const bool pictureRow = dy < CellPictureSize && c < g.Extent;
    if (pictureRow && !edge && g.CellWidth == CellPictureSize) {
        // Each cell a picture's row or the ground's, whole: one copy of
        // fixed size per cell, from where the table points, looked up once
        // for the rows of a band of cells.
        if (BandSources.Band != c) {
            for (int r = 0; r < g.Extent; ++r)
                BandSources.Rows[r] = RowSources[static_cast<std::uint8_t>(Composed.Slot(r, c))];
            BandSources.Band = c;
        }
        const std::uint32_t* const* sources = BandSources.Rows;
        auto copyCells = [&](auto length) {
            const std::size_t from = length * dy;
            for (int r = 0; r < g.Extent; ++r)
                std::memcpy(row + length * r, sources[r] + from, sizeof(std::uint32_t) * length);
        };
        if (scale == 2)
            copyCells(std::integral_constant<int, 2 * CellPictureSize>());
        else
            copyCells(std::integral_constant<int, CellPictureSize>());
        const int first = Composed.Slot(0, c), last = Composed.Slot(g.Extent - 1, c);
        if (first < 0 || first >= CellPictureCount)
            std::fill(row, row + scale, outline);
        if (last < 0 || last >= CellPictureCount)
            std::fill(row + width - scale, row + width, outline);
        return;
    }
    if (edge) {
        std::fill(row, row + width, outline);
    } else {
        std::fill(row, row + width, Composed.WhiteBackground ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        std::fill(row, row + scale, outline);
        std::fill(row + width - scale, row + width, outline);
    }
    if (!pictureRow)
        return;
    const int cellWidth = scale * g.CellWidth;
    const std::size_t length = sizeof(std::uint32_t) * scale * std::min(CellPictureSize, g.CellWidth);
    const std::uint32_t* pictures = &ScaledPixels[scale - 1][0][scale * CellPictureSize * dy];
    for (int r = 0; r < g.Extent; ++r) {
        const int slot = Composed.Slot(r, c);
        if (slot >= 0 && slot < CellPictureCount)
            std::memcpy(row + cellWidth * r, pictures + 2 * CellPictureSize * CellPictureSize * slot, length);
    }
}

void CBattlefieldPainter::SortLineRuns(int scale)
{
    const CBattlefieldGeometry& g = Composed.Geometry;
    const auto sameLine = [](const CCommandLine& a, const CCommandLine& b) {
        return a.X0 == b.X0 && a.Y0 == b.Y0 && a.X1 == b.X1 && a.Y1 == b.Y1;
    };
    if (SortedScale == scale && SortedGeometry.Extent == g.Extent && SortedGeometry.CellWidth == g.CellWidth &&
        SortedGeometry.CellHeight == g.CellHeight &&
        std::equal(Composed.Lines.begin(), Composed.Lines.end(), SortedLines.begin(), SortedLines.end(), sameLine))
        return;
    const int width = scale * g.Width(), height = scale * g.Height();
    UnsortedRuns.clear();
    for (const CCommandLine& line : Composed.Lines)
        ForEachLineRun(scale * line.X0, scale * line.Y0, scale * line.X1, scale * line.Y1, width, height,
                       [&](int x, int y, int length) {
                           UnsortedRuns.push_back({static_cast<std::uint32_t>(y),
                                                   {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(length)}});
                       });
    // Counted by row two places on, then each row's running start one place
    // on, so that once placed row y's runs start at LineRowStart[y].
    LineRowStart.assign(static_cast<std::size_t>(height) + 2, 0);
    for (const RowRun& r : UnsortedRuns)
        ++LineRowStart[r.Y + 2];
    for (std::size_t y = 1; y < LineRowStart.size(); ++y)
        LineRowStart[y] += LineRowStart[y - 1];
    LineRuns.resize(UnsortedRuns.size());
    for (const RowRun& r : UnsortedRuns)
        LineRuns[LineRowStart[r.Y + 1]++] = r.Run;
    SortedLines = Composed.Lines;
    SortedGeometry = g;
    SortedScale = scale;
}

bool CBattlefieldPainter::LittleChanged()
{
    const CBattlefieldGeometry& g = Composed.Geometry;
    const auto sameLine = [](const CCommandLine& a, const CCommandLine& b) {
        return a.X0 == b.X0 && a.Y0 == b.Y0 && a.X1 == b.X1 && a.Y1 == b.Y1;
    };
    const bool sameGround = Last.Geometry.Extent == g.Extent && Last.Geometry.CellWidth == g.CellWidth &&
                            Last.Geometry.CellHeight == g.CellHeight &&
                            Last.WhiteBackground == Composed.WhiteBackground;
    const bool sameLines =
        std::equal(Composed.Lines.begin(), Composed.Lines.end(), Last.Lines.begin(), Last.Lines.end(), sameLine);
    int changed = 0;
    for (int r = 0; r < g.Extent; ++r)
        for (int c = 0; c < g.Extent; ++c)
            changed += Last.Slot(r, c) != Composed.Slot(r, c);
    if (!sameGround || !sameLines || changed > 0)
        Last = Composed;
    return sameGround && sameLines && 16 * changed < g.Extent * g.Extent;
}

bool CBattlefieldPainter::PaintStraight(QPainter& window, int scale, const QRect& shown)
{
    // Only a raster image taking the picture's pixels one to one, as they
    // are: anything else (a printer, a scaled or turned painter) goes the
    // way of the kept picture.
    QPaintEngine* engine = window.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || window.opacity() != 1.0 ||
        (window.compositionMode() != QPainter::CompositionMode_SourceOver &&
         window.compositionMode() != QPainter::CompositionMode_Source))
        return false;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return false;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied) ||
        !image->isDetached())
        return false;
    // A widget's painter reaches its window's backing store moved by the
    // widget's place in the window.
    const QTransform move = window.deviceTransform();
    if (move.type() > QTransform::TxTranslate || move.dx() != std::floor(move.dx()) ||
        move.dy() != std::floor(move.dy()) || std::abs(move.dx()) > 1e6 || std::abs(move.dy()) > 1e6)
        return false;
    const QPoint origin(static_cast<int>(move.dx()), static_cast<int>(move.dy()));

    const CBattlefieldGeometry& g = Composed.Geometry;
    const int width = scale * g.Width(), height = scale * g.Height();
    QRegion region(shown.translated(origin) & image->rect());
    // The part of the device the window system lets this paint change.
    const QRegion allowed = engine->systemClip();
    if (!allowed.isEmpty())
        region &= allowed;
    if (region.isEmpty())
        return true;

    const bool lines = !Composed.Lines.empty();
    if (lines)
        SortLineRuns(scale);
    const std::uint32_t lineColour = LineColour();
    const LineRun* runs = LineRuns.data();
    const std::uint32_t* rowStart = LineRowStart.data();
    if (Row.size() < static_cast<std::size_t>(width))
        Row.resize(static_cast<std::size_t>(width));
    const std::uint32_t* ground = GroundPixels[scale - 1][Composed.WhiteBackground ? 0 : 1];
    for (int slot = 0; slot < 256; ++slot)
        RowSources[slot] = slot < CellPictureCount ? ScaledPixels[scale - 1][slot] : ground;
    BandSources.Band = -1;
    std::uint8_t* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    auto line = [&](int y) { return reinterpret_cast<std::uint32_t*>(bits + stride * (y + origin.y())); };
    for (const QRect& part : region) {
        // In picture pixels at the scale.
        const int left = part.left() - origin.x(), right = part.right() - origin.x();
        const int top = part.top() - origin.y(), bottom = part.bottom() - origin.y();
        if (left < 0 || top < 0 || right >= width || bottom >= height)
            continue;  // shown lies inside the picture
        const std::size_t bytes = sizeof(std::uint32_t) * static_cast<std::size_t>(part.width());
        // A whole row is built where it goes, and its copies at 200% taken
        // from there; the lines go in once the copies are taken.
        const bool whole = left == 0 && right == width - 1;
        for (int y0 = top; y0 <= bottom;) {
            const int y1 = std::min(bottom, (y0 / scale + 1) * scale - 1);
            std::uint32_t* built = whole ? line(y0) + part.left() : Row.data();
            BuildRow(y0 / scale, scale, built);
            for (int y = whole ? y0 + 1 : y0; y <= y1; ++y)
                std::memcpy(line(y) + part.left(), built + (whole ? 0 : left), bytes);
            for (int y = y0; lines && y <= y1; ++y) {
                std::uint32_t* out = line(y) + part.left();
                for (const LineRun *run = runs + rowStart[y], *end = runs + rowStart[y + 1]; run < end; ++run) {
                    const int from = std::max(static_cast<int>(run->X), left);
                    const int to = std::min(static_cast<int>(run->X + run->Length) - 1, right);
                    if (from <= to)
                        std::fill(out + (from - left), out + (to - left) + 1, lineColour);
                }
            }
            y0 = y1 + 1;
        }
    }
    return true;
}

void CBattlefieldPainter::Paint(CBrevimarDoc& doc, QPainter& window) { Paint(doc, window, QRect()); }

void CBattlefieldPainter::Paint(CBrevimarDoc& doc, QPainter& window, const QRect& exposed)
{
    const bool clipped = !exposed.isNull();
    // The caller's own clip, which the straight write could not follow.
    const bool callerClip = window.hasClipping();
    ComposeBattlefield(doc, Composed);
    const CBattlefieldGeometry& g = Composed.Geometry;
    window.save();
    if (clipped)
        window.setClipRect(exposed, Qt::IntersectClip);
    const QColor ground = Composed.WhiteBackground ? Qt::white : Qt::black;
    if (Composed.BatchMode) {
        // The batch's picture keeps its size, for its help lines; the rest
        // of what the field took at the zoom is cleared, so that nothing of
        // the battle last drawn stays beside it.
        window.fillRect(0, 0, g.ZoomedWidth(), g.ZoomedHeight(), ground);
        RenderComposed();
        window.drawImage(0, 0, Image);
        PaintHelpText(window);
        window.restore();
        return;
    }

    // After a zoom change the larger old picture may still be on the window.
    if (Composed.EraseZoomArea)
        window.fillRect(0, 0, 2 * g.Width(), 2 * g.Height(), ground);

    window.setRenderHint(QPainter::SmoothPixmapTransform, false);
    window.setRenderHint(QPainter::Antialiasing, false);
    const int width = std::max(g.Width(), 1), height = std::max(g.Height(), 1);
    const int zoomedWidth = g.ZoomedWidth();
    const int zoomedHeight = g.ZoomedHeight();
    const QRect zoomed(0, 0, zoomedWidth, zoomedHeight);
    const QRect shown = clipped ? exposed & zoomed : zoomed;
    // At 100% and 200% the picture is written straight into the window's
    // image where it can be, and otherwise kept at the window's own size and
    // only copied; any other zoom stretches the 100% picture as before, and
    // only the cells the stretch reads from the exposed part need to be
    // current.
    const int scale = zoomedWidth == 2 * width && zoomedHeight == 2 * height ? 2 : 1;
    const bool copied = zoomedWidth == scale * width && zoomedHeight == scale * height;
    if (copied) {
        // Writing each pixel once beats keeping a picture and copying it,
        // most of all at 200%, where the kept picture no longer fits the
        // cache. The straight write keeps to the exposed part itself, but
        // could not follow a clip of the caller's. At 100% the kept picture
        // does fit the cache, and where few cells and no lines changed since
        // the last paint, bringing it up to date and copying it is cheaper.
        const bool keptCheaper = LittleChanged() && scale == 1;
        if (!callerClip && !keptCheaper && PaintStraight(window, scale, shown)) {
            window.restore();
            return;
        }
        // The lines go into the kept picture with the cells: where the cells
        // are copied one to one, they land on the pixels the window's own
        // line drawing would set.
        RefreshKept(scale, shown, true);
        if (!shown.isEmpty())
            window.drawImage(shown.topLeft(), Kept, shown);
        window.restore();
        return;
    }
    const double ux = zoomedWidth > 0 ? static_cast<double>(width) / zoomedWidth : 1.0;
    const double uy = zoomedHeight > 0 ? static_cast<double>(height) / zoomedHeight : 1.0;
    const QRect read(static_cast<int>(shown.left() * ux) - 2, static_cast<int>(shown.top() * uy) - 2,
                     static_cast<int>(shown.width() * ux) + 5, static_cast<int>(shown.height() * uy) + 5);
    RefreshKept(1, shown.isEmpty() ? QRect() : read, false);
    window.drawImage(zoomed, Kept, Kept.rect());

    // The lines follow the stretch, so they meet the cells they join.
    if (!Composed.Lines.empty()) {
        const CRgb c = Composed.LineColour;
        QPen pen(QColor(c.R, c.G, c.B));
        pen.setWidth(1);
        pen.setCosmetic(true);
        window.setPen(pen);
        const double sx = static_cast<double>(zoomedWidth) / width;
        const double sy = static_cast<double>(zoomedHeight) / height;
        for (const CCommandLine& line : Composed.Lines)
            window.drawLine(QLineF(line.X0 * sx, line.Y0 * sy, line.X1 * sx, line.Y1 * sy));
    }
    window.restore();
}

}  // namespace brevimar
