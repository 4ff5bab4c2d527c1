#include <QImage>
#include <QPointer>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "charts/AttritionGraph.h"
#include "charts/CenterOfMassGraph.h"
#include "charts/ClusterGraph.h"
#include "charts/CombatEntropyGraph.h"
#include "charts/GoalCountGraph.h"
#include "charts/InterpointGraph.h"
#include "charts/NeighborGraph.h"
#include "charts/SpatialEntropyGraph.h"
#include "charts/TerritoryGraph.h"

namespace brevimar::testing {
namespace {

using namespace chart;

double Data(const CChartWindow& w, Prop prop, int s = 0, int p = 0)
{
    return GetProperty(w.Graph.GraphHandle, prop, s, p).ToDouble();
}
std::string Text(const CChartWindow& w, Prop prop, unsigned index = 0)
{
    return GetProperty(w.Graph.GraphHandle, prop, 0, index).ToText();
}
int Int(const CChartWindow& w, Prop prop, unsigned index = 0)
{
    return GetProperty(w.Graph.GraphHandle, prop, 0, index).ToInt();
}

class StatisticsChartWindows : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        Doc().RunHeader.CurrentStep = 5;  // a small known run: steps 1..4 charted
        CStatisticsParameters& st = Doc().Statistics;
        st.DataCollectionOn = st.ClusterD1On = st.InterpointOn = st.NeighborStatsOn = 1;
        st.GoalStatsOn = st.SpatialEntropyOn = st.TerritoryStatsOn = 1;
    }
    template <class Chart>
    Chart* Open(unsigned command, int answer, std::map<int, std::string> controls = {})
    {
        View()->LastChartWindow = nullptr;
        Hooks.AnswerDialog(answer, std::move(controls));
        EXPECT_TRUE(Frame().RunCommand(command));
        return dynamic_cast<Chart*>(View()->LastChartWindow.data());
    }
    void SetGoal(int kind, int r, std::vector<double> byStep)  // steps 1..
    {
        for (std::size_t t = 0; t < byStep.size(); ++t)
            Doc().GoalCountLog[kind][SeriesIndex(r, int(t) + 1)] = byStep[t];
    }
};

TEST_F(StatisticsChartWindows, GoalCountPairsInTableOrderWithAxisFromFirstPositiveStep)
{
    using O = CGoalCountGraphOptionsDlg;
    // Collected kinds: 0 RED near BLUE flag, 1 BLUE near RED flag, 2 RED near RED flag.
    SetGoal(2, 3, {0, 0, 2, 6});
    SetGoal(1, 3, {0, 0, 0, 1});
    // Tick pairs 4 (BLUE near RED flag, on by default) and 1, untick 2, range 3.
    auto* w = Open<CGoalCountGraphDlg>(CBrevimarView::ID_GOAL_COUNT_GRAPH, IDOK,
                                       {{O::IDC_RED_NEAR_RED_FLAG, "1"}, {O::IDC_RED_NEAR_BLUE_FLAG, "0"},
                                        {O::IDC_RANGE_1 + 2, "1"}});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Doc().Charts.GoalGraphRange, 3);
    EXPECT_EQ(w->windowTitle().toStdString(), "2D Graph::Goal Count");
    EXPECT_EQ(Text(*w, Prop::GraphTitle), "Number of VORLAXs Near Goal; (Range R=3)");
    EXPECT_EQ(Text(*w, Prop::LeftTitle), "Number of VORLAXs");
    EXPECT_EQ(Int(*w, Prop::NumSets), 2);
    EXPECT_EQ(Text(*w, Prop::LegendText, 0), "Red near Red-Flag");
    EXPECT_EQ(Text(*w, Prop::LegendText, 1), "Blue near Red-Flag");
    // T = 4; point 0 repeats step 1 at x 1, step t sits at x = t + 1.
    const struct {
        int s, p;
        double value, x;
    } points[] = {{0, 0, 0, 1}, {0, 3, 2, 4}, {0, 4, 6, 5}, {1, 4, 1, 5}};
    for (const auto& p : points) {
        EXPECT_EQ(Data(*w, Prop::GraphData, p.s, p.p), p.value) << p.s << "," << p.p;
        EXPECT_EQ(Data(*w, Prop::XPosData, p.s, p.p), p.x) << p.s << "," << p.p;
    }
    EXPECT_EQ(Int(*w, Prop::NumPoints), 3);
    EXPECT_EQ(Data(*w, Prop::XAxisMin), 3.0);  // first positive: step 3
    EXPECT_EQ(Data(*w, Prop::XAxisMax), 4.0);
    EXPECT_EQ(Data(*w, Prop::YAxisMax), 6.0);
    EXPECT_EQ(Doc().MultiRunCharts.MultiRunGraphCount, 2);
    EXPECT_EQ(Doc().MultiRunGraphLabels[1], "Goal Count: Blue Within Red-Flag");

    // Only a value at the last step: the axis starts at the current step.
    Doc().Charts.GoalGraphRedNearRedFlag = 0;
    QPointer<CGoalCountGraphDlg> late = new CGoalCountGraphDlg(View(), Doc());
    EXPECT_EQ(Data(*late, Prop::XAxisMin), 5.0);
    EXPECT_EQ(Data(*late, Prop::YAxisMax), 1.0);

    // Not offered while the statistic is not collected.
    Doc().Statistics.GoalStatsOn = 0;
    EXPECT_FALSE(Frame().RunCommand(CBrevimarView::ID_GOAL_COUNT_GRAPH));
}

TEST_F(StatisticsChartWindows, RunModeFiveReadsAveragesWithBarsWithinTheArrays)
{
    CBrevimarDoc& doc = Doc();
    doc.RunMode = MultipleTimeSeriesMode;
    doc.Series.MultiRunSampleCount = 4;
    doc.Series.MultiRunStepCount = 999;  // longer than the averaged series
    CMultiRunCharted& m = doc.MultiRunCharts;
    m.MultiRunGoalMean[0][5][1] = 2.5, m.MultiRunGoalDev[0][5][1] = 0.5;
    m.MultiRunGoalMean[0][5][201] = 7.0, m.MultiRunGoalDev[0][5][201] = 1.0;
    m.MultiRunTerritoryMean[3][2] = 0.4, m.MultiRunTerritoryDev[3][2] = 0.1;
    m.MultiRunNeighborMean[2][2][3] = 3.25, m.MultiRunNeighborDev[2][2][3] = 0.75;

    doc.Charts.GoalGraphBlueNearRedFlag = 0;  // only RED near the BLUE flag, R = 5
    QPointer<CGoalCountGraphDlg> goal = new CGoalCountGraphDlg(View(), doc);
    EXPECT_EQ(Text(*goal, Prop::GraphTitle), "Number of VORLAXs Near Goal; (Range R=5; 4 Samples)");
    EXPECT_EQ(Text(*goal, Prop::LeftTitle), "(Ave) Number of VORLAXs");
    EXPECT_EQ(Int(*goal, Prop::EBarSource), 5);
    EXPECT_EQ(Int(*goal, Prop::ToolStat, 11), 0);
    EXPECT_EQ(Data(*goal, Prop::GraphData, 0, 0), 2.5);
    EXPECT_EQ(Data(*goal, Prop::EBarGraphDataPlus, 0, 0), 0.0);
    EXPECT_EQ(Data(*goal, Prop::EBarGraphDataMinus, 0, 1), 0.5);
    EXPECT_EQ(Data(*goal, Prop::GraphData, 0, 201), 7.0);
    EXPECT_FALSE(HasProperty(goal->Graph.GraphHandle, Prop::GraphData, 0, 202));
    EXPECT_EQ(Data(*goal, Prop::XAxisMax), 201.0);
    EXPECT_EQ(m.MultiRunGraphSeries[0][1], 2.5);
    EXPECT_EQ(m.MultiRunGraphDev[0][1], 0.5);

    // The territorial chart hands off its own curves.
    QPointer<CTerritorialPossessionGraphDlg> land = new CTerritorialPossessionGraphDlg(View(), doc);
    EXPECT_EQ(Text(*land, Prop::LegendText, 1), "Blue::Normalized");
    EXPECT_EQ(m.MultiRunGraphCount, 2);
    EXPECT_EQ(doc.MultiRunGraphLabels[1], "Territorial Possession: Blue::Normalized");
    EXPECT_EQ(m.MultiRunGraphSeries[1][2], 0.4);
    EXPECT_EQ(m.MultiRunGraphDev[1][2], 0.1);
    EXPECT_EQ(m.MultiRunGraphSeries[0][1], 0.0);

    // Neighbour counts: defaults are the two totals at R = 2.
    QPointer<CNeighborCountGraphDlg> near = new CNeighborCountGraphDlg(View(), doc);
    EXPECT_EQ(Text(*near, Prop::GraphTitle), "Average Neighbor Count; (Range R=2; 4 Samples)");
    EXPECT_EQ(Text(*near, Prop::LegendText, 0), "Total near Red");
    EXPECT_EQ(Data(*near, Prop::GraphData, 0, 3), 3.25);
    EXPECT_EQ(Data(*near, Prop::EBarGraphDataPlus, 0, 3), 0.75);
    EXPECT_EQ(doc.MultiRunGraphLabels[1], "Neighbor Distribution: Total Within Blue");
    EXPECT_EQ(m.MultiRunGraphSeries[0][3], 3.25);
}

TEST_F(StatisticsChartWindows, NeighborCountSeriesOrderIsTheTables)
{
    using O = CNeighborCountGraphOptionsDlg;
    CBrevimarDoc& doc = Doc();
    // Collected kinds: 3 RED near BLUE, 4 BLUE near BLUE, 1 BLUE near RED.
    for (int kind : {1, 3, 4})
        doc.NeighborLog[kind][SeriesIndex(7, 2)] = 10.0 + kind;
    auto* w = Open<CNeighborCountGraphDlg>(CBrevimarView::ID_NEIGHBOR_COUNT_GRAPH, IDOK,
                                           {{O::IDC_TOTAL_NEAR_RED, "0"}, {O::IDC_TOTAL_NEAR_BLUE, "0"},
                                            {O::IDC_BLUE_NEAR_RED, "1"}, {O::IDC_BLUE_NEAR_BLUE, "1"},
                                            {O::IDC_RED_NEAR_BLUE, "1"}, {O::IDC_RANGE_1 + 6, "1"}});
    ASSERT_NE(w, nullptr);
    const char* legends[] = {"Red near Blue", "Blue near Blue", "Blue near Red"};
    const double values[] = {13.0, 14.0, 11.0};
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(Text(*w, Prop::LegendText, s), legends[s]);
        EXPECT_EQ(Data(*w, Prop::GraphData, s, 2), values[s]);
        EXPECT_EQ(Data(*w, Prop::XPosData, s, 2), 3.0);
    }
    EXPECT_EQ(Text(*w, Prop::GraphTitle), "Average Neighbor Count; (Range R=7)");
    EXPECT_EQ(Data(*w, Prop::YAxisMax), 14.0);
    EXPECT_EQ(Data(*w, Prop::XAxisMax), 4.0);
}

TEST_F(StatisticsChartWindows, SpatialEntropyCurvesAndTheirPixels)
{
    using O = CSpatialEntropyGraphOptionsDlg;
    CCollectedStatistics& c = Doc().Collected;
    for (int t = 1; t <= 4; ++t) {
        c.SpatialEntropy16[0][t] = 0.5 * t;  // RED coarse: 0.5, 1, 1.5, 2
        c.SpatialEntropy256[2][t] = 1.25;    // all agents fine
    }
    auto* w = Open<CSpatialEntropyGraphDlg>(CBrevimarView::ID_SPATIAL_ENTROPY_GRAPH, IDOK,
                                            {{O::IDC_RED, "1"}, {O::IDC_COARSE, "1"}, {O::IDC_MEDIUM, "0"}, {O::IDC_FINE, "1"}});
    ASSERT_NE(w, nullptr);
    const char* legends[] = {"Red (Coarse)", "Red (Fine)", "Total (Coarse)", "Total (Fine)"};
    EXPECT_EQ(Int(*w, Prop::NumSets), 4);
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(Text(*w, Prop::LegendText, s), legends[s]);
    EXPECT_EQ(Text(*w, Prop::GraphTitle), "Spatial Block Entropy");
    EXPECT_EQ(Int(*w, Prop::GraphStyle), 4);
    EXPECT_EQ(Data(*w, Prop::GraphData, 0, 3), 1.5);
    EXPECT_EQ(Data(*w, Prop::GraphData, 3, 0), 1.25);
    EXPECT_EQ(Data(*w, Prop::YAxisMin), 0.0);  // the unfilled curves are 0
    EXPECT_EQ(Data(*w, Prop::YAxisMax), 2.0);
    EXPECT_EQ(Data(*w, Prop::XAxisMax), 4.0);

    // The drawn plot: RED coarse runs from step 1 (x 2, y 0.5) to step 2
    // (x 3, y 1); halfway, at (2.5, 0.75), the line is inked, while at
    // (2.5, 1.75) nothing is drawn.
    const QImage image = w->grab().toImage();
    const ChartLayout& layout = LastLayout(w->Graph.GraphHandle);
    ASSERT_TRUE(layout.Drawn);
    EXPECT_EQ(layout.XMin, 1.0);
    EXPECT_EQ(layout.XMax, 5.0);  // the axis set to end at 4 reaches the last point, x = 5
    const QRectF plot = layout.PlotRect;
    auto inkNear = [&](double x, double y) {
        const QPointF at(plot.left() + (x - layout.XMin) / (layout.XMax - layout.XMin) * plot.width(),
                         plot.bottom() - (y - layout.YMin) / (layout.YMax - layout.YMin) * plot.height());
        const QColor background = image.pixelColor(QPoint(int(plot.left() + 3), int(plot.top() + 3)));
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                if (image.pixelColor(QPoint(int(at.x()) + dx, int(at.y()) + dy)) != background)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkNear(2.5, 0.75));
    EXPECT_FALSE(inkNear(2.5, 1.75));
}

TEST_F(StatisticsChartWindows, ClusterDistributionBinsAndAverageForm)
{
    using O = CClusterDistributionGraphOptionsDlg;
    CCollectedStatistics& c = Doc().Collected;
    for (int j = 1; j <= 10; ++j)
        c.ClusterSizeCountD1[j] = j;  // j clusters of size j
    c.ClusterSizeCountD1[MaxClusterSize] = 50;
    // dC 3, MaxC 10: sizes 1-3, 4-6, 7-9 summed: 6, 15, 24; size 10 not shown.
    auto* w = Open<CClusterDistributionGraphDlg>(
        CBrevimarView::ID_CLUSTER_SIZE_GRAPH, IDOK,
        {{O::IDC_D1, "1"}, {O::IDC_DISTRIBUTION, "1"}, {O::IDC_BIN_WIDTH, "3"}, {O::IDC_MAX_SIZE, "10"}});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(*w, Prop::GraphTitle), "Cluster Size Distribution (D=1); Time = 5");
    EXPECT_EQ(Int(*w, Prop::GraphType), 3);
    EXPECT_EQ(Int(*w, Prop::NumPoints), 3);
    const struct {
        int bin;
        const char* label;
        double value;
    } bins[] = {{0, "3", 6}, {1, "6", 15}, {2, "9", 24}};
    for (const auto& b : bins) {
        EXPECT_EQ(Text(*w, Prop::LabelText, b.bin), b.label);
        EXPECT_EQ(Data(*w, Prop::GraphData, 0, b.bin), b.value);
    }
    EXPECT_EQ(Data(*w, Prop::YAxisMax), 24.0);
    EXPECT_EQ(Doc().MultiRunCharts.MultiRunGraphCount, 1);

    // MaxC 2000 in bins of 100: the table's last size counts, nothing past it.
    Doc().Charts.ClusterGraphBinWidth = 100;
    Doc().Charts.ClusterGraphMaxSize = 2000;
    QPointer<CClusterDistributionGraphDlg> wide = new CClusterDistributionGraphDlg(View(), Doc());
    EXPECT_EQ(Int(*wide, Prop::NumPoints), 20);
    EXPECT_EQ(Data(*wide, Prop::GraphData, 0, 0), 55.0);
    EXPECT_EQ(Data(*wide, Prop::GraphData, 0, 6), 50.0);  // sizes 601..700
    EXPECT_EQ(Data(*wide, Prop::GraphData, 0, 19), 0.0);

    // Out of range values keep the dialog open; cancelled, nothing changes.
    Open<CClusterDistributionGraphDlg>(CBrevimarView::ID_CLUSTER_SIZE_GRAPH, IDOK, {{O::IDC_BIN_WIDTH, "101"}});
    EXPECT_EQ(Doc().Charts.ClusterGraphBinWidth, 100);

    // The average form: point t at x = t.
    c.MeanClusterSizeD2[1] = 1.5, c.MeanClusterSizeD2[4] = 3.0;
    auto* avg = Open<CClusterDistributionGraphDlg>(CBrevimarView::ID_CLUSTER_SIZE_GRAPH, IDOK,
                                                   {{O::IDC_D2, "1"}, {O::IDC_AVERAGE, "1"}});
    ASSERT_NE(avg, nullptr);
    EXPECT_EQ(Text(*avg, Prop::GraphTitle), "Average Cluster Size (D=2)");
    EXPECT_EQ(Text(*avg, Prop::LeftTitle), "Size");
    EXPECT_EQ(Data(*avg, Prop::XPosData, 0, 4), 4.0);
    EXPECT_EQ(Data(*avg, Prop::XPosData, 0, 0), 1.0);
    EXPECT_EQ(Data(*avg, Prop::GraphData, 0, 0), 1.5);
    EXPECT_EQ(Data(*avg, Prop::YAxisMax), 3.0);
    EXPECT_EQ(Doc().MultiRunGraphLabels[0], "Cluster Distribution: D=2");
}

TEST_F(StatisticsChartWindows, InterpointHistogramLabelsEachBarWithItsOwnBin)
{
    using O = CInterpointDistributionGraphOptionsDlg;
    CCollectedStatistics& c = Doc().Collected;
    c.InterpointHistogram[6][1] = 0.25;  // RED-BLUE pairs
    c.InterpointHistogram[6][3] = 0.5;
    c.InterpointHistogram[6][212] = 0.125;
    auto* w = Open<CInterpointDistributionGraphDlg>(
        CBrevimarView::ID_INTERPOINT_GRAPH, IDOK,
        {{O::IDC_PAIR_AGENTS, "1"}, {O::IDC_AGENT_DISTRIBUTION, "1"}, {O::IDC_MAX_DISTANCE, "250"}});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(*w, Prop::GraphTitle), "VORLAX : VORLAX Interpoint Distribution; Time = 5");
    EXPECT_EQ(Text(*w, Prop::LegendText, 0), "Red : Blue");
    const struct {
        int bar;
        const char* label;
        double value;
    } bars[] = {{0, "1", 0.25}, {1, "2", 0.0}, {2, "3", 0.5}, {211, "212", 0.125}, {249, "250", 0.0}};
    for (const auto& b : bars) {
        EXPECT_EQ(Text(*w, Prop::LabelText, b.bar), b.label);
        EXPECT_EQ(Data(*w, Prop::GraphData, 0, b.bar), b.value);
    }
    EXPECT_EQ(Data(*w, Prop::YAxisMax), 0.5);
    EXPECT_EQ(Doc().MultiRunCharts.MultiRunGraphCount, 0);

    // The average form of the flag pairs, in its own order.
    c.InterpointMean[1][2] = 30.0, c.InterpointMean[0][2] = 20.0;
    auto* avg = Open<CInterpointDistributionGraphDlg>(CBrevimarView::ID_INTERPOINT_GRAPH, IDOK,
                                                      {{O::IDC_PAIR_FLAG, "1"}, {O::IDC_FLAG_AVERAGE, "1"}});
    ASSERT_NE(avg, nullptr);
    EXPECT_EQ(Text(*avg, Prop::GraphTitle), "Average VORLAX : Enemy-Flag Distance");
    EXPECT_EQ(Text(*avg, Prop::LegendText, 1), "Blue : Red-Flag");
    EXPECT_EQ(Data(*avg, Prop::GraphData, 1, 2), 30.0);
    EXPECT_EQ(Data(*avg, Prop::YAxisMin), 0.0);
    EXPECT_EQ(Data(*avg, Prop::YAxisMax), 30.0);
    EXPECT_EQ(Doc().MultiRunGraphLabels[0], "Interpoint Distance: Ave Red : Blue-Flag Distance");
}

TEST_F(StatisticsChartWindows, BeforeTwoStepsEveryChartOpensEmpty)
{
    CBrevimarDoc& doc = Doc();
    for (int step : {0, 1}) {
        doc.RunHeader.CurrentStep = step;
        QPointer<CChartWindow> charts[] = {
            new CGoalCountGraphDlg(View(), doc),         new CNeighborCountGraphDlg(View(), doc),
            new CTerritorialPossessionGraphDlg(View(), doc), new CSpatialEntropyGraphDlg(View(), doc),
            new CInterpointDistributionGraphDlg(View(), doc), new CClusterDistributionGraphDlg(View(), doc),
        };
        for (const auto& w : charts) {
            ASSERT_TRUE(w);
            w->grab();
            EXPECT_TRUE(LastLayout(w->Graph.GraphHandle).Drawn) << w->windowTitle().toStdString();
            EXPECT_EQ(Data(*w, Prop::YAxisMax), 1.0) << w->windowTitle().toStdString();
            EXPECT_FALSE(HasProperty(w->Graph.GraphHandle, Prop::GraphData, 0, 1));
        }
    }
}

TEST_F(StatisticsChartWindows, AveragedChartsEndAtTheLastAveragedStepAndStayAboveZero)
{
    // A batch of 2 samples of T = 5 steps averages steps 0..4; step 5 is
    // never averaged and holds 0. Every averaged quantity is 0.5 (0.25 of the
    // forces, a distance of 5) with a small spread, except at step 2, where
    // the spread exceeds the mean: a bar of mean - spread reaches below 0.
    CBrevimarDoc& doc = Doc();
    doc.RunMode = MultipleTimeSeriesMode;
    doc.Series.MultiRunSampleCount = 2;
    doc.Series.MultiRunStepCount = 5;
    doc.NumRed() = doc.NumBlue() = 10;
    for (Side side : {Side::Red, Side::Blue})
        doc.Force(side).GoalFlagX = 10, doc.Force(side).GoalFlagY = 20;
    CMultiRunCharted& m = doc.MultiRunCharts;
    for (int k = 0; k <= 4; ++k) {
        const double spread = k == 2 ? 2.0 : 0.1;
        for (int row = 0; row < MultiRunAveragedRows; ++row)
            m.MultiRunMean[row][k] = 0.5, m.MultiRunDev[row][k] = spread;
        // Centres of mass at (13, 24), 5 cells from both flags (10, 20); a
        // spread of 10 in x and in y is a bar of 10 on the distance.
        for (int row = MultiRunCenterOfMassRow; row < MultiRunCenterOfMassRow + 6; ++row)
            m.MultiRunMean[row][k] = (row - MultiRunCenterOfMassRow) % 2 == 0 ? 13.0 : 24.0,
            m.MultiRunDev[row][k] = 5.0 * spread;
        for (int row = 0; row < 4; ++row)
            m.MultiRunTerritoryMean[row][k] = 0.5, m.MultiRunTerritoryDev[row][k] = spread;
        for (int r = 1; r <= 7; ++r) {
            for (int j = 0; j < 6; ++j)
                m.MultiRunNeighborMean[j][r][k] = 0.5, m.MultiRunNeighborDev[j][r][k] = spread;
            for (int j = 0; j < 4; ++j)
                m.MultiRunGoalMean[j][r][k] = 0.5, m.MultiRunGoalDev[j][r][k] = spread;
        }
        m.MultiRunCombatEntropyMean[0][k] = 0.3, m.MultiRunCombatEntropyMean[1][k] = 0.2;
        // 5 of 10 alive over 2 samples: 5 / (2 x 10) = 0.25 of each force; at
        // step 2 a deviation sum of 20 gives the totals' bar 0.5 x 20 / 20.
        m.MultiRunRedAliveSum[k] = m.MultiRunBlueAliveSum[k] = 5;
        m.MultiRunRedAliveDevSum[k] = m.MultiRunBlueAliveDevSum[k] = k == 2 ? 20 : 0;
    }

    // The last point shows step 4: point 4 at x = 5 (point 5 for attrition,
    // whose point p shows step p - 1; x = 4 for the cluster sizes, drawn at
    // x = t). Nothing is drawn for step 5.
    const struct {
        const char* name;
        std::function<CChartWindow*()> open;
        int lastPoint;
        double lastX;
    } charts[] = {
        {"attrition", [&] { return new CAttritionGraphDlg(View(), doc); }, 5, 5},
        {"goal count", [&] { return new CGoalCountGraphDlg(View(), doc); }, 4, 5},
        {"territory", [&] { return new CTerritorialPossessionGraphDlg(View(), doc); }, 4, 5},
        {"neighbours", [&] { return new CNeighborCountGraphDlg(View(), doc); }, 4, 5},
        {"interpoint", [&] { return new CInterpointDistributionGraphDlg(View(), doc); }, 4, 5},
        {"clusters", [&] { return new CClusterDistributionGraphDlg(View(), doc); }, 4, 4},
        {"centre of mass", [&] { return new CCenterOfMassGraphDlg(View(), doc); }, 4, 5},
        {"combat entropy", [&] { return new CCombatEntropyGraphDlg(View(), doc); }, 4, 0.3},
    };
    for (const auto& c : charts) {
        QPointer<CChartWindow> w = c.open();
        ChartLayout layout;
        RenderChartImage(w->Graph.GraphHandle, {640, 480}, &layout);
        ASSERT_FALSE(layout.Series.empty()) << c.name;
        EXPECT_EQ(layout.YMin, 0.0) << c.name << ": a quantity that is never negative";
        const QRectF& plot = layout.PlotRect;
        for (const ChartSeries& series : layout.Series) {
            ASSERT_FALSE(series.Points.empty()) << c.name;
            EXPECT_EQ(series.Points.back(), c.lastPoint) << c.name;
            const double x = layout.XMin + (series.At.back().x() - plot.left()) / plot.width() *
                                               (layout.XMax - layout.XMin);
            EXPECT_NEAR(x, c.lastX, 1e-6 * (layout.XMax - layout.XMin)) << c.name;
            for (const QLineF& bar : series.ErrorBars)
                EXPECT_LE(bar.p2().y(), plot.bottom() + 1e-6) << c.name << ": a bar below 0";
            if (std::string(c.name) != "combat entropy") {
                EXPECT_FALSE(series.ErrorBars.empty()) << c.name;
            }
        }
    }
}

}  // namespace
}  // namespace brevimar::testing
