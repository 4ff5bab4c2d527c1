// The commands that open the combat, passable-terrain and weapon dialogs.
// The combat parameters restart the battle; the terrain modifiers and the
// weapons act from the next step of the battle as it stands.
#include "app/BrevimarView.h"
#include "core/Document.h"
#include "core/StoredValues.h"
#include "dialogs/CombatParamsDlg.h"
#include "dialogs/HitProbDlg.h"
#include "dialogs/PassableTerrainDlg.h"
#include "dialogs/WeaponDialogs.h"
#include "files/ScenarioWriter.h"

namespace brevimar {

void CBrevimarView::BuildCombatCommandMap()
{
    const std::pair<unsigned, void (CBrevimarView::*)()> commands[] = {
        {ID_EDIT_COMBAT_PARAMETERS, &CBrevimarView::OnEditCombatParameters},
        {ID_EDIT_RED_PASSABLE_TERRAIN, &CBrevimarView::OnEditRedPassableTerrain},
        {ID_EDIT_BLUE_PASSABLE_TERRAIN, &CBrevimarView::OnEditBluePassableTerrain},
        {ID_EDIT_RED_SQUAD_WEAPONS, &CBrevimarView::OnEditRedSquadWeapons},
        {ID_EDIT_BLUE_SQUAD_WEAPONS, &CBrevimarView::OnEditBlueSquadWeapons},
        {ID_EDIT_RED_GRENADE, &CBrevimarView::OnEditRedGrenade},
        {ID_EDIT_BLUE_GRENADE, &CBrevimarView::OnEditBlueGrenade},
        {ID_EDIT_RED_AGENT_WEAPONS, &CBrevimarView::OnEditRedAgentWeapons},
        {ID_EDIT_BLUE_AGENT_WEAPONS, &CBrevimarView::OnEditBlueAgentWeapons},
        {ID_FLY_RED_WEAPON_SELECTION, &CBrevimarView::OnOnTheFlyRedWeaponSelection},
        {ID_FLY_BLUE_WEAPON_SELECTION, &CBrevimarView::OnOnTheFlyBlueWeaponSelection},
    };
    // A batch run owns the document until it ends. What the user stores
    // through these is the user's, even where a GA or a landscape wrote it.
    for (const auto& [id, handler] : commands) {
        Map.On(id, [this, handler = handler] {
            const RedEditScope red(*Document);
            const UserWriteScope user(*Document);
            (this->*handler)();
        });
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    }
}

void CBrevimarView::OnEditCombatParameters()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CCombatParamsDlg dialog(doc, this);
    if (dialog.DoModal() != IDOK)
        return;
    const CStoredValues before(doc);
    const bool smaller = dialog.Length < doc.Battlefield.BattleSize;
    HandBackCombatParams(doc, dialog);
    ResetTailAndRedraw(before, smaller);
}

bool CBrevimarView::EditPassableTerrain(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CPassableTerrainDlg dialog(doc, side, this);
    if (dialog.DoModal() != IDOK)
        return false;
    HandBackPassableTerrain(doc, dialog);
    Invalidate(false);
    return true;
}

bool CBrevimarView::EditSquadWeapons(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CHitProbDlg dialog(doc, side, this);
    const bool ok = dialog.DoModal() == IDOK;
    if (ok) {
        CopyHitFunctions(doc.Force(side).WeaponFunction, dialog.Functions);
    }
    Invalidate(false);
    return ok;
}

bool CBrevimarView::EditGrenade(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CGrenadeDlg dialog(doc, side, this);
    const bool ok = dialog.DoModal() == IDOK;
    if (ok) {
        HandBackGrenade(doc.Weapons(side), dialog.Weapons);
    }
    Invalidate(false);
    return ok;
}

bool CBrevimarView::EditAgentWeapons(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CAgentWeaponsDlg dialog(doc, side, this);
    const bool ok = dialog.DoModal() == IDOK;
    if (ok) {
        HandBackAgentWeapons(doc, dialog);
    }
    Invalidate(false);
    return ok;
}

void CBrevimarView::OnTheFlyWeaponSelection(Side side)
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CWeaponAssignTypeDlg type(doc, side, this);
    if (type.DoModal() == IDOK) {
        CForce& f = doc.Force(side);
        f.WeaponsOn = type.AgentSpecific;
        f.WeaponAssignType = type.SquadSpecific;
        if (f.WeaponAssignType == 1) {
            CHitProbDlg functions(doc, side, this);
            if (functions.DoModal() == IDOK)
                CopyHitFunctions(f.WeaponFunction, functions.Functions);
        }
        if (f.WeaponsOn == 1) {
            CAgentWeaponsDlg weapons(doc, side, this);
            if (weapons.DoModal() == IDOK)
                HandBackAgentWeapons(doc, weapons);
        }
    }
    Invalidate(false);
}

}  // namespace brevimar
