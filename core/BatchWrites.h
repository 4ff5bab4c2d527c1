// What the genetic algorithm and the fitness landscape write into the
// scenario while one of them stands: the values every member and grid point
// tries, and what their own set-up needs in place (the switches a GA holds
// fixed, the links the communications search clears, the agents each run
// deploys from the squad tables). Each value the batch changed keeps the
// value it held before and the value the batch wrote last, so that leaving
// the batch puts back only what still holds the batch's value, and a user's
// edit made meanwhile stands. A value the user set while the batch stood and
// the batch then wrote over is the one to go back to: it is the user's
// newest. A force's make-up (squad count, squad sizes, total) is no value of
// the record's: CBatchForce decides it when the batch is left.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/BatchForce.h"
#include "core/Side.h"

namespace brevimar {

class CBrevimarDoc;

enum class BatchWriteKind {
    SetUp,   // held fixed or needed in place by the search
    Search,  // what a member or a grid point tries
    User,    // stored by a command of the user's (a dialog's OK, a menu
             // switch): the user's, even where it equals what the batch
             // wrote last
    HandPlaced,  // the user's right click: the user's as User's are, and an
                 // agent placed is one placed, not a squad size typed
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
    // gives them the batch's values back. With the searched ones the batch
    // is left: each force takes the make-up its CBatchForce gives, and
    // TakeAgain the make-up it had.
    void PutBack(CBrevimarDoc& doc, bool searched);
    void TakeAgain(CBrevimarDoc& doc);

    // The batch makes the side's squads (count, sizes and total) itself; or
    // it runs the side in `count` squads, its make where the scenario has
    // another count.
    void SquadsMadeByBatch(Side side);
    void SquadCountOfBatch(Side side, int count);

    // The values in [first, first + bytes) are the user's as a whole now (a
    // file read them), whatever they equal.
    void MarkUserValues(CBrevimarDoc& doc, const void* first, std::size_t bytes);

private:
    // One recorded scenario field: where it lies in the document and in the
    // byte images, the index of its first value, its values' size and count.
    struct Field {
        std::size_t At, Image, Value, Size, Count;
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
    // Per side (0 RED, 1 BLUE): the rule for its make-up, and the make-up
    // it had before leaving the batch gave it the rule's, for TakeAgain.
    CBatchForce Forces[2];
    ForceShape Taken[2];
    bool Reshaped = false;
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
