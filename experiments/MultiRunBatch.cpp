#include "experiments/MultiRunBatch.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <system_error>

#include "core/Document.h"
#include "core/OutputFile.h"
#include "files/FileCommandFrame.h"

namespace brevimar {

namespace {

int SquadCount(const CForce& force) { return std::clamp(force.NumSquads, 0, MaxSquads); }

// One header row: the label, then a value per squad, three spaces apart.
void WriteSquadRow(std::ostream& out, const char* label, const int* perSquad, int squads)
{
    out << label << perSquad[1];
    for (int q = 2; q <= squads; ++q)
        out << "   " << perSquad[q];
}

void WriteSideHeader(std::ostream& out, const CForce& force, const char* squadsLabel, const char* agentsLabel)
{
    const int squads = SquadCount(force);
    out << squadsLabel << force.NumSquads;
    WriteSquadRow(out, agentsLabel, force.num_per_squad, squads);
    const int* weapons[6] = {force.grenades,         force.point_to_point_1, force.point_to_point_2,
                             force.point_to_point_3, force.point_to_point_4, force.point_to_point_5};
    static constexpr const char* Labels[6] = {"\n* grenades per squad ",     "\n* pt-to-pt #1 per squad ",
                                              "\n* pt-to-pt #2 per squad ", "\n* pt-to-pt #3 per squad ",
                                              "\n* pt-to-pt #4 per squad ", "\n* pt-to-pt #5 per squad "};
    for (int w = 0; w < 6; ++w)
        WriteSquadRow(out, Labels[w], weapons[w], squads);
    out << "\n* ";
}

void WriteSideRow(std::ostream& out, const double* shots, const double* hits, int squads, int step)
{
    for (int q = 1; q <= squads; ++q) {
        if (q > 1)
            out << "    ";
        for (int w = 0; w < WeaponKinds; ++w) {
            if (w > 0)
                out << "   ";
            out << shots[SquadWeaponLogIndex(q, w, step)] << ' ' << hits[SquadWeaponLogIndex(q, w, step)];
        }
    }
}

void ClearWeaponData(CBrevimarDoc& doc)
{
    doc.RedTallies = CWeaponTallies{};
    doc.BlueTallies = CWeaponTallies{};
    for (auto* log : {&doc.RedShotsLog, &doc.RedHitsLog, &doc.BlueShotsLog, &doc.BlueHitsLog})
        std::fill_n(log->get(), WeaponKinds * SeriesLength, 0.0);
    for (auto* log : {&doc.RedSquadShotsLog, &doc.RedSquadHitsLog, &doc.BlueSquadShotsLog, &doc.BlueSquadHitsLog})
        std::fill_n(log->get(), SquadSlots * WeaponKinds * SeriesLength, 0.0);
}

// Steps 1..5: the weapons question and the raw-data file. False when the
// file was not opened and the batch is to end with no sample run.
bool OpenBatch(CBrevimarDoc& doc, const WeaponsRawDataQuestion& ask)
{
    CMultiRunSamples& data = doc.MultiRunData;
    CStatisticsSeries& series = doc.Series;
    // The per-sample arrays and the charts' hand-off hold no more.
    series.MultiRunSampleCount = std::clamp(series.MultiRunSampleCount, 0, MaxMultiRunSamples);
    series.MultiRunStepCount = std::clamp(series.MultiRunStepCount, 0, MaxMultiRunSteps);
    doc.SetupProblemsSaid = 0;  // a new batch says its set-up problems afresh
    doc.InitializeForces();
    if (doc.WeaponStatsOn == 1) {
        int answer = 1;
        if (ask && ask(answer) && answer == 0)
            doc.WeaponStatsOn = 0;
    }
    data.WeaponsRawData.reset();
    if (doc.WeaponStatsOn == 1) {
        // The samples go on in the file the frame wrote the header into,
        // kept open (a pipe's reader sees no end in between), each write at
        // its end, so that a sample started again goes on where it was cut.
        std::unique_ptr<OutputFile> file;
        std::string path;
        const FileCommandResult r = RunFileCommand(
            doc, FileCommand::WeaponRawDataWrite,
            [&](std::iostream& out, const ChosenFile& chosen) {
                WriteWeaponsRawDataHeader(doc, out);
                path = chosen.PathName;
            },
            &file);
        if (r != FileCommandResult::Done)
            return false;
        data.WeaponsRawData = std::move(file);
        data.WeaponsRawDataPath = path;
    }
    series.MultiRunSample = 0;
    data.SampleOpen = 0;
    data.BatchOpen = 1;
    data.BatchUnfinished = 1;
    data.Ran = CMultiRunShape{series.MultiRunSampleCount, series.MultiRunStepCount};
    data.Deployment = doc.DeploymentSource;
    // A chart drawn of an earlier batch is not of this one.
    doc.ClearMultiRunGraphHandOff();
    return true;
}

// A raw-data file that stopped taking what is written (a full disk, a pipe
// whose reader stopped or went) is said once and written no more; the batch
// runs on, its samples kept.
void DropFailedWeaponsRawData(CBrevimarDoc& doc)
{
    CMultiRunSamples& data = doc.MultiRunData;
    if (data.WeaponsRawData && !*data.WeaponsRawData) {
        const std::string message = CannotWriteMessage(data.WeaponsRawDataPath, data.WeaponsRawData->Problem());
        data.WeaponsRawData.reset();
        doc.host().Log(message);
        doc.host().ShowError(message);
    }
}

void BeginSample(CBrevimarDoc& doc)
{
    CMultiRunSamples& data = doc.MultiRunData;
    const int s = ++doc.Series.MultiRunSample;
    if (data.WeaponsRawData) {
        data.WeaponsRawData->flush();
        std::error_code unknown;
        const std::uintmax_t bytes = std::filesystem::file_size(data.WeaponsRawDataPath, unknown);
        data.SampleStartBytes = unknown ? std::nullopt : std::optional(bytes);
        WriteWeaponsRawDataSampleHeader(s, *data.WeaponsRawData);
        DropFailedWeaponsRawData(doc);
    }
    doc.RedHitTally = doc.BlueHitTally = 0;
    doc.RunTerminated = 0;
    doc.RunHeader.CurrentStep = 0;
    doc.SetupBattlefield(data.Deployment);
    doc.RecordSampleForce(s);
    if (data.WeaponsRawData && doc.Statistics.DataCollectionOn == 1 &&
        (doc.RedForce.WeaponsOn == 1 || doc.BlueForce.WeaponsOn == 1))
        ClearWeaponData(doc);
    doc.Series.MultiRunStep = 0;
    doc.ComputeMultiRunStatistics();
    data.SampleOpen = 1;
}

// The batch ends before its first sample (the raw-data file was not chosen or
// not made): nothing counts as run, so no completion follows, and the run
// waits, paused, for the user to start the batch again.
void EndBatchNotRun(CBrevimarDoc& doc, int timerId)
{
    CMultiRunSamples& data = doc.MultiRunData;
    data.WeaponsRawData.reset();
    data.BatchOpen = data.SampleOpen = 0;
    doc.Series.MultiRunBusy = 0;
    doc.Series.MultiRunSample = 0;
    doc.Series.MultiRunStep = 0;
    doc.host().KillTimer(timerId);
    doc.Pause();
    doc.ShowMultipleTimeSeriesStatus();
    doc.host().InvalidateView();
}

void EndBatch(CBrevimarDoc& doc, int timerId, int samples)
{
    CMultiRunSamples& data = doc.MultiRunData;
    if (data.WeaponsRawData)
        data.WeaponsRawData->close();
    DropFailedWeaponsRawData(doc);
    data.WeaponsRawData.reset();
    data.BatchOpen = data.SampleOpen = 0;
    doc.AverageMultiRunSeries();
    data.BatchUnfinished = 0;
    doc.Series.MultiRunBusy = 0;
    doc.Series.MultiRunSample = samples;
    doc.host().KillTimer(timerId);
    if (doc.Paused == 1)
        doc.Paused = 0;
    doc.host().InvalidateView();
}

}  // namespace

void WriteWeaponsRawDataHeader(const CBrevimarDoc& doc, std::ostream& out)
{
    WriteSideHeader(out, doc.RedForce, "\n* red squads = ", "\n* red agents per squad = ");
    WriteSideHeader(out, doc.BlueForce, "\n* blue squads = ", "\n* blue agents per squad = ");
    out << "\n* FORMAT:"
        << "\n* time                                           RED                                       BLUE"
        << "\n* time  GS  GH  P1S  P1H  P2S  P2H  P3S  P3H  P4S  P4H  P5S  P5H       GS  GH  P1S  P1H  P2S  P2H  "
           "P3S  P3H  P4S  P4H  P5S  P5H"
        << "\n*                   [red squad 1]  [red squad 2] ... [red squad max]        [blue squad 1] [blue "
           "squad 2] ... [blue squad max]";
}

void WriteWeaponsRawDataSampleHeader(int sample, std::ostream& out) { out << "\n\nSAMPLE " << sample << "\n"; }

void WriteWeaponsRawDataRow(const CBrevimarDoc& doc, int step, std::ostream& out)
{
    if (doc.HeapBuffersAllocated != 1 || step < 0 || step >= SeriesLength)
        return;
    out << '\n' << step << "          ";
    WriteSideRow(out, doc.RedSquadShotsLog.get(), doc.RedSquadHitsLog.get(), SquadCount(doc.RedForce), step);
    out << "          ";
    WriteSideRow(out, doc.BlueSquadShotsLog.get(), doc.BlueSquadHitsLog.get(), SquadCount(doc.BlueForce), step);
}

void RunMultiTimeSeriesBatch(CBrevimarDoc& doc, int timerId, const WeaponsRawDataQuestion& askWeaponsRawData)
{
    CStatisticsSeries& series = doc.Series;
    CMultiRunSamples& data = doc.MultiRunData;
    if (doc.Paused == 1)
        doc.Paused = 0;
    doc.host().StartTimer(timerId, 150);
    series.MultiRunBusy = 1;
    if (doc.HeapBuffersAllocated == 1)
        doc.AllocateMultiRunBuffers();
    if (doc.HeapBuffersAllocated != 1 || !data.Allocated() ||
        (data.BatchOpen == 0 && !OpenBatch(doc, askWeaponsRawData))) {
        EndBatchNotRun(doc, timerId);
        return;
    }
    // What the batch opened with, however the counts were set since.
    const auto [S, T] = doc.MultiRunSizeToRun();
    for (;;) {
        if (data.SampleOpen == 0) {
            if (doc.MultiRunSamplesAllRun())
                break;
            BeginSample(doc);
        }
        for (;;) {
            ++series.MultiRunStep;
            if (doc.host().ShowsStatusText())
                doc.ShowMultipleTimeSeriesStatus();
            doc.host().PumpOneMessage();
            if (series.MultiRunStep >= T) {
                data.SampleOpen = 0;
                break;
            }
            // The step's time-dependent rules see the step within the sample.
            doc.RunHeader.CurrentStep = series.MultiRunStep;
            doc.StepSimulation();
            doc.ComputeMultiRunStatistics();
            if (data.WeaponsRawData) {
                WriteWeaponsRawDataRow(doc, series.MultiRunStep, *data.WeaponsRawData);
                DropFailedWeaponsRawData(doc);
            }
            if (doc.Paused == 1) {
                // Suspended by the user: the next unpaused tick goes on from here.
                series.MultiRunBusy = 0;
                doc.host().KillTimer(timerId);
                return;
            }
        }
    }
    EndBatch(doc, timerId, S);
}

}  // namespace brevimar
