// What the fire routines of one combat round share: the states as lowered
// during the round and which agents were hit, both sides at once, so that
// every shooter fires from the state before the round.
#pragma once

#include <algorithm>
#include <cstdlib>

#include "core/Force.h"
#include "core/Limits.h"
#include "core/Side.h"

namespace brevimar::combat {

struct WorkingArrays {
    int* RedState;
    int* BlueState;
    int* RedHit;
    int* BlueHit;
    int* State(Side side) const { return side == Side::Red ? RedState : BlueState; }
    int* Hit(Side side) const { return side == Side::Red ? RedHit : BlueHit; }
};

inline int AgentCount(const CForce& force) { return std::clamp(force.NumAgents, 0, MaxAgents); }

inline bool InSquare(int x1, int y1, int x2, int y2, int h)
{
    return std::abs(x2 - x1) <= h && std::abs(y2 - y1) <= h;
}

}  // namespace brevimar::combat
