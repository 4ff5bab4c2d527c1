// What the desktop program holds with the reference scenario loaded in run
// mode 1: the built program is started on large.dat on the offscreen window
// system (unless QT_QPA_PLATFORM names another), left until neither its
// resident set nor its CPU time has changed for a second, measured from /proc
// and killed. The resident set is read once with the start-up splash window
// still open (VmRSS_at_start) and every figure once it has closed.
// Counters, in MiB: the resident set and its anonymous and file-backed parts,
// the proportional set (shared library pages divided among the processes that
// map them), the private pages, and how much of the file-backed part is Qt's
// libraries and the program's own executable. BareQtWindow measures the same
// of a Qt Widgets main window of the same shape with nothing of ours, the
// floor the program stands on.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

// "Key:   1234 kB" lines of a /proc file, in KiB.
std::map<std::string, long> ReadKiB(const std::string& path)
{
    std::map<std::string, long> values;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::istringstream rest(line.substr(colon + 1));
        long kib = 0;
        std::string unit;
        if (rest >> kib >> unit && unit == "kB")
            values[line.substr(0, colon)] = kib;
    }
    return values;
}

// Resident KiB of the file mappings whose path contains one of the names.
std::map<std::string, long> FileRssBy(const std::string& smapsPath, const std::vector<std::string>& names)
{
    std::map<std::string, long> sums;
    std::ifstream smaps(smapsPath);
    std::string line, mapping;
    while (std::getline(smaps, line)) {
        // A mapping's header line starts with its address range "lo-hi ".
        const auto space = line.find(' ');
        if (space != std::string::npos && line.find('-') < space && line.find(':') > space) {
            const auto slash = line.find('/');
            mapping = slash == std::string::npos ? std::string() : line.substr(slash);
            continue;
        }
        if (mapping.empty() || line.rfind("Rss:", 0) != 0)
            continue;
        const long kib = std::strtol(line.c_str() + 4, nullptr, 10);
        for (const std::string& name : names)
            if (mapping.find(name) != std::string::npos)
                sums[name] += kib;
    }
    return sums;
}

// CPU time the process has used, in clock ticks: utime and stime of its stat
// line, the 14th and 15th fields (the name in parentheses may hold blanks).
long CpuTicks(const std::string& statPath)
{
    std::ifstream file(statPath);
    std::string line;
    std::getline(file, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 13 && fields >> field; ++i) {
    }
    fields >> utime >> stime;
    return utime + stime;
}

// Waits until neither the resident set nor the CPU time of the process has
// changed for a second (the window shown and the program idle in its event
// loop), no earlier than notBefore and no later than ten seconds after it,
// from start. False when the process ended.
bool Settle(pid_t pid, const std::string& proc, std::chrono::steady_clock::time_point start,
            std::chrono::seconds notBefore)
{
    auto stableSince = std::chrono::steady_clock::now();
    long lastRss = -1, lastCpu = -1;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return false;
        const auto now = std::chrono::steady_clock::now();
        const long rss = ReadKiB(proc + "/status")["VmRSS"];
        const long cpu = CpuTicks(proc + "/stat");
        if (rss != lastRss || cpu != lastCpu) {
            lastRss = rss;
            lastCpu = cpu;
            stableSince = now;
        }
        if (now - start < notBefore)
            continue;
        if (now - stableSince >= std::chrono::seconds(1) || now - start >= notBefore + std::chrono::seconds(10))
            return true;
    }
}

double MiB(long kib) { return static_cast<double>(kib) / 1024.0; }

// The environment of a measured process: its own settings folder (the
// program keeps its recent files and window place there, so a folder of its
// own keeps the user's out of the measurement and intact) and the offscreen
// window system unless the caller names another.
class ChildEnvironment {
public:
    ChildEnvironment()
    {
        std::string folder = (std::filesystem::temp_directory_path() / "brevimar-bench-XXXXXX").string();
        if (mkdtemp(folder.data()))
            Settings = folder;
        for (char** entry = environ; *entry; ++entry)
            if (std::strncmp(*entry, "XDG_CONFIG_HOME=", 16) != 0)
                Entries.emplace_back(*entry);
        Entries.push_back("XDG_CONFIG_HOME=" + Settings);
        if (!std::getenv("QT_QPA_PLATFORM"))
            Entries.emplace_back("QT_QPA_PLATFORM=offscreen");
        for (std::string& entry : Entries)
            Pointers.push_back(entry.data());
        Pointers.push_back(nullptr);
    }
    ~ChildEnvironment()
    {
        std::error_code ignored;
        if (!Settings.empty())
            std::filesystem::remove_all(Settings, ignored);
    }
    bool Ready() const { return !Settings.empty(); }
    char** Envp() { return Pointers.data(); }

private:
    std::string Settings;
    std::vector<std::string> Entries;
    std::vector<char*> Pointers;
};

struct Measured {
    std::map<std::string, long> Status, Rollup, Files;
    long StartRss = 0;  // VmRSS at the first idle moment
    std::string Error;
};

// Starts the program with its argument, reads the resident set at its first
// idle moment and every figure at the idle moment after notBefore, and ends it.
Measured Measure(const std::string& program, const std::string& argument, std::chrono::seconds notBefore)
{
    Measured m;
    ChildEnvironment environment;
    if (!environment.Ready()) {
        m.Error = "cannot make a settings folder";
        return m;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string arg0 = program, arg1 = argument;
    char* argv[] = {arg0.data(), arg1.empty() ? nullptr : arg1.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environment.Envp());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m.Error = "cannot start " + program;
        return m;
    }
    const std::string proc = "/proc/" + std::to_string(pid);
    const auto start = std::chrono::steady_clock::now();
    if (Settle(pid, proc, start, std::chrono::seconds(0))) {
        m.StartRss = ReadKiB(proc + "/status")["VmRSS"];
        if (Settle(pid, proc, start, notBefore)) {
            m.Status = ReadKiB(proc + "/status");
            m.Rollup = ReadKiB(proc + "/smaps_rollup");
            m.Files = FileRssBy(proc + "/smaps", {"libQt6", program});
        }
    }
    if (m.Status.empty())
        m.Error = program + " ended before it settled";
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return m;
}

void Report(benchmark::State& state, Measured& m)
{
    if (!m.Error.empty()) {
        state.SkipWithError(m.Error.c_str());
        return;
    }
    state.counters["VmRSS_MiB"] = MiB(m.Status["VmRSS"]);
    state.counters["RssAnon_MiB"] = MiB(m.Status["RssAnon"]);
    state.counters["RssFile_MiB"] = MiB(m.Status["RssFile"]);
    state.counters["RssShmem_MiB"] = MiB(m.Status["RssShmem"]);
    state.counters["Pss_MiB"] = MiB(m.Rollup["Pss"]);
    state.counters["Private_MiB"] = MiB(m.Rollup["Private_Clean"] + m.Rollup["Private_Dirty"]);
    state.counters["QtLibs_MiB"] = MiB(m.Files["libQt6"]);
}

// The program on large.dat: read with the splash window still open
// (VmRSS_at_start) and once it has closed, 7.5 s after the start.
void ProgramWithScenario(benchmark::State& state)
{
    const std::string program = BREVIMAR_PROGRAM;
    Measured m;
    for (auto _ : state)
        m = Measure(program, std::string(BREVIMAR_BENCH_DATA) + "/large.dat", std::chrono::seconds(8));
    Report(state, m);
    if (m.Error.empty()) {
        state.counters["Program_MiB"] = MiB(m.Files[program]);
        state.counters["VmRSS_at_start_MiB"] = MiB(m.StartRss);
    }
}
BENCHMARK(ProgramWithScenario)->Unit(benchmark::kMillisecond)->Iterations(1);

// The floor: a bare Qt Widgets main window of the same shape.
void BareQtWindow(benchmark::State& state)
{
    Measured m;
    for (auto _ : state)
        m = Measure(BREVIMAR_BARE_WINDOW, "", std::chrono::seconds(0));
    Report(state, m);
}
BENCHMARK(BareQtWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
