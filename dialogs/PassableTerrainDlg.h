// How an agent's parameters change on passable terrain of types I..III, and
// how visible it is there, per squad: one design over a side.
#pragma once

#include "core/Side.h"
#include "core/TerrainModifiers.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;

// The eighteen modifier slabs in table order (alive, injured in turn).
constexpr int TerrainSlabs = 18;
// Slabs that hold factors rather than amounts.
constexpr bool IsFactorSlab(int slab) { return slab == 2 || slab == 3 || slab == 10 || slab == 11; }
int (*AmountSlab(CTerrainModifierSet& m, int slab))[TerrainColumns];
float (*FactorSlab(CTerrainModifierSet& m, int slab))[TerrainColumns];

class CPassableTerrainDlg : public CParamDlg {
public:
    enum : int { IDC_SET_ALL = 1012 };
    // The save button is IDC_STORE_SQUAD.
    static constexpr int SlabId(int slab, int column) { return 1100 + 4 * slab + column; }
    static constexpr int VisibilityId(int column) { return 1200 + column; }

    CPassableTerrainDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);
    void OnSquad(int k);
    // "Set ALL Squads = Squad #1": the squad on show stored, then squad 1
    // shown and copied into every squad, unless a value of it is refused
    // for a squad it would go to.
    void OnSetAll();

    Side DlgSide;
    // [slab][terrain column 1..3]; Amounts for the int slabs, Factors for the rest.
    SquadValue<int> Amounts[TerrainSlabs][TerrainColumns];
    SquadValue<float> Factors[TerrainSlabs][TerrainColumns];
    SquadValue<double> Visibility[TerrainColumns];
};

// Squads 1..NumSquads of the side's tables; changed, they are the user's from
// then on, kept by force set-up as a terrain-modified agent data file's are.
void HandBackPassableTerrain(CBrevimarDoc& doc, const CPassableTerrainDlg& dlg);

class CRedPassableTerrainDlg : public CPassableTerrainDlg {
public:
    static constexpr unsigned IDD = 252;
    explicit CRedPassableTerrainDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CPassableTerrainDlg(doc, Side::Red, parent)
    {
    }
};
class CBluePassableTerrainDlg : public CPassableTerrainDlg {
public:
    static constexpr unsigned IDD = 257;
    explicit CBluePassableTerrainDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CPassableTerrainDlg(doc, Side::Blue, parent)
    {
    }
};

}  // namespace brevimar
