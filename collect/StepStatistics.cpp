#include <algorithm>
#include <cmath>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"

namespace brevimar {

namespace {

// Slightly below e, and kept so: the series must match runs recorded with it.
constexpr double CombatEntropyScale = 2.718281828248031;

int AgentCount(const CForce& force) { return std::clamp(force.NumAgents, 0, MaxAgents); }
bool SeriesStep(int t) { return t >= 0 && t <= MaxSeriesStep; }

// c p ln(1/p) of the share p of a side's agents lost; 0 for no loss, total
// loss and an empty side.
double CombatEntropy(int agents, int alive, int injured)
{
    if (agents <= 0)
        return 0.0;
    const double p = static_cast<double>(agents - alive - injured) / agents;
    if (p <= 0.0)
        return 0.0;
    return CombatEntropyScale * p * std::log(1.0 / p);
}

void CountStates(const CForce& force, int* alive, int* injured)
{
    for (int a = 1, n = AgentCount(force); a <= n; ++a) {
        if (force.AgentState[a] == Alive)
            ++*alive;
        else if (force.AgentState[a] == Injured)
            ++*injured;
    }
}

// States 2 and 1 in row `step` of a captured state buffer, agents 1..count.
void CountCapturedStates(const int* states, int step, int count, int* alive, int* injured)
{
    if (states == nullptr || step < 0 || step >= CaptureRows)
        return;
    for (int a = 1, n = std::clamp(count, 0, CaptureRows - 1); a <= n; ++a) {
        const int state = states[CaptureIndex(step, a)];
        if (state == Alive)
            ++*alive;
        else if (state == Injured)
            ++*injured;
    }
}

CAttritionCounts ForceCounts(const CBrevimarDoc& doc)
{
    CAttritionCounts c;
    CountStates(doc.RedForce, &c.RedAlive, &c.RedInjured);
    CountStates(doc.BlueForce, &c.BlueAlive, &c.BlueInjured);
    return c;
}

// Row CurrentStep of the capture: `red` and `blue` agents of each side.
CAttritionCounts CapturedCounts(const CBrevimarDoc& doc, int red, int blue)
{
    CAttritionCounts c;
    const int t = doc.RunHeader.CurrentStep;
    CountCapturedStates(doc.CaptureBuffer[RedCaptureState].get(), t, red, &c.RedAlive, &c.RedInjured);
    CountCapturedStates(doc.CaptureBuffer[BlueCaptureState].get(), t, blue, &c.BlueAlive, &c.BlueInjured);
    return c;
}

void TakeCounts(CRunHeader& header, const CAttritionCounts& c)
{
    header.RedAlive = c.RedAlive;
    header.RedInjured = c.RedInjured;
    header.BlueAlive = c.BlueAlive;
    header.BlueInjured = c.BlueInjured;
}

}  // namespace

void CBrevimarDoc::CollectStepStatistics()
{
    // A statistic runs only while its switch is exactly 1; the callers test
    // the master switch. No statistic reads another's result.
    const CStatisticsParameters& on = Statistics;
    unsigned filed = 0;
    auto run = [&filed](int sw, unsigned statistic, auto&& compute) {
        if (sw == 1) {
            compute();
            filed |= statistic;
        }
    };
    run(on.InterpointOn, InterpointStatistic, [this] { ComputeInterpointDistances(); });
    run(on.SpatialEntropyOn, SpatialEntropyStatistic, [this] { CollectSpatialEntropy(); });
    run(on.ClusterD1On, ClusterD1Statistic, [this] { LabelClusters(); });
    run(on.ClusterD2On, ClusterD2Statistic, [this] { LabelClustersD2(); });
    run(on.NeighborStatsOn, NeighborStatistic, [this] { CountNeighbors(); });
    run(on.CenterOfMassOn, CenterOfMassStatistic, [this] { ComputeCenterOfMass(); });
    run(on.GoalStatsOn, GoalCountStatistic, [this] { ComputeGoalCount(); });
    run(on.TerritoryStatsOn, TerritoryStatistic, [this] { CollectTerritorialPossession(); });
    run(WeaponStatsOn, WeaponStatistic, [this] { RecordStepStatistics(); });
    run(on.CapacityDimensionOn, CapacityDimensionStatistic, [this] { ComputeCapacityDimension(); });
    const int t = RunHeader.CurrentStep;
    if (SeriesStep(t)) {
        std::uint16_t& gaps = Collected.StepGaps[t];
        const unsigned missed = EveryStatistic & ~AttritionStatistic & ~filed;
        gaps = static_cast<std::uint16_t>((gaps & AttritionStatistic) | missed);
    }
}

void CBrevimarDoc::NoteStepUncollected()
{
    const int t = RunHeader.CurrentStep;
    if (SeriesStep(t))
        Collected.StepGaps[t] |= EveryStatistic & ~AttritionStatistic;
}

void CBrevimarDoc::SetAllStatistics()
{
    CStatisticsParameters& on = Statistics;
    // A second choice only takes the mark away; the statistics stay on.
    if (on.AllStatisticsOn == 1) {
        on.AllStatisticsOn = 0;
        return;
    }
    ResetDataCollection();
    WeaponStatsOn = RedForce.WeaponsOn == 1 || BlueForce.WeaponsOn == 1 ? 1 : 0;
    on.AllStatisticsOn = 1;
    on.GoalStatsOn = 1;
    on.CenterOfMassOn = 1;
    on.InterpointOn = 1;
    on.SpatialEntropyOn = 1;
    on.ClusterD1On = 1;
    on.ClusterD2On = 1;
    on.NeighborStatsOn = 1;
    on.TerritoryStatsOn = 1;
    on.CapacityDimensionOn = 1;
    RestartCollectedSeries(*this);
}

int RestartCollectedSeries(CBrevimarDoc& doc)
{
    // Shots fired while nothing was collected belong to no step.
    doc.RedTallies = CWeaponTallies{};
    doc.BlueTallies = CWeaponTallies{};
    const int shown = doc.RunHeader.CurrentStep;
    if (shown > 0) {
        // The steps run so far were wiped with the series and cannot be
        // measured again: the series begin at the next step the run files.
        std::fill_n(doc.Collected.StepGaps, std::min(shown, MaxSeriesStep) + 1, EveryStatistic);
        return shown + 1;
    }
    // Nothing run yet: the state on show is step 0's.
    doc.RunHeader.CurrentStep = 0;
    if (doc.Statistics.DataCollectionOn == 1)
        doc.CollectStepStatistics();
    doc.RecordAttrition();
    doc.RunHeader.CurrentStep = shown;
    return 0;
}

void CBrevimarDoc::CountAttrition() { TakeCounts(RunHeader, ForceCounts(*this)); }

void CBrevimarDoc::RecordAttrition()
{
    CountAttrition();
    const CRunHeader& counts = RunHeader;
    const int t = counts.CurrentStep;
    if (!SeriesStep(t))
        return;
    Collected.StepGaps[t] &= ~AttritionStatistic;
    Series.RedAliveSeries[t] = counts.RedAlive;
    Series.RedInjuredSeries[t] = counts.RedInjured;
    Series.BlueAliveSeries[t] = counts.BlueAlive;
    Series.BlueInjuredSeries[t] = counts.BlueInjured;
    Series.RedCombatEntropy[t] = CombatEntropy(AgentCount(RedForce), counts.RedAlive, counts.RedInjured);
    Series.BlueCombatEntropy[t] = CombatEntropy(AgentCount(BlueForce), counts.BlueAlive, counts.BlueInjured);
}

void CBrevimarDoc::RecordMultiRunAttrition()
{
    CRunHeader& counts = RunHeader;
    counts.RedAlive = counts.RedInjured = counts.BlueAlive = counts.BlueInjured = 0;
    const int i = Series.MultiRunSample;
    const int k = Series.MultiRunStep;
    const bool filed = MultiRunBuffersAllocated() && i >= 0 && i < MultiRunSampleSlots && k >= 0 &&
                       k < MultiRunStepSlots;
    if (filed)
        for (int s = 0; s < SquadSlots; ++s)
            for (auto* tally : {&SampleSquadRedAlive, &SampleSquadRedInjured, &SampleSquadBlueAlive,
                                &SampleSquadBlueInjured})
                (*tally)[SquadSampleIndex(s, i, k)] = 0;

    struct SideTallies {
        const CForce& Force;
        int& Alive;
        int& Injured;
        int* SquadAlive;
        int* SquadInjured;
    };
    const SideTallies sides[] = {
        {RedForce, counts.RedAlive, counts.RedInjured, SampleSquadRedAlive.get(), SampleSquadRedInjured.get()},
        {BlueForce, counts.BlueAlive, counts.BlueInjured, SampleSquadBlueAlive.get(), SampleSquadBlueInjured.get()},
    };
    for (const SideTallies& side : sides) {
        for (int a = 1, n = AgentCount(side.Force); a <= n; ++a) {
            const int state = side.Force.AgentState[a];
            const int s = side.Force.AgentSquad[a];
            const bool squadFiled = filed && s >= 0 && s < SquadSlots;
            if (state == Alive) {
                ++side.Alive;
                if (squadFiled)
                    ++side.SquadAlive[SquadSampleIndex(s, i, k)];
            } else if (state == Injured) {
                ++side.Injured;
                if (squadFiled)
                    ++side.SquadInjured[SquadSampleIndex(s, i, k)];
            }
        }
    }
    if (!filed)
        return;
    const int cell = SampleIndex(i, k);
    SampleRedAlive[cell] = counts.RedAlive;
    SampleRedInjured[cell] = counts.RedInjured;
    SampleBlueAlive[cell] = counts.BlueAlive;
    SampleBlueInjured[cell] = counts.BlueInjured;
    SampleRedCombatEntropy[cell] = CombatEntropy(AgentCount(RedForce), counts.RedAlive, counts.RedInjured);
    SampleBlueCombatEntropy[cell] = CombatEntropy(AgentCount(BlueForce), counts.BlueAlive, counts.BlueInjured);
}

void CBrevimarDoc::CountReplayAttrition()
{
    TakeCounts(RunHeader, CapturedCounts(*this, RedForce.NumAgents, BlueForce.NumAgents));
}

void CBrevimarDoc::CountPlaybackAttrition()
{
    // A frame file carries its own agent counts, whatever the scenario holds.
    TakeCounts(RunHeader, CapturedCounts(*this, RunHeader.RedCount, RunHeader.BlueCount));
}

CAttritionCounts CBrevimarDoc::ShownCounts() const
{
    if (RunMode == PlaybackMode || RunMode == ReplayMode)
        return CapturedCounts(*this, StoredFrameAgents(Side::Red), StoredFrameAgents(Side::Blue));
    return ForceCounts(*this);
}

void CBrevimarDoc::CountShownAttrition() { TakeCounts(RunHeader, ShownCounts()); }

void CBrevimarDoc::RecordStepStatistics()
{
    const int t = RunHeader.CurrentStep;
    if (HeapBuffersAllocated == 1 && SeriesStep(t)) {
        for (int w = 0; w < WeaponKinds; ++w) {
            RedShotsLog[SeriesIndex(w, t)] = RedTallies.WeaponShots[w];
            RedHitsLog[SeriesIndex(w, t)] = RedTallies.WeaponHits[w];
            BlueShotsLog[SeriesIndex(w, t)] = BlueTallies.WeaponShots[w];
            BlueHitsLog[SeriesIndex(w, t)] = BlueTallies.WeaponHits[w];
        }
        for (int s = 1; s <= MaxSquads; ++s)
            for (int w = 0; w < WeaponKinds; ++w) {
                RedSquadShotsLog[SquadWeaponLogIndex(s, w, t)] = RedTallies.SquadWeaponShots[s][w];
                RedSquadHitsLog[SquadWeaponLogIndex(s, w, t)] = RedTallies.SquadWeaponHits[s][w];
                BlueSquadShotsLog[SquadWeaponLogIndex(s, w, t)] = BlueTallies.SquadWeaponShots[s][w];
                BlueSquadHitsLog[SquadWeaponLogIndex(s, w, t)] = BlueTallies.SquadWeaponHits[s][w];
            }
    }
    RedTallies = CWeaponTallies{};
    BlueTallies = CWeaponTallies{};
}

}  // namespace brevimar
