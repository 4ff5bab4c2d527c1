#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/DocumentFile.h"
#include "files/RunFrames.h"
#include "files/WordReader.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::DataPath;
using testing::FixtureText;
using testing::TestDocument;
using testing::WriteTemp;

// Everything the short-layout reader may write.
std::vector<int> Snapshot(CBrevimarDoc& doc)
{
    std::vector<int> all = {doc.RunHeader.LatticeSize, doc.RunHeader.RedCount, doc.RunHeader.BlueCount,
                            doc.RunHeader.LastStep,    doc.RunHeader.CurrentStep, doc.RunMode};
    for (const auto& buffer : doc.CaptureBuffer)
        all.insert(all.end(), buffer.get(), buffer.get() + CaptureCells);
    return all;
}

TEST(RunFrames, StartupLoopStopsAfterStep350)
{
    std::string text;
    for (int t = 0; t < 400; ++t)
        text += std::to_string(t) + "\n2 " + std::to_string(1 + t % 9) + " 1\n";
    CWordReader words(text);
    CStoredFrames frames;
    int last = -1;
    std::string problem;
    ASSERT_TRUE(ReadStartupFrames(words, 1, 0, 9, 0, &frames, &last, &problem)) << problem;
    EXPECT_EQ(last, 350);
    EXPECT_EQ(frames.FrameCount(), 351);
    EXPECT_FALSE(words.AtEnd());  // the rest stays unread

    // A run already at step 350 reads nothing.
    CWordReader again(text);
    ASSERT_TRUE(ReadStartupFrames(again, 1, 0, 9, 350, &frames, &last, &problem));
    EXPECT_EQ(frames.FrameCount(), 0);
    EXPECT_EQ(last, 350);
}

TEST(RunFrames, StoredFramesLandInTheirRows)
{
    TestDocument doc;
    CWordReader words("4\n2 3 5\n1 7 9\n0 2 2\n 6\n0 1 1\n0 1 1\n1 4 4\n");
    CStoredFrames frames;
    int last = 0;
    std::string problem;
    ASSERT_TRUE(ReadStartupFrames(words, 2, 1, 10, 0, &frames, &last, &problem)) << problem;
    EXPECT_EQ(last, 6);
    StoreFrames(*doc, frames);
    EXPECT_EQ(doc->Capture(RedCaptureState, 4, 1), 2);
    EXPECT_EQ(doc->Capture(RedCaptureX, 4, 1), 3);
    EXPECT_EQ(doc->Capture(RedCaptureY, 4, 1), 5);
    EXPECT_EQ(doc->Capture(RedCaptureY, 4, 2), 9);
    EXPECT_EQ(doc->Capture(BlueCaptureState, 4, 1), 0);
    EXPECT_EQ(doc->Capture(BlueCaptureX, 6, 1), 4);
    EXPECT_EQ(doc->Capture(RedCaptureX, 5, 1), 0);  // no frame 5
}

TEST(RunFrames, ShortLayoutReadsUpToTheLastStep)
{
    TestDocument doc;
    doc->RunMode = InteractiveMode;
    std::string error;
    ASSERT_TRUE(ReadShortFrameFile(*doc, DataPath("frames_short.out"), &error)) << error;
    EXPECT_EQ(doc->RunHeader.LatticeSize, 60);
    EXPECT_EQ(doc->RunHeader.RedCount, 4);
    EXPECT_EQ(doc->RunHeader.BlueCount, 3);
    EXPECT_EQ(doc->RunHeader.LastStep, 5);
    EXPECT_EQ(doc->RunMode, InteractiveMode);  // the command decides what follows
    EXPECT_EQ(doc->Capture(RedCaptureX, 5, 4), 1 + (5 + 12) % 60);
    EXPECT_EQ(doc->Capture(BlueCaptureY, 0, 3), 1 + 3 % 60);

    // A first frame already at the last step is read, and only it.
    ASSERT_TRUE(ReadShortFrameFile(*doc, WriteTemp("one.out", "20 1 0 3\n7\n2 5 6\n9\n2 1 1\n"), &error)) << error;
    EXPECT_EQ(doc->Capture(RedCaptureX, 7, 1), 5);
    EXPECT_EQ(doc->Capture(RedCaptureX, 9, 1), 0);
    // No frames at all with a last step of 0.
    ASSERT_TRUE(ReadShortFrameFile(*doc, WriteTemp("none.out", "20 1 0 0\n"), &error)) << error;
    EXPECT_EQ(doc->RunHeader.LastStep, 0);
}

// Rows a frame file skips hold nothing of the history read before it, so
// that what was read stores and loads back as a document file.
TEST(RunFrames, ShortLayoutClearsTheRowsItSkips)
{
    TestDocument doc;
    std::string error;
    // frames_short.out puts RED agent 1 at "2 5 4" in row 1 and "0 6 6" in row 2.
    ASSERT_TRUE(ReadShortFrameFile(*doc, DataPath("frames_short.out"), &error)) << error;
    ASSERT_TRUE(ReadShortFrameFile(*doc, WriteTemp("skips.out", "5 1 0 3\n0\n2 1 1\n3\n2 5 5\n"), &error)) << error;
    for (int row : {1, 2})
        for (int b = RedCaptureState; b <= RedCaptureY; ++b)
            EXPECT_EQ(doc->Capture(b, row, 1), 0) << "row " << row;
    EXPECT_EQ(doc->Capture(RedCaptureX, 3, 1), 5);

    const std::string bytes = [&] {
        std::ostringstream out;
        StoreDocument(*doc, out);
        return out.str();
    }();
    TestDocument other;
    std::string problem;
    EXPECT_TRUE(LoadDocument(*other, bytes, &problem)) << problem;
}

TEST(RunFrames, BadShortLayoutFilesChangeNothing)
{
    struct Case {
        const char* Text;
        const char* Problem;
    };
    const Case cases[] = {
        {"60 4 3", "the header breaks off"},
        {"0 1 1 2\n", "the lattice size is 0, outside 1..150"},
        {"60 301 1 2\n", "the RED agent count is 301, outside 0..300"},
        {"60 1 301 2\n", "the BLUE agent count is 301, outside 0..300"},
        {"60 1 0 352\n", "the last frame step 352 lies beyond the stored steps 0..351"},
        {"60 1 0 3\n0\n2 1 1\n1\n2 1 1\n", "the frames end before step 3"},
        {"60 1 0 3\n0\n2 1\n", "the frame of step 0 breaks off"},
        {"60 1 0 3\n400\n2 1 1\n", "a frame has step 400"},
        {"60 1 0 3\n0\n2 61 1\n", "the frame of step 0 puts RED agent 1 at (61, 1), off the 60 x 60 battlefield"},
    };
    TestDocument doc;
    std::string error;
    ASSERT_TRUE(ReadShortFrameFile(*doc, DataPath("frames_short.out"), &error));
    const std::vector<int> before = Snapshot(*doc);
    for (const Case& c : cases) {
        const std::string path = WriteTemp("bad.out", c.Text);
        error.clear();
        EXPECT_FALSE(ReadShortFrameFile(*doc, path, &error)) << c.Text;
        EXPECT_EQ(error.rfind("Error: cannot read input file " + path, 0), 0u) << error;
        EXPECT_NE(error.find(c.Problem), std::string::npos) << error;
        EXPECT_TRUE(Snapshot(*doc) == before) << c.Text;
    }
    const std::string missing = DataPath("no-such-frames.out");
    EXPECT_FALSE(ReadShortFrameFile(*doc, missing, &error));
    EXPECT_EQ(error, "Error: cannot open input file.\n" + missing);
    EXPECT_TRUE(Snapshot(*doc) == before);
}

}  // namespace
}  // namespace brevimar
