#include "dialogs/PassableTerrainDlg.h"

#include <algorithm>

#include "core/Document.h"
#include "dialogs/SquadSections.h"

namespace brevimar {

namespace {

using P = CPassableTerrainDlg;

struct SlabRow {
    const char* Label;
    const char* Sign;
    int AliveSlab;
};
constexpr SlabRow DeltaRows[] = {
    {"Sensor Range", "-", 12},   {"Fire range", "-", 4},      {"Threshold Range", "-", 14}, {"Movement Range", "-", 8},
    {"Comm Range", "-", 0},      {"Defense Strength", "+", 16}, {"Max # Simul Tgts", "-", 6},
};
constexpr SlabRow FactorRows[] = {{"Comm Weight", "", 2}, {"Prob(Hit)", "", 10}};

void TypeHeads(std::vector<DialogItem>& items, bool split)
{
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    for (const char* type : {"Terrain Type-I", "Terrain Type-II", "Terrain Type-III"}) {
        items.emplace_back(DlgItem::Label, IDC_STATIC, split ? "" : type);
        items.emplace_back(DlgItem::Label, IDC_STATIC, split ? "Alive" : "");
        items.emplace_back(DlgItem::Label, IDC_STATIC, split ? "Injured" : "");
    }
    items.emplace_back(DlgItem::NewRow);
}

void SlabRows(std::vector<DialogItem>& items, const SlabRow* rows, int count)
{
    TypeHeads(items, false);
    TypeHeads(items, true);
    for (int k = 0; k < count; ++k) {
        items.emplace_back(DlgItem::Label, IDC_STATIC, rows[k].Label);
        for (int c = 1; c < TerrainColumns; ++c) {
            items.emplace_back(DlgItem::Label, IDC_STATIC, rows[k].Sign);
            items.emplace_back(DlgItem::Edit, P::SlabId(rows[k].AliveSlab, c));
            items.emplace_back(DlgItem::Edit, P::SlabId(rows[k].AliveSlab + 1, c));
        }
        items.emplace_back(DlgItem::NewRow);
    }
}

DialogTemplate PassableTemplate(Side side)
{
    const bool red = side == Side::Red;
    DialogTemplate t{red ? 252u : 257u,
                     red ? "Edit::Red Passable-Terrain Modifiers" : "Edit::Blue Passable-Terrain Modifiers", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "SQUAD", 11);
    SquadRadioItems(items, IDC_SQUAD_1);
    items.emplace_back(DlgItem::Button, IDC_STORE_SQUAD, red ? "Save Red Squad Data" : "Save Blue Squad Data");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "DEFINE VISIBILITY INDEX (0 <= V <= 1)", 4);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    for (const char* type : {"Terrain Type-I", "Terrain Type-II", "Terrain Type-III"})
        items.emplace_back(DlgItem::Label, IDC_STATIC, type);
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Visibility Index (V) =");
    for (int c = 1; c < TerrainColumns; ++c)
        items.emplace_back(DlgItem::Edit, P::VisibilityId(c));
    items.emplace_back(DlgItem::Group, IDC_STATIC, "DEFINE DEGRADATION DELTAs dX (X --> X +/- dX), dX >= 0", 10);
    SlabRows(items, DeltaRows, 7);
    items.emplace_back(DlgItem::Group, IDC_STATIC, "DEFINE DEGRADATION FACTORs dX (X --> dX * X), 0 <= dX <= 1", 10);
    SlabRows(items, FactorRows, 2);
    items.emplace_back(DlgItem::EndGroup);
    items.emplace_back(DlgItem::Button, P::IDC_SET_ALL, "Set ALL Squads = Squad #1");
    return t;
}

}  // namespace

int (*AmountSlab(CTerrainModifierSet& m, int slab))[TerrainColumns]
{
    switch (slab) {
    case 0: return m.A_comm_range;
    case 1: return m.I_comm_range;
    case 4: return m.A_fire_range;
    case 5: return m.I_fire_range;
    case 6: return m.A_max_tgts_alive;
    case 7: return m.I_max_tgts_alive;
    case 8: return m.A_movement_range;
    case 9: return m.I_movement_range;
    case 12: return m.A_sensor_range;
    case 13: return m.I_sensor_range;
    case 14: return m.A_threshold_range;
    case 15: return m.I_threshold_range;
    case 16: return m.A_defense_alive;
    case 17: return m.I_defense_alive;
    default: return nullptr;
    }
}

float (*FactorSlab(CTerrainModifierSet& m, int slab))[TerrainColumns]
{
    switch (slab) {
    case 2: return m.A_comm_weight;
    case 3: return m.I_comm_weight;
    case 10: return m.A_pk_alive;
    case 11: return m.I_pk_alive;
    default: return nullptr;
    }
}

CPassableTerrainDlg::CPassableTerrainDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(PassableTemplate(side), parent), DlgSide(side)
{
    BindSquadRadios(IDC_SQUAD_1);
    for (int k = 1; k <= MaxSquads; ++k)
        OnButton(IDC_SQUAD_1 + k - 1, [this, k] { OnSquad(k); });
    BindStore(IDC_STORE_SQUAD);
    OnButton(IDC_SET_ALL, [this] { OnSetAll(); });
    for (int c = 1; c < TerrainColumns; ++c)
        Bind(VisibilityId(c), Visibility[c], 0.0, 1.0);
    for (int slab = 0; slab < TerrainSlabs; ++slab)
        for (int c = 1; c < TerrainColumns; ++c) {
            if (IsFactorSlab(slab))
                Bind(SlabId(slab, c), Factors[slab][c], 0.0f, 1.0f);
            else if (slab == 16 || slab == 17)
                Bind(SlabId(slab, c), Amounts[slab][c], 0, 99);
            else
                Bind(SlabId(slab, c), Amounts[slab][c], -99, 99);
        }

    // The tables are read through a scratch copy: the document stays const.
    CTerrainModifierSet m = side == Side::Red ? doc.TerrainModifiers.Red : doc.TerrainModifiers.Blue;
    SquadCount = std::clamp(doc.Force(side).NumSquads, 1, MaxSquads);
    ZeroSquadArrays();
    for (int s = 1; s <= SquadCount; ++s)
        for (int c = 1; c < TerrainColumns; ++c) {
            Visibility[c].Squad[s] = m.TerrainVisibility[s][c];
            for (int slab = 0; slab < TerrainSlabs; ++slab) {
                if (IsFactorSlab(slab))
                    Factors[slab][c].Squad[s] = FactorSlab(m, slab)[s][c];
                else
                    Amounts[slab][c].Squad[s] = AmountSlab(m, slab)[s][c];
            }
        }
    ShowFirstSquad();
}

void CPassableTerrainDlg::OnSquad(int k)
{
    if (k == 1 || k <= SquadCount)
        UpdateData(true);
    SelectSquad(k);
}

void CPassableTerrainDlg::OnSetAll()
{
    if (SquadCount < 2)
        return;
    StoreSquad();
    // Squad 1 is shown first, so that a value of its own refused for
    // another squad is refused in its box.
    SelectSquad(1);
    for (int s = 2; s <= SquadCount; ++s)
        if (!ShownFitsSquad(s))
            return;
    for (int s = 2; s <= MaxSquads; ++s)
        for (int c = 1; c < TerrainColumns; ++c) {
            Visibility[c].Squad[s] = Visibility[c].Squad[1];
            for (int slab = 0; slab < TerrainSlabs; ++slab) {
                Amounts[slab][c].Squad[s] = Amounts[slab][c].Squad[1];
                Factors[slab][c].Squad[s] = Factors[slab][c].Squad[1];
            }
        }
}

void HandBackPassableTerrain(CBrevimarDoc& doc, const CPassableTerrainDlg& dlg)
{
    CTerrainModifierSet& m = doc.Modifiers(dlg.DlgSide);
    bool changed = false;
    auto put = [&changed](auto& to, auto value) {
        changed = changed || to != value;
        to = value;
    };
    const int n = std::clamp(doc.Force(dlg.DlgSide).NumSquads, 0, MaxSquads);
    for (int s = 1; s <= n; ++s)
        for (int c = 1; c < TerrainColumns; ++c) {
            put(m.TerrainVisibility[s][c], dlg.Visibility[c].Squad[s]);
            for (int slab = 0; slab < TerrainSlabs; ++slab) {
                if (IsFactorSlab(slab))
                    put(FactorSlab(m, slab)[s][c], dlg.Factors[slab][c].Squad[s]);
                else
                    put(AmountSlab(m, slab)[s][c], dlg.Amounts[slab][c].Squad[s]);
            }
        }
    // Values typed are the user's as much as a file's: no force set-up puts
    // the defaults back over them. Confirmed untouched, the tables stay as
    // they were, defaults or not.
    if (changed)
        doc.TerrainModifiersLoaded = 1;
}

}  // namespace brevimar
