#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "app/BatchRuns.h"
#include "app/ResourceIds.h"
#include "charts/AttritionGraph.h"
#include "charts/CombatEntropyGraph.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/MultiRunDialogs.h"

namespace brevimar::testing {
namespace {

using namespace chart;
using O = CAttritionGraphOptionsDlg;

double Data(const CAttritionGraphDlg& w, Prop prop, int s, int p)
{
    return GetProperty(w.Graph.GraphHandle, prop, s, p).ToDouble();
}
std::string Text(const CAttritionGraphDlg& w, Prop prop, unsigned index = 0)
{
    return GetProperty(w.Graph.GraphHandle, prop, 0, index).ToText();
}
int Int(const CAttritionGraphDlg& w, Prop prop, unsigned index = 0)
{
    return GetProperty(w.Graph.GraphHandle, prop, 0, index).ToInt();
}

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class AttritionChart : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        // Past the pause at step 1, then a dozen steps.
        for (int ticks : {2, 12}) {
            Doc().Resume();
            for (int i = 0; i < ticks; ++i)
                View()->OnTimer(CBrevimarView::RunTimerId);
        }
    }
    CAttritionGraphDlg* Open(int answer, std::map<int, std::string> boxes = {})
    {
        Hooks.AnswerDialog(answer, std::move(boxes));
        EXPECT_TRUE(Frame().RunCommand(CBrevimarView::ID_ATTRITION_GRAPH));
        return dynamic_cast<CAttritionGraphDlg*>(View()->LastChartWindow.data());
    }
    void Select(std::vector<int> flags)  // in the order of the dialog's boxes
    {
        CChartSelections& c = Doc().Charts;
        int* fields[] = {&c.AttritionShowAll,     &c.AttritionShowRedAlive,    &c.AttritionShowRedInjured,
                         &c.AttritionShowRedTotal, &c.AttritionShowBlueAlive, &c.AttritionShowBlueInjured,
                         &c.AttritionShowBlueTotal};
        for (int k = 0; k < 7; ++k)
            *fields[k] = flags[k];
    }
};

TEST_F(AttritionChart, DefaultsDrawBothSideTotalsOfTheRunSoFar)
{
    CBrevimarDoc& doc = Doc();
    CAttritionGraphDlg* w = Open(IDOK);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_EQ(Hooks.Log().back().Title, "2D Graph::Attrition");
    EXPECT_EQ(w->windowTitle().toStdString(), "2D Graph::Attrition");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->pos(), View()->mapToGlobal(QPoint(0, 0)) + QPoint(100, 100));

    const int n = doc.RunHeader.CurrentStep - 1;
    ASSERT_GT(n, 5);
    EXPECT_EQ(Int(*w, Prop::NumPoints), n);
    EXPECT_EQ(Int(*w, Prop::NumSets), 2);
    EXPECT_EQ(Data(*w, Prop::XAxisMax, 0, 0), n);
    EXPECT_EQ(Int(*w, Prop::DrawMode), 3);
    EXPECT_EQ(Text(*w, Prop::GraphTitle), "Fraction of Remaining VORLAXs");
    EXPECT_EQ(Text(*w, Prop::LeftTitle), "% Remaining");
    EXPECT_EQ(Text(*w, Prop::LegendText, 0), "Red (Total)");
    EXPECT_EQ(Text(*w, Prop::LegendText, 1), "Blue (Total)");
    // The template reset and the common settings of the time charts.
    EXPECT_EQ(Text(*w, Prop::GraphFile), "default.GSP");
    EXPECT_EQ(Text(*w, Prop::GraphName), "default");
    const struct {
        Prop prop;
        unsigned index;
        int value;
    } common[] = {
        {Prop::GraphType, 0, 6},   {Prop::EBarSource, 0, 0}, {Prop::Background, 0, 7}, {Prop::ToolStat, 4, 1},
        {Prop::ToolStat, 5, 0},    {Prop::ToolStat, 8, 0},   {Prop::ToolStat, 9, 0},   {Prop::ToolStat, 11, 1},
        {Prop::ToolStat, 18, 1},   {Prop::XAxisTicks, 0, 1}, {Prop::YAxisTicks, 0, 3}, {Prop::FontSize, 1, 75},
        {Prop::BackgroundStyle, 6, 1}, {Prop::LegendSize, 0, 50}, {Prop::RunTime, 0, 1},
    };
    for (const auto& c : common)
        EXPECT_EQ(Int(*w, c.prop, c.index), c.value) << PropertyName(c.prop) << "[" << c.index << "]";
    EXPECT_FALSE(HasProperty(w->Graph.GraphHandle, Prop::ToolStat, 0, 19));
    EXPECT_EQ(doc.MultiRunCharts.MultiRunGraphCount, 2);
    EXPECT_EQ(doc.MultiRunGraphLabels[1], "Attrition: Alive/Injured Blue");

    // Point p shows step p - 1: (alive + injured) / side total; point 0 step 0,
    // the whole forces as the start-up read deployed them.
    EXPECT_EQ(Data(*w, Prop::GraphData, 0, 0), 1.0);
    EXPECT_EQ(Data(*w, Prop::GraphData, 1, 0), 1.0);
    const CStatisticsSeries& s = doc.Series;
    double lo = 1.0, hi = 0.0;
    for (int p = 0; p <= n; ++p) {
        const int t = std::max(p - 1, 0);
        const double red = double(s.RedAliveSeries[t] + s.RedInjuredSeries[t]) / doc.NumRed();
        const double blue = double(s.BlueAliveSeries[t] + s.BlueInjuredSeries[t]) / doc.NumBlue();
        EXPECT_EQ(Data(*w, Prop::GraphData, 0, p), red) << p;
        EXPECT_EQ(Data(*w, Prop::GraphData, 1, p), blue) << p;
        EXPECT_EQ(Data(*w, Prop::XPosData, 0, p), std::max(p, 1)) << p;
        if (p > 0)
            lo = std::min({lo, red, blue}), hi = std::max({hi, red, blue});
    }
    EXPECT_EQ(Data(*w, Prop::YAxisMin, 0, 0), lo == 1.0 ? 0.0 : lo);
    EXPECT_EQ(Data(*w, Prop::YAxisMax, 0, 0), hi);

    // The window paints the chart over its whole client area.
    w->grab();
    const ChartLayout& layout = LastLayout(w->Graph.GraphHandle);
    EXPECT_TRUE(layout.Drawn);
    EXPECT_EQ(layout.Bounds, w->rect());
    EXPECT_NE(layout.FindText("Red (Total)"), nullptr);
    EXPECT_NE(layout.FindText("Fraction of Remaining VORLAXs"), nullptr);
}

TEST_F(AttritionChart, TwoWindowsLiveApartAndClosingFreesEach)
{
    QPointer<CAttritionGraphDlg> first = Open(IDOK);
    QPointer<CAttritionGraphDlg> second = Open(IDOK);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.data(), second.data());
    // The second a step down and right of the first, not on top of it.
    EXPECT_EQ(second->pos(), first->pos() + QPoint(1, 1) * CChartWindow::CascadeStep);
    const CChartSelections before = Doc().Charts;

    first->close();
    FlushDeletes();
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());

    second->reject();  // Escape
    FlushDeletes();
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(View()->LastChartWindow.isNull());
    EXPECT_EQ(std::memcmp(&before, &Doc().Charts, sizeof before), 0);
}

TEST_F(AttritionChart, DialogChoicesPickTheCurves)
{
    const struct {
        int answer;
        std::map<int, std::string> boxes;
        std::vector<std::string> legends;  // empty: no window
        int showAll;
    } cases[] = {
        {IDCANCEL, {{O::IDC_ALL, "1"}}, {}, 0},
        {IDOK, {{O::IDC_ALL, "1"}, {O::IDC_BLUE_TOTAL, "0"}}, {"Red + Blue", "Red (Total)"}, 1},
        {IDOK, {{O::IDC_ALL, "0"}, {O::IDC_RED_TOTAL, "0"}, {O::IDC_RED_INJURED, "1"}, {O::IDC_BLUE_ALIVE, "1"}},
         {"Injured Red", "Alive Blue"}, 0},
    };
    for (const auto& c : cases) {
        View()->LastChartWindow = nullptr;
        CAttritionGraphDlg* w = Open(c.answer, c.boxes);
        EXPECT_EQ(Doc().Charts.AttritionShowAll, c.showAll);
        if (c.legends.empty()) {
            EXPECT_EQ(w, nullptr);
            continue;
        }
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Int(*w, Prop::NumSets), int(c.legends.size()));
        for (std::size_t s = 0; s < c.legends.size(); ++s)
            EXPECT_EQ(Text(*w, Prop::LegendText, s), c.legends[s]);
    }

    // The boxes open showing the flags.
    Select({0, 0, 0, 1, 0, 1, 0});
    O dialog(Doc());
    dialog.AttritionShowRedTotal = 1;
    dialog.AttritionShowBlueInjured = 1;
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.IsDlgButtonChecked(O::IDC_RED_TOTAL), 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(O::IDC_BLUE_INJURED), 1);
    EXPECT_EQ(dialog.IsDlgButtonChecked(O::IDC_ALL), 0);
}

TEST_F(AttritionChart, AllSevenCurvesInTheirSidesColoursToTheCurrentStep)
{
    // All seven curves, in the table's curve order: RED's in reds, BLUE's in
    // blues, "Red + Blue" neither. Each draws points 0..n, n = CurrentStep - 1.
    Select({1, 1, 1, 1, 1, 1, 1});
    CAttritionGraphDlg* w = Open(IDOK);
    ASSERT_NE(w, nullptr);
    ChartLayout layout;
    const QImage image = RenderChartImage(w->Graph.GraphHandle, {640, 480}, &layout);
    QDir().mkpath(QString(BREVIMAR_BINARY_DIR) + "/chart-pictures");
    image.save(QString(BREVIMAR_BINARY_DIR) + "/chart-pictures/attrition-seven-curves.png");
    ASSERT_EQ(layout.Series.size(), 7u);
    enum { Neither, Red, Blue };
    const int sides[7] = {Neither, Red, Red, Blue, Blue, Red, Blue};
    const int n = Doc().RunHeader.CurrentStep - 1;
    for (int s = 0; s < 7; ++s) {
        const QColor c = layout.Series[s].Colour;
        if (sides[s] == Red) {
            EXPECT_GT(c.red(), c.blue() + 60) << s;
        } else if (sides[s] == Blue) {
            EXPECT_GT(c.blue(), c.red() + 60) << s;
        }
        ASSERT_FALSE(layout.Series[s].Points.empty());
        EXPECT_EQ(layout.Series[s].Points.back(), n) << s;
    }
}

TEST_F(AttritionChart, MultipleTimeSeriesCarriesCutErrorBarsAndHandsThemOff)
{
    CBrevimarDoc& doc = Doc();
    doc.RunMode = MultipleTimeSeriesMode;
    doc.Series.MultiRunSampleCount = 2;
    doc.Series.MultiRunStepCount = 3;  // steps 0..2 at points 1..3
    doc.NumRed() = 10;
    doc.NumBlue() = 10;
    CMultiRunCharted& a = doc.MultiRunCharts;
    // Sums over the two samples at steps 0 and 1.
    const int ra[] = {18, 10}, ri[] = {0, 8}, ba[] = {16, 20}, bi[] = {2, 0};
    const int rad[] = {4, 10}, rid[] = {8, 0};
    for (int k = 0; k < 2; ++k) {
        a.MultiRunRedAliveSum[k] = ra[k], a.MultiRunRedInjuredSum[k] = ri[k];
        a.MultiRunBlueAliveSum[k] = ba[k], a.MultiRunBlueInjuredSum[k] = bi[k];
        a.MultiRunRedAliveDevSum[k] = rad[k], a.MultiRunRedInjuredDevSum[k] = rid[k];
    }
    Select({1, 0, 0, 1, 0, 0, 0});
    QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);

    // Worked by hand. Red + Blue (k = 1/4, D = 2 x 20): step 0: 36/40 = 0.9,
    // e = 12/4/40 = 0.075; step 1: 38/40 = 0.95, e = 10/4/40 = 0.0625 cut to
    // 1 - 0.95. Red total (k = 1/2, D = 2 x 10): 18/20 = 0.9 both steps,
    // e = 12/2/20 = 0.3 and 10/2/20 = 0.25, each cut to 1 - 0.9.
    const struct {
        int s, p;
        double value, bar;
    } points[] = {
        {0, 1, 0.9, 0.075}, {0, 2, 0.95, 1.0 - 0.95}, {1, 1, 0.9, 1.0 - 0.9}, {1, 2, 0.9, 1.0 - 0.9},
    };
    for (const auto& p : points) {
        EXPECT_DOUBLE_EQ(Data(*w, Prop::GraphData, p.s, p.p), p.value) << p.s << "," << p.p;
        EXPECT_DOUBLE_EQ(Data(*w, Prop::EBarGraphDataPlus, p.s, p.p), p.bar) << p.s << "," << p.p;
        EXPECT_DOUBLE_EQ(Data(*w, Prop::EBarGraphDataMinus, p.s, p.p), p.bar) << p.s << "," << p.p;
        EXPECT_DOUBLE_EQ(a.MultiRunGraphSeries[p.s][p.p], p.value);
        EXPECT_DOUBLE_EQ(a.MultiRunGraphDev[p.s][p.p], p.bar);
    }
    EXPECT_DOUBLE_EQ(Data(*w, Prop::GraphData, 0, 0), 0.9);
    EXPECT_EQ(Data(*w, Prop::EBarGraphDataPlus, 0, 0), 0.0);
    EXPECT_EQ(a.MultiRunGraphCount, 2);
    EXPECT_EQ(doc.MultiRunGraphLabels[0], "Attrition: Red + Blue");
    EXPECT_EQ(Int(*w, Prop::EBarSource), 5);
    EXPECT_EQ(Int(*w, Prop::ToolStat, 11), 0);
    EXPECT_EQ(Int(*w, Prop::ToolStat, 10), 1);
    EXPECT_EQ(Text(*w, Prop::GraphTitle), "Fraction of Remaining VORLAXs; (2 Samples)");
    EXPECT_EQ(Text(*w, Prop::LeftTitle), "(Ave) % Remaining");
    EXPECT_DOUBLE_EQ(Data(*w, Prop::YAxisMin, 0, 0), 0.0);  // averaged fractions from 0
    EXPECT_DOUBLE_EQ(Data(*w, Prop::YAxisMax, 0, 0), 0.95);

    // A batch longer than the averaged series is drawn as far as they go.
    doc.Series.MultiRunStepCount = 999;
    QPointer<CAttritionGraphDlg> longer = new CAttritionGraphDlg(View(), doc);
    EXPECT_EQ(Int(*longer, Prop::NumPoints), CAttritionGraphDlg::MaxMultiRunPoints);
    EXPECT_FALSE(HasProperty(longer->Graph.GraphHandle, Prop::GraphData, 0, MultiRunStepSlots + 1));

    // A batch that ran no sample divides by nothing: its curves stay at 0.
    doc.Series.MultiRunSampleCount = 0;
    QPointer<CAttritionGraphDlg> empty = new CAttritionGraphDlg(View(), doc);
    EXPECT_EQ(Data(*empty, Prop::GraphData, 0, 1), 0.0);
    EXPECT_EQ(Data(*empty, Prop::EBarGraphDataPlus, 0, 1), 0.0);
    EXPECT_EQ(Text(*empty, Prop::GraphTitle), "Fraction of Remaining VORLAXs; (0 Samples)");
}

TEST_F(AttritionChart, MultipleTimeSeriesAsksForRawDataBeforeTheChart)
{
    Doc().RunMode = MultipleTimeSeriesMode;
    Hooks.AnswerDialog(IDOK);  // the raw-data question: nothing chosen
    CAttritionGraphDlg* w = Open(IDOK);
    ASSERT_NE(w, nullptr);
    std::vector<std::string> titles;
    for (const ModalRecord& r : Hooks.Log())
        if (r.Kind == ModalKind::Dialog)
            titles.push_back(r.Title);
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[1], "Multiple Time-Series Raw Data");
}

TEST_F(AttritionChart, AtTheFirstStepOnlyPointZeroIsSet)
{
    CBrevimarDoc& doc = Doc();
    doc.RunHeader.CurrentStep = 1;
    QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);
    EXPECT_EQ(Int(*w, Prop::NumPoints), 0);
    EXPECT_TRUE(HasProperty(w->Graph.GraphHandle, Prop::GraphData, 1, 0));
    EXPECT_FALSE(HasProperty(w->Graph.GraphHandle, Prop::GraphData, 0, 1));
    EXPECT_EQ(Data(*w, Prop::YAxisMin, 0, 0), 0.0);
    EXPECT_EQ(Data(*w, Prop::YAxisMax, 0, 0), 1.0);
}

// Every way into a fresh interactive run leaves it where Restart does: at
// step 0, filed with scenario_v4.dat's whole forces (RED 12, BLUE 10, all
// alive), so that both curves start at 1.0; the first step taken is step 1,
// filed by the run loop; and a run whose last step is 6 takes steps 1..5
// before it holds. Before each way in one program, steps 0 and 1 are marked
// -1, which only a way that files them takes away. So that step 1's counts
// differ from step 0's, RED's agent 1 is injured before step 1 is filed:
// (11, 1, 10, 0).
class FreshRunAttrition : public AppTest {};

TEST_F(FreshRunAttrition, EveryWayIntoAFreshRunChartsItsStepZero)
{
    const std::string scenario = Fixture("scenario_v4.dat");
    auto filedAt = [this](int t) {
        const CStatisticsSeries& s = Doc().Series;
        return std::vector<int>{s.RedAliveSeries[t], s.RedInjuredSeries[t], s.BlueAliveSeries[t],
                                s.BlueInjuredSeries[t]};
    };
    const std::vector<int> wholeForces = {12, 0, 10, 0};
    const std::vector<int> oneInjured = {11, 1, 10, 0};
    // The run to its end; then the chart, whose first point is step 0's.
    auto runsToItsEndFromStepZero = [&, this](const std::string& way) {
        CBrevimarDoc& doc = Doc();
        ASSERT_EQ(doc.RunMode, InteractiveMode) << way;
        EXPECT_EQ(doc.RunHeader.CurrentStep, 0) << way;
        EXPECT_EQ(filedAt(0), wholeForces) << way;
        ASSERT_EQ(doc.RedForce.AgentState[1], Alive) << way;
        doc.RedForce.AgentState[1] = Injured;
        doc.RunHeader.LastStep = 6;
        std::vector<int> taken;
        for (int tick = 0; tick < 12; ++tick) {
            doc.Resume();
            View()->OnTimer(CBrevimarView::RunTimerId);
            if (doc.RunEndStep != 0)
                break;  // held at the end
            taken.push_back(doc.RunHeader.CurrentStep);
        }
        EXPECT_EQ(taken, (std::vector<int>{1, 2, 3, 4, 5})) << way;
        EXPECT_EQ(filedAt(0), wholeForces) << way;
        EXPECT_EQ(filedAt(1), oneInjured) << way;
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_ATTRITION_GRAPH)) << way;
        QPointer<CAttritionGraphDlg> w = dynamic_cast<CAttritionGraphDlg*>(View()->LastChartWindow.data());
        ASSERT_TRUE(w) << way;
        EXPECT_EQ(Data(*w, Prop::GraphData, 0, 0), 1.0) << way;
        EXPECT_EQ(Data(*w, Prop::GraphData, 1, 0), 1.0) << way;
        delete w;
    };

    Hooks.AnswerFile(scenario);
    ASSERT_TRUE(Start());
    runsToItsEndFromStepZero("the scenario chosen at start-up");
    App.reset();
    App = std::make_unique<CBrevimarApp>(&Hooks);
    ASSERT_TRUE(Start({QString::fromStdString(scenario)}));
    runsToItsEndFromStepZero("the scenario on the command line");

    using V = CBrevimarView;
    auto command = [this](unsigned id) { return [this, id] { ASSERT_TRUE(Frame().RunCommand(id)) << id; }; };
    auto batch = [this](unsigned id) { return [this, id] { RunBatch(Frame(), Doc(), id); }; };
    auto multipleTimeSeries = [this] {
        Hooks.AnswerDialog(IDOK, {{CMultiRunParamsDlg::IDC_SAMPLES, "2"}, {CMultiRunParamsDlg::IDC_RUN_TIME, "4"}});
        ASSERT_TRUE(Frame().RunCommand(V::ID_MULTIPLE_TIME_SERIES));
        Doc().Resume();
        View()->OnTimer(V::RunTimerId);
        ASSERT_EQ(Doc().Series.MultiRunSample, 2);
    };
    auto readScenario = [&, this](unsigned id) {
        return [&, this, id] {
            Hooks.AnswerFile(scenario);
            ASSERT_TRUE(Frame().RunCommand(id));
        };
    };
    struct Way {
        std::string What;
        std::function<void()> Before, Way;
    };
    std::vector<Way> ways = {
        {"Load Input Data File", [] {}, readScenario(ID_FILE_LOAD_INPUT_DATA)},
        {"Restart", [] {}, command(V::ID_RESTART_GO)},
        {"Randomize", [] {}, command(V::ID_RANDOMIZE)},
        {"an OK of the RED agent dialog",
         [] {},
         [this] {
             Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SENSOR_ALIVE, "6"}});
             ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
         }},
        {"Terminate Run", [] {}, readScenario(V::ID_TERMINATE_RUN)},
        // File > Open keeps the interactive run, whatever the chooser gives.
        {"File > Open cancelled",
         [] {},
         [this] {
             Hooks.CancelFile();
             ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
         }},
        {"File > Open of a frame file",
         [] {},
         [this] {
             Hooks.AnswerFile(Fixture("frames_short.out"));
             ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
             ASSERT_EQ(Doc().RunHeader.RedCount, 4);  // read
         }},
        {"a fitness landscape left", batch(V::ID_RUN_MODE_LANDSCAPE), command(V::ID_RUN_MODE_INTERACTIVE)},
        {"a multiple time-series left", multipleTimeSeries, command(V::ID_RUN_MODE_INTERACTIVE)},
        {"a stored run's playback left",
         [this] {
             Hooks.AnswerFile(Fixture("stored_v4.run"));
             ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_RUN));
             ASSERT_EQ(Doc().RunMode, PlaybackMode);
         },
         command(V::ID_RUN_MODE_INTERACTIVE)},
    };
    // Every search mode the menu offers (4, 7 and 8 are disabled).
    for (int mode : {1, 2, 3, 5, 6})
        ways.push_back({"a GA of search mode " + std::to_string(mode) + " left",
                        batch(V::ID_RUN_MODE_GA_FIRST + mode - 1), command(V::ID_RUN_MODE_INTERACTIVE)});
    ways.push_back({"Save RUN File, which starts a capture", [] {}, command(V::ID_FILE_SAVE_RUN)});
    // The frames captured so far are not written.
    ways.push_back({"Restart while a capture stands", [this] { Hooks.AnswerMessage(IDNO); },
                    command(V::ID_RESTART_GO)});
    for (const Way& way : ways) {
        way.Before();
        CStatisticsSeries& s = Doc().Series;
        for (int t : {0, 1})
            s.RedAliveSeries[t] = s.RedInjuredSeries[t] = s.BlueAliveSeries[t] = s.BlueInjuredSeries[t] = -1;
        way.Way();
        EXPECT_NE(filedAt(1), wholeForces) << way.What << ": step 1 is the run loop's to file";
        runsToItsEndFromStepZero(way.What);
    }
    // A Load Input Data File cancelled in a run files no step: the step on
    // show was filed before it ran, from the state the step then changed.
    const int shown = Doc().RunHeader.CurrentStep;
    ASSERT_GT(shown, 0);
    Doc().Series.RedAliveSeries[shown] = -1;
    Hooks.CancelFile();
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_INPUT_DATA));
    EXPECT_EQ(Doc().Series.RedAliveSeries[shown], -1);
}

// Looking files nothing: after each of 12 steps of scenario_v4.dat, the
// attrition chart opened (then its dialog cancelled) leaves every count the
// run filed and the status line as the step left them. A recount at step 1
// would have filed the counts after that step's fights (9, 1, 7) over the
// 12, 0, 10 the run filed before them.
TEST_F(FreshRunAttrition, OpeningAChartFilesNoPointAgain)
{
    Hooks.AnswerFile(Fixture("scenario_v4.dat"));
    ASSERT_TRUE(Start());
    CBrevimarDoc& doc = Doc();
    auto filed = [&doc] {
        const CStatisticsSeries& s = doc.Series;
        std::vector<double> all;
        for (int t = 0; t < SeriesLength; ++t)
            all.insert(all.end(), {double(s.RedAliveSeries[t]), double(s.RedInjuredSeries[t]),
                                   double(s.BlueAliveSeries[t]), double(s.BlueInjuredSeries[t]),
                                   s.RedCombatEntropy[t], s.BlueCombatEntropy[t]});
        return all;
    };
    for (int step = 1; step <= 12; ++step) {
        doc.Resume();
        View()->OnTimer(CBrevimarView::RunTimerId);
        ASSERT_EQ(doc.RunHeader.CurrentStep, step);
        const std::vector<double> before = filed();
        const std::string line = Frame().StatusText();
        for (int answer : {IDOK, IDCANCEL}) {
            Hooks.AnswerDialog(answer);
            ASSERT_TRUE(Frame().RunCommand(CBrevimarView::ID_ATTRITION_GRAPH));
            EXPECT_EQ(filed(), before) << "step " << step << ", answer " << answer;
            EXPECT_EQ(Frame().StatusText(), line) << "step " << step;
        }
        delete View()->LastChartWindow.data();
    }
    EXPECT_EQ(doc.Series.RedAliveSeries[1], 12);
    EXPECT_EQ(doc.Series.BlueAliveSeries[1], 10);
}

// A batch's runs and a stored run's playback file no step of one run: the
// chart opened on them draws no point, where the reset's placeholder
// (1, 0, 1, 0) would read as 1 of scenario_v4.dat's 12 RED and 1 of its 10
// BLUE remaining.
TEST_F(FreshRunAttrition, AChartOfWhatNoRunMeasuredDrawsNoPoint)
{
    using V = CBrevimarView;
    const std::string capture = TempFolder() + "/captured.run";
    auto landscapePausedInItsFirstRun = [this] {
        CBrevimarDoc& doc = Doc();
        ChooseBatch(Frame(), doc, V::ID_RUN_MODE_LANDSCAPE);
        doc.Landscape.Settings.LandscapeMaxTimeToFlag = 6;
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
        // Paused three steps into the run: each step pumps the next of
        // these, and the last pauses.
        std::function<void(int)> after = [&](int steps) {
            QTimer::singleShot(0, View(), [&, steps] { steps == 1 ? doc.Pause() : after(steps - 1); });
        };
        after(3);
        View()->OnTimer(V::RunTimerId);
        ASSERT_EQ(doc.Landscape.Run.SweepOpen, 1);
    };
    // Five steps captured, written by Stop RUN Capture, read back and played
    // to frame 3.
    auto playedCapture = [&, this] {
        CBrevimarDoc& doc = Doc();
        ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_SAVE_RUN));
        for (int step = 0; step < 5; ++step) {
            doc.Resume();
            View()->OnTimer(V::RunTimerId);
        }
        Hooks.AnswerFile(capture);
        ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_STOP_RUN_CAPTURE));
        Hooks.AnswerFile(capture);
        ASSERT_TRUE(Frame().RunCommand(ID_FILE_LOAD_RUN));
        ASSERT_EQ(doc.RunMode, PlaybackMode);
        doc.Resume();
        for (int frame = 0; frame < 3; ++frame)
            View()->OnTimer(V::RunTimerId);
    };
    // A history of frames opened from the interactive run, which had filed
    // steps 0..4 of its own.
    auto replayedHistory = [this] {
        CBrevimarDoc& doc = Doc();
        for (int step = 0; step < 4; ++step) {
            doc.Resume();
            View()->OnTimer(V::RunTimerId);
        }
        // Frames 1..5 of two RED agents and one BLUE, all alive: 16 bytes of
        // header, then per frame its number and a state, x and y per agent.
        std::string bytes;
        auto put = [&bytes](std::int32_t v) {
            for (int b = 0; b < 4; ++b)
                bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
        };
        for (int v : {30, 2, 1, 5})
            put(v);
        for (int k = 1; k <= 5; ++k) {
            put(k);
            for (int agent = 1; agent <= 3; ++agent)
                put(Alive), put(agent), put(k);
        }
        Hooks.AnswerFile(WriteTemp("history.brv", bytes));
        ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
        doc.Resume();
        for (int frame = 0; frame < 3; ++frame)
            View()->OnTimer(V::RunTimerId);
    };
    const struct {
        const char* What;
        std::function<void()> Way;
        int Mode;
    } ways[] = {
        {"a GA of search mode 1", [this] { RunBatch(Frame(), Doc(), V::ID_RUN_MODE_GA_FIRST); },
         GeneticAlgorithmMode},
        {"a landscape paused in its first run", landscapePausedInItsFirstRun, FitnessLandscapeMode},
        {"a capture's playback", playedCapture, PlaybackMode},
        {"a document file's replay", replayedHistory, ReplayMode},
    };
    for (const auto& way : ways) {
        App = std::make_unique<CBrevimarApp>(&Hooks);
        Hooks.Reset();
        Hooks.AnswerFile(Fixture("scenario_v4.dat"));
        ASSERT_TRUE(Start());
        way.Way();
        ASSERT_EQ(Doc().RunMode, way.Mode) << way.What;
        const int n = Doc().RunHeader.CurrentStep - 1;
        EXPECT_GE(n, 1) << way.What;
        // Twice: the first opening's recount is not a measured point either.
        for (int opening = 0; opening < 2; ++opening) {
            Hooks.AnswerDialog(IDOK);
            ASSERT_TRUE(Frame().RunCommand(V::ID_ATTRITION_GRAPH)) << way.What;
            QPointer<CAttritionGraphDlg> w = dynamic_cast<CAttritionGraphDlg*>(View()->LastChartWindow.data());
            ASSERT_TRUE(w) << way.What;
            EXPECT_EQ(Int(*w, Prop::NumSets), 2) << way.What;
            for (int s : {0, 1})
                for (int p = 0; p <= n; ++p)
                    EXPECT_FALSE(HasProperty(w->Graph.GraphHandle, Prop::GraphData, s, p))
                        << way.What << ": set " << s << ", point " << p << " = " << Data(*w, Prop::GraphData, s, p);
            delete w;
            Doc().Resume();
            View()->OnTimer(V::RunTimerId);
        }
        // The combat entropy, filed with the counts, no more.
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Frame().RunCommand(V::ID_COMBAT_ENTROPY_GRAPH)) << way.What;
        QPointer<CCombatEntropyGraphDlg> entropy =
            dynamic_cast<CCombatEntropyGraphDlg*>(View()->LastChartWindow.data());
        ASSERT_TRUE(entropy) << way.What;
        for (int p = 0; p <= Doc().RunHeader.CurrentStep; ++p)
            EXPECT_FALSE(HasProperty(entropy->Graph.GraphHandle, Prop::GraphData, 0, p)) << way.What << ": " << p;
        delete entropy;
    }
}

TEST(ChartFrame, XAxisTickRule)
{
    const std::pair<int, int> rule[] = {{0, 1},    {49, 1},   {50, 10},  {199, 10},
                                        {200, 25}, {399, 25}, {400, 50}, {900, 50}};
    for (const auto& [n, step] : rule)
        EXPECT_EQ(CChartWindow::XAxisTickStep(n), step) << n;
}

}  // namespace
}  // namespace brevimar::testing
