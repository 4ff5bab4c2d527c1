#include "files/DocumentFile.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <vector>

#include "core/Document.h"
#include "core/FileFilters.h"
#include "core/InputFile.h"
#include "core/OutputFile.h"
#include "files/ReadReport.h"
#include "files/RunFrames.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

constexpr int HeaderInts = 4;
constexpr int MaxStoredStep = CaptureRows - 1;

void PutInt(std::ostream& out, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                           static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
    out.write(bytes, 4);
}

std::int32_t IntAt(std::string_view bytes, std::size_t index)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 4 * index;
    const std::uint32_t u = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
    return static_cast<std::int32_t>(u);
}

bool Outside(const char* what, long long value, long long low, long long high, std::string* problem)
{
    if (value >= low && value <= high)
        return false;
    *problem = std::string("the ") + what + " is " + std::to_string(value) + "; it must lie in " +
               std::to_string(low) + " to " + std::to_string(high);
    return true;
}

// The 16-byte header at the start of `bytes`, and the length of the file in
// bytes when it is known beforehand, against the length the header promises,
// which goes to *expected.
bool CheckHeader(std::string_view bytes, std::optional<std::uintmax_t> length, std::size_t* expected,
                 std::string* problem)
{
    if (bytes.size() < 4 * HeaderInts) {
        *problem = "the file holds " + std::to_string(length.value_or(bytes.size())) +
                   " bytes, fewer than its 16-byte header";
        return false;
    }
    const int size = IntAt(bytes, 0);
    const int red = IntAt(bytes, 1);
    const int blue = IntAt(bytes, 2);
    const int steps = IntAt(bytes, 3);
    if (Outside("battle size", size, 1, MaxBattleSize, problem) || Outside("RED count", red, 0, MaxAgents, problem) ||
        Outside("BLUE count", blue, 0, MaxAgents, problem) || Outside("step count", steps, 0, MaxStoredStep, problem))
        return false;
    *expected = 4 * (HeaderInts + (1 + 3 * static_cast<std::size_t>(red + blue)) * steps);
    if (length && *length != *expected) {
        *problem = "the file holds " + std::to_string(*length) + " bytes; a history of " + std::to_string(steps) +
                   " steps of " + std::to_string(red) + " RED and " + std::to_string(blue) + " BLUE agents takes " +
                   std::to_string(*expected);
        return false;
    }
    return true;
}

}  // namespace

bool IsDocumentFile(const std::string& path)
{
    std::string extension = FileExtensionOf(path);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return extension == DocumentFileExtension;
}

int StoredHistorySteps(const CBrevimarDoc& doc)
{
    switch (doc.RunMode) {
    case PlaybackMode:
    case ReplayMode:
        return std::clamp(doc.RunHeader.LastStep, 0, MaxStoredStep);
    case InteractiveMode:
        // Frame 0, the deployment, has no record in the file.
        return std::max(doc.CapturedFrames() - 1, 0);
    default:
        return 0;
    }
}

void StoreDocument(const CBrevimarDoc& doc, std::ostream& out)
{
    const CRunHeader& h = doc.RunHeader;
    const int red = std::clamp(h.RedCount, 0, MaxAgents);
    const int blue = std::clamp(h.BlueCount, 0, MaxAgents);
    const int steps = StoredHistorySteps(doc);
    PutInt(out, h.LatticeSize);
    PutInt(out, red);
    PutInt(out, blue);
    PutInt(out, steps);
    const bool captured = std::all_of(std::begin(doc.CaptureBuffer), std::end(doc.CaptureBuffer),
                                      [](const auto& b) { return b != nullptr; });
    for (int k = 1; k <= steps; ++k) {
        PutInt(out, k);
        for (int base : {RedCaptureState, BlueCaptureState}) {
            const int n = base == RedCaptureState ? red : blue;
            for (int i = 1; i <= n; ++i)
                for (int b = base; b < base + 3; ++b)
                    PutInt(out, captured ? doc.CaptureBuffer[b][CaptureIndex(k, i)] : 0);
        }
    }
}

bool LoadDocument(CBrevimarDoc& doc, std::string_view bytes, std::string* problem)
{
    std::size_t expected = 0;
    if (!CheckHeader(bytes, bytes.size(), &expected, problem))
        return false;
    const int size = IntAt(bytes, 0);
    const int red = IntAt(bytes, 1);
    const int blue = IntAt(bytes, 2);
    const int steps = IntAt(bytes, 3);
    const std::size_t recordInts = 1 + 3 * static_cast<std::size_t>(red + blue);
    for (int k = 1; k <= steps; ++k) {
        const std::size_t record = HeaderInts + recordInts * (k - 1);
        for (int a = 0; a < red + blue; ++a) {
            const std::size_t at = record + 1 + 3 * a;
            const bool isRed = a < red;
            const std::string agent = std::string(isRed ? "RED" : "BLUE") + " agent " +
                                      std::to_string(isRed ? a + 1 : a - red + 1) + " of step record " +
                                      std::to_string(k);
            const int state = IntAt(bytes, at);
            const int x = IntAt(bytes, at + 1);
            const int y = IntAt(bytes, at + 2);
            if (state < Dead || state > Alive) {
                *problem = agent + " has state " + std::to_string(state) + "; states are 0 dead, 1 injured, 2 alive";
                return false;
            }
            // A living agent stands on a cell of the battlefield; a dead one
            // may keep the (0, 0) of an agent that never stood anywhere.
            const int low = state == Dead ? 0 : 1;
            if (x < low || x > size || y < low || y > size) {
                *problem = agent + (state == Dead ? " (dead)" : " (living)") + " stands at (" + std::to_string(x) +
                           ", " + std::to_string(y) + "), outside the battlefield of " + std::to_string(size) + " x " +
                           std::to_string(size);
                return false;
            }
        }
    }

    // Checked: commit.
    doc.Pause();
    doc.AllocateHeapBuffers();
    CRunHeader& h = doc.RunHeader;
    h.LatticeSize = size;
    h.RedCount = red;
    h.BlueCount = blue;
    h.LastStep = steps;
    // Rows the file does not fill must not show agents of an earlier run.
    for (auto& buffer : doc.CaptureBuffer)
        std::fill_n(buffer.get(), CaptureCells, 0);
    for (int k = 1; k <= steps; ++k) {
        const std::size_t record = HeaderInts + recordInts * (k - 1);
        h.CurrentStep = IntAt(bytes, record);
        for (int a = 0; a < red + blue; ++a) {
            const bool isRed = a < red;
            const int base = isRed ? RedCaptureState : BlueCaptureState;
            const int i = isRed ? a + 1 : a - red + 1;
            for (int b = 0; b < 3; ++b)
                doc.CaptureBuffer[base + b][CaptureIndex(k, i)] = IntAt(bytes, record + 1 + 3 * a + b);
        }
    }
    h.CurrentStep = 1;
    doc.DisplayFrame = 0;
    doc.ClearLattice();
    doc.RebuildLatticeFromPlayback();
    doc.Pause();
    return true;
}

// Opened as every writer's file is, so that a FIFO nobody reads, or whose
// reader stops, holds the save a moment only, and said as every writer says
// a file that did not open or did not take it all.
bool WriteDocumentFile(CBrevimarDoc& doc, const std::string& path)
{
    OutputFile out(path);
    if (!out.is_open()) {
        ReportReadProblem(doc, CannotOpenOutputMessage(path, out.Problem()));
        return false;
    }
    StoreDocument(doc, out);
    out.close();
    if (!out) {
        ReportReadProblem(doc, CannotWriteMessage(path, out.Problem()));
        return false;
    }
    return true;
}

bool ReadDocumentFile(CBrevimarDoc& doc, const std::string& path)
{
    InputFile in(path);
    if (!in.is_open()) {
        ReportReadProblem(doc, "Error: cannot open input file.\n" + path);
        return false;
    }
    // The header says how long the file must be: a file of another size is
    // refused before the rest is read, however large it is. Of a file whose
    // size is not known beforehand (a pipe), what the header promises and
    // one byte more are read, to see whether it holds more.
    std::optional<std::uintmax_t> length;
    std::error_code error;
    if (const std::uintmax_t size = std::filesystem::file_size(path, error); !error)
        length = size;
    std::string bytes(4 * HeaderInts, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::string problem;
    std::size_t expected = 0;
    // A header cut short by a writer that stopped is no short header.
    if (!in.bad() && !in.Stalled()) {
        if (!CheckHeader(bytes, length, &expected, &problem)) {
            ReportReadProblem(doc, BadInputFileMessage(path, problem));
            return false;
        }
        bytes.resize(expected + 1);
        in.read(bytes.data() + 4 * HeaderInts, static_cast<std::streamsize>(bytes.size() - 4 * HeaderInts));
        bytes.resize(4 * HeaderInts + static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > expected)
            problem = "the file holds more than the " + std::to_string(expected) + " bytes its header promises";
    }
    if (in.Stalled())
        problem = StalledFileProblem(bytes.size());
    if (in.bad() || !problem.empty() || !LoadDocument(doc, bytes, &problem)) {
        ReportReadProblem(doc, BadInputFileMessage(path, in.bad() ? "the file could not be read to its end" : problem));
        return false;
    }
    return true;
}

bool SaveDocumentAs(CBrevimarDoc& doc)
{
    if (StoredHistorySteps(doc) < 1) {
        doc.host().ShowMessage(
            "This window holds no run history to save.\nA document file keeps the frames of a stored run or frame "
            "file being played back, or of a RUN capture (File > Save > Brevimar RUN File...).");
        return false;
    }
    FileDialogRequest request;
    request.Filter = DocumentFileFilter;
    request.DefaultExtension = DocumentFileExtension;
    request.Title = "Save document file";
    const std::optional<std::string> chosen = doc.host().ChooseFileToSave(request);
    return chosen && WriteDocumentFile(doc, *chosen);
}

}  // namespace brevimar
