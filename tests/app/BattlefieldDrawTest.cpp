#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <memory>

#include "app/BattlefieldPainter.h"
#include "app/BrevimarView.h"
#include "core/Document.h"
#include "platform/TestHooks.h"
#include "support/TestDocument.h"

namespace brevimar::testing {
namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

// The version 4 scenario (150 x 150, flags at (140, 141) and (10, 11))
// read by the start-up reader of a new document, shown in a view.
class BattlefieldDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        Doc.Host.FileChoices.push_back(std::string(BREVIMAR_TEST_DATA) + "/scenario_v4.dat");
        Doc->OnNewDocument();
        ASSERT_EQ(Doc->Battlefield.BattleSize, 150);
        ASSERT_EQ(Doc->RunHeader.CurrentStep, 0);
        View = new CBrevimarView(Doc.Doc.get());
        SetModalHooks(*View, &Hooks);
        Area = View->Container();
        View->OnInitialUpdate();
    }
    void TearDown() override
    {
        delete Area;
    }

    QImage Grab()
    {
        QCoreApplication::processEvents();  // the view follows the zoom
        return View->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Centre pixel of cell (x, y) at a zoom, and whether the cell's whole
    // square shows one colour.
    static QPoint Centre(int x, int y, double zoom = 1.0)
    {
        return QPoint(static_cast<int>((x * 5 + 2.5) * zoom), static_cast<int>(((151 - y) * 5 + 2.5) * zoom));
    }
    static bool Solid(const QImage& image, int x, int y, QRgb colour, int zoom = 1)
    {
        for (int px = x * 5 * zoom; px < (x + 1) * 5 * zoom; ++px)
            for (int py = (151 - y) * 5 * zoom; py < (152 - y) * 5 * zoom; ++py)
                if (image.pixel(px, py) != colour)
                    return false;
        return true;
    }
    bool AgentOn(int x, int y)
    {
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& f = Doc->Force(side);
            for (int i = 1; i <= f.NumAgents; ++i)
                if (f.AgentState[i] > Dead && f.AgentX[i] == x && f.AgentY[i] == y)
                    return true;
        }
        return false;
    }
    // Every living agent shows its side's colour at its cell's centre
    // (magenta and cyan for the injured when they are highlighted).
    void ExpectAgents(const QImage& image, int limit)
    {
        int seen = 0;
        for (Side side : {Side::Red, Side::Blue}) {
            const CForce& f = Doc->Force(side);
            for (int i = 1; i <= f.NumAgents; ++i) {
                const QPoint at = Centre(f.AgentX[i], f.AgentY[i]);
                if (f.AgentState[i] == Dead || at.x() >= limit || at.y() >= limit)
                    continue;
                QRgb colour = side == Side::Red ? Red : Blue;
                if (f.AgentState[i] == Injured && Doc->HighlightInjured == 1)
                    colour = side == Side::Red ? qRgb(255, 0, 255) : qRgb(0, 255, 255);
                EXPECT_EQ(image.pixel(at), colour) << (side == Side::Red ? "RED " : "BLUE ") << i;
                ++seen;
            }
        }
        EXPECT_GT(seen, 5);
    }

    CModalHooks Hooks;
    TestDocument Doc;
    CBrevimarView* View = nullptr;
    QScrollArea* Area = nullptr;
};

TEST_F(BattlefieldDraw, StepZeroShowsFlagsAndAgentsWhereTheCellsAre)
{
    auto painter = std::make_unique<CBattlefieldPainter>();
    const QImage offScreen = painter->Render(*Doc).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(offScreen.size(), QSize(760, 760));
    const QImage window = Grab();
    ASSERT_EQ(window.size(), QSize(760, 760));  // the whole picture, border included
    for (const QImage* image : {&offScreen, &window}) {
        ASSERT_FALSE(AgentOn(140, 141));
        ASSERT_FALSE(AgentOn(10, 11));
        EXPECT_TRUE(Solid(*image, 140, 141, Black));  // pixels 700..704 x 50..54
        EXPECT_TRUE(Solid(*image, 10, 11, Black));
        EXPECT_EQ(image->pixel(702, 57), White);  // the row below the flag
        ExpectAgents(*image, image->width());
        EXPECT_EQ(image->pixel(0, 300), Black);  // the picture's outline
        EXPECT_EQ(image->pixel(1, 300), White);
    }
    // Terrain: impassable silver, passable teal.
    int terrainCells = 0;
    for (int x = 1; x <= 150 && terrainCells < 20; ++x)
        for (int y = 1; y <= 150 && terrainCells < 20; ++y) {
            const int type = Doc->Battlefield.TerrainType[GridIndex(x, y)];
            if (type == OpenGround || AgentOn(x, y) || (x == 140 && y == 141) || (x == 10 && y == 11))
                continue;
            EXPECT_EQ(offScreen.pixel(Centre(x, y)), IsImpassable(type) ? qRgb(192, 192, 192) : qRgb(0, 128, 128));
            ++terrainCells;
        }
    EXPECT_GT(terrainCells, 0);
}

TEST_F(BattlefieldDraw, ARunningBattleMovesOnTheScreen)
{
    Doc->HighlightInjured = 1;
    const QImage before = Grab();
    for (int step = 0; step < 6; ++step) {
        Doc->StepSimulationInView();
        ++Doc->RunHeader.CurrentStep;
    }
    const QImage after = Grab();
    EXPECT_NE(before, after);
    ExpectAgents(after, after.width());

    // Black ground: agents keep their colours, the flags turn white.
    Doc->BackgroundToggle = 0;
    const QImage black = Grab();
    ExpectAgents(black, black.width());
    if (!AgentOn(140, 141)) {
        EXPECT_TRUE(Solid(black, 140, 141, White));
    }
    EXPECT_TRUE(Solid(black, 149, 2, Black));  // open ground
}

TEST_F(BattlefieldDraw, ZoomResizesThePictureAndTheMouseFollowsIt)
{
    Doc->ZoomFactor = 0.5f;
    Doc->ZoomAreaCleared = 0;
    Grab();
    QImage half = Grab();
    EXPECT_EQ(View->GetTotalSize(), QSize(380, 380));
    ASSERT_EQ(half.size(), QSize(380, 380));
    EXPECT_EQ(half.pixel(350, 25), Black);  // the BLUE flag, at half its place
    EXPECT_EQ(half.pixel(351, 26), Black);
    EXPECT_EQ(half.pixel(352, 26), Black);
    EXPECT_EQ(half.pixel(349, 26), White);
    EXPECT_EQ(View->PointToCell(QPoint(352, 26)), QPoint(140, 141));
    EXPECT_EQ(View->PointToCell(QPoint(349, 26)), QPoint(139, 141));
    EXPECT_EQ(View->PointToCell(QPoint(350, 25)), QPoint(140, 141));
    EXPECT_EQ(View->PointToCell(QPoint(351, 26)), QPoint(140, 141));
    EXPECT_EQ(View->PointToCell(QPoint(26, 351)), QPoint(10, 11));  // the RED flag

    Doc->ZoomFactor = 2.0f;
    Doc->ZoomAreaCleared = 0;
    Grab();
    const QImage twice = Grab();
    ASSERT_EQ(twice.size(), QSize(1520, 1520));
    EXPECT_TRUE(Solid(twice, 140, 141, Black, 2));  // 1400..1409 x 100..109
    EXPECT_EQ(View->PointToCell(QPoint(1409, 109)), QPoint(140, 141));
    EXPECT_EQ(View->PointToCell(QPoint(1410, 110)), QPoint(141, 140));

    // Scrolled, the view's own points stay picture points: a click at a
    // viewport point names the cell drawn under it.
    Area->resize(300, 300);
    Area->show();
    QCoreApplication::processEvents();
    Area->horizontalScrollBar()->setValue(1200);
    Area->verticalScrollBar()->setValue(60);
    const QPoint inView = View->mapFrom(Area->viewport(), QPoint(205, 45));
    EXPECT_EQ(inView, QPoint(1405, 105));
    EXPECT_EQ(View->PointToCell(inView), QPoint(140, 141));
}

TEST_F(BattlefieldDraw, ZoomChangeErasesTwiceThePictureOnce)
{
    auto painter = std::make_unique<CBattlefieldPainter>();
    const QRgb green = qRgb(0, 200, 0);
    Doc->ZoomFactor = 0.5f;
    Doc->ZoomAreaCleared = 0;
    for (int paint = 0; paint < 2; ++paint) {
        QImage window(1600, 1600, QImage::Format_RGB32);
        window.fill(green);
        {
            QPainter on(&window);
            painter->Paint(*Doc, on);
        }
        EXPECT_EQ(window.pixel(350, 25), Black);
        EXPECT_EQ(window.pixel(500, 500), paint == 0 ? White : green) << paint;
        EXPECT_EQ(window.pixel(1550, 1550), green);
    }
}

TEST_F(BattlefieldDraw, CommandAreasFollowTheZoom)
{
    CLocalCommand& local = Doc->RedLocal;
    ASSERT_EQ(local.LocalCommandOn, 1);
    ASSERT_GE(local.NumLocalCommanders, 1);
    const int agent = local.CommanderAgent[1];
    ASSERT_GE(agent, 1);
    const int x = Doc->RedForce.AgentX[agent] = 70;
    const int y = Doc->RedForce.AgentY[agent] = 70;
    Doc->RedForce.AgentState[agent] = Alive;
    const int r = local.cmnd_rad[1] = 3;
    Doc->RedCommandAreas = 1;
    Doc->ZoomFactor = 2.0f;
    auto painter = std::make_unique<CBattlefieldPainter>();
    QImage window(1520, 1520, QImage::Format_RGB32);
    {
        QPainter on(&window);
        painter->Paint(*Doc, on);
    }
    // The top edge of the area joins cells (x - r, y + r) and (x + r, y + r).
    const int top = (151 - (y + r)) * 10;
    int black = 0;
    for (int px = (x - r) * 10; px <= (x + r) * 10; ++px)
        black += window.pixel(px, top) == Black;
    EXPECT_GE(black, 2 * r * 10);
    const int left = (x - r) * 10;
    black = 0;
    for (int py = top; py <= (151 - (y - r)) * 10; ++py)
        black += window.pixel(left, py) == Black;
    EXPECT_GE(black, 2 * r * 10);
}

TEST_F(BattlefieldDraw, BatchModesShowOnlyTheHelpText)
{
    Doc->RunMode = GeneticAlgorithmMode;
    const QImage image = Grab();
    EXPECT_TRUE(Solid(image, 140, 141, White));  // no flag
    int red = 0, dark = 0;
    for (int py = 0; py < image.height(); ++py)
        for (int px = 1; px < image.width() - 1; ++px) {
            red += image.pixel(px, py) == Red;
            if (py >= 10 && py < 185 && px < 300 && qGray(image.pixel(px, py)) < 128)
                ++dark;
        }
    EXPECT_EQ(red, 0);
    EXPECT_GT(dark, 20);  // the five lines of text
    EXPECT_EQ(image.pixel(400, 400), White);
}

}  // namespace
}  // namespace brevimar::testing

namespace brevimar::testing {
namespace {

// The window as the plain way draws it: the whole unscaled picture,
// stretched by Qt without smoothing, and the command lines drawn over it by
// Qt with a one-pixel pen at the zoomed points, with nothing cached between
// paints.
QImage PlainPaint(CBrevimarDoc& doc, QSize size)
{
    auto painter = std::make_unique<CBattlefieldPainter>();
    const QImage picture = painter->Render(doc).copy();
    const CBattlefieldGeometry g = painter->Picture().Geometry;
    QImage window(size, QImage::Format_RGB32);
    window.fill(qRgb(0, 200, 0));
    QPainter on(&window);
    on.setRenderHint(QPainter::SmoothPixmapTransform, false);
    on.drawImage(QRect(0, 0, g.ZoomedWidth(), g.ZoomedHeight()), picture, picture.rect());
    const CRgb colour = painter->Picture().LineColour;
    QPen pen(QColor(colour.R, colour.G, colour.B));
    pen.setWidth(1);
    pen.setCosmetic(true);
    on.setPen(pen);
    const double sx = static_cast<double>(g.ZoomedWidth()) / g.Width();
    const double sy = static_cast<double>(g.ZoomedHeight()) / g.Height();
    for (const CCommandLine& l : painter->Picture().Lines)
        on.drawLine(QLineF(l.X0 * sx, l.Y0 * sy, l.X1 * sx, l.Y1 * sy));
    return window;
}

// Command areas and links of both sides. A radius of 1 keeps every line
// inside the picture, where Qt draws it unclipped.
void ShowCommandLines(CBrevimarDoc& doc)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CLocalCommand& local = doc.Local(side);
        local.LocalCommandOn = 1;
        for (int c = 1; c <= local.NumLocalCommanders; ++c)
            local.cmnd_rad[c] = 1;
    }
    doc.RedCommandAreas = doc.BlueCommandAreas = doc.RedCommandLinks = doc.BlueCommandLinks = 1;
}

// Paints the exposed part (a null rectangle: the whole window) of a window
// over green and counts the pixels that differ from the plain way inside it
// or are not green outside it.
int WrongPixels(CBattlefieldPainter& painter, CBrevimarDoc& doc, QRect exposed, std::size_t fewestLines = 16)
{
    const QRgb green = qRgb(0, 200, 0);
    const QSize size(1530, 1530);
    const QImage expected = PlainPaint(doc, size);
    QImage window(size, QImage::Format_RGB32);
    window.fill(green);
    {
        QPainter on(&window);
        painter.Paint(doc, on, exposed);
    }
    EXPECT_GE(painter.Picture().Lines.size(), fewestLines);
    const QRect inside = exposed.isNull() ? window.rect() : exposed;
    int wrong = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb want = inside.contains(x, y) ? expected.pixel(x, y) : green;
            wrong += window.pixel(x, y) != want;
        }
    return wrong;
}

// Paints of exposed parts, one after another with the battle and its
// command lines changing in between, leave every exposed pixel as the plain
// way draws it and every other pixel untouched.
TEST_F(BattlefieldDraw, ExposedPartsMatchThePlainStretch)
{
    struct Case {
        float zoom;
        QRect exposed;  // a null rectangle: the whole window
    };
    const Case cases[] = {
        {1.0f, QRect()},           {1.0f, QRect(33, 401, 157, 92)}, {1.0f, QRect()},
        {2.0f, QRect()},           {2.0f, QRect(3, 7, 1511, 13)},   {2.0f, QRect(777, 1000, 600, 600)},
        {2.0f, QRect()},           {1.5f, QRect(101, 203, 300, 47)}, {0.75f, QRect()},
        {1.0f, QRect(0, 0, 400, 760)}, {1.0f, QRect()},
    };
    ShowCommandLines(*Doc);
    auto painter = std::make_unique<CBattlefieldPainter>();
    int moved = 0;
    for (const Case& c : cases) {
        // Some agents step each time, so that a kept picture would be stale.
        CForce& red = Doc->RedForce;
        for (int i = 1 + moved % 3; i <= red.NumAgents; i += 3)
            red.AgentX[i] = 1 + red.AgentX[i] % 150;
        ++moved;
        Doc->ZoomFactor = c.zoom;
        EXPECT_EQ(WrongPixels(*painter, *Doc, c.exposed), 0) << c.zoom << " " << c.exposed.x() << "," << c.exposed.y();
    }
}

// The lines kept in the picture between paints at 200% go where the
// commanders and their subordinates are now, though no cell changed.
TEST_F(BattlefieldDraw, KeptCommandLinesFollowTheCommanders)
{
    ShowCommandLines(*Doc);
    const CLocalCommand& local = Doc->RedLocal;
    ASSERT_GE(local.NumLocalCommanders, 1);
    ASSERT_GE(local.SubordinateCount[1], 1);
    const int commander = local.CommanderAgent[1];
    const int subordinate = local.Subordinates[1][1];
    CForce& red = Doc->RedForce;
    red.AgentState[commander] = red.AgentState[subordinate] = Alive;
    Doc->ZoomFactor = 2.0f;
    auto painter = std::make_unique<CBattlefieldPainter>();
    EXPECT_EQ(WrongPixels(*painter, *Doc, QRect()), 0);
    // The agents' cells in the display lattice stay as they are: only the
    // lines change.
    struct Change {
        const char* what;
        void (*apply)(CForce& red, int commander, int subordinate);
    };
    const Change changes[] = {
        {"nothing", [](CForce&, int, int) {}},
        {"commander moves", [](CForce& r, int c, int) { r.AgentX[c] = 1 + (r.AgentX[c] + 6) % 150; }},
        {"subordinate moves", [](CForce& r, int, int s) { r.AgentY[s] = 1 + (r.AgentY[s] + 9) % 150; }},
        {"subordinate dies", [](CForce& r, int, int s) { r.AgentState[s] = Dead; }},
    };
    for (const Change& change : changes) {
        change.apply(red, commander, subordinate);
        EXPECT_EQ(WrongPixels(*painter, *Doc, QRect()), 0) << change.what;
    }
    Doc->BackgroundToggle = 0;  // white lines on black
    EXPECT_EQ(WrongPixels(*painter, *Doc, QRect(100, 100, 900, 900)), 0);
}

// A map switched on and off under command lines that stay where they are
// redraws many cells at 200%; the lines stay over them as the plain way
// draws them, also where only part of the window is exposed.
TEST_F(BattlefieldDraw, StillCommandLinesOverRedrawnCells)
{
    ShowCommandLines(*Doc);
    Doc->ZoomFactor = 2.0f;
    auto painter = std::make_unique<CBattlefieldPainter>();
    EXPECT_EQ(WrongPixels(*painter, *Doc, QRect()), 0);
    const struct {
        int map;
        QRect exposed;
    } cases[] = {{1, QRect()}, {0, QRect(200, 300, 700, 500)}, {1, QRect(0, 0, 1530, 400)}, {0, QRect()}};
    for (const auto& c : cases) {
        auto before = std::make_unique<CBattlefieldPicture>(painter->Picture());
        Doc->BattleFrontOn = c.map;
        EXPECT_EQ(WrongPixels(*painter, *Doc, c.exposed), 0) << c.map << " " << c.exposed.y();
        int changed = 0;
        for (int r = 0; r < before->Geometry.Extent; ++r)
            for (int k = 0; k < before->Geometry.Extent; ++k)
                changed += before->Slot(r, k) != painter->Picture().Slot(r, k);
        EXPECT_GT(changed, 20);
    }
}


// Frames of a running battle, painted one after another by one painter as a
// run paints them: each map, the trace, zooms of 25%, 100% and 200%, the
// window whole or in part. Each frame is as the plain way paints it afresh,
// whatever the frames before it left behind.
TEST_F(BattlefieldDraw, RunningFramesMatchFreshPaints)
{
    enum Map { Agents, Activity, Front, Territory };
    struct Frame {
        Map map;
        float zoom;
        int trace;
        int steps;  // taken before the frame
        QRect exposed;
    };
    const Frame frames[] = {
        {Agents, 2.0f, 0, 0, QRect()},
        {Activity, 2.0f, 0, 1, QRect()},  // nearly every cell changes
        {Activity, 2.0f, 0, 1, QRect()},
        {Agents, 2.0f, 1, 2, QRect()},
        {Front, 2.0f, 1, 1, QRect(250, 90, 830, 1100)},
        {Territory, 2.0f, 0, 2, QRect()},
        {Agents, 1.0f, 1, 1, QRect()},
        {Activity, 1.0f, 0, 2, QRect(10, 500, 740, 100)},
        {Front, 1.0f, 0, 1, QRect()},
        {Activity, 0.25f, 1, 1, QRect()},
        {Agents, 0.25f, 0, 2, QRect()},
        {Agents, 2.0f, 0, 1, QRect(0, 0, 1530, 700)},
        // One band of cells, the map switched between the two.
        {Activity, 2.0f, 0, 1, QRect(100, 500, 600, 8)},
        {Agents, 2.0f, 0, 0, QRect(100, 500, 600, 8)},
        // At 100% a frame with nothing changed takes the picture kept at
        // 25%, which the frame between left behind.
        {Activity, 0.25f, 0, 1, QRect()},
        {Agents, 1.0f, 0, 0, QRect()},
        {Agents, 1.0f, 0, 0, QRect()},
        {Agents, 1.0f, 0, 0, QRect(40, 300, 500, 90)},
    };
    ShowCommandLines(*Doc);
    Doc->ActivityRadius = 2;
    auto painter = std::make_unique<CBattlefieldPainter>();
    int index = 0;
    for (const Frame& f : frames) {
        Doc->TraceOn = f.trace;
        for (int step = 0; step < f.steps; ++step) {
            Doc->StepSimulationInView();
            ++Doc->RunHeader.CurrentStep;
        }
        Doc->BattleFrontOn = f.map == Front;
        Doc->TerritoryMapRed = Doc->TerritoryMapBlue = f.map == Territory;
        Doc->RedActivityMapOn = Doc->BlueActivityMapOn = f.map == Activity;
        Doc->ZoomFactor = f.zoom;
        // Commanders fall as the battle runs, taking their lines with them.
        EXPECT_EQ(WrongPixels(*painter, *Doc, f.exposed, 4), 0) << "frame " << index;
        ++index;
    }
}

// The view paints through the widget's own machinery, as into the window's
// backing store: moved on the device and limited to a region of it.
TEST_F(BattlefieldDraw, ViewRenderedAtAnOffsetMatchesThePlainPaint)
{
    ShowCommandLines(*Doc);
    for (float zoom : {2.0f, 1.0f}) {
        Doc->ZoomFactor = zoom;
        Grab();  // the view takes the picture's size
        for (int step = 0; step < 2; ++step) {
            Doc->StepSimulationInView();
            ++Doc->RunHeader.CurrentStep;
        }
        const QRgb green = qRgb(0, 200, 0);
        const QImage expected = PlainPaint(*Doc, QSize(1530, 1530));
        // Two parts apart, in view coordinates: the paint sees the rectangle
        // around both, the device takes only the parts. The top-left corner
        // of that rectangle lands on the offset.
        const QPoint offset(17, 9);
        const QRegion parts = QRegion(300, 200, 420, 150) + QRegion(500, 500, 220, 200);
        QImage device(1600, 1600, QImage::Format_RGB32);
        device.fill(green);
        View->render(&device, offset, parts);
        int wrong = 0;
        for (int y = 0; y < device.height(); ++y)
            for (int x = 0; x < device.width(); ++x) {
                const QPoint at = QPoint(x, y) - offset + parts.boundingRect().topLeft();
                const QRgb want = parts.contains(at) ? expected.pixel(at) : green;
                wrong += device.pixel(x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << zoom;
    }
}

}  // namespace
}  // namespace brevimar::testing
