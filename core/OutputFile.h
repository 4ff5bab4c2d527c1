// A file opened for writing that never waits for ever: every writer of the
// program opens its file here. A FIFO (named pipe) that nothing reads would
// hold std::ofstream's open(2), and the whole program with it, until
// something read it; a reader that stops reading without closing would hold
// a write the same way once the pipe is full.
#pragma once

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

#include "core/InputFile.h"  // MaxWriterWait

namespace brevimar {

// The most a writer waits for a reader of a FIFO to come, or to take more:
// the same moment a reader waits for its writer. A regular file never waits.
inline constexpr std::chrono::seconds MaxReaderWait = MaxWriterWait;

// SIGPIPE and SIGXFSZ held back from the calling thread while this lives, so
// that a write to a pipe whose reader went (EPIPE), or past the process's
// file-size limit (EFBIG), fails instead of ending the program. The
// signals' dispositions, which are the whole program's, are left alone, and
// the thread's mask is as it was when this ends. OutputFile holds them for
// each of its writes; a write made by a library on its own is held here.
class WriteSignalsHeld {
public:
    WriteSignalsHeld();
    ~WriteSignalsHeld();
    WriteSignalsHeld(const WriteSignalsHeld&) = delete;
    WriteSignalsHeld& operator=(const WriteSignalsHeld&) = delete;

    // The `signal` a failed write raised is no one's to see: taken away
    // before the hold ends, where it would end the program.
    void TakeRaised(int signal);

private:
    ::sigset_t Before{}, AlreadyPending{};
};

// SIGPIPE and SIGXFSZ held back from the calling thread, and from each
// thread it starts, until the process ends: for a program whose every write
// may fail (its standard streams a full file or a closed pipe), with
// nowhere left to say so, and which is to end by its own status all the
// same, past its last write at exit.
void HoldWriteSignalsToTheEnd();

// Where each write of an OutputFile goes.
enum class WriteAt {
    Position,  // after the last, as std::ofstream writes
    End,       // at the file's end, wherever someone cut it back to (O_APPEND)
};

// The file at `path`, created or emptied, written as std::ofstream writes it
// (byte for byte; created 0666 less the umask), except that opening waits
// at most MaxReaderWait for a FIFO's reader and no write waits longer than
// that for room: then the file is refused, or the stream turns bad, and
// Problem() says why. After a failed write nothing more is written. A write
// that meets the process's file-size limit fails as on a full disk, and ends
// nothing.
class OutputFile : public std::iostream {
public:
    explicit OutputFile(const std::string& path, WriteAt at = WriteAt::Position);

    bool is_open() const { return Buffer.Open(); }
    // Writes out what is held and closes the file; the stream fails when a
    // byte of it did not go.
    void close();
    // Closes the file, if it is still open, and removes it when it is a
    // regular file: for a writer whose file cut short would pass for a whole
    // one (a printed page). A pipe or a device is left alone. Through a
    // symbolic link (or a chain of them) the file removed is the one written,
    // at the chain's end, and the links stay; a file that the path no longer
    // leads to stays too.
    void Discard();
    // Why the file did not open or took not all that was written, when that
    // is more than the path tells (a FIFO no reader took, a missing folder, a
    // full disk, the size limit reached), for the writer's message; empty
    // otherwise.
    std::string Problem() const { return Buffer.Problem(); }

private:
    class WaitingBuffer : public std::streambuf {
    public:
        WaitingBuffer(const std::string& path, WriteAt at);
        ~WaitingBuffer() override;
        WaitingBuffer(const WaitingBuffer&) = delete;
        WaitingBuffer& operator=(const WaitingBuffer&) = delete;

        bool Open() const { return Fd >= 0; }
        bool IsRegular() const { return Regular; }
        // Whether `status` is the file this buffer opened.
        bool Wrote(const struct ::stat& status) const { return status.st_dev == Device && status.st_ino == Inode; }
        bool Close();
        std::string Problem() const;

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* from, std::streamsize count) override;
        int sync() override;

    private:
        enum class Failure { None, NoReader, WaitedOut, ReaderGone, Error };
        bool WriteOut(const char* from, std::streamsize count);
        bool WriteHeld();

        int Fd = -1;
        bool Regular = false;
        ::dev_t Device = 0;
        ::ino_t Inode = 0;
        Failure Failed = Failure::None;
        int FailedErrno = 0;
        std::uintmax_t Taken = 0;  // bytes the file took
        std::unique_ptr<char[]> Bytes;
    };
    std::string Path;
    WaitingBuffer Buffer;
};

// "Error: cannot open output file.\nPATH\nPROBLEM." (the last line left out
// when there is no problem to tell), as the file commands say it: a writer's
// file that did not open.
std::string CannotOpenOutputMessage(const std::string& path, const std::string& problem);

// "Error: cannot write output file PATH:\nPROBLEM." (the second line left
// out when there is no problem to tell): a writer's file that took not all
// that was written.
std::string CannotWriteMessage(const std::string& path, const std::string& problem);

}  // namespace brevimar
