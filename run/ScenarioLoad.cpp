#include "run/ScenarioLoad.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "core/Document.h"
#include "core/FileFilters.h"
#include "core/StartValues.h"
#include "files/DocumentFile.h"
#include "files/FileCommandFrame.h"
#include "files/ReadReport.h"
#include "files/RunFrames.h"
#include "files/ScenarioFormat.h"
#include "files/StartupReader.h"
#include "files/WordReader.h"

// The menu loader and the start-up reader walk the same files with the same
// group reader (ReadScenarioGroups) and share the tails that follow a commit
// (DeriveRunState, the start values no file holds, KeepInitialComposition,
// StartStoredRun), so that a file gives the battle it gives at start-up
// whichever reads it. They differ here:
//
//  what                          | start-up reader                  | menu loader
//  ------------------------------+----------------------------------+----------------------------------
//  file kind                     | by extension: out, dat, run,     | by LoadInputFile as the caller
//                                | anything else refused unread     | left it: 1 scenario, else run
//  run before the chooser        | Paused := 0                      | paused
//  chooser                       | five kinds, no initial name      | *.dat and *.run, initial name
//                                |                                  | "*.dat" or "*.run"
//  result                        | always 1                         | 1 read, 0 cancelled or refused
//  before reading                | -                                | ClearLattice, DeploymentSource 0
//                                |                                  | (done at the commit here, so that
//                                |                                  | a refused file changes nothing)
//  scenario ending               | TerritoryStatsOn := 0 after      | TerritoryStatsOn stays as the
//                                | ResetBattlefield                 | statistics flags set it (what is
//                                |                                  | collected, not the battle)
//  InitialComposition            | refreshed for a scenario         | refreshed for both kinds
//  stored-run frames             | loop starts at the document's    | loop starts at 0; the capture
//                                | CurrentStep                      | buffers are cleared first
//
// Both read onto a new document's battle (BeginScenarioRead), the menu
// loader keeping what belongs to the window.

namespace brevimar {

namespace {

// A fresh interactive run at step 0 of the document's scenario. The start-up
// reader switches the territorial statistic off before the first record; the
// menu loader leaves it as the statistics flags set it.
void StartScenarioRun(CBrevimarDoc& doc, bool territoryStatisticOff)
{
    doc.RunHeader.LastStep = MaxSeriesStep + 1;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RunTerminated = 0;
    doc.ResetBattlefield();
    KeepInitialComposition(doc);
    if (territoryStatisticOff)
        doc.Statistics.TerritoryStatsOn = 0;
    if (doc.Statistics.DataCollectionOn == 1)
        doc.CollectStepStatistics();
}

// A scenario read before it is committed: the scratch copy of the document's
// state it fills, and the frames of a stored run.
struct ScenarioRead {
    std::unique_ptr<CDocumentState> State;
    CStoredFrames Frames;
    int LastStep = 0;
    std::string Warning;
};

// What belongs to the window, its run control and the experiments rather
// than to the battle: the run mode and file kind the command chose, what is
// shown and how, what is collected, the charts, the batch settings and
// results, the GA's and the status line. A read keeps them as the user set
// them, but for its own resets of the display and the collection.
void KeepWindowValues(CDocumentState& read, const CDocumentState& open)
{
    read.RunMode = open.RunMode;
    read.LoadInputFile = open.LoadInputFile;
    read.DeploymentSource = open.DeploymentSource;
    read.Paused = open.Paused;
    read.StatusText = open.StatusText;

    read.BackgroundToggle = open.BackgroundToggle;
    read.ShowAll = open.ShowAll;
    read.ShowInjured = open.ShowInjured;
    read.ShowAlive = open.ShowAlive;
    read.HighlightInjured = open.HighlightInjured;
    read.BattleFrontOn = open.BattleFrontOn;
    read.BattleFrontGrayscale = open.BattleFrontGrayscale;
    read.BattleFrontSolid = open.BattleFrontSolid;
    read.KillMapRed = open.KillMapRed;
    read.KillMapBlue = open.KillMapBlue;
    read.KillMapOnly = open.KillMapOnly;
    read.TerritoryMapRed = open.TerritoryMapRed;
    read.TerritoryMapBlue = open.TerritoryMapBlue;
    read.TraceOn = open.TraceOn;
    read.RedCommanderMarks = open.RedCommanderMarks;
    read.BlueCommanderMarks = open.BlueCommanderMarks;
    read.RedCommandAreas = open.RedCommandAreas;
    read.BlueCommandAreas = open.BlueCommandAreas;
    read.RedCommandLinks = open.RedCommandLinks;
    read.BlueCommandLinks = open.BlueCommandLinks;
    read.HighlightRedSquadOn = open.HighlightRedSquadOn;
    read.HighlightRedSquadNumber = open.HighlightRedSquadNumber;
    read.HighlightBlueSquadOn = open.HighlightBlueSquadOn;
    read.HighlightBlueSquadNumber = open.HighlightBlueSquadNumber;
    read.ShowOtherRedAgents = open.ShowOtherRedAgents;
    read.ShowOtherBlueAgents = open.ShowOtherBlueAgents;
    read.RedActivityMapOn = open.RedActivityMapOn;
    read.BlueActivityMapOn = open.BlueActivityMapOn;
    read.ActivityNormaliser = open.ActivityNormaliser;
    read.ActivityRadius = open.ActivityRadius;
    read.ZoomFactor = open.ZoomFactor;
    read.DefaultZoomFactor = open.DefaultZoomFactor;
    read.ZoomAreaCleared = open.ZoomAreaCleared;
    read.CellBitmapWidth = open.CellBitmapWidth;
    read.CellBitmapHeight = open.CellBitmapHeight;
    read.TerrainEditMode = open.TerrainEditMode;
    read.EditTerrainType = open.EditTerrainType;
    read.EditRedSquad = open.EditRedSquad;
    read.EditBlueSquad = open.EditBlueSquad;

    read.Statistics = open.Statistics;
    read.WeaponStatsOn = open.WeaponStatsOn;
    read.Collected = open.Collected;
    read.Series = open.Series;
    read.Charts = open.Charts;

    read.Experiment = open.Experiment;
    read.Ga = open.Ga;
    std::copy(std::begin(open.MultiRunGraphLabels), std::end(open.MultiRunGraphLabels),
              std::begin(read.MultiRunGraphLabels));
    read.MultiRunCharts = open.MultiRunCharts;
    read.SetupProblemsSaid = open.SetupProblemsSaid;
}

// Everything a file sets, and the draws it makes, go to a scratch state
// first, so that a refused file leaves the document as it was. The battle
// starts from a new document's, as at start-up, so that what the file does
// not hold (the matrices, the rows an older version lacks, the tables of
// auxiliary files, an earlier run's state) is not the battle before's.
// Every scenario read starts the generator from the scenario seed.
ScenarioRead BeginScenarioRead(const CBrevimarDoc& doc)
{
    ScenarioRead read;
    read.State = std::make_unique<CDocumentState>();
    read.State->SetNewDocumentValues();
    KeepWindowValues(*read.State, doc);
    read.State->InitialSeed = ScenarioSeed;
    read.State->RandomState = ScenarioSeed;
    read.State->Generator.Draw(&read.State->RandomState);  // restarts the shuffle table; the value is not used
    // The file's scenario is shown from now on: a best chromosome shown over
    // the one before decides none of its rows.
    read.State->Ga.GaBestShown = 0;
    return read;
}

// The scenario groups and, for a stored run, the frames after them, numbered
// from frameStart. A refused file is reported, naming it.
LoadResult ReadScenarioFile(CBrevimarDoc& doc, CWordReader& words, const std::string& path, bool storedRun,
                            int frameStart, ScenarioRead& read)
{
    CDocumentState& state = *read.State;
    std::string problem;
    if (!ReadScenarioGroups(words, state, &problem) ||
        (storedRun && !ReadStoredRunFrames(words, state.RedForce.NumAgents, state.BlueForce.NumAgents,
                                           state.Battlefield.BattleSize, frameStart, path, &read.Frames,
                                           &read.LastStep, &problem, &read.Warning))) {
        const std::string message = BadInputFileMessage(path, problem);
        ReportReadProblem(doc, message);
        return {false, message};
    }
    state.InputFileName = FileNameOf(path);
    return {true, read.Warning};
}

// Playback of the loaded frames. Rows the file does not fill must not show
// agents of an earlier run.
void StartLoadedRun(CBrevimarDoc& doc, const CStoredFrames& frames, int lastStep)
{
    for (auto& buffer : doc.CaptureBuffer)
        if (buffer)
            std::fill_n(buffer.get(), CaptureCells, 0);
    StartStoredRun(doc, frames, lastStep);
    KeepInitialComposition(doc);
}

// A GA or a landscape that stands ends with the read (its record stands,
// though the caller has selected the run mode the file is read for): the
// file goes onto the scenario as it stood before the batch, with what the
// user set meanwhile, so that what the file does not hold is not the last
// member's or grid point's. The document keeps the batch's values until the
// file is committed, so that a refused file, or a RUN capture the user
// keeps, leaves the batch as it was.
ScenarioRead BeginReadOverKeptScenario(CBrevimarDoc& doc)
{
    if (!doc.BatchWriteRecordStands())
        return BeginScenarioRead(doc);
    doc.PutScenarioValuesBack(true);
    ScenarioRead read = BeginScenarioRead(doc);
    doc.TakeBatchValuesAgain();
    return read;
}

// The file's whole text, read and committed.
LoadResult ReadInputDataText(CBrevimarDoc& doc, std::string_view text, const std::string& path)
{
    CWordReader words(text);
    const bool storedRun = doc.LoadInputFile != 1;

    ScenarioRead read = BeginReadOverKeptScenario(doc);
    if (LoadResult refused = ReadScenarioFile(doc, words, path, storedRun, 0, read); !refused.Read)
        return refused;
    // A capture under way ends with the run it records: its frames are
    // offered while the scenario they belong to still stands. Kept by the
    // user, they keep that scenario too: nothing is read.
    if (!doc.OfferCapturedFrames())
        return {false, {}};
    read.State->RunCaptureOn = 0;
    static_cast<CDocumentState&>(doc) = std::move(*read.State);
    read.State.reset();
    doc.DropBatchWriteRecord();  // the batch's writes went with its scenario

    // The empty battlefield shows until the run is rebuilt.
    doc.ClearLattice();
    doc.DeploymentSource = RandomDeployment;
    doc.host().InvalidateView();
    doc.host().UpdateView();

    DeriveRunState(doc);
    // Values no file holds start as a start-up read starts them, not as the
    // document's earlier run or an On-the-Fly change left them.
    SetRunStartValues(doc);
    if (storedRun)
        StartLoadedRun(doc, read.Frames, read.LastStep);
    else
        StartScenarioRun(doc, false);
    if (!read.Warning.empty())
        ReportReadWarning(doc, read.Warning);
    return {true, read.Warning};
}

// The menu loader on a chosen path, of the kind LoadInputFile selects.
LoadResult ReadInputDataFile(CBrevimarDoc& doc, const std::string& path)
{
    std::string text, refusal;
    if (!ReadTextFile(path, &text, &refusal)) {
        const std::string message =
            refusal.empty() ? CannotOpenMessage(FileCommand::ScenarioRead, path) : BadInputFileMessage(path, refusal);
        ReportReadProblem(doc, message);
        return {false, message};
    }
    return ReadInputDataText(doc, text, path);
}

// The built-in scenario names no deployment boxes, which would stack every
// agent on one cell: each side gets a box in its own quarter of the field,
// opposite the other's, with room for many more agents than it has.
void GiveBuiltInScenarioRoom(CBrevimarDoc& doc)
{
    CBattlefield& field = doc.Battlefield;
    const int size = std::clamp(field.BattleSize, 1, MaxBattleSize);
    const int box = std::max(size / 5, 1);
    for (int s = 0; s < SquadSlots; ++s) {
        field.R_box_l[s] = field.R_box_w[s] = box;
        field.B_box_l[s] = field.B_box_w[s] = box;
        field.RED_cen_x[s] = field.RED_cen_y[s] = std::max(size / 5, 1);
        field.BLUE_cen_x[s] = field.BLUE_cen_y[s] = std::max(size - size / 5, 1);
    }
}

}  // namespace

void StartBuiltInScenario(CBrevimarDoc& doc)
{
    GiveBuiltInScenarioRoom(doc);
    // A consistent scenario, as a read file and every restart leave one: the
    // squad sizes add up to the agent count (one squad holds all ten agents
    // of a side), the agents are numbered into their squads and take their
    // squad's values and personalities. Otherwise the first dialog confirmed
    // would rebuild the forces from squads of no agents.
    doc.InitializeForces();
    DeriveRunState(doc);
    SetRunStartValues(doc);
    StartScenarioRun(doc, true);
}

LoadResult LoadStartupFile(CBrevimarDoc& doc, const std::string& path)
{
    const StartupFileKind kind = ClassifyStartupExtension(FileExtensionOf(path));
    // A file of no kind this reader knows is refused unread: running the
    // document's own scenario under its name would pass that off as the
    // file's battle.
    if (kind == StartupFileKind::Unlisted) {
        const std::string message = BadInputFileMessage(path, UnlistedStartupFileProblem);
        ReportReadProblem(doc, message);
        return {false, message};
    }
    std::string text, refusal;
    if (!ReadTextFile(path, &text, &refusal)) {
        const std::string message =
            refusal.empty() ? CannotOpenInputFileMessage(path) : BadInputFileMessage(path, refusal);
        ReportReadProblem(doc, message);
        return {false, message};
    }
    CWordReader words(text);
    std::string problem;

    if (kind == StartupFileKind::FrameFile) {
        if (!LoadStartupFrameFile(doc, words, &problem)) {
            const std::string message = BadInputFileMessage(path, problem);
            ReportReadProblem(doc, message);
            return {false, message};
        }
        doc.InputFileName = FileNameOf(path);
        return {true, {}};
    }

    const bool storedRun = kind == StartupFileKind::StoredRun;
    ScenarioRead read = BeginScenarioRead(doc);
    read.State->RunMode = storedRun ? PlaybackMode : InteractiveMode;
    read.State->LoadInputFile = storedRun ? 0 : 1;
    const int frameStart = doc.RunHeader.CurrentStep;
    if (LoadResult refused = ReadScenarioFile(doc, words, path, storedRun, frameStart, read); !refused.Read)
        return refused;
    static_cast<CDocumentState&>(doc) = std::move(*read.State);
    read.State.reset();

    DeriveRunState(doc);
    SetRunStartValues(doc);
    if (storedRun)
        StartStoredRun(doc, read.Frames, read.LastStep);
    else
        StartScenarioRun(doc, true);
    if (!read.Warning.empty())
        ReportReadWarning(doc, read.Warning);
    return {true, read.Warning};
}

int CBrevimarDoc::ReadStartupInputFile()
{
    Paused = 0;
    FileDialogRequest request;
    request.Filter = StartupFileFilter;
    request.DefaultExtension = "dat";
    request.Title = "Open a scenario, run or document file";
    if (const std::optional<std::string> chosen = host().ChooseFileToOpen(request)) {
        const bool documentFile = IsDocumentFile(*chosen);
        if (documentFile ? LoadDocumentHistory(*this, *chosen) : LoadStartupFile(*this, *chosen).Read)
            host().NoteFileOpened(*chosen);
    }
    return 1;
}

bool LoadDocumentHistory(CBrevimarDoc& doc, const std::string& path)
{
    if (!ReadDocumentFile(doc, path))
        return false;
    // The history holds no scenario: a GA or a landscape standing in this
    // document is left as Interactive leaves it, so that its writes do not
    // outlive it in the scenario kept for later runs.
    doc.EndPausedBatch();
    doc.PutBackBatchWriteRecord();
    // A best chromosome shown before is on show no longer: the scenario's
    // files take none of its rows.
    doc.Ga.GaBestShown = 0;
    doc.RunMode = ReplayMode;
    doc.LoadInputFile = 0;
    doc.InputFileName = FileNameOf(path);
    CRunHeader& h = doc.RunHeader;
    doc.LatticeExtentX = doc.LatticeExtentY = h.LatticeSize + 2;
    h.TimeDirection = 1;
    doc.RebuildLatticeFromPlayback();
    // Frame 1 is on show, so the step is 1 and the next tick goes on to
    // step 2; the status line names the history's own agents there, whoever
    // showed it last.
    h.CurrentStep = 1;
    doc.CountPlaybackAttrition();
    doc.ShowRunStatus();
    return true;
}

LoadResult LoadScenario(CBrevimarDoc& doc, const std::string& path)
{
    const int runMode = doc.RunMode;
    const int loadInputFile = doc.LoadInputFile;
    const int deploymentSource = doc.DeploymentSource;
    doc.RunMode = InteractiveMode;
    doc.LoadInputFile = 1;
    doc.DeploymentSource = RandomDeployment;
    LoadResult result = ReadInputDataFile(doc, path);
    if (result.Read) {
        doc.Battlefield.WaypointPathsOn = 0;
    } else {
        doc.RunMode = runMode;
        doc.LoadInputFile = loadInputFile;
        doc.DeploymentSource = deploymentSource;
    }
    return result;
}

LoadResult LoadStoredRun(CBrevimarDoc& doc, const std::string& path)
{
    const int runMode = doc.RunMode;
    const int loadInputFile = doc.LoadInputFile;
    doc.RunMode = PlaybackMode;
    doc.LoadInputFile = 0;
    LoadResult result = ReadInputDataFile(doc, path);
    if (!result.Read) {
        doc.RunMode = runMode;
        doc.LoadInputFile = loadInputFile;
    }
    return result;
}

int LoadInputDataFile(CBrevimarDoc& doc)
{
    bool read = false;
    std::string path;
    RunFileCommand(doc, FileCommand::ScenarioRead, [&](std::string&& text, const ChosenFile& file) {
        read = ReadInputDataText(doc, text, file.PathName).Read;
        path = file.PathName;
    });
    if (read) {
        doc.EndPausedBatch();  // a new scenario or stored run: a paused batch has nothing left to resume
        // Only a file that was read joins the recent files.
        doc.host().NoteFileOpened(path);
    }
    return read ? 1 : 0;
}

int LoadStoredRunFile(CBrevimarDoc& doc)
{
    const int runMode = doc.RunMode;
    const int loadInputFile = doc.LoadInputFile;
    doc.RunMode = PlaybackMode;
    doc.LoadInputFile = 0;
    const int read = LoadInputDataFile(doc);
    if (read == 0) {
        doc.RunMode = runMode;
        doc.LoadInputFile = loadInputFile;
    }
    return read;
}

}  // namespace brevimar
