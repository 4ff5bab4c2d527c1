#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/BattlefieldPicture.h"
#include "core/LatticeCodes.h"
#include "files/ScenarioWriter.h"
#include "support/TestFiles.h"
#include "tools/ScenarioRunner.h"

namespace brevimar {
namespace {

std::string Fixture(const char* name) { return std::string(BREVIMAR_TEST_DATA) + "/" + name; }
std::string Reference(const char* name) { return std::string(BREVIMAR_TEST_DATA) + "/../../bench/data/" + name; }

std::string RunToText(RunnerOptions options)
{
    CScenarioRunner runner(options);
    std::ostringstream out, warnings;
    runner.Run(out, warnings);
    return out.str();
}

// What the program would show in a message box reaches standard error, one
// "warning:" per message, and never the digest lines.
TEST(ScenarioRunner, SetUpProblemsBecomeWarnings)
{
    std::string text = testing::FixtureText("scenario_v4.dat");
    // RED squad 1 holds 5 agents; a 2 x 2 corner box has 4 cells for them.
    const std::string box = "R_box_(l,w)       7 5";
    ASSERT_NE(text.find(box), std::string::npos);
    const std::string tight = text.replace(text.find(box), box.size(), "R_box_(l,w)       2 2");
    const std::string tightPath = testing::WriteTemp("tight.dat", tight);
    struct Case {
        std::string Path;
        int Warnings;
        const char* Start;
        bool Reseeded = false;  // --seed and --comms set the battle up twice more
    } cases[] = {
        {Fixture("scenario_v4.dat"), 0, ""},
        {tightPath, 1, "warning: Setting up tight.dat:\n  Not every agent can be deployed"},
        {tightPath, 1, "warning: Setting up tight.dat:\n  Not every agent can be deployed", true},
    };
    for (const Case& c : cases) {
        RunnerOptions options;
        options.ScenarioPath = c.Path;
        options.Steps = 3;
        if (c.Reseeded)
            options.Seed = 5, options.ShareCommunications = true;
        CScenarioRunner runner(options);
        std::ostringstream out, warnings;
        EXPECT_EQ(runner.Run(out, warnings), 0);
        const std::string said = warnings.str(), digests = out.str();
        int count = 0;
        for (std::size_t at = said.find("warning: "); at != std::string::npos; at = said.find("warning: ", at + 1))
            ++count;
        EXPECT_EQ(count, c.Warnings) << said;
        EXPECT_TRUE(said.starts_with(c.Start)) << said;
        EXPECT_EQ(std::count(digests.begin(), digests.end(), '\n'), 4) << digests;  // steps 0..3
    }
}

TEST(ScenarioRunner, SameScenarioSameDigest)
{
    for (bool batch : {false, true}) {
        RunnerOptions options;
        options.ScenarioPath = Fixture("scenario_v4.dat");
        options.Steps = 500;
        options.Batch = batch;
        const std::string first = RunToText(options);
        EXPECT_EQ(first, RunToText(options));
        EXPECT_GT(std::count(first.begin(), first.end(), '\n'), 2);
    }
}

TEST(ScenarioRunner, ReferenceScenariosRepeatTheirDigests)
{
    for (const char* name : {"large.dat", "large_terrain.dat", "small.dat"}) {
        RunnerOptions options;
        options.ScenarioPath = Reference(name);
        options.Steps = 500;
        options.DigestEvery = 50;
        const std::string first = RunToText(options);
        EXPECT_EQ(first, RunToText(options)) << name;
        EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 11) << name << "\n" << first;
    }
}

// The battle of one reference scenario, pinned: any change to the step, the
// set-up or the generators that alters it shows here, and the commit that
// changes these lines must say why. Recorded from the runner; re-recorded
// when a read began to give the step the file's communications range (10)
// and weights instead of 0, so that the file's linked squads share.
TEST(ScenarioRunner, SmallReferenceScenarioKeepsItsDigest)
{
    RunnerOptions options;
    options.ScenarioPath = Reference("small.dat");
    options.Steps = 500;
    options.DigestEvery = 50;
    EXPECT_EQ(RunToText(options),
        "0 50 0 50 0 eb0a5872d022876d\n"
        "50 17 23 9 27 27fd4a00d626f7ab\n"
        "100 10 26 0 19 5c85bef9f7c0ca8f\n"
        "150 4 28 0 9 fa4cbfbe96034464\n"
        "200 3 29 0 0 35fcf33b9cc20e9e\n"
        "250 3 29 0 0 244c59ca15a27745\n"
        "300 3 29 0 0 2e0bff5a1ddc8794\n"
        "350 3 29 0 0 33dc8708f6f5f653\n"
        "400 3 29 0 0 ff27e103529342e1\n"
        "450 3 29 0 0 25ab04e30b0a66d3\n"
        "500 3 29 0 0 e4ae5fb57504583f\n");
}

TEST(ScenarioRunner, AnotherSeedAnotherBattle)
{
    RunnerOptions options;
    options.ScenarioPath = Fixture("scenario_v3.dat");
    options.Steps = 50;
    options.Seed = -7;
    const std::string seven = RunToText(options);
    options.Seed = -8;
    EXPECT_NE(seven, RunToText(options));
}

TEST(ScenarioRunner, AMissingFileIsReportedNotFatal)
{
    RunnerOptions options;
    options.ScenarioPath = Fixture("no_such_file.dat");
    CScenarioRunner runner(options);
    EXPECT_FALSE(runner.Load());
    EXPECT_NE(runner.Error().find("cannot open input file"), std::string::npos);
}

// A stored run plays its frames. The counts are the file's own (2 alive,
// 1 injured, 0 dead): frame 0 lists RED states 1 2 0 1 2 0 1 2 0 1 2 0 and
// BLUE 2 0 1 2 0 1 2 0 1 2, frame 1 RED 2 0 1 2 0 1 2 0 1 2 0 1 and BLUE
// 0 1 2 0 1 2 0 1 2 0; the run wraps after frame 1 (its last step is 2).
TEST(ScenarioRunner, AStoredRunPlaysItsFrames)
{
    RunnerOptions options;
    options.ScenarioPath = Fixture("stored_v4.run");
    options.Steps = 5;
    std::istringstream lines(RunToText(options));
    std::vector<std::string> counts;
    for (std::string line; std::getline(lines, line);)
        counts.push_back(line.substr(0, line.rfind(' ')));
    EXPECT_EQ(counts, (std::vector<std::string>{"0 4 4 4 3", "1 4 4 3 3"}));
}

// A frame file replays its own agents: 4 RED and 3 BLUE, the second value of
// each side's header record. The states of its frames (RED 1..4 | BLUE 1..3)
// counted alive and injured:
//   step 0: 1 2 0 1 | 2 0 1  -> RED 1 and 2, BLUE 1 and 1
//   step 1: 2 0 1 2 | 0 1 2  -> RED 2 and 1, BLUE 1 and 1
//   step 2: 0 1 2 0 | 1 2 0  -> RED 1 and 1, BLUE 1 and 1
//   step 3: 1 2 0 1 | 2 0 1  -> RED 1 and 2, BLUE 1 and 1
//   step 4: 2 0 1 2 | 0 1 2  -> RED 2 and 1, BLUE 1 and 1
// The load leaves step 0; the last frame, step 5, is where the replay wraps,
// so steps 1..4 play. A seed, the forms or the batch step change no frame.
TEST(ScenarioRunner, AFrameFileReplaysItsFramesAsStored)
{
    const auto run = [](const std::string& path, const std::vector<const char*>& form) {
        RunnerOptions options;
        options.ScenarioPath = path;
        for (const std::string flag : form) {
            if (flag == "seed")
                options.Seed = 7;
            options.ShareCommunications |= flag == "comms";
            options.Weapons |= flag == "weapons";
            options.Batch |= flag == "batch";
        }
        std::istringstream lines(RunToText(options));
        std::vector<std::pair<std::string, std::string>> digests;  // counts, hash
        for (std::string line; std::getline(lines, line);)
            digests.emplace_back(line.substr(0, line.rfind(' ')), line.substr(line.rfind(' ') + 1));
        return digests;
    };
    const auto plain = run(Fixture("frames_startup.out"), {});
    std::vector<std::string> counts;
    std::set<std::string> hashes;
    for (const auto& [c, hash] : plain) {
        counts.push_back(c);
        hashes.insert(hash);
    }
    EXPECT_EQ(counts, (std::vector<std::string>{"0 1 2 1 1", "1 2 1 1 1", "2 1 1 1 1", "3 1 2 1 1", "4 2 1 1 1"}));
    EXPECT_EQ(hashes.size(), 5u) << "every frame moves its agents";
    const std::vector<const char*> forms[] = {{"seed"}, {"comms", "weapons"}, {"batch"}};
    for (const auto& form : forms)
        EXPECT_EQ(run(Fixture("frames_startup.out"), form), plain) << form.front();

    // RED agent 2 one cell further in the frame of step 2 changes that
    // step's hash alone.
    std::string text = testing::FixtureText("frames_startup.out");
    text.replace(text.find("\n1 9 7\n"), 7, "\n1 9 8\n");
    const std::string moved = testing::TempFolder() + "/moved.out";
    std::ofstream(moved, std::ios::binary) << text;
    const auto after = run(moved, {});
    ASSERT_EQ(after.size(), plain.size());
    for (std::size_t t = 0; t < plain.size(); ++t)
        EXPECT_EQ(after[t].second == plain[t].second, t != 2) << "step " << t;
}

// The built runner on `file`, its two streams caught apart; a hang ends after
// a minute with timeout's status 124.
struct RunnerStreams {
    int Status = -1;
    std::string Out, Err;
};
RunnerStreams RunRunnerProgram(const std::string& folder, const std::string& file)
{
    const std::string out = folder + "/stdout", err = folder + "/stderr";
    const std::string command = std::string("timeout 60 '") + BREVIMAR_RUNNER + "' '" + file + "' --steps 0 >'" + out +
                                "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    const auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

// Each message once, where the README puts it: a warning or a refusal on
// standard error after "warning: " or "error: ", neither word doubled, further
// lines indented by two blanks; a refusal leaves standard output empty.
TEST(ScenarioRunner, TheProgramSaysEachMessageOnceOnItsOwnStream)
{
    using namespace std::string_literals;
    const std::string folder = testing::TempFolder();
    // stored_v4.run without its last line: frame 2 (the file's third) breaks
    // off after BLUE agent 10's "16"; the damaged file holds 2626 words and
    // ends with its 524th line break (wc), so the missing word is word 2627,
    // on line 525. Frame 0 plays:
    // its counts are those of AStoredRunPlaysItsFrames.
    std::string text = testing::FixtureText("stored_v4.run");
    text.erase(text.rfind('\n', text.size() - 2) + 1);
    const std::string damaged = folder + "/damaged.run";
    std::ofstream(damaged, std::ios::binary) << text;
    const RunnerStreams warned = RunRunnerProgram(folder, damaged);
    EXPECT_EQ(warned.Status, 0);
    EXPECT_EQ(warned.Err, "warning: the stored run " + damaged +
                              " is damaged in frame 3 of the file: the frame of step 2 breaks off: expected an "
                              "integer after \"16\" (word 2627, line 525), but the file ends there.\n"
                              "  The scenario and the 2 complete frames before it are loaded.\n");
    EXPECT_TRUE(std::regex_match(warned.Out, std::regex("0 4 4 4 3 [0-9a-f]{16}\n"))) << warned.Out;

    // An extension is read in all-upper case as in all-lower case, and in
    // no other: S.DAT is read, s.Dat is refused below with the runner's own
    // list of what it reads, which names no document file.
    const std::string shoutedDat = folder + "/S.DAT", mixedDat = folder + "/s.Dat";
    std::ofstream(shoutedDat, std::ios::binary) << testing::FixtureText("scenario_v4.dat");
    std::ofstream(mixedDat, std::ios::binary) << testing::FixtureText("scenario_v4.dat");
    const RunnerStreams shouted = RunRunnerProgram(folder, shoutedDat);
    EXPECT_EQ(shouted.Status, 0);
    EXPECT_EQ(shouted.Err, "");
    EXPECT_TRUE(std::regex_match(shouted.Out, std::regex("0( [0-9]+){4} [0-9a-f]{16}\n"))) << shouted.Out;

    // A hostile scenario: the start-up reader skips 7 words and reads the
    // 8th as an integer, so it quotes "c" (word 7) and the 8th word, whose
    // bytes 01 00 1B and the backslash must reach the terminal escaped.
    const std::string hostile = folder + "/hostile.dat";
    std::ofstream(hostile, std::ios::binary) << "data_version 7 words here a b c \x01\x00x\x1b[2J\\ 4\n"s;
    // A document file: the runner reads none, whatever the file holds or
    // the case of its extension.
    const std::string document = folder + "/saved.brv", shoutedBrv = folder + "/RUN.BRV";
    std::ofstream(document, std::ios::binary) << "x";
    std::ofstream(shoutedBrv, std::ios::binary) << "x";
    // A scenario under a name the start-up reader does not read; zeros far
    // beyond the largest stored run, refused from their size.
    const std::string vlx = folder + "/x.vlx", txt = folder + "/scenario.txt";
    std::ofstream(vlx, std::ios::binary) << testing::FixtureText("scenario_v4.dat");
    std::ofstream(txt, std::ios::binary) << testing::FixtureText("scenario_v4.dat");
    const std::string unlisted = ":\n  its name does not end in an extension the runner reads: scenarios .dat or "
                                 ".DAT, stored runs .run or .RUN, and frame files .out or .OUT.\n";
    // A folder, refused as a folder however its name ends.
    const std::string dotDatFolder = folder + "/folder.dat/";
    std::filesystem::create_directories(dotDatFolder);
    const std::string largeDat = testing::WriteSparse("large.dat", 300u << 20),
                      largeOut = testing::WriteSparse("large.out", 300u << 20);
    const std::string tooLarge = ":\n  the file holds 314572800 bytes, more than the 16777216 any file of its kind "
                                 "may hold.\n";
    const struct {
        std::string Path, Err;
    } refusals[] = {
        {folder + "/no_such_file.dat", "error: cannot open input file.\n  " + folder + "/no_such_file.dat\n"},
        {dotDatFolder, "error: cannot open input file.\n  " + dotDatFolder + "\n"},
        {hostile, "error: cannot read input file " + hostile +
                      ":\n  expected an integer after \"c\" (word 8, line 1), found \"\\x01\\x00x\\x1b[2J\\\\\".\n"},
        {document, "error: " + document +
                       " is a document file (.brv), which the runner does not read: give it a scenario (.dat), "
                       "a stored run (.run) or a frame file (.out).\n"},
        {shoutedBrv, "error: " + shoutedBrv +
                      " is a document file (.brv), which the runner does not read: give it a scenario (.dat), "
                      "a stored run (.run) or a frame file (.out).\n"},
        {vlx, "error: cannot read input file " + vlx + unlisted},
        {txt, "error: cannot read input file " + txt + unlisted},
        {mixedDat, "error: cannot read input file " + mixedDat + unlisted},
        {largeDat, "error: cannot read input file " + largeDat + tooLarge},
        {largeOut, "error: cannot read input file " + largeOut + tooLarge},
    };
    for (const auto& r : refusals) {
        const RunnerStreams refused = RunRunnerProgram(folder, r.Path);
        EXPECT_EQ(refused.Status, 1) << r.Path;
        EXPECT_EQ(refused.Out, "") << r.Path;
        EXPECT_EQ(refused.Err, r.Err) << r.Path;
    }
}

// Whole runs of every fixture scenario keep the battle sound: forces only
// shrink, except injured agents reconstituted; nobody leaves the battlefield
// or stands on impassable terrain; the step never passes the last one.
TEST(ScenarioRunner, WholeRunsKeepTheirInvariants)
{
    for (const std::string& name : {Fixture("scenario_v1.dat"), Fixture("scenario_v2.dat"), Fixture("scenario_v3.dat"),
                                     Fixture("scenario_v4.dat"), Reference("large_terrain.dat"), Reference("small.dat")}) {
        RunnerOptions options;
        options.ScenarioPath = name;
        CScenarioRunner runner(options);
        ASSERT_TRUE(runner.Load()) << name << ": " << runner.Error();
        CBrevimarDoc& doc = runner.Document();
        StepDigest last = runner.Digest();
        for (int n = 0; n < 500 && runner.Advance(); ++n) {
            const StepDigest now = runner.Digest();
            ASSERT_LE(now.RedAlive + now.RedInjured, last.RedAlive + last.RedInjured) << name;
            ASSERT_LE(now.BlueAlive + now.BlueInjured, last.BlueAlive + last.BlueInjured) << name;
            ASSERT_LE(doc.RunHeader.CurrentStep, doc.RunHeader.LastStep) << name;
            std::set<std::pair<int, int>> cells;
            for (Side side : {Side::Red, Side::Blue}) {
                const CForce& force = doc.Force(side);
                for (int i = 1; i <= force.NumAgents; ++i) {
                    if (force.AgentState[i] == Dead)
                        continue;
                    const int x = force.AgentX[i], y = force.AgentY[i];
                    ASSERT_TRUE(x >= 1 && y >= 1 && x <= doc.Battlefield.BattleSize && y <= doc.Battlefield.BattleSize)
                        << name;
                    ASSERT_FALSE(IsImpassable(doc.Battlefield.TerrainType[GridIndex(x, y)])) << name;
                    ASSERT_TRUE(cells.insert({x, y}).second) << name;
                }
            }
            last = now;
        }
    }
}

// A RUN file of the first `steps` steps of a scenario's battle, as a capture
// from its start writes it.
void WriteCapturedRun(const std::string& scenario, int steps, const std::string& path)
{
    RunnerOptions options;
    options.ScenarioPath = scenario;
    CScenarioRunner runner(options);
    ASSERT_TRUE(runner.Load()) << runner.Error();
    runner.Document().RunCaptureOn = 1;
    for (int n = 0; n < steps; ++n)
        ASSERT_TRUE(runner.Advance());
    std::ofstream out(path);
    WriteScenario(runner.Document(), out);
    ASSERT_TRUE(out.good());
}

// Every frame of whole runs (live, a stored run's replay, a frame file's
// playback; trace off and on) shows every living agent on show with a living
// code, whatever dead agent lies on its cell. The runs must meet such cells,
// or the test would prove nothing: the stored run is a RUN capture of
// large.dat, where agents walk over the fallen.
TEST(ScenarioRunner, EveryFrameShowsEveryLivingAgent)
{
    const std::string captured = testing::TempFolder() + "/captured.run";
    ASSERT_NO_FATAL_FAILURE(WriteCapturedRun(Reference("large.dat"), 120, captured));
    struct Case {
        std::string Path;
        bool Stored;     // the agents on show are those of the frame played
        bool MeetsDead;  // living agents stand on the cells of dead ones
    };
    const Case cases[] = {{Reference("large.dat"), false, true}, {Reference("large_terrain.dat"), false, true},
                          {captured, true, true}, {Fixture("frames_startup.out"), true, false}};
    for (const Case& c : cases) {
        int shared = 0;
        for (int trace : {0, 1}) {
            RunnerOptions options;
            options.ScenarioPath = c.Path;
            CScenarioRunner runner(options);
            ASSERT_TRUE(runner.Load()) << c.Path << ": " << runner.Error();
            CBrevimarDoc& doc = runner.Document();
            doc.TraceOn = trace;
            const int extent = (doc.RunMode == ReplayMode ? doc.RunHeader.LatticeSize : doc.Battlefield.BattleSize) + 2;
            for (int n = 0; n < 200 && runner.Advance(); ++n) {
                const int t = doc.RunHeader.CurrentStep;
                const unsigned char* plane = doc.DisplayPlane(doc.DisplayFrame);
                std::set<std::pair<int, int>> dead;
                std::vector<std::pair<int, int>> living;
                for (Side side : {Side::Red, Side::Blue}) {
                    const CForce& f = doc.Force(side);
                    const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
                    for (int i = 1; i <= (c.Stored ? doc.StoredFrameAgents(side) : f.NumAgents); ++i) {
                        const int state = c.Stored ? doc.Capture(base, t, i) : f.AgentState[i];
                        const int x = c.Stored ? doc.Capture(base + 1, t, i) : f.AgentX[i];
                        const int y = c.Stored ? doc.Capture(base + 2, t, i) : f.AgentY[i];
                        if (state == Dead)
                            dead.insert({x, y});
                        else
                            living.push_back({x, y});
                    }
                }
                for (const auto& [x, y] : living) {
                    const int code = plane[LatticeCellOffset(extent, x, y)];
                    ASSERT_TRUE(code == LatticeRedAlive || code == LatticeBlueAlive || code == LatticeRedInjured ||
                                code == LatticeBlueInjured || code == LatticeRedCommander)
                        << c.Path << " trace " << trace << " step " << t << " cell " << x << "," << y << " code "
                        << code;
                    shared += dead.count({x, y}) > 0;
                }
            }
        }
        if (c.MeetsDead) {
            EXPECT_GT(shared, 0) << c.Path;
        }
    }
}

}  // namespace
}  // namespace brevimar

namespace brevimar {
namespace {

TEST(ScenarioRunner, TheBatchStepFilesTheSwitchedOnStatisticsEveryStepFromZero)
{
    RunnerOptions options;
    options.ScenarioPath = Reference("small.dat");
    options.Batch = true;
    CScenarioRunner runner(options);
    ASSERT_TRUE(runner.Load());
    CBrevimarDoc& doc = runner.Document();
    doc.Statistics.DataCollectionOn = 1;
    doc.SetAllStatistics();
    doc.InitializeForces();
    doc.ResetBattlefield();  // files step 0
    for (int n = 1; n <= 20; ++n)
        ASSERT_TRUE(runner.Advance());
    const int size = doc.Battlefield.BattleSize;
    for (int t = 0; t <= 20; ++t) {
        EXPECT_GE(doc.Collected.CenterOfMassSeries[4][t], 1.0) << t;
        EXPECT_LE(doc.Collected.CenterOfMassSeries[4][t], size) << t;
        EXPECT_GT(doc.Collected.MeanClusterSizeD1[t], 0.0) << t;
        EXPECT_GT(doc.Collected.InterpointMean[6][t], 0.0) << t;
    }
    EXPECT_EQ(doc.Collected.InterpointMean[6][21], 0.0) << "not yet reached";
}

// In the kill-only view every cell where an agent lies dead in the frame on
// show carries its side's kill mark, whether a living agent stands there now
// or an agent of the other side fell there too; no other cell carries one.
// The marks, from the picture table: a RED death is a cross, slot 31 on
// white ground and 30 where the live frame finds passable terrain (types
// 3..5) under it; a BLUE death a square, slots 33 and 34; a stored run does
// not say where its dead lay relative to terrain, so its marks are 31 and 33.
// With both sides' maps on, a cell where both fell shows BLUE's, written
// last. The dead are read from the forces (the capture for a stored run),
// not from the lattice.
TEST(ScenarioRunner, KillOnlyPictureMarksEveryCellWhereAnAgentLiesDead)
{
    const std::string captured = testing::TempFolder() + "/kills.run";
    ASSERT_NO_FATAL_FAILURE(WriteCapturedRun(Reference("small.dat"), 300, captured));
    struct Case {
        std::string Path;
        bool Stored;
        bool OnPassableTerrain;  // some agents fall on passable terrain
    };
    const Case cases[] = {{Reference("small.dat"), false, false},
                          {Reference("large.dat"), false, false},
                          {Reference("large_terrain.dat"), false, true},
                          {captured, true, false}};
    struct Maps {
        int Red, Blue;
    };
    const Maps maps[] = {{1, 1}, {1, 0}, {0, 1}};
    auto picture = std::make_unique<CBattlefieldPicture>();
    for (const Case& c : cases) {
        for (int trace : {0, 1}) {
            RunnerOptions options;
            options.ScenarioPath = c.Path;
            CScenarioRunner runner(options);
            ASSERT_TRUE(runner.Load()) << c.Path << ": " << runner.Error();
            CBrevimarDoc& doc = runner.Document();
            doc.TraceOn = trace;
            doc.BackgroundToggle = 1;
            doc.KillMapOnly = 1;
            int covered = 0;  // cells where a living agent stands on a dead one, met at the checks
            int passableMarks = 0;
            for (int n = 1; n <= 300 && runner.Advance(); ++n) {
                if (n % 100 != 0)
                    continue;
                const int t = doc.RunHeader.CurrentStep;
                // fell[side] holds the cells where an agent of the side lies dead.
                std::set<std::pair<int, int>> fell[2], living;
                for (Side side : {Side::Red, Side::Blue}) {
                    const CForce& f = doc.Force(side);
                    const int base = side == Side::Red ? RedCaptureState : BlueCaptureState;
                    for (int i = 1; i <= (c.Stored ? doc.StoredFrameAgents(side) : f.NumAgents); ++i) {
                        const int state = c.Stored ? doc.Capture(base, t, i) : f.AgentState[i];
                        const std::pair<int, int> cell{c.Stored ? doc.Capture(base + 1, t, i) : f.AgentX[i],
                                                       c.Stored ? doc.Capture(base + 2, t, i) : f.AgentY[i]};
                        (state == Dead ? fell[side == Side::Red ? 0 : 1] : living).insert(cell);
                    }
                }
                for (const auto& cell : living)
                    covered += fell[0].count(cell) + fell[1].count(cell) > 0;
                for (const Maps& m : maps) {
                    doc.KillMapRed = m.Red;
                    doc.KillMapBlue = m.Blue;
                    ComposeBattlefield(doc, *picture);
                    int wanted = 0, marked = 0;
                    for (int x = 1; x <= doc.Battlefield.BattleSize; ++x)
                        for (int y = 1; y <= doc.Battlefield.BattleSize; ++y) {
                            const int type = doc.Battlefield.TerrainType[GridIndex(x, y)];
                            const bool passable = !c.Stored && type >= PassableI && type <= PassableIII;
                            const bool red = m.Red == 1 && fell[0].count({x, y}) > 0;
                            const bool blue = m.Blue == 1 && fell[1].count({x, y}) > 0;
                            const int slot = picture->CellSlot(x, y);
                            const int want = blue ? (passable ? cellslot::BlueDeathPassable : cellslot::BlueDeathWhite)
                                             : red ? (passable ? cellslot::RedDeathPassable : cellslot::RedDeathWhite)
                                                   : -1;
                            if (want >= 0) {
                                ++wanted;
                                marked += slot == want;
                                passableMarks += passable;
                            } else {
                                EXPECT_TRUE(slot < cellslot::RedDeathPassable || slot > cellslot::BlueDeathBlack)
                                    << c.Path << " step " << t << " maps " << m.Red << m.Blue << " cell " << x << ","
                                    << y << " slot " << slot;
                            }
                        }
                    EXPECT_EQ(marked, wanted) << c.Path << " trace " << trace << " step " << t << " maps " << m.Red
                                              << m.Blue;
                }
            }
            // Else the runs would not meet the cells the fault is about.
            EXPECT_GT(covered, 0) << c.Path << " trace " << trace;
            EXPECT_EQ(passableMarks > 0, c.OnPassableTerrain) << c.Path << " trace " << trace;
        }
    }
}

}  // namespace
}  // namespace brevimar
