#include "dialogs/AgentParamsDlg.h"

#include <QLineEdit>

#include <algorithm>
#include <functional>
#include <utility>

#include "core/Document.h"
#include "core/SquadCopies.h"
#include "dialogs/HitProbDlg.h"
#include "dialogs/MatrixDlg.h"
#include "dialogs/PersonalityDlg.h"

namespace brevimar {

namespace {

using D = CAgentParamsDlg;

void Header(std::vector<DialogItem>& items)
{
    for (const char* header : {"", "Alive", "Injured"})
        items.emplace_back(DlgItem::Label, IDC_STATIC, header);
}

DialogTemplate AgentTemplate(Side side)
{
    const bool red = side == Side::Red;
    DialogTemplate t{red ? 140u : 141u, red ? "Edit::RED Agent Parameters" : "Edit::BLUE Agent Parameters", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "SQUAD", 4);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Squad");
    items.emplace_back(DlgItem::Edit, D::IDC_SHOW_SQUAD);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "/");
    items.emplace_back(DlgItem::Edit, D::IDC_NUM_SQUADS);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Squad Size");
    items.emplace_back(DlgItem::Edit, D::IDC_SQUAD_SIZE);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "/");
    items.emplace_back(DlgItem::Edit, D::IDC_AGENT_TOTAL);
    items.emplace_back(DlgItem::Button, D::IDC_DISPLAY_SQUAD, "Display Squad");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    items.emplace_back(DlgItem::Button, D::IDC_SAVE_SQUAD, "SAVE Squad Data");

    items.emplace_back(DlgItem::Group, IDC_STATIC, "RANGES", 3);
    Header(items);
    PairRow(items, "Sensor Range", {D::IDC_SENSOR_ALIVE, D::IDC_SENSOR_INJURED});
    PairRow(items, "Fire Range", {D::IDC_FIRE_ALIVE, D::IDC_FIRE_INJURED});
    PairRow(items, "Threshold Range", {D::IDC_THRESHOLD_ALIVE, D::IDC_THRESHOLD_INJURED});
    PairRow(items, "Movement Range", {D::IDC_MOVEMENT_ALIVE, D::IDC_MOVEMENT_INJURED});

    items.emplace_back(DlgItem::Group, IDC_STATIC, "OFFENSE/DEFENSE", 3);
    Header(items);
    PairRow(items, "Prob(Hit)", {D::IDC_PK_ALIVE, D::IDC_PK_INJURED});
    PairRow(items, "Max # Simul Tgts", {D::IDC_MAX_TARGETS_ALIVE, D::IDC_MAX_TARGETS_INJURED});
    PairRow(items, "Defense Measure", {D::IDC_DEFENSE_ALIVE, D::IDC_DEFENSE_INJURED});

    items.emplace_back(DlgItem::Group, IDC_STATIC, "Lethality Contours", 2);
    items.emplace_back(DlgItem::CheckBox, D::IDC_USER_DEFINED, "User-Defined");
    items.emplace_back(DlgItem::Button, D::IDC_OPEN_PR, "--> P(R)");
    items.emplace_back(DlgItem::CheckBox, D::IDC_FIXED, "Fixed");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::CheckBox, D::IDC_NORMALIZED, "Normalized");
    items.emplace_back(DlgItem::EndGroup);

    items.emplace_back(DlgItem::Column);
    items.emplace_back(DlgItem::Group, IDC_STATIC, "PERSONALITY", 3);
    PersonalityItems(items, side, true);
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Inter-Squad Weight Matrix");
    items.emplace_back(DlgItem::Button, D::IDC_OPEN_WEIGHT_MATRIX, "S[ i ][ j ]");

    items.emplace_back(DlgItem::Group, IDC_STATIC, "COMMUNICATIONS", 3);
    items.emplace_back(DlgItem::Radio, D::IDC_COMM_ON, "On");
    items.emplace_back(DlgItem::Radio, D::IDC_COMM_OFF, "Off");
    items.emplace_back(DlgItem::Button, D::IDC_OPEN_COMM_MATRIX, "C[ i ][ j ]");
    PairRow(items, "R", {D::IDC_COMM_RANGE});
    PairRow(items, "W", {D::IDC_COMM_WEIGHT_ALIVE, D::IDC_COMM_WEIGHT_INJURED});

    items.emplace_back(DlgItem::Group, IDC_STATIC, "FRATRICIDE", 2);
    items.emplace_back(DlgItem::CheckBox, D::IDC_FRATRICIDE_ON, "On/Off");
    items.emplace_back(DlgItem::NewRow);
    PairRow(items, "R", {D::IDC_FRATRICIDE_RANGE});
    PairRow(items, "P(Hit)", {D::IDC_FRATRICIDE_PROB});

    items.emplace_back(DlgItem::Group, IDC_STATIC, "RECONSTITUTION", 2);
    items.emplace_back(DlgItem::CheckBox, D::IDC_RECONSTITUTION_ON, "On/Off");
    items.emplace_back(DlgItem::NewRow);
    PairRow(items, "Recon-Time", {D::IDC_RECONSTITUTION_TIME});

    items.emplace_back(DlgItem::Column);
    items.emplace_back(DlgItem::Group, IDC_STATIC, "META-PERSONALITY", 4);
    MetaItems(items, side);
    items.emplace_back(DlgItem::EndGroup);
    return t;
}

}  // namespace

CAgentParamsDlg::CAgentParamsDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(AgentTemplate(side), parent), DlgSide(side), RandomSource(&doc.host())
{
    const bool red = side == Side::Red;
    Bind(IDC_SHOW_SQUAD, ShowSquad, 1, 15);
    Bind(IDC_NUM_SQUADS, EditedSquads, 1, MaxSquads);
    Bind(IDC_SQUAD_SIZE, SquadSize, 0, 400);
    Bind(IDC_AGENT_TOTAL, AgentTotal, 0, 999);
    Bind(IDC_SENSOR_ALIVE, SensorAlive, 1, 99);
    Bind(IDC_SENSOR_INJURED, SensorInjured, 1, 99);
    Bind(IDC_FIRE_ALIVE, FireAlive, 1, 99);
    Bind(IDC_FIRE_INJURED, FireInjured, 1, 99);
    Bind(IDC_THRESHOLD_ALIVE, ThresholdAlive, 1, 99);
    Bind(IDC_THRESHOLD_INJURED, ThresholdInjured, 1, 99);
    Bind(IDC_MOVEMENT_ALIVE, MovementAlive, 0, MaxMoveRange);
    Bind(IDC_MOVEMENT_INJURED, MovementInjured, 0, MaxMoveRange);
    Bind(IDC_PK_ALIVE, PkAlive, 0.0f, 1.0f);
    Bind(IDC_PK_INJURED, PkInjured, 0.0f, 1.0f);
    Bind(IDC_MAX_TARGETS_ALIVE, MaxTargetsAlive, 1, 999);
    Bind(IDC_MAX_TARGETS_INJURED, MaxTargetsInjured, 1, 999);
    Bind(IDC_DEFENSE_ALIVE, DefenseAlive, 1, 99);
    Bind(IDC_DEFENSE_INJURED, DefenseInjured, 1, 99);
    BindChoice(LethalityContourMode, {{IDC_USER_DEFINED, 1}, {IDC_FIXED, 0}, {IDC_NORMALIZED, 2}});
    Personality.Bind(*this, {red ? -100.0f : -1.0f, red ? 100.0f : 1.0f, 0.0f, 1.0f});
    BindOnOff(IDC_COMM_ON, IDC_COMM_OFF, CommOn);
    Bind(IDC_COMM_RANGE, CommRange, 0, red ? 99 : 300);
    Bind(IDC_COMM_WEIGHT_ALIVE, CommWeightAlive, 0.0f, 1.0f);
    Bind(IDC_COMM_WEIGHT_INJURED, CommWeightInjured, 0.0f, 1.0f);
    BindCheck(IDC_FRATRICIDE_ON, FratricideOn);
    Bind(IDC_FRATRICIDE_RANGE, FratricideRange, 0, red ? 25 : 99);
    Bind(IDC_FRATRICIDE_PROB, FratricideProb, 0.0f, 1.0f);
    BindCheck(IDC_RECONSTITUTION_ON, ReconstitutionOn);
    Bind(IDC_RECONSTITUTION_TIME, ReconstitutionTime, 0, red ? 100 : 99);
    Meta.Bind(*this, side, AgentMetaRanges(side));

    OnButton(IDC_DISPLAY_SQUAD, [this] { OnDisplaySquad(); });
    BindStore(IDC_SAVE_SQUAD);
    OnButton(IDC_RANDOMIZE_ALIVE, [this] {
        Personality.Randomize(*RandomSource, DlgSide, true, false);
        UpdateData(false);
    });
    OnButton(IDC_RANDOMIZE_INJURED, [this] {
        Personality.Randomize(*RandomSource, DlgSide, false, false);
        UpdateData(false);
    });
    // These sub-dialogs cover the squads as typed, confirmed or not.
    const auto forTypedSquads = [this](int id, std::function<void()> open) {
        OnButton(id, [this, open = std::move(open)] {
            if (TakeTypedSquadCount())
                open();
        });
    };
    forTypedSquads(IDC_OPEN_COMM_MATRIX, [this] { OpenCommMatrix(); });
    forTypedSquads(IDC_OPEN_WEIGHT_MATRIX, [this] { OpenWeightMatrix(); });
    forTypedSquads(IDC_OPEN_AREA, [this] { OpenAreaSubDialog(*this, DlgSide, Personality, SubDialogSquads()); });
    forTypedSquads(IDC_OPEN_FORMATION,
                   [this] { OpenFormationSubDialog(*this, DlgSide, Personality, SubDialogSquads()); });
    OnButton(IDC_OPEN_PR, [this] { OpenHitProbability(); });
    if (auto* total = qobject_cast<QLineEdit*>(GetDlgItem(IDC_AGENT_TOTAL)))
        total->setReadOnly(true);

    // Copy-in.
    const CForce& f = doc.Force(side);
    SquadCount = std::clamp(f.NumSquads, 1, MaxSquads);
    EditedSquads = SquadCount;
    // The sizes a save writes: agents a right click took off are no longer
    // the scenario's.
    AgentTotal = f.NumAgents - f.HandRemovedCount();
    const int n = SquadCount;
    int sizes[SquadSlots] = {};
    for (int s = 1; s <= MaxSquads; ++s)
        sizes[s] = f.num_per_squad[s] - f.HandRemovedFrom(s);
    CopySquadRow(SquadSize, sizes, n);
    CopySquadRow(SensorAlive, f.A_S_RANGE, n);
    CopySquadRow(SensorInjured, f.I_S_RANGE, n);
    CopySquadRow(FireAlive, f.A_F_RANGE, n);
    CopySquadRow(FireInjured, f.I_F_RANGE, n);
    CopySquadRow(ThresholdAlive, f.A_C_RANGE, n);
    CopySquadRow(ThresholdInjured, f.I_C_RANGE, n);
    CopySquadRow(MovementAlive, f.A_M_RANGE, n);
    CopySquadRow(MovementInjured, f.I_M_RANGE, n);
    CopySquadRow(PkAlive, f.shot_prob_alive, n);
    CopySquadRow(PkInjured, f.shot_prob_injured, n);
    CopySquadRow(MaxTargetsAlive, f.A_R_max_eng_num, n);
    CopySquadRow(MaxTargetsInjured, f.I_R_max_eng_num, n);
    CopySquadRow(DefenseAlive, f.alive_strength, n);
    CopySquadRow(DefenseInjured, f.injured_strength, n);
    Personality.CopyIn(doc, side, n);
    Meta.CopyIn(f, side, n);
    const CBattlefield& b = doc.Battlefield;
    TargetsShownUnlimited = (red ? b.RedCombatUnlimited : b.BlueCombatUnlimited) == 1;
    if (TargetsShownUnlimited)
        for (int s = 1; s <= MaxSquads; ++s)
            MaxTargetsAlive.Squad[s] = MaxTargetsInjured.Squad[s] = NoTargetLimit;
    CommOn = f.CommOn;
    CommRange = f.COMM_range;
    CommWeightAlive = f.A_COMM_weight;
    CommWeightInjured = f.I_COMM_weight;
    FratricideOn = red ? b.red_frat_flag : b.blue_frat_flag;
    FratricideRange = red ? b.red_frat_rad : b.blue_frat_rad;
    FratricideProb = red ? b.red_frat_prob : b.blue_frat_prob;
    ReconstitutionOn = red ? b.RED_recon_flag : b.BLUE_recon_flag;
    ReconstitutionTime = f.recon_time;
    LethalityContourMode = f.WeaponFunction.function_type;
    PrFunctionsDefined = f.SquadWeaponsDefined;
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j) {
            CommMatrix[i][j] = f.CommMatrix[i][j];
            SquadWeightMatrix[i][j] = f.SquadWeightMatrix[i][j];
        }
    HitProbability = f.WeaponFunction;
    FilledSquads = SquadCount;
    ShowFirstSquad();
    ShowSquad = 1;
}

void CAgentParamsDlg::AddSquads()
{
    // A new squad starts as a copy of the last one, as it holds it: a size,
    // since a squad without agents is dropped when the forces are set up,
    // and values another dialog stored outside this one's fields, which are
    // shown and kept as the last squad's are; the user changes what should
    // differ. The document's rows above its squad count, which the user
    // never saw, are not taken.
    // The hand-back gives the tables this dialog does not hold the same
    // copies (AddSquadCopies); the matrix cells and the function in use
    // follow its rule here, so that the sub-dialogs show what is stored.
    const int from = FilledSquads;
    for (int s = from + 1; s <= std::clamp(EditedSquads, 1, MaxSquads); ++s) {
        CopySquad(from, s);
        for (SquadValue<int>* area : {&Personality.AreaCenterX, &Personality.AreaCenterY, &Personality.AreaRangeX,
                                      &Personality.AreaRangeY})
            area->Squad[s] = area->Squad[from];
        for (SquadValue<float>* ring : {&Personality.FlockInnerAlive, &Personality.FlockInnerInjured,
                                        &Personality.FlockOuterAlive, &Personality.FlockOuterInjured})
            ring->Squad[s] = ring->Squad[from];
        CopySquadRowAndColumn(CommMatrix, from, s);
        CopySquadRowAndColumn(SquadWeightMatrix, from, s);
        HitProbability.weapon_squad[s] = HitProbability.weapon_squad[from];
        FilledSquads = s;
    }
}

bool CAgentParamsDlg::TakeTypedSquadCount()
{
    CDataExchange dx(*this, true);
    DDX_Text(dx, IDC_NUM_SQUADS, EditedSquads);
    DDV_MinMaxInt(dx, EditedSquads, 1, MaxSquads);
    if (dx.Failed())
        return false;
    AddSquads();
    return true;
}

int CAgentParamsDlg::SubDialogSquads() const { return std::clamp(EditedSquads, 1, MaxSquads); }

void CAgentParamsDlg::OnDisplaySquad()
{
    if (!UpdateData(true))
        return;
    AddSquads();
    ShowSquad = std::min(ShowSquad, SubDialogSquads());
    CurrentSquad = ShowSquad;
    LoadSquad(CurrentSquad);
    UpdateData(false);
    OnInitDialog();
}

bool CAgentParamsDlg::StoreSquad()
{
    if (!UpdateData(true))
        return false;
    if (CurrentSquad <= SubDialogSquads() && !CParamDlg::StoreSquad())
        return false;
    // After the store: a squad the same press adds copies the last squad
    // with what was just stored in it.
    AddSquads();
    return true;
}

int CAgentParamsDlg::SquadSizeTotal() const
{
    int total = 0;
    for (int s = 1; s <= SubDialogSquads(); ++s)
        total += SquadSize.Squad[s];
    return total;
}

void CAgentParamsDlg::OnOK()
{
    if (!StoreSquad())
        return;
    // Every agent of a side has a slot of its own; more would be lost.
    if (const int total = SquadSizeTotal(); total > MaxAgents) {
        MessageBox(std::string(DlgSide == Side::Red ? "RED" : "BLUE") + " squad sizes add up to " +
                       std::to_string(total) + " agents; a side holds at most " + std::to_string(MaxAgents) + ".",
                   {}, MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}

void CAgentParamsDlg::OpenCommMatrix()
{
    const int n = SubDialogSquads();
    CCommMatrixDlg dlg(DlgSide, this);
    dlg.SquadCount = n;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            dlg.C[i][j] = CommMatrix[i][j];
    if (dlg.DoModal() == IDOK) {
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                CommMatrix[i][j] = dlg.C[i][j];
        CommMatrixEdited = true;
    }
    Invalidate(false);
}

void CAgentParamsDlg::OpenHitProbability()
{
    Invalidate(true);
    CHitProbDlg dlg(DlgSide, this);
    // The squads as stored so far, bounded by the count read at construction.
    dlg.SquadCount = SquadCount;
    CopyHitFunctions(dlg.Functions, HitProbability);
    for (int s = 1; s <= MaxSquads; ++s) {
        dlg.FireRangeAlive[s] = FireAlive.Squad[s];
        dlg.FireRangeInjured[s] = FireInjured.Squad[s];
    }
    dlg.ShowFirstSquad();
    if (dlg.DoModal() != IDOK)
        return;
    CopyHitFunctions(HitProbability, dlg.Functions);
    PrFunctionsDefined = 1;
}

void CAgentParamsDlg::OpenWeightMatrix()
{
    CSquadWeightMatrixDlg dlg(DlgSide, this);
    dlg.SquadCount = SubDialogSquads();
    dlg.RefusesCellsBeyondSquads = true;  // only the squads' cells are handed back
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j)
            dlg.S[i][j] = SquadWeightMatrix[i][j];
    if (dlg.DoModal() == IDOK)
        for (int i = 1; i <= MaxSquads; ++i)
            for (int j = 1; j <= MaxSquads; ++j)
                SquadWeightMatrix[i][j] = dlg.S[i][j];
    Invalidate(false);
}

void CAgentParamsDlg::HandBackMaxTargets(CForce& f, int count) const
{
    for (int s = 1; s <= count && s <= MaxSquads; ++s) {
        // An added squad showed its source's 999 and holds its source's
        // stored limits (AddSquadCopies).
        const bool shownUnlimited = TargetsShownUnlimited && s <= FilledSquads;
        if (!shownUnlimited || MaxTargetsAlive.Squad[s] != NoTargetLimit)
            f.A_R_max_eng_num[s] = MaxTargetsAlive.Squad[s];
        if (!shownUnlimited || MaxTargetsInjured.Squad[s] != NoTargetLimit)
            f.I_R_max_eng_num[s] = MaxTargetsInjured.Squad[s];
    }
}

}  // namespace brevimar
