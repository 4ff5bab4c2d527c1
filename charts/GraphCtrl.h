// The chart wrapper: one object per chart, holding one bound property object
// per chart property, so that a chart window writes plain typed assignments
//
//   Graph.GraphType = 6;  Graph.YAxisMax[0] = 1.0;  Graph.GraphData[s][p] = v;
//   Graph.LegendText[s] = "Red";  double v = Graph.GraphData[s][p].GetDouble();
//
// and each is routed to the chart engine's flat function with the right
// indices (platform/ChartEngine.h says what the chart makes of each value).
// The wrapper adds no caching, validation or drawing of its own.
#pragma once

#include <QRect>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ChartEngine.h"

class QWidget;

namespace brevimar {

// Window styles the chart is created with.
inline constexpr unsigned WS_CHILD = 0x40000000u;
inline constexpr unsigned WS_VISIBLE = 0x10000000u;

class CGraphCtrl;

// The engine's getter of one property, in the call form of its kind.
struct CGraphGetter {
    chart::ChartValue (*Scalar)(chart::HGRAPH) = nullptr;
    chart::ChartValue (*One)(chart::HGRAPH, unsigned) = nullptr;
    chart::ChartValue (*Two)(chart::HGRAPH, unsigned, unsigned) = nullptr;
};

// The engine's setter of one property (Set<Name>, or Set<Name>At when indexed).
struct CGraphSetter {
    int (*Scalar)(chart::HGRAPH, const chart::ChartValue&) = nullptr;
    int (*One)(chart::HGRAPH, unsigned, const chart::ChartValue&) = nullptr;
    int (*Two)(chart::HGRAPH, unsigned, unsigned, const chart::ChartValue&) = nullptr;
};

// A scalar property, and the header of the indexed kinds. An element of an
// indexed property (what Prop[i] or Prop[i][j] yields) is a value copy of
// this header with the indices filled in.
class CGraphProperty {
public:
    CGraphProperty() = default;
    CGraphProperty(const CGraphProperty&) = default;
    // Assigning one property to another would copy bindings, never a value:
    // read the value with GetInt or GetDouble instead.
    CGraphProperty& operator=(const CGraphProperty&) = delete;

    void Bind(CGraphCtrl* owner, int kind, CGraphGetter getter, CGraphSetter setter);

    // Without a setter nothing happens; the value given is answered.
    int SetInt(int v) const;
    double SetDouble(double v) const;
    std::string SetText(const std::string& s) const;
    // Without a getter 0 (0.0).
    int GetInt() const;
    double GetDouble() const;

    int operator=(int v) const { return SetInt(v); }
    double operator=(double v) const { return SetDouble(v); }
    std::string operator=(const char* s) const { return SetText(s ? s : ""); }
    std::string operator=(const std::string& s) const { return SetText(s); }

    CGraphCtrl* Owner = nullptr;
    std::uint32_t Index1 = 0;
    std::uint32_t Index2 = 0;
    int Kind = 0;  // 0 scalar, 1 one index, 2 two indices
    CGraphGetter Getter;
    CGraphSetter Setter;

private:
    chart::HGRAPH Handle() const;
    void Set(const chart::ChartValue& v) const;
    chart::ChartValue Get() const;
};

// A property with one index (also a row of a two-index property).
class CGraphPropertyArray : public CGraphProperty {
public:
    // Index2 := i & 0xFFFF; Count rises to cover it.
    CGraphProperty operator[](std::uint32_t i);
    CGraphPropertyArray& SetCount(std::uint32_t n);
    // Every element 0 .. Count-1 takes the value.
    void SetAll(int v);
    void SetAll(const std::string& text);
    void SetAll(const char* text) { SetAll(std::string(text ? text : "")); }
    // Element k takes texts[k], for k < Count (and k < the texts given).
    void SetAllFrom(const std::vector<std::string>& texts);

    std::uint32_t Count = 0;
};

// A property with two indices.
class CGraphPropertyArray2D : public CGraphProperty {
public:
    // Index1 := i & 0xFFFF; Count1 rises to cover it. The row's own count
    // starts at Count2 and rises alone.
    CGraphPropertyArray operator[](std::uint32_t i);
    // For each first index below Count1, the row's SetAll over Count2
    // elements. Count2 is never raised by an element access.
    void SetAll(const std::string& text);

    std::uint32_t Count1 = 0;
    std::uint32_t Count2 = 0;
};

class CGraphCtrl {
public:
    // Binds every property; makes no engine call.
    CGraphCtrl();
    CGraphCtrl(const CGraphCtrl&) = delete;
    CGraphCtrl& operator=(const CGraphCtrl&) = delete;
    // The chart window is a child of the window that owns this wrapper and
    // goes with it; nothing to do here.
    ~CGraphCtrl() = default;

    // Creates the chart (the arguments passed on unchanged), keeps its handle
    // and enables its events. Answers 1.
    int Create(int first, unsigned style, const QRect& rect, QWidget* parent, int id);

    chart::HGRAPH GraphHandle = nullptr;

#define CHART_PROP0(N) CGraphProperty N;
#define CHART_PROP0_GET(N) CGraphProperty N;
#define CHART_PROP1(N) CGraphPropertyArray N;
#define CHART_PROP1_GET(N) CGraphPropertyArray N;
#define CHART_PROP2(N) CGraphPropertyArray2D N;
#include "platform/ChartProperties.def"
};

}  // namespace brevimar
