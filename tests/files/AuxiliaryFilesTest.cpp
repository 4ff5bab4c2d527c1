// The auxiliary parameter files as text: exact pieces of what the writers
// write, write-read-write round trips, and the contents the readers refuse
// (with the document left as it was).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "files/AgentFile.h"
#include "files/DocumentFile.h"
#include "files/MatrixFiles.h"
#include "files/TerrainFiles.h"
#include "files/TerrainModifierFile.h"
#include "files/WeaponFiles.h"
#include "support/Scenarios.h"
#include "support/TestDocument.h"
#include "support/TestFiles.h"

namespace brevimar {
namespace {

using testing::TestDocument;

std::string Written(const std::function<void(std::ostream&)>& write)
{
    std::ostringstream out;
    write(out);
    return out.str();
}

int WordCount(const std::string& text)
{
    std::istringstream in(text);
    int n = 0;
    for (std::string w; in >> w;)
        ++n;
    return n;
}

// Replaces the n-th (1-based) whitespace-separated word of text.
std::string WithWord(const std::string& text, int n, const std::string& word)
{
    std::size_t pos = 0;
    for (int k = 0;; ++k) {
        pos = text.find_first_not_of(" \t\r\n", pos);
        const std::size_t end = text.find_first_of(" \t\r\n", pos);
        if (k == n - 1)
            return text.substr(0, pos) + word + (end == std::string::npos ? "" : text.substr(end));
        pos = end;
    }
}

// Replaces the n-th value after the k-th occurrence of the label word.
std::string WithValueAfter(const std::string& text, const std::string& label, int n, const std::string& value,
                           int occurrence = 1)
{
    std::size_t at = 0;
    for (int k = 0; k < occurrence; ++k)
        at = text.find(label, k == 0 ? 0 : at + 1);
    std::istringstream before(text.substr(0, at));
    int words = 0;
    for (std::string w; before >> w;)
        ++words;
    return WithWord(text, words + 1 + n, value);
}

// --- terrain-modified agent data

void FillModifiers(CTerrainModifiers& m)
{
    int v = 0;
    for (CTerrainModifierSet* set : {&m.Red, &m.Blue})
        for (int s = 1; s <= MaxSquads; ++s)
            for (int t = 1; t < TerrainColumns; ++t) {
                ++v;
                set->A_comm_range[s][t] = v - 99;  // -98..-39: raised ranges
                set->I_sensor_range[s][t] = v + 1;
                set->I_defense_alive[s][t] = 2 * v;
                set->A_pk_alive[s][t] = 0.25f + 0.001f * static_cast<float>(v);
                set->TerrainVisibility[s][t] = 1.0 / (v + 2);
            }
}

TEST(TerrainModifierFile, LayoutAndRoundTrip)
{
    TestDocument doc;
    FillModifiers(doc->TerrainModifiers);
    doc->TerrainModifiers.Red.TerrainVisibility[3][2] = 0.5;
    doc->TerrainModifiers.Red.TerrainVisibility[4][2] = 1;
    const std::string text = Written([&](std::ostream& o) { WriteTerrainModifiedAgentText(doc->TerrainModifiers, o); });
    EXPECT_EQ(text.rfind(std::string(60, '*') + "\n*     RED Type-I Passable Terrain-Modified Agent Data\n", 0), 0u);
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(WordCount(text), 1308);  // 6 x (9 + 19 x 11)
    // Squads 3 and 4 of RED Type-II: the default notation, no trailing zeros.
    EXPECT_NE(text.find("\n*     RED Type-II Passable"), std::string::npos);
    EXPECT_NE(text.find(" 0.5 1 "), std::string::npos);

    TestDocument other;
    std::string problem;
    ASSERT_TRUE(ReadTerrainModifiedAgentText(text, &other->TerrainModifiers, &problem)) << problem;
    EXPECT_EQ(Written([&](std::ostream& o) { WriteTerrainModifiedAgentText(other->TerrainModifiers, o); }), text);
    EXPECT_EQ(other->TerrainModifiers.Blue.I_defense_alive[10][3], doc->TerrainModifiers.Blue.I_defense_alive[10][3]);
}

TEST(TerrainModifierFile, BadContentChangesNothing)
{
    TestDocument doc;
    FillModifiers(doc->TerrainModifiers);
    const std::string text = Written([&](std::ostream& o) { WriteTerrainModifiedAgentText(doc->TerrainModifiers, o); });
    const struct {
        const char* what;
        std::string text;
        const char* problem;
    } cases[] = {
        {"cut after RED Type-II", text.substr(0, text.find("\n****", text.find("RED Type-III")) - 1), "ends"},
        {"a word for a number", WithWord(text, 12, "x"), "found \"x\""},
        {"delta below the dialog's -99", WithValueAfter(text, "A:movement_range", 4, "-100", 5),
         "BLUE Type-II, squad 4: the delta A:movement_range is -100; a delta must not lie below -99"},
        {"negative defence delta", WithValueAfter(text, "I:defense_alive", 1, "-1"),
         "RED Type-I, squad 1: the delta I:defense_alive is -1; a defence delta must not be negative"},
    };
    for (const auto& c : cases) {
        TestDocument target;
        std::string problem;
        EXPECT_FALSE(ReadTerrainModifiedAgentText(c.text, &target->TerrainModifiers, &problem)) << c.what;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
        EXPECT_EQ(std::memcmp(&target->TerrainModifiers.Red, &TestDocument()->TerrainModifiers.Red,
                              sizeof(CTerrainModifierSet)),
                  0)
            << c.what;
    }
}

// --- squad-specific weapons

TEST(SquadWeaponsFile, LayoutAndRoundTrip)
{
    TestDocument doc;
    for (SquadWeaponFunction* f : {&doc->RedForce.WeaponFunction, &doc->BlueForce.WeaponFunction}) {
        f->function_type = 2;
        for (int w = 1; w <= MaxSquads; ++w) {
            f->weapon_squad[w] = 11 - w;
            f->rmax[w][1] = 3.5 * w;
            f->decay[w][0] = w % 2;
            for (int r = 0; r < HitTableRanges; ++r)
                f->p_r[w][r][1] = 0.01f * static_cast<float>(r);
        }
    }
    const auto write = [](TestDocument& d) {
        return Written([&](std::ostream& o) {
            WriteSquadWeaponsText(d->RedForce.WeaponFunction, d->BlueForce.WeaponFunction, o);
        });
    };
    const std::string text = write(doc);
    // RED's weapon_squad row alone has two blanks after its first two values.
    EXPECT_NE(text.find("\nweapon_squad    10  9  8 7 6 5 4 3 2 1\n"), std::string::npos);
    EXPECT_NE(text.find("\nweapon_squad    10 9 8 7"), std::string::npos);
    EXPECT_NE(text.find("\nI:p_r20     0.2 0.2"), std::string::npos);
    EXPECT_NE(text.find("\nrmax_injured     3.5 7 10.5"), std::string::npos);

    TestDocument other;
    std::string problem;
    ASSERT_TRUE(ReadSquadWeaponsText(text, &other->RedForce.WeaponFunction, &other->BlueForce.WeaponFunction, &problem))
        << problem;
    EXPECT_EQ(write(other), text);
    // Only ranges 1..20 travel.
    EXPECT_EQ(other->RedForce.WeaponFunction.p_r[1][21][1], 0.0f);
}

TEST(SquadWeaponsFile, WeaponFunctionOutsideItsTableIsRefused)
{
    TestDocument doc;
    std::string text = Written(
        [&](std::ostream& o) { WriteSquadWeaponsText(doc->RedForce.WeaponFunction, doc->BlueForce.WeaponFunction, o); });
    for (const char* bad : {"11", "0"}) {
        TestDocument target;
        target->RedForce.WeaponFunction.function_type = 7;
        std::string problem;
        EXPECT_FALSE(ReadSquadWeaponsText(WithValueAfter(text, "weapon_squad", 10, bad), &target->RedForce.WeaponFunction,
                                          &target->BlueForce.WeaponFunction, &problem));
        EXPECT_NE(problem.find("RED squad 10 is given weapon function"), std::string::npos) << problem;
        EXPECT_EQ(target->RedForce.WeaponFunction.function_type, 7);
    }
}

// --- agent-specific weapons

TEST(AgentWeaponsFile, RoundTripAndRangesBeyondTheTables)
{
    // Reaches past range 10, the end of the tables: the dialogs take a blast
    // up to 999, and weapon 1's reach starts as squad 1's fire range, which
    // a scenario gives from -999.
    TestDocument doc;
    doc->AgentWeapons.Red.blast_range = 999;
    doc->AgentWeapons.Red.fire_range[1] = -999;
    doc->AgentWeapons.Blue.fire_range[5] = 999;
    doc->AgentWeapons.Blue.prob_hit[3][7] = 0.125f;
    doc->RedForce.point_to_point_4[9] = 12;
    const std::string text = Written([&](std::ostream& o) { WriteAgentWeaponsText(*doc, o); });
    EXPECT_NE(text.find("\nblast_range              999\n"), std::string::npos);
    EXPECT_NE(text.find("\nfire_range                 -999 "), std::string::npos);
    TestDocument other;
    std::string problem;
    ASSERT_TRUE(ReadAgentWeaponsText(text, other.Doc.get(), &problem)) << problem;
    EXPECT_EQ(Written([&](std::ostream& o) { WriteAgentWeaponsText(*other, o); }), text);
    EXPECT_EQ(other->RedForce.point_to_point_4[9], 12);
    EXPECT_EQ(other->AgentWeapons.Red.blast_range, 999);
    EXPECT_EQ(other->AgentWeapons.Red.fire_range[1], -999);
    EXPECT_EQ(other->AgentWeapons.Blue.fire_range[5], 999);

    const struct {
        const char* label;
        int occurrence;
        const char* value;
        const char* problem;
    } cases[] = {
        {"point_to_point_3", 2, "-1", "BLUE squad 1 has -1 carriers of point weapon 3"},
        {"blast_range", 1, "1000", "RED grenade blast range is 1000, outside 0..999"},
        {"blast_range", 2, "-1", "BLUE grenade blast range is -1, outside 0..999"},
        {"fire_range", 2, "1000", "BLUE fire range of point weapon 1 is 1000, outside -999..999"},
        {"fire_range", 1, "-1000", "RED fire range of point weapon 1 is -1000, outside -999..999"},
    };
    for (const auto& c : cases) {
        TestDocument target;
        std::string problem2;
        EXPECT_FALSE(ReadAgentWeaponsText(WithValueAfter(text, c.label, 1, c.value, c.occurrence), target.Doc.get(),
                                          &problem2))
            << c.problem;
        EXPECT_NE(problem2.find(c.problem), std::string::npos) << problem2;
        EXPECT_EQ(target->AgentWeapons.Red.blast_range, TestDocument()->AgentWeapons.Red.blast_range);
    }
}

TEST(AgentWeaponsFile, BalancingNeverLeavesANegativeCount)
{
    // Counts grenade, point weapons 1..5 for one squad; worked by hand.
    const struct {
        int size;
        int before[WeaponKinds];
        int after[WeaponKinds];
    } cases[] = {
        {5, {3, 3, 0, 0, 0, 0}, {2, 3, 0, 0, 0, 0}},  // excess 1 from the first of the equal largest
        {5, {0, 0, 2, 0, 0, 0}, {0, 0, 5, 0, 0, 0}},  // shortfall to the largest
        {1, {3, 3, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}},  // excess 5: 3 from the grenade, then 2 from weapon 1
        {2, {1, 4, 4, 0, 0, 0}, {1, 0, 1, 0, 0, 0}},  // excess 7: 4 from weapon 1, 3 from weapon 2
        {4, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},  // nobody to give the shortfall to
        {3, {0, 1, 0, 2, 0, 0}, {0, 1, 0, 2, 0, 0}},  // already right
    };
    for (const auto& c : cases) {
        CForce force;
        force.NumSquads = 1;
        force.num_per_squad[1] = c.size;
        force.num_per_squad[2] = 1;
        for (int k = 0; k < WeaponKinds; ++k) {
            WeaponCarriers(force, k)[1] = c.before[k];
            WeaponCarriers(force, k)[2] = 4;  // squad 2 is beyond NumSquads: left alone
        }
        BalanceSquadWeapons(force);
        for (int k = 0; k < WeaponKinds; ++k) {
            EXPECT_EQ(WeaponCarriers(force, k)[1], c.after[k]) << "size " << c.size << ", weapon " << k;
            EXPECT_EQ(WeaponCarriers(force, k)[2], 4);
        }
    }
}

TEST(AgentWeaponsFile, HandOutArmsAgentsInWeaponOrder)
{
    CForce force;
    force.NumAgents = 7;
    const int squads[8] = {0, 1, 2, 1, 1, 2, 1, 1};
    for (int a = 1; a <= 7; ++a) {
        force.AgentSquad[a] = squads[a];
        force.AgentWeapon[a] = 9;  // marks an agent that gets nothing
    }
    force.point_to_point_3[1] = 2;
    force.point_to_point_1[1] = 1;
    force.grenades[1] = 1;
    force.point_to_point_5[2] = 1;
    HandOutWeapons(force);
    // Squad 1 agents 1, 3, 4, 6, 7: weapon 1, weapon 3 twice, the grenade, none.
    const int expected[8] = {0, 1, 5, 3, 3, 9, 0, 9};
    for (int a = 1; a <= 7; ++a)
        EXPECT_EQ(force.AgentWeapon[a], expected[a]) << "agent " << a;
}

// --- agent data

TEST(AgentFile, ReadsWhatWasWrittenAndSkipsWhatCannotStand)
{
    TestDocument doc;
    testing::MakeSkirmish(*doc, {.PerSide = 4, .BattleSize = 20});
    doc->Battlefield.AgentGrid[GridIndex(7, 7)] = CellTerrain;
    doc->RedForce.NumSquads = 3;
    const std::string text =
        "4\n2 1 3 4\n0 2 5 5\n1 3 6 6\n2 2 7 7\n"  // the dead record is skipped, the one on terrain dropped
        "3\n2 5 10 10\n2 1 21 3\n1 1 3 4";        // squad 5 counted in the last squad; off the field; taken
    std::string problem;
    std::vector<std::string> dropped;
    ASSERT_TRUE(ReadAgentText(text, doc.Doc.get(), &problem, &dropped)) << problem;
    const CForce& red = doc->RedForce;
    ASSERT_EQ(red.NumAgents, 2);
    EXPECT_EQ(red.NumSquads, 3);
    EXPECT_EQ(red.AgentX[2], 6);
    EXPECT_EQ(red.StoredAgentState[2], 1);
    EXPECT_EQ(red.num_per_squad[1], 1);
    EXPECT_EQ(red.num_per_squad[3], 1);
    const CForce& blue = doc->BlueForce;
    ASSERT_EQ(blue.NumAgents, 1);
    EXPECT_EQ(blue.AgentSquad[1], 1);  // BLUE had one squad
    EXPECT_EQ(blue.NumSquads, 1);
    ASSERT_EQ(dropped.size(), 3u);
    EXPECT_EQ(dropped[0], "RED agent record 4 at (7, 7): on terrain no agent can stand on");
    EXPECT_EQ(dropped[1], "BLUE agent record 2 at (21, 3): off the 20 x 20 battlefield");
    EXPECT_EQ(dropped[2], "BLUE agent record 3 at (3, 4): on a cell an earlier record took (a cell holds one agent only)");
    EXPECT_TRUE(red.AgentGridCurrent());
    EXPECT_TRUE(blue.AgentGridCurrent());

    const std::string written = Written([&](std::ostream& o) { WriteAgentText(*doc, o); });
    EXPECT_EQ(written, "2\n2 1 3 4\n1 3 6 6\n1\n2 1 10 10");
    ASSERT_TRUE(ReadAgentText(written, doc.Doc.get(), &problem, &dropped));
    EXPECT_EQ(Written([&](std::ostream& o) { WriteAgentText(*doc, o); }), written);
}

// The agents a file replaces leave their cells and the ground stays: RED's
// agent 1 stands on passable type II at (4, 4), BLUE's agent 1 on open
// ground at (9, 9). Records on both take their cells, as one on a passable
// block does; one on Lava is dropped.
TEST(AgentFile, AgentsLeaveTheirCellsAndTheGroundStays)
{
    TestDocument doc;
    testing::MakeSkirmish(*doc, {.PerSide = 1, .BattleSize = 20});
    CBattlefield& field = doc->Battlefield;
    for (Side side : {Side::Red, Side::Blue})
        field.AgentGrid[GridIndex(doc->Force(side).AgentX[1], doc->Force(side).AgentY[1])] = CellFree;
    doc->RedForce.PlaceAgent(1, 4, 4);
    doc->BlueForce.PlaceAgent(1, 9, 9);
    field.AgentGrid[GridIndex(4, 4)] = CellAgent;
    field.TerrainType[GridIndex(4, 4)] = PassableII;
    field.AgentGrid[GridIndex(9, 9)] = CellAgent;

    // Terrain the file's agents meet: a passable block no agent entered, and Lava.
    field.AgentGrid[GridIndex(15, 15)] = CellTerrain;
    field.TerrainType[GridIndex(15, 15)] = PassableI;
    field.AgentGrid[GridIndex(16, 16)] = CellTerrain;
    field.TerrainType[GridIndex(16, 16)] = Lava;

    std::string problem;
    std::vector<std::string> dropped;
    ASSERT_TRUE(ReadAgentText("2\n2 1 4 4\n2 1 9 9\n3\n2 1 12 12\n2 1 15 15\n2 1 16 16", doc.Doc.get(),
                              &problem, &dropped))
        << problem;
    // Every agent stands where the file puts it, on the passable ground too;
    // the ground stays under it.
    EXPECT_EQ(field.TerrainType[GridIndex(4, 4)], PassableII);
    EXPECT_EQ(field.AgentGrid[GridIndex(4, 4)], CellAgent);
    ASSERT_EQ(doc->RedForce.NumAgents, 2);
    EXPECT_EQ(doc->RedForce.AgentX[1], 4);
    EXPECT_EQ(doc->RedForce.AgentX[2], 9);
    EXPECT_EQ(field.AgentGrid[GridIndex(9, 9)], CellAgent);
    ASSERT_EQ(doc->BlueForce.NumAgents, 2);
    EXPECT_EQ(doc->BlueForce.AgentX[1], 12);
    EXPECT_EQ(doc->BlueForce.AgentX[2], 15);
    EXPECT_EQ(field.TerrainType[GridIndex(15, 15)], PassableI);
    // No agent stands on Lava: the record is dropped, and said.
    EXPECT_EQ(field.AgentGrid[GridIndex(16, 16)], CellTerrain);
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], "BLUE agent record 3 at (16, 16): on terrain no agent can stand on");
}

TEST(AgentFile, BadCountsAndSquadsAreRefused)
{
    std::string many = "301";
    for (int i = 0; i < 301; ++i)
        many += "\n2 1 1 1";
    const struct {
        const char* what;
        std::string text;
        const char* problem;
    } cases[] = {
        {"more than 300 records", many + "\n0", "301 RED agent records"},
        {"negative count", "0\n-1", "-1 BLUE agent records"},
        {"squad 0", "1\n2 0 3 3\n0", "RED agent record 1 is in squad 0"},
        {"squad 11", "0\n1\n2 11 3 3", "BLUE agent record 1 is in squad 11"},
        {"state 3", "1\n3 1 3 3\n0", "state 3"},
        {"cut short", "2\n2 1 3 3\n2 1", "ends"},
    };
    for (const auto& c : cases) {
        TestDocument doc;
        testing::MakeSkirmish(*doc, {.PerSide = 4, .BattleSize = 20});
        const int x = doc->RedForce.AgentX[1];
        std::string problem;
        std::vector<std::string> dropped;
        EXPECT_FALSE(ReadAgentText(c.text, doc.Doc.get(), &problem, &dropped)) << c.what;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
        EXPECT_EQ(doc->RedForce.NumAgents, 4) << c.what;
        EXPECT_EQ(doc->RedForce.AgentX[1], x) << c.what;
    }
}

// --- matrices

TEST(MatrixFiles, RoundTripAndTheGeneticAlgorithmsRedMatrix)
{
    TestDocument doc;
    for (int r = 1; r <= MaxSquads; ++r)
        for (int c = 1; c <= MaxSquads; ++c) {
            doc->RedForce.CommMatrix[r][c] = (r + c) % 2;
            doc->BlueForce.CommMatrix[r][c] = r == c;
            doc->RedForce.SquadWeightMatrix[r][c] = 0.1 * r - 0.01 * c;
            doc->BlueForce.SquadWeightMatrix[r][c] = r * 1000.0 + c / 3.0;
        }
    const std::string comm = Written(
        [&](std::ostream& o) { WriteCommMatrixText(doc->RedForce.CommMatrix, doc->BlueForce.CommMatrix, o); });
    EXPECT_EQ(comm.rfind("*************************************\n  Red Communications Matrix Weights\n"
                         "*************************************\n0 1 0 1 0 1 0 1 0 1\n1 0",
                         0),
              0u);
    EXPECT_NE(comm.back(), '\n');
    const std::string squad = Written([&](std::ostream& o) {
        WriteSquadMatrixText(doc->RedForce.SquadWeightMatrix, doc->BlueForce.SquadWeightMatrix, o);
    });
    EXPECT_NE(squad.find("\n1000.33 1000.67 1001"), std::string::npos);

    TestDocument other;
    std::string problem;
    ASSERT_TRUE(ReadCommMatrixText(comm, &other->RedForce.CommMatrix, &other->BlueForce.CommMatrix, &problem));
    ASSERT_TRUE(ReadSquadMatrixText(squad, &other->RedForce.SquadWeightMatrix, &other->BlueForce.SquadWeightMatrix,
                                    &problem));
    EXPECT_EQ(std::memcmp(other->BlueForce.CommMatrix, doc->BlueForce.CommMatrix, sizeof(CommRows)), 0);
    EXPECT_EQ(Written([&](std::ostream& o) {
                  WriteSquadMatrixText(other->RedForce.SquadWeightMatrix, other->BlueForce.SquadWeightMatrix, o);
              }),
              squad);

    // A file cut inside BLUE changes neither side.
    const int before = other->RedForce.CommMatrix[1][1];
    other->RedForce.CommMatrix[1][1] = 5;
    EXPECT_FALSE(ReadCommMatrixText(comm.substr(0, comm.size() - 4), &other->RedForce.CommMatrix,
                                    &other->BlueForce.CommMatrix, &problem));
    EXPECT_EQ(other->RedForce.CommMatrix[1][1], 5);
    other->RedForce.CommMatrix[1][1] = before;

    // The genetic algorithm's RED matrices are written in its run mode and
    // the search modes that evolve them.
    CommRows gaComm = {};
    SquadWeightRows gaSquad = {};
    const struct {
        int runMode, searchMode;
        bool commFromGa, squadFromGa;
    } sources[] = {
        {GeneticAlgorithmMode, 5, true, false}, {GeneticAlgorithmMode, 3, false, true},
        {GeneticAlgorithmMode, 6, false, true}, {InteractiveMode, 5, false, false},
        {GeneticAlgorithmMode, 1, false, false},
    };
    for (const auto& s : sources) {
        doc->RunMode = s.runMode;
        const GaMatrixSource ga{s.searchMode, &gaComm, &gaSquad};
        EXPECT_EQ(&RedCommRowsToWrite(*doc, ga), s.commFromGa ? &gaComm : &doc->RedForce.CommMatrix);
        EXPECT_EQ(&RedSquadRowsToWrite(*doc, ga), s.squadFromGa ? &gaSquad : &doc->RedForce.SquadWeightMatrix);
    }
}

// --- terrain and waypoint paths

TEST(TerrainFile, RoundTripAndRefusedCells)
{
    TestDocument doc;
    CBattlefield& field = doc->Battlefield;
    field.BattleSize = 12;
    field.AgentGrid[GridIndex(2, 9)] = CellTerrain;
    field.TerrainType[GridIndex(2, 9)] = Pillar;
    field.AgentGrid[GridIndex(2, 3)] = CellTerrain;
    field.TerrainType[GridIndex(2, 3)] = PassableIII;
    field.AgentGrid[GridIndex(5, 5)] = CellAgent;
    // A Terrain Blocks block of type 0 occupies open ground.
    field.AgentGrid[GridIndex(7, 7)] = CellTerrain;
    const std::string text = Written([&](std::ostream& o) { WriteTerrainText(field, o); });
    EXPECT_EQ(text, "12\n3\n2 3\n2 5\n2 9\n2 2\n7 7\n2 0");

    TestDocument other;
    other->Battlefield.BattleSize = 12;
    other->Battlefield.AgentGrid[GridIndex(5, 5)] = CellAgent;
    std::string problem;
    ASSERT_TRUE(ReadTerrainText(text, &other->Battlefield, &problem)) << problem;
    EXPECT_EQ(other->Battlefield.AgentGrid[GridIndex(5, 5)], CellFree);
    EXPECT_EQ(other->Battlefield.TerrainType[GridIndex(2, 3)], PassableIII);
    EXPECT_EQ(other->Battlefield.AgentGrid[GridIndex(7, 7)], CellTerrain);
    EXPECT_EQ(other->Battlefield.TerrainType[GridIndex(7, 7)], OpenGround);
    EXPECT_EQ(Written([&](std::ostream& o) { WriteTerrainText(other->Battlefield, o); }), text);

    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"13\n0", "current battlefield size is too small"},
        {"0\n0", "battle size 0"},
        {"12\n145", "145 terrain cells"},
        {"12\n1\n2 13\n2 1", "(2, 13) lies outside"},
        {"12\n1\n2 3\n2 6", "terrain type 6"},
        {"12\n1\n2 3\n2 -1", "terrain type -1"},
        {"12\n1\n2 3\n1 1", "occupancy value 1 and the terrain type 1, which disagree"},
        {"12\n1\n2 3\n0 4", "occupancy value 0 and the terrain type 4, which disagree"},  // a type on free ground
        {"12\n2\n2 3\n2 1", "ends"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(ReadTerrainText(c.text, &other->Battlefield, &why)) << c.text;
        EXPECT_NE(why.find(c.problem), std::string::npos) << c.text << ": " << why;
        // Checked before the grids are cleared.
        EXPECT_EQ(other->Battlefield.TerrainType[GridIndex(2, 9)], Pillar) << c.text;
    }
    // The refusal names the line, however the file's lines end.
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        std::string why;
        const std::string bad = "12" + end + "2" + end + "2 x" + end + "2 5" + end + "2 9" + end + "2 2" + end;
        EXPECT_FALSE(ReadTerrainText(bad, &other->Battlefield, &why));
        EXPECT_NE(why.find("(word 4, line 3)"), std::string::npos) << why;
    }
}

// A terrain file read gives the field the switches of its cells, as a cell
// edit would: modifiers with passable ground only, line of sight with a
// pillar. Each read starts from modifiers on and line of sight off.
TEST(TerrainFile, ReadCellsSetTheSwitchesTheyImply)
{
    const struct {
        const char* Text;
        int Passable, Sight;
    } cases[] = {
        {"12\n1\n2 3\n2 1", 0, 0},              // lava
        {"12\n2\n2 3\n2 1\n4 4\n2 2", 0, 1},  // lava and a pillar
        {"12\n1\n12 12\n2 5", 1, 0},            // passable type III
        {"12\n0", 0, 0},
    };
    for (const auto& c : cases) {
        TestDocument doc;
        CBattlefield& field = doc->Battlefield;
        field.BattleSize = 12;
        field.TerrainModifiersOn = 1;
        field.LineOfSightOn = 0;
        std::string problem;
        ASSERT_TRUE(ReadTerrainText(c.Text, &field, &problem)) << problem;
        EXPECT_EQ(field.TerrainModifiersOn, c.Passable) << c.Text;
        EXPECT_EQ(field.LineOfSightOn, c.Sight) << c.Text;
    }
}

TEST(WaypointPathFile, RoundTripAndFieldsOutsideTheBattlefield)
{
    TestDocument doc;
    doc->RunMode = InteractiveMode;
    doc->Battlefield.BattleSize = 6;
    doc->Battlefield.AgentGrid[GridIndex(3, 3)] = CellTerrain;
    doc->Battlefield.TerrainType[GridIndex(3, 3)] = Lava;
    doc->RedForce.GoalFlagX = doc->RedForce.GoalFlagY = 5;
    doc->BlueForce.GoalFlagX = doc->BlueForce.GoalFlagY = 1;
    doc->BuildFlagPathFields();
    const auto write = [](TestDocument& d) {
        return Written([&](std::ostream& o) { WriteWaypointPathText(d->RedWaypointField, d->BlueWaypointField, o); });
    };
    const std::string text = write(doc);
    EXPECT_EQ(text.rfind(std::string(83, '*') + "\n Red terrain waypoint data\n" + std::string(83, '*') + "\n7 7\n", 0),
              0u);
    EXPECT_EQ(text.back(), '\n');
    TestDocument other;
    std::string problem;
    ASSERT_TRUE(ReadWaypointPathText(text, 6, &other->RedWaypointField, &other->BlueWaypointField, &problem)) << problem;
    EXPECT_TRUE(other->RedWaypointField == doc->RedWaypointField);
    EXPECT_EQ(write(other), text);

    const std::string banner = std::string(83, '*') + "\n Red terrain waypoint data\n" + std::string(83, '*') + "\n";
    for (const std::string& bad : {banner + "65537 65537\n0\n", banner + "2 2\n0\n1\n4\n0\n"}) {
        EXPECT_FALSE(ReadWaypointPathText(bad, 6, &other->RedWaypointField, &other->BlueWaypointField, &problem));
        EXPECT_NE(problem.find("RED waypoint data"), std::string::npos) << problem;
        EXPECT_TRUE(other->RedWaypointField == doc->RedWaypointField);
    }

    // An empty BLUE field (0 x 0) read over a 7 x 7 one: all four members 0.
    const std::string emptyBlue = text.substr(0, text.find(std::string(83, '*') + "\n Blue")) + std::string(83, '*') +
                                  "\n Blue terrain waypoint data\n" + std::string(83, '*') + "\n0 0\n";
    ASSERT_TRUE(ReadWaypointPathText(emptyBlue, 6, &other->RedWaypointField, &other->BlueWaypointField, &problem))
        << problem;
    const CPathField& blue = other->BlueWaypointField;
    EXPECT_EQ(blue.Owned, false);
    EXPECT_EQ(blue.Rows, 0u);
    EXPECT_EQ(blue.Columns, 0u);
    EXPECT_EQ(blue.CellCount, 0u);
    EXPECT_EQ(other->RedWaypointField.Rows, 7u);
}

// A path file is read only onto the battlefield its fields were built for:
// a 6-cell battlefield builds fields of 7 x 7 cells. Onto 150 or 5 cells it
// is refused with a message naming the file, the fields as they were; onto 6
// it is read. (A field of no cells is taken anywhere: see above.)
TEST(WaypointPathFile, FieldsOfAnotherBattlefieldAreRefused)
{
    TestDocument made;
    made->RunMode = InteractiveMode;
    made->Battlefield.BattleSize = 6;
    made->RedForce.GoalFlagX = made->RedForce.GoalFlagY = 5;
    made->BlueForce.GoalFlagX = made->BlueForce.GoalFlagY = 1;
    made->BuildFlagPathFields();
    const std::string path = testing::WriteTemp(
        "six.pth", Written([&](std::ostream& o) { WriteWaypointPathText(made->RedWaypointField, made->BlueWaypointField, o); }));
    for (const int size : {150, 5, 6}) {
        SCOPED_TRACE(size);
        TestDocument doc;
        doc->Battlefield.BattleSize = size;
        doc.Host.FileChoices.push_back(path);
        if (size == 6) {
            EXPECT_EQ(LoadWaypointPathFile(*doc), 1);
            EXPECT_TRUE(doc->BlueWaypointField == made->BlueWaypointField);
            continue;
        }
        EXPECT_EQ(LoadWaypointPathFile(*doc), 0);
        ASSERT_EQ(doc.Host.Messages.size(), 1u);
        const std::string field = std::to_string(size) + " x " + std::to_string(size);
        EXPECT_EQ(doc.Host.Messages[0].Text, "Error: cannot read input file " + path +
                                                 ":\nRED waypoint data: the field of 7 x 7 cells is for a 6 x 6 "
                                                 "battlefield, not this " + field + " one.");
        EXPECT_EQ(doc->RedWaypointField.CellCount, 0u);
    }
}

// --- document file

std::string LittleEndian(const std::vector<std::int32_t>& values)
{
    std::string bytes;
    for (std::int32_t v : values) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int b = 0; b < 4; ++b)
            bytes += static_cast<char>((u >> (8 * b)) & 0xFF);
    }
    return bytes;
}

TEST(DocumentFile, StoresTheCapturedHistoryAndLoadsItBack)
{
    TestDocument doc;
    CRunHeader& h = doc->RunHeader;
    h.LatticeSize = 20;
    h.RedCount = 1;
    h.BlueCount = 1;
    h.LastStep = 2;
    const int rows[2][6] = {{2, 3, 4, 2, 5, 6}, {1, 3, 5, 0, 5, 6}};  // RED state x y, BLUE state x y
    for (int k = 1; k <= 2; ++k)
        for (int b = 0; b < CaptureBufferCount; ++b)
            doc->Capture(b, k, 1) = rows[k - 1][b];
    const std::string bytes = Written([&](std::ostream& o) { StoreDocument(*doc, o); });
    // 16 + 2 x (4 + 12 x 2) = 72 bytes; the step numbers are the ordinals.
    EXPECT_EQ(bytes, LittleEndian({20, 1, 1, 2, 1, 2, 3, 4, 2, 5, 6, 2, 1, 3, 5, 0, 5, 6}));

    TestDocument other;
    other->Capture(RedCaptureState, 3, 1) = 2;  // a row of an earlier run
    std::string problem;
    ASSERT_TRUE(LoadDocument(*other, bytes, &problem)) << problem;
    EXPECT_EQ(other->Paused, 1);
    EXPECT_EQ(other->RunHeader.LatticeSize, 20);
    EXPECT_EQ(other->RunHeader.LastStep, 2);
    EXPECT_EQ(other->Capture(BlueCaptureX, 2, 1), 5);
    EXPECT_EQ(other->Capture(RedCaptureState, 3, 1), 0);
    EXPECT_EQ(Written([&](std::ostream& o) { StoreDocument(*other, o); }), bytes);

    // An interactive run's LastStep of 501 stores the 351 rows the capture holds.
    doc->RunHeader.LastStep = 501;
    const std::string full = Written([&](std::ostream& o) { StoreDocument(*doc, o); });
    EXPECT_EQ(full.size(), 16u + 351u * 28u);
    EXPECT_EQ(full.substr(12, 4), LittleEndian({351}));
}

TEST(DocumentFile, BadHeadersAndLengthsAreRefused)
{
    const std::string step = LittleEndian({1, 2, 3, 4});
    const struct {
        const char* what;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"short header", LittleEndian({20, 1, 0}), "fewer than its 16-byte header"},
        {"battle size", LittleEndian({151, 0, 0, 0}), "battle size is 151"},
        {"RED count", LittleEndian({20, 301, 0, 0}), "RED count is 301"},
        {"BLUE count", LittleEndian({20, 0, -1, 0}), "BLUE count is -1"},
        {"step count", LittleEndian({20, 0, 0, 352}), "step count is 352"},
        {"cut short", LittleEndian({20, 1, 0, 2}) + step, "takes 48"},
        {"bytes after", LittleEndian({20, 1, 0, 1}) + step + "x", "holds 33 bytes"},
        {"state", LittleEndian({20, 1, 0, 1, 1, 3, 3, 4}), "state 3"},
        {"position", LittleEndian({20, 1, 0, 1, 1, 2, 21, 4}), "(21, 4)"},
        {"living at x = 0", LittleEndian({20, 1, 0, 1, 1, 2, 0, 4}), "(living) stands at (0, 4)"},
        {"injured at y = 0", LittleEndian({20, 0, 1, 1, 1, 1, 5, 0}), "(living) stands at (5, 0)"},
    };
    for (const auto& c : cases) {
        TestDocument doc;
        doc->RunHeader.LastStep = 77;
        std::string problem;
        EXPECT_FALSE(LoadDocument(*doc, c.bytes, &problem)) << c.what;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
        EXPECT_EQ(doc->RunHeader.LastStep, 77) << c.what;
    }
    // A dead agent that never stood anywhere keeps (0, 0) and loads.
    TestDocument doc;
    std::string problem;
    EXPECT_TRUE(LoadDocument(*doc, LittleEndian({20, 1, 0, 1, 1, 0, 0, 0}), &problem)) << problem;
}

// A file of another length than its header promises is refused from its
// size, before the rest is read, however large it is.
TEST(DocumentFile, AFileLongerThanItsHeaderSaysIsRefusedUnread)
{
    const struct {
        std::string Header;
        const char* Problem;
    } cases[] = {
        {"", "the battle size is 0; it must lie in 1 to 150"},
        // The largest history: 16 + 351 x (4 + 12 x 600) = 2528620 bytes.
        {LittleEndian({150, 300, 300, 351}),
         "the file holds 314572800 bytes; a history of 351 steps of 300 RED and 300 BLUE agents takes 2528620"},
    };
    for (const auto& c : cases) {
        const std::string path = testing::WriteSparse("large.brv", 300u << 20, c.Header);
        TestDocument doc;
        doc->RunHeader.LastStep = 77;
        const std::uint64_t before = testing::BytesReadSoFar();
        EXPECT_FALSE(ReadDocumentFile(*doc, path));
        EXPECT_LT(testing::BytesReadSoFar() - before, 1u << 20) << c.Problem;  // not 300 MB
        ASSERT_EQ(doc.Host.Messages.size(), 1u);
        EXPECT_EQ(doc.Host.Messages[0].Text, "Error: cannot read input file " + path + ":\n" + c.Problem + ".");
        EXPECT_EQ(doc->RunHeader.LastStep, 77);
    }
}

// Of a pipe, what its header promises is read and one byte more, to learn
// that it has ended; so one whose writer stops without closing it (here one
// holding it open for reading and writing), or that nothing writes, is waited
// on a moment and refused, and never read as a short or whole file. A pipe
// written whole and closed is read as the file itself would be.
TEST(DocumentFile, APipeIsReadWholeOrRefusedOnceNothingMoreComes)
{
    const std::string header = LittleEndian({20, 1, 0, 1});
    const struct {
        std::string Written;
        bool Closed;
        const char* Answer;
    } cases[] = {
        {"", false, "nothing was written to it within 2 seconds."},
        {header + LittleEndian({1, 2, 3, 4}), false,
         "nothing more was written to it within 2 seconds after its first 32 bytes."},
        {header + LittleEndian({1, 2, 3, 4}), true, "read: 1 step, RED agent 1 at (3, 4)"},
    };
    for (const auto& c : cases) {
        std::optional<testing::FedPipe> fed;
        std::string path;
        int writer = -1;
        if (c.Closed) {
            fed.emplace("whole.brv", c.Written);
            path = fed->Path;
        } else {
            path = testing::UnfedPipe("history.brv");
            if (!c.Written.empty())
                writer = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
            if (writer >= 0) {
                EXPECT_EQ(::write(writer, c.Written.data(), c.Written.size()),
                          static_cast<::ssize_t>(c.Written.size()));
            }
        }
        const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
            TestDocument doc;
            if (!ReadDocumentFile(*doc, path))
                return doc.Host.Messages.empty() ? std::string("refused unsaid") : doc.Host.Messages[0].Text;
            return "read: " + std::to_string(doc->RunHeader.LastStep) + " step, RED agent 1 at (" +
                   std::to_string(doc->Capture(RedCaptureX, 1, 1)) + ", " +
                   std::to_string(doc->Capture(RedCaptureY, 1, 1)) + ")";
        });
        if (writer >= 0)
            ::close(writer);
        const std::string refused = "Error: cannot read input file " + path + ":\n";
        EXPECT_EQ(answer, c.Closed ? c.Answer : refused + c.Answer) << c.Written.size();
    }
}

// The document save (Ctrl+S) onto a FIFO: one that nothing reads is refused
// after a moment, naming it, with the history as it was; one that is read
// gets the file's bytes, worked out below as in the test of the layout.
TEST(DocumentFile, ASaveOntoAPipeIsRefusedUnreadOrWrittenWhole)
{
    const auto playedBack = [](TestDocument& doc) {
        doc->RunMode = PlaybackMode;
        doc->RunHeader.LatticeSize = 20;
        doc->RunHeader.RedCount = 1;
        doc->RunHeader.BlueCount = 0;
        doc->RunHeader.LastStep = 1;
        for (int b = 0; b < 3; ++b)
            doc->Capture(RedCaptureState + b, 1, 1) = 2 + b;  // state 2 at (3, 4)
    };
    // Battle size, counts, one step; then step 1 and RED's state, x, y.
    const std::string bytes = LittleEndian({20, 1, 0, 1, 1, 2, 3, 4});
    for (const bool read : {false, true}) {
        std::optional<testing::DrainedPipe> pipe;
        if (read)
            pipe.emplace("history.brv");
        const std::string path = read ? pipe->Path : testing::UnfedPipe("history.brv");
        const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
            TestDocument doc;
            playedBack(doc);
            doc.Host.FileChoices.push_back(path);
            std::string said = SaveDocumentAs(*doc) ? "saved" : "not saved";
            said += ", RED agent 1 at (" + std::to_string(doc->Capture(RedCaptureX, 1, 1)) + ", " +
                    std::to_string(doc->Capture(RedCaptureY, 1, 1)) + ") of step " +
                    std::to_string(doc->RunHeader.LastStep) + ": ";
            for (const auto& message : doc.Host.Messages)
                said += message.Text + "|";
            return said;
        });
        const std::string kept = ", RED agent 1 at (3, 4) of step 1: ";
        const std::string refusal =
            "Error: cannot open output file.\n" + path + "\nnothing read it within 2 seconds.|";
        EXPECT_EQ(answer, read ? "saved" + kept : "not saved" + kept + refusal);
        if (read) {
            EXPECT_EQ(pipe->Taken(), bytes);
        }
    }
}

// A save whose reader closes early fails, saying how much went into the
// pipe. 300 RED agents over 3 steps: 16 + 3 x (1 + 3 x 300) x 4 = 10828
// bytes, more than the two pages the pipe and its reader take.
TEST(DocumentFile, ASaveWhoseReaderClosesEarlyIsReported)
{
    testing::DrainedPipe pipe("history.brv", testing::DrainedPipe::Reader::ClosesEarly);
    const std::string answer = testing::AnswerWithin(std::chrono::seconds(15), [&] {
        TestDocument doc;
        doc->RunMode = PlaybackMode;
        doc->RunHeader.LatticeSize = 20;
        doc->RunHeader.RedCount = 300;
        doc->RunHeader.BlueCount = 0;
        doc->RunHeader.LastStep = 3;
        doc.Host.FileChoices.push_back(pipe.Path);
        std::string said = SaveDocumentAs(*doc) ? "saved: " : "not saved: ";
        for (const auto& message : doc.Host.Messages)
            said += message.Text + "|";
        return said;
    });
    const long long taken = testing::BytesBeforeReaderClosed(answer);
    EXPECT_EQ(answer, "not saved: Error: cannot write output file " + pipe.Path + ":\nits reader closed it after " +
                          std::to_string(taken) + " bytes were written into it.|");
    EXPECT_GE(taken, testing::DrainedPipe::PageBytes);
    EXPECT_LE(taken, 2 * testing::DrainedPipe::PageBytes);
}

// The document save under the process's file-size limit, the signal at its
// default. 300 RED agents over 3 steps make 10828 bytes (above): a limit of
// as many takes the file whole; a byte less is reported, not a kill.
TEST(DocumentFile, ASaveCutByTheFileSizeLimitIsReported)
{
    const std::string path = testing::TempFolder() + "/history.brv";
    for (const std::uintmax_t limit : {10828u, 10827u}) {
        const std::string answer = testing::AnswerUnderFileSizeLimit(limit, [&] {
            TestDocument doc;
            doc->RunMode = PlaybackMode;
            doc->RunHeader.LatticeSize = 20;
            doc->RunHeader.RedCount = 300;
            doc->RunHeader.BlueCount = 0;
            doc->RunHeader.LastStep = 3;
            doc.Host.FileChoices.push_back(path);
            std::string said = SaveDocumentAs(*doc) ? "saved: " : "not saved: ";
            for (const auto& message : doc.Host.Messages)
                said += message.Text + "|";
            return said;
        });
        EXPECT_EQ(answer, limit == 10828u ? "saved: "
                                          : "not saved: Error: cannot write output file " + path + ":\nFile too large.|");
        EXPECT_EQ(std::filesystem::file_size(path), limit);
    }
}

}  // namespace
}  // namespace brevimar
