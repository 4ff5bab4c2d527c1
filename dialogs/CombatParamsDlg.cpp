#include "dialogs/CombatParamsDlg.h"

#include <algorithm>
#include <charconv>

#include "core/Document.h"
#include "dialogs/BattlefieldDlgs.h"

namespace brevimar {

namespace {

using C = CCombatParamsDlg;
using V = CombatSideValues;

constexpr int PerSquadMin[V::PerSquadValues] = {1, 1, 5, 5, 0, 0};
constexpr int PerSquadMax[V::PerSquadValues] = {150, 150, 150, 150, 999, 999};

void YesNo(std::vector<DialogItem>& items, int yesId, const char* yes, const char* no)
{
    items.emplace_back(DlgItem::Radio, yesId, yes);
    items.emplace_back(DlgItem::Radio, yesId + 1, no);
}

void SideItems(std::vector<DialogItem>& items, Side side)
{
    auto id = [side](int control) { return C::SideId(side, control); };
    items.emplace_back(DlgItem::Group, IDC_STATIC, side == Side::Red ? "RED PARAMETERS" : "BLUE PARAMETERS", 5);
    items.emplace_back(DlgItem::Button, id(C::DISPLAY_SQUAD), "Display Squad");
    items.emplace_back(DlgItem::Edit, id(C::SHOW_SQUAD));
    items.emplace_back(DlgItem::Label, IDC_STATIC, "/");
    items.emplace_back(DlgItem::Edit, id(C::SQUAD_COUNT));
    items.emplace_back(DlgItem::Button, id(C::SAVE_SQUAD), "SAVE Squad Data");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Initial Distribution");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "x");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "y");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Center Position");
    items.emplace_back(DlgItem::Edit, id(C::CENTER_X + V::CenterX));
    items.emplace_back(DlgItem::Edit, id(C::CENTER_X + V::CenterY));
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Size");
    items.emplace_back(DlgItem::Edit, id(C::CENTER_X + V::BoxLength));
    items.emplace_back(DlgItem::Edit, id(C::CENTER_X + V::BoxWidth));
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Flag Position");
    items.emplace_back(DlgItem::Edit, id(C::FLAG_X));
    items.emplace_back(DlgItem::Edit, id(C::FLAG_Y));
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Combat Adjudication", 3);
    YesNo(items, id(C::CLAMP), "Clamp Max # of TGTS", "No limit on # of TGTS");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Max TGTS");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Alive");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Injured");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    items.emplace_back(DlgItem::Edit, id(C::CENTER_X + V::MaxTargetsAlive));
    items.emplace_back(DlgItem::Edit, id(C::CENTER_X + V::MaxTargetsInjured));
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Fratricide", 2);
    YesNo(items, id(C::FRATRICIDE_YES), "Yes", "No");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Fratricide range");
    items.emplace_back(DlgItem::Edit, id(C::FRATRICIDE_RANGE));
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Fratricide Prob");
    items.emplace_back(DlgItem::Edit, id(C::FRATRICIDE_PROB));
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Reconstitution", 2);
    YesNo(items, id(C::RECONSTITUTION_YES), "Yes", "No");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Reconstitution Time");
    items.emplace_back(DlgItem::Edit, id(C::RECONSTITUTION_TIME));
}

DialogTemplate CombatTemplate()
{
    DialogTemplate t{C::IDD, "Edit::Combat Parameters", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "SIZE OF BATTLEFIELD", 2);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Length (x)");
    items.emplace_back(DlgItem::Edit, C::IDC_LENGTH);
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Width (y)");
    items.emplace_back(DlgItem::Edit, C::IDC_WIDTH);
    items.emplace_back(DlgItem::Group, IDC_STATIC, "TERRAIN", 3);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Use ?");
    YesNo(items, C::IDC_TERRAIN_YES, "Yes", "No");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "MOVE SAMPLING ORDER", 2);
    YesNo(items, C::IDC_MOVE_FIXED, "Fixed", "Random");
    items.emplace_back(DlgItem::Column);
    SideItems(items, Side::Red);
    items.emplace_back(DlgItem::Column);
    SideItems(items, Side::Blue);
    items.emplace_back(DlgItem::EndGroup);
    return t;
}

// The squad rows and side-wide values of one side.
void CopyIn(const CBrevimarDoc& doc, Side side, V& v)
{
    const bool red = side == Side::Red;
    const CBattlefield& b = doc.Battlefield;
    const CForce& f = doc.Force(side);
    v.SquadCount = v.SquadCountShown = std::clamp(f.NumSquads, 1, MaxSquads);
    const int* rows[V::PerSquadValues] = {red ? b.RED_cen_x : b.BLUE_cen_x, red ? b.RED_cen_y : b.BLUE_cen_y,
                                          red ? b.R_box_l : b.B_box_l,     red ? b.R_box_w : b.B_box_w,
                                          f.A_R_max_eng_num,               f.I_R_max_eng_num};
    for (int k = 0; k < V::PerSquadValues; ++k) {
        for (int s = 1; s <= MaxSquads; ++s)
            v.Table[k][s] = s <= v.SquadCount ? rows[k][s] : 0;
        v.Shown[k] = v.Table[k][1];
    }
    // A side's flag is the one its enemy goes for.
    const CForce& enemy = doc.Force(Opponent(side));
    v.FlagX = enemy.GoalFlagX;
    v.FlagY = enemy.GoalFlagY;
    v.Adjudication = red ? b.RedCombatUnlimited : b.BlueCombatUnlimited;
    v.Fratricide = red ? b.red_frat_flag : b.blue_frat_flag;
    v.FratricideRange = red ? b.red_frat_rad : b.blue_frat_rad;
    v.FratricideProb = red ? b.red_frat_prob : b.blue_frat_prob;
    v.Reconstitution = red ? b.RED_recon_flag : b.BLUE_recon_flag;
    v.ReconstitutionTime = f.recon_time;
}

void HandBackSide(CBrevimarDoc& doc, Side side, const V& v)
{
    const bool red = side == Side::Red;
    CBattlefield& b = doc.Battlefield;
    CForce& f = doc.Force(side);
    int* rows[V::PerSquadValues] = {red ? b.RED_cen_x : b.BLUE_cen_x, red ? b.RED_cen_y : b.BLUE_cen_y,
                                    red ? b.R_box_l : b.B_box_l,     red ? b.R_box_w : b.B_box_w,
                                    f.A_R_max_eng_num,               f.I_R_max_eng_num};
    const int n = std::clamp(f.NumSquads, 0, MaxSquads);
    for (int s = 1; s <= n; ++s)
        for (int k = 0; k < V::PerSquadValues; ++k)
            rows[k][s] = v.Table[k][s];
}

}  // namespace

CCombatParamsDlg::CCombatParamsDlg(const CBrevimarDoc& doc, QWidget* parent) : CDialog(CombatTemplate(), parent)
{
    const CBattlefield& b = doc.Battlefield;
    Length = Width = OpenedLength = b.BattleSize;
    TerrainFlag = b.TerrainMode;
    MoveOrder = b.MoveOrder;
    CopyIn(doc, Side::Red, Red);
    CopyIn(doc, Side::Blue, Blue);

    OnButton(IDC_TERRAIN_YES, [this] { SetChoice(TerrainFlag, 1); });
    OnButton(IDC_TERRAIN_NO, [this] { SetChoice(TerrainFlag, 0); });
    OnButton(IDC_MOVE_FIXED, [this] { SetChoice(MoveOrder, 1); });
    OnButton(IDC_MOVE_RANDOM, [this] { SetChoice(MoveOrder, 2); });
    for (const Side side : {Side::Red, Side::Blue}) {
        V& v = Values(side);
        OnButton(SideId(side, CLAMP), [this, &v] { SetChoice(v.Adjudication, 0); });
        OnButton(SideId(side, NO_LIMIT), [this, &v] { SetChoice(v.Adjudication, 1); });
        OnButton(SideId(side, FRATRICIDE_YES), [this, &v] { SetChoice(v.Fratricide, 1); });
        OnButton(SideId(side, FRATRICIDE_NO), [this, &v] { SetChoice(v.Fratricide, 0); });
        OnButton(SideId(side, RECONSTITUTION_YES), [this, &v] { SetChoice(v.Reconstitution, 1); });
        OnButton(SideId(side, RECONSTITUTION_NO), [this, &v] { SetChoice(v.Reconstitution, 0); });
        OnButton(SideId(side, DISPLAY_SQUAD), [this, side] { OnDisplaySquad(side); });
        OnButton(SideId(side, SAVE_SQUAD), [this, side] { OnSaveSquad(side); });
    }
}

void CCombatParamsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_LENGTH, Length);
    DDV_MinMaxInt(dx, Length, MinFieldLength, MaxBattleSize);
    DDX_Text(dx, IDC_WIDTH, Width);
    DDV_MinMaxInt(dx, Width, MinFieldLength, MaxBattleSize);
    for (const Side side : {Side::Red, Side::Blue}) {
        V& v = Values(side);
        auto number = [&](int control, int& value, int lo, int hi) {
            DDX_Text(dx, SideId(side, control), value);
            DDV_MinMaxInt(dx, value, lo, hi);
        };
        number(SHOW_SQUAD, v.ShowSquad, 1, 15);
        number(SQUAD_COUNT, v.SquadCountShown, 1, 99);
        for (int k = 0; k < V::PerSquadValues; ++k)
            number(CENTER_X + k, v.Shown[k], PerSquadMin[k], PerSquadMax[k]);
        number(FLAG_X, v.FlagX, 1, 150);
        number(FLAG_Y, v.FlagY, 1, 150);
        number(FRATRICIDE_RANGE, v.FratricideRange, 0, 999);
        DDX_Text(dx, SideId(side, FRATRICIDE_PROB), v.FratricideProb);
        DDV_MinMaxFloat(dx, v.FratricideProb, 0.0f, 1.0f);
        number(RECONSTITUTION_TIME, v.ReconstitutionTime, 0, 999);
    }
}

bool CCombatParamsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_TERRAIN_YES, IDC_TERRAIN_NO, TerrainFlag > 0 ? IDC_TERRAIN_YES : IDC_TERRAIN_NO);
    CheckRadioButton(IDC_MOVE_FIXED, IDC_MOVE_RANDOM, MoveOrder == 2 ? IDC_MOVE_RANDOM : IDC_MOVE_FIXED);
    for (const Side side : {Side::Red, Side::Blue}) {
        const V& v = Values(side);
        auto pair = [&](int first, bool second) {
            CheckRadioButton(SideId(side, first), SideId(side, first + 1), SideId(side, first + (second ? 1 : 0)));
        };
        pair(CLAMP, v.Adjudication == 1);
        pair(FRATRICIDE_YES, v.Fratricide != 1);
        pair(RECONSTITUTION_YES, v.Reconstitution != 1);
    }
    return true;
}

void CCombatParamsDlg::SetChoice(int& member, int value)
{
    member = value;
    UpdateData(false);
    OnInitDialog();
}

bool CCombatParamsDlg::ExchangeForSquad(Side side)
{
    if (UpdateData(true))
        return true;
    // A message for another field does not stop the button; an unusable
    // squad number does.
    const std::string text = GetDlgItemText(SideId(side, SHOW_SQUAD));
    int squad = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), squad);
    if (error != std::errc() || end != text.data() + text.size() || squad < 1 || squad > 15)
        return false;
    Values(side).ShowSquad = squad;
    return true;
}

void CCombatParamsDlg::OnDisplaySquad(Side side)
{
    if (!ExchangeForSquad(side))
        return;
    V& v = Values(side);
    v.ShowSquad = std::min(v.ShowSquad, v.SquadCount);
    for (int k = 0; k < V::PerSquadValues; ++k)
        v.Shown[k] = v.Table[k][v.ShowSquad];
    UpdateData(false);
}

void CCombatParamsDlg::OnSaveSquad(Side side)
{
    if (ExchangeForSquad(side) && ShownFits(side))
        StoreShown(side);
}

bool CCombatParamsDlg::ShownFits(Side side)
{
    const V& v = Values(side);
    if (v.ShowSquad > v.SquadCount)
        return true;
    // The squad number may have been changed under another squad's values,
    // and a value opened outside its range is accepted untouched only where
    // it came from.
    CDataExchange dx(*this, true);
    for (int k = 0; k < V::PerSquadValues; ++k)
        if (v.Shown[k] != v.Table[k][v.ShowSquad] && dx.Begin(SideId(side, CENTER_X + k)))
            DDV_MinMaxInt(dx, v.Shown[k], PerSquadMin[k], PerSquadMax[k]);
    return !dx.Failed();
}

void CCombatParamsDlg::StoreShown(Side side)
{
    V& v = Values(side);
    if (v.ShowSquad > v.SquadCount)
        return;
    for (int k = 0; k < V::PerSquadValues; ++k)
        v.Table[k][v.ShowSquad] = v.Shown[k];
}

bool CCombatParamsDlg::FlagsOnField(const int (&held)[5])
{
    // A flag off the field would make a scenario that no reader takes.
    const FlagCoordinates flags = {Red.FlagX, Red.FlagY, Blue.FlagX, Blue.FlagY};
    if (*std::max_element(flags.begin(), flags.end()) <= Length)
        return true;
    int* values[5] = {&Length, &Red.FlagX, &Red.FlagY, &Blue.FlagX, &Blue.FlagY};
    const int ids[5] = {IDC_LENGTH, SideId(Side::Red, FLAG_X), SideId(Side::Red, FLAG_Y), SideId(Side::Blue, FLAG_X),
                        SideId(Side::Blue, FLAG_Y)};
    // A length the user changed is refused below the flags, as the
    // Battlefield Size dialog refuses it; under the length as opened, the
    // first flag value beyond it is refused, as the Flag Position dialog
    // refuses it.
    int k = 0;
    if (Length == OpenedLength)
        while (*values[++k] <= Length) {
        }
    CDataExchange dx(*this, true);
    dx.Begin(ids[k]);
    dx.Restore = [value = values[k], before = held[k]] { *value = before; };
    if (k == 0)
        DDV_FieldLength(dx, Length, flags);
    else
        DDV_MinMaxInt(dx, *values[k], 1, Length);
    return !dx.Failed();
}

void CCombatParamsDlg::OnOK()
{
    const int held[5] = {Length, Red.FlagX, Red.FlagY, Blue.FlagX, Blue.FlagY};
    // Each side's squad on show is kept, as its "SAVE Squad Data" keeps it.
    if (!UpdateData(true) || !FlagsOnField(held) || !ShownFits(Side::Red) || !ShownFits(Side::Blue))
        return;
    StoreShown(Side::Red);
    StoreShown(Side::Blue);
    EndDialog(IDOK);
}

void HandBackCombatParams(CBrevimarDoc& doc, const CCombatParamsDlg& dlg)
{
    CBattlefield& b = doc.Battlefield;
    b.red_frat_flag = dlg.Red.Fratricide;
    b.blue_frat_flag = dlg.Blue.Fratricide;
    b.RedCombatUnlimited = dlg.Red.Adjudication;
    b.BlueCombatUnlimited = dlg.Blue.Adjudication;
    b.MoveOrder = dlg.MoveOrder;
    doc.RunHeader.FixedMoveOrderSelected = b.MoveOrder == 1 ? 1 : 0;
    doc.RunHeader.RandomMoveOrderSelected = b.MoveOrder == 1 ? 0 : 1;
    b.RED_recon_flag = dlg.Red.Reconstitution;
    b.BLUE_recon_flag = dlg.Blue.Reconstitution;
    b.TerrainMode = dlg.TerrainFlag;
    // The battlefield is square: the width is not kept.
    b.BattleSize = dlg.Length;
    HandBackSide(doc, Side::Red, dlg.Red);
    HandBackSide(doc, Side::Blue, dlg.Blue);
    doc.BlueForce.GoalFlagX = dlg.Red.FlagX;
    doc.BlueForce.GoalFlagY = dlg.Red.FlagY;
    doc.RedForce.GoalFlagX = dlg.Blue.FlagX;
    doc.RedForce.GoalFlagY = dlg.Blue.FlagY;
    doc.RedForce.recon_time = dlg.Red.ReconstitutionTime;
    doc.BlueForce.recon_time = dlg.Blue.ReconstitutionTime;
    b.red_frat_rad = dlg.Red.FratricideRange;
    b.red_frat_prob = dlg.Red.FratricideProb;
    b.blue_frat_rad = dlg.Blue.FratricideRange;
    b.blue_frat_prob = dlg.Blue.FratricideProb;
}

}  // namespace brevimar
