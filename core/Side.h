#pragma once

namespace brevimar {

// RED is always handled before BLUE. The codes 1 and 2 are those the grids,
// the agent editing and the grenade aiming use for the two sides.
enum class Side { Red = 1, Blue = 2 };

constexpr Side Opponent(Side side) { return side == Side::Red ? Side::Blue : Side::Red; }
constexpr int SideCode(Side side) { return static_cast<int>(side); }

// Agent states.
constexpr int Dead = 0;
constexpr int Injured = 1;
constexpr int Alive = 2;

}  // namespace brevimar
