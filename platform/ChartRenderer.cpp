// Draws a chart from its property store; see ChartEngine.h for what each
// property means here.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>

#include "platform/ChartEngine.h"
#include "platform/ChartStore.h"

namespace brevimar::chart {

namespace {

constexpr double Margin = 8;
constexpr double TickLength = 4;
constexpr double Pi = 3.14159265358979323846;

// Reads the store with defaults for what was never set.
struct Reader {
    const ChartData& D;

    bool Has(Prop p, unsigned i1 = 0, unsigned i2 = 0) const { return D.Find(p, i1, i2) != nullptr; }
    double Num(Prop p, double fallback, unsigned i1 = 0, unsigned i2 = 0) const
    {
        const ChartValue* v = D.Find(p, i1, i2);
        return v && !v->IsText() && !v->Empty() ? v->ToDouble() : fallback;
    }
    int Int(Prop p, int fallback, unsigned i1 = 0, unsigned i2 = 0) const
    {
        const ChartValue* v = D.Find(p, i1, i2);
        return v && !v->IsText() && !v->Empty() ? v->ToInt() : fallback;
    }
    std::string Text(Prop p, unsigned i1 = 0, unsigned i2 = 0) const
    {
        const ChartValue* v = D.Find(p, i1, i2);
        return v ? v->ToText() : std::string();
    }
    // Counts are capped so that a wild value cannot stall the window: at
    // most 4096 sets and about four million points in all.
    int Sets() const { return std::clamp(Int(Prop::NumSets, 1), 0, 4096); }
    // NumPoints is the least number of points a set has: a point filled
    // beyond it is drawn too, so no chart loses a value it handed over.
    int Points() const
    {
        return std::clamp(std::max(Int(Prop::NumPoints, 0), D.FilledPoints), 0,
                          std::min(65536, (1 << 22) / std::max(Sets(), 1)));
    }
    bool Value(int s, int p, double* value) const
    {
        const ChartValue* v = D.Find(Prop::GraphData, s, p);
        if (!v || v->Empty() || v->IsText())
            return false;
        *value = v->ToDouble();
        return std::isfinite(*value);
    }
    QFont Font(int slot) const
    {
        QFont font;
        font.setPointSizeF(10.0 * std::clamp(Int(Prop::FontSize, 100, 0, slot), 20, 400) / 100.0);
        if (slot == 0 && Int(Prop::FontStyle, 0, 0, 0) == 2)
            font.setBold(true);
        return font;
    }
};

struct Range {
    double Min = 0, Max = 1;
};

void Widen(Range& r, double v, bool& any)
{
    if (!any) {
        r.Min = r.Max = v;
        any = true;
    } else {
        r.Min = std::min(r.Min, v);
        r.Max = std::max(r.Max, v);
    }
}

// An end given by the chart wins over the data; an empty range opens upward.
Range AxisRange(const Reader& in, Prop minProp, Prop maxProp, unsigned index, Range data, bool any)
{
    Range r;
    r.Min = in.Has(minProp, 0, index) ? in.Num(minProp, 0, 0, index) : (any ? data.Min : 0.0);
    r.Max = in.Has(maxProp, 0, index) ? in.Num(maxProp, 0, 0, index) : (any ? data.Max : r.Min + 1.0);
    if (!std::isfinite(r.Min))
        r.Min = 0;
    if (!std::isfinite(r.Max) || r.Max <= r.Min)
        r.Max = r.Min + 1.0;
    return r;
}


// A tick value written with as many decimals as its step needs.
QString StepText(double v, double step)
{
    if (std::fabs(v) >= 1e6 || (step > 0 && step < 1e-6))
        return QString::number(v, 'g', 6);
    const int decimals = step > 0 ? std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 8) : 0;
    if (std::fabs(v) < step * 1e-6)
        v = 0.0;
    return QString::number(v, 'f', decimals);
}

// The next larger step of the 1-2-5 sequence.
double NextStep(double step)
{
    const double unit = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double f = step / unit;
    return (f < 1.5 ? 2.0 : f < 3.5 ? 5.0 : 10.0) * unit;
}

Qt::PenStyle LineStyle(int pattern)
{
    switch (pattern) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

void DrawSymbol(QPainter& painter, QPointF c, int shape, double r, const QColor& colour)
{
    painter.save();
    painter.setPen(QPen(colour, 1));
    painter.setBrush(colour);
    switch (((shape % 5) + 5) % 5) {
    case 0: painter.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r)); break;
    case 1: painter.drawEllipse(c, r, r); break;
    case 2: painter.drawPolygon(QPolygonF({{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}})); break;
    case 3: painter.drawPolygon(QPolygonF({{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}})); break;
    default:
        painter.drawLine(QPointF(c.x() - r, c.y() - r), QPointF(c.x() + r, c.y() + r));
        painter.drawLine(QPointF(c.x() - r, c.y() + r), QPointF(c.x() + r, c.y() - r));
        break;
    }
    painter.restore();
}

constexpr double AxisGap = 6;  // between the data and the axis lines

bool Overlaps(const QRectF& a, const QRectF& b)
{
    return a.intersects(b);
}

QColor Lighter(const QColor& c, double towardWhite)
{
    auto mix = [&](int v) { return static_cast<int>(std::lround(v + (255 - v) * towardWhite)); };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

class Renderer {
public:
    Renderer(const ChartData& data, QPainter& painter, const QRect& bounds)
        : In{data}, P(painter), Out()
    {
        Out.Bounds = bounds;
    }

    ChartLayout Run()
    {
        P.save();
        P.fillRect(Out.Bounds, In.Has(Prop::Background, 0, 0) ? PaletteColor(In.Int(Prop::Background, 15, 0, 0))
                                                                 : QColor(Qt::white));
        if (In.Int(Prop::DrawMode, 0) == 3) {
            Out.Drawn = true;
            Out.Kind = In.Int(Prop::GraphType, 6);
            ChooseColours();
            if (Out.Kind == 20 || Out.Kind == 21)
                Draw3D();
            else
                Draw2D();
        }
        P.restore();
        return std::move(Out);
    }

private:
    // A set's own ColorData wins; otherwise the sets of one side take that
    // side's shades in turn and the others the neutral colours in turn.
    void ChooseColours()
    {
        const int sets = In.Sets();
        Colours.resize(sets);
        Dashed.assign(sets, false);
        int counts[3] = {0, 0, 0};
        for (int s = 0; s < sets; ++s) {
            if (In.Has(Prop::ColorData, 0, s)) {
                Colours[s] = PaletteColor(In.Int(Prop::ColorData, 0, 0, s));
                continue;
            }
            const SeriesSide side = LegendSide(In.Text(Prop::LegendText, 0, s));
            const int k = counts[static_cast<int>(side)]++;
            Colours[s] = SeriesColor(side, k);
            Dashed[s] = SeriesDashed(side, k);
        }
    }
    QColor Colour(int s) const { return Colours[s]; }
    Qt::PenStyle Pattern(int s) const
    {
        if (In.Has(Prop::PatternData, 0, s))
            return LineStyle(In.Int(Prop::PatternData, 0, 0, s));
        return Dashed[s] ? Qt::DashLine : Qt::SolidLine;
    }

    void AddText(TextRole role, const std::string& text, const QRectF& box)
    {
        Out.Texts.push_back({role, text, box});
    }
    bool Free(const QRectF& box) const
    {
        if (!QRectF(Out.Bounds).contains(box) || Overlaps(Out.KeyRect, box))
            return false;
        for (const ChartText& t : Out.Texts)
            if (Overlaps(t.Box, box))
                return false;
        return true;
    }
    void DrawText(TextRole role, const QRectF& box, const QString& t, int align = Qt::AlignCenter)
    {
        P.save();
        P.setRenderHint(QPainter::Antialiasing, true);
        P.drawText(box, align | Qt::TextDontClip, t);
        P.restore();
        AddText(role, t.toStdString(), box);
    }

    // Title above, legend at the right, the turned titles at the sides and
    // the bottom title below; answers what is left in the middle. A 3D chart
    // sets its axis titles along its axes instead.
    QRectF LayOutFrame(double bottomReserve, double leftReserve, double topReserve, double rightReserve,
                       bool axisTitles = true)
    {
        const QRectF b = QRectF(Out.Bounds).adjusted(Margin, Margin, -Margin, -Margin);
        double top = b.top(), bottom = b.bottom(), left = b.left(), right = b.right();

        P.setRenderHint(QPainter::Antialiasing, true);
        P.setRenderHint(QPainter::TextAntialiasing, true);
        P.setPen(PaletteColor(In.Int(Prop::Foreground, 0, 0, 0)));

        const std::string title = In.Text(Prop::GraphTitle);
        if (!title.empty()) {
            P.setFont(In.Font(0));
            const QFontMetricsF fm(P.font(), P.device());
            const QString t = QString::fromStdString(title);
            // A title wider than the chart is cut with an ellipsis.
            const QString shown = fm.elidedText(t, Qt::ElideRight, b.width());
            const double w = std::min(fm.horizontalAdvance(shown), b.width());
            const QRectF box(b.center().x() - w / 2, top, w, fm.height());
            P.drawText(box, Qt::AlignCenter, shown);
            AddText(TextRole::Title, title, box);
            top += fm.height() + Margin;
        }

        // Legend: one entry per data set with a legend text.
        P.setFont(In.Font(2));
        const QFontMetricsF lfm(P.font(), P.device());
        std::vector<int> entries;
        double legendWidth = 0;
        for (int s = 0; s < In.Sets(); ++s) {
            const std::string text = In.Text(Prop::LegendText, 0, s);
            if (text.empty())
                continue;
            entries.push_back(s);
            legendWidth = std::max(legendWidth, lfm.horizontalAdvance(QString::fromStdString(text)));
        }
        if (!entries.empty()) {
            const double sample = 24;
            const double width = std::min(sample + 6 + legendWidth, b.width() / 3);
            const double x = right - width;
            double y = top + topReserve;
            for (int s : entries) {
                if (y + lfm.height() > bottom)
                    break;  // no room for more entries
                const std::string text = In.Text(Prop::LegendText, 0, s);
                const QRectF sampleBox(x, y, sample, lfm.height());
                P.save();
                P.setPen(QPen(Colour(s), 2, Pattern(s)));
                P.drawLine(QPointF(sampleBox.left(), sampleBox.center().y()),
                           QPointF(sampleBox.right(), sampleBox.center().y()));
                P.restore();
                const QRectF box(x + sample + 6, y, width - sample - 6, lfm.height());
                P.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                           lfm.elidedText(QString::fromStdString(text), Qt::ElideRight, box.width()));
                AddText(TextRole::Legend, text, box);
                Out.LegendSamples.push_back(sampleBox);
                y += lfm.height() + 2;
            }
            right = x - Margin;
        }

        P.setFont(In.Font(1));
        const QFontMetricsF afm(P.font(), P.device());
        const std::string bottomTitle = axisTitles ? In.Text(Prop::BottomTitle) : std::string();
        const std::string leftTitle = axisTitles ? In.Text(Prop::LeftTitle) : std::string();
        const std::string rightTitle = axisTitles ? In.Text(Prop::RightTitle) : std::string();
        const double leftEdge = left + (leftTitle.empty() ? 0 : afm.height() + Margin);
        const double rightEdge = right - (rightTitle.empty() ? 0 : afm.height() + Margin);
        const double bottomEdge = bottom - (bottomTitle.empty() ? 0 : afm.height() + Margin);
        const QRectF inner(leftEdge + leftReserve, top + topReserve, rightEdge - leftEdge - leftReserve - rightReserve,
                           bottomEdge - top - topReserve - bottomReserve);
        const QRectF plot(std::round(inner.left()), std::round(inner.top()), std::round(std::max(inner.width(), 1.0)),
                          std::round(std::max(inner.height(), 1.0)));
        if (!bottomTitle.empty()) {
            const QString t = QString::fromStdString(bottomTitle);
            const double w = afm.horizontalAdvance(t);
            const QRectF box(plot.center().x() - w / 2, bottom - afm.height(), w, afm.height());
            P.drawText(box, Qt::AlignCenter | Qt::TextDontClip, t);
            AddText(TextRole::BottomTitle, bottomTitle, box);
        }
        for (const auto& [text, x, angle, role] :
             {std::tuple{leftTitle, left, -90.0, TextRole::LeftTitle},
              std::tuple{rightTitle, rightEdge + Margin, 90.0, TextRole::RightTitle}}) {
            if (text.empty())
                continue;
            DrawTurned(QString::fromStdString(text), x, plot.center().y(), angle, role, afm);
        }
        return plot;
    }

    // A turned title with its left edge at x, centred on y.
    void DrawTurned(const QString& t, double x, double y, double angle, TextRole role, const QFontMetricsF& fm)
    {
        const double w = fm.horizontalAdvance(t);
        const QRectF box(x, y - w / 2, fm.height(), w);
        P.save();
        P.setRenderHint(QPainter::Antialiasing, true);
        P.translate(box.center());
        P.rotate(angle);
        P.drawText(QRectF(-w / 2, -fm.height() / 2, w, fm.height()), Qt::AlignCenter | Qt::TextDontClip, t);
        P.restore();
        AddText(role, t.toStdString(), box);
    }

    // ---------------------------------------------------------------- 2D

    double MapX(double x) const
    {
        const QRectF& r = Out.PlotRect;
        return r.left() + (x - Out.XMin) / (Out.XMax - Out.XMin) * r.width();
    }
    double MapY(double y) const
    {
        const QRectF& r = Out.PlotRect;
        return r.top() + r.height() - (y - Out.YMin) / (Out.YMax - Out.YMin) * r.height();
    }

    double PointX(int s, int p) const
    {
        const ChartValue* x = In.D.Find(Prop::XPosData, s, p);
        return x && !x->Empty() && !x->IsText() ? x->ToDouble() : p + 1.0;
    }

    bool ErrorBarsOn() const { return In.Int(Prop::EBarSource, 0, 0, 0) == 5; }
    bool HasBar(int s, int p) const
    {
        return In.Has(Prop::EBarGraphDataPlus, s, p) || In.Has(Prop::EBarGraphDataMinus, s, p);
    }
    double Plus(int s, int p) const { return std::fabs(In.Num(Prop::EBarGraphDataPlus, 0, s, p)); }
    double Minus(int s, int p) const { return std::fabs(In.Num(Prop::EBarGraphDataMinus, 0, s, p)); }

    // An axis end the chart set, unless the data lie beyond it.
    struct End {
        double Value;
        bool Fixed;
    };
    End AxisEnd(Prop prop, unsigned index, bool any, double data, bool isMax) const
    {
        if (In.Has(prop, 0, index)) {
            const double v = In.Num(prop, 0, 0, index);
            if (std::isfinite(v) && (!any || (isMax ? data <= v : data >= v)))
                return {v, true};
        }
        return {any ? data : (isMax ? 1.0 : 0.0), false};
    }

    void Draw2D()
    {
        const bool bars = Out.Kind == 3;
        const int sets = In.Sets(), points = In.Points();
        const bool errorBars = ErrorBarsOn() && !bars;
        Range xs, ys;
        bool anyX = false, anyY = false, integerY = true, integerX = true;
        for (int s = 0; s < sets; ++s)
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                Widen(ys, v, anyY);
                integerY = integerY && v == std::round(v) && std::fabs(v) < 1e9;
                if (errorBars && HasBar(s, p)) {
                    Widen(ys, v + Plus(s, p), anyY);
                    Widen(ys, v - Minus(s, p), anyY);
                    integerY = integerY && Plus(s, p) == std::round(Plus(s, p)) &&
                               Minus(s, p) == std::round(Minus(s, p));
                }
                if (!bars) {
                    const double x = PointX(s, p);
                    if (std::isfinite(x)) {
                        Widen(xs, x, anyX);
                        integerX = integerX && x == std::round(x);
                    }
                }
            }

        P.setFont(In.Font(1));
        const QFontMetricsF fm(P.font(), P.device());
        const double estimatedHeight = std::max(Out.Bounds.height() - 6.0 * fm.height() - 4 * Margin, 20.0);
        const double estimatedWidth = std::max(Out.Bounds.width() * 0.55, 40.0);

        // x: categories of a bar chart, else an axis.
        int first = 1, last = points;
        double xStepMode = 0;
        AxisTicks xTicks;
        if (bars) {
            const double lo = In.Num(Prop::XAxisMin, 1.0), hi = In.Num(Prop::XAxisMax, points);
            // The axis ends count categories from 1, as their labels do.
            if (std::isfinite(lo) && std::isfinite(hi) && hi >= lo) {
                first = std::max(1, static_cast<int>(std::ceil(lo - 1e-9)));
                last = std::min(points, static_cast<int>(std::floor(hi + 1e-9)));
            }
            if (last < first)
                last = first - 1;
            Out.XMin = first - 1;
            Out.XMax = std::max(last, first);
            Widen(ys, 0.0, anyY);
        } else {
            End lo = AxisEnd(Prop::XAxisMin, 0, false, xs.Min, false);
            End hi = AxisEnd(Prop::XAxisMax, 0, false, xs.Max, true);
            if (!lo.Fixed && anyX)
                lo.Value = xs.Min;
            if (!hi.Fixed && anyX)
                hi.Value = xs.Max;
            // A line over x reaches its last point, wherever the chart ends
            // the axis.
            if (Out.Kind != 9 && anyX && xs.Max > hi.Value && hi.Value >= lo.Value)
                hi = {xs.Max, true};
            const double step = In.Num(Prop::XAxisTicks, 0);
            if (Out.Kind != 9 && step > 0 && std::isfinite(step) && lo.Fixed && hi.Fixed && hi.Value > lo.Value) {
                xStepMode = step;
                Out.XMin = lo.Value;
                Out.XMax = hi.Value;
            } else {
                const int wanted = std::clamp(static_cast<int>(step > 0 && std::isfinite(step) ? step : 5), 1, 20);
                const int most = std::max(2, static_cast<int>(estimatedWidth / (fm.horizontalAdvance("-0.000") + 12)));
                xTicks = ChooseTicks(lo.Value, hi.Value, lo.Fixed, hi.Fixed, wanted, most, integerX && !lo.Fixed);
                Out.XMin = xTicks.Min;
                Out.XMax = xTicks.Max;
            }
        }

        // y: round ticks; the ends the chart set unless the data (and their
        // error bars) reach past them.
        const End ylo = AxisEnd(Prop::YAxisMin, 0, anyY, ys.Min, false);
        const End yhi = AxisEnd(Prop::YAxisMax, 0, anyY, ys.Max, true);
        const double yWanted = In.Num(Prop::YAxisTicks, 0, 0, 0);
        const int mostY = std::max(2, static_cast<int>(estimatedHeight / (fm.height() * 1.6)) + 1);
        const AxisTicks yTicks =
            ChooseTicks(ylo.Value, yhi.Value, ylo.Fixed, yhi.Fixed,
                        std::clamp(static_cast<int>(yWanted > 0 && std::isfinite(yWanted) ? yWanted : 4), 1, 20),
                        mostY, integerY);
        Out.YMin = yTicks.Min;
        Out.YMax = yTicks.Max;

        double labelWidth = 0;
        for (double t : yTicks.Values)
            labelWidth = std::max(labelWidth, fm.horizontalAdvance(StepText(t, yTicks.Step)));
        Out.PlotRect = LayOutFrame(fm.height() + TickLength + 2 + AxisGap, labelWidth + TickLength + 4 + AxisGap,
                                   fm.height() / 2, fm.horizontalAdvance("0000") / 2);
        const QRectF& plot = Out.PlotRect;
        P.fillRect(plot.adjusted(-AxisGap, 0, 0, AxisGap), Qt::white);
        P.setRenderHint(QPainter::Antialiasing, false);

        std::vector<double> xValues;
        double xLabelStep = 0;
        if (!bars) {
            if (xStepMode > 0) {
                double step = xStepMode;
                while ((Out.XMax - Out.XMin) / step > 2000)
                    step *= 10;
                for (double k = std::ceil(Out.XMin / step - 1e-9); k * step <= Out.XMax + step * 1e-9; k += 1)
                    xValues.push_back(k * step);
                xLabelStep = step;
            } else {
                xValues = xTicks.Values;
                xLabelStep = xTicks.Step;
            }
        }
        const int grid = In.Int(Prop::GridStyle, 0);
        P.setPen(QPen(QColor(210, 210, 210), 1, Qt::DotLine));
        if (grid == 0 || grid == 3)
            for (double t : yTicks.Values)
                P.drawLine(QPointF(plot.left(), MapY(t)), QPointF(plot.right(), MapY(t)));
        if (grid == 2 || grid == 3)
            for (double t : xValues)
                P.drawLine(QPointF(MapX(t), plot.top()), QPointF(MapX(t), plot.bottom()));

        DrawAxes2D(yTicks, xValues, xLabelStep, first, last, fm);

        P.save();
        P.setClipRect(plot.adjusted(-AxisGap + 1, -4, 4, AxisGap - 1));
        if (bars)
            DrawBars(sets, first, last);
        else
            DrawLines(sets, points, errorBars);
        P.restore();
    }

    void DrawAxes2D(const AxisTicks& yTicks, const std::vector<double>& xValues, double xStep, int first, int last,
                    const QFontMetricsF& fm)
    {
        const QRectF& plot = Out.PlotRect;
        const double axisY = plot.bottom() + AxisGap, axisX = plot.left() - AxisGap;
        Out.AxisOrigin = QPointF(axisX, axisY);
        const QColor ink = PaletteColor(In.Int(Prop::Foreground, 0, 0, 0));
        P.setPen(QPen(ink, 1));
        P.drawLine(QPointF(axisX, axisY), QPointF(plot.right(), axisY));
        P.drawLine(QPointF(axisX, axisY), QPointF(axisX, plot.top()));

        const int yMinor = std::clamp(In.Int(Prop::YAxisMinorTicks, 0, 0, 0), 0, 20);
        const auto& ys = yTicks.Values;
        for (std::size_t k = 0; k < ys.size(); ++k) {
            const double py = MapY(ys[k]);
            P.drawLine(QPointF(axisX - TickLength, py), QPointF(axisX, py));
            if (k + 1 < ys.size())
                for (int m = 1; m <= yMinor; ++m) {
                    const double my = MapY(ys[k] + (ys[k + 1] - ys[k]) * m / (yMinor + 1));
                    P.drawLine(QPointF(axisX - TickLength / 2, my), QPointF(axisX, my));
                }
            const QString t = StepText(ys[k], yTicks.Step);
            const double w = fm.horizontalAdvance(t);
            const QRectF box(axisX - TickLength - 2 - w, py - fm.height() / 2, w, fm.height());
            DrawText(TextRole::TickLabel, box, t, Qt::AlignRight | Qt::AlignVCenter);
        }

        const double labelTop = axisY + TickLength + 2;
        if (Out.Kind == 3) {
            const int count = last - first + 1;
            if (count <= 0)
                return;
            const double category = plot.width() / count;
            double widest = 0;
            for (int p = first - 1; p < last; ++p) {
                const std::string text = In.Text(Prop::LabelText, 0, p);
                widest = std::max(widest,
                                  fm.horizontalAdvance(text.empty() ? QString::number(p + 1) : QString::fromStdString(text)));
            }
            // Every label when they fit, else every 2nd, 5th, 10th, ... category.
            int stride = 1;
            while (stride * category < widest + 6 && stride < count)
                stride = static_cast<int>(NextStep(stride));
            for (int p = first - 1; p < last; ++p) {
                const double px = MapX(p + 0.5);
                P.drawLine(QPointF(px, axisY), QPointF(px, axisY + TickLength));
                if ((p + 1) % stride != 0 && stride > 1)
                    continue;
                const std::string text = In.Text(Prop::LabelText, 0, p);
                const QString t = text.empty() ? QString::number(p + 1) : QString::fromStdString(text);
                const double w = fm.horizontalAdvance(t);
                DrawText(TextRole::TickLabel, QRectF(px - w / 2, labelTop, w, fm.height()), t);
            }
            return;
        }
        const int xMinor = std::clamp(In.Int(Prop::XAxisMinorTicks, 0), 0, 20);
        // Labels at every tick when they fit, else at the multiples of 2, 5,
        // 10, ... ticks, so that they stay round and apart.
        double widest = 0;
        for (double v : {Out.XMin, Out.XMax})
            widest = std::max(widest, fm.horizontalAdvance(StepText(v, xStep)));
        const double pixelsPerStep = xStep / (Out.XMax - Out.XMin) * plot.width();
        double stride = 1;
        while (stride * pixelsPerStep < widest + 8 && stride < 1e9)
            stride = NextStep(stride);
        double lastRight = -std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < xValues.size(); ++k) {
            const double px = MapX(xValues[k]);
            P.drawLine(QPointF(px, axisY), QPointF(px, axisY + TickLength));
            if (k + 1 < xValues.size() && xValues.size() < 200)
                for (int m = 1; m <= xMinor; ++m) {
                    const double mx = MapX(xValues[k] + (xValues[k + 1] - xValues[k]) * m / (xMinor + 1));
                    P.drawLine(QPointF(mx, axisY), QPointF(mx, axisY + TickLength / 2));
                }
            const double units = std::round(xValues[k] / xStep);
            if (std::fmod(std::fabs(units), stride) > 0.5)
                continue;
            const QString t = StepText(xValues[k], xStep);
            const double w = fm.horizontalAdvance(t);
            const QRectF box(px - w / 2, labelTop, w, fm.height());
            if (box.left() < lastRight + 4)
                continue;
            lastRight = box.right();
            DrawText(TextRole::TickLabel, box, t);
        }
    }

    void DrawLines(int sets, int points, bool errorBars)
    {
        const int style = In.Int(Prop::GraphStyle, 0);
        const bool lines = style != 1;
        const bool symbols = style == 1 || style == 2 || style == 4;
        // Means over error bars are drawn heavier than the bars.
        const double width = In.Int(Prop::ThickLines, 0) == 1 || errorBars ? 2 : 1;
        const double radius = 3.0 * std::clamp(In.Int(Prop::SymbolSize, 100), 10, 500) / 100.0;
        for (int s = 0; s < sets; ++s) {
            const QColor colour = Colour(s);
            ChartSeries series;
            series.Set = s;
            series.Colour = colour;
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                const double x = PointX(s, p);
                if (!std::isfinite(x))
                    continue;
                series.Points.push_back(p);
                series.At.emplace_back(MapX(x), MapY(v));
            }
            if (errorBars) {
                // Under the line, lighter and thinner; about 40 per set at most.
                std::vector<std::size_t> withBars;
                for (std::size_t k = 0; k < series.Points.size(); ++k)
                    if (HasBar(s, series.Points[k]) &&
                        (Plus(s, series.Points[k]) > 0 || Minus(s, series.Points[k]) > 0))
                        withBars.push_back(k);
                const std::size_t stride = (withBars.size() + 39) / 40;
                P.setPen(QPen(Lighter(colour, 0.55), 1));
                for (std::size_t i = 0; i < withBars.size(); i += std::max<std::size_t>(stride, 1)) {
                    const std::size_t k = withBars[i];
                    const int p = series.Points[k];
                    double v = 0;
                    In.Value(s, p, &v);
                    const double x = series.At[k].x();
                    const double top = MapY(v + Plus(s, p)), bottom = MapY(v - Minus(s, p));
                    P.drawLine(QPointF(x, top), QPointF(x, bottom));
                    P.drawLine(QPointF(x - 2.5, top), QPointF(x + 2.5, top));
                    P.drawLine(QPointF(x - 2.5, bottom), QPointF(x + 2.5, bottom));
                    series.ErrorBars.emplace_back(QPointF(x, top), QPointF(x, bottom));
                }
            }
            if (lines && series.At.size() > 1) {
                P.setPen(QPen(colour, width, Pattern(s)));
                // A gap in the data breaks the line.
                std::size_t from = 0;
                for (std::size_t k = 1; k <= series.At.size(); ++k)
                    if (k == series.At.size() || series.Points[k] != series.Points[k - 1] + 1) {
                        if (k - from > 1)
                            P.drawPolyline(series.At.data() + from, static_cast<int>(k - from));
                        from = k;
                    }
            }
            if (symbols)
                for (const QPointF& c : series.At)
                    DrawSymbol(P, c, In.Int(Prop::SymbolData, s, 0, s), radius, colour);
            Out.Series.push_back(std::move(series));
        }
    }

    void DrawBars(int sets, int first, int last)
    {
        const int count = last - first + 1;
        if (count <= 0 || sets <= 0)
            return;
        const QRectF& plot = Out.PlotRect;
        const double category = plot.width() / count;
        const double gap = category * std::clamp(In.Num(Prop::Bar2DGap, 20), 0.0, 90.0) / 100.0;
        const double bar = (category - gap) / sets;
        const double base = MapY(std::clamp(0.0, Out.YMin, Out.YMax));
        for (int s = 0; s < sets; ++s) {
            const QColor colour = Colour(s);
            ChartSeries series;
            series.Set = s;
            series.Colour = colour;
            for (int p = first - 1; p < last; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                const double x0 = MapX(p) + gap / 2 + s * bar;
                const double y = MapY(v);
                const QRectF r(QPointF(x0, std::min(y, base)), QPointF(x0 + bar, std::max(y, base)));
                P.fillRect(r, colour);
                if (bar >= 4) {
                    P.setPen(QPen(colour.darker(150), 1));
                    P.drawRect(r);
                }
                series.Points.push_back(p);
                series.At.emplace_back(x0 + bar / 2, y);
            }
            Out.Series.push_back(std::move(series));
        }
    }

    // ---------------------------------------------------------------- 3D

    struct Projected {
        QPointF Screen;
        double Depth;
    };

    struct View3D {
        double CosR = 1, SinR = 0, CosE = 1, SinE = 0, Eye = 0;  // Eye 0: orthographic
        double CX = 0, CY = 0, Scale = 1;
        QPointF Centre;

        void Raw(double u, double v, double w, double* sx, double* sy, double* d) const
        {
            const double X = u - 0.5, Y = v - 0.5, Z = w - 0.5;
            const double xr = X * CosR + Z * SinR;
            const double zr = Z * CosR - X * SinR;
            *sx = xr;
            *sy = Y * CosE + zr * SinE;
            *d = Y * SinE - zr * CosE;
            if (Eye > 0) {
                const double f = Eye / (Eye - *d);
                *sx *= f;
                *sy *= f;
            }
        }
        Projected operator()(double u, double v, double w) const
        {
            double sx, sy, d;
            Raw(u, v, w, &sx, &sy, &d);
            return {QPointF(Centre.x() + (sx - CX) * Scale, Centre.y() - (sy - CY) * Scale), d};
        }
    };

    View3D MakeView(const QRectF& plot) const
    {
        const double r = In.Num(Prop::Rotation, 45) * Pi / 180.0;
        const double e = In.Num(Prop::Elevation, 25) * Pi / 180.0;
        const double p = In.Num(Prop::Perspective, 100);
        View3D v;
        v.CosR = std::cos(r), v.SinR = std::sin(r), v.CosE = std::cos(e), v.SinE = std::sin(e);
        v.Eye = (p >= 1 && p < 100) ? 1.0 + p / 10.0 : 0.0;
        double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
        for (int c = 0; c < 8; ++c) {
            double sx, sy, d;
            v.Raw(c & 1, (c >> 1) & 1, (c >> 2) & 1, &sx, &sy, &d);
            minX = std::min(minX, sx), maxX = std::max(maxX, sx);
            minY = std::min(minY, sy), maxY = std::max(maxY, sy);
        }
        v.CX = (minX + maxX) / 2;
        v.CY = (minY + maxY) / 2;
        v.Scale = std::min(plot.width() / std::max(maxX - minX, 1e-9), plot.height() / std::max(maxY - minY, 1e-9));
        v.Centre = plot.center();
        return v;
    }

    static double Unit(double x, Range r) { return (x - r.Min) / (r.Max - r.Min); }

    void Draw3D()
    {
        const int sets = In.Sets(), points = In.Points();
        const bool surface = Out.Kind == 20;
        Range ys;
        bool anyY = false;
        for (int s = 0; s < sets; ++s)
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (In.Value(s, p, &v))
                    Widen(ys, v, anyY);
            }
        Range xs{0, std::max(points - 1, 1) * 1.0}, zs{0, std::max(sets - 1, 1) * 1.0};
        bool anyX = false, anyZ = false;
        if (!surface) {
            for (int s = 0; s < sets; ++s)
                for (int p = 0; p < points; ++p) {
                    if (In.Has(Prop::XPosData, s, p))
                        Widen(xs, In.Num(Prop::XPosData, 0, s, p), anyX);
                    if (In.Has(Prop::ZPosData, s, p))
                        Widen(zs, In.Num(Prop::ZPosData, 0, s, p), anyZ);
                }
        }
        const Range x = AxisRange(In, Prop::XAxisMin, Prop::XAxisMax, 0, xs, surface || anyX);
        const Range z = AxisRange(In, Prop::ZAxisMin, Prop::ZAxisMax, 0, zs, surface || anyZ);
        const Range y = AxisRange(In, Prop::YAxisMin, Prop::YAxisMax, 0, ys, anyY);
        Out.XMin = x.Min, Out.XMax = x.Max, Out.YMin = y.Min, Out.YMax = y.Max, Out.ZMin = z.Min, Out.ZMax = z.Max;

        P.setFont(In.Font(1));
        const QFontMetricsF fm(P.font(), P.device());
        // Room around the cage for its labels and axis titles, and at the
        // right for the colour key of a surface.
        const double room = fm.horizontalAdvance("-0.0000") + TickLength + fm.height() + 4;
        const double key = surface ? 18 + TickLength + fm.horizontalAdvance("-0.0000") + Margin : 0;
        Out.PlotRect = LayOutFrame(2 * fm.height() + 8, room, fm.height(), room + key, false);
        const View3D view = MakeView(Out.PlotRect);
        P.setRenderHint(QPainter::Antialiasing, false);

        DrawCage(view);
        if (surface) {
            DrawSurface(view, sets, points, y);
            DrawColourKey(fm);
        } else {
            DrawTrajectory(view, sets, points, x, y, z);
        }
        P.setPen(PaletteColor(0));
        DrawCageLabels(view, fm, surface);
    }

    void DrawCage(const View3D& view)
    {
        P.setPen(QPen(PaletteColor(8), 1));
        for (int a = 0; a < 8; ++a)
            for (int bit = 0; bit < 3; ++bit) {
                const int b = a | (1 << bit);
                if (b == a)
                    continue;
                const QPointF pa = view(a & 1, (a >> 1) & 1, (a >> 2) & 1).Screen;
                const QPointF pb = view(b & 1, (b >> 1) & 1, (b >> 2) & 1).Screen;
                P.drawLine(pa, pb);
            }
    }

    // One label of an axis at its place along the axis's edge.
    struct AxisLabel {
        double F;  // 0..1 along the axis
        QString Text;
    };

    // The labels of one axis: the chart's own texts (a surface's columns and
    // rows) or round values between the axis ends.
    std::vector<AxisLabel> AxisLabels(Prop textProp, int count, double lo, double hi, Prop ticksProp, unsigned index)
    {
        std::vector<AxisLabel> labels;
        bool texts = false;
        for (int k = 0; Out.Kind == 20 && textProp != Prop::Count && k < count && count > 1 && !texts; ++k)
            texts = !In.Text(textProp, 0, k).empty();
        if (texts) {
            for (int k = 0; k < count; ++k)
                labels.push_back({double(k) / (count - 1), QString::fromStdString(In.Text(textProp, 0, k))});
            return labels;
        }
        const double wanted = In.Num(ticksProp, 0, 0, index);
        const AxisTicks ticks = ChooseTicks(lo, hi, true, true,
                                            std::clamp(static_cast<int>(wanted > 0 && std::isfinite(wanted) ? wanted : 4), 1, 10),
                                            8, false);
        for (double v : ticks.Values)
            labels.push_back({(v - lo) / (hi - lo), StepText(v, ticks.Step)});
        return labels;
    }

    // Places the labels of one axis along the edge from `a` to `b` (in the
    // unit cube), each box beside its point as `place` says; only every
    // stride-th label when they would touch, and none over a text already
    // drawn.
    template <class Place>
    void PlaceAxisLabels(const View3D& view, const std::vector<AxisLabel>& labels, const std::array<double, 3>& a,
                         const std::array<double, 3>& b, const QFontMetricsF& fm, Place place)
    {
        if (labels.empty())
            return;
        std::vector<QRectF> boxes;
        for (const AxisLabel& l : labels) {
            const QPointF at =
                view(a[0] + (b[0] - a[0]) * l.F, a[1] + (b[1] - a[1]) * l.F, a[2] + (b[2] - a[2]) * l.F).Screen;
            boxes.push_back(place(at, fm.horizontalAdvance(l.Text), fm.height()));
        }
        const int n = static_cast<int>(labels.size());
        int stride = 1;
        for (;; stride = static_cast<int>(NextStep(stride))) {
            bool clear = true;
            int previous = -1;
            for (int k = 0; k < n && clear; k += stride) {
                if (previous >= 0 && Overlaps(boxes[previous].adjusted(-3, -1, 3, 1), boxes[k]))
                    clear = false;
                previous = k;
            }
            if (clear || stride >= n)
                break;
        }
        for (int k = 0; k < n; k += stride)
            if (Free(boxes[k]))
                DrawText(TextRole::TickLabel, boxes[k], labels[k].Text);
    }

    // Moves `box` away from `step` until it is clear of every text drawn.
    QRectF Clear(QRectF box, QPointF step) const
    {
        for (int k = 0; k < 200 && !Free(box); ++k)
            box.translate(step);
        return box;
    }

    void DrawCageLabels(const View3D& view, const QFontMetricsF& fm, bool surface)
    {
        P.setRenderHint(QPainter::Antialiasing, true);
        // The x labels along the lower of the two floor edges that run in x,
        // the depth labels along the righter of the two that run in z, and
        // the values up the lefter vertical edge.
        auto screen = [&](double u, double v, double w) { return view(u, v, w).Screen; };
        const double xw = screen(0.5, 0, 0).y() >= screen(0.5, 0, 1).y() ? 0.0 : 1.0;
        const double zu = screen(1, 0, 0.5).x() >= screen(0, 0, 0.5).x() ? 1.0 : 0.0;
        double vu = 0, vw = 0, leftmost = 1e18;
        for (int c = 0; c < 4; ++c) {
            const double u = c & 1, w = (c >> 1) & 1;
            if (screen(u, 0, w).x() < leftmost - 1e-6)
                leftmost = screen(u, 0, w).x(), vu = u, vw = w;
        }
        const auto below = [](QPointF at, double w, double h) { return QRectF(at.x() - w / 2, at.y() + 3, w, h); };
        const auto right = [](QPointF at, double w, double h) {
            return QRectF(at.x() + TickLength + 2, at.y() - h / 2, w, h);
        };
        const auto left = [](QPointF at, double w, double h) {
            return QRectF(at.x() - w - TickLength - 2, at.y() - h / 2, w, h);
        };
        const std::vector<AxisLabel> xl =
            AxisLabels(surface ? Prop::LabelText : Prop::Count, In.Points(), Out.XMin, Out.XMax, Prop::XAxisTicks, 0);
        const std::vector<AxisLabel> zl =
            AxisLabels(surface ? Prop::ZLabelText : Prop::Count, In.Sets(), Out.ZMin, Out.ZMax, Prop::ZAxisTicks, 0);
        PlaceAxisLabels(view, xl, {0, 0, xw}, {1, 0, xw}, fm, below);
        PlaceAxisLabels(view, zl, {zu, 0, 0}, {zu, 0, 1}, fm, right);
        // The value axis only where it shows: seen from above it is a point,
        // and the colour key tells the values.
        const double rise = screen(vu, 0, vw).y() - screen(vu, 1, vw).y();
        if (rise > 2.5 * fm.height())
            PlaceAxisLabels(view, AxisLabels(Prop::Count, 0, Out.YMin, Out.YMax, Prop::YAxisTicks, 0), {vu, 0, vw},
                            {vu, 1, vw}, fm, left);

        // The axis titles beyond the labels at the middles of their edges,
        // clear of every text; a title along an upright edge is turned.
        const QString xTitle = QString::fromStdString(In.Text(Prop::BottomTitle));
        const QString zTitle = QString::fromStdString(In.Text(Prop::RightTitle));
        const QString vTitle = QString::fromStdString(In.Text(Prop::LeftTitle));
        double widestZ = 0;
        for (const AxisLabel& l : zl)
            widestZ = std::max(widestZ, fm.horizontalAdvance(l.Text));
        if (!xTitle.isEmpty()) {
            const QPointF at = screen(0.5, 0, xw);
            const double w = fm.horizontalAdvance(xTitle);
            const QRectF box = Clear(QRectF(at.x() - w / 2, at.y() + fm.height() + 6, w, fm.height()), {0, 2});
            DrawText(TextRole::BottomTitle, box, xTitle);
        }
        if (!zTitle.isEmpty()) {
            const QPointF at = screen(zu, 0, 0.5);
            const QPointF along = screen(zu, 0, 1) - screen(zu, 0, 0);
            const double w = fm.horizontalAdvance(zTitle);
            const double x = at.x() + TickLength + widestZ + 8;
            if (std::fabs(along.y()) > std::fabs(along.x()) && std::fabs(along.y()) > w) {
                const QRectF box = Clear(QRectF(x, at.y() - w / 2, fm.height(), w), {2, 0});
                DrawTurned(zTitle, box.left(), box.center().y(), 90, TextRole::RightTitle, fm);
            } else {
                const QRectF box = Clear(QRectF(x, at.y() - fm.height() / 2, w, fm.height()), {0, 2});
                DrawText(TextRole::RightTitle, box, zTitle);
            }
        }
        if (!vTitle.isEmpty()) {
            const double w = fm.horizontalAdvance(vTitle);
            if (rise > 2.5 * fm.height()) {
                const QPointF at = screen(vu, 0.5, vw);
                double widest = 0;
                for (const ChartText& t : Out.Texts)
                    if (t.Role == TextRole::TickLabel && t.Box.right() <= at.x() && t.Box.right() > at.x() - 4 - TickLength - 2)
                        widest = std::max(widest, t.Box.width());
                const double x = at.x() - TickLength - 2 - widest - 6 - fm.height();
                if (rise > w) {
                    const QRectF box = Clear(QRectF(x, at.y() - w / 2, fm.height(), w), {-2, 0});
                    DrawTurned(vTitle, box.left(), box.center().y(), -90, TextRole::LeftTitle, fm);
                } else {
                    const QRectF box =
                        Clear(QRectF(x + fm.height() - w, at.y() - fm.height() / 2, w, fm.height()), {-2, 0});
                    DrawText(TextRole::LeftTitle, box, vTitle);
                }
            } else if (!Out.KeyRect.isEmpty()) {
                // Seen from above the values show only in the key: its title.
                const QRectF box = Clear(
                    QRectF(Out.KeyRect.center().x() - w / 2, Out.KeyRect.top() - fm.height() - 4, w, fm.height()),
                    {0, -2});
                DrawText(TextRole::LeftTitle, box, vTitle);
            }
        }
        P.setRenderHint(QPainter::Antialiasing, false);
    }

    // The colour key of a surface: the heights' colours from the value
    // axis's minimum (bottom) to its maximum (top), with round values.
    void DrawColourKey(const QFontMetricsF& fm)
    {
        const QRectF& plot = Out.PlotRect;
        const double height = std::max(plot.height() * 0.7, 20.0);
        // Clear of the depth labels and title right of the cage.
        const double room = fm.horizontalAdvance("-0.0000") + TickLength + fm.height() + 4;
        const QRectF bar(plot.right() + room + Margin, plot.center().y() - height / 2, 14, height);
        Out.KeyRect = bar;
        const int palette = In.Int(Prop::Palette, 6);
        const int steps = std::max(1, static_cast<int>(height / 2));
        for (int k = 0; k < steps; ++k) {
            const double t0 = double(k) / steps, t1 = double(k + 1) / steps;
            P.fillRect(QRectF(bar.left(), bar.bottom() - t1 * height, bar.width(), (t1 - t0) * height + 0.5),
                       SurfaceColor(palette, (t0 + t1) / 2));
        }
        P.setPen(QPen(PaletteColor(8), 1));
        P.drawRect(bar);
        const int most = std::max(2, static_cast<int>(height / (fm.height() * 1.5)) + 1);
        const AxisTicks ticks = ChooseTicks(Out.YMin, Out.YMax, true, true, 4, most, false);
        P.setPen(PaletteColor(0));
        for (double v : ticks.Values) {
            const double y = bar.bottom() - (v - Out.YMin) / (Out.YMax - Out.YMin) * height;
            P.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + TickLength, y));
            const QString t = StepText(v, ticks.Step);
            const QRectF box(bar.right() + TickLength + 2, y - fm.height() / 2, fm.horizontalAdvance(t), fm.height());
            if (Free(box))
                DrawText(TextRole::KeyLabel, box, t, Qt::AlignLeft | Qt::AlignVCenter);
        }
    }

    void DrawSurface(const View3D& view, int sets, int points, Range y)
    {
        if (sets < 2 || points < 2)
            return;
        const int palette = In.Int(Prop::Palette, 6);
        struct Cell {
            QPolygonF Corners;
            double Depth;
            double Height;
        };
        std::vector<Cell> cells;
        cells.reserve(static_cast<std::size_t>(sets - 1) * (points - 1));
        const bool fine = sets * points > 900;
        for (int s = 0; s + 1 < sets; ++s)
            for (int p = 0; p + 1 < points; ++p) {
                Cell cell{{}, 0, 0};
                bool complete = true;
                for (const auto& [ds, dp] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}}) {
                    double v = 0;
                    if (!In.Value(s + ds, p + dp, &v)) {
                        complete = false;
                        break;
                    }
                    const double h = std::clamp(Unit(v, y), 0.0, 1.0);
                    const Projected at =
                        view(double(p + dp) / (points - 1), h, double(s + ds) / (sets - 1));
                    cell.Corners << at.Screen;
                    cell.Depth += at.Depth / 4;
                    cell.Height += h / 4;
                }
                if (complete)
                    cells.push_back(std::move(cell));
            }
        std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.Depth < b.Depth; });
        for (const Cell& cell : cells) {
            const QColor colour = SurfaceColor(palette, cell.Height);
            P.setBrush(colour);
            // A fine grid drawn with dark edges would be all edge.
            P.setPen(fine ? QPen(colour, 1) : QPen(colour.darker(130), 1));
            P.drawPolygon(cell.Corners);
        }
        P.setBrush(Qt::NoBrush);
    }

    void DrawTrajectory(const View3D& view, int sets, int points, Range x, Range y, Range z)
    {
        const int style = In.Int(Prop::GraphStyle, 0);
        P.setRenderHint(QPainter::Antialiasing, true);
        for (int s = 0; s < sets; ++s) {
            const QColor colour = Colour(s);
            ChartSeries series;
            series.Set = s;
            series.Colour = colour;
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                series.Points.push_back(p);
                series.At.push_back(view(std::clamp(Unit(In.Num(Prop::XPosData, 0, s, p), x), 0.0, 1.0),
                                         std::clamp(Unit(v, y), 0.0, 1.0),
                                         std::clamp(Unit(In.Num(Prop::ZPosData, 0, s, p), z), 0.0, 1.0))
                                        .Screen);
            }
            if (style != 1 && series.At.size() > 1) {
                P.setPen(QPen(colour, In.Int(Prop::ThickLines, 0) == 1 ? 2.5 : 1.5, Pattern(s)));
                P.drawPolyline(series.At.data(), static_cast<int>(series.At.size()));
            }
            if (style == 1 || style == 2 || style == 4)
                for (const QPointF& c : series.At)
                    DrawSymbol(P, c, In.Int(Prop::SymbolData, s, 0, s), 2.5, colour);
            Out.Series.push_back(std::move(series));
        }
        P.setRenderHint(QPainter::Antialiasing, false);
    }

    Reader In;
    QPainter& P;
    ChartLayout Out;
    std::vector<QColor> Colours;
    std::vector<bool> Dashed;
};


}  // namespace

ChartLayout RenderChart(HGRAPH graph, QPainter& painter, const QRect& bounds)
{
    if (!graph) {
        ChartLayout none;
        none.Bounds = bounds;
        return none;
    }
    return Renderer(*graph, painter, bounds).Run();
}

QColor PaletteColor(int index)
{
    static constexpr QRgb table[16] = {
        0x000000, 0x0000C0, 0x008000, 0x008080, 0xC00000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x4040FF, 0x00E000, 0x00E0E0, 0xFF6060, 0xFF40FF, 0xFFFF00, 0xFFFFFF,
    };
    return QColor::fromRgb(table[((index % 16) + 16) % 16]);
}

SeriesSide LegendSide(const std::string& legend)
{
    // The words of the legend, lower case; a side's name joined to "-Flag"
    // names a flag, not a side.
    bool red = false, blue = false;
    SeriesSide first = SeriesSide::None;
    bool decided = false;
    std::size_t i = 0;
    while (i < legend.size()) {
        if (!std::isalpha(static_cast<unsigned char>(legend[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        std::string word;
        while (j < legend.size() && std::isalpha(static_cast<unsigned char>(legend[j])))
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(legend[j++])));
        const bool flag = j < legend.size() && legend[j] == '-';
        i = j;
        if (flag)
            continue;
        if (word == "red" || word == "blue") {
            (word == "red" ? red : blue) = true;
            if (!decided)
                first = word == "red" ? SeriesSide::Red : SeriesSide::Blue, decided = true;
        } else if (word == "total" && !decided) {
            decided = true;  // all agents, whatever follows
        }
    }
    if (red && blue)
        return SeriesSide::None;
    return first;
}

QColor SeriesColor(SeriesSide side, int k)
{
    static constexpr QRgb reds[8] = {0xD00000, 0xFF7F50, 0x800000, 0xE0457B, 0xD00000, 0xFF7F50, 0x800000, 0xE0457B};
    static constexpr QRgb blues[8] = {0x0030D0, 0x00A0E0, 0x000070, 0x7050D0, 0x0030D0, 0x00A0E0, 0x000070, 0x7050D0};
    static constexpr QRgb others[16] = {0x008000, 0x9400D3, 0x8B4513, 0x000000, 0x008B8B, 0xFF8C00, 0x6B8E23, 0xC71585,
                                        0x707070, 0xB8860B, 0x2E8B57, 0x4B0082, 0xD2691E, 0x1E90FF, 0xDC143C, 0x20B2AA};
    k = ((k % 16) + 16) % 16;
    if (side == SeriesSide::Red)
        return QColor::fromRgb(reds[k % 8]);
    if (side == SeriesSide::Blue)
        return QColor::fromRgb(blues[k % 8]);
    return QColor::fromRgb(others[k]);
}

bool SeriesDashed(SeriesSide side, int k)
{
    return side != SeriesSide::None && ((k % 8) + 8) % 8 >= 4;
}

AxisTicks ChooseTicks(double lo, double hi, bool fixedMin, bool fixedMax, int wanted, int most, bool integer)
{
    AxisTicks out;
    if (!std::isfinite(lo))
        lo = 0;
    if (!std::isfinite(hi))
        hi = lo + 1;
    if (hi < lo)
        std::swap(hi, lo);
    if (hi == lo) {
        // Open an empty range around its value, never below 0 for a value
        // that is not negative.
        const double half = lo == 0 ? 0.5 : std::fabs(lo) / 2;
        if (!fixedMin)
            lo = (lo >= 0 && lo - half < 0) ? 0 : lo - half;
        if (!fixedMax || hi <= lo)
            hi += half;
    }
    wanted = std::max(wanted, 1);
    most = std::max(most, 2);
    const double span = hi - lo;
    const double raw = span / wanted;
    // The largest 1-2-5 step at most raw.
    const double unit = std::pow(10.0, std::floor(std::log10(raw)));
    double step = unit;
    for (double f : {2.0, 5.0, 10.0})
        if (f * unit <= raw * (1 + 1e-9))
            step = f * unit;
    if (integer)
        step = std::max(step, 1.0);
    auto ends = [&](double s, double* a, double* b) {
        const double eps = 1e-9;
        *a = fixedMin ? lo : std::floor(lo / s + eps) * s;
        *b = fixedMax ? hi : std::ceil(hi / s - eps) * s;
    };
    auto count = [&](double s) {
        double a, b;
        ends(s, &a, &b);
        return std::floor(b / s + 1e-9) - std::ceil(a / s - 1e-9) + 1;
    };
    while (count(step) > most && std::isfinite(step))
        step = NextStep(step);
    ends(step, &out.Min, &out.Max);
    out.Step = step;
    // Multiples written as k * step exactly where step is a power of ten times 1, 2 or 5.
    const double first = std::ceil(out.Min / step - 1e-9), last = std::floor(out.Max / step + 1e-9);
    const int exponent = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    const double mantissa = std::round(step / std::pow(10.0, exponent));
    for (double k = first; k <= last && out.Values.size() < 1000; k += 1) {
        const double v = exponent < 0 ? k * mantissa / std::pow(10.0, -exponent) : k * step;
        out.Values.push_back(v == 0 ? 0.0 : v);
    }
    return out;
}

QColor SurfaceColor(int palette, double t)
{
    t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0);
    if (palette == 6)
        return QColor::fromHsvF(static_cast<float>((1.0 - t) * 240.0 / 360.0), 1.0f, 1.0f);
    if (palette == 3) {
        const int g = static_cast<int>(std::lround(64 + t * (230 - 64)));
        return QColor(g, g, g);
    }
    return QColor(static_cast<int>(std::lround(t * 255)), static_cast<int>(std::lround(t * 220)),
                  static_cast<int>(std::lround(160 * (1 - t))));
}

}  // namespace brevimar::chart
