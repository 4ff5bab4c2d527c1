// The battlefield view: shows the battlefield, owns the run timer that drives
// the simulation, turns mouse clicks into run control and editing, and carries
// the command handlers of the document's menu.
#pragma once

#include <QPointer>

#include "platform/Command.h"
#include "platform/ScrollView.h"

namespace brevimar {

class CBrevimarDoc;

class CBrevimarView : public CScrollView {
public:
    static constexpr unsigned RunTimerId = 42;
    static constexpr unsigned RunTimerPeriodMs = 1;

    explicit CBrevimarView(CBrevimarDoc* document);
    ~CBrevimarView() override;

    CBrevimarDoc* GetDocument() const { return Document; }
    const CCommandMap& MessageMap() const { return Map; }

    // Starts the run timer. 0 on success; -1 (after telling the user) when no
    // timer is free, and the view must not be created.
    int OnCreate();
    void OnDestroy();
    // Sizes the scroll area to the battlefield and fits the frame around it.
    void OnInitialUpdate();

    void OnDraw(QPainter& painter) override;
    void OnTimer(unsigned id) override;
    void OnLButtonUp(unsigned flags, QPoint point) override;
    void OnRButtonUp(unsigned flags, QPoint point) override;

    // The battlefield cell under a client point: x = column, y = BattleSize + 1 - row,
    // so that row and column 0 are the drawn border and y grows upwards.
    QPoint PointToCell(QPoint point) const;
    bool IsOnBattlefield(QPoint cell) const;

    // The last modeless chart or data window a command opened.
    QPointer<QWidget> LastChartWindow;
    // Timers of the batch drivers (150 ms), distinct from the run timer.
    unsigned GaTimerId = 43;
    unsigned LandscapeTimerId = 44;
    unsigned MultiRunTimerId = 45;

private:
    void BuildMessageMap();
    // Right-click edits of terrain and agents at a battlefield cell.
    void EditTerrainCell(QPoint cell);
    bool EditAgentCell(QPoint cell);

    CBrevimarDoc* Document;
    CCommandMap Map;
    bool Created = false;
    // Ticks that arrive before the document is set up and the view sized
    // (a file dialog of the new document runs a nested event loop) do nothing.
    bool InitialUpdateDone = false;
};

}  // namespace brevimar
