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
    QSize PictureSize() const;

    void OnDraw(QPainter& painter) override;
    void OnTimer(unsigned id) override;
    void OnLButtonUp(unsigned flags, QPoint point) override;
    void OnRButtonUp(unsigned flags, QPoint point) override;

    // The battlefield cell under a client point: x = column, y = BattleSize + 1 - row,
    // so that row and column 0 are the drawn border and y grows upwards.
    QPoint PointToCell(QPoint point) const;
    bool IsOnBattlefield(QPoint cell) const;

    // File menu: load a scenario input data file, or a stored run to play back.
    void OnFileLoadInputDataFile();
    void OnFileLoadRunFile();
    // File menu: save the scenario input data file; start a RUN capture and
    // stop it into a file (ViewFileCommands.cpp).
    static constexpr unsigned ID_FILE_SAVE_RUN = 33050;
    static constexpr unsigned ID_FILE_STOP_RUN_CAPTURE = 33096;
    static constexpr unsigned ID_FILE_SAVE_INPUT_DATA = 33328;
    void OnFileSaveInputDataFile();
    void OnFileSaveRunFile();
    void OnFileStopRunCapture();

    // Data Collection menu: Set All, the per-statistic switches and the
    // capacity-dimension snapshot (ViewDataCollection.cpp).
    static constexpr unsigned ID_DATA_SET_ALL = 32965;
    static constexpr unsigned ID_DATA_FORCE_SIZES = 32784;
    static constexpr unsigned ID_DATA_INTERPOINT = 32785;
    static constexpr unsigned ID_DATA_NEIGHBORS = 32786;
    static constexpr unsigned ID_DATA_GOAL_COUNT = 32787;
    static constexpr unsigned ID_DATA_CLUSTERS = 32788;
    static constexpr unsigned ID_DATA_CENTER_OF_MASS = 32789;
    static constexpr unsigned ID_DATA_SPATIAL_ENTROPY = 32790;
    static constexpr unsigned ID_DATA_CAPACITY_SNAPSHOT = 33373;
    void BuildDataCollectionMap();
    void OnCapacityDimensionSnapshot();

    // The last modeless chart or data window a command opened.
    QPointer<QWidget> LastChartWindow;
    // Timers of the batch drivers (150 ms), distinct from the run timer.
    unsigned GaTimerId = 43;
    unsigned LandscapeTimerId = 44;
    unsigned MultiRunTimerId = 45;

    // Run control: the Simulation menu's run commands, Run/Stop on the
    // toolbar, Ctrl+G, and File/Open of a frame file (Ctrl+O).
    static constexpr unsigned ID_PAUSE = 32768;
    static constexpr unsigned ID_RUN = 32769;
    static constexpr unsigned ID_RANDOMIZE = 32770;
    static constexpr unsigned ID_CLEAR = 32771;
    static constexpr unsigned ID_STEP_EXECUTE_MODE = 32779;
    static constexpr unsigned ID_STEP_EXECUTE_T_STEPS = 33022;
    static constexpr unsigned ID_RESTART_GO = 32791;
    static constexpr unsigned ID_RUN_MODE_INTERACTIVE = 32885;
    static constexpr unsigned ID_TERMINATE_RUN = 32896;
    static constexpr unsigned ID_RUN_MODE_PLAYBACK = 32897;
    static constexpr unsigned ID_RUN_STOP_TOGGLE = 33102;
    static constexpr unsigned ID_RESTART_USE_BLOCK_DATA = 33254;
    static constexpr unsigned ID_RESTART_USE_AGENT_FILE = 33256;
    // How often Terminate Run asks for a scenario before it gives up.
    static constexpr int MaxTerminatePrompts = 100;
    static constexpr const char* FrameFileFilter =
        "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run|Brevimar OUT Files (*.out)|*.out|"
        "Brevimar VLX Files (*.vlx)|*.vlx|Brevimar Files (*.brv)|*.brv||";
    void OnPause();
    void OnRun();
    void OnRunStopToggle();
    void OnClear();
    void OnRandomize();
    void OnRestartGo();
    void OnRestartUseBlockData();
    void OnRestartUseAgentFile();
    void OnStepExecuteMode();
    void OnStepExecuteTSteps();
    void OnTerminateRun();
    void OnRunModePlayback();
    void OnRunModeInteractive();
    void OnFileOpen();
    void OnUpdatePause(CCmdUI& ui);
    void OnUpdateRun(CCmdUI& ui);
    void OnUpdateUnlessBatchBusy(CCmdUI& ui);
    void OnUpdateRestartGo(CCmdUI& ui);
    void OnUpdateRestartUseBlockData(CCmdUI& ui);
    void OnUpdateRestartUseAgentFile(CCmdUI& ui);
    void OnUpdateStepExecuteMode(CCmdUI& ui);
    void OnUpdateRunModePlayback(CCmdUI& ui);
    void OnUpdateRunModeInteractive(CCmdUI& ui);

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
