#include "files/WordReader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <system_error>

namespace brevimar {

namespace {

// The whitespace of a stream extraction in the C locale. Looked up rather
// than compared: skipping the blanks that pad a file is the reader's hottest
// loop, and one load tests a byte whichever blank it is.
constexpr std::array<bool, 256> SpaceBytes = [] {
    std::array<bool, 256> space{};
    for (const unsigned char c : {' ', '\t', '\n', '\r', '\v', '\f'})
        space[c] = true;
    return space;
}();

bool IsSpace(char c) { return SpaceBytes[static_cast<unsigned char>(c)]; }

// A sign the stream extraction would accept but from_chars does not.
std::string_view StripPlus(std::string_view word)
{
    if (word.size() > 1 && word[0] == '+' && word[1] != '-' && word[1] != '+')
        word.remove_prefix(1);
    return word;
}

bool ParseWhole(std::string_view word, int& value)
{
    word = StripPlus(word);
    int parsed = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), parsed, 10);
    if (ec != std::errc() || end != word.data() + word.size())
        return false;
    value = parsed;
    return true;
}

template <typename T>
bool ParseWholeReal(std::string_view word, T& value)
{
    word = StripPlus(word);
    // from_chars would take "inf" and "nan"; a scenario value is always a
    // plain decimal number.
    std::string_view digits = word;
    if (!digits.empty() && digits[0] == '-')
        digits.remove_prefix(1);
    if (digits.empty() || !((digits[0] >= '0' && digits[0] <= '9') || digits[0] == '.'))
        return false;
    T parsed = 0;
    const auto [end, ec] =
        std::from_chars(word.data(), word.data() + word.size(), parsed, std::chars_format::general);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool ParseWhole(std::string_view word, float& value) { return ParseWholeReal(word, value); }
bool ParseWhole(std::string_view word, double& value) { return ParseWholeReal(word, value); }

}  // namespace

std::string QuoteFileWord(std::string_view word)
{
    static constexpr char digits[] = "0123456789abcdef";
    const bool cut = word.size() > QuotedWordLength;
    if (cut)
        word = word.substr(0, QuotedWordLength);
    std::string quoted = "\"";
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\')
            quoted += "\\\\";
        else if (byte < 0x20 || byte > 0x7e)
            quoted += {'\\', 'x', digits[byte >> 4], digits[byte & 0xf]};
        else
            quoted += c;
    }
    return quoted + (cut ? "...\"" : "\"");
}

std::string CWordReadFailure::Describe() const
{
    std::ostringstream text;
    text << "expected " << Expected;
    if (!After.empty())
        text << " after " << QuoteFileWord(After);
    text << " (word " << WordNumber << ", line " << Line << "), ";
    if (Found.empty())
        text << "but the file ends there";
    else
        text << "found " << QuoteFileWord(Found);
    return text.str();
}

int CWordReader::Line() const
{
    // Words hold no line end, so the line ends before Position are those of
    // the blanks skipped so far. LF, CR LF and a CR alone each end a line:
    // a CR counts unless an LF follows it, which then counts for both.
    for (; LinesCountedTo < Position; ++LinesCountedTo) {
        const char c = Text[LinesCountedTo];
        if (c == '\n' ||
            (c == '\r' && (LinesCountedTo + 1 == Text.size() || Text[LinesCountedTo + 1] != '\n')))
            ++LineAtCounted;
    }
    return LineAtCounted;
}

std::string_view CWordReader::PeekWord()
{
    // The line is counted only when asked for: a file padded with blanks
    // would otherwise pay for a test of every one of them. The indices are
    // held here, not in the members, which the text's bytes may alias as far
    // as the compiler knows: it would store Position at every byte.
    const char* const text = Text.data();
    const std::size_t size = Text.size();
    std::size_t start = Position;
    while (start < size && IsSpace(text[start]))
        ++start;
    std::size_t end = start;
    while (end < size && !IsSpace(text[end]))
        ++end;
    Position = start;
    return Text.substr(start, end - start);
}

void CWordReader::Consume(std::string_view word)
{
    Position += word.size();
    ++WordCount;
    Previous = word;
}

bool CWordReader::Fail(std::string expected, std::string_view found)
{
    if (!HasFailed) {
        HasFailed = true;
        FirstFailure.Expected = std::move(expected);
        FirstFailure.Found = std::string(found);
        FirstFailure.After = std::string(Previous);
        FirstFailure.WordNumber = WordCount + 1;
        FirstFailure.Line = Line();
    }
    return false;
}

bool CWordReader::Skip(int n)
{
    if (HasFailed)
        return false;
    for (int k = 0; k < n; ++k) {
        const std::string_view word = PeekWord();
        if (word.empty())
            return Fail(n - k == 1 ? std::string("1 more word") : std::to_string(n - k) + " more words", word);
        Consume(word);
    }
    return true;
}

template <typename T>
bool CWordReader::ReadNumber(T& value, const char* expected)
{
    if (HasFailed)
        return false;
    const std::string_view word = PeekWord();
    if (word.empty() || !ParseWhole(word, value))
        return Fail(expected, word);
    Consume(word);
    return true;
}

bool CWordReader::Read(int& value) { return ReadNumber(value, "an integer"); }
bool CWordReader::Read(float& value) { return ReadNumber(value, "a number"); }
bool CWordReader::Read(double& value) { return ReadNumber(value, "a number"); }

bool CWordReader::ReadWord(std::string& word)
{
    if (HasFailed)
        return false;
    const std::string_view next = PeekWord();
    if (next.empty())
        return Fail("a word", next);
    word.assign(next);
    Consume(next);
    return true;
}

bool CWordReader::AtEnd() { return PeekWord().empty(); }

TextViewStream::ViewBuffer::ViewBuffer(std::string_view text)
{
    // The get area only ever reads: nothing puts back into it but what it
    // read (the buffer refuses a put-back of any other character).
    char* begin = const_cast<char*>(text.data());
    setg(begin, begin, begin + text.size());
}

TextViewStream::TextViewStream(std::string_view text) : std::istream(nullptr), Buffer(text) { rdbuf(&Buffer); }

bool ReadTextFile(const std::string& path, std::string* text, std::string* refusal)
{
    // A folder opens as a stream on Linux and throws at the first read.
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    if (refusal)
        refusal->clear();
    const auto refuse = [&](std::string problem) {
        if (refusal)
            *refusal = std::move(problem);
        return false;
    };
    try {
        std::uintmax_t size = 0;
        switch (ReadBoundedFile(path, text, &size)) {
        case BoundedReadResult::Read:
            return true;
        case BoundedReadResult::TooLarge:
            return refuse(TextFileTooLargeProblem(size));
        case BoundedReadResult::Stalled:
            return refuse(StalledFileProblem(size));
        case BoundedReadResult::Failed:
            break;
        }
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FileExtensionOf(const std::string& path)
{
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

}  // namespace brevimar
