#include <gtest/gtest.h>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

using testing::ScriptedHost;

struct NewDocument {
    ScriptedHost Host;
    std::unique_ptr<CBrevimarDoc> Doc = CBrevimarDoc::Create();
    NewDocument() { Doc->SetHost(&Host); }
};

TEST(LifeCycle, CancelledStartupKeepsTheDefaults)
{
    NewDocument d;
    d.Doc->Paused = 1;
    EXPECT_TRUE(d.Doc->OnNewDocument());  // the chooser is cancelled
    CBrevimarDoc& doc = *d.Doc;
    ASSERT_EQ(d.Host.FileRequests.size(), 1u);
    EXPECT_EQ(doc.HeapBuffersAllocated, 1);
    EXPECT_EQ(doc.RunMode, InteractiveMode);
    EXPECT_EQ(doc.NumRed(), 10);
    EXPECT_EQ(doc.NumBlue(), 10);
    EXPECT_EQ(doc.Battlefield.BattleSize, 150);
    EXPECT_EQ(doc.RunHeader.LastStep, 501);
    EXPECT_EQ(doc.RunHeader.CurrentStep, 0);
    EXPECT_EQ(doc.RunHeader.TimeDirection, 1);
    EXPECT_EQ(doc.RunHeader.LatticeSize, 150);
    EXPECT_EQ(doc.LatticeExtentX, 152);
    EXPECT_EQ(doc.LatticeExtentY, 152);
    EXPECT_EQ(doc.ActivityRadius, 1);
    // The built-in scenario shows its agents: the activity maps are off.
    EXPECT_EQ(doc.RedActivityMapOn, 0);
    EXPECT_EQ(doc.BlueActivityMapOn, 0);
    EXPECT_EQ(doc.BackgroundToggle, 1);
    EXPECT_EQ(doc.ShowAll, 1);
    EXPECT_EQ(doc.CellBitmapWidth, 5);
    EXPECT_EQ(doc.CellBitmapHeight, 5);
    EXPECT_EQ(doc.DisplayFrame, 0);
    EXPECT_EQ(doc.Paused, 0);  // a new document's run goes with the first tick
    int lit = 0;
    for (int k = 0; k < 2 * LatticeCells; ++k)
        lit += doc.DisplayGrid[k] != 0;
    EXPECT_EQ(lit, 20);  // ten agents a side, each on a cell of its own
    EXPECT_TRUE(doc.InputFileName.empty());
    EXPECT_TRUE(d.Host.Messages.empty());
}

TEST(LifeCycle, NewDocumentReadsTheChosenScenario)
{
    NewDocument d;
    d.Host.FileChoices.push_back(std::string(BREVIMAR_TEST_DATA) + "/scenario_v1.dat");
    EXPECT_TRUE(d.Doc->OnNewDocument());
    EXPECT_TRUE(d.Host.Messages.empty());
    EXPECT_EQ(d.Doc->InputFileName, "scenario_v1.dat");
    EXPECT_EQ(d.Doc->NumRed(), 3);
    EXPECT_EQ(d.Doc->Battlefield.BattleSize, 80);
    EXPECT_EQ(d.Doc->RunHeader.CurrentStep, 0);
    EXPECT_EQ(d.Doc->RunMode, InteractiveMode);
}

TEST(LifeCycle, BuffersAreAllocatedOnceAndKeptAcrossLoads)
{
    NewDocument d;
    d.Doc->DeleteContents();  // nothing allocated: nothing to free
    EXPECT_EQ(d.Doc->HeapBuffersAllocated, 0);
    d.Host.FileChoices.push_back(std::string(BREVIMAR_TEST_DATA) + "/scenario_v3.dat");
    ASSERT_TRUE(d.Doc->OnNewDocument());
    const int* capture = d.Doc->CaptureBuffer[RedCaptureX].get();
    const unsigned char* grid = d.Doc->DisplayGrid.get();
    d.Host.FileChoices.push_back(std::string(BREVIMAR_TEST_DATA) + "/stored_v4.run");
    d.Doc->ReadStartupInputFile();
    EXPECT_EQ(d.Doc->RunMode, PlaybackMode);
    EXPECT_EQ(d.Doc->CaptureBuffer[RedCaptureX].get(), capture);
    EXPECT_EQ(d.Doc->DisplayGrid.get(), grid);
    d.Doc->DeleteContents();
    EXPECT_EQ(d.Doc->HeapBuffersAllocated, 0);
    EXPECT_EQ(d.Doc->DisplayGrid, nullptr);
}

TEST(LifeCycle, PauseDoesNotNest)
{
    auto doc = CBrevimarDoc::Create();
    doc->Pause();
    doc->Pause();
    EXPECT_EQ(doc->Paused, 1);
    doc->Resume();
    EXPECT_EQ(doc->Paused, 0);
}

}  // namespace
}  // namespace brevimar
