#include "files/ScenarioWriter.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <locale>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "core/Document.h"
#include "core/StoredValues.h"
#include "files/ScenarioFormat.h"

namespace brevimar {

namespace {

// Lines after the first begin with a line feed, so the file ends without one.
class ScenarioText {
public:
    explicit ScenarioText(std::ostream& out) : Out(out) {}

    std::ostream& Line(const char* text)
    {
        if (!First)
            Out << '\n';
        First = false;
        return Out << text;
    }
    // A keyword's label with its padding; '#' stands for the number.
    std::ostream& Label(const char* label, int number)
    {
        Line("");
        for (const char* c = label; *c; ++c) {
            if (*c == '#')
                Out << number;
            else
                Out << *c;
        }
        return Out;
    }

private:
    std::ostream& Out;
    bool First = true;
};

// What differs between the version-4 file and the best chromosome's.
struct Layout {
    int Version = ScenarioDataVersion;
    const CGaDecoded* Best = nullptr;  // RED's evolved values, when given
};

// The lines of one section; `number` is the commander's, block's or cell's.
void WriteLines(ScenarioSection section, ScenarioBlocks& blocks, Side side, int number, ScenarioText& text)
{
    const int version = blocks.DataVersion;
    for (const ScenarioLine& line : SectionLines(section)) {
        if (line.Kind == ScenarioLineKind::Text) {
            text.Line(line.Text(side));
            continue;
        }
        // Groups recognised by their label are written in every version.
        if (!line.CarriedBy(version) && line.Missing != WhenAbsent::KeepUnlabelled)
            continue;
        std::ostream& out = text.Label(line.Label(side, version), number);
        const bool zeros = version == 1 && line.ZeroInVersion1;
        const char* separator = "";
        for (int k = 0; k < line.Values[0].Count; ++k)
            for (const ScenarioField& field : line.Values) {
                if (!field.Used())
                    continue;
                out << separator;
                separator = " ";
                if (zeros)
                    out << 0;
                else if (field.Type == ScenarioValueType::Int)
                    out << *ScenarioValue<int>(blocks, field, side, number, k);
                else if (field.Type == ScenarioValueType::Float)
                    out << *ScenarioValue<float>(blocks, field, side, number, k);
                else
                    out << *ScenarioValue<double>(blocks, field, side, number, k);
            }
    }
}

void WriteGlobal(ScenarioBlocks& blocks, Side side, ScenarioText& text)
{
    WriteLines(ScenarioSection::GlobalFlag, blocks, side, 0, text);
    if (blocks.Global[side == Side::Red ? 0 : 1]->GlobalCommandOn == 1)
        WriteLines(ScenarioSection::Global, blocks, side, 0, text);
}

void WriteLocal(ScenarioBlocks& blocks, Side side, ScenarioText& text)
{
    const CLocalCommand& l = *blocks.Local[side == Side::Red ? 0 : 1];
    WriteLines(ScenarioSection::LocalFlag, blocks, side, 0, text);
    if (l.LocalCommandOn != 1)
        return;
    WriteLines(ScenarioSection::Local, blocks, side, 0, text);
    // The per-commander arrays hold commanders 1..10.
    const int commanders = std::min(l.NumLocalCommanders, MaxCommanders);
    for (int c = 1; c <= commanders; ++c)
        WriteLines(ScenarioSection::Commander, blocks, side, c, text);
}

void WriteCommand(ScenarioBlocks& blocks, ScenarioText& text)
{
    for (Side side : {Side::Red, Side::Blue})
        WriteGlobal(blocks, side, text);
    for (Side side : {Side::Red, Side::Blue})
        WriteLocal(blocks, side, text);
}

// The file has no place for a block's use tick, and a read lays every block
// it holds: a block kept in the list but not laid stays out of the file, and
// those laid follow one another in the order they are laid. Null when every
// block of the list is laid, and the list is written as it stands.
std::unique_ptr<CBattlefield> LaidBlocksOnly(const CBattlefield& b)
{
    const int count = std::clamp(b.terrain_blocks, 0, MaxTerrainBlocks);
    const int* used = b.TerrainBlockUsed + 1;
    if (std::all_of(used, used + count, [](int flag) { return flag == 1; }))
        return nullptr;
    auto laid = std::make_unique<CBattlefield>(b);
    int n = 0;
    for (int k = 1; k <= count; ++k) {
        if (b.TerrainBlockUsed[k] != 1)
            continue;
        ++n;
        laid->TerrainBlockType[n] = b.TerrainBlockType[k];
        laid->TerrainBlockLength[n] = b.TerrainBlockLength[k];
        laid->TerrainBlockWidth[n] = b.TerrainBlockWidth[k];
        laid->TerrainBlockX[n] = b.TerrainBlockX[k];
        laid->TerrainBlockY[n] = b.TerrainBlockY[k];
        laid->TerrainBlockUsed[n] = 1;
    }
    laid->terrain_blocks = n;
    return laid;
}

void WriteTerrain(ScenarioBlocks& blocks, ScenarioText& text)
{
    const CBattlefield& b = *blocks.Battlefield;
    WriteLines(ScenarioSection::TerrainBanner, blocks, Side::Red, 0, text);
    if (b.TerrainMode == 1) {
        const std::unique_ptr<CBattlefield> laid = LaidBlocksOnly(b);
        ScenarioBlocks written = blocks;
        if (laid)
            written.Battlefield = laid.get();
        WriteLines(ScenarioSection::TerrainBlockCount, written, Side::Red, 0, text);
        const int count = std::min(written.Battlefield->terrain_blocks, MaxTerrainBlocks);
        for (int k = 1; k <= count; ++k)
            WriteLines(ScenarioSection::TerrainBlock, written, Side::Red, k, text);
    } else if (b.TerrainMode == 2) {
        const int size = std::clamp(b.BattleSize, 1, MaxBattleSize);
        auto isTerrain = [&b](int x, int y) { return HoldsTerrain(b, GridIndex(x, y)); };
        blocks.CellCount = 0;
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y)
                blocks.CellCount += isTerrain(x, y);
        WriteLines(ScenarioSection::TerrainCellCount, blocks, Side::Red, 0, text);
        int k = 0;
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y) {
                if (!isTerrain(x, y))
                    continue;
                blocks.CellX = x;
                blocks.CellY = y;
                blocks.CellType = b.TerrainType[GridIndex(x, y)];
                WriteLines(ScenarioSection::TerrainCell, blocks, Side::Red, ++k, text);
            }
    }
}

// Whether the file written now holds frames of the capture after its
// scenario. They were recorded under that scenario, one agent line a frame
// for every slot, agents a right click took off included, so the scenario
// keeps those slots and RED's own rows. A file without frames (nothing
// recorded yet to write) holds the scenario a save without a capture
// writes.
bool FramesFollow(const CBrevimarDoc& doc) { return doc.CapturedFrames() > 0; }

void WriteCapture(const CBrevimarDoc& doc, ScenarioText& text)
{
    // Frames 0..T-1 of the run being captured, or of the run that ended, but
    // no more than the readers keep (they stop after the frame of step 350).
    const int frames = doc.CapturedFrames();
    const int counts[2] = {std::clamp(doc.RedForce.NumAgents, 0, MaxAgents),
                           std::clamp(doc.BlueForce.NumAgents, 0, MaxAgents)};
    for (int j = 0; j < frames; ++j) {
        text.Line("") << doc.CapturedStep[j];
        for (int side = 0; side < 2; ++side) {
            const int base = side == 0 ? RedCaptureState : BlueCaptureState;
            for (int i = 1; i <= counts[side]; ++i) {
                const int index = CaptureIndex(j, i);
                text.Line("") << doc.CaptureBuffer[base][index] << ' ' << doc.CaptureBuffer[base + 1][index]
                              << ' ' << doc.CaptureBuffer[base + 2][index];
            }
        }
    }
}

// The stream's default number format in the C locale, for the length of one
// file; the caller's settings come back afterwards.
class DefaultFormat {
public:
    explicit DefaultFormat(std::ostream& out)
        : Out(out), Locale(out.imbue(std::locale::classic())), Flags(out.flags()), Precision(out.precision()),
          Width(out.width()), Fill(out.fill())
    {
        out.flags(std::ios::dec | std::ios::skipws);
        out.precision(6);
        out.width(0);
        out.fill(' ');
    }
    ~DefaultFormat()
    {
        Out.imbue(Locale);
        Out.flags(Flags);
        Out.precision(Precision);
        Out.width(Width);
        Out.fill(Fill);
    }

private:
    std::ostream& Out;
    std::locale Locale;
    std::ios::fmtflags Flags;
    std::streamsize Precision;
    std::streamsize Width;
    char Fill;
};

template <typename T>
void CopyRow(T (&to)[SquadSlots], const T (&from)[SquadSlots])
{
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

// The twelve rows a shown best chromosome decides in every scenario file.
void TakeBestRows(CForce& f, const CGaDecoded& r)
{
    CopyRow(f.A_S_RANGE, r.A_S_RANGE), CopyRow(f.I_S_RANGE, r.I_S_RANGE);
    CopyRow(f.A_F_RANGE, r.A_F_RANGE), CopyRow(f.I_F_RANGE, r.I_F_RANGE);
    CopyRow(f.A_C_RANGE, r.A_C_RANGE), CopyRow(f.I_C_RANGE, r.I_C_RANGE);
    CopyRow(f.A_ADVANCE_num, r.A_ADVANCE_num), CopyRow(f.I_ADVANCE_num, r.I_ADVANCE_num);
    CopyRow(f.A_CLUSTER_num, r.A_CLUSTER_num), CopyRow(f.I_CLUSTER_num, r.I_CLUSTER_num);
    CopyRow(f.A_COMBAT_num, r.A_COMBAT_num), CopyRow(f.I_COMBAT_num, r.I_COMBAT_num);
}

// Every RED agent value the best chromosome's file takes from the decoding;
// the local-commander weights are not searched and stay the document's.
void TakeEvolvedValues(CForce& f, const CGaDecoded& r)
{
    TakeBestRows(f, r);
    f.NumAgents = r.NumRed;
    f.NumSquads = r.NumSquads;
    CopyRow(f.num_per_squad, r.num_per_squad);
    CopyRow(f.A_M_RANGE, r.A_M_RANGE), CopyRow(f.I_M_RANGE, r.I_M_RANGE);
    float(*alive[])[SquadSlots] = {&f.w1_a, &f.w2_a, &f.w3_a, &f.w4_a, &f.w5_a, &f.w6_a};
    float(*injured[])[SquadSlots] = {&f.w1_i, &f.w2_i, &f.w3_i, &f.w4_i, &f.w5_i, &f.w6_i};
    for (int w = W1; w <= W6; ++w) {
        CopyRow(*alive[w - W1], r.Weight[0][w]);
        CopyRow(*injured[w - W1], r.Weight[1][w]);
    }
    CopyRow(f.alive_strength, r.alive_strength), CopyRow(f.injured_strength, r.injured_strength);
    f.COMM_range = r.COMM_range;
    f.A_COMM_weight = r.A_COMM_weight;
    f.I_COMM_weight = r.I_COMM_weight;
    CopyRow(f.A_R_R_min_dist, r.A_R_R_min_dist), CopyRow(f.I_R_R_min_dist, r.I_R_R_min_dist);
    CopyRow(f.A_R_B_min_dist, r.A_R_B_min_dist), CopyRow(f.I_R_B_min_dist, r.I_R_B_min_dist);
    CopyRow(f.A_R_R_goal_min, r.A_R_R_goal_min), CopyRow(f.I_R_R_goal_min, r.I_R_R_goal_min);
    CopyRow(f.shot_prob_alive, r.shot_prob_alive), CopyRow(f.shot_prob_injured, r.shot_prob_injured);
    CopyRow(f.A_R_max_eng_num, r.A_R_max_eng_num), CopyRow(f.I_R_max_eng_num, r.I_R_max_eng_num);
}

void WriteWhole(const CBrevimarDoc& doc, const Layout& layout, std::ostream& out)
{
    DefaultFormat format(out);
    ScenarioText text(out);
    // RED's values from copies when the genetic algorithm decides some of them.
    std::unique_ptr<CForce> red;
    std::unique_ptr<CBattlefield> field;
    if (const CGaDecoded* best = layout.Best) {
        red = std::make_unique<CForce>(doc.RedForce);
        TakeEvolvedValues(*red, *best);
        red->recon_time = best->recon_time;
        field = std::make_unique<CBattlefield>(doc.Battlefield);
        CopyRow(field->R_box_l, best->R_box_l), CopyRow(field->R_box_w, best->R_box_w);
        CopyRow(field->RED_cen_x, best->RED_cen_x), CopyRow(field->RED_cen_y, best->RED_cen_y);
        field->red_frat_rad = best->red_frat_rad;
    } else if (doc.Ga.GaBestShown != 0 && !FramesFollow(doc)) {
        // A RUN file holds the scenario its frames were fought under, and no
        // battle is fought with the best chromosome's rows: the interactive
        // run takes the scenario's own values back when the GA is left.
        red = std::make_unique<CForce>(doc.RedForce);
        TakeBestRows(*red, doc.Ga.GaBestDecoded);
    }
    // Agents a right click took off are no longer part of the scenario, but
    // frames that follow are written slot by slot. The best chromosome's
    // RED has the sizes it decodes to.
    std::unique_ptr<CForce> blue;
    if (!FramesFollow(doc))
        for (std::unique_ptr<CForce>* copy : {&red, &blue}) {
            if (copy == &red && layout.Best)
                continue;
            const CForce& own = copy == &red ? static_cast<const CForce&>(doc.RedForce) : doc.BlueForce;
            const CForce& from = *copy ? **copy : own;
            if (from.HandRemovedCount() == 0)
                continue;
            auto edited = std::make_unique<CForce>(from);
            edited->DropHandRemoved();
            *copy = std::move(edited);
        }
    // The walk only reads through the blocks.
    CBrevimarDoc& blocksOf = const_cast<CBrevimarDoc&>(doc);
    ScenarioBlocks blocks = BlocksOf(blocksOf);
    if (field)
        blocks.Battlefield = field.get();
    if (red)
        blocks.Force[0] = red.get();
    if (blue)
        blocks.Force[1] = blue.get();
    blocks.DataVersion = layout.Version;

    WriteLines(ScenarioSection::General, blocks, Side::Red, 0, text);
    WriteLines(ScenarioSection::Statistics, blocks, Side::Red, 0, text);
    WriteCommand(blocks, text);
    for (Side side : {Side::Red, Side::Blue})
        WriteLines(ScenarioSection::Agents, blocks, side, 0, text);
    WriteTerrain(blocks, text);
    WriteCapture(doc, text);
}

}  // namespace

void WriteScenario(const CBrevimarDoc& doc, std::ostream& out)
{
    WriteWhole(doc, Layout{}, out);
}

void WriteChromosomeScenario(const CBrevimarDoc& doc, const CGaDecoded& best, std::ostream& out)
{
    WriteWhole(doc, Layout{1, &best}, out);
}

FileCommandResult WriteChromosomeInputDataFile(CBrevimarDoc& doc)
{
    return RunFileCommand(doc, FileCommand::BestScenarioWrite, [&doc](std::iostream& stream, const ChosenFile&) {
        const ScenarioValuesInPlace own(doc);
        WriteChromosomeScenario(doc, doc.Ga.GaBestDecoded, stream);
    });
}

FileCommandResult WriteInputDataFile(CBrevimarDoc& doc, FileCommand command)
{
    const FileCommandResult result = RunFileCommand(doc, command, [&doc](std::iostream& stream, const ChosenFile&) {
        const ScenarioValuesInPlace own(doc);
        WriteScenario(doc, stream);
    });
    if (result == FileCommandResult::Done)
        doc.Statistics.AllStatisticsOn = 0;
    return result;
}

bool CBrevimarDoc::OfferCapturedFrames(CaptureAfterOffer after)
{
    const int frames = CapturedFrames();
    if (frames > 0) {
        Pause();
        const std::string question =
            std::string(after == CaptureAfterOffer::Ends ? "The RUN capture ends here"
                                                         : "The RUN capture starts again with the new battle") +
            ", and the " + std::to_string(frames) + (frames == 1 ? " frame it holds has" : " frames it holds have") +
            " not been written.\nWrite them to a RUN file now?";
        // Written while the capture is still on, so the frames follow the scenario.
        // Asked for and not written, they are kept, as Stop RUN Capture keeps them.
        if (host().MessageBox(question, "Brevimar", MB_YESNO | MB_ICONQUESTION) == IDYES &&
            WriteInputDataFile(*this) != FileCommandResult::Done)
            return false;
    }
    if (after == CaptureAfterOffer::Ends)
        RunCaptureOn = 0;
    return true;
}

namespace {

// The lines of the general section that are RED's: their labels name RED.
bool NamesRed(const ScenarioLine& line)
{
    const std::string_view label = line.Label(Side::Red, ScenarioDataVersion);
    return label.starts_with("R_") || label.starts_with("RED_") || label.starts_with("red_");
}

const unsigned char* FirstByte(ScenarioBlocks& blocks, const ScenarioField& field, int number)
{
    switch (field.Type) {
    case ScenarioValueType::Int:
        return reinterpret_cast<const unsigned char*>(ScenarioValue<int>(blocks, field, Side::Red, number, 0));
    case ScenarioValueType::Float:
        return reinterpret_cast<const unsigned char*>(ScenarioValue<float>(blocks, field, Side::Red, number, 0));
    case ScenarioValueType::Double:
        break;
    }
    return reinterpret_cast<const unsigned char*>(ScenarioValue<double>(blocks, field, Side::Red, number, 0));
}

std::size_t ValueSize(ScenarioValueType type) { return type == ScenarioValueType::Double ? sizeof(double) : 4; }

// How far RED's command sections reach in a save.
struct RedCommandReach {
    bool Global = false;
    bool Local = false;
    int Commanders = 0;
};

RedCommandReach ReachOf(const ScenarioBlocks& blocks)
{
    const CLocalCommand& local = *blocks.Local[0];
    return {blocks.Global[0]->GlobalCommandOn == 1, local.LocalCommandOn == 1,
            std::clamp(local.NumLocalCommanders, 0, MaxCommanders)};
}

// Each run of RED's values that a save writes, in the order it writes them
// (a pair row's two members one after the other): the general lines that
// name RED, RED's command sections as far as `reach` goes and RED's agent
// section; then RED's agents as an agent file placed them.
// `each(type, first byte, count)`.
template <typename Each>
void EachRedValueRun(ScenarioBlocks& blocks, const RedCommandReach& reach, Each&& each)
{
    const int version = blocks.DataVersion;
    auto section = [&](ScenarioSection lines, int number, bool onlyRed) {
        for (const ScenarioLine& line : SectionLines(lines)) {
            if (line.Kind != ScenarioLineKind::Values || (onlyRed && !NamesRed(line)))
                continue;
            if (!line.CarriedBy(version) && line.Missing != WhenAbsent::KeepUnlabelled)
                continue;
            for (const ScenarioField& field : line.Values)
                if (field.Used())
                    each(field.Type, FirstByte(blocks, field, number), line.Values[0].Count);
        }
    };
    section(ScenarioSection::General, 0, true);
    section(ScenarioSection::GlobalFlag, 0, false);
    if (reach.Global)
        section(ScenarioSection::Global, 0, false);
    section(ScenarioSection::LocalFlag, 0, false);
    if (reach.Local) {
        section(ScenarioSection::Local, 0, false);
        for (int c = 1; c <= reach.Commanders; ++c)
            section(ScenarioSection::Commander, c, false);
    }
    section(ScenarioSection::Agents, 0, false);
    const CForce& red = *blocks.Force[0];
    for (const auto* stored : {&red.StoredAgentState, &red.StoredAgentSquad, &red.StoredAgentX, &red.StoredAgentY})
        each(ScenarioValueType::Int, reinterpret_cast<const unsigned char*>(stored), AgentSlots);
}

// Where RED's values lie in a document, as spans of bytes that hold every
// value RED's walk reaches with every command section on and every
// commander in it, and only a few bytes more (what lies in the small gaps
// between them). The layout is the document type's, so one serves all.
struct RedValueLayout {
    struct Span {
        std::size_t At, Bytes, Image;  // in the document; its bytes; in the image
    };
    std::vector<Span> Spans;  // in document order
    std::size_t Bytes = 0;    // of the image
};

const unsigned char* StateBytes(const CDocumentState& state) { return reinterpret_cast<const unsigned char*>(&state); }

const RedValueLayout& LayoutOfRedValues(CBrevimarDoc& doc)
{
    static const RedValueLayout layout = [&doc] {
        constexpr std::size_t widestGap = 64;
        CDocumentState& state = doc;
        ScenarioBlocks blocks = BlocksOf(state);
        std::vector<RedValueLayout::Span> runs;
        EachRedValueRun(blocks, {true, true, MaxCommanders},
                        [&](ScenarioValueType type, const unsigned char* first, int count) {
                            runs.push_back({static_cast<std::size_t>(first - StateBytes(state)),
                                            ValueSize(type) * static_cast<std::size_t>(count), 0});
                        });
        std::sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.At < b.At; });
        RedValueLayout made;
        for (const auto& run : runs) {
            if (!made.Spans.empty() && run.At <= made.Spans.back().At + made.Spans.back().Bytes + widestGap) {
                auto& span = made.Spans.back();
                span.Bytes = std::max(span.Bytes, run.At + run.Bytes - span.At);
            } else {
                made.Spans.push_back({run.At, run.Bytes, 0});
            }
        }
        for (auto& span : made.Spans) {
            span.Image = made.Bytes;
            made.Bytes += span.Bytes;
        }
        return made;
    }();
    return layout;
}

// The text a save gives one floating-point value.
std::string SavedText(ScenarioValueType type, const unsigned char* value)
{
    std::ostringstream out;
    const DefaultFormat format(out);
    if (type == ScenarioValueType::Float) {
        float f;
        std::memcpy(&f, value, sizeof f);
        out << f;
    } else {
        double d;
        std::memcpy(&d, value, sizeof d);
        out << d;
    }
    return out.str();
}

// RED's squad sizes as a save without frames writes them, without the
// agents a right click took off, for as long as it stands: a removal
// changes what such a save writes, and a restart that takes the removals
// into the sizes does not. Only such a save writes the best chromosome's
// rows, so the mark is of it also while frames are captured.
class RedRemovalsDropped {
public:
    explicit RedRemovalsDropped(CBrevimarDoc& doc)
        : Force(doc.RedForce), Kept(Force), Dropped(Force.HandRemovedCount() != 0)
    {
        if (Dropped)
            Force.DropHandRemoved();
    }
    ~RedRemovalsDropped()
    {
        if (Dropped)
            Kept.PutBack(Force);
    }
    RedRemovalsDropped(const RedRemovalsDropped&) = delete;
    RedRemovalsDropped& operator=(const RedRemovalsDropped&) = delete;

private:
    struct Sizes {
        explicit Sizes(const CForce& f) : Agents(f.NumAgents), HandPlaced(f.HandPlaced)
        {
            std::copy(std::begin(f.num_per_squad), std::end(f.num_per_squad), PerSquad);
            std::copy(std::begin(f.HandRemoved), std::end(f.HandRemoved), Removed);
        }
        void PutBack(CForce& f) const
        {
            f.NumAgents = Agents;
            f.HandPlaced = HandPlaced;
            std::copy(std::begin(PerSquad), std::end(PerSquad), f.num_per_squad);
            std::copy(std::begin(Removed), std::end(Removed), f.HandRemoved);
        }
        int Agents, HandPlaced;
        int PerSquad[SquadSlots], Removed[SquadSlots];
    };
    CForce& Force;
    const Sizes Kept;
    const bool Dropped;
};

}  // namespace

// RED's values as a save writes them: the scenario's own in place of what a
// GA or a landscape still holds, and none of the best chromosome's rows.
// They are kept as the bytes they are stored in; a floating-point value whose
// bytes changed still counts as the same when a save writes it as before (a
// dialog that shows fewer digits than a value holds reads it back a little
// different).
RedEditScope::RedEditScope(CBrevimarDoc& doc) : Doc(doc)
{
    if (doc.Ga.GaBestShown == 0)
        return;
    const RedValueLayout& layout = LayoutOfRedValues(doc);
    const ScenarioValuesInPlace own(doc);
    const RedRemovalsDropped saved(doc);
    Before.reserve(layout.Bytes);
    const unsigned char* const base = StateBytes(doc);
    for (const auto& span : layout.Spans)
        Before.insert(Before.end(), base + span.At, base + span.At + span.Bytes);
    Recorded = true;
}

bool RedEditScope::RedValuesChanged()
{
    const RedValueLayout& layout = LayoutOfRedValues(Doc);
    const ScenarioValuesInPlace own(Doc);
    const RedRemovalsDropped saved(Doc);
    const unsigned char* const base = StateBytes(Doc);
    bool same = true;
    for (const auto& span : layout.Spans)
        same = same && std::memcmp(&Before[span.Image], base + span.At, span.Bytes) == 0;
    if (same)
        return false;
    // Something in the spans changed: value by value, in the order a save
    // writes them, as far as RED's switches and commander count reach now.
    // A switch or a count that changed is a value that differs, met before
    // anything it decides.
    ScenarioBlocks blocks = BlocksOf(Doc);
    bool changed = false;
    EachRedValueRun(blocks, ReachOf(blocks), [&](ScenarioValueType type, const unsigned char* first, int count) {
        if (changed)
            return;
        const std::size_t at = static_cast<std::size_t>(first - base);
        const auto span = std::prev(std::upper_bound(layout.Spans.begin(), layout.Spans.end(), at,
                                                     [](std::size_t a, const auto& s) { return a < s.At; }));
        const std::size_t size = ValueSize(type), bytes = size * static_cast<std::size_t>(count);
        if (at < span->At || at + bytes > span->At + span->Bytes) {
            changed = true;  // no value of the layout's: cannot be one as it was
            return;
        }
        const unsigned char* was = &Before[span->Image + (at - span->At)];
        if (std::memcmp(first, was, bytes) == 0)
            return;
        for (std::size_t k = 0; k < bytes && !changed; k += size)
            if (std::memcmp(first + k, was + k, size) != 0)
                changed = type == ScenarioValueType::Int || SavedText(type, first + k) != SavedText(type, was + k);
    });
    return changed;
}

RedEditScope::~RedEditScope()
{
    if (Recorded && Doc.Ga.GaBestShown != 0 && RedValuesChanged())
        Doc.Ga.GaBestShown = 0;
}

bool OfferCapturedFramesBefore(CBrevimarDoc& doc, const CStoredValues& before)
{
    if (doc.CapturedFrames() < 1)
        return true;
    const CStoredValues after(doc);
    before.PutBack(doc);
    if (!doc.OfferCapturedFrames())
        return false;
    after.PutBack(doc);
    return true;
}

}  // namespace brevimar
