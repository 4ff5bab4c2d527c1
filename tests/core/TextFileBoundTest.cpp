#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/TextFileBound.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

// A file that grows past the bound between its size and its read: the stream
// and the path are apart at this seam, so a 100-byte file whose stream yields
// one byte more than 16 MiB stands for it. Refused at the bound, as a stream
// of no size known, not as a file of the 100 bytes it no longer holds.
TEST(TextFileBound, FileGrownPastTheBoundWhileReadIsRefusedWithoutItsOldSize)
{
    const std::string path = testing::WriteTemp("grown.dat", std::string(100, 'x'));
    std::istringstream grown(std::string(MaxTextFileBytes + 1, 'x'));
    std::string text = "kept";
    std::uintmax_t size = 1;
    EXPECT_EQ(ReadBoundedText(grown, path, &text, &size), BoundedReadResult::TooLarge);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(TextFileTooLargeProblem(size),
              "the file holds more than the 16777216 bytes any file of its kind may hold");
}

}  // namespace
}  // namespace brevimar
