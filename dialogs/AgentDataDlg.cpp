#include "dialogs/AgentDataDlg.h"

#include <QLineEdit>
#include <QPoint>

#include <algorithm>
#include <array>

#include "core/Document.h"

namespace brevimar {

namespace {

enum class Kind { Int, Float, Double };

// One alive/injured row: how it is shown and checked, and where its squad
// values come from.
struct RowSpec {
    const char* Label;
    Kind Type;
    double Low[2];
    double High[2];
    double (*Value)(const CForce& f, int s, int column);
};

template <typename T>
double Pick(const T* alive, const T* injured, int s, int column)
{
    return static_cast<double>(column == 0 ? alive[s] : injured[s]);
}

#define BREVIMAR_ROW(label, kind, lo0, hi0, lo1, hi1, alive, injured)                                 \
    RowSpec                                                                                             \
    {                                                                                                   \
        label, kind, {lo0, lo1}, {hi0, hi1},                                                            \
            [](const CForce& f, int s, int c) { return Pick(f.alive, f.injured, s, c); }               \
    }

const std::array<RowSpec, CAgentDataDlg::RowCount>& Rows()
{
    static const std::array<RowSpec, CAgentDataDlg::RowCount> rows{{
        BREVIMAR_ROW("Sensor Range", Kind::Int, 1, 25, 1, 25, A_S_RANGE, I_S_RANGE),
        BREVIMAR_ROW("Fire Range", Kind::Int, 1, 25, 1, 25, A_F_RANGE, I_F_RANGE),
        BREVIMAR_ROW("Movement Range", Kind::Int, 0, 4, 0, 4, A_M_RANGE, I_M_RANGE),
        BREVIMAR_ROW("Threshold Range", Kind::Int, 0, 15, 1, 10, A_C_RANGE, I_C_RANGE),
        BREVIMAR_ROW("--> Alive RED", Kind::Float, -100, 100, -100, 100, w1_a, w1_i),
        BREVIMAR_ROW("--> Alive BLUE", Kind::Float, -100, 100, -100, 100, w2_a, w2_i),
        BREVIMAR_ROW("--> Injured RED", Kind::Float, -100, 100, -100, 100, w3_a, w3_i),
        BREVIMAR_ROW("--> Injured BLUE", Kind::Float, -100, 100, -100, 100, w4_a, w4_i),
        BREVIMAR_ROW("--> RED Goal", Kind::Float, -100, 100, -100, 100, w5_a, w5_i),
        BREVIMAR_ROW("--> BLUE Goal", Kind::Float, -100, 100, -100, 100, w6_a, w6_i),
        BREVIMAR_ROW("--> Area", Kind::Float, -100, 100, -100, 100, w_area_alive, w_area_injured),
        BREVIMAR_ROW("--> Formation", Kind::Float, -100, 100, -100, 100, w_flock_alive, w_flock_injured),
        BREVIMAR_ROW("--> Terrain", Kind::Float, -100, 100, -100, 100, w_terrain_alive, w_terrain_injured),
        BREVIMAR_ROW("ADV", Kind::Int, 0, 25, 0, 25, A_ADVANCE_num, I_ADVANCE_num),
        BREVIMAR_ROW("CLS", Kind::Int, 0, 99, 0, 99, A_CLUSTER_num, I_CLUSTER_num),
        BREVIMAR_ROW("CBT", Kind::Int, -99, 99, -99, 99, A_COMBAT_num, I_COMBAT_num),
        BREVIMAR_ROW("RET", Kind::Int, -999, 999, -999, 999, A_RETREAT_num, I_RETREAT_num),
        BREVIMAR_ROW("HLD", Kind::Double, 0, 1, 0, 1, A_HOLD_f, I_HOLD_f),
        BREVIMAR_ROW("P-I", Kind::Int, -999, 999, -999, 999, A_PURSUIT1_num, I_PURSUIT1_num),
        BREVIMAR_ROW("P-II", Kind::Int, -999, 999, -999, 999, A_PURSUIT2_num, I_PURSUIT2_num),
        BREVIMAR_ROW("S-I", Kind::Int, -999, 999, -999, 999, A_SUPPORT1_num, I_SUPPORT1_num),
        BREVIMAR_ROW("S-II", Kind::Int, -999, 999, -999, 999, A_SUPPORT2_num, I_SUPPORT2_num),
        BREVIMAR_ROW("Min/B", Kind::Float, 0, 100, 0, 100, A_R_B_min_dist, I_R_B_min_dist),
        BREVIMAR_ROW("Min/R", Kind::Float, 0, 100, 0, 100, A_R_R_min_dist, I_R_R_min_dist),
        BREVIMAR_ROW("Min/RF", Kind::Float, 0, 100, 0, 100, A_R_R_goal_min, I_R_R_goal_min),
        BREVIMAR_ROW("Min/T", Kind::Int, 0, 999, 0, 999, A_R_terrain_min, I_R_terrain_min),
        BREVIMAR_ROW("Min/A", Kind::Int, 0, 999, 0, 999, A_R_area_min, I_R_area_min),
        BREVIMAR_ROW("Defense Measure", Kind::Int, 1, 100, 1, 100, alive_strength, injured_strength),
        BREVIMAR_ROW("Max # Simul Tgts", Kind::Int, 0, 999, 0, 999, A_R_max_eng_num, I_R_max_eng_num),
        BREVIMAR_ROW("Single-Shot P(K)", Kind::Float, 0, 1, 0, 1, shot_prob_alive, shot_prob_injured),
    }};
    return rows;
}
#undef BREVIMAR_ROW

// The rows are labelled by side name and read RED's fields; a force block
// keeps these fields by own side and other side, so BLUE's window reads each
// pair of side-named rows crosswise: "--> Alive RED" shows BLUE's weight
// toward RED.
int SourceRow(Side side, int row)
{
    if (side == Side::Red)
        return row;
    switch (row) {
    case 4: case 6: case 8: return row + 1;  // the rows named RED: BLUE's fields toward RED
    case 5: case 7: case 9: return row - 1;
    case 22: return 23;  // "Min/B": BLUE's distance to its own side
    case 23: return 22;
    default: return row;
    }
}

constexpr int MinDistRfRow = 24;
constexpr int MaxTargetsRow = 28;
constexpr int NoLimitTargets = 999;

DialogTemplate AgentDataTemplate(Side side)
{
    const bool red = side == Side::Red;
    DialogTemplate t;
    t.Id = red ? CRedAgentDataDlg::IDD : CBlueAgentDataDlg::IDD;
    t.Caption = red ? "RED Agent Data" : "BLUE Agent Data";
    auto& items = t.Items;
    items.push_back({DlgItem::Group, IDC_STATIC, "", 4});
    items.push_back({DlgItem::Button, red ? CRedAgentDataDlg::IDC_DISPLAY_SQUAD : CBlueAgentDataDlg::IDC_DISPLAY_SQUAD,
                     "Display Squad"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_SQUAD});
    items.push_back({DlgItem::Label, IDC_STATIC, "/"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_SQUADS});
    items.push_back({DlgItem::Label, IDC_STATIC, "Squad Size"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_SQUAD_SIZE});
    items.push_back({DlgItem::Label, IDC_STATIC, "/"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_AGENTS});
    items.push_back({DlgItem::Group, IDC_STATIC, "", 3});
    for (const char* heading : {"", "Alive", "Injured"})
        items.push_back({DlgItem::Label, IDC_STATIC, heading});
    for (int r = 0; r < CAgentDataDlg::RowCount; ++r) {
        const char* label = Rows()[r].Label;
        items.push_back({DlgItem::Label, IDC_STATIC, r == MinDistRfRow && !red ? "Min/BF" : label});
        items.push_back({DlgItem::Edit, CAgentDataDlg::RowControl(r, 0)});
        items.push_back({DlgItem::Edit, CAgentDataDlg::RowControl(r, 1)});
    }
    items.push_back({DlgItem::Column});
    items.push_back({DlgItem::Group, IDC_STATIC, "Communications"});
    items.push_back({DlgItem::Radio, CAgentDataDlg::IDC_COMM_ON, "On"});
    items.push_back({DlgItem::Radio, CAgentDataDlg::IDC_COMM_ON + 1, "Off"});
    items.push_back({DlgItem::Label, IDC_STATIC, "Range"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_COMM_RANGE});
    items.push_back({DlgItem::Label, IDC_STATIC, "Weight"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_COMM_WEIGHT_ALIVE});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_COMM_WEIGHT_INJURED});
    items.push_back({DlgItem::Group, IDC_STATIC, "Reconstitution"});
    items.push_back({DlgItem::Radio, CAgentDataDlg::IDC_RECON_ON, "On"});
    items.push_back({DlgItem::Radio, CAgentDataDlg::IDC_RECON_ON + 1, "Off"});
    items.push_back({DlgItem::Label, IDC_STATIC, "Reconstitution Time"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_RECON_TIME});
    items.push_back({DlgItem::Group, IDC_STATIC, "Fratricide"});
    items.push_back({DlgItem::Radio, CAgentDataDlg::IDC_FRAT_ON, "On"});
    items.push_back({DlgItem::Radio, CAgentDataDlg::IDC_FRAT_ON + 1, "Off"});
    items.push_back({DlgItem::Label, IDC_STATIC, "Fratricide Radius"});
    items.push_back({DlgItem::Edit, CAgentDataDlg::IDC_FRAT_RADIUS});
    items.push_back({DlgItem::EndGroup});
    return t;
}

}  // namespace

CAgentDataDlg::CAgentDataDlg(Side side, QWidget* parent, const CBrevimarDoc* doc)
    : CDialog(AgentDataTemplate(side), parent), DlgSide(side)
{
    const bool red = side == Side::Red;
    const CForce& f = doc->Force(side);
    const CBattlefield& b = doc->Battlefield;
    Squads = std::clamp(f.NumSquads, 1, MaxSquads);
    Agents = f.NumAgents;
    CommOn = f.CommOn;
    CommRange = f.COMM_range;
    CommWeightAlive = f.A_COMM_weight;
    CommWeightInjured = f.I_COMM_weight;
    ReconOn = red ? b.RED_recon_flag : b.BLUE_recon_flag;
    ReconTime = f.recon_time;
    FratOn = red ? b.red_frat_flag : b.blue_frat_flag;
    FratRadius = red ? b.red_frat_rad : b.blue_frat_rad;
    NoTargetLimit = (red ? b.RedCombatUnlimited : b.BlueCombatUnlimited) == 1;
    if (doc->RunMode == 2) {
        // A replayed frame file: the run header's snapshot of the side, one
        // set of values; of its fields only the agent count has a meaning,
        // and the scenario's squads have nothing to do with the replay.
        Squads = 1;
        Agents = red ? doc->RunHeader.RedCount : doc->RunHeader.BlueCount;
        SquadSizes[1] = Agents;
        CommOn = ReconOn = FratOn = 0;
        CommRange = FratRadius = 0;
        CommWeightAlive = CommWeightInjured = 0;
        ReconTime = 0;
        NoTargetLimit = false;
    } else {
        for (int s = 1; s <= Squads; ++s) {
            SquadSizes[s] = f.num_per_squad[s];
            for (int r = 0; r < RowCount; ++r)
                for (int c = 0; c < 2; ++c)
                    Values[s][r][c] = Rows()[SourceRow(side, r)].Value(f, s, c);
        }
    }
    OnButton(red ? CRedAgentDataDlg::IDC_DISPLAY_SQUAD : CBlueAgentDataDlg::IDC_DISPLAY_SQUAD,
             [this] { OnDisplaySquad(); });
    // A snapshot to read, not to edit: only the squad number takes typing.
    for (const DialogItem& item : Template().Items)
        if (item.Kind == DlgItem::Edit && item.Id != IDC_SQUAD)
            if (auto* box = qobject_cast<QLineEdit*>(GetDlgItem(item.Id)))
                box->setReadOnly(true);

    // Beside the battlefield, where it hides neither the field nor the other side's window.
    setModal(false);
    ShowSquad(1);
    const QPoint corner = parent ? parent->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    move(corner + (red ? QPoint(775, 70) : QPoint(10, 70)));
    show();
}

void CAgentDataDlg::LoadRows(int squad)
{
    Squad = std::clamp(squad, 1, Squads);
    SquadSize = SquadSizes[Squad];
    for (int r = 0; r < RowCount; ++r)
        for (int c = 0; c < 2; ++c) {
            double v = Values[Squad][r][c];
            if (r == MaxTargetsRow && NoTargetLimit)
                v = NoLimitTargets;
            IntShown[r][c] = static_cast<int>(v);
            FloatShown[r][c] = static_cast<float>(v);
            DoubleShown[r][c] = v;
        }
}

void CAgentDataDlg::ShowSquad(int squad)
{
    LoadRows(squad);
    UpdateData(false);
    CheckRadioButton(IDC_COMM_ON, IDC_COMM_ON + 1, CommOn == 1 ? IDC_COMM_ON : IDC_COMM_ON + 1);
    CheckRadioButton(IDC_RECON_ON, IDC_RECON_ON + 1, ReconOn == 1 ? IDC_RECON_ON : IDC_RECON_ON + 1);
    CheckRadioButton(IDC_FRAT_ON, IDC_FRAT_ON + 1, FratOn == 1 ? IDC_FRAT_ON : IDC_FRAT_ON + 1);
}

void CAgentDataDlg::OnDisplaySquad()
{
    // A refused box is told to the user, but the squad asked for still shows,
    // the nearest there is when its number is out of range.
    if (!UpdateData(true))
        Squad = GetDlgItemInt(IDC_SQUAD).value_or(Squad);
    LoadRows(Squad);
    UpdateData(false);
}

void CAgentDataDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_SQUAD, Squad);
    DDV_MinMaxInt(dx, Squad, 1, 15);
    DDX_Text(dx, IDC_SQUADS, Squads);
    DDV_MinMaxInt(dx, Squads, 1, 99);
    DDX_Text(dx, IDC_SQUAD_SIZE, SquadSize);
    DDV_MinMaxInt(dx, SquadSize, 1, MaxAgents);
    DDX_Text(dx, IDC_AGENTS, Agents);
    DDV_MinMaxInt(dx, Agents, 0, 999);
    for (int r = 0; r < RowCount; ++r) {
        const RowSpec& row = Rows()[r];
        for (int c = 0; c < 2; ++c) {
            const int id = RowControl(r, c);
            switch (row.Type) {
            case Kind::Int:
                DDX_Text(dx, id, IntShown[r][c]);
                DDV_MinMaxInt(dx, IntShown[r][c], static_cast<int>(row.Low[c]), static_cast<int>(row.High[c]));
                break;
            case Kind::Float:
                DDX_Text(dx, id, FloatShown[r][c]);
                DDV_MinMaxFloat(dx, FloatShown[r][c], static_cast<float>(row.Low[c]), static_cast<float>(row.High[c]));
                break;
            case Kind::Double:
                DDX_Text(dx, id, DoubleShown[r][c]);
                DDV_MinMaxDouble(dx, DoubleShown[r][c], row.Low[c], row.High[c]);
                break;
            }
        }
    }
    DDX_Text(dx, IDC_COMM_RANGE, CommRange);
    DDV_MinMaxInt(dx, CommRange, 0, 99);
    DDX_Text(dx, IDC_COMM_WEIGHT_ALIVE, CommWeightAlive);
    DDV_MinMaxFloat(dx, CommWeightAlive, 0.0f, 1.0f);
    DDX_Text(dx, IDC_COMM_WEIGHT_INJURED, CommWeightInjured);
    DDV_MinMaxFloat(dx, CommWeightInjured, 0.0f, 1.0f);
    DDX_Text(dx, IDC_RECON_TIME, ReconTime);
    DDV_MinMaxInt(dx, ReconTime, 1, 999);
    DDX_Text(dx, IDC_FRAT_RADIUS, FratRadius);
    DDV_MinMaxInt(dx, FratRadius, 0, 25);
}

void CAgentDataDlg::OnOK()
{
    OnCancel();
}

void CAgentDataDlg::OnCancel()
{
    // Closing frees the window; the view's pointer to it turns null.
    hide();
    deleteLater();
}

}  // namespace brevimar
