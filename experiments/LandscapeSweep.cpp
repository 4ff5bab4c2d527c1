#include "experiments/LandscapeSweep.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/Document.h"
#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"

namespace brevimar {

namespace {

int PresentCount(const CForce& force)
{
    int n = 0;
    for (int i = 1; i <= force.NumAgents && i <= MaxAgents; ++i)
        n += force.AgentState[i] != Dead;
    return n;
}

int Size(const CBrevimarDoc& doc) { return std::clamp(doc.Battlefield.BattleSize, 1, MaxBattleSize); }

// Cells within r of `centre` on one axis of the battlefield.
long long AxisOverlap(long long centre, long long r, long long size)
{
    const long long lo = std::max(centre - r, 1LL);
    const long long hi = std::min(centre + r, size);
    return hi >= lo ? hi - lo + 1 : 0;
}

// The smallest trunc(distance from (px, py) to a squad box corner) - 1 over
// squads 1..NumSquads, from 99999.
int NearestBoxCorner(const CBrevimarDoc& doc, Side side, double px, double py)
{
    const CBattlefield& f = doc.Battlefield;
    const CForce& force = doc.Force(side);
    int best = 99999;
    for (int s = 1; s <= force.NumSquads && s <= MaxSquads; ++s) {
        const bool red = side == Side::Red;
        const double cx = (red ? f.RED_cen_x[s] : f.BLUE_cen_x[s]) - 0.5 * (red ? f.R_box_l[s] : f.B_box_l[s]);
        const double cy = (red ? f.RED_cen_y[s] : f.BLUE_cen_y[s]) - 0.5 * (red ? f.R_box_w[s] : f.B_box_w[s]);
        const int d = static_cast<int>(std::hypot(px - cx, py - cy)) - 1;
        best = std::min(best, d);
    }
    return best;
}

int RunLength(const CLandscapeSettings& s) { return std::max(s.LandscapeMaxTimeToFlag, 1); }

// InitializeForces drops RED's squads after the one whose size brings RED to
// its agent count; when those are all empty, one is a squad the sweep set to
// size 0, which is still the scenario's: they stay in the force, so that the
// next point's size counts in RED's total. (The territorial-possession box
// and rule InitializeForces keeps itself while the sweep stands open.)
void InitializeForcesForSweep(CBrevimarDoc& doc)
{
    CForce& red = doc.RedForce;
    const int squads = std::min(red.NumSquads, MaxSquads);
    doc.InitializeForces();
    if (red.NumSquads >= squads)
        return;
    for (int k = red.NumSquads + 1; k <= squads; ++k)
        if (red.num_per_squad[k] != 0)
            return;
    red.NumSquads = squads;
}

void BeginGridPoint(CBrevimarDoc& doc, int ix, int iy)
{
    CLandscapeSettings& s = doc.Landscape.Settings;
    CLandscapeResults& r = doc.Landscape.Results();
    {
        const BatchWriteScope search(doc, BatchWriteKind::Search);
        SetLandscapeParameters(doc, r.LandscapeXValues[ix], r.LandscapeYValues[iy]);
    }
    {
        const BatchWriteScope setUp(doc, BatchWriteKind::SetUp);
        if (s.LandscapeSymmetrizeAliveInjured == 1)
            SymmetrizeAliveInjured(doc);
        if (s.LandscapeSymmetrizeWeights == 1)
            SymmetrizeWeightPairs(doc);
        InitializeForcesForSweep(doc);
    }
    // What the runs of this point read, for the report and the chart: the
    // fields as the writing, its caps and the symmetrisations left them.
    r.LandscapeXUsed[ix][iy] = LandscapeFieldValue(doc, s.LandscapeXParameter);
    r.LandscapeYUsed[ix][iy] = LandscapeFieldValue(doc, s.LandscapeYParameter);
    r.LandscapePointSetUp[ix][iy] = 1;
    // Measures 11 and 12 divide by the cells of the box they count in.
    s.LandscapeTerritoryCells = CountLandscapeTerritoryCells(doc.Battlefield);
    ComputeLandscapePointConstants(doc);
    if (s.LandscapeUseTerritory == 1 && s.LandscapeTerritoryTimeMin >= RunLength(s)) {
        s.LandscapeUseTerritory = 0;
        for (int ic = 1; ic <= s.LandscapeInitialConditions; ++ic)
            r.LandscapeMeasure[11][ic] = r.LandscapeMeasure[12][ic] = 0.0;
    }
}

void BeginRun(CBrevimarDoc& doc)
{
    CLandscapeRunState& run = doc.Landscape.Run;
    CLandscapeResults& r = doc.Landscape.Results();
    const int ic = run.LandscapeConditionIndex;
    run.LandscapeContained = 0;
    run.LandscapeContainmentRecorded = 0;
    run.LandscapeContainmentTime = RunLength(doc.Landscape.Settings);
    doc.Battlefield.RedFratricideCount = 0;
    doc.Battlefield.BlueFratricideCount = 0;
    for (int k : {5, 6, 7, 8, 11, 12})
        r.LandscapeMeasure[k][ic] = 0.0;
    {
        const BatchWriteScope setUp(doc, BatchWriteKind::SetUp);
        InitializeForcesForSweep(doc);
        doc.RunTerminated = 0;
        doc.SetupBattlefield();
    }
    run.LandscapeRedEmpty = 0;
    run.LandscapeBlueEmpty = 0;
    run.LandscapeTime = 0;
    run.ObservationPending = 0;
}

// Steps the open run on to its end; false when the user paused it first. A
// pause given at the run's last observation holds once the run is scored,
// so that what is done in it (an agent placed) never counts in a run that
// has fought all its steps.
bool ContinueRun(CBrevimarDoc& doc)
{
    CLandscapeRunState& run = doc.Landscape.Run;
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const int T = RunLength(s);
    for (;;) {
        if (run.ObservationPending == 0) {
            int& t = run.LandscapeTime;
            ++t;
            doc.RunHeader.CurrentStep = t;
            if (doc.NumRed() == 0)
                run.LandscapeRedEmpty = 1;
            if (doc.NumBlue() == 0)
                run.LandscapeBlueEmpty = 1;
            if (doc.host().ShowsStatusText())
                doc.ShowLandscapeStatus(run.PointX, run.PointY);
            doc.host().PumpOneMessage();
            if (doc.Paused == 1 && t < T) {
                run.ObservationPending = 1;
                return false;
            }
        }
        run.ObservationPending = 0;
        const int t = run.LandscapeTime;
        if (s.LandscapeUseTerritory == 1 && s.LandscapeTerritoryTimeMin <= t && t <= s.LandscapeTerritoryTimeMax)
            AccumulateLandscapeTerritory(doc);
        if (t >= run.LandscapeContainmentStart && run.LandscapeContainmentRecorded == 0) {
            CountForcesNearFlags(doc);
            if (run.LandscapeContained == 1) {
                run.LandscapeContainmentTime = t;
                run.LandscapeContainmentRecorded = 1;
            }
        }
        AccumulateLandscapeCenterOfMass(doc);
        if (t >= T)
            return true;
        doc.StepSimulation();
    }
}

void FinishGridPoint(CBrevimarDoc& doc, int ix, int iy)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    CLandscapeResults& r = doc.Landscape.Results();
    CLandscapeData& data = doc.Landscape;
    const int n = s.LandscapeInitialConditions;
    auto clamp01 = [](double v) { return v > 1.0 ? 1.0 : (v < 0.0 ? 0.0 : v); };
    for (int c = 1; c <= LandscapeMeasureCount; ++c) {
        double sum = 0.0;
        for (int ic = 1; ic <= n; ++ic) {
            double f = 0.0;
            for (int k = 1; k <= LandscapeMeasureCount; ++k)
                f += s.LandscapeMeasureMatrix[k][c] * r.LandscapeMeasure[k][ic];
            r.LandscapeConditionFitness[ic] = f;
            sum += f;
        }
        const double mean = clamp01(sum / n);
        double absDev = 0.0, sumD = 0.0, sumD2 = 0.0;
        for (int ic = 1; ic <= n; ++ic) {
            const double d = r.LandscapeConditionFitness[ic] - mean;
            absDev += std::fabs(d);
            sumD += d;
            sumD2 += d * d;
        }
        double variance = n > 1 ? (sumD2 - sumD * sumD / n) / (n - 1) : 0.0;
        if (variance < 0.0)
            variance = 0.0;
        r.LandscapeFitnessAve[c][ix][iy] = mean;
        r.LandscapeFitnessDelta[c][ix][iy] = absDev / n;
        r.LandscapeCombinationMean[c] = mean;
        r.LandscapeCombinationDelta[c] = absDev / n;
        r.LandscapeCombinationVariance[c] = variance;
        r.LandscapeCombinationStdDev[c] = std::sqrt(variance);
    }
    for (int k = 1; k <= LandscapeMeasureCount; ++k) {
        double sum = 0.0;
        for (int ic = 1; ic <= n; ++ic)
            sum += data.LandscapeRawMeasure(k, ix, iy, ic);
        const double mean = clamp01(sum / n);
        double absDev = 0.0;
        for (int ic = 1; ic <= n; ++ic)
            absDev += std::fabs(data.LandscapeRawMeasure(k, ix, iy, ic) - mean);
        r.LandscapeMeasureMean[k][ix][iy] = mean;
        r.LandscapeMeasureDeviation[k][ix][iy] = absDev / n;
    }
}

void EndSweep(CBrevimarDoc& doc, int timerId)
{
    CloseLandscapeSweep(doc);
    doc.Experiment.LandscapeBusy = 0;
    doc.host().KillTimer(timerId);
    doc.Paused = 0;
    doc.host().InvalidateView();
}

}  // namespace

void ComputeLandscapePointConstants(CBrevimarDoc& doc)
{
    CLandscapeRunState& run = doc.Landscape.Run;
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const int size = Size(doc);
    run.LandscapeRedEmpty = doc.NumRed() == 0;
    run.LandscapeBlueEmpty = doc.NumBlue() == 0;
    run.LandscapeDistanceNorm = 1 - static_cast<int>(size * -1.4142135);
    const CForce& red = doc.RedForce;
    const CForce& blue = doc.BlueForce;
    run.LandscapeMinTimeToFlag = NearestBoxCorner(doc, Side::Red, red.GoalFlagX, red.GoalFlagY);

    const double range = std::clamp(s.LandscapeContainmentRange, -1.0e6, 1.0e6);
    const int r = static_cast<int>(range);
    run.LandscapeContainmentRadius = r;
    const long long blueCells = AxisOverlap(blue.GoalFlagX, r, size) * AxisOverlap(blue.GoalFlagY, r, size);
    const long long redCells = AxisOverlap(red.GoalFlagX, r, size) * AxisOverlap(red.GoalFlagY, r, size);
    run.LandscapeBlueContainmentCap = static_cast<int>(std::min<long long>(blueCells, blue.NumAgents));
    run.LandscapeRedContainmentCap = static_cast<int>(std::min<long long>(redCells, red.NumAgents));
    run.LandscapeRedContainmentStart =
        NearestBoxCorner(doc, Side::Red, red.GoalFlagX - r, red.GoalFlagY - r);
    run.LandscapeBlueContainmentStart =
        NearestBoxCorner(doc, Side::Blue, blue.GoalFlagX + r, blue.GoalFlagY + r);
    run.LandscapeContainmentStart = std::min(run.LandscapeRedContainmentStart, run.LandscapeBlueContainmentStart);
}

std::string LandscapeUnfinishedNote(const CBrevimarDoc& doc)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const CLandscapeRunState& run = doc.Landscape.Run;
    const std::string points = std::to_string(doc.Experiment.LandscapePointCount);
    std::string progress;
    if (run.SweepOpen == 0 || run.PointOpen == 0) {
        progress = "has not started: none of its " + points + " points has run.";
    } else {
        const int point = (run.PointX - 1) * s.LandscapeYCount + run.PointY;
        progress = "has not ended: point " + std::to_string(point) + " of " + points + " (x " +
                   std::to_string(run.PointX) + '/' + std::to_string(s.LandscapeXCount) + ", y " +
                   std::to_string(run.PointY) + '/' + std::to_string(s.LandscapeYCount) + ").";
    }
    return "The fitness landscape " + progress + " Its chart and raw fitness file are made once it ends.";
}

void AccumulateLandscapeCenterOfMass(CBrevimarDoc& doc)
{
    CLandscapeRunState& run = doc.Landscape.Run;
    const int ic = run.LandscapeConditionIndex;
    const double norm = run.LandscapeDistanceNorm;
    double d[2] = {};
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        double sx = 0, sy = 0;
        int n = 0;
        for (int i = 1; i <= force.NumAgents && i <= MaxAgents; ++i)
            if (force.AgentState[i] != Dead) {
                sx += force.AgentX[i];
                sy += force.AgentY[i];
                ++n;
            }
        if (n == 0)
            n = 1;
        const double dist = std::hypot(sx / n - force.GoalFlagX, sy / n - force.GoalFlagY) / norm;
        d[side == Side::Red ? 0 : 1] = std::min(dist, 1.0);
    }
    doc.Landscape.Results().LandscapeMeasure[5][ic] += d[0];
    doc.Landscape.Results().LandscapeMeasure[6][ic] += d[1];
}

void CountForcesNearFlags(CBrevimarDoc& doc)
{
    CLandscapeRunState& run = doc.Landscape.Run;
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const int ic = run.LandscapeConditionIndex;
    const long long r = static_cast<long long>(std::clamp(s.LandscapeContainmentRange, -1.0e6, 1.0e6));
    int near[2] = {};
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        int n = 0;
        for (int i = 1; i <= force.NumAgents && i <= MaxAgents; ++i)
            if (force.AgentState[i] != Dead && std::llabs(force.AgentX[i] - force.GoalFlagX) <= r &&
                std::llabs(force.AgentY[i] - force.GoalFlagY) <= r)
                ++n;
        near[side == Side::Red ? 0 : 1] = n;
    }
    if (run.LandscapeRedContainmentCap < s.LandscapeContainmentNumber)
        run.LandscapeContained = 0;
    else if (near[0] >= s.LandscapeContainmentNumber)
        run.LandscapeContained = 1;
    // A side with no agents has a cap of 0: taken as 1, as a count of 0 is
    // everywhere else in the measures. An agent placed by hand after the
    // cap was taken makes no fraction of the force above 1.
    const int caps[2] = {std::max(run.LandscapeRedContainmentCap, 1), std::max(run.LandscapeBlueContainmentCap, 1)};
    doc.Landscape.Results().LandscapeMeasure[7][ic] += static_cast<double>(std::min(near[0], caps[0])) / caps[0];
    doc.Landscape.Results().LandscapeMeasure[8][ic] += static_cast<double>(std::min(near[1], caps[1])) / caps[1];
}

void AccumulateLandscapeTerritory(CBrevimarDoc& doc)
{
    const CBattlefield& f = doc.Battlefield;
    const int size = Size(doc);
    const int ic = doc.Landscape.Run.LandscapeConditionIndex;
    // Occupancy as prefix sums, so that each cell's neighbourhood count costs
    // four look-ups whatever the threshold range.
    constexpr int W = MaxBattleSize + 1;
    std::vector<int> mark(static_cast<std::size_t>(W) * W, 0);
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1; i <= force.NumAgents && i <= MaxAgents; ++i) {
            const int x = force.AgentX[i], y = force.AgentY[i];
            if (force.AgentState[i] != Dead && x >= 1 && x <= size && y >= 1 && y <= size)
                mark[static_cast<std::size_t>(W) * x + y] = side == Side::Red ? 1 : 2;
        }
    }
    std::vector<int> red(static_cast<std::size_t>(W) * W, 0), blue(red.size(), 0);
    auto at = [](int x, int y) { return static_cast<std::size_t>(W) * x + y; };
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y) {
            const int m = mark[at(x, y)];
            red[at(x, y)] = (m == 1) + red[at(x - 1, y)] + red[at(x, y - 1)] - red[at(x - 1, y - 1)];
            blue[at(x, y)] = (m == 2) + blue[at(x - 1, y)] + blue[at(x, y - 1)] - blue[at(x - 1, y - 1)];
        }
    auto boxSum = [&](const std::vector<int>& p, int x0, int x1, int y0, int y1) {
        return p[at(x1, y1)] - p[at(x0 - 1, y1)] - p[at(x1, y0 - 1)] + p[at(x0 - 1, y0 - 1)];
    };
    const long long range = std::max(f.TerritoryRange, 0);
    const int xLo = static_cast<int>(std::max<long long>(1LL * f.TerritoryCenterX - f.TerritoryRangeX, 1));
    const int xHi = static_cast<int>(std::min<long long>(1LL * f.TerritoryCenterX + f.TerritoryRangeX, size));
    const int yLo = static_cast<int>(std::max<long long>(1LL * f.TerritoryCenterY - f.TerritoryRangeY, 1));
    const int yHi = static_cast<int>(std::min<long long>(1LL * f.TerritoryCenterY + f.TerritoryRangeY, size));
    int redOwned = 0, blueOwned = 0;
    for (int x = xLo; x <= xHi; ++x)
        for (int y = yLo; y <= yHi; ++y) {
            const int u0 = static_cast<int>(std::max<long long>(x - range, 1));
            const int u1 = static_cast<int>(std::min<long long>(x + range, size));
            const int v0 = static_cast<int>(std::max<long long>(y - range, 1));
            const int v1 = static_cast<int>(std::min<long long>(y + range, size));
            const int nR = boxSum(red, u0, u1, v0, v1);
            const int nB = boxSum(blue, u0, u1, v0, v1);
            int owner = 0;
            if (nR >= f.TerritoryMinCount && nR >= f.TerritoryDelta + nB)
                owner = 1;
            else if (nB >= f.TerritoryMinCount && nB >= f.TerritoryDelta + nR)
                owner = 2;
            doc.TerritoryOwner[LatticeStride * x + y] = owner;
            redOwned += owner == 1;
            blueOwned += owner == 2;
        }
    const int cells = std::max(doc.Landscape.Settings.LandscapeTerritoryCells, 1);
    doc.Landscape.Results().LandscapeMeasure[11][ic] += static_cast<double>(redOwned) / cells;
    doc.Landscape.Results().LandscapeMeasure[12][ic] += static_cast<double>(blueOwned) / cells;
}

void ScoreLandscapeRun(CBrevimarDoc& doc, int ix, int iy)
{
    CLandscapeRunState& run = doc.Landscape.Run;
    const CLandscapeSettings& s = doc.Landscape.Settings;
    CLandscapeResults& res = doc.Landscape.Results();
    const int ic = run.LandscapeConditionIndex;
    const int T = RunLength(s);
    run.LandscapeEndTime = run.LandscapeTime;
    const int redPresent = PresentCount(doc.RedForce);
    const int bluePresent = PresentCount(doc.BlueForce);
    run.LandscapeRedSurvivors = redPresent;
    run.LandscapeBlueSurvivors = bluePresent;
    // Divisions by a side's count take an empty side as 1.
    const double nR = std::max(doc.NumRed(), 1);
    const double nB = std::max(doc.NumBlue(), 1);
    const double E = run.LandscapeEndTime;

    double score[LandscapeMeasureSlots] = {};
    double raw[LandscapeMeasureSlots] = {};
    auto accumulated = [&](int k) { return res.LandscapeMeasure[k][ic]; };

    // 1: containment before the earliest possible arrival counts as arriving
    // then, and an earliest arrival at or beyond T leaves no time to gain:
    // such a run scores 0, never the negative (T - tc) that the power would
    // turn into a large positive or a negative score.
    if (run.LandscapeContainmentRecorded == 1 && run.LandscapeContainmentTime < T) {
        const int tc = std::max(run.LandscapeContainmentTime, run.LandscapeMinTimeToFlag);
        score[1] = std::max(static_cast<double>(T - tc) / std::max(T - run.LandscapeMinTimeToFlag, 1), 0.0);
    }
    raw[1] = score[1];
    score[2] = raw[2] = redPresent / nR;
    score[3] = raw[3] = (nB - bluePresent) / nB;
    {
        const double aR = redPresent;
        const double aB = bluePresent == 0 ? 1 : bluePresent;
        const double ratio = aR / (aB * nR);
        const double m = nB >= 2 ? nB - 1 : 1;
        const double c = nB > 2 ? nB - 2 : 1;
        score[4] = raw[4] = ratio * m / (c * ratio + 1);
    }
    raw[5] = accumulated(5) / E;
    score[5] = 1.0 - raw[5];
    raw[6] = accumulated(6) / E;
    score[6] = raw[6];
    const double W = E - run.LandscapeContainmentStart;
    if (W < 1) {
        score[7] = raw[7] = 1.0;
        score[8] = raw[8] = 1.0;
    } else {
        // The near fractions are counted at every observation from the
        // window's first to its last, both taken, so one more than W when
        // the window opens after the first: the run's value and its score
        // are their mean, a fraction of the force like each of them.
        const double observed = E - std::max(run.LandscapeContainmentStart, 1) + 1;
        raw[7] = score[7] = accumulated(7) / observed;
        raw[8] = accumulated(8) / observed;
        score[8] = 1.0 - raw[8];
    }
    if (doc.Battlefield.red_frat_flag == 1) {
        raw[9] = std::min(doc.Battlefield.RedFratricideCount / nR, 1.0);
        score[9] = 1.0 - raw[9];
    }
    if (doc.Battlefield.blue_frat_flag == 1)
        score[10] = raw[10] = std::min(doc.Battlefield.BlueFratricideCount / nB, 1.0);
    const long long L = 1LL * s.LandscapeTerritoryTimeMax - s.LandscapeTerritoryTimeMin + 1;
    if (s.LandscapeUseTerritory == 1 && L >= 1) {
        raw[11] = score[11] = accumulated(11) / static_cast<double>(L);
        raw[12] = accumulated(12) / static_cast<double>(L);
        score[12] = 1.0 - raw[12];
    }
    for (int k = 1; k <= LandscapeMeasureCount; ++k) {
        res.LandscapeMeasure[k][ic] = std::pow(score[k], s.LandscapePenaltyPower);
        doc.Landscape.LandscapeRawMeasure(k, ix, iy, ic) = raw[k];
    }
}

void RunLandscapeBatch(CBrevimarDoc& doc, int timerId)
{
    CLandscapeData& data = doc.Landscape;
    CLandscapeSettings& s = data.Settings;
    CLandscapeRunState& run = data.Run;
    CLandscapeResults& res = data.Results();
    if (doc.Paused == 1)
        doc.Paused = 0;

    // Checked on every start and every resume: the scenario may have lost the
    // swept squad since the settings were made (fewer RED squads edited while
    // the mode stood or the sweep was paused).
    const std::string problem = CheckLandscapeSettings(s, doc.RedForce.NumSquads);
    if (!problem.empty()) {
        // Nothing to sweep: say why, and leave the grid where it stands.
        doc.Pause();
        doc.host().ShowError("The fitness landscape cannot run: " + problem);
        return;
    }
    if (run.SweepOpen == 0) {
        DeriveLandscapeGrid(doc);
        std::memset(res.LandscapePointSetUp, 0, sizeof res.LandscapePointSetUp);  // each point records its own
        if (s.LandscapeUseTerritory == 0)
            for (int ic = 1; ic <= s.LandscapeInitialConditions; ++ic)
                res.LandscapeMeasure[11][ic] = res.LandscapeMeasure[12][ic] = 0.0;
        doc.Experiment.LandscapeGridPoint = 0;
        LandscapeAxisValues(s.LandscapeXMin, s.LandscapeXStep, s.LandscapeXCount, res.LandscapeXValues);
        LandscapeAxisValues(s.LandscapeYMin, s.LandscapeYStep, s.LandscapeYCount, res.LandscapeYValues);
        run.SweepOpen = 1;
        run.PointOpen = run.RunOpen = run.ObservationPending = 0;
        doc.SetupProblemsSaid = 0;  // a new sweep says its set-up problems afresh
        doc.Experiment.LandscapeStartTime = doc.host().Now();
    }
    doc.host().StartTimer(timerId, 150);
    doc.Experiment.LandscapeBusy = 1;

    const int n = s.LandscapeInitialConditions;
    while (doc.Experiment.LandscapeGridPoint < doc.Experiment.LandscapePointCount) {
        if (run.PointOpen == 0) {
            const int p = doc.Experiment.LandscapeGridPoint;
            run.PointX = p / s.LandscapeYCount + 1;
            run.PointY = p % s.LandscapeYCount + 1;
            BeginGridPoint(doc, run.PointX, run.PointY);
            run.LandscapeConditionIndex = 0;
            run.PointOpen = 1;
        }
        while (run.RunOpen == 1 || run.LandscapeConditionIndex < n) {
            if (run.RunOpen == 0) {
                ++run.LandscapeConditionIndex;
                run.RunOpen = 1;
                run.LandscapeTime = 0;
            }
            // A run at time 0 has not begun: it opened just now, or a restart
            // of the battle in a pause voided it.
            if (run.LandscapeTime == 0)
                BeginRun(doc);
            if (ContinueRun(doc)) {
                ScoreLandscapeRun(doc, run.PointX, run.PointY);
                run.RunOpen = 0;
            }
            if (doc.Paused == 1) {
                // Paused by the user: the next unpaused tick resumes here.
                doc.Experiment.LandscapeBusy = 0;
                doc.host().KillTimer(timerId);
                return;
            }
        }
        FinishGridPoint(doc, run.PointX, run.PointY);
        run.PointOpen = 0;
        ++doc.Experiment.LandscapeGridPoint;
    }
    EndSweep(doc, timerId);
}

}  // namespace brevimar
