#include "core/BattlefieldPicture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/Document.h"
#include "core/LatticeCodes.h"

namespace brevimar {

namespace {

int FloorDiv(long long a, long long b) { return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b)); }

int ClampedSize(int size) { return std::clamp(size, 0, MaxBattleSize); }

// Picture variants of one thing: on a white ground, on a black ground, on
// passable terrain (which wins over the ground).
struct Variants {
    int White;
    int Black;
    int Passable;
};

constexpr Variants RedAgent{cellslot::RedWhite, cellslot::RedBlack, cellslot::RedPassable};
constexpr Variants BlueAgent{cellslot::BlueWhite, cellslot::BlueBlack, cellslot::BluePassable};
constexpr Variants RedInjuredAgent{cellslot::RedInjuredWhite, cellslot::RedInjuredBlack, cellslot::RedInjuredPassable};
constexpr Variants BlueInjuredAgent{cellslot::BlueInjuredWhite, cellslot::BlueInjuredBlack,
                                    cellslot::BlueInjuredPassable};
constexpr Variants RedSquad{cellslot::RedSquadWhite, cellslot::RedSquadBlack, cellslot::RedSquadPassable};
constexpr Variants BlueSquad{cellslot::BlueSquadWhite, cellslot::BlueSquadBlack, cellslot::BlueSquadPassable};
constexpr Variants RedCommander{cellslot::RedCommanderWhite, cellslot::RedCommanderBlack,
                                cellslot::RedCommanderPassable};
constexpr Variants BlueCommander{cellslot::BlueCommanderWhite, cellslot::BlueCommanderBlack,
                                 cellslot::BlueCommanderPassable};

// One paint's view of the document.
class Composer {
public:
    Composer(CBrevimarDoc& doc, CBattlefieldPicture& picture)
        : Doc(doc), Pic(picture), Field(doc.Battlefield), N(picture.Geometry.Extent),
          Size(ClampedSize(doc.Battlefield.BattleSize)), White(picture.WhiteBackground)
    {
    }

    void Compose()
    {
        switch (Pic.Layer) {
        case BattlefieldLayer::BattleFront: BattleFront(); break;
        case BattlefieldLayer::Territory: Territory(); break;
        case BattlefieldLayer::Activity: Activity(); break;
        case BattlefieldLayer::Agents: Agents(); break;
        }
        CommandLines();
    }

private:
    // Terrain type as drawn: none while terrain is off; cells off the
    // terrain grid are open.
    int TerrainOf(int x, int y) const { return Field.TerrainMode > 0 ? GridTerrain(x, y) : OpenGround; }
    int GridTerrain(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= GridStride || y >= GridStride)
            return OpenGround;
        return Field.TerrainType[GridIndex(x, y)];
    }
    static bool IsOpen(int terrain) { return terrain == OpenGround; }
    static bool IsPassableType(int terrain) { return terrain >= PassableI && terrain <= PassableIII; }
    static bool OpenOrPassable(int terrain) { return IsOpen(terrain) || IsPassableType(terrain); }
    bool OnPassableGround(int terrain) const { return Field.TerrainModifiersOn == 1 && IsPassableType(terrain); }

    int Pick(const Variants& v, int terrain) const
    {
        if (OnPassableGround(terrain))
            return v.Passable;
        return White ? v.White : v.Black;
    }

    static int TerrainSlot(int terrain)
    {
        if (terrain == Lava || terrain == Pillar)
            return cellslot::Impassable;
        if (IsPassableType(terrain))
            return cellslot::Passable;
        return CBattlefieldPicture::Background;
    }

    void Put(int x, int y, int slot)
    {
        if (slot != CBattlefieldPicture::Background)
            Pic.SetCellSlot(x, y, slot);
    }

    void TerrainPass(int x, int y, int terrain) { Put(x, y, TerrainSlot(terrain)); }

    // Both flags: the enemy flag each force heads for.
    void Flags(int slot)
    {
        Put(Doc.RedForce.GoalFlagX, Doc.RedForce.GoalFlagY, slot);
        Put(Doc.BlueForce.GoalFlagX, Doc.BlueForce.GoalFlagY, slot);
    }
    int FlagSlot() const { return White ? cellslot::SolidBlack : cellslot::SolidWhite; }

    // Every cell of the picture, the border included, x outer and y inner.
    template <typename Draw>
    void EachCell(Draw draw)
    {
        for (int x = 0; x < N; ++x)
            for (int y = 0; y < N; ++y)
                draw(x, y, TerrainOf(x, y));
    }

    bool OnBattlefield(int x, int y) const { return x >= 1 && y >= 1 && x <= Size && y <= Size; }

    void BattleFront()
    {
        Flags(FlagSlot());
        Doc.UpdateTerritoryGrid();
        const bool greyscale = Doc.BattleFrontGrayscale == 1;
        EachCell([&](int x, int y, int terrain) {
            TerrainPass(x, y, terrain);
            if (!OpenOrPassable(terrain) || !OnBattlefield(x, y))
                return;
            const int level = Doc.BattleFrontGrid[LatticeStride * x + y];
            if (greyscale) {
                if (level < 1 || level > 5)
                    return;
                // White ground: level 1 white up to level 5 black; black ground the reverse.
                int slot = White ? cellslot::Grey0 + 5 - level : cellslot::Grey0 + level - 1;
                if (level == 1 && OnPassableGround(terrain))
                    slot = cellslot::Grey0 + 3;  // silver, so the front shows on teal
                Put(x, y, slot);
            } else if (level == 1) {
                Put(x, y, FlagSlot());
            }
        });
    }

    void Territory()
    {
        Flags(FlagSlot());
        Doc.ComputeTerritorialPossession();
        EachCell([&](int x, int y, int terrain) {
            TerrainPass(x, y, terrain);
            if (!OpenOrPassable(terrain) || !OnBattlefield(x, y))
                return;
            const int owner = Doc.TerritoryOwner[LatticeStride * x + y];
            if (owner == SideCode(Side::Red) && Doc.TerritoryMapRed == 1)
                Put(x, y, cellslot::RedTerritory);
            else if (owner == SideCode(Side::Blue) && Doc.TerritoryMapBlue == 1)
                Put(x, y, cellslot::BlueTerritory);
        });
    }

    // During playback the moves of the frame on show are read from the
    // capture: a side's living agents whose cell differs from the previous
    // step's, for the sides whose map is on, as the time step marks them.
    void MarkPlaybackMoves()
    {
        for (auto& grid : Doc.ActivityGrids)
            for (int x = 1; x <= Size; ++x)
                std::memset(&grid[LatticeStride * x + 1], 0, sizeof(int) * static_cast<std::size_t>(Size));
        const int t = Doc.RunHeader.CurrentStep;
        if (t < 1 || t >= CaptureRows)
            return;
        for (Side side : {Side::Red, Side::Blue}) {
            const bool on = (side == Side::Red ? Doc.RedActivityMapOn : Doc.BlueActivityMapOn) == 1;
            const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
            if (!on || !Doc.CaptureBuffer[base] || !Doc.CaptureBuffer[base + 1] || !Doc.CaptureBuffer[base + 2])
                continue;
            int* grid = Doc.ActivityGrids[side == Side::Red ? 0 : 1];
            const int n = std::clamp(Doc.Force(side).NumAgents, 0, std::min(MaxAgents, CaptureRows - 1));
            for (int i = 1; i <= n; ++i) {
                const int x = Doc.Capture(base + 1, t, i);
                const int y = Doc.Capture(base + 2, t, i);
                const bool moved = x != Doc.Capture(base + 1, t - 1, i) || y != Doc.Capture(base + 2, t - 1, i);
                if (Doc.Capture(base, t, i) > Dead && moved && OnBattlefield(x, y))
                    grid[LatticeStride * x + y] = 1;
            }
        }
    }

    void Activity()
    {
        if (Doc.RunMode == PlaybackMode)
            MarkPlaybackMoves();
        // The map is the window sums of this frame's moves. The time step
        // has summed them already; summing afresh keeps a repaint from
        // adding them a second time.
        int* sums = Doc.ActivityGrids[2];
        for (int x = 1; x <= Size; ++x)
            std::memset(&sums[LatticeStride * x + 1], 0, sizeof(int) * static_cast<std::size_t>(Size));
        Doc.UpdateActivityMap();

        const int radius = Doc.ActivityRadius;
        const double normaliser = Doc.ActivityNormaliser > 0 ? Doc.ActivityNormaliser : 1;
        EachCell([&](int x, int y, int terrain) {
            TerrainPass(x, y, terrain);
            const int v = OnBattlefield(x, y) ? sums[LatticeStride * x + y] : 0;
            if (radius == 0) {
                if (v == 1) {
                    if (OpenOrPassable(terrain))
                        Put(x, y, cellslot::Grey0 + 4);
                } else if (IsOpen(terrain)) {
                    Put(x, y, cellslot::Grey0);
                }
                return;
            }
            const double f = v / normaliser;
            if (f <= 0.2 && IsOpen(terrain)) {
                Put(x, y, cellslot::Grey0);
            } else if (OpenOrPassable(terrain)) {
                Put(x, y, f <= 0.4 ? cellslot::Grey0 + 1
                          : f <= 0.6 ? cellslot::Grey0 + 2
                          : f <= 0.8 ? cellslot::Grey0 + 3
                                     : cellslot::Grey0 + 4);
            }
        });
        // Every open cell takes a grey, so the flags go on top to stay in sight.
        Flags(cellslot::SolidWhite);
    }

    // Terrain of a lattice entry in the agent picture. On black ground
    // without passable terrain it is read from the lattice's terrain code.
    void AgentTerrain(int x, int y, int terrain, unsigned char code)
    {
        if (!White && Field.TerrainModifiersOn != 1) {
            if (code == LatticeTerrain)
                Put(x, y, TerrainSlot(GridTerrain(x, y)));
            return;
        }
        TerrainPass(x, y, terrain);
    }

    void DeathMark(int x, int y, unsigned char code)
    {
        switch (code) {
        case LatticeRedDead:
            if (Doc.KillMapRed == 1)
                Put(x, y, White ? cellslot::RedDeathWhite : cellslot::RedDeathBlack);
            break;
        case LatticeBlueDead:
            if (Doc.KillMapBlue == 1)
                Put(x, y, White ? cellslot::BlueDeathWhite : cellslot::BlueDeathBlack);
            break;
        case LatticeRedDeadPassable:
            Put(x, y, Doc.KillMapRed == 1 ? cellslot::RedDeathPassable : cellslot::Passable);
            break;
        case LatticeBlueDeadPassable:
            Put(x, y, Doc.KillMapBlue == 1 ? cellslot::BlueDeathPassable : cellslot::Passable);
            break;
        default:
            break;
        }
    }

    // The death code a kill-only cell draws of the two sides' there: one of
    // a side whose map is on, BLUE's over RED's as the frame writes them;
    // else either, which then draws as the terrain under it.
    unsigned char KillCode(unsigned char red, unsigned char blue) const
    {
        if (blue != LatticeEmpty && Doc.KillMapBlue == 1)
            return blue;
        if (red != LatticeEmpty && Doc.KillMapRed == 1)
            return red;
        return blue != LatticeEmpty ? blue : red;
    }

    bool HiddenBySquadHighlight(Side side) const
    {
        return side == Side::Red ? Doc.HighlightRedSquadOn == 1 && Doc.ShowOtherRedAgents != 1
                                 : Doc.HighlightBlueSquadOn == 1 && Doc.ShowOtherBlueAgents != 1;
    }

    void AgentCode(int x, int y, int terrain, unsigned char code)
    {
        switch (code) {
        case LatticeRedAlive:
        case LatticeBlueAlive: {
            const Side side = code == LatticeRedAlive ? Side::Red : Side::Blue;
            if (HiddenBySquadHighlight(side) || Doc.ShowInjured == 1)
                return;
            Put(x, y, Pick(side == Side::Red ? RedAgent : BlueAgent, terrain));
            return;
        }
        case LatticeRedInjured:
        case LatticeBlueInjured: {
            const Side side = code == LatticeRedInjured ? Side::Red : Side::Blue;
            if (HiddenBySquadHighlight(side) || Doc.ShowAlive == 1)
                return;
            const bool own = Doc.HighlightInjured == 1;
            if (side == Side::Red)
                Put(x, y, Pick(own ? RedInjuredAgent : RedAgent, terrain));
            else
                Put(x, y, Pick(own ? BlueInjuredAgent : BlueAgent, terrain));
            return;
        }
        case LatticeRedCommander:
            if (Doc.RedLocal.LocalCommandOn == 1 && Doc.RedCommanderMarks == 1)
                Put(x, y, Pick(RedCommander, terrain));
            return;
        case LatticeGoalFlag:
            Put(x, y, FlagSlot());
            return;
        default:
            DeathMark(x, y, code);
            return;
        }
    }

    // BLUE local commanders have no lattice code of their own (their agents'
    // codes would cover it): they are marked from the live agents, as the
    // lattice marks RED's, only in the interactive run.
    void BlueCommanderMarks()
    {
        const CLocalCommand& local = Doc.BlueLocal;
        if (Doc.RunMode != InteractiveMode || local.LocalCommandOn != 1 || Doc.BlueCommanderMarks != 1)
            return;
        const int commanders = std::clamp(local.NumLocalCommanders, 0, MaxCommanders);
        for (int c = 1; c <= commanders; ++c) {
            const int a = local.CommanderAgent[c];
            if (a < 1 || a > MaxAgents || Doc.BlueForce.AgentState[a] <= Dead)
                continue;
            const int x = Doc.BlueForce.AgentX[a];
            const int y = Doc.BlueForce.AgentY[a];
            Put(x, y, Pick(BlueCommander, TerrainOf(x, y)));
        }
    }

    void SquadHighlight(Side side)
    {
        const bool on = (side == Side::Red ? Doc.HighlightRedSquadOn : Doc.HighlightBlueSquadOn) == 1;
        if (!on)
            return;
        const int squad = side == Side::Red ? Doc.HighlightRedSquadNumber : Doc.HighlightBlueSquadNumber;
        const CForce& force = Doc.Force(side);
        const int n = std::clamp(force.NumAgents, 0, MaxAgents);
        for (int i = 1; i <= n; ++i) {
            if (force.AgentSquad[i] != squad || force.AgentState[i] <= Dead)
                continue;
            const int x = force.AgentX[i];
            const int y = force.AgentY[i];
            Put(x, y, Pick(side == Side::Red ? RedSquad : BlueSquad, TerrainOf(x, y)));
        }
    }

    void Agents()
    {
        Flags(FlagSlot());
        if (!Doc.DisplayGrid)
            return;
        const int frame = Doc.GetDisplayFrame() == 1 ? 1 : 0;
        if (Doc.KillMapOnly == 1) {
            // The agents are hidden, so the kills they stand on show: the
            // frame's own death codes of each side, not the codes on top.
            EachCell([&](int x, int y, int terrain) {
                TerrainPass(x, y, terrain);
                const int c = LatticeColumn(N, y);
                DeathMark(x, y,
                          KillCode(Doc.GetKillCell(frame, Side::Red, x, c), Doc.GetKillCell(frame, Side::Blue, x, c)));
            });
            return;
        }
        EachCell([&](int x, int y, int terrain) {
            const unsigned char code = Doc.GetDisplayCell(frame, x, LatticeColumn(N, y));
            AgentTerrain(x, y, terrain, code);
            AgentCode(x, y, terrain, code);
        });
        BlueCommanderMarks();
        SquadHighlight(Side::Red);
        SquadHighlight(Side::Blue);
    }

    // --- local-command lines, in unscaled picture pixels

    void Line(int x0, int y0, int x1, int y1)
    {
        const CBattlefieldGeometry& g = Pic.Geometry;
        Pic.Lines.push_back({x0 * g.CellWidth, (N - 1 - y0) * g.CellHeight, x1 * g.CellWidth,
                             (N - 1 - y1) * g.CellHeight});
    }

    // The agent of local commander c when it lives.
    bool LivingCommander(Side side, int c, int* x, int* y) const
    {
        const int a = Doc.Local(side).CommanderAgent[c];
        const CForce& force = Doc.Force(side);
        if (a < 1 || a > MaxAgents || force.AgentState[a] <= Dead)
            return false;
        *x = force.AgentX[a];
        *y = force.AgentY[a];
        return true;
    }

    void CommanderNetwork(Side side)
    {
        const bool links = (side == Side::Red ? Doc.RedCommandLinks : Doc.BlueCommandLinks) == 1;
        if (Doc.Global(side).GlobalCommandOn != 1 || !links)
            return;
        const CLocalCommand& local = Doc.Local(side);
        const CForce& force = Doc.Force(side);
        const int commanders = std::clamp(local.NumLocalCommanders, 0, MaxCommanders);
        auto valid = [&](int c) { return local.CommanderAgent[c] >= 1 && local.CommanderAgent[c] <= MaxAgents; };
        // Each pair once: the line from i to j covers the one from j to i.
        for (int i = 1; i <= commanders; ++i) {
            for (int j = i + 1; j <= commanders; ++j) {
                if (!valid(i) || !valid(j))
                    continue;
                const int a = local.CommanderAgent[i];
                const int b = local.CommanderAgent[j];
                Line(force.AgentX[a], force.AgentY[a], force.AgentX[b], force.AgentY[b]);
            }
        }
    }

    void LocalCommandStructure(Side side)
    {
        const CLocalCommand& local = Doc.Local(side);
        if (local.LocalCommandOn != 1)
            return;
        const bool areas = (side == Side::Red ? Doc.RedCommandAreas : Doc.BlueCommandAreas) == 1;
        const bool links = (side == Side::Red ? Doc.RedCommandLinks : Doc.BlueCommandLinks) == 1;
        const CForce& force = Doc.Force(side);
        const int commanders = std::clamp(local.NumLocalCommanders, 0, MaxCommanders);
        for (int c = 1; c <= commanders; ++c) {
            int x = 0, y = 0;
            if (!LivingCommander(side, c, &x, &y))
                continue;
            if (areas) {
                const int r = local.cmnd_rad[c];
                Line(x - r, y - r, x + r, y - r);
                Line(x + r, y - r, x + r, y + r);
                Line(x + r, y + r, x - r, y + r);
                Line(x - r, y + r, x - r, y - r);
            }
            if (links) {
                const int count = std::clamp(local.SubordinateCount[c], 0, MaxSubordinates);
                for (int k = 1; k <= count; ++k) {
                    const int s = local.Subordinates[c][k];
                    if (s >= 1 && s <= MaxAgents && force.AgentState[s] > Dead)
                        Line(x, y, force.AgentX[s], force.AgentY[s]);
                }
            }
        }
    }

    void CommandLines()
    {
        CommanderNetwork(Side::Red);
        CommanderNetwork(Side::Blue);
        LocalCommandStructure(Side::Red);
        LocalCommandStructure(Side::Blue);
    }

    CBrevimarDoc& Doc;
    CBattlefieldPicture& Pic;
    const CBattlefield& Field;
    const int N;     // picture extent
    const int Size;  // battle size the data grids cover
    const bool White;
};

BattlefieldLayer ChooseLayer(const CBrevimarDoc& doc)
{
    if (doc.BattleFrontOn == 1)
        return BattlefieldLayer::BattleFront;
    if (doc.TerritoryMapRed == 1 || doc.TerritoryMapBlue == 1)
        return BattlefieldLayer::Territory;
    if (doc.RedActivityMapOn == 1 || doc.BlueActivityMapOn == 1)
        return BattlefieldLayer::Activity;
    return BattlefieldLayer::Agents;
}

}  // namespace

std::string MapLegend(const CBrevimarDoc& doc)
{
    const bool white = doc.BackgroundToggle == 1;
    const bool red = doc.KillMapRed == 1;
    const bool blue = doc.KillMapBlue == 1;
    switch (ChooseLayer(doc)) {
    case BattlefieldLayer::BattleFront:
        if (doc.BattleFrontGrayscale == 1)
            return white ? "Battle front: grey from white (weak front) to black (strong front)"
                         : "Battle front: grey from black (weak front) to white (strong front)";
        return white ? "Battle front: front cells black" : "Battle front: front cells white";
    case BattlefieldLayer::Territory:
        if (doc.TerritoryMapRed == 1 && doc.TerritoryMapBlue == 1)
            return "Territory: RED-held cells red, BLUE-held cells blue";
        return doc.TerritoryMapRed == 1 ? "Territory: RED-held cells red" : "Territory: BLUE-held cells blue";
    case BattlefieldLayer::Activity: {
        const char* sides = doc.RedActivityMapOn == 1 && doc.BlueActivityMapOn == 1 ? "RED and BLUE"
                            : doc.RedActivityMapOn == 1                             ? "RED"
                                                                                    : "BLUE";
        return std::string("Activity (") + sides + " moves): black none, grey to white more moves nearby";
    }
    case BattlefieldLayer::Agents:
        break;
    }
    std::string marks;
    if (red)
        marks = white ? "RED killed: black crosses" : "RED killed: white crosses";
    if (blue)
        marks += std::string(red ? ", " : "") +
                 (white ? "BLUE killed: black squares" : "BLUE killed: white squares");
    if (doc.KillMapOnly == 1)
        return marks.empty() ? "Kill map: agents hidden and no side's kills chosen, so the field is empty"
                             : "Kill map, agents hidden: " + marks;
    return marks.empty() ? std::string() : "Kill map: " + marks;
}

void CBattlefieldGeometry::CellAt(int windowX, int windowY, int* x, int* y) const
{
    // Window pixel -> picture pixel as the stretch samples it: the picture
    // pixel under the window pixel's centre, a centre on a boundary going to
    // the pixel before it. Then picture pixel -> cell.
    const long long zw = std::max(ZoomedWidth(), 1);
    const long long zh = std::max(ZoomedHeight(), 1);
    const int u = FloorDiv((2LL * windowX + 1) * Width() - 1, 2 * zw);
    const int v = FloorDiv((2LL * windowY + 1) * Height() - 1, 2 * zh);
    *x = FloorDiv(u, std::max(CellWidth, 1));
    *y = Extent - 1 - FloorDiv(v, std::max(CellHeight, 1));
}

double CBattlefieldGeometry::WindowX(int x) const
{
    return Width() > 0 ? static_cast<double>(x) * CellWidth * ZoomedWidth() / Width() : 0.0;
}

double CBattlefieldGeometry::WindowY(int y) const
{
    return Height() > 0 ? static_cast<double>(Extent - 1 - y) * CellHeight * ZoomedHeight() / Height() : 0.0;
}

float DrawingZoom(float zoomFactor)
{
    if (!std::isfinite(zoomFactor) || zoomFactor <= 0.0f)
        return 1.0f;
    return std::clamp(zoomFactor, 0.25f, 2.0f);
}

CBattlefieldGeometry BattlefieldGeometry(const CBrevimarDoc& doc)
{
    CBattlefieldGeometry g;
    const int size = doc.RunMode == ReplayMode ? doc.RunHeader.LatticeSize : doc.Battlefield.BattleSize;
    g.Extent = ClampedSize(size) + 2;
    g.CellWidth = doc.CellBitmapWidth > 0 ? doc.CellBitmapWidth : CellPictureSize;
    g.CellHeight = doc.CellBitmapHeight > 0 ? doc.CellBitmapHeight : CellPictureSize;
    g.Zoom = DrawingZoom(doc.ZoomFactor);
    return g;
}

void CBattlefieldPicture::SetCellSlot(int x, int y, int slot)
{
    const int n = Geometry.Extent;
    if (x < 0 || y < 0 || x >= n || y >= n)
        return;
    SetSlot(x, n - 1 - y, slot);
}

void CBattlefieldPicture::Clear(int extent)
{
    for (int r = 0; r < extent; ++r)
        std::memset(&Slots[LatticeStride * r], Background, static_cast<std::size_t>(extent));
}

void ComposeBattlefield(CBrevimarDoc& doc, CBattlefieldPicture& picture)
{
    picture.Geometry = BattlefieldGeometry(doc);
    picture.WhiteBackground = doc.BackgroundToggle == 1;
    picture.LineColour = picture.WhiteBackground ? CRgb{0, 0, 0} : CRgb{255, 255, 255};
    picture.Lines.clear();
    picture.EraseZoomArea = false;
    picture.Clear(picture.Geometry.Extent);

    const int mode = doc.RunMode;
    picture.BatchMode = mode == GeneticAlgorithmMode || mode == FitnessLandscapeMode || mode == MultipleTimeSeriesMode;
    if (picture.BatchMode)
        return;
    if (doc.ZoomAreaCleared == 0) {
        picture.EraseZoomArea = true;
        doc.ZoomAreaCleared = 1;
    }
    picture.Layer = ChooseLayer(doc);
    Composer(doc, picture).Compose();
}

}  // namespace brevimar
