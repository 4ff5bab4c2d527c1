// The bound on what a text file may hold, shared by every reader of one: the
// terrain file of battlefield set-up here, and the readers of the files
// layer above. Each reads its file through ReadBoundedFile, which bounds the
// wait for it as well.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/InputFile.h"  // MaxWriterWait, StalledFileProblem for a Stalled read

namespace brevimar {

// The most a text file the readers take may hold. The largest the program
// writes is a stored run of 351 frames of 600 agents: about 15 KB of
// scenario, then per frame its step and a line "s x y" of at most 10 bytes
// per agent, some 2.1 MB in all. Eight times that leaves room for files
// laid out by hand; a file beyond it is none of these and is refused before
// it is read, rather than held whole.
inline constexpr std::uintmax_t MaxTextFileBytes = 16u << 20;

// Why a file of `size` bytes (0: of no size known before reading, found
// longer while read) is refused, for the reader's message.
std::string TextFileTooLargeProblem(std::uintmax_t size);

enum class BoundedReadResult {
    Read,      // *text holds what was left of the stream
    TooLarge,  // the file holds more than MaxTextFileBytes: *text untouched
    Failed,    // the stream could not be read (or the file opened): *text untouched
    Stalled,   // no more came within MaxWriterWait (ReadBoundedFile only): *text untouched
};

// What is left of `in`, open on the file at `path`. A file whose size is
// known is refused from it before a byte is read (*size receives it); any
// other stream (a pipe, a device) is read in chunks no further than
// MaxTextFileBytes, so that one that never ends is refused at the bound
// instead of filling the memory. A stream refused at the bound, a file grown
// past it since its size was taken among them, leaves *size 0.
BoundedReadResult ReadBoundedText(std::istream& in, const std::string& path, std::string* text,
                                  std::uintmax_t* size);

// The whole file at `path`, opened as InputFile opens it and read as
// ReadBoundedText reads, so that neither its size nor a FIFO nobody writes
// holds the reader. A file whose bytes stopped coming is Stalled, with the
// bytes that came before in *size, for StalledFileProblem.
BoundedReadResult ReadBoundedFile(const std::string& path, std::string* text, std::uintmax_t* size);

}  // namespace brevimar
