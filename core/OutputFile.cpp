#include "core/OutputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

namespace brevimar {

namespace {

constexpr std::streamsize BufferBytes = 1 << 16;

// How often an open waits for a FIFO's reader to come: nothing tells a
// writer when one does, so it asks again.
constexpr std::chrono::milliseconds ReaderPoll{10};

std::string ByteCount(std::uintmax_t count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }
const char* WrittenInto(std::uintmax_t count) { return count == 1 ? " was written into it" : " were written into it"; }

bool IsFifo(const std::string& path)
{
    struct ::stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// Blocks the signals a write raises in the calling thread; the mask before.
::sigset_t BlockWriteSignals()
{
    ::sigset_t held, before;
    ::sigemptyset(&held);
    ::sigaddset(&held, SIGPIPE);
    ::sigaddset(&held, SIGXFSZ);
    ::pthread_sigmask(SIG_BLOCK, &held, &before);
    return before;
}

}  // namespace

std::string CannotOpenOutputMessage(const std::string& path, const std::string& problem)
{
    return "Error: cannot open output file.\n" + path + (problem.empty() ? "" : "\n" + problem + ".");
}

std::string CannotWriteMessage(const std::string& path, const std::string& problem)
{
    return "Error: cannot write output file " + path + (problem.empty() ? "." : ":\n" + problem + ".");
}

// One raised stays pending, unseen, and goes with the process.
void HoldWriteSignalsToTheEnd() { BlockWriteSignals(); }

WriteSignalsHeld::WriteSignalsHeld() : Before(BlockWriteSignals())
{
    ::sigpending(&AlreadyPending);
}

WriteSignalsHeld::~WriteSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &Before, nullptr); }

// One that was pending before the hold is left to its owner.
void WriteSignalsHeld::TakeRaised(int signal)
{
    if (::sigismember(&AlreadyPending, signal) == 1)
        return;
    ::sigset_t raised;
    ::sigemptyset(&raised);
    ::sigaddset(&raised, signal);
    const ::timespec now{};
    while (::sigtimedwait(&raised, nullptr, &now) < 0 && errno == EINTR) {
    }
}

// Opened without waiting, as std::ofstream would open it otherwise: a FIFO
// opened so fails (ENXIO) while it has no reader, and is asked again until
// one comes or the moment is over.
OutputFile::WaitingBuffer::WaitingBuffer(const std::string& path, WriteAt at)
{
    const int flags =
        O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC | (at == WriteAt::End ? O_APPEND : 0);
    const auto deadline = std::chrono::steady_clock::now() + MaxReaderWait;
    for (;;) {
        Fd = ::open(path.c_str(), flags, 0666);
        if (Fd >= 0)
            break;
        const int failed = errno;
        if (failed == EINTR)
            continue;
        // A device with no driver or a socket fails so too, and for good.
        if (failed != ENXIO || !IsFifo(path)) {
            Failed = Failure::Error;
            FailedErrno = failed;
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            Failed = Failure::NoReader;
            return;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(ReaderPoll, deadline - now));
    }
    struct ::stat status {};
    if (::fstat(Fd, &status) == 0) {
        Regular = S_ISREG(status.st_mode);
        Device = status.st_dev;
        Inode = status.st_ino;
    }
    // A regular file is written as std::ofstream writes it, with no flag of
    // ours left on it.
    if (Regular)
        ::fcntl(Fd, F_SETFL, ::fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
    Bytes = std::make_unique_for_overwrite<char[]>(BufferBytes);
    setp(Bytes.get(), Bytes.get() + BufferBytes);
}

OutputFile::WaitingBuffer::~WaitingBuffer()
{
    if (Fd >= 0) {
        WriteHeld();
        ::close(Fd);
    }
}

std::string OutputFile::WaitingBuffer::Problem() const
{
    const std::string wait = std::to_string(MaxReaderWait.count()) + " seconds";
    switch (Failed) {
    case Failure::None:
        return {};
    case Failure::NoReader:
        return "nothing read it within " + wait;
    // A pipe takes what it holds whether its reader reads or not: what is
    // known is what went into it, not what came out.
    case Failure::WaitedOut:
        if (Taken == 0)
            return "nothing was read from it within " + wait;
        return "it took nothing more within " + wait + " after " + ByteCount(Taken) + WrittenInto(Taken);
    case Failure::ReaderGone:
        if (Taken == 0)
            return "its reader closed it before reading a byte";
        return "its reader closed it after " + ByteCount(Taken) + WrittenInto(Taken);
    case Failure::Error:
        break;
    }
    return std::generic_category().message(FailedErrno);
}

// Each write waits at most MaxReaderWait for room, from the last bytes taken:
// a reader that goes on taking is waited on however long the whole takes.
bool OutputFile::WaitingBuffer::WriteOut(const char* from, std::streamsize count)
{
    if (Fd < 0 || Failed != Failure::None)
        return false;
    WriteSignalsHeld held;
    auto deadline = std::chrono::steady_clock::now() + MaxReaderWait;
    while (count > 0) {
        if (!Regular) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            ::pollfd room{Fd, POLLOUT, 0};
            const int seen = ::poll(&room, 1, static_cast<int>(std::max<decltype(left)>(left, 0)));
            if (seen < 0 && errno == EINTR)
                continue;
            if (seen == 0) {
                Failed = Failure::WaitedOut;
                return false;
            }
            // A reader gone shows here as an error: the write tells which.
        }
        const ::ssize_t put = ::write(Fd, from, static_cast<std::size_t>(count));
        if (put > 0) {
            from += put;
            count -= put;
            Taken += static_cast<std::uintmax_t>(put);
            deadline = std::chrono::steady_clock::now() + MaxReaderWait;
            continue;
        }
        // Another writer of the same pipe may have taken the room poll(2) saw.
        if (put < 0 && (errno == EINTR || (errno == EAGAIN && !Regular)))
            continue;
        if (put < 0 && errno == EPIPE) {
            held.TakeRaised(SIGPIPE);
            Failed = Failure::ReaderGone;
            return false;
        }
        Failed = Failure::Error;
        FailedErrno = put < 0 ? errno : EIO;
        // A file that reached the size limit took what fitted below it, and
        // the write after raised the signal.
        if (FailedErrno == EFBIG)
            held.TakeRaised(SIGXFSZ);
        return false;
    }
    return true;
}

// What is held goes out, or is dropped with the file failed: it is never
// offered twice.
bool OutputFile::WaitingBuffer::WriteHeld()
{
    const std::streamsize held = pptr() - pbase();
    setp(Bytes.get(), Bytes.get() + BufferBytes);
    return Failed == Failure::None && (held == 0 || WriteOut(Bytes.get(), held));
}

bool OutputFile::WaitingBuffer::Close()
{
    if (Fd < 0)
        return false;
    const bool written = WriteHeld();
    if (::close(Fd) != 0 && errno != EINTR && Failed == Failure::None) {
        Failed = Failure::Error;
        FailedErrno = errno;
    }
    Fd = -1;
    setp(nullptr, nullptr);
    return written && Failed == Failure::None;
}

OutputFile::WaitingBuffer::int_type OutputFile::WaitingBuffer::overflow(int_type c)
{
    if (Fd < 0 || !WriteHeld())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

// A write of a buffer's worth or more goes straight to the file, as
// std::filebuf's does, rather than through the buffer.
std::streamsize OutputFile::WaitingBuffer::xsputn(const char* from, std::streamsize count)
{
    if (Fd < 0)
        return 0;
    if (count > epptr() - pptr()) {
        if (!WriteHeld())
            return 0;
        if (count >= BufferBytes)
            return WriteOut(from, count) ? count : 0;
    }
    std::memcpy(pptr(), from, static_cast<std::size_t>(count));
    pbump(static_cast<int>(count));
    return count;
}

// A file closed holds nothing more to write.
int OutputFile::WaitingBuffer::sync() { return Fd < 0 || WriteHeld() ? 0 : -1; }

OutputFile::OutputFile(const std::string& path, WriteAt at) : std::iostream(nullptr), Path(path), Buffer(path, at)
{
    rdbuf(&Buffer);
    if (!Buffer.Open())
        setstate(std::ios_base::failbit);
}

void OutputFile::close()
{
    if (!Buffer.Close())
        setstate(std::ios_base::failbit);
}

// A link is the user's own, naming where the file goes; it is the file
// written, at the end of the links, that was cut. Only a name that still
// leads to that very file is removed: one put in its place since is
// someone else's.
void OutputFile::Discard()
{
    Buffer.Close();
    setstate(std::ios_base::failbit);
    if (!Buffer.IsRegular())
        return;
    const std::unique_ptr<char, decltype(&std::free)> written(::realpath(Path.c_str(), nullptr), &std::free);
    struct ::stat status {};
    if (written && ::lstat(written.get(), &status) == 0 && S_ISREG(status.st_mode) && Buffer.Wrote(status))
        ::unlink(written.get());
}

}  // namespace brevimar
