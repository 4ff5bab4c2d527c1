// Runs a scenario headless and reports a digest of each step: a tool for the
// integration tests and the benchmarks, not a user feature.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Document.h"

namespace brevimar {

struct RunnerOptions {
    std::string ScenarioPath;
    int Steps = 100;
    bool Batch = false;               // the batch step instead of the run loop
    std::optional<int> Seed;          // restart the scenario from this seed
    int DigestEvery = 1;
    // Forms of a scenario for the equivalence digests and the benchmarks,
    // applied after loading, before the forces are set up again:
    bool ShareCommunications = false;  // both sides' squads 1..10 hear each other
    bool LineOfSight = false;          // sight lines over the terrain, when there is terrain
    bool Weapons = false;              // every fifth agent throws grenades, the others carry weapons 1..4
};

// Puts the forms asked for on a loaded document and sets its forces and
// battlefield up again from the initial seed.
void ApplyRunnerForms(CBrevimarDoc& doc, const RunnerOptions& options);

struct StepDigest {
    int Step = 0;
    int RedAlive = 0, RedInjured = 0, BlueAlive = 0, BlueInjured = 0;
    std::uint64_t Hash = 0;  // of every agent's state and position
};

// A host without a window: what the program would show in a message box is
// kept until the runner passes it on, once, as a warning or the error.
class RunnerHost : public HeadlessHost {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    void Log(const std::string&) override {}
    // Grenades are aimed with a generator reseeded from the clock; a clock
    // that stands still makes a run with grenades repeatable.
    std::time_t Now() override { return 1000000000; }
    std::vector<std::string> Pending;
};

class CScenarioRunner {
public:
    explicit CScenarioRunner(const RunnerOptions& options);

    // False when the scenario could not be loaded (a document file is never
    // read); Error() says why.
    bool Load();
    // One step: the run loop's interactive step, a batch step, or the next
    // frame of a stored run or a frame file, as the run loop replays it.
    // False once the run has wrapped at its last step.
    bool Advance();
    StepDigest Digest() const;
    const std::string& Error() const { return ErrorText; }
    CBrevimarDoc& Document() { return *Doc; }

    // Runs the whole scenario, printing a digest line every DigestEvery steps
    // on `out`, and every message the document gives (set-up problems above
    // all) on `warnings`, each starting "warning: ". A file refused prints
    // "error: " and why on `warnings` too, nothing on `out`, and the result
    // is 1.
    int Run(std::ostream& out, std::ostream& warnings);

private:
    RunnerOptions Options;
    RunnerHost Host;
    std::unique_ptr<CBrevimarDoc> Doc;
    std::string ErrorText;
    // Every message passed on so far: the options set the battle up again
    // (a seed, the forms), and its problems are the same ones.
    std::vector<std::string> Said;

    void PassOnWarnings(std::ostream& warnings);
};

std::ostream& operator<<(std::ostream& out, const StepDigest& digest);

}  // namespace brevimar
