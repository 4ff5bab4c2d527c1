#include <gtest/gtest.h>

#include <QDialog>

#include "platform/FileDialog.h"
#include "platform/TestHooks.h"
#include "platform/Wnd.h"

namespace brevimar {
namespace {

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override { SetModalHooks(Owner, &Hooks); }

    CModalHooks Hooks;
    QWidget Owner;  // the window the test's windows are opened from
};

constexpr const char* FrameFileFilter =
    "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run|Brevimar OUT Files "
    "(*.out)|*.out|Brevimar VLX Files (*.vlx)|*.vlx|Brevimar Files (*.brv)|*.brv||";

TEST(FilterString, FrameworkFilterBecomesDescriptionsAndPatterns)
{
    const auto filters = ParseFilterString(FrameFileFilter);
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[0].Description, "Brevimar Input Data Files (*.dat)");
    EXPECT_EQ(filters[0].Patterns, std::vector<std::string>{"*.dat"});
    EXPECT_EQ(filters[4].Description, "Brevimar Files (*.brv)");
    EXPECT_EQ(filters[4].Patterns, std::vector<std::string>{"*.brv"});
    // Qt reads the patterns out of the parentheses, which are there already.
    const auto names = ToQtNameFilters(filters);
    EXPECT_EQ(names[1], "Brevimar RUN Files (*.run)");
}

TEST(FilterString, SeveralPatternsAndLooseEnds)
{
    auto filters = ParseFilterString("Scenarios|*.dat;*.run|All Files (*.*)|*.*");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].Patterns, (std::vector<std::string>{"*.dat", "*.run"}));
    EXPECT_EQ(ToQtNameFilters(filters)[0], "Scenarios (*.dat *.run)");
    EXPECT_EQ(ToQtNameFilters(filters)[1], "All Files (*.*)");

    // Fields after the first empty one are not read.
    filters = ParseFilterString("Text (*.txt)|*.txt||Ignored|*.x|");
    ASSERT_EQ(filters.size(), 1u);
    // A description without patterns shows every file.
    filters = ParseFilterString("Anything");
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].Patterns, std::vector<std::string>{"*"});
    EXPECT_TRUE(ParseFilterString("").empty());
    EXPECT_TRUE(ParseFilterString("||").empty());
}

TEST_F(ModalTest, FileChoiceComesFromTheHookWithTheDefaultExtension)
{
    Hooks.AnswerFile("/tmp/battle");
    CFileDialog save(false, "dat", {}, "Brevimar Input Data Files (*.dat)|*.dat||", &Owner);
    save.Title = "Save Scenario";
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), "/tmp/battle.dat");
    EXPECT_EQ(save.GetFileName(), "battle.dat");
    EXPECT_EQ(save.GetFileExt(), "dat");
    EXPECT_EQ(save.GetFileTitle(), "battle");
    EXPECT_EQ(save.GetFolderPath(), "/tmp");

    // A name with an extension of its own keeps it.
    Hooks.AnswerFile("/tmp/run.one.run");
    CFileDialog open(true, ".dat", {}, FrameFileFilter, &Owner);
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/tmp/run.one.run");
    EXPECT_EQ(open.GetFileTitle(), "run.one");

    ASSERT_EQ(Hooks.Log().size(), 2u);
    EXPECT_EQ(Hooks.Log()[0].Kind, ModalKind::FileDialog);
    EXPECT_EQ(Hooks.Log()[0].Title, "Save Scenario");
    EXPECT_EQ(Hooks.Log()[1].Title, "Open");
    EXPECT_EQ(Hooks.Log()[1].Text, FrameFileFilter);
}

TEST_F(ModalTest, CancelledOrUnansweredChoiceIsCancel)
{
    Hooks.CancelFile();
    CFileDialog first(true, "dat", {}, {}, &Owner);
    EXPECT_EQ(first.DoModal(), IDCANCEL);
    EXPECT_TRUE(first.GetPathName().empty());
    // Nothing queued: the chooser is cancelled rather than shown.
    CFileDialog second(true, "dat", {}, {}, &Owner);
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(Hooks.Log().size(), 2u);
}

TEST_F(ModalTest, MessageBoxAnswersInOrderThenByDefault)
{
    Hooks.AnswerMessage(IDNO);
    EXPECT_EQ(ShowMessageBox(&Owner, "Write raw data?", "Question", MB_YESNO), IDNO);
    EXPECT_EQ(ShowMessageBox(&Owner, "Write raw data?", "Question", MB_YESNO), IDYES);
    EXPECT_EQ(ShowMessageBox(&Owner, "Not enought timers.", {}, MB_OK), IDOK);
    ASSERT_EQ(Hooks.Log().size(), 3u);
    // A box without a caption carries the program's title.
    EXPECT_EQ(Hooks.Log()[2].Title, "Brevimar");
    EXPECT_EQ(Hooks.Log()[2].Text, "Not enought timers.");
    EXPECT_EQ(Hooks.Log()[0].Result, IDNO);
}

TEST_F(ModalTest, DialogsTakeTheirQueuedAnswerAndValues)
{
    QDialog dialog(&Owner);
    dialog.setWindowTitle("Edit::Combat Parameters");
    Hooks.AnswerDialog(IDOK, {{1001, "75"}});
    EXPECT_EQ(Hooks.Pending(ModalKind::Dialog), 1u);
    // The values are there for the dialog that takes the answer.
    auto answer = Hooks.Take(ModalKind::Dialog, IDCANCEL);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->Values.at(1001), "75");
    EXPECT_EQ(RunModal(dialog), IDCANCEL);  // queue now empty
    Hooks.AnswerDialog(IDOK);
    EXPECT_EQ(RunModal(dialog), IDOK);
    EXPECT_EQ(Hooks.Log().back().Title, "Edit::Combat Parameters");
}

TEST(ModalHooksReach, AWindowTakesTheHooksOfTheNearestWidgetAboveIt)
{
    CModalHooks frameHooks, dialogHooks;
    QWidget frame;
    auto* view = new QWidget(&frame);
    QDialog dialog(view);
    QWidget stray;
    EXPECT_EQ(ModalHooksOf(view), nullptr);
    SetModalHooks(frame, &frameHooks);
    EXPECT_EQ(ModalHooksOf(&frame), &frameHooks);
    EXPECT_EQ(ModalHooksOf(&dialog), &frameHooks);  // two widgets up
    EXPECT_EQ(ModalHooksOf(&stray), nullptr);
    EXPECT_EQ(ModalHooksOf(nullptr), nullptr);

    // The nearer hooks win; taking them away reaches the frame's again.
    SetModalHooks(dialog, &dialogHooks);
    dialogHooks.AnswerDialog(IDOK);
    EXPECT_EQ(RunModal(dialog), IDOK);
    EXPECT_EQ(dialogHooks.Log().size(), 1u);
    EXPECT_TRUE(frameHooks.Log().empty());
    SetModalHooks(dialog, nullptr);
    EXPECT_EQ(RunModal(dialog), IDCANCEL);
    EXPECT_EQ(frameHooks.Log().size(), 1u);
}

TEST(ModalHooksOff, NothingIsAnsweredWhileTheHooksAreOff)
{
    CModalHooks Hooks;
    Hooks.Enable(false);
    Hooks.AnswerFile("/tmp/x.dat");
    EXPECT_FALSE(Hooks.Take(ModalKind::FileDialog, IDCANCEL).has_value());
    Hooks.Reset();
    EXPECT_EQ(Hooks.Pending(ModalKind::FileDialog), 0u);
}

}  // namespace
}  // namespace brevimar
