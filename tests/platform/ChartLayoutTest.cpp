// What a reader of a chart relies on, checked from the layout record of
// every chart kind drawn from known data; the pictures are written to
// build/chart-pictures for a person to look at.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QWidget>
#include <QImage>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/ChartEngine.h"

namespace brevimar::chart {
namespace {

struct Chart {
    Chart() : H(CreateGraphEx(0, 0, QRect(0, 0, 640, 480), nullptr, 1)) {}
    ~Chart() { DestroyGraph(H); }
    HGRAPH H;
};

// Draws the chart at the chart windows' size and keeps the picture.
ChartLayout DrawAndKeep(const Chart& c, const std::string& name)
{
    ChartLayout layout;
    const QImage image = RenderChartImage(c.H, {640, 480}, &layout);
    const QString dir = QString(BREVIMAR_BINARY_DIR) + "/chart-pictures";
    QDir().mkpath(dir);
    image.save(dir + "/" + QString::fromStdString(name) + ".png");
    return layout;
}

void ExpectNoTextOverlaps(const ChartLayout& layout, const std::string& name)
{
    for (std::size_t i = 0; i < layout.Texts.size(); ++i)
        for (std::size_t j = i + 1; j < layout.Texts.size(); ++j)
            EXPECT_FALSE(layout.Texts[i].Box.intersects(layout.Texts[j].Box))
                << name << ": \"" << layout.Texts[i].Text << "\" and \"" << layout.Texts[j].Text << "\"";
}

// A time chart as the attrition chart fills it: n = NumPoints, point 0 at
// x = 1 repeating point 1, point p at x = p, values falling from 1.
void FillTimeChart(HGRAPH h, int sets, int n, bool errorBars)
{
    SetGraphType(h, 6);
    SetNumSets(h, sets);
    SetNumPoints(h, n);
    SetXAxisMin(h, 1.0);
    SetXAxisMax(h, n);
    SetXAxisTicks(h, n < 50 ? 1 : n < 200 ? 10 : n < 400 ? 25 : 50);
    SetYAxisTicksAt(h, 0, 3);
    SetEBarSourceAt(h, 0, errorBars ? 5 : 0);
    for (int s = 0; s < sets; ++s) {
        for (int p = 0; p <= n; ++p) {
            const double v = 1.0 - 0.5 * std::max(p - 1, 0) / n - 0.02 * s;
            SetGraphDataAt(h, s, p, v);
            SetXPosDataAt(h, s, p, std::max(p, 1) * 1.0);
            if (errorBars) {
                SetEBarGraphDataPlusAt(h, s, p, 0.1);
                SetEBarGraphDataMinusAt(h, s, p, 0.1);
            }
        }
    }
    SetGraphTitle(h, "Fraction of Remaining VORLAXs");
    SetLeftTitle(h, "% Remaining");
    SetBottomTitle(h, "Time");
}

TEST(ChartLayoutRecord, TimeChartsDrawTheirLastFilledPoint)
{
    // NumPoints = n and points 0..n filled: the attrition chart of 15 steps,
    // and a weapon chart filling two points past NumPoints (steps T - 1 and
    // T with NumPoints = T - 1): every filled point is drawn, the last at the
    // right end of the plot.
    struct Case {
        const char* name;
        int numPoints, lastFilled;
    } cases[] = {{"attrition", 15, 15}, {"weapon", 14, 16}};
    for (const Case& k : cases) {
        Chart c;
        FillTimeChart(c.H, 1, k.numPoints, false);
        for (int p = k.numPoints + 1; p <= k.lastFilled; ++p) {
            SetGraphDataAt(c.H, 0, p, 0.5);
            SetXPosDataAt(c.H, 0, p, p * 1.0);
        }
        SetDrawMode(c.H, 3);
        const ChartLayout layout = DrawAndKeep(c, std::string("time-") + k.name);
        ASSERT_EQ(layout.Series.size(), 1u) << k.name;
        const ChartSeries& s = layout.Series[0];
        ASSERT_EQ(s.Points.size(), std::size_t(k.lastFilled + 1)) << k.name;
        EXPECT_EQ(s.Points.back(), k.lastFilled) << k.name;
        EXPECT_NEAR(s.At.back().x(), layout.PlotRect.right(), 0.5) << k.name;
        ExpectNoTextOverlaps(layout, k.name);
    }
}

TEST(ChartLayoutRecord, XyPlotOnFixedAxesWithFiveIntervals)
{
    // The combat-entropy plane: both axes 0..1 in 5 intervals, 1 / 5 = 0.2,
    // so ticks 0.0, 0.2, ..., 1.0; n = 30 with points 0..30 all drawn.
    Chart c;
    SetGraphType(c.H, 9);
    SetNumSets(c.H, 1);
    SetNumPoints(c.H, 30);
    SetXAxisMin(c.H, 0.0);
    SetXAxisMax(c.H, 1.0);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisMaxAt(c.H, 0, 1.0);
    SetXAxisTicks(c.H, 5);
    SetYAxisTicksAt(c.H, 0, 5);
    for (int p = 0; p <= 30; ++p) {
        SetXPosDataAt(c.H, 0, p, 0.2 + p / 50.0);
        SetGraphDataAt(c.H, 0, p, 0.9 - p / 40.0);
    }
    SetGraphTitle(c.H, "Combat Entropy");
    SetLeftTitle(c.H, "Blue Combat Entropy");
    SetBottomTitle(c.H, "Red Combat Entropy");
    SetDrawMode(c.H, 3);
    const ChartLayout layout = DrawAndKeep(c, "xy-plot");
    ASSERT_EQ(layout.Series.size(), 1u);
    EXPECT_EQ(layout.Series[0].Points.back(), 30);
    for (const char* tick : {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"})
        EXPECT_NE(layout.FindText(tick), nullptr) << tick;
    ExpectNoTextOverlaps(layout, "x-y");
}

TEST(ChartLayoutRecord, ErrorBarsLieInsideThePlotUnderLighterThanTheirMeans)
{
    // 200 steps with bars of 0.1 around values from 1 down to 0.5; the chart
    // sets y to 0..1 as the goal-count chart sets its top at the largest mean,
    // so the bars above 1 must widen the axis. At most about 40 bars a set.
    Chart c;
    FillTimeChart(c.H, 2, 200, true);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisMaxAt(c.H, 0, 1.0);
    SetLegendTextAt(c.H, 0, "Red near Blue-Flag");
    SetLegendTextAt(c.H, 1, "Blue near Red-Flag");
    SetDrawMode(c.H, 3);
    const ChartLayout layout = DrawAndKeep(c, "time-error-bars");
    EXPECT_GE(layout.YMax, 1.1);
    ASSERT_EQ(layout.Series.size(), 2u);
    const QRectF plot = layout.PlotRect.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (const ChartSeries& s : layout.Series) {
        EXPECT_GE(s.ErrorBars.size(), 20u);
        EXPECT_LE(s.ErrorBars.size(), 45u);
        for (const QLineF& bar : s.ErrorBars)
            EXPECT_TRUE(plot.contains(bar.p1()) && plot.contains(bar.p2())) << bar.p1().y() << " " << bar.p2().y();
    }
    ExpectNoTextOverlaps(layout, "error bars");
}

TEST(ChartLayoutRecord, SidesTakeTheirOwnShadesAndSixteenSetsDiffer)
{
    struct Case {
        const char* legend;
        SeriesSide side;
    } cases[] = {
        {"Alive Red", SeriesSide::Red},          {"Red (Total)", SeriesSide::Red},
        {"Blue (Total)", SeriesSide::Blue},      {"Injured Blue", SeriesSide::Blue},
        {"Red + Blue", SeriesSide::None},        {"Red : Blue", SeriesSide::None},
        {"Red near Blue-Flag", SeriesSide::Red}, {"Blue : Red-Flag", SeriesSide::Blue},
        {"Total near Red", SeriesSide::None},    {"Red::P-1::Shots", SeriesSide::Red},
        {"Alive", SeriesSide::None},             {"Total (Fine)", SeriesSide::None},
    };
    for (const Case& k : cases)
        EXPECT_EQ(LegendSide(k.legend), k.side) << k.legend;

    // The weapon chart's 16 sets, 8 per side: RED's reddish, BLUE's bluish,
    // no two alike in colour and line style.
    Chart c;
    FillTimeChart(c.H, 16, 30, false);
    const char* kinds[] = {"All", "Area", "P-1", "P-2", "P-3", "P-4", "P-5", "Ratio"};
    for (int s = 0; s < 16; ++s)
        SetLegendTextAt(c.H, s, std::string(s < 8 ? "Red" : "Blue") + "::" + kinds[s % 8] + "::Shots");
    SetDrawMode(c.H, 3);
    const ChartLayout layout = DrawAndKeep(c, "time-sixteen-sets");
    ASSERT_EQ(layout.Series.size(), 16u);
    for (int s = 0; s < 16; ++s) {
        const QColor col = layout.Series[s].Colour;
        if (s < 8)
            EXPECT_GT(col.red(), col.blue()) << s;
        else
            EXPECT_GT(col.blue(), col.red()) << s;
        // Readable on white: no colour lighter than a mid grey.
        EXPECT_LT(qGray(col.rgb()), 190) << s;
        for (int t = 0; t < s; ++t)
            EXPECT_FALSE(col == layout.Series[t].Colour &&
                         SeriesDashed(LegendSide(s < 8 ? "Red" : "Blue"), s % 8) ==
                             SeriesDashed(LegendSide(t < 8 ? "Red" : "Blue"), t % 8))
                << s << " " << t;
    }
    for (int k = 0; k < 16; ++k)
        for (int j = 0; j < k; ++j)
            EXPECT_NE(SeriesColor(SeriesSide::None, k), SeriesColor(SeriesSide::None, j)) << k << " " << j;
}

TEST(ChartTicks, RoundStepsOverRanges)
{
    // Worked by hand: the step is the largest of 1, 2, 5 x 10^k giving at
    // least `wanted` intervals; free ends move out to the next multiple.
    struct Case {
        const char* what;
        double lo, hi;
        bool fixedMin, fixedMax;
        int wanted;
        bool integer;
        std::vector<double> ticks;
        double min, max;
    } cases[] = {
        // 1/3 = 0.333 -> 0.2.
        {"fraction 0..1 set", 0, 1, true, true, 3, false, {0, 0.2, 0.4, 0.6, 0.8, 1.0}, 0, 1},
        // (30.74 - 3.659) / 3 = 9.03 -> 5; ends out to 0 and 35.
        {"free 3.659..30.74", 3.659, 30.74, false, false, 3, false, {0, 5, 10, 15, 20, 25, 30, 35}, 0, 35},
        // 44 / 3 = 14.67 -> 10, ends 0 and 50.
        {"counts 0..44", 0, 44, true, false, 3, true, {0, 10, 20, 30, 40, 50}, 0, 50},
        // 3 / 3 = 1 -> 1: integers only.
        {"small counts 0..3", 0, 3, true, true, 3, true, {0, 1, 2, 3}, 0, 3},
        // 2 / 4 = 0.5 is below 1: integer ticks keep 1.
        {"counts 0..2 wanting 4", 0, 2, true, true, 4, true, {0, 1, 2}, 0, 2},
        // 8.5 / 3 = 2.83 -> 2 across zero: -6..4 covers -5.5..3.
        {"negative -5.5..3", -5.5, 3, false, false, 3, false, {-6, -4, -2, 0, 2, 4}, -6, 4},
        // 0.0004 / 4 = 1e-4; fixed ends keep 0.0012 and 0.0016 with ticks inside.
        {"tiny set", 0.0012, 0.0016, true, true, 4, false, {0.0012, 0.0013, 0.0014, 0.0015, 0.0016}, 0.0012, 0.0016},
        // 0.35 / 3 = 0.117 -> 0.1; set ends 0.31, 0.66: 0.4, 0.5, 0.6 inside.
        {"set ends off the steps", 0.31, 0.66, true, true, 3, false, {0.4, 0.5, 0.6}, 0.31, 0.66},
        // 100 / 5 = 20 -> 20 on a fixed range.
        {"time 0..100", 0, 100, true, true, 5, false, {0, 20, 40, 60, 80, 100}, 0, 100},
    };
    for (const Case& k : cases) {
        const AxisTicks t = ChooseTicks(k.lo, k.hi, k.fixedMin, k.fixedMax, k.wanted, 20, k.integer);
        ASSERT_EQ(t.Values.size(), k.ticks.size()) << k.what;
        for (std::size_t i = 0; i < k.ticks.size(); ++i)
            EXPECT_NEAR(t.Values[i], k.ticks[i], 1e-12) << k.what << " tick " << i;
        EXPECT_DOUBLE_EQ(t.Min, k.min) << k.what;
        EXPECT_DOUBLE_EQ(t.Max, k.max) << k.what;
    }
    // At most `most` ticks: 0..100 in steps of 1 would be 101; with 6 at most
    // the step grows 1 -> 2 -> 5 -> 10 -> 20 (6 ticks).
    EXPECT_DOUBLE_EQ(ChooseTicks(0, 100, true, true, 100, 6, false).Step, 20.0);
}

TEST(ChartLayoutRecord, TimeChartTicksAreRoundAndTheLowestCurveClearsTheAxis)
{
    // A count curve from 44 down to 3 on an engine-chosen range: integer
    // ticks; the curve at its minimum lies above the x axis line.
    Chart c;
    SetGraphType(c.H, 6);
    SetNumPoints(c.H, 20);
    SetYAxisTicksAt(c.H, 0, 3);
    SetYAxisMinAt(c.H, 0, 3.0);
    SetXAxisMin(c.H, 1.0);
    SetXAxisMax(c.H, 20.0);
    for (int p = 0; p <= 20; ++p)
        SetGraphDataAt(c.H, 0, p, p == 0 ? 44 : 44 - 41 * (p - 1) / 19);
    SetDrawMode(c.H, 3);
    const ChartLayout layout = DrawAndKeep(c, "time-counts");
    for (const ChartText& t : layout.Texts) {
        if (t.Role == TextRole::TickLabel && t.Box.right() < layout.PlotRect.left()) {
            EXPECT_EQ(t.Text.find('.'), std::string::npos) << t.Text;
        }
    }
    ASSERT_EQ(layout.Series.size(), 1u);
    EXPECT_LT(layout.Series[0].At.back().y(), layout.AxisOrigin.y() - 3);
    EXPECT_NE(layout.FindText("10"), nullptr);
}

TEST(ChartLayoutRecord, BarChartShowsTheCategoriesFromItsMinimum)
{
    // The interpoint histogram: 20 bins, bar p shows bin p + 1; "Min D" = 5
    // as XAxisMin keeps bins 5..20 (16 bars), the first labelled 5.
    Chart c;
    SetGraphType(c.H, 3);
    SetNumPoints(c.H, 20);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisTicksAt(c.H, 0, 3);
    for (int p = 0; p < 20; ++p) {
        SetGraphDataAt(c.H, 0, p, (p % 7) / 7.0);
        SetLabelTextAt(c.H, p, std::to_string(p + 1));
    }
    SetXAxisMin(c.H, 5.0);
    SetXAxisMax(c.H, 20.0);
    SetDrawMode(c.H, 3);
    const ChartLayout layout = DrawAndKeep(c, "bars-min-d");
    ASSERT_EQ(layout.Series.size(), 1u);
    ASSERT_EQ(layout.Series[0].Points.size(), 16u);
    EXPECT_EQ(layout.Series[0].Points.front(), 4);
    EXPECT_EQ(layout.Series[0].Points.back(), 19);
    EXPECT_EQ(layout.FindText("4"), nullptr);
    ExpectNoTextOverlaps(layout, "bars");
}

// The fitness landscape's 50 x 50 grid, with a label on every row and column.
void FillLandscape(HGRAPH h, bool top)
{
    SetGraphType(h, 20);
    SetNumSets(h, 50);
    SetNumPoints(h, 50);
    SetPalette(h, 6);
    if (top) {
        SetRotation(h, 0);
        SetPerspective(h, 100);
        SetElevation(h, 90);
    } else {
        SetRotation(h, 40);
        SetPerspective(h, 15);
        SetElevation(h, 25);
    }
    for (int s = 0; s < 50; ++s) {
        SetZLabelTextAt(h, s, std::to_string(s * 2));
        for (int p = 0; p < 50; ++p)
            SetGraphDataAt(h, s, p, std::sin(s / 8.0) * std::cos(p / 6.0));
    }
    for (int p = 0; p < 50; ++p)
        SetLabelTextAt(h, p, std::to_string(p * 0.02).substr(0, 4));
    SetXAxisMin(h, 0.0);
    SetXAxisMax(h, 1.0);
    SetZAxisMin(h, 0.0);
    SetZAxisMax(h, 98.0);
    SetYAxisMinAt(h, 0, -1.0);
    SetYAxisMaxAt(h, 0, 1.0);
    SetXAxisTicks(h, 5);
    SetZAxisTicks(h, 5);
    SetYAxisTicksAt(h, 0, 5);
    SetGraphTitle(h, "Two-Parameter Fitness Landscape");
    SetBottomTitle(h, "Movement Range");
    SetRightTitle(h, "Sensor Range");
    SetLeftTitle(h, "Fitness");
}

TEST(ChartLayoutRecord, ThreeDimensionalChartsKeepTheirTextsApart)
{
    for (bool top : {false, true}) {
        Chart c;
        FillLandscape(c.H, top);
        SetDrawMode(c.H, 3);
        const std::string name = top ? "landscape-top-view" : "landscape-surface";
        const ChartLayout layout = DrawAndKeep(c, name);
        ExpectNoTextOverlaps(layout, name);
        // Thinned but present: several column and row labels, the three
        // axis titles (the value axis's where it shows), and a colour key.
        int ticks = 0;
        for (const ChartText& t : layout.Texts)
            ticks += t.Role == TextRole::TickLabel;
        EXPECT_GE(ticks, 6) << name;
        EXPECT_LE(ticks, 60) << name;
        EXPECT_NE(layout.FindText("Movement Range"), nullptr) << name;
        EXPECT_NE(layout.FindText("Sensor Range"), nullptr) << name;
        if (!top) {
            EXPECT_NE(layout.FindText("Fitness"), nullptr) << name;
        }
        EXPECT_FALSE(layout.KeyRect.isEmpty()) << name;
        EXPECT_NE(layout.FindText("-1.0"), nullptr) << name;  // the key's ends: -1.0 .. 1.0 in steps of 0.5
        EXPECT_NE(layout.FindText("1.0"), nullptr) << name;
    }

    // The centre-of-mass trajectory: x 0..100, time 0..40, y 0..100.
    Chart c;
    SetGraphType(c.H, 21);
    SetNumPoints(c.H, 40);
    SetRotation(c.H, 45);
    SetElevation(c.H, 25);
    for (auto axis : {SetXAxisMin, SetZAxisMin})
        axis(c.H, 0.0);
    for (auto axis : {SetXAxisMax, SetZAxisMax})
        axis(c.H, 100.0);
    SetYAxisMinAt(c.H, 0, 0.0);
    SetYAxisMaxAt(c.H, 0, 40.0);
    for (int p = 0; p <= 40; ++p) {
        SetXPosDataAt(c.H, 0, p, 10 + 2 * p);
        SetGraphDataAt(c.H, 0, p, p);
        SetZPosDataAt(c.H, 0, p, 50 + 30 * std::sin(p / 6.0));
    }
    SetLegendTextAt(c.H, 0, "Red CoM");
    SetLeftTitle(c.H, "Time");
    SetRightTitle(c.H, "y");
    SetBottomTitle(c.H, "x");
    SetDrawMode(c.H, 3);
    const ChartLayout layout = DrawAndKeep(c, "trajectory");
    ExpectNoTextOverlaps(layout, "trajectory");
    ASSERT_EQ(layout.Series.size(), 1u);
    EXPECT_EQ(layout.Series[0].Points.back(), 40);
    EXPECT_GT(layout.Series[0].Colour.red(), layout.Series[0].Colour.blue());
    // Round values on every axis: 0, 20, ... 100 for x and y, 0, 10, ... 40 in time.
    for (const char* label : {"20", "40", "60", "80", "10", "30"})
        EXPECT_NE(layout.FindText(label), nullptr) << label;
    for (const char* title : {"Time", "x", "y"})
        EXPECT_NE(layout.FindText(title), nullptr) << title;
}

TEST(ChartLayoutRecord, DraggingTurnsAThreeDimensionalChart)
{
    // Half a degree a pixel: 40 px right turns Rotation 40 -> 60, 20 px down
    // raises Elevation 25 -> 35; past 90 the elevation stops at 90. A 2D
    // chart does not turn.
    auto drag = [](HGRAPH h, QPointF from, QPointF to) {
        QWidget* w = GraphWindow(h);
        w->show();  // a hidden window takes no mouse events
        QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &move);
    };
    Chart c;
    FillLandscape(c.H, false);
    SetDrawMode(c.H, 3);
    drag(c.H, {100, 100}, {140, 120});
    EXPECT_DOUBLE_EQ(GetRotation(c.H).ToDouble(), 60.0);
    EXPECT_DOUBLE_EQ(GetElevation(c.H).ToDouble(), 35.0);
    drag(c.H, {100, 100}, {100, 300});
    EXPECT_DOUBLE_EQ(GetElevation(c.H).ToDouble(), 90.0);

    Chart flat;
    FillTimeChart(flat.H, 1, 10, false);
    SetDrawMode(flat.H, 3);
    drag(flat.H, {100, 100}, {140, 120});
    EXPECT_TRUE(GetRotation(flat.H).Empty());
}

}  // namespace
}  // namespace brevimar::chart
