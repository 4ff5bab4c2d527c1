#include "core/Document.h"

#include <new>

namespace brevimar {

namespace {

template <typename T>
ZeroedArray<T> Zeroed(std::size_t count)
{
    ZeroedArray<T> buffer(static_cast<T*>(std::calloc(count, sizeof(T))));
    if (!buffer)
        throw std::bad_alloc();
    return buffer;
}

}  // namespace

void CDocumentState::ResetHighlightsAndBursts()
{
    HighlightRedSquadOn = 0;
    HighlightBlueSquadOn = 0;
    HighlightRedSquadNumber = 1;
    HighlightBlueSquadNumber = 1;
    ShowOtherRedAgents = 1;
    ShowOtherBlueAgents = 1;
    RedCommanderMarks = 0;
    BlueCommanderMarks = 0;
    RedCommandAreas = 0;
    BlueCommandAreas = 0;
    RedCommandLinks = 0;
    BlueCommandLinks = 0;
    TraceOn = 0;
    StepExecuteMode = 0;
    StepsPerBurst = 1;
    StepsSincePause = 0;
}

void CBrevimarDoc::AllocateHeapBuffers()
{
    if (HeapBuffersAllocated == 1)
        return;
    // Every buffer starts zeroed: a stored run without frames, or a document
    // file opened before any run, then plays back empty frames rather than
    // whatever the allocator left behind.
    DisplayGrid = Zeroed<unsigned char>(2 * LatticeCells);
    RedEnemyList = Zeroed<int>(AgentSlots * EnemyListColumns);
    BlueEnemyList = Zeroed<int>(AgentSlots * EnemyListColumns);
    AdmissibleCells = Zeroed<int>(MoveTableSize);
    for (auto& buffer : CaptureBuffer)
        buffer = Zeroed<int>(CaptureCells);
    for (auto& series : NeighborLog)
        series = Zeroed<double>(8 * SeriesLength);
    for (auto& series : GoalCountLog)
        series = Zeroed<double>(8 * SeriesLength);
    for (auto* log : {&RedShotsLog, &RedHitsLog, &BlueShotsLog, &BlueHitsLog})
        *log = Zeroed<double>(WeaponKinds * SeriesLength);
    for (auto* log : {&RedSquadShotsLog, &RedSquadHitsLog, &BlueSquadShotsLog, &BlueSquadHitsLog})
        *log = Zeroed<double>(SquadSlots * WeaponKinds * SeriesLength);
    HeapBuffersAllocated = 1;
}

void CBrevimarDoc::AllocateMultiRunBuffers()
{
    if (MultiRunBuffersAllocated())
        return;
    const std::size_t sampleCells = MultiRunSampleSlots * MultiRunStepSlots;
    for (auto* tally : {&SampleRedAlive, &SampleRedInjured, &SampleBlueAlive, &SampleBlueInjured})
        *tally = Zeroed<int>(sampleCells);
    for (auto* tally : {&SampleSquadRedAlive, &SampleSquadRedInjured, &SampleSquadBlueAlive, &SampleSquadBlueInjured})
        *tally = Zeroed<int>(SquadSlots * sampleCells);
    SampleRedCombatEntropy = Zeroed<double>(sampleCells);
    SampleBlueCombatEntropy = Zeroed<double>(sampleCells);
    MultiRunData.Allocate();
}

void CBrevimarDoc::DeleteContents()
{
    ScenarioBeforeBatch.reset();
    if (HeapBuffersAllocated != 1)
        return;
    DisplayGrid.reset();
    RedEnemyList.reset();
    BlueEnemyList.reset();
    AdmissibleCells.reset();
    for (auto& buffer : CaptureBuffer)
        buffer.reset();
    for (auto& series : NeighborLog)
        series.reset();
    for (auto& series : GoalCountLog)
        series.reset();
    for (auto* buffer : {&RedShotsLog, &RedHitsLog, &BlueShotsLog, &BlueHitsLog, &RedSquadShotsLog,
                         &RedSquadHitsLog, &BlueSquadShotsLog, &BlueSquadHitsLog, &SampleRedCombatEntropy,
                         &SampleBlueCombatEntropy})
        buffer->reset();
    for (auto* buffer : {&SampleRedAlive, &SampleRedInjured, &SampleBlueAlive, &SampleBlueInjured,
                         &SampleSquadRedAlive, &SampleSquadRedInjured, &SampleSquadBlueAlive, &SampleSquadBlueInjured})
        buffer->reset();
    GaRecords.reset();
    MultiRunData.Release();
    HeapBuffersAllocated = 0;
}

}  // namespace brevimar
