// Draws a composed battlefield: copies each cell's 5 x 5 picture into an
// off-screen image, stretches that image onto the window by the zoom factor
// without smoothing, and draws the local-command lines over it.
#pragma once

#include <QImage>
#include <QRect>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/BattlefieldPicture.h"

class QPainter;

namespace brevimar {

class CBrevimarDoc;

class CBattlefieldPainter {
public:
    CBattlefieldPainter();

    // The whole paint of the battlefield window.
    void Paint(CBrevimarDoc& doc, QPainter& window);
    // Only the exposed part of the window (window coordinates): what lies
    // outside it is left as it was.
    void Paint(CBrevimarDoc& doc, QPainter& window, const QRect& exposed);
    // Composes the document's picture and renders it off-screen, unscaled.
    const QImage& Render(CBrevimarDoc& doc);

    const CBattlefieldPicture& Picture() const { return Composed; }
    const QImage& OffScreen() const { return Image; }

private:
    void RenderComposed();
    void PaintHelpText(QPainter& window) const;
    // Brings the cells of the kept picture at Scale times their size that
    // meet the given picture rectangle up to date with Composed, and its
    // command lines, set into it or taken out.
    void RefreshKept(int scale, const QRect& area, bool withLines);
    void RefreshCell(std::uint8_t* bits, qsizetype stride, int r, int c, int slot);
    // The command lines set into the kept picture, and taken out again.
    void DrawKeptLines(std::uint32_t* pixels);
    void EraseKeptLines(std::uint32_t* pixels);
    // Puts the covered pixels in order of band of cells (a row of cells
    // across the picture), keeping their order within a band, and notes the
    // cell of each.
    void GroupKeptLinesByBand();
    std::uint32_t LineColour() const;

    CBattlefieldPicture Composed;
    QImage Image;  // reused from paint to paint while the size holds
    std::uint32_t SlotPixels[CellPictureCount][CellPictureSize * CellPictureSize];

    // The picture as last painted, at 1 or 2 times its size, redrawn cell by
    // cell only where a cell's picture changed. KeptSlots says what each cell
    // of Kept shows; KeptStale marks every cell as unknown.
    QImage Kept;
    int KeptScale = 0;
    CBattlefieldGeometry KeptGeometry;
    bool KeptWhite = true;
    static constexpr std::int8_t KeptStale = -128;
    std::int8_t KeptSlots[LatticeCells];
    // At 100% and 200% the command lines are set into Kept itself; each pixel
    // they covered is kept here with its colour from before, so the next
    // paint can take them out again before it brings the cells up to date.
    struct CoveredPixel {
        std::uint32_t Offset;  // in pixels from Kept's first
        std::uint32_t Colour;
    };
    // Written through a pointer sized for the longest the lines can be, so
    // that a pixel costs no more than its two moves.
    std::unique_ptr<CoveredPixel[]> UnderLines;
    std::size_t UnderCount = 0;
    std::size_t UnderCapacity = 0;
    // Once a paint finds the lines as they were, UnderLines is grouped by
    // band, band c from UnderBandStart[c] to UnderBandStart[c + 1], with each
    // pixel's lattice cell in UnderCells, so that the lines can be set in
    // again over the cells redrawn band by band while the band's pixels are
    // in the cache.
    bool UnderByBand = false;
    std::unique_ptr<std::uint16_t[]> UnderCells;
    std::unique_ptr<CoveredPixel[]> UnderSpare;
    std::vector<std::uint32_t> UnderBandStart;
    bool LinesKept = false;
    bool Redrawn[LatticeCells];  // the cells this paint redraws
    // The lattice column and row of each pixel column and row of Kept.
    std::vector<std::uint16_t> ColumnCell;
    std::vector<std::uint16_t> RowCell;  // KeptLines are set into Kept, in KeptLineColour
    std::vector<CCommandLine> KeptLines;
    std::uint32_t KeptLineColour = 0;
    // Each cell picture's rows at 1 and 2 times their width.
    std::uint32_t ScaledPixels[2][CellPictureCount][2 * CellPictureSize * CellPictureSize];
    // A cell of bare white and of bare black ground, likewise.
    std::uint32_t GroundPixels[2][2][2 * CellPictureSize * CellPictureSize];
};

}  // namespace brevimar
