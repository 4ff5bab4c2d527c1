#include "dialogs/HitProbDlg.h"

#include <algorithm>
#include <cmath>

#include "charts/HitProbabilityGraph.h"
#include "core/Document.h"
#include "dialogs/SquadSections.h"

namespace brevimar {

namespace {

using D = CHitProbDlg;

constexpr const char* ParamLabels[7] = {"p (r < r_min)", "r_min",       "r_max",        "p(r = r_min)",
                                        "p(r = r_max)",  "n (= falloff power)", "p (r > r_max)"};
constexpr double ParamMin[7] = {0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0};
constexpr double ParamMax[7] = {1.0, 999.0, 999.0, 1.0, 1.0, 10.0, 1.0};

DialogTemplate HitProbTemplate(Side side)
{
    const bool red = side == Side::Red;
    DialogTemplate t{red ? 233u : 236u,
                     red ? "Edit::RED Prob(HIT) vs. Fire Range" : "Edit::BLUE Prob(HIT) vs. Fire Range",
                     {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "SQUAD", 5);
    SquadRadioItems(items, IDC_SQUAD_1);
    items.emplace_back(DlgItem::Button, D::IDC_UPDATE, "Update Squad-Weapon Data");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "SENSOR TYPE", 2);
    items.emplace_back(DlgItem::Radio, D::IDC_COOKIE_CUTTER, "Cookie-Cutter");
    items.emplace_back(DlgItem::Radio, D::IDC_EUCLIDEAN, "Euclidean Dist");
    items.emplace_back(DlgItem::Group, IDC_STATIC, "WEAPON", 5);
    for (int k = 1; k <= MaxSquads; ++k)
        items.emplace_back(DlgItem::Radio, D::IDC_WEAPON_1 + k - 1, std::to_string(k));
    items.emplace_back(DlgItem::Group, IDC_STATIC, "FUNCTION", 3);
    items.emplace_back(DlgItem::Button, D::IDC_SYMMETRIZE_AI, "Symmetrize A/I");
    items.emplace_back(DlgItem::Button, D::IDC_GENERATE, "Generate Array");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Alive");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Injured");
    for (int k = 0; k < 7; ++k)
        PairRow(items, ParamLabels[k], {D::ParamId(k, 0), D::ParamId(k, 1)});
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Decay Rate", 3);
    items.emplace_back(DlgItem::Radio, D::IDC_ALIVE_SLOW, "Slow");
    items.emplace_back(DlgItem::Radio, D::IDC_ALIVE_FAST, "Fast");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Alive");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Radio, D::IDC_INJURED_SLOW, "Slow");
    items.emplace_back(DlgItem::Radio, D::IDC_INJURED_FAST, "Fast");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Injured");

    items.emplace_back(DlgItem::Column);
    items.emplace_back(DlgItem::Group, IDC_STATIC, "UPDATED Prob(HIT)/RANGE ARRAY", 6);
    items.emplace_back(DlgItem::Button, D::IDC_SYMMETRIZE_TABLE, "Symmetrize Alive/Injured");
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Prob(HIT;r)");
    items.emplace_back(DlgItem::NewRow);
    // Each heading over its own column: the range, then its two fields.
    for (int half = 0; half < 2; ++half)
        for (const char* head : {"r", "Alive", "Injured"})
            items.emplace_back(DlgItem::Label, IDC_STATIC, head);
    for (int row = 1; row <= 10; ++row) {
        for (const int r : {row, row + 10}) {
            items.emplace_back(DlgItem::Label, IDC_STATIC, std::to_string(r));
            items.emplace_back(DlgItem::Edit, D::TableId(r, 0));
            items.emplace_back(DlgItem::Edit, D::TableId(r, 1));
        }
        items.emplace_back(DlgItem::NewRow);
    }
    items.emplace_back(DlgItem::EndGroup);
    items.emplace_back(DlgItem::Button, D::IDC_SHOW_FUNCTION, "Show Function");
    return t;
}

int ValidFunction(int w) { return w >= 1 && w <= MaxSquads ? w : 1; }

}  // namespace

float HitCurveValue(const HitCurve& c, double r)
{
    double p;
    if (r < c.RMin)
        p = c.PLow;
    else if (r == c.RMin)
        p = c.PMin;
    else if (r < c.RMax) {
        const double a = std::pow(c.RMax, c.Power);
        const double b = std::pow(c.RMin, c.Power);
        if (c.Decay == 0)
            p = c.PMin - (c.PMin - c.PMax) * (std::pow(r, c.Power) - b) / (a - b);
        else
            p = c.PMax + (c.PMin - c.PMax) * (std::pow(c.RMin + c.RMax - r, c.Power) - b) / (a - b);
    } else if (r == c.RMax)
        p = c.PMax;
    else
        p = c.PHigh;
    return static_cast<float>(p);
}

void GenerateHitArray(const HitCurve curves[2], const int fireRange[2], float table[HitDialogRanges + 1][2])
{
    for (int c = 0; c < 2; ++c) {
        for (int r = 0; r <= HitDialogRanges; ++r)
            table[r][c] = 0.0f;
        const int last = std::min(fireRange[c], HitDialogRanges);
        for (int r = 1; r <= last; ++r)
            table[r][c] = HitCurveValue(curves[c], static_cast<double>(r));
    }
}

void CopyHitFunctions(SquadWeaponFunction& to, const SquadWeaponFunction& from)
{
    to.sensor_type = from.sensor_type;
    for (int w = 1; w <= MaxSquads; ++w) {
        to.weapon_squad[w] = from.weapon_squad[w];
        for (int c = 0; c < 2; ++c) {
            to.plow[w][c] = from.plow[w][c];
            to.phigh[w][c] = from.phigh[w][c];
            to.pmin[w][c] = from.pmin[w][c];
            to.pmax[w][c] = from.pmax[w][c];
            to.rmin[w][c] = from.rmin[w][c];
            to.rmax[w][c] = from.rmax[w][c];
            to.power[w][c] = from.power[w][c];
            to.decay[w][c] = from.decay[w][c];
            for (int r = 1; r <= HitDialogRanges; ++r)
                to.p_r[w][r][c] = from.p_r[w][r][c];
        }
    }
}

CHitProbDlg::CHitProbDlg(const CBrevimarDoc& doc, Side side, QWidget* parent) : CHitProbDlg(side, parent)
{
    const CForce& f = doc.Force(side);
    SquadCount = std::clamp(f.NumSquads, 1, MaxSquads);
    CopyHitFunctions(Functions, f.WeaponFunction);
    for (int s = 1; s <= MaxSquads; ++s) {
        FireRangeAlive[s] = f.A_F_RANGE[s];
        FireRangeInjured[s] = f.I_F_RANGE[s];
    }
    ShowFirstSquad();
}

CHitProbDlg::CHitProbDlg(Side side, QWidget* parent) : CParamDlg(HitProbTemplate(side), parent)
{
    BindControls();
}

CHitProbDlg::~CHitProbDlg()
{
    for (const auto& chart : OpenCharts)
        if (chart) {
            chart->setParent(parentWidget(), chart->windowFlags());
            chart->show();
        }
}

void CHitProbDlg::BindControls()
{
    for (int k = 1; k <= MaxSquads; ++k) {
        OnSwitch(IDC_SQUAD_1 + k - 1, [this, k] { OnSquad(k); });
        OnSwitch(IDC_WEAPON_1 + k - 1, [this, k] { OnWeapon(k); });
    }
    OnButton(IDC_COOKIE_CUTTER, [this] { OnSensor(0); });
    OnButton(IDC_EUCLIDEAN, [this] { OnSensor(1); });
    OnButton(IDC_ALIVE_SLOW, [this] { OnDecay(0, 0); });
    OnButton(IDC_ALIVE_FAST, [this] { OnDecay(0, 1); });
    OnButton(IDC_INJURED_SLOW, [this] { OnDecay(1, 0); });
    OnButton(IDC_INJURED_FAST, [this] { OnDecay(1, 1); });
    BindStore(IDC_UPDATE, [this] { return OnUpdateSquadWeapon(); });
    OnButton(IDC_SYMMETRIZE_AI, [this] { OnSymmetrizeParameters(); });
    OnButton(IDC_SYMMETRIZE_TABLE, [this] { OnSymmetrizeTable(); });
    OnButton(IDC_GENERATE, [this] { OnGenerateArray(); });
    OnButton(IDC_SHOW_FUNCTION, [this] { OnShowFunction(); });
}

void CHitProbDlg::DoDataExchange(CDataExchange& dx)
{
    for (int c = 0; c < 2; ++c) {
        HitCurve& h = Shown[c];
        double* values[7] = {&h.PLow, &h.RMin, &h.RMax, &h.PMin, &h.PMax, &h.Power, &h.PHigh};
        for (int k = 0; k < 7; ++k) {
            DDX_Text(dx, ParamId(k, c), *values[k]);
            DDV_MinMaxDouble(dx, *values[k], ParamMin[k], ParamMax[k]);
        }
    }
    for (int r = 1; r <= HitDialogRanges; ++r)
        for (int c = 0; c < 2; ++c) {
            DDX_Text(dx, TableId(r, c), ShownTable[r][c]);
            DDV_MinMaxFloat(dx, ShownTable[r][c], 0.0f, 1.0f);
        }
}

void CHitProbDlg::ShowFirstSquad()
{
    CurrentSquad = 1;
    CurrentFunction = ValidFunction(Functions.weapon_squad[1]);
    LoadFunction(CurrentFunction);
}

bool CHitProbDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    EnableSquadRadios(IDC_SQUAD_1);
    CheckRadioButton(IDC_SQUAD_1, IDC_SQUAD_1 + MaxSquads - 1, IDC_SQUAD_1 + CurrentSquad - 1);
    CheckRadioButton(IDC_WEAPON_1, IDC_WEAPON_1 + MaxSquads - 1, IDC_WEAPON_1 + CurrentFunction - 1);
    CheckRadioButton(IDC_COOKIE_CUTTER, IDC_EUCLIDEAN, Functions.sensor_type == 0 ? IDC_COOKIE_CUTTER : IDC_EUCLIDEAN);
    CheckRadioButton(IDC_ALIVE_SLOW, IDC_ALIVE_FAST, Shown[0].Decay == 0 ? IDC_ALIVE_SLOW : IDC_ALIVE_FAST);
    CheckRadioButton(IDC_INJURED_SLOW, IDC_INJURED_FAST, Shown[1].Decay == 0 ? IDC_INJURED_SLOW : IDC_INJURED_FAST);
    UpdateData(false);
    return true;
}

void CHitProbDlg::LoadFunction(int w)
{
    const SquadWeaponFunction& f = Functions;
    for (int c = 0; c < 2; ++c) {
        Shown[c] = {f.plow[w][c], f.rmin[w][c],  f.rmax[w][c],  f.pmin[w][c],
                    f.pmax[w][c], f.power[w][c], f.phigh[w][c], f.decay[w][c] == 0 ? 0 : 1};
        for (int r = 1; r <= HitDialogRanges; ++r)
            ShownTable[r][c] = f.p_r[w][r][c];
    }
}

void CHitProbDlg::StoreShown()
{
    CurrentSquad = std::min(CurrentSquad, SquadCount);
    const int w = CurrentFunction;
    SquadWeaponFunction& f = Functions;
    f.weapon_squad[CurrentSquad] = w;
    for (int c = 0; c < 2; ++c) {
        const HitCurve& h = Shown[c];
        f.plow[w][c] = h.PLow;
        f.rmin[w][c] = h.RMin;
        f.rmax[w][c] = h.RMax;
        f.pmin[w][c] = h.PMin;
        f.pmax[w][c] = h.PMax;
        f.power[w][c] = h.Power;
        f.phigh[w][c] = h.PHigh;
        f.decay[w][c] = h.Decay;
        for (int r = 1; r <= HitDialogRanges; ++r)
            f.p_r[w][r][c] = ShownTable[r][c];
    }
}

void CHitProbDlg::OnSquad(int k)
{
    if (k >= 1 && k <= MaxSquads && (k == 1 || k <= SquadCount)) {
        CurrentSquad = k;
        CurrentFunction = ValidFunction(Functions.weapon_squad[k]);
        LoadFunction(CurrentFunction);
        UpdateData(false);
    }
    OnInitDialog();
}

void CHitProbDlg::OnWeapon(int k)
{
    CurrentFunction = ValidFunction(k);
    Functions.weapon_squad[CurrentSquad] = CurrentFunction;
    LoadFunction(CurrentFunction);
    UpdateData(false);
    OnInitDialog();
}

void CHitProbDlg::OnSensor(int type)
{
    Functions.sensor_type = type;
    UpdateData(false);
    OnInitDialog();
}

void CHitProbDlg::OnDecay(int state, int rate)
{
    Shown[state].Decay = rate;
    UpdateData(false);
    UpdateData(true);
    OnInitDialog();
}

bool CHitProbDlg::ShownFitsFunction()
{
    // The symmetrize buttons store the alive values as the injured ones: a
    // value opened outside its range is kept only where it came from.
    const int w = CurrentFunction;
    const SquadWeaponFunction& f = Functions;
    CDataExchange dx(*this, true);
    for (int c = 0; c < 2; ++c) {
        const HitCurve& h = Shown[c];
        const double shown[7] = {h.PLow, h.RMin, h.RMax, h.PMin, h.PMax, h.Power, h.PHigh};
        const double kept[7] = {f.plow[w][c], f.rmin[w][c], f.rmax[w][c], f.pmin[w][c],
                                f.pmax[w][c], f.power[w][c], f.phigh[w][c]};
        for (int k = 0; k < 7; ++k)
            if (shown[k] != kept[k] && dx.Begin(ParamId(k, c)))
                DDV_MinMaxDouble(dx, shown[k], ParamMin[k], ParamMax[k]);
    }
    for (int r = 1; r <= HitDialogRanges; ++r)
        for (int c = 0; c < 2; ++c)
            if (ShownTable[r][c] != f.p_r[w][r][c] && dx.Begin(TableId(r, c)))
                DDV_MinMaxFloat(dx, ShownTable[r][c], 0.0f, 1.0f);
    return !dx.Failed();
}

bool CHitProbDlg::OnUpdateSquadWeapon()
{
    if (!UpdateData(true) || !ShownFitsFunction())
        return false;
    StoreShown();
    return true;
}

void CHitProbDlg::OnSymmetrizeParameters()
{
    if (!UpdateData(true))
        return;
    Shown[1] = Shown[0];
    UpdateData(false);
    OnUpdateSquadWeapon();
}

void CHitProbDlg::OnSymmetrizeTable()
{
    if (!UpdateData(true))
        return;
    for (int r = 1; r <= HitDialogRanges; ++r)
        ShownTable[r][1] = ShownTable[r][0];
    UpdateData(false);
    OnUpdateSquadWeapon();
}

void CHitProbDlg::OnGenerateArray()
{
    if (!UpdateData(true))
        return;
    const int s = std::clamp(CurrentSquad, 1, MaxSquads);
    const int ranges[2] = {FireRangeAlive[s], FireRangeInjured[s]};
    GenerateHitArray(Shown, ranges, Scratch);
    for (int r = 1; r <= HitDialogRanges; ++r)
        for (int c = 0; c < 2; ++c)
            ShownTable[r][c] = Scratch[r][c];
    StoreShown();
    UpdateData(false);
}

void CHitProbDlg::OnShowFunction()
{
    if (!UpdateData(true))
        return;
    for (int r = 1; r <= HitDialogRanges; ++r)
        for (int c = 0; c < 2; ++c)
            Scratch[r][c] = ShownTable[r][c];
    Scratch[0][0] = Scratch[1][0];
    Scratch[0][1] = Scratch[1][1];
    const int s = std::clamp(CurrentSquad, 1, MaxSquads);
    // The table ends at range 20, whatever the fire range.
    const int n = std::clamp(std::max(FireRangeAlive[s], FireRangeInjured[s]), 0, HitDialogRanges);
    LastChart = new CHitProbabilityGraphDlg(this, &Scratch[0][0], n);
    OpenCharts.emplace_back(LastChart);
}

}  // namespace brevimar
