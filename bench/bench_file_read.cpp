// What a File-menu reader costs on the largest file the readers take: one
// reader of each kind (scenario, stored run, GA input file, landscape input
// file, and the terrain file for the auxiliary readers, which share one way
// of reading), each through its menu command on a valid file padded with
// blanks to one byte under the text-file bound, and the stored run padded
// with CRs as well, each of which ends a line. Reports how far a read
// raises the peak resident set above the resident set before it (MB), beside
// the file's size and the rise as a multiple of it, and the time per read.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "core/Document.h"
#include "core/TextFileBound.h"
#include "experiments/GaEngine.h"
#include "experiments/LandscapeFiles.h"
#include "files/TerrainFiles.h"
#include "run/ScenarioLoad.h"

namespace {

using namespace brevimar;

constexpr std::uintmax_t FileBytes = MaxTextFileBytes - 1;

// A reader, a valid file of its kind to pad, and its menu command: true
// when the command read the file.
struct ReaderKind {
    const char* Sample;  // below the source tree
    bool (*Read)(CBrevimarDoc& doc);
    char Pad = ' ';
};

const ReaderKind Scenario{"bench/data/large.dat", [](CBrevimarDoc& doc) {
                              doc.LoadInputFile = 1;
                              return LoadInputDataFile(doc) == 1;
                          }};
const ReaderKind StoredRun{"tests/data/stored_v4.run",
                           [](CBrevimarDoc& doc) { return LoadStoredRunFile(doc) == 1; }};
const ReaderKind StoredRunCrPadded{StoredRun.Sample, StoredRun.Read, '\r'};
const ReaderKind GaInput{"fuzz/seeds/ga_input/two_squads.ga1", [](CBrevimarDoc& doc) {
                             OnFileLoadGaInput(doc);
                             return doc.RunMode == GeneticAlgorithmMode;
                         }};
const ReaderKind LandscapeInput{"fuzz/seeds/landscape_input/sweep.f1", [](CBrevimarDoc& doc) {
                                    OnLoadLandscapeFile(doc);
                                    return doc.RunMode == FitnessLandscapeMode;
                                }};
const ReaderKind Terrain{"fuzz/seeds/terrain_data/written.ter",
                         [](CBrevimarDoc& doc) { return LoadTerrainFile(doc) == 1; }};

// Answers every Open chooser with one path and counts the error boxes, which
// a refused file shows; messages go to standard error.
class ChosenFileHost : public HeadlessHost {
public:
    explicit ChosenFileHost(std::string path) : Path(std::move(path)) {}
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return Path; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override
    {
        Errors += (style & MB_ICONERROR) != 0;
        return HeadlessHost::MessageBox(text, caption, style);
    }

    int Errors = 0;

private:
    std::string Path;
};

// A field of /proc/self/status, in bytes.
double StatusBytes(const std::string& label)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    double kB = 0;
    while (status >> name) {
        if (name == label) {
            status >> kB;
            return kB * 1024.0;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

// Starts the peak resident set afresh from the resident set now.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The padded file and a new document whose Open chooser answers it.
struct PaddedRead {
    const ReaderKind& Kind;
    std::string Path;
    ChosenFileHost Host{Path};
    std::unique_ptr<CBrevimarDoc> Doc = CBrevimarDoc::Create();

    explicit PaddedRead(const ReaderKind& kind) : Kind(kind), Path(PaddedPath(kind))
    {
        // Written in pieces: a block of the file's size freed here would
        // leave the heap ready for the read that is measured.
        const std::string sample = std::string(BREVIMAR_SOURCE_DIR) + "/" + kind.Sample;
        std::ifstream in(sample, std::ios::binary);
        std::ofstream out(Path, std::ios::binary);
        out << in.rdbuf();
        const std::string blanks(1 << 16, kind.Pad);
        for (std::uintmax_t size = std::filesystem::file_size(sample); size < FileBytes; size += blanks.size()) {
            const std::uintmax_t piece = std::min<std::uintmax_t>(blanks.size(), FileBytes - size);
            out.write(blanks.data(), static_cast<std::streamsize>(piece));
        }
        out.close();
        Doc->SetHost(&Host);
        Doc->PrepareNewDocument();
    }
    ~PaddedRead() { std::filesystem::remove(Path); }

    static std::string PaddedPath(const ReaderKind& kind)
    {
        const std::filesystem::path name = std::string("brevimar-padded-") + std::to_string(::getpid()) +
                                           std::filesystem::path(kind.Sample).extension().string();
        return (std::filesystem::temp_directory_path() / name).string();
    }

    bool Read()
    {
        const int errors = Host.Errors;
        return Kind.Read(*Doc) && Host.Errors == errors;
    }
};

// The rise of one read, made in a child process so that it starts from the
// heap as this process has it before any read (the benchmark of the time of
// a read comes after this one), as the program's first read does: a later
// read in one process may find the room it needs in what the heap kept from
// the one before, and show no rise at all. -1 when the file was not read.
double PeakRiseOfAFirstReadIn(PaddedRead& read)
{
    int result[2];
    if (::pipe(result) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ResetPeak();
        const double before = StatusBytes("VmRSS:");
        const double rise = read.Read() ? StatusBytes("VmHWM:") - before : -1;
        const bool written = ::write(result[1], &rise, sizeof rise) == sizeof rise;
        ::_exit(written ? 0 : 1);
    }
    ::close(result[1]);
    double rise = -1;
    if (child < 0 || ::read(result[0], &rise, sizeof rise) != sizeof rise)
        rise = -1;
    ::close(result[0]);
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    return rise;
}

// Its time is that of a child's start and end around the read: the time of
// a read is the next benchmark's.
void PeakRiseOfAFirstRead(benchmark::State& state, const ReaderKind& kind)
{
    PaddedRead read(kind);
    double rise = 0;
    for (auto _ : state) {
        const double once = PeakRiseOfAFirstReadIn(read);
        if (once < 0) {
            state.SkipWithError("the padded file was not read");
            return;
        }
        rise = std::max(rise, once);
    }
    state.counters["file_MB"] = static_cast<double>(FileBytes) / 1e6;
    state.counters["peak_rise_MB"] = rise / 1e6;
    state.counters["rise_per_file"] = rise / static_cast<double>(FileBytes);
}
BENCHMARK_CAPTURE(PeakRiseOfAFirstRead, scenario, Scenario)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PeakRiseOfAFirstRead, stored_run, StoredRun)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PeakRiseOfAFirstRead, ga_input, GaInput)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PeakRiseOfAFirstRead, landscape_input, LandscapeInput)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(PeakRiseOfAFirstRead, terrain, Terrain)->Unit(benchmark::kMillisecond)->UseRealTime();

void ReadOfBoundSize(benchmark::State& state, const ReaderKind& kind)
{
    PaddedRead read(kind);
    for (auto _ : state) {
        if (!read.Read()) {
            state.SkipWithError("the padded file was not read");
            return;
        }
    }
}
BENCHMARK_CAPTURE(ReadOfBoundSize, scenario, Scenario)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadOfBoundSize, stored_run, StoredRun)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadOfBoundSize, stored_run_cr_padded, StoredRunCrPadded)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadOfBoundSize, ga_input, GaInput)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadOfBoundSize, landscape_input, LandscapeInput)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadOfBoundSize, terrain, Terrain)->Unit(benchmark::kMillisecond);

}  // namespace
