// A file opened for reading that never waits for ever: every reader of the
// program opens its file here. A FIFO (named pipe) that nothing writes would
// hold std::ifstream's open(2), and the whole program with it, until
// something wrote to it; a device or a writer that stops writing without
// closing would hold a read the same way.
#pragma once

#include <chrono>
#include <cstdint>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace brevimar {

// The most a reader waits for the next bytes of a file: a moment for the
// writer of a FIFO to come, or to go on writing. A regular file never waits.
inline constexpr std::chrono::seconds MaxWriterWait{2};

// Why a file whose bytes stopped coming for MaxWriterWait, after the first
// `bytesRead`, is refused, for the reader's message.
std::string StalledFileProblem(std::uintmax_t bytesRead);

// The file at `path` read in binary, as std::ifstream reads it, except that
// opening never waits, and no read waits longer than MaxWriterWait for its
// next bytes: then the stream ends as at the end of the file, and Stalled()
// tells that it was cut short. A file that cannot be opened leaves the
// stream failed.
class InputFile : public std::istream {
public:
    explicit InputFile(const std::string& path);

    bool is_open() const { return Buffer.Open(); }
    // The stream ended because nothing came within MaxWriterWait: what was
    // read is only the start of the file, never to be taken for all of it.
    bool Stalled() const { return Buffer.Stalled(); }

private:
    class WaitingBuffer : public std::streambuf {
    public:
        explicit WaitingBuffer(const std::string& path);
        ~WaitingBuffer() override;
        WaitingBuffer(const WaitingBuffer&) = delete;
        WaitingBuffer& operator=(const WaitingBuffer&) = delete;

        bool Open() const { return Fd >= 0; }
        bool Stalled() const { return WaitedOut; }

    protected:
        int_type underflow() override;
        std::streamsize xsgetn(char* into, std::streamsize count) override;

    private:
        std::streamsize ReadSome(char* into, std::streamsize most);

        int Fd = -1;
        bool Regular = false, Ended = false, WaitedOut = false;
        std::unique_ptr<char[]> Bytes;
    };
    WaitingBuffer Buffer;
};

}  // namespace brevimar
