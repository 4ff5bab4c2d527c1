#include "core/BatchWrites.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/Document.h"

namespace brevimar {

namespace {

enum Mark : unsigned char {
    Changed = 1,   // the batch wrote a value of its own here
    Searched = 2,  // ... and a member or grid point tried it
    PutBackNow = 4,
};

// One scenario field as a run of values of one size.
template <typename Visit, typename T>
void Field(Visit& visit, T& field)
{
    using Value = std::remove_all_extents_t<T>;
    static_assert(std::is_arithmetic_v<Value>);
    visit(reinterpret_cast<unsigned char*>(&field), sizeof(Value), sizeof(T) / sizeof(Value));
}

template <typename Visit, typename... T>
void Fields(Visit& visit, T&... fields)
{
    (Field(visit, fields), ...);
}

// The scenario values a batch writes, directly or through the force set-up
// of its runs: the squad tables and side-wide values of both forces, their
// deployment boxes and fratricide values, the local-command weights random
// personalities draw, and the links switch. A force's squad count, squad
// sizes and total are CBatchForce's.
template <typename Visit>
void WalkFields(CBrevimarDoc& doc, Visit&& visit)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        Fields(visit, f.A_S_RANGE, f.A_F_RANGE, f.I_S_RANGE, f.I_F_RANGE, f.shot_prob_alive, f.shot_prob_injured,
               f.w1_a, f.w2_a, f.w3_a, f.w4_a, f.w5_a, f.w6_a, f.w1_i, f.w2_i, f.w3_i, f.w4_i, f.w5_i, f.w6_i,
               f.w_terrain_alive, f.w_terrain_injured, f.A_ADVANCE_num, f.I_ADVANCE_num, f.A_C_RANGE, f.I_C_RANGE,
               f.A_CLUSTER_num, f.I_CLUSTER_num, f.A_COMBAT_num, f.I_COMBAT_num, f.A_HOLD_f, f.I_HOLD_f,
               f.A_PURSUIT1_num, f.I_PURSUIT1_num, f.A_PURSUIT2_num, f.I_PURSUIT2_num, f.A_RETREAT_num, f.I_RETREAT_num,
               f.A_SUPPORT1_num, f.I_SUPPORT1_num, f.A_SUPPORT2_num, f.I_SUPPORT2_num, f.ADVANCE_flag, f.CLUSTER_flag,
               f.COMBAT_flag, f.HOLD_flag, f.PURSUIT1_flag, f.PURSUIT2_flag, f.RETREAT_flag, f.SUPPORT1_flag,
               f.SUPPORT2_flag, f.R_R_min_dist_flag_flag, f.R_B_min_dist_flag_flag, f.R_R_goal_min_flag,
               f.R_terrain_min_flag, f.A_R_R_min_dist, f.I_R_R_min_dist, f.A_R_R_goal_min, f.I_R_R_goal_min,
               f.A_R_B_min_dist, f.I_R_B_min_dist, f.A_R_terrain_min, f.I_R_terrain_min, f.A_M_RANGE, f.I_M_RANGE,
               f.A_R_max_eng_num, f.I_R_max_eng_num, f.COMM_range, f.A_COMM_weight, f.I_COMM_weight, f.CommMatrix,
               f.recon_time, f.alive_strength, f.injured_strength, f.w_area_alive, f.w_area_injured, f.A_R_area_min,
               f.I_R_area_min, f.R_area_min_flag, f.w_flock_alive, f.w_flock_injured, f.A_R_flock_min, f.I_R_flock_min,
               f.A_R_flock_max, f.I_R_flock_max, f.SquadWeightMatrix);
        Fields(visit, doc.Local(side).w7, doc.Local(side).w8);
    }
    CBattlefield& b = doc.Battlefield;
    Fields(visit, b.R_box_l, b.R_box_w, b.RED_cen_x, b.RED_cen_y, b.B_box_l, b.B_box_w, b.BLUE_cen_x, b.BLUE_cen_y,
           b.red_frat_rad, b.blue_frat_rad, b.red_frat_prob, b.blue_frat_prob);
    Fields(visit, doc.CommMatricesSet);
}

// Whether the `size` bytes at a and b are alike. The recorded values are 4
// or 8 bytes wide: those are compared without a call.
bool Same(const unsigned char* a, const unsigned char* b, std::size_t size)
{
    if (size == 4) {
        std::uint32_t x, y;
        std::memcpy(&x, a, 4);
        std::memcpy(&y, b, 4);
        return x == y;
    }
    if (size == 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        return x == y;
    }
    return std::memcmp(a, b, size) == 0;
}

unsigned char* Bytes(CBrevimarDoc& doc) { return reinterpret_cast<unsigned char*>(&doc); }

Side SideOf(int index) { return index == 0 ? Side::Red : Side::Blue; }

// Every value of the recorded fields: its field, its place in the document,
// its offset in the byte images and its index.
template <typename Fields, typename Each>
void EachValue(CBrevimarDoc& doc, const Fields& fields, Each&& each)
{
    unsigned char* const base = Bytes(doc);
    for (const auto& field : fields)
        for (std::size_t k = 0; k < field.Count; ++k)
            each(field, base + field.At + k * field.Size, field.Image + k * field.Size, field.Value + k);
}

// Each value whose mark holds one of `bits`, as EachValue gives it. The
// marks are looked at eight at a time: a save or a check made while a
// batch stands puts back and takes again the few values the batch wrote,
// without a call for each of the others.
template <typename Fields, typename Each>
void EachMarkedValue(CBrevimarDoc& doc, const Fields& fields, const std::vector<unsigned char>& marks,
                     unsigned char bits, Each&& each)
{
    unsigned char* const base = Bytes(doc);
    const unsigned char* const mark = marks.data();
    std::size_t f = 0;
    auto visit = [&](std::size_t index) {
        while (fields[f].Value + fields[f].Count <= index)
            ++f;
        const auto& field = fields[f];
        const std::size_t k = index - field.Value;
        each(field, base + field.At + k * field.Size, field.Image + k * field.Size, index);
    };
    const std::uint64_t any = 0x0101010101010101ULL * bits;
    const std::size_t n = marks.size(), whole = n - n % 8;
    for (std::size_t word = 0; word < whole; word += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, mark + word, 8);
        if ((eight & any) != 0)
            for (std::size_t index = word; index < word + 8; ++index)
                if ((mark[index] & bits) != 0)
                    visit(index);
    }
    for (std::size_t index = whole; index < n; ++index)
        if ((mark[index] & bits) != 0)
            visit(index);
}

}  // namespace

// The field list is walked once: each later pass goes over the table it
// leaves, in document order, so that neighbouring fields form one block. A
// block spans the few unrecorded values between its fields (a squad table's
// neighbours, mostly set once), which its images hold too: fewer, longer
// blocks are compared faster.
void CBatchWrites::Start(CBrevimarDoc& doc)
{
    constexpr std::size_t widestGap = 256;
    const unsigned char* const base = Bytes(doc);
    Fields.clear();
    WalkFields(doc, [&](unsigned char* first, std::size_t size, std::size_t count) {
        Fields.push_back({static_cast<std::size_t>(first - base), 0, 0, size, count});
    });
    std::sort(Fields.begin(), Fields.end(), [](const Field& a, const Field& b) { return a.At < b.At; });
    Blocks.clear();
    std::size_t bytes = 0, values = 0;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        Field& field = Fields[i];
        const std::size_t size = field.Size * field.Count;
        if (!Blocks.empty() && field.At - (Blocks.back().At + Blocks.back().Bytes) <= widestGap) {
            Blocks.back().Bytes = field.At + size - Blocks.back().At;
            Blocks.back().End = i + 1;
        } else {
            Blocks.push_back({field.At, bytes, size, i, i + 1});
        }
        field.Image = Blocks.back().Image + (field.At - Blocks.back().At);
        field.Value = values;
        bytes = Blocks.back().Image + Blocks.back().Bytes;
        values += field.Count;
    }
    for (int side = 0; side < 2; ++side)
        Forces[side].Start(doc.Force(SideOf(side)));
    Reshaped = false;
    Kept.assign(bytes, 0);
    Written.assign(bytes, 0);
    Before.assign(bytes, 0);
    Marks.assign(values, 0);
    Depth = 0;
    Active = true;
}

void CBatchWrites::Stop()
{
    Active = false;
    Depth = 0;
}

// What changed since Before is the batch's, of `kind`, or the user's;
// Before follows the document, and so does each force's rule. A value that
// no longer held what the batch wrote last was set by the user meanwhile:
// that value is the one to go back to.
void CBatchWrites::Compare(CBrevimarDoc& doc, BatchWriteKind kind)
{
    unsigned char* const base = Bytes(doc);
    const bool user = kind == BatchWriteKind::User || kind == BatchWriteKind::HandPlaced;
    for (int side = 0; side < 2; ++side)
        Forces[side].Closed(doc.Force(SideOf(side)), user, kind == BatchWriteKind::HandPlaced);
    for (const Block& block : Blocks) {
        if (std::memcmp(base + block.At, &Before[block.Image], block.Bytes) == 0)
            continue;
        for (std::size_t f = block.First; f < block.End; ++f) {
            const Field& field = Fields[f];
            const unsigned char* live = base + field.At;
            if (std::memcmp(live, &Before[field.Image], field.Size * field.Count) == 0)
                continue;
            for (std::size_t k = 0, at = field.Image; k < field.Count; ++k, live += field.Size, at += field.Size) {
                if (Same(live, &Before[at], field.Size))
                    continue;
                unsigned char& mark = Marks[field.Value + k];
                if (user) {
                    mark = 0;  // nothing of the batch's to put back
                    continue;
                }
                if (!(mark & Changed) || !Same(&Before[at], &Written[at], field.Size))
                    std::memcpy(&Kept[at], &Before[at], field.Size);
                std::memcpy(&Written[at], live, field.Size);
                mark |= Changed;
                if (kind == BatchWriteKind::Search)
                    mark |= Searched;
            }
        }
        // The whole block, what lies between its fields too.
        std::memcpy(&Before[block.Image], base + block.At, block.Bytes);
    }
}

void CBatchWrites::Begin(CBrevimarDoc& doc, BatchWriteKind kind)
{
    if (!Active)
        return;
    // A pair inside one of its own kind leaves the comparing to the outer.
    if (Depth > 0) {
        if (Kinds[std::min(Depth, MaxDepth) - 1] != kind)
            Compare(doc, Kinds[std::min(Depth, MaxDepth) - 1]);
    } else {
        for (const Block& block : Blocks)
            std::memcpy(&Before[block.Image], Bytes(doc) + block.At, block.Bytes);
        for (int side = 0; side < 2; ++side)
            Forces[side].Opened(doc.Force(SideOf(side)));
    }
    Kinds[std::min(Depth, MaxDepth - 1)] = kind;
    ++Depth;
}

void CBatchWrites::End(CBrevimarDoc& doc)
{
    if (!Active || Depth == 0)
        return;
    --Depth;
    const BatchWriteKind kind = Kinds[std::min(Depth, MaxDepth - 1)];
    if (Depth == 0 || Kinds[std::min(Depth, MaxDepth) - 1] != kind)
        Compare(doc, kind);
}

void CBatchWrites::PutBack(CBrevimarDoc& doc, bool searched)
{
    if (!Active)
        return;
    auto putBack = [&](const Field& field, unsigned char* live, std::size_t at, std::size_t index) {
        unsigned char& mark = Marks[index];
        if (!(mark & Changed) || (!searched && (mark & Searched)) || !Same(live, &Written[at], field.Size))
            return;
        std::memcpy(live, &Kept[at], field.Size);
        mark |= PutBackNow;
    };
    EachMarkedValue(doc, Fields, Marks, Changed, putBack);
    if (!searched)
        return;
    Reshaped = true;
    for (int side = 0; side < 2; ++side) {
        CForce& f = doc.Force(SideOf(side));
        Taken[side] = ForceShape::Of(f);
        Forces[side].Leave(f);
    }
}

void CBatchWrites::TakeAgain(CBrevimarDoc& doc)
{
    if (!Active)
        return;
    auto takeAgain = [&](const Field& field, unsigned char* live, std::size_t at, std::size_t index) {
        unsigned char& mark = Marks[index];
        if (!(mark & PutBackNow))
            return;
        std::memcpy(live, &Written[at], field.Size);
        mark &= static_cast<unsigned char>(~PutBackNow);
    };
    EachMarkedValue(doc, Fields, Marks, PutBackNow, takeAgain);
    if (Reshaped)
        for (int side = 0; side < 2; ++side)
            Taken[side].Into(doc.Force(SideOf(side)));
    Reshaped = false;
}

void CBatchWrites::SquadsMadeByBatch(Side side)
{
    if (Active)
        Forces[side == Side::Red ? 0 : 1].SquadsMadeByBatch();
}

void CBatchWrites::SquadCountOfBatch(Side side, int count)
{
    if (Active)
        Forces[side == Side::Red ? 0 : 1].SquadCountOfBatch(count);
}

void CBatchWrites::MarkUserValues(CBrevimarDoc& doc, const void* first, std::size_t bytes)
{
    if (!Active)
        return;
    const auto from = reinterpret_cast<std::uintptr_t>(first);
    EachValue(doc, Fields, [&](const Field&, unsigned char* live, std::size_t, std::size_t index) {
        const auto at = reinterpret_cast<std::uintptr_t>(live);
        if (at >= from && at - from < bytes)
            Marks[index] = 0;
    });
}

void EachRecordedField(CBrevimarDoc& doc,
                       const std::function<void(unsigned char* first, std::size_t size, std::size_t count)>& each)
{
    WalkFields(doc, each);
}

BatchWriteScope::BatchWriteScope(CBrevimarDoc& doc, BatchWriteKind kind) : Doc(doc)
{
    doc.BeginBatchWrites(kind);
}

BatchWriteScope::~BatchWriteScope()
{
    Doc.EndBatchWrites();
}

ScenarioValuesInPlace::ScenarioValuesInPlace(CBrevimarDoc& doc)
    : Doc(doc), Placed(doc.RunMode == GeneticAlgorithmMode || doc.RunMode == FitnessLandscapeMode)
{
    if (Placed)
        doc.PutScenarioValuesBack(false);
}

ScenarioValuesInPlace::~ScenarioValuesInPlace()
{
    if (Placed)
        Doc.TakeBatchValuesAgain();
}

}  // namespace brevimar
