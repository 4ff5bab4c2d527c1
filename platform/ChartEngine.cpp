#include "platform/ChartEngine.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "platform/ChartStore.h"

namespace brevimar::chart {

namespace {

struct PropertyInfo {
    const char* Name;
    int Kind;
    bool Settable;
};

constexpr PropertyInfo Properties[] = {
#define CHART_PROP0(N) {#N, 0, true},
#define CHART_PROP0_GET(N) {#N, 0, false},
#define CHART_PROP1(N) {#N, 1, true},
#define CHART_PROP1_GET(N) {#N, 1, false},
#define CHART_PROP2(N) {#N, 2, true},
#include "platform/ChartProperties.def"
};
static_assert(std::size(Properties) == 167, "the chart has 167 properties");

// The chart's own window: paints the chart from the store at every paint.
class ChartWidget : public QWidget {
public:
    explicit ChartWidget(QWidget* parent) : QWidget(parent), Data(this)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    ChartData Data;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        Data.Layout = RenderChart(&Data, painter, rect());
    }

    // Dragging turns a 3D chart: across for the rotation, up and down for the
    // elevation. The view is the user's, so it is kept without counting as a
    // value the chart's owner set.
    void mousePressEvent(QMouseEvent* event) override { LastDrag = event->position(); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const ChartValue* kind = Data.Find(Prop::GraphType);
        const ChartValue* mode = Data.Find(Prop::DrawMode);
        if (!(event->buttons() & Qt::LeftButton) || !kind || (kind->ToInt() != 20 && kind->ToInt() != 21) || !mode ||
            mode->ToInt() != 3)
            return;
        const QPointF delta = event->position() - LastDrag;
        LastDrag = event->position();
        auto number = [&](Prop p, double fallback) {
            const ChartValue* v = Data.Find(p);
            return v && !v->Empty() && !v->IsText() ? v->ToDouble() : fallback;
        };
        double rotation = std::fmod(number(Prop::Rotation, 45) + delta.x() * 0.5, 360.0);
        if (rotation < 0)
            rotation += 360.0;
        const double elevation = std::clamp(number(Prop::Elevation, 25) + delta.y() * 0.5, -90.0, 90.0);
        Data.Values[ChartData::Key(Prop::Rotation, 0, 0)] = rotation;
        Data.Values[ChartData::Key(Prop::Elevation, 0, 0)] = elevation;
        update();
    }

private:
    QPointF LastDrag;
};

}  // namespace

ChartData::ChartData(QWidget* window) : Window(window) {}

const char* PropertyName(Prop prop)
{
    return Properties[static_cast<int>(prop)].Name;
}

int PropertyKind(Prop prop)
{
    return Properties[static_cast<int>(prop)].Kind;
}

bool PropertySettable(Prop prop)
{
    return Properties[static_cast<int>(prop)].Settable;
}

int ChartValue::ToInt() const
{
    if (const int* i = std::get_if<int>(&Value))
        return *i;
    if (const double* d = std::get_if<double>(&Value))
        return std::isfinite(*d) && std::fabs(*d) < 2147483647.0 ? static_cast<int>(*d) : 0;
    return 0;
}

double ChartValue::ToDouble() const
{
    if (const int* i = std::get_if<int>(&Value))
        return *i;
    if (const double* d = std::get_if<double>(&Value))
        return *d;
    return 0.0;
}

std::string ChartValue::ToText() const
{
    if (const std::string* s = std::get_if<std::string>(&Value))
        return *s;
    if (const int* i = std::get_if<int>(&Value))
        return std::to_string(*i);
    if (const double* d = std::get_if<double>(&Value)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", *d);
        return text;
    }
    return {};
}

const ChartText* ChartLayout::FindText(const std::string& text) const
{
    for (const ChartText& t : Texts)
        if (t.Text == text)
            return &t;
    return nullptr;
}

std::uint64_t ChartData::Key(Prop prop, unsigned index1, unsigned index2)
{
    return (static_cast<std::uint64_t>(prop) << 48) | (static_cast<std::uint64_t>(index1 & 0xFFFFFFu) << 24) |
           (index2 & 0xFFFFFFu);
}

const ChartValue* ChartData::Find(Prop prop, unsigned index1, unsigned index2) const
{
    const auto it = Values.find(Key(prop, index1, index2));
    return it == Values.end() ? nullptr : &it->second;
}

HGRAPH CreateGraphEx(int first, unsigned style, const QRect& rect, QWidget* parent, int id)
{
    auto* widget = new ChartWidget(parent);
    widget->setGeometry(rect);
    widget->Data.First = first;
    widget->Data.Style = style;
    widget->Data.Id = id;
    if (parent)
        widget->show();
    return &widget->Data;
}

int EnableEnhancedEvents(HGRAPH, QWidget*, int)
{
    return 0;
}

void DestroyGraph(HGRAPH graph)
{
    if (graph)
        delete graph->Window;
}

QWidget* GraphWindow(HGRAPH graph)
{
    return graph ? graph->Window : nullptr;
}

void SetProperty(HGRAPH graph, Prop prop, unsigned index1, unsigned index2, const ChartValue& value)
{
    if (!graph)
        return;
    graph->Values[ChartData::Key(prop, index1, index2)] = value;
    ++graph->SetCalls;
    if (prop == Prop::GraphData && index2 < (1u << 22))
        graph->FilledPoints = std::max(graph->FilledPoints, static_cast<int>(index2) + 1);
    // Drawing starts with DrawMode 3; later values show at the next paint.
    if ((prop == Prop::DrawMode || graph->Find(Prop::DrawMode) != nullptr) && graph->Window)
        graph->Window->update();
}

ChartValue GetProperty(HGRAPH graph, Prop prop, unsigned index1, unsigned index2)
{
    if (!graph)
        return {};
    const ChartValue* value = graph->Find(prop, index1, index2);
    return value ? *value : ChartValue{};
}

bool HasProperty(HGRAPH graph, Prop prop, unsigned index1, unsigned index2)
{
    return graph && graph->Find(prop, index1, index2) != nullptr;
}

long SetCallCount(HGRAPH graph)
{
    return graph ? graph->SetCalls : 0;
}

const ChartLayout& LastLayout(HGRAPH graph)
{
    return graph->Layout;
}

QImage RenderChartImage(HGRAPH graph, QSize size, ChartLayout* layout)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    ChartLayout drawn = RenderChart(graph, painter, QRect(QPoint(0, 0), size));
    painter.end();
    if (layout)
        *layout = std::move(drawn);
    return image;
}

#define CHART_PROP0(N)                                      \
    ChartValue Get##N(HGRAPH graph)                         \
    {                                                       \
        return GetProperty(graph, Prop::N, 0, 0);           \
    }                                                       \
    int Set##N(HGRAPH graph, const ChartValue& value)       \
    {                                                       \
        SetProperty(graph, Prop::N, 0, 0, value);           \
        return 0;                                           \
    }
#define CHART_PROP0_GET(N)                                  \
    ChartValue Get##N(HGRAPH graph)                         \
    {                                                       \
        return GetProperty(graph, Prop::N, 0, 0);           \
    }
#define CHART_PROP1(N)                                                     \
    ChartValue Get##N(HGRAPH graph, unsigned index)                        \
    {                                                                      \
        return GetProperty(graph, Prop::N, 0, index);                      \
    }                                                                      \
    int Set##N##At(HGRAPH graph, unsigned index, const ChartValue& value)  \
    {                                                                      \
        SetProperty(graph, Prop::N, 0, index, value);                      \
        return 0;                                                          \
    }
#define CHART_PROP1_GET(N)                                                 \
    ChartValue Get##N(HGRAPH graph, unsigned index)                        \
    {                                                                      \
        return GetProperty(graph, Prop::N, 0, index);                      \
    }
#define CHART_PROP2(N)                                                                        \
    ChartValue Get##N(HGRAPH graph, unsigned index1, unsigned index2)                         \
    {                                                                                         \
        return GetProperty(graph, Prop::N, index1, index2);                                   \
    }                                                                                         \
    int Set##N##At(HGRAPH graph, unsigned index1, unsigned index2, const ChartValue& value)   \
    {                                                                                         \
        SetProperty(graph, Prop::N, index1, index2, value);                                   \
        return 0;                                                                             \
    }
#include "platform/ChartProperties.def"

}  // namespace brevimar::chart
