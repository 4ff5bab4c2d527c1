#include <gtest/gtest.h>

#include <QWidget>

#include "charts/GraphCtrl.h"

namespace brevimar {
namespace {

using namespace chart;

struct Wrapped {
    Wrapped() { Graph.Create(0, WS_CHILD | WS_VISIBLE, QRect(0, 0, 200, 100), &Parent, 1); }
    QWidget Parent;
    CGraphCtrl Graph;
    HGRAPH H() const { return Graph.GraphHandle; }
};

// Every property of the wrapper, with the engine's id of the same name.
struct Bound {
    const char* Name;
    Prop Id;
    bool Settable;
    CGraphProperty CGraphCtrl::*Scalar;
    CGraphPropertyArray CGraphCtrl::*One;
    CGraphPropertyArray2D CGraphCtrl::*Two;
};

const Bound Properties[] = {
#define CHART_PROP0(N) {#N, Prop::N, true, &CGraphCtrl::N, nullptr, nullptr},
#define CHART_PROP0_GET(N) {#N, Prop::N, false, &CGraphCtrl::N, nullptr, nullptr},
#define CHART_PROP1(N) {#N, Prop::N, true, nullptr, &CGraphCtrl::N, nullptr},
#define CHART_PROP1_GET(N) {#N, Prop::N, false, nullptr, &CGraphCtrl::N, nullptr},
#define CHART_PROP2(N) {#N, Prop::N, true, nullptr, nullptr, &CGraphCtrl::N},
#include "platform/ChartProperties.def"
};

// Each property, through its wrapper object, reaches the engine's value of
// the same name and indices, and reads back; a getter-only one sets nothing.
TEST(GraphCtrl, EveryPropertyIsBoundToItsOwnFunctions)
{
    ASSERT_EQ(std::size(Properties), 167u);
    Wrapped w;
    CGraphCtrl& g = w.Graph;
    ASSERT_NE(w.H(), nullptr);
    for (const Bound& b : Properties) {
        SCOPED_TRACE(b.Name);
        if (b.Scalar) {
            const CGraphProperty& p = g.*b.Scalar;
            EXPECT_EQ(p.Owner, &g);
            EXPECT_EQ(p.Kind, 0);
            EXPECT_EQ(p = 7, 7);
            EXPECT_EQ(HasProperty(w.H(), b.Id), b.Settable);
            EXPECT_EQ(p.GetInt(), b.Settable ? 7 : 0);
        } else if (b.One) {
            CGraphPropertyArray& p = g.*b.One;
            EXPECT_EQ(p.Kind, 1);
            EXPECT_EQ(p[3] = 2.5, 2.5);
            EXPECT_EQ(p.Count, 4u);
            EXPECT_EQ(GetProperty(w.H(), b.Id, 0, 3), b.Settable ? ChartValue(2.5) : ChartValue());
            EXPECT_EQ(p[3].GetDouble(), b.Settable ? 2.5 : 0.0);
        } else {
            CGraphPropertyArray2D& p = g.*b.Two;
            EXPECT_EQ(p.Kind, 2);
            EXPECT_EQ(p[2][5] = "t", "t");
            EXPECT_EQ(GetProperty(w.H(), b.Id, 2, 5), ChartValue("t"));
            EXPECT_EQ(p.Count1, 3u);
            EXPECT_EQ(p.Count2, 0u);
        }
    }
}

TEST(GraphCtrl, ElementAccessRaisesCountsAndSetAllCoversThem)
{
    Wrapped w;
    CGraphCtrl& g = w.Graph;
    g.LegendText[3] = "x";
    EXPECT_EQ(g.LegendText.Count, 4u);
    g.LegendText.SetAll("y");
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(GetLegendText(w.H(), i), ChartValue("y")) << i;
    EXPECT_FALSE(HasProperty(w.H(), Prop::LegendText, 0, 4));

    // Indices keep their low 16 bits.
    g.GraphData[65538][65537] = 2.0;
    EXPECT_EQ(GetGraphData(w.H(), 2, 1), ChartValue(2.0));
    EXPECT_EQ(g.GraphData.Count1, 3u);

    // Nothing to cover: no call at all. The two-index SetAll takes its rows'
    // length from Count2, which no access raises.
    const long before = SetCallCount(w.H());
    g.ToolStat.SetAll(1);
    g.YLabelText[1][4];
    g.YLabelText.SetAll("title");
    EXPECT_EQ(SetCallCount(w.H()), before);

    // A count past 65535 still ends, the indices wrapping.
    g.FontSize.SetCount(70000).SetAll(5);
    EXPECT_EQ(SetCallCount(w.H()), before + 70000);
    EXPECT_EQ(GetFontSize(w.H(), 70000 - 65536 - 1), ChartValue(5));

    g.LabelText.SetCount(3).SetAllFrom({"a", "b"});
    EXPECT_EQ(GetLabelText(w.H(), 1), ChartValue("b"));
    EXPECT_FALSE(HasProperty(w.H(), Prop::LabelText, 0, 2));
}

TEST(GraphCtrl, NoSetterOrGetterMeansNoCall)
{
    Wrapped w;
    CGraphProperty bare;
    bare.Bind(&w.Graph, 0, {}, {});
    const long before = SetCallCount(w.H());
    EXPECT_EQ(bare.SetDouble(2.5), 2.5);
    EXPECT_EQ(bare.SetText("t"), "t");
    EXPECT_EQ(bare.GetDouble(), 0.0);
    EXPECT_EQ(bare.GetInt(), 0);
    EXPECT_EQ(SetCallCount(w.H()), before);

    // Before Create there is no chart: assignments go nowhere.
    CGraphCtrl unborn;
    EXPECT_EQ(unborn.GraphHandle, nullptr);
    EXPECT_EQ(unborn.GraphType = 6, 6);
    EXPECT_EQ(unborn.GraphType.GetInt(), 0);
}

}  // namespace
}  // namespace brevimar
