#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

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

// Buffers come back zeroed even when the memory they take is what an earlier
// allocation filled and gave back: a stored run without frames must play
// empty frames, not the last run's agents.
TEST(Document, HeapBuffersStartZeroedAfterFilledOnesWereFreed)
{
    auto doc = CBrevimarDoc::Create();
    auto everyBuffer = [&doc] {
        std::vector<std::pair<unsigned char*, std::size_t>> bytes = {
            {doc->DisplayGrid.get(), 2 * LatticeCells},
            {reinterpret_cast<unsigned char*>(doc->RedEnemyList.get()), sizeof(int) * AgentSlots * EnemyListColumns},
            {reinterpret_cast<unsigned char*>(doc->BlueEnemyList.get()), sizeof(int) * AgentSlots * EnemyListColumns},
            {reinterpret_cast<unsigned char*>(doc->RedSquadShotsLog.get()),
             sizeof(double) * SquadSlots * WeaponKinds * SeriesLength},
            {reinterpret_cast<unsigned char*>(doc->NeighborLog[5].get()), sizeof(double) * 8 * SeriesLength}};
        for (auto& buffer : doc->CaptureBuffer)
            bytes.emplace_back(reinterpret_cast<unsigned char*>(buffer.get()), sizeof(int) * CaptureCells);
        return bytes;
    };
    doc->AllocateHeapBuffers();
    for (auto [start, size] : everyBuffer())
        std::fill_n(start, size, 0x5A);
    doc->DeleteContents();
    doc->AllocateHeapBuffers();
    for (auto [start, size] : everyBuffer())
        EXPECT_TRUE(std::all_of(start, start + size, [](unsigned char b) { return b == 0; }));
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
