// The battlefield view: shows the battlefield, owns the run timer that drives
// the simulation, turns mouse clicks into run control and editing, and carries
// the command handlers of the document's menu.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>

#include <memory>

#include "core/Document.h"
#include "core/FileFilters.h"
#include "core/Side.h"
#include "platform/Command.h"
#include "platform/ScrollView.h"
#include "run/BatchDrivers.h"

class QPainter;
class QPrinter;

namespace brevimar {

class CGaEditCommands;
class CStoredValues;
class CBattlefieldPainter;

// The view drives the batch experiments of its document: the run loop calls
// back into it through CBatchDrivers.
class CBrevimarView : public CScrollView, public CBatchDrivers {
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
    // The largest zoom of the Zoom menu at which the picture fits `room`;
    // the smallest when none does.
    float LargestZoomWithin(QSize room) const;

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
    // Greys the commands that do their work in the interactive run only.
    void OnUpdateInteractiveFileCommand(CCmdUI& ui);

    // File menu: Load and Save of the auxiliary parameter files, and the
    // document file's Save (Ctrl+S) (ViewAuxFileCommands.cpp).
    static constexpr unsigned ID_FILE_LOAD_TERRAIN = 33221;
    static constexpr unsigned ID_FILE_LOAD_WAYPOINT_PATHS = 33342;
    static constexpr unsigned ID_FILE_LOAD_TERRAIN_MODIFIERS = 33325;
    static constexpr unsigned ID_FILE_LOAD_SQUAD_WEAPONS = 33149;
    static constexpr unsigned ID_FILE_LOAD_AGENT_WEAPONS = 33372;
    static constexpr unsigned ID_FILE_LOAD_AGENT_DATA = 33252;
    static constexpr unsigned ID_FILE_LOAD_SQUAD_MATRIX = 33334;
    static constexpr unsigned ID_FILE_LOAD_COMM_MATRIX = 33337;
    static constexpr unsigned ID_FILE_SAVE_TERRAIN = 33222;
    static constexpr unsigned ID_FILE_SAVE_WAYPOINT_PATHS = 33343;
    static constexpr unsigned ID_FILE_SAVE_TERRAIN_MODIFIERS = 33326;
    static constexpr unsigned ID_FILE_SAVE_SQUAD_WEAPONS = 33332;
    static constexpr unsigned ID_FILE_SAVE_AGENT_WEAPONS = 33371;
    static constexpr unsigned ID_FILE_SAVE_AGENT_DATA = 33253;
    static constexpr unsigned ID_FILE_SAVE_SQUAD_MATRIX = 33335;
    static constexpr unsigned ID_FILE_SAVE_COMM_MATRIX = 33338;
    void BuildAuxFileCommandMap();
    void OnFileSave();
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
    static constexpr const char* FrameFileFilter = StartupFileFilter;
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

    // Parameter changes: the agent parameters of the Edit menu, and the
    // on-the-fly personality, meta-personality, matrix, area and formation
    // commands (ViewParameterCommands.cpp).
    static constexpr unsigned ID_EDIT_RED_AGENTS = 32842;
    static constexpr unsigned ID_EDIT_BLUE_AGENTS = 32877;
    static constexpr unsigned ID_FLY_RED_PERSONALITY = 33012;
    static constexpr unsigned ID_FLY_BLUE_PERSONALITY = 33013;
    static constexpr unsigned ID_FLY_RED_META_PERSONALITY = 33014;
    static constexpr unsigned ID_FLY_BLUE_META_PERSONALITY = 33015;
    static constexpr unsigned ID_FLY_RED_COMM_MATRIX = 33018;
    static constexpr unsigned ID_FLY_BLUE_COMM_MATRIX = 33019;
    static constexpr unsigned ID_FLY_RED_SQUAD_WEIGHTS = 33020;
    static constexpr unsigned ID_FLY_BLUE_SQUAD_WEIGHTS = 33021;
    static constexpr unsigned ID_EDIT_RED_COMM_MATRIX = 33159;
    static constexpr unsigned ID_EDIT_RED_SQUAD_WEIGHTS = 33160;
    static constexpr unsigned ID_EDIT_BLUE_COMM_MATRIX = 33161;
    static constexpr unsigned ID_EDIT_BLUE_SQUAD_WEIGHTS = 33162;
    static constexpr unsigned ID_FLY_RED_AREA = 33330;
    static constexpr unsigned ID_FLY_BLUE_AREA = 33331;
    static constexpr unsigned ID_FLY_RED_FORMATION = 33340;
    static constexpr unsigned ID_FLY_BLUE_FORMATION = 33341;
    void OnEditRedAgents() { EditAgents(Side::Red); }
    void OnEditBlueAgents() { EditAgents(Side::Blue); }
    void OnOnTheFlyRedPersonality() { OnTheFlyPersonality(Side::Red); }
    void OnOnTheFlyBluePersonality() { OnTheFlyPersonality(Side::Blue); }
    void OnOnTheFlyRedMetaPersonality() { OnTheFlyMetaPersonality(Side::Red); }
    void OnOnTheFlyBlueMetaPersonality() { OnTheFlyMetaPersonality(Side::Blue); }
    void OnFlyRedCommMatrix() { EditCommMatrix(Side::Red); }
    void OnFlyBlueCommMatrix() { EditCommMatrix(Side::Blue); }
    void OnOnTheFlyRedSquadWeights() { EditSquadWeights(Side::Red); }
    void OnOnTheFlyBlueSquadWeights() { EditSquadWeights(Side::Blue); }
    void OnEditRedCommMatrix() { EditMatrixThenReset(Side::Red, true); }
    void OnEditBlueCommMatrix() { EditMatrixThenReset(Side::Blue, true); }
    void OnEditRedSquadWeights() { EditMatrixThenReset(Side::Red, false); }
    void OnEditBlueSquadWeights() { EditMatrixThenReset(Side::Blue, false); }
    void OnFlyRedArea() { EditArea(Side::Red); }
    void OnFlyBlueArea() { EditArea(Side::Blue); }
    void OnFlyRedFormation() { EditFormation(Side::Red); }
    void OnFlyBlueFormation() { EditFormation(Side::Blue); }
    static constexpr unsigned ID_HIGHLIGHT_RED_TOGGLE = 32853;
    void OnHighlightRedToggle();
    // Data Visualization (ViewChartCommands.cpp).
    static constexpr unsigned ID_ATTRITION_GRAPH = 32957;
    void OnAttritionGraph();
    // Capacity dimension, combat entropy, centre of mass, weapon shots/hits
    // (ViewStatisticsCharts1.cpp).
    static constexpr unsigned ID_CAPACITY_DIMENSION_GRAPH = 33375;
    static constexpr unsigned ID_COMBAT_ENTROPY_GRAPH = 33004;
    static constexpr unsigned ID_CENTER_OF_MASS_GRAPH = 32967;
    void BuildStatisticsChartMap1();
    void OnCapacityDimensionGraph();
    void OnCombatEntropyGraph();
    void OnCenterOfMassGraph();
    static constexpr unsigned ID_WEAPON_SHOTS_HITS_GRAPH = 33370;
    void OnGraphWeaponShotsHits();
    // The charts of the per-step statistics (ViewStatisticsCharts2.cpp).
    static constexpr unsigned ID_CLUSTER_SIZE_GRAPH = 32959;
    static constexpr unsigned ID_INTERPOINT_GRAPH = 32960;
    static constexpr unsigned ID_NEIGHBOR_COUNT_GRAPH = 32961;
    static constexpr unsigned ID_GOAL_COUNT_GRAPH = 32962;
    static constexpr unsigned ID_SPATIAL_ENTROPY_GRAPH = 32966;
    static constexpr unsigned ID_TERRITORY_GRAPH = 33163;
    void BuildStatisticsChartMap();
    void OnClusterSizeGraph();
    void OnInterpointGraph();
    void OnNeighborCountGraph();
    void OnGoalCountGraph();
    void OnSpatialEntropyGraph();
    void OnTerritoryGraph();
    // Opens a chart window as the last one; in run mode 5 a chart offering
    // raw data asks for it first and writes it once the chart is built.
    void OpenStatisticsChart(bool offersRawData, const std::function<QWidget*()>& create);

    // Battlefield set-up, terrain, per-squad ranges, toggles and the small
    // editors (ViewOnTheFlyCommands.cpp).
    static constexpr unsigned ID_EDIT_TERRAIN_BLOCKS = 32878;
    static constexpr unsigned ID_EDIT_TERRITORIAL_POSSESSION = 33164;
    static constexpr unsigned ID_RESEED_RANDOM = 32894;
    static constexpr unsigned ID_EDIT_HIGHLIGHT_SQUADS = 33295;
    static constexpr unsigned ID_FLY_BATTLEFIELD_SIZE = 32975;
    static constexpr unsigned ID_FLY_RED_DISTRIBUTION = 32976, ID_FLY_BLUE_DISTRIBUTION = 32977;
    static constexpr unsigned ID_FLY_RED_FLAG = 32978, ID_FLY_BLUE_FLAG = 32979;
    static constexpr unsigned ID_TOGGLE_RED_RECON = 32980, ID_TOGGLE_BLUE_RECON = 32981;
    static constexpr unsigned ID_TOGGLE_RED_FRATRICIDE = 32982, ID_TOGGLE_BLUE_FRATRICIDE = 32983;
    static constexpr unsigned ID_FLY_RED_ADJUDICATION = 32984, ID_FLY_BLUE_ADJUDICATION = 32985;
    static constexpr unsigned ID_MOVE_ORDER_RANDOM = 32988, ID_MOVE_ORDER_FIXED = 32990;
    static constexpr unsigned ID_FLY_RED_MOVEMENT = 32991, ID_FLY_BLUE_MOVEMENT = 32992;
    static constexpr unsigned ID_FLY_RED_SENSOR = 32993, ID_FLY_BLUE_SENSOR = 32994;
    static constexpr unsigned ID_FLY_RED_FIRE = 32995, ID_FLY_BLUE_FIRE = 32996;
    static constexpr unsigned ID_FLY_RED_THRESHOLD = 32997, ID_FLY_BLUE_THRESHOLD = 32998;
    static constexpr unsigned ID_FLY_RED_PK = 32999, ID_FLY_BLUE_PK = 33000;
    static constexpr unsigned ID_FLY_RED_MAX_TARGETS = 33001, ID_FLY_BLUE_MAX_TARGETS = 33002;
    static constexpr unsigned ID_FLY_RED_DEFENSE = 33016, ID_FLY_BLUE_DEFENSE = 33017;
    static constexpr unsigned ID_FLY_RED_COMMUNICATIONS = 33006, ID_FLY_BLUE_COMMUNICATIONS = 33008;
    static constexpr unsigned ID_TOGGLE_RED_COMMUNICATIONS = 33010, ID_TOGGLE_BLUE_COMMUNICATIONS = 33011;
    static constexpr unsigned ID_TOGGLE_RED_NEAREST_TERRAIN = 33142, ID_TOGGLE_BLUE_NEAREST_TERRAIN = 33143;
    static constexpr unsigned ID_TOGGLE_LINE_OF_SIGHT = 32901;
    static constexpr unsigned ID_TERRAIN_ON_OFF = 32899;
    bool OnEditTerrainBlocks();
    void OnTerrainOnOff();
    void OnToggleCommunications(Side side);
    bool EditCommunications(Side side);

private:
    void BuildMessageMap();
    void BuildParameterCommandMap();
    void BuildOnTheFlyCommandMap();
    // The Display menu, right-click editing choices and the small switches
    // (ViewDisplayCommands.cpp, ViewEditCommands.cpp).
    void BuildDisplayCommandMap();
    void BuildEditCommandMap();
    void BuildSmallSwitchCommandMap();
    // Squad items S=1..S=10 from `first`: S >= 2 greyed while the side has
    // fewer squads, else checked when `number` is S.
    void AddSquadPickerUpdate(unsigned first, Side side, const int& number);
    // Radio items setting `field` to firstValue, firstValue + 1, ...
    void AddValueItems(unsigned first, int count, int firstValue, int& field);
    void OpenAgentDataWindow(Side side);
public:
    // After a restart or a load: the status line shows the new run.
    void RefreshRunStatus();
    // Titles every window on the document after the file it now holds, after
    // each command of the view; the template that made the view sets it.
    std::function<void()> RetitleWindows;
    void RebuildFrame();

    // File > Print, Print Preview, Print Setup (ViewPrintCommands.cpp). The
    // printer keeps the user's settings between prints.
    QPrinter& PrinterSettings();
    // Draws the picture onto the printer's page; false (after telling the
    // user) when the printer cannot be opened, or its PDF file did not take
    // the whole page.
    bool PrintPicture(QPrinter& printer);
    // One printed page inside `page` (device coordinates): the title line,
    // then the whole picture below it, as large as the rest allows, in
    // shades of grey when asked.
    void PaintPage(QPainter& painter, const QRect& page, bool grayscale = false);
    QString PageTitle() const;
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
private:
    bool PrintPdfFile(QPrinter& printer);
    std::unique_ptr<QPrinter> Printer;
    // Each answers whether the dialog ended with OK.
    bool EditAgents(Side side);
    bool OnTheFlyPersonality(Side side);
    bool OnTheFlyMetaPersonality(Side side);
    bool EditCommMatrix(Side side);
    bool EditSquadWeights(Side side);
    void EditMatrixThenReset(Side side, bool communications);
    bool EditArea(Side side);
    bool EditFormation(Side side);
    // The run from its start with the new parameters, and the redraw.
    void ResetTailAndRedraw();
    // After an OK's hand-back (`before` holds what it stored into as it
    // stood): one that stored nothing changed nothing, so the battle and its
    // RUN capture go on; any other takes the Reset tail, on a smaller field
    // from a cleared picture, once the user has been offered the capture's
    // frames.
    void ResetTailAndRedraw(const CStoredValues& before, bool smallerField = false);
public:
    // Combat, weapons and passable terrain (ViewCombatCommands.cpp).
    static constexpr unsigned ID_EDIT_COMBAT_PARAMETERS = 32889;
    static constexpr unsigned ID_EDIT_RED_PASSABLE_TERRAIN = 33300;
    static constexpr unsigned ID_EDIT_BLUE_PASSABLE_TERRAIN = 33301;
    static constexpr unsigned ID_EDIT_RED_SQUAD_WEAPONS = 33147;
    static constexpr unsigned ID_EDIT_BLUE_SQUAD_WEAPONS = 33148;
    static constexpr unsigned ID_EDIT_RED_GRENADE = 33359;
    static constexpr unsigned ID_EDIT_BLUE_GRENADE = 33360;
    static constexpr unsigned ID_EDIT_RED_AGENT_WEAPONS = 33361;
    static constexpr unsigned ID_EDIT_BLUE_AGENT_WEAPONS = 33362;
    static constexpr unsigned ID_FLY_RED_WEAPON_SELECTION = 33363;
    static constexpr unsigned ID_FLY_BLUE_WEAPON_SELECTION = 33364;
    void OnEditCombatParameters();
    void OnEditRedPassableTerrain() { EditPassableTerrain(Side::Red); }
    void OnEditBluePassableTerrain() { EditPassableTerrain(Side::Blue); }
    void OnEditRedSquadWeapons() { EditSquadWeapons(Side::Red); }
    void OnEditBlueSquadWeapons() { EditSquadWeapons(Side::Blue); }
    void OnEditRedGrenade() { EditGrenade(Side::Red); }
    void OnEditBlueGrenade() { EditGrenade(Side::Blue); }
    void OnEditRedAgentWeapons() { EditAgentWeapons(Side::Red); }
    void OnEditBlueAgentWeapons() { EditAgentWeapons(Side::Blue); }
    void OnOnTheFlyRedWeaponSelection() { OnTheFlyWeaponSelection(Side::Red); }
    void OnOnTheFlyBlueWeaponSelection() { OnTheFlyWeaponSelection(Side::Blue); }

private:
    void BuildCombatCommandMap();
    // Each answers whether the dialog ended with OK.
    bool EditPassableTerrain(Side side);
    bool EditSquadWeapons(Side side);
    bool EditGrenade(Side side);
    bool EditAgentWeapons(Side side);
    void OnTheFlyWeaponSelection(Side side);
public:
    // Fitness landscape (ViewLandscapeCommands.cpp).
    static constexpr unsigned ID_RUN_MODE_LANDSCAPE = 32971;
    static constexpr unsigned ID_DATA_COLLECTION_LANDSCAPE = 32876;
    static constexpr unsigned ID_LANDSCAPE_3D_GRAPH = 32913;
    static constexpr unsigned ID_EDIT_LANDSCAPE_RUN_TIME = 33138;
    static constexpr unsigned ID_EDIT_LANDSCAPE_COORDINATES = 33139;
    static constexpr unsigned ID_FILE_LOAD_LANDSCAPE = 33141;
    void OnRunModeLandscape();
    void OnEditLandscapeRunTimeParams();
    void OnEditLandscapeCoordinates();
    void OnLandscape3DGraph() override;
    void RunLandscapeBatch() override;
    void OnLoadLandscapeFile();
    void OnUpdateRunModeLandscape(CCmdUI& ui);
    void OnUpdateLandscapeMode(CCmdUI& ui);

private:
    void AddLandscapeCommands();
public:
    // Multiple time-series (ViewMultiRunCommands.cpp).
    static constexpr unsigned ID_MULTIPLE_TIME_SERIES = 32970;
    static constexpr unsigned ID_EDIT_MULTI_RUN_PARAMETERS = 33157;
    void OnMultipleTimeSeries();
    void OnEditMultiRunParameters();
    void OnMultiRunComplete() override;
    void RunMultiTimeSeriesBatch() override;

private:
    void AddMultiRunCommands();
public:
    // The one-sided genetic algorithm: its search-space run modes, its input
    // file and its generation driver (ViewGaCommands.cpp).
    static constexpr unsigned ID_RUN_MODE_GA_FIRST = 33036;  // modes 1..8: 33036..33043
    static constexpr unsigned ID_RUN_MODE_GA_LAST = 33043;
    static constexpr unsigned ID_RUN_MODE_REINFORCEMENT = 32887;
    static constexpr unsigned ID_FILE_LOAD_GA_INPUT = 34001;
    void OnRunModeGa(int mode);
    void OnFileLoadGaInput();
    void OnUpdateGaSearchMode(CCmdUI& ui, int mode);
    void OnUpdateDisabledMode(CCmdUI& ui);
    void RunGABatch() override;
    void UpdateGaStatusLine() override;
    void OnDisplayGaBestChromosome() override;
    // The GA editing dialogs a search-space command runs (owned by the view).
    CGaEditCommands* GaEditCommands = nullptr;
    // Edit > "1-Sided Genetic Algorithm Parameters", the GA items of Display
    // > Data and the progress chart (ViewGaEditCommands.cpp,
    // ViewGaDisplayCommands.cpp).
    static constexpr unsigned ID_EDIT_GA_SEARCH_SPACE = 33024;
    static constexpr unsigned ID_EDIT_GA_RUN_TIME = 33025;
    static constexpr unsigned ID_EDIT_GA_GENOME = 33030;
    static constexpr unsigned ID_EDIT_GA_GENE_RANGES = 33032;
    static constexpr unsigned ID_EDIT_GA_MISSION = 33033;
    static constexpr unsigned ID_EDIT_GA_COMPOSITION_SEARCH = 33333;
    static constexpr unsigned ID_EDIT_GA_SQUAD_MATRIX_SEARCH = 33336;
    static constexpr unsigned ID_EDIT_GA_COMM_MATRIX_SEARCH = 33339;
    static constexpr unsigned ID_DISPLAY_GA_SUMMARY = 33045;
    static constexpr unsigned ID_DISPLAY_GA_BEST = 33047;
    static constexpr unsigned ID_DISPLAY_GA_CURRENT = 33054;
    static constexpr unsigned ID_GA_FITNESS_GRAPH = 33035;
    void OnEditGaGenomeStructure();
    void OnEditGaGeneRanges();
    void OnEditGaMissionFitness();
    void OnEditGaSearchSpace();
    void OnEditGaRunTimeParams();
    void OnEditGaSquadCompositionSearch();
    void OnEditGaSquadMatrixSearch();
    void OnEditGaCommMatrixSearch();
    void OnDisplayGaCurrentChromosome();
    void OnDisplayGaSummary();
    void OnGaFitnessGraph();
    void OnUpdateGaRunMode(CCmdUI& ui);

private:
    void BuildGaMessageMap();
    void BuildGaEditMessageMap();
    void BuildGaDisplayMessageMap();
    // What every GA editing command does after its dialog, OK or Cancel.
    void FinishGaEdit();
    // Right-click edits of terrain and agents at a battlefield cell.
    void EditTerrainCell(QPoint cell);
    bool EditAgentCell(QPoint cell);

    CBrevimarDoc* Document;
    CCommandMap Map;
    bool Created = false;
    // Ticks that arrive before the document is set up and the view sized
    // (a file dialog of the new document runs a nested event loop) do nothing.
    bool InitialUpdateDone = false;

    // Battlefield paint: only the part of the window a paint exposes is
    // redrawn, from a picture the painter keeps between paints.
    void paintEvent(QPaintEvent* event) override;
    std::unique_ptr<CBattlefieldPainter> Painter;
    QRect Exposed;
};

}  // namespace brevimar
