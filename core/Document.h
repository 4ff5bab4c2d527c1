// The document: one object holding a whole scenario and the state of its runs.
// Everything is a fixed-size array indexed by side, squad, agent, cell or
// step, so that a time step never allocates.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/AgentWeapons.h"
#include "core/BatchWrites.h"
#include "core/Battlefield.h"
#include "core/ChartSelections.h"
#include "core/CollectedStatistics.h"
#include "core/Force.h"
#include "core/GaData.h"
#include "core/GlobalCommander.h"
#include "core/Host.h"
#include "core/Landscape.h"
#include "core/Limits.h"
#include "core/LocalCommand.h"
#include "core/MultiRunCharted.h"
#include "core/MultiRunSamples.h"
#include "core/NeighborGrid.h"
#include "core/PathField.h"
#include "core/Random.h"
#include "core/RunHeader.h"
#include "core/Side.h"
#include "core/StatisticsParameters.h"
#include "core/TerrainModifiers.h"
#include "core/TerritoryKept.h"

namespace brevimar {

// Run modes.
constexpr int PlaybackMode = 0;           // playback of a stored run
constexpr int InteractiveMode = 1;        // interactive time series
constexpr int ReplayMode = 2;             // replay of a frame file
constexpr int GeneticAlgorithmMode = 3;
constexpr int FitnessLandscapeMode = 4;
constexpr int MultipleTimeSeriesMode = 5;

// DeploymentSource values.
constexpr int RandomDeployment = 0;
constexpr int RedHandPlacement = 1;
constexpr int BlueHandPlacement = 2;
constexpr int AgentFileDeployment = 3;

// The six capture buffers, in their order.
enum CaptureBufferIndex {
    RedCaptureState,
    RedCaptureX,
    RedCaptureY,
    BlueCaptureState,
    BlueCaptureX,
    BlueCaptureY,
    CaptureBufferCount
};

// The three movement-penalty evaluators of a side.
enum class MovePenaltyKind { Default, Communications, GlobalCommand };

// Force composition saved after a scenario load, which Restart brings back
// after agents were added or removed by hand.
struct CForceComposition {
    int RedCount = 0;
    int BlueCount = 0;
    int RedSquads = 0;
    int BlueSquads = 0;
    int RedPerSquad[SquadSlots] = {};
    int BluePerSquad[SquadSlots] = {};
    int RedAgentSquad[AgentSlots] = {};
    int BlueAgentSquad[AgentSlots] = {};
};

// Squad boxes of one side as the scenario gave them, before a corner
// deployment moved their centres.
struct CSquadBoxCopy {
    int CenterX[SquadSlots] = {};
    int Length[SquadSlots] = {};
    int CenterY[SquadSlots] = {};
    int Width[SquadSlots] = {};
};

// Bookkeeping of the batch experiments that the run loop reads.
struct CExperimentState {
    int GABusy = 0;
    int GaGeneration = 0;
    int GaGenerations = 0;  // generations to run
    std::int64_t GaStartTime = 0;  // calendar seconds
    double GaElapsedSeconds = 0;
    int GaShowBest = 0;      // display switches of the genetic algorithm
    int GaShowProgress = 0;
    int LandscapeBusy = 0;
    int LandscapeGridPoint = 0;   // points done
    int LandscapePointCount = 0;  // points to do
    std::int64_t LandscapeStartTime = 0;
    double LandscapeElapsedSeconds = 0;
    double LandscapeWinThreshold = 0;  // fitness-landscape chart threshold
};

// Per-step series of the current run, index t = 0..500.
struct CStatisticsSeries {
    int RedAliveSeries[SeriesLength] = {};
    int RedInjuredSeries[SeriesLength] = {};
    int BlueAliveSeries[SeriesLength] = {};
    int BlueInjuredSeries[SeriesLength] = {};
    double RedCombatEntropy[SeriesLength] = {};
    double BlueCombatEntropy[SeriesLength] = {};

    // Multiple time-series bookkeeping.
    int MultiRunBusy = 0;
    int MultiRunSample = 0;
    // The size of the next batch; a new document offers 10 samples of 100
    // steps, as choosing the mode does.
    int MultiRunSampleCount = 10;
    int MultiRunStep = 0;
    int MultiRunStepCount = 100;  // steps of each sample
};

// Everything of the document that is plain data: copying it is how a reader
// keeps the scenario it may have to give back after a failed load.
struct CDocumentState {
    int RunMode = 0;
    int RunCaptureOn = 0;
    int CapturedStep[SeriesLength] = {};
    // 0 while a capture records; the step an interactive run ended at, after
    // which the capture holds that run and records no more.
    int CaptureEndStep = 0;
    // The frames a RUN file of the capture holds while it records: those
    // before the newest it recorded. The capture keeps the count itself, so
    // a command that sets the step back leaves it as it was.
    int CaptureFrameCount = 0;
    // 0 while an interactive run goes on; once the run has reached its end,
    // the step it stands at, paused, so that the series and charts still hold
    // the whole run. The next Run wraps it to step 1.
    int RunEndStep = 0;

    CGlobalCommander RedGlobal;
    CGlobalCommander BlueGlobal;
    CLocalCommand RedLocal;
    CLocalCommand BlueLocal;
    CBattlefield Battlefield;
    CRedForce RedForce;
    CBlueForce BlueForce;
    CTerrainModifiers TerrainModifiers;
    CStatisticsParameters Statistics;

    int WeaponStatsOn = 0;
    CWeaponTallies RedTallies;
    CWeaponTallies BlueTallies;

    CAgentWeapons AgentWeapons;

    CPathField RedWaypointField;   // toward the BLUE flag; steers RED
    CPathField BlueWaypointField;  // toward the RED flag; steers BLUE

    std::string InputFileName;

    int InitialSeed = 0;  // the scenario seed
    int RandomState = 0;  // the generator's working seed
    CUniformGenerator Generator;

    // Communications links: while 0, battlefield set-up links every squad
    // pair of both sides and sets it; a search over the matrices sets it to
    // keep its own.
    int CommMatricesSet = 0;

    int WinningSide = 0;  // 1 RED / 2 BLUE reached the enemy flag
    int GoalInReach = 0;  // 1 / 2: a RED / BLUE agent found the enemy flag cell within reach
    int RunTerminated = 0;

    CExperimentState Experiment;
    // The one-sided genetic algorithm (experiments/Ga*).
    CGaData Ga;
    CStatisticsSeries Series;
    // Per-step statistics of the run (collect/).
    CCollectedStatistics Collected;
    std::string MultiRunGraphLabels[7];
    // Charts: the averaged attrition the run-mode-5 charts read and the series they hand off.
    CMultiRunCharted MultiRunCharts;
    int RedHitTally = 0, BlueHitTally = 0;  // hits scored by RED / BLUE shooters

    CRunHeader RunHeader;

    // Run switches.
    int StepExecuteMode = 0;
    int StepsPerBurst = 0;
    int StepsSincePause = 0;
    int LoadInputFile = 0;  // 1 after a scenario file, 0 after a stored run or frame file
    int LatticeExtentX = LatticeStride;
    int LatticeExtentY = LatticeStride;

    // Display switches.
    int BackgroundToggle = 1;
    int ShowAll = 1;
    int ShowInjured = 0;
    int ShowAlive = 0;
    int HighlightInjured = 0;
    int BattleFrontOn = 0;
    int BattleFrontGrayscale = 0;
    int BattleFrontSolid = 0;
    int KillMapRed = 0;
    int KillMapBlue = 0;
    int KillMapOnly = 0;
    int TerritoryMapRed = 0;
    int TerritoryMapBlue = 0;
    int TraceOn = 0;
    int RedCommanderMarks = 0;  // highlight the living local commanders
    int BlueCommanderMarks = 0;
    int RedCommandAreas = 0;
    int BlueCommandAreas = 0;
    int RedCommandLinks = 0;
    int BlueCommandLinks = 0;
    int HighlightRedSquadOn = 0;
    int HighlightRedSquadNumber = 0;
    int HighlightBlueSquadOn = 0;
    int HighlightBlueSquadNumber = 0;
    int ShowOtherRedAgents = 0;
    int ShowOtherBlueAgents = 0;
    int DeploymentSource = RandomDeployment;
    int RestartUsesAgentFile = 0;
    float ZoomFactor = 0;
    // The zoom the document's window opened with (the largest that showed
    // its whole field): a reset of the display defaults returns to it.
    float DefaultZoomFactor = 1.0f;
    int ZoomAreaCleared = 0;
    int TerrainEditMode = 0;  // right-click editing of terrain
    int EditTerrainType = 0;
    int EditRedSquad = 0;     // squad of an agent added by hand
    int EditBlueSquad = 0;

    CChartSelections Charts;

    int CellBitmapWidth = 0;
    int CellBitmapHeight = 0;

    int Paused = 0;
    int DisplayFrame = 0;  // display plane holding the newest complete frame

    int RedActivityMapOn = 0;
    int BlueActivityMapOn = 0;
    int ActivityNormaliser = 0;
    int ActivityRadius = 0;
    // Planes 0 (RED) and 1 (BLUE) hold this step's moves, plane 2 the
    // accumulated activity map; cell (x, y) at LatticeStride * x + y.
    int ActivityGrids[3][LatticeCells] = {};
    // Who possesses each cell (0 nobody, 1 RED, 2 BLUE), cell (x, y) at
    // LatticeStride * x + y, as the territorial possession last left it.
    int TerritoryOwner[LatticeCells] = {};
    // Battle-front map: 0 no front, 1 front (solid form) or front level 1..5
    // (greyscale form), cell (x, y) at LatticeStride * x + y.
    int BattleFrontGrid[LatticeCells] = {};

    std::string StatusText;
    // The kinds of set-up problem the batch under way has said, and whether
    // it asked for a terrain file (a bit each, BattlefieldSetup.cpp); its
    // runs, set up unattended, say each kind and ask once. A batch clears it
    // when it starts.
    unsigned SetupProblemsSaid = 0;

    // 1 while the terrain-modifier tables are the user's (a terrain-modified
    // agent data file or the degradation dialogs set them): force set-up
    // keeps them until a scenario is read.
    int TerrainModifiersLoaded = 0;
    CForceComposition InitialComposition;
    CSquadBoxCopy RedSquadBoxCopy;
    CSquadBoxCopy BlueSquadBoxCopy;

    // Squad highlights, command-structure marks, the trace and step-execute
    // bursts back to their start values, as every new force set-up and
    // scenario read leaves them.
    void ResetHighlightsAndBursts();
    // The data-collection reset of what the state holds (the document's
    // logs aside).
    void ResetDataCollectionValues();
    // The values a new document starts with, its buffers aside: those a
    // read of a scenario starts from, wherever the document stood.
    void SetNewDocumentValues();
};

// The document's large buffers come zeroed from calloc, which takes a large
// block from the system as untouched zero pages rather than clearing it: a
// buffer then holds memory only as far as it is written (the run capture
// while nobody records, the targeting lists before the first step, the
// weapon logs of squads a scenario does not have).
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using ZeroedArray = std::unique_ptr<T[], FreeDeleter>;

class CBatchDrivers;
class CBrevimarDoc;

// Records the state a force set-up leaves for the statistics (a layer above
// the set-up); installed by whoever creates the document.
using StepStatisticsHook = void (*)(CBrevimarDoc&);

class CBrevimarDoc : public CDocumentState {
public:
    CBrevimarDoc() = default;
    CBrevimarDoc(const CBrevimarDoc&) = delete;
    CBrevimarDoc& operator=(const CBrevimarDoc&) = delete;

    // The document is far too large for a stack. Created with every layer
    // attached (its statistics included); a bare CBrevimarDoc has none.
    static std::unique_ptr<CBrevimarDoc> Create();

    // --- the outside world
    void SetHost(Host* host) { AttachedHost = host; }
    // A document without a host of its own answers like a headless program.
    Host& host() const { return AttachedHost ? *AttachedHost : OwnHost; }
    void SetBatchDrivers(CBatchDrivers* drivers) { BatchDrivers = drivers; }
    // `collect`: the statistics of step CurrentStep; `recordStart`: the
    // attrition counts of step 0, once a fresh interactive run stands there.
    void SetStepStatisticsHooks(StepStatisticsHook collect, StepStatisticsHook recordStart)
    {
        CollectSetUpStatistics = collect;
        RecordStartAttrition = recordStart;
    }

    // --- side-generic access; RED/BLUE logic is written once over these
    CForce& Force(Side side) { return side == Side::Red ? static_cast<CForce&>(RedForce) : BlueForce; }
    const CForce& Force(Side side) const { return side == Side::Red ? static_cast<const CForce&>(RedForce) : BlueForce; }
    CLocalCommand& Local(Side side) { return side == Side::Red ? RedLocal : BlueLocal; }
    const CLocalCommand& Local(Side side) const { return side == Side::Red ? RedLocal : BlueLocal; }
    CGlobalCommander& Global(Side side) { return side == Side::Red ? RedGlobal : BlueGlobal; }
    const CGlobalCommander& Global(Side side) const { return side == Side::Red ? RedGlobal : BlueGlobal; }
    SideWeapons& Weapons(Side side) { return side == Side::Red ? AgentWeapons.Red : AgentWeapons.Blue; }
    CWeaponTallies& Tallies(Side side) { return side == Side::Red ? RedTallies : BlueTallies; }
    CTerrainModifierSet& Modifiers(Side side) { return side == Side::Red ? TerrainModifiers.Red : TerrainModifiers.Blue; }
    CAgentBaseCopies& BaseCopies(Side side) { return side == Side::Red ? TerrainModifiers.RedBase : TerrainModifiers.BlueBase; }
    int* TerrainModified(Side side) { return side == Side::Red ? TerrainModifiers.RedTerrainModified : TerrainModifiers.BlueTerrainModified; }
    CPathField& WaypointField(Side side) { return side == Side::Red ? RedWaypointField : BlueWaypointField; }
    int& NumRed() { return RedForce.NumAgents; }
    int& NumBlue() { return BlueForce.NumAgents; }

    // Targeting list of agent i: entries 1..EnemyCount[i].
    int* EnemyList(Side side, int agent) { return (side == Side::Red ? RedEnemyList : BlueEnemyList).get() + EnemyListColumns * agent; }
    int& Capture(int buffer, int step, int agent) { return CaptureBuffer[buffer][CaptureIndex(step, agent)]; }
    unsigned char* DisplayPlane(int plane) { return DisplayGrid.get() + LatticeCells * plane; }
    // What the drawing reads: the frame on show, and entry [frame][r][c] of the lattice.
    int GetDisplayFrame() const { return DisplayFrame; }
    unsigned char GetDisplayCell(int frame, int r, int c) const { return DisplayGrid[LatticeCells * frame + LatticeStride * r + c]; }
    // The death code a frame holds at entry [r][c] for one side's fallen,
    // 0 where none of them lies, whatever is drawn over it.
    unsigned char* KillPlane(int plane, Side side)
    {
        return KillGrid.get() + LatticeCells * (2 * plane + SideCode(side) - 1);
    }
    unsigned char GetKillCell(int frame, Side side, int r, int c) const
    {
        return KillGrid[LatticeCells * (2 * frame + SideCode(side) - 1) + LatticeStride * r + c];
    }

    // --- life cycle
    bool OnNewDocument();
    void InitNewDocument();
    // Everything a new document does before its start-up chooser.
    void PrepareNewDocument();
    void AllocateHeapBuffers();
    // The per-sample arrays of a multiple time-series (about 68 MiB) are the
    // batch's alone: taken when a batch first opens, kept for its reports and
    // charts until the document is emptied.
    void AllocateMultiRunBuffers();
    bool MultiRunBuffersAllocated() const { return SampleRedAlive != nullptr; }
    void DeleteContents();
    void Pause() { Paused = 1; }
    void Resume() { Paused = 0; }

    // --- run control
    // A batch experiment is inside its loop (it pumps messages between steps):
    // commands that would change or close the document must wait.
    bool BatchBusy() const;
    // The common reset after a parameter change: forces rebuilt, step 1,
    // forward time, the scenario seed (a batch or sweep standing open draws
    // on instead, as its next sample or run would), not terminated,
    // battlefield set up anew.
    void ResetTail();
    // A multiple time-series batch or a landscape sweep has begun and not
    // ended, running or paused: its samples or runs draw on from the
    // generator.
    bool BatchRunOpen() const { return MultiRunData.BatchOpen != 0 || Landscape.Run.SweepOpen != 0; }
    void RestartRun();                 // the same battle again, by run mode
    void RestoreInitialComposition();  // counts, squads and agents of the input file
    void RandomizeRun();               // a new deployment from the running generator
    void ToggleStepExecuteMode();      // and resumes the run
    // Ends the run and leaves run mode 1 with the scenario loader selected;
    // reading the new scenario is the caller's. False when the user kept a
    // RUN capture by cancelling its file: nothing was ended.
    bool TerminateRun();
    // Ends a batch experiment the user paused half-way (a multiple
    // time-series or a landscape sweep), so that nothing resumes it: its raw
    // data file is marked incomplete and closed, and no sample or grid point
    // counts as run. Nothing happens when no batch stands open.
    void EndPausedBatch();
    // The multiple time-series share of EndPausedBatch, for every way such a
    // batch can end before its averages.
    void EndPausedMultiRun();
    // A restart of the battle while a batch run stands paused under way (a
    // multiple time-series batch's sample, a landscape sweep's run): the run
    // starts again at its first step, set up as the batch or sweep sets up
    // every one, on the values the restart brought, and what it measured or
    // wrote so far goes. InitializeForces, which every command that restarts
    // the battle runs, calls it: no such command can splice a fresh
    // deployment into the run under way.
    void RestartPausedBatchRun();
    // The force sample s held at step `step` (by default at its end): the
    // one it began with and the agents placed by hand that joined it by then
    // (the force as it stands for a sample no batch began: arrays filled by
    // hand); and the sum of a side's over the batch's samples at a step,
    // which the averaged attrition of that step counts against.
    void RecordSampleForce(int s);
    // An agent placed by hand in squad `squad` while a batch stands in a
    // sample joins that sample's force, against which its losses count, from
    // the first step observed after it; placed after the sample's last
    // observation, it joins none of it.
    void JoinSampleUnderWay(Side side, int squad);
    CSampleForce SampleForce(Side side, int s, int step = MultiRunStepSlots) const;
    int MultiRunAgentsSum(Side side, int step) const;
    // The genetic algorithm and the fitness landscape write every member's
    // and grid point's values into the forces, and their set-up a few more
    // (CBatchWrites). Choosing either starts a record of those writes, after
    // putting back what an earlier record holds; leaving it for another run
    // mode puts back every value that still holds what the batch wrote last
    // and ends the record, so that the document holds the scenario its title
    // names again with whatever the user set meanwhile. It is only put back
    // while run mode 3 or 4 is still selected. A scenario or stored run read,
    // or a document file opened, while the record stands ends it too: the
    // file goes onto the scenario as it stood before the batch.
    void StartBatchWriteRecord();
    void PutBackBatchWriteRecord();
    // The record is dropped, nothing put back: what stands replaces it.
    void DropBatchWriteRecord() { BatchWrites.Stop(); }
    // Whether a GA or a landscape stands with its record, whatever run mode
    // a loader has selected meanwhile.
    bool BatchWriteRecordStands() const { return BatchWrites.Recording(); }
    // The batch's own writes, or what the user stores, lie between these;
    // only BatchWriteScope calls them.
    void BeginBatchWrites(BatchWriteKind kind) { BatchWrites.Begin(*this, kind); }
    void EndBatchWrites() { BatchWrites.End(*this); }
    // The scenario's own values in place of the batch's where these still
    // stand (what the batch searches too, when `searched`), and the batch's
    // values back again.
    void PutScenarioValuesBack(bool searched) { BatchWrites.PutBack(*this, searched); }
    void TakeBatchValuesAgain() { BatchWrites.TakeAgain(*this); }
    // The user just set these values as a whole (a file read them): they
    // stay, whatever the batch wrote before.
    void MarkUserValues(const void* first, std::size_t bytes) { BatchWrites.MarkUserValues(*this, first, bytes); }
    // The batch makes the side's squads itself (a member of one squad, or of
    // a squad composition): they are the batch's until it is left.
    void MarkSquadsMadeByBatch(Side side) { BatchWrites.SquadsMadeByBatch(side); }
    // The batch runs the side in `count` squads of the scenario's own (a
    // member of several squads): of another count than the scenario's, they
    // are the batch's make too.
    void MarkSquadCountOfBatch(Side side, int count) { BatchWrites.SquadCountOfBatch(side, count); }
    void StartInteractiveRun();
    // The first frame again after a frame file was opened (or not).
    void ShowFirstFrame();
    // The frames 0..n-1 a RUN file of the capture under way holds: those
    // before the newest frame it recorded, or all of a run that ended, and
    // no more than the readers keep. 0 without a capture.
    int CapturedFrames() const;
    // A RUN capture that a command is about to end, restart or cut short:
    // the user is asked whether to write the frames it holds to a RUN file,
    // as Stop RUN Capture writes them, before anything changes; then the
    // capture ends, or with StartsAgain records on from the battle set up
    // next. False when the user chose to write them and no file was written
    // (the chooser cancelled): the command is then given up, and the capture
    // records on with every frame it holds. Nothing happens without a capture.
    enum class CaptureAfterOffer { Ends, StartsAgain };
    [[nodiscard]] bool OfferCapturedFrames(CaptureAfterOffer after = CaptureAfterOffer::Ends);

    // --- random numbers
    double DrawUniform(int* seed) { return Generator.Draw(seed); }
    double DrawUniformRange(int a, int b, int* seed) { return Generator.DrawRange(a, b, seed); }

    // --- run loop and step
    void OnTimer(int timerId);
    void ShowRunStatus();
    // The interactive line as a recount of the battle on show would write
    // it now; writes nothing.
    std::string RecountedRunStatus() const;
    void ShowMultipleTimeSeriesStatus();
    // The landscape sweep's line at grid point (ix, iy), of the run and step
    // it stands at.
    void ShowLandscapeStatus(int ix, int iy);
    void StepSimulationInView();
    void StepSimulation();
    void ApplyAgentStateParameters();
    void ShuffleMoveOrder(int* blueOrder, int* redOrder);
    void BuildNeighborLists();
    void ReplaceDeadRedCommanders();
    void ReplaceDeadBlueCommanders();

    // --- lattice and display frames
    void ClearLattice();
    void ResetBattlefield();
    void RebuildLatticeFromSaved();
    void RebuildLatticeFromPlayback();
    void RenderDisplayGrid();
    void BuildReplayFrame();
    void BuildPlaybackFrame();
    void UpdateActivityMap();

    // --- passable-terrain modifiers
    void ApplyPassableTerrainModifiers();
    void ApplyRedTerrainModifiers(int agent);
    void ApplyBlueTerrainModifiers(int agent);
    void RestoreRedAgentParams(int agent);
    void RestoreBlueAgentParams(int agent);

    // --- set-up and defaults
    void InitializeForces();
    // Agents a right click placed or took off since the forces were last
    // deployed become the scenario's, as a save writes it: the counts lose
    // the agents taken off. True when there was such an edit; the forces
    // then want numbering and values as a read gives them, which
    // InitializeForces gives and RebuildHandEditedForces gives the roads
    // that deploy without it. Nothing changes for a force without one.
    bool TakeHandEditsIn();
    // Before a fresh deployment after hand edits: the forces as a read of
    // the scenario saved now builds them (agents numbered into their squads,
    // with the read's values, personalities and ranges); the generator stays
    // where it stood.
    void RebuildHandEditedForces();
    // The generator at the scenario seed and, in the interactive run, moved
    // on by the draws a read of the scenario (or InitializeForces) makes
    // before the deployment: the one that restarts it, then the random
    // personalities'. The next set-up deploys the read's battle again.
    // Nothing but the generator changes: the personalities stay as they are.
    void RestartGenerator();
    void InitializeForcesFromAgentFile();
    void InitializeAddedAgent(int side);
    // The battlefield set up for a run, its agents deployed as `deployment`
    // (a DeploymentSource value) says: by default the one chosen.
    void SetupBattlefield();
    void SetupBattlefield(int deployment);
    void ResetDataCollection();
    void InitWeaponDefaults();
    void SetDefaultWeaponParameters();
    void SetDefaultRedWeaponAssignments();
    void SetDefaultBlueWeaponAssignments();

    // --- movement
    float EvalRedMovePenalties(int agent, int r, float initialMin, float* penalties);
    float EvalRedMovePenaltiesComm(int agent, int r, float initialMin, float* penalties);
    float EvalRedMovePenaltiesGlobal(int agent, int r, float initialMin, float* penalties);
    float EvalBlueMovePenalties(int agent, int r, float initialMin, float* penalties);
    float EvalBlueMovePenaltiesComm(int agent, int r, float initialMin, float* penalties);
    float EvalBlueMovePenaltiesGlobal(int agent, int r, float initialMin, float* penalties);
    // The six above over a side. The goal-in-reach test looks for the enemy flag at
    // (goalX, goalY): move selection passes the real flag while steering waypoints
    // stand in the flag cells.
    float EvalMovePenalties(Side side, MovePenaltyKind kind, int agent, int r, float initialMin, float* penalties,
                            int goalX, int goalY);
    void SelectRedMove(int agent, int hold);
    void SelectBlueMove(int agent, int hold);
    void MoveRedAgent(int agent, int r, int k);
    void MoveBlueAgent(int agent, int r, int k);

    // --- terrain
    // True when impassable terrain stands between the two cells.
    bool IsPathBlocked(int x0, int y0, int x1, int y1) const;
    // True when no way between two cells of the box can be blocked: the box
    // holds no impassable cell of the battlefield; false says nothing.
    bool PathsClearIn(const SquareBox& box) const;
    // True when no sight-blocking terrain stands between the two cells.
    bool HasLineOfSight(int x0, int y0, int x1, int y1) const;
    // True when a step's sight sums show that no line between two cells of
    // the box can be blocked; false says nothing.
    bool SightClearIn(const SquareBox& box) const;
    void BuildFlagPathFields();

    // --- combat
    void ResolveCombat();
    void FireRedDefault(int* redState, int* blueState, int* redHit, int* blueHit);
    void FireBlueDefault(int* redState, int* blueState, int* redHit, int* blueHit);
    void FireRedUnlimited(int* redState, int* blueState, int* redHit, int* blueHit);
    void FireBlueUnlimited(int* redState, int* blueState, int* redHit, int* blueHit);
    void FireRedWeapons(int* redState, int* blueState, int* redHit, int* blueHit);
    void FireBlueWeapons(int* redState, int* blueState, int* redHit, int* blueHit);
    void SelectLocalSite(int side, int x0, int y0, int R);
    int ScanRedWeaponTargets(int x, int y, int h, int* list);
    int ListRedInSquare(int x, int y, int h, int* list);
    float GetRedHitProbAtRange(int i, int x1, int y1, int j, int x2, int y2);
    float GetBlueHitProbAtRange(int i, int x1, int y1, int j, int x2, int y2);
    float RangeFalloffWeight(Side side, int i, int x1, int y1, int x2, int y2);
    float GetRedWeaponHitProb(int i, int x1, int y1, int j, int x2, int y2);
    float GetBlueWeaponHitProb(int i, int x1, int y1, int j, int x2, int y2);
    // Rules all fire routines share, on ResolveCombat's working arrays of one side.
    double CombatDraw() { return (DrawUniform(&RandomState) * 9999.0 + 1.0) * 0.0001; }
    // true when the state fell; a hit scored by the enemy counts in its tally
    bool ApplyHit(Side side, int agent, int* workingState, int* hitThisStep, bool enemyShot = true);
    void FratricideOnMiss(Side side, int shooter, int missedX, int missedY, int* workingState, int* hitThisStep);
    int ChooseEngagedTargets(const int* candidates, int n, int m, int* engaged);

    // --- sensing
    int SenseForRedAgent(int agent);
    int SenseForRedAgentLOS(int agent);
    int SenseForBlueAgent(int agent);
    int SenseForBlueAgentLOS(int agent);
    void ScanRedNeighbors(int agent);
    void ScanRedNeighborsLOS(int agent);
    void ScanRedCommanderNeighbors(int agent);
    void ScanRedCommanderNeighborsLOS(int agent);
    void ScanBlueNeighbors(int agent);
    void ScanBlueNeighborsLOS(int agent);
    void ScanBlueCommanderNeighbors(int agent);
    void ScanBlueCommanderNeighborsLOS(int agent);

    // --- personality and communications
    int ComputeRedPersonality(int agent);
    int ComputeBluePersonality(int agent);
    void SetRedCommanderPersonality(int agent);
    void SetBlueCommanderPersonality(int agent);
    void ApplyRedGlobalOrders(int agent);
    void ApplyBlueGlobalOrders(int agent);
    void ShareRedCommunications(int agent);
    void ShareBlueCommunications(int agent);
    void RedLocalCenterOfMass(int agent);
    void BlueLocalCenterOfMass(int agent);

    // --- local and global command
    void RedLocalCommand();
    void BlueLocalCommand();
    void ChooseRedPatchType1(int c);
    void ChooseRedPatchType2(int c);
    void ChooseBluePatchType1(int c);
    void ChooseBluePatchType2(int c);
    void RedGlobalCommand();
    void BlueGlobalCommand();
    void DecideRedGlobalOrders();
    void DecideBlueGlobalOrders();
    void ComputeRedSectorWeights();
    void ComputeBlueSectorWeights();
    void CountRedSectors();
    void CountBlueSectors();
    void AddRedSectorTally(int c, int s, int state, float ax, float X, float ay, float Y);
    void AddBlueSectorTally(int c, int s, int state, float ax, float X, float ay, float Y);
    static float Sign(float v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

    // --- statistics
    void CollectStepStatistics();
    // The run went past the current step without collecting: every series
    // but the attrition counts has no value there.
    void NoteStepUncollected();
    // Whether the series of `statistic` (a StatisticBit) hold a measured
    // value at step t of the run on show. Only an interactive run files
    // them: a batch's runs, a stored run and a frame file measure nothing
    // there, whatever the series hold from before.
    bool StepCollected(int t, unsigned statistic) const
    {
        return RunMode == InteractiveMode && t >= 0 && t <= MaxSeriesStep &&
               (Collected.StepGaps[t] & statistic) == 0;
    }
    // The multiple time-series batch has ended: every sample ran and the
    // averages are theirs. Chosen and not yet started, running, or paused
    // in a sample, it has not, whatever the arrays hold from before: its
    // charts and raw reports wait for its end.
    bool MultiRunEnded() const
    {
        return MultiRunData.BatchUnfinished == 0 && MultiRunData.BatchOpen == 0 && Series.MultiRunBusy == 0;
    }
    // The size of the batch on show, which its charts, raw reports and
    // status line speak of: the one it opened with; before any batch opened
    // since the mode was chosen, the counts set.
    CMultiRunShape MultiRunShape() const
    {
        return MultiRunData.Ran.value_or(CMultiRunShape{Series.MultiRunSampleCount, Series.MultiRunStepCount});
    }
    // The size of the batch the run loop runs: the one standing open, with
    // the size it opened with (counts set meanwhile are for the next); with
    // none open, the next one, with the counts set.
    CMultiRunShape MultiRunSizeToRun() const
    {
        if (MultiRunData.BatchOpen == 1 && MultiRunData.Ran)
            return *MultiRunData.Ran;
        return CMultiRunShape{Series.MultiRunSampleCount, Series.MultiRunStepCount};
    }
    // Every sample of that batch has run and none is under way: the driver
    // ends the batch there, and the run loop then offers its completion
    // rather than running another. An open batch never runs past its size;
    // with none open, the batch that ended is the next only when it had the
    // samples set.
    bool MultiRunSamplesAllRun() const
    {
        const int samples = MultiRunSizeToRun().Samples;
        return MultiRunData.SampleOpen == 0 && (MultiRunData.BatchOpen == 1 ? Series.MultiRunSample >= samples
                                                                            : Series.MultiRunSample == samples);
    }
    // The sample a batch stands in: the one under way, or the one that
    // starts again at its step 0 once a restart of the battle has voided it.
    int MultiRunSampleOnShow() const
    {
        const bool startsAgain = MultiRunData.BatchOpen == 1 && MultiRunData.SampleOpen == 0;
        return Series.MultiRunSample + (startsAgain ? 1 : 0);
    }
    // The fitness-landscape sweep has ended: every grid point ran. Chosen
    // and not yet run, or paused at a point, it has not: its chart and raw
    // fitness file wait for its end, as the run loop's result display does.
    bool LandscapeEnded() const
    {
        return Experiment.LandscapeBusy == 0 && Landscape.Run.SweepOpen == 0 &&
               Experiment.LandscapeGridPoint == Experiment.LandscapePointCount;
    }
    // Whether a chart of the run mode on show has a measured value of
    // `statistic` at step t: the steps the interactive run filed, every
    // averaged step of a multiple time-series batch that has ended, and
    // nothing of the other modes.
    bool StepMeasured(int t, unsigned statistic) const
    {
        return RunMode == MultipleTimeSeriesMode ? MultiRunEnded() : StepCollected(t, statistic);
    }
    void RecordAttrition();
    void CountAttrition();  // the run header's four counts alone, no series
    void RecordStepStatistics();
    void CountReplayAttrition();
    void CountPlaybackAttrition();
    // The four counts of the battle on show, as the run loop takes them in
    // the run mode: the frame on show of a stored run or a frame file, the
    // agents as they stand otherwise.
    CAttritionCounts ShownCounts() const;
    void CountShownAttrition();
    // A side's agents in each stored frame: a stored run's are the
    // scenario's, a frame file's its own, whatever the scenario holds.
    int StoredFrameAgents(Side side) const
    {
        if (RunMode == ReplayMode)
            return side == Side::Red ? RunHeader.RedCount : RunHeader.BlueCount;
        return Force(side).NumAgents;
    }
    void RecordMultiRunAttrition();
    // The multiple time-series batch (collect/MultiRunStatistics.cpp): each
    // statistic of sample MultiRunSample at step MultiRunStep, the averages
    // over the samples, and the reset before a new batch.
    void ComputeMultiRunStatistics();
    void ComputeMultiRunInterpointDistribution();
    void LabelMultiRunClusters();
    void LabelMultiRunClustersD2();
    void CountMultiRunNeighbors();
    void ComputeMultiRunCenterOfMass();
    void CountMultiRunGoalAgents();
    void ComputeMultiRunTerritorialPossession();
    void RecordMultiRunStepStatistics();
    void AverageMultiRunSeries();
    void ResetMultipleRunStatistics();
    // The raw graph report's series back to none drawn: each batch's report
    // holds only what a chart drew after that batch ended.
    void ClearMultiRunGraphHandOff();
    // The territorial owner map that HOLD reads and the battle-front map
    // (core/TerritoryMaps.cpp).
    void ComputeTerritorialPossession();
    void UpdateTerritoryGrid();
    // The per-step statistics (collect/), each filed under CurrentStep.
    void CollectTerritorialPossession();
    void ComputeInterpointDistances();
    void CollectSpatialEntropy();
    void LabelClusters();
    void LabelClustersD2();
    void CountNeighbors();
    void ComputeCapacityDimension();
    void ComputeCenterOfMass();
    void ComputeGoalCount();
    // The Data Collection menu's "Set All" choice.
    void SetAllStatistics();
    CStatisticsWork StatisticsWork;  // working areas of the statistics above
    // Territorial owner map: what the last update worked it out from.
    CTerritoryKept TerritoryKept;

    // --- start-up reading
    int ReadStartupInputFile();  // the chooser, then LoadStartupFile or LoadDocumentHistory (run/)

    // --- heap buffers, allocated once by InitNewDocument
    int HeapBuffersAllocated = 0;
    ZeroedArray<unsigned char> DisplayGrid;  // two planes of LatticeCells bytes
    ZeroedArray<unsigned char> KillGrid;     // per plane of DisplayGrid, RED's then BLUE's death codes
    ZeroedArray<int> RedEnemyList;           // [301][EnemyListColumns]
    ZeroedArray<int> BlueEnemyList;
    ZeroedArray<int> AdmissibleCells;        // [81] at MoveTableIndex(dx, dy)
    ZeroedArray<int> CaptureBuffer[CaptureBufferCount];  // [352][352] each
    ZeroedArray<double> NeighborLog[6];      // [8][502] each
    ZeroedArray<double> GoalCountLog[4];     // [8][502] each
    ZeroedArray<double> RedShotsLog, RedHitsLog, BlueShotsLog, BlueHitsLog;  // [6][502]
    ZeroedArray<double> RedSquadShotsLog, RedSquadHitsLog, BlueSquadShotsLog, BlueSquadHitsLog;  // [11][6][502]
    // The per-sample tallies: null until AllocateMultiRunBuffers.
    ZeroedArray<int> SampleRedAlive, SampleRedInjured, SampleBlueAlive, SampleBlueInjured;  // [352][202]
    ZeroedArray<int> SampleSquadRedAlive, SampleSquadRedInjured, SampleSquadBlueAlive,
        SampleSquadBlueInjured;  // [11][352][202]
    ZeroedArray<double> SampleRedCombatEntropy, SampleBlueCombatEntropy;  // [352][202]
    // The genetic algorithm's population and mating pool: null until the
    // algorithm first needs it.
    std::unique_ptr<CGaRecords> GaRecords;
    // Multiple time-series batch: per-sample statistics, working areas, resume state.
    CMultiRunSamples MultiRunData;

    // --- fitness landscape: settings, sweep state and results
    CLandscapeData Landscape;

    // --- neighbour questions of a step: the marks and sums they share, and
    // the forces' own agent grids, answered from the start to the end of
    // a step (plain passes outside one)
    CNeighborGrids NeighborGrids;
    SideNeighborGrid* StepGrid(Side side) { return NeighborGrids.Current ? &NeighborGrids.Grid[SideCode(side) - 1] : nullptr; }
    void BeginStepGrids();
    void EndStepGrids();

private:
    CBatchWrites BatchWrites;
    Host* AttachedHost = nullptr;
    mutable HeadlessHost OwnHost;
    CBatchDrivers* BatchDrivers = nullptr;
    StepStatisticsHook CollectSetUpStatistics = nullptr;
    StepStatisticsHook RecordStartAttrition = nullptr;
};

}  // namespace brevimar
