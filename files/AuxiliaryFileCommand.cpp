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

// The reads that set the run up again on what they read (File > Load of
// terrain, terrain modifiers, agents and the two matrices): a RUN capture
// under way ends with them.
bool RestartsTheRun(FileCommand command)
{
    switch (command) {
    case FileCommand::TerrainRead:
    case FileCommand::TerrainModifiersRead:
    case FileCommand::AgentRead:
    case FileCommand::SquadMatrixRead:
    case FileCommand::CommMatrixRead:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string DescribeReadFailure(const CWordReader& words)
{
    return words.Failure().Describe();
}

int RunAuxiliaryRead(CBrevimarDoc& doc, FileCommand command, const AuxiliaryParser& parse, std::string* path)
{
    const PreChooserSettings before(doc);
    std::optional<CStoredValues> stored;
    if (RestartsTheRun(command))
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
    bool written = false;
    RunFileCommand(doc, command, [&](std::iostream& stream, const ChosenFile& file) {
        {
            const ScenarioValuesInPlace own(doc);
            write(stream);
        }
        stream.flush();
        if (stream.fail()) {
            ReportReadProblem(doc, "Error: cannot write output file " + file.PathName + ".");
            return;
        }
        written = true;
    });
    return written;
}

}  // namespace brevimar
