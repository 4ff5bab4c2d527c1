#include "core/BatchForce.h"

#include <algorithm>
#include <iterator>

#include "core/Limits.h"

namespace brevimar {

ForceShape ForceShape::Of(const CForce& f)
{
    ForceShape shape;
    shape.NumSquads = f.NumSquads;
    std::copy(std::begin(f.num_per_squad), std::end(f.num_per_squad), shape.Sizes);
    shape.NumAgents = f.NumAgents;
    return shape;
}

void ForceShape::Into(CForce& f) const
{
    f.NumSquads = NumSquads;
    std::copy(std::begin(Sizes), std::end(Sizes), f.num_per_squad);
    f.NumAgents = NumAgents;
}

void CBatchForce::Start(const CForce& scenario)
{
    *this = CBatchForce();
    Scenario = Seen = ForceShape::Of(scenario);
    UserLeftAgents = Scenario.NumAgents >= 1;
}

// The batch's own writes change nothing the rule keeps: they all go back.
void CBatchForce::Closed(const CForce& f, bool user, bool byHand)
{
    const ForceShape now = ForceShape::Of(f);
    if (user && now != Seen) {
        NetChange += now.NumAgents - Seen.NumAgents;
        if (now.NumAgents != Seen.NumAgents)
            UserLeftAgents = now.NumAgents >= 1;
        if (!byHand && now.NumSquads != Seen.NumSquads)
            TypedCount = now.NumSquads;
        for (int s = 0; s < SquadSlots; ++s) {
            const int grown = now.Sizes[s] - Seen.Sizes[s];
            if (grown == 0)
                continue;
            if (!byHand) {
                // What the user typed holds what was placed there before.
                TypedSize[s] = now.Sizes[s];
                Placed[s] = 0;
            } else if (TypedSize[s]) {
                *TypedSize[s] += grown;
            } else {
                Placed[s] += grown;
            }
        }
    }
    Seen = now;
}

void CBatchForce::Leave(CForce& f) const
{
    Scenario.Into(f);
    const std::optional<long long> total = BatchMadeSquads ? MadeTotal() : EditedSquads(f);
    if (!total)
        return;
    if (*total < 1 && UserLeftAgents) {
        Scenario.Into(f);
        return;
    }
    f.NumAgents = static_cast<int>(std::clamp<long long>(*total, 0, MaxAgents));
    if (BatchMadeSquads || *total > MaxAgents)
        f.ReconcileSquadSizes();
}

std::optional<long long> CBatchForce::MadeTotal() const
{
    const long long total = std::clamp<long long>(Scenario.NumAgents + NetChange, 0, MaxAgents);
    if (total == Scenario.NumAgents)
        return std::nullopt;
    return total;
}

std::optional<long long> CBatchForce::EditedSquads(CForce& f) const
{
    bool edited = TypedCount.has_value();
    if (TypedCount)
        f.NumSquads = *TypedCount;
    for (int s = 0; s < SquadSlots; ++s)
        if (TypedSize[s]) {
            f.num_per_squad[s] = *TypedSize[s];
            edited = true;
        }
    const int squads = std::clamp(f.NumSquads, 0, MaxSquads);
    long long held = 0, placed = 0;
    for (int s = 1; s <= squads; ++s) {
        held += f.num_per_squad[s];
        placed += Placed[s];
    }
    if (placed != 0 && held + placed >= 0 && held + placed <= MaxAgents) {
        for (int s = 1; s <= squads; ++s)
            f.num_per_squad[s] += static_cast<int>(Placed[s]);
        held += placed;
        edited = true;
    }
    if (!edited)
        return std::nullopt;
    return held;
}

}  // namespace brevimar
