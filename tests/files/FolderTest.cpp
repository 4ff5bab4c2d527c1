// Every reader given a folder instead of a file says it cannot open it,
// names it, and leaves the document as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/RunFrames.h"
#include "run/ScenarioLoad.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

TEST(Readers, AFolderIsAFileThatCannotBeOpened)
{
    const std::string base = testing::TempFolder();
    enum Reader { Startup, Menu, ShortFrames };
    const struct {
        Reader Via;
        std::string Name;
        int LoadInputFile;
    } cases[] = {
        {Startup, "scenario.dat", 1}, {Startup, "stored.run", 1}, {Startup, "frames.out", 1},
        {Menu, "scenario.dat", 1},    {Menu, "stored.run", 0},    {ShortFrames, "frames.out", 1},
    };
    for (const auto& c : cases) {
        const std::string folder = base + "/" + c.Name;
        std::filesystem::create_directories(folder);
        testing::TestDocument doc;
        const int before = doc->RedForce.NumAgents;
        std::string error;
        switch (c.Via) {
        case Startup:
            doc.Host.FileChoices.push_back(folder);
            doc->ReadStartupInputFile();
            break;
        case Menu:
            doc->LoadInputFile = c.LoadInputFile;
            doc.Host.FileChoices.push_back(folder);
            EXPECT_EQ(LoadInputDataFile(*doc), 0) << c.Name;
            break;
        case ShortFrames:
            EXPECT_FALSE(ReadShortFrameFile(*doc, folder, &error));
            EXPECT_EQ(error, "Error: cannot open input file.\n" + folder);
            continue;
        }
        ASSERT_EQ(doc.Host.Messages.size(), 1u) << c.Via << " " << c.Name;
        EXPECT_EQ(doc.Host.Messages[0].Text, "Error: cannot open input file.\n" + folder) << c.Via;
        EXPECT_EQ(doc->RedForce.NumAgents, before);
    }
}

}  // namespace
}  // namespace brevimar
