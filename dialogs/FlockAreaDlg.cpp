#include "dialogs/FlockAreaDlg.h"

#include <algorithm>

#include "dialogs/SquadSections.h"

namespace brevimar {

namespace {

std::string SideName(Side side) { return side == Side::Red ? "Red" : "Blue"; }

void SquadGroup(std::vector<DialogItem>& items)
{
    items.emplace_back(DlgItem::Group, IDC_STATIC, "SQUAD");
    SquadRadioItems(items, IDC_SQUAD_1);
    items.emplace_back(DlgItem::Button, IDC_STORE_SQUAD, "Update Squad Data");
    items.emplace_back(DlgItem::EndGroup);
}

DialogTemplate FlockTemplate(Side side)
{
    DialogTemplate t{side == Side::Red ? 262u : 263u, "Edit::" + SideName(side) + " Flock Parameters", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "MIN / MAX Range Rings", 3);
    for (const char* header : {"", "Alive", "Injured"})
        items.emplace_back(DlgItem::Label, IDC_STATIC, header);
    PairRow(items, "Inner Range", {CFlockDlg::IDC_INNER_ALIVE, CFlockDlg::IDC_INNER_INJURED});
    PairRow(items, "Outer Range", {CFlockDlg::IDC_OUTER_ALIVE, CFlockDlg::IDC_OUTER_INJURED});
    items.emplace_back(DlgItem::EndGroup);
    SquadGroup(items);
    return t;
}

DialogTemplate AreaTemplate(Side side)
{
    DialogTemplate t{side == Side::Red ? 260u : 261u, "Edit::" + SideName(side) + " Area (for Move Selection)", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "AREA", 2);
    PairRow(items, "Center_x", {CMoveAreaDlg::IDC_CENTER_X});
    PairRow(items, "Center_y", {CMoveAreaDlg::IDC_CENTER_Y});
    PairRow(items, "Range_x", {CMoveAreaDlg::IDC_RANGE_X});
    PairRow(items, "Range_y", {CMoveAreaDlg::IDC_RANGE_Y});
    items.emplace_back(DlgItem::EndGroup);
    SquadGroup(items);
    return t;
}

}  // namespace

CFlockDlg::CFlockDlg(Side side, QWidget* parent) : CParamDlg(FlockTemplate(side), parent)
{
    BindSquadRadios(IDC_SQUAD_1);
    Bind(IDC_INNER_ALIVE, InnerAlive, 0.0f, MaxRange);
    Bind(IDC_INNER_INJURED, InnerInjured, 0.0f, MaxRange);
    Bind(IDC_OUTER_ALIVE, OuterAlive, 0.0f, MaxRange);
    Bind(IDC_OUTER_INJURED, OuterInjured, 0.0f, MaxRange);
    BindStore(IDC_STORE_SQUAD);
}

void CFlockDlg::ClampInnerRings()
{
    for (int s = 1; s <= MaxSquads; ++s) {
        InnerAlive.Squad[s] = std::min(InnerAlive.Squad[s], OuterAlive.Squad[s]);
        InnerInjured.Squad[s] = std::min(InnerInjured.Squad[s], OuterInjured.Squad[s]);
    }
}

CMoveAreaDlg::CMoveAreaDlg(Side side, QWidget* parent) : CParamDlg(AreaTemplate(side), parent)
{
    BindSquadRadios(IDC_SQUAD_1);
    Bind(IDC_CENTER_X, CenterX, 1, 999);
    Bind(IDC_CENTER_Y, CenterY, 1, 999);
    Bind(IDC_RANGE_X, RangeX, 1, 999);
    Bind(IDC_RANGE_Y, RangeY, 1, 999);
    BindStore(IDC_STORE_SQUAD);
}

}  // namespace brevimar
