#include "app/BrevimarView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <string>
#include <utility>

#include "app/BattlefieldPainter.h"
#include "app/ResourceIds.h"
#include "core/BattlefieldPicture.h"
#include "core/Document.h"
#include "files/ScenarioWriter.h"

namespace brevimar {

CBrevimarView::CBrevimarView(CBrevimarDoc* document) : Document(document)
{
    setAutoFillBackground(false);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    BuildMessageMap();
    Document->SetBatchDrivers(this);
}

CBrevimarView::~CBrevimarView()
{
    OnDestroy();
}

void CBrevimarView::BuildMessageMap()
{
    // Command handlers of the document's menu join this map as they are built.
    Map.On(ID_FILE_LOAD_INPUT_DATA, [this] { OnFileLoadInputDataFile(); });
    Map.On(ID_FILE_LOAD_RUN, [this] { OnFileLoadRunFile(); });
    // A batch inside its loop would write its next members over the file's
    // scenario, past the record that puts its writes back.
    for (unsigned id : {ID_FILE_LOAD_INPUT_DATA, ID_FILE_LOAD_RUN})
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    Map.On(ID_FILE_SAVE_INPUT_DATA, [this] { OnFileSaveInputDataFile(); });
    Map.On(ID_FILE_SAVE_RUN, [this] { OnFileSaveRunFile(); });
    for (unsigned id : {ID_FILE_SAVE_INPUT_DATA, ID_FILE_SAVE_RUN})
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateInteractiveFileCommand(ui); });
    Map.On(ID_FILE_STOP_RUN_CAPTURE, [this] { OnFileStopRunCapture(); });
    Map.OnUpdate(ID_FILE_STOP_RUN_CAPTURE, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    BuildAuxFileCommandMap();
    // Run control.
    Map.On(ID_PAUSE, [this] { OnPause(); });
    Map.OnUpdate(ID_PAUSE, [this](CCmdUI& ui) { OnUpdatePause(ui); });
    Map.On(ID_RUN, [this] { OnRun(); });
    Map.OnUpdate(ID_RUN, [this](CCmdUI& ui) { OnUpdateRun(ui); });
    Map.On(ID_RUN_STOP_TOGGLE, [this] { OnRunStopToggle(); });
    Map.On(ID_CLEAR, [this] { OnClear(); });
    Map.OnUpdate(ID_CLEAR, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    Map.On(ID_RANDOMIZE, [this] { OnRandomize(); });
    Map.OnUpdate(ID_RANDOMIZE, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    Map.On(ID_RESTART_GO, [this] { OnRestartGo(); });
    Map.OnUpdate(ID_RESTART_GO, [this](CCmdUI& ui) { OnUpdateRestartGo(ui); });
    Map.On(ID_RESTART_USE_BLOCK_DATA, [this] { OnRestartUseBlockData(); });
    Map.OnUpdate(ID_RESTART_USE_BLOCK_DATA, [this](CCmdUI& ui) { OnUpdateRestartUseBlockData(ui); });
    Map.On(ID_RESTART_USE_AGENT_FILE, [this] { OnRestartUseAgentFile(); });
    Map.OnUpdate(ID_RESTART_USE_AGENT_FILE, [this](CCmdUI& ui) { OnUpdateRestartUseAgentFile(ui); });
    Map.On(ID_STEP_EXECUTE_MODE, [this] { OnStepExecuteMode(); });
    Map.OnUpdate(ID_STEP_EXECUTE_MODE, [this](CCmdUI& ui) { OnUpdateStepExecuteMode(ui); });
    Map.On(ID_STEP_EXECUTE_T_STEPS, [this] { OnStepExecuteTSteps(); });
    Map.OnUpdate(ID_STEP_EXECUTE_T_STEPS, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    Map.On(ID_TERMINATE_RUN, [this] { OnTerminateRun(); });
    Map.OnUpdate(ID_TERMINATE_RUN, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    Map.On(ID_RUN_MODE_PLAYBACK, [this] { OnRunModePlayback(); });
    Map.OnUpdate(ID_RUN_MODE_PLAYBACK, [this](CCmdUI& ui) { OnUpdateRunModePlayback(ui); });
    Map.On(ID_RUN_MODE_INTERACTIVE, [this] { OnRunModeInteractive(); });
    Map.OnUpdate(ID_RUN_MODE_INTERACTIVE, [this](CCmdUI& ui) { OnUpdateRunModeInteractive(ui); });
    Map.On(ID_FILE_OPEN, [this] { OnFileOpen(); });
    Map.OnUpdate(ID_FILE_OPEN, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    BuildParameterCommandMap();
    BuildCombatCommandMap();
    AddLandscapeCommands();
    AddMultiRunCommands();
    BuildGaMessageMap();
    // Data Visualization.
    Map.On(ID_ATTRITION_GRAPH, [this] { OnAttritionGraph(); });
    BuildStatisticsChartMap1();
    BuildStatisticsChartMap();
    BuildDataCollectionMap();
    BuildOnTheFlyCommandMap();
    BuildDisplayCommandMap();
    BuildEditCommandMap();
    Map.On(ID_FILE_PRINT, [this] { OnFilePrint(); });
    Map.On(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    Map.On(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    // Restarts, loads and edits all come through here: the status line must
    // not keep the time and counts of a battle that is no longer shown. A
    // command that changed nothing the line shows, nor the run mode, keeps
    // it, and with it the counts the run loop took before the step on show
    // (a recount now would find the agents that step left). The title, like
    // the line, names whichever file a command left on show, however it came.
    // A command may close the window it came from.
    auto shown = [](const CBrevimarDoc& doc) { return std::pair(doc.RunMode, doc.RecountedRunStatus()); };
    Map.AroundEach([view = QPointer<CBrevimarView>(this), shown](unsigned, const std::function<void()>& command) {
        const auto before = shown(*view->Document);
        command();
        if (!view)
            return;
        if (shown(*view->Document) != before)
            view->RefreshRunStatus();
        if (view->RetitleWindows)
            view->RetitleWindows();
    });
}

int CBrevimarView::OnCreate()
{
    if (!SetTimer(RunTimerId, RunTimerPeriodMs)) {
        MessageBox("Not enought timers.", {}, MB_OK);
        return -1;
    }
    Created = true;
    return 0;
}

void CBrevimarView::OnDestroy()
{
    if (!Created)
        return;
    Created = false;
    KillTimer(RunTimerId);
    Document->SetBatchDrivers(nullptr);
}

// The whole picture, border cells included, at the current zoom. Sizing the
// view at five pixels for each battlefield cell alone would cut off the
// picture's last column and bottom row, where the cells x = L and y = 1 are.
QSize CBrevimarView::PictureSize() const
{
    const CBattlefieldGeometry geometry = BattlefieldGeometry(*Document);
    return QSize(geometry.ZoomedWidth(), geometry.ZoomedHeight());
}

void CBrevimarView::OnInitialUpdate()
{
    SetScrollSizes(PictureSize());
    ResizeParentToFit(false);
    ResizeParentToFit(true);
    InitialUpdateDone = true;
}

void CBrevimarView::OnDraw(QPainter& painter)
{
    if (!Painter)
        Painter = std::make_unique<CBattlefieldPainter>();
    Painter->Paint(*Document, painter, Exposed);

    // The view is the picture its scroll area shows, so it follows the zoom,
    // as OnInitialUpdate sizes it. Not resized inside the paint itself.
    if (!InitialUpdateDone)
        return;
    if (PictureSize() != GetTotalSize())
        QMetaObject::invokeMethod(this, [this] { SetScrollSizes(PictureSize()); }, Qt::QueuedConnection);
}

void CBrevimarView::paintEvent(QPaintEvent* event)
{
    Exposed = event->rect();
    CScrollView::paintEvent(event);
    Exposed = QRect();
}

void CBrevimarView::OnTimer(unsigned id)
{
    if (!InitialUpdateDone)
        return;
    // Every timer of the view runs the same tick, whatever its id.
    Document->OnTimer(static_cast<int>(id));
}

void CBrevimarView::RefreshRunStatus()
{
    CBrevimarDoc& doc = *Document;
    // The batch modes write their own status lines.
    if (doc.RunMode > ReplayMode || doc.BatchBusy())
        return;
    doc.CountShownAttrition();
    doc.ShowRunStatus();
}

QPoint CBrevimarView::PointToCell(QPoint point) const
{
    // The view's points are already picture points (the scroll area moves
    // the whole view); the zoom is undone by the stretch's own ratio. Before
    // the cell pictures are measured, cells are 5 pixels wide.
    int x = 0, y = 0;
    BattlefieldGeometry(*Document).CellAt(point.x(), point.y(), &x, &y);
    return QPoint(x, y);
}

bool CBrevimarView::IsOnBattlefield(QPoint cell) const
{
    const int size = Document->Battlefield.BattleSize;
    return cell.x() >= 1 && cell.x() <= size && cell.y() >= 1 && cell.y() <= size;
}

void CBrevimarView::OnLButtonUp(unsigned, QPoint)
{
    CBrevimarDoc& doc = *Document;
    if (doc.Paused)
        doc.Resume();
    else
        doc.Pause();
    // A left click ends agent placement, but keeps the mark of an agent-file load.
    if (doc.DeploymentSource != AgentFileDeployment)
        doc.DeploymentSource = RandomDeployment;
    Invalidate(false);
}

void CBrevimarView::OnRButtonUp(unsigned, QPoint point)
{
    CBrevimarDoc& doc = *Document;
    // An agent placed or taken off is the user's, even in a GA's or a
    // landscape's forces; what one placed makes of the force when the batch
    // is left, CBatchForce decides.
    const RedEditScope red(doc);
    const BatchWriteScope byHand(doc, BatchWriteKind::HandPlaced);
    const QPoint cell = PointToCell(point);
    if (doc.TerrainEditMode == 1) {
        if (IsOnBattlefield(cell))
            EditTerrainCell(cell);
    } else if (doc.DeploymentSource == RedHandPlacement || doc.DeploymentSource == BlueHandPlacement ||
               doc.RunMode == ReplayMode) {
        const bool placed = (doc.DeploymentSource == RedHandPlacement || doc.DeploymentSource == BlueHandPlacement) &&
                            IsOnBattlefield(cell) && EditAgentCell(cell);
        if (!placed && doc.RunMode == ReplayMode) {
            doc.RunHeader.TimeDirection = doc.RunHeader.TimeDirection == 1 ? -1 : 1;
            doc.Resume();
        }
        if (placed)
            RefreshRunStatus();
    }
    Invalidate(false);
}

}  // namespace brevimar
