// The run header: what a stored run or frame file says about itself, the
// current step and direction, and the live attrition counts.
#pragma once

namespace brevimar {

// A side's snapshot in a frame file's start-up header, in file order around
// the side's agent count; only the count has a meaning here.
struct CRunSnapshot {
    int Lead = 0;
    int Ints1[2] = {};
    float Floats1[12] = {};
    int Ints2[4] = {};
    float Float2 = 0;
    int Ints3[8] = {};
    float Floats3[7] = {};
    int Unfiled = 0;  // not carried by the file
};

// Alive and injured agents of each side at one step.
struct CAttritionCounts {
    int RedAlive = 0;
    int RedInjured = 0;
    int BlueAlive = 0;
    int BlueInjured = 0;
};

struct CRunHeader {
    int LatticeSize = 150;  // battle size of the stored run
    int GeneralInts[6] = {};
    int RedCount = 0;  // agents in the stored run
    CRunSnapshot RedSnapshot;
    int BlueCount = 0;
    CRunSnapshot BlueSnapshot;
    int Trailer = 0;  // the header's last value

    int CurrentStep = 0;
    int LastStep = 501;
    int TimeDirection = 1;  // 1 forward, -1 backward

    int RedAlive = 0;
    int RedInjured = 0;
    int BlueAlive = 0;
    int BlueInjured = 0;

    // Check marks of the two move-order menu items, kept in step with MoveOrder.
    int RandomMoveOrderSelected = 0;
    int FixedMoveOrderSelected = 0;
};

}  // namespace brevimar
