// File menu: "Brevimar Input Data File...", "Brevimar RUN File..." and
// "....Stop RUN Capture" under Save. A RUN capture is recorded in two steps:
// Save RUN File restarts the run with the capture on, the run loop stores a
// frame per step, and Stop RUN Capture writes scenario and frames to the file
// the user picks, then ends the capture and restarts the run.
#include "app/BrevimarView.h"
#include "core/Document.h"
#include "files/ScenarioWriter.h"

namespace brevimar {

void CBrevimarView::OnUpdateInteractiveFileCommand(CCmdUI& ui)
{
    // Outside the interactive run these commands only pause.
    ui.Enable(GetDocument()->RunMode == InteractiveMode && !GetDocument()->BatchBusy());
}

void CBrevimarView::OnFileSaveInputDataFile()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    // Only the interactive run holds a scenario worth saving as it stands.
    if (doc.RunMode == InteractiveMode)
        WriteInputDataFile(doc);
}

void CBrevimarView::OnFileSaveRunFile()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    if (doc.RunMode != InteractiveMode)
        return;
    // A capture already under way would start again from this restart.
    if (!doc.OfferCapturedFrames())
        return;
    doc.InitializeForces();
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RestartGenerator();
    doc.RunTerminated = 0;
    // After InitializeForces, which switches the capture off; set-up then
    // records the deployment as frame 0.
    doc.RunCaptureOn = 1;
    doc.ResetBattlefield();
    Invalidate(false);
}

void CBrevimarView::OnFileStopRunCapture()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    // Written while the capture is still on, so the frames follow the scenario.
    // A chooser cancelled (or a file that cannot be made) writes nothing and
    // changes nothing: the capture goes on with every frame it holds, and the
    // run stays where it stands.
    if (WriteInputDataFile(doc) != FileCommandResult::Done)
        return;
    doc.RunCaptureOn = 0;
    doc.ResetTail();
    Invalidate(false);
}

}  // namespace brevimar
