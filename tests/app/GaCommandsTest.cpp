// The genetic algorithm from the menus: a search-space run mode evolves in
// the window, tick by tick, and the progress-chart option box.
#include <QMdiArea>
#include <QMessageBox>

#include "app/AppFixture.h"
#include "dialogs/GaEditDialogs.h"
#include "dialogs/MissionFitnessGraphOptionsDlg.h"
#include "experiments/GaEngine.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;

class GaCommands : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
    }
    CCmdUI Update(unsigned id)
    {
        CCmdUI ui(id);
        View()->MessageMap().Update(ui);
        return ui;
    }
};

TEST_F(GaCommands, PersonalityModeEvolvesInTheWindow)
{
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST));
    CBrevimarDoc& doc = Doc();
    EXPECT_EQ(doc.RunMode, GeneticAlgorithmMode);
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_TRUE(Update(V::ID_RUN_MODE_GA_FIRST).Checked);
    EXPECT_FALSE(Update(V::ID_RUN_MODE_GA_FIRST + 1).Checked);
    for (unsigned id : {33039u, 33042u, 33043u, 32887u})
        EXPECT_FALSE(Update(id).Enabled) << id;

    doc.Ga.GaPopulationSize = 3;
    doc.Ga.GaInitialConditions = 1;
    doc.Ga.GaMaxTimeToFlag = 5;
    doc.Experiment.GaGenerations = 2;
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
    View()->OnTimer(V::RunTimerId);
    EXPECT_EQ(doc.Experiment.GaGeneration, 1);
    EXPECT_NE(Frame().StatusText().find("[ G ]: 1/2"), std::string::npos) << Frame().StatusText();
    EXPECT_NE(Frame().StatusText().find("[ F_max ]: "), std::string::npos);
    View()->OnTimer(V::RunTimerId);
    EXPECT_EQ(doc.Experiment.GaGeneration, 2);
    EXPECT_EQ(doc.Paused, 0);
    // The last generation has run: the next tick stops the run.
    View()->OnTimer(V::RunTimerId);
    EXPECT_EQ(doc.Experiment.GaGeneration, 2);
    EXPECT_EQ(doc.Paused, 1);

    // Commands that would change the population, and closing the window,
    // wait while a generation runs.
    doc.Experiment.GABusy = 1;
    EXPECT_FALSE(Update(V::ID_RUN_MODE_GA_FIRST).Enabled);
    EXPECT_FALSE(Update(V::ID_FILE_LOAD_GA_INPUT).Enabled);
    QPointer<CBrevimarView> view = View();
    ASSERT_NE(view->parentWidget(), nullptr);
    Frame().MdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(doc.HeapBuffersAllocated, 1);
    doc.Experiment.GABusy = 0;
}

// A new GA has evaluated no member yet: its line counts from 0 of its own
// totals, whatever the GA before it reached.
TEST_F(GaCommands, ANewGaStatusLineStartsAtZeroOfItsTotals)
{
    using P = CGaRunTimeParamsDlg;
    Hooks.AnswerDialog(IDOK, {{P::IDC_POPULATION, "5"}, {P::IDC_CONDITIONS, "4"}, {P::IDC_MAX_TIME, "3"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST));
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
    View()->OnTimer(V::RunTimerId);
    // Member 4 of 0..4 under condition 4 of 1..4, stopped at the time limit.
    ASSERT_NE(Frame().StatusText().find("[ P ]: 4/5   [ IC ]: 4/4   [ T ]: 3/3"), std::string::npos)
        << Frame().StatusText();

    Hooks.AnswerDialog(IDOK, {{P::IDC_POPULATION, "3"}, {P::IDC_CONDITIONS, "1"}, {P::IDC_MAX_TIME, "7"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST));
    EXPECT_NE(Frame().StatusText().find("[ G ]: 0/50   [ P ]: 0/3   [ IC ]: 0/1   [ T ]: 0/7     [ F_max ]: 0 / 10000"),
              std::string::npos)
        << Frame().StatusText();
}

// A squad-composition search on the small reference scenario, whose RED
// squads 3..8 have no deployment box: members that put agents there cannot
// be set up in full. The GA says so once and runs on to its last generation;
// no box waits for an answer, and the notice stays open.
class GaNotice : public AppTest {};

TEST_F(GaNotice, ASetUpProblemDoesNotHoldTheGa)
{
    Hooks.AnswerFile(std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/small.dat");
    ASSERT_TRUE(Start());
    using P = CGaRunTimeParamsDlg;
    Hooks.AnswerDialog(IDOK, {{P::IDC_POPULATION, "6"}, {P::IDC_GENERATIONS, "5"}});
    Hooks.AnswerDialog(IDOK);  // mission objective
    Hooks.AnswerDialog(IDOK);  // squad composition
    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN_MODE_GA_FIRST + 2));
    CBrevimarDoc& doc = Doc();
    ASSERT_EQ(doc.Ga.GaSearchMode, GaCompositionMode);
    ASSERT_EQ(doc.Ga.GaPopulationSize, 6);
    ASSERT_EQ(doc.Experiment.GaGenerations, 5);
    const std::size_t before = Hooks.Log().size();

    ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
    for (int tick = 0; tick < 5; ++tick)
        View()->OnTimer(V::RunTimerId);
    EXPECT_EQ(doc.Experiment.GaGeneration, 5);
    for (std::size_t k = before; k < Hooks.Log().size(); ++k)
        EXPECT_NE(Hooks.Log()[k].Kind, ModalKind::MessageBox) << Hooks.Log()[k].Text;
    std::vector<QMessageBox*> shown;
    for (QMessageBox* box : Frame().findChildren<QMessageBox*>())
        if (box->isVisible())
            shown.push_back(box);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0]->isModal());
    const std::string text = shown[0]->text().toStdString();
    EXPECT_TRUE(text.starts_with("Setting up small.dat:\nNot every agent can be deployed:\n")) << text;
    EXPECT_TRUE(text.ends_with("\nLater runs of this batch may meet this problem too; it is not said again "
                               "until the next batch."))
        << text;
}

TEST_F(GaCommands, InputFileCommandCancelledKeepsTheRunMode)
{
    const int mode = Doc().RunMode;
    Hooks.CancelFile();
    ASSERT_TRUE(Frame().RunCommand(V::ID_FILE_LOAD_GA_INPUT));
    EXPECT_EQ(Doc().RunMode, mode);
    EXPECT_EQ(Hooks.Log().back().Text,
              "Brevimar GA1 Input Data Files (*.ga1)|*.ga1|Brevimar GA2 Input Data Files (*.ga2)|*.ga2|"
              "Brevimar Landscape Input Data Files (*.lnd)|*.lnd||");
}

TEST_F(GaCommands, ProgressOptionBoxFlipsItsFlags)
{
    using D = CMissionFitnessGraphOptionsDlg;
    D dlg(Doc());
    SetModalHooks(dlg, &Hooks);
    EXPECT_EQ(dlg.windowTitle().toStdString(), "1-Sided GA Progress::Mission Fitness");
    dlg.GenBest = 1;
    dlg.Average = 0;
    Hooks.AnswerDialog(IDOK, {{D::IDC_GEN_BEST, "0"}, {D::IDC_AVERAGE, "1"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GenBest, 0);
    EXPECT_EQ(dlg.GenWorst, 0);
    EXPECT_EQ(dlg.Average, 1);
    EXPECT_EQ(dlg.Proceed, 1);
    Hooks.AnswerDialog(IDCANCEL);
    dlg.DoModal();
    EXPECT_EQ(dlg.Proceed, 0);
}

}  // namespace
}  // namespace brevimar::testing
