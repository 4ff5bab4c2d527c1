// The chart engine: a flat, handle-based charting interface over Qt.
//
// A chart is created once (CreateGraphEx) and then described entirely by
// property assignments, one function per property and call form:
//
//   SetGraphType(h, 6);                 // scalar property       Set<Name>(h, v)
//   SetLegendTextAt(h, 2, "Red");       // one index             Set<Name>At(h, i, v)
//   SetGraphDataAt(h, s, p, 0.75);      // two indices           Set<Name>At(h, i, j, v)
//   GetNumPoints(h); GetGraphData(h, s, p);   // getters: Get<Name>(h[, i[, j]])
//
// The handle always comes first, then the indices, then the value. Every
// value set is kept (an int, a double or a text, as given) and a later get
// returns it; a get of something never set returns an empty value (0, 0.0,
// ""). The property list, in binding order, is platform/ChartProperties.def.
// Chart windows use these functions through CGraphCtrl (charts/GraphCtrl.h),
// which turns them into typed assignments: Graph.GraphData[s][p] = 0.75.
//
// Nothing is drawn until DrawMode is set to 3; from then on the chart's
// window paints the chart from the values held at each paint, and
// RenderChart / RenderChartImage draw it anywhere (tests draw headless).
//
// What the renderer makes of the properties
// -----------------------------------------
// Data: NumSets data sets s = 0..NumSets-1 (1 when never set); GraphData[s][p]
// is the value of point p. NumPoints is the least number of points, p =
// 0..NumPoints-1: every point filled is drawn, also one beyond NumPoints (the
// time charts fill point 0 and points 1..NumPoints, and some a step more), so
// a chart always shows every value it handed over. A point whose GraphData
// was never set is not drawn.
//
// GraphType (the chart kind):
//   3   bar chart: one category per point, the sets side by side within it,
//       labelled by LabelText[p] (else p + 1). XAxisMin and XAxisMax count
//       categories from 1 as their labels do: categories XAxisMin..XAxisMax
//       are shown (all when unset), each an equal share of the plot's width;
//       Bar2DGap is the percent of a category left empty (half each side).
//       Bars rise from 0 (or from the y minimum when 0 lies outside).
//   6   line chart over x: point p lies at x = XPosData[s][p] when set, else
//       at p + 1.
//   9   x-y plot: as 6, for data sets whose x positions are arbitrary.
//   20  3D surface: set s is the depth row (z from ZAxisMin to ZAxisMax),
//       point p the column (x from XAxisMin to XAxisMax), GraphData the
//       height, coloured by Palette. Elevation 90 gives the top-view map.
//       LabelText[p] and ZLabelText[s], when given, label the columns and
//       rows; otherwise each axis shows round values. Labels are thinned
//       to every 2nd, 5th, 10th, ... until none touch. A colour key right of
//       the cage shows the heights' colours. SurfaceColorMin and
//       SurfaceColorMax are kept but do not change the colours.
//   21  3D trajectory: point p at (XPosData, GraphData, ZPosData) joined in
//       order, one polyline per set.
//   other values draw as 6.
// GraphStyle for 6, 9 and 21: 0 lines, 1 symbols only, 2 and 4 lines with
// symbols. For 20 it is ignored.
//
// Axes (2D): x from XAxisMin to XAxisMax, y from YAxisMin[0] to YAxisMax[0].
// Ticks are round (ChooseTicks): an end the chart set stays and the ticks
// fall inside; an end never set comes from the data, moved out to the next
// tick. A y end the data or their error bars pass is moved out to cover
// them; a line chart's (6) x axis reaches its last point. Ticks are whole
// numbers when every value is. The axis lines run a few pixels outside the
// plot rectangle, so a curve at the minimum stays clear of them. A point
// maps to the plot rectangle P as
//   px = P.left + (x - xmin) / (xmax - xmin) * P.width
//   py = P.top + P.height - (y - ymin) / (ymax - ymin) * P.height
// and the drawing is clipped to P. Line charts read XAxisTicks as the step
// in x units between ticks (ticks at its multiples, labels at every 1st,
// 2nd, 5th, ... that fits); every other axis reads its Ticks value as the
// least number of intervals wanted (4 when unset). XAxisMinorTicks and
// YAxisMinorTicks[0] are the minor ticks between two labelled ones.
// GridStyle: 0 (default) grid lines at the y ticks, 1 none, 2 at the x
// ticks, 3 both.
//
// Colours are indices into the 16-colour table of PaletteColor: ColorData[s]
// colours set s; a set without one takes a colour by its legend's side
// (SeriesColor: RED's sets reds, BLUE's blues, the others sixteen distinct
// colours); Background[0] is the window's background
// (white when unset), the plot area is always white. PatternData[s] is the
// line style (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot),
// ThickLines 1 doubles the line width, SymbolData[s] the symbol (0 square,
// 1 circle, 2 triangle, 3 diamond, 4 cross; by default set s % 5).
//
// Error bars: with EBarSource[0] = 5, point p of set s carries a vertical bar
// from value - EBarGraphDataMinus[s][p] to value + EBarGraphDataPlus[s][p]
// (an extent never set counts as 0), with a cap 5 pixels wide at each end,
// in the set's colour lightened, 1 pixel wide, under the 2 pixel mean line;
// with more than 40 bars a set only every k-th is drawn (about 40).
//
// Texts: GraphTitle above the plot, LeftTitle (turned) left of it,
// BottomTitle below it, RightTitle (turned) right of it, and a legend right
// of the plot with one entry per data set whose LegendText is set. Font
// sizes are percent of 10 points: FontSize[0] the title, FontSize[1] axis
// titles and tick labels, FontSize[2] the legend; FontStyle[0] 2 makes the
// title bold. Every text drawn is listed in the layout record (ChartLayout).
//
// 3D projection (GraphType 20 and 21). Each point is first scaled into the
// unit cube: u = (x - xmin)/(xmax - xmin), v = (value - ymin)/(ymax - ymin)
// clamped to 0..1, w = (z - zmin)/(zmax - zmin); then, with X = u - 1/2,
// Y = v - 1/2, Z = w - 1/2, r = Rotation and e = Elevation in degrees
// (unset: 45 and 25):
//   X' = X cos r + Z sin r,   Z' = Z cos r - X sin r
//   sx = X',  sy = Y cos e + Z' sin e,  depth (toward the eye) d = Y sin e - Z' cos e
// Perspective p (unset: 100) between 1 and 99 puts the eye at distance
// D = 1 + p / 10 and scales sx, sy by D / (D - d); 0 or >= 100 projects
// orthographically. The eight corners of the cube, projected, are fitted
// into the plot rectangle with one scale for both directions and centred;
// screen y grows downward (sy up). So Rotation 0, Elevation 90 and
// Perspective 100 show the cube from above as a square: x to the right, z
// upward, the plot rectangle's shorter side long. Dragging with the mouse
// in the chart's window turns a 3D chart (Rotation across, Elevation up and
// down). Axis titles of a 3D chart sit beside their axes: BottomTitle x,
// RightTitle depth, LeftTitle the value (over the colour key when the value
// axis is seen end-on).
#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QRect>
#include <QRectF>

#include <string>
#include <variant>
#include <vector>

class QPainter;
class QWidget;

namespace brevimar::chart {

// Property ids, in binding order.
enum class Prop : int {
#define CHART_PROP0(N) N,
#define CHART_PROP0_GET(N) N,
#define CHART_PROP1(N) N,
#define CHART_PROP1_GET(N) N,
#define CHART_PROP2(N) N,
#include "platform/ChartProperties.def"
    Count
};
inline constexpr int PropertyCount = static_cast<int>(Prop::Count);

// The property's name, its number of indices (0, 1, 2), and whether it
// has a setter.
const char* PropertyName(Prop prop);
int PropertyKind(Prop prop);
bool PropertySettable(Prop prop);

// One stored value: nothing, an int, a double or a text.
class ChartValue {
public:
    ChartValue() = default;
    ChartValue(int v) : Value(v) {}
    ChartValue(unsigned v) : Value(static_cast<int>(v)) {}
    ChartValue(double v) : Value(v) {}
    ChartValue(const char* v) : Value(std::string(v ? v : "")) {}
    ChartValue(std::string v) : Value(std::move(v)) {}

    bool Empty() const { return Value.index() == 0; }
    bool IsText() const { return Value.index() == 3; }
    // A number as an int (a double is truncated toward zero) or a double; a
    // text or nothing gives 0.
    int ToInt() const;
    double ToDouble() const;
    // A text as given; a number in its shortest form; nothing gives "".
    std::string ToText() const;

    bool operator==(const ChartValue&) const = default;

private:
    std::variant<std::monostate, int, double, std::string> Value;
};

// The chart a handle names. Owned by the chart's window: it lives until that
// window is destroyed (with its parent, or by DestroyGraph).
struct ChartData;
using HGRAPH = ChartData*;

// Creates a chart window as a child of `parent` covering `rect` (a hidden
// top-level window when `parent` is null) and answers its handle. `first`,
// `style` and `id` are kept for the caller's use only.
HGRAPH CreateGraphEx(int first, unsigned style, const QRect& rect, QWidget* parent, int id);
// The chart reports no events to its parent; kept for the call sequence.
int EnableEnhancedEvents(HGRAPH graph, QWidget* parent, int flags);
// Destroys the chart and its window now.
void DestroyGraph(HGRAPH graph);
// The chart's window.
QWidget* GraphWindow(HGRAPH graph);

// The generic store behind every flat function. For a scalar property both
// indices are 0; a one-index property keeps its index in `index2`.
void SetProperty(HGRAPH graph, Prop prop, unsigned index1, unsigned index2, const ChartValue& value);
ChartValue GetProperty(HGRAPH graph, Prop prop, unsigned index1 = 0, unsigned index2 = 0);
bool HasProperty(HGRAPH graph, Prop prop, unsigned index1 = 0, unsigned index2 = 0);
// Values assigned so far (every call of a setter counts).
long SetCallCount(HGRAPH graph);

// The flat interface: Get<Name> for every property, Set<Name> (scalar) or
// Set<Name>At (indexed) for every property with a setter. Setters answer 0.
#define CHART_PROP0(N)                    \
    ChartValue Get##N(HGRAPH graph);      \
    int Set##N(HGRAPH graph, const ChartValue& value);
#define CHART_PROP0_GET(N) ChartValue Get##N(HGRAPH graph);
#define CHART_PROP1(N)                               \
    ChartValue Get##N(HGRAPH graph, unsigned index); \
    int Set##N##At(HGRAPH graph, unsigned index, const ChartValue& value);
#define CHART_PROP1_GET(N) ChartValue Get##N(HGRAPH graph, unsigned index);
#define CHART_PROP2(N)                                                 \
    ChartValue Get##N(HGRAPH graph, unsigned index1, unsigned index2); \
    int Set##N##At(HGRAPH graph, unsigned index1, unsigned index2, const ChartValue& value);
#include "platform/ChartProperties.def"

// ---- Drawing

enum class TextRole { Title, LeftTitle, BottomTitle, RightTitle, Legend, TickLabel, KeyLabel };

struct ChartText {
    TextRole Role;
    std::string Text;
    QRectF Box;  // where it was drawn (before turning, for turned titles: its bounding box)
};

// One data set as drawn.
struct ChartSeries {
    int Set = 0;
    QColor Colour;
    std::vector<int> Points;        // the point indices drawn, in order
    std::vector<QPointF> At;        // where each was drawn (a bar: the middle of its top)
    std::vector<QLineF> ErrorBars;  // each error bar drawn, top to bottom
};

// What one drawing laid out, for the caller (and tests) to find things by.
struct ChartLayout {
    bool Drawn = false;  // false until DrawMode 3
    int Kind = 0;        // the GraphType drawn
    QRect Bounds;
    QRectF PlotRect;  // where the data lie; the axis lines run just outside it
    QPointF AxisOrigin;  // where the x and y axis lines of a 2D chart meet
    double XMin = 0, XMax = 1, YMin = 0, YMax = 1, ZMin = 0, ZMax = 1;
    std::vector<ChartText> Texts;
    // The legend's colour sample of each entry, in set order.
    std::vector<QRectF> LegendSamples;
    std::vector<ChartSeries> Series;
    // The colour key of a surface (empty elsewhere).
    QRectF KeyRect;

    const ChartText* FindText(const std::string& text) const;
};

// Draws the chart into `bounds` of `painter` (nothing but the background
// before DrawMode 3) and answers the layout.
ChartLayout RenderChart(HGRAPH graph, QPainter& painter, const QRect& bounds);
// The chart drawn into a new image of `size`.
QImage RenderChartImage(HGRAPH graph, QSize size, ChartLayout* layout = nullptr);
// The layout of the last paint of the chart's window.
const ChartLayout& LastLayout(HGRAPH graph);

// The ticks of one axis: steps of 1, 2 or 5 times a power of ten.
struct AxisTicks {
    double Min = 0, Max = 1;  // the axis ends
    double Step = 1;
    std::vector<double> Values;  // the multiples of Step from Min to Max
};
// Chooses the ticks of an axis over lo..hi. An end that is fixed stays where
// it is and the ticks fall inside; a free end moves out to the next tick.
// The step is the largest giving at least `wanted` intervals over lo..hi,
// made coarser until at most `most` ticks remain; `integer` keeps it whole.
// An empty or reversed range opens up first (a free end moves, else hi).
AxisTicks ChooseTicks(double lo, double hi, bool fixedMin, bool fixedMax, int wanted, int most, bool integer);

// The 16-colour table: 0 black, 1 blue, 2 green, 3 cyan, 4 red, 5 magenta,
// 6 brown, 7 light grey, 8 dark grey, 9 light blue, 10 light green,
// 11 light cyan, 12 light red, 13 light magenta, 14 yellow, 15 white. Other
// indices wrap around.
QColor PaletteColor(int index);
// Which side a data set's legend names: a set whose legend names RED alone
// ("Alive Red", "Red near Blue-Flag", "Red::P-1::Shots") is RED's, BLUE alone
// BLUE's; a legend naming both, "Total" first, or neither, no side's.
enum class SeriesSide { None, Red, Blue };
SeriesSide LegendSide(const std::string& legend);
// The colour of a data set with no ColorData: the k-th set of a side takes
// the side's k-th shade (eight reds, eight blues), the k-th other set the
// k-th of sixteen other colours; all readable on white. A side's shades from
// the fifth on are drawn dashed (SeriesDashed).
QColor SeriesColor(SeriesSide side, int k);
bool SeriesDashed(SeriesSide side, int k);
// The surface colour of a height t in 0..1 under Palette `palette`:
// 6 runs blue (0) through cyan, green and yellow to red (1); 3 runs dark grey
// to light grey; every other value runs dark blue to yellow.
QColor SurfaceColor(int palette, double t);

}  // namespace brevimar::chart
