#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/FileFilters.h"
#include "core/TerrainBlocks.h"
#include "core/TerrainFile.h"
#include "core/TextFileBound.h"

namespace brevimar {

namespace {

// Attempts before giving an agent up. A placement that is possible at all
// succeeds long before: even one free cell in a 150 x 150 square is missed a
// million times in a row with probability e^-44.
constexpr int MaxDeploymentAttempts = 1000000;
// Every so many failed attempts the agent's box is searched for a free cell,
// so that an impossible placement ends early. Searching draws nothing.
constexpr int FreeCellCheckInterval = 4096;
constexpr int MaxAppointmentAttempts = 1000000;

const char* SideName(Side side) { return side == Side::Red ? "RED" : "BLUE"; }
int AgentCount(const CForce& force) { return std::clamp(force.NumAgents, 0, MaxAgents); }
int SquadRow(int squad) { return squad >= 0 && squad <= MaxSquads ? squad : 0; }
int CommanderCount(const CLocalCommand& local) { return std::clamp(local.NumLocalCommanders, 0, MaxCommanders); }

// Kinds of settings that cannot be met, whatever squads and counts they come
// with: the bits of SetupProblemsSaid.
enum SetupProblem : unsigned {
    BoxesTooSmall = 1u << 0,       // a deployment box (too small, off the field, under terrain)
    FieldTooSmall = 1u << 1,       // the whole battlefield
    AgentsLeftOff = 1u << 2,       // agents that found no free cell all the same
    RedCommandsTooLarge = 1u << 3,
    BlueCommandsTooLarge = 1u << 4,
    TerrainFileAsked = 1u << 5,    // the batch asked for a terrain file (and said why none was read)
};

// A batch's own runs: set up one after another while nobody watches.
bool InBatchRun(const CBrevimarDoc& doc)
{
    return (doc.RunMode == GeneticAlgorithmMode && doc.Experiment.GABusy != 0) ||
           (doc.RunMode == FitnessLandscapeMode && doc.Experiment.LandscapeBusy != 0) ||
           (doc.RunMode == MultipleTimeSeriesMode && doc.Series.MultiRunBusy != 0);
}

// A refusal the user must see. Outside a batch's runs a box, at once; a
// batch's runs go on under a notice instead of holding on the box.
void SayRefusal(CBrevimarDoc& doc, const std::string& text)
{
    if (InBatchRun(doc))
        doc.host().Notify(text, "Brevimar", MB_OK | MB_ICONERROR);
    else
        doc.host().ShowError(text);
}

// Errors the user must see, also kept on the error stream.
void ReportError(CBrevimarDoc& doc, const std::string& text)
{
    doc.host().Log(text);
    SayRefusal(doc, text);
}

// Settings that cannot be met. A batch sets up hundreds of runs, each of its
// own counts, and would hold on a box for every one: it says each kind once,
// the first time, in a notice that does not hold the batch, and goes on.
void ReportSetupProblem(CBrevimarDoc& doc, SetupProblem kind, const std::string& text)
{
    const std::string scenario = doc.InputFileName.empty() ? "the new document's scenario" : doc.InputFileName;
    std::string message = "Setting up " + scenario + ":\n" + text;
    if (InBatchRun(doc)) {
        if ((doc.SetupProblemsSaid & kind) != 0)
            return;
        doc.SetupProblemsSaid |= kind;
        message += "\nLater runs of this batch may meet this problem too; it is not said again until the next batch.";
        doc.host().Notify(message, "Brevimar", MB_OK | MB_ICONERROR);
        return;
    }
    doc.host().ShowError(message);
}

std::string Counted(long long n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// --- terrain

// Reads a terrain file made for a battlefield no larger than `size`. On any
// fault it says what is wrong, naming the file, also on the error stream, and
// stores nothing.
bool ReadTerrainFile(CBrevimarDoc& doc, const std::string& path, int size, std::vector<TerrainRecord>* records)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        ReportError(doc, "Error: cannot open input file.\n" + path);
        return false;
    }
    std::string text;
    std::uintmax_t known = 0;
    switch (ReadBoundedFile(path, &text, &known)) {
    case BoundedReadResult::Read:
        break;
    case BoundedReadResult::TooLarge:
        ReportError(doc, "The terrain file " + path + " is refused: " + TextFileTooLargeProblem(known) +
                             ". No terrain was read from it.");
        return false;
    case BoundedReadResult::Stalled:
        ReportError(doc, "The terrain file " + path + " is refused: " + StalledFileProblem(known) +
                             ". No terrain was read from it.");
        return false;
    case BoundedReadResult::Failed:
        ReportError(doc, "Error: cannot open input file.\n" + path);
        return false;
    }
    std::istringstream stream(std::move(text));
    long long fileSize = 0;
    std::string problem;
    switch (ReadTerrainRecords(stream, size, records, &fileSize, &problem)) {
    case TerrainFileResult::Read:
        return true;
    case TerrainFileResult::TooLarge:
        ReportError(doc, "Error: current battlefield size is too small.\nThe terrain file " + path + " was made for a " +
                             std::to_string(fileSize) + " x " + std::to_string(fileSize) + " battlefield; this one is " +
                             std::to_string(size) + " x " + std::to_string(size) + ".");
        return false;
    case TerrainFileResult::Refused:
        break;
    }
    ReportError(doc, "The terrain file " + path + " " + problem + " No terrain was read from it.");
    return false;
}

void LoadTerrainFromFile(CBrevimarDoc& doc, int size)
{
    // A batch's runs ask once: the terrain that answer read stays held for
    // the later runs, and a cancel or a refused file leaves them the terrain
    // the field held rather than holding each run on the chooser again.
    if (InBatchRun(doc)) {
        if ((doc.SetupProblemsSaid & TerrainFileAsked) != 0)
            return;
        doc.SetupProblemsSaid |= TerrainFileAsked;
    }
    FileDialogRequest request;
    request.Filter = TerrainFileFilter;
    request.DefaultExtension = "ter";
    request.Title = "Load terrain data file for the new battlefield";
    const auto path = doc.host().ChooseFileToOpen(request);
    if (!path)
        return;
    std::vector<TerrainRecord> records;
    if (!ReadTerrainFile(doc, *path, size, &records))
        return;  // as after a cancel
    // The file's cells take the place of the terrain the field held.
    CBattlefield& field = doc.Battlefield;
    TakeTerrainOff(field);
    for (const TerrainRecord& r : records) {
        field.AgentGrid[GridIndex(r.X, r.Y)] = r.Grid;
        field.TerrainType[GridIndex(r.X, r.Y)] = r.Type;
    }
    TakeCellTerrainSwitches(field);
    field.CellTerrainDefined = 1;
}

// --- fixed geometry

void BuildEntropyBoxes(EntropyBox* boxes, int m, int size)
{
    const double w = static_cast<double>(size) / m;
    const int W = static_cast<int>(w);
    for (int n = 1; n <= m * m; ++n) {
        const int column = (n - 1) % m;
        const int row = m - 1 - (n - 1) / m;  // boxes run from the top row down
        boxes[n].XLo = static_cast<int>(column * w);
        boxes[n].XHi = boxes[n].XLo + W;
        boxes[n].YLo = static_cast<int>(row * w);
        boxes[n].YHi = boxes[n].YLo + W;
    }
}

void BuildSectors(CGlobalCommander& global, int size, int peakSector)
{
    const int q1 = size / 4;
    const int q2 = size / 2;
    const int q3 = 3 * size / 4;
    // Counter-clockwise round the edge from (1, 1).
    const int x[SectorSlots] = {0, 1, 1, 1, 1, 1, q1, q2, q3, size, size, size, size, size, q3, q2, q1};
    const int y[SectorSlots] = {0, 1, q1, q2, q3, size, size, size, size, size, q3, q2, q1, 1, 1, 1, 1};
    // (1 - d/8)^2 by distance d round the ring from the peak sector.
    static constexpr float Profile[9] = {1.0f, 0.765f, 0.5625f, 0.391f, 0.25f, 0.14f, 0.0625f, 0.015625f, 0.0f};
    for (int s = 1; s <= SectorCount; ++s) {
        global.SectorEdgeX[s] = x[s];
        global.SectorEdgeY[s] = y[s];
        const int d = std::abs(s - peakSector);
        global.SectorProfile[s] = Profile[std::min(d, SectorCount - d)];
    }
}

void ResetLocalCommand(CLocalCommand& local)
{
    for (int c = 1; c <= MaxCommanders; ++c) {
        local.CommanderAgent[c] = 0;
        local.SubordinateCount[c] = std::clamp(local.undr_cmd[c], 0, MaxSubordinates);
        local.CommanderGoalX[c] = 0;
        local.CommanderGoalY[c] = 0;
        local.CommanderPrevGoalX[c] = 0;
        local.CommanderPrevGoalY[c] = 0;
        for (int j = 1; j <= MaxSubordinates; ++j)
            local.Subordinates[c][j] = 0;
    }
    for (int i = 1; i <= MaxAgents; ++i) {
        local.CommandRole[i] = NoCommandRole;
        local.CommanderOf[i] = 0;
        local.CommanderNumberOf[i] = 0;
        local.AgentGoalX[i] = 0;
        local.AgentGoalY[i] = 0;
    }
}

// A commander's personality sets neither its area nor its flock weight: the
// battle's commanders start them at the 0 a read of the scenario gives, not
// at what agents of the same numbers used in the battle before.
void ClearWeightsCommandersKeep(CForce& f)
{
    std::fill(std::begin(f.EffWArea), std::end(f.EffWArea), 0.0f);
    std::fill(std::begin(f.FlockWeight), std::end(f.FlockWeight), 0.0f);
}

// --- random deployment

// A coordinate drawn as trunc(u * Extent + Offset [+ 1]) for u in (0, 1).
struct Axis {
    long long Offset;
    long long Extent;
    bool PlusOne;
    double At(double u) const
    {
        const double v = u * Extent + Offset;
        return std::trunc(PlusOne ? v + 1 : v);
    }
    // Every integer the draw can give (a superset for huge extents).
    long long Lo() const { return Offset + PlusOne + std::min(Extent, 0LL); }
    long long Hi() const { return Offset + PlusOne + std::max(Extent - 1, 0LL); }
    bool operator==(const Axis&) const = default;
};

struct DeploymentBox {
    Axis X, Y;
    bool operator==(const DeploymentBox&) const = default;
};

// The cells of the axis that lie on the battlefield, drawn the same way: a
// box wholly on the field keeps its draws, and a box reaching far past it no
// longer spends its attempts off the field.
Axis ClippedAxis(const Axis& axis, int size)
{
    if (axis.Extent <= 0)
        return axis;
    const long long lo = std::max(axis.Lo(), 1LL);
    const long long hi = std::min(axis.Hi(), static_cast<long long>(size));
    if (lo > hi)
        return axis;  // nothing of it on the field
    return {lo - (axis.PlusOne ? 1 : 0), hi - lo + 1, axis.PlusOne};
}

DeploymentBox ClippedBox(const DeploymentBox& box, int size)
{
    return {ClippedAxis(box.X, size), ClippedAxis(box.Y, size)};
}

DeploymentBox SquadDeploymentBox(const CBattlefield& field, Side side, int squad, int size)
{
    const int s = SquadRow(squad);
    const bool red = side == Side::Red;
    const int l = red ? field.R_box_l[s] : field.B_box_l[s];
    const int w = red ? field.R_box_w[s] : field.B_box_w[s];
    if (field.init_dist == 2) {
        // A central square fixed by the box sizes; the centres are not used.
        const long long lo = (static_cast<long long>(size) - l) / 2;
        const long long hi = (static_cast<long long>(size) + w) / 2;
        return ClippedBox({{lo, hi - lo, false}, {lo, hi - lo, false}}, size);
    }
    const int cx = red ? field.RED_cen_x[s] : field.BLUE_cen_x[s];
    const int cy = red ? field.RED_cen_y[s] : field.BLUE_cen_y[s];
    return ClippedBox({{static_cast<long long>(cx) - l / 2, l, true}, {static_cast<long long>(cy) - w / 2, w, true}},
                      size);
}

long long FreeCellsIn(const CBattlefield& field, const DeploymentBox& box, int size)
{
    const long long last = size;
    const int xLo = static_cast<int>(std::clamp(box.X.Lo(), 1LL, last + 1));
    const int xHi = static_cast<int>(std::clamp(box.X.Hi(), 0LL, last));
    const int yLo = static_cast<int>(std::clamp(box.Y.Lo(), 1LL, last + 1));
    const int yHi = static_cast<int>(std::clamp(box.Y.Hi(), 0LL, last));
    long long free = 0;
    for (int x = xLo; x <= xHi; ++x)
        for (int y = yLo; y <= yHi; ++y)
            free += field.AgentGrid[GridIndex(x, y)] == CellFree;
    return free;
}

// Agents whose boxes cannot hold them all, told before any draw: squads
// sharing the same box are counted together.
bool CheckDeployment(CBrevimarDoc& doc, int size)
{
    struct Group {
        DeploymentBox Box;
        long long Agents;
        std::string Names;
    };
    std::vector<Group> groups;
    long long total = 0;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        for (int i = 1, n = AgentCount(force); i <= n; ++i) {
            const DeploymentBox box = SquadDeploymentBox(doc.Battlefield, side, force.AgentSquad[i], size);
            const int squad = force.AgentSquad[i];
            const std::string name = std::string(SideName(side)) +
                                     (squad >= 1 && squad <= MaxSquads ? " squad " + std::to_string(squad)
                                                                       : " agents without a squad");
            auto it = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.Box == box; });
            if (it == groups.end()) {
                groups.push_back({box, 0, name});
                it = groups.end() - 1;
            } else if (it->Names.find(name) == std::string::npos) {
                it->Names += ", " + name;
            }
            ++it->Agents;
            ++total;
        }
    }
    std::string problems;
    for (const Group& g : groups) {
        const long long free = FreeCellsIn(doc.Battlefield, g.Box, size);
        if (g.Agents > free)
            problems += "\n- the deployment box of " + g.Names + " has " + Counted(free, "free cell", "free cells") +
                        " for " + Counted(g.Agents, "agent", "agents");
    }
    SetupProblem kind = BoxesTooSmall;
    if (problems.empty()) {
        kind = FieldTooSmall;
        const DeploymentBox whole{{0, size, true}, {0, size, true}};
        const long long free = FreeCellsIn(doc.Battlefield, whole, size);
        if (total > free)
            problems = "\n- the battlefield has " + Counted(free, "free cell", "free cells") + " for " +
                       Counted(total, "agent", "agents");
    }
    if (problems.empty())
        return true;
    ReportSetupProblem(doc, kind, "Not every agent can be deployed:" + problems +
                         "\nAgents that find no free cell are left off the battlefield, dead.");
    return false;
}

// Returns the number of agents that found no free cell.
int DeployRandomly(CBrevimarDoc& doc, Side side, int size)
{
    CBattlefield& field = doc.Battlefield;
    CForce& f = doc.Force(side);
    const int recon = side == Side::Red ? field.RED_recon_flag : field.BLUE_recon_flag;
    int unplaced = 0;
    for (int i = 1, n = AgentCount(f); i <= n; ++i) {
        const DeploymentBox box = SquadDeploymentBox(field, side, f.AgentSquad[i], size);
        bool placed = false;
        for (int attempt = 1; attempt <= MaxDeploymentAttempts; ++attempt) {
            const double u1 = doc.DrawUniform(&doc.RandomState);
            const double u2 = doc.DrawUniform(&doc.RandomState);
            const double x = box.X.At(u1);
            const double y = box.Y.At(u2);
            if (x >= 1 && x <= size && y >= 1 && y <= size) {
                const int cell = GridIndex(static_cast<int>(x), static_cast<int>(y));
                if (field.AgentGrid[cell] == CellFree) {
                    f.PlaceAgent(i, static_cast<int>(x), static_cast<int>(y));
                    field.AgentGrid[cell] = CellAgent;
                    f.SetAgentState(i, Alive);
                    f.ReconstitutionTimer[i] = recon == 1 ? f.recon_time : 0;
                    placed = true;
                    break;
                }
            }
            if (attempt % FreeCellCheckInterval == 0 && FreeCellsIn(field, box, size) == 0)
                break;
        }
        if (!placed) {
            f.PlaceAgent(i, 0, 0);
            f.SetAgentState(i, Dead);
            f.ReconstitutionTimer[i] = 0;
            ++unplaced;
        }
    }
    return unplaced;
}

// --- agent-file deployment

void DeployFromAgentFile(CBrevimarDoc& doc, Side side, int size)
{
    CBattlefield& field = doc.Battlefield;
    CForce& f = doc.Force(side);
    int k = 0;
    // Records past the file's agents hold state 0 and are dropped like dead ones.
    for (int r = 1; r <= MaxAgents; ++r) {
        const int x = f.StoredAgentX[r];
        const int y = f.StoredAgentY[r];
        if (f.StoredAgentState[r] <= Dead || x < 1 || x > size || y < 1 || y > size)
            continue;
        // Impassable terrain is refused, and so is a second agent on a cell;
        // passable ground takes its agent, as the read placed it.
        if (!AgentMayStand(field, GridIndex(x, y)))
            continue;
        ++k;
        f.AgentSquad[k] = std::clamp(f.StoredAgentSquad[r], 1, MaxSquads);
        f.PlaceAgent(k, x, y);
        f.SetAgentState(k, f.StoredAgentState[r]);
        field.AgentGrid[GridIndex(x, y)] = CellAgent;
    }
    f.NumAgents = k;
}

// --- local commanders

// Returns false when the side has too few agents left for the commands.
bool AppointCommanders(CBrevimarDoc& doc, Side side)
{
    CLocalCommand& local = doc.Local(side);
    const int n = AgentCount(doc.Force(side));
    int available = n;  // agents without a role
    auto drawFreeAgent = [&]() {
        if (available <= 0)
            return 0;
        for (int attempt = 1; attempt <= MaxAppointmentAttempts; ++attempt) {
            const int a = static_cast<int>(doc.DrawUniform(&doc.RandomState) * n + 1);
            if (a >= 1 && a <= n && local.CommandRole[a] == NoCommandRole) {
                --available;
                return a;
            }
        }
        return 0;
    };
    for (int c = 1, m = CommanderCount(local); c <= m; ++c) {
        const int a = drawFreeAgent();
        if (a == 0) {
            local.SubordinateCount[c] = 0;
            for (int rest = c + 1; rest <= m; ++rest)
                local.SubordinateCount[rest] = 0;
            return false;
        }
        local.CommandRole[a] = LocalCommander;
        local.CommanderAgent[c] = a;
        local.CommanderOf[a] = 0;
        local.CommanderNumberOf[a] = c;
        const int wanted = std::clamp(local.undr_cmd[c], 0, MaxSubordinates);
        for (int j = 1; j <= wanted; ++j) {
            const int b = drawFreeAgent();
            if (b == 0) {
                local.SubordinateCount[c] = j - 1;
                for (int rest = c + 1; rest <= m; ++rest)
                    local.SubordinateCount[rest] = 0;
                return false;
            }
            local.CommandRole[b] = Subordinate;
            local.CommanderOf[b] = c;
            local.Subordinates[c][j] = b;
        }
    }
    return true;
}

void CheckCommanders(CBrevimarDoc& doc, Side side)
{
    const CLocalCommand& local = doc.Local(side);
    const int commanders = CommanderCount(local);
    long long needed = commanders;
    for (int c = 1; c <= commanders; ++c)
        needed += std::clamp(local.undr_cmd[c], 0, MaxSubordinates);
    const int n = AgentCount(doc.Force(side));
    if (needed <= n)
        return;
    ReportSetupProblem(doc, side == Side::Red ? RedCommandsTooLarge : BlueCommandsTooLarge,
                       std::string(SideName(side)) + " has " + std::to_string(commanders) +
                           " local commanders and their subordinates, " + Counted(needed, "agent", "agents") +
                           " in all, but only " + Counted(n, "agent", "agents") +
                           ".\nThe commands are filled in order until no agent is left.");
}

}  // namespace

void CBrevimarDoc::SetupBattlefield() { SetupBattlefield(DeploymentSource); }

void CBrevimarDoc::SetupBattlefield(int deployment)
{
    CBattlefield& field = Battlefield;
    const int size = std::clamp(field.BattleSize, 1, MaxBattleSize);

    // A force edited by hand deploys afresh as the scenario a save writes.
    if (deployment == RandomDeployment && RunMode != PlaybackMode && RunMode != ReplayMode)
        RebuildHandEditedForces();

    if (RunMode == InteractiveMode)
        DrawUniform(&RandomState);
    // Counts and states set in bulk before a set-up (restoring the input
    // file's composition, the parameter dialogs, a read) take effect here;
    // from now on every write keeps the grids.
    for (Side side : {Side::Red, Side::Blue})
        Force(side).RebuildAgentGrid();

    // No scenario file carries the communications matrices.
    if (CommMatricesSet == 0) {
        for (Side side : {Side::Red, Side::Blue})
            for (int a = 1; a <= MaxSquads; ++a)
                for (int b = 1; b <= MaxSquads; ++b)
                    Force(side).CommMatrix[a][b] = 1;
        CommMatricesSet = 1;
    }

    if (deployment == RandomDeployment) {
        // Cells are kept for a terrain file's chooser too: cancelled, or
        // given a file it refuses, it leaves the terrain the field held.
        const bool keepTerrain = field.TerrainMode == 2;
        for (int x = 1; x <= MaxBattleSize; ++x)
            for (int y = 1; y <= MaxBattleSize; ++y) {
                field.AgentGrid[GridIndex(x, y)] = CellFree;
                field.OccupancyGrid[GridIndex(x, y)] = 0;
                if (!keepTerrain)
                    field.TerrainType[GridIndex(x, y)] = OpenGround;
            }
    }

    if (field.TerrainMode == 1) {
        LayTerrainBlocks(field, size);
    } else if (field.TerrainMode == 2) {
        if (field.CellTerrainDefined != 1)
            LoadTerrainFromFile(*this, size);
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y)
                if (field.TerrainType[GridIndex(x, y)] > 0)
                    field.AgentGrid[GridIndex(x, y)] = CellTerrain;
    }

    // Playback modes show stored positions: nothing is deployed.
    if (RunMode == PlaybackMode || RunMode == ReplayMode)
        return;

    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Force(side);
        for (int i = 1, n = AgentCount(f); i <= n; ++i)
            f.TakeDistanceNormaliser(i);
    }

    if (HeapBuffersAllocated == 1)
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c)
                AdmissibleCells[9 * r + c] = 0;

    BuildEntropyBoxes(Statistics.EntropyBoxes16, 4, size);
    BuildEntropyBoxes(Statistics.EntropyBoxes64, 8, size);
    BuildEntropyBoxes(Statistics.EntropyBoxes256, 16, size);

    // Each side's sector profile peaks at its own corner's sector.
    if (RedGlobal.GlobalCommandOn == 1)
        BuildSectors(RedGlobal, size, 1);
    if (BlueGlobal.GlobalCommandOn == 1)
        BuildSectors(BlueGlobal, size, 9);

    for (Side side : {Side::Red, Side::Blue})
        if (Local(side).LocalCommandOn == 1) {
            ResetLocalCommand(Local(side));
            // Every battle, a batch's samples and a sweep's runs as much as
            // the interactive run, is one of the scenario as read.
            ClearWeightsCommandersKeep(Force(side));
        }

    // An agent file's agents are the force, whatever a right click did before.
    if (deployment == AgentFileDeployment)
        for (Side side : {Side::Red, Side::Blue})
            Force(side).ForgetHandEdits();

    if (deployment == RandomDeployment) {
        const bool reported = !CheckDeployment(*this, size);
        int unplaced = 0;
        for (Side side : {Side::Red, Side::Blue})
            unplaced += DeployRandomly(*this, side, size);
        if (unplaced > 0 && !reported)
            ReportSetupProblem(*this, AgentsLeftOff, Counted(unplaced, "agent", "agents") +
                                    " found no free cell in the deployment boxes and " + (unplaced == 1 ? "is" : "are") +
                                   " left off the battlefield, dead.");
    } else if (deployment == AgentFileDeployment) {
        // The agents leave their cells; the ground under them stays.
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y)
                if (field.AgentGrid[GridIndex(x, y)] == CellAgent)
                    field.AgentGrid[GridIndex(x, y)] = CellFree;
        for (Side side : {Side::Red, Side::Blue}) {
            DeployFromAgentFile(*this, side, size);
            Force(side).TakeOwnSquadValues();
            TakeBaseCopies(Force(side), BaseCopies(side), TerrainModified(side));
        }
        if (RunMode == InteractiveMode && Statistics.DataCollectionOn == 1 &&
            CollectSetUpStatistics)
            CollectSetUpStatistics(*this);
    }

    for (Side side : {Side::Red, Side::Blue}) {
        if (Local(side).LocalCommandOn != 1)
            continue;
        CheckCommanders(*this, side);
        AppointCommanders(*this, side);
    }
    for (Side side : {Side::Red, Side::Blue})
        std::fill(std::begin(Force(side).HitCount), std::end(Force(side).HitCount), 0);

    if (RunMode == InteractiveMode && RunCaptureOn == 1 && HeapBuffersAllocated == 1) {
        CaptureEndStep = 0;
        CaptureFrameCount = 0;
        CapturedStep[0] = 0;
        // The capture is the run history now: the field and counts it is
        // recorded with go with it into a document file.
        RunHeader.LatticeSize = size;
        RunHeader.RedCount = AgentCount(RedForce);
        RunHeader.BlueCount = AgentCount(BlueForce);
        for (int i = 1, n = AgentCount(RedForce); i <= n; ++i) {
            Capture(RedCaptureState, 0, i) = RedForce.AgentState[i];
            Capture(RedCaptureX, 0, i) = RedForce.AgentX[i];
            Capture(RedCaptureY, 0, i) = RedForce.AgentY[i];
        }
        for (int i = 1, n = AgentCount(BlueForce); i <= n; ++i) {
            Capture(BlueCaptureState, 0, i) = BlueForce.AgentState[i];
            Capture(BlueCaptureX, 0, i) = BlueForce.AgentX[i];
            Capture(BlueCaptureY, 0, i) = BlueForce.AgentY[i];
        }
    }
}

}  // namespace brevimar
