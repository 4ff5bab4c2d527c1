#include "core/InputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ios>
#include <system_error>

namespace brevimar {

namespace {

constexpr std::streamsize BufferBytes = 1 << 16;

}  // namespace

std::string StalledFileProblem(std::uintmax_t bytesRead)
{
    const std::string wait = std::to_string(MaxWriterWait.count()) + " seconds";
    if (bytesRead == 0)
        return "nothing was written to it within " + wait;
    return "nothing more was written to it within " + wait + " after its first " + std::to_string(bytesRead) +
           (bytesRead == 1 ? " byte" : " bytes");
}

// Opened without waiting: a FIFO opened so has no writer yet, which the
// first read waits for. O_NONBLOCK changes nothing for a regular file.
InputFile::WaitingBuffer::WaitingBuffer(const std::string& path)
    : Fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
{
    if (Fd < 0)
        return;
    struct ::stat status {};
    Regular = ::fstat(Fd, &status) == 0 && S_ISREG(status.st_mode);
    Bytes = std::make_unique_for_overwrite<char[]>(BufferBytes);
}

InputFile::WaitingBuffer::~WaitingBuffer()
{
    if (Fd >= 0)
        ::close(Fd);
}

// The read is asked only once poll(2) has seen bytes or an end: a FIFO whose
// writer has not come yet reads as ended at once (read(2) gives 0), and
// poll(2) reports neither until a writer has written or come and gone.
std::streamsize InputFile::WaitingBuffer::ReadSome(char* into, std::streamsize most)
{
    if (Fd < 0 || Ended)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() + MaxWriterWait;
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        ::pollfd ready{Fd, POLLIN, 0};
        // A regular file is always ready: it is read without asking.
        const int seen = Regular ? 1 : ::poll(&ready, 1, static_cast<int>(std::max<decltype(left)>(left, 0)));
        if (seen == 0) {
            Ended = WaitedOut = true;
            return 0;
        }
        if (seen > 0) {
            const ::ssize_t got = ::read(Fd, into, static_cast<std::size_t>(most));
            if (got >= 0) {
                Ended = got == 0;
                return got;
            }
        }
        // Another reader of the same FIFO may have taken what poll(2) saw.
        if (errno == EINTR || errno == EAGAIN)
            continue;
        // As std::filebuf fails a read: the stream that asked turns bad.
        throw std::ios_base::failure("cannot read the file", std::error_code(errno, std::generic_category()));
    }
}

InputFile::WaitingBuffer::int_type InputFile::WaitingBuffer::underflow()
{
    if (gptr() == egptr()) {
        const std::streamsize got = ReadSome(Bytes.get(), BufferBytes);
        if (got == 0)
            return traits_type::eof();
        setg(Bytes.get(), Bytes.get(), Bytes.get() + got);
    }
    return traits_type::to_int_type(*gptr());
}

// A read of a buffer's worth or more goes straight to the reader's memory,
// as std::filebuf's does, rather than through the buffer.
std::streamsize InputFile::WaitingBuffer::xsgetn(char* into, std::streamsize count)
{
    std::streamsize done = 0;
    while (done < count) {
        const std::streamsize held = egptr() - gptr();
        if (held > 0) {
            const std::streamsize taken = std::min(held, count - done);
            std::memcpy(into + done, gptr(), static_cast<std::size_t>(taken));
            gbump(static_cast<int>(taken));
            done += taken;
        } else if (count - done >= BufferBytes) {
            const std::streamsize got = ReadSome(into + done, count - done);
            if (got == 0)
                break;
            done += got;
        } else if (traits_type::eq_int_type(underflow(), traits_type::eof())) {
            break;
        }
    }
    return done;
}

InputFile::InputFile(const std::string& path) : std::istream(nullptr), Buffer(path)
{
    rdbuf(&Buffer);
    if (!Buffer.Open())
        setstate(std::ios_base::failbit);
}

}  // namespace brevimar
