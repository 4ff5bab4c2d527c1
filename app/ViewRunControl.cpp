// Run control commands of the battlefield view: pausing and resuming,
// clearing, redeploying and restarting the battle, step-execute bursts,
// ending a run, switching run modes, and opening a frame or document file.
#include <string>

#include "app/BrevimarView.h"
#include "core/Document.h"
#include "dialogs/PauseStepsDlg.h"
#include "files/DocumentFile.h"
#include "files/ReadReport.h"
#include "files/RunFrames.h"
#include "platform/FileDialog.h"
#include "run/ScenarioLoad.h"

namespace brevimar {

namespace {

// The run modes of the genetic algorithm, the fitness landscape and the
// multiple time-series, which own their runs.
bool IsBatchMode(int runMode)
{
    return runMode == GeneticAlgorithmMode || runMode == FitnessLandscapeMode || runMode == MultipleTimeSeriesMode;
}

}  // namespace

void CBrevimarView::OnPause()
{
    // The item is disabled while paused; the toggle is kept for callers that
    // reach the command anyway.
    CBrevimarDoc& doc = *Document;
    if (doc.Paused)
        doc.Resume();
    else
        doc.Pause();
}

void CBrevimarView::OnRun()
{
    if (Document->Paused)
        Document->Resume();
}

void CBrevimarView::OnRunStopToggle()
{
    CBrevimarDoc& doc = *Document;
    if (doc.Paused)
        doc.Resume();
    else
        doc.Pause();
}

void CBrevimarView::OnClear()
{
    // The step goes back to 0 while the battle stays: a capture would go on
    // writing the later steps over its first frames.
    if (!Document->OfferCapturedFrames())
        return;
    Document->ClearLattice();
    Document->Pause();
    Invalidate(false);
}

void CBrevimarView::OnRandomize()
{
    Document->RandomizeRun();
    RefreshRunStatus();
    Invalidate(false);
}

void CBrevimarView::OnRestartGo()
{
    Document->RestartRun();
    RefreshRunStatus();
    Invalidate(false);
}

void CBrevimarView::OnRestartUseBlockData()
{
    Document->RestartUsesAgentFile = 0;
}

void CBrevimarView::OnRestartUseAgentFile()
{
    Document->RestartUsesAgentFile = 1;
}

void CBrevimarView::OnStepExecuteMode()
{
    Document->ToggleStepExecuteMode();
}

void CBrevimarView::OnStepExecuteTSteps()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    // Step-execute mode is on before the dialog, so a Cancel keeps it on
    // with the old burst length.
    doc.StepExecuteMode = 1;
    doc.StepsSincePause = 0;
    CPauseStepsDlg dialog(doc, this);
    if (dialog.DoModal() == IDOK)
        doc.StepsPerBurst = dialog.Steps;
    // The run waits for the user to resume it.
}

void CBrevimarView::OnTerminateRun()
{
    if (!Document->TerminateRun())
        return;
    // The run ends in run mode 1 with a scenario read afresh: cancelling, or a
    // file that cannot be read, asks again. A chooser that can no longer be
    // shown (the program closing) answers at once, so the asking stops in the
    // end; the document then keeps its scenario, terminated.
    for (int ask = 0; ask < MaxTerminatePrompts; ++ask)
        if (LoadInputDataFile(*Document) != 0)
            break;
    Invalidate(false);
}

void CBrevimarView::OnRunModePlayback()
{
    LoadStoredRunFile(*Document);
    Invalidate(false);
}

void CBrevimarView::OnRunModeInteractive()
{
    Document->StartInteractiveRun();
    Invalidate(false);
}

void CBrevimarView::OnFileOpen()
{
    CBrevimarDoc& doc = *Document;
    // The run is shown from its first frame again, whatever is chosen.
    if (!doc.OfferCapturedFrames())
        return;
    doc.ClearLattice();
    Invalidate(false);
    doc.Pause();

    CFileDialog dialog(true, "dat", {}, FrameFileFilter, this);
    dialog.Title = "Load frames from a file";
    if (dialog.DoModal() == IDOK) {
        // A document file opens as it does anywhere else, into replay;
        // whatever other extension a file has, it is read as frames.
        const std::string path = dialog.GetPathName();
        std::string error;
        if (IsDocumentFile(path)) {
            if (LoadDocumentHistory(doc, path)) {
                doc.host().NoteFileOpened(path);
                RefreshRunStatus();
            }
        } else if (!ReadShortFrameFile(doc, path, &error)) {
            ReportReadProblem(doc, error);
        }
    }
    // Frames keep the run mode: they are replayed only in run mode 2.
    doc.ShowFirstFrame();
    Invalidate(false);
}

void CBrevimarView::OnUpdatePause(CCmdUI& ui)
{
    ui.Enable(Document->Paused == 0);
}

void CBrevimarView::OnUpdateRun(CCmdUI& ui)
{
    ui.Enable(Document->Paused == 1);
}

void CBrevimarView::OnUpdateUnlessBatchBusy(CCmdUI& ui)
{
    // A batch inside its loop sees the document as it left it; pausing is
    // all it allows meanwhile.
    ui.Enable(!Document->BatchBusy());
}

void CBrevimarView::OnUpdateRestartGo(CCmdUI& ui)
{
    ui.Enable(!IsBatchMode(Document->RunMode) && !Document->BatchBusy());
}

void CBrevimarView::OnUpdateRestartUseBlockData(CCmdUI& ui)
{
    ui.Enable(!IsBatchMode(Document->RunMode));
    ui.SetCheck(Document->RestartUsesAgentFile == 0);
}

void CBrevimarView::OnUpdateRestartUseAgentFile(CCmdUI& ui)
{
    ui.Enable(Document->RunMode == InteractiveMode && Document->DeploymentSource == AgentFileDeployment);
    ui.SetCheck(Document->RestartUsesAgentFile == 1);
}

void CBrevimarView::OnUpdateStepExecuteMode(CCmdUI& ui)
{
    ui.SetCheck(Document->StepExecuteMode == 1);
}

void CBrevimarView::OnUpdateRunModePlayback(CCmdUI& ui)
{
    ui.Enable(!Document->BatchBusy());
    ui.SetCheck(Document->LoadInputFile == 0);
}

void CBrevimarView::OnUpdateRunModeInteractive(CCmdUI& ui)
{
    ui.Enable(!Document->BatchBusy());
    ui.SetCheck(Document->RunMode == InteractiveMode);
}

}  // namespace brevimar
