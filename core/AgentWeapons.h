// Agent-specific weapons: the grenade (weapon 0) and five point-to-point
// weapons (1..5), with their P(hit) by range.
#pragma once

namespace brevimar {

constexpr int WeaponKinds = 6;
constexpr int Grenade = 0;
constexpr int HitRanges = 11;  // P(hit) and landing tables hold ranges 0..10

struct SideWeapons {
    float prob_landing[HitRanges] = {1.0f};  // P(a grenade lands r cells from its target)
    int fratricide_tolerance = 0;  // most friends allowed in the blast square
    int use_threshold = 0;         // fewest enemies worth a throw
    int min_throw_range = 0;
    int max_throw_range = 0;
    int blast_range = 3;
    int sensor_type = 0;  // 0 P(hit) at range 0 everywhere, 1 Chebyshev range, 2 Euclidean range
    int max_tgts[WeaponKinds] = {2, 2, 2, 2, 2, 2};
    int fire_range[WeaponKinds] = {1, 1, 1, 1, 1, 1};
    float prob_hit[WeaponKinds][HitRanges] = {{1.0f}, {1.0f}, {1.0f}, {1.0f}, {1.0f}, {1.0f}};
};

struct CAgentWeapons {
    int GrenadeLandingX = -1;  // last landing cell chosen; -1: none
    int GrenadeLandingY = -1;
    SideWeapons Red;
    SideWeapons Blue;
};

// Shots and hits since the statistics last filed them.
struct CWeaponTallies {
    double WeaponShots[WeaponKinds] = {};
    double WeaponHits[WeaponKinds] = {};
    double SquadWeaponShots[11][WeaponKinds] = {};
    double SquadWeaponHits[11][WeaponKinds] = {};
};

}  // namespace brevimar
