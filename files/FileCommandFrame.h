// The frame that every scenario and data file command runs around its own
// reading or writing:
//
//   1. pause the run (most commands);
//   2. some readers switch to the interactive run mode first (table);
//   3. ask the host for a file: an Open chooser for readers (the file must
//      exist), a Save As chooser for writers (no read-only box, confirmation
//      before an existing file is replaced), with the command's filter and
//      default extension;
//   4. echo the chosen names into a 200-byte buffer of the command's own,
//      which nobody ever reads (kept because the commands always did it);
//   5. open a stream on the chosen path, in the C locale: input for readers,
//      output (created or truncated) for writers;
//   6. run the body: a writer's on the open stream, a reader's on the
//      file's text, read from the stream no further than MaxTextFileBytes
//      and given to the body as it was read (or as a stream over it, for a
//      body that parses a stream);
//   7. close the stream; readers then ask for a redraw of the view.
//
// A cancelled chooser ends the command with nothing read or written (readers
// still redraw, and the run-mode switch of step 2 stays). A file that cannot
// be opened, or one to read that is far larger than any of its kind (from
// its size, or at the bound for a stream of no known size), is reported to
// the user and on standard error, and the command is abandoned with the
// document as it was. Neither a reader nor a writer waits on a FIFO for
// more than a moment: one that nobody writes, or nobody reads, is refused as
// a file that does not open, naming it; a write the file did not take whole
// (a full disk, a pipe whose reader stopped or went) is reported and the
// command is not taken as done.
//
// Using it from a command:
//
//   const FileCommandResult r = RunFileCommand(doc, FileCommand::TerrainRead,
//       [&](std::string&& text, const ChosenFile& file) { ...read... });
//   RunFileCommand(doc, FileCommand::TerrainWrite,
//       [&](std::iostream& stream, const ChosenFile& file) { ...write... });
//
// The frame itself keeps no state between commands.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>

namespace brevimar {

class CBrevimarDoc;
class OutputFile;

// Every command (or caller) that runs the frame.
enum class FileCommand {
    AgentRead,               // File > Load > Agent Data > "Agent Data File..."
    AgentWrite,              // File > Save > Agent Data > "Agent Data File..."
    AgentWeaponsRead,        // "Agent-Specific Weapons Parameter Data File..."
    AgentWeaponsWrite,
    SquadWeaponsRead,        // "Squad-Specific Weapons Parameter Data File..."
    SquadWeaponsWrite,
    CommMatrixRead,          // "Communications Matrix..."
    CommMatrixWrite,         // also the genetic algorithm's chromosome displays
    SquadMatrixRead,         // "Squad-Matrix Weights..."
    SquadMatrixWrite,        // also the genetic algorithm's chromosome displays
    TerrainRead,             // File > Load > Terrain Data > "Terrain Data File..."
    TerrainWrite,
    TerrainModifiersRead,    // "Terrain-Modified Agent Data..."
    TerrainModifiersWrite,
    WaypointPathRead,        // "Terrain Waypoint Path File..."
    WaypointPathWrite,       // does not pause
    ScenarioRead,            // "Load Brevimar Input Data File..." / "Load Brevimar RUN File..."
    ScenarioWrite,           // "Brevimar Input Data File...", "....Stop RUN Capture", current chromosome
    BestScenarioWrite,       // the genetic algorithm's best-chromosome display
    FitnessWrite,            // end of a fitness-landscape run
    AttritionWrite,          // multiple time-series raw data; the Attrition chart
    MultiRunGraphWrite,
    MultiRunSampleWrite,
    CapacityDimensionWrite,  // "Calculate Capacity Dimension (Snapshot at time t)..."
    WeaponRawDataWrite,      // inside the multiple time-series batch; does not pause
    StartupRead,             // the start-up reader; does not pause
    FileOpenRead,            // the view's File Open
    SetupTerrainRead,        // terrain read by battlefield set-up; does not pause
    GaInputRead,             // "1-Sided GA (Genetic Algorithm) Input Data File..."
    Count
};

enum class FileDialogKind { Open, SaveAs };

// How the chosen names are echoed: plain labels, each label after a line
// feed, or not at all.
enum class EchoStyle { Plain, LineFeed, None };

// Chooser flags, with the window system's values. The host's Open chooser
// carries OFN_FILEMUSTEXIST and its Save chooser the other two.
constexpr unsigned OFN_OVERWRITEPROMPT = 0x2;
constexpr unsigned OFN_HIDEREADONLY = 0x4;
constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;

// One command's settings.
struct FileCommandSpec {
    FileCommand Command;
    FileDialogKind Dialog;
    const char* Title;             // the chooser's title: what it wants
    unsigned Flags;
    const char* Filter;            // "Description (*.x)|*.x||"
    const char* DefaultExtension;  // without the dot
    bool Pauses;
    bool SelectsInteractiveLoad;   // RunMode := 1 and LoadInputFile := 1 before the chooser
    bool SelectsTerrainFromFile;   // TerrainMode := 2 before the chooser
    bool InitialNameByLoadInputFile;  // chooser proposes "*.dat" when LoadInputFile is 1, else "*.run"
    EchoStyle Echo;
    const char* FailureText;       // as written to standard error when the file does not open
};

// The filters the commands use, F1 .. F20 (entry 0 is empty).
extern const char* const FileFilters[21];

// The standard-error texts of a file that does not open.
extern const char CannotOpenInputText[];   // "Error: cannot open input file." and a line feed
extern const char CannotOpenOutputText[];  // a line feed, "Error: cannot open output file." and a line feed
extern const char CannotOpenFileText[];    // a line feed, "Error: cannot open file." and a line feed

std::span<const FileCommandSpec> FileCommandTable();
const FileCommandSpec& FileCommandSettings(FileCommand command);

// The chooser's answer, split as the framework's file dialog names it.
struct ChosenFile {
    std::string PathName;   // full path
    std::string FileName;   // name with extension
    std::string Extension;  // without the dot
    std::string FileTitle;  // name without extension

    static ChosenFile FromPath(const std::string& path);
};

// The echo of the chosen names: "Pathname: ", "Filename: ", "Extension: "
// and "File Title: " lines (each label after a line feed in the LineFeed
// style), then a NUL. Writing stops silently when the buffer is full.
// Returns the number of bytes written.
constexpr std::size_t EchoBufferSize = 200;
std::size_t FillEchoBuffer(const ChosenFile& file, EchoStyle style, char (&buffer)[EchoBufferSize]);

enum class FileCommandResult {
    Done,        // the body ran
    Cancelled,   // the chooser was cancelled: nothing read or written
    CannotOpen,  // the file did not open: reported, nothing read or written
    TooLarge,    // a file to read holds more than any of its kind (MaxTextFileBytes): reported, the body not run
    Stalled,     // a file to read (a FIFO) gave nothing more within MaxWriterWait: reported, the body not run
    WriteFailed, // a file to write took not all the body wrote: reported; what it holds is not the whole
};

// The body gets a stream in the C locale and the chosen names: for Save As
// rows the open output stream, for Open rows one holding the file's text. A
// reader that finds bad content reports it itself and leaves the document as
// it was.
using FileCommandBody = std::function<void(std::iostream& stream, const ChosenFile& file)>;

// A reader's body that wants the text itself: the file's text as it was
// read, the body's to keep (it may move from it), and the chosen names.
// Open rows only.
using FileTextBody = std::function<void(std::string&& text, const ChosenFile& file)>;

FileCommandResult RunFileCommand(CBrevimarDoc& doc, FileCommand command, const FileCommandBody& body);
FileCommandResult RunFileCommand(CBrevimarDoc& doc, FileCommand command, const FileTextBody& body);

// A writer whose file stays open for what comes later (the batch's weapons
// raw data): once the body has written, the frame hands the open file over
// in *kept instead of closing it, so that a pipe's reader sees no end in
// between, and every later write goes to the file's end. Save As rows only.
FileCommandResult RunFileCommand(CBrevimarDoc& doc, FileCommand command, const FileCommandBody& body,
                                 std::unique_ptr<OutputFile>* kept);

// What the user is shown when the file does not open: the command's failure
// text without its surrounding line feeds, then the path on a line of its
// own, then why, when the path does not tell (a FIFO nobody read).
std::string CannotOpenMessage(FileCommand command, const std::string& path, const std::string& problem = {});

}  // namespace brevimar
