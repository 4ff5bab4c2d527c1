// The frame every parameter dialog is built on.
//
// A parameter dialog copies the document's values into its own members when
// it is constructed and never touches the document again; the view's command
// hands the members back after OK. A per-squad parameter lives twice in the
// dialog: a SquadValue holds entries 1..10 and the edit member that shows the
// current squad. The store button moves edit members into the entries, and
// OK stores the squad on show the same way before it closes, so that what
// the user sees is what is kept; only the entries are handed back.
//
// How to build a dialog on the frame:
//  1. Lay out the controls in a DialogTemplate (platform/Dialog.h): labelled
//     groups, grid groups for label / Alive / Injured rows, Column to start a
//     new column. Template order is the tab order. The helpers below
//     (SquadRadioItems, PairRow) write the common pieces.
//  2. Derive from CParamDlg and, in the constructor, bind each member to its
//     control in the order the exchange should run: Bind (edit, with its
//     range), BindCheck (a check box), BindOnOff (an On/Off radio pair),
//     BindChoice (check boxes of which one is ticked), BindSquadRadios and
//     BindStore. The frame then does DoDataExchange, OnInitDialog, squad
//     switching, storing and the shared toggle handlers by itself.
//  3. Copy in: SquadCount, zero the entries above it (ZeroSquadArrays), fill
//     1..SquadCount from the document, then LoadSquad(1).
//  4. Buttons of the dialog's own go through OnButton; a sub-dialog is seeded
//     with SeedSubDialog and read back after IDOK.
#pragma once

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/Limits.h"
#include "platform/Dialog.h"

namespace brevimar {

// A per-squad parameter: entries 1..10 (0 unused) and the edit member.
template <typename T>
struct SquadValue {
    T Squad[SquadSlots] = {};
    T Edit = {};
};

class CParamDlg : public CDialog {
public:
    int SquadCount = 1;
    int CurrentSquad = 1;
    int SquadRadioIndex = 0;

    // Edit members := entries of squad k.
    void LoadSquad(int k);
    // Entries 1..10 := 0 (the edit members are left alone).
    void ZeroSquadArrays();
    // Every entry of squad `to` := that of squad `from`, as it is (the edit
    // members are left alone): a value stored outside an edit's range by
    // another dialog stays the user's, and is taken as it is shown.
    void CopySquad(int from, int to);
    // A squad radio: squads above the squad count are ignored, and the mark
    // returns to the current squad. Per-squad typing not stored is
    // discarded; side-wide fields keep what was typed.
    void SelectSquad(int k);
    // Whether the edit members may be stored into squad k: each is squad
    // k's own entry or passes its range check, which refuses it with its
    // message; a value opened outside its range is kept only where it came
    // from.
    bool ShownFitsSquad(int k);
    // The store button: the current squad's entries := the edit members,
    // when every value passes its range check.
    virtual bool StoreSquad();
    // OK: the squad on show is stored as its store button stores it; a
    // refused value keeps the dialog open.
    void OnOK() override;

    // The shared one-line handlers.
    void Toggle(int& member);
    void SetOnOff(int& member, int on);
    void Choose(int& mode, int code);

    bool OnInitDialog() override;

    // Bindings, exchanged in the order they are made.
    void Bind(int id, SquadValue<int>& value, int minValue, int maxValue);
    void Bind(int id, SquadValue<float>& value, float minValue, float maxValue);
    void Bind(int id, SquadValue<double>& value, double minValue, double maxValue);
    void Bind(int id, int& member, int minValue, int maxValue);
    void Bind(int id, float& member, float minValue, float maxValue);
    void Bind(int id, double& member, double minValue, double maxValue);
    void BindCheck(int id, SquadValue<int>& flag);
    void BindCheck(int id, int& member);
    void BindOnOff(int onId, int offId, SquadValue<int>& flag);
    void BindOnOff(int onId, int offId, int& member);
    // Check boxes of which exactly the one of the current code is ticked;
    // a code outside the list leaves the boxes as they are.
    void BindChoice(int& mode, std::vector<std::pair<int, int>> idsAndCodes);
    // Ten radios "1".."10" with consecutive ids from firstId.
    void BindSquadRadios(int firstId);
    // The store button, which OK presses too; `store` answers false when a
    // value was refused. Without one, StoreSquad.
    void BindStore(int id, std::function<bool()> store = {});
    // Squad radios above the squad count do nothing: they show disabled.
    void EnableSquadRadios(int firstId);
    // Edit members := squad 1's entries, current squad 1.
    void ShowFirstSquad();

protected:
    CParamDlg(const DialogTemplate& dialogTemplate, QWidget* parent);

    void DoDataExchange(CDataExchange& dx) override;

private:
    std::vector<std::function<void(CDataExchange&)>> Exchanges;
    std::vector<std::function<void(int)>> Loads;   // edit := entry k
    std::vector<std::function<void(int)>> Stores;  // entry k := edit
    std::vector<std::function<void(CDataExchange&, int)>> Checks;  // edit's range, unless it is entry k
    std::vector<std::function<void()>> Zeros;
    std::vector<std::function<void(int, int)>> Copies;  // entry to := entry from
    std::vector<std::function<void()>> Marks;  // ticks and radio marks from the members
    std::set<int> SquadEdits;  // the edits of per-squad values, which a squad radio reloads
    int SquadRadioFirst = IDC_STATIC;
    std::function<bool()> StoreShown;  // empty: the dialog has no squads to store
};

// Template pieces shared by the dialogs.
void SquadRadioItems(std::vector<DialogItem>& items, int firstId);
// A grid row: label, then an edit per id.
void PairRow(std::vector<DialogItem>& items, const std::string& label, std::initializer_list<int> ids);

// Seeds the per-squad values of a sub-dialog from the opener's: entries
// 1..count copied, the rest 0, the edit member from squad 1.
template <typename T>
void SeedSquadValue(SquadValue<T>& to, const SquadValue<T>& from, int count)
{
    for (int s = 1; s <= MaxSquads; ++s)
        to.Squad[s] = s <= count ? from.Squad[s] : T{};
    to.Edit = to.Squad[1];
}

}  // namespace brevimar
