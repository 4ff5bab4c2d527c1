#include "dialogs/WeaponDialogs.h"

#include <QLineEdit>

#include <algorithm>

#include "core/Document.h"
#include "dialogs/SquadSections.h"
#include "files/WeaponFiles.h"

namespace brevimar {

namespace {

using W = CAgentWeaponsDlg;
using G = CGrenadeDlg;

const char* SideWord(Side side) { return side == Side::Red ? "Red" : "Blue"; }

void SensorRadios(std::vector<DialogItem>& items, int firstId)
{
    items.emplace_back(DlgItem::Radio, firstId, "P(Hit) = CONST");
    items.emplace_back(DlgItem::Radio, firstId + 1, "P(Hit) = P(Cookie Cutter Dist/f center)");
    items.emplace_back(DlgItem::Radio, firstId + 2, "P(Hit) = P(Euclidean Dist/f center)");
}

DialogTemplate AssignTypeTemplate(Side side)
{
    DialogTemplate t{side == Side::Red ? 274u : 277u,
                     std::string("Specify ") + SideWord(side) + " Force Weapon Assignment Type", {}};
    t.Items.emplace_back(DlgItem::Radio, CWeaponAssignTypeDlg::IDC_SQUAD_SPECIFIC, "Squad-Specific");
    t.Items.emplace_back(DlgItem::Radio, CWeaponAssignTypeDlg::IDC_AGENT_SPECIFIC, "Agent-Specific");
    return t;
}

DialogTemplate AgentWeaponsTemplate(Side side)
{
    DialogTemplate t{side == Side::Red ? 273u : 275u,
                     std::string("Edit::") + SideWord(side) + " Agent-Specific Weapon Assignments", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "SQUAD", 5);
    SquadRadioItems(items, IDC_SQUAD_1);
    items.emplace_back(DlgItem::Button, W::IDC_SAVE_SQUAD, "Save Squad Data");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "WEAPON SENSOR TYPE", 1);
    SensorRadios(items, W::IDC_SENSOR_CONST);
    items.emplace_back(DlgItem::Group, IDC_STATIC, "AGENT-SPECIFIC WEAPON ASSIGNMENTS", 15);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Squad Size");
    items.emplace_back(DlgItem::Edit, W::IDC_SQUAD_SIZE);
    items.emplace_back(DlgItem::NewRow);
    for (const char* head : {"", "# Agents", "Max Tgts", "Range"})
        items.emplace_back(DlgItem::Label, IDC_STATIC, head);
    for (int r = 0; r < HitRanges; ++r)
        items.emplace_back(DlgItem::Label, IDC_STATIC, std::to_string(r));
    items.emplace_back(DlgItem::NewRow);
    for (int k = 0; k < WeaponKinds; ++k) {
        items.emplace_back(DlgItem::Label, IDC_STATIC,
                           k == 0 ? std::string("Area Weapon (Grenade)")
                                  : "Point-to-Point Weapon #" + std::to_string(k));
        items.emplace_back(DlgItem::Edit, W::AgentsId(k));
        if (k == 0)
            items.emplace_back(DlgItem::Label, IDC_STATIC, "No lim");
        else
            items.emplace_back(DlgItem::Edit, W::MaxTargetsId(k));
        items.emplace_back(DlgItem::Edit, k == 0 ? W::IDC_BLAST_RANGE : W::RangeId(k));
        for (int r = 0; r < HitRanges; ++r)
            items.emplace_back(DlgItem::Edit, W::ProbHitId(k, r));
        items.emplace_back(DlgItem::NewRow);
    }
    items.emplace_back(DlgItem::EndGroup);
    return t;
}

DialogTemplate GrenadeTemplate(Side side)
{
    DialogTemplate t{side == Side::Red ? 256u : 276u, std::string("Edit::") + SideWord(side) + " Grenade Parameters",
                     {}};
    auto& items = t.Items;
    auto numbers = [&items] {
        for (int r = 0; r < HitRanges; ++r)
            items.emplace_back(DlgItem::Label, IDC_STATIC, std::to_string(r));
        items.emplace_back(DlgItem::NewRow);
    };
    items.emplace_back(DlgItem::Group, IDC_STATIC, "THROW PARAMETERS", 2);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Minimum Throw Range");
    items.emplace_back(DlgItem::Edit, G::IDC_MIN_THROW);
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Maximum Throw Range");
    items.emplace_back(DlgItem::Edit, G::IDC_MAX_THROW);
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Prob that grenade will actually land");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "at the (x,y) location it is thrown to");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "(P(0) + P(1) + ... + P(R_max) = 1)");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", HitRanges);
    numbers();
    for (int r = 0; r < HitRanges; ++r)
        items.emplace_back(DlgItem::Edit, G::LandingId(r));
    items.emplace_back(DlgItem::Group, IDC_STATIC,
                       "PENALTY ASSESSMENT (i.e. decision criteria for where to throw grenade)", 3);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Fratricide Tolerance (F)");
    items.emplace_back(DlgItem::Edit, G::IDC_FRATRICIDE_TOLERANCE);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "(will NOT target x-y if # friends > F)");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Minimal Enemy Presence (E)");
    items.emplace_back(DlgItem::Edit, G::IDC_MIN_ENEMIES);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "(will NOT target x-y if # enemies < E)");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "BLAST EFFECTS", 2);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Blast Radius (R <= 10)");
    items.emplace_back(DlgItem::Edit, G::IDC_BLAST_RADIUS);
    items.emplace_back(DlgItem::Group, IDC_STATIC, "PROBABILITY OF HIT", 3);
    SensorRadios(items, G::IDC_SENSOR_CONST);
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "(will use R=0 value)");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Probability(Hit)");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", HitRanges);
    numbers();
    for (int r = 0; r < HitRanges; ++r)
        items.emplace_back(DlgItem::Edit, G::ProbHitId(r));
    items.emplace_back(DlgItem::EndGroup);
    return t;
}

}  // namespace

CWeaponAssignTypeDlg::CWeaponAssignTypeDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CDialog(AssignTypeTemplate(side), parent)
{
    const bool agent = doc.Force(side).WeaponsOn == 1;
    AgentSpecific = agent ? 1 : 0;
    SquadSpecific = agent ? 0 : 1;
    OnButton(IDC_SQUAD_SPECIFIC, [this] { Choose(false); });
    OnButton(IDC_AGENT_SPECIFIC, [this] { Choose(true); });
}

bool CWeaponAssignTypeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_SQUAD_SPECIFIC, IDC_AGENT_SPECIFIC,
                     AgentSpecific == 1 ? IDC_AGENT_SPECIFIC : IDC_SQUAD_SPECIFIC);
    return true;
}

void CWeaponAssignTypeDlg::Choose(bool agentSpecific)
{
    AgentSpecific = agentSpecific ? 1 : 0;
    SquadSpecific = agentSpecific ? 0 : 1;
    UpdateData(false);
    OnInitDialog();
}

CAgentWeaponsDlg::CAgentWeaponsDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(AgentWeaponsTemplate(side), parent), DlgSide(side)
{
    BindSquadRadios(IDC_SQUAD_1);
    Bind(IDC_SQUAD_SIZE, SquadSize, 0, 999);
    for (int k = 0; k < WeaponKinds; ++k) {
        Bind(AgentsId(k), Carriers[k], 0, 999);
        if (k == 0)
            Bind(IDC_BLAST_RANGE, Weapons.blast_range, 1, 999);
        else {
            Bind(MaxTargetsId(k), Weapons.max_tgts[k], 0, 999);
            Bind(RangeId(k), Weapons.fire_range[k], 0, k == 1 ? 99 : 999);
        }
        for (int r = 0; r < HitRanges; ++r)
            Bind(ProbHitId(k, r), Weapons.prob_hit[k][r], 0.0f, 1.0f);
    }
    for (int code = 0; code < 3; ++code)
        OnButton(IDC_SENSOR_CONST + code, [this, code] { OnSensor(code); });
    BindStore(IDC_SAVE_SQUAD, [this] { return OnSaveSquad(); });
    if (auto* size = qobject_cast<QLineEdit*>(GetDlgItem(IDC_SQUAD_SIZE)))
        size->setReadOnly(true);

    const CForce& f = doc.Force(side);
    SquadCount = std::clamp(f.NumSquads, 1, MaxSquads);
    CopySquadRow(SquadSize, f.num_per_squad, SquadCount);
    for (int k = 0; k < WeaponKinds; ++k)
        CopySquadRow(Carriers[k], WeaponCarriers(f, k), SquadCount);
    Weapons = side == Side::Red ? doc.AgentWeapons.Red : doc.AgentWeapons.Blue;
    ShowFirstSquad();
}

bool CAgentWeaponsDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    if (Weapons.sensor_type >= 0 && Weapons.sensor_type <= 2)
        CheckRadioButton(IDC_SENSOR_CONST, IDC_SENSOR_CONST + 2, IDC_SENSOR_CONST + Weapons.sensor_type);
    return true;
}

void CAgentWeaponsDlg::OnSensor(int code)
{
    Weapons.sensor_type = code;
    UpdateData(false);
    OnInitDialog();
}

bool CAgentWeaponsDlg::OnSaveSquad()
{
    if (!UpdateData(true))
        return false;
    const int k = std::clamp(CurrentSquad, 1, MaxSquads);
    const int size = SquadSize.Squad[k];
    // Once a count is changed, each must fit the squad beside the ones
    // before it, point-to-point weapons first and the grenade last; the
    // squad's counts left as they were are kept as they are.
    bool changed = false;
    for (int w = 0; w < WeaponKinds; ++w)
        changed = changed || Carriers[w].Edit != Carriers[w].Squad[k];
    if (changed) {
        CDataExchange dx(*this, true);
        int taken = 0;
        for (const int w : {1, 2, 3, 4, 5, static_cast<int>(Grenade)}) {
            if (dx.Begin(AgentsId(w)))
                DDV_MinMaxInt(dx, Carriers[w].Edit, 0, size - taken);
            taken += Carriers[w].Edit;
        }
        if (dx.Failed())
            return false;
    }
    for (int w = 0; w < WeaponKinds; ++w)
        Carriers[w].Squad[k] = Carriers[w].Edit;
    for (int s = 1; s <= SquadCount; ++s) {
        int counts[WeaponKinds];
        for (int w = 0; w < WeaponKinds; ++w)
            counts[w] = Carriers[w].Squad[s];
        BalanceCarrierCounts(counts, SquadSize.Squad[s]);
        for (int w = 0; w < WeaponKinds; ++w)
            Carriers[w].Squad[s] = counts[w];
    }
    LoadSquad(k);
    UpdateData(false);
    OnInitDialog();
    return true;
}

CGrenadeDlg::CGrenadeDlg(const CBrevimarDoc& doc, Side side, QWidget* parent) : CParamDlg(GrenadeTemplate(side), parent)
{
    Bind(IDC_MIN_THROW, Weapons.min_throw_range, 0, 15);
    Bind(IDC_MAX_THROW, Weapons.max_throw_range, 1, 15);
    for (int r = 0; r < HitRanges; ++r)
        Bind(LandingId(r), Weapons.prob_landing[r], 0.0f, 1.0f);
    Bind(IDC_FRATRICIDE_TOLERANCE, Weapons.fratricide_tolerance, 0, 99);
    Bind(IDC_MIN_ENEMIES, Weapons.use_threshold, 0, 99);
    Bind(IDC_BLAST_RADIUS, Weapons.blast_range, 0, 10);
    for (int r = 0; r < HitRanges; ++r)
        Bind(ProbHitId(r), Weapons.prob_hit[Grenade][r], 0.0f, 1.0f);
    for (int code = 0; code < 3; ++code)
        OnButton(IDC_SENSOR_CONST + code, [this, code] { OnSensor(code); });
    Weapons = side == Side::Red ? doc.AgentWeapons.Red : doc.AgentWeapons.Blue;
}

bool CGrenadeDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    if (Weapons.sensor_type >= 0 && Weapons.sensor_type <= 2)
        CheckRadioButton(IDC_SENSOR_CONST, IDC_SENSOR_CONST + 2, IDC_SENSOR_CONST + Weapons.sensor_type);
    return true;
}

void CGrenadeDlg::OnSensor(int code)
{
    Weapons.sensor_type = code;
    UpdateData(false);
    OnInitDialog();
}

void HandBackGrenade(SideWeapons& to, const SideWeapons& from)
{
    to.blast_range = from.blast_range;
    to.fratricide_tolerance = from.fratricide_tolerance;
    to.max_throw_range = from.max_throw_range;
    to.use_threshold = from.use_threshold;
    to.min_throw_range = from.min_throw_range;
    std::copy_n(from.prob_hit[Grenade], HitRanges, to.prob_hit[Grenade]);
    std::copy_n(from.prob_landing, HitRanges, to.prob_landing);
    to.sensor_type = from.sensor_type;
}

void HandBackAgentWeapons(CBrevimarDoc& doc, const CAgentWeaponsDlg& dlg)
{
    SideWeapons& to = doc.Weapons(dlg.DlgSide);
    const SideWeapons& from = dlg.Weapons;
    to.blast_range = from.blast_range;
    to.sensor_type = from.sensor_type;
    for (int k = 1; k < WeaponKinds; ++k) {
        to.fire_range[k] = from.fire_range[k];
        to.max_tgts[k] = from.max_tgts[k];
    }
    for (int k = 0; k < WeaponKinds; ++k)
        std::copy_n(from.prob_hit[k], HitRanges, to.prob_hit[k]);
    CForce& f = doc.Force(dlg.DlgSide);
    HandBackSquadRow(f.grenades, dlg.Carriers[Grenade], std::clamp(f.NumSquads, 0, MaxSquads));
    for (int k = 1; k < WeaponKinds; ++k)
        HandBackSquadRow(WeaponCarriers(f, k), dlg.Carriers[k], std::clamp(f.NumSquads, 0, MaxSquads));
    HandOutWeapons(f);
}

}  // namespace brevimar
