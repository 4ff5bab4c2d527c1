// A battle as the interactive run fights it, for comparing two roads to the
// same scenario step by step.
#pragma once

#include <vector>

#include "core/Document.h"
#include "run/RunLoop.h"

namespace brevimar::testing {

// Every agent's state and cell at step 0 and after each of `steps` steps.
inline std::vector<int> Battle(CBrevimarDoc& doc, int steps)
{
    std::vector<int> battle;
    for (int n = 0; n <= steps; ++n) {
        if (n > 0)
            TakeInteractiveStep(doc);
        for (Side side : {Side::Red, Side::Blue})
            for (int i = 1; i <= doc.Force(side).NumAgents; ++i)
                battle.insert(battle.end(), {doc.Force(side).AgentState[i], doc.Force(side).AgentX[i],
                                             doc.Force(side).AgentY[i]});
        battle.push_back(-1);
    }
    return battle;
}

}  // namespace brevimar::testing
