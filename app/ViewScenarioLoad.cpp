// File menu: "Load Brevimar Input Data File..." and "Load Brevimar RUN File...".
// The scenario loader reads the kind of file that RunMode and LoadInputFile
// select, so each command sets both before it asks and puts them back when
// nothing was read.
#include "app/BrevimarView.h"
#include "core/Document.h"
#include "run/ScenarioLoad.h"

namespace brevimar {

void CBrevimarView::OnFileLoadInputDataFile()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    const int runMode = doc.RunMode;
    const int loadInputFile = doc.LoadInputFile;
    doc.RunMode = InteractiveMode;
    doc.LoadInputFile = 1;
    doc.DeploymentSource = RandomDeployment;
    const int read = LoadInputDataFile(doc);
    doc.RunMode = InteractiveMode;
    doc.LoadInputFile = 1;
    doc.Battlefield.WaypointPathsOn = 0;
    if (read == 0) {
        doc.RunMode = runMode;
        doc.LoadInputFile = loadInputFile;
    }
    RefreshRunStatus();
    Invalidate(false);
}

void CBrevimarView::OnFileLoadRunFile()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    LoadStoredRunFile(doc);
    doc.DeploymentSource = RandomDeployment;
    // Resuming the run plays the stored frames.
    RefreshRunStatus();
    Invalidate(false);
}

}  // namespace brevimar
