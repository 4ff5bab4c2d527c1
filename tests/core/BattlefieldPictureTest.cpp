#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <memory>

#include "core/BattlefieldPicture.h"
#include "core/LatticeCodes.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

namespace slot = cellslot;
constexpr int Bg = CBattlefieldPicture::Background;

class Picture : public ::testing::Test {
protected:
    testing::TestDocument doc;
    std::unique_ptr<CBattlefieldPicture> pic = std::make_unique<CBattlefieldPicture>();

    void SetUp() override
    {
        doc->ResetDataCollection();
        doc->RunMode = InteractiveMode;
        doc->Battlefield.BattleSize = 10;  // picture of 12 x 12 cells
        doc->CellBitmapWidth = doc->CellBitmapHeight = 5;
        doc->RedActivityMapOn = doc->BlueActivityMapOn = 0;
        doc->NumRed() = doc->NumBlue() = 0;
        doc->RedForce.GoalFlagX = 9, doc->RedForce.GoalFlagY = 8;   // the BLUE flag
        doc->BlueForce.GoalFlagX = 2, doc->BlueForce.GoalFlagY = 3;  // the RED flag
    }

    // As a frame builder leaves it: a death code is kept in its side's
    // death codes too, whatever is written over the cell later.
    void Code(int x, int y, unsigned char code)
    {
        doc->DisplayPlane(doc->DisplayFrame)[LatticeCellOffset(12, x, y)] = code;
        const bool red = code == LatticeRedDead || code == LatticeRedDeadPassable;
        const bool blue = code == LatticeBlueDead || code == LatticeBlueDeadPassable;
        if (red || blue)
            doc->KillPlane(doc->DisplayFrame, red ? Side::Red : Side::Blue)[LatticeCellOffset(12, x, y)] = code;
    }
    void Terrain(int x, int y, int type) { doc->Battlefield.TerrainType[GridIndex(x, y)] = type; }
    void Agent(Side side, int i, int x, int y, int state, int squad = 1)
    {
        CForce& f = doc->Force(side);
        f.NumAgents = std::max(f.NumAgents, i);
        f.AgentX[i] = x, f.AgentY[i] = y, f.AgentState[i] = state, f.AgentSquad[i] = squad;
    }
    void Compose() { ComposeBattlefield(*doc, *pic); }
    int At(int x, int y) { return pic->CellSlot(x, y); }
    // Composes, then checks {x, y, slot} triples.
    void Expect(std::initializer_list<std::array<int, 3>> cells)
    {
        Compose();
        for (const auto& [x, y, s] : cells)
            EXPECT_EQ(At(x, y), s) << "cell " << x << "," << y;
    }
    int Front(int x, int y) const { return doc.Doc->BattleFrontGrid[LatticeStride * x + y]; }
};

TEST(PictureGeometry, ZoomSizesAndTheMappingBetweenWindowAndCells)
{
    testing::TestDocument doc;
    doc->Battlefield.BattleSize = 150;
    doc->CellBitmapWidth = doc->CellBitmapHeight = 5;
    doc->ZoomFactor = 0.25f;
    CBattlefieldGeometry g = BattlefieldGeometry(*doc);
    EXPECT_EQ(g.Extent, 152);
    EXPECT_EQ(g.Width(), 760);
    EXPECT_EQ(g.ZoomedWidth(), 190);
    EXPECT_EQ(g.ZoomedHeight(), 190);
    doc->ZoomFactor = 0.75f;
    EXPECT_EQ(BattlefieldGeometry(*doc).ZoomedWidth(), 570);
    doc->ZoomFactor = 1.75f;
    EXPECT_EQ(BattlefieldGeometry(*doc).ZoomedWidth(), 1330);
    // A factor that is no zoom at all draws at 100%; the menu's range holds.
    for (float bad : {0.0f, -1.0f, std::nanf("")})
        EXPECT_EQ(DrawingZoom(bad), 1.0f);
    EXPECT_EQ(DrawingZoom(9.0f), 2.0f);
    EXPECT_EQ(DrawingZoom(0.1f), 0.25f);

    // Cell (140, 141) is drawn at picture pixel (700, 50); a window point
    // inside it names it at every zoom, and its corner scales with the zoom.
    int x = 0, y = 0;
    for (float zoom : {0.25f, 0.5f, 1.0f, 1.25f, 2.0f}) {
        doc->ZoomFactor = zoom;
        g = BattlefieldGeometry(*doc);
        EXPECT_DOUBLE_EQ(g.WindowX(140), 700.0 * zoom);
        EXPECT_DOUBLE_EQ(g.WindowY(141), 50.0 * zoom);
        g.CellAt(static_cast<int>(702 * zoom), static_cast<int>(52 * zoom), &x, &y);
        EXPECT_EQ(x, 140) << zoom;
        EXPECT_EQ(y, 141) << zoom;
    }
    // Between whole ratios the window pixel names the picture pixel the
    // stretch copies into it: at 75% window pixels 0..3 show cell 0.
    doc->ZoomFactor = 0.75f;
    BattlefieldGeometry(*doc).CellAt(3, 0, &x, &y);
    EXPECT_EQ(x, 0);
    BattlefieldGeometry(*doc).CellAt(4, 0, &x, &y);
    EXPECT_EQ(x, 1);
    doc->ZoomFactor = 2.0f;
    BattlefieldGeometry(*doc).CellAt(1409, 109, &x, &y);  // last pixel of the cell
    EXPECT_EQ(x, 140);
    EXPECT_EQ(y, 141);
    BattlefieldGeometry(*doc).CellAt(1410, 110, &x, &y);
    EXPECT_EQ(x, 141);
    EXPECT_EQ(y, 140);

    // A frame-file replay draws the stored run's lattice size.
    doc->RunMode = ReplayMode;
    doc->RunHeader.LatticeSize = 40;
    EXPECT_EQ(BattlefieldGeometry(*doc).Extent, 42);
    doc->RunHeader.LatticeSize = 9999;  // from a file
    EXPECT_EQ(BattlefieldGeometry(*doc).Extent, 152);
}

TEST(PictureTable, SlotsShowWhatTheViewDrawsWithThem)
{
    // Centre and corner of the pictures the drawing names by colour.
    const CRgb white{255, 255, 255}, black{0, 0, 0}, cyan{0, 255, 255}, teal{0, 128, 128}, silver{192, 192, 192},
        grey{128, 128, 128}, red{255, 0, 0}, blue{0, 0, 255};
    const struct {
        int Slot;
        CRgb Centre, Corner;
    } table[] = {{0, cyan, white},     {13, silver, silver}, {14, teal, teal},     {15, black, black},
                 {17, white, white},   {33, black, white},   {35, white, black},   {36, black, black},
                 {37, grey, grey},     {39, silver, silver}, {40, white, white},   {41, red, red},
                 {42, blue, blue},     {43, white, white},   {46, grey, grey},     {47, black, black}};
    for (const auto& e : table) {
        EXPECT_EQ(CellPictures()[e.Slot].Pixels[2][2], e.Centre) << e.Slot;
        EXPECT_EQ(CellPictures()[e.Slot].Pixels[0][4], e.Corner) << e.Slot;
    }
    EXPECT_EQ(CellPictures()[38].Pixels[0][1], grey);  // silver and grey chequer
    EXPECT_EQ(CellPictures()[43].Pixels[0][1], silver);
}

TEST_F(Picture, AgentCodesOnWhiteBlackAndPassableGround)
{
    doc->Battlefield.TerrainMode = 1;
    doc->Battlefield.TerrainModifiersOn = 1;
    Terrain(5, 5, PassableII);
    Terrain(6, 6, Lava);
    Code(1, 1, LatticeRedAlive), Code(2, 1, LatticeBlueAlive), Code(3, 1, LatticeRedInjured);
    Code(4, 1, LatticeBlueInjured), Code(5, 5, LatticeRedAlive), Code(6, 6, LatticeTerrain);
    Code(9, 8, LatticeGoalFlag);
    // Injured as alive; both flags in their cells' own rows (code 99 is a flag).
    Expect({{1, 1, slot::RedWhite}, {2, 1, slot::BlueWhite}, {3, 1, slot::RedWhite}, {4, 1, slot::BlueWhite},
            {5, 5, slot::RedPassable}, {6, 6, slot::Impassable}, {9, 8, slot::SolidBlack}, {2, 3, slot::SolidBlack},
            {7, 7, Bg}});
    EXPECT_EQ(pic->Layer, BattlefieldLayer::Agents);
    EXPECT_EQ(pic->Slot(9, 12 - 1 - 8), slot::SolidBlack);

    doc->HighlightInjured = 1;
    doc->BackgroundToggle = 0;
    Expect({{1, 1, slot::RedBlack}, {3, 1, slot::RedInjuredBlack}, {4, 1, slot::BlueInjuredBlack},
            {5, 5, slot::RedPassable}, {9, 8, slot::SolidWhite}});
    // Injured alone: the alive hidden, the injured in the alive colours.
    doc->BackgroundToggle = 1;
    doc->HighlightInjured = 0;
    doc->ShowInjured = 1;
    Expect({{1, 1, Bg}, {2, 1, Bg}, {3, 1, slot::RedWhite}, {4, 1, slot::BlueWhite}});
    doc->ShowInjured = 0;
    doc->ShowAlive = 1;
    Expect({{1, 1, slot::RedWhite}, {3, 1, Bg}});
    // On black ground without passable terrain, terrain comes from the lattice.
    doc->ShowAlive = 0;
    doc->BackgroundToggle = 0;
    doc->Battlefield.TerrainModifiersOn = 0;
    Code(6, 6, LatticeEmpty);
    Expect({{6, 6, Bg}, {5, 5, slot::RedBlack}});
}

TEST_F(Picture, AgentsComeFromTheFrameOnShow)
{
    // The builder fills one plane while the other is on show.
    doc->DisplayFrame = 0;
    doc->DisplayPlane(1)[LatticeCellOffset(12, 4, 7)] = LatticeBlueAlive;
    EXPECT_EQ(doc->GetDisplayCell(1, 4, 12 - 1 - 7), LatticeBlueAlive);
    Expect({{4, 7, Bg}});
    doc->DisplayFrame = 1;
    EXPECT_EQ(doc->GetDisplayFrame(), 1);
    Expect({{4, 7, slot::BlueWhite}});
}

TEST_F(Picture, KillMapsCommandersAndSquadHighlights)
{
    Code(1, 1, LatticeRedDead), Code(2, 2, LatticeBlueDead), Code(3, 3, LatticeRedDeadPassable);
    Code(4, 4, LatticeBlueDeadPassable), Code(5, 5, LatticeBlueDead), Code(5, 5, LatticeRedAlive);
    Code(6, 6, LatticeRedCommander), Code(10, 10, LatticeRedDead), Code(10, 10, LatticeBlueDead);
    // Kill maps off: the passable ground shows; RED local command is off.
    Expect({{1, 1, Bg}, {2, 2, Bg}, {3, 3, slot::Passable}, {4, 4, slot::Passable}, {6, 6, Bg}});
    doc->KillMapRed = doc->KillMapBlue = 1;
    doc->RedLocal.LocalCommandOn = 1;
    doc->RedCommanderMarks = 1;
    Expect({{1, 1, slot::RedDeathWhite}, {2, 2, slot::BlueDeathWhite}, {3, 3, slot::RedDeathPassable},
            {4, 4, slot::BlueDeathPassable}, {6, 6, slot::RedCommanderWhite}});
    doc->BackgroundToggle = 0;
    Expect({{1, 1, slot::RedDeathBlack}, {2, 2, slot::BlueDeathBlack}, {6, 6, slot::RedCommanderBlack}});
    doc->BackgroundToggle = 1;
    Expect({{5, 5, slot::RedWhite}, {10, 10, slot::BlueDeathWhite}});
    // The dead alone, those the living stand on too; of two sides fallen on
    // one cell, the one whose map is on, BLUE when both are.
    doc->KillMapOnly = 1;
    Expect({{1, 1, slot::RedDeathWhite}, {5, 5, slot::BlueDeathWhite}, {6, 6, Bg}, {10, 10, slot::BlueDeathWhite}});
    doc->KillMapBlue = 0;
    Expect({{1, 1, slot::RedDeathWhite}, {2, 2, Bg}, {5, 5, Bg}, {10, 10, slot::RedDeathWhite}});
    doc->KillMapBlue = 1;

    // BLUE commanders are marked from the live agents, in the interactive run.
    doc->KillMapOnly = 0;
    Agent(Side::Blue, 1, 7, 7, Alive);
    Agent(Side::Blue, 2, 8, 8, Dead);
    Code(7, 7, LatticeBlueAlive);
    CLocalCommand& blue = doc->BlueLocal;
    blue.LocalCommandOn = 1, blue.NumLocalCommanders = 2, blue.CommanderAgent[1] = 1, blue.CommanderAgent[2] = 2;
    Expect({{7, 7, slot::BlueWhite}});
    doc->BlueCommanderMarks = 1;
    Expect({{7, 7, slot::BlueCommanderWhite}, {8, 8, Bg}});
    doc->RunMode = PlaybackMode;
    Expect({{7, 7, slot::BlueWhite}});

    // A RED squad highlight with the others hidden leaves BLUE alone.
    doc->RunMode = InteractiveMode;
    doc->NumRed() = doc->NumBlue() = 0;
    Agent(Side::Red, 1, 1, 1, Alive, 1);
    Agent(Side::Red, 2, 2, 2, Injured, 2);
    Agent(Side::Red, 3, 3, 3, Dead, 2);
    Agent(Side::Blue, 1, 4, 4, Alive, 2);
    doc->KillMapRed = doc->BlueCommanderMarks = 0;
    doc->RenderDisplayGrid();
    doc->HighlightRedSquadOn = 1;
    doc->HighlightRedSquadNumber = 2;
    doc->ShowOtherRedAgents = 0;
    doc->ShowOtherBlueAgents = 1;
    Expect({{1, 1, Bg}, {2, 2, slot::RedSquadWhite}, {3, 3, Bg}, {4, 4, slot::BlueWhite}});
    doc->ShowOtherRedAgents = 1;
    doc->BackgroundToggle = 0;
    Expect({{1, 1, slot::RedBlack}, {2, 2, slot::RedSquadBlack}});
}

TEST_F(Picture, LayerPriorityAndBatchModes)
{
    Code(5, 5, LatticeRedAlive);
    doc->RedActivityMapOn = doc->TerritoryMapBlue = doc->BattleFrontOn = 1;
    Expect({{5, 5, Bg}});  // no agents under the battle front
    EXPECT_EQ(pic->Layer, BattlefieldLayer::BattleFront);
    doc->BattleFrontOn = 0;
    Compose();
    EXPECT_EQ(pic->Layer, BattlefieldLayer::Territory);
    doc->TerritoryMapBlue = 0;
    Compose();
    EXPECT_EQ(pic->Layer, BattlefieldLayer::Activity);
    doc->RedActivityMapOn = 0;
    Expect({{5, 5, slot::RedWhite}});
    EXPECT_EQ(pic->Layer, BattlefieldLayer::Agents);

    // The first paint after a zoom change erases, and only that one.
    doc->ZoomAreaCleared = 0;
    Compose();
    EXPECT_TRUE(pic->EraseZoomArea);
    EXPECT_EQ(doc->ZoomAreaCleared, 1);
    Compose();
    EXPECT_FALSE(pic->EraseZoomArea);

    for (int mode : {GeneticAlgorithmMode, FitnessLandscapeMode, MultipleTimeSeriesMode}) {
        doc->RunMode = mode;
        doc->ZoomAreaCleared = 0;
        Expect({{5, 5, Bg}, {9, 8, Bg}});  // not even the flags
        EXPECT_TRUE(pic->BatchMode);
        EXPECT_EQ(doc->ZoomAreaCleared, 0);
    }
}

// BLUE at the centre (5, 5) and `red` RED agents in the square around it.
void SurroundCentre(CBrevimarDoc& doc, int red)
{
    static const int dx[] = {-1, 0, 1, -1, 1, -1, 0, 1};
    static const int dy[] = {-1, -1, -1, 0, 0, 1, 1, 1};
    doc.BlueForce.NumAgents = 1;
    doc.BlueForce.AgentX[1] = 5, doc.BlueForce.AgentY[1] = 5, doc.BlueForce.AgentState[1] = Alive;
    doc.RedForce.NumAgents = red;
    for (int i = 1; i <= red; ++i) {
        doc.RedForce.AgentX[i] = 5 + dx[i - 1];
        doc.RedForce.AgentY[i] = 5 + dy[i - 1];
        doc.RedForce.AgentState[i] = i % 2 ? Alive : Injured;
    }
}

TEST_F(Picture, BattleFrontGreysAndSolidFront)
{
    doc->BattleFrontOn = 1;
    doc->Statistics.BattleFrontRadius = 1;  // levels: m < 2, 2, 3, 4, then 5
    const int whiteGreys[] = {0, 40, 39, 38, 37, 36};
    const int blackGreys[] = {0, 36, 37, 38, 39, 40};
    for (int red = 1; red <= 5; ++red) {
        SurroundCentre(*doc, red);
        doc->BackgroundToggle = 1;
        Expect({{5, 5, whiteGreys[red]}});
        EXPECT_EQ(Front(5, 5), red);
        doc->BackgroundToggle = 0;
        Expect({{5, 5, blackGreys[red]}, {9, 9, Bg}, {9, 8, slot::SolidWhite}});
    }
    // Level 1 on passable ground is silver; impassable terrain stays.
    SurroundCentre(*doc, 1);
    doc->Battlefield.TerrainMode = 1;
    doc->Battlefield.TerrainModifiersOn = 1;
    Terrain(5, 5, PassableI);
    Terrain(6, 6, Pillar);
    Expect({{5, 5, 39}, {6, 6, slot::Impassable}});
    // Solid: T of each side within R.
    Terrain(5, 5, OpenGround);
    doc->BattleFrontGrayscale = 0;
    doc->Statistics.BattleFrontThreshold = 2;
    Expect({{5, 5, Bg}});
    doc->Statistics.BattleFrontThreshold = 1;
    Expect({{5, 5, slot::SolidWhite}});
    doc->BackgroundToggle = 1;
    Expect({{5, 5, slot::SolidBlack}});
}

TEST_F(Picture, BattleFrontMapCountsAgentsOrOwnedCells)
{
    doc->Statistics.BattleFrontRadius = 1;
    SurroundCentre(*doc, 8);
    doc->UpdateTerritoryGrid();
    EXPECT_EQ(Front(5, 5), 5);  // m = 8 >= 5R, n = 1 <= 5R
    EXPECT_EQ(Front(3, 5), 0);  // only RED near
    SurroundCentre(*doc, 1);
    doc->UpdateTerritoryGrid();
    EXPECT_EQ(Front(5, 5), 1);
    EXPECT_EQ(Front(4, 4), 1);
    // With a territory map on, owned cells count: each agent owns the cells
    // within 1 of it (RED first), so round the centre 4 RED and 5 BLUE cells.
    doc->TerritoryMapRed = 1;
    doc->Battlefield.TerritoryRange = 1;
    doc->Battlefield.TerritoryMinCount = 1;
    doc->Battlefield.TerritoryDelta = 0;
    doc->UpdateTerritoryGrid();
    EXPECT_EQ(Front(5, 5), 5);
    doc->TerritoryMapRed = 0;

    // Both sides above 5R: no level. R = 2 over a 5 x 5 block of 13 and 12.
    doc->Statistics.BattleFrontRadius = 2;
    doc->NumRed() = doc->NumBlue() = 0;
    for (int x = 3; x <= 7; ++x)
        for (int y = 3; y <= 7; ++y)
            Agent((x + y) % 2 ? Side::Red : Side::Blue, doc->Force((x + y) % 2 ? Side::Red : Side::Blue).NumAgents + 1,
                  x, y, Alive);
    doc->UpdateTerritoryGrid();
    EXPECT_EQ(Front(5, 5), 0);
    EXPECT_EQ(Front(2, 3), 1);  // 3 and 3 within R: m < 2R
}

TEST_F(Picture, TerritoryMapShowsTheChosenSides)
{
    // Five RED agents own one corner, five BLUE agents the other.
    for (int i = 1; i <= 5; ++i) {
        Agent(Side::Red, i, 1 + i % 2, 1 + i / 2, Alive);
        Agent(Side::Blue, i, 9 + i % 2, 8 + i / 2, Alive);
    }
    doc->Battlefield.TerrainMode = 1;
    Terrain(1, 1, Lava);
    doc->TerritoryMapRed = 1;
    Expect({{1, 2, slot::RedTerritory}, {1, 1, slot::Impassable}, {10, 9, Bg}});
    EXPECT_EQ(doc->TerritoryOwner[LatticeStride * 10 + 9], 2);
    doc->TerritoryMapBlue = 1;
    Expect({{10, 9, slot::BlueTerritory}, {1, 2, slot::RedTerritory}});
}

TEST_F(Picture, ActivityThresholdsRadiusZeroAndPlayback)
{
    doc->RedActivityMapOn = 1;
    doc->ActivityNormaliser = 5;
    doc->Battlefield.TerrainMode = 1;
    Terrain(8, 2, PassableII);
    // Moves v = 1..5 far enough apart that each centre sums only its own.
    const int cells[5][2] = {{2, 2}, {2, 5}, {2, 8}, {5, 5}, {8, 8}};
    for (int v = 1; v <= 5; ++v)
        doc->ActivityGrids[0][LatticeStride * cells[v - 1][0] + cells[v - 1][1]] = v;
    doc->ActivityGrids[1][LatticeStride * 8 + 2] = 1;  // f = 0.2 on passable terrain
    for (int paint = 0; paint < 2; ++paint) {          // a repaint shows the same
        Expect({{2, 2, 36}, {2, 5, 37}, {2, 8, 38}, {5, 5, 39}, {8, 8, 40}, {8, 2, 37}, {9, 8, slot::SolidWhite}});
        EXPECT_EQ(doc->ActivityGrids[2][LatticeStride * 5 + 5], 4);
    }
    // R = 0 on open ground: black and white only.
    doc->Battlefield.TerrainMode = 0;
    doc->ActivityRadius = 0;
    for (int v = 2; v <= 5; ++v)
        doc->ActivityGrids[0][LatticeStride * cells[v - 1][0] + cells[v - 1][1]] = 0;
    // BLUE's move at (8, 2) is not RED's map's: black.
    Expect({{2, 2, 40}, {8, 2, 36}, {5, 5, 36}});
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y)
            EXPECT_TRUE(At(x, y) == 36 || At(x, y) == 40 || At(x, y) == slot::SolidWhite) << x << "," << y;

    // Playback marks the captured moves into step 3 of the sides whose map is on.
    doc->RunMode = PlaybackMode;
    doc->RunHeader.CurrentStep = 3;
    auto capture = [&](Side side, int i, int x2, int y2, int x3, int y3, int state) {
        const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
        doc->Capture(base, 2, i) = Alive, doc->Capture(base + 1, 2, i) = x2, doc->Capture(base + 2, 2, i) = y2;
        doc->Capture(base, 3, i) = state, doc->Capture(base + 1, 3, i) = x3, doc->Capture(base + 2, 3, i) = y3;
    };
    doc->NumRed() = 3;
    doc->NumBlue() = 1;
    capture(Side::Red, 1, 4, 4, 4, 5, Alive);      // moved in y
    capture(Side::Red, 2, 6, 6, 6, 6, Alive);      // stood
    capture(Side::Red, 3, 7, 7, 8, 7, Dead);       // died
    capture(Side::Blue, 1, 2, 2, 3, 2, Injured);   // BLUE's map is off
    Expect({{4, 5, 40}, {6, 6, 36}, {8, 7, 36}, {3, 2, 36}, {2, 2, 36}});
    doc->BlueActivityMapOn = 1;
    Expect({{3, 2, 40}});
}

TEST_F(Picture, CommandLinesAreasAndNetworks)
{
    Agent(Side::Red, 1, 5, 5, Alive);    // commander 1
    Agent(Side::Red, 2, 6, 7, Injured);  // its subordinate
    Agent(Side::Red, 3, 4, 3, Dead);     // a dead subordinate
    Agent(Side::Red, 4, 2, 2, Dead);     // commander 2, dead
    CLocalCommand& local = doc->RedLocal;
    local.LocalCommandOn = 1, local.NumLocalCommanders = 2, local.CommanderAgent[1] = 1, local.CommanderAgent[2] = 4;
    local.cmnd_rad[1] = 2, local.SubordinateCount[1] = 2, local.Subordinates[1][1] = 2, local.Subordinates[1][2] = 3;
    Compose();
    EXPECT_TRUE(pic->Lines.empty());

    // In picture pixels (x * 5, (11 - y) * 5): four edges, one live link.
    doc->RedCommandAreas = doc->RedCommandLinks = 1;
    Compose();
    ASSERT_EQ(pic->Lines.size(), 5u);
    auto ends = [](const CCommandLine& l) { return std::array<int, 4>{l.X0, l.Y0, l.X1, l.Y1}; };
    EXPECT_EQ(ends(pic->Lines[0]), (std::array<int, 4>{15, 40, 35, 40}));  // (3, 3) to (7, 3)
    EXPECT_EQ(ends(pic->Lines[4]), (std::array<int, 4>{25, 30, 30, 20}));  // (5, 5) to (6, 7)
    EXPECT_EQ(pic->LineColour, (CRgb{0, 0, 0}));

    // The global network joins every pair of commanders, dead or alive.
    doc->RedGlobal.GlobalCommandOn = 1;
    doc->RedCommandAreas = 0;
    doc->BackgroundToggle = 0;
    Compose();
    ASSERT_EQ(pic->Lines.size(), 2u);
    EXPECT_EQ(ends(pic->Lines[0]), (std::array<int, 4>{25, 30, 10, 45}));
    EXPECT_EQ(pic->LineColour, (CRgb{255, 255, 255}));
    doc->BlueCommandLinks = 1;  // BLUE's switch moves no RED line
    doc->RedCommandLinks = 0;
    Compose();
    EXPECT_TRUE(pic->Lines.empty());
}

// The activity map switched on after a step, as while paused, shows that
// step's moves at once: at R = 0 a white cell where each RED agent that moved
// stood before the step, and nothing for BLUE, whose map stays off.
TEST(PictureWhilePaused, ActivityMapShowsTheLastStepsMovesAtOnce)
{
    testing::TestDocument doc;
    testing::MakeSkirmish(*doc, {.PerSide = 20, .BattleSize = 40});
    doc->RunMode = InteractiveMode;
    doc->RedActivityMapOn = doc->BlueActivityMapOn = 0;
    int before[2][AgentSlots] = {};
    for (int i = 1; i <= doc->NumRed(); ++i)
        before[0][i] = doc->RedForce.AgentX[i], before[1][i] = doc->RedForce.AgentY[i];
    doc->StepSimulationInView();

    int moved = 0;
    for (int i = 1; i <= doc->NumRed(); ++i)
        moved += doc->RedForce.AgentX[i] != before[0][i] || doc->RedForce.AgentY[i] != before[1][i];
    ASSERT_GT(moved, 0);
    doc->RedActivityMapOn = 1;
    doc->ActivityRadius = 0;
    CBattlefieldPicture pic;
    ComposeBattlefield(*doc, pic);
    int white = 0;
    for (int x = 1; x <= 40; ++x)
        for (int y = 1; y <= 40; ++y)
            white += pic.CellSlot(x, y) == slot::Grey0 + 4;
    EXPECT_EQ(white, moved);
}

}  // namespace
}  // namespace brevimar
