#include "app/BrevimarView.h"

#include <QPainter>

#include <algorithm>

#include "core/Document.h"

namespace brevimar {

CBrevimarView::CBrevimarView(CBrevimarDoc* document) : Document(document)
{
    setAutoFillBackground(false);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    BuildMessageMap();
}

CBrevimarView::~CBrevimarView()
{
    OnDestroy();
}

void CBrevimarView::BuildMessageMap()
{
    // Command handlers of the document's menu join this map as they are built.
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
}

void CBrevimarView::OnInitialUpdate()
{
    const CBrevimarDoc& doc = *Document;
    int side = doc.RunMode == ReplayMode ? doc.RunHeader.LatticeSize : doc.Battlefield.BattleSize;
    // A stored run's header comes from a file; keep the picture within the battlefield's bounds.
    side = std::clamp(side, 1, MaxBattleSize);
    SetScrollSizes(QSize(5 * side, 5 * side));
    ResizeParentToFit(false);
    ResizeParentToFit(true);
    InitialUpdateDone = true;
}

void CBrevimarView::OnDraw(QPainter& painter)
{
    painter.fillRect(rect(), Qt::white);
}

void CBrevimarView::OnTimer(unsigned id)
{
    if (!InitialUpdateDone)
        return;
    // Every timer of the view runs the same tick, whatever its id.
    Document->OnTimer(static_cast<int>(id));
}

QPoint CBrevimarView::PointToCell(QPoint point) const
{
    // Before the cell pictures are measured, cells are 5 pixels wide.
    const int width = Document->CellBitmapWidth > 0 ? Document->CellBitmapWidth : 5;
    const int column = point.x() / width;
    const int row = point.y() / width;
    return QPoint(column, Document->Battlefield.BattleSize + 1 - row);
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
    }
    Invalidate(false);
}

void CBrevimarView::EditTerrainCell(QPoint)
{
    // Terrain drawing by right click comes with the editing commands.
}

bool CBrevimarView::EditAgentCell(QPoint)
{
    // Agent placement by right click comes with the editing commands.
    return false;
}

}  // namespace brevimar
