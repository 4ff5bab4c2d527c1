// Draws a chart from its property store; see ChartEngine.h for what each
// property means here.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "platform/ChartEngine.h"
#include "platform/ChartStore.h"

namespace brevimar::chart {

namespace {

constexpr double Margin = 8;
constexpr double TickLength = 4;
constexpr int MaxTicks = 1000;
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
    int Points() const
    {
        return std::clamp(Int(Prop::NumPoints, 0), 0, std::min(65536, (1 << 22) / std::max(Sets(), 1)));
    }
    bool Value(int s, int p, double* value) const
    {
        const ChartValue* v = D.Find(Prop::GraphData, s, p);
        if (!v || v->Empty() || v->IsText())
            return false;
        *value = v->ToDouble();
        return std::isfinite(*value);
    }
    QColor SetColor(int s) const { return PaletteColor(Int(Prop::ColorData, DefaultSetColor(s), 0, s)); }
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

double NiceStep(double span)
{
    const double raw = span / 8.0;
    const double unit = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * unit >= raw)
            return f * unit;
    return 10.0 * unit;
}

std::vector<double> StepTicks(Range r, double step)
{
    std::vector<double> ticks;
    const double span = r.Max - r.Min;
    while (span / step > MaxTicks)
        step *= 10;
    const double eps = span * 1e-9;
    for (double k = std::ceil((r.Min - eps) / step);; k += 1) {
        const double v = k * step;
        if (v > r.Max + eps || ticks.size() > MaxTicks)
            break;
        ticks.push_back(std::fabs(v) < eps ? 0.0 : v);
    }
    return ticks;
}

// `value` is a step in axis units (stepMode) or a count of intervals.
std::vector<double> MakeTicks(Range r, double value, bool stepMode)
{
    const double span = r.Max - r.Min;
    if (!(value > 0) || !std::isfinite(value))
        return StepTicks(r, NiceStep(span));
    if (stepMode)
        return StepTicks(r, value);
    const int n = static_cast<int>(std::min(value, 100.0));
    std::vector<double> ticks;
    for (int k = 0; k <= std::max(n, 1); ++k)
        ticks.push_back(r.Min + span * k / std::max(n, 1));
    return ticks;
}

QString TickText(double v)
{
    return QString::number(v, 'g', 4);
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
            if (Out.Kind == 20 || Out.Kind == 21)
                Draw3D();
            else
                Draw2D();
        }
        P.restore();
        return std::move(Out);
    }

private:
    struct Frame {
        QRectF Inner;  // what is left for the plot and its axis labels
    };

    void AddText(TextRole role, const std::string& text, const QRectF& box)
    {
        Out.Texts.push_back({role, text, box});
    }

    // Title above, legend at the right, the turned titles at the sides and
    // the bottom title below; answers what is left in the middle.
    QRectF LayOutFrame(double bottomReserve, double leftReserve, double topReserve, double rightReserve)
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
            const double w = std::min(fm.horizontalAdvance(t), b.width());
            const QRectF box(b.center().x() - w / 2, top, w, fm.height());
            P.drawText(box, Qt::AlignCenter | Qt::TextDontClip, t);
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
                const std::string text = In.Text(Prop::LegendText, 0, s);
                const QRectF sampleBox(x, y, sample, lfm.height());
                const QColor colour = In.SetColor(s);
                P.save();
                P.setRenderHint(QPainter::Antialiasing, false);
                P.setPen(QPen(colour, 2, LineStyle(In.Int(Prop::PatternData, 0, 0, s))));
                P.drawLine(QPointF(sampleBox.left(), sampleBox.center().y()),
                           QPointF(sampleBox.right(), sampleBox.center().y()));
                P.restore();
                const QRectF box(x + sample + 6, y, width - sample - 6, lfm.height());
                P.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(text));
                AddText(TextRole::Legend, text, box);
                Out.LegendSamples.push_back(sampleBox);
                y += lfm.height() + 2;
            }
            right = x - Margin;
        }

        P.setFont(In.Font(1));
        const QFontMetricsF afm(P.font(), P.device());
        const std::string bottomTitle = In.Text(Prop::BottomTitle);
        const std::string leftTitle = In.Text(Prop::LeftTitle);
        const std::string rightTitle = In.Text(Prop::RightTitle);
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
            const QString t = QString::fromStdString(text);
            const double w = afm.horizontalAdvance(t);
            const QRectF box(x, plot.center().y() - w / 2, afm.height(), w);
            P.save();
            P.translate(box.center());
            P.rotate(angle);
            P.drawText(QRectF(-w / 2, -afm.height() / 2, w, afm.height()), Qt::AlignCenter | Qt::TextDontClip, t);
            P.restore();
            AddText(role, text, box);
        }
        return plot;
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

    void Draw2D()
    {
        const bool bars = Out.Kind == 3;
        const int sets = In.Sets(), points = In.Points();
        Range xs, ys;
        bool anyX = false, anyY = false;
        for (int s = 0; s < sets; ++s)
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                Widen(ys, v, anyY);
                if (ErrorBarsOn()) {
                    Widen(ys, v + In.Num(Prop::EBarGraphDataPlus, 0, s, p), anyY);
                    Widen(ys, v - In.Num(Prop::EBarGraphDataMinus, 0, s, p), anyY);
                }
                if (!bars)
                    Widen(xs, PointX(s, p), anyX);
            }
        if (bars) {
            Widen(ys, 0.0, anyY);
            Out.XMin = 0;
            Out.XMax = std::max(points, 1);
        } else {
            const Range x = AxisRange(In, Prop::XAxisMin, Prop::XAxisMax, 0, xs, anyX);
            Out.XMin = x.Min;
            Out.XMax = x.Max;
        }
        const Range y = AxisRange(In, Prop::YAxisMin, Prop::YAxisMax, 0, ys, anyY);
        Out.YMin = y.Min;
        Out.YMax = y.Max;

        const std::vector<double> yTicks = MakeTicks(y, In.Num(Prop::YAxisTicks, 0, 0, 0), false);
        P.setFont(In.Font(1));
        const QFontMetricsF fm(P.font(), P.device());
        double labelWidth = 0;
        for (double t : yTicks)
            labelWidth = std::max(labelWidth, fm.horizontalAdvance(TickText(t)));
        Out.PlotRect = LayOutFrame(fm.height() + TickLength + 2, labelWidth + TickLength + 4, fm.height() / 2,
                                   fm.horizontalAdvance("0000") / 2);
        const QRectF& plot = Out.PlotRect;
        P.fillRect(plot, Qt::white);
        P.setRenderHint(QPainter::Antialiasing, false);

        std::vector<double> xTicks;
        if (!bars)
            xTicks = MakeTicks({Out.XMin, Out.XMax}, In.Num(Prop::XAxisTicks, 0), Out.Kind != 9);
        const int grid = In.Int(Prop::GridStyle, 0);
        P.setPen(QPen(QColor(200, 200, 200), 1, Qt::DotLine));
        if (grid == 0 || grid == 3)
            for (double t : yTicks)
                P.drawLine(QPointF(plot.left(), MapY(t)), QPointF(plot.right(), MapY(t)));
        if (grid == 2 || grid == 3)
            for (double t : xTicks)
                P.drawLine(QPointF(MapX(t), plot.top()), QPointF(MapX(t), plot.bottom()));

        DrawAxes2D(yTicks, xTicks, fm);

        P.save();
        P.setClipRect(plot.adjusted(-1, -1, 1, 1));
        if (bars)
            DrawBars(sets, points);
        else
            DrawLines(sets, points);
        P.restore();
    }

    void DrawAxes2D(const std::vector<double>& yTicks, const std::vector<double>& xTicks, const QFontMetricsF& fm)
    {
        const QRectF& plot = Out.PlotRect;
        const QColor ink = PaletteColor(In.Int(Prop::Foreground, 0, 0, 0));
        P.setPen(QPen(ink, 1));
        P.drawLine(plot.bottomLeft(), plot.bottomRight());
        P.drawLine(plot.bottomLeft(), plot.topLeft());

        const int yMinor = std::clamp(In.Int(Prop::YAxisMinorTicks, 0, 0, 0), 0, 20);
        for (std::size_t k = 0; k < yTicks.size(); ++k) {
            const double py = MapY(yTicks[k]);
            P.drawLine(QPointF(plot.left() - TickLength, py), QPointF(plot.left(), py));
            if (k + 1 < yTicks.size())
                for (int m = 1; m <= yMinor; ++m) {
                    const double my = MapY(yTicks[k] + (yTicks[k + 1] - yTicks[k]) * m / (yMinor + 1));
                    P.drawLine(QPointF(plot.left() - TickLength / 2, my), QPointF(plot.left(), my));
                }
            const QString t = TickText(yTicks[k]);
            const double w = fm.horizontalAdvance(t);
            const QRectF box(plot.left() - TickLength - 2 - w, py - fm.height() / 2, w, fm.height());
            P.setRenderHint(QPainter::Antialiasing, true);
            P.drawText(box, Qt::AlignRight | Qt::AlignVCenter, t);
            P.setRenderHint(QPainter::Antialiasing, false);
            AddText(TextRole::TickLabel, t.toStdString(), box);
        }

        // x labels: only those that keep clear of the one before.
        double lastRight = -std::numeric_limits<double>::infinity();
        auto label = [&](double px, const QString& t) {
            const double w = fm.horizontalAdvance(t);
            const QRectF box(px - w / 2, plot.bottom() + TickLength + 2, w, fm.height());
            if (box.left() < lastRight + 4)
                return;
            lastRight = box.right();
            P.setRenderHint(QPainter::Antialiasing, true);
            P.drawText(box, Qt::AlignCenter | Qt::TextDontClip, t);
            P.setRenderHint(QPainter::Antialiasing, false);
            AddText(TextRole::TickLabel, t.toStdString(), box);
        };
        if (Out.Kind == 3) {
            const int points = In.Points();
            for (int p = 0; p < points; ++p) {
                const double px = plot.left() + (p + 0.5) * plot.width() / points;
                P.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + TickLength));
                const std::string text = In.Text(Prop::LabelText, 0, p);
                label(px, text.empty() ? QString::number(p + 1) : QString::fromStdString(text));
            }
            return;
        }
        const int xMinor = std::clamp(In.Int(Prop::XAxisMinorTicks, 0), 0, 20);
        for (std::size_t k = 0; k < xTicks.size(); ++k) {
            const double px = MapX(xTicks[k]);
            P.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + TickLength));
            if (k + 1 < xTicks.size() && xTicks.size() < 200)
                for (int m = 1; m <= xMinor; ++m) {
                    const double mx = MapX(xTicks[k] + (xTicks[k + 1] - xTicks[k]) * m / (xMinor + 1));
                    P.drawLine(QPointF(mx, plot.bottom()), QPointF(mx, plot.bottom() + TickLength / 2));
                }
            label(px, TickText(xTicks[k]));
        }
    }

    void DrawLines(int sets, int points)
    {
        const int style = In.Int(Prop::GraphStyle, 0);
        const bool lines = style != 1;
        const bool symbols = style == 1 || style == 2 || style == 4;
        const double width = In.Int(Prop::ThickLines, 0) == 1 ? 2 : 1;
        const double radius = 3.0 * std::clamp(In.Int(Prop::SymbolSize, 100), 10, 500) / 100.0;
        for (int s = 0; s < sets; ++s) {
            const QColor colour = In.SetColor(s);
            std::vector<QPointF> run;
            auto flush = [&] {
                if (lines && run.size() > 1) {
                    P.setPen(QPen(colour, width, LineStyle(In.Int(Prop::PatternData, 0, 0, s))));
                    P.drawPolyline(run.data(), static_cast<int>(run.size()));
                }
                run.clear();
            };
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v)) {
                    flush();
                    continue;
                }
                run.emplace_back(MapX(PointX(s, p)), MapY(v));
            }
            flush();
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                const QPointF c(MapX(PointX(s, p)), MapY(v));
                if (ErrorBarsOn() &&
                    (In.Has(Prop::EBarGraphDataPlus, s, p) || In.Has(Prop::EBarGraphDataMinus, s, p))) {
                    const double top = MapY(v + In.Num(Prop::EBarGraphDataPlus, 0, s, p));
                    const double bottom = MapY(v - In.Num(Prop::EBarGraphDataMinus, 0, s, p));
                    P.setPen(QPen(colour, 1));
                    P.drawLine(QPointF(c.x(), top), QPointF(c.x(), bottom));
                    P.drawLine(QPointF(c.x() - 3, top), QPointF(c.x() + 3, top));
                    P.drawLine(QPointF(c.x() - 3, bottom), QPointF(c.x() + 3, bottom));
                }
                if (symbols)
                    DrawSymbol(P, c, In.Int(Prop::SymbolData, s, 0, s), radius, colour);
            }
        }
    }

    void DrawBars(int sets, int points)
    {
        if (points <= 0 || sets <= 0)
            return;
        const QRectF& plot = Out.PlotRect;
        const double category = plot.width() / points;
        const double gap = category * std::clamp(In.Num(Prop::Bar2DGap, 20), 0.0, 90.0) / 100.0;
        const double bar = (category - gap) / sets;
        const double base = MapY(std::clamp(0.0, Out.YMin, Out.YMax));
        for (int s = 0; s < sets; ++s) {
            const QColor colour = In.SetColor(s);
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                const double x0 = plot.left() + p * category + gap / 2 + s * bar;
                const double y = MapY(v);
                const QRectF r(QPointF(x0, std::min(y, base)), QPointF(x0 + bar, std::max(y, base)));
                P.fillRect(r, colour);
                P.setPen(QPen(Qt::black, 1));
                P.drawRect(r);
            }
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
        const double room = fm.horizontalAdvance("-0.00000") + TickLength;
        Out.PlotRect = LayOutFrame(fm.height() + 4, room, fm.height(), room);
        const View3D view = MakeView(Out.PlotRect);
        P.setRenderHint(QPainter::Antialiasing, false);

        DrawCage(view, fm);
        if (surface)
            DrawSurface(view, sets, points, y);
        else
            DrawTrajectory(view, sets, points, x, y, z);
    }

    void DrawCage(const View3D& view, const QFontMetricsF& fm)
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
        // Axis labels: x below the front edge, z right of the right edge, the
        // value left of the left edge. A surface with column or row labels
        // shows them at their grid lines, else each axis shows its ends.
        P.setPen(PaletteColor(0));
        P.setRenderHint(QPainter::Antialiasing, true);
        enum Side { Below, Right, Left };
        auto label = [&](double u, double v, double w, const QString& t, Side side) {
            const QPointF at = view(u, v, w).Screen;
            const double width = fm.horizontalAdvance(t);
            QRectF box(at.x() - width / 2, at.y() + 2, width, fm.height());
            if (side == Right)
                box.moveTopLeft(QPointF(at.x() + TickLength, at.y() - fm.height() / 2));
            else if (side == Left)
                box.moveTopLeft(QPointF(at.x() - width - TickLength, at.y() - fm.height() / 2));
            P.drawText(box, Qt::AlignCenter | Qt::TextDontClip, t);
            AddText(TextRole::TickLabel, t.toStdString(), box);
        };
        auto labels = [&](Prop prop, int count, Side side, double endMin, double endMax, bool alongX) {
            bool any = false;
            for (int k = 0; Out.Kind == 20 && k < count && count > 1 && !any; ++k)
                any = !In.Text(prop, 0, k).empty();
            auto at = [&](double f, const QString& t) {
                alongX ? label(f, 0, 0, t, side) : label(1, 0, f, t, side);
            };
            if (!any) {
                at(0, TickText(endMin));
                at(1, TickText(endMax));
                return;
            }
            for (int k = 0; k < count; ++k)
                at(double(k) / (count - 1), QString::fromStdString(In.Text(prop, 0, k)));
        };
        labels(Prop::LabelText, In.Points(), Below, Out.XMin, Out.XMax, true);
        labels(Prop::ZLabelText, In.Sets(), Right, Out.ZMin, Out.ZMax, false);
        label(0, 0, 0, TickText(Out.YMin), Left);
        label(0, 1, 0, TickText(Out.YMax), Left);
        P.setRenderHint(QPainter::Antialiasing, false);
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
            P.setPen(QPen(colour.darker(130), 1));
            P.drawPolygon(cell.Corners);
        }
        P.setBrush(Qt::NoBrush);
    }

    void DrawTrajectory(const View3D& view, int sets, int points, Range x, Range y, Range z)
    {
        const int style = In.Int(Prop::GraphStyle, 0);
        for (int s = 0; s < sets; ++s) {
            const QColor colour = In.SetColor(s);
            QPolygonF line;
            for (int p = 0; p < points; ++p) {
                double v = 0;
                if (!In.Value(s, p, &v))
                    continue;
                line << view(std::clamp(Unit(In.Num(Prop::XPosData, 0, s, p), x), 0.0, 1.0),
                             std::clamp(Unit(v, y), 0.0, 1.0),
                             std::clamp(Unit(In.Num(Prop::ZPosData, 0, s, p), z), 0.0, 1.0))
                            .Screen;
            }
            if (style != 1) {
                P.setPen(QPen(colour, In.Int(Prop::ThickLines, 0) == 1 ? 2 : 1));
                P.drawPolyline(line);
            }
            if (style == 1 || style == 2 || style == 4)
                for (const QPointF& c : line)
                    DrawSymbol(P, c, In.Int(Prop::SymbolData, s, 0, s), 2.5, colour);
        }
    }

    Reader In;
    QPainter& P;
    ChartLayout Out;
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

int DefaultSetColor(int set)
{
    static constexpr int order[] = {4, 1, 2, 5, 3, 6, 8, 12, 9, 10, 13, 11, 0, 14};
    return order[((set % 14) + 14) % 14];
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
