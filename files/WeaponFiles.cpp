#include "files/WeaponFiles.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>

#include "core/Document.h"
#include "files/AuxiliaryFileCommand.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

// Words of a comment or label line, as the readers skip them.
int WordsOf(std::string_view line)
{
    std::istringstream in{std::string(line)};
    int n = 0;
    for (std::string word; in >> word;)
        ++n;
    return n;
}

// Reading by position with the first problem kept.
class PositionReader {
public:
    explicit PositionReader(std::string_view text) : Words(text) {}

    bool Skip(std::string_view line) { return Words.Skip(WordsOf(line)); }
    template <typename T>
    bool Read(T& value)
    {
        return Words.Read(value);
    }
    std::string Problem() const { return DescribeReadFailure(Words); }

private:
    CWordReader Words;
};

// --- squad-specific weapons

constexpr const char* WpStars = "******************************";
constexpr int FileRanges = 20;

struct ParamRow {
    const char* AliveLabel;
    const char* InjuredLabel;
    double (SquadWeaponFunction::*Values)[SquadSlots][2];
};

constexpr ParamRow ParamRows[] = {
    {"plow_alive      ", "plow_injured     ", &SquadWeaponFunction::plow},
    {"phigh_alive     ", "phigh_injured    ", &SquadWeaponFunction::phigh},
    {"pmin_alive      ", "pmin_injured     ", &SquadWeaponFunction::pmin},
    {"pmax_alive      ", "pmax_injured     ", &SquadWeaponFunction::pmax},
    {"rmin_alive      ", "rmin_injured     ", &SquadWeaponFunction::rmin},
    {"rmax_alive      ", "rmax_injured     ", &SquadWeaponFunction::rmax},
    {"power_alive      ", "power_injured    ", &SquadWeaponFunction::power},
};
constexpr const char* DecayLabels[2] = {"decay_alive      ", "decay_injured    "};
constexpr const char* StateWords[2] = {"ALIVE", "INJURED"};
constexpr const char* RangePrefix[2] = {"A:p_r", "I:p_r"};

std::string FunctionHeader()
{
    std::string line = "*";
    for (int w = 1; w <= MaxSquads; ++w)
        line += "\t\tw" + std::to_string(w);
    return line;
}

std::string SquadHeader()
{
    std::string line = "*\t\ts1  s2";
    for (int s = 3; s <= MaxSquads; ++s)
        line += "\ts" + std::to_string(s);
    return line;
}

void WriteSquadSection(const SquadWeaponFunction& f, bool red, std::ostream& out)
{
    if (!red)
        out << '\n';
    out << WpStars << "\n* " << (red ? "RED" : "BLUE") << " Weapons\n" << WpStars;
    out << "\nfunction_type   " << f.function_type << "\nsensor_type     " << f.sensor_type;
    out << "\n*\n* Assign Weapons to Squad\n*\n" << SquadHeader() << "\nweapon_squad    ";
    for (int s = 1; s <= MaxSquads; ++s) {
        out << f.weapon_squad[s];
        if (s < MaxSquads)
            out << (red && s <= 2 ? "  " : " ");
    }
    const std::string header = FunctionHeader();
    for (int a : {AliveColumn, InjuredColumn}) {
        out << "\n*\n* " << StateWords[a] << " General Function Parameters\n*\n" << header;
        auto row = [&](const char* label, auto value) {
            out << '\n' << label;
            for (int w = 1; w <= MaxSquads; ++w)
                out << (w > 1 ? " " : "") << value(w);
        };
        for (const ParamRow& p : ParamRows)
            row(a == AliveColumn ? p.AliveLabel : p.InjuredLabel, [&](int w) { return (f.*p.Values)[w][a]; });
        row(DecayLabels[a], [&](int w) { return f.decay[w][a]; });
        out << "\n*\n* " << StateWords[a] << " Function Array\n*\n" << header;
        for (int r = 1; r <= FileRanges; ++r) {
            out << '\n' << RangePrefix[a] << r << "     ";
            for (int w = 1; w <= MaxSquads; ++w)
                out << (w > 1 ? " " : "") << f.p_r[w][r][a];
        }
    }
}

bool ReadSquadSection(PositionReader& in, SquadWeaponFunction& f, const char* side, std::string* problem)
{
    auto fail = [&] {
        *problem = in.Problem();
        return false;
    };
    const std::string header = FunctionHeader();
    if (!in.Skip(WpStars) || !in.Skip("* RED Weapons") || !in.Skip(WpStars))
        return fail();
    if (!in.Skip("function_type") || !in.Read(f.function_type) || !in.Skip("sensor_type") || !in.Read(f.sensor_type))
        return fail();
    if (!in.Skip("* * Assign Weapons to Squad *") || !in.Skip(SquadHeader()) || !in.Skip("weapon_squad"))
        return fail();
    for (int s = 1; s <= MaxSquads; ++s) {
        if (!in.Read(f.weapon_squad[s]))
            return fail();
        if (f.weapon_squad[s] < 1 || f.weapon_squad[s] > MaxSquads) {
            *problem = std::string(side) + " squad " + std::to_string(s) + " is given weapon function " +
                       std::to_string(f.weapon_squad[s]) + "; the functions are numbered 1 to 10";
            return false;
        }
    }
    for (int a : {AliveColumn, InjuredColumn}) {
        if (!in.Skip("* * ALIVE General Function Parameters *") || !in.Skip(header))
            return fail();
        for (const ParamRow& p : ParamRows) {
            if (!in.Skip("label"))
                return fail();
            for (int w = 1; w <= MaxSquads; ++w)
                if (!in.Read((f.*p.Values)[w][a]))
                    return fail();
        }
        if (!in.Skip("label"))
            return fail();
        for (int w = 1; w <= MaxSquads; ++w)
            if (!in.Read(f.decay[w][a]))
                return fail();
        if (!in.Skip("* * ALIVE Function Array *") || !in.Skip(header))
            return fail();
        for (int r = 1; r <= FileRanges; ++r) {
            if (!in.Skip("label"))
                return fail();
            for (int w = 1; w <= MaxSquads; ++w)
                if (!in.Read(f.p_r[w][r][a]))
                    return fail();
        }
    }
    return true;
}

// --- agent-specific weapons

constexpr const char* AwpStars = "*************************************";
constexpr const char* CarrierLabels[WeaponKinds] = {
    "grenades          ",  "point_to_point_1  ", "point_to_point_2  ",
    "point_to_point_3  ", "point_to_point_4  ", "point_to_point_5  ",
};
constexpr const char* RangeHeader = "*  Range=          0  1  2  3  4  5  6  7  8  9  10 ";
constexpr const char* ProbHitLabels[WeaponKinds] = {
    "prob_hit              ", "prob_hit[1]    ", "prob_hit[2]    ",
    "prob_hit[3]    ",        "prob_hit[4]    ", "prob_hit[5]    ",
};
constexpr int MaxTableRange = HitRanges - 1;
// The longest reach the weapon dialogs take. A reach past the P(hit) and
// landing tables is sound: beyond range 10 a weapon hits with probability 0.
constexpr int MaxReach = 999;

template <typename T>
void WriteValues(std::ostream& out, const T* values, int first, int last)
{
    for (int k = first; k <= last; ++k)
        out << (k > first ? " " : "") << values[k];
}

void WriteAgentSection(const CForce& force, const SideWeapons& w, bool red, std::ostream& out)
{
    if (!red)
        out << '\n';
    out << AwpStars << "\n* " << (red ? "RED" : "BLUE") << " Agent-Specific Weapons\n" << AwpStars;
    out << "\nsensor_type   " << w.sensor_type;
    out << "\n*\n* Weapon Assignments:\n*\n* Agents Per Squad: S1 S2 S3 S4 S5 S6 S7 S8 S9 S10   \n*";
    for (int k = 0; k < WeaponKinds; ++k) {
        out << '\n' << CarrierLabels[k];
        WriteValues(out, WeaponCarriers(force, k), 1, MaxSquads);
    }
    out << "\n*\n* Grenade Parameters\n*";
    out << "\nmin_throw_range      " << w.min_throw_range << "\nmax_throw_range     " << w.max_throw_range
        << "\nblast_range              " << w.blast_range << "\nfratricide_tolerance   " << w.fratricide_tolerance
        << "\nuse_threshold          " << w.use_threshold;
    out << "\n*\n* prob that grenade will land a range r from target\n*\n" << RangeHeader << "\n*";
    out << "\nprob_landing            ";
    WriteValues(out, w.prob_landing, 0, MaxTableRange);
    out << "\n*\n* prob(hit) as a function of range\n*\n" << RangeHeader << "\n*";
    out << '\n' << ProbHitLabels[0];
    WriteValues(out, w.prob_hit[0], 0, MaxTableRange);
    out << "\n*\n* Point Weapon Parameters (5)\n*";
    out << "\nfire_range                 ";
    WriteValues(out, w.fire_range, 1, 5);
    out << "\nmax_tgts                 ";
    WriteValues(out, w.max_tgts, 1, 5);
    out << "\n*\n* prob(hit) as a function of range\n*\n" << RangeHeader << "\n*";
    for (int k = 1; k < WeaponKinds; ++k) {
        out << '\n' << ProbHitLabels[k];
        WriteValues(out, w.prob_hit[k], 0, MaxTableRange);
    }
}

// One side of the file as read, before it is committed.
struct AgentWeaponsSide {
    SideWeapons Weapons;
    int Carriers[WeaponKinds][SquadSlots] = {};
};

template <typename T>
bool ReadValues(PositionReader& in, T* values, int first, int last)
{
    for (int k = first; k <= last; ++k)
        if (!in.Read(values[k]))
            return false;
    return true;
}

bool RangeProblem(const char* side, const std::string& what, int value, int low, std::string* problem)
{
    if (value >= low && value <= MaxReach)
        return false;
    *problem = std::string(side) + " " + what + " is " + std::to_string(value) + ", outside " + std::to_string(low) +
               ".." + std::to_string(MaxReach);
    return true;
}

bool ReadAgentSection(PositionReader& in, AgentWeaponsSide& side, const char* name, std::string* problem)
{
    auto fail = [&] {
        *problem = in.Problem();
        return false;
    };
    SideWeapons& w = side.Weapons;
    if (!in.Skip(AwpStars) || !in.Skip("* RED Agent-Specific Weapons") || !in.Skip(AwpStars) ||
        !in.Skip("sensor_type") || !in.Read(w.sensor_type))
        return fail();
    if (!in.Skip("* * Weapon Assignments: *") || !in.Skip("* Agents Per Squad: S1 S2 S3 S4 S5 S6 S7 S8 S9 S10") ||
        !in.Skip("*"))
        return fail();
    for (int k = 0; k < WeaponKinds; ++k) {
        if (!in.Skip("label") || !ReadValues(in, side.Carriers[k], 1, MaxSquads))
            return fail();
        for (int s = 1; s <= MaxSquads; ++s)
            if (side.Carriers[k][s] < 0) {
                *problem = std::string(name) + " squad " + std::to_string(s) + " has " +
                           std::to_string(side.Carriers[k][s]) + " carriers of " +
                           (k == Grenade ? std::string("grenades") : "point weapon " + std::to_string(k)) +
                           "; a count must not be negative";
                return false;
            }
    }
    if (!in.Skip("* * Grenade Parameters *") || !in.Skip("min_throw_range") || !in.Read(w.min_throw_range) ||
        !in.Skip("max_throw_range") || !in.Read(w.max_throw_range) || !in.Skip("blast_range") ||
        !in.Read(w.blast_range) || !in.Skip("fratricide_tolerance") || !in.Read(w.fratricide_tolerance) ||
        !in.Skip("use_threshold") || !in.Read(w.use_threshold))
        return fail();
    // The grenade dialog takes a blast radius from 0, the assignments dialog one up to 999.
    if (RangeProblem(name, "grenade blast range", w.blast_range, 0, problem))
        return false;
    if (!in.Skip("* * prob that grenade will land a range r from target *") || !in.Skip(RangeHeader) ||
        !in.Skip("*") || !in.Skip("prob_landing") || !ReadValues(in, w.prob_landing, 0, MaxTableRange))
        return fail();
    if (!in.Skip("* * prob(hit) as a function of range *") || !in.Skip(RangeHeader) || !in.Skip("*") ||
        !in.Skip("prob_hit") || !ReadValues(in, w.prob_hit[0], 0, MaxTableRange))
        return fail();
    if (!in.Skip("* * Point Weapon Parameters (5) *") || !in.Skip("fire_range") || !ReadValues(in, w.fire_range, 1, 5) ||
        !in.Skip("max_tgts") || !ReadValues(in, w.max_tgts, 1, 5))
        return fail();
    // Weapon 1's reach starts as squad 1's fire range, which a scenario may
    // give from -999; a reach below 0 reaches nobody.
    for (int k = 1; k < WeaponKinds; ++k)
        if (RangeProblem(name, "fire range of point weapon " + std::to_string(k), w.fire_range[k], -MaxReach,
                         problem))
            return false;
    if (!in.Skip("* * prob(hit) as a function of range *") || !in.Skip(RangeHeader) || !in.Skip("*"))
        return fail();
    for (int k = 1; k < WeaponKinds; ++k)
        if (!in.Skip("label") || !ReadValues(in, w.prob_hit[k], 0, MaxTableRange))
            return fail();
    return true;
}

}  // namespace

// --- squad-specific weapons

void WriteSquadWeaponsText(const SquadWeaponFunction& red, const SquadWeaponFunction& blue, std::ostream& out)
{
    WriteSquadSection(red, true, out);
    WriteSquadSection(blue, false, out);
}

bool ReadSquadWeaponsText(std::string_view text, SquadWeaponFunction* red, SquadWeaponFunction* blue,
                          std::string* problem)
{
    PositionReader in(text);
    auto scratchRed = std::make_unique<SquadWeaponFunction>(*red);
    auto scratchBlue = std::make_unique<SquadWeaponFunction>(*blue);
    if (!ReadSquadSection(in, *scratchRed, "RED", problem) || !ReadSquadSection(in, *scratchBlue, "BLUE", problem))
        return false;
    *red = *scratchRed;
    *blue = *scratchBlue;
    return true;
}

void SaveSquadWeaponsFile(CBrevimarDoc& doc)
{
    RunAuxiliaryWrite(doc, FileCommand::SquadWeaponsWrite, [&](std::ostream& out) {
        WriteSquadWeaponsText(doc.RedForce.WeaponFunction, doc.BlueForce.WeaponFunction, out);
    });
}

int LoadSquadWeaponsFile(CBrevimarDoc& doc)
{
    return RunAuxiliaryRead(doc, FileCommand::SquadWeaponsRead, [&](std::string_view text, std::string* problem) {
        return ReadSquadWeaponsText(text, &doc.RedForce.WeaponFunction, &doc.BlueForce.WeaponFunction, problem);
    });
}

// --- agent-specific weapons

int* WeaponCarriers(CForce& force, int k)
{
    return const_cast<int*>(WeaponCarriers(static_cast<const CForce&>(force), k));
}

const int* WeaponCarriers(const CForce& force, int k)
{
    switch (k) {
    case 0: return force.grenades;
    case 1: return force.point_to_point_1;
    case 2: return force.point_to_point_2;
    case 3: return force.point_to_point_3;
    case 4: return force.point_to_point_4;
    default: return force.point_to_point_5;
    }
}

void WriteAgentWeaponsText(const CDocumentState& doc, std::ostream& out)
{
    WriteAgentSection(doc.RedForce, doc.AgentWeapons.Red, true, out);
    WriteAgentSection(doc.BlueForce, doc.AgentWeapons.Blue, false, out);
}

bool ReadAgentWeaponsText(std::string_view text, CDocumentState* doc, std::string* problem)
{
    PositionReader in(text);
    AgentWeaponsSide sides[2];
    const CForce* forces[2] = {&doc->RedForce, &doc->BlueForce};
    const SideWeapons* weapons[2] = {&doc->AgentWeapons.Red, &doc->AgentWeapons.Blue};
    const char* names[2] = {"RED", "BLUE"};
    for (int n = 0; n < 2; ++n) {
        sides[n].Weapons = *weapons[n];
        for (int k = 0; k < WeaponKinds; ++k)
            std::copy_n(WeaponCarriers(*forces[n], k), SquadSlots, sides[n].Carriers[k]);
        if (!ReadAgentSection(in, sides[n], names[n], problem))
            return false;
    }
    doc->AgentWeapons.Red = sides[0].Weapons;
    doc->AgentWeapons.Blue = sides[1].Weapons;
    CForce* targets[2] = {&doc->RedForce, &doc->BlueForce};
    for (int n = 0; n < 2; ++n)
        for (int k = 0; k < WeaponKinds; ++k)
            std::copy_n(sides[n].Carriers[k], SquadSlots, WeaponCarriers(*targets[n], k));
    return true;
}

void BalanceCarrierCounts(int counts[WeaponKinds], int squadSize)
{
    // The largest count; ties keep the earlier weapon (grenade first).
    auto largest = [&] {
        int best = 0;
        for (int k = 1; k < WeaponKinds; ++k)
            if (counts[k] > counts[best])
                best = k;
        return best;
    };
    long long sum = 0;
    for (int k = 0; k < WeaponKinds; ++k)
        sum += counts[k];
    const long long size = std::max(squadSize, 0);
    if (sum < size) {
        int& picked = counts[largest()];
        if (picked >= 1)
            picked += static_cast<int>(size - sum);
        return;
    }
    // At most six rounds: each empties the count it takes from, or ends.
    for (long long excess = sum - size; excess > 0;) {
        int& picked = counts[largest()];
        const long long taken = std::min<long long>(excess, picked);
        if (taken <= 0)
            break;
        picked -= static_cast<int>(taken);
        excess -= taken;
    }
}

void BalanceSquadWeapons(CForce& force)
{
    const int squads = std::clamp(force.NumSquads, 0, MaxSquads);
    for (int s = 1; s <= squads; ++s) {
        int counts[WeaponKinds];
        for (int k = 0; k < WeaponKinds; ++k)
            counts[k] = WeaponCarriers(force, k)[s];
        BalanceCarrierCounts(counts, force.num_per_squad[s]);
        for (int k = 0; k < WeaponKinds; ++k)
            WeaponCarriers(force, k)[s] = counts[k];
    }
}

void HandOutWeapons(CForce& force)
{
    int handed[WeaponKinds][SquadSlots] = {};
    constexpr int Order[WeaponKinds] = {1, 2, 3, 4, 5, Grenade};
    const int n = std::clamp(force.NumAgents, 0, MaxAgents);
    for (int a = 1; a <= n; ++a) {
        const int s = force.AgentSquad[a];
        if (s < 1 || s > MaxSquads)
            continue;
        for (int k : Order) {
            if (handed[k][s] < WeaponCarriers(force, k)[s]) {
                force.AgentWeapon[a] = k;
                ++handed[k][s];
                break;
            }
        }
    }
}

void WriteAgentWeaponsFile(CBrevimarDoc& doc)
{
    RunAuxiliaryWrite(doc, FileCommand::AgentWeaponsWrite, [&](std::ostream& out) { WriteAgentWeaponsText(doc, out); });
}

int LoadAgentWeaponsFile(CBrevimarDoc& doc)
{
    const int read =
        RunAuxiliaryRead(doc, FileCommand::AgentWeaponsRead, [&](std::string_view text, std::string* problem) {
            return ReadAgentWeaponsText(text, &doc, problem);
        });
    if (read == 1) {
        for (Side side : {Side::Red, Side::Blue}) {
            BalanceSquadWeapons(doc.Force(side));
            HandOutWeapons(doc.Force(side));
        }
        doc.host().InvalidateView();
    }
    return read;
}

}  // namespace brevimar
