#include <gtest/gtest.h>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

TEST(Document, ConstructorDefaults)
{
    auto doc = CBrevimarDoc::Create();
    EXPECT_EQ(doc->HeapBuffersAllocated, 0);
    EXPECT_EQ(doc->Paused, 0);
    EXPECT_EQ(doc->RunMode, 0);
    EXPECT_EQ(doc->Battlefield.BattleSize, 150);
    EXPECT_EQ(doc->NumRed(), 10);
    EXPECT_EQ(doc->NumBlue(), 10);
    EXPECT_EQ(doc->RedForce.NumSquads, 1);
    EXPECT_EQ(doc->BlueForce.NumSquads, 1);
    EXPECT_EQ(doc->Battlefield.MoveOrder, 1);
    EXPECT_EQ(doc->Battlefield.termination, 2);
    EXPECT_EQ(doc->Battlefield.CellTerrainDefined, 1);
    EXPECT_EQ(doc->Battlefield.PathStartDistance, 3);
    EXPECT_EQ(doc->RedForce.recon_time, 1);
    EXPECT_EQ(doc->BlueForce.recon_time, 1);
    EXPECT_EQ(doc->RedLocal.patch_type, 1);
    EXPECT_EQ(doc->BlueLocal.patch_type, 1);
    EXPECT_EQ(doc->RunHeader.LatticeSize, 150);
    EXPECT_EQ(doc->RunHeader.LastStep, 501);
    EXPECT_EQ(doc->RunHeader.TimeDirection, 1);
    EXPECT_EQ(doc->LatticeExtentX, 152);
    EXPECT_EQ(doc->LatticeExtentY, 152);
    EXPECT_EQ(doc->BackgroundToggle, 1);
    EXPECT_EQ(doc->ShowAll, 1);
    EXPECT_EQ(doc->Statistics.BattleFrontRadius, 1);
    EXPECT_EQ(doc->Statistics.BattleFrontThreshold, 1);
    EXPECT_EQ(doc->AgentWeapons.GrenadeLandingX, -1);
    EXPECT_EQ(doc->AgentWeapons.GrenadeLandingY, -1);
    EXPECT_TRUE(doc->StatusText.empty());
    EXPECT_FALSE(doc->RedWaypointField.Owned);

    int nonzero = 0;
    for (int i = 0; i < GridCells; ++i)
        nonzero += doc->Battlefield.AgentGrid[i] != 0 || doc->Battlefield.TerrainType[i] != 0 ||
                   doc->Battlefield.OccupancyGrid[i] != 0;
    EXPECT_EQ(nonzero, 0);
}

TEST(Document, SideBlocksDefaults)
{
    auto doc = CBrevimarDoc::Create();
    for (Side side : {Side::Red, Side::Blue}) {
        const SideWeapons& w = doc->Weapons(side);
        EXPECT_EQ(w.prob_landing[0], 1.0f);
        EXPECT_EQ(w.blast_range, 3);
        for (int k = 0; k < WeaponKinds; ++k) {
            EXPECT_EQ(w.max_tgts[k], 2);
            EXPECT_EQ(w.fire_range[k], 1);
            EXPECT_EQ(w.prob_hit[k][0], 1.0f);
            for (int r = 1; r < HitRanges; ++r)
                EXPECT_EQ(w.prob_hit[k][r], 0.0f);
        }
        const CForce& f = doc->Force(side);
        EXPECT_EQ(f.C_RANGE_m, 0);
        EXPECT_EQ(f.C_RANGE_M, 1);
        EXPECT_EQ(f.I_COMB_M, 1);
        for (int s = 0; s < SquadSlots; ++s) {
            EXPECT_EQ(f.WeaponFunction.weapon_squad[s], 1);
            EXPECT_EQ(f.WeaponFunction.decay[s][AliveColumn], 1);
            EXPECT_EQ(f.WeaponFunction.decay[s][InjuredColumn], -1);
        }
    }
}

TEST(Document, HeapBuffersAreAllocatedOnceAndFreed)
{
    auto doc = CBrevimarDoc::Create();
    doc->DeleteContents();  // nothing allocated yet: nothing happens
    EXPECT_EQ(doc->HeapBuffersAllocated, 0);
    doc->AllocateHeapBuffers();
    ASSERT_EQ(doc->HeapBuffersAllocated, 1);
    int* capture = doc->CaptureBuffer[RedCaptureState].get();
    doc->Capture(RedCaptureX, 351, 351) = 7;
    doc->AllocateHeapBuffers();
    EXPECT_EQ(doc->CaptureBuffer[RedCaptureState].get(), capture);
    EXPECT_EQ(doc->Capture(RedCaptureX, 351, 351), 7);
    EXPECT_EQ(doc->Capture(BlueCaptureY, 0, 0), 0);
    doc->DeleteContents();
    EXPECT_EQ(doc->HeapBuffersAllocated, 0);
    EXPECT_EQ(doc->CaptureBuffer[RedCaptureState], nullptr);
}

TEST(Document, PauseDoesNotNest)
{
    auto doc = CBrevimarDoc::Create();
    doc->Pause();
    doc->Pause();
    doc->Resume();
    EXPECT_EQ(doc->Paused, 0);
}

}  // namespace
}  // namespace brevimar
