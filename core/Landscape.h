// The two-parameter fitness landscape: its settings, the state of a sweep in
// progress and the results per grid point. Measures and combinations are
// indexed 1..12 (entry 0 unused), grid values 1..50, initial conditions 1..100.
#pragma once

#include <cstddef>
#include <memory>

namespace brevimar {

constexpr int LandscapeMeasureCount = 12;
constexpr int LandscapeMeasureSlots = LandscapeMeasureCount + 1;
constexpr int LandscapeMaxAxisValues = 50;
constexpr int LandscapeAxisSlots = LandscapeMaxAxisValues + 1;
constexpr int LandscapeMaxConditions = 100;
constexpr int LandscapeConditionSlots = LandscapeMaxConditions + 1;
constexpr int LandscapeParameterCount = 57;
// Intervals per axis: the values are intervals + 1, at most 50.
constexpr int LandscapeMaxSamples = LandscapeMaxAxisValues - 1;

// What the dialogs edit and the input file sets.
struct CLandscapeSettings {
    int LandscapeSymmetrizeAliveInjured = 0;
    int LandscapeSymmetrizeWeights = 0;
    int LandscapeInitialConditions = 2;
    int LandscapeMaxTimeToFlag = 50;
    int LandscapePenaltyPower = 2;
    int LandscapeTerminationCode = 4;
    double LandscapeContainmentRange = 10.0;
    double LandscapeContainmentNumber = 50.0;
    double LandscapeCenterOfMassFraction = 0.5;
    int LandscapeUseTerritory = 0;
    int LandscapeTerritoryTimeMin = 25;
    int LandscapeTerritoryTimeMax = 40;
    int LandscapeTerritoryCells = 0;

    int LandscapeSquad = 1;
    int LandscapeXParameter = 2;
    int LandscapeYParameter = 30;
    int LandscapeXSamples = 4;  // intervals
    int LandscapeYSamples = 5;
    double LandscapeXMin = 3.0, LandscapeXMax = 12.0, LandscapeXStep = 2.25;
    double LandscapeYMin = -20.0, LandscapeYMax = 20.0, LandscapeYStep = 8.0;
    int LandscapeXCount = 5;  // values
    int LandscapeYCount = 6;

    int LandscapeObjectiveUsed[LandscapeMeasureSlots] = {0, 0, 0, 0, 1};
    double LandscapeObjectiveWeight[LandscapeMeasureSlots] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int LandscapePlotKind = 1;
    int LandscapeGraphKind = 1;
    int LandscapeColorMode = 1;
    // [k][c]: weight of measure k in combination c.
    double LandscapeMeasureMatrix[LandscapeMeasureSlots][LandscapeMeasureSlots] = {};
};

// Where a sweep stands; a paused sweep resumes from here.
struct CLandscapeRunState {
    int LandscapeConditionIndex = 0;
    int LandscapeTime = 0;
    int LandscapeEndTime = 0;
    int LandscapeMinTimeToFlag = 0;
    int LandscapeDistanceNorm = 1;
    int LandscapeContainmentRadius = 0;
    int LandscapeRedContainmentCap = 0;
    int LandscapeBlueContainmentCap = 0;
    int LandscapeRedContainmentStart = 0;
    int LandscapeBlueContainmentStart = 0;
    int LandscapeContainmentStart = 0;
    int LandscapeRedEmpty = 0;
    int LandscapeBlueEmpty = 0;
    int LandscapeContained = 0;
    int LandscapeContainmentRecorded = 0;
    int LandscapeContainmentTime = 0;
    int LandscapeRedSurvivors = 0;
    int LandscapeBlueSurvivors = 0;
    // Resumption: a sweep, a grid point, a run under way (at LandscapeTime
    // 0 still to be set up); a step observed up to the message pump whose
    // measures are still to be taken.
    int SweepOpen = 0;
    int PointOpen = 0;
    int RunOpen = 0;
    int ObservationPending = 0;
    int PointX = 0;  // ix, iy of the open grid point
    int PointY = 0;
};

struct CLandscapeResults {
    double LandscapeMeasure[LandscapeMeasureSlots][LandscapeConditionSlots] = {};
    double LandscapeConditionFitness[LandscapeConditionSlots] = {};
    double LandscapeCombinationMean[LandscapeMeasureSlots] = {};
    double LandscapeCombinationDelta[LandscapeMeasureSlots] = {};
    double LandscapeCombinationStdDev[LandscapeMeasureSlots] = {};
    double LandscapeCombinationVariance[LandscapeMeasureSlots] = {};
    double LandscapeMeasureMean[LandscapeMeasureSlots][LandscapeAxisSlots][LandscapeAxisSlots] = {};
    // Mean absolute deviation of the raw value from LandscapeMeasureMean.
    double LandscapeMeasureDeviation[LandscapeMeasureSlots][LandscapeAxisSlots][LandscapeAxisSlots] = {};
    double LandscapeFitnessAve[LandscapeMeasureSlots][LandscapeAxisSlots][LandscapeAxisSlots] = {};
    double LandscapeFitnessDelta[LandscapeMeasureSlots][LandscapeAxisSlots][LandscapeAxisSlots] = {};
    double LandscapeXValues[LandscapeAxisSlots] = {};
    double LandscapeYValues[LandscapeAxisSlots] = {};
    // The x and y values the runs at (ix, iy) used, read back from their
    // fields once the grid point was set up: a cap (a fire range held to the
    // sensor range, a squad to what the force's 300 agents leave), a
    // symmetrisation or the other axis writing the same field makes them
    // differ from the grid value. Valid where LandscapePointSetUp is 1, which
    // a new sweep and a reset of the results clear.
    double LandscapeXUsed[LandscapeAxisSlots][LandscapeAxisSlots] = {};
    double LandscapeYUsed[LandscapeAxisSlots][LandscapeAxisSlots] = {};
    unsigned char LandscapePointSetUp[LandscapeAxisSlots][LandscapeAxisSlots] = {};
};

struct CLandscapeData {
    CLandscapeSettings Settings;
    CLandscapeRunState Run;

    // The results per grid point, about 1 MiB that only a landscape sweep,
    // its reports and its chart use: taken on first use, all zero until a
    // sweep writes them.
    CLandscapeResults& Results()
    {
        if (!ResultsBuffer)
            ResultsBuffer = std::make_unique<CLandscapeResults>();
        return *ResultsBuffer;
    }
    const CLandscapeResults& Results() const { return ResultsBuffer ? *ResultsBuffer : NoResults(); }
    bool HasResults() const { return ResultsBuffer != nullptr; }

    // LandscapeRawMeasure[k][ix][iy][ic], 27 MB: allocated on first use.
    static constexpr std::size_t RawMeasureSize =
        std::size_t(LandscapeMeasureSlots) * LandscapeAxisSlots * LandscapeAxisSlots * LandscapeConditionSlots;
    std::unique_ptr<double[]> RawMeasureBuffer;
    static constexpr std::size_t RawIndex(int k, int ix, int iy, int ic)
    {
        return ((std::size_t(k) * LandscapeAxisSlots + ix) * LandscapeAxisSlots + iy) * LandscapeConditionSlots + ic;
    }
    double& LandscapeRawMeasure(int k, int ix, int iy, int ic)
    {
        if (!RawMeasureBuffer)
            RawMeasureBuffer = std::make_unique<double[]>(RawMeasureSize);
        return RawMeasureBuffer[RawIndex(k, ix, iy, ic)];
    }
    double RawMeasureAt(int k, int ix, int iy, int ic) const
    {
        return RawMeasureBuffer ? RawMeasureBuffer[RawIndex(k, ix, iy, ic)] : 0.0;
    }

private:
    static const CLandscapeResults& NoResults()
    {
        static const CLandscapeResults none;
        return none;
    }
    std::unique_ptr<CLandscapeResults> ResultsBuffer;
};

}  // namespace brevimar
