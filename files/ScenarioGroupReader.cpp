#include "files/ScenarioGroupReader.h"

#include <sstream>

#include "core/Document.h"
#include "core/TerrainBlocks.h"
#include "files/ScenarioFormat.h"
#include "files/StartupReader.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

// Ranges the editors accept, and the longest reconstitution time a run can use.
constexpr int MaxRange = 999;
constexpr int MaxReconTime = 1000000;

// How the messages name a side.
const char* SideName(Side side) { return side == Side::Red ? "RED" : "BLUE"; }

// Reads the scenario groups into one state, line by line of the format's
// table, stopping at the first problem.
class ScenarioReader {
public:
    ScenarioReader(CWordReader& words, CDocumentState& state)
        // Until the file gives its version, every line is there.
        : Words(words), S(state), Blocks(BlocksOf(state))
    {
    }

    bool Read();
    const std::string& Problem() const { return Message; }

private:
    CForce& Force(Side side) { return side == Side::Red ? static_cast<CForce&>(S.RedForce) : S.BlueForce; }
    CLocalCommand& Local(Side side) { return side == Side::Red ? S.RedLocal : S.BlueLocal; }
    CGlobalCommander& Global(Side side) { return side == Side::Red ? S.RedGlobal : S.BlueGlobal; }
    int DataVersion() const { return Blocks.DataVersion; }

    bool Broken()
    {
        Message = Words.Failure().Describe();
        return false;
    }
    bool Refuse(const std::string& text)
    {
        Message = text;
        return false;
    }
    bool Skip(int n) { return Words.Skip(n) || Broken(); }
    bool InRange(int value, int low, int high, const std::string& what)
    {
        if (value >= low && value <= high)
            return true;
        return Refuse(what + " is " + std::to_string(value) + ", outside " + std::to_string(low) + ".." +
                      std::to_string(high));
    }
    double Draw() { return S.Generator.DrawRange(1, 10000, &S.RandomState) * 0.0001; }

    // The lines of one section; `number` is the commander's, block's or
    // cell's. Comment and label words are skipped together right before the
    // next value, and those of a section that ends without a value at its end.
    bool ReadLines(ScenarioSection section, Side side = Side::Red, int number = 0);
    bool ReadValues(const ScenarioLine& line, Side side, int number);
    void FillMissing(const ScenarioLine& line, Side side);
    bool Derive(const ScenarioLine& line, Side side, int number);

    bool ReadGlobalCommand(Side side);
    bool ReadLocalCommand(Side side);
    bool ReadTerrain();

    void PlaceBoxesAndKeepCopies();
    bool GoalFlagOnField(Side side, const char* label);
    void SetAllStatistics();
    void NormaliseCommanderWeights(int k, Side side);
    bool CheckSquadRanges(Side side);
    void NormaliseSquadWeights(Side side);
    void DrawPersonalities(Side side);
    void KeepLargestWeights(Side side);
    bool PlaceTerrainCell(int k);

    CWordReader& Words;
    CDocumentState& S;
    ScenarioBlocks Blocks;
    std::string Message;
};

bool ScenarioReader::Read()
{
    if (!ReadLines(ScenarioSection::General) || !ReadLines(ScenarioSection::Statistics))
        return false;
    for (Side side : {Side::Red, Side::Blue})
        if (!ReadGlobalCommand(side))
            return false;
    for (Side side : {Side::Red, Side::Blue})
        if (!ReadLocalCommand(side))
            return false;
    for (Side side : {Side::Red, Side::Blue})
        if (!ReadLines(ScenarioSection::Agents, side))
            return false;
    return ReadTerrain();
}

bool ScenarioReader::ReadLines(ScenarioSection section, Side side, int number)
{
    int words = 0;  // to skip before the next value
    bool labelledGroup = false;
    bool groupThere = false;
    for (const ScenarioLine& line : SectionLines(section)) {
        if (line.Kind == ScenarioLineKind::Text) {
            words += WordCount(line.Text(side));
            labelledGroup = false;
            continue;
        }
        bool there = line.CarriedBy(DataVersion());
        if (line.Missing == WhenAbsent::KeepUnlabelled) {
            // Older files come with and without the group: its first label
            // decides for the whole group.
            if (!labelledGroup) {
                if (words > 0 && !Skip(words))
                    return false;
                words = 0;
                groupThere = there || Words.NextWordIs(LabelWord(line.Text(side), number));
            }
            labelledGroup = true;
            there = groupThere;
        } else {
            labelledGroup = false;
        }
        if (there) {
            if (!Skip(words + 1) || !ReadValues(line, side, number))
                return false;
            words = 0;
        } else if (line.Missing != WhenAbsent::KeepUnlabelled) {
            FillMissing(line, side);
        }
        if (line.After != ScenarioStep::None && !Derive(line, side, number))
            return false;
    }
    return words == 0 || Skip(words);
}

bool ScenarioReader::ReadValues(const ScenarioLine& line, Side side, int number)
{
    // A pair row interleaves its two members value by value.
    const int count = line.Values[0].Count;
    for (int k = 0; k < count; ++k)
        for (const ScenarioField& field : line.Values) {
            if (!field.Used())
                continue;
            bool read = false;
            switch (field.Type) {
            case ScenarioValueType::Int:
                read = Words.Read(*ScenarioValue<int>(Blocks, field, side, number, k));
                break;
            case ScenarioValueType::Float:
                read = Words.Read(*ScenarioValue<float>(Blocks, field, side, number, k));
                break;
            case ScenarioValueType::Double:
                read = Words.Read(*ScenarioValue<double>(Blocks, field, side, number, k));
                break;
            }
            if (!read)
                return Broken();
        }
    return true;
}

void ScenarioReader::FillMissing(const ScenarioLine& line, Side side)
{
    int value = 0;
    if (line.Missing == WhenAbsent::One) {
        value = 1;
    } else if (line.Missing == WhenAbsent::AreaFlag) {
        value = DataVersion() == 2 ? 1 : 0;
    }
    for (const ScenarioField& field : line.Values) {
        if (!field.Used())
            continue;
        for (int k = 0; k < field.Count; ++k) {
            switch (field.Type) {
            case ScenarioValueType::Int:
                *ScenarioValue<int>(Blocks, field, side, 0, k) = value;
                break;
            case ScenarioValueType::Float:
                *ScenarioValue<float>(Blocks, field, side, 0, k) = static_cast<float>(value);
                break;
            case ScenarioValueType::Double:
                *ScenarioValue<double>(Blocks, field, side, 0, k) = value;
                break;
            }
        }
    }
}

bool ScenarioReader::Derive(const ScenarioLine& line, Side side, int number)
{
    CBattlefield& b = S.Battlefield;
    CForce& f = Force(side);
    CLocalCommand& l = Local(side);
    const std::string label = LabelWord(line.Text(side), number);
    const std::string sideName = SideName(side);
    switch (line.After) {
    case ScenarioStep::None:
        return true;
    case ScenarioStep::DataVersion:
        return InRange(DataVersion(), 1, 4, label);
    case ScenarioStep::BattleSize:
        return InRange(b.BattleSize, 1, MaxBattleSize, label);
    case ScenarioStep::DeploymentBoxes:
        PlaceBoxesAndKeepCopies();
        return true;
    case ScenarioStep::RedGoalFlag:
        return GoalFlagOnField(Side::Red, line.Red);
    case ScenarioStep::BlueGoalFlag:
        return GoalFlagOnField(Side::Blue, line.Red);
    case ScenarioStep::MoveOrder:
        S.RunHeader.RandomMoveOrderSelected = b.MoveOrder == 1 ? 0 : 1;
        S.RunHeader.FixedMoveOrderSelected = b.MoveOrder == 1 ? 1 : 0;
        return true;
    // The reconstitution timer counts down once per step: a time near the
    // smallest int would run it past it.
    case ScenarioStep::RedReconTime:
        return InRange(S.RedForce.recon_time, -MaxReconTime, MaxReconTime, label);
    case ScenarioStep::BlueReconTime:
        return InRange(S.BlueForce.recon_time, -MaxReconTime, MaxReconTime, label);
    case ScenarioStep::SetAll:
        SetAllStatistics();
        return true;
    case ScenarioStep::CommanderCount:
        return InRange(l.NumLocalCommanders, 0, MaxCommanders, label);
    case ScenarioStep::Subordinates:
        if (!InRange(l.undr_cmd[number], 0, MaxSubordinates, label))
            return false;
        l.SubordinateCount[number] = l.undr_cmd[number];
        return true;
    case ScenarioStep::CommandRadius: {
        // A patch is 2r + 1 cells wide: a radius past the battlefield covers it all.
        if (!InRange(l.cmnd_rad[number], 0, MaxBattleSize, label))
            return false;
        const int r = l.cmnd_rad[number];
        l.CommandPatchSize[number] = l.patch_type == 1 ? 3 * r + 1 : 5 * r + 2;
        return true;
    }
    case ScenarioStep::CommanderWeights:
        NormaliseCommanderWeights(number, side);
        return true;
    case ScenarioStep::AgentCount:
        return InRange(f.NumAgents, 0, MaxAgents, label);
    case ScenarioStep::SquadCount:
        return InRange(f.NumSquads, 1, MaxSquads, sideName + " " + label);
    case ScenarioStep::SquadSizes:
        for (int s = 1; s <= f.NumSquads; ++s)
            if (!InRange(f.num_per_squad[s], 0, MaxAgents, sideName + " " + label + " of squad " + std::to_string(s)))
                return false;
        f.ReconcileSquadSizes();
        f.NumberAgentsBySquad();
        return true;
    case ScenarioStep::MoveRanges:
        // The move tables hold boxes up to 9 x 9 cells.
        for (int s = 1; s <= f.NumSquads; ++s) {
            const std::string squad = " of squad " + std::to_string(s);
            if (!InRange(f.A_M_RANGE[s], 0, MaxMoveRange, sideName + " A:M_RANGE" + squad) ||
                !InRange(f.I_M_RANGE[s], 0, MaxMoveRange, sideName + " I:M_RANGE" + squad))
                return false;
        }
        return true;
    case ScenarioStep::SquadWeights:
        if (f.personality == 1)
            NormaliseSquadWeights(side);
        return true;
    case ScenarioStep::AgentWeights:
        if (f.personality != 1)
            DrawPersonalities(side);
        KeepLargestWeights(side);
        return true;
    case ScenarioStep::SensorFireRanges:
        if (!CheckSquadRanges(side))
            return false;
        f.MinSensorRange = 100;
        for (int s = 1; s <= f.NumSquads; ++s)
            if (f.A_S_RANGE[s] < f.MinSensorRange)
                f.MinSensorRange = f.A_S_RANGE[s];
        return true;
    case ScenarioStep::Communications:
        if (f.CommOn == 0) {
            f.COMM_range = 0;
            f.A_COMM_weight = 0;
            f.I_COMM_weight = 0;
        }
        // The first run after a read shares as the file says, not with the
        // range and weights the previous scenario's run left.
        f.TakeCommValues();
        return true;
    case ScenarioStep::SquadCopies:
        for (int i = 1; i <= f.NumAgents; ++i)
            f.CopySquadParameters(i, f.AgentSquad[i]);
        return true;
    case ScenarioStep::BlockCount:
        return InRange(b.terrain_blocks, 0, MaxTerrainBlocks, label);
    case ScenarioStep::BlockType:
        return InRange(b.TerrainBlockType[number], OpenGround, PassableIII, label);
    case ScenarioStep::BlockPlaced:
        b.TerrainBlockUsed[number] = 1;
        if (b.TerrainBlockType[number] > Pillar)
            b.TerrainModifiersOn = 1;
        if (b.TerrainBlockType[number] == Pillar)
            b.LineOfSightOn = 1;
        return true;
    case ScenarioStep::CellPlaced:
        return PlaceTerrainCell(number);
    }
    return true;
}

bool ScenarioReader::ReadGlobalCommand(Side side)
{
    if (!ReadLines(ScenarioSection::GlobalFlag, side))
        return false;
    return Global(side).GlobalCommandOn != 1 || ReadLines(ScenarioSection::Global, side);
}

bool ScenarioReader::ReadLocalCommand(Side side)
{
    CLocalCommand& l = Local(side);
    if (!ReadLines(ScenarioSection::LocalFlag, side))
        return false;
    if (l.LocalCommandOn != 1) {
        l.NumLocalCommanders = 0;
        l.patch_type = 1;
        l.patch_flag = 1;
        return true;
    }
    if (!ReadLines(ScenarioSection::Local, side))
        return false;
    for (int k = 1; k <= l.NumLocalCommanders; ++k)
        if (!ReadLines(ScenarioSection::Commander, side, k))
            return false;
    return true;
}

bool ScenarioReader::ReadTerrain()
{
    CBattlefield& b = S.Battlefield;
    if (!ReadLines(ScenarioSection::TerrainBanner))
        return false;
    b.TerrainModifiersOn = 0;
    b.CellTerrainDefined = 0;
    b.LineOfSightOn = 0;
    const int size = b.BattleSize;

    if (b.TerrainMode == 1) {
        if (!ReadLines(ScenarioSection::TerrainBlockCount))
            return false;
        for (int k = 1; k <= b.terrain_blocks; ++k)
            if (!ReadLines(ScenarioSection::TerrainBlock, Side::Red, k))
                return false;
    } else if (b.TerrainMode == 2) {
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y) {
                b.TerrainType[GridIndex(x, y)] = 0;
                b.AgentGrid[GridIndex(x, y)] = 0;
            }
        Blocks.CellCount = 0;
        if (!ReadLines(ScenarioSection::TerrainCellCount))
            return false;
        const int records = Blocks.CellCount;
        for (int k = 1; k <= records; ++k) {
            Blocks.CellX = Blocks.CellY = Blocks.CellType = 0;
            if (!ReadLines(ScenarioSection::TerrainCell, Side::Red, k))
                return false;
        }
        TakeCellTerrainSwitches(b);
        b.CellTerrainDefined = 1;
    }
    return true;
}

void ScenarioReader::PlaceBoxesAndKeepCopies()
{
    CBattlefield& b = S.Battlefield;
    // The copies keep the boxes as the file gives them, before a corner
    // deployment moves the centres.
    for (int s = 1; s <= MaxSquads; ++s) {
        S.RedSquadBoxCopy.CenterX[s] = b.RED_cen_x[s];
        S.RedSquadBoxCopy.Length[s] = b.R_box_l[s];
        S.RedSquadBoxCopy.CenterY[s] = b.RED_cen_y[s];
        S.RedSquadBoxCopy.Width[s] = b.R_box_w[s];
        S.BlueSquadBoxCopy.CenterX[s] = b.BLUE_cen_x[s];
        S.BlueSquadBoxCopy.Length[s] = b.B_box_l[s];
        S.BlueSquadBoxCopy.CenterY[s] = b.BLUE_cen_y[s];
        S.BlueSquadBoxCopy.Width[s] = b.B_box_w[s];
    }
    if (b.init_dist != 2)
        return;
    // RED boxes go to the low corner, BLUE boxes to the opposite one; the
    // casts cut toward zero.
    for (int s = 1; s <= MaxSquads; ++s) {
        b.RED_cen_x[s] = static_cast<int>(0.5 * b.R_box_l[s]);
        b.RED_cen_y[s] = static_cast<int>(0.5 * b.R_box_w[s]);
        b.BLUE_cen_x[s] = static_cast<int>(b.BattleSize - 0.5 * b.B_box_l[s]);
        b.BLUE_cen_y[s] = static_cast<int>(b.BattleSize - 0.5 * b.B_box_w[s]);
    }
}

// The lattice and the grids index the flag cell; 0 stands for a flag not yet
// placed.
bool ScenarioReader::GoalFlagOnField(Side side, const char* label)
{
    const CBattlefield& b = S.Battlefield;
    const CForce& f = Force(side);
    if (f.GoalFlagX >= 0 && f.GoalFlagX <= b.BattleSize && f.GoalFlagY >= 0 && f.GoalFlagY <= b.BattleSize)
        return true;
    std::ostringstream text;
    text << LabelWord(label, 0) << " (" << f.GoalFlagX << ", " << f.GoalFlagY << ") lies off the " << b.BattleSize
         << " x " << b.BattleSize << " battlefield";
    return Refuse(text.str());
}

void ScenarioReader::SetAllStatistics()
{
    CStatisticsParameters& st = S.Statistics;
    // All seven statistics on means "Set All": territory, weapons and the
    // capacity dimension join them. stat_flag? is not part of the test.
    st.TerritoryStatsOn = 0;
    st.AllStatisticsOn = 0;
    if (st.GoalStatsOn == 1 && st.CenterOfMassOn == 1 && st.InterpointOn == 1 && st.SpatialEntropyOn == 1 &&
        st.ClusterD1On == 1 && st.ClusterD2On == 1 && st.NeighborStatsOn == 1)
        st.AllStatisticsOn = 1;
    if (st.AllStatisticsOn == 1) {
        st.TerritoryStatsOn = 1;
        S.WeaponStatsOn = 1;
        st.CapacityDimensionOn = 1;
    }
}

// The file's weights are kept as the scenario's; the step uses them divided
// by the sum of their magnitudes, as force set-up derives them.
void ScenarioReader::NormaliseCommanderWeights(int k, Side side)
{
    CLocalCommand& l = Local(side);
    float* weights[] = {&l.w1[k], &l.w2[k], &l.w3[k], &l.w4[k], &l.w5[k], &l.w6[k], &l.w_terrain[k]};
    CCommanderWeights& out = l.Normalised;
    float* normalised[] = {&out.w1[k], &out.w2[k], &out.w3[k], &out.w4[k], &out.w5[k], &out.w6[k], &out.w_terrain[k]};
    float sum = 0.0f;
    for (float* w : weights)
        sum += FloatAbs(*w);
    if (sum == 0.0f)
        sum = 1.0f;
    for (int n = 0; n < 7; ++n)
        *normalised[n] = *weights[n] / sum;
}

// A sensor range of 0 is the new document's own (an agent that senses nothing
// beyond its cell), so a saved new document reads back. Ranges far past the
// battlefield only overflow the sums of the penalty.
bool ScenarioReader::CheckSquadRanges(Side side)
{
    const CForce& f = Force(side);
    const std::string sideName = SideName(side);
    for (int s = 1; s <= f.NumSquads; ++s) {
        const std::string squad = " of squad " + std::to_string(s);
        if (!InRange(f.A_S_RANGE[s], 0, MaxRange, sideName + " A:S_RANGE" + squad) ||
            !InRange(f.I_S_RANGE[s], 0, MaxRange, sideName + " I:S_RANGE" + squad) ||
            !InRange(f.A_F_RANGE[s], -MaxRange, MaxRange, sideName + " A:F_RANGE" + squad) ||
            !InRange(f.I_F_RANGE[s], -MaxRange, MaxRange, sideName + " I:F_RANGE" + squad))
            return false;
    }
    return true;
}

// Each agent takes its squad's nine alive and nine injured weights divided
// by the sums of their magnitudes.
void ScenarioReader::NormaliseSquadWeights(Side side)
{
    CForce& f = Force(side);
    const float(*aliveRows[])[SquadSlots] = {&f.w1_a, &f.w2_a, &f.w3_a, &f.w4_a, &f.w5_a,
                                             &f.w6_a, &f.w_terrain_alive, &f.w_area_alive, &f.w_flock_alive};
    const float(*injuredRows[])[SquadSlots] = {&f.w1_i, &f.w2_i, &f.w3_i, &f.w4_i, &f.w5_i,
                                               &f.w6_i, &f.w_terrain_injured, &f.w_area_injured, &f.w_flock_injured};
    float aliveSum[SquadSlots] = {};
    float injuredSum[SquadSlots] = {};
    for (int s = 1; s <= f.NumSquads; ++s) {
        for (auto* row : aliveRows)
            aliveSum[s] += FloatAbs((*row)[s]);
        for (auto* row : injuredRows)
            injuredSum[s] += FloatAbs((*row)[s]);
        if (aliveSum[s] == 0.0f)
            aliveSum[s] = 1.0f;
        if (injuredSum[s] == 0.0f)
            injuredSum[s] = 1.0f;
    }
    for (int i = 1; i <= f.NumAgents; ++i) {
        const int s = f.AgentSquad[i];
        for (int w = W1; w < WeightSlots; ++w) {
            f.AliveWeight[w][i] = (*aliveRows[w - W1])[s] / aliveSum[s];
            f.InjuredWeight[w][i] = (*injuredRows[w - W1])[s] / injuredSum[s];
        }
    }
}

void ScenarioReader::DrawPersonalities(Side side)
{
    CForce& f = Force(side);
    CLocalCommand& l = Local(side);
    // Five draws, normalised by their sum, give w1..w4 and w6; w5 is 0.
    auto drawSet = [this](float& w1, float& w2, float& w3, float& w4, float& w5, float& w6) {
        double d[5];
        for (double& u : d)
            u = Draw();
        const double total = d[0] + d[1] + d[2] + d[3] + d[4];
        w1 = static_cast<float>(d[0] / total);
        w2 = static_cast<float>(d[1] / total);
        w3 = static_cast<float>(d[2] / total);
        w4 = static_cast<float>(d[3] / total);
        w5 = 0.0f;
        w6 = static_cast<float>(d[4] / total);
    };
    if (l.LocalCommandOn == 1)
        for (int k = 1; k <= l.NumLocalCommanders; ++k)
            drawSet(l.Normalised.w1[k], l.Normalised.w2[k], l.Normalised.w3[k], l.Normalised.w4[k],
                    l.Normalised.w5[k], l.Normalised.w6[k]);
    for (int i = 1; i <= f.NumAgents; ++i) {
        drawSet(f.AliveWeight[W1][i], f.AliveWeight[W2][i], f.AliveWeight[W3][i], f.AliveWeight[W4][i],
                f.AliveWeight[W5][i], f.AliveWeight[W6][i]);
        drawSet(f.InjuredWeight[W1][i], f.InjuredWeight[W2][i], f.InjuredWeight[W3][i], f.InjuredWeight[W4][i],
                f.InjuredWeight[W5][i], f.InjuredWeight[W6][i]);
        // No draw gives the terrain, area and flock weights: 0, as in a new
        // document, not what agents of the same numbers held in the
        // scenario read before.
        for (int w : {WTerrain, WArea, WFlock})
            f.AliveWeight[w][i] = f.InjuredWeight[w][i] = 0.0f;
        // Side-wide weights: the last agent's draws stand.
        if (l.LocalCommandOn == 1) {
            l.w7 = static_cast<float>(Draw());
            l.w8 = static_cast<float>(Draw());
        }
    }
}

void ScenarioReader::KeepLargestWeights(Side side)
{
    CForce& f = Force(side);
    for (int i = 1; i <= f.NumAgents; ++i) {
        float maxAlive = 0.0f;
        float maxInjured = 0.0f;
        for (int w = W1; w <= W6; ++w) {
            if (FloatAbs(f.AliveWeight[w][i]) > maxAlive)
                maxAlive = FloatAbs(f.AliveWeight[w][i]);
            if (FloatAbs(f.InjuredWeight[w][i]) > maxInjured)
                maxInjured = FloatAbs(f.InjuredWeight[w][i]);
        }
        f.MaxAliveWeight[i] = maxAlive;
        f.MaxInjuredWeight[i] = maxInjured;
    }
}

bool ScenarioReader::PlaceTerrainCell(int k)
{
    CBattlefield& b = S.Battlefield;
    const int size = b.BattleSize;
    const int x = Blocks.CellX;
    const int y = Blocks.CellY;
    if (x < 1 || x > size || y < 1 || y > size) {
        std::ostringstream text;
        text << "terrain cell " << k << " at (" << x << ", " << y << ") lies off the " << size << " x " << size
             << " battlefield";
        return Refuse(text.str());
    }
    if (!InRange(Blocks.CellType, OpenGround, PassableIII, "the type of terrain cell " + std::to_string(k)))
        return false;
    b.TerrainType[GridIndex(x, y)] = Blocks.CellType;
    return true;
}

}  // namespace

bool ReadScenarioGroups(CWordReader& words, CDocumentState& state, std::string* problem)
{
    ScenarioReader reader(words, state);
    if (reader.Read())
        return true;
    *problem = reader.Problem();
    return false;
}

}  // namespace brevimar
