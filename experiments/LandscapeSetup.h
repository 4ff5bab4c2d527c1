// Defaults, reset, the sweep grid and the checks every way into the landscape
// settings (dialogs, input file) applies before it accepts them.
#pragma once

#include <string>

#include "core/Landscape.h"
#include "core/Limits.h"
#include "experiments/ValueLimit.h"

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

// What the landscape's dialogs accept (229 objective, 230 run-time, 232
// coordinates), and so all that an input file may hold: the dialogs bind
// these limits and the reader checks them, so a file cannot hold what a user
// could not type.
namespace LandscapeLimits {
inline constexpr ValueLimit Switch{0, 1};  // yes/no radios and "Use?"
inline constexpr ValueLimit InitialConditions{1, LandscapeMaxConditions};
inline constexpr ValueLimit MaxTimeToFlag{1, MaxLandscapeRunLength};
inline constexpr ValueLimit PenaltyPower{1, 15};
inline constexpr ValueLimit TerminationCode{1, 4};
inline constexpr ValueLimit ContainmentRange{1, 99};  // whole cells in the dialog
inline constexpr ValueLimit ContainmentNumber{0, 99};
inline constexpr ValueLimit CenterOfMassFraction{0, 1};
inline constexpr ValueLimit ThresholdRange{1, 99};
inline constexpr ValueLimit SurroundingNumber{0, 999};
inline constexpr ValueLimit Delta{0, 999};
inline constexpr ValueLimit CenterX{0, 999};
inline constexpr ValueLimit CenterY{1, 999};
inline constexpr ValueLimit BoxRange{1, 999};  // range x and range y
inline constexpr ValueLimit TerritoryTime{1, MaxLandscapeRunLength};
inline constexpr ValueLimit Squad{1, MaxSquads};
inline constexpr ValueLimit Parameter{1, LandscapeParameterCount};
inline constexpr ValueLimit Axis{-999, 999};
inline constexpr ValueLimit Samples{1, LandscapeMaxSamples};  // 50 values per axis at most
inline constexpr ValueLimit PlotKind{1, 2};
inline constexpr ValueLimit GraphKind{1, 3};
inline constexpr ValueLimit ColorMode{1, 2};
inline constexpr ValueLimit Weight{0, 100};  // the objective's weights
// No dialog edits the input file's combination weights. A combination is a
// weighted sum clamped to [0, 1], so a weight of either sign is sound; the
// bound keeps the sums of twelve scores finite.
inline constexpr ValueLimit CombinationWeight{-100, 100};
inline constexpr ValueLimit WinThreshold{0, 1};
}  // namespace LandscapeLimits

// The first problem that would stop a sweep running sound, or empty:
// sample counts 1..49, initial conditions 1..100, run length 1..999,
// squad 1..10 and one of the scenario's `redSquads` RED squads, parameter
// indices 1..57, x and y within -999..999 and what their parameters' fields
// take (CheckLandscapeCoordinates), with steps that advance, penalty power
// 1..15, containment range 0..150, territorial possession times 1..999.
std::string CheckLandscapeSettings(const CLandscapeSettings& settings, int redSquads);
// The part of that check the coordinates dialog makes: a squad of the
// scenario's RED squads (squad 1 always), and both ranges within what the
// fields of their parameters take, each minimum no greater than its maximum.
std::string CheckLandscapeCoordinates(int squad, int redSquads, int xParameter, double xMin, double xMax,
                                      int yParameter, double yMin, double yMax);

void SetLandscapeModeDefaults(CBrevimarDoc& doc);
void ResetFitnessLandscapeData(CBrevimarDoc& doc);
// Forgets a sweep that was paused half-way; the next one starts afresh.
void CloseLandscapeSweep(CBrevimarDoc& doc);

}  // namespace brevimar
