#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "experiments/MultiRunBatch.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::TestDocument;

constexpr int S = 3, T = 5;

void MakeBatch(CBrevimarDoc& doc)
{
    testing::SkirmishOptions o;
    o.PerSide = 12;
    o.BattleSize = 30;
    o.ShotProb = 0.3f;
    testing::MakeSkirmish(doc, o);
    doc.RunMode = MultipleTimeSeriesMode;
    doc.RandomState = doc.InitialSeed;
    doc.Statistics.CenterOfMassOn = 1;
    doc.Series.MultiRunSampleCount = S;
    doc.Series.MultiRunStepCount = T;
}

struct Counts {
    int RedAlive = 0, BlueAlive = 0;
    double RedX = 0;  // RED centre-of-mass x
};

Counts Count(const CBrevimarDoc& doc)
{
    Counts c;
    int present = 0;
    for (int a = 1; a <= doc.RedForce.NumAgents; ++a) {
        c.RedAlive += doc.RedForce.AgentState[a] == Alive;
        if (doc.RedForce.AgentState[a] > Dead)
            c.RedX += doc.RedForce.AgentX[a], ++present;
    }
    for (int a = 1; a <= doc.BlueForce.NumAgents; ++a)
        c.BlueAlive += doc.BlueForce.AgentState[a] == Alive;
    if (present > 0)
        c.RedX /= present;
    return c;
}

TEST(MultiRunBatch, SamplesEqualRunsByHandAndAveragesFollowThem)
{
    TestDocument batch;
    MakeBatch(*batch);
    // The batch's arrays are taken by the first batch, not by every document.
    EXPECT_FALSE(batch->MultiRunBuffersAllocated());
    EXPECT_EQ(batch->GaRecords, nullptr);
    RunMultiTimeSeriesBatch(*batch, 45, nullptr);
    EXPECT_TRUE(batch->MultiRunBuffersAllocated());
    EXPECT_EQ(batch->Series.MultiRunSample, S);
    EXPECT_EQ(batch->Series.MultiRunBusy, 0);
    EXPECT_EQ(batch.Host.PumpCount, S * T) << "one message per step, and one as each sample ends";

    // The same samples by hand: one generator chained through all of them.
    TestDocument hand;
    MakeBatch(*hand);
    hand->InitializeForces();
    Counts byHand[S + 1][T];
    for (int s = 1; s <= S; ++s) {
        hand->RunTerminated = 0;
        hand->RunHeader.CurrentStep = 0;
        hand->SetupBattlefield();
        byHand[s][0] = Count(*hand);
        for (int k = 1; k < T; ++k) {
            hand->RunHeader.CurrentStep = k;
            hand->StepSimulation();
            byHand[s][k] = Count(*hand);
        }
    }
    bool anyLoss = false;
    for (int s = 1; s <= S; ++s)
        for (int k = 0; k < T; ++k) {
            const int cell = SampleIndex(s, k);
            EXPECT_EQ(batch->SampleRedAlive[cell], byHand[s][k].RedAlive) << s << "," << k;
            EXPECT_EQ(batch->SampleBlueAlive[cell], byHand[s][k].BlueAlive) << s << "," << k;
            EXPECT_DOUBLE_EQ(batch->MultiRunData.SampleCenterOfMass[0][cell], byHand[s][k].RedX) << s << "," << k;
            anyLoss |= byHand[s][k].BlueAlive < 12;
        }
    EXPECT_TRUE(anyLoss) << "the fixture should fight";
    EXPECT_NE(byHand[1][T - 1].RedX, byHand[2][T - 1].RedX) << "samples should differ";

    // The tallies start afresh each sample: without fratricide or defence
    // each hit scored by BLUE took one state from a RED agent of the last
    // sample, all of which began alive.
    int redStatesLost = 0, blueStatesLost = 0;
    for (int a = 1; a <= batch->RedForce.NumAgents; ++a)
        redStatesLost += Alive - batch->RedForce.AgentState[a];
    for (int a = 1; a <= batch->BlueForce.NumAgents; ++a)
        blueStatesLost += Alive - batch->BlueForce.AgentState[a];
    EXPECT_EQ(batch->BlueHitTally, redStatesLost);
    EXPECT_EQ(batch->RedHitTally, blueStatesLost);
    EXPECT_GT(batch->RedHitTally, 0);

    const CMultiRunCharted& a = batch->MultiRunCharts;
    // Every sample deploys its 12 agents a side whole: the averaged attrition
    // starts at S * 12 alive, none injured, so its first point is 1.
    EXPECT_EQ(a.MultiRunRedAliveSum[0], S * 12);
    EXPECT_EQ(a.MultiRunBlueAliveSum[0], S * 12);
    EXPECT_EQ(a.MultiRunRedInjuredSum[0] + a.MultiRunBlueInjuredSum[0], 0);
    for (int k = 1; k < T; ++k) {
        int sum = 0;
        double mean = 0;
        for (int s = 1; s <= S; ++s)
            sum += byHand[s][k].BlueAlive, mean += byHand[s][k].RedX / S;
        int dev = 0;
        double spread = 0;
        for (int s = 1; s <= S; ++s)
            dev += std::abs(byHand[s][k].BlueAlive - sum / S), spread += std::fabs(byHand[s][k].RedX - mean) / S;
        EXPECT_EQ(a.MultiRunBlueAliveSum[k], sum) << k;
        EXPECT_EQ(a.MultiRunBlueAliveDevSum[k], dev) << k;
        EXPECT_NEAR(a.MultiRunMean[9][k], mean, 1e-12) << k;
        EXPECT_NEAR(a.MultiRunDev[9][k], spread, 1e-12) << k;
    }
}

TEST(MultiRunBatch, ProgressIsWrittenOnlyWhereAStatusLineShowsIt)
{
    // S = 3 samples of T = 5 steps: one progress line per step of each
    // sample, the last " [ Time ]: 5/5", where a status line shows them.
    for (bool shows : {true, false}) {
        TestDocument doc;
        MakeBatch(*doc);
        doc.Host.ShowsStatus = shows;
        RunMultiTimeSeriesBatch(*doc, 45, nullptr);
        int progress = 0;
        for (const std::string& text : doc.Host.StatusTexts)
            progress += text.find("[ Time ]: 5/5") != std::string::npos;
        EXPECT_EQ(progress, shows ? S : 0) << shows;
    }
}

TEST(MultiRunBatch, SameSeedSameAverages)
{
    TestDocument first, second;
    MakeBatch(*first);
    MakeBatch(*second);
    RunMultiTimeSeriesBatch(*first, 45, nullptr);
    RunMultiTimeSeriesBatch(*second, 45, nullptr);
    for (int k = 1; k < T; ++k) {
        EXPECT_EQ(first->MultiRunCharts.MultiRunRedAliveSum[k], second->MultiRunCharts.MultiRunRedAliveSum[k]);
        EXPECT_EQ(first->MultiRunCharts.MultiRunMean[9][k], second->MultiRunCharts.MultiRunMean[9][k]);
    }
}

// RED's 12 agents in a 3 x 3 box: every sample meets the same problem. A
// batch says it once, without waiting on an answer, and the next batch of the
// mode once again.
TEST(MultiRunBatch, ASetUpProblemIsSaidOncePerBatch)
{
    TestDocument doc;
    MakeBatch(*doc);
    doc->Battlefield.R_box_l[1] = doc->Battlefield.R_box_w[1] = 3;
    for (std::size_t batch = 1; batch <= 2; ++batch) {
        RunMultiTimeSeriesBatch(*doc, 45, nullptr);
        ASSERT_EQ(doc->Series.MultiRunSample, S);
        EXPECT_TRUE(doc.Host.Messages.empty());
        ASSERT_EQ(doc.Host.Notices.size(), batch);
        EXPECT_TRUE(doc.Host.Notices.back().Text.ends_with(
            "- the deployment box of RED squad 1 has 9 free cells for 12 agents\nAgents that find no free cell are "
            "left off the battlefield, dead.\nLater runs of this batch may meet this problem too; it is not said "
            "again until the next batch."))
            << doc.Host.Notices.back().Text;
    }
}

// User-defined terrain without cells, answered with a file made for a larger
// battlefield than the batch's 30 x 30: the batch asks once and says the
// refusal once, in a notice it does not wait on; its later samples run
// without terrain, also after a pause. A set-up outside the batch's runs
// (while it stands paused) asks and refuses in a box as ever; the next batch
// asks again.
TEST(MultiRunBatch, ATerrainFileIsAskedForOncePerBatch)
{
    TestDocument doc;
    MakeBatch(*doc);
    doc->Battlefield.TerrainMode = 2;
    doc->Battlefield.CellTerrainDefined = 0;
    const std::string large = testing::WriteTemp("large.ter", "150\n1\n3 4\n2 1");
    const std::string refusal = "Error: current battlefield size is too small.\nThe terrain file " + large +
                                " was made for a 150 x 150 battlefield; this one is 30 x 30.";
    doc.Host.FileChoices = {large, large, large, large};
    int pumps = 0;
    doc.Host.OnPump = [&] {
        if (++pumps == T + 1)  // sample 2, step 1
            doc->Pause();
    };
    RunMultiTimeSeriesBatch(*doc, 45, nullptr);
    ASSERT_EQ(doc->Series.MultiRunSample, 2);
    EXPECT_EQ(doc.Host.FileRequests.size(), 1u);
    EXPECT_TRUE(doc.Host.Messages.empty());

    doc->SetupBattlefield();
    EXPECT_EQ(doc.Host.FileRequests.size(), 2u);
    ASSERT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_EQ(doc.Host.Messages[0].Text, refusal);

    doc->Resume();
    RunMultiTimeSeriesBatch(*doc, 45, nullptr);
    ASSERT_EQ(doc->Series.MultiRunSample, S);
    EXPECT_EQ(doc.Host.FileRequests.size(), 2u);
    EXPECT_EQ(doc.Host.Messages.size(), 1u);
    ASSERT_EQ(doc.Host.Notices.size(), 1u);
    EXPECT_EQ(doc.Host.Notices[0].Text, refusal);

    RunMultiTimeSeriesBatch(*doc, 45, nullptr);
    EXPECT_EQ(doc.Host.FileRequests.size(), 3u);
    EXPECT_EQ(doc.Host.Messages.size(), 1u);
    EXPECT_EQ(doc.Host.Notices.size(), 2u);
    EXPECT_EQ(doc->Battlefield.CellTerrainDefined, 0);
}

TEST(MultiRunBatch, PauseSuspendsAndTheNextCallResumes)
{
    TestDocument whole, paused;
    MakeBatch(*whole);
    MakeBatch(*paused);
    RunMultiTimeSeriesBatch(*whole, 45, nullptr);
    int pumps = 0;
    paused.Host.OnPump = [&] {
        if (++pumps == T + 1)  // sample 2, step 1
            paused->Pause();
    };
    RunMultiTimeSeriesBatch(*paused, 45, nullptr);
    EXPECT_EQ(paused->Series.MultiRunBusy, 0);
    EXPECT_EQ(paused->Series.MultiRunSample, 2);
    EXPECT_EQ(paused->Series.MultiRunStep, 1);
    paused->Resume();
    RunMultiTimeSeriesBatch(*paused, 45, nullptr);
    EXPECT_EQ(paused->Series.MultiRunSample, S);
    for (int k = 1; k < T; ++k)
        EXPECT_EQ(paused->MultiRunCharts.MultiRunMean[9][k], whole->MultiRunCharts.MultiRunMean[9][k]) << k;
}

TEST(MultiRunBatch, CountsBeyondTheArraysAreClamped)
{
    TestDocument doc;
    MakeBatch(*doc);
    doc->Series.MultiRunSampleCount = 999;
    doc->Series.MultiRunStepCount = 999;
    doc.Host.OnPump = [&] { doc->Pause(); };  // stop after the first step
    RunMultiTimeSeriesBatch(*doc, 45, nullptr);
    EXPECT_EQ(doc->Series.MultiRunSampleCount, 350);
    EXPECT_EQ(doc->Series.MultiRunStepCount, 201);
}

TEST(MultiRunBatch, WeaponsRawDataFile)
{
    TestDocument doc;
    MakeBatch(*doc);
    doc->Series.MultiRunSampleCount = 2;
    doc->Series.MultiRunStepCount = 3;
    doc->WeaponStatsOn = 1;
    doc->RedForce.WeaponsOn = 1;
    doc->RedForce.NumSquads = 2;
    doc->RedForce.num_per_squad[1] = 7, doc->RedForce.num_per_squad[2] = 5;
    doc->RedForce.grenades[2] = 3;
    const std::string path = testing::TempFolder() + "/run.rwd";
    doc.Host.FileChoices.push_back(path);
    int asked = 0;
    RunMultiTimeSeriesBatch(*doc, 45, [&](int& answer) {
        ++asked;
        EXPECT_EQ(answer, 1);
        return true;
    });
    EXPECT_EQ(asked, 1);
    std::string text;
    ASSERT_TRUE(ReadTextFile(path, &text));
    std::istringstream lines(text);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line))
        all.push_back(line);
    ASSERT_GE(all.size(), 30u);
    EXPECT_EQ(all[0], "");
    EXPECT_EQ(all[1], "* red squads = 2");
    EXPECT_EQ(all[2], "* red agents per squad = 7   5");
    EXPECT_EQ(all[3], "* grenades per squad 0   3");
    EXPECT_EQ(all[10], "* blue squads = 1");
    EXPECT_EQ(all[11], "* blue agents per squad = 12");
    EXPECT_EQ(all[19], "* FORMAT:");
    // Per sample: an empty line, "SAMPLE s", an empty line, rows 1 and 2.
    EXPECT_EQ(all[23], "");
    EXPECT_EQ(all[24], "SAMPLE 1");
    EXPECT_EQ(all[25], "");
    // Row: step, ten spaces, two RED squads of six "shots hits" pairs, ten
    // spaces, one BLUE squad.
    const std::string zeros6 = "0 0   0 0   0 0   0 0   0 0   0 0";
    EXPECT_EQ(all[26].substr(0, 11), "1          ");
    EXPECT_EQ(all[26].size(), std::string("1          ").size() + 2 * zeros6.size() + 4 + 10 + zeros6.size());
    EXPECT_EQ(all[27].substr(0, 1), "2");
    EXPECT_EQ(all[29], "SAMPLE 2");
    EXPECT_EQ(all.size(), 33u);
    EXPECT_NE(text.back(), '\n');
}

// A weapons raw-data file that takes nothing (a full device) is reported and
// no sample runs; the batch started again with a FIFO that is read runs
// whole, its header and every sample through one opening, so the reader
// sees no end between them and gets what the same batch writes to a
// regular file.
TEST(MultiRunBatch, WeaponsRawDataNotTakenIsReportedAndAPipeGetsTheWholeFile)
{
    const auto batch = [](TestDocument& doc, const std::string& path) {
        doc.Host.FileChoices.push_back(path);
        RunMultiTimeSeriesBatch(*doc, 45, [](int&) { return true; });
        std::string said = "sample " + std::to_string(doc->Series.MultiRunSample) + ": ";
        for (const auto& message : doc.Host.Messages)
            said += message.Text + "|";
        doc.Host.Messages.clear();
        return said;
    };
    const auto made = [](TestDocument& doc) {
        MakeBatch(*doc);
        doc->WeaponStatsOn = 1;
        doc->RedForce.WeaponsOn = 1;
    };
    testing::DrainedPipe pipe("run.rwd");
    const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
        TestDocument doc;
        made(doc);
        const std::string full = batch(doc, "/dev/full");
        return full + " then " + batch(doc, pipe.Path);
    });
    EXPECT_EQ(answer,
              "sample 0: Error: cannot write output file /dev/full:\nNo space left on device.| then sample 3: ");
    TestDocument doc;
    made(doc);
    const std::string regular = testing::TempFolder() + "/run.rwd";
    ASSERT_EQ(batch(doc, regular), "sample 3: ");
    std::string text;
    ASSERT_TRUE(ReadTextFile(regular, &text));
    EXPECT_NE(text.find("SAMPLE 3"), std::string::npos);
    EXPECT_EQ(pipe.Taken(), text);
}

// The weapons raw-data file a FIFO whose reader takes all that came and
// closes while the batch stands paused in its last sample: what that sample
// wrote since it began goes out only as the file is closed at the batch's
// end, run on to its last step or ended by Terminate Run, finds no reader,
// and is reported once, naming the bytes the reader took.
TEST(MultiRunBatch, AWeaponsFileThatFailsAtTheBatchsEndIsReported)
{
    for (const bool runOn : {true, false}) {
        SCOPED_TRACE(runOn ? "run on" : "terminated");
        TestDocument doc;
        MakeBatch(*doc);
        doc->WeaponStatsOn = 1;
        doc->RedForce.WeaponsOn = 1;
        const std::string path = testing::UnfedPipe("closed.rwd");
        const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        doc.Host.FileChoices.push_back(path);
        int pumps = 0;
        doc.Host.OnPump = [&] {
            if (++pumps == 2 * T + 2)  // sample 3, step 2
                doc->Pause();
        };
        const auto yes = [](int&) { return true; };
        RunMultiTimeSeriesBatch(*doc, 45, yes);
        ASSERT_EQ(doc->Series.MultiRunSample, S);
        ASSERT_EQ(doc->MultiRunData.SampleOpen, 1);
        std::string taken;
        char chunk[4096];
        for (::ssize_t n; (n = ::read(reader, chunk, sizeof chunk)) > 0;)
            taken.append(chunk, static_cast<std::size_t>(n));
        ::close(reader);
        EXPECT_NE(taken.find("SAMPLE 2"), std::string::npos);
        EXPECT_EQ(taken.find("SAMPLE 3"), std::string::npos) << "still held when the reader went";
        ASSERT_TRUE(doc.Host.Messages.empty());

        if (runOn) {
            doc.Host.OnPump = nullptr;
            doc->Resume();
            RunMultiTimeSeriesBatch(*doc, 45, yes);
            EXPECT_EQ(doc->MultiRunData.BatchUnfinished, 0);
        } else {
            doc->TerminateRun();
        }
        EXPECT_EQ(doc->MultiRunData.BatchOpen, 0);
        ASSERT_EQ(doc.Host.Messages.size(), 1u);
        EXPECT_EQ(doc.Host.Messages[0].Text, "Error: cannot write output file " + path +
                                                 ":\nits reader closed it after " +
                                                 std::to_string(taken.size()) + " bytes were written into it.");
    }
}

// The batch of 50 steps a sample with its weapons raw data written to
// `path`: the sample it ended on and what it said.
std::string RunWeaponsBatch(TestDocument& doc, const std::string& path)
{
    MakeBatch(*doc);
    doc->Series.MultiRunStepCount = 50;
    doc->WeaponStatsOn = 1;
    doc->RedForce.WeaponsOn = 1;
    doc.Host.FileChoices.push_back(path);
    RunMultiTimeSeriesBatch(*doc, 45, [](int&) { return true; });
    std::string said = "sample " + std::to_string(doc->Series.MultiRunSample) + ": ";
    for (const auto& message : doc.Host.Messages)
        said += message.Text + "|";
    return said;
}

// A weapons raw-data file whose reader closes early is said once, naming
// it, and written no more; the batch runs all its samples. 50 steps a
// sample make a file of more than the two pages the pipe and its reader
// take, so the writes go on after the reader went.
TEST(MultiRunBatch, WeaponsRawDataWhoseReaderClosesEarlyIsReportedAndTheBatchRunsOn)
{
    TestDocument whole;
    const std::string regular = testing::TempFolder() + "/run.rwd";
    ASSERT_EQ(RunWeaponsBatch(whole, regular), "sample 3: ");
    ASSERT_GT(std::filesystem::file_size(regular), 2u * testing::DrainedPipe::PageBytes);

    testing::DrainedPipe pipe("run.rwd", testing::DrainedPipe::Reader::ClosesEarly);
    const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
        TestDocument doc;
        return RunWeaponsBatch(doc, pipe.Path);
    });
    const long long taken = testing::BytesBeforeReaderClosed(answer);
    EXPECT_EQ(answer, "sample 3: Error: cannot write output file " + pipe.Path + ":\nits reader closed it after " +
                          std::to_string(taken) + " bytes were written into it.|");
    EXPECT_GE(taken, 1);
    EXPECT_LE(taken, 2 * testing::DrainedPipe::PageBytes);
}

// The same file under the process's file-size limit of half its size, the
// signal at its default: cut there, it is said once, naming it, and written
// no more; the batch runs all its samples.
TEST(MultiRunBatch, WeaponsRawDataCutByTheFileSizeLimitIsReportedAndTheBatchRunsOn)
{
    const std::string folder = testing::TempFolder();
    TestDocument whole;
    ASSERT_EQ(RunWeaponsBatch(whole, folder + "/whole.rwd"), "sample 3: ");
    const std::uintmax_t half = std::filesystem::file_size(folder + "/whole.rwd") / 2;
    const std::string cut = folder + "/cut.rwd";
    const std::string answer = testing::AnswerUnderFileSizeLimit(half, [&] {
        TestDocument doc;
        return RunWeaponsBatch(doc, cut);
    });
    EXPECT_EQ(answer, "sample 3: Error: cannot write output file " + cut + ":\nFile too large.|");
    EXPECT_EQ(std::filesystem::file_size(cut), half);
}

TEST(MultiRunBatch, DecliningTheWeaponsFileOrCancellingItRunsAccordingly)
{
    TestDocument declined, cancelled;
    for (CBrevimarDoc* d : {declined.Doc.get(), cancelled.Doc.get()}) {
        MakeBatch(*d);
        d->WeaponStatsOn = 1;
        d->RedForce.WeaponsOn = 1;
    }
    RunMultiTimeSeriesBatch(*declined, 45, [](int& answer) {
        answer = 0;
        return true;
    });
    EXPECT_EQ(declined->WeaponStatsOn, 0);
    EXPECT_EQ(declined.Host.PumpCount, S * T) << "one message per step, and one as each sample ends";

    cancelled.Host.FileChoices.push_back(std::nullopt);
    RunMultiTimeSeriesBatch(*cancelled, 45, [](int&) { return false; });
    EXPECT_EQ(cancelled->WeaponStatsOn, 1);
    EXPECT_EQ(cancelled.Host.PumpCount, 0) << "no sample runs";
    // Ended as not run: no completion follows, and the run waits for Run.
    EXPECT_EQ(cancelled->Series.MultiRunSample, 0);
    EXPECT_EQ(cancelled->Series.MultiRunBusy, 0);
    EXPECT_EQ(cancelled->Paused, 1);
    EXPECT_NE(cancelled.Host.LastStatus().find("[ Samples ]: 0/3"), std::string::npos) << cancelled.Host.LastStatus();
}

// Terminate Run ends a batch paused in its second sample: the raw-data file
// is closed with a last line saying it is incomplete, and a later batch
// starts afresh with its own file.
TEST(MultiRunBatch, TerminateEndsAPausedBatchAndMarksItsFileIncomplete)
{
    TestDocument doc;
    MakeBatch(*doc);
    doc->WeaponStatsOn = 1;
    doc->RedForce.WeaponsOn = 1;
    const std::string folder = testing::TempFolder();
    doc.Host.FileChoices.push_back(folder + "/ended.rwd");
    int pumps = 0;
    doc.Host.OnPump = [&] {
        if (++pumps == T + 1)  // sample 2, step 1
            doc->Pause();
    };
    const auto yes = [](int&) { return true; };
    RunMultiTimeSeriesBatch(*doc, 45, yes);
    ASSERT_EQ(doc->Series.MultiRunSample, 2);
    doc->TerminateRun();
    EXPECT_EQ(doc->RunMode, InteractiveMode);
    EXPECT_EQ(doc->MultiRunData.WeaponsRawData, nullptr);
    EXPECT_EQ(doc->Series.MultiRunSample, 0);
    std::string text;
    ASSERT_TRUE(ReadTextFile(folder + "/ended.rwd", &text));
    const std::string last = text.substr(text.rfind('\n') + 1);
    EXPECT_EQ(last, "* INCOMPLETE: the run was ended during sample 2 of 3");

    // The next batch asks for its file again and runs all its samples.
    doc.Host.OnPump = nullptr;
    doc->RunMode = MultipleTimeSeriesMode;
    doc.Host.FileChoices.push_back(folder + "/whole.rwd");
    RunMultiTimeSeriesBatch(*doc, 45, yes);
    EXPECT_EQ(doc->Series.MultiRunSample, S);
    ASSERT_TRUE(ReadTextFile(folder + "/whole.rwd", &text));
    EXPECT_EQ(text.find("INCOMPLETE"), std::string::npos);
    EXPECT_NE(text.find("SAMPLE 3"), std::string::npos);
}

// The last line of a batch ended before its averages says what the file
// lacks. Sample s, step k is pumped at (s - 1) * T + k, and a pause given
// there holds after that step's row; rows run k = 1..T-1 = 1..4.
TEST(MultiRunBatch, AnEndedBatchSaysWhatItsFileLacks)
{
    enum class End { Terminate, EmptyDocument };
    struct Case {
        int pausePump;
        End end;
        const char* lastRow;  // the row before the note
        const char* note;
    } const cases[] = {
        {2 * T - 1, End::Terminate, "4", "* INCOMPLETE: the run was ended after sample 2 of 3"},
        {3 * T - 1, End::Terminate, "4",
         "* INCOMPLETE: the run was ended with all 3 samples written; the averages were not computed"},
        // Emptied as the closing of its last window empties it.
        {T + 2, End::EmptyDocument, "2", "* INCOMPLETE: the run was ended during sample 2 of 3"},
    };
    const std::string path = testing::TempFolder() + "/ended_early.rwd";
    for (const Case& c : cases) {
        TestDocument doc;
        MakeBatch(*doc);
        doc->WeaponStatsOn = 1;
        doc->RedForce.WeaponsOn = 1;
        doc.Host.FileChoices.push_back(path);
        int pumps = 0;
        doc.Host.OnPump = [&] {
            if (++pumps == c.pausePump)
                doc->Pause();
        };
        RunMultiTimeSeriesBatch(*doc, 45, [](int&) { return true; });
        ASSERT_EQ(doc->MultiRunData.BatchOpen, 1) << c.note;
        if (c.end == End::Terminate)
            doc->TerminateRun();
        doc->DeleteContents();  // a second ending finds nothing left to mark
        std::string text;
        ASSERT_TRUE(ReadTextFile(path, &text));
        const std::size_t noteAt = text.rfind('\n');
        const std::size_t rowAt = text.rfind('\n', noteAt - 1);
        EXPECT_EQ(text.substr(noteAt + 1), c.note);
        EXPECT_EQ(text.substr(rowAt + 1, std::string(c.lastRow).size() + 10), std::string(c.lastRow) + "          ")
            << c.note;
        EXPECT_EQ(text.find("INCOMPLETE"), text.rfind("INCOMPLETE")) << "marked once";
    }
}

}  // namespace
}  // namespace brevimar
