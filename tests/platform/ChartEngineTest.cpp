#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <functional>
#include <string>

#include "platform/ChartEngine.h"

namespace brevimar::chart {
namespace {

// A headless chart, destroyed with the test.
struct Chart {
    Chart() : H(CreateGraphEx(0, 0, QRect(0, 0, 400, 300), nullptr, 1)) {}
    ~Chart() { DestroyGraph(H); }
    QImage Draw(ChartLayout* layout, QSize size = {480, 360}) const { return RenderChartImage(H, size, layout); }
    HGRAPH H;
};

bool Near(QRgb a, QColor b, int tolerance = 0)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

// Whether `colour` is drawn within one pixel of (x, y).
bool DrawnNear(const QImage& image, double x, double y, QColor colour)
{
    const int cx = static_cast<int>(std::lround(x)), cy = static_cast<int>(std::lround(y));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(cx + dx, cy + dy) && Near(image.pixel(cx + dx, cy + dy), colour))
                return true;
    return false;
}

bool IsWhite(QRgb p)
{
    return qRed(p) == 255 && qGreen(p) == 255 && qBlue(p) == 255;
}

TEST(ChartStore, EveryCallFormKeepsItsValueForAGet)
{
    Chart c;
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<ChartValue()> get;
        ChartValue expected;
    };
    const Case cases[] = {
        {"scalar int", [&] { SetGraphType(c.H, 6); }, [&] { return GetGraphType(c.H); }, 6},
        {"scalar double", [&] { SetXAxisMax(c.H, 49.5); }, [&] { return GetXAxisMax(c.H); }, 49.5},
        {"scalar text", [&] { SetGraphTitle(c.H, "Fraction"); }, [&] { return GetGraphTitle(c.H); }, "Fraction"},
        {"one index", [&] { SetYAxisMaxAt(c.H, 0, 1.0); }, [&] { return GetYAxisMax(c.H, 0); }, 1.0},
        {"one index text", [&] { SetLegendTextAt(c.H, 3, "Red"); }, [&] { return GetLegendText(c.H, 3); }, "Red"},
        {"two indices", [&] { SetGraphDataAt(c.H, 2, 5, 1.5); }, [&] { return GetGraphData(c.H, 2, 5); }, 1.5},
        {"last value wins", [&] { SetGraphDataAt(c.H, 2, 5, -3.0); }, [&] { return GetGraphData(c.H, 2, 5); }, -3.0},
        {"never set", [] {}, [&] { return GetGraphData(c.H, 5, 2); }, ChartValue()},
        {"getter only", [] {}, [&] { return GetHitX(c.H); }, ChartValue()},
    };
    for (const Case& k : cases) {
        k.set();
        EXPECT_EQ(k.get(), k.expected) << k.what;
    }
    // Indices are kept apart: [2][5] is not [5][2], [0][3] is not [3][0].
    EXPECT_FALSE(HasProperty(c.H, Prop::GraphData, 5, 2));
    EXPECT_EQ(GetLegendText(c.H, 0), ChartValue());
    EXPECT_EQ(ChartValue(2.9).ToInt(), 2);
    EXPECT_EQ(ChartValue("x").ToDouble(), 0.0);
}

TEST(ChartStore, PropertyTableHasItsKindsAndTwelveReadOnly)
{
    int byKind[3] = {}, readOnly = 0;
    for (int p = 0; p < PropertyCount; ++p) {
        ++byKind[PropertyKind(static_cast<Prop>(p))];
        readOnly += !PropertySettable(static_cast<Prop>(p));
    }
    EXPECT_EQ(byKind[0], 123);
    EXPECT_EQ(byKind[1], 30);
    EXPECT_EQ(byKind[2], 14);
    EXPECT_EQ(readOnly, 12);
    EXPECT_FALSE(PropertySettable(Prop::SDKInfo));
    EXPECT_STREQ(PropertyName(Prop::OverlayExtraData), "OverlayExtraData");
}

TEST(ChartRender, NothingIsDrawnBeforeDrawMode3)
{
    Chart c;
    SetGraphType(c.H, 6);
    SetNumPoints(c.H, 2);
    SetGraphDataAt(c.H, 0, 0, 0.0);
    SetGraphDataAt(c.H, 0, 1, 1.0);
    SetGraphTitle(c.H, "Title");
    SetDrawMode(c.H, 9);
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    EXPECT_FALSE(layout.Drawn);
    EXPECT_TRUE(layout.Texts.empty());
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ASSERT_TRUE(IsWhite(image.pixel(x, y))) << x << "," << y;
}

TEST(ChartRender, WildSettingsStillDrawOnSaneAxes)
{
    for (int kind : {3, 6, 9, 20, 21}) {
        Chart c;
        SetGraphType(c.H, kind);
        SetNumSets(c.H, 2000000000);
        SetNumPoints(c.H, 2000000000);
        SetXAxisMin(c.H, std::nan(""));
        SetXAxisMax(c.H, -1e300);
        SetYAxisTicksAt(c.H, 0, 1e20);
        SetXAxisTicks(c.H, -3);
        SetGraphDataAt(c.H, 0, 0, HUGE_VAL);
        SetGraphDataAt(c.H, 0, 1, 1.0);
        SetPerspective(c.H, 50);
        SetDrawMode(c.H, 3);
        ChartLayout layout;
        c.Draw(&layout, {200, 150});
        EXPECT_TRUE(layout.Drawn) << kind;
        EXPECT_TRUE(std::isfinite(layout.XMin) && std::isfinite(layout.XMax) && layout.XMin < layout.XMax) << kind;
        // Bars: one category per point, 2^22 points over the 4096 sets at most.
        if (kind == 3) {
            EXPECT_EQ(layout.XMin, 0.0);
            EXPECT_EQ(layout.XMax, 1024.0);
        }
    }
}

// Line chart over x on fixed axes: 0..10 by 0..2.
struct LineChart : Chart {
    LineChart()
    {
        SetGraphType(H, 6);
        SetNumSets(H, 2);
        SetNumPoints(H, 3);
        SetXAxisMin(H, 0.0);
        SetXAxisMax(H, 10.0);
        SetYAxisMinAt(H, 0, 0.0);
        SetYAxisMaxAt(H, 0, 2.0);
        SetColorDataAt(H, 0, 4);  // red
        SetColorDataAt(H, 1, 1);  // blue
        const double xs[3] = {2, 5, 8}, ys0[3] = {0.5, 1.5, 1.0}, ys1[3] = {2.0, 0.25, 0.25};
        for (int p = 0; p < 3; ++p) {
            SetXPosDataAt(H, 0, p, xs[p]);
            SetXPosDataAt(H, 1, p, xs[p]);
            SetGraphDataAt(H, 0, p, ys0[p]);
            SetGraphDataAt(H, 1, p, ys1[p]);
        }
        SetGraphTitle(H, "Fraction of Remaining");
        SetLeftTitle(H, "% Remaining");
        SetBottomTitle(H, "Time");
        SetLegendTextAt(H, 0, "Red (Total)");
        SetLegendTextAt(H, 1, "Blue (Total)");
        SetDrawMode(H, 3);
    }
};

TEST(ChartRender, LinePointsLandWhereTheAxesPutThem)
{
    LineChart c;
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    ASSERT_TRUE(layout.Drawn);
    const QRectF r = layout.PlotRect;
    ASSERT_GT(r.width(), 200);
    ASSERT_GT(r.height(), 150);
    auto px = [&](double x) { return r.left() + x / 10.0 * r.width(); };
    auto py = [&](double y) { return r.bottom() - y / 2.0 * r.height(); };
    const QColor red(0xC0, 0, 0), blue(0, 0, 0xC0);
    // The data points and the middle of each segment.
    const struct {
        double x, y;
        QColor colour;
    } points[] = {
        {2, 0.5, red}, {5, 1.5, red}, {8, 1.0, red}, {3.5, 1.0, red},     {6.5, 1.25, red},
        {2, 2.0, blue}, {5, 0.25, blue}, {8, 0.25, blue}, {6.5, 0.25, blue},
    };
    for (const auto& p : points)
        EXPECT_TRUE(DrawnNear(image, px(p.x), py(p.y), p.colour)) << p.x << "," << p.y;
    // Off the lines: nothing of either colour.
    EXPECT_FALSE(DrawnNear(image, px(5), py(1.0), red));
    EXPECT_FALSE(DrawnNear(image, px(9.5), py(1.0), red));
    // The axes: just below and left of the plot rectangle, so that a curve
    // at the axis minimum stays clear of them.
    EXPECT_GT(layout.AxisOrigin.y(), r.bottom() + 2);
    EXPECT_LT(layout.AxisOrigin.x(), r.left() - 2);
    EXPECT_TRUE(DrawnNear(image, px(9), layout.AxisOrigin.y(), Qt::black));
    EXPECT_TRUE(DrawnNear(image, layout.AxisOrigin.x(), py(1.7), Qt::black));
}

TEST(ChartRender, TitlesAndLegendAreLaidOutAndDrawn)
{
    LineChart c;
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    const struct {
        const char* text;
        TextRole role;
    } expected[] = {
        {"Fraction of Remaining", TextRole::Title}, {"% Remaining", TextRole::LeftTitle},
        {"Time", TextRole::BottomTitle},           {"Red (Total)", TextRole::Legend},
        {"Blue (Total)", TextRole::Legend},
    };
    for (const auto& e : expected) {
        const ChartText* t = layout.FindText(e.text);
        ASSERT_NE(t, nullptr) << e.text;
        EXPECT_EQ(t->Role, e.role) << e.text;
        // Something dark inside its box: the text itself.
        bool inked = false;
        for (int y = int(t->Box.top()); y < int(t->Box.bottom()) && !inked; ++y)
            for (int x = int(t->Box.left()); x < int(t->Box.right()) && !inked; ++x)
                inked = image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
        EXPECT_TRUE(inked) << e.text;
    }
    const ChartText* title = layout.FindText("Fraction of Remaining");
    EXPECT_LT(title->Box.bottom(), layout.PlotRect.top());
    // Legend entries right of the plot, in set order, with their colours.
    ASSERT_EQ(layout.LegendSamples.size(), 2u);
    EXPECT_GT(layout.LegendSamples[0].left(), layout.PlotRect.right());
    EXPECT_LT(layout.LegendSamples[0].top(), layout.LegendSamples[1].top());
    const QRectF s1 = layout.LegendSamples[1];
    EXPECT_TRUE(DrawnNear(image, s1.center().x(), s1.center().y(), QColor(0, 0, 0xC0)));
    // y tick labels of 0..2: at least 4 intervals wanted when none are set,
    // 2 / 4 = 0.5, so steps of 0.5 written with one decimal.
    for (const char* label : {"0.0", "0.5", "1.0", "1.5", "2.0"})
        EXPECT_NE(layout.FindText(label), nullptr) << label;
}

TEST(ChartRender, ErrorBarsSpanValueMinusToValuePlus)
{
    Chart c;
    SetGraphType(c.H, 6);
    SetNumPoints(c.H, 1);
    SetEBarSourceAt(c.H, 0, 5);
    SetXAxisMin(c.H, 0.0);
    SetXAxisMax(c.H, 2.0);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisMaxAt(c.H, 0, 1.0);
    SetColorDataAt(c.H, 0, 2);  // green
    SetGraphDataAt(c.H, 0, 0, 0.5);
    SetXPosDataAt(c.H, 0, 0, 1.0);
    SetEBarGraphDataPlusAt(c.H, 0, 0, 0.25);
    SetEBarGraphDataMinusAt(c.H, 0, 0, 0.125);
    SetDrawMode(c.H, 3);
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    const QRectF r = layout.PlotRect;
    const double x = r.left() + 0.5 * r.width();
    const double top = r.bottom() - 0.75 * r.height(), bottom = r.bottom() - 0.375 * r.height();
    // Error bars are the set's colour 55 % of the way to white:
    // green (0, 128, 0) -> (0 + 255 * 0.55, 128 + 127 * 0.55, 0 + 255 * 0.55) = (140, 198, 140).
    const QColor green(140, 198, 140);
    for (double y = top + 2; y < bottom - 1; y += 1)
        ASSERT_TRUE(DrawnNear(image, x, y, green)) << y;
    // The caps, and nothing beyond them.
    EXPECT_TRUE(DrawnNear(image, x + 3, top, green));
    EXPECT_TRUE(DrawnNear(image, x - 3, bottom, green));
    EXPECT_FALSE(DrawnNear(image, x, top - 4, green));
    EXPECT_FALSE(DrawnNear(image, x, bottom + 4, green));
}

TEST(ChartRender, BarsFillTheirCategories)
{
    Chart c;
    SetGraphType(c.H, 3);
    SetNumPoints(c.H, 3);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisMaxAt(c.H, 0, 4.0);
    SetBar2DGap(c.H, 0);
    SetColorDataAt(c.H, 0, 4);
    for (int p = 0; p < 3; ++p)
        SetGraphDataAt(c.H, 0, p, p + 1.0);
    SetLabelTextAt(c.H, 1, "20");
    SetDrawMode(c.H, 3);
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    const QRectF r = layout.PlotRect;
    const QColor red(0xC0, 0, 0);
    for (int p = 0; p < 3; ++p) {
        const double centre = r.left() + (p + 0.5) * r.width() / 3;
        const double top = r.bottom() - (p + 1.0) / 4.0 * r.height();
        EXPECT_TRUE(Near(image.pixel(int(centre), int(top + 3)), red)) << p;
        EXPECT_TRUE(Near(image.pixel(int(centre), int(r.bottom() - 3)), red)) << p;
        EXPECT_FALSE(Near(image.pixel(int(centre), int(top - 3)), red)) << p;
    }
    // The category label given, and the default label of the others.
    EXPECT_NE(layout.FindText("20"), nullptr);
    EXPECT_NE(layout.FindText("3"), nullptr);
}

TEST(ChartRender, XyPlotUsesTheXPositionsGiven)
{
    Chart c;
    SetGraphType(c.H, 9);
    SetNumPoints(c.H, 2);
    SetXAxisMin(c.H, 0.0);
    SetXAxisMax(c.H, 1.0);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisMaxAt(c.H, 0, 1.0);
    SetColorDataAt(c.H, 0, 5);
    SetGraphDataAt(c.H, 0, 0, 0.2);
    SetXPosDataAt(c.H, 0, 0, 0.9);
    SetGraphDataAt(c.H, 0, 1, 0.8);
    SetXPosDataAt(c.H, 0, 1, 0.1);
    SetDrawMode(c.H, 3);
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    const QRectF r = layout.PlotRect;
    const QColor magenta(0x80, 0, 0x80);
    EXPECT_TRUE(DrawnNear(image, r.left() + 0.9 * r.width(), r.bottom() - 0.2 * r.height(), magenta));
    EXPECT_TRUE(DrawnNear(image, r.left() + 0.1 * r.width(), r.bottom() - 0.8 * r.height(), magenta));
    EXPECT_TRUE(DrawnNear(image, r.left() + 0.5 * r.width(), r.bottom() - 0.5 * r.height(), magenta));
}

// A 3 x 3 surface on 0..1, seen orthographically: rising from 0 on the near
// row (z = 0) to 1 on the far row (z = 1), or flat at 0.5.
struct Surface : Chart {
    Surface(int rotation, int elevation, bool flat = false, int perspective = 100, double level = 0.5)
    {
        SetGraphType(H, 20);
        SetNumSets(H, 3);
        SetNumPoints(H, 3);
        SetPalette(H, 3);
        SetRotation(H, rotation);
        SetElevation(H, elevation);
        SetPerspective(H, perspective);
        SetYAxisMinAt(H, 0, 0.0);
        SetYAxisMaxAt(H, 0, 1.0);
        for (int s = 0; s < 3; ++s)
            for (int p = 0; p < 3; ++p)
                SetGraphDataAt(H, s, p, flat ? level : s / 2.0);
        SetDrawMode(H, 3);
    }
};

bool IsGrey(QRgb p)
{
    return qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && !IsWhite(p);
}

TEST(ChartRender, SurfaceTopViewFillsTheSquareAtThePlotCentre)
{
    Surface c(0, 90);
    for (int p = 0; p < 3; ++p)
        SetLabelTextAt(c.H, p, "x" + std::to_string(p));
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    ASSERT_EQ(layout.Kind, 20);
    // Seen from above, the unit cube is a square as long as the plot's
    // shorter side, x to the right and z upward.
    const QRectF r = layout.PlotRect;
    const double side = std::min(r.width(), r.height());
    const double left = r.center().x() - side / 2, right = left + side;
    const double top = r.center().y() - side / 2, bottom = top + side;
    const struct {
        double x, y;
        bool surface;
    } probes[] = {
        {left + 3, bottom - 3, true},   {right - 3, bottom - 3, true}, {left + 3, top + 3, true},
        {right - 3, top + 3, true},     {r.center().x(), top - 4, false}, {right + 4, r.center().y(), false},
        {left - 4, r.center().y(), false},
    };
    for (const auto& p : probes)
        EXPECT_EQ(IsGrey(image.pixel(int(p.x), int(p.y))), p.surface) << p.x << "," << p.y;
    // Column labels under their grid lines.
    for (int p = 0; p < 3; ++p) {
        const ChartText* label = layout.FindText("x" + std::to_string(p));
        ASSERT_NE(label, nullptr) << p;
        EXPECT_NEAR(label->Box.center().x(), left + p * side / 2, 1.0) << p;
        EXPECT_GT(label->Box.top(), bottom);
    }
    // The near row (low) is darker than the far row (high).
    const QRgb nearCell = image.pixel(int(left + side / 4), int(bottom - side / 4));
    const QRgb farCell = image.pixel(int(left + side / 4), int(top + side / 4));
    EXPECT_LT(qGray(nearCell), qGray(farCell));
}

TEST(ChartRender, SurfaceFromTheFrontShowsHeightUpward)
{
    // Rotation 0, Elevation 0: x to the right, height upward; a flat surface
    // at half height is an edge-on line across the middle of the square.
    Surface c(0, 0, true);
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    const QRectF r = layout.PlotRect;
    const double side = std::min(r.width(), r.height());
    const double left = r.center().x() - side / 2, bottom = r.center().y() + side / 2;
    const double x = left + side * 0.3;
    EXPECT_TRUE(IsGrey(image.pixel(int(x), int(bottom - 0.5 * side))));
    for (double h : {0.1, 0.3, 0.45, 0.55, 0.7, 0.9})
        EXPECT_TRUE(IsWhite(image.pixel(int(x), int(bottom - h * side)))) << h;
}

TEST(ChartRender, PerspectiveShrinksWhatLiesFurtherAway)
{
    // From above with Perspective 15 the eye is 2.5 from the centre: the top
    // face (depth +1/2) is scaled by 2.5 / 2 and fills the square, the floor
    // (depth -1/2) by 2.5 / 3, so a surface on the floor is a centred square
    // two thirds as long.
    Surface c(0, 90, true, 15, 0.0);
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    const QRectF r = layout.PlotRect;
    const double side = std::min(r.width(), r.height());
    const double left = r.center().x() - side / 2, inner = left + side / 6;
    const int y = int(r.center().y());
    EXPECT_TRUE(IsGrey(image.pixel(int(inner + 3), y)));
    EXPECT_TRUE(IsWhite(image.pixel(int(inner - 3), y)));
    EXPECT_TRUE(IsWhite(image.pixel(int(left + 3), y)));
}

TEST(ChartRender, TrajectoryPointsFromTheFront)
{
    Chart c;
    SetGraphType(c.H, 21);
    SetNumPoints(c.H, 2);
    SetRotation(c.H, 0);
    SetElevation(c.H, 0);
    SetPerspective(c.H, 100);
    SetColorDataAt(c.H, 0, 4);
    for (auto axis : {SetXAxisMin, SetZAxisMin})
        axis(c.H, 0.0);
    for (auto axis : {SetXAxisMax, SetZAxisMax})
        axis(c.H, 1.0);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisMaxAt(c.H, 0, 4.0);
    const double x[2] = {0.25, 0.75}, t[2] = {1.0, 3.0}, z[2] = {0.9, 0.1};
    for (int p = 0; p < 2; ++p) {
        SetXPosDataAt(c.H, 0, p, x[p]);
        SetGraphDataAt(c.H, 0, p, t[p]);
        SetZPosDataAt(c.H, 0, p, z[p]);
    }
    SetDrawMode(c.H, 3);
    ChartLayout layout;
    const QImage image = c.Draw(&layout);
    const QRectF r = layout.PlotRect;
    const double side = std::min(r.width(), r.height());
    const double left = r.center().x() - side / 2, bottom = r.center().y() + side / 2;
    const QColor red(0xC0, 0, 0);
    // Depth does not show from the front: (x, t / 4) in the square.
    EXPECT_TRUE(DrawnNear(image, left + 0.25 * side, bottom - 0.25 * side, red));
    EXPECT_TRUE(DrawnNear(image, left + 0.5 * side, bottom - 0.5 * side, red));
    EXPECT_TRUE(DrawnNear(image, left + 0.75 * side, bottom - 0.75 * side, red));
    EXPECT_FALSE(DrawnNear(image, left + 0.25 * side, bottom - 0.75 * side, red));
}

}  // namespace
}  // namespace brevimar::chart
