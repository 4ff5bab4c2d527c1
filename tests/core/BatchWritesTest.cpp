#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "core/BatchWrites.h"
#include "support/TestDocument.h"

namespace brevimar {
namespace {

using Kind = BatchWriteKind;
using testing::TestDocument;

// RED as scenario_v4.dat holds it: 5, 5, 2 = 12 in 3 squads.
CForce& RedOfTwelveInThreeSquads(CBrevimarDoc& doc)
{
    CForce& red = doc.RedForce;
    red.NumSquads = 3;
    red.num_per_squad[1] = red.num_per_squad[2] = 5;
    red.num_per_squad[3] = 2;
    red.NumAgents = 12;
    return red;
}

// The record on its own, over two values of the scenario that start at 5:
// RED squad 1's alive (x) and injured (y) sensor ranges. Each row writes them
// as a batch's code and the user would, puts back what the record says goes
// back (the searched values too, as leaving does, or not, as a file saved
// during the batch does), then gives the batch's values back.
TEST(BatchWrites, WhatGoesBackAndWhatComesAgain)
{
    using Writes = std::function<void(CBatchWrites&, CBrevimarDoc&, int& x, int& y)>;
    auto batch = [](CBatchWrites& r, CBrevimarDoc& d, Kind kind, int& field, int value) {
        r.Begin(d, kind);
        field = value;
        r.End(d);
    };
    const struct {
        const char* What;
        Writes Write;
        bool Searched;
        int Back[2], Again[2];
    } rows[] = {
        // x goes back to the 5 it held before the batch, and comes again as 6.
        {"a batch write", [&](auto& r, auto& d, int& x, int&) { batch(r, d, Kind::Search, x, 6); }, true, {5, 5},
         {6, 5}},
        // Without the searched values only y, which the set-up wrote, goes back.
        {"searched and set-up writes, the searched kept",
         [&](auto& r, auto& d, int& x, int& y) {
             batch(r, d, Kind::Search, x, 6);
             batch(r, d, Kind::SetUp, y, 7);
         },
         false, {6, 5}, {6, 7}},
        // The batch wrote over the user's 42: 42 is the value to go back to.
        {"a user write between two batch writes",
         [&](auto& r, auto& d, int& x, int&) {
             batch(r, d, Kind::Search, x, 6);
             x = 42;
             batch(r, d, Kind::Search, x, 7);
         },
         true, {42, 5}, {7, 5}},
        // x no longer holds the batch's 6: nothing of the batch's to put back.
        {"a user write after the batch's last",
         [&](auto& r, auto& d, int& x, int&) {
             batch(r, d, Kind::Search, x, 6);
             x = 42;
         },
         true, {42, 5}, {42, 5}},
        // Stored as 9, then as 6 again: the user's 6, though the batch wrote 6.
        {"a user value equal to the batch's",
         [&](auto& r, auto& d, int& x, int&) {
             batch(r, d, Kind::Search, x, 6);
             batch(r, d, Kind::User, x, 9);
             batch(r, d, Kind::User, x, 6);
         },
         true, {6, 5}, {6, 5}},
        // A file read x as it stands: x is the user's; y, outside it, is not.
        {"a file's value made the user's",
         [&](auto& r, auto& d, int& x, int& y) {
             batch(r, d, Kind::Search, x, 6);
             batch(r, d, Kind::Search, y, 7);
             r.MarkUserValues(d, &x, sizeof x);
         },
         true, {6, 5}, {6, 7}},
        // Set-up around a search: x (written before and after the inner
        // pair) is set-up, y the search's, and only x goes back.
        {"a search inside set-up",
         [&](auto& r, auto& d, int& x, int& y) {
             r.Begin(d, Kind::SetUp);
             x = 6;
             batch(r, d, Kind::Search, y, 7);
             x = 8;
             r.End(d);
         },
         false, {5, 7}, {8, 7}},
        // A search around set-up: the inner pair's y is set-up and goes back.
        {"set-up inside a search",
         [&](auto& r, auto& d, int& x, int& y) {
             r.Begin(d, Kind::Search);
             x = 6;
             batch(r, d, Kind::SetUp, y, 7);
             r.End(d);
         },
         false, {6, 5}, {6, 7}},
    };
    for (const auto& row : rows) {
        TestDocument doc;
        int& x = doc->RedForce.A_S_RANGE[1];
        int& y = doc->RedForce.I_S_RANGE[1];
        x = y = 5;
        CBatchWrites record;
        record.Start(*doc);
        row.Write(record, *doc, x, y);
        record.PutBack(*doc, row.Searched);
        EXPECT_EQ(x, row.Back[0]) << row.What;
        EXPECT_EQ(y, row.Back[1]) << row.What;
        record.TakeAgain(*doc);
        EXPECT_EQ(x, row.Again[0]) << row.What;
        EXPECT_EQ(y, row.Again[1]) << row.What;
    }
}

// RED 5, 5, 2 = 12 in 3 squads. A sweep point sets squad 1 to 20 and the
// total to 27; the user adds one agent to squad 2 (6, total 28). Leaving
// puts squad 1 back (5) and keeps the user's 6, so the total is 5 + 6 + 2 =
// 13; taken again, squad 1 is 20 and the total the 28 it was.
TEST(BatchWrites, AForceGoesBackWholeAndComesAgainAsItWas)
{
    TestDocument doc;
    CForce& red = RedOfTwelveInThreeSquads(*doc);
    CBatchWrites record;
    record.Start(*doc);
    record.Begin(*doc, Kind::Search);
    red.num_per_squad[1] = 20;
    red.NumAgents = 27;
    record.End(*doc);
    record.Begin(*doc, Kind::User);
    ++red.num_per_squad[2];
    ++red.NumAgents;
    record.End(*doc);

    record.PutBack(*doc, true);
    EXPECT_EQ(red.num_per_squad[1], 5);
    EXPECT_EQ(red.num_per_squad[2], 6);
    EXPECT_EQ(red.NumAgents, 13);
    record.TakeAgain(*doc);
    EXPECT_EQ(red.num_per_squad[1], 20);
    EXPECT_EQ(red.NumAgents, 28);
}

// RED 5, 5, 2 = 12 in 3 squads. A GA member runs one squad (a searched
// count of 1) and the user grows it by one. Leaving puts back the count (3)
// and squad 1's 5; the total is the file's 12 and the user's one more, 13,
// which the last squad takes up as a scenario file's would: 5 + 5 + 2 = 12,
// so squad 3 holds 3. Taken again, the force is as it stood (squad 3 the 2
// it held). A save leaves the searched count, 1, and the total as they are.
TEST(BatchWrites, ASquadTheUserSizesInTheBatchsSquadsGoesBackWithThem)
{
    using Writes = std::function<void(CBatchWrites&, CBrevimarDoc&, CForce&)>;
    const struct {
        const char* What;
        Writes BatchThenUser;
        int Members;  // squad 1 and the total the user left
    } rows[] = {
        // The set-up gives the one squad the whole force; the user sets it
        // to 13 and the total with it.
        {"a personality GA's squad set by the user",
         [](auto& r, auto& d, CForce& red) {
             r.Begin(d, Kind::Search);
             red.NumSquads = 1;
             r.SquadsMadeByBatch(Side::Red);
             r.End(d);
             r.Begin(d, Kind::SetUp);
             red.num_per_squad[1] = 12;
             r.End(d);
             r.Begin(d, Kind::User);
             red.num_per_squad[1] = red.NumAgents = 13;
             r.End(d);
         },
         13},
        // Two members of a composition search of 50 agents, one agent added
        // by the user between them.
        {"an agent added between composition members",
         [](auto& r, auto& d, CForce& red) {
             r.Begin(d, Kind::Search);
             red.NumSquads = 1;
             red.num_per_squad[1] = red.NumAgents = 50;
             red.num_per_squad[2] = red.num_per_squad[3] = 0;
             r.SquadsMadeByBatch(Side::Red);
             r.End(d);
             r.Begin(d, Kind::User);
             ++red.num_per_squad[1];
             ++red.NumAgents;
             r.End(d);
             r.Begin(d, Kind::Search);
             red.num_per_squad[1] = red.NumAgents = 50;
             r.End(d);
         },
         50},
    };
    for (const auto& row : rows) {
        TestDocument doc;
        CForce& red = RedOfTwelveInThreeSquads(*doc);
        CBatchWrites record;
        record.Start(*doc);
        row.BatchThenUser(record, *doc, red);
        const std::vector<int> left = {1, row.Members, red.num_per_squad[2], red.num_per_squad[3], row.Members};
        auto shape = [&] {
            return std::vector<int>{red.NumSquads, red.num_per_squad[1], red.num_per_squad[2], red.num_per_squad[3],
                                    red.NumAgents};
        };
        ASSERT_EQ(shape(), left) << row.What;
        record.PutBack(*doc, true);
        EXPECT_EQ(shape(), (std::vector<int>{3, 5, 5, 3, 13})) << row.What;
        record.TakeAgain(*doc);
        EXPECT_EQ(shape(), left) << row.What;
        record.PutBack(*doc, false);
        EXPECT_EQ(red.NumSquads, 1) << row.What;
        EXPECT_EQ(red.NumAgents, row.Members) << row.What;
        record.TakeAgain(*doc);
        EXPECT_EQ(shape(), left) << row.What;
    }
}

// A force the user changes while a batch stands, at the edges of the count
// onto the scenario's force. The batch writes the squads (a GA's member
// makes them, squad count and all) and the total as their sum; the user then
// sets one squad's size, the total following, by a dialog or by placing one
// agent. Shapes are the squad count, squads 1..3 and the total.
TEST(BatchWrites, TheUsersChangeCountsOntoTheScenariosForceWithinItsBounds)
{
    using Shape = std::vector<int>;
    const Shape twelve = {3, 5, 5, 2, 12}, full = {3, 100, 100, 100, 300};
    const struct {
        const char* What;
        Side Force;
        Shape Scenario, Batch;  // a batch of one squad made it: a GA's member
        Kind User;
        int Squad, Size;
        Shape Back;
    } rows[] = {
        // One squad of 50: 38 is 12 fewer, which leaves the scenario's 12
        // none: the scenario's force comes back. 39 leaves it one agent,
        // which its first squad takes; a force the user empties comes back
        // empty (5, 5, 2 fitted to 0: one squad of 0).
        {"a member cut by 12", Side::Red, twelve, {1, 50, 0, 0, 50}, Kind::User, 1, 38, twelve},
        {"a member cut by 11", Side::Red, twelve, {1, 50, 0, 0, 50}, Kind::User, 1, 39, {1, 1, 5, 2, 1}},
        {"a member emptied", Side::Red, twelve, {1, 50, 0, 0, 50}, Kind::User, 1, 0, {1, 0, 5, 2, 0}},
        // 300 and one more is more than a force holds.
        {"a member of 299 grown by one on a force of 300", Side::Red, full, {1, 299, 0, 0, 299}, Kind::User, 1, 300,
         full},
        // An agent placed in the squad a sweep sizes is one more in the
        // scenario's squad: 6, 5, 2 = 13; typed, the size stands as typed.
        {"an agent placed in a swept squad", Side::Red, twelve, {3, 40, 5, 2, 47}, Kind::HandPlaced, 1, 41,
         {3, 6, 5, 2, 13}},
        {"an agent placed in a swept BLUE squad", Side::Blue, twelve, {3, 40, 5, 2, 47}, Kind::HandPlaced, 1, 41,
         {3, 6, 5, 2, 13}},
        {"a swept squad typed", Side::Red, twelve, {3, 40, 5, 2, 47}, Kind::User, 1, 6, {3, 6, 5, 2, 13}},
        // A force of 300 has no room for one more: it comes back whole. One
        // of 299 has room for one: 101 + 100 + 99 = 300.
        {"an agent placed in a swept squad of a force of 300", Side::Red, full, {3, 50, 100, 100, 250},
         Kind::HandPlaced, 1, 51, full},
        {"an agent placed in a swept squad of a force of 299", Side::Red, {3, 100, 100, 99, 299},
         {3, 50, 100, 99, 249}, Kind::HandPlaced, 1, 51, {3, 101, 100, 99, 300}},
        // Squad 2 typed 180 beside the swept squad's 20 (300 in all) stands
        // beside the scenario's squad 1 of 100: 380, of which the last squad
        // gives way 80, as a scenario file's squads are fitted to 300.
        {"a squad typed beside a swept squad of a force of 300", Side::Red, full, {3, 20, 100, 100, 220}, Kind::User,
         2, 180, {3, 100, 180, 20, 300}},
    };
    for (const auto& row : rows) {
        TestDocument doc;
        CForce& f = doc->Force(row.Force);
        auto set = [&](const Shape& shape) {
            f.NumSquads = shape[0];
            for (int s = 1; s <= 3; ++s)
                f.num_per_squad[s] = shape[s];
            f.NumAgents = shape[4];
        };
        auto shape = [&] {
            return Shape{f.NumSquads, f.num_per_squad[1], f.num_per_squad[2], f.num_per_squad[3], f.NumAgents};
        };
        set(row.Scenario);
        CBatchWrites record;
        record.Start(*doc);
        record.Begin(*doc, Kind::Search);
        set(row.Batch);
        if (row.Batch[0] == 1)
            record.SquadsMadeByBatch(row.Force);
        record.End(*doc);
        record.Begin(*doc, row.User);
        f.NumAgents += row.Size - f.num_per_squad[row.Squad];
        f.num_per_squad[row.Squad] = row.Size;
        record.End(*doc);
        const Shape left = shape();
        record.PutBack(*doc, true);
        EXPECT_EQ(shape(), row.Back) << row.What;
        record.TakeAgain(*doc);
        EXPECT_EQ(shape(), left) << row.What;
    }
}

// A force's make-up as a list: its squad count, squads 1..10 and its total.
std::vector<int> MakeUp(const ForceShape& f)
{
    std::vector<int> v = {f.NumSquads};
    v.insert(v.end(), f.Sizes + 1, f.Sizes + SquadSlots);
    v.push_back(f.NumAgents);
    return v;
}

// One write into a force: the batch's (a member makes the squads, or runs
// the force in squads of its own count) or one of the user's commands, which
// says whether it took effect.
struct ForceWrite {
    Kind By;
    std::function<bool(CForce&)> Apply;
    bool Member = false;
    bool Made = true;
};

int SquadsHeld(const CForce& f)
{
    int sum = 0;
    for (int s = 1; s <= f.NumSquads; ++s)
        sum += f.num_per_squad[s];
    return sum;
}

// A grid point that sizes squad 1, which gives way where the force would
// pass 300.
ForceWrite Sweep(int size)
{
    return {Kind::Search, [size](CForce& f) {
                const int others = SquadsHeld(f) - f.num_per_squad[1];
                f.num_per_squad[1] = std::min(size, MaxAgents - others);
                f.NumAgents = others + f.num_per_squad[1];
                return true;
            }};
}

ForceWrite Member(std::vector<int> sizes, bool made = true)
{
    return {Kind::Search,
            [sizes](CForce& f) {
                f.NumSquads = static_cast<int>(sizes.size());
                std::fill(f.num_per_squad, f.num_per_squad + SquadSlots, 0);
                std::copy(sizes.begin(), sizes.end(), f.num_per_squad + 1);
                f.NumAgents = SquadsHeld(f);
                return true;
            },
            true, made};
}

// A right click: one agent more, where the force has fewer than 300.
ForceWrite Place(int squad)
{
    return {Kind::HandPlaced, [squad](CForce& f) {
                if (f.NumAgents >= MaxAgents)
                    return false;
                ++f.num_per_squad[squad];
                ++f.NumAgents;
                return true;
            }};
}

// An OK of the agent dialog: the squads as `edit` leaves them, the total
// their sum (at most 300), then the forces set up again.
ForceWrite Dialog(std::function<bool(CForce&)> edit)
{
    return {Kind::User, [edit](CForce& f) {
                if (!edit(f))
                    return false;
                f.NumAgents = std::min(SquadsHeld(f), MaxAgents);
                f.ReconcileSquadSizes();
                return true;
            }};
}

ForceWrite Cut(int by)
{
    return Dialog([by](CForce& f) {
        int* largest = std::max_element(f.num_per_squad + 1, f.num_per_squad + 1 + f.NumSquads);
        if (*largest < by)
            return false;
        *largest -= by;
        return true;
    });
}

ForceWrite Type(int squad, int size)
{
    return Dialog([=](CForce& f) {
        f.num_per_squad[squad] = size;
        return true;
    });
}

ForceWrite OneSquadOf(int size)
{
    return Dialog([size](CForce& f) {
        f.NumSquads = 1;
        f.num_per_squad[1] = size;
        return true;
    });
}

ForceWrite SquadCount(int squads)
{
    return Dialog([squads](CForce& f) {
        f.NumSquads = squads;
        return true;
    });
}

// A squad typed `by` more than it shows.
ForceWrite Grow(int squad, int by)
{
    return Dialog([=](CForce& f) {
        f.num_per_squad[squad] += by;
        return true;
    });
}

// The force as leaving the batch gives it, after the scenario's force
// (`scenario`, on `side`) took `first` and then `steps` in `order`; whether
// every write took effect. Taking the batch's values again must give the
// force as the writes left it, and the other side is never touched.
struct Left {
    ForceShape Force;
    bool AllTook = true;
};

Left LeaveAfter(CBrevimarDoc& doc, Side side, const ForceShape& scenario, const ForceWrite* first,
                const std::vector<ForceWrite>& steps, const std::vector<std::size_t>& order)
{
    CForce& f = doc.Force(side);
    const std::vector<int> other = MakeUp(ForceShape::Of(doc.Force(Opponent(side))));
    scenario.Into(f);
    CBatchWrites record;
    record.Start(doc);
    Left left;
    auto write = [&](const ForceWrite& w) {
        record.Begin(doc, w.By);
        left.AllTook = w.Apply(f) && left.AllTook;
        if (w.Member && w.Made)
            record.SquadsMadeByBatch(side);
        else if (w.Member)
            record.SquadCountOfBatch(side, f.NumSquads);
        record.End(doc);
    };
    if (first)
        write(*first);
    for (std::size_t k : order)
        write(steps[k]);
    const std::vector<int> written = MakeUp(ForceShape::Of(f));
    record.PutBack(doc, true);
    left.Force = ForceShape::Of(f);
    record.TakeAgain(doc);
    EXPECT_EQ(MakeUp(ForceShape::Of(f)), written);
    EXPECT_EQ(MakeUp(ForceShape::Of(doc.Force(Opponent(side)))), other);
    return left;
}

// The rule for a force left by a batch, over sequences of the batch's and
// the user's writes: scenarios of 1..10 squads of 5 (the last holding the
// rest), or of an empty first squad and 5s after it, and 0, 1, 12, 299 and
// 300 agents, on either side. Each row's batch writes first, then a second
// batch write and the user's edits in every order, and in every way the row
// lists of making the same change. Every
// order and way whose edits all took effect gives the same force; every
// force comes back with a total within 0..300 that is its squads' sum, and
// with agents where the scenario had some and the user left some; a force
// nobody touched comes back as it was, byte for byte; taking the batch's
// values again gives the force the batch left. The force of 5, 5, 2 gives:
// - sweeps: untouched, itself; agents placed in squads 1 and 3, 6, 5, 3 =
//   14; squad 3 typed 7, 5, 5, 7 = 17; the swept squad typed 180, 180, 5, 2;
// - members of 50 (one squad, then 30 and 20) made by the batch: 12 + the
//   net change, over 5, 5, 2 as a file's total is: cut by 12 (0 left of the
//   12), itself; cut by 11, 1 in squad 1 (squads 5 and 2 stay behind the
//   count); one placed, 5, 5, 3; typed to one squad of 300, 12 + 250 = 262,
//   5, 5, 252; emptied to one agent (12 - 49), itself; emptied, one squad
//   of 0;
// - an agent placed where no batch wrote: 6, 5, 2;
// - the squad count typed 1 in a sweep: one squad of 5 (a force whose first
//   squad is empty comes back as the scenario held it, not empty);
// - squad 1 swept to 0 (7 left) and squad 2 typed 292 more with one agent
//   placed in it, before the typing or after, or typed 293 more: 299 + 1 =
//   300 as it stands, 5 + 298 + 2 = 305 with squad 1 back, of which the
//   last squads give way 5 as a file's do: squad 3 its 2, squad 2 3, so 2
//   squads, 5 and 295. Typed 291 more and one agent placed in squad 1,
//   whose size nobody typed: 303 has no room for it, and the same fit gives
//   5, 295 again;
// - members of two squads, which the scenario's three make the batch's: one
//   placed, 5, 5, 3 (on a scenario of two squads, one more in squad 1).
TEST(BatchWrites, AForceLeftByABatchDependsOnWhatTheUserChangedNotInWhichOrder)
{
    struct Row {
        const char* What;
        std::vector<ForceWrite> Batch;  // the first comes first
        std::vector<std::vector<ForceWrite>> Ways;
        bool UserEmpties;
        std::vector<int> FromTwelve;  // squads 1..3 and the total
    };
    auto rows = [](const ForceShape& scenario) {
        const int last = scenario.NumSquads;
        // What a force swept to an empty first squad has room for, one
        // agent left over.
        const int room = MaxAgents - 1 - (scenario.NumAgents - scenario.Sizes[1]);
        const int typed = std::min(2, last);
        const std::vector<ForceWrite> sweeps = {Sweep(40), Sweep(20)};
        const std::vector<ForceWrite> members = {Member({50}), Member({30, 20})};
        return std::vector<Row>{
            {"an untouched sweep", sweeps, {{}}, false, {3, 5, 5, 2, 12}},
            {"agents placed in a sweep", sweeps, {{Place(1), Place(last)}}, false, {3, 6, 5, 3, 14}},
            {"a size typed in a sweep", sweeps, {{Type(last, 7)}}, false, {3, 5, 5, 7, 17}},
            {"the swept squad typed 180", sweeps, {{Type(1, 180)}}, false, {3, 180, 5, 2, 187}},
            {"untouched members", members, {{}}, false, {3, 5, 5, 2, 12}},
            {"a member cut by 12", members, {{Cut(12)}, {Cut(11), Cut(1)}, {Cut(13), Place(1)}}, false,
             {3, 5, 5, 2, 12}},
            {"a member cut by 11", members, {{Cut(11)}, {Cut(12), Place(1)}, {Cut(5), Cut(6)}}, false,
             {1, 1, 5, 2, 1}},
            {"an agent placed in a member", members, {{Place(1)}}, false, {3, 5, 5, 3, 13}},
            {"a member typed to one squad of 300", members, {{OneSquadOf(300)}}, false, {3, 5, 5, 252, 262}},
            {"a member emptied down to one agent", members, {{OneSquadOf(1)}}, false, {3, 5, 5, 2, 12}},
            {"a member emptied", members, {{OneSquadOf(0)}}, true, {1, 0, 5, 2, 0}},
            {"an agent placed where no batch wrote", {}, {{Place(1)}}, false, {3, 6, 5, 2, 13}},
            // A full force has no room for the sweep: an empty first squad
            // stays empty, and so does the one squad typed.
            {"the squad count typed 1 in a sweep", sweeps, {{SquadCount(1)}},
             scenario.Sizes[1] == 0 && scenario.NumAgents == MaxAgents, {1, 5, 5, 2, 5}},
            {"a squad typed past 300 with an agent placed in it", {Sweep(0)},
             {{Grow(typed, room), Place(typed)}, {Grow(typed, room + 1)}}, false, {2, 5, 295, 2, 300}},
            {"a squad typed past 300 and an agent placed in the swept squad", {Sweep(0)},
             {{Grow(typed, room - 1), Place(1)}}, false, {2, 5, 295, 2, 300}},
            {"an agent placed in members of two squads", {Member({30, 20}, false), Member({20, 30}, false)},
             {{Place(1)}}, false, {3, 5, 5, 3, 13}},
        };
    };
    struct Scenario {
        ForceShape Force;
        std::string Name;
        bool OfTwelve;  // 5, 5, 2
    };
    std::vector<Scenario> scenarios;
    for (int squads = 1; squads <= MaxSquads; ++squads)
        for (int total : {0, 1, 12, 299, 300})
            for (bool emptyFirst : {false, true}) {
                if (emptyFirst && squads == 1)
                    continue;
                ForceShape f;
                f.NumSquads = squads;
                for (int s = 1, rest = total; s <= squads; rest -= f.Sizes[s++])
                    f.Sizes[s] = s == 1 && emptyFirst ? 0 : s < squads ? std::min(5, rest) : rest;
                f.NumAgents = total;
                scenarios.push_back({f,
                                     std::to_string(squads) + " squads of " + std::to_string(total) +
                                         (emptyFirst ? ", the first empty" : ""),
                                     squads == 3 && total == 12 && !emptyFirst});
            }
    TestDocument doc;
    for (Side side : {Side::Red, Side::Blue})
        for (const Scenario& scenario : scenarios)
            for (const Row& row : rows(scenario.Force)) {
                const std::string what =
                    std::string(row.What) + ", " + scenario.Name + (side == Side::Red ? " RED" : " BLUE");
                const int total = scenario.Force.NumAgents;
                const ForceWrite* first = row.Batch.empty() ? nullptr : &row.Batch.front();
                std::optional<std::vector<int>> same;
                for (const auto& way : row.Ways) {
                    std::vector<ForceWrite> steps(way);
                    if (first)
                        steps.insert(steps.end(), row.Batch.begin() + 1, row.Batch.end());
                    std::vector<std::size_t> order(steps.size());
                    std::iota(order.begin(), order.end(), 0);
                    do {
                        const Left left = LeaveAfter(*doc, side, scenario.Force, first, steps, order);
                        const ForceShape& back = left.Force;
                        int sum = 0;
                        for (int s = 1; s <= std::clamp(back.NumSquads, 0, MaxSquads); ++s)
                            sum += back.Sizes[s];
                        EXPECT_TRUE(back.NumSquads >= 1 && back.NumSquads <= MaxSquads) << what;
                        EXPECT_EQ(back.NumAgents, sum) << what;
                        EXPECT_LE(back.NumAgents, MaxAgents) << what;
                        EXPECT_TRUE(!way.empty() || back == scenario.Force) << what;
                        EXPECT_TRUE(total < 1 || row.UserEmpties || back.NumAgents >= 1) << what;
                        if (!left.AllTook)
                            continue;
                        same = same.value_or(MakeUp(back));
                        EXPECT_EQ(MakeUp(back), *same) << what;
                        if (scenario.OfTwelve) {
                            const std::vector<int> fromTwelve = {back.NumSquads, back.Sizes[1], back.Sizes[2],
                                                                 back.Sizes[3], back.NumAgents};
                            EXPECT_EQ(fromTwelve, row.FromTwelve) << what;
                        }
                    } while (std::next_permutation(order.begin(), order.end()));
                }
            }
}

// A force the scenario holds without agents is not left without agents by
// the user until the user changes its total: the squad count typed on it
// stands. Two squads of 0 swept to 40, typed to one squad (of 40, the total
// unchanged), come back as one squad of 0.
TEST(BatchWrites, ASquadCountTypedOnAForceWithoutAgentsStands)
{
    TestDocument doc;
    ForceShape none, one;
    none.NumSquads = 2;
    one.NumSquads = 1;
    const ForceWrite sweep = Sweep(40);
    EXPECT_EQ(MakeUp(LeaveAfter(*doc, Side::Red, none, &sweep, {SquadCount(1)}, {0}).Force), MakeUp(one));
}

// Every value the record holds, each written alone by the batch (a value at
// the end of what one comparison covers, BLUE's fratricide probability or
// the links switch, too), goes back and comes again. The values start other
// than the document's defaults, most of them 0 as the record's images start.
TEST(BatchWrites, EveryValueWrittenAloneGoesBackAndComesAgain)
{
    TestDocument doc;
    EachRecordedField(*doc, [](unsigned char* first, std::size_t size, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k)
            first[k * size] ^= 0x5a;
    });
    auto image = [&] {
        std::vector<unsigned char> bytes;
        EachRecordedField(*doc, [&](unsigned char* first, std::size_t size, std::size_t count) {
            bytes.insert(bytes.end(), first, first + size * count);
        });
        return bytes;
    };
    auto bytesApart = [](const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        std::size_t apart = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            apart += a[i] != b[i];
        return apart;
    };
    const std::vector<unsigned char> before = image();
    CBatchWrites record;
    record.Start(*doc);
    std::size_t values = 0;
    EachRecordedField(*doc, [&](unsigned char* first, std::size_t size, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k, ++values) {
            record.Begin(*doc, Kind::Search);
            ++first[k * size];
            record.End(*doc);
        }
    });
    const std::vector<unsigned char> written = image();
    ASSERT_EQ(bytesApart(written, before), values);

    record.PutBack(*doc, true);
    EXPECT_EQ(bytesApart(image(), before), 0u);
    record.TakeAgain(*doc);
    EXPECT_EQ(bytesApart(image(), written), 0u);
}

}  // namespace
}  // namespace brevimar
