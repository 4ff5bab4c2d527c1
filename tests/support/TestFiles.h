// Fixture files and scratch files for tests.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sstream>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "files/WordReader.h"

namespace brevimar::testing {

inline std::string DataPath(const std::string& name) { return std::string(BREVIMAR_TEST_DATA) + "/" + name; }

// The text of a fixture in tests/data.
inline std::string FixtureText(const std::string& name)
{
    std::string text;
    EXPECT_TRUE(ReadTextFile(DataPath(name), &text)) << name;
    return text;
}

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A text in a buffer of its exact size: no terminating zero, nothing after
// its last byte, so that a read short of its end, or past it (under the
// sanitizers), shows.
class ExactText {
public:
    explicit ExactText(const std::string& text) : Bytes(std::make_unique<char[]>(text.size())), Size(text.size())
    {
        std::memcpy(Bytes.get(), text.data(), Size);
    }
    std::string_view View() const { return {Bytes.get(), Size}; }

private:
    std::unique_ptr<char[]> Bytes;
    std::size_t Size;
};

// The scratch folder of this test program inside the build tree, one per
// process, so that neither the test runs of two build trees nor copies of
// one program running side by side share files. It goes when the program
// ends.
inline const std::filesystem::path& ScratchRoot()
{
    struct Root {
        std::filesystem::path Path =
            std::filesystem::path(BREVIMAR_BINARY_DIR) / "test-files" / std::to_string(::getpid());
        ~Root()
        {
            std::error_code ignored;
            std::filesystem::remove_all(Path, ignored);
        }
    };
    static const Root root;
    return root.Path;
}

// An empty folder of the running test's own in the program's scratch folder.
inline std::string TempFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = ScratchRoot() / (std::string(info->test_suite_name()) + "-" + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

// A file of the test's own, in a folder of the test's own in the program's
// scratch folder; returns its path.
inline std::string WriteTemp(const std::string& name, const std::string& text)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = ScratchRoot() / (std::string(info->test_suite_name()) + "-" + info->name());
    const std::filesystem::path path = folder / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

// A file of `size` bytes of zeros that takes no room on the disk (sparse).
inline std::string WriteSparse(const std::string& name, std::uintmax_t size, const std::string& start = {})
{
    const std::string path = WriteTemp(name, start);
    std::filesystem::resize_file(path, size);
    return path;
}

// A named pipe of the test's own, fed `bytes` by a thread once a reader
// opens it: a file of no size known before it is read. A reader that stops
// early leaves the rest unwritten (the writes fail, SIGPIPE ignored). The
// thread never blocks, so the end of the pipe never waits on it: a pipe that
// nothing opened fails the test that made it, and one whose reader neither
// reads it to its end nor closes it is left unfed.
class FedPipe {
public:
    FedPipe(const std::string& name, std::string bytes) : Bytes(std::move(bytes))
    {
        std::signal(SIGPIPE, SIG_IGN);
        Path = WriteTemp(name, "");
        std::filesystem::remove(Path);
        EXPECT_EQ(::mkfifo(Path.c_str(), 0600), 0) << Path;
        Writer = std::thread([this] { Feed(); });
    }
    ~FedPipe()
    {
        Ended = true;
        Writer.join();
        if (!Opened)
            ADD_FAILURE() << "nothing opened the pipe " << Path;
        // Gone, so that a file of the same name is written, not fed.
        std::error_code ignored;
        std::filesystem::remove(Path, ignored);
    }
    FedPipe(const FedPipe&) = delete;
    FedPipe& operator=(const FedPipe&) = delete;

    std::string Path;

private:
    void Feed()
    {
        // A writer's open fails (ENXIO) until a reader has the pipe open, or
        // is waiting in its own open for a writer.
        int fd = -1;
        while (fd < 0 && !Ended) {
            fd = ::open(Path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0 && errno != ENXIO)
                return;
            if (fd < 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (fd < 0)
            return;
        Opened = true;
        for (std::size_t at = 0; at < Bytes.size() && !Ended;) {
            const ::ssize_t n = ::write(fd, Bytes.data() + at, Bytes.size() - at);
            if (n > 0) {
                at += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EAGAIN) {
                ::pollfd room{fd, POLLOUT, 0};
                ::poll(&room, 1, 10);
            } else {
                break;  // the reader has closed it
            }
        }
        ::close(fd);
    }

    std::string Bytes;
    std::atomic<bool> Ended = false, Opened = false;
    std::thread Writer;
};

// A named pipe of the test's own that nothing feeds; returns its path. Made
// anew each time, so that no writer of one before is left in it.
inline std::string UnfedPipe(const std::string& name)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = ScratchRoot() / (std::string(info->test_suite_name()) + "-" + info->name());
    const std::filesystem::path path = folder / name;
    std::filesystem::create_directories(folder);
    std::filesystem::remove(path);
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
    return path.string();
}

// A named pipe of the test's own, opened for reading here, so that a writer
// finds its reader at once, and read by a thread until its writer closes it.
// The thread gives up after 15 seconds, so that a writer that never comes
// or never closes fails the test instead of holding it. With `reads` false
// nothing is read: the pipe fills and its writer has to wait. A reader that
// closes early takes what the pipe holds once and closes its end; the pipe
// holds a page only, so that a writer of more than two pages has more to
// write after it went, however the two take turns.
class DrainedPipe {
public:
    enum class Reader { Whole, None, ClosesEarly };
    explicit DrainedPipe(const std::string& name, bool reads = true)
        : DrainedPipe(name, reads ? Reader::Whole : Reader::None)
    {
    }
    DrainedPipe(const std::string& name, Reader reader) : Path(UnfedPipe(name))
    {
        Fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        EXPECT_GE(Fd, 0) << Path;
        if (reader == Reader::ClosesEarly && Fd >= 0) {
            EXPECT_EQ(::fcntl(Fd, F_SETPIPE_SZ, PageBytes), PageBytes);
        }
        if (reader != Reader::None && Fd >= 0) {
            // A child forked while the thread is still starting could inherit
            // a lock the sanitizers' runtime holds then, and wait on it for
            // ever: the thread is under way before the constructor returns.
            std::promise<void> started;
            std::future<void> running = started.get_future();
            Reading = std::thread([this, reader, &started] {
                started.set_value();
                Drain(reader == Reader::ClosesEarly);
            });
            running.wait();
        }
    }
    ~DrainedPipe()
    {
        if (Reading.joinable())
            Reading.join();
        if (Fd >= 0)
            ::close(Fd);
    }
    DrainedPipe(const DrainedPipe&) = delete;
    DrainedPipe& operator=(const DrainedPipe&) = delete;

    // What came through the pipe, once its writer has closed it.
    const std::string& Taken()
    {
        if (Reading.joinable())
            Reading.join();
        return Bytes;
    }
    // What the pipe holds while nothing reads it.
    int Capacity() const { return ::fcntl(Fd, F_GETPIPE_SZ); }

    static constexpr int PageBytes = 4096;
    const std::string Path;

private:
    // A FIFO with no writer yet reads as ended, but poll(2) reports it only
    // once a writer has come and gone.
    void Drain(bool once)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            ::pollfd ready{Fd, POLLIN, 0};
            const int seen = left.count() > 0 ? ::poll(&ready, 1, static_cast<int>(left.count())) : 0;
            if (seen < 0 && errno == EINTR)
                continue;
            if (seen <= 0)
                return;
            char chunk[1 << 16];
            const ::ssize_t n = ::read(Fd, chunk, sizeof chunk);
            if (n > 0)
                Bytes.append(chunk, static_cast<std::size_t>(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                return;
            if (once && n > 0) {
                ::close(Fd);
                Fd = -1;
                return;
            }
        }
    }

    int Fd = -1;
    std::string Bytes;
    std::thread Reading;
};

// The N of "its reader closed it after N bytes were written into it" in a
// message, or -1 when it says no such thing.
inline long long BytesBeforeReaderClosed(const std::string& said)
{
    const std::string before = "its reader closed it after ";
    const std::size_t at = said.find(before);
    return at == std::string::npos ? -1 : std::atoll(said.c_str() + at + before.size());
}

// The read ends of named pipes this process holds, closed: in a child that
// writes to a pipe its parent reads, so that the parent's reader closing
// its end leaves the pipe with none, as it would for the program.
inline void CloseInheritedPipeReaders()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const int fd = std::atoi(entry.path().filename().c_str());
        struct ::stat status {};
        std::error_code unread;
        const std::string target = std::filesystem::read_symlink(entry.path(), unread).string();
        // An unnamed pipe shows as "pipe:[inode]"; a named one by its path.
        if (fd > 2 && ::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode) && !target.starts_with("pipe:") &&
            (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY)
            ::close(fd);
    }
}

// What `call` answers, run in a child process that is killed if it has not
// answered within `deadline`: a call that waits for ever fails its test
// (with an answer saying so) instead of holding the whole suite. The child
// holds no read end of a named pipe of its parent's, and writes with SIGPIPE
// at its default, as the program does: a write that would raise it where the
// writer does not hold it back ends the child, and its test fails.
inline std::string AnswerWithin(std::chrono::seconds deadline, const std::function<std::string()>& call)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return "no pipe to the child";
    const ::pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        CloseInheritedPipeReaders();
        std::signal(SIGPIPE, SIG_DFL);
        int status = 1;
        try {
            const std::string answer = call();
            status = 0;
            for (std::size_t at = 0; at < answer.size();) {
                const ::ssize_t n = ::write(ends[1], answer.data() + at, answer.size() - at);
                if (n <= 0) {
                    status = 1;
                    break;
                }
                at += static_cast<std::size_t>(n);
            }
        } catch (...) {
        }
        // Neither the rest of the tests nor the exit handlers run twice.
        ::_exit(status);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return "no child process";
    }
    std::string answer;
    bool ended = false;
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (!ended) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        ::pollfd ready{ends[0], POLLIN, 0};
        const int seen = left.count() > 0 ? ::poll(&ready, 1, static_cast<int>(left.count())) : 0;
        if (seen < 0 && errno == EINTR)
            continue;
        if (seen <= 0)
            break;
        char chunk[4096];
        const ::ssize_t n = ::read(ends[0], chunk, sizeof chunk);
        if (n > 0)
            answer.append(chunk, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            ended = true;
    }
    ::close(ends[0]);
    if (!ended)
        ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!ended)
        return "no answer within " + std::to_string(deadline.count()) + " seconds";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child failed";
    return answer;
}

// What `call` answers in a child, as AnswerWithin, whose files may grow to
// `bytes` only, with SIGXFSZ at its default as a shell's `ulimit -f` leaves
// the program: a write past the limit that the writer does not hold back
// ends the child, and its test fails. A writer that leaves the signals it
// held back held, or SIGXFSZ pending, adds a note saying so.
inline std::string AnswerUnderFileSizeLimit(std::uintmax_t bytes, const std::function<std::string()>& call)
{
    return AnswerWithin(std::chrono::seconds(15), [&] {
        const ::rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        std::string answer = call();
        ::sigset_t held, pending;
        ::pthread_sigmask(SIG_BLOCK, nullptr, &held);
        ::sigpending(&pending);
        if (::sigismember(&held, SIGXFSZ) == 1 || ::sigismember(&held, SIGPIPE) == 1)
            answer += " [a signal left held]";
        if (::sigismember(&pending, SIGXFSZ) == 1)
            answer += " [SIGXFSZ left pending]";
        return answer;
    });
}

// The bytes this process has read from files so far (rchar of /proc/self/io),
// to tell whether a reader read a file or refused it from its size.
inline std::uint64_t BytesReadSoFar()
{
    std::ifstream io("/proc/self/io");
    std::string label;
    std::uint64_t value = 0;
    while (io >> label >> value)
        if (label == "rchar:")
            return value;
    ADD_FAILURE() << "no rchar in /proc/self/io";
    return 0;
}

}  // namespace brevimar::testing
