// Defaults, reset, the sweep grid and the checks every way into the landscape
// settings (dialogs, input file) applies before it accepts them.
#pragma once

#include <string>

namespace brevimar {

class CBrevimarDoc;
struct CBattlefield;
struct CLandscapeSettings;

// Values on an axis divided into `samples` intervals: samples + 1 while
// min <= max, none otherwise (and none for a count below 1); at most 50.
int LandscapeAxisValueCount(double min, double max, int samples);
// The axis values 1..count as the sweep visits them: min, then repeated
// addition of the step.
void LandscapeAxisValues(double min, double step, int count, double* values /* [count + 1], index 1.. */);

// Cells of the territorial-possession box that lie on the battlefield.
int CountLandscapeTerritoryCells(const CBattlefield& field);

// Steps from the ranges and the counts of values; the grid point count.
void DeriveLandscapeGrid(CBrevimarDoc& doc);

// The longest run a sweep observes (the run-time dialog's limit).
constexpr int MaxLandscapeRunLength = 999;

// The first problem that would stop a sweep running sound, or empty:
// sample counts 1..49, initial conditions 1..100, run length 1..999,
// squad 1..10, parameter indices 1..57, x and y within -999..999 with steps
// that advance, penalty power 1..15, containment range 0..150, territorial
// possession times 1..999.
std::string CheckLandscapeSettings(const CLandscapeSettings& settings);

void SetLandscapeModeDefaults(CBrevimarDoc& doc);
void ResetFitnessLandscapeData(CBrevimarDoc& doc);
// Forgets a sweep that was paused half-way; the next one starts afresh.
void CloseLandscapeSweep(CBrevimarDoc& doc);

}  // namespace brevimar
