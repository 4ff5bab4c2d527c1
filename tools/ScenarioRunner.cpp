#include "tools/ScenarioRunner.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string_view>
#include <system_error>

#include "files/DocumentFile.h"
#include "files/RunFrames.h"
#include "files/StartupReader.h"
#include "files/WordReader.h"
#include "run/RunLoop.h"
#include "run/ScenarioLoad.h"

namespace brevimar {

namespace {

// The start-up reader's own refusal also names document files, which a new
// document reads before it and the runner does not.
constexpr char UnlistedRunnerFileProblem[] =
    "its name does not end in an extension the runner reads: scenarios .dat or .DAT, stored runs .run or .RUN, "
    "and frame files .out or .OUT";

// One message after its label ("warning: ", "error: "), the message's own
// leading word of the same kind left out, its further lines indented.
void WriteLabelled(std::ostream& stream, const char* label, const std::string& text)
{
    std::string_view rest = text;
    for (const std::string_view own : {"Warning: ", "Error: "})
        if (rest.starts_with(own))
            rest.remove_prefix(own.size());
    stream << label;
    for (const char c : rest)
        stream << c << (c == '\n' ? "  " : "");
    stream << '\n';
}

std::uint64_t Mix(std::uint64_t hash, int value)
{
    // FNV-1a over the value's four bytes.
    for (int shift = 0; shift < 32; shift += 8) {
        hash ^= static_cast<std::uint64_t>((static_cast<unsigned>(value) >> shift) & 0xFFu);
        hash *= 1099511628211ull;
    }
    return hash;
}

// A stored run and a frame file play the frames they hold.
bool PlaysStoredFrames(const CBrevimarDoc& doc)
{
    return doc.RunMode == PlaybackMode || doc.RunMode == ReplayMode;
}

}  // namespace

void ApplyRunnerForms(CBrevimarDoc& doc, const RunnerOptions& options)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& force = doc.Force(side);
        if (options.ShareCommunications) {
            force.CommOn = 1;
            for (int a = 1; a <= MaxSquads; ++a)
                for (int b = 1; b <= MaxSquads; ++b)
                    force.CommMatrix[a][b] = 1;
        }
    }
    if (options.LineOfSight)
        doc.Battlefield.LineOfSightOn = 1;
    doc.RandomState = doc.InitialSeed;
    doc.InitializeForces();
    if (options.Weapons) {
        doc.RedForce.WeaponsOn = doc.BlueForce.WeaponsOn = 1;
        for (Side side : {Side::Red, Side::Blue})
            for (int i = 1; i <= MaxAgents; ++i)
                doc.Force(side).AgentWeapon[i] = i % 5;
    }
    doc.ResetBattlefield();
}

int RunnerHost::MessageBox(const std::string& text, const std::string&, unsigned)
{
    Pending.push_back(text);
    return IDOK;
}

CScenarioRunner::CScenarioRunner(const RunnerOptions& options)
    : Options(options), Doc(CBrevimarDoc::Create())
{
    Doc->SetHost(&Host);
}

bool CScenarioRunner::Load()
{
    // A new document, with the scenario loaded as the start-up reader loads
    // the file chosen at start.
    Doc->DeleteContents();
    Doc->PrepareNewDocument();
    // A folder is refused as the start-up reader refuses one, before its
    // name is looked at: "folder.dat/" has no extension, and is no file of
    // the wrong kind.
    std::error_code error;
    if (std::filesystem::is_directory(Options.ScenarioPath, error)) {
        ErrorText = CannotOpenInputFileMessage(Options.ScenarioPath);
        return false;
    }
    // The start-up reader would read nothing of a document file and run the
    // empty document's scenario instead, as if that were the file's battle.
    if (IsDocumentFile(Options.ScenarioPath)) {
        ErrorText = "Error: " + Options.ScenarioPath +
                    " is a document file (.brv), which the runner does not read: give it a scenario (.dat), a "
                    "stored run (.run) or a frame file (.out).";
        return false;
    }
    if (ClassifyStartupExtension(FileExtensionOf(Options.ScenarioPath)) == StartupFileKind::Unlisted) {
        ErrorText = BadInputFileMessage(Options.ScenarioPath, UnlistedRunnerFileProblem);
        return false;
    }
    const LoadResult loaded = LoadStartupFile(*Doc, Options.ScenarioPath);
    if (!loaded.Read) {
        ErrorText = loaded.Message;
        return false;
    }
    if (PlaysStoredFrames(*Doc))
        return true;  // the frames are played as stored
    if (Options.Seed) {
        Doc->InitialSeed = *Options.Seed;
        Doc->RandomState = *Options.Seed;
        Doc->InitializeForces();
        Doc->ResetBattlefield();
    }
    if (Options.ShareCommunications || Options.LineOfSight || Options.Weapons)
        ApplyRunnerForms(*Doc, Options);
    return true;
}

bool CScenarioRunner::Advance()
{
    CBrevimarDoc& doc = *Doc;
    const int before = doc.RunHeader.CurrentStep;
    if (PlaysStoredFrames(doc)) {
        ShowNextStoredFrame(doc);
        return doc.RunHeader.CurrentStep > before;
    }
    if (Options.Batch) {
        if (doc.RunHeader.CurrentStep >= MaxSeriesStep)
            return false;
        // The statistics of the state the last step left, as the run loop files them.
        ++doc.RunHeader.CurrentStep;
        if (doc.Statistics.DataCollectionOn == 1)
            doc.CollectStepStatistics();
        doc.RecordAttrition();
        doc.StepSimulation();
        return true;
    }
    TakeInteractiveStep(doc);
    return doc.RunHeader.CurrentStep > before;
}

StepDigest CScenarioRunner::Digest() const
{
    const CBrevimarDoc& doc = *Doc;
    StepDigest digest;
    digest.Step = doc.RunHeader.CurrentStep;
    // The counts the status line shows of the battle on show.
    const CAttritionCounts counts = doc.ShownCounts();
    digest.RedAlive = counts.RedAlive;
    digest.RedInjured = counts.RedInjured;
    digest.BlueAlive = counts.BlueAlive;
    digest.BlueInjured = counts.BlueInjured;
    std::uint64_t hash = 14695981039346656037ull;
    for (Side side : {Side::Red, Side::Blue}) {
        const CForce& force = doc.Force(side);
        // A stored run or a frame file shows its frame of the current step,
        // with the agents the frames hold, not the forces.
        const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
        const bool frame = PlaysStoredFrames(doc) && doc.CaptureBuffer[base] && digest.Step >= 0 &&
                           digest.Step < CaptureRows;
        const int agents = frame ? doc.StoredFrameAgents(side) : force.NumAgents;
        for (int i = 1, n = std::min(agents, MaxAgents); i <= n; ++i) {
            const int at = CaptureIndex(digest.Step, i);
            const int state = frame ? doc.CaptureBuffer[base][at] : force.AgentState[i];
            const int x = frame ? doc.CaptureBuffer[base + 1][at] : force.AgentX[i];
            const int y = frame ? doc.CaptureBuffer[base + 2][at] : force.AgentY[i];
            hash = Mix(Mix(Mix(hash, state), x), y);
        }
    }
    digest.Hash = hash;
    return digest;
}

void CScenarioRunner::PassOnWarnings(std::ostream& warnings)
{
    for (const std::string& text : Host.Pending) {
        // A refused file is the run's error, said once as such.
        if (text == ErrorText || std::find(Said.begin(), Said.end(), text) != Said.end())
            continue;
        Said.push_back(text);
        WriteLabelled(warnings, "warning: ", text);
    }
    Host.Pending.clear();
    warnings.flush();
}

int CScenarioRunner::Run(std::ostream& out, std::ostream& warnings)
{
    const bool loaded = Load();
    PassOnWarnings(warnings);
    if (!loaded) {
        // Beside the warnings, so that the digest lines stay data alone.
        WriteLabelled(warnings, "error: ", ErrorText);
        return 1;
    }
    const int every = Options.DigestEvery > 0 ? Options.DigestEvery : 1;
    out << Digest() << '\n';
    for (int n = 1; n <= Options.Steps; ++n) {
        const bool advanced = Advance();
        PassOnWarnings(warnings);
        if (!advanced)
            break;
        if (n % every == 0)
            out << Digest() << '\n';
    }
    return 0;
}

std::ostream& operator<<(std::ostream& out, const StepDigest& d)
{
    char hash[17];
    static const char digits[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i)
        hash[i] = digits[(d.Hash >> (60 - 4 * i)) & 0xF];
    hash[16] = '\0';
    return out << d.Step << ' ' << d.RedAlive << ' ' << d.RedInjured << ' ' << d.BlueAlive << ' ' << d.BlueInjured
               << ' ' << hash;
}

}  // namespace brevimar
