// Draws a composed battlefield: copies each cell's 5 x 5 picture into an
// off-screen image, stretches that image onto the window by the zoom factor
// without smoothing, and draws the local-command lines over it. At 100% and
// 200% onto a plain raster image (a window's backing store among them) the
// cells and lines are written straight into that image instead.
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
    // Writes the picture at Scale times its size straight into the image the
    // window's painter draws on, over the shown part of the picture (window
    // coordinates); false, having written nothing, when that image cannot be
    // reached as plain 32-bit pixels one to one.
    bool PaintStraight(QPainter& window, int scale, const QRect& shown);
    // The picture's unscaled pixel row y, each pixel Scale times, into row.
    void BuildRow(int y, int scale, std::uint32_t* row);
    // The command lines' pixels at Scale, as runs along picture rows.
    void SortLineRuns(int scale);
    // Whether Composed shows the last paint's lines and differs from its
    // cells in few places; notes Composed as the last paint.
    bool LittleChanged();
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
    // What the last paint showed, for LittleChanged.
    CBattlefieldPicture Last;
    // One pixel row of the picture, as written to the window.
    std::vector<std::uint32_t> Row;
    // By slot as an unsigned byte, the scaled picture of the cell, or the
    // bare ground's, for BuildRow.
    const std::uint32_t* RowSources[256] = {};
    // RowSources of each cell of one band, the band's rows being built.
    struct {
        int Band = -1;
        const std::uint32_t* Rows[LatticeStride];
    } BandSources;
    // Runs of the command lines' pixels along the rows of the picture at
    // SortedScale, row y's from LineRowStart[y] to LineRowStart[y + 1], for
    // SortedLines; kept while the lines stay where they are.
    struct LineRun {
        std::uint32_t X;
        std::uint32_t Length;
    };
    struct RowRun {
        std::uint32_t Y;
        LineRun Run;
    };
    std::vector<LineRun> LineRuns;
    std::vector<RowRun> UnsortedRuns;
    std::vector<std::uint32_t> LineRowStart;
    std::vector<CCommandLine> SortedLines;
    CBattlefieldGeometry SortedGeometry;
    int SortedScale = 0;
    // Each cell picture's rows at 1 and 2 times their width.
    std::uint32_t ScaledPixels[2][CellPictureCount][2 * CellPictureSize * CellPictureSize];
    // A cell of bare white and of bare black ground, likewise.
    std::uint32_t GroundPixels[2][2][2 * CellPictureSize * CellPictureSize];
};

}  // namespace brevimar
