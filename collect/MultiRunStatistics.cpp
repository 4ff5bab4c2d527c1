// The statistics of a multiple time-series batch: the same computations as
// the interactive run's, filed under (sample, step) in the per-sample arrays
// and worked in the batch's own working areas, then averaged over the
// samples.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"

namespace brevimar {

namespace {

// The element (s, k) this step files under, or -1 when it lies outside the
// arrays (or they are not there).
int SampleCell(const CBrevimarDoc& doc)
{
    const int s = doc.Series.MultiRunSample, k = doc.Series.MultiRunStep;
    if (!doc.MultiRunData.Allocated() || s < 0 || s >= MultiRunSampleSlots || k < 0 || k >= MultiRunStepSlots)
        return -1;
    return SampleIndex(s, k);
}

// The statistics of where the agents stand, filed under (s, k) = `cell`,
// from the step's present agents.
void FileInterpoint(CBrevimarDoc& doc, const PresentAgents& agents, int cell)
{
    CMultiRunSamples& data = doc.MultiRunData;
    double means[InterpointMeasures];
    ComputeInterpoint(agents, GetFlagCells(doc), data.Work->Interpoint, data.InterpointHistogram, means);
    for (int m = 0; m < InterpointMeasures; ++m)
        data.SampleInterpoint[m][cell] = means[m];
}

void FileNeighbors(CBrevimarDoc& doc, const PresentAgents& agents)
{
    CMultiRunSamples& data = doc.MultiRunData;
    double means[NeighborKinds][StatisticRanges];
    ComputeNeighborCounts(agents, doc.Battlefield.BattleSize, data.Work->Neighbors, means);
    const int s = doc.Series.MultiRunSample, k = doc.Series.MultiRunStep;
    for (int j = 0; j < NeighborKinds; ++j)
        for (int r = 1; r <= StatisticRanges; ++r)
            data.SampleNeighbors[j][SampleRangeIndex(s, r, k)] = means[j][r - 1];
}

void FileCenterOfMass(CBrevimarDoc& doc, const PresentAgents& agents, int cell)
{
    double center[6];
    ComputeCenterOfMassValues(agents, center);
    for (int i = 0; i < 6; ++i)
        doc.MultiRunData.SampleCenterOfMass[i][cell] = center[i];
}

void FileGoalCounts(CBrevimarDoc& doc, const PresentAgents& agents)
{
    double counts[GoalCountKinds][StatisticRanges];
    ComputeGoalCounts(agents, GetFlagCells(doc), counts);
    const int s = doc.Series.MultiRunSample, k = doc.Series.MultiRunStep;
    for (int j = 0; j < GoalCountKinds; ++j)
        for (int r = 1; r <= StatisticRanges; ++r)
            doc.MultiRunData.SampleGoalCount[j][SampleRangeIndex(s, r, k)] = counts[j][r - 1];
}

}  // namespace

void CBrevimarDoc::ComputeMultiRunStatistics()
{
    // No master switch here: a batch always records what is switched on.
    const CStatisticsParameters& on = Statistics;
    RecordMultiRunAttrition();
    // The present agents are gathered once for the four statistics that
    // read them; none of these statistics moves an agent.
    const int cell = SampleCell(*this);
    PresentAgents agents;
    if (cell >= 0 && (on.InterpointOn == 1 || on.NeighborStatsOn == 1 || on.CenterOfMassOn == 1 ||
                      on.GoalStatsOn == 1))
        GatherPresentAgents(*this, agents);
    if (on.InterpointOn == 1 && cell >= 0)
        FileInterpoint(*this, agents, cell);
    if (on.ClusterD1On == 1)
        LabelMultiRunClusters();
    if (on.ClusterD2On == 1)
        LabelMultiRunClustersD2();
    if (on.NeighborStatsOn == 1 && cell >= 0)
        FileNeighbors(*this, agents);
    if (on.CenterOfMassOn == 1 && cell >= 0)
        FileCenterOfMass(*this, agents, cell);
    if (on.GoalStatsOn == 1 && cell >= 0)
        FileGoalCounts(*this, agents);
    if (on.TerritoryStatsOn == 1)
        ComputeMultiRunTerritorialPossession();
    if (WeaponStatsOn == 1 && (RedForce.WeaponsOn == 1 || BlueForce.WeaponsOn == 1))
        RecordMultiRunStepStatistics();
}

void CBrevimarDoc::ComputeMultiRunInterpointDistribution()
{
    const int cell = SampleCell(*this);
    if (cell < 0)
        return;
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    FileInterpoint(*this, agents, cell);
}

void CBrevimarDoc::LabelMultiRunClusters()
{
    const int cell = SampleCell(*this);
    if (cell < 0)
        return;
    MultiRunData.SampleClusterSizeD1[cell] =
        LabelClusterGrid(Battlefield.AgentGrid, Battlefield.BattleSize, 1, MultiRunData.Work->Clusters,
                         MultiRunData.ClusterSizeCountD1);
}

void CBrevimarDoc::LabelMultiRunClustersD2()
{
    const int cell = SampleCell(*this);
    if (cell < 0)
        return;
    MultiRunData.SampleClusterSizeD2[cell] =
        LabelClusterGrid(Battlefield.AgentGrid, Battlefield.BattleSize, 2, MultiRunData.Work->Clusters,
                         MultiRunData.ClusterSizeCountD2);
}

void CBrevimarDoc::CountMultiRunNeighbors()
{
    if (SampleCell(*this) < 0)
        return;
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    FileNeighbors(*this, agents);
}

void CBrevimarDoc::ComputeMultiRunCenterOfMass()
{
    const int cell = SampleCell(*this);
    if (cell < 0)
        return;
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    FileCenterOfMass(*this, agents, cell);
}

void CBrevimarDoc::CountMultiRunGoalAgents()
{
    if (SampleCell(*this) < 0)
        return;
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    FileGoalCounts(*this, agents);
}

void CBrevimarDoc::ComputeMultiRunTerritorialPossession()
{
    const int cell = SampleCell(*this);
    if (cell < 0)
        return;
    double fractions[4];
    ComputeTerritoryFractions(*this, MultiRunData.Work->Territory, fractions);
    for (int i = 0; i < 4; ++i)
        MultiRunData.SampleTerritory[i][cell] = fractions[i];
}

void CBrevimarDoc::RecordMultiRunStepStatistics()
{
    // The run's own recording, filed under the step within the sample.
    const int t = RunHeader.CurrentStep;
    RunHeader.CurrentStep = Series.MultiRunStep;
    RecordStepStatistics();
    RunHeader.CurrentStep = t;
}

namespace {

// Mean and mean absolute deviation over samples 1..S of one series at one
// element; `at(s)` gives the sample's value.
template <class At>
void Average(int samples, At at, double& mean, double& deviation)
{
    double sum = 0;
    for (int s = 1; s <= samples; ++s)
        sum += at(s);
    mean = sum / samples;
    double spread = 0;
    for (int s = 1; s <= samples; ++s)
        spread += std::fabs(at(s) - mean);
    deviation = spread / samples;
}

// Sum over the samples, and sum of each sample's distance from the mean
// truncated toward zero.
void SumCounts(int samples, const int* values, int k, int& sum, int& deviation)
{
    sum = 0;
    for (int s = 1; s <= samples; ++s)
        sum += values[SampleIndex(s, k)];
    const int truncated = static_cast<int>(static_cast<double>(sum) / samples);
    deviation = 0;
    for (int s = 1; s <= samples; ++s)
        deviation += std::abs(values[SampleIndex(s, k)] - truncated);
}

}  // namespace

void CBrevimarDoc::AverageMultiRunSeries()
{
    // Only what the arrays hold: a batch is kept inside them.
    const CMultiRunShape shape = MultiRunShape();
    const int S = std::min(shape.Samples, MultiRunSampleSlots - 1);
    const int T = std::min(shape.Steps, MultiRunStepSlots);
    if (S < 1 || HeapBuffersAllocated != 1 || !MultiRunData.Allocated())
        return;
    CMultiRunCharted& a = MultiRunCharts;
    const CMultiRunSamples& d = MultiRunData;
    const double* rows[MultiRunAveragedRows] = {d.SampleClusterSizeD1.get(), d.SampleClusterSizeD2.get()};
    for (int m = 0; m < InterpointMeasures; ++m)
        rows[2 + m] = d.SampleInterpoint[m].get();
    for (int i = 0; i < 6; ++i)
        rows[9 + i] = d.SampleCenterOfMass[i].get();
    // Step 0 too: it holds every sample's deployment, where the averaged
    // curves begin (all forces whole), and the charts draw it.
    for (int k = 0; k < T; ++k) {
        SumCounts(S, SampleRedAlive.get(), k, a.MultiRunRedAliveSum[k], a.MultiRunRedAliveDevSum[k]);
        SumCounts(S, SampleRedInjured.get(), k, a.MultiRunRedInjuredSum[k], a.MultiRunRedInjuredDevSum[k]);
        SumCounts(S, SampleBlueAlive.get(), k, a.MultiRunBlueAliveSum[k], a.MultiRunBlueAliveDevSum[k]);
        SumCounts(S, SampleBlueInjured.get(), k, a.MultiRunBlueInjuredSum[k], a.MultiRunBlueInjuredDevSum[k]);
        auto plain = [k](const double* values) { return [values, k](int s) { return values[SampleIndex(s, k)]; }; };
        for (int r = 0; r < MultiRunAveragedRows; ++r)
            Average(S, plain(rows[r]), a.MultiRunMean[r][k], a.MultiRunDev[r][k]);
        for (int i = 0; i < 4; ++i)
            Average(S, plain(d.SampleTerritory[i].get()), a.MultiRunTerritoryMean[i][k], a.MultiRunTerritoryDev[i][k]);
        double unused;
        Average(S, plain(SampleRedCombatEntropy.get()), a.MultiRunCombatEntropyMean[0][k], unused);
        Average(S, plain(SampleBlueCombatEntropy.get()), a.MultiRunCombatEntropyMean[1][k], unused);
        for (int R = 1; R <= StatisticRanges; ++R) {
            auto ranged = [k, R](const double* values) {
                return [values, k, R](int s) { return values[SampleRangeIndex(s, R, k)]; };
            };
            for (int j = 0; j < NeighborKinds; ++j)
                Average(S, ranged(d.SampleNeighbors[j].get()), a.MultiRunNeighborMean[j][R][k],
                        a.MultiRunNeighborDev[j][R][k]);
            for (int j = 0; j < GoalCountKinds; ++j)
                Average(S, ranged(d.SampleGoalCount[j].get()), a.MultiRunGoalMean[j][R][k],
                        a.MultiRunGoalDev[j][R][k]);
        }
    }
}

void CBrevimarDoc::ClearMultiRunGraphHandOff()
{
    MultiRunCharts.MultiRunGraphCount = 1;
    for (int g = 0; g < MultiRunGraphSlots; ++g) {
        MultiRunGraphLabels[g].clear();
        for (int t = 1; t < MultiRunGraphPoints; ++t)
            MultiRunCharts.MultiRunGraphSeries[g][t] = MultiRunCharts.MultiRunGraphDev[g][t] = 0.0;
    }
}

void CBrevimarDoc::ResetMultipleRunStatistics()
{
    RunHeader.CurrentStep = 0;
    Series.MultiRunBusy = 0;
    ClearMultiRunGraphHandOff();
    // A batch suspended by a pause does not carry over into the next.
    EndPausedMultiRun();
    MultiRunData.BatchUnfinished = 1;
    MultiRunData.Ran.reset();
}

}  // namespace brevimar
