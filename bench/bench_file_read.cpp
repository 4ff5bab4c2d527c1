// What Load Input Data File costs on the largest file the readers take: the
// reference scenario padded with blanks to one byte under the text-file
// bound. Reports how far a load raises the peak resident set above the
// resident set before it (MB), beside the file's size, and the time per load.
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
#include "run/ScenarioLoad.h"

namespace {

using namespace brevimar;

constexpr std::uintmax_t FileBytes = MaxTextFileBytes - 1;

// Answers every Open chooser with one path; messages go to standard error.
class ChosenFileHost : public HeadlessHost {
public:
    explicit ChosenFileHost(std::string path) : Path(std::move(path)) {}
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return Path; }

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

// The padded scenario and a new document whose Open chooser answers it.
struct PaddedLoad {
    std::string Path =
        (std::filesystem::temp_directory_path() / ("brevimar-padded-" + std::to_string(::getpid()) + ".dat")).string();
    ChosenFileHost Host{Path};
    std::unique_ptr<CBrevimarDoc> Doc = CBrevimarDoc::Create();

    PaddedLoad()
    {
        // Written in pieces: a block of the file's size freed here would
        // leave the heap ready for the load that is measured.
        const std::string reference = std::string(BREVIMAR_BENCH_DATA) + "/large.dat";
        std::ifstream in(reference, std::ios::binary);
        std::ofstream out(Path, std::ios::binary);
        out << in.rdbuf();
        const std::string blanks(1 << 16, ' ');
        for (std::uintmax_t size = std::filesystem::file_size(reference); size < FileBytes; size += blanks.size()) {
            const std::uintmax_t piece = std::min<std::uintmax_t>(blanks.size(), FileBytes - size);
            out.write(blanks.data(), static_cast<std::streamsize>(piece));
        }
        out.close();
        Doc->SetHost(&Host);
        Doc->PrepareNewDocument();
    }
    ~PaddedLoad() { std::filesystem::remove(Path); }

    bool Load()
    {
        Doc->LoadInputFile = 1;
        return LoadInputDataFile(*Doc) == 1;
    }
};

// The rise of one load, made in a child process so that it starts from the
// heap as this process has it before any load (the benchmark of the time of
// a load comes after this one), as the program's first load does: a later
// load in one process may find the room it needs in what the heap kept from
// the one before, and show no rise at all. -1 when the file was not read.
double PeakRiseOfAFirstLoad(PaddedLoad& load)
{
    int result[2];
    if (::pipe(result) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ResetPeak();
        const double before = StatusBytes("VmRSS:");
        const double rise = load.Load() ? StatusBytes("VmHWM:") - before : -1;
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

// Its time is that of a child's start and end around the load: the time of
// a load is the next benchmark's.
void PeakRiseOfALoad(benchmark::State& state)
{
    PaddedLoad load;
    double rise = 0;
    for (auto _ : state) {
        const double once = PeakRiseOfAFirstLoad(load);
        if (once < 0) {
            state.SkipWithError("the padded scenario was not read");
            return;
        }
        rise = std::max(rise, once);
    }
    state.counters["file_MB"] = static_cast<double>(FileBytes) / 1e6;
    state.counters["peak_rise_MB"] = rise / 1e6;
}
BENCHMARK(PeakRiseOfALoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void LoadInputDataFileOfBoundSize(benchmark::State& state)
{
    PaddedLoad load;
    for (auto _ : state) {
        if (!load.Load()) {
            state.SkipWithError("the padded scenario was not read");
            return;
        }
    }
}
BENCHMARK(LoadInputDataFileOfBoundSize)->Unit(benchmark::kMillisecond);

}  // namespace
