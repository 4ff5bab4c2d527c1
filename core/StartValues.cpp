#include "core/StartValues.h"

#include "core/Document.h"

namespace brevimar {

void SetRunStartValues(CDocumentState& doc)
{
    doc.Experiment.GaShowBest = 1;
    doc.Experiment.GaShowProgress = 1;
    doc.Experiment.LandscapeWinThreshold = 0.5;
    for (CForce* force : {static_cast<CForce*>(&doc.RedForce), static_cast<CForce*>(&doc.BlueForce)}) {
        CForce& f = *force;
        f.MoveGateByTime = 0;
        for (int s = 1; s <= MaxSquads; ++s) {
            f.MoveProbAlive[s] = 1.0f;
            f.MoveProbInjured[s] = 1.0f;
            f.MovePeriodAlive[s] = 1;
            f.MovePeriodInjured[s] = 1;
        }
    }
}

}  // namespace brevimar
