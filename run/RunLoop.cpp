// One tick of the window timer. The run has no loop of its own: each tick
// does the next frame of a playback, one interactive step, or the next slice
// of a batch experiment, unless the run is paused.
#include <algorithm>
#include <string>

#include "run/RunLoop.h"

#include "core/Document.h"
#include "run/BatchDrivers.h"

namespace brevimar {

namespace {

// The last step a run may reach before it wraps. LastStep normally bounds
// it, but a run ended early (a RED agent on the enemy flag sets the step to
// LastStep) or a LastStep taken from a file must never carry t past the
// series or capture rows it indexes.
int FrameEnd(const CBrevimarDoc& doc)
{
    const int rows = doc.RunMode == InteractiveMode ? MaxSeriesStep + 1 : CaptureRows;
    return std::min(doc.RunHeader.LastStep, rows);
}

void AdvanceFrame(CBrevimarDoc& doc)
{
    int& t = doc.RunHeader.CurrentStep;
    t += doc.RunHeader.TimeDirection;
    if (t <= 0) {
        t = 1;
        doc.RunHeader.TimeDirection = 1;
        doc.Pause();
    }
    if (t >= FrameEnd(doc)) {
        t = 1;
        doc.Pause();
    }
}

// The interactive run is over at `step`: it stops there, so that the series,
// the charts drawn from them and the capture hold the whole run, and the
// steps after the next Run must not overwrite the captured frames.
void HoldAtRunEnd(CBrevimarDoc& doc, int step)
{
    doc.RunHeader.CurrentStep = step;
    doc.RunEndStep = step;
    doc.Pause();
    if (doc.RunCaptureOn == 1 && doc.CaptureEndStep == 0)
        doc.CaptureEndStep = step;
}

// Said once, without holding the run, when a RUN file of the capture has
// come to hold every frame the readers take: the run goes on unrecorded.
void NoteCaptureFull(CBrevimarDoc& doc)
{
    const int frames = MaxStoredFrameStep + 1;
    doc.host().Notify("The RUN capture now holds " + std::to_string(frames) + " frames (steps 0 to " +
                          std::to_string(MaxStoredFrameStep) +
                          "), as many as a RUN file keeps. The run goes on, but its later steps are not recorded.",
                      "Brevimar", MB_OK | MB_ICONINFORMATION);
}

void CaptureStep(CBrevimarDoc& doc)
{
    const int t = doc.RunHeader.CurrentStep;
    // The capture keeps steps 0..351; later steps are not recorded, and the
    // capture stays switched on.
    if (t < 0 || t >= CaptureRows || doc.CaptureEndStep != 0)
        return;
    // A file holds the frames before the newest recorded, up to frame 350:
    // recording frame 351 completes it. Set-up starts the count again, so
    // each new capture says it once.
    const bool full = doc.CaptureFrameCount <= MaxStoredFrameStep && t > MaxStoredFrameStep;
    doc.CapturedStep[t] = t;
    doc.CaptureFrameCount = t;
    // An agent placed by hand joins the history from this frame on.
    doc.RunHeader.RedCount = std::clamp(doc.RedForce.NumAgents, 0, MaxAgents);
    doc.RunHeader.BlueCount = std::clamp(doc.BlueForce.NumAgents, 0, MaxAgents);
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
        for (int i = 1; i <= force.NumAgents; ++i) {
            doc.Capture(base, t, i) = force.AgentState[i];
            doc.Capture(base + 1, t, i) = force.AgentX[i];
            doc.Capture(base + 2, t, i) = force.AgentY[i];
        }
    }
    if (full)
        NoteCaptureFull(doc);
}

}  // namespace

void ShowNextStoredFrame(CBrevimarDoc& doc)
{
    AdvanceFrame(doc);
    if (doc.RunMode == PlaybackMode) {
        doc.CountReplayAttrition();
        doc.ShowRunStatus();
        doc.BuildReplayFrame();
    } else {
        doc.CountPlaybackAttrition();
        doc.ShowRunStatus();
        doc.BuildPlaybackFrame();
    }
}

void TakeInteractiveStep(CBrevimarDoc& doc)
{
    int& t = doc.RunHeader.CurrentStep;
    const int end = FrameEnd(doc);
    if (doc.RunEndStep != 0 && doc.RunEndStep == t) {
        // Run given after the end: the run wraps to step 1, pauses, and
        // still takes that step.
        doc.RunEndStep = 0;
        t = 1;
        doc.Pause();
    } else {
        // A restart or load meanwhile has left the end behind.
        doc.RunEndStep = 0;
        if (t == 1)
            doc.Pause();
        if (doc.RunHeader.TimeDirection > 0 && t + doc.RunHeader.TimeDirection >= end) {
            HoldAtRunEnd(doc, std::max(end, 1));
            return;
        }
        AdvanceFrame(doc);
    }
    if (doc.Statistics.DataCollectionOn == 1)
        doc.CollectStepStatistics();
    else
        doc.NoteStepUncollected();
    doc.RecordAttrition();
    if (doc.RunCaptureOn == 1)
        CaptureStep(doc);
    doc.ShowRunStatus();
    const int stepped = t;
    doc.StepSimulationInView();
    // A force that reached the enemy flag sets the step to LastStep: the run
    // ends after the step just taken.
    if (t != stepped && t >= end)
        HoldAtRunEnd(doc, stepped + 1);
}

void CBrevimarDoc::OnTimer(int /*timerId*/)
{
    if (Paused == 1)
        return;
    if (StepExecuteMode == 1) {
        ++StepsSincePause;
        if (StepsSincePause == StepsPerBurst) {
            Pause();
            StepsSincePause = 0;
        }
    }

    switch (RunMode) {
    case PlaybackMode:
    case ReplayMode:
        ShowNextStoredFrame(*this);
        break;
    case InteractiveMode:
        TakeInteractiveStep(*this);
        break;
    case GeneticAlgorithmMode:
        if (Experiment.GABusy != 0) {
            // A tick the generation's own message pump dispatched: the
            // generation goes on, and a Pause the user gives meanwhile holds
            // once it ends.
        } else if (Experiment.GaGeneration == Experiment.GaGenerations) {
            Experiment.GaElapsedSeconds = static_cast<double>(host().Now() - Experiment.GaStartTime);
            if (BatchDrivers)
                BatchDrivers->OnDisplayGaBestChromosome();
        } else if (BatchDrivers) {
            BatchDrivers->RunGABatch();
            BatchDrivers->UpdateGaStatusLine();
        }
        break;
    case FitnessLandscapeMode:
        if (Experiment.LandscapeBusy != 0) {
            // A tick the sweep's own message pump dispatched: the sweep goes
            // on, and only the user's Pause suspends it.
        } else if (LandscapeEnded()) {
            Experiment.LandscapeElapsedSeconds = static_cast<double>(host().Now() - Experiment.LandscapeStartTime);
            if (BatchDrivers)
                BatchDrivers->OnLandscape3DGraph();
        } else if (BatchDrivers) {
            BatchDrivers->RunLandscapeBatch();
        }
        break;
    case MultipleTimeSeriesMode:
        if (Series.MultiRunBusy != 0) {
            // A tick the batch's own message pump dispatched: the batch goes
            // on, and only the user's Pause suspends it.
        } else if (MultiRunData.BatchOpen == 0 && MultiRunSamplesAllRun()) {
            if (BatchDrivers)
                BatchDrivers->OnMultiRunComplete();
        } else if (BatchDrivers) {
            BatchDrivers->RunMultiTimeSeriesBatch();
        }
        break;
    default:
        break;
    }
}

}  // namespace brevimar
