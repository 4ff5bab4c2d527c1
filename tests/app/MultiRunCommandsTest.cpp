#include "app/AppFixture.h"
#include "charts/AttritionGraph.h"
#include "collect/MultiRunRawReports.h"
#include "collect/RawAttritionReport.h"
#include "core/BattlefieldPicture.h"
#include "dialogs/AgentParamsDlg.h"
#include "dialogs/MultiRunDialogs.h"
#include "dialogs/SaveRawAttritionDlg.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace brevimar::testing {
namespace {

using V = CBrevimarView;
using P = CMultiRunParamsDlg;

class MultiRunCommands : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
    }
    bool Enabled(unsigned id)
    {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        return ui.Enabled;
    }
    // Chooses the mode with S samples of T steps, weapons raw data off.
    void Choose(int samples, int steps)
    {
        Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, std::to_string(samples)}, {P::IDC_RUN_TIME, std::to_string(steps)}});
        ASSERT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
        Doc().WeaponStatsOn = 0;
    }
    void Go()
    {
        Doc().Resume();
        View()->OnTimer(V::RunTimerId);
    }
    void PlaceThreeInSampleTwoWhereNoneIsLost();
    void Open(const std::string& path)
    {
        App->OpenDocumentFile(path);
        Doc().Pause();
    }
    // What the batch on show shows: the status line, the attrition chart's
    // title and points, and the three raw reports.
    std::string Shown()
    {
        CBrevimarDoc& doc = Doc();
        std::ostringstream out;
        doc.ShowMultipleTimeSeriesStatus();
        out << doc.StatusText << '\n';
        doc.Charts.AttritionShowAll = doc.Charts.AttritionShowRedTotal = doc.Charts.AttritionShowBlueAlive = 1;
        QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);
        const chart::HGRAPH g = w->Graph.GraphHandle;
        out << chart::GetProperty(g, chart::Prop::GraphTitle).ToText() << '\n';
        const int sets = chart::GetProperty(g, chart::Prop::NumSets).ToInt();
        const int points = chart::GetProperty(g, chart::Prop::NumPoints).ToInt();
        for (int set = 0; set < sets; ++set)
            for (int p = 1; p <= points; ++p)
                out << chart::GetProperty(g, chart::Prop::GraphData, set, p).ToText() << ' ';
        delete w;
        const std::string stem = TempFolder() + "/shown";
        const std::string files[] = {stem + ".mts", stem + ".mtg", stem + ".att"};
        for (const std::string& file : files) {
            std::remove(file.c_str());
            Hooks.AnswerFile(file);
        }
        WriteRawSampleData(doc);
        WriteRawGraphData(doc);
        WriteRawAttritionFile(doc, RawAttritionLevels{});
        for (const std::string& file : files) {
            std::ifstream in(file);
            out << "\n== " << file << '\n' << in.rdbuf();
        }
        return out.str();
    }
    std::vector<std::string> DialogTitles() const
    {
        std::vector<std::string> titles;
        for (const ModalRecord& r : Hooks.Log())
            if (r.Kind == ModalKind::Dialog)
                titles.push_back(r.Title);
        return titles;
    }
};

TEST_F(MultiRunCommands, ModeParametersBatchAndCompletion)
{
    CBrevimarDoc& doc = Doc();
    ASSERT_TRUE(Enabled(V::ID_MULTIPLE_TIME_SERIES));
    // 351 samples and a run time of 202 do not fit the arrays: refused.
    Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "351"}, {P::IDC_RUN_TIME, "5"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "3"}, {P::IDC_RUN_TIME, "202"}});
    Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "3"}, {P::IDC_RUN_TIME, "5"}});
    ASSERT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
    EXPECT_EQ(doc.RunMode, MultipleTimeSeriesMode);
    EXPECT_EQ(doc.Series.MultiRunSampleCount, 3);
    EXPECT_EQ(doc.Series.MultiRunStepCount, 5);
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_NE(doc.StatusText.find("[ Samples ]: 0/3     [ Time ]: 0/5"), std::string::npos) << doc.StatusText;
    EXPECT_FALSE(Enabled(V::ID_MULTIPLE_TIME_SERIES)) << "only from run mode 1";

    // While the batch pumps, its counts cannot change.
    doc.Series.MultiRunBusy = 1;
    EXPECT_FALSE(Enabled(V::ID_EDIT_MULTI_RUN_PARAMETERS));
    doc.Series.MultiRunBusy = 0;
    doc.WeaponStatsOn = 0;
    doc.Resume();
    // The run timer reaches the driver; the status line follows its progress.
    View()->OnTimer(V::RunTimerId);
    EXPECT_EQ(doc.Series.MultiRunSample, 3);
    EXPECT_EQ(doc.Series.MultiRunBusy, 0);
    EXPECT_NE(doc.StatusText.find("[ Samples ]: 3/3     [ Time ]: 5/5"), std::string::npos) << doc.StatusText;

    // The next tick: the notice, then the raw-data question.
    Hooks.Reset();
    Hooks.Enable(true);
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerDialog(IDOK, {{CMultiRunRawDataDlg::IDC_GRAPH_YES, "1"},
                                    {CMultiRunRawDataDlg::IDC_ATTRITION_YES, "1"}});
    const std::string folder = TempFolder();
    const std::string graph = folder + "/completion_graph.mtg";
    const std::string attrition = folder + "/completion_attrition.att";
    std::remove(graph.c_str());
    std::remove(attrition.c_str());
    // No chart was drawn, so there is no graph to write: only a notice, and
    // the one file chosen goes to the attrition report.
    // The level dialog is closed without OK (nothing queued): its defaults hold.
    Hooks.AnswerFile(attrition);
    View()->OnTimer(V::RunTimerId);
    const std::vector<std::string> titles = DialogTitles();
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles[0], "Run Mode::Multiple Time-Series");
    EXPECT_EQ(titles[1], "Multiple Time-Series Raw Data");
    EXPECT_EQ(titles[2], "Data Collect::Save Raw Attrition");
    EXPECT_EQ(Hooks.Log().back().Text, "Raw Multiple Time Series Attrition Data (*.att)|*.att||");
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_FALSE(std::ifstream(graph).good());
    bool told = false;
    for (const auto& entry : Hooks.Log())
        told |= entry.Kind == ModalKind::MessageBox && entry.Text.find("No raw graph data") != std::string::npos;
    EXPECT_TRUE(told);
    std::ifstream report(attrition);
    std::string line;
    bool levels = false, samples = false;
    while (std::getline(report, line)) {
        samples |= line == "Samples:                  3   Time/Sample:              5";
        levels |= line == "    %[1]= 0.90000  %[2]= 0.75000  %[3]= 0.50000  %[4]= 0.10000";
    }
    EXPECT_TRUE(samples);
    EXPECT_TRUE(levels);
}

TEST_F(MultiRunCommands, AveragedAttritionStartsWithTheWholeForces)
{
    // Every sample deploys both forces whole, so at step 0 each curve that
    // counts the alive or all present agents stands at 1 with no spread: the
    // chart's first point, handed to the graph file as its row for t = 1.
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "2"}, {P::IDC_RUN_TIME, "4"}});
    ASSERT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
    doc.WeaponStatsOn = 0;
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.Series.MultiRunSample, 2);
    CChartSelections& c = doc.Charts;
    c.AttritionShowAll = c.AttritionShowRedAlive = c.AttritionShowBlueTotal = 1;
    c.AttritionShowRedInjured = c.AttritionShowRedTotal = c.AttritionShowBlueAlive = c.AttritionShowBlueInjured = 0;
    QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);
    ASSERT_EQ(doc.MultiRunCharts.MultiRunGraphCount, 3);
    for (int g = 0; g < 3; ++g) {
        EXPECT_DOUBLE_EQ(doc.MultiRunCharts.MultiRunGraphSeries[g][1], 1.0) << g;
        EXPECT_EQ(doc.MultiRunCharts.MultiRunGraphDev[g][1], 0.0) << g;
    }
    const std::string path = TempFolder() + "/averaged_attrition.mtg";
    std::remove(path.c_str());
    Hooks.AnswerFile(path);
    WriteRawGraphData(doc);
    std::ifstream in(path);
    std::string line;
    int firstRows = 0;
    while (std::getline(in, line))
        firstRows += line == "1 1.0000 0.0000";
    EXPECT_EQ(firstRows, 3);
    delete w;
}

TEST_F(MultiRunCommands, EditCancelKeepsTheCounts)
{
    CBrevimarDoc& doc = Doc();
    doc.Series.MultiRunSampleCount = 7;
    doc.Series.MultiRunStepCount = 9;
    Hooks.AnswerDialog(IDCANCEL, {{P::IDC_SAMPLES, "2"}});
    ASSERT_TRUE(View()->MessageMap().Execute(V::ID_EDIT_MULTI_RUN_PARAMETERS));
    EXPECT_EQ(doc.Series.MultiRunSampleCount, 7);
    EXPECT_EQ(doc.Series.MultiRunStepCount, 9);
}

// Before the mode is chosen the dialog offers a batch's defaults, 10 samples
// of 100 steps; a count of 0 is refused whether it was typed or held.
TEST_F(MultiRunCommands, EditBeforeTheModeOffersTheDefaultsAndRefusesZero)
{
    CBrevimarDoc& doc = Doc();
    ASSERT_EQ(doc.RunMode, InteractiveMode);
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(View()->MessageMap().Execute(V::ID_EDIT_MULTI_RUN_PARAMETERS));
    EXPECT_EQ(doc.Series.MultiRunSampleCount, 10);
    EXPECT_EQ(doc.Series.MultiRunStepCount, 100);

    const struct {
        int HeldSamples, HeldSteps;
        std::map<int, std::string> Typed;
        const char* Message;
    } cases[] = {
        {0, 100, {}, "Please enter an integer between 1 and 350."},
        {10, 100, {{P::IDC_SAMPLES, "0"}}, "Please enter an integer between 1 and 350."},
        {10, 0, {}, "Please enter an integer between 1 and 201."},
    };
    for (const auto& c : cases) {
        doc.Series.MultiRunSampleCount = c.HeldSamples;
        doc.Series.MultiRunStepCount = c.HeldSteps;
        const std::size_t logged = Hooks.Log().size();
        Hooks.AnswerDialog(IDOK, c.Typed);
        Hooks.AnswerDialog(IDCANCEL);
        ASSERT_TRUE(View()->MessageMap().Execute(V::ID_EDIT_MULTI_RUN_PARAMETERS));
        ASSERT_GT(Hooks.Log().size(), logged);
        EXPECT_EQ(Hooks.Log()[logged].Text, c.Message);
        EXPECT_EQ(Hooks.Log().back().Result, IDCANCEL);
        EXPECT_EQ(doc.Series.MultiRunSampleCount, c.HeldSamples);
        EXPECT_EQ(doc.Series.MultiRunStepCount, c.HeldSteps);
    }
}

// A batch paused in its first sample and then left by closing its window
// (the first close only pauses the batch under way), by ending the program
// or by reading a terrain file (which selects the interactive run): each
// time the weapons raw-data file ends on one line that says so.
TEST_F(MultiRunCommands, LeavingAPausedBatchMarksItsWeaponsFile)
{
    enum class Leave { CloseWindow, EndProgram, ReadTerrain };
    for (const Leave leave : {Leave::CloseWindow, Leave::EndProgram, Leave::ReadTerrain}) {
        SCOPED_TRACE(static_cast<int>(leave));
        if (leave != Leave::CloseWindow) {
            App.reset();
            Hooks.Reset();
            Hooks.Enable(true);
            App = std::make_unique<CBrevimarApp>(&Hooks);
            Hooks.AnswerFile(Fixture("scenario_v1.dat"));
            ASSERT_TRUE(Start());
        }
        CBrevimarDoc& doc = Doc();
        doc.RedForce.WeaponsOn = 1;
        Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "3"}, {P::IDC_RUN_TIME, "5"}});
        ASSERT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
        const std::string path = TempFolder() + "/left_batch.rwd";
        std::remove(path.c_str());
        Hooks.AnswerDialog(IDOK);  // keep the weapons raw data
        Hooks.AnswerFile(path);
        doc.Resume();
        // Given while the batch pumps its first step.
        QTimer::singleShot(0, [this, leave, &doc] {
            if (leave == Leave::CloseWindow)
                Frame().MdiArea()->closeAllSubWindows();
            else
                doc.Pause();
        });
        View()->OnTimer(V::RunTimerId);
        ASSERT_EQ(doc.MultiRunData.BatchOpen, 1);
        ASSERT_EQ(doc.Series.MultiRunSample, 1);
        switch (leave) {
        case Leave::CloseWindow:
            ASSERT_EQ(Frame().MdiArea()->subWindowList().size(), 1) << "the first close pauses";
            Frame().MdiArea()->closeAllSubWindows();
            QCoreApplication::processEvents();
            break;
        case Leave::EndProgram:
            App.reset();
            break;
        case Leave::ReadTerrain:
            Hooks.AnswerFile(Fixture("terrain_small.ter"));
            ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_TERRAIN));
            ASSERT_EQ(doc.RunMode, InteractiveMode);
            break;
        }
        std::ifstream file(path);
        std::string line, last;
        int notes = 0;
        while (std::getline(file, line)) {
            last = line;
            notes += line.find("INCOMPLETE") != std::string::npos;
        }
        EXPECT_EQ(last, "* INCOMPLETE: the run was ended during sample 1 of 3");
        EXPECT_EQ(notes, 1);
    }
}

// Pauses the batch as the user would, once it has taken step `step` of
// sample `sample`: the batch pumps a message per step, and this looks again
// at each one.
void PauseAt(CBrevimarDoc& doc, QObject* context, int sample, int step)
{
    QTimer::singleShot(0, context, [&doc, context, sample, step] {
        const CStatisticsSeries& s = doc.Series;
        if (s.MultiRunSample == sample && s.MultiRunStep == step)
            doc.Pause();
        else
            PauseAt(doc, context, sample, step);
    });
}

// Edit > RED Data > User-Defined (Click w/Right Mouse Button).
constexpr unsigned RedPlacementByHand = 33230;

// No shot hits and no fratricide is on, so no agent is ever lost; 3 samples
// of 8, paused in sample 2 at step 3, where three RED agents are placed.
void MultiRunCommands::PlaceThreeInSampleTwoWhereNoneIsLost()
{
    CBrevimarDoc& doc = Doc();
    for (Side side : {Side::Red, Side::Blue})
        for (int q = 1; q <= MaxSquads; ++q)
            doc.Force(side).shot_prob_alive[q] = doc.Force(side).shot_prob_injured[q] = 0;
    doc.Battlefield.red_frat_flag = doc.Battlefield.blue_frat_flag = 0;
    Choose(3, 8);
    PauseAt(doc, View(), 2, 3);
    Go();
    ASSERT_TRUE(Frame().RunCommand(RedPlacementByHand));
    PlaceByHand(3);
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

// A batch of 3 samples paused in sample 2: the attrition chart opened there
// draws no point and hands nothing on, and the three raw reports asked with
// it are not written; one box says how far the batch has come. Run on to its
// end, the batch's graph file holds no row of that chart: none was drawn
// since it ended.
TEST_F(MultiRunCommands, APausedBatchChartsAndReportsNothing)
{
    using R = CMultiRunRawDataDlg;
    CBrevimarDoc& doc = Doc();
    Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "3"}, {P::IDC_RUN_TIME, "5"}});
    ASSERT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
    doc.WeaponStatsOn = 0;
    PauseAt(doc, View(), 2, 2);
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.MultiRunData.BatchOpen, 1);
    ASSERT_EQ(doc.Series.MultiRunSample, 2);

    const std::string folder = TempFolder();
    const std::string files[] = {folder + "/paused.mts", folder + "/paused.mtg", folder + "/paused.att"};
    for (const std::string& file : files)
        std::remove(file.c_str());
    Hooks.Reset();
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerDialog(IDOK, {{R::IDC_SAMPLE_YES, "1"}, {R::IDC_GRAPH_YES, "1"}, {R::IDC_ATTRITION_YES, "1"}});
    for (const std::string& file : files)
        Hooks.AnswerFile(file);
    ASSERT_TRUE(Frame().RunCommand(V::ID_ATTRITION_GRAPH));
    QPointer<CAttritionGraphDlg> w = dynamic_cast<CAttritionGraphDlg*>(View()->LastChartWindow.data());
    ASSERT_TRUE(w);
    for (int set : {0, 1})
        for (int p = 0; p <= 5; ++p)
            EXPECT_FALSE(chart::HasProperty(w->Graph.GraphHandle, chart::Prop::GraphData, set, p)) << set << "," << p;
    delete w;
    for (const std::string& file : files)
        EXPECT_FALSE(Exists(file)) << file;
    std::vector<std::string> boxes;
    for (const ModalRecord& r : Hooks.Log())
        if (r.Kind == ModalKind::MessageBox)
            boxes.push_back(r.Text);
    EXPECT_EQ(boxes, std::vector<std::string>{"The multiple time-series batch has not ended: sample 2 of 3. Its raw "
                                              "reports are written once it ends."});
    EXPECT_EQ(doc.MultiRunGraphLabels[0], "");

    // On to the end, then the completion with the graph file asked for.
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.MultiRunData.BatchOpen, 0);
    Hooks.Reset();
    Hooks.AnswerDialog(IDOK);
    Hooks.AnswerDialog(IDOK, {{R::IDC_GRAPH_YES, "1"}});
    Hooks.AnswerFile(files[1]);
    View()->OnTimer(V::RunTimerId);
    EXPECT_FALSE(Exists(files[1]));
    ASSERT_FALSE(Hooks.Log().empty());
    EXPECT_EQ(Hooks.Log().back().Text.rfind("No raw graph data was written", 0), 0u) << Hooks.Log().back().Text;
}

// RED squad 1 made 3 larger while a batch of 3 samples stands paused in
// sample 2: the batch goes on with the new force, but sample 2 starts again
// at its step 0, so its present RED agents never grow from one step to the
// next; and each sample counts against the force it started with: sample 1's
// row of the attrition report is that of the same batch without the edit,
// and the averaged RED curve starts at 1 (every agent of every sample alive
// at deployment: 3 + 6 + 6 of scenario_v1.dat's 3 RED, then 6).
TEST_F(MultiRunCommands, AnEditDuringAPauseCountsEachSampleAgainstItsOwnForce)
{
    using R = CMultiRunRawDataDlg;
    CBrevimarDoc& doc = Doc();
    const int red = doc.RedForce.NumAgents;
    auto batch = [&](bool edit) {
        Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "3"}, {P::IDC_RUN_TIME, "5"}});
        EXPECT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
        doc.WeaponStatsOn = 0;
        if (edit)
            PauseAt(doc, View(), 2, 3);
        doc.Resume();
        View()->OnTimer(V::RunTimerId);
        if (edit) {
            EXPECT_EQ(doc.MultiRunData.BatchOpen, 1);
            Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SQUAD_SIZE, std::to_string(doc.RedForce.num_per_squad[1] + 3)}});
            EXPECT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
            EXPECT_EQ(doc.RedForce.NumAgents, red + 3);
            doc.Resume();
            View()->OnTimer(V::RunTimerId);
        }
        EXPECT_EQ(doc.MultiRunData.BatchOpen, 0);
        const std::string path = TempFolder() + (edit ? "/edited.att" : "/plain.att");
        std::remove(path.c_str());
        Hooks.AnswerDialog(IDOK);
        Hooks.AnswerDialog(IDOK, {{R::IDC_ATTRITION_YES, "1"}});
        Hooks.AnswerDialog(IDOK);  // the report's levels as they stand
        Hooks.AnswerFile(path);
        View()->OnTimer(V::RunTimerId);
        std::ifstream in(path);
        std::string line, row;
        bool table = false;
        while (std::getline(in, line) && row.empty()) {
            table |= line.find("(Total) Attrition by Sample") != std::string::npos;
            if (table && line.rfind("     1 ", 0) == 0)
                row = line;
        }
        EXPECT_FALSE(row.empty());
        return row;
    };
    const std::string plain = batch(false);
    const std::string edited = batch(true);
    EXPECT_EQ(edited, plain);
    int before = red + 3;
    for (int k = 0; k < 5; ++k) {
        const int present = doc.SampleRedAlive[SampleIndex(2, k)] + doc.SampleRedInjured[SampleIndex(2, k)];
        EXPECT_LE(present, before) << "step " << k;
        before = present;
    }
    EXPECT_EQ(doc.SampleRedAlive[SampleIndex(2, 0)], red + 3);
    doc.Charts.AttritionShowRedTotal = 1;
    QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);
    EXPECT_EQ(chart::GetProperty(w->Graph.GraphHandle, chart::Prop::GraphData, 0, 1).ToDouble(), 1.0);
    delete w;
}

// The sample started again by an edit during the pause writes its rows of
// the weapons raw-data file once, from its first step: the rows of its
// first start are gone.
TEST_F(MultiRunCommands, ASampleStartedAgainWritesItsWeaponRowsOnce)
{
    CBrevimarDoc& doc = Doc();
    doc.RedForce.WeaponsOn = 1;
    Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "2"}, {P::IDC_RUN_TIME, "4"}});
    ASSERT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
    const std::string path = TempFolder() + "/again.rwd";
    std::remove(path.c_str());
    Hooks.AnswerDialog(IDOK);  // keep the weapons raw data
    Hooks.AnswerFile(path);
    PauseAt(doc, View(), 1, 2);
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.MultiRunData.SampleOpen, 1);
    Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SQUAD_SIZE, std::to_string(doc.RedForce.num_per_squad[1] + 1)}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
    doc.Resume();
    View()->OnTimer(V::RunTimerId);
    ASSERT_EQ(doc.MultiRunData.BatchOpen, 0);
    std::ifstream in(path);
    std::vector<std::string> heads;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("SAMPLE", 0) == 0 || (!line.empty() && line[0] >= '1' && line[0] <= '9'))
            heads.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(heads, (std::vector<std::string>{"SAMPLE", "1", "2", "3", "SAMPLE", "1", "2", "3"}));
}

// ---- The raw reports of a batch whose sample was started again ----

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The first word of each sample's heading and of each row of a weapons
// raw-data file, in order.
std::vector<std::string> SampleAndRowHeads(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> heads;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("SAMPLE", 0) == 0 || (!line.empty() && line[0] >= '1' && line[0] <= '9'))
            heads.push_back(line.substr(0, line.find(' ')));
    return heads;
}

// 3 samples of 4 steps, so each sample writes its heading and the rows of
// steps 1..3; an edit in a pause after step 2 of sample 2 starts it again.
// The file is cut back to where sample 2 began, just after sample 1's row
// of step 3, and the batch goes on from that very byte: the file ends as
// the cut, then samples 2 and 3 once each, with no gap of NUL bytes.
TEST_F(MultiRunCommands, ASampleStartedAgainGoesOnInItsWeaponsFileWhereItBegan)
{
    CBrevimarDoc& doc = Doc();
    doc.RedForce.WeaponsOn = 1;
    Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, "3"}, {P::IDC_RUN_TIME, "4"}});
    ASSERT_TRUE(View()->MessageMap().Execute(V::ID_MULTIPLE_TIME_SERIES));
    const std::string path = TempFolder() + "/cut.rwd";
    Hooks.AnswerDialog(IDOK);  // keep the weapons raw data
    Hooks.AnswerFile(path);
    PauseAt(doc, View(), 2, 2);
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 2);
    Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SQUAD_SIZE, std::to_string(doc.RedForce.num_per_squad[1] + 1)}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
    const std::string cut = FileBytes(path);
    EXPECT_EQ(SampleAndRowHeads(cut), (std::vector<std::string>{"SAMPLE", "1", "2", "3"}));
    EXPECT_EQ(cut.substr(cut.rfind('\n') + 1, 11), "3          ") << "sample 1's last row ends the cut";
    Go();
    ASSERT_EQ(doc.MultiRunData.BatchOpen, 0);
    const std::string whole = FileBytes(path);
    EXPECT_EQ(whole.find('\0'), std::string::npos);
    EXPECT_EQ(whole.substr(0, cut.size()), cut);
    EXPECT_EQ(whole.substr(cut.size(), 14), "\n\nSAMPLE 2\n\n1 ");
    std::vector<std::string> heads;
    for (int s = 1; s <= 3; ++s)
        heads.insert(heads.end(), {"SAMPLE", "1", "2", "3"});
    EXPECT_EQ(SampleAndRowHeads(whole), heads);
}

// The rows of the table under `heading` in a report: from the first empty
// line after the heading to the next one.
std::vector<std::string> TableRows(const std::string& report, const std::string& heading)
{
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line) && line != heading) {
    }
    while (std::getline(in, line) && !line.empty()) {
    }
    std::vector<std::string> rows;
    while (std::getline(in, line) && !line.empty())
        rows.push_back(line);
    return rows;
}

// An integer right-aligned in `width`, then values as the report writes
// them: 5 significant digits with the point, right-aligned in 12.
std::string ReportRow(int first, int width, std::initializer_list<double> values)
{
    char cell[32];
    std::snprintf(cell, sizeof cell, "%*d", width, first);
    std::string row = cell;
    for (double v : values) {
        std::snprintf(cell, sizeof cell, "%#12.5g", v);
        row += cell;
    }
    return row;
}

// scenario_v1.dat: RED one squad of 3, BLUE one squad of 2. In a batch of 3
// samples of 5 steps, RED squad 1 is cut to 1 agent in a pause in sample 2:
// sample 1 ran with 3 RED, samples 2 (started again) and 3 with 1. The
// report counts each sample's losses by its last step, 4, against its own
// force, squad tables included, and its casualty tables run to the largest
// force a sample had (RED 3, Total 5), not to the force as it stands now
// (1 and 3).
TEST_F(MultiRunCommands, TheAttritionReportOfABatchEditedInAPauseCountsEachSampleAgainstItsOwnForce)
{
    CBrevimarDoc& doc = Doc();
    ASSERT_EQ(doc.RedForce.NumSquads, 1);
    ASSERT_EQ(doc.RedForce.num_per_squad[1], 3);
    ASSERT_EQ(doc.BlueForce.NumAgents, 2);
    Choose(3, 5);
    PauseAt(doc, View(), 2, 3);
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 2);
    Hooks.AnswerDialog(IDOK, {{CAgentParamsDlg::IDC_SQUAD_SIZE, "1"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_RED_AGENTS));
    ASSERT_EQ(doc.RedForce.NumAgents, 1);
    Go();
    ASSERT_EQ(doc.MultiRunData.BatchOpen, 0);
    const std::string path = TempFolder() + "/edited.att";
    Hooks.AnswerFile(path);
    WriteRawAttritionFile(doc, RawAttritionLevels{});
    const std::string report = FileBytes(path);

    const int red[4] = {0, 3, 1, 1};  // by sample
    int redLost[4] = {}, squadLost[4] = {}, totalLost[4] = {};
    for (int s = 1; s <= 3; ++s) {
        const int cell = SampleIndex(s, 4), squadCell = SquadSampleIndex(1, s, 4);
        redLost[s] = red[s] - doc.SampleRedAlive[cell] - doc.SampleRedInjured[cell];
        squadLost[s] = red[s] - doc.SampleSquadRedAlive[squadCell] - doc.SampleSquadRedInjured[squadCell];
        totalLost[s] = redLost[s] + 2 - doc.SampleBlueAlive[cell] - doc.SampleBlueInjured[cell];
    }
    // The share of the 3 samples that lost c.
    auto share = [](const int (&lost)[4], int c) { return ((lost[1] == c) + (lost[2] == c) + (lost[3] == c)) / 3.0; };
    std::vector<std::string> redCasualties, totalCasualties, squadBySample, squadCasualties;
    for (int c = 1; c <= 3; ++c)
        redCasualties.push_back(ReportRow(c, 4, {share(redLost, c)}));
    for (int c = 1; c <= 5; ++c)
        totalCasualties.push_back(ReportRow(c, 4, {share(totalLost, c)}));
    for (int s = 1; s <= 3; ++s)
        squadBySample.push_back(ReportRow(s, 6, {double(squadLost[s]), 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (int c = 1; c <= 3; ++c)
        squadCasualties.push_back(ReportRow(c, 4, {share(squadLost, c), 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(TableRows(report, "=== Distribution of Red Casualties  ==="), redCasualties);
    EXPECT_EQ(TableRows(report, "=== Distribution of Total Casualties  ==="), totalCasualties);
    EXPECT_EQ(TableRows(report, "===  Red Squad-specific Attrition by Sample: [Squad 1]  [Squad 2]   [Squad 10];  ==="),
              squadBySample);
    EXPECT_EQ(TableRows(report, "=== Distribution of Red Squad-Specific Casualties  ==="), squadCasualties);
}

std::string SmallScenario() { return std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat"; }

// Agents of a side present (alive or injured) at step k of sample s.
int Present(const CBrevimarDoc& doc, Side side, int s, int k)
{
    const bool red = side == Side::Red;
    return (red ? doc.SampleRedAlive : doc.SampleBlueAlive)[SampleIndex(s, k)] +
           (red ? doc.SampleRedInjured : doc.SampleBlueInjured)[SampleIndex(s, k)];
}

// No sample has more agents present than the force its losses count
// against: no killed count below 0, no fraction above 1.
void ExpectNoneAboveItsForce(const CBrevimarDoc& doc, int samples, int steps)
{
    for (int s = 1; s <= samples; ++s)
        for (Side side : {Side::Red, Side::Blue})
            for (int k = 0; k < steps; ++k)
                ASSERT_LE(Present(doc, side, s, k), doc.SampleForce(side, s).Agents) << s << " " << k;
}

// A batch of 3 samples of 8 steps, ended; then 6 samples set, then a run
// time of 30, then of 4, each for the next batch: the ended batch's status
// line, attrition chart and raw reports stay what they were. Go then runs
// the 6 samples of 4 steps set, and its reports speak of them.
TEST_F(MultiRunCommands, AnEndedBatchIsShownWithTheSizeItRan)
{
    CBrevimarDoc& doc = Doc();
    Choose(3, 8);
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 3);
    const std::string ran = Shown();
    ASSERT_NE(ran.find("[ Samples ]: 3/3     [ Time ]: 8/8"), std::string::npos) << ran;
    ASSERT_NE(ran.find("Samples:                  3   Time/Sample:              8"), std::string::npos);
    for (const auto& [samples, steps] : {std::pair{6, 8}, {6, 30}, {6, 4}}) {
        Hooks.AnswerDialog(IDOK, {{P::IDC_SAMPLES, std::to_string(samples)}, {P::IDC_RUN_TIME, std::to_string(steps)}});
        ASSERT_TRUE(View()->MessageMap().Execute(V::ID_EDIT_MULTI_RUN_PARAMETERS));
        EXPECT_TRUE(Shown() == ran) << samples << " x " << steps;
    }
    Go();
    EXPECT_EQ(doc.Series.MultiRunSample, 6);
    const std::string next = Shown();
    EXPECT_NE(next.find("Samples:                  6   Time/Sample:              4"), std::string::npos);
    EXPECT_NE(next.find("(6 Samples)"), std::string::npos);
}

// small.dat, 3 samples of 60, paused in sample 2 at step 45 (RED has lost
// agents by then); a matrix file saved and read back, which restarts the
// battle: sample 2 starts again at its step 0, so its present RED agents
// never grow from one step to the next.
TEST_F(MultiRunCommands, AMatrixReadInAPauseStartsTheSampleAgain)
{
    for (const auto& [save, load] : {std::pair{V::ID_FILE_SAVE_SQUAD_MATRIX, V::ID_FILE_LOAD_SQUAD_MATRIX},
                                     {V::ID_FILE_SAVE_COMM_MATRIX, V::ID_FILE_LOAD_COMM_MATRIX}}) {
        SCOPED_TRACE(load);
        Open(SmallScenario());
        CBrevimarDoc& doc = Doc();
        Choose(3, 60);
        PauseAt(doc, View(), 2, 45);
        Go();
        ASSERT_EQ(doc.Series.MultiRunSample, 2);
        const std::string path = TempFolder() + "/paused_batch.matrix";
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Frame().RunCommand(save));
        Hooks.AnswerFile(path);
        ASSERT_TRUE(Frame().RunCommand(load));
        ASSERT_EQ(doc.RunMode, MultipleTimeSeriesMode);
        EXPECT_NE(doc.StatusText.find("[ Samples ]: 2/3     [ Time ]: 0/60"), std::string::npos) << doc.StatusText;
        EXPECT_EQ(MultiRunUnfinishedNote(doc), "The multiple time-series batch has not ended: sample 2 of 3. Its raw "
                                               "reports are written once it ends.");
        Go();
        ASSERT_EQ(doc.MultiRunData.BatchOpen, 0);
        for (int k = 1; k < 60; ++k)
            EXPECT_LE(Present(doc, Side::Red, 2, k), Present(doc, Side::Red, 2, k - 1)) << k;
    }
}

// small.dat, 3 samples of 60, paused in sample 1 at step 53; RED placement
// by hand chosen and one agent placed. The agent joins sample 1, and every
// later sample is deployed afresh at random, its forces whole: no sample goes
// on from the last one's dead and injured.
TEST_F(MultiRunCommands, HandPlacementChosenInAPauseLeavesEverySampleWhole)
{
    Open(SmallScenario());
    CBrevimarDoc& doc = Doc();
    const int red = doc.RedForce.NumAgents, blue = doc.BlueForce.NumAgents;
    Choose(3, 60);
    PauseAt(doc, View(), 1, 53);
    Go();
    ASSERT_TRUE(Frame().RunCommand(RedPlacementByHand));
    PlaceByHand(1);
    ASSERT_EQ(doc.RedForce.NumAgents, red + 1);
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 3);
    for (int s = 2; s <= 3; ++s) {
        EXPECT_EQ(Present(doc, Side::Red, s, 0), red + 1) << s;
        EXPECT_EQ(Present(doc, Side::Blue, s, 0), blue) << s;
    }
    ExpectNoneAboveItsForce(doc, 3, 60);
}

// small.dat (RED 25 + 25), 3 samples of 60, paused in sample 1 at step 53;
// a live RED agent of squad 1 taken off by hand. It is no longer the
// scenario's: the next samples deploy the 24 + 25 a save now holds, and
// count against them.
TEST_F(MultiRunCommands, AnAgentTakenOffInAPauseIsGoneFromLaterSamples)
{
    Open(SmallScenario());
    CBrevimarDoc& doc = Doc();
    Choose(3, 60);
    PauseAt(doc, View(), 1, 53);
    Go();
    ASSERT_TRUE(Frame().RunCommand(RedPlacementByHand));
    const CForce& red = doc.RedForce;
    int i = 1;
    while (i < red.NumAgents && (red.AgentSquad[i] != 1 || red.AgentState[i] == Dead))
        ++i;
    const CBattlefieldGeometry g = BattlefieldGeometry(doc);
    View()->OnRButtonUp(0, QPoint(static_cast<int>(g.WindowX(red.AgentX[i])) + 2,
                                  static_cast<int>(g.WindowY(red.AgentY[i])) + 2));
    ASSERT_EQ(red.AgentState[i], Dead);
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 3);
    for (int s = 2; s <= 3; ++s) {
        EXPECT_EQ(Present(doc, Side::Red, s, 0), 49) << s;
        EXPECT_EQ(doc.SampleForce(Side::Red, s).PerSquad[1], 24) << s;
    }
    ExpectNoneAboveItsForce(doc, 3, 60);
}

// scenario_v1.dat (3 RED), 3 samples of 8, paused in sample 2 at step 3;
// three RED agents placed by hand join sample 2: it counts against 6 from
// then on, so no killed count falls below 0 and the averaged RED curve
// never rises above 1.
TEST_F(MultiRunCommands, AnAgentPlacedInAPauseCountsInItsSamplesForce)
{
    CBrevimarDoc& doc = Doc();
    Choose(3, 8);
    PauseAt(doc, View(), 2, 3);
    Go();
    ASSERT_TRUE(Frame().RunCommand(RedPlacementByHand));
    PlaceByHand(3);
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 3);
    EXPECT_EQ(doc.SampleForce(Side::Red, 2).Agents, 6);
    ExpectNoneAboveItsForce(doc, 3, 8);
    doc.Charts.AttritionShowRedTotal = 1;
    QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);
    for (int p = 1; p <= 8; ++p)
        EXPECT_LE(chart::GetProperty(w->Graph.GraphHandle, chart::Prop::GraphData, 0, p).ToDouble(), 1.0) << p;
    delete w;
}

// small.dat, 4 samples of 20; a Combat Parameters OK that changes nothing,
// in a pause in sample 2 and again in sample 3: each sample starts again
// drawing on from the generator, so the two are not one battle twice.
TEST_F(MultiRunCommands, SamplesStartedAgainAreNotTheSameBattle)
{
    Open(SmallScenario());
    CBrevimarDoc& doc = Doc();
    Choose(4, 20);
    for (int s = 2; s <= 3; ++s) {
        PauseAt(doc, View(), s, 5);
        Go();
        ASSERT_EQ(doc.Series.MultiRunSample, s);
        Hooks.AnswerDialog(IDOK);
        ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_COMBAT_PARAMETERS));
    }
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 4);
    bool differ = false;
    for (Side side : {Side::Red, Side::Blue})
        for (int k = 0; k < 20; ++k)
            differ |= Present(doc, side, 2, k) != Present(doc, side, 3, k);
    EXPECT_TRUE(differ);
}

// A run-mode-5 chart opens before the raw-data reports asked with it are
// written; their choosers close back onto the main window, and the chart
// comes to the front again, as it is when no report was asked for. The
// choosers are really shown here, and cancelled; the dialogs are answered.
TEST_F(MultiRunCommands, AChartComesToTheFrontOnceItsRawDataChoosersClose)
{
    using R = CMultiRunRawDataDlg;
    Choose(2, 3);
    Go();
    ASSERT_EQ(Doc().MultiRunData.BatchOpen, 0);
    Doc().Statistics.DataCollectionOn = 1;
    SetModalHooks(Frame(), nullptr);
    const struct {
        const char* way;
        unsigned command;
        std::map<int, std::string> answers;
        int choosers;
    } rows[] = {
        {"attrition, nothing written", V::ID_ATTRITION_GRAPH, {}, 0},
        {"attrition, the sample and attrition reports", V::ID_ATTRITION_GRAPH,
         {{R::IDC_SAMPLE_YES, "1"}, {R::IDC_ATTRITION_YES, "1"}}, 2},
        {"centre of mass, the graph report", V::ID_CENTER_OF_MASS_GRAPH, {{R::IDC_GRAPH_YES, "1"}}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.way);
        Hooks.AnswerDialog(IDOK);  // the chart's options
        Hooks.AnswerDialog(IDOK, row.answers);
        Hooks.AnswerDialog(IDOK);  // the attrition report's levels, when asked
        int closed = 0;
        QTimer chooser;
        QObject::connect(&chooser, &QTimer::timeout, [&closed] {
            if (auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                shown->reject();
                ++closed;
            }
        });
        chooser.start(0);
        ASSERT_TRUE(View()->MessageMap().Execute(row.command));
        chooser.stop();
        QCoreApplication::processEvents();
        EXPECT_EQ(closed, row.choosers);
        QPointer<QWidget> chart = View()->LastChartWindow;
        ASSERT_TRUE(chart);
        EXPECT_EQ(QApplication::activeWindow(), chart.data());
        delete chart;
        Hooks.Reset();
    }
}

TEST_F(MultiRunCommands, RawDataQuestionsKeepTheirAnswers)
{
    using R = CMultiRunRawDataDlg;
    using W = CMultiRunWeaponsRawDataDlg;
    R raw(Doc());
    SetModalHooks(raw, &Hooks);
    Hooks.AnswerDialog(IDOK, {{R::IDC_GRAPH_YES, "1"}, {R::IDC_ATTRITION_YES, "1"}});
    raw.DoModal();
    EXPECT_EQ(raw.WriteRawSample, 0);
    EXPECT_EQ(raw.WriteRawGraph, 1);
    EXPECT_EQ(raw.WriteRawAttrition, 1);
    EXPECT_EQ(raw.IsDlgButtonChecked(R::IDC_SAMPLE_NO), 1);

    W weapons(Doc());
    SetModalHooks(weapons, &Hooks);
    weapons.SampleWeaponsRawData = 1;
    Hooks.AnswerDialog(IDOK, {{W::IDC_NO, "1"}});
    EXPECT_EQ(weapons.DoModal(), IDOK);
    EXPECT_EQ(weapons.SampleWeaponsRawData, 0);

    // A level typed before the rate answer is kept.
    using A = CSaveRawAttritionDlg;
    A levels(Doc());
    SetModalHooks(levels, &Hooks);
    levels.PercentLevel[0] = 90;
    Hooks.StepDialog({{A::IDC_PERCENT_1, "80"}});
    Hooks.AnswerDialog(IDOK, {{A::IDC_RATE_YES, "1"}});
    EXPECT_EQ(levels.DoModal(), IDOK);
    EXPECT_EQ(levels.PercentLevel[0], 80);
    EXPECT_EQ(levels.SaveRateData, 1);
}

// The rows of numbers that follow `heading` in `text`: the next `count`
// lines whose first word is a number, each as its numbers.
std::vector<std::vector<double>> RowsAfter(const std::string& text, const std::string& heading, int count)
{
    std::vector<std::vector<double>> rows;
    std::istringstream lines(text.substr(text.find(heading)));
    for (std::string line; static_cast<int>(rows.size()) < count && std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<double> row;
        for (double v; words >> v;)
            row.push_back(v);
        if (!row.empty())
            rows.push_back(row);
    }
    return rows;
}

// scenario_v1.dat (3 RED in one squad, alive sensor range 5) where no shot
// hits and no fratricide is on, 3 samples of 8, paused in sample 2 at step
// 3; three RED agents placed there take squad 1's values and join sample 2
// from its step 4, in squad 1: it holds 3 up to step 3 and 6 from then on,
// and sample 3 deploys 6. No agent is ever lost, so every point of the
// averaged RED curve is 1 (present 3 + 3 + 6 = 12 of forces 3 + 3 + 6 at
// steps 0..3, 3 + 6 + 6 of 3 + 6 + 6 after), and the attrition report finds
// no loss at any step, by squad or not, and no level reached.
TEST_F(MultiRunCommands, AnAgentPlacedInAPauseCountsFromTheStepItJoined)
{
    CBrevimarDoc& doc = Doc();
    PlaceThreeInSampleTwoWhereNoneIsLost();
    for (int i = 4; i <= 6; ++i)
        EXPECT_EQ(doc.RedForce.SensorRangeAlive[i], 5) << i;
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 3);
    for (int k = 0; k < 8; ++k) {
        const CSampleForce force = doc.SampleForce(Side::Red, 2, k);
        EXPECT_EQ(force.Agents, k <= 3 ? 3 : 6) << k;
        EXPECT_EQ(force.PerSquad[1], k <= 3 ? 3 : 6) << k;
    }
    doc.Charts.AttritionShowRedTotal = 1;
    QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);
    for (int p = 1; p <= 8; ++p)
        EXPECT_EQ(chart::GetProperty(w->Graph.GraphHandle, chart::Prop::GraphData, 0, p).ToDouble(), 1.0) << p;
    delete w;

    std::ostringstream out;
    WriteRawAttritionReport(doc, RawAttritionLevels{}, out);
    const std::string text = out.str();
    const struct {
        const char* Heading;
        int Rows;
        double Value;  // of every entry after a row's first
    } tables[] = {{"(Total) Attrition by Sample", 3, 0}, {"Red Squad-specific Attrition by Sample", 3, 0},
                  {"Time to achieve a specified percentage attrition", 3, -1}, {"(Single-Step)", 7, 0}};
    for (const auto& table : tables) {
        const auto rows = RowsAfter(text, table.Heading, table.Rows);
        ASSERT_EQ(static_cast<int>(rows.size()), table.Rows) << table.Heading;
        for (const auto& row : rows)
            for (std::size_t j = 1; j < row.size(); ++j)
                EXPECT_EQ(row[j], table.Value) << table.Heading << ", row " << row[0];
    }
}

// scenario_v1.dat (3 RED) with no shot and no fratricide, 3 samples of 8;
// three RED agents placed in sample 2 at step 3, then a Combat Parameters
// OK starts sample 2 again: it begins with the 6 as its force and nothing
// joins it later. No agent is lost, so every sample keeps its whole force:
// the averaged RED curve is 1 at every step and no sample's attrition
// counts a loss (with the first start's three counted again from step 4,
// sample 2 would stand against 9: 15 of 18, and 3 lost).
TEST_F(MultiRunCommands, ASampleStartedAgainForgetsWhatJoinedItsFirstStart)
{
    CBrevimarDoc& doc = Doc();
    PlaceThreeInSampleTwoWhereNoneIsLost();
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(V::ID_EDIT_COMBAT_PARAMETERS));
    ASSERT_EQ(doc.Series.MultiRunStep, 0);
    Go();
    ASSERT_EQ(doc.Series.MultiRunSample, 3);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(doc.SampleForce(Side::Red, 2, k).Agents, 6) << k;
    doc.Charts.AttritionShowRedTotal = 1;
    QPointer<CAttritionGraphDlg> w = new CAttritionGraphDlg(View(), doc);
    for (int p = 1; p <= 8; ++p)
        EXPECT_EQ(chart::GetProperty(w->Graph.GraphHandle, chart::Prop::GraphData, 0, p).ToDouble(), 1.0) << p;
    delete w;
    std::ostringstream out;
    WriteRawAttritionReport(doc, RawAttritionLevels{}, out);
    const auto rows = RowsAfter(out.str(), "(Total) Attrition by Sample", 3);
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& row : rows)
        for (std::size_t j = 1; j < row.size(); ++j)
            EXPECT_EQ(row[j], 0) << "sample " << row[0];
}

}  // namespace
}  // namespace brevimar::testing
