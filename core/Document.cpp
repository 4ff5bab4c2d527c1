#include "core/Document.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <new>
#include <ostream>
#include <system_error>

#include "core/CellPictures.h"
#include "core/OutputFile.h"
#include "core/StartValues.h"

namespace brevimar {

namespace {

// What the raw data file of a batch ended before its averages is missing,
// as the end of its last line: the rest of a sample cut short, the samples
// never begun, or only the averages.
void WriteWhatTheBatchLacks(std::ostream& out, const CBrevimarDoc& doc)
{
    const CStatisticsSeries& series = doc.Series;
    const auto [S, T] = doc.MultiRunShape();
    const int s = series.MultiRunSample;
    const bool sampleWhole = doc.MultiRunData.SampleOpen == 0 || series.MultiRunStep >= T - 1;
    out << "\n* INCOMPLETE: the run was ended ";
    if (!sampleWhole)
        out << "during sample " << s << " of " << S;
    else if (s >= S)
        out << "with all " << S << " samples written; the averages were not computed";
    else if (s < 1)
        out << "before sample 1 of " << S;
    else
        out << "after sample " << s << " of " << S;
}

CSampleForce Sampled(const CForce& force)
{
    CSampleForce kept;
    kept.Agents = force.NumAgents;
    kept.Squads = force.NumSquads;
    std::copy(std::begin(force.num_per_squad), std::end(force.num_per_squad), kept.PerSquad);
    return kept;
}

template <typename T>
ZeroedArray<T> Zeroed(std::size_t count)
{
    ZeroedArray<T> buffer(static_cast<T*>(std::calloc(count, sizeof(T))));
    if (!buffer)
        throw std::bad_alloc();
    return buffer;
}

}  // namespace

void CDocumentState::SetNewDocumentValues()
{
    LatticeExtentX = LatticeStride;
    LatticeExtentY = LatticeStride;
    StepExecuteMode = 0;
    RunMode = InteractiveMode;
    DeploymentSource = RandomDeployment;
    RunCaptureOn = 0;
    RunHeader.LatticeSize = MaxBattleSize;
    RedCommanderMarks = 0;
    BlueCommanderMarks = 0;
    TraceOn = 0;
    ActivityRadius = 1;
    RunHeader.TimeDirection = 1;
    RunHeader.LastStep = MaxSeriesStep + 1;
    RedActivityMapOn = 1;
    BlueActivityMapOn = 1;
    RedForce.NumAgents = 10;
    BlueForce.NumAgents = 10;

    // The cell pictures are the view's to draw, from their table.
    BackgroundToggle = 1;
    ShowAll = 1;
    ShowInjured = 0;
    ShowAlive = 0;
    HighlightInjured = 0;
    BattleFrontOn = 0;
    KillMapRed = 0;
    KillMapBlue = 0;
    KillMapOnly = 0;
    TerritoryMapRed = 0;
    TerritoryMapBlue = 0;

    CellBitmapWidth = CellPictures()[0].Width();
    CellBitmapHeight = CellPictures()[0].Height();

    // An empty lattice at step 0.
    DisplayFrame = 0;
    RunHeader.CurrentStep = 0;
    // The display and collection defaults (activity maps off) for every way
    // the start-up read can end: a cancelled choice keeps the built-in
    // scenario and a frame file reads no scenario, and their agents must show.
    ResetDataCollectionValues();
    // Set before the chooser, so that they hold however the document begins:
    // a file read now, Cancel, or a scenario loaded later from the menu.
    SetRunStartValues(*this);
}

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

int CBrevimarDoc::CapturedFrames() const
{
    if (RunCaptureOn != 1 || HeapBuffersAllocated != 1)
        return 0;
    const int end = CaptureEndStep != 0 ? CaptureEndStep : CaptureFrameCount;
    return std::clamp(end, 0, MaxStoredFrameStep + 1);
}

void CBrevimarDoc::AllocateHeapBuffers()
{
    if (HeapBuffersAllocated == 1)
        return;
    // Every buffer starts zeroed: a stored run without frames, or a document
    // file opened before any run, then plays back empty frames rather than
    // whatever the allocator left behind.
    DisplayGrid = Zeroed<unsigned char>(2 * LatticeCells);
    KillGrid = Zeroed<unsigned char>(2 * 2 * LatticeCells);
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

void CBrevimarDoc::EndPausedMultiRun()
{
    CMultiRunSamples& data = MultiRunData;
    if (data.BatchOpen == 0)
        return;
    if (data.WeaponsRawData) {
        // The file holds what ran; its last line says what it does not.
        WriteWhatTheBatchLacks(*data.WeaponsRawData, *this);
        data.WeaponsRawData->close();
        if (!*data.WeaponsRawData) {
            const std::string message = CannotWriteMessage(data.WeaponsRawDataPath, data.WeaponsRawData->Problem());
            host().Log(message);
            host().ShowError(message);
        }
        data.WeaponsRawData.reset();
    }
    data.BatchOpen = data.SampleOpen = 0;
    Series.MultiRunSample = 0;
    Series.MultiRunStep = 0;
    Series.MultiRunBusy = 0;
}

void CBrevimarDoc::RestartPausedBatchRun()
{
    CLandscapeRunState& sweep = Landscape.Run;
    if (RunMode == FitnessLandscapeMode && sweep.SweepOpen == 1 && sweep.RunOpen == 1 && sweep.LandscapeTime > 0) {
        // The sweep sets the run up afresh when it goes on, as it sets up
        // any: a run at time 0 has not begun.
        sweep.LandscapeTime = 0;
        sweep.ObservationPending = 0;
        ShowLandscapeStatus(sweep.PointX, sweep.PointY);
        return;
    }
    CMultiRunSamples& data = MultiRunData;
    if (RunMode != MultipleTimeSeriesMode || data.BatchOpen == 0 || data.SampleOpen == 0)
        return;
    // The batch begins the sample afresh when it goes on, as it begins any.
    data.SampleOpen = 0;
    --Series.MultiRunSample;
    Series.MultiRunStep = 0;
    ShowMultipleTimeSeriesStatus();
    if (data.WeaponsRawData) {
        data.WeaponsRawData->flush();
        std::error_code error;
        if (data.SampleStartBytes)
            std::filesystem::resize_file(data.WeaponsRawDataPath, *data.SampleStartBytes, error);
        if (!data.SampleStartBytes || error)
            host().ShowError("The weapons raw data file " + data.WeaponsRawDataPath +
                             " could not be cut back to where sample " + std::to_string(Series.MultiRunSample + 1) +
                             " began: it keeps the rows that sample wrote before it started again.");
    }
}

namespace {

// One counter of a batch's status line: its label, then "n/of".
void AppendCounter(std::string& text, const char* label, int n, int of)
{
    text += label;
    text += std::to_string(n);
    text += '/';
    text += std::to_string(of);
}

}  // namespace

void CBrevimarDoc::ShowMultipleTimeSeriesStatus()
{
    const CMultiRunShape shape = MultiRunShape();
    std::string& text = StatusText;
    text.clear();
    text += ' ';
    text += InputFileName;
    AppendCounter(text, "      [ Samples ]: ", MultiRunSampleOnShow(), shape.Samples);
    AppendCounter(text, "     [ Time ]: ", Series.MultiRunStep, shape.Steps);
    host().SetStatusText(text);
}

void CBrevimarDoc::ShowLandscapeStatus(int ix, int iy)
{
    const CLandscapeSettings& s = Landscape.Settings;
    const CLandscapeRunState& run = Landscape.Run;
    std::string& text = StatusText;
    text.clear();
    text += ' ';
    text += InputFileName;
    AppendCounter(text, "      [ x ]: ", ix, s.LandscapeXCount);
    AppendCounter(text, "     [ y ]: ", iy, s.LandscapeYCount);
    AppendCounter(text, "     [ IC ]: ", run.LandscapeConditionIndex, s.LandscapeInitialConditions);
    AppendCounter(text, "     [ T ]: ", run.LandscapeTime, s.LandscapeMaxTimeToFlag);
    host().SetStatusText(text);
}

void CBrevimarDoc::RecordSampleForce(int s)
{
    if (s < 1 || s >= MultiRunSampleSlots)
        return;
    for (Side side : {Side::Red, Side::Blue})
        MultiRunData.SampleForces[side == Side::Red ? 0 : 1][s] = Sampled(Force(side));
    MultiRunData.SampleForceRecorded[s] = true;
    // A sample begun again starts with no agent placed in it.
    std::erase_if(MultiRunData.SampleJoins, [s](const CSampleJoin& join) { return join.Sample == s; });
}

void CBrevimarDoc::JoinSampleUnderWay(Side side, int squad)
{
    const int s = Series.MultiRunSample;
    if (RunMode != MultipleTimeSeriesMode || MultiRunData.SampleOpen == 0 || s < 1 || s >= MultiRunSampleSlots ||
        !MultiRunData.SampleForceRecorded[s])
        return;
    // Paused, the batch has observed the step it stands at; running, its
    // message pump comes before that step's observation.
    const int first = Series.MultiRunStep + (Series.MultiRunBusy != 0 ? 0 : 1);
    if (first >= MultiRunShape().Steps)
        return;
    MultiRunData.SampleJoins.push_back({s, side == Side::Red ? 0 : 1, squad, first});
}

CSampleForce CBrevimarDoc::SampleForce(Side side, int s, int step) const
{
    if (s < 1 || s >= MultiRunSampleSlots || !MultiRunData.SampleForceRecorded[s])
        return Sampled(Force(side));
    const int k = side == Side::Red ? 0 : 1;
    CSampleForce force = MultiRunData.SampleForces[k][s];
    for (const CSampleJoin& join : MultiRunData.SampleJoins)
        if (join.Sample == s && join.Side == k && join.Step <= step) {
            ++force.Agents;
            if (join.Squad >= 1 && join.Squad <= MaxSquads)
                ++force.PerSquad[join.Squad];
        }
    return force;
}

int CBrevimarDoc::MultiRunAgentsSum(Side side, int step) const
{
    const int samples = std::clamp(MultiRunShape().Samples, 0, MultiRunSampleSlots - 1);
    int sum = 0;
    for (int s = 1; s <= samples; ++s)
        sum += SampleForce(side, s, step).Agents;
    return sum;
}

void CBrevimarDoc::StartBatchWriteRecord()
{
    PutBackBatchWriteRecord();
    BatchWrites.Start(*this);
}

void CBrevimarDoc::PutBackBatchWriteRecord()
{
    if (RunMode == GeneticAlgorithmMode || RunMode == FitnessLandscapeMode) {
        BatchWrites.PutBack(*this, true);
        // The agents a right click took off or placed were the batch's
        // force's; what the force keeps of them the record has decided.
        for (Side side : {Side::Red, Side::Blue})
            Force(side).ForgetHandEdits();
    }
    BatchWrites.Stop();
}

void CBrevimarDoc::DeleteContents()
{
    // A batch left paused goes with the document (its window closed, the
    // program ended): its raw data file still says how it ended.
    EndPausedMultiRun();
    BatchWrites.Stop();
    if (HeapBuffersAllocated != 1)
        return;
    DisplayGrid.reset();
    KillGrid.reset();
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
