#include "dialogs/BattlefieldDlgs.h"

#include <algorithm>

#include "core/Document.h"
#include "dialogs/SquadSections.h"

namespace brevimar {

namespace {

std::string SideWord(Side side) { return side == Side::Red ? "Red" : "Blue"; }

void SquadSelector(std::vector<DialogItem>& items)
{
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Select Squad");
    SquadRadioItems(items, IDC_SQUAD_1);
    items.emplace_back(DlgItem::EndGroup);
}

DialogTemplate SizeTemplate()
{
    using B = CBattlefieldSizeDlg;
    DialogTemplate t{0, "Options::Battlefield Size", {}};
    t.Items.emplace_back(DlgItem::Group, IDC_STATIC, "", 2);
    PairRow(t.Items, "Length (x)", {B::IDC_LENGTH});
    PairRow(t.Items, "Width (y)", {B::IDC_WIDTH});
    return t;
}

DialogTemplate FlagTemplate(Side side)
{
    using F = CFlagPositionDlg;
    DialogTemplate t{0, "Options::" + SideWord(side) + " Flag Position", {}};
    t.Items.emplace_back(DlgItem::Group, IDC_STATIC, "", 2);
    PairRow(t.Items, "x", {F::IDC_X});
    PairRow(t.Items, "y", {F::IDC_Y});
    return t;
}

DialogTemplate DistributionTemplate(Side side)
{
    using D = CInitialDistributionDlg;
    DialogTemplate t{0, "Options::Initial " + SideWord(side) + " Distribution", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Center Position", 2);
    PairRow(items, "x", {D::IDC_CENTER_X});
    PairRow(items, "y", {D::IDC_CENTER_Y});
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Size", 2);
    PairRow(items, "x", {D::IDC_SIZE_X});
    PairRow(items, "y", {D::IDC_SIZE_Y});
    SquadSelector(items);
    items.emplace_back(DlgItem::Button, IDC_STORE_SQUAD, "Store Current " + SideWord(side) + " Data");
    return t;
}

DialogTemplate AdjudicationTemplate(Side side)
{
    using C = CCombatAdjudicationDlg;
    DialogTemplate t{0, "Options::" + SideWord(side) + " Combat Adjudication", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Select Combat Adjudication Option");
    items.emplace_back(DlgItem::Radio, C::IDC_CLAMP, "Clamp Max # of TGTS");
    items.emplace_back(DlgItem::Radio, C::IDC_NO_LIMIT, "No limit on # of TGTS");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", 3);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    // One heading over each field of the pair.
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Alive");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Injured");
    items.emplace_back(DlgItem::Button, C::IDC_UPDATE, "Update Max TGT # :");
    items.emplace_back(DlgItem::Edit, C::IDC_MAX_ALIVE);
    items.emplace_back(DlgItem::Edit, C::IDC_MAX_INJURED);
    SquadSelector(items);
    return t;
}

}  // namespace

int ShortestFieldLength(const FlagCoordinates& flags)
{
    return std::max(MinFieldLength, *std::max_element(flags.begin(), flags.end()));
}

void DDV_FieldLength(CDataExchange& dx, int length, const FlagCoordinates& flags)
{
    DDV_MinMaxInt(dx, length, ShortestFieldLength(flags), MaxBattleSize);
}

CBattlefieldSizeDlg::CBattlefieldSizeDlg(QWidget* parent) : CParamDlg(SizeTemplate(), parent) {}

void CBattlefieldSizeDlg::DoDataExchange(CDataExchange& dx)
{
    // A field that would leave a flag off it is refused here, while the
    // user can still change it.
    DDX_Text(dx, IDC_LENGTH, Length);
    DDV_FieldLength(dx, Length, Flags);
    DDX_Text(dx, IDC_WIDTH, Width);
    DDV_MinMaxInt(dx, Width, MinFieldLength, MaxBattleSize);
}

CFlagPositionDlg::CFlagPositionDlg(Side side, QWidget* parent) : CParamDlg(FlagTemplate(side), parent) {}

void CFlagPositionDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_X, X);
    DDV_MinMaxInt(dx, X, 1, FieldSize);
    DDX_Text(dx, IDC_Y, Y);
    DDV_MinMaxInt(dx, Y, 1, FieldSize);
}

CInitialDistributionDlg::CInitialDistributionDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(DistributionTemplate(side), parent)
{
    BindSquadRadios(IDC_SQUAD_1);
    Bind(IDC_CENTER_X, CenterX, 1, MaxBattleSize);
    Bind(IDC_CENTER_Y, CenterY, 1, MaxBattleSize);
    Bind(IDC_SIZE_X, SizeX, 1, MaxBattleSize);
    Bind(IDC_SIZE_Y, SizeY, 1, MaxBattleSize);
    BindStore(IDC_STORE_SQUAD);

    const CBattlefield& b = doc.Battlefield;
    const bool red = side == Side::Red;
    SquadCount = std::clamp(doc.Force(side).NumSquads, 1, MaxSquads);
    CopySquadRow(CenterX, red ? b.RED_cen_x : b.BLUE_cen_x, SquadCount);
    CopySquadRow(CenterY, red ? b.RED_cen_y : b.BLUE_cen_y, SquadCount);
    CopySquadRow(SizeX, red ? b.R_box_l : b.B_box_l, SquadCount);
    CopySquadRow(SizeY, red ? b.R_box_w : b.B_box_w, SquadCount);
}

CCombatAdjudicationDlg::CCombatAdjudicationDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(AdjudicationTemplate(side), parent)
{
    BindSquadRadios(IDC_SQUAD_1);
    Bind(IDC_MAX_ALIVE, MaxAlive, 0, 999);
    Bind(IDC_MAX_INJURED, MaxInjured, 0, 999);
    BindOnOff(IDC_NO_LIMIT, IDC_CLAMP, Option);
    BindStore(IDC_UPDATE);

    const CForce& f = doc.Force(side);
    SquadCount = std::clamp(f.NumSquads, 1, MaxSquads);
    CopySquadRow(MaxAlive, f.A_R_max_eng_num, SquadCount);
    CopySquadRow(MaxInjured, f.I_R_max_eng_num, SquadCount);
}

}  // namespace brevimar
