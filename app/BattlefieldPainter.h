// Draws a composed battlefield: copies each cell's 5 x 5 picture into an
// off-screen image, stretches that image onto the window by the zoom factor
// without smoothing, and draws the local-command lines over it.
#pragma once

#include <QImage>

#include <cstdint>

#include "core/BattlefieldPicture.h"

class QPainter;

namespace brevimar {

class CBrevimarDoc;

class CBattlefieldPainter {
public:
    CBattlefieldPainter();

    // The whole paint of the battlefield window.
    void Paint(CBrevimarDoc& doc, QPainter& window);
    // Composes the document's picture and renders it off-screen, unscaled.
    const QImage& Render(CBrevimarDoc& doc);

    const CBattlefieldPicture& Picture() const { return Composed; }
    const QImage& OffScreen() const { return Image; }

private:
    void RenderComposed();
    void PaintHelpText(QPainter& window) const;

    CBattlefieldPicture Composed;
    QImage Image;  // reused from paint to paint while the size holds
    std::uint32_t SlotPixels[CellPictureCount][CellPictureSize * CellPictureSize];
};

}  // namespace brevimar
