// What the genetic algorithm and the fitness landscape write into the
// scenario while one of them stands: the values every member and grid point
// tries, and what their own set-up needs in place (the switches a GA holds
// fixed, the links the communications search clears, the agents each run
// deploys from the squad tables). Each value the batch changed keeps the
// value it held before and the value the batch wrote last, so that leaving
// the batch puts back only what still holds the batch's value, and a user's
// edit made meanwhile stands. A value the user set while the batch stood and
// the batch then wrote over is the one to go back to: it is the user's
// newest. A force's squads as the batch made them are the batch's while
// they stand: a squad the user resizes in them goes back with them, and the
// user's change to the force's total stands on the scenario's total, unless
// it would leave no agent in a force the user left agents in. An agent the
// user places in a squad the batch sized is one more in the scenario's squad.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/Limits.h"

namespace brevimar {

class CBrevimarDoc;

enum class BatchWriteKind {
    SetUp,   // held fixed or needed in place by the search
    Search,  // what a member or a grid point tries
    User,    // stored by the user (a dialog's OK, a right click): the user's,
             // even where it equals what the batch wrote last
    HandPlaced,  // the user's right click: an agent placed is one more in the
                 // scenario's squad, also where the batch sized that squad
};

class CBatchWrites {
public:
    // An empty record of the document's scenario values, and no record.
    void Start(CBrevimarDoc& doc);
    void Stop();
    bool Recording() const { return Active; }

    // The batch's own code, or the user, writes between Begin and End; a
    // pair inside another hands its writes to the inner kind.
    void Begin(CBrevimarDoc& doc, BatchWriteKind kind);
    void End(CBrevimarDoc& doc);

    // Every value that still holds what the batch wrote last takes the value
    // before the batch (the searched ones only when `searched`); TakeAgain
    // gives them the batch's values back. With the searched ones, a force's
    // squad count, squad sizes and total go back as one: where its squad
    // count went back, its squads are fitted to its total as a scenario
    // file's are; where only sizes or the total went back, the total becomes
    // the sum of its squads' sizes.
    void PutBack(CBrevimarDoc& doc, bool searched);
    void TakeAgain(CBrevimarDoc& doc);

    // The values in [first, first + bytes) are the user's as a whole now (a
    // file read them), whatever they equal.
    void MarkUserValues(CBrevimarDoc& doc, const void* first, std::size_t bytes);

private:
    // One recorded scenario field: where it lies in the document and in the
    // byte images, the index of its first value, its values' size and count,
    // and the side (0 RED, 1 BLUE) whose squad count, squad sizes or total it
    // is, -1 for any other.
    struct Field {
        std::size_t At, Image, Value, Size, Count;
        int Force;
    };
    // A force's squad count, squad sizes and total.
    struct ForceShape {
        int NumSquads, Sizes[SquadSlots], NumAgents;
    };
    // Recorded fields that lie close together in the document: most writes
    // leave a whole block as it was, and one comparison says so.
    struct Block {
        std::size_t At, Image, Bytes, First, End;
    };
    void Compare(CBrevimarDoc& doc, BatchWriteKind kind);

    bool Active = false;
    static constexpr int MaxDepth = 8;
    BatchWriteKind Kinds[MaxDepth] = {};
    int Depth = 0;
    std::vector<Field> Fields;  // in document order
    std::vector<Block> Blocks;
    // Byte images of the blocks, in document order.
    std::vector<unsigned char> Kept;     // the value to go back to
    std::vector<unsigned char> Written;  // what the batch wrote last
    std::vector<unsigned char> Before;   // as the open write found it
    std::vector<unsigned char> Marks;    // per value: whether and how the batch wrote it
    // Per side, the fields of its squad count and of its total.
    std::size_t SquadCountField[2] = {}, TotalField[2] = {};
    // Each force's shape as it stood before PutBack fitted it together.
    ForceShape ShapeTaken[2] = {};
    bool Reshaped[2] = {};
};

// Each scenario field a record holds: its first value's bytes, the size of
// its values and their count.
void EachRecordedField(CBrevimarDoc& doc,
                       const std::function<void(unsigned char* first, std::size_t size, std::size_t count)>& each);

// The batch's own writes for the life of the scope.
class BatchWriteScope {
public:
    BatchWriteScope(CBrevimarDoc& doc, BatchWriteKind kind);
    ~BatchWriteScope();
    BatchWriteScope(const BatchWriteScope&) = delete;
    BatchWriteScope& operator=(const BatchWriteScope&) = delete;

private:
    CBrevimarDoc& Doc;
};

// What the user stores for the life of the scope: each value it changes is
// the user's.
class UserWriteScope : public BatchWriteScope {
public:
    explicit UserWriteScope(CBrevimarDoc& doc) : BatchWriteScope(doc, BatchWriteKind::User) {}
};

// A file saved while a GA or a landscape stands holds the scenario's own
// values for what the batch does not search: they stand in the document for
// the life of the scope, the batch's values after it.
class ScenarioValuesInPlace {
public:
    explicit ScenarioValuesInPlace(CBrevimarDoc& doc);
    ~ScenarioValuesInPlace();
    ScenarioValuesInPlace(const ScenarioValuesInPlace&) = delete;
    ScenarioValuesInPlace& operator=(const ScenarioValuesInPlace&) = delete;

private:
    CBrevimarDoc& Doc;
    bool Placed;
};

}  // namespace brevimar
