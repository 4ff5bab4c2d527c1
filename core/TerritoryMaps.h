// Territory shared by the owner map and the territorial statistic.
#pragma once

namespace brevimar {

struct CBattlefield;

// True for a cell outside the user's territory area while that area is on.
bool OutsideUserArea(const CBattlefield& f, int x, int y);

}  // namespace brevimar
