#include "files/StartupReader.h"

#include <iostream>
#include <memory>

#include "core/Document.h"
#include "core/StartValues.h"
#include "files/RunFrames.h"
#include "files/ScenarioFormat.h"
#include "files/WordReader.h"

namespace brevimar {

const char StartupFileFilter[] =
    "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run|Brevimar OUT Files (*.out)|*.out|"
    "Brevimar VLX Files (*.vlx)|*.vlx|Brevimar Files (*.brv)|*.brv||";

StartupFileKind ClassifyStartupExtension(const std::string& extension)
{
    if (extension == "out" || extension == "OUT")
        return StartupFileKind::FrameFile;
    if (extension == "dat" || extension == "DAT")
        return StartupFileKind::Scenario;
    if (extension == "run" || extension == "RUN")
        return StartupFileKind::StoredRun;
    return StartupFileKind::Unlisted;
}

float FloatAbs(float x) { return x >= 0.0f ? x : -x; }

namespace {

// Both scenario readers start from the same random state.
constexpr int StartupSeed = ScenarioSeed;

}  // namespace

void DeriveRunState(CBrevimarDoc& doc)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        for (int i = 1; i <= f.NumAgents; ++i) {
            f.SensorRange[i] = f.SensorRangeAlive[i];
            f.FireRange[i] = f.FireRangeAlive[i];
            f.ConstraintRange[i] = f.ConstraintRangeAlive[i];
        }
    }

    doc.ResetHighlightsAndBursts();
    doc.ResetDataCollection();
    doc.InitWeaponDefaults();
    // A scenario file carries no weapon data: the squad weapon functions are
    // the defaults' to set.
    for (Side side : {Side::Red, Side::Blue}) {
        doc.Force(side).WeaponsOn = 0;
        doc.Force(side).SquadWeaponsDefined = 0;
    }
    doc.SetDefaultWeaponParameters();

    doc.LatticeExtentX = doc.LatticeExtentY = doc.Battlefield.BattleSize + 2;
    doc.RunHeader.RedAlive = doc.NumRed();
    doc.RunHeader.RedInjured = 0;
    doc.RunHeader.BlueAlive = doc.NumBlue();
    doc.RunHeader.BlueInjured = 0;
}

void KeepInitialComposition(CBrevimarDoc& doc)
{
    CForceComposition& c = doc.InitialComposition;
    c.RedCount = doc.RedForce.NumAgents;
    c.BlueCount = doc.BlueForce.NumAgents;
    c.RedSquads = doc.RedForce.NumSquads;
    c.BlueSquads = doc.BlueForce.NumSquads;
    for (int s = 1; s <= MaxSquads; ++s) {
        c.RedPerSquad[s] = doc.RedForce.num_per_squad[s];
        c.BluePerSquad[s] = doc.BlueForce.num_per_squad[s];
    }
    for (int i = 1; i <= MaxAgents; ++i) {
        c.RedAgentSquad[i] = doc.RedForce.AgentSquad[i];
        c.BlueAgentSquad[i] = doc.BlueForce.AgentSquad[i];
    }
}

namespace {

// Start values only the start-up reader sets: the genetic algorithm's
// displays, the fitness-landscape threshold and movement by probability.
void SetStartupStartValues(CBrevimarDoc& doc) { SetRunStartValues(doc); }

// A fresh interactive run at step 0 on the document's scenario.
void StartScenarioRun(CBrevimarDoc& doc)
{
    doc.RunHeader.LastStep = MaxSeriesStep + 1;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RunTerminated = 0;
    doc.ResetBattlefield();
    KeepInitialComposition(doc);
    doc.Statistics.TerritoryStatsOn = 0;
    if (doc.Statistics.DataCollectionOn == 1)
        doc.CollectStepStatistics();
}

}  // namespace

void StartStoredRun(CBrevimarDoc& doc, const CStoredFrames& frames, int lastStep)
{
    StoreFrames(doc, frames);
    if (doc.RedActivityMapOn == 1 || doc.BlueActivityMapOn == 1) {
        const int size = doc.Battlefield.BattleSize;
        for (auto& plane : doc.ActivityGrids)
            for (int x = 1; x <= size; ++x)
                for (int y = 1; y <= size; ++y)
                    plane[LatticeStride * x + y] = 0;
    }
    doc.RunHeader.LastStep = lastStep;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RunMode = PlaybackMode;
    doc.RebuildLatticeFromSaved();
}

namespace {

void ReportProblem(CBrevimarDoc& doc, const std::string& message)
{
    std::cerr << message << '\n';
    doc.host().ShowError(message);
}

void ReportWarning(CBrevimarDoc& doc, const std::string& message)
{
    std::cerr << message << '\n';
    doc.host().MessageBox(message, "Brevimar", MB_OK | MB_ICONWARNING);
}

}  // namespace

int CBrevimarDoc::ReadStartupInputFile()
{
    Paused = 0;
    FileDialogRequest request;
    request.Filter = StartupFileFilter;
    request.DefaultExtension = "dat";
    const std::optional<std::string> chosen = host().ChooseFileToOpen(request);
    if (!chosen)
        return 1;
    const std::string& path = *chosen;
    const StartupFileKind kind = ClassifyStartupExtension(FileExtensionOf(path));

    std::string text;
    if (!ReadTextFile(path, &text)) {
        ReportProblem(*this, CannotOpenInputFileMessage(path));
        return 1;
    }
    CWordReader words(std::move(text));
    std::string problem;

    if (kind == StartupFileKind::FrameFile) {
        if (!LoadStartupFrameFile(*this, words, &problem)) {
            ReportProblem(*this, BadInputFileMessage(path, problem));
            return 1;
        }
        InputFileName = FileNameOf(path);
        return 1;
    }

    if (kind == StartupFileKind::Unlisted) {
        // Nothing to read: the document's own scenario starts afresh.
        InputFileName = FileNameOf(path);
        DeriveRunState(*this);
        SetStartupStartValues(*this);
        StartScenarioRun(*this);
        return 1;
    }

    // Everything the file sets, and the draws it makes, go to a scratch copy
    // first, so that a bad file leaves the document as it was.
    auto scratch = std::make_unique<CDocumentState>(static_cast<const CDocumentState&>(*this));
    const bool storedRun = kind == StartupFileKind::StoredRun;
    scratch->RunMode = storedRun ? PlaybackMode : InteractiveMode;
    scratch->LoadInputFile = storedRun ? 0 : 1;
    scratch->RandomState = StartupSeed;
    scratch->InitialSeed = StartupSeed;
    scratch->Generator.Draw(&scratch->RandomState);  // restarts the shuffle table; the value is not used
    CStoredFrames frames;
    int lastStep = 0;
    std::string warning;
    if (!ReadScenarioGroups(words, *scratch, &problem) ||
        (storedRun && !ReadStoredRunFrames(words, scratch->RedForce.NumAgents, scratch->BlueForce.NumAgents,
                                           scratch->Battlefield.BattleSize, scratch->RunHeader.CurrentStep, path,
                                           &frames, &lastStep, &problem, &warning))) {
        ReportProblem(*this, BadInputFileMessage(path, problem));
        return 1;
    }
    scratch->InputFileName = FileNameOf(path);
    static_cast<CDocumentState&>(*this) = std::move(*scratch);
    scratch.reset();

    DeriveRunState(*this);
    SetStartupStartValues(*this);
    if (storedRun)
        StartStoredRun(*this, frames, lastStep);
    else
        StartScenarioRun(*this);
    if (!warning.empty())
        ReportWarning(*this, warning);
    return 1;
}

}  // namespace brevimar
