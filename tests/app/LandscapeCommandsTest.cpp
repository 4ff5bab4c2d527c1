#include <QComboBox>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "app/AppFixture.h"
#include "app/BatchRuns.h"
#include "charts/LandscapeGraph.h"
#include "dialogs/LandscapeDialogs.h"
#include "experiments/LandscapeChartData.h"
#include "files/WordReader.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using RP = CLandscapeRunParamsDlg;
using P = CLandscapeParamsDlg;
using O = CLandscapeObjectiveDlg;

class LandscapeCommands : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
    }
    int Messages(const std::string& text) const
    {
        int count = 0;
        for (const ModalRecord& r : Hooks.Log())
            count += r.Kind == ModalKind::MessageBox && r.Text.find(text) != std::string::npos;
        return count;
    }
    bool Enabled(unsigned id)
    {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        return ui.Enabled;
    }
    bool Checked(unsigned id)
    {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        return ui.Checked;
    }
};

TEST_F(LandscapeCommands, RunModeTakesBothDialogsAndRefusesWhatTheArraysCannotHold)
{
    CBrevimarDoc& doc = Doc();
    doc.Battlefield.TerritoryCenterX = 0;
    doc.Landscape.Settings.LandscapeContainmentRange = 10.5;
    EXPECT_FALSE(Enabled(V::ID_EDIT_LANDSCAPE_COORDINATES));
    // Run-time parameters: 101 initial conditions refused, then 3 with the
    // territorial measures switched on.
    Hooks.AnswerDialog(IDOK, {{RP::IDC_CONDITIONS, "101"}});
    Hooks.AnswerDialog(IDOK, {{RP::IDC_CONDITIONS, "3"}, {RP::IDC_USE_TERRITORY, "1"},
                                    {RP::IDC_SYM_W_YES, "1"}, {RP::IDC_CENTER_X, "5"}, {RP::IDC_RANGE_X, "2"},
                                    {RP::IDC_CENTER_Y, "5"}, {RP::IDC_RANGE_Y, "1"}});
    // Coordinates: 50 intervals refused (51 values), then the fire range in 3 intervals.
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_SAMPLES, "50"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_NAME, "Alive Fire Range"}, {P::IDC_X_MIN, "1"},
                                    {P::IDC_X_MAX, "4"}, {P::IDC_X_SAMPLES, "3"}, {P::SquadIds[1], "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));

    const CLandscapeSettings& s = doc.Landscape.Settings;
    EXPECT_EQ(doc.RunMode, FitnessLandscapeMode);
    EXPECT_EQ(doc.Paused, 1);
    // The refused 101 never reaches the member and stays in its box through
    // the radio click of the next attempt, so the "Use?" click, which reads
    // the boxes, refuses it once more before the 3 is typed.
    EXPECT_EQ(Messages("between 1 and 100"), 2);
    EXPECT_EQ(Messages("between 1 and 49"), 1);
    EXPECT_EQ(s.LandscapeInitialConditions, 3);
    EXPECT_EQ(s.LandscapeUseTerritory, 1);
    EXPECT_EQ(s.LandscapeContainmentRange, 10.0);  // shown as 10, stored back whole
    EXPECT_EQ(s.LandscapeTerritoryCells, 5 * 3);
    EXPECT_EQ(s.LandscapeSymmetrizeWeights, 1);
    EXPECT_EQ(doc.RedForce.w3_a[1], doc.RedForce.w1_a[1]);
    EXPECT_EQ(s.LandscapeXParameter, 4);
    EXPECT_EQ(s.LandscapeXCount, 4);
    EXPECT_EQ(s.LandscapeXStep, 1.0);
    // The y axis keeps the default range of its parameter (COMBAT: -15..15 in 10).
    EXPECT_EQ(s.LandscapeYCount, 11);
    EXPECT_EQ(doc.Experiment.LandscapePointCount, 44);
    EXPECT_EQ(s.LandscapeSquad, doc.RedForce.NumSquads >= 2 ? 2 : 1);
    EXPECT_TRUE(Checked(V::ID_RUN_MODE_LANDSCAPE));
    EXPECT_TRUE(Checked(V::ID_DATA_COLLECTION_LANDSCAPE));
    EXPECT_TRUE(Enabled(V::ID_EDIT_LANDSCAPE_COORDINATES));
    doc.Experiment.LandscapeBusy = 1;
    EXPECT_FALSE(Enabled(V::ID_EDIT_LANDSCAPE_RUN_TIME));
    EXPECT_FALSE(Enabled(V::ID_RUN_MODE_LANDSCAPE));
    doc.Experiment.LandscapeBusy = 0;
}

TEST_F(LandscapeCommands, ChoosingAParameterLoadsItsDefaultRangesOnBothAxes)
{
    CLandscapeParamsDlg dlg(Doc());
    dlg.OnInitDialog();
    const auto combos = dlg.findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 2);
    EXPECT_EQ(combos[0]->count(), 57);
    EXPECT_EQ(dlg.GetDlgItemText(P::IDC_X_NAME), "Alive Sensor Range");
    dlg.SetDlgItemText(P::IDC_X_NAME, "Alive Single-Shot Hit Probability");
    dlg.SetDlgItemText(P::IDC_Y_SAMPLES, "7");
    dlg.OnSelchangeParameter();
    EXPECT_EQ(dlg.XIndex, 40);
    EXPECT_EQ(dlg.XSamples, 10);
    EXPECT_EQ(dlg.XMax, 0.02);
    EXPECT_EQ(combos[0]->currentText().toStdString(), "Alive Single-Shot Hit Probability");
    EXPECT_EQ(dlg.YSamples, 10);  // reloaded, the typed 7 replaced
    dlg.SetDlgItemText(P::IDC_X_NAME, "no such parameter");
    dlg.OnSelchangeParameter();
    EXPECT_EQ(dlg.XIndex, 40);
}

// Dialog 232 takes only a squad of the scenario and ranges its parameters'
// fields can hold, naming the value it refuses: the squad the document holds
// from a scenario with more squads, then an alive sensor range from -999 (the
// field takes 1..99), then squad 1 and 1..99.
TEST_F(LandscapeCommands, CoordinatesRefuseASquadOrARangeTheScenarioCannotHold)
{
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerDialog(IDOK, {});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
    const int squads = doc.RedForce.NumSquads;
    ASSERT_LT(squads, MaxSquads);
    doc.Landscape.Settings.LandscapeSquad = squads + 1;
    const std::string missing = "RED squad " + std::to_string(squads + 1);
    Hooks.AnswerDialog(IDOK, {});
    Hooks.AnswerDialog(IDOK, {{P::SquadIds[0], "1"}, {P::IDC_X_MIN, "-999"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_MIN, "1"}, {P::IDC_X_MAX, "99"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_LANDSCAPE_COORDINATES));
    EXPECT_EQ(Messages(missing), 1);
    EXPECT_EQ(Messages("x_min is -999"), 1);
    const CLandscapeSettings& s = doc.Landscape.Settings;
    EXPECT_EQ(s.LandscapeSquad, 1);
    EXPECT_EQ(s.LandscapeXParameter, 2);
    EXPECT_EQ(s.LandscapeXMin, 1.0);
    EXPECT_EQ(s.LandscapeXMax, 99.0);
}

// A minimum above its maximum would sweep no value and end at once as if
// done: dialog 232 refuses it and stays open. x (alive sensor range, 1..99)
// from 20 down to 10, then y from 1 down to -1; a range of one value (10 to
// 10) is taken.
TEST_F(LandscapeCommands, CoordinatesRefuseAMinimumAboveItsMaximum)
{
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerDialog(IDOK, {});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_NAME, "Alive Sensor Range"}, {P::IDC_X_MIN, "20"}, {P::IDC_X_MAX, "10"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_MIN, "10"}, {P::IDC_Y_MIN, "1"}, {P::IDC_Y_MAX, "-1"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_Y_MIN, "-1"}, {P::IDC_Y_MAX, "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_LANDSCAPE_COORDINATES));
    EXPECT_EQ(Messages("x_min is 20, above x_max 10"), 1);
    EXPECT_EQ(Messages("y_min is 1, above y_max -1"), 1);
    EXPECT_EQ(Hooks.Log().back().Result, IDOK);
    const CLandscapeSettings& s = doc.Landscape.Settings;
    EXPECT_EQ(s.LandscapeXMin, 10.0);
    EXPECT_EQ(s.LandscapeXMax, 10.0);
    EXPECT_EQ(s.LandscapeYMin, -1.0);
    EXPECT_EQ(s.LandscapeYMax, 1.0);
}

TEST_F(LandscapeCommands, SweepRunsFromTheTimerThenTheGraphCommandNormalisesAndWritesTheReport)
{
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerDialog(IDOK, {{RP::IDC_CONDITIONS, "1"}, {RP::IDC_MAX_TIME, "3"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_SAMPLES, "1"}, {P::IDC_Y_SAMPLES, "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
    ASSERT_EQ(doc.Experiment.LandscapePointCount, 4);
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    EXPECT_EQ(doc.Experiment.LandscapeGridPoint, 4);
    EXPECT_EQ(doc.Experiment.LandscapeBusy, 0);
    EXPECT_EQ(doc.Paused, 0);
    EXPECT_NE(Frame().StatusText().find("[ T ]: 3/3"), std::string::npos);

    // The next tick opens the result display: objectives 2 and 5 weighted 1
    // and 3 (4 switched off) become 0.25 and 0.75; the report is stored.
    const std::string path = TempFolder() + "/landscape-report.fit";
    std::filesystem::remove(path);
    Hooks.AnswerDialog(IDOK, {{O::UseIds[4], "0"}, {O::UseIds[2], "1"}, {O::UseIds[5], "1"},
                                    {O::WeightIds[2], "1"}, {O::WeightIds[5], "3"}, {O::IDC_WIN, "1"}});
    Hooks.AnswerDialog(IDOK, {{CLandscapeRawDataDlg::IDC_YES, "1"}});
    Hooks.AnswerFile(path);
    View()->OnTimer(V::RunTimerId);
    const CLandscapeSettings& s = doc.Landscape.Settings;
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_EQ(s.LandscapeObjectiveUsed[4], 0);
    EXPECT_EQ(s.LandscapeObjectiveWeight[2], 0.25);
    EXPECT_EQ(s.LandscapeObjectiveWeight[5], 0.75);
    EXPECT_EQ(s.LandscapeObjectiveWeight[4], 1.0);  // not in use: kept
    EXPECT_EQ(s.LandscapeGraphKind, 3);
    // The sweep's outcome opens as a chart, the view keeping it.
    QPointer<QWidget> chart = View()->LastChartWindow;
    auto* graph = dynamic_cast<CLandscapeGraphDlg*>(chart.data());
    ASSERT_NE(graph, nullptr);
    // One interval per axis is two values each: two sets of two points.
    EXPECT_EQ(chart::GetNumSets(graph->Graph.GraphHandle).ToInt(), 2);
    EXPECT_EQ(chart::GetNumPoints(graph->Graph.GraphHandle).ToInt(), 2);
    std::string text;
    ASSERT_TRUE(ReadTextFile(path, &text));
    EXPECT_NE(text.find("\nMinimize Number of Red Losses:  0.25000"), std::string::npos);

    // Cancel of the objective: nothing changes and no question follows.
    Hooks.AnswerDialog(IDCANCEL, {{O::UseIds[2], "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_LANDSCAPE_3D_GRAPH));
    EXPECT_EQ(s.LandscapeObjectiveUsed[2], 1);
    EXPECT_EQ(Hooks.Log().back().Title, "3D Graph::2-Parameter Fitness Landscape:Edit Mission Objective");
    EXPECT_EQ(View()->LastChartWindow.data(), chart.data());  // and no new chart
}

// A 4-point sweep paused in its second point: the 3D graph command makes
// neither the raw fitness file nor the chart, and says how far the sweep
// has come (point 2 is x 1 of 2, y 2 of 2).
TEST_F(LandscapeCommands, APausedSweepMakesNoChartAndNoRawFile)
{
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerDialog(IDOK, {{RP::IDC_CONDITIONS, "1"}, {RP::IDC_MAX_TIME, "3"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_SAMPLES, "1"}, {P::IDC_Y_SAMPLES, "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
    ASSERT_EQ(doc.Experiment.LandscapePointCount, 4);
    std::function<void()> watch = [&] {
        if (doc.Experiment.LandscapeGridPoint == 1)
            doc.Pause();
        else
            QTimer::singleShot(0, View(), watch);
    };
    watch();
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Landscape.Run.SweepOpen, 1);
    ASSERT_EQ(doc.Experiment.LandscapeGridPoint, 1);

    const std::string path = TempFolder() + "/paused.fit";
    std::filesystem::remove(path);
    Hooks.Reset();
    Hooks.AnswerDialog(IDOK, {{O::IDC_WIN, "1"}});
    Hooks.AnswerDialog(IDOK, {{CLandscapeRawDataDlg::IDC_YES, "1"}});
    Hooks.AnswerFile(path);
    ASSERT_TRUE(Frame().RunCommand(V::ID_LANDSCAPE_3D_GRAPH));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(View()->LastChartWindow.isNull());
    ASSERT_EQ(Hooks.Log().size(), 1u);
    EXPECT_EQ(Hooks.Log()[0].Text, "The fitness landscape has not ended: point 2 of 4 (x 1/2, y 2/2). Its chart and "
                                   "raw fitness file are made once it ends.");
}

TEST_F(LandscapeCommands, TheCoordinatesConfirmedUntouchedKeepTheValuesTheSweepUsed)
{
    // Squad 1's alive sensor range is 5, so the fire ranges 1, 3, ..., 11
    // ran as 1, 3, 5, 5, 5 and 5.
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerDialog(IDOK, {{RP::IDC_CONDITIONS, "1"}, {RP::IDC_MAX_TIME, "1"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_NAME, "Alive Fire Range"}, {P::IDC_X_MIN, "1"}, {P::IDC_X_MAX, "11"},
                              {P::IDC_X_SAMPLES, "5"}, {P::IDC_Y_SAMPLES, "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Experiment.LandscapeGridPoint, 12);
    const std::vector<std::string> used = {"1", "3", "5", "5", "5", "5"};
    EXPECT_EQ(ComputeLandscapeChart(doc).XLabels, used);
    Hooks.AnswerDialog(IDOK, {});
    ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_LANDSCAPE_COORDINATES));
    EXPECT_EQ(ComputeLandscapeChart(doc).XLabels, used);

    // A new sweep forgets them: with the sensor range raised to 11 and the
    // sweep paused in its first run, x = 1 ran as 1 and the other columns
    // show their grid values.
    const std::vector<std::string> grid = {"1", "3", "5", "7", "9", "11"};
    doc.RedForce.A_S_RANGE[1] = 11;
    doc.Resume();
    QTimer::singleShot(0, View(), [&doc] { doc.Pause(); });
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Experiment.LandscapeGridPoint, 0);
    EXPECT_EQ(ComputeLandscapeChart(doc).XLabels, grid);
    // Finished at sensor range 5 the sweep used 1, 3, 5, 5, 5, 5 again; the
    // reset of its results when the landscape is chosen anew forgets them.
    doc.RedForce.A_S_RANGE[1] = 5;
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Experiment.LandscapeGridPoint, doc.Experiment.LandscapePointCount);
    ASSERT_EQ(ComputeLandscapeChart(doc).XLabels, used);
    Hooks.AnswerDialog(IDOK, {{RP::IDC_CONDITIONS, "1"}, {RP::IDC_MAX_TIME, "1"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_X_NAME, "Alive Fire Range"}, {P::IDC_X_MIN, "1"}, {P::IDC_X_MAX, "11"},
                              {P::IDC_X_SAMPLES, "5"}, {P::IDC_Y_SAMPLES, "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_LANDSCAPE));
    EXPECT_EQ(ComputeLandscapeChart(doc).XLabels, grid);
}

TEST_F(LandscapeCommands, RawDataQuestionAnswersNoUnlessAskedAndObjectiveRanges)
{
    CLandscapeRawDataDlg raw(Doc());
    SetModalHooks(raw, &Hooks);
    Hooks.AnswerDialog(IDOK);
    raw.DoModal();
    EXPECT_EQ(raw.StoreRawData, 0);

    CLandscapeObjectiveDlg dlg(Doc());
    SetModalHooks(dlg, &Hooks);
    Hooks.AnswerDialog(IDOK, {{O::WeightIds[1], "100.5"}});
    Hooks.AnswerDialog(IDOK, {{O::WeightIds[1], "100"}, {O::IDC_WIN_THRESHOLD, "1.0"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.Weight[1], 100.0);
    EXPECT_EQ(dlg.WinThreshold, 1.0);
    EXPECT_EQ(Messages("100"), 1);
}

TEST_F(LandscapeCommands, LoadCommandReportsAFileThatDoesNotOpen)
{
    const int mode = Doc().RunMode;
    Hooks.AnswerFile((std::filesystem::path(BREVIMAR_BINARY_DIR) / "no-such-landscape.f1").string());
    ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_LANDSCAPE));
    EXPECT_EQ(Messages("cannot open input file"), 1);
    EXPECT_EQ(Doc().RunMode, mode);
}

TEST_F(LandscapeCommands, ClosingTheWindowDuringASweepPausesItInstead)
{
    Doc().Experiment.LandscapeBusy = 1;
    Doc().Resume();
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    ASSERT_EQ(Frame().MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(Doc().Paused, 1);
    Doc().Experiment.LandscapeBusy = 0;
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Frame().MdiArea()->subWindowList().isEmpty());
}

// scenario_v1.dat (3 RED in one squad); RED squad 1's alive sensor range 6
// and 8 by its COMBAT threshold -1 and 1, two runs of 3 steps a point,
// paused at the last observation of the first run. Two RED agents placed
// there take their squad's values (the point's sensor range, 6) and count
// in no observation of that run: it scores as it did in the sweep run
// through without them.
TEST_F(LandscapeCommands, AnAgentPlacedAtARunsLastObservationCountsInNoneOfIt)
{
    CBrevimarDoc& doc = Doc();
    auto choose = [&] {
        ChooseBatch(Frame(), doc, V::ID_RUN_MODE_LANDSCAPE);
        doc.Landscape.Settings.LandscapeInitialConditions = 2;
    };
    choose();
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Experiment.LandscapeGridPoint, 4);
    std::vector<double> whole;
    for (int k = 1; k <= 12; ++k)
        whole.push_back(doc.Landscape.RawMeasureAt(k, 1, 1, 1));

    choose();
    const CLandscapeRunState& run = doc.Landscape.Run;
    std::function<void()> watch = [&] {
        if (run.RunOpen == 1 && run.LandscapeConditionIndex == 1 && run.LandscapeTime == 3)
            doc.Pause();
        else
            QTimer::singleShot(0, View(), watch);
    };
    watch();
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Paused, 1);
    ASSERT_EQ(doc.Experiment.LandscapeGridPoint, 0);
    ASSERT_TRUE(Frame().RunCommand(33230));  // RED agents by right click
    PlaceByHand(2);
    ASSERT_EQ(doc.RedForce.NumAgents, 5);
    EXPECT_EQ(doc.RedForce.SensorRangeAlive[4], 6);
    EXPECT_EQ(doc.RedForce.SensorRangeAlive[5], 6);
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Experiment.LandscapeGridPoint, 4);
    for (int k = 1; k <= 12; ++k)
        EXPECT_EQ(doc.Landscape.RawMeasureAt(k, 1, 1, 1), whole[k - 1]) << "measure " << k;
}

}  // namespace
}  // namespace brevimar::testing
