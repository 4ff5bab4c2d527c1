#include <QFile>
#include <QPointer>

#include "app/AppFixture.h"
#include "charts/AttritionGraph.h"
#include "charts/GoalCountGraph.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;

class DataCollectionMenu : public AppTest {
protected:
    void StartScenario()
    {
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        ASSERT_EQ(Doc().RunMode, InteractiveMode);
    }
    CCmdUI State(unsigned id)
    {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        return ui;
    }
};

constexpr unsigned Switches[] = {V::ID_DATA_SET_ALL,    V::ID_DATA_CENTER_OF_MASS, V::ID_DATA_CLUSTERS,
                                 V::ID_DATA_GOAL_COUNT, V::ID_DATA_INTERPOINT,     V::ID_DATA_NEIGHBORS,
                                 V::ID_DATA_SPATIAL_ENTROPY};

TEST_F(DataCollectionMenu, ItemsOpenOnlyWhileCollectingInTheInteractiveRun)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    struct Case {
        int Collecting, RunMode;
        bool Open;
    };
    for (const Case c : {Case{1, InteractiveMode, true}, Case{0, InteractiveMode, false},
                         Case{1, MultipleTimeSeriesMode, false}}) {
        doc.Statistics.DataCollectionOn = c.Collecting;
        doc.RunMode = c.RunMode;
        for (unsigned id : Switches)
            EXPECT_EQ(State(id).Enabled, c.Open) << id << " collecting " << c.Collecting << " mode " << c.RunMode;
        // Force sizes ask only for the interactive run, and carry no mark.
        EXPECT_EQ(State(V::ID_DATA_FORCE_SIZES).Enabled, c.RunMode == InteractiveMode);
        EXPECT_FALSE(State(V::ID_DATA_FORCE_SIZES).Checked);
    }
}

TEST_F(DataCollectionMenu, TogglesFlipTheirSwitchAndTheMarkFollows)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    doc.Statistics.DataCollectionOn = 1;
    doc.Resume();
    struct Case {
        unsigned Id;
        int CStatisticsParameters::*Switch;
    };
    const Case cases[] = {
        {V::ID_DATA_CENTER_OF_MASS, &CStatisticsParameters::CenterOfMassOn},
        {V::ID_DATA_GOAL_COUNT, &CStatisticsParameters::GoalStatsOn},
        {V::ID_DATA_INTERPOINT, &CStatisticsParameters::InterpointOn},
        {V::ID_DATA_NEIGHBORS, &CStatisticsParameters::NeighborStatsOn},
        {V::ID_DATA_SPATIAL_ENTROPY, &CStatisticsParameters::SpatialEntropyOn},
    };
    for (const Case& c : cases) {
        doc.Statistics.*c.Switch = 2;  // anything but 1 counts as off
        ASSERT_TRUE(Frame().RunCommand(c.Id));
        EXPECT_EQ(doc.Statistics.*c.Switch, 1) << c.Id;
        EXPECT_TRUE(State(c.Id).Checked) << c.Id;
        ASSERT_TRUE(Frame().RunCommand(c.Id));
        EXPECT_EQ(doc.Statistics.*c.Switch, 0) << c.Id;
        EXPECT_FALSE(State(c.Id).Checked) << c.Id;
    }
    // With only D=1 on, the cluster item swaps the two; the mark shows D=2.
    doc.Statistics.ClusterD1On = 1;
    doc.Statistics.ClusterD2On = 0;
    ASSERT_TRUE(Frame().RunCommand(V::ID_DATA_CLUSTERS));
    EXPECT_EQ(doc.Statistics.ClusterD1On, 0);
    EXPECT_EQ(doc.Statistics.ClusterD2On, 1);
    EXPECT_TRUE(State(V::ID_DATA_CLUSTERS).Checked);
    EXPECT_EQ(doc.Paused, 0) << "the toggles do not pause the run";
}

TEST_F(DataCollectionMenu, SetAllThenRunFilesEveryStatisticFromTheNextStep)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    doc.Statistics.DataCollectionOn = 1;
    ASSERT_TRUE(Frame().RunCommand(V::ID_DATA_SET_ALL));
    EXPECT_TRUE(State(V::ID_DATA_SET_ALL).Checked);
    EXPECT_TRUE(State(V::ID_DATA_CLUSTERS).Checked);
    const int t = doc.RunHeader.CurrentStep;
    doc.Resume();
    View()->OnTimer(CBrevimarView::RunTimerId);
    ASSERT_EQ(doc.RunHeader.CurrentStep, t + 1);
    EXPECT_GT(doc.Collected.MeanClusterSizeD2[t + 1], 0.0);
    EXPECT_GT(doc.Collected.CenterOfMassSeries[4][t + 1], 0.0);
    ASSERT_TRUE(Frame().RunCommand(V::ID_DATA_SET_ALL));
    EXPECT_FALSE(State(V::ID_DATA_SET_ALL).Checked);
    EXPECT_EQ(doc.Statistics.SpatialEntropyOn, 1);
}

TEST_F(DataCollectionMenu, SwitchingCollectionOnFilesTheShownStateAsStepZero)
{
    // A freshly loaded battle has every agent alive, so step 0 of the
    // attrition series holds the whole force and the chart starts at 1.
    // Whether collection is switched on or everything set, step 0 must not
    // keep the reset's placeholder count of 1.
    StartScenario();
    CBrevimarDoc& doc = Doc();
    const int red = doc.NumRed(), blue = doc.NumBlue();
    ASSERT_GT(red, 1);
    ASSERT_GT(blue, 1);
    doc.Statistics.DataCollectionOn = 0;
    ASSERT_EQ(doc.RunHeader.CurrentStep, 0);
    for (const unsigned id : {32958u, V::ID_DATA_SET_ALL}) {
        ASSERT_TRUE(Frame().RunCommand(id)) << id;
        ASSERT_EQ(doc.Statistics.DataCollectionOn, 1) << id;
        EXPECT_EQ(doc.Series.RedAliveSeries[0], red) << id;
        EXPECT_EQ(doc.Series.BlueAliveSeries[0], blue) << id;
        EXPECT_EQ(doc.Series.RedInjuredSeries[0] + doc.Series.BlueInjuredSeries[0], 0) << id;
        EXPECT_GT(doc.Collected.CenterOfMassSeries[4][0], 0.0) << id << ": the other statistics too";
    }
    doc.Resume();
    View()->OnTimer(CBrevimarView::RunTimerId);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 1);
    EXPECT_EQ(doc.Series.RedAliveSeries[0], red) << "the run goes on from step 1";
}

TEST_F(DataCollectionMenu, ChartsDrawOnlyTheStepsCollected)
{
    // The file collects nothing; start-up runs two steps before the user
    // acts. Collection switched on at step 2 restarts the series, so steps 3
    // onward are collected; switched off at step 12, the goal counts stop
    // there while the force sizes go on being counted.
    StartScenario();
    CBrevimarDoc& doc = Doc();
    ASSERT_EQ(doc.Statistics.DataCollectionOn, 0);
    ASSERT_EQ(doc.Statistics.GoalStatsOn, 1);
    auto run = [&](int ticks) {
        doc.Resume();
        for (int i = 0; i < ticks; ++i)
            View()->OnTimer(CBrevimarView::RunTimerId);
        doc.Pause();  // no stray tick of the live timer moves it on
    };
    // (A tick of the live timer may come in during a step: the steps are
    // read, not counted.)
    run(2);
    const int on = doc.RunHeader.CurrentStep;
    ASSERT_GE(on, 2);
    ASSERT_TRUE(Frame().RunCommand(32958));
    run(10);
    const int off = doc.RunHeader.CurrentStep;
    ASSERT_GE(off, on + 10);
    ASSERT_TRUE(Frame().RunCommand(32958));
    ASSERT_EQ(doc.Statistics.DataCollectionOn, 0);
    run(5);
    const int now = doc.RunHeader.CurrentStep;
    ASSERT_GE(now, off + 5);

    // Attrition: point p shows step p - 1, up to step now - 2 (n = now - 1):
    // steps on + 1 .. now - 2. Goal counts: point t shows step t, up to
    // now - 1: steps on + 1 .. off.
    const struct {
        const char* name;
        QPointer<CChartWindow> chart;
        int first, last;
    } charts[] = {
        {"attrition", new CAttritionGraphDlg(View(), doc), on + 2, now - 1},
        {"goal count", new CGoalCountGraphDlg(View(), doc), on + 1, off},
    };
    for (const auto& c : charts) {
        chart::ChartLayout layout;
        chart::RenderChartImage(c.chart->Graph.GraphHandle, {640, 480}, &layout);
        ASSERT_FALSE(layout.Series.empty()) << c.name;
        for (const chart::ChartSeries& series : layout.Series) {
            ASSERT_FALSE(series.Points.empty()) << c.name;
            EXPECT_EQ(series.Points.front(), c.first) << c.name;
            EXPECT_EQ(series.Points.back(), c.last) << c.name;
            EXPECT_EQ(series.Points.size(), std::size_t(c.last - c.first + 1)) << c.name;
        }
    }
}

TEST_F(DataCollectionMenu, CapacitySnapshotOnlyOfTheInteractiveRun)
{
    StartScenario();
    CBrevimarDoc& doc = Doc();
    const std::string path = TempFolder() + "/menu_snapshot.cdm";
    QFile::remove(QString::fromStdString(path));
    doc.Resume();
    doc.RunMode = GeneticAlgorithmMode;
    Hooks.AnswerFile(path);
    // Greyed outside the interactive run, where it would write nothing.
    EXPECT_FALSE(Frame().RunCommand(V::ID_DATA_CAPACITY_SNAPSHOT));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

    Hooks.Reset();
    Hooks.Enable(true);
    doc.RunMode = InteractiveMode;
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Frame().RunCommand(V::ID_DATA_CAPACITY_SNAPSHOT));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\nTotal (Red & Blue) ===\n"));
    EXPECT_EQ(text.count("Estimated Capacity Dimension = "), 3);
}

}  // namespace
}  // namespace brevimar::testing
