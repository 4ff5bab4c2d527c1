#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollArea>

#include <memory>

#include "app/BrevimarView.h"
#include "core/Document.h"
#include "platform/TestHooks.h"
#include "support/TestDocument.h"

namespace brevimar::testing {
namespace {

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Doc->OnNewDocument();
        View = new CBrevimarView(Doc.Doc.get());
        SetModalHooks(*View, &Hooks);
        Area = View->Container();
    }
    void TearDown() override
    {
        delete Area;
    }

    void Release(Qt::MouseButton button, QPoint at)
    {
        QMouseEvent event(QEvent::MouseButtonRelease, QPointF(at), QPointF(at), button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(View, &event);
    }

    CModalHooks Hooks;
    TestDocument Doc;
    CBrevimarView* View = nullptr;
    QScrollArea* Area = nullptr;
};

TEST_F(ViewTest, CreationStartsTheRunTimerAndDestructionStopsIt)
{
    ASSERT_EQ(View->OnCreate(), 0);
    EXPECT_TRUE(View->HasTimer(CBrevimarView::RunTimerId));
    EXPECT_EQ(CBrevimarView::RunTimerId, 42u);
    EXPECT_EQ(CBrevimarView::RunTimerPeriodMs, 1u);
    View->OnDestroy();
    EXPECT_FALSE(View->HasTimer(42));
    // The batch timers are distinct from each other and from the run timer.
    EXPECT_NE(View->GaTimerId, 42u);
    EXPECT_NE(View->LandscapeTimerId, 42u);
    EXPECT_NE(View->MultiRunTimerId, 42u);
    EXPECT_NE(View->GaTimerId, View->LandscapeTimerId);
    EXPECT_NE(View->GaTimerId, View->MultiRunTimerId);
    EXPECT_NE(View->LandscapeTimerId, View->MultiRunTimerId);
}

TEST_F(ViewTest, ScrollSizeIsThePictureOfTheBattlefieldOrTheStoredRun)
{
    // Five pixels a cell, the border cells around the battlefield included.
    Doc->Battlefield.BattleSize = 80;
    Doc->RunHeader.LatticeSize = 40;
    Doc->RunMode = InteractiveMode;
    View->OnInitialUpdate();
    EXPECT_EQ(View->GetTotalSize(), QSize(410, 410));
    Doc->RunMode = ReplayMode;
    View->OnInitialUpdate();
    EXPECT_EQ(View->GetTotalSize(), QSize(210, 210));
    for (int mode : {GeneticAlgorithmMode, FitnessLandscapeMode, PlaybackMode}) {
        Doc->RunMode = mode;
        View->OnInitialUpdate();
        EXPECT_EQ(View->GetTotalSize(), QSize(410, 410)) << mode;
    }
    // A stored run whose header names no usable size still gets a picture.
    Doc->RunMode = ReplayMode;
    Doc->RunHeader.LatticeSize = 0;
    View->OnInitialUpdate();
    EXPECT_EQ(View->GetTotalSize(), QSize(10, 10));
}

TEST_F(ViewTest, TicksBeforeTheInitialUpdateDoNothing)
{
    Doc->RunMode = InteractiveMode;
    Doc->Paused = 0;
    const int step = Doc->RunHeader.CurrentStep;
    View->OnTimer(42);
    EXPECT_EQ(Doc->RunHeader.CurrentStep, step);
    EXPECT_TRUE(Doc.Host.StatusTexts.empty());
}

TEST_F(ViewTest, PointsMapToCellsWithYGrowingUpwards)
{
    Doc->Battlefield.BattleSize = 100;
    Doc->CellBitmapWidth = 5;
    EXPECT_EQ(View->PointToCell(QPoint(0, 0)), QPoint(0, 101));
    EXPECT_EQ(View->PointToCell(QPoint(12, 7)), QPoint(2, 100));
    EXPECT_EQ(View->PointToCell(QPoint(504, 504)), QPoint(100, 1));
    EXPECT_TRUE(View->IsOnBattlefield(QPoint(1, 1)));
    EXPECT_TRUE(View->IsOnBattlefield(QPoint(100, 100)));
    EXPECT_FALSE(View->IsOnBattlefield(QPoint(0, 50)));
    EXPECT_FALSE(View->IsOnBattlefield(QPoint(50, 101)));
    // Before the cell pictures are measured the cells are taken as 5 wide.
    Doc->CellBitmapWidth = 0;
    EXPECT_EQ(View->PointToCell(QPoint(12, 7)), QPoint(2, 100));
}

TEST_F(ViewTest, LeftClickPausesOrResumesAndEndsAgentPlacement)
{
    Doc->Paused = 0;
    Doc->DeploymentSource = RedHandPlacement;
    Release(Qt::LeftButton, QPoint(30, 30));
    EXPECT_EQ(Doc->Paused, 1);
    EXPECT_EQ(Doc->DeploymentSource, RandomDeployment);
    EXPECT_GE(View->InvalidateCount(), 1);

    // After an agent-file load the click only resumes.
    Doc->DeploymentSource = AgentFileDeployment;
    Release(Qt::LeftButton, QPoint(30, 30));
    EXPECT_EQ(Doc->Paused, 0);
    EXPECT_EQ(Doc->DeploymentSource, AgentFileDeployment);
}

TEST_F(ViewTest, RightClickReversesAReplayWhereverItFalls)
{
    Doc->RunMode = ReplayMode;
    Doc->Paused = 1;
    Doc->RunHeader.TimeDirection = 1;
    Release(Qt::RightButton, QPoint(3000, 3000));  // far outside the battlefield
    EXPECT_EQ(Doc->RunHeader.TimeDirection, -1);
    EXPECT_EQ(Doc->Paused, 0);
    Release(Qt::RightButton, QPoint(10, 10));
    EXPECT_EQ(Doc->RunHeader.TimeDirection, 1);

    // Anywhere else, with no editing chosen, a right click changes nothing.
    Doc->RunMode = InteractiveMode;
    Doc->Paused = 1;
    const int invalidations = View->InvalidateCount();
    Release(Qt::RightButton, QPoint(10, 10));
    EXPECT_EQ(Doc->RunHeader.TimeDirection, 1);
    EXPECT_EQ(Doc->Paused, 1);
    EXPECT_EQ(View->InvalidateCount(), invalidations + 1);
}

// A hand-placed agent and its removal go through the force, so its grid of
// agents stays equal to one rebuilt from the arrays, and the next step finds
// nothing to repair.
TEST_F(ViewTest, HandPlacementKeepsTheAgentGridCurrent)
{
    CBrevimarDoc& doc = *Doc;
    doc.DeploymentSource = RedHandPlacement;
    const QPoint at(203, 203);
    const QPoint cell = View->PointToCell(at);
    ASSERT_TRUE(View->IsOnBattlefield(cell));
    ASSERT_EQ(doc.Battlefield.AgentGrid[GridIndex(cell.x(), cell.y())], CellFree);
    const int before = doc.RedForce.NumAgents;
    Release(Qt::RightButton, at);
    ASSERT_EQ(doc.RedForce.NumAgents, before + 1);
    EXPECT_TRUE(doc.RedForce.Grid.Holds(before + 1));
    EXPECT_TRUE(doc.RedForce.AgentGridCurrent());
    Release(Qt::RightButton, at);  // taken off again
    EXPECT_EQ(doc.RedForce.AgentState[before + 1], Dead);
    EXPECT_FALSE(doc.RedForce.Grid.Holds(before + 1));
    EXPECT_TRUE(doc.RedForce.AgentGridCurrent());
    const int repairs = doc.NeighborGrids.GridRepairs;
    doc.StepSimulation();
    EXPECT_EQ(doc.NeighborGrids.GridRepairs, repairs);
}

}  // namespace
}  // namespace brevimar::testing
