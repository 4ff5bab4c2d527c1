#include "files/FileCommandFrame.h"

#include <cassert>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <locale>
#include <memory>
#include <optional>
#include <sstream>

#include "core/Document.h"
#include "core/FileFilters.h"
#include "core/OutputFile.h"
#include "core/TextFileBound.h"
#include "files/ReadReport.h"
#include "files/RunFrames.h"
#include "files/WordReader.h"

namespace brevimar {

// Each filter's description names the kind of file its pattern takes.
constexpr const char* const FileFilters[21] = {
    "",
    "Brevimar Agent Input Data Files (*.agt)|*.agt||",
    "Brevimar Agent Input Data Files (*.agt)|*.agt||",
    "Brevimar Agent Weapon Input Data Files (*.awp)|*.awp||",
    "Brevimar Squad Weapon Input Data Files (*.wp)|*.wp||",
    "Brevimar Comm Matrix Input Data Files (*.cmw)|*.cmw||",
    "Brevimar Squad Matrix Input Data Files (*.smw)|*.smw||",
    TerrainFileFilter,
    "Brevimar Terrain Input Data Files (*.ter)|*.ter||",
    "Brevimar Terrain-Modified Agent Data Files (*.tma)|*.tma||",
    "Brevimar Terrain Waypoint Path Files (*.pth)|*.pth||",
    "Brevimar Terrain Waypoint Path Files (*.pth)|*.pth||",
    "Brevimar Input Data Files (*.dat)|*.dat|Brevimar RUN Files (*.run)|*.run||",
    "Raw Fitness Data (*.fit)|*.fit||",
    "Raw Multiple Time Series Attrition Data (*.att)|*.att||",
    "Raw Multiple Time Series Graph Data (*.mtg)|*.mtg||",
    "Raw Multiple Time Series Sample Data (*.mts)|*.mts||",
    "Spatial Pattern Capacity Dimension Data (*.cdm)|*.cdm||",
    "Brevimar Raw Weapon Data Files (*.rwd)|*.rwd||",
    StartupFileFilter,
    "Brevimar GA1 Input Data Files (*.ga1)|*.ga1|Brevimar GA2 Input Data Files (*.ga2)|*.ga2|"
    "Brevimar Landscape Input Data Files (*.lnd)|*.lnd||",
};

constexpr char CannotOpenInputText[] = "Error: cannot open input file.\n";
constexpr char CannotOpenOutputText[] = "\nError: cannot open output file.\n";
constexpr char CannotOpenFileText[] = "\nError: cannot open file.\n";

namespace {

constexpr const char* In = CannotOpenInputText;
constexpr const char* Out = CannotOpenOutputText;
constexpr const char* AnyFile = CannotOpenFileText;

// Settings made before the chooser.
enum Before : unsigned {
    Nothing = 0,
    InteractiveLoad = 1,  // RunMode := 1, LoadInputFile := 1
    TerrainFile = 2,      // TerrainMode := 2
    NameByLoadKind = 4,   // proposes "*.dat" or "*.run"
    NoPause = 8,
};

constexpr FileCommandSpec Row(FileCommand command, FileDialogKind dialog, int filter, const char* extension,
                              EchoStyle echo, const char* failure, const char* title, unsigned before = Nothing)
{
    return FileCommandSpec{command,
                           dialog,
                           title,
                           dialog == FileDialogKind::Open ? OFN_FILEMUSTEXIST : OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           FileFilters[filter],
                           extension,
                           (before & NoPause) == 0,
                           (before & InteractiveLoad) != 0,
                           (before & TerrainFile) != 0,
                           (before & NameByLoadKind) != 0,
                           echo,
                           failure};
}

using C = FileCommand;
constexpr FileDialogKind Open = FileDialogKind::Open;
constexpr FileDialogKind Save = FileDialogKind::SaveAs;
constexpr EchoStyle Plain = EchoStyle::Plain;
constexpr EchoStyle LF = EchoStyle::LineFeed;
constexpr EchoStyle NoEcho = EchoStyle::None;

// In the order of FileCommand. Three writers report the input-file text.
constexpr FileCommandSpec Table[] = {
    Row(C::AgentRead, Open, 1, "agt", Plain, In, "Load agent data file", InteractiveLoad),
    Row(C::AgentWrite, Save, 2, "agt", LF, Out, "Save agent data file"),
    Row(C::AgentWeaponsRead, Open, 3, "awp", Plain, In, "Load agent-specific weapons file", InteractiveLoad),
    Row(C::AgentWeaponsWrite, Save, 3, "awp", Plain, In, "Save agent-specific weapons file"),
    Row(C::SquadWeaponsRead, Open, 4, "wp", Plain, In, "Load squad-specific weapons file", InteractiveLoad),
    Row(C::SquadWeaponsWrite, Save, 4, "wp", Plain, In, "Save squad-specific weapons file"),
    Row(C::CommMatrixRead, Open, 5, "cmw", LF, AnyFile, "Load communications matrix"),
    Row(C::CommMatrixWrite, Save, 5, "cmw", LF, Out, "Save communications matrix"),
    Row(C::SquadMatrixRead, Open, 6, "smw", LF, AnyFile, "Load squad-matrix weights"),
    Row(C::SquadMatrixWrite, Save, 6, "smw", LF, Out, "Save squad-matrix weights"),
    Row(C::TerrainRead, Open, 7, "ter", Plain, In, "Load terrain data file", InteractiveLoad | TerrainFile),
    Row(C::TerrainWrite, Save, 8, "ter", LF, Out, "Save terrain data file"),
    Row(C::TerrainModifiersRead, Open, 9, "tma", Plain, In, "Load terrain-modified agent data", InteractiveLoad),
    Row(C::TerrainModifiersWrite, Save, 9, "tma", Plain, Out, "Save terrain-modified agent data"),
    Row(C::WaypointPathRead, Open, 10, "pth", NoEcho, AnyFile, "Load terrain waypoint path"),
    Row(C::WaypointPathWrite, Save, 11, "pth", NoEcho, Out, "Save terrain waypoint path", NoPause),
    Row(C::ScenarioRead, Open, 12, "dat", Plain, In, "Load input data file", NameByLoadKind),
    Row(C::ScenarioWrite, Save, 12, "dat", LF, Out, "Save input data file"),
    Row(C::BestScenarioWrite, Save, 12, "dat", LF, Out, "Save best chromosome as input data file"),
    Row(C::FitnessWrite, Save, 13, "fit", LF, Out, "Save raw fitness data"),
    Row(C::AttritionWrite, Save, 14, "att", LF, Out, "Save raw attrition report"),
    Row(C::MultiRunGraphWrite, Save, 15, "mtg", LF, Out, "Save raw graph data report"),
    Row(C::MultiRunSampleWrite, Save, 16, "mts", LF, Out, "Save raw sample data report"),
    Row(C::CapacityDimensionWrite, Save, 17, "cdm", LF, Out, "Save capacity dimension data"),
    Row(C::WeaponRawDataWrite, Save, 18, "rwd", Plain, In, "Save raw weapon data", NoPause),
    Row(C::StartupRead, Open, 19, "dat", Plain, In, "Open a scenario, run or document file", NoPause),
    Row(C::FileOpenRead, Open, 19, "dat", Plain, In, "Open a file into this battlefield"),
    Row(C::SetupTerrainRead, Open, 7, "ter", Plain, In, "Load terrain data file for the new battlefield", NoPause),
    Row(C::GaInputRead, Open, 20, "ga1", Plain, In, "Load genetic algorithm input data file"),
};
static_assert(std::size(Table) == static_cast<std::size_t>(FileCommand::Count));

constexpr bool TableInCommandOrder()
{
    for (std::size_t k = 0; k < std::size(Table); ++k)
        if (Table[k].Command != static_cast<FileCommand>(k))
            return false;
    return true;
}
static_assert(TableInCommandOrder());

// Appends to a fixed buffer and stops, without complaint, when it is full.
class EchoSink {
public:
    explicit EchoSink(char (&buffer)[EchoBufferSize]) : Buffer(buffer) {}
    void Put(const char* text, std::size_t size)
    {
        const std::size_t room = EchoBufferSize - Used;
        const std::size_t n = size < room ? size : room;
        std::memcpy(Buffer + Used, text, n);
        Used += n;
    }
    void Put(const std::string& text) { Put(text.data(), text.size()); }
    std::size_t Size() const { return Used; }

private:
    char* Buffer;
    std::size_t Used = 0;
};

std::string WithoutLineFeeds(const char* text)
{
    std::string s = text;
    while (!s.empty() && s.front() == '\n')
        s.erase(0, 1);
    while (!s.empty() && s.back() == '\n')
        s.pop_back();
    return s;
}

}  // namespace

std::span<const FileCommandSpec> FileCommandTable() { return Table; }

const FileCommandSpec& FileCommandSettings(FileCommand command) { return Table[static_cast<std::size_t>(command)]; }

ChosenFile ChosenFile::FromPath(const std::string& path)
{
    ChosenFile file;
    file.PathName = path;
    file.FileName = FileNameOf(path);
    file.Extension = FileExtensionOf(path);
    file.FileTitle = file.FileName;
    const std::size_t dot = file.FileTitle.rfind('.');
    if (dot != std::string::npos)
        file.FileTitle.erase(dot);
    return file;
}

std::size_t FillEchoBuffer(const ChosenFile& file, EchoStyle style, char (&buffer)[EchoBufferSize])
{
    EchoSink sink(buffer);
    if (style == EchoStyle::None)
        return 0;
    const std::string lead = style == EchoStyle::LineFeed ? "\n" : "";
    const std::pair<const char*, const std::string*> lines[] = {
        {"Pathname: ", &file.PathName},
        {"Filename: ", &file.FileName},
        {"Extension: ", &file.Extension},
        {"File Title: ", &file.FileTitle},
    };
    for (const auto& [label, value] : lines) {
        sink.Put(lead + label + *value + "\n");
    }
    sink.Put("", 1);
    return sink.Size();
}

std::string CannotOpenMessage(FileCommand command, const std::string& path, const std::string& problem)
{
    return WithoutLineFeeds(FileCommandSettings(command).FailureText) + "\n" + path +
           (problem.empty() ? "" : "\n" + problem + ".");
}

namespace {

using CannotOpenReport = std::function<void(const std::string& problem)>;

// A reader's body gets the text read here, in one place for every reader: a
// file larger than any of its kind is refused from its size before it is
// read, a stream of no size known beforehand (a pipe, a device), which may
// never end, at the bound, and one whose bytes stop coming after a moment.
// Reading never waits on a FIFO that nobody writes.
FileCommandResult ReadIntoBody(CBrevimarDoc& doc, const ChosenFile& file, const FileCommandBody* streamBody,
                               const FileTextBody* textBody, const CannotOpenReport& cannotOpen)
{
    // A folder opens for reading on Linux and throws at the first read.
    std::error_code error;
    if (std::filesystem::is_directory(file.PathName, error)) {
        cannotOpen({});
        return FileCommandResult::CannotOpen;
    }
    std::string content;
    std::uintmax_t size = 0;
    switch (ReadBoundedFile(file.PathName, &content, &size)) {
    case BoundedReadResult::TooLarge:
        ReportReadProblem(doc, BadInputFileMessage(file.PathName, TextFileTooLargeProblem(size)));
        return FileCommandResult::TooLarge;
    case BoundedReadResult::Stalled:
        ReportReadProblem(doc, BadInputFileMessage(file.PathName, StalledFileProblem(size)));
        return FileCommandResult::Stalled;
    case BoundedReadResult::Failed:
        cannotOpen({});
        return FileCommandResult::CannotOpen;
    case BoundedReadResult::Read:
        break;
    }
    try {
        if (textBody) {
            (*textBody)(std::move(content), file);
        } else {
            // The stream takes the text over; it is not copied.
            std::stringstream text(std::move(content));
            text.imbue(std::locale::classic());
            (*streamBody)(text, file);
        }
    } catch (const std::ios_base::failure&) {
        cannotOpen({});
        return FileCommandResult::CannotOpen;
    }
    return FileCommandResult::Done;
}

// A writer's file waits a moment at most for the reader of a FIFO, and each
// write as long for room. What the body wrote and the file did not take
// whole (a full disk, a pipe whose reader stopped or went) is reported and
// never taken for a file written, so that a caller keeps what it would have
// let go once saved.
FileCommandResult WriteFromBody(CBrevimarDoc& doc, const ChosenFile& file, const FileCommandBody& body,
                                std::unique_ptr<OutputFile>* kept, const CannotOpenReport& cannotOpen)
{
    auto out = std::make_unique<OutputFile>(file.PathName, kept ? WriteAt::End : WriteAt::Position);
    if (!out->is_open()) {
        cannotOpen(out->Problem());
        return FileCommandResult::CannotOpen;
    }
    out->imbue(std::locale::classic());
    bool thrown = false;
    try {
        body(*out, file);
    } catch (const std::ios_base::failure&) {
        thrown = true;
    }
    if (kept)
        out->flush();
    else
        out->close();
    if (thrown || !*out) {
        ReportReadProblem(doc, CannotWriteMessage(file.PathName, out->Problem()));
        return FileCommandResult::WriteFailed;
    }
    if (kept)
        *kept = std::move(out);
    return FileCommandResult::Done;
}

// The frame around one of the two bodies: `streamBody` gets a writer's open
// stream or a reader's text as a stream, `textBody` a reader's text itself.
FileCommandResult RunFrame(CBrevimarDoc& doc, FileCommand command, const FileCommandBody* streamBody,
                           const FileTextBody* textBody, std::unique_ptr<OutputFile>* kept)
{
    const FileCommandSpec& spec = FileCommandSettings(command);
    const bool reader = spec.Dialog == FileDialogKind::Open;
    char echo[EchoBufferSize];

    if (spec.Pauses)
        doc.Pause();
    if (spec.SelectsInteractiveLoad) {
        doc.RunMode = InteractiveMode;
        doc.LoadInputFile = 1;
    }
    if (spec.SelectsTerrainFromFile)
        doc.Battlefield.TerrainMode = 2;

    FileDialogRequest request;
    request.Filter = spec.Filter;
    request.DefaultExtension = spec.DefaultExtension;
    request.Title = spec.Title;
    if (spec.InitialNameByLoadInputFile) {
        request.InitialName = doc.LoadInputFile == 1 ? "*.dat" : "*.run";
        // The chooser starts on the filter of the files this load reads.
        request.DefaultExtension = doc.LoadInputFile == 1 ? "dat" : "run";
        if (doc.LoadInputFile != 1)
            request.Title = "Load RUN file";
    }
    // A scenario written while a capture runs carries its frames: a RUN file.
    if (command == FileCommand::ScenarioWrite && doc.RunCaptureOn == 1) {
        request.DefaultExtension = "run";
        request.Title = "Save RUN file";
    }
    const std::optional<std::string> chosen =
        reader ? doc.host().ChooseFileToOpen(request) : doc.host().ChooseFileToSave(request);

    FileCommandResult result = FileCommandResult::Cancelled;
    if (chosen) {
        const ChosenFile file = ChosenFile::FromPath(*chosen);
        FillEchoBuffer(file, spec.Echo, echo);
        const CannotOpenReport cannotOpen = [&](const std::string& problem) {
            std::cerr << spec.FailureText << file.PathName << '\n';
            if (!problem.empty())
                std::cerr << problem << ".\n";
            doc.host().ShowError(CannotOpenMessage(command, file.PathName, problem));
        };
        // The chosen path itself, not a name relative to the current folder.
        result = reader ? ReadIntoBody(doc, file, streamBody, textBody, cannotOpen)
                        : WriteFromBody(doc, file, *streamBody, kept, cannotOpen);
    }
    if (reader)
        doc.host().InvalidateView();
    return result;
}

}  // namespace

FileCommandResult RunFileCommand(CBrevimarDoc& doc, FileCommand command, const FileCommandBody& body)
{
    return RunFrame(doc, command, &body, nullptr, nullptr);
}

FileCommandResult RunFileCommand(CBrevimarDoc& doc, FileCommand command, const FileTextBody& body)
{
    assert(FileCommandSettings(command).Dialog == FileDialogKind::Open);
    return RunFrame(doc, command, nullptr, &body, nullptr);
}

FileCommandResult RunFileCommand(CBrevimarDoc& doc, FileCommand command, const FileCommandBody& body,
                                 std::unique_ptr<OutputFile>* kept)
{
    assert(FileCommandSettings(command).Dialog == FileDialogKind::SaveAs && kept);
    return RunFrame(doc, command, &body, nullptr, kept);
}

}  // namespace brevimar
