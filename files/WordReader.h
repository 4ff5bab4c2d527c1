// Reading a text file by position: the scenario, run and frame files are
// streams of whitespace-separated words in which labels and comments are
// skipped by count and values are taken in order. The reader keeps track of
// where it stands so that a file that breaks off or holds a word that is not
// a number can be reported precisely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>

#include "core/TextFileBound.h"  // MaxTextFileBytes, TextFileTooLargeProblem, StalledFileProblem for every reader here

namespace brevimar {

// The first extraction that failed.
struct CWordReadFailure {
    std::string Expected;  // "an integer", "a number", "3 more words", ...
    std::string Found;     // the word that did not fit; empty when the text ended
    std::string After;     // the word read just before, usually the value's label
    long WordNumber = 0;   // 1-based number of the word that failed
    int Line = 0;          // 1-based line of that word, or of the end of the text

    // One sentence for a message box, e.g.
    // expected an integer after "battle_size" (word 12, line 8), found "x1"
    std::string Describe() const;
};

// A word of a file as a message quotes it: in double quotes, every byte
// outside printable ASCII written \xHH and a backslash \\, so that a
// hostile file puts no control byte on a terminal or in a box; a word longer
// than QuotedWordLength bytes is cut there and "..." follows.
inline constexpr std::size_t QuotedWordLength = 40;
std::string QuoteFileWord(std::string_view word);

// Reads the text where it lies, copying none of it, so that a file as large
// as the bound is held once while it is parsed: whoever makes the reader
// keeps the text (a reader's body, the file's text the frame read) until the
// reader is done with it.
class CWordReader {
public:
    explicit CWordReader(std::string_view text) : Text(text) {}
    explicit CWordReader(const char* text) : Text(text) {}
    // A temporary string, const or not, would be gone before its words are
    // read.
    explicit CWordReader(const std::string&& text) = delete;

    // Consumes n words. Fails when the text ends first.
    bool Skip(int n);

    // One value of the named type, parsed from a whole word in the C locale.
    // On failure the destination keeps its value and, as with a failed
    // stream, every later extraction fails too.
    bool Read(int& value);
    bool Read(float& value);
    bool Read(double& value);
    bool ReadWord(std::string& word);

    // Reads count values into values[0..count-1], stopping at the first failure.
    template <typename T>
    bool ReadEach(T* values, int count)
    {
        for (int k = 0; k < count; ++k)
            if (!Read(values[k]))
                return false;
        return true;
    }

    // True when only whitespace is left. Never fails.
    bool AtEnd();
    // True when the next word is `word`; consumes nothing. Never fails.
    bool NextWordIs(std::string_view word) { return !HasFailed && PeekWord() == word; }

    bool Failed() const { return HasFailed; }
    const CWordReadFailure& Failure() const { return FirstFailure; }

    long WordsRead() const { return WordCount; }
    // 1-based line of where the reader stands: the word just read or looked
    // at, or the end of the text. Counted when asked, for a message: the
    // first call counts from the start of the text, each later one from
    // where the one before stopped.
    int Line() const;
    std::string_view LastWord() const { return Previous; }

private:
    // Next word without consuming it; empty at the end of the text.
    std::string_view PeekWord();
    void Consume(std::string_view word);
    bool Fail(std::string expected, std::string_view found);
    template <typename T>
    bool ReadNumber(T& value, const char* expected);

    std::string_view Text;
    std::size_t Position = 0;
    // How far Line() has counted, and the line there: a reader of a large
    // file asked for its line more than once counts each line end once.
    mutable std::size_t LinesCountedTo = 0;
    mutable int LineAtCounted = 1;
    long WordCount = 0;
    std::string_view Previous;
    bool HasFailed = false;
    CWordReadFailure FirstFailure;
};

// An input stream over a text it does not own, for the readers that parse
// a stream (the waypoint path fields): like CWordReader, it reads the text
// where it lies, and whoever makes it keeps the text until it is done.
class TextViewStream : public std::istream {
public:
    explicit TextViewStream(std::string_view text);
    explicit TextViewStream(const std::string&& text) = delete;

private:
    class ViewBuffer : public std::streambuf {
    public:
        explicit ViewBuffer(std::string_view text);
    };
    ViewBuffer Buffer;
};

// Whole content of a file, read in binary so that CR LF line ends reach the
// word reader unchanged (it treats CR as whitespace). False when the file
// cannot be opened or read, when it holds more than MaxTextFileBytes, or when
// its bytes stopped coming for MaxWriterWait (a FIFO nobody writes): in the
// last two cases *refusal (when given) says why, and is left empty otherwise.
bool ReadTextFile(const std::string& path, std::string* text, std::string* refusal = nullptr);

// Last part of a path, after the final '/' (or '\\').
std::string FileNameOf(const std::string& path);

// What follows the last '.' of the file name, without the dot; empty when
// the name has none.
std::string FileExtensionOf(const std::string& path);

}  // namespace brevimar
