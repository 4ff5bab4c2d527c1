// The commands that open the combat, passable-terrain and weapon dialogs.
// The combat parameters restart the battle; the terrain modifiers and the
// weapons act from the next step of the battle as it stands.
#include "app/BrevimarView.h"
#include "app/DialogPause.h"
#include "core/Document.h"
#include "dialogs/HitProbDlg.h"

namespace brevimar {

void CBrevimarView::BuildCombatCommandMap()
{
    const std::pair<unsigned, void (CBrevimarView::*)()> commands[] = {
        {ID_EDIT_RED_SQUAD_WEAPONS, &CBrevimarView::OnEditRedSquadWeapons},
        {ID_EDIT_BLUE_SQUAD_WEAPONS, &CBrevimarView::OnEditBlueSquadWeapons},
    };
    // A batch run owns the document until it ends.
    for (const auto& [id, handler] : commands) {
        Map.On(id, [this, handler = handler] { (this->*handler)(); });
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    }
}

bool CBrevimarView::EditSquadWeapons(Side side)
{
    CBrevimarDoc& doc = *Document;
    DialogPause pause(doc);
    CHitProbDlg dialog(doc, side, this);
    const bool ok = dialog.DoModal() == IDOK;
    if (ok) {
        pause.Keep();
        CopyHitFunctions(doc.Force(side).WeaponFunction, dialog.Functions);
    }
    Invalidate(false);
    return ok;
}

}  // namespace brevimar
