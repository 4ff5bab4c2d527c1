#include <gtest/gtest.h>

#include <QDialog>

#include "platform/FileDialog.h"
#include "platform/TestHooks.h"
#include "platform/Wnd.h"

namespace brevimar {
namespace {

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ModalHooks::Enable(true);
        ModalHooks::Reset();
    }
    void TearDown() override { ModalHooks::Reset(); }
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
    ModalHooks::AnswerFile("/tmp/battle");
    CFileDialog save(false, "dat", {}, "Brevimar Input Data Files (*.dat)|*.dat||");
    save.Title = "Save Scenario";
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), "/tmp/battle.dat");
    EXPECT_EQ(save.GetFileName(), "battle.dat");
    EXPECT_EQ(save.GetFileExt(), "dat");
    EXPECT_EQ(save.GetFileTitle(), "battle");
    EXPECT_EQ(save.GetFolderPath(), "/tmp");

    // A name with an extension of its own keeps it.
    ModalHooks::AnswerFile("/tmp/run.one.run");
    CFileDialog open(true, ".dat", {}, FrameFileFilter);
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/tmp/run.one.run");
    EXPECT_EQ(open.GetFileTitle(), "run.one");

    ASSERT_EQ(ModalHooks::Log().size(), 2u);
    EXPECT_EQ(ModalHooks::Log()[0].Kind, ModalKind::FileDialog);
    EXPECT_EQ(ModalHooks::Log()[0].Title, "Save Scenario");
    EXPECT_EQ(ModalHooks::Log()[1].Title, "Open");
    EXPECT_EQ(ModalHooks::Log()[1].Text, FrameFileFilter);
}

TEST_F(ModalTest, CancelledOrUnansweredChoiceIsCancel)
{
    ModalHooks::CancelFile();
    CFileDialog first(true, "dat");
    EXPECT_EQ(first.DoModal(), IDCANCEL);
    EXPECT_TRUE(first.GetPathName().empty());
    // Nothing queued: the chooser is cancelled rather than shown.
    CFileDialog second(true, "dat");
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(ModalHooks::Log().size(), 2u);
}

TEST_F(ModalTest, MessageBoxAnswersInOrderThenByDefault)
{
    ModalHooks::AnswerMessage(IDNO);
    EXPECT_EQ(ShowMessageBox(nullptr, "Write raw data?", "Question", MB_YESNO), IDNO);
    EXPECT_EQ(ShowMessageBox(nullptr, "Write raw data?", "Question", MB_YESNO), IDYES);
    EXPECT_EQ(ShowMessageBox(nullptr, "Not enought timers.", {}, MB_OK), IDOK);
    ASSERT_EQ(ModalHooks::Log().size(), 3u);
    // A box without a caption carries the program's title.
    EXPECT_EQ(ModalHooks::Log()[2].Title, "Brevimar");
    EXPECT_EQ(ModalHooks::Log()[2].Text, "Not enought timers.");
    EXPECT_EQ(ModalHooks::Log()[0].Result, IDNO);
}

TEST_F(ModalTest, DialogsTakeTheirQueuedAnswerAndValues)
{
    QDialog dialog;
    dialog.setWindowTitle("Edit::Combat Parameters");
    ModalHooks::AnswerDialog(IDOK, {{1001, "75"}});
    EXPECT_EQ(ModalHooks::Pending(ModalKind::Dialog), 1u);
    // The values are there for the dialog that takes the answer.
    auto answer = ModalHooks::Take(ModalKind::Dialog, IDCANCEL);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->Values.at(1001), "75");
    EXPECT_EQ(RunModal(dialog), IDCANCEL);  // queue now empty
    ModalHooks::AnswerDialog(IDOK);
    EXPECT_EQ(RunModal(dialog), IDOK);
    EXPECT_EQ(ModalHooks::Log().back().Title, "Edit::Combat Parameters");
}

TEST(ModalHooksOff, NothingIsAnsweredWhileTheHooksAreOff)
{
    ModalHooks::Enable(false);
    ModalHooks::AnswerFile("/tmp/x.dat");
    EXPECT_FALSE(ModalHooks::Take(ModalKind::FileDialog, IDCANCEL).has_value());
    ModalHooks::Reset();
    EXPECT_EQ(ModalHooks::Pending(ModalKind::FileDialog), 0u);
}

}  // namespace
}  // namespace brevimar
