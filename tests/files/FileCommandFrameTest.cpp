#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "files/FileCommandFrame.h"
#include "files/WordReader.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::TempFolder;

using testing::TestDocument;

// Rows whose texts are easy to get wrong: filters of a kind of file
// several commands share, writers reporting the input-file text, commands that do not pause.
struct RowCase {
    FileCommand Command;
    const char* Filter;
    bool Pauses;
    const char* Failure;
};
constexpr char In[] = "Error: cannot open input file.\n";
constexpr char Out[] = "\nError: cannot open output file.\n";
const RowCase Rows[] = {
    {FileCommand::AgentRead, "Brevimar Agent Input Data Files (*.agt)|*.agt||", true, In},
    {FileCommand::AgentWrite, "Brevimar Agent Input Data Files (*.agt)|*.agt||", true, Out},
    {FileCommand::AgentWeaponsWrite, "Brevimar Agent Weapon Input Data Files (*.awp)|*.awp||", true, In},
    {FileCommand::WaypointPathRead, "Brevimar Terrain Waypoint Path Files (*.pth)|*.pth||", true,
     "\nError: cannot open file.\n"},
    {FileCommand::WaypointPathWrite, "Brevimar Terrain Waypoint Path Files (*.pth)|*.pth||", false, Out},
    {FileCommand::WeaponRawDataWrite, "Brevimar Raw Weapon Data Files (*.rwd)|*.rwd||", false, In},
    {FileCommand::SetupTerrainRead, "Brevimar Terrain Input Data Files (*.ter)|*.ter||", false, In},
};

TEST(FileCommandFrame, CancelledChooserOfEveryRowAsksWithItsSettingsAndWritesNothing)
{
    for (const RowCase& row : Rows) {
        const FileCommandSpec& spec = FileCommandSettings(row.Command);
        EXPECT_STREQ(spec.Filter, row.Filter);
        EXPECT_STREQ(spec.FailureText, row.Failure);
        EXPECT_EQ(spec.Pauses, row.Pauses);
    }
    EXPECT_STREQ(FileCommandSettings(FileCommand::StartupRead).Filter, FileFilters[19]);
    for (const FileCommandSpec& spec : FileCommandTable()) {
        const bool open = spec.Dialog == FileDialogKind::Open;
        EXPECT_EQ(spec.Flags, open ? OFN_FILEMUSTEXIST : OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        TestDocument doc;
        doc->RunMode = GeneticAlgorithmMode;
        doc->LoadInputFile = 0;
        bool ran = false;
        const auto result = RunFileCommand(*doc, spec.Command, [&](std::iostream&, const ChosenFile&) { ran = true; });
        const int row = static_cast<int>(spec.Command);
        EXPECT_EQ(result, FileCommandResult::Cancelled) << row;
        EXPECT_FALSE(ran) << row;
        ASSERT_EQ(doc.Host.FileRequests.size(), 1u) << row;
        EXPECT_EQ(doc.Host.FileRequests[0].Filter, spec.Filter) << row;
        // A load that pre-fills "*.run" starts its chooser on the RUN files.
        EXPECT_EQ(doc.Host.FileRequests[0].DefaultExtension,
                  spec.InitialNameByLoadInputFile ? "run" : spec.DefaultExtension)
            << row;
        EXPECT_EQ(doc.Host.FileRequests[0].InitialName, spec.InitialNameByLoadInputFile ? "*.run" : "") << row;
        EXPECT_EQ(doc->Paused, spec.Pauses ? 1 : 0) << row;
        // Readers redraw, and the interactive switch of some stays after a cancel.
        EXPECT_EQ(doc.Host.InvalidateCount, open ? 1 : 0) << row;
        EXPECT_EQ(doc->RunMode, spec.SelectsInteractiveLoad ? InteractiveMode : GeneticAlgorithmMode) << row;
        EXPECT_EQ(doc->Battlefield.TerrainMode, spec.SelectsTerrainFromFile ? 2 : 0) << row;
    }
    EXPECT_TRUE(FileCommandSettings(FileCommand::TerrainRead).SelectsTerrainFromFile);
    EXPECT_TRUE(FileCommandSettings(FileCommand::TerrainModifiersRead).SelectsInteractiveLoad);
}

TEST(FileCommandFrame, EchoBufferHoldsTheNamesAndStopsAtItsSize)
{
    const ChosenFile file = ChosenFile::FromPath("/data/runs/battle.1.run");
    EXPECT_EQ(file.FileName, "battle.1.run");
    EXPECT_EQ(file.Extension, "run");
    EXPECT_EQ(file.FileTitle, "battle.1");

    char buffer[EchoBufferSize];
    const std::string plain =
        "Pathname: /data/runs/battle.1.run\nFilename: battle.1.run\nExtension: run\nFile Title: battle.1\n";
    ASSERT_EQ(FillEchoBuffer(file, EchoStyle::Plain, buffer), plain.size() + 1);
    EXPECT_EQ(std::string(buffer), plain);
    const std::string lf =
        "\nPathname: /data/runs/battle.1.run\n\nFilename: battle.1.run\n\nExtension: run\n\nFile Title: battle.1\n";
    ASSERT_EQ(FillEchoBuffer(file, EchoStyle::LineFeed, buffer), lf.size() + 1);
    EXPECT_EQ(std::string(buffer), lf);
    EXPECT_EQ(FillEchoBuffer(file, EchoStyle::None, buffer), 0u);

    const ChosenFile longName = ChosenFile::FromPath("/" + std::string(300, 'a') + ".dat");
    EXPECT_EQ(FillEchoBuffer(longName, EchoStyle::Plain, buffer), EchoBufferSize);
    EXPECT_EQ(std::string(buffer, 10), "Pathname: ");
}

TEST(FileCommandFrame, StreamsOpenOnTheChosenPath)
{
    const std::string folder = TempFolder();
    const std::string path = folder + "/elsewhere/squads.smw";
    std::filesystem::create_directories(folder + "/elsewhere");
    { std::ofstream(path) << "old text that is longer than the new one"; }

    // A writer truncates; the body writes in the C locale.
    TestDocument doc;
    doc.Host.FileChoices.push_back(path);
    EXPECT_EQ(RunFileCommand(*doc, FileCommand::SquadMatrixWrite,
                             [](std::iostream& out, const ChosenFile& file) {
                                 EXPECT_EQ(file.FileName, "squads.smw");
                                 out << 1234567 << ' ' << 0.5;
                             }),
              FileCommandResult::Done);
    std::string text;
    ASSERT_TRUE(ReadTextFile(path, &text));
    EXPECT_EQ(text, "1234567 0.5");

    // A reader reads what is there and redraws.
    doc.Host.FileChoices.push_back(path);
    std::string word;
    const auto read = [&](std::iostream& in, const ChosenFile&) { in >> word; };
    EXPECT_EQ(RunFileCommand(*doc, FileCommand::SquadMatrixRead, read), FileCommandResult::Done);
    EXPECT_EQ(word, "1234567");
    EXPECT_EQ(doc.Host.InvalidateCount, 1);
    EXPECT_TRUE(doc.Host.Messages.empty());

    // The scenario reader proposes the kind of file it is about to load.
    doc->LoadInputFile = 1;
    RunFileCommand(*doc, FileCommand::ScenarioRead, [](std::iostream&, const ChosenFile&) {});
    EXPECT_EQ(doc.Host.FileRequests.back().InitialName, "*.dat");
}

TEST(FileCommandFrame, FileThatDoesNotOpenIsReportedAndTheBodyNeverRuns)
{
    const std::string folder = TempFolder();
    const struct {
        FileCommand Command;
        std::string Path;
        const char* Message;
        std::string Why;  // a writer says why its file did not open
    } cases[] = {
        {FileCommand::CommMatrixRead, folder + "/missing.cmw", "Error: cannot open file.\n", ""},
        {FileCommand::FitnessWrite, folder + "/no/folder.fit", "Error: cannot open output file.\n",
         "\nNo such file or directory."},
        {FileCommand::SquadWeaponsWrite, folder, "Error: cannot open input file.\n",  // a folder, not a file
         "\nIs a directory."},
    };
    for (const auto& c : cases) {
        TestDocument doc;
        doc.Host.FileChoices.push_back(c.Path);
        bool ran = false;
        EXPECT_EQ(RunFileCommand(*doc, c.Command, [&](std::iostream&, const ChosenFile&) { ran = true; }),
                  FileCommandResult::CannotOpen);
        EXPECT_FALSE(ran);
        ASSERT_EQ(doc.Host.Messages.size(), 1u);
        EXPECT_EQ(doc.Host.Messages[0].Text, c.Message + c.Path + c.Why);
        EXPECT_EQ(doc.Host.Messages[0].Style, MB_OK | MB_ICONERROR);
        EXPECT_EQ(CannotOpenMessage(c.Command, c.Path), c.Message + c.Path);
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/no"));
}

// The menu readers' bodies take the whole file: one larger than any of its
// kind is refused from its size and the body never runs.
TEST(FileCommandFrame, FileLargerThanAnyOfItsKindIsRefusedAndTheBodyNeverRuns)
{
    for (const FileCommand command : {FileCommand::ScenarioRead, FileCommand::AgentRead, FileCommand::GaInputRead}) {
        const std::string path = testing::WriteSparse("large.dat", 300u << 20);
        TestDocument doc;
        doc.Host.FileChoices.push_back(path);
        bool ran = false;
        EXPECT_EQ(RunFileCommand(*doc, command, [&](std::iostream&, const ChosenFile&) { ran = true; }),
                  FileCommandResult::TooLarge);
        EXPECT_FALSE(ran);
        ASSERT_EQ(doc.Host.Messages.size(), 1u);
        EXPECT_EQ(doc.Host.Messages[0].Text, "Error: cannot read input file " + path +
                                                 ":\nthe file holds 314572800 bytes, more than the 16777216 any "
                                                 "file of its kind may hold.");
        EXPECT_EQ(doc.Host.InvalidateCount, 1);
    }
}

// A file of no size known before it is read (a pipe) is read no further
// than the 16 MiB bound, in the frame, for every reader: a scenario line and
// 16 MiB of blanks is refused there, naming the file, and the body never
// runs; within the bound the body gets the text whole.
TEST(FileCommandFrame, PipeIsReadNoFurtherThanTheBound)
{
    for (const std::size_t blanks : {std::size_t{100}, std::size_t{16u << 20}}) {
        const std::string bytes = "data_version 4\n" + std::string(blanks, ' ');
        const testing::FedPipe pipe("scenario.dat", bytes);
        TestDocument doc;
        doc.Host.FileChoices.push_back(pipe.Path);
        bool ran = false;
        std::string text;
        const FileCommandResult result =
            RunFileCommand(*doc, FileCommand::ScenarioRead, [&](std::iostream& stream, const ChosenFile&) {
                ran = true;
                text.assign(std::istreambuf_iterator<char>(stream), {});
            });
        if (blanks == 100) {
            EXPECT_EQ(result, FileCommandResult::Done);
            EXPECT_EQ(text, bytes);
            EXPECT_TRUE(doc.Host.Messages.empty());
            continue;
        }
        const std::string refusal = "Error: cannot read input file " + pipe.Path +
                                    ":\nthe file holds more than the 16777216 bytes any file of its kind may hold.";
        EXPECT_EQ(result, FileCommandResult::TooLarge);
        EXPECT_FALSE(ran);
        ASSERT_EQ(doc.Host.Messages.size(), 1u);
        EXPECT_EQ(doc.Host.Messages[0].Text, refusal);
        EXPECT_EQ(doc.Host.Logs, std::vector<std::string>{refusal});
    }
}

// Every menu reader goes through the frame: a pipe that nothing writes is
// waited on a moment, then refused, naming the file, and the body never runs.
TEST(FileCommandFrame, PipeThatNothingWritesIsRefusedAfterAMoment)
{
    const std::string path = testing::UnfedPipe("scenario.dat");
    const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
        TestDocument doc;
        doc.Host.FileChoices.push_back(path);
        bool ran = false;
        const FileCommandResult result =
            RunFileCommand(*doc, FileCommand::ScenarioRead, [&](std::iostream&, const ChosenFile&) { ran = true; });
        std::string said;
        for (const auto& message : doc.Host.Messages)
            said += message.Text + "|";
        return std::string(result == FileCommandResult::Stalled ? "stalled" : "not stalled") +
               (ran ? ", the body ran: " : ": ") + said;
    });
    EXPECT_EQ(answer, "stalled: Error: cannot read input file " + path +
                          ":\nnothing was written to it within 2 seconds.|");
}

// Every writer goes through the frame: a pipe that nothing reads is waited on
// a moment, then refused as a file that does not open, naming it, and the
// body never runs; one whose reader stops or closes early, or a device that
// takes nothing, fails the write, which is reported and never taken for
// done; one that is read gets every byte. Each save runs in a child, so that
// one that waits for ever fails instead of holding the suite.
TEST(FileCommandFrame, WriterWaitsAMomentForAPipesReaderAndReportsWhatItDidNotTake)
{
    std::string bytes(1 << 20, '\0');
    for (std::size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<char>(k % 251);
    enum Reader { None, Stopped, Reads, FullDevice, Closes };
    using Drained = testing::DrainedPipe;
    for (const Reader reader : {None, Stopped, Reads, FullDevice, Closes}) {
        std::optional<Drained> pipe;
        if (reader == Stopped || reader == Reads || reader == Closes)
            pipe.emplace("sample.mts", reader == Reads    ? Drained::Reader::Whole
                                       : reader == Closes ? Drained::Reader::ClosesEarly
                                                          : Drained::Reader::None);
        const std::string path =
            reader == None ? testing::UnfedPipe("sample.mts") : reader == FullDevice ? "/dev/full" : pipe->Path;
        const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
            TestDocument doc;
            doc.Host.FileChoices.push_back(path);
            bool ran = false;
            const FileCommandResult result =
                RunFileCommand(*doc, FileCommand::MultiRunSampleWrite, [&](std::iostream& out, const ChosenFile&) {
                    ran = true;
                    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                });
            std::string said = result == FileCommandResult::Done         ? "done"
                               : result == FileCommandResult::CannotOpen  ? "not opened"
                               : result == FileCommandResult::WriteFailed ? "write failed"
                                                                          : "other";
            said += ran ? ", the body ran: " : ": ";
            for (const auto& message : doc.Host.Messages)
                said += message.Text + "|";
            return said;
        });
        const std::string expected[] = {
            "not opened: Error: cannot open output file.\n" + path + "\nnothing read it within 2 seconds.|",
            // The pipe took what it holds, and nothing more came out of it.
            "write failed, the body ran: Error: cannot write output file " + path +
                ":\nit took nothing more within 2 seconds after " + std::to_string(pipe ? pipe->Capacity() : 0) +
                " bytes were written into it.|",
            "done, the body ran: ",
            "write failed, the body ran: Error: cannot write output file /dev/full:\nNo space left on device.|",
            // At most a page read and a page more written before it closed.
            "write failed, the body ran: Error: cannot write output file " + path + ":\nits reader closed it after " +
                std::to_string(testing::BytesBeforeReaderClosed(answer)) + " bytes were written into it.|",
        };
        if (reader == Closes) {
            EXPECT_GE(testing::BytesBeforeReaderClosed(answer), Drained::PageBytes) << answer;
            EXPECT_LE(testing::BytesBeforeReaderClosed(answer), 2 * Drained::PageBytes) << answer;
            EXPECT_EQ(pipe->Taken(), bytes.substr(0, pipe->Taken().size()));
        }
        EXPECT_EQ(answer, expected[reader]);
        if (reader == Reads) {
            EXPECT_TRUE(pipe->Taken() == bytes) << pipe->Taken().size() << " bytes came";
        }
    }
}

// A writer's file under the process's file-size limit of 100000 bytes, the
// signal at its default: what reaches the limit exactly is whole; a byte
// more is reported, not a kill, and the file holds the first 100000 bytes.
// Written in 1000-byte pieces, the bytes pass the writer's 64 KiB buffer, so
// the limit falls inside the flush at the close; written as one piece, past
// the buffer, inside that one write.
TEST(FileCommandFrame, AWriteCutByTheFileSizeLimitIsReported)
{
    constexpr std::size_t Limit = 100000;
    std::string bytes(Limit + 1000, '\0');
    for (std::size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<char>(k % 251);
    const std::string path = TempFolder() + "/sample.mts";
    const struct {
        std::size_t Size, Piece;
        bool Whole;
    } cases[] = {
        {Limit, 1000, true},
        {Limit + 1000, 1000, false},
        {Limit, Limit, true},
        {Limit + 1, Limit + 1, false},
    };
    for (const auto& c : cases) {
        const std::string answer = testing::AnswerUnderFileSizeLimit(Limit, [&] {
            TestDocument doc;
            doc.Host.FileChoices.push_back(path);
            const FileCommandResult result =
                RunFileCommand(*doc, FileCommand::MultiRunSampleWrite, [&](std::iostream& out, const ChosenFile&) {
                    for (std::size_t at = 0; at < c.Size; at += c.Piece)
                        out.write(bytes.data() + at, static_cast<std::streamsize>(std::min(c.Piece, c.Size - at)));
                });
            std::string said = result == FileCommandResult::Done ? "done: " : "failed: ";
            for (const auto& message : doc.Host.Messages)
                said += message.Text + "|";
            return said;
        });
        EXPECT_EQ(answer, c.Whole ? "done: " : "failed: Error: cannot write output file " + path + ":\nFile too large.|")
            << c.Size << " in pieces of " << c.Piece;
        std::string written;
        ASSERT_TRUE(ReadTextFile(path, &written));
        EXPECT_TRUE(written == bytes.substr(0, Limit)) << written.size() << " bytes of " << c.Size;
    }
}

}  // namespace
}  // namespace brevimar
