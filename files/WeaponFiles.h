// The two weapons files.
//
// Squad-specific weapons (*.wp): per side the function and sensor types, the
// weapon function each squad uses, the parameters of the ten weapon functions
// and their P(hit) at ranges 1..20, for alive and injured shooters.
//
// Agent-specific weapons (*.awp): per side how many agents of each squad carry
// the grenade and each of the five point-to-point weapons, and the weapons'
// parameters. Loading it brings each squad's carrier counts in line with the
// squad size and hands every agent its weapon.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/AgentWeapons.h"
#include "core/Force.h"

namespace brevimar {

class CBrevimarDoc;
struct CDocumentState;

// --- squad-specific weapons
void WriteSquadWeaponsText(const SquadWeaponFunction& red, const SquadWeaponFunction& blue, std::ostream& out);
// Commits both sides only when the whole file was read and every squad's
// weapon function lies in 1..10.
bool ReadSquadWeaponsText(std::string_view text, SquadWeaponFunction* red, SquadWeaponFunction* blue,
                          std::string* problem);
void SaveSquadWeaponsFile(CBrevimarDoc& doc);
int LoadSquadWeaponsFile(CBrevimarDoc& doc);

// --- agent-specific weapons
// Carriers of weapon k (0 grenade, 1..5 point weapon k) in each squad 1..10.
int* WeaponCarriers(CForce& force, int k);
const int* WeaponCarriers(const CForce& force, int k);

void WriteAgentWeaponsText(const CDocumentState& doc, std::ostream& out);
// Reads the weapons and carrier counts of both sides into the document; no
// balancing. Commits only when the whole file was read, no carrier count is
// negative, the blast range lies in 0..999 and every fire range in -999..999
// (reaches past the P(hit) tables included).
bool ReadAgentWeaponsText(std::string_view text, CDocumentState* doc, std::string* problem);
// Makes the carriers of each squad 1..NumSquads add up to the squad size.
// Too few: the largest count (first of equal ones: grenade, then weapons
// 1..5) takes the shortfall, unless every count is 0. Too many: the excess is
// taken from the largest counts in turn, never below 0.
void BalanceSquadWeapons(CForce& force);
// The same for one squad's six counts (by weapon: grenade, then 1..5).
void BalanceCarrierCounts(int counts[WeaponKinds], int squadSize);
// Agents 1..NumAgents in order take the first weapon (point weapon 1..5, then
// the grenade) that their squad still has carriers for; an agent left without
// one keeps its weapon.
void HandOutWeapons(CForce& force);
void WriteAgentWeaponsFile(CBrevimarDoc& doc);
int LoadAgentWeaponsFile(CBrevimarDoc& doc);

}  // namespace brevimar
