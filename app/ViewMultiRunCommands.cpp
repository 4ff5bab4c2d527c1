// The multiple time-series commands: choosing the run mode, editing its
// samples and run time, and the completion that follows the last sample.
// The batch itself runs from the run timer through the document's batch
// drivers.
#include "app/BrevimarView.h"
#include "app/MultiRunRawData.h"
#include "core/Document.h"
#include "dialogs/MultiRunDialogs.h"
#include "experiments/MultiRunBatch.h"

namespace brevimar {

void CBrevimarView::AddMultiRunCommands()
{
    Map.On(ID_MULTIPLE_TIME_SERIES, [this] { OnMultipleTimeSeries(); });
    Map.OnUpdate(ID_MULTIPLE_TIME_SERIES,
                 [this](CCmdUI& ui) { ui.Enable(Document->RunMode == InteractiveMode && !Document->BatchBusy()); });
    Map.On(ID_EDIT_MULTI_RUN_PARAMETERS, [this] { OnEditMultiRunParameters(); });
    // The batch reads its counts while it runs.
    Map.OnUpdate(ID_EDIT_MULTI_RUN_PARAMETERS, [this](CCmdUI& ui) {
        ui.Enable(!Document->BatchBusy() && Document->MultiRunData.BatchOpen == 0);
    });
}

void CBrevimarView::RunMultiTimeSeriesBatch()
{
    CBrevimarDoc& doc = *Document;
    brevimar::RunMultiTimeSeriesBatch(doc, static_cast<int>(MultiRunTimerId), [this, &doc](int& answer) {
        CMultiRunWeaponsRawDataDlg dlg(doc, this);
        dlg.SampleWeaponsRawData = answer;
        const bool ok = dlg.DoModal() == IDOK;
        answer = dlg.SampleWeaponsRawData;
        return ok;
    });
}

void CBrevimarView::OnMultipleTimeSeries()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    // The samples replace the battle a RUN capture holds.
    if (!doc.OfferCapturedFrames())
        return;
    doc.EndPausedBatch();
    doc.RunMode = MultipleTimeSeriesMode;
    doc.WeaponStatsOn = doc.RedForce.WeaponsOn == 1 || doc.BlueForce.WeaponsOn == 1 ? 1 : 0;
    doc.LoadInputFile = 0;
    doc.Series.MultiRunSample = 0;
    doc.Series.MultiRunStep = 0;
    doc.Series.MultiRunSampleCount = 10;
    doc.Series.MultiRunStepCount = 100;
    doc.ResetMultipleRunStatistics();
    doc.RunHeader.TimeDirection = 1;
    doc.RandomState = doc.InitialSeed;
    doc.RunTerminated = 0;
    OnEditMultiRunParameters();
    doc.ShowMultipleTimeSeriesStatus();
    doc.Series.MultiRunBusy = 0;
    Invalidate(false);
}

void CBrevimarView::OnEditMultiRunParameters()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CMultiRunParamsDlg dlg(doc, this);
    if (dlg.DoModal() == IDOK) {
        doc.Series.MultiRunSampleCount = dlg.Samples;
        doc.Series.MultiRunStepCount = dlg.RunTime;
    }
    Invalidate(false);
}

void CBrevimarView::OnMultiRunComplete()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CMultiRunCompleteDlg notice(doc, this);
    if (notice.DoModal() == IDOK) {
        WriteChosenRawData(doc, AskMultiRunRawData(doc, this), this);
    }
    Invalidate(false);
}

}  // namespace brevimar
