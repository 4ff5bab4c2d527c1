#include "dialogs/ChromosomeDisplays.h"

#include <algorithm>
#include <string>

#include "core/Document.h"
#include "dialogs/MatrixDlg.h"
#include "experiments/GaEngine.h"

namespace brevimar {

namespace {

using D = CChromosomeDisplayDlg;

// A per-squad row of the chromosome display: label, first control id (the
// injured box is the next id), ranges alive / injured.
struct RowSpec {
    const char* Group;  // starts a group when not null
    const char* Label;
    int Id;
    double AliveLow, AliveHigh, InjuredLow, InjuredHigh;
};

constexpr RowSpec Rows[] = {
    {"RANGES", "Sensor Range", D::IDC_SENSOR, 0, 999, 1, 999},
    {nullptr, "Fire Range", D::IDC_FIRE, 0, 99, 0, 99},
    {nullptr, "Threshold Range", D::IDC_THRESHOLD, 0, 999, 0, 999},
    {nullptr, "Movement Range", D::IDC_MOVEMENT, 1, 4, 1, 4},
    {"PERSONALITY", "--> Alive RED", D::IDC_WEIGHT_FIRST, -100, 100, -100, 100},
    {nullptr, "--> Alive BLUE", D::IDC_WEIGHT_FIRST + 2, -100, 100, -100, 100},
    {nullptr, "--> Injured RED", D::IDC_WEIGHT_FIRST + 4, -100, 100, -100, 100},
    {nullptr, "--> Injured BLUE", D::IDC_WEIGHT_FIRST + 6, -100, 100, -100, 100},
    {nullptr, "--> RED Flag", D::IDC_WEIGHT_FIRST + 8, -100, 100, -100, 100},
    {nullptr, "--> BLUE Flag", D::IDC_WEIGHT_FIRST + 10, -100, 100, -100, 100},
    {nullptr, "--> LC", D::IDC_LC, -100, 100, -100, 100},
    {nullptr, "Obey LC", D::IDC_OBEY_LC, -1, 1, -1, 1},
    {"META-PERSONALITY", "ADVANCE", D::IDC_ADVANCE, 0, 99, 0, 999},
    {nullptr, "CLUSTER", D::IDC_CLUSTER, 0, 99, 0, 999},
    {nullptr, "COMBAT", D::IDC_COMBAT, -999, 999, -999, 999},
    {nullptr, "Min Dist from RED", D::IDC_MIN_RED, 0, 99, 0, 99},
    {nullptr, "Min Dist from BLUE", D::IDC_MIN_BLUE, 0, 99, 0, 99},
    {nullptr, "Min Dist from RFlag", D::IDC_MIN_FLAG, 0, 99, 0, 99},
    {"OFFENSE/DEFENSE", "Prob(Hit)", D::IDC_PHIT, 0, 1, 0, 1},
    {nullptr, "Max # Simul Tgts", D::IDC_MAX_TARGETS, 0, 999, 0, 999},
    {nullptr, "Defense Measure", D::IDC_DEFENSE, 0, 99, 0, 999},
};

const RowSpec& Row(int id)
{
    for (const RowSpec& row : Rows)
        if (row.Id == id)
            return row;
    return Rows[0];
}

DialogTemplate ChromosomeTemplate(bool best)
{
    DialogTemplate t{best ? CShowBestChromosomeDlg::IDD : CShowCurrentChromosomeDlg::IDD,
                     best ? "Display::Show BEST Chromosome" : "Display::Show CURRENT Chromosome",
                     {}};
    auto& items = t.Items;
    items.push_back({DlgItem::Group, IDC_STATIC, "SQUAD", 2});
    PairRow(items, "Squad", {D::IDC_SQUAD});
    PairRow(items, "Squad Size", {D::IDC_SQUAD_SIZE});
    items.push_back({DlgItem::Button, D::IDC_SHOW_SQUAD, "Display Squad Data"});
    for (const RowSpec& row : Rows) {
        if (row.Group) {
            if (std::string(row.Group) == "META-PERSONALITY") {
                items.push_back({DlgItem::Group, IDC_STATIC, row.Group});
                items.push_back({DlgItem::Radio, D::IDC_META_ON, "On"});
                items.push_back({DlgItem::Radio, D::IDC_META_OFF, "Off"});
            }
            if (std::string(row.Group) == "OFFENSE/DEFENSE")
                items.push_back({DlgItem::Column});
            items.push_back({DlgItem::Group, IDC_STATIC, row.Group, 3});
            items.push_back({DlgItem::Label, IDC_STATIC, ""});
            items.push_back({DlgItem::Label, IDC_STATIC, "Alive"});
            items.push_back({DlgItem::Label, IDC_STATIC, "Injured"});
        }
        PairRow(items, row.Label, {row.Id, row.Id + 1});
    }
    items.push_back({DlgItem::Group, IDC_STATIC, "COMMUNICATIONS"});
    items.push_back({DlgItem::Radio, D::IDC_COMM_ON, "On"});
    items.push_back({DlgItem::Radio, D::IDC_COMM_OFF, "Off"});
    items.push_back({DlgItem::Group, IDC_STATIC, "", 3});
    PairRow(items, "Comm Range", {D::IDC_COMM_RANGE});
    PairRow(items, "Comm Weight", {D::IDC_COMM_WEIGHT, D::IDC_COMM_WEIGHT + 1});
    items.push_back({DlgItem::Group, IDC_STATIC, "GENERAL BATTLE PARAMETERS"});
    items.push_back({DlgItem::Label, IDC_STATIC, "Reconstitution?"});
    items.push_back({DlgItem::Radio, D::IDC_RECON_ON, "On"});
    items.push_back({DlgItem::Radio, D::IDC_RECON_OFF, "Off"});
    items.push_back({DlgItem::Label, IDC_STATIC, "Fratricide?"});
    items.push_back({DlgItem::Radio, D::IDC_FRAT_ON, "On"});
    items.push_back({DlgItem::Radio, D::IDC_FRAT_OFF, "Off"});
    items.push_back({DlgItem::Group, IDC_STATIC, "", 2});
    PairRow(items, "Reconstitution Time", {D::IDC_RECON_TIME});
    PairRow(items, "Fratricide Radius", {D::IDC_FRAT_RADIUS});
    PairRow(items, "Fratricide Prob(Kill)", {D::IDC_FRAT_PKILL});
    if (best) {
        items.push_back({DlgItem::Group, IDC_STATIC, "MISSION FITNESS", 2});
        PairRow(items, "/ 10000", {D::IDC_FITNESS});
    }
    items.push_back({DlgItem::EndGroup});
    items.push_back({DlgItem::Button, D::IDC_COMM_MATRIX, "C[ i ][ j ]"});
    items.push_back({DlgItem::Label, IDC_STATIC, "Inter-Squad Weight Matrix"});
    items.push_back({DlgItem::Button, D::IDC_WEIGHT_MATRIX, "S[ i ][ j ]"});
    items.push_back({DlgItem::Button, IDOK, "Save to File"});
    items.push_back({DlgItem::Button, IDCANCEL, "Cancel"});
    return t;
}

const DialogTemplate& ChromosomeTable(bool best)
{
    static const DialogTemplate bestTable = ChromosomeTemplate(true);
    static const DialogTemplate currentTable = ChromosomeTemplate(false);
    return best ? bestTable : currentTable;
}

int Truncated(float v) { return static_cast<int>(std::clamp(v, -1.0e6f, 1.0e6f)); }

}  // namespace

CChromosomeDisplayDlg::CChromosomeDisplayDlg(CBrevimarDoc& doc, bool best, QWidget* parent)
    : CParamDlg(ChromosomeTable(best), parent)
{
    const CForce& f = doc.RedForce;
    const CBattlefield& b = doc.Battlefield;
    const CGaDecoded& d = doc.Ga.GaBestDecoded;
    if (best)
        FitnessShown = CGeneticAlgorithm(doc).Best().Fitness * 10000.0;
    SquadCount = std::clamp(f.NumSquads, 1, MaxSquads);
    CommunicationsOn = f.CommOn;
    ReconstitutionOn = b.RED_recon_flag;
    FratricideOn = b.red_frat_flag;
    LcWeight[0] = LcWeight[1] = doc.RedLocal.w7;
    ObeyLc[0] = ObeyLc[1] = doc.RedLocal.w8;
    CommRange = best ? d.COMM_range : f.COMM_range;
    CommWeight[0] = best ? d.A_COMM_weight : f.A_COMM_weight;
    CommWeight[1] = best ? d.I_COMM_weight : f.I_COMM_weight;
    ReconTime = best ? d.recon_time : f.recon_time;
    FratRadius = best ? d.red_frat_rad : b.red_frat_rad;
    FratPKill = best ? d.red_frat_prob : b.red_frat_prob;
    for (int i = 1; i < SquadSlots; ++i)
        for (int j = 1; j < SquadSlots; ++j) {
            CommMatrix[i][j] = f.CommMatrix[i][j];
            SquadMatrix[i][j] = f.SquadWeightMatrix[i][j];
        }

    const bool unlimited = b.RedCombatUnlimited == 1;
    for (int s = 1; s <= SquadCount; ++s) {
        auto pick = [best](const auto& decoded, const auto& live) { return best ? decoded : live; };
        SquadSize.Squad[s] = f.num_per_squad[s];
        MetaOn.Squad[s] = f.movement_flag[s];
        Sensor[0].Squad[s] = pick(d.A_S_RANGE[s], f.A_S_RANGE[s]);
        Sensor[1].Squad[s] = pick(d.I_S_RANGE[s], f.I_S_RANGE[s]);
        Fire[0].Squad[s] = pick(d.A_F_RANGE[s], f.A_F_RANGE[s]);
        Fire[1].Squad[s] = pick(d.I_F_RANGE[s], f.I_F_RANGE[s]);
        Threshold[0].Squad[s] = pick(d.A_C_RANGE[s], f.A_C_RANGE[s]);
        Threshold[1].Squad[s] = pick(d.I_C_RANGE[s], f.I_C_RANGE[s]);
        Movement[0].Squad[s] = pick(d.A_M_RANGE[s], f.A_M_RANGE[s]);
        Movement[1].Squad[s] = pick(d.I_M_RANGE[s], f.I_M_RANGE[s]);
        const float* alive[] = {f.w1_a, f.w2_a, f.w3_a, f.w4_a, f.w5_a, f.w6_a};
        const float* injured[] = {f.w1_i, f.w2_i, f.w3_i, f.w4_i, f.w5_i, f.w6_i};
        for (int w = 0; w < 6; ++w) {
            Weight[w][0].Squad[s] = pick(d.Weight[0][W1 + w][s], alive[w][s]);
            Weight[w][1].Squad[s] = pick(d.Weight[1][W1 + w][s], injured[w][s]);
        }
        Advance[0].Squad[s] = pick(d.A_ADVANCE_num[s], f.A_ADVANCE_num[s]);
        Advance[1].Squad[s] = pick(d.I_ADVANCE_num[s], f.I_ADVANCE_num[s]);
        Cluster[0].Squad[s] = pick(d.A_CLUSTER_num[s], f.A_CLUSTER_num[s]);
        Cluster[1].Squad[s] = pick(d.I_CLUSTER_num[s], f.I_CLUSTER_num[s]);
        Combat[0].Squad[s] = pick(d.A_COMBAT_num[s], f.A_COMBAT_num[s]);
        Combat[1].Squad[s] = pick(d.I_COMBAT_num[s], f.I_COMBAT_num[s]);
        MinRed[0].Squad[s] = Truncated(pick(d.A_R_R_min_dist[s], f.A_R_R_min_dist[s]));
        MinRed[1].Squad[s] = Truncated(pick(d.I_R_R_min_dist[s], f.I_R_R_min_dist[s]));
        MinBlue[0].Squad[s] = Truncated(pick(d.A_R_B_min_dist[s], f.A_R_B_min_dist[s]));
        MinBlue[1].Squad[s] = Truncated(pick(d.I_R_B_min_dist[s], f.I_R_B_min_dist[s]));
        MinFlag[0].Squad[s] = Truncated(pick(d.A_R_R_goal_min[s], f.A_R_R_goal_min[s]));
        MinFlag[1].Squad[s] = Truncated(pick(d.I_R_R_goal_min[s], f.I_R_R_goal_min[s]));
        PHit[0].Squad[s] = pick(d.shot_prob_alive[s], f.shot_prob_alive[s]);
        PHit[1].Squad[s] = pick(d.shot_prob_injured[s], f.shot_prob_injured[s]);
        MaxTargets[0].Squad[s] = unlimited ? 999 : pick(d.A_R_max_eng_num[s], f.A_R_max_eng_num[s]);
        MaxTargets[1].Squad[s] = unlimited ? 999 : pick(d.I_R_max_eng_num[s], f.I_R_max_eng_num[s]);
        Defense[0].Squad[s] = pick(d.alive_strength[s], f.alive_strength[s]);
        Defense[1].Squad[s] = pick(d.injured_strength[s], f.injured_strength[s]);
    }

    Bind(IDC_SQUAD, SelectedSquad, 1, MaxSquads);
    Bind(IDC_SQUAD_SIZE, SquadSize, 0, 999);
    auto bindPair = [this](int id, SquadValue<int>* pair) {
        const RowSpec& r = Row(id);
        Bind(id, pair[0], static_cast<int>(r.AliveLow), static_cast<int>(r.AliveHigh));
        Bind(id + 1, pair[1], static_cast<int>(r.InjuredLow), static_cast<int>(r.InjuredHigh));
    };
    auto bindFloatPair = [this](int id, SquadValue<float>* pair) {
        const RowSpec& r = Row(id);
        Bind(id, pair[0], static_cast<float>(r.AliveLow), static_cast<float>(r.AliveHigh));
        Bind(id + 1, pair[1], static_cast<float>(r.InjuredLow), static_cast<float>(r.InjuredHigh));
    };
    bindPair(IDC_SENSOR, Sensor);
    bindPair(IDC_FIRE, Fire);
    bindPair(IDC_THRESHOLD, Threshold);
    bindPair(IDC_MOVEMENT, Movement);
    for (int w = 0; w < 6; ++w)
        bindFloatPair(IDC_WEIGHT_FIRST + 2 * w, Weight[w]);
    Bind(IDC_LC, LcWeight[0], -100.0f, 100.0f);
    Bind(IDC_LC + 1, LcWeight[1], -100.0f, 100.0f);
    Bind(IDC_OBEY_LC, ObeyLc[0], -1.0f, 1.0f);
    Bind(IDC_OBEY_LC + 1, ObeyLc[1], -1.0f, 1.0f);
    BindOnOff(IDC_META_ON, IDC_META_OFF, MetaOn);
    bindPair(IDC_ADVANCE, Advance);
    bindPair(IDC_CLUSTER, Cluster);
    bindPair(IDC_COMBAT, Combat);
    bindPair(IDC_MIN_RED, MinRed);
    bindPair(IDC_MIN_BLUE, MinBlue);
    bindPair(IDC_MIN_FLAG, MinFlag);
    bindFloatPair(IDC_PHIT, PHit);
    bindPair(IDC_MAX_TARGETS, MaxTargets);
    bindPair(IDC_DEFENSE, Defense);
    BindOnOff(IDC_COMM_ON, IDC_COMM_OFF, CommunicationsOn);
    Bind(IDC_COMM_RANGE, CommRange, 0, 999);
    Bind(IDC_COMM_WEIGHT, CommWeight[0], 0.0f, 1.0f);
    Bind(IDC_COMM_WEIGHT + 1, CommWeight[1], 0.0f, 1.0f);
    BindOnOff(IDC_RECON_ON, IDC_RECON_OFF, ReconstitutionOn);
    Bind(IDC_RECON_TIME, ReconTime, 0, 99);
    BindOnOff(IDC_FRAT_ON, IDC_FRAT_OFF, FratricideOn);
    Bind(IDC_FRAT_RADIUS, FratRadius, 0, 99);
    Bind(IDC_FRAT_PKILL, FratPKill, 0.0f, 1.0f);
    if (best)
        Bind(IDC_FITNESS, FitnessShown, 0.0, 10001.0);
    LoadSquad(1);
    SelectedSquad = 1;

    OnButton(IDC_SHOW_SQUAD, [this] { OnShowSquad(); });
    OnButton(IDC_COMM_MATRIX, [this] { OpenCommMatrix(); });
    OnButton(IDC_WEIGHT_MATRIX, [this] { OpenWeightMatrix(); });
}

bool CChromosomeDisplayDlg::OnInitDialog()
{
    return CParamDlg::OnInitDialog();
}

void CChromosomeDisplayDlg::OnOK()
{
    // "Save to File" is the dialog's OK.
    SaveRequested = 1;
    CParamDlg::OnOK();
    if (result() != QDialog::Accepted)
        SaveRequested = 0;
}

void CChromosomeDisplayDlg::OnShowSquad()
{
    // A squad number out of range still picks the nearest squad.
    if (!UpdateData(true))
        SelectedSquad = GetDlgItemInt(IDC_SQUAD).value_or(SelectedSquad);
    SelectedSquad = std::clamp(SelectedSquad, 1, SquadCount);
    LoadSquad(SelectedSquad);
    CurrentSquad = SelectedSquad;
    UpdateData(false);
    OnInitDialog();
}

void CChromosomeDisplayDlg::OpenCommMatrix()
{
    CRedCommMatrixDlg dialog(this);
    dialog.SquadCount = SquadCount;
    for (int i = 1; i < SquadSlots; ++i)
        for (int j = 1; j < SquadSlots; ++j)
            dialog.C[i][j] = CommMatrix[i][j];
    if (dialog.DoModal() != IDOK)
        return;
    for (int i = 1; i <= SquadCount; ++i)
        for (int j = 1; j <= SquadCount; ++j)
            CommMatrix[i][j] = dialog.C[i][j];
    Invalidate();
}

void CChromosomeDisplayDlg::OpenWeightMatrix()
{
    CRedSquadWeightMatrixDlg dialog(this);
    dialog.SquadCount = SquadCount;
    for (int i = 1; i < SquadSlots; ++i)
        for (int j = 1; j < SquadSlots; ++j)
            dialog.S[i][j] = SquadMatrix[i][j];
    if (dialog.DoModal() != IDOK)
        return;
    for (int i = 1; i < SquadSlots; ++i)
        for (int j = 1; j < SquadSlots; ++j)
            SquadMatrix[i][j] = dialog.S[i][j];
    Invalidate();
}

namespace {

CBrevimarDoc& Decoded(CBrevimarDoc& doc)
{
    CGeneticAlgorithm(doc).DecodeBestChromosome();
    return doc;
}

}  // namespace

CShowBestChromosomeDlg::CShowBestChromosomeDlg(CBrevimarDoc& doc, QWidget* parent)
    : CChromosomeDisplayDlg(Decoded(doc), true, parent)
{
}

CShowCurrentChromosomeDlg::CShowCurrentChromosomeDlg(CBrevimarDoc& doc, QWidget* parent)
    : CChromosomeDisplayDlg(doc, false, parent)
{
}

// ------------------------------------------------------------------ matrix displays

namespace {

using X = CMatrixDisplayDlg;

DialogTemplate MatrixTemplate(X::Kind kind, bool best, unsigned id, const char* caption)
{
    DialogTemplate t{id, caption, {}};
    auto& items = t.Items;
    if (kind == X::Kind::Composition) {
        items.push_back({DlgItem::Group, IDC_STATIC, "SQUADS", 2});
        PairRow(items, "Number of Squads", {X::IDC_SQUADS});
        items.push_back({DlgItem::Group, IDC_STATIC, "SQUAD SIZES", 8});
        for (int s = 1; s <= 8; ++s)
            items.push_back({DlgItem::Edit, X::IDC_SIZE_FIRST + s - 1});
    }
    const bool links = kind == X::Kind::CommMatrix;
    items.push_back({DlgItem::Group, IDC_STATIC, links ? "COMMUNICATIONS MATRIX" : "INTER-SQUAD MATRIX WEIGHTS", 8});
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j) {
            if (links)
                items.push_back({DlgItem::CheckBox, X::CellId(i, j), std::to_string(i) + "," + std::to_string(j)});
            else
                items.push_back({DlgItem::Edit, X::CellId(i, j)});
        }
    if (best) {
        items.push_back({DlgItem::Group, IDC_STATIC, "MISSION FITNESS", 2});
        PairRow(items, "/ 10000", {X::IDC_FITNESS});
    }
    items.push_back({DlgItem::EndGroup});
    if (kind == X::Kind::Composition) {
        items.push_back({DlgItem::Button, X::IDC_SAVE_FILE, "Save to File"});
        items.push_back({DlgItem::Button, X::IDC_SAVE_MATRIX, "Save Squad Matrix"});
    } else {
        const bool currentSquad = kind == X::Kind::SquadMatrix && !best;
        items.push_back({DlgItem::Button, X::IDC_SAVE_MATRIX, currentSquad ? "Save Squad Matrix" : "Save to File"});
    }
    return t;
}

template <unsigned Id>
const DialogTemplate& MatrixTable(X::Kind kind, bool best, const char* caption)
{
    static const DialogTemplate table = MatrixTemplate(kind, best, Id, caption);
    return table;
}

const DialogTemplate& TableFor(X::Kind kind, bool best, unsigned id, const char* caption)
{
    switch (id) {
    case 262: return MatrixTable<262>(kind, best, caption);
    case 264: return MatrixTable<264>(kind, best, caption);
    case 265: return MatrixTable<265>(kind, best, caption);
    case 266: return MatrixTable<266>(kind, best, caption);
    case 267: return MatrixTable<267>(kind, best, caption);
    default: return MatrixTable<269>(kind, best, caption);
    }
}

}  // namespace

CMatrixDisplayDlg::CMatrixDisplayDlg(Kind kind, bool best, unsigned id, const char* caption, QWidget* parent)
    : CParamDlg(TableFor(kind, best, id, caption), parent), Shown(kind)
{
    if (kind == Kind::Composition) {
        Bind(IDC_SQUADS, Squads, 1, 16);
        for (int s = 1; s <= 8; ++s)
            Bind(IDC_SIZE_FIRST + s - 1, Sizes[s], 0, 999);
    }
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j) {
            if (kind == Kind::CommMatrix)
                BindCheck(CellId(i, j), Links[i][j]);
            else
                Bind(CellId(i, j), Weights[i][j], -1.0, 1.0);
        }
    if (best)
        Bind(IDC_FITNESS, FitnessShown, 0.0, 10000.0);
    // The save buttons only ask; the request counts when the user then
    // closes with OK.
    OnButton(IDC_SAVE_FILE, [this] { SaveRequested = 1; });
    OnButton(IDC_SAVE_MATRIX, [this] {
        if (Shown == Kind::Composition)
            SaveMatrixRequested = 1;
        else
            SaveRequested = 1;
    });
}

bool CMatrixDisplayDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j)
            if (Shown == Kind::CommMatrix)
                CheckDlgButton(CellId(i, j), Links[i][j] == 1);
    return true;
}

namespace {

void BestFitness(CBrevimarDoc& doc, double& shown) { shown = CGeneticAlgorithm(doc).Best().Fitness * 10000.0; }

void CopyWeights(const double (&from)[SquadSlots][SquadSlots], int n, double (&to)[9][9])
{
    n = std::clamp(n, 0, 8);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            to[i][j] = from[i][j];
}

}  // namespace

CShowBestSquadCompositionDlg::CShowBestSquadCompositionDlg(CBrevimarDoc& doc, QWidget* parent)
    : CMatrixDisplayDlg(Kind::Composition, true, IDD, "Show Best Squad Composition", parent)
{
    CGeneticAlgorithm(doc).DecodeBestChromosome();
    BestFitness(doc, FitnessShown);
    const CGaDecoded& d = doc.Ga.GaBestDecoded;
    Squads = d.NumSquads;
    for (int s = 1; s <= 8; ++s)
        Sizes[s] = d.num_per_squad[s];
    CopyWeights(d.SquadWeightMatrix, 8, Weights);
}

CShowCurrentSquadCompositionDlg::CShowCurrentSquadCompositionDlg(CBrevimarDoc& doc, QWidget* parent)
    : CMatrixDisplayDlg(Kind::Composition, false, IDD, "Show Current Squad Composition", parent)
{
    const CForce& f = doc.RedForce;
    Squads = f.NumSquads;
    for (int s = 1; s <= 8; ++s)
        Sizes[s] = f.num_per_squad[s];
    // The block of squads up to the last before the first empty one.
    int k = 8;
    for (int s = 2; s <= 8; ++s)
        if (f.num_per_squad[s] == 0) {
            k = s - 1;
            break;
        }
    CopyWeights(f.SquadWeightMatrix, k, Weights);
}

CShowBestSquadMatrixDlg::CShowBestSquadMatrixDlg(CBrevimarDoc& doc, QWidget* parent)
    : CMatrixDisplayDlg(Kind::SquadMatrix, true, IDD, "Show Best Squad Matrix", parent)
{
    CGeneticAlgorithm(doc).DecodeBestChromosome();
    BestFitness(doc, FitnessShown);
    CopyWeights(doc.Ga.GaBestDecoded.SquadWeightMatrix, 8, Weights);
}

CShowCurrentSquadMatrixDlg::CShowCurrentSquadMatrixDlg(CBrevimarDoc& doc, QWidget* parent)
    : CMatrixDisplayDlg(Kind::SquadMatrix, false, IDD, "Show Current Squad Matrix", parent)
{
    CopyWeights(doc.RedForce.SquadWeightMatrix, doc.RedForce.NumSquads, Weights);
}

CShowBestCommMatrixDlg::CShowBestCommMatrixDlg(CBrevimarDoc&, QWidget* parent)
    : CMatrixDisplayDlg(Kind::CommMatrix, true, IDD, "Show Best Communications Matrix", parent)
{
}

CShowCurrentCommMatrixDlg::CShowCurrentCommMatrixDlg(CBrevimarDoc& doc, QWidget* parent)
    : CMatrixDisplayDlg(Kind::CommMatrix, false, IDD, "Show Current Communications Matrix", parent)
{
    const int n = std::clamp(doc.RedForce.NumSquads, 0, 8);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            Links[i][j] = doc.RedForce.CommMatrix[i][j];
}

// ------------------------------------------------------------------ summary

namespace {

using G = CGaSearchSummaryDlg;

const DialogTemplate& SummaryTemplate()
{
    static const DialogTemplate table{
        G::IDD,
        "Display::Genetic Algorithm Search Summary",
        {
            {DlgItem::Group, IDC_STATIC, "CURRENT GENERATION", 2},
            {DlgItem::Label, IDC_STATIC, "Generation"},
            {DlgItem::Edit, G::IDC_GENERATION},
            {DlgItem::Label, IDC_STATIC, "   /   "},
            {DlgItem::Edit, G::IDC_GENERATIONS},
            {DlgItem::Label, IDC_STATIC, "Best Fitness"},
            {DlgItem::Edit, G::IDC_BEST},
            {DlgItem::Label, IDC_STATIC, "Average Fitness"},
            {DlgItem::Edit, G::IDC_AVERAGE},
            {DlgItem::Label, IDC_STATIC, "Worst"},
            {DlgItem::Edit, G::IDC_WORST},
            {DlgItem::Label, IDC_STATIC, "Best Fitness (Overall)"},
            {DlgItem::Edit, G::IDC_BEST_OVERALL},
            {DlgItem::EndGroup},
            {DlgItem::Button, IDOK, "OK"},
        },
    };
    return table;
}

}  // namespace

CGaSearchSummaryDlg::CGaSearchSummaryDlg(QWidget* parent, CBrevimarDoc& doc) : CDialog(SummaryTemplate(), parent)
{
    Generation = doc.Experiment.GaGeneration;
    Generations = doc.Experiment.GaGenerations;
    Best = doc.Ga.GaBestFitness;
    Average = doc.Ga.GaAverageFitness;
    Worst = doc.Ga.GaWorstFitness;
    BestOverall = CGeneticAlgorithm(doc).Best().Fitness;
    // A window of its own: freed as soon as it is closed, by OK or the close box.
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    OnInitDialog();
    show();
}

void CGaSearchSummaryDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_GENERATION, Generation);
    DDV_MinMaxInt(dx, Generation, 0, 999);
    DDX_Text(dx, IDC_GENERATIONS, Generations);
    DDV_MinMaxInt(dx, Generations, 0, 999);
    DDX_Text(dx, IDC_BEST, Best);
    DDV_MinMaxDouble(dx, Best, 0.0, 1.0);
    DDX_Text(dx, IDC_AVERAGE, Average);
    DDV_MinMaxDouble(dx, Average, 0.0, 1.0);
    DDX_Text(dx, IDC_WORST, Worst);
    DDV_MinMaxDouble(dx, Worst, 0.0, 1.0);
    DDX_Text(dx, IDC_BEST_OVERALL, BestOverall);
    DDV_MinMaxDouble(dx, BestOverall, 0.0, 1.0);
}

}  // namespace brevimar
