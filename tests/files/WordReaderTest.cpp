#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "files/WordReader.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

// Both read a text where it lies: over a temporary string, const or not,
// they would read a text already gone, so they cannot be made of one.
static_assert(!std::is_constructible_v<CWordReader, std::string>);
static_assert(!std::is_constructible_v<CWordReader, const std::string>);
static_assert(!std::is_constructible_v<TextViewStream, std::string>);
static_assert(!std::is_constructible_v<TextViewStream, const std::string>);
static_assert(std::is_constructible_v<CWordReader, const std::string&>);
static_assert(std::is_constructible_v<TextViewStream, const std::string&>);

TEST(TextViewStream, ReadsATextToItsLastByteAndNoFurther)
{
    const testing::ExactText text("7 7\n1 2 345");
    TextViewStream in(text.View());
    int values[5] = {};
    for (int& v : values)
        ASSERT_TRUE(in >> v);
    EXPECT_EQ(values[4], 345);
    int more = 0;
    EXPECT_FALSE(in >> more);
    EXPECT_TRUE(in.eof());
}

TEST(WordReader, SkipsWordsAndReadsTypedValues)
{
    CWordReader words("*** * RUN TIME\tPARAMETERS\ndata_version   4\nprob 0.25 big 2.5e+06 tiny 1e-05 hold 0.333333");
    int version = 0;
    float prob = 0, big = 0, tiny = 0;
    double hold = 0;
    ASSERT_TRUE(words.Skip(6));
    ASSERT_TRUE(words.Read(version));
    ASSERT_TRUE(words.Skip(1) && words.Read(prob) && words.Skip(1) && words.Read(big) && words.Skip(1) &&
                words.Read(tiny) && words.Skip(1) && words.Read(hold));
    EXPECT_EQ(version, 4);
    EXPECT_EQ(prob, 0.25f);
    EXPECT_EQ(big, 2.5e6f);
    EXPECT_EQ(tiny, 1e-5f);
    EXPECT_EQ(hold, 0.333333);
    EXPECT_TRUE(words.AtEnd());
    EXPECT_FALSE(words.Failed());
    EXPECT_EQ(words.WordsRead(), 15);
    EXPECT_EQ(words.Line(), 3);
}

TEST(WordReader, AcceptsSignsAndThreeDigitExponents)
{
    CWordReader words("+5 -7 -0.5 +1.5 2.5e+006 .25");
    int a = 0, b = 0;
    float c = 0, d = 0, e = 0, f = 0;
    ASSERT_TRUE(words.Read(a) && words.Read(b) && words.Read(c) && words.Read(d) && words.Read(e) && words.Read(f));
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, -7);
    EXPECT_EQ(c, -0.5f);
    EXPECT_EQ(d, 1.5f);
    EXPECT_EQ(e, 2.5e6f);
    EXPECT_EQ(f, 0.25f);
}

TEST(WordReader, FailureLeavesDestinationAndIsSticky)
{
    CWordReader words("count 3.0\nnext 7");
    int value = 42;
    ASSERT_TRUE(words.Skip(1));
    EXPECT_FALSE(words.Read(value));  // an int is a whole word of digits
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(words.Failed());
    // Like a failed stream, nothing reads any more.
    EXPECT_FALSE(words.Skip(1));
    EXPECT_FALSE(words.Read(value));
    EXPECT_EQ(value, 42);
    const CWordReadFailure& failure = words.Failure();
    EXPECT_EQ(failure.Expected, "an integer");
    EXPECT_EQ(failure.Found, "3.0");
    EXPECT_EQ(failure.After, "count");
    EXPECT_EQ(failure.WordNumber, 2);
    EXPECT_EQ(failure.Line, 1);
    EXPECT_EQ(failure.Describe(), "expected an integer after \"count\" (word 2, line 1), found \"3.0\"");
}

// A message quotes a file's words; a hostile file's bytes must not reach a
// terminal or a box as they are. Every byte outside printable ASCII, and the
// backslash that starts an escape, is written \xHH or \\; a word longer
// than 40 bytes shows its first 40 and "...".
TEST(WordReader, QuotedWordsShowNoControlBytesAndAreCut)
{
    using namespace std::string_literals;
    const std::string sevens(100, '7');
    const struct {
        std::string Text;  // a label, then the word read as an integer
        std::string Said;
    } cases[] = {
        {"count \x01\x00x\x1b[31m"s,
         "expected an integer after \"count\" (word 2, line 1), found \"\\x01\\x00x\\x1b[31m\""},
        {"l\x7f\xc3\xa9 a\\b", "expected an integer after \"l\\x7f\\xc3\\xa9\" (word 2, line 1), found \"a\\\\b\""},
        {sevens + " " + sevens + "x",
         "expected an integer after \"" + std::string(40, '7') + "...\" (word 2, line 1), found \"" +
             std::string(40, '7') + "...\""},
        // 40 bytes are not cut; 41 are.
        {std::string(40, 'L') + " " + std::string(41, 'x'),
         "expected an integer after \"" + std::string(40, 'L') + "\" (word 2, line 1), found \"" +
             std::string(40, 'x') + "...\""},
    };
    for (const auto& c : cases) {
        CWordReader words(c.Text);
        int value = 0;
        ASSERT_TRUE(words.Skip(1));
        ASSERT_FALSE(words.Read(value));
        EXPECT_EQ(words.Failure().Describe(), c.Said);
    }
}

TEST(WordReader, RejectsWhatIsNotAPlainNumber)
{
    for (const char* text : {"abc", "12abc", "99999999999", "inf", "nan", "-", "0x10", "1e50"}) {
        CWordReader words(text);
        float f = 7.0f;
        int i = 7;
        EXPECT_FALSE(words.Read(i)) << text;
        EXPECT_EQ(i, 7) << text;
        if (std::string(text) != "99999999999") {
            CWordReader again(text);
            EXPECT_FALSE(again.Read(f)) << text;
            EXPECT_EQ(f, 7.0f) << text;
        }
    }
}

TEST(WordReader, EndOfTextIsReportedWithItsPlace)
{
    CWordReader words("a b\nc\n");
    EXPECT_FALSE(words.Skip(5));
    EXPECT_EQ(words.Failure().Expected, "2 more words");
    EXPECT_TRUE(words.Failure().Found.empty());
    EXPECT_EQ(words.Failure().WordNumber, 4);
    EXPECT_NE(words.Failure().Describe().find("the file ends"), std::string::npos);

    CWordReader empty("   \r\n ");
    EXPECT_TRUE(empty.AtEnd());
    int v = 3;
    EXPECT_FALSE(empty.Read(v));
    EXPECT_EQ(v, 3);
}

TEST(WordReader, CarriageReturnsAreWhitespace)
{
    // Lines ended by LF, CR LF or a CR alone: each is one line end.
    CWordReader unix("label 1 2.5\nnext -3\n");
    CWordReader dos("label 1 2.5\r\nnext -3\r\n");
    CWordReader mac("label 1 2.5\rnext -3\r");
    for (CWordReader* words : {&unix, &dos, &mac}) {
        int a = 0, c = 0;
        float b = 0;
        ASSERT_TRUE(words->Skip(1) && words->Read(a) && words->Read(b) && words->Skip(1) && words->Read(c));
        EXPECT_EQ(a, 1);
        EXPECT_EQ(b, 2.5f);
        EXPECT_EQ(c, -3);
        EXPECT_EQ(words->Line(), 2);
        EXPECT_TRUE(words->AtEnd());
        // The last line end, a CR as the text's last byte among them, is
        // counted before a refusal at the end as after the last word.
        EXPECT_EQ(words->Line(), 3);
        EXPECT_FALSE(words->Skip(1));
        EXPECT_EQ(words->Failure().Line, 3);
    }
}

TEST(WordReader, FileNameParts)
{
    EXPECT_EQ(FileNameOf("/home/u/runs/battle.run"), "battle.run");
    EXPECT_EQ(FileNameOf("battle.run"), "battle.run");
    EXPECT_EQ(FileExtensionOf("/home/u/runs/battle.run"), "run");
    EXPECT_EQ(FileExtensionOf("/home/u.v2/runs/battle"), "");
    EXPECT_EQ(FileExtensionOf("a.b.Dat"), "Dat");
    std::string text;
    EXPECT_FALSE(ReadTextFile("/nonexistent/brevimar/file.dat", &text));
}

// A file larger than any the readers take (16 MiB, eight times the largest
// stored run the program writes) is refused from its size, unread, saying
// so; one of that size is read whole.
TEST(WordReader, FileLargerThanAnyOfItsKindIsRefusedUnread)
{
    const struct {
        std::uintmax_t Size;
        const char* Problem;
    } cases[] = {
        {16777216, ""},
        {16777217, "the file holds 16777217 bytes, more than the 16777216 any file of its kind may hold"},
        {300u << 20, "the file holds 314572800 bytes, more than the 16777216 any file of its kind may hold"},
    };
    for (const auto& c : cases) {
        const std::string path = testing::WriteSparse("zeros.dat", c.Size);
        std::string text = "kept", problem = "?";
        const std::uint64_t before = testing::BytesReadSoFar();
        const bool read = ReadTextFile(path, &text, &problem);
        const std::uint64_t bytesRead = testing::BytesReadSoFar() - before;
        EXPECT_EQ(problem, c.Problem) << c.Size;
        EXPECT_EQ(read, *c.Problem == '\0') << c.Size;
        EXPECT_EQ(text.size(), read ? c.Size : 4u) << c.Size;
        if (!read) {
            EXPECT_LT(bytesRead, 1u << 20) << c.Size;  // not the file
        }
    }
}

// A pipe has no size before it is read: one fed a byte past the 16 MiB
// bound is refused there, one within it or just filling it is read whole.
TEST(WordReader, PipeIsReadNoFurtherThanTheBound)
{
    const struct {
        std::size_t Size;
        const char* Problem;
    } cases[] = {
        {1000, ""},
        {16777216, ""},
        {16777217, "the file holds more than the 16777216 bytes any file of its kind may hold"},
    };
    for (const auto& c : cases) {
        const testing::FedPipe pipe("pipe.dat", std::string(c.Size, 'x'));
        std::string text = "kept", problem = "?";
        const bool read = ReadTextFile(pipe.Path, &text, &problem);
        EXPECT_EQ(problem, c.Problem) << c.Size;
        EXPECT_EQ(read, *c.Problem == '\0') << c.Size;
        EXPECT_EQ(text.size(), read ? c.Size : 4u) << c.Size;
    }
}

// A pipe that nothing writes, or whose writer stops without closing it
// (here one holding it open for reading and writing), is waited on a moment
// and then refused as cut short, the text untouched: never read as the
// empty file, or the start of one, it would otherwise pass for.
TEST(WordReader, PipeThatNothingMoreIsWrittenToIsRefusedAfterAMoment)
{
    const struct {
        std::string Written;
        const char* Answer;
    } cases[] = {
        {"", "refused (kept): nothing was written to it within 2 seconds"},
        {"data_version 4\n", "refused (kept): nothing more was written to it within 2 seconds after its first 15 bytes"},
    };
    for (const auto& c : cases) {
        const std::string path = testing::UnfedPipe("silent.dat");
        const int writer = c.Written.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_NONBLOCK);
        if (writer >= 0) {
            EXPECT_EQ(::write(writer, c.Written.data(), c.Written.size()), static_cast<::ssize_t>(c.Written.size()));
        }
        const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
            std::string text = "kept", problem;
            const bool read = ReadTextFile(path, &text, &problem);
            return std::string(read ? "read (" : "refused (") + text + "): " + problem;
        });
        if (writer >= 0)
            ::close(writer);
        EXPECT_EQ(answer, c.Answer) << c.Written;
    }
}

void LeaveAPipeUnopened() { const testing::FedPipe pipe("unopened.dat", std::string(1, 'x')); }

// A pipe that nothing opens, as a reader that refused it unopened would
// leave it: the test that made it fails, and the suite goes on.
TEST(FedPipe, APipeNothingOpenedFailsItsTestInsteadOfHangingIt)
{
    EXPECT_NONFATAL_FAILURE(LeaveAPipeUnopened(), "nothing opened the pipe");
}

}  // namespace
}  // namespace brevimar
