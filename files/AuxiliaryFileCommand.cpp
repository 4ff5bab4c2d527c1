#include "files/AuxiliaryFileCommand.h"

#include <iostream>
#include <optional>
#include <ostream>

#include "core/Document.h"
#include "core/StoredValues.h"
#include "files/ReadReport.h"
#include "files/RunFrames.h"
#include "files/ScenarioWriter.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

// What the frame may change before its chooser.
struct PreChooserSettings {
    int RunMode;
    int LoadInputFile;
    int TerrainMode;

    explicit PreChooserSettings(const CBrevimarDoc& doc)
        : RunMode(doc.RunMode), LoadInputFile(doc.LoadInputFile), TerrainMode(doc.Battlefield.TerrainMode)
    {
    }
    void Restore(CBrevimarDoc& doc) const
    {
        doc.RunMode = RunMode;
        doc.LoadInputFile = LoadInputFile;
        doc.Battlefield.TerrainMode = TerrainMode;
    }
};


// The scenario's own values in place of what a GA or a landscape wrote and
// still stands.
class KeptScenarioInPlace {
public:
    explicit KeptScenarioInPlace(CBrevimarDoc& doc) : Doc(doc) { doc.PutScenarioValuesBack(true); }
    void PutMembersBack() { Doc.TakeBatchValuesAgain(); }

private:
    CBrevimarDoc& Doc;
};

constexpr int FreshRunLength = MaxSeriesStep + 1;

// Run length 501, step 1 forward, not terminated, forces rebuilt,
// battlefield set up, redraw.
void FileReset(CBrevimarDoc& doc)
{
    doc.RunHeader.LastStep = FreshRunLength;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RunTerminated = 0;
    doc.InitializeForces();
    doc.ResetBattlefield();
    doc.host().InvalidateView();
}

void RestartOnTerrain(CBrevimarDoc& doc)
{
    doc.Battlefield.TerrainMode = 2;
    doc.Battlefield.CellTerrainDefined = 1;
    FileReset(doc);
}

void RestartOnTerrainModifiers(CBrevimarDoc& doc)
{
    doc.TerrainModifiersLoaded = 1;
    FileReset(doc);
}

void RestartOnAgents(CBrevimarDoc& doc)
{
    doc.RunHeader.LastStep = FreshRunLength;
    // The source first: set-up then stands the file's agents where the file
    // puts them, instead of deploying at random.
    doc.DeploymentSource = AgentFileDeployment;
    // Set-up from the agent file also collects the statistics of step 0 in the
    // interactive run, so that they describe the loaded positions.
    doc.ResetBattlefield();
    doc.RestartUsesAgentFile = 1;
    doc.host().InvalidateView();
}

// Every read that restarts the run, and only those: the offer of a capture's
// frames and the restart itself both go by this table.
constexpr struct {
    FileCommand Command;
    RunRestart Restart;
} Restarts[] = {
    {FileCommand::TerrainRead, RestartOnTerrain},
    {FileCommand::TerrainModifiersRead, RestartOnTerrainModifiers},
    {FileCommand::AgentRead, RestartOnAgents},
    {FileCommand::SquadMatrixRead, FileReset},
    {FileCommand::CommMatrixRead, FileReset},
};

}  // namespace

RunRestart RestartAfterRead(FileCommand command)
{
    for (const auto& row : Restarts)
        if (row.Command == command)
            return row.Restart;
    return nullptr;
}

std::string DescribeReadFailure(const CWordReader& words)
{
    return words.Failure().Describe();
}

int RunAuxiliaryRead(CBrevimarDoc& doc, FileCommand command, const AuxiliaryParser& parse, std::string* path)
{
    const PreChooserSettings before(doc);
    std::optional<CStoredValues> stored;
    if (RestartAfterRead(command))
        stored.emplace(doc);
    // A file that selects the interactive run ends a GA or a landscape: it
    // goes onto the scenario kept from before the batch, not onto the last
    // member's forces, which a refused file leaves as they were.
    const bool leavesBatch = FileCommandSettings(command).SelectsInteractiveLoad &&
                             (before.RunMode == GeneticAlgorithmMode || before.RunMode == FitnessLandscapeMode);
    bool read = false;
    RunFileCommand(doc, command, [&](std::string&& text, const ChosenFile& file) {
        std::string problem;
        if (path)
            *path = file.PathName;
        std::optional<KeptScenarioInPlace> kept;
        if (leavesBatch)
            kept.emplace(doc);
        if (parse(text, &problem)) {
            // The frames of a capture the read ends are offered with the
            // values they were captured under; a RUN file chooser cancelled
            // gives the read up.
            read = !stored || OfferCapturedFramesBefore(doc, *stored);
            if (kept && read)
                doc.DropBatchWriteRecord();
            else if (kept)
                kept->PutMembersBack();
            return;
        }
        if (kept)
            kept->PutMembersBack();
        ReportReadProblem(doc, BadInputFileMessage(file.PathName, problem));
    });
    if (!read)
        before.Restore(doc);
    else if (before.RunMode == MultipleTimeSeriesMode && doc.RunMode != MultipleTimeSeriesMode)
        doc.EndPausedMultiRun();  // the file chose the interactive run: a paused batch is over
    return read ? 1 : 0;
}

bool RunAuxiliaryWrite(CBrevimarDoc& doc, FileCommand command, const std::function<void(std::ostream&)>& write)
{
    // The frame reports a write the file did not take whole.
    return RunFileCommand(doc, command, [&](std::iostream& stream, const ChosenFile&) {
               const ScenarioValuesInPlace own(doc);
               write(stream);
           }) == FileCommandResult::Done;
}

}  // namespace brevimar
