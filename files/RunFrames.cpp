#include "files/RunFrames.h"

#include <algorithm>
#include <sstream>

#include "core/Document.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

bool Describe(const CWordReader& words, const std::string& where, std::string* problem)
{
    *problem = where + words.Failure().Describe();
    return false;
}

std::string FrameName(int step) { return "the frame of step " + std::to_string(step); }

// One frame after its step: state, x, y per agent, RED then BLUE.
bool ReadFrameBody(CWordReader& words, int step, int redCount, int blueCount, int battleSize,
                   std::vector<int>* values, std::string* problem)
{
    for (int side = 0; side < 2; ++side) {
        const int count = side == 0 ? redCount : blueCount;
        for (int i = 1; i <= count; ++i) {
            int triple[3] = {};
            if (!words.ReadEach(triple, 3))
                return Describe(words, FrameName(step) + " breaks off: ", problem);
            const int x = triple[1];
            const int y = triple[2];
            if (triple[0] < Dead || triple[0] > Alive) {
                *problem = FrameName(step) + " gives " + (side == 0 ? "RED" : "BLUE") + " agent " +
                           std::to_string(i) + " the state " + std::to_string(triple[0]) + ", outside 0..2";
                return false;
            }
            // Set-up leaves an agent that found no free cell dead at (0, 0);
            // every other agent stands on the battlefield.
            const bool leftOff = triple[0] == Dead && x == 0 && y == 0;
            if (!leftOff && (x < 1 || x > battleSize || y < 1 || y > battleSize)) {
                std::ostringstream text;
                text << FrameName(step) << " puts " << (side == 0 ? "RED" : "BLUE") << " agent " << i << " at ("
                     << x << ", " << y << "), off the " << battleSize << " x " << battleSize << " battlefield";
                *problem = text.str();
                return false;
            }
            values->insert(values->end(), triple, triple + 3);
        }
    }
    return true;
}

bool CheckFrameStep(int step, std::string* problem)
{
    if (step >= 0 && step < CaptureRows)
        return true;
    *problem = "a frame has step " + std::to_string(step) + ", outside the stored steps 0.." +
               std::to_string(CaptureRows - 1);
    return false;
}

bool CheckCount(int value, int low, int high, const std::string& what, std::string* problem)
{
    if (value >= low && value <= high)
        return true;
    *problem = what + " is " + std::to_string(value) + ", outside " + std::to_string(low) + ".." + std::to_string(high);
    return false;
}

template <typename T>
bool ReadHeaderValues(CWordReader& words, T* values, int count, std::string* problem)
{
    return words.ReadEach(values, count) || Describe(words, "the run header breaks off: ", problem);
}

bool ReadSnapshot(CWordReader& words, CRunSnapshot& snapshot, int& count, std::string* problem)
{
    // File order: lead, the side's agent count, then the rest of the record;
    // the record's last field is not in the file.
    return ReadHeaderValues(words, &snapshot.Lead, 1, problem) && ReadHeaderValues(words, &count, 1, problem) &&
           ReadHeaderValues(words, snapshot.Ints1, 2, problem) &&
           ReadHeaderValues(words, snapshot.Floats1, 12, problem) &&
           ReadHeaderValues(words, snapshot.Ints2, 4, problem) &&
           ReadHeaderValues(words, &snapshot.Float2, 1, problem) &&
           ReadHeaderValues(words, snapshot.Ints3, 8, problem) &&
           ReadHeaderValues(words, snapshot.Floats3, 7, problem);
}

}  // namespace

bool ReadStartupFrames(CWordReader& words, int redCount, int blueCount, int battleSize, int startStep,
                       CStoredFrames* frames, int* lastStep, std::string* problem)
{
    frames->RedCount = redCount;
    frames->BlueCount = blueCount;
    frames->Steps.clear();
    frames->Values.clear();
    int current = startStep;
    // Later frames than the one of step 350 stay in the file unread.
    while (!words.AtEnd() && current < MaxStoredFrameStep) {
        int step = 0;
        if (!words.Read(step))
            return Describe(words, "a frame step is unreadable: ", problem);
        if (!CheckFrameStep(step, problem))
            return false;
        if (!ReadFrameBody(words, step, redCount, blueCount, battleSize, &frames->Values, problem)) {
            // Only complete frames stay: a caller may keep them.
            frames->Values.resize(frames->Steps.size() * 3 * (static_cast<std::size_t>(redCount) + blueCount));
            *lastStep = frames->Steps.empty() ? startStep : frames->Steps.back();
            return false;
        }
        frames->Steps.push_back(step);
        current = step;
    }
    *lastStep = current;
    return true;
}

bool ReadStoredRunFrames(CWordReader& words, int redCount, int blueCount, int battleSize, int startStep,
                         const std::string& path, CStoredFrames* frames, int* lastStep, std::string* problem,
                         std::string* warning)
{
    warning->clear();
    if (ReadStartupFrames(words, redCount, blueCount, battleSize, startStep, frames, lastStep, problem))
        return true;
    if (frames->FrameCount() == 0)
        return false;
    const int complete = frames->FrameCount();
    *warning = "Warning: the stored run " + path + " is damaged in frame " + std::to_string(complete + 1) +
               " of the file: " + *problem + ".\nThe scenario and the " + std::to_string(complete) +
               (complete == 1 ? " complete frame" : " complete frames") + " before it are loaded.";
    problem->clear();
    return true;
}

void StoreFrames(CBrevimarDoc& doc, const CStoredFrames& frames)
{
    const int* value = frames.Values.data();
    for (int step : frames.Steps) {
        for (int side = 0; side < 2; ++side) {
            const int count = side == 0 ? frames.RedCount : frames.BlueCount;
            const int base = side == 0 ? RedCaptureState : BlueCaptureState;
            for (int i = 1; i <= count; ++i) {
                doc.Capture(base, step, i) = value[0];
                doc.Capture(base + 1, step, i) = value[1];
                doc.Capture(base + 2, step, i) = value[2];
                value += 3;
            }
        }
    }
}

bool ReadRunHeaderValues(CWordReader& words, CRunHeader* header, std::string* problem)
{
    CRunHeader scratch = *header;
    if (!ReadHeaderValues(words, &scratch.LatticeSize, 1, problem) ||
        !ReadHeaderValues(words, scratch.GeneralInts, 6, problem) ||
        !ReadSnapshot(words, scratch.RedSnapshot, scratch.RedCount, problem) ||
        !ReadSnapshot(words, scratch.BlueSnapshot, scratch.BlueCount, problem) ||
        !ReadHeaderValues(words, &scratch.Trailer, 1, problem))
        return false;
    if (!CheckCount(scratch.LatticeSize, 1, MaxBattleSize, "the lattice size", problem) ||
        !CheckCount(scratch.RedCount, 0, MaxAgents, "the RED agent count", problem) ||
        !CheckCount(scratch.BlueCount, 0, MaxAgents, "the BLUE agent count", problem))
        return false;
    *header = scratch;
    return true;
}

bool LoadStartupFrameFile(CBrevimarDoc& doc, CWordReader& words, std::string* problem)
{
    CRunHeader header = doc.RunHeader;
    if (!ReadRunHeaderValues(words, &header, problem))
        return false;
    CStoredFrames frames;
    int lastStep = 0;
    if (!ReadStartupFrames(words, header.RedCount, header.BlueCount, header.LatticeSize, doc.RunHeader.CurrentStep,
                           &frames, &lastStep, problem))
        return false;

    doc.RunMode = ReplayMode;
    doc.LoadInputFile = 0;
    doc.RunHeader = header;
    doc.LatticeExtentX = doc.LatticeExtentY = header.LatticeSize + 2;
    StoreFrames(doc, frames);
    doc.RunHeader.RedAlive = header.RedCount;
    doc.RunHeader.RedInjured = 0;
    doc.RunHeader.BlueAlive = header.BlueCount;
    doc.RunHeader.BlueInjured = 0;
    doc.RunHeader.LastStep = lastStep;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RebuildLatticeFromPlayback();
    return true;
}

bool ReadShortFrameFile(CBrevimarDoc& doc, const std::string& path, std::string* error)
{
    std::string text, refusal;
    if (!ReadTextFile(path, &text, &refusal)) {
        *error = refusal.empty() ? CannotOpenInputFileMessage(path) : BadInputFileMessage(path, refusal);
        return false;
    }
    return ReadShortFrameText(doc, text, path, error);
}

bool ReadShortFrameText(CBrevimarDoc& doc, std::string_view text, const std::string& path, std::string* error)
{
    CWordReader words(text);
    std::string problem;
    auto refuse = [&] {
        *error = BadInputFileMessage(path, problem);
        return false;
    };

    int counts[4] = {};  // lattice size, RED count, BLUE count, last step
    if (!words.ReadEach(counts, 4)) {
        Describe(words, "the header breaks off: ", &problem);
        return refuse();
    }
    const int latticeSize = counts[0], redCount = counts[1], blueCount = counts[2], lastStep = counts[3];
    if (!CheckCount(latticeSize, 1, MaxBattleSize, "the lattice size", &problem) ||
        !CheckCount(redCount, 0, MaxAgents, "the RED agent count", &problem) ||
        !CheckCount(blueCount, 0, MaxAgents, "the BLUE agent count", &problem))
        return refuse();
    if (lastStep >= CaptureRows) {
        problem = "the last frame step " + std::to_string(lastStep) + " lies beyond the stored steps 0.." +
                  std::to_string(CaptureRows - 1);
        return refuse();
    }

    CStoredFrames frames;
    frames.RedCount = redCount;
    frames.BlueCount = blueCount;
    // The frame that reaches the last step ends the file's frames; with a
    // last step of 0 or less there are none.
    for (bool more = lastStep > 0; more;) {
        int step = 0;
        if (!words.Read(step)) {
            Describe(words, "the frames end before step " + std::to_string(lastStep) + ": ", &problem);
            return refuse();
        }
        if (!CheckFrameStep(step, &problem) ||
            !ReadFrameBody(words, step, redCount, blueCount, latticeSize, &frames.Values, &problem))
            return refuse();
        frames.Steps.push_back(step);
        more = step < lastStep;
    }

    doc.RunHeader.LatticeSize = latticeSize;
    doc.RunHeader.RedCount = redCount;
    doc.RunHeader.BlueCount = blueCount;
    doc.RunHeader.LastStep = lastStep;
    // Rows the file skips must not show agents of an earlier history.
    for (auto& buffer : doc.CaptureBuffer)
        if (buffer)
            std::fill_n(buffer.get(), CaptureCells, 0);
    StoreFrames(doc, frames);
    return true;
}

std::string CannotOpenInputFileMessage(const std::string& path)
{
    return "Error: cannot open input file.\n" + path;
}

std::string BadInputFileMessage(const std::string& path, const std::string& problem)
{
    return "Error: cannot read input file " + path + ":\n" + problem + ".";
}

}  // namespace brevimar
