// What the battlefield view shows, decided without any window system: one
// cell picture (a slot of the 48-picture table) per lattice entry, the
// local-command lines to draw over the stretched picture, and the geometry
// that ties window pixels, picture pixels and battlefield cells together.
// The view's painter only copies the pictures and draws the lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/CellPictures.h"
#include "core/Limits.h"

namespace brevimar {

class CBrevimarDoc;

// Slots of the cell-picture table by what the view draws with them.
namespace cellslot {
constexpr int RedPassable = 1, RedWhite = 2, RedBlack = 3;
constexpr int RedInjuredPassable = 4, RedInjuredWhite = 5, RedInjuredBlack = 6;
constexpr int BluePassable = 7, BlueWhite = 8, BlueBlack = 9;
constexpr int BlueInjuredPassable = 10, BlueInjuredWhite = 11, BlueInjuredBlack = 12;
constexpr int Impassable = 13;  // terrain types 1 and 2
constexpr int Passable = 14;    // terrain types 3 to 5
constexpr int SolidBlack = 15;  // flags and the solid front on white
constexpr int SolidWhite = 17;  // flags and the solid front on black
constexpr int RedSquadWhite = 18, RedSquadPassable = 19, RedSquadBlack = 20;
constexpr int BlueSquadWhite = 21, BlueSquadPassable = 22, BlueSquadBlack = 23;
constexpr int RedCommanderWhite = 24, RedCommanderPassable = 25, RedCommanderBlack = 26;
constexpr int BlueCommanderWhite = 27, BlueCommanderPassable = 28, BlueCommanderBlack = 29;
constexpr int RedDeathPassable = 30, RedDeathWhite = 31, RedDeathBlack = 32;
constexpr int BlueDeathWhite = 33, BlueDeathPassable = 34, BlueDeathBlack = 35;
constexpr int Grey0 = 36;  // black; Grey1..Grey4 follow, up to white
constexpr int RedTerritory = 41, BlueTerritory = 42;
}  // namespace cellslot

// The one map drawn, the first that applies in this order.
enum class BattlefieldLayer { BattleFront, Territory, Activity, Agents };

// Sizes of the picture and the mapping between window, picture and cells.
// The picture holds Extent x Extent cells; lattice entry [r][c] shows
// battlefield cell (r, Extent - 1 - c) at picture pixel (r * CellWidth,
// c * CellHeight). The window shows the picture stretched to
// ZoomedWidth() x ZoomedHeight().
struct CBattlefieldGeometry {
    int Extent = 2;
    int CellWidth = CellPictureSize;
    int CellHeight = CellPictureSize;
    float Zoom = 1.0f;

    int Width() const { return Extent * CellWidth; }
    int Height() const { return Extent * CellHeight; }
    int ZoomedWidth() const { return static_cast<int>(static_cast<float>(Width()) * Zoom); }
    int ZoomedHeight() const { return static_cast<int>(static_cast<float>(Height()) * Zoom); }

    // The battlefield cell (x, y) under a window point; it may lie off the
    // battlefield (the border is x or y = 0 or Extent - 1).
    void CellAt(int windowX, int windowY, int* x, int* y) const;
    // Window point of the top-left corner of cell (x, y)'s picture.
    double WindowX(int x) const;
    double WindowY(int y) const;
};

// The zoom the picture is drawn at: the document's factor, held to the
// menu's range 0.25..2 (a factor that is not a positive number counts as 1).
float DrawingZoom(float zoomFactor);

CBattlefieldGeometry BattlefieldGeometry(const CBrevimarDoc& doc);

// A line in unscaled picture pixels.
struct CCommandLine {
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;
};

// The help text shown instead of the battlefield while a batch mode runs:
// five lines at x = 10 and these tops.
struct CHelpLine {
    int Top;
    const char* Text;
};
constexpr int HelpTextLeft = 10;
constexpr CHelpLine HelpLines[5] = {
    {10, "     Click on..."},
    {40, "Simulation::Run/Stop"},
    {70, "To RUN/Continue RUN"},
    {130, "Click on Any Menu-Item"},
    {160, "    To Pause RUN"},
};

class CBattlefieldPicture {
public:
    static constexpr std::int8_t Background = -1;  // no picture: the background shows

    CBattlefieldGeometry Geometry;
    bool WhiteBackground = true;
    bool BatchMode = false;       // only the background and the help lines
    bool EraseZoomArea = false;   // erase twice the picture's size first (after a zoom change)
    BattlefieldLayer Layer = BattlefieldLayer::Agents;
    std::vector<CCommandLine> Lines;  // drawn over the stretched picture
    CRgb LineColour;                  // black on white, white on black

    CBattlefieldPicture() { Lines.reserve(1024); }

    int Slot(int r, int c) const { return Slots[LatticeStride * r + c]; }
    void SetSlot(int r, int c, int slot) { Slots[LatticeStride * r + c] = static_cast<std::int8_t>(slot); }
    // Battlefield cell (x, y), drawn where the lattice puts it.
    int CellSlot(int x, int y) const { return Slot(x, Geometry.Extent - 1 - y); }
    void SetCellSlot(int x, int y, int slot);
    void Clear(int extent);

private:
    std::int8_t Slots[LatticeCells] = {};  // [r][c] at LatticeStride * r + c
};

// Decides the picture for the document as it stands: the display switches,
// the current lattice frame, the map builders' grids. Besides the picture it
// writes only ZoomAreaCleared, the battle-front and territory maps it asks
// for, and the activity grids of the activity map.
void ComposeBattlefield(CBrevimarDoc& doc, CBattlefieldPicture& picture);

// One line naming the colours of the map on show, for the status bar; empty
// while the field shows the agents with no kill marks.
std::string MapLegend(const CBrevimarDoc& doc);

}  // namespace brevimar
