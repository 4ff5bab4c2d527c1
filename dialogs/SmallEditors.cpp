#include "dialogs/SmallEditors.h"

#include "core/Document.h"

namespace brevimar {

namespace {

DialogTemplate SeedTemplate()
{
    DialogTemplate t{0, "Edit::Random Number Seed", {}};
    t.Items.emplace_back(DlgItem::Label, IDC_STATIC, "Random Number Seed");
    t.Items.emplace_back(DlgItem::Edit, CRandomSeedDlg::IDC_SEED);
    return t;
}

DialogTemplate TerritoryTemplate()
{
    using P = CTerritorialPossessionDlg;
    DialogTemplate t{0, "Edit::Territorial Possession", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "OCCUPATION CRITERIA", 2);
    PairRow(items, "Threshold Range", {P::IDC_RANGE});
    PairRow(items, "Minimum \"Surrounding\" Number", {P::IDC_MIN_COUNT});
    PairRow(items, "Threshold \"Delta\" with Nearby Enemy", {P::IDC_DELTA});
    items.emplace_back(DlgItem::Group, IDC_STATIC, "OCCUPIED TERRITORY");
    items.emplace_back(DlgItem::Radio, P::IDC_ENTIRE, "Entire Battlefield");
    items.emplace_back(DlgItem::Radio, P::IDC_USER_DEFINED, "User-Defined");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", 2);
    PairRow(items, "Center_x", {P::IDC_CENTER_X});
    PairRow(items, "Center_y", {P::IDC_CENTER_Y});
    PairRow(items, "Range_x", {P::IDC_RANGE_X});
    PairRow(items, "Range_y", {P::IDC_RANGE_Y});
    return t;
}

void HighlightGroup(std::vector<DialogItem>& items, const std::string& side, int onId, int squadId, int yesId)
{
    items.emplace_back(DlgItem::Group, IDC_STATIC, side + " Squad");
    items.emplace_back(DlgItem::CheckBox, onId, "Highlight Selected " + side + " Squad");
    items.emplace_back(DlgItem::Label, IDC_STATIC, side + " Squad Number");
    items.emplace_back(DlgItem::Edit, squadId);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Display Other " + side + " VORLAXs?");
    items.emplace_back(DlgItem::Radio, yesId, "Yes");
    items.emplace_back(DlgItem::Radio, yesId + 1, "No");
    items.emplace_back(DlgItem::EndGroup);
}

DialogTemplate HighlightTemplate()
{
    using H = CSquadHighlightDlg;
    DialogTemplate t{0, "Display::Select Squads to Highlight", {}};
    HighlightGroup(t.Items, "Red", H::IDC_RED_ON, H::IDC_RED_SQUAD, H::IDC_RED_YES);
    t.Items.emplace_back(DlgItem::Column);
    HighlightGroup(t.Items, "Blue", H::IDC_BLUE_ON, H::IDC_BLUE_SQUAD, H::IDC_BLUE_YES);
    return t;
}

DialogTemplate CommParamsTemplate()
{
    using C = CCommMatrixParamsDlg;
    DialogTemplate t{0, "Edit::Communications Matrix Parameters", {}};
    t.Items.emplace_back(DlgItem::CheckBox, C::IDC_SEED_ALL, "Seed w/C[ i ][ j ]=1 for all i,j");
    t.Items.emplace_back(DlgItem::CheckBox, C::IDC_FORCE_SYMMETRY, "Force Symmetry (C[ i ][ j ] = C[ j ][ i ])");
    t.Items.emplace_back(DlgItem::Label, IDC_STATIC, "Link Probability (generation = 0)");
    t.Items.emplace_back(DlgItem::Edit, C::IDC_LINK_PROB);
    return t;
}

DialogTemplate SquadParamsTemplate()
{
    using S = CSquadMatrixParamsDlg;
    DialogTemplate t{0, "Edit::Squad Matrix Parameters", {}};
    t.Items.emplace_back(DlgItem::Group, IDC_STATIC, "", 3);
    t.Items.emplace_back(DlgItem::Label, IDC_STATIC, "Threshold T_1");
    t.Items.emplace_back(DlgItem::Edit, S::IDC_T1);
    t.Items.emplace_back(DlgItem::Label, IDC_STATIC, "if P < T_1, W=0");
    t.Items.emplace_back(DlgItem::Label, IDC_STATIC, "Threshold T_2");
    t.Items.emplace_back(DlgItem::Edit, S::IDC_T2);
    t.Items.emplace_back(DlgItem::Label, IDC_STATIC, "if P < T_2, W -> - W");
    return t;
}

}  // namespace

CRandomSeedDlg::CRandomSeedDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CParamDlg(SeedTemplate(), parent), Seed(doc.InitialSeed)
{
    Bind(IDC_SEED, Seed, MinSeed, 0);
}

CTerritorialPossessionDlg::CTerritorialPossessionDlg(QWidget* parent) : CParamDlg(TerritoryTemplate(), parent)
{
    Bind(IDC_RANGE, Range, 1, 99);
    Bind(IDC_MIN_COUNT, MinCount, 1, 999);
    Bind(IDC_DELTA, Delta, -999, 999);
    Bind(IDC_CENTER_X, CenterX, 1, 999);
    Bind(IDC_CENTER_Y, CenterY, 1, 999);
    Bind(IDC_RANGE_X, RangeX, 1, 999);
    Bind(IDC_RANGE_Y, RangeY, 1, 999);
    BindOnOff(IDC_USER_DEFINED, IDC_ENTIRE, UserArea);
}

CSquadHighlightDlg::CSquadHighlightDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CParamDlg(HighlightTemplate(), parent),
      RedOn(doc.HighlightRedSquadOn),
      RedSquad(doc.HighlightRedSquadNumber),
      ShowOtherRed(doc.ShowOtherRedAgents),
      BlueOn(doc.HighlightBlueSquadOn),
      BlueSquad(doc.HighlightBlueSquadNumber),
      ShowOtherBlue(doc.ShowOtherBlueAgents)
{
    Bind(IDC_RED_SQUAD, RedSquad, 1, MaxSquads);
    Bind(IDC_BLUE_SQUAD, BlueSquad, 1, MaxSquads);
    OnButton(IDC_RED_ON, [this] { RedOn = !RedOn; });
    OnButton(IDC_BLUE_ON, [this] { BlueOn = !BlueOn; });
    OnButton(IDC_RED_YES, [this] { Answer(ShowOtherRed, 1); });
    OnButton(IDC_RED_NO, [this] { Answer(ShowOtherRed, 0); });
    OnButton(IDC_BLUE_YES, [this] { Answer(ShowOtherBlue, 1); });
    OnButton(IDC_BLUE_NO, [this] { Answer(ShowOtherBlue, 0); });
}

void CSquadHighlightDlg::Answer(int& member, int yes)
{
    // The squad numbers typed so far are kept.
    UpdateData(true);
    member = yes;
    OnInitDialog();
}

bool CSquadHighlightDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    CheckRadioButton(IDC_RED_YES, IDC_RED_NO, ShowOtherRed == 1 ? IDC_RED_YES : IDC_RED_NO);
    CheckRadioButton(IDC_BLUE_YES, IDC_BLUE_NO, ShowOtherBlue == 1 ? IDC_BLUE_YES : IDC_BLUE_NO);
    CheckDlgButton(IDC_RED_ON, RedOn == 1 ? 1 : 0);
    CheckDlgButton(IDC_BLUE_ON, BlueOn == 1 ? 1 : 0);
    return true;
}

CCommMatrixParamsDlg::CCommMatrixParamsDlg(QWidget* parent) : CParamDlg(CommParamsTemplate(), parent)
{
    BindCheck(IDC_SEED_ALL, SeedAll);
    BindCheck(IDC_FORCE_SYMMETRY, ForceSymmetry);
    Bind(IDC_LINK_PROB, LinkProb, 0.0, 1.0);
}

CSquadMatrixParamsDlg::CSquadMatrixParamsDlg(QWidget* parent) : CParamDlg(SquadParamsTemplate(), parent)
{
    Bind(IDC_T1, T1, 0.0, 1.0);
    Bind(IDC_T2, T2, 0.0, 1.0);
}

}  // namespace brevimar
