#include "files/ScenarioWriter.h"

#include <algorithm>
#include <iostream>
#include <locale>
#include <memory>
#include <sstream>
#include <string>

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

void WriteTerrain(ScenarioBlocks& blocks, ScenarioText& text)
{
    const CBattlefield& b = *blocks.Battlefield;
    WriteLines(ScenarioSection::TerrainBanner, blocks, Side::Red, 0, text);
    if (b.TerrainMode == 1) {
        WriteLines(ScenarioSection::TerrainBlockCount, blocks, Side::Red, 0, text);
        const int count = std::min(b.terrain_blocks, MaxTerrainBlocks);
        for (int k = 1; k <= count; ++k)
            WriteLines(ScenarioSection::TerrainBlock, blocks, Side::Red, k, text);
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
    } else if (doc.Ga.GaBestShown != 0 && doc.RunCaptureOn != 1) {
        // A RUN file holds the scenario its frames were fought under, and no
        // battle is fought with the best chromosome's rows: the interactive
        // run takes the scenario's own values back when the GA is left.
        red = std::make_unique<CForce>(doc.RedForce);
        TakeBestRows(*red, doc.Ga.GaBestDecoded);
    }
    // Agents a right click took off are no longer part of the scenario. A
    // capture keeps them: its frames are written slot by slot.
    std::unique_ptr<CForce> blue;
    if (!layout.Best && doc.RunCaptureOn != 1)
        for (std::unique_ptr<CForce>* copy : {&red, &blue}) {
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

// RED's values as a save writes them, the scenario's own in place of what a
// GA or a landscape still holds and none of the best chromosome's rows: the
// lines of the general section that name RED, RED's command and agent
// sections, and RED's agents as an agent file placed them.
std::string RedValuesAsSaved(CBrevimarDoc& doc)
{
    const ScenarioValuesInPlace own(doc);
    ScenarioBlocks blocks = BlocksOf(doc);
    std::ostringstream general;
    {
        DefaultFormat format(general);
        ScenarioText text(general);
        WriteLines(ScenarioSection::General, blocks, Side::Red, 0, text);
    }
    std::ostringstream out;
    std::istringstream lines(general.str());
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with("R_") || line.starts_with("RED_") || line.starts_with("red_"))
            out << line << '\n';
    {
        DefaultFormat format(out);
        ScenarioText text(out);
        WriteGlobal(blocks, Side::Red, text);
        WriteLocal(blocks, Side::Red, text);
        WriteLines(ScenarioSection::Agents, blocks, Side::Red, 0, text);
    }
    const CForce& red = doc.RedForce;
    for (const auto* stored : {&red.StoredAgentState, &red.StoredAgentSquad, &red.StoredAgentX, &red.StoredAgentY})
        out.write(reinterpret_cast<const char*>(stored), sizeof *stored);
    return out.str();
}

}  // namespace

RedEditScope::RedEditScope(CBrevimarDoc& doc) : Doc(doc)
{
    if (doc.Ga.GaBestShown != 0)
        Before = RedValuesAsSaved(doc);
}

RedEditScope::~RedEditScope()
{
    if (Doc.Ga.GaBestShown != 0 && Before && *Before != RedValuesAsSaved(Doc))
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
