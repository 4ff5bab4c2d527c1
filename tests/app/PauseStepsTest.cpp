#include "app/AppFixture.h"
#include "dialogs/PauseStepsDlg.h"

namespace brevimar::testing {
namespace {

using V = CBrevimarView;

class PauseSteps : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Hooks.AnswerFile(Fixture("scenario_v1.dat"));
        ASSERT_TRUE(Start());
        ASSERT_EQ(Doc().RunMode, InteractiveMode);
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            View()->OnTimer(CBrevimarView::RunTimerId);
    }
    int Step() { return Doc().RunHeader.CurrentStep; }
    int RangeMessages() const
    {
        int count = 0;
        for (const ModalRecord& r : Hooks.Log())
            count += r.Kind == ModalKind::MessageBox && r.Text == "Please enter an integer between 1 and 499.";
        return count;
    }
};

TEST_F(PauseSteps, DialogTakesOneTo499Steps)
{
    Doc().StepsPerBurst = 7;
    CPauseStepsDlg dlg(Doc());
    SetModalHooks(dlg, &Hooks);
    EXPECT_EQ(dlg.Steps, 7);
    EXPECT_EQ(dlg.windowTitle().toStdString(), "Edit Number of Time Steps Before Pausing");

    Hooks.AnswerDialog(IDOK, {{CPauseStepsDlg::IDC_STEPS, "0"}});
    Hooks.AnswerDialog(IDOK, {{CPauseStepsDlg::IDC_STEPS, "500"}});
    Hooks.AnswerDialog(IDOK, {{CPauseStepsDlg::IDC_STEPS, "1"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(RangeMessages(), 2);
    EXPECT_EQ(dlg.Steps, 1);

    Hooks.AnswerDialog(IDOK, {{CPauseStepsDlg::IDC_STEPS, "499"}});
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.Steps, 499);
    EXPECT_EQ(RangeMessages(), 2);
}

TEST_F(PauseSteps, CancelLeavesStepModeOnWithTheCounterReset)
{
    CBrevimarDoc& doc = Doc();
    doc.Resume();
    doc.StepExecuteMode = 0;
    doc.StepsPerBurst = 5;
    doc.StepsSincePause = 2;
    Hooks.AnswerDialog(IDCANCEL, {{CPauseStepsDlg::IDC_STEPS, "9"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_STEP_EXECUTE_T_STEPS));
    EXPECT_EQ(doc.Paused, 1);
    EXPECT_EQ(doc.StepExecuteMode, 1);
    EXPECT_EQ(doc.StepsSincePause, 0);
    EXPECT_EQ(doc.StepsPerBurst, 5);
    EXPECT_EQ(Hooks.Log().back().Title, "Edit Number of Time Steps Before Pausing");

    // OK without typing hands back the burst the field started with.
    Hooks.AnswerDialog(IDOK);
    ASSERT_TRUE(Frame().RunCommand(V::ID_STEP_EXECUTE_T_STEPS));
    EXPECT_EQ(doc.StepsPerBurst, 5);

    CCmdUI ui(V::ID_STEP_EXECUTE_T_STEPS);
    View()->MessageMap().Update(ui);
    EXPECT_TRUE(ui.Enabled);
    doc.Experiment.GABusy = 1;
    View()->MessageMap().Update(ui);
    EXPECT_FALSE(ui.Enabled);
    doc.Experiment.GABusy = 0;
}

TEST_F(PauseSteps, OkRunsBurstsOfTSteps)
{
    CBrevimarDoc& doc = Doc();
    doc.Resume();
    Ticks(2);  // past the pause of step 1
    doc.Resume();
    Hooks.AnswerDialog(IDOK, {{CPauseStepsDlg::IDC_STEPS, "3"}});
    ASSERT_TRUE(Frame().RunCommand(V::ID_STEP_EXECUTE_T_STEPS));
    EXPECT_EQ(doc.StepsPerBurst, 3);
    EXPECT_EQ(doc.Paused, 1);
    const int t = Step();
    Ticks(2);  // paused until the user resumes
    EXPECT_EQ(Step(), t);

    for (int burst = 1; burst <= 2; ++burst) {
        ASSERT_TRUE(Frame().RunCommand(V::ID_RUN));
        Ticks(5);  // three ticks of work, then the run waits
        EXPECT_EQ(Step(), t + 3 * burst);
        EXPECT_EQ(doc.Paused, 1);
        EXPECT_EQ(doc.StepsSincePause, 0);
    }
}

}  // namespace
}  // namespace brevimar::testing
