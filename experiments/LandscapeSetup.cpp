#include "experiments/LandscapeSetup.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <locale>
#include <sstream>
#include <tuple>

#include "core/Document.h"
#include "experiments/LandscapeParameters.h"

namespace brevimar {

int LandscapeAxisValueCount(double min, double max, int samples)
{
    // Counted from the sample count, never by stepping until past the
    // maximum: a zero step (min == max) or one below the range's precision
    // would never get there.
    if (samples < 1 || !(min <= max))
        return 0;
    return std::min(samples, LandscapeMaxSamples) + 1;
}

void LandscapeAxisValues(double min, double step, int count, double* values)
{
    double v = min;
    for (int i = 1; i <= count && i <= LandscapeMaxAxisValues; ++i) {
        values[i] = v;
        v += step;
    }
}

int CountLandscapeTerritoryCells(const CBattlefield& field)
{
    // The overlap of the box with 1..BattleSize on each axis; computed, not
    // walked, so a huge range costs nothing.
    const long long size = field.BattleSize;
    auto overlap = [size](long long centre, long long range) -> long long {
        const long long lo = std::max(centre - range, 1LL);
        const long long hi = std::min(centre + range, size);
        return hi >= lo ? hi - lo + 1 : 0;
    };
    return static_cast<int>(overlap(field.TerritoryCenterX, field.TerritoryRangeX) *
                            overlap(field.TerritoryCenterY, field.TerritoryRangeY));
}

void DeriveLandscapeGrid(CBrevimarDoc& doc)
{
    CLandscapeSettings& s = doc.Landscape.Settings;
    s.LandscapeXStep = s.LandscapeXSamples >= 1 ? (s.LandscapeXMax - s.LandscapeXMin) / s.LandscapeXSamples : 0.0;
    s.LandscapeYStep = s.LandscapeYSamples >= 1 ? (s.LandscapeYMax - s.LandscapeYMin) / s.LandscapeYSamples : 0.0;
    s.LandscapeXCount = LandscapeAxisValueCount(s.LandscapeXMin, s.LandscapeXMax, s.LandscapeXSamples);
    s.LandscapeYCount = LandscapeAxisValueCount(s.LandscapeYMin, s.LandscapeYMax, s.LandscapeYSamples);
    doc.Experiment.LandscapePointCount = s.LandscapeXCount * s.LandscapeYCount;
}

namespace {

std::string Number(double v)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::setprecision(17) << v;
    return out.str();
}

// An axis from min below max must reach a new value with every step: a step
// lost in the rounding of the values it is added to would sweep one value
// over and over where the settings ask for several.
bool AxisAdvances(double min, double max, int samples)
{
    if (!(min < max))
        return true;
    const double step = (max - min) / samples;
    double v = min;
    for (int i = 2; i <= LandscapeAxisValueCount(min, max, samples); ++i) {
        const double next = v + step;
        if (!(next > v))
            return false;
        v = next;
    }
    return true;
}

}  // namespace

std::string CheckLandscapeCoordinates(int squad, int redSquads, int xParameter, double xMin, double xMax,
                                      int yParameter, double yMin, double yMax)
{
    if (squad > 1 && squad > redSquads)
        return "RED squad " + std::to_string(squad) + " is not in the scenario, which has " +
               std::to_string(redSquads) + (redSquads == 1 ? " RED squad." : " RED squads.");
    for (const auto& [what, index, value] :
         {std::tuple{"x_min", xParameter, xMin}, std::tuple{"x_max", xParameter, xMax},
          std::tuple{"y_min", yParameter, yMin}, std::tuple{"y_max", yParameter, yMax}}) {
        std::string problem = CheckLandscapeAxisValue(what, index, value);
        if (!problem.empty())
            return problem;
    }
    // The sweep goes from the minimum up to the maximum: from above it would
    // visit nothing and end at once, as if done.
    for (const auto& [axis, min, max] : {std::tuple{"x", xMin, xMax}, std::tuple{"y", yMin, yMax}})
        if (min > max)
            return std::string(axis) + "_min is " + ShortestNumber(min) + ", above " + axis + "_max " +
                   ShortestNumber(max) + "; the sweep would have no " + axis + " value.";
    return {};
}

std::string CheckLandscapeSettings(const CLandscapeSettings& s, int redSquads)
{
    auto outside = [](int v, int lo, int hi) { return v < lo || v > hi; };
    if (outside(s.LandscapeXSamples, 1, LandscapeMaxSamples) || outside(s.LandscapeYSamples, 1, LandscapeMaxSamples))
        return "the number of samples on each axis must be 1 to " + std::to_string(LandscapeMaxSamples) + ".";
    if (outside(s.LandscapeInitialConditions, 1, LandscapeMaxConditions))
        return "the number of initial conditions must be 1 to " + std::to_string(LandscapeMaxConditions) + ".";
    if (outside(s.LandscapeMaxTimeToFlag, 1, MaxLandscapeRunLength))
        return "the maximum time to the enemy flag must be 1 to " + std::to_string(MaxLandscapeRunLength) + ".";
    if (outside(s.LandscapeSquad, 1, MaxSquads))
        return "the RED squad must be 1 to 10.";
    if (outside(s.LandscapeXParameter, 1, LandscapeParameterCount) ||
        outside(s.LandscapeYParameter, 1, LandscapeParameterCount))
        return "the parameter indices must be 1 to 57.";
    for (double v : {s.LandscapeXMin, s.LandscapeXMax, s.LandscapeYMin, s.LandscapeYMax})
        if (!LandscapeLimits::Axis.Holds(v))
            return "the x and y ranges must lie in -999 to 999 (the range " + Number(v) + " does not).";
    std::string coordinates =
        CheckLandscapeCoordinates(s.LandscapeSquad, redSquads, s.LandscapeXParameter, s.LandscapeXMin,
                                  s.LandscapeXMax, s.LandscapeYParameter, s.LandscapeYMin, s.LandscapeYMax);
    if (!coordinates.empty())
        return coordinates;
    for (const auto& [name, min, max, samples] :
         {std::tuple{"x", s.LandscapeXMin, s.LandscapeXMax, s.LandscapeXSamples},
          std::tuple{"y", s.LandscapeYMin, s.LandscapeYMax, s.LandscapeYSamples}})
        if (!AxisAdvances(min, max, samples))
            return std::string("the ") + name + " range " + Number(min) + " to " + Number(max) + " in " +
                   std::to_string(samples) + " samples gives a step that does not advance from one value to the next.";
    if (!LandscapeLimits::PenaltyPower.Holds(s.LandscapePenaltyPower))
        return "the penalty power factor must be 1 to 15.";
    if (!(s.LandscapeContainmentRange >= 0.0 && s.LandscapeContainmentRange <= MaxBattleSize))
        return "the flag containment range must be 0 to " + std::to_string(MaxBattleSize) + " (the largest battlefield).";
    if (outside(s.LandscapeTerritoryTimeMin, 1, MaxLandscapeRunLength) ||
        outside(s.LandscapeTerritoryTimeMax, 1, MaxLandscapeRunLength))
        return "the territorial possession times must be 1 to " + std::to_string(MaxLandscapeRunLength) +
               " (the longest run).";
    return {};
}

void SetLandscapeModeDefaults(CBrevimarDoc& doc)
{
    doc.RunMode = FitnessLandscapeMode;
    CLandscapeSettings& s = doc.Landscape.Settings;
    s = CLandscapeSettings{};
    s.LandscapeTerritoryCells = CountLandscapeTerritoryCells(doc.Battlefield);
    for (int k = 1; k <= LandscapeMeasureCount; ++k)
        s.LandscapeMeasureMatrix[k][k] = 1.0;
    DeriveLandscapeGrid(doc);
    doc.Experiment.LandscapeGridPoint = 0;
    CloseLandscapeSweep(doc);
}

void ResetFitnessLandscapeData(CBrevimarDoc& doc)
{
    doc.RunHeader.CurrentStep = 0;
    doc.Experiment.LandscapeBusy = 0;
    CLandscapeResults& r = doc.Landscape.Results();
    std::memset(r.LandscapeFitnessAve, 0, sizeof r.LandscapeFitnessAve);
    std::memset(r.LandscapeFitnessDelta, 0, sizeof r.LandscapeFitnessDelta);
    std::memset(r.LandscapeMeasure, 0, sizeof r.LandscapeMeasure);
    // The values the runs used go with the results they gave.
    std::memset(r.LandscapePointSetUp, 0, sizeof r.LandscapePointSetUp);
    CloseLandscapeSweep(doc);
}

void CloseLandscapeSweep(CBrevimarDoc& doc)
{
    CLandscapeRunState& run = doc.Landscape.Run;
    run.SweepOpen = run.PointOpen = run.RunOpen = run.ObservationPending = 0;
}

}  // namespace brevimar
