#include "charts/GraphCtrl.h"

#include <algorithm>

namespace brevimar {

void CGraphProperty::Bind(CGraphCtrl* owner, int kind, CGraphGetter getter, CGraphSetter setter)
{
    Owner = owner;
    Kind = kind;
    Getter = getter;
    Setter = setter;
    Index1 = Index2 = 0;
}

chart::HGRAPH CGraphProperty::Handle() const
{
    return Owner ? Owner->GraphHandle : nullptr;
}

void CGraphProperty::Set(const chart::ChartValue& v) const
{
    switch (Kind) {
    case 0:
        if (Setter.Scalar)
            Setter.Scalar(Handle(), v);
        break;
    case 1:
        if (Setter.One)
            Setter.One(Handle(), Index2, v);
        break;
    case 2:
        if (Setter.Two)
            Setter.Two(Handle(), Index1, Index2, v);
        break;
    default: break;
    }
}

chart::ChartValue CGraphProperty::Get() const
{
    switch (Kind) {
    case 0: return Getter.Scalar ? Getter.Scalar(Handle()) : chart::ChartValue{};
    case 1: return Getter.One ? Getter.One(Handle(), Index2) : chart::ChartValue{};
    case 2: return Getter.Two ? Getter.Two(Handle(), Index1, Index2) : chart::ChartValue{};
    default: return {};
    }
}

int CGraphProperty::SetInt(int v) const
{
    Set(v);
    return v;
}

double CGraphProperty::SetDouble(double v) const
{
    Set(v);
    return v;
}

std::string CGraphProperty::SetText(const std::string& s) const
{
    Set(s);
    return s;
}

int CGraphProperty::GetInt() const
{
    return Get().ToInt();
}

double CGraphProperty::GetDouble() const
{
    return Get().ToDouble();
}

CGraphProperty CGraphPropertyArray::operator[](std::uint32_t i)
{
    Index2 = i & 0xFFFFu;
    Count = std::max(Count, Index2 + 1);
    return CGraphProperty(*this);
}

CGraphPropertyArray& CGraphPropertyArray::SetCount(std::uint32_t n)
{
    Count = n;
    return *this;
}

// The counter is wider than an index, so a count past 65535 still ends the
// loop (the indices themselves wrap at 16 bits, as every access does).
void CGraphPropertyArray::SetAll(int v)
{
    for (std::uint32_t k = 0; k < Count; ++k)
        (*this)[k] = v;
}

void CGraphPropertyArray::SetAll(const std::string& text)
{
    for (std::uint32_t k = 0; k < Count; ++k)
        (*this)[k] = text;
}

void CGraphPropertyArray::SetAllFrom(const std::vector<std::string>& texts)
{
    for (std::uint32_t k = 0; k < Count && k < texts.size(); ++k)
        (*this)[k] = texts[k];
}

CGraphPropertyArray CGraphPropertyArray2D::operator[](std::uint32_t i)
{
    Index1 = i & 0xFFFFu;
    Count1 = std::max(Count1, Index1 + 1);
    CGraphPropertyArray row;
    static_cast<CGraphProperty&>(row).Bind(Owner, Kind, Getter, Setter);
    row.Index1 = Index1;
    row.Count = Count2;
    return row;
}

void CGraphPropertyArray2D::SetAll(const std::string& text)
{
    for (std::uint32_t i = 0; i < Count1; ++i)
        (*this)[i].SetAll(text);
}

CGraphCtrl::CGraphCtrl()
{
    using namespace chart;
#define CHART_PROP0(N) N.Bind(this, 0, {&Get##N, nullptr, nullptr}, {&Set##N, nullptr, nullptr});
#define CHART_PROP0_GET(N) N.Bind(this, 0, {&Get##N, nullptr, nullptr}, {});
#define CHART_PROP1(N) N.Bind(this, 1, {nullptr, &Get##N, nullptr}, {nullptr, &Set##N##At, nullptr});
#define CHART_PROP1_GET(N) N.Bind(this, 1, {nullptr, &Get##N, nullptr}, {});
#define CHART_PROP2(N) N.Bind(this, 2, {nullptr, nullptr, &Get##N}, {nullptr, nullptr, &Set##N##At});
#include "platform/ChartProperties.def"
}

int CGraphCtrl::Create(int first, unsigned style, const QRect& rect, QWidget* parent, int id)
{
    GraphHandle = chart::CreateGraphEx(first, style, rect, parent, id);
    chart::EnableEnhancedEvents(GraphHandle, parent, 0);
    return 1;
}

}  // namespace brevimar
