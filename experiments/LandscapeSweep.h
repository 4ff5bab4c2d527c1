// The two-parameter sweep: every grid point, N runs of T observed steps, the
// twelve mission measures, and their combinations per grid point.
#pragma once

#include <string>

namespace brevimar {

class CBrevimarDoc;

constexpr int DefaultLandscapeTimerId = 44;

// Runs the sweep from where it stands: the whole grid, or the rest of a
// sweep the user paused. Returns when the grid is done or the run is paused;
// the window stays alive through Host's message pump between steps.
void RunLandscapeBatch(CBrevimarDoc& doc, int timerId = DefaultLandscapeTimerId);

// This step's contributions to the measures of initial condition
// LandscapeConditionIndex.
void AccumulateLandscapeCenterOfMass(CBrevimarDoc& doc);
void CountForcesNearFlags(CBrevimarDoc& doc);
void AccumulateLandscapeTerritory(CBrevimarDoc& doc);
// The twelve scores of the run just ended at (ix, iy), raised to the power
// factor, and their raw values.
void ScoreLandscapeRun(CBrevimarDoc& doc, int ix, int iy);
// Per-grid-point constants of the measures, from the forces as set up.
void ComputeLandscapePointConstants(CBrevimarDoc& doc);

// Why the sweep's chart and raw fitness file are not made yet, and how far
// it has come: they are only of a sweep that has ended.
std::string LandscapeUnfinishedNote(const CBrevimarDoc& doc);

}  // namespace brevimar
