// The fitness landscape's commands: choosing its run mode, editing its
// run-time parameters and (x, y) coordinates, loading an input file, and the
// result display that follows a finished sweep. The sweep itself runs from
// the run timer through the document's batch drivers.
#include "app/BrevimarView.h"
#include "charts/LandscapeGraph.h"
#include "core/Document.h"
#include "dialogs/LandscapeDialogs.h"
#include "experiments/LandscapeFiles.h"
#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"
#include "experiments/LandscapeSweep.h"

namespace brevimar {

void CBrevimarView::RunLandscapeBatch()
{
    brevimar::RunLandscapeBatch(*Document, static_cast<int>(LandscapeTimerId));
}

void CBrevimarView::AddLandscapeCommands()
{
    for (unsigned id : {ID_RUN_MODE_LANDSCAPE, ID_DATA_COLLECTION_LANDSCAPE}) {
        Map.On(id, [this] { OnRunModeLandscape(); });
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateRunModeLandscape(ui); });
    }
    Map.On(ID_LANDSCAPE_3D_GRAPH, [this] { OnLandscape3DGraph(); });
    Map.On(ID_EDIT_LANDSCAPE_RUN_TIME, [this] { OnEditLandscapeRunTimeParams(); });
    Map.On(ID_EDIT_LANDSCAPE_COORDINATES, [this] { OnEditLandscapeCoordinates(); });
    for (unsigned id : {ID_LANDSCAPE_3D_GRAPH, ID_EDIT_LANDSCAPE_RUN_TIME, ID_EDIT_LANDSCAPE_COORDINATES})
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateLandscapeMode(ui); });
    Map.On(ID_FILE_LOAD_LANDSCAPE, [this] { OnLoadLandscapeFile(); });
    Map.OnUpdate(ID_FILE_LOAD_LANDSCAPE, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
}

void CBrevimarView::OnUpdateRunModeLandscape(CCmdUI& ui)
{
    ui.Enable(!Document->BatchBusy());
    ui.SetCheck(Document->RunMode == FitnessLandscapeMode);
}

void CBrevimarView::OnUpdateLandscapeMode(CCmdUI& ui)
{
    // The sweep reads these settings while it runs.
    ui.Enable(Document->RunMode == FitnessLandscapeMode && !Document->BatchBusy());
}

void CBrevimarView::OnRunModeLandscape()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    // The sweep's runs replace the battle a RUN capture holds.
    if (!doc.OfferCapturedFrames())
        return;
    doc.EndPausedBatch();
    doc.StartBatchWriteRecord();
    doc.RunMode = FitnessLandscapeMode;
    doc.LoadInputFile = 0;
    SetLandscapeModeDefaults(doc);
    ResetFitnessLandscapeData(doc);
    doc.RandomState = doc.InitialSeed;
    doc.RunHeader.TimeDirection = 1;
    doc.RunTerminated = 0;
    OnEditLandscapeRunTimeParams();
    OnEditLandscapeCoordinates();
    doc.ShowLandscapeStatus(1, 1);
    doc.Experiment.LandscapeBusy = 0;
    Invalidate(false);
}

void CBrevimarView::OnEditLandscapeRunTimeParams()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CLandscapeRunParamsDlg dlg(doc, this);
    if (dlg.DoModal() == IDOK) {
        CLandscapeSettings& s = doc.Landscape.Settings;
        CBattlefield& f = doc.Battlefield;
        s.LandscapeSymmetrizeAliveInjured = dlg.SymmetrizeAliveInjured;
        s.LandscapeSymmetrizeWeights = dlg.SymmetrizeWeights;
        s.LandscapeCenterOfMassFraction = dlg.CenterOfMassFraction;
        s.LandscapeContainmentNumber = dlg.ContainmentNumber;
        s.LandscapeContainmentRange = dlg.ContainmentRange;
        s.LandscapeMaxTimeToFlag = dlg.MaxTimeToFlag;
        s.LandscapeInitialConditions = dlg.InitialConditions;
        s.LandscapePenaltyPower = dlg.PenaltyPower;
        s.LandscapeTerminationCode = dlg.TerminationCode;
        s.LandscapeUseTerritory = dlg.UseTerritory == 1 ? 1 : 0;
        f.TerritoryRange = dlg.ThresholdRange;
        f.TerritoryMinCount = dlg.SurroundingNumber;
        f.TerritoryDelta = dlg.Delta;
        f.TerritoryCenterY = dlg.CenterY;
        f.TerritoryCenterX = dlg.CenterX;
        f.TerritoryRangeX = dlg.RangeX;
        f.TerritoryRangeY = dlg.RangeY;
        s.LandscapeTerritoryCells = CountLandscapeTerritoryCells(f);
        s.LandscapeTerritoryTimeMax = dlg.TimeMax;
        s.LandscapeTerritoryTimeMin = dlg.TimeMin;
        // A sweep paused half-way starts again with the new settings.
        CloseLandscapeSweep(doc);
    }
    const BatchWriteScope setUp(doc, BatchWriteKind::SetUp);
    if (doc.Landscape.Settings.LandscapeSymmetrizeAliveInjured == 1)
        SymmetrizeAliveInjured(doc);
    if (doc.Landscape.Settings.LandscapeSymmetrizeWeights == 1)
        SymmetrizeWeightPairs(doc);
}

void CBrevimarView::OnEditLandscapeCoordinates()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CLandscapeParamsDlg dlg(doc, this);
    if (dlg.DoModal() != IDOK)
        return;
    CLandscapeSettings& s = doc.Landscape.Settings;
    if (const int x = FindLandscapeParameter(dlg.XName.c_str()))
        s.LandscapeXParameter = x;
    if (const int y = FindLandscapeParameter(dlg.YName.c_str()))
        s.LandscapeYParameter = y;
    s.LandscapeXSamples = dlg.XSamples;
    s.LandscapeYSamples = dlg.YSamples;
    s.LandscapeXMax = dlg.XMax;
    s.LandscapeXMin = dlg.XMin;
    s.LandscapeYMax = dlg.YMax;
    s.LandscapeYMin = dlg.YMin;
    s.LandscapeSquad = dlg.Squad;
    DeriveLandscapeGrid(doc);
    doc.Experiment.LandscapeGridPoint = 0;
    CloseLandscapeSweep(doc);
}

void CBrevimarView::OnLandscape3DGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    // Grid points that never ran would read as measured.
    if (!doc.LandscapeEnded()) {
        doc.host().ShowMessage(LandscapeUnfinishedNote(doc));
        Invalidate(false);
        return;
    }
    CLandscapeObjectiveDlg objective(doc, this);
    if (objective.DoModal() == IDOK) {
        CLandscapeSettings& s = doc.Landscape.Settings;
        for (int k = 1; k <= LandscapeMeasureCount; ++k) {
            s.LandscapeObjectiveUsed[k] = objective.Used[k];
            s.LandscapeObjectiveWeight[k] = objective.Weight[k];
        }
        doc.Experiment.LandscapeWinThreshold = objective.WinThreshold;
        s.LandscapePlotKind = objective.PlotKind;
        s.LandscapeGraphKind = objective.GraphKind;
        s.LandscapeColorMode = objective.ColorMode;
        // The weights in use are scaled to sum 1; with none in use (or all
        // zero) there is nothing to scale.
        double sum = 0.0;
        for (int k = 1; k <= LandscapeMeasureCount; ++k)
            sum += (s.LandscapeObjectiveUsed[k] == 1 ? 1.0 : 0.0) * s.LandscapeObjectiveWeight[k];
        if (sum > 0.0)
            for (int k = 1; k <= LandscapeMeasureCount; ++k)
                if (s.LandscapeObjectiveUsed[k] == 1)
                    s.LandscapeObjectiveWeight[k] /= sum;

        CLandscapeRawDataDlg raw(doc, this);
        raw.DoModal();
        if (raw.StoreRawData != 0)
            SaveRawFitnessFile(doc);
        // The window lives on its own until closed; the view keeps the last.
        LastChartWindow = new CLandscapeGraphDlg(this, doc);
    }
    Invalidate(false);
}

void CBrevimarView::OnLoadLandscapeFile()
{
    brevimar::OnLoadLandscapeFile(*Document);
}

}  // namespace brevimar
