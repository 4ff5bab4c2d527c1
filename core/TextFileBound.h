// The bound on what a text file may hold, shared by every reader of one: the
// terrain file of battlefield set-up here, and the readers of the files
// layer above.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

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

// The size of the regular file at `path`; 0 when none is known before
// reading (a pipe, a device) or the file is not there.
std::uintmax_t KnownFileSize(const std::string& path);

enum class BoundedReadResult {
    Read,      // *text holds what was left of the stream
    TooLarge,  // the stream went on past MaxTextFileBytes: *text untouched
    Failed,    // the stream could not be read: *text untouched
};

// What is left of an open stream, read in chunks no further than
// MaxTextFileBytes, so that a stream of no known size (a pipe, a device)
// that never ends is refused at the bound instead of filling the memory.
BoundedReadResult ReadBoundedText(std::istream& in, std::string* text);

}  // namespace brevimar
