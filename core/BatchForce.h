// What becomes of a force's make-up (its squad count, its squads' sizes and
// its total) when a genetic algorithm or a fitness landscape that wrote into
// it is left. The batch's byte record puts back every other value; this is
// the whole rule for these, decided once, at the leave, from what was kept
// while the batch stood:
// - whether the batch made the force's squads (it says so when it decodes a
//   member of one squad, a squad composition, or squads of a count other
//   than the scenario's): once it has, the squads are the batch's until it
//   is left, squad count included, whatever the user does to them;
// - the user's net change to the force's total, every dialog OK and right
//   click summed;
// - the agents the user placed by hand, per squad;
// - the sizes (and squad count) the user typed.
// At the leave:
// - the batch made the squads: the scenario's total plus the net change,
//   within 0..300, split over the scenario's squads as a scenario file's
//   total is;
// - otherwise: a typed size or squad count stands as typed, and every agent
//   placed in a squad whose size was typed, before the typing or after it,
//   counts in that size; each other agent placed is one more in the
//   scenario's squad it was placed in, where the force has room for all of
//   them, and none is counted where it has not; the total is the squads'
//   sum, and squads that hold more than 300 are fitted as a scenario file's
//   are (the last squads give way).
// In either case, where that leaves no agent though the user's last change
// of the total left agents in the force, the force comes back as the
// scenario held it.
// A force nobody touched comes back as the scenario held it, byte for byte.
#pragma once

#include <optional>

#include "core/Force.h"

namespace brevimar {

// A force's squad count, squad sizes and total.
struct ForceShape {
    int NumSquads = 0;
    int Sizes[SquadSlots] = {};
    int NumAgents = 0;

    static ForceShape Of(const CForce& f);
    void Into(CForce& f) const;
    bool operator==(const ForceShape&) const = default;
};

class CBatchForce {
public:
    // The scenario's force, as the batch finds it; nothing of the user's yet.
    void Start(const CForce& scenario);
    void SquadsMadeByBatch() { BatchMadeSquads = true; }
    // The batch runs the force in `count` squads of the scenario's own:
    // squads of any other count are the batch's make.
    void SquadCountOfBatch(int count) { BatchMadeSquads = BatchMadeSquads || count != Scenario.NumSquads; }

    // The force as a write opens, and as it closes: what changed between is
    // the user's (by hand: an agent placed by a right click) or the batch's.
    void Opened(const CForce& f) { Seen = ForceShape::Of(f); }
    void Closed(const CForce& f, bool user, bool byHand);

    // The force `f` as the batch leaves it becomes the force the rule gives.
    void Leave(CForce& f) const;

private:
    // The total the rule gives, none where the force stays as the scenario
    // held it; EditedSquads also puts the user's squads into `f`.
    std::optional<long long> MadeTotal() const;
    std::optional<long long> EditedSquads(CForce& f) const;

    ForceShape Scenario, Seen;
    bool BatchMadeSquads = false;
    long long NetChange = 0;
    bool UserLeftAgents = true;  // after the user's last change of the total, or in the scenario
    long long Placed[SquadSlots] = {};
    std::optional<int> TypedCount;
    std::optional<int> TypedSize[SquadSlots];
};

}  // namespace brevimar
