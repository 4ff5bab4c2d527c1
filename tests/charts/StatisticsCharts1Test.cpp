#include <QApplication>
#include <QFontMetrics>
#include <QPointer>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/AppFixture.h"
#include "charts/CapacityGraph.h"
#include "charts/CenterOfMassGraph.h"
#include "charts/CombatEntropyGraph.h"
#include "charts/WeaponGraphs.h"

namespace brevimar::testing {
namespace {

using namespace chart;

double Data(CChartWindow* w, Prop prop, int s = 0, int p = 0)
{
    return GetProperty(w->Graph.GraphHandle, prop, s, p).ToDouble();
}
std::string Text(CChartWindow* w, Prop prop, unsigned index = 0)
{
    return GetProperty(w->Graph.GraphHandle, prop, 0, index).ToText();
}
int Int(CChartWindow* w, Prop prop, unsigned index = 0)
{
    return GetProperty(w->Graph.GraphHandle, prop, 0, index).ToInt();
}

struct Point {
    double x, y;
};

// Whether set `set`'s colour is drawn within a pixel of each data point,
// placed by the layout's plot rectangle and the axis ranges worked out by
// hand.
void ExpectDrawnAt(CChartWindow* w, int set, double xmin, double xmax, double ymin, double ymax,
                   const std::vector<Point>& points)
{
    ChartLayout layout;
    const QImage image = RenderChartImage(w->Graph.GraphHandle, {480, 360}, &layout);
    ASSERT_TRUE(layout.Drawn);
    EXPECT_DOUBLE_EQ(layout.XMin, xmin);
    EXPECT_DOUBLE_EQ(layout.XMax, xmax);
    EXPECT_DOUBLE_EQ(layout.YMin, ymin);
    EXPECT_DOUBLE_EQ(layout.YMax, ymax);
    const QRectF r = layout.PlotRect;
    ASSERT_GT(layout.Series.size(), std::size_t(set));
    const QColor colour = layout.Series[set].Colour;
    for (const Point& p : points) {
        const double px = r.left() + (p.x - xmin) / (xmax - xmin) * r.width();
        const double py = r.top() + r.height() - (p.y - ymin) / (ymax - ymin) * r.height();
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int cx = int(std::lround(px)) + dx, cy = int(std::lround(py)) + dy;
                if (image.valid(cx, cy) && QColor(image.pixel(cx, cy)) == colour)
                    found = true;
            }
        EXPECT_TRUE(found) << "(" << p.x << "," << p.y << ")";
    }
}

class StatisticsCharts : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        Doc().RunHeader.CurrentStep = 4;  // steps 1..3 run
        CStatisticsParameters& on = Doc().Statistics;
        on.DataCollectionOn = on.CapacityDimensionOn = on.CenterOfMassOn = 1;
    }
    template <class W>
    W* Open(unsigned command, int answer, std::map<int, std::string> boxes = {})
    {
        View()->LastChartWindow = nullptr;
        Hooks.AnswerDialog(answer, std::move(boxes));
        EXPECT_TRUE(Frame().RunCommand(command));
        return dynamic_cast<W*>(View()->LastChartWindow.data());
    }
};

TEST_F(StatisticsCharts, CapacityDimensionCurvesWithDeviations)
{
    using O = CCapacityDimensionGraphOptionsDlg;
    CBrevimarDoc& doc = Doc();
    const double S[] = {0, 0.8, 0.9, 0.7}, D[] = {0, 0.1, 0.05, 0.2};
    for (int t = 1; t <= 3; ++t) {
        doc.Collected.CapacityDimension[2][t] = S[t];
        doc.Collected.CapacityDimensionError[2][t] = D[t];
        doc.Collected.CapacityDimension[0][t] = 0.5;
    }
    // Defaults: the whole pattern with deviations. y from the lowest S - D
    // (0.7 - 0.2) to the highest S + D (0.9 + 0.05); x from 1 to T - 1 = 3.
    auto* w = Open<CCapacityDimensionGraphDlg>(CBrevimarView::ID_CAPACITY_DIMENSION_GRAPH, IDOK);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle().toStdString(), "2D Graph::Capacity (Box-Counting) Dimension");
    EXPECT_EQ(Text(w, Prop::GraphTitle), "Estimated Capacity (Box-Counting) Dimension");
    EXPECT_EQ(Text(w, Prop::LeftTitle), "Dimension");
    EXPECT_EQ(Text(w, Prop::LegendText, 0), "Total Pattern");
    EXPECT_EQ(Int(w, Prop::NumSets), 1);
    EXPECT_EQ(Int(w, Prop::NumPoints), 3);
    EXPECT_EQ(Int(w, Prop::EBarSource), 5);
    EXPECT_DOUBLE_EQ(Data(w, Prop::EBarGraphDataMinus, 0, 3), 0.2);
    // The whole caption shows: the window is wider than its text.
    EXPECT_GT(w->width(), QFontMetrics(QApplication::font()).horizontalAdvance(w->windowTitle()) + 60);
    // Point t carries step t at x = t + 1; point 0 repeats step 1 at x = 1.
    // The x axis, set to end at T - 1 = 3, reaches the last point, (4, 0.7).
    ExpectDrawnAt(w, 0, 1.0, 4.0, 0.5, 0.95, {{1, 0.8}, {2, 0.8}, {3, 0.9}, {4, 0.7}});

    // The dialog adds RED and drops the deviations: y from 0.5 (RED) to 0.9.
    w = Open<CCapacityDimensionGraphDlg>(CBrevimarView::ID_CAPACITY_DIMENSION_GRAPH, IDOK,
                                         {{O::IDC_RED, "1"}, {O::IDC_DEVIATIONS, "0"}});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(doc.Charts.CapacityDimGraphRed, 1);
    EXPECT_EQ(doc.Charts.CapacityDimGraphDeviations, 0);
    EXPECT_EQ(Text(w, Prop::LegendText, 0), "Red Pattern");
    EXPECT_EQ(Text(w, Prop::LegendText, 1), "Total Pattern");
    EXPECT_EQ(Int(w, Prop::EBarSource), 0);
    EXPECT_DOUBLE_EQ(Data(w, Prop::YAxisMin), 0.5);
    EXPECT_DOUBLE_EQ(Data(w, Prop::YAxisMax), 0.9);

    // Cancel keeps the choice and opens nothing.
    EXPECT_EQ(Open<CCapacityDimensionGraphDlg>(CBrevimarView::ID_CAPACITY_DIMENSION_GRAPH, IDCANCEL,
                                               {{O::IDC_RED, "0"}}),
              nullptr);
    EXPECT_EQ(doc.Charts.CapacityDimGraphRed, 1);
}

TEST_F(StatisticsCharts, CombatEntropyInThePlaneAndThroughTime)
{
    using O = CCombatEntropyGraphOptionsDlg;
    CBrevimarDoc& doc = Doc();
    const double red[] = {0, 0.2, 0.4, 0.6}, blue[] = {0, 0.9, 0.7, 0.5};
    for (int t = 1; t <= 3; ++t)
        doc.Series.RedCombatEntropy[t] = red[t], doc.Series.BlueCombatEntropy[t] = blue[t];

    auto* w = Open<CCombatEntropyGraphDlg>(CBrevimarView::ID_COMBAT_ENTROPY_GRAPH, IDOK);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle().toStdString(), "2D Graph::Carvalho-Rodrigues Combat Entropy");
    EXPECT_EQ(Int(w, Prop::GraphType), 9);
    EXPECT_EQ(Text(w, Prop::GraphTitle), "Carvalho-Rodrigues Combat Entropy");
    EXPECT_EQ(Text(w, Prop::BottomTitle), "Red Combat Entropy");
    EXPECT_EQ(Text(w, Prop::LeftTitle), "Blue Combat Entropy");
    EXPECT_EQ(Int(w, Prop::NumPoints), 3);
    EXPECT_DOUBLE_EQ(Data(w, Prop::XPosData, 0, 3), 0.6);
    ExpectDrawnAt(w, 0, 0.0, 1.0, 0.0, 1.0, {{0.2, 0.9}, {0.4, 0.7}, {0.3, 0.8}});

    // The 3D form: time is the value, BLUE goes to z and to the right title.
    w = Open<CCombatEntropyGraphDlg>(CBrevimarView::ID_COMBAT_ENTROPY_GRAPH, IDOK, {{O::IDC_XY_TIME, "1"}});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(doc.Charts.CombatEntropyGraphKind, 2);
    EXPECT_EQ(Int(w, Prop::GraphType), 21);
    EXPECT_EQ(Text(w, Prop::RightTitle), "Blue Combat Entropy");
    EXPECT_EQ(Text(w, Prop::LeftTitle), "Time");
    const struct {
        Prop prop;
        int p;
        double value;
    } cells[] = {{Prop::GraphData, 0, 1.0}, {Prop::GraphData, 2, 2.0}, {Prop::XPosData, 2, 0.4},
                 {Prop::ZPosData, 0, 0.9},  {Prop::ZPosData, 3, 0.5},  {Prop::YAxisMax, 0, 3.0}};
    for (const auto& c : cells)
        EXPECT_DOUBLE_EQ(Data(w, c.prop, 0, c.p), c.value) << PropertyName(c.prop) << "[" << c.p << "]";

    // Run mode 5: the averages, as far as they go (steps 0..201).
    doc.RunMode = MultipleTimeSeriesMode;
    doc.Series.MultiRunSampleCount = 4;
    doc.Series.MultiRunStepCount = 999;
    doc.MultiRunCharts.MultiRunCombatEntropyMean[0][201] = 0.3;
    QPointer<CCombatEntropyGraphDlg> averaged = new CCombatEntropyGraphDlg(View(), doc);
    EXPECT_EQ(Text(averaged, Prop::GraphTitle), "Carvalho-Rodrigues Combat Entropy; (4 Samples)");
    EXPECT_EQ(Text(averaged, Prop::BottomTitle), "(Ave) Red Combat Entropy");
    EXPECT_EQ(Int(averaged, Prop::NumPoints), 201);
    EXPECT_DOUBLE_EQ(Data(averaged, Prop::XPosData, 0, 201), 0.3);
    EXPECT_FALSE(HasProperty(averaged->Graph.GraphHandle, Prop::XPosData, 0, 202));
}

TEST_F(StatisticsCharts, ItemsOpenOnlyWhileTheirStatisticIsCollected)
{
    CStatisticsParameters& on = Doc().Statistics;
    const struct {
        unsigned command;
        int* off;  // the switch turned off; null: collection off
        bool enabled;
    } items[] = {
        {CBrevimarView::ID_CAPACITY_DIMENSION_GRAPH, &on.CapacityDimensionOn, false},
        {CBrevimarView::ID_CENTER_OF_MASS_GRAPH, &on.CenterOfMassOn, false},
        {CBrevimarView::ID_CENTER_OF_MASS_GRAPH, nullptr, false},
        {CBrevimarView::ID_COMBAT_ENTROPY_GRAPH, nullptr, true},
    };
    for (const auto& item : items) {
        on.DataCollectionOn = on.CapacityDimensionOn = on.CenterOfMassOn = 1;
        *(item.off ? item.off : &on.DataCollectionOn) = 0;
        Hooks.AnswerDialog(IDCANCEL, {});
        EXPECT_EQ(Frame().RunCommand(item.command), item.enabled) << item.command;
        Hooks.Reset();
    }
    // A multiple time-series run collects neither the capacity dimension
    // nor the spatial entropy: not offered there, though switched on.
    on.DataCollectionOn = on.CapacityDimensionOn = on.CenterOfMassOn = on.SpatialEntropyOn = 1;
    Doc().RunMode = MultipleTimeSeriesMode;
    for (const auto& [command, enabled] : {std::pair{CBrevimarView::ID_CAPACITY_DIMENSION_GRAPH, false},
                                           std::pair{CBrevimarView::ID_SPATIAL_ENTROPY_GRAPH, false},
                                           std::pair{CBrevimarView::ID_CENTER_OF_MASS_GRAPH, true}}) {
        Hooks.AnswerDialog(IDCANCEL, {});
        EXPECT_EQ(Frame().RunCommand(command), enabled) << command;
        Hooks.Reset();
    }
}

class CenterOfMassChart : public StatisticsCharts {
protected:
    void SetUp() override
    {
        StatisticsCharts::SetUp();
        CBrevimarDoc& doc = Doc();
        // RED's centre walks (10,20) -> (13,24) -> (16,28); both flags at
        // (10,20), so its distances are 0, 5 and 10.
        const double path[][2] = {{0, 0}, {10, 20}, {13, 24}, {16, 28}};
        for (int t = 1; t <= 3; ++t) {
            doc.Collected.CenterOfMassSeries[0][t] = path[t][0];
            doc.Collected.CenterOfMassSeries[1][t] = path[t][1];
        }
        for (Side side : {Side::Red, Side::Blue})
            doc.Force(side).GoalFlagX = 10, doc.Force(side).GoalFlagY = 20;
        doc.Charts.CenterOfMassGraphBlue = 0;
    }
};

TEST_F(CenterOfMassChart, FormsChosenByTheDialog)
{
    using O = CCenterOfMassGraphOptionsDlg;
    const struct {
        int radio;
        int type, points;
        const char* title;
        Prop prop;  // what point 3 holds
        double value;
    } forms[] = {
        {O::IDC_XY, 9, 4, "Center-of-Mass (x,y) Positions", Prop::XPosData, 16.0},
        {O::IDC_DIST_RED_FLAG, 6, 2, "Distance From Red-Flag", Prop::GraphData, 10.0},
        {O::IDC_DIST_BLUE_FLAG, 6, 3, "Distance From Blue-Flag", Prop::GraphData, 10.0},
        {O::IDC_3D, 21, 4, "Center-of-Mass 3D Time-Series (Z axis = time)", Prop::ZPosData, 28.0},
    };
    for (const auto& f : forms) {
        auto* w = Open<CCenterOfMassGraphDlg>(CBrevimarView::ID_CENTER_OF_MASS_GRAPH, IDOK, {{f.radio, "1"}});
        ASSERT_NE(w, nullptr) << f.title;
        EXPECT_EQ(w->windowTitle().toStdString(), "2D Graph::Center-of-Mass");
        EXPECT_EQ(Int(w, Prop::GraphType), f.type) << f.title;
        EXPECT_EQ(Int(w, Prop::NumPoints), f.points) << f.title;
        EXPECT_EQ(Text(w, Prop::GraphTitle), f.title);
        EXPECT_EQ(Text(w, Prop::LegendText, 0), "Red CoM");
        EXPECT_DOUBLE_EQ(Data(w, f.prop, 0, 3), f.value) << f.title;
    }
    // The last form drawn, the distance from the BLUE flag, on screen.
    auto* w = Open<CCenterOfMassGraphDlg>(CBrevimarView::ID_CENTER_OF_MASS_GRAPH, IDOK,
                                          {{O::IDC_DIST_BLUE_FLAG, "1"}});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Doc().MultiRunGraphLabels[0], "Center-of-Mass: Red::Blue-Flag");
    EXPECT_EQ(Doc().MultiRunCharts.MultiRunGraphCount, 1);
    // The x axis set to 1..n reaches the last point filled, one step on.
    ExpectDrawnAt(w, 0, 1.0, 4.0, 0.0, 10.0, {{1, 0}, {2, 0}, {3, 5}, {2.5, 2.5}});

    // No group: the extremes stay where they started.
    w = Open<CCenterOfMassGraphDlg>(CBrevimarView::ID_CENTER_OF_MASS_GRAPH, IDOK,
                                    {{O::IDC_XY, "1"}, {O::IDC_RED, "0"}});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Doc().Charts.CenterOfMassGraphRed, 0);
    EXPECT_DOUBLE_EQ(Data(w, Prop::XAxisMin), 999.0);
    EXPECT_DOUBLE_EQ(Data(w, Prop::XAxisMax), -1.0);
    EXPECT_EQ(Doc().MultiRunCharts.MultiRunGraphCount, 0);
}

TEST_F(CenterOfMassChart, AveragedDistancesCarryErrorBarsAndAreHandedOff)
{
    CBrevimarDoc& doc = Doc();
    doc.RunMode = MultipleTimeSeriesMode;
    doc.Series.MultiRunSampleCount = 3;
    doc.Series.MultiRunStepCount = 3;  // n = 2
    doc.Charts.CenterOfMassGraphRed = 0;
    doc.Charts.CenterOfMassGraphBlue = 1;
    CMultiRunCharted& a = doc.MultiRunCharts;
    // BLUE's mean at step 1 is (13,24), deviations (1,2); at step 2 it sits
    // on the flag. Step 1: d = (-3,-4), D = 5, e = sqrt(3^2 + 8^2) / 5.
    a.MultiRunMean[11][1] = 13, a.MultiRunMean[12][1] = 24;
    a.MultiRunDev[11][1] = 1, a.MultiRunDev[12][1] = 2;
    a.MultiRunMean[11][2] = 10, a.MultiRunMean[12][2] = 20;
    a.MultiRunDev[11][2] = 1, a.MultiRunDev[12][2] = 1;

    QPointer<CCenterOfMassGraphDlg> w = new CCenterOfMassGraphDlg(View(), doc);
    EXPECT_EQ(Text(w, Prop::GraphTitle), "Distance From Red-Flag; (3 Samples)");
    EXPECT_EQ(Text(w, Prop::LeftTitle), "(Ave) Distance");
    EXPECT_EQ(Text(w, Prop::LegendText, 0), "Blue CoM");
    EXPECT_EQ(Int(w, Prop::EBarSource), 5);
    const double e1 = std::sqrt(73.0) / 5.0;
    const struct {
        int p;
        double value, bar;
    } points[] = {{1, 5.0, e1}, {2, 0.0, 0.0}};  // on the flag: no bar, not NaN
    for (const auto& p : points) {
        EXPECT_DOUBLE_EQ(Data(w, Prop::GraphData, 0, p.p), p.value);
        EXPECT_DOUBLE_EQ(Data(w, Prop::EBarGraphDataPlus, 0, p.p), p.bar);
        EXPECT_DOUBLE_EQ(a.MultiRunGraphSeries[0][p.p], p.value);
        EXPECT_DOUBLE_EQ(a.MultiRunGraphDev[0][p.p], p.bar);
    }
    EXPECT_EQ(a.MultiRunGraphCount, 1);
    EXPECT_EQ(doc.MultiRunGraphLabels[0], "Center-of-Mass: Blue::Red-Flag");

    // A batch longer than the averages is drawn as far as the hand-off goes.
    doc.Series.MultiRunStepCount = 999;
    QPointer<CCenterOfMassGraphDlg> longer = new CCenterOfMassGraphDlg(View(), doc);
    EXPECT_EQ(Int(longer, Prop::NumPoints), CCenterOfMassGraphDlg::MaxMultiRunPoints - 1);
    EXPECT_FALSE(HasProperty(longer->Graph.GraphHandle, Prop::GraphData, 0, 201));
}

TEST_F(StatisticsCharts, WeaponShotsHitsFormsAndSelections)
{
    using O = CWeaponShotsHitsGraphOptionsDlg;
    CBrevimarDoc& doc = Doc();
    doc.Force(Side::Red).NumSquads = 3;
    doc.Force(Side::Red).WeaponsOn = 1;  // the chart is offered only then
    doc.Force(Side::Red).point_to_point_1[2] = 4;
    // Squad 2 fires P-1: 6 shots and 3 hits at step 2, 2 shots and 1 hit at
    // step 3; squad 1 throws 4 grenades at step 3 (no grenade carriers).
    doc.RedSquadShotsLog[SquadWeaponLogIndex(2, 1, 2)] = 6, doc.RedSquadHitsLog[SquadWeaponLogIndex(2, 1, 2)] = 3;
    doc.RedSquadShotsLog[SquadWeaponLogIndex(2, 1, 3)] = 2, doc.RedSquadHitsLog[SquadWeaponLogIndex(2, 1, 3)] = 1;
    doc.RedSquadShotsLog[SquadWeaponLogIndex(1, 0, 3)] = 4;
    const int red2 = O::IDC_RED_SQUAD_1 + 1, red4 = O::IDC_RED_SQUAD_1 + 3, all = O::IDC_RED_SQUAD_1 + 10;
    const struct {
        std::map<int, std::string> type, options;
        int choice;
        std::vector<std::string> legends;
        int set, point;  // one value worked out by hand
        double value, xmin;
    } cases[] = {
        // Squad 2 alone, totals: P-1 S = 6 at step 2, first positive step 2.
        {{}, {{red2, "1"}, {O::IDC_SHOW_BLUE, "0"}}, 2,
         {"Red::Area::S", "Red::Area::H", "Red::P-1::S", "Red::P-1::H"}, 2, 2, 6.0, 2.0},
        // A squad RED does not have keeps the choice; per agent 6 / 4.
        {{}, {{red4, "1"}, {O::IDC_SUM_PER_AGENT, "1"}}, 2,
         {"Red::Area::S", "Red::Area::H", "Red::P-1::S", "Red::P-1::H"}, 2, 2, 1.5, 2.0},
        // Running totals of all squads: All S at step 3 = 6 + 2 + 4 grenades;
        // the RED order is All S, All H, Area S, (All H/S), Area H.
        {{{CWeaponShotsHitsGraphTypeDlg::IDC_TOTAL, "1"}},
         {{all, "1"}, {O::IDC_SUM_TOTAL, "1"}, {O::GridId(0, 0, 0), "1"},
          {O::GridId(0, 0, 1), "1"}, {O::GridId(0, 1, 0), "1"}},
         11, {"Red::All::S", "Red::All::H", "Red::Area::S", "Red::Area::H", "Red::P-1::S", "Red::P-1::H"}, 0, 3,
         12.0, 2.0},
        // A ratio box clears every count box: P-1 H/S = 3 / 6.
        {{{CWeaponShotsHitsGraphTypeDlg::IDC_SNAPSHOTS, "1"}}, {{red2, "1"}, {O::GridId(0, 2, 2), "1"}}, 2, {"Red::P-1::H/S"}, 0, 2, 0.5, 2.0},
    };
    for (const auto& c : cases) {
        View()->LastChartWindow = nullptr;
        Hooks.AnswerDialog(IDOK, c.type);
        Hooks.AnswerDialog(IDOK, c.options);
        EXPECT_TRUE(Frame().RunCommand(CBrevimarView::ID_WEAPON_SHOTS_HITS_GRAPH));
        auto* w = dynamic_cast<CChartWindow*>(View()->LastChartWindow.data());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle().toStdString(), "2D Graph::Weapon Shots/Hits");
        EXPECT_EQ(Text(w, Prop::GraphTitle), 
                  c.type.count(CWeaponShotsHitsGraphTypeDlg::IDC_TOTAL) ? "Number of Shots/Hits" : "Number of Shots/Hits at T");
        EXPECT_EQ(doc.Charts.RedSquadChoice, c.choice);
        ASSERT_EQ(Int(w, Prop::NumSets), int(c.legends.size()));
        for (std::size_t s = 0; s < c.legends.size(); ++s)
            EXPECT_EQ(Text(w, Prop::LegendText, s), c.legends[s]);
        EXPECT_DOUBLE_EQ(Data(w, Prop::GraphData, c.set, c.point), c.value) << c.legends[c.set];
        EXPECT_DOUBLE_EQ(Data(w, Prop::XAxisMin), c.xmin);
        EXPECT_EQ(doc.MultiRunCharts.MultiRunGraphCount, int(c.legends.size()));
    }
    EXPECT_EQ(doc.Charts.RatioPlotChosen, 1);
    EXPECT_EQ(doc.Charts.WeaponPlots[0][0][0], 0);  // cleared by the ratio rule

    // The first case again, on screen, one step later: P-1 S rises from 0
    // at step 1 (x = 2) to 6 at step 2 (x = 3); x from 2 to T = 4 set by the
    // chart, reaching on to x = 5, where the point of step T is drawn.
    doc.RunHeader.CurrentStep = 5;
    doc.Charts = CChartSelections{};
    doc.Charts.RedSquadChoice = 2;
    doc.Charts.ShowBlue = 0;
    QPointer<CWeaponShotsHitsSnapshotGraphDlg> w = new CWeaponShotsHitsSnapshotGraphDlg(View(), doc);
    ExpectDrawnAt(w, 2, 2.0, 5.0, 0.0, 6.0, {{2.5, 3.0}, {3.0, 6.0}});

    // "All" hits per shot per agent of a side without agents: 0, not NaN.
    doc.Charts = CChartSelections{};
    doc.Charts.WeaponPlots[0][0][0] = doc.Charts.WeaponPlots[0][0][1] = 0;
    doc.Charts.WeaponPlots[0][1][0] = doc.Charts.WeaponPlots[0][1][1] = 0;
    doc.Charts.ShowBlue = 0;
    doc.Charts.AllWeaponPlots[0][2] = 1;
    doc.Charts.SumMode = 2;
    doc.NumRed() = 0;
    QPointer<CWeaponShotsHitsSnapshotGraphDlg> none = new CWeaponShotsHitsSnapshotGraphDlg(View(), doc);
    EXPECT_EQ(Text(none, Prop::LegendText, 0), "Red::All::H/S");
    EXPECT_EQ(Data(none, Prop::GraphData, 0, 2), 0.0);
}

}  // namespace
}  // namespace brevimar::testing
