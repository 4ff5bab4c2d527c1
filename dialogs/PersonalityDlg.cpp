#include "dialogs/PersonalityDlg.h"

#include "core/Document.h"
#include "dialogs/FlockAreaDlg.h"

namespace brevimar {

namespace {

std::string SideName(Side side) { return side == Side::Red ? "Red" : "Blue"; }

void SelectSquadGroup(std::vector<DialogItem>& items)
{
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Select Squad");
    SquadRadioItems(items, IDC_SQUAD_1);
    items.emplace_back(DlgItem::Button, IDC_STORE_SQUAD, "Store Current Squad Data");
    items.emplace_back(DlgItem::EndGroup);
}

DialogTemplate PersonalityTemplate(Side side)
{
    DialogTemplate t{side == Side::Red ? 205u : 206u, "Options::" + SideName(side) + " Personality", {}};
    t.Items.emplace_back(DlgItem::Group, IDC_STATIC, "Define Personality Weight Matrix", 3);
    PersonalityItems(t.Items, side, true);
    t.Items.emplace_back(DlgItem::EndGroup);
    SelectSquadGroup(t.Items);
    return t;
}

DialogTemplate MetaTemplate(Side side)
{
    DialogTemplate t{side == Side::Red ? 207u : 208u, "Options::" + SideName(side) + " Meta-Personality", {}};
    t.Items.emplace_back(DlgItem::Group, IDC_STATIC, "Meta-Personality Thresholds", 4);
    MetaItems(t.Items, side);
    t.Items.emplace_back(DlgItem::EndGroup);
    SelectSquadGroup(t.Items);
    return t;
}

// Rows 1..14, alive and injured: {min, max} pairs.
MetaRanges MakeRanges(std::initializer_list<std::array<int, 4>> rows)
{
    MetaRanges r{};
    int row = 1;
    for (const auto& v : rows) {
        r.Min[row][0] = v[0];
        r.Max[row][0] = v[1];
        r.Min[row][1] = v[2];
        r.Max[row][1] = v[3];
        ++row;
    }
    return r;
}

}  // namespace

MetaRanges OnTheFlyMetaRanges(Side side)
{
    const bool red = side == Side::Red;
    return MakeRanges({
        red ? std::array{0, 25, 0, 25} : std::array{0, 99, 0, 99},      // ADVANCE
        red ? std::array{0, 999, 0, 999} : std::array{0, 99, 0, 99},    // CLUSTER
        {-999, 999, -999, 999},                                          // COMBAT
        {0, 0, 0, 0},                                                    // HOLD (-1.0..1.0)
        {-999, 999, -999, 999},                                          // PURSUIT - I
        {-999, 999, -999, 999},                                          // PURSUIT - II
        {0, 999, 0, 999},                                                // RETREAT
        {-999, 999, -999, 999},                                          // SUPPORT-I
        {-999, 999, -999, 999},                                          // SUPPORT-II
        {0, 99, 0, 99},                                                  // own side
        red ? std::array{0, 99, 0, 25} : std::array{0, 99, 0, 99},      // other side
        {0, 99, 0, 99},                                                  // flag
        {0, 999, 0, 999},                                                // terrain
        {0, 999, 0, 999},                                                // area
    });
}

MetaRanges AgentMetaRanges(Side side)
{
    const bool red = side == Side::Red;
    return MakeRanges({
        red ? std::array{0, 25, 0, 25} : std::array{0, 25, 0, 99},      // ADVANCE
        red ? std::array{0, 100, 0, 100} : std::array{0, 99, 0, 99},    // CLUSTER
        {-100, 100, -100, 100},                                          // COMBAT
        {0, 0, 0, 0},                                                    // HOLD (-1.0..1.0)
        {-999, 999, -999, 999},                                          // PURSUIT - I
        {-999, 999, -999, 999},                                          // PURSUIT - II
        {0, 999, 0, 999},                                                // RETREAT
        {-999, 999, -999, 999},                                          // SUPPORT-I
        {-999, 999, -999, 999},                                          // SUPPORT-II
        red ? std::array{0, 10, 0, 10} : std::array{0, 99, 0, 300},     // own side
        red ? std::array{0, 25, 0, 25} : std::array{0, 15, 0, 99},      // other side
        red ? std::array{0, 200, 0, 200} : std::array{0, 300, 0, 300},  // flag
        {0, 999, 0, 999},                                                // terrain
        {0, 999, 0, 999},                                                // area
    });
}

bool OpenAreaSubDialog(CParamDlg& opener, Side side, CPersonalityValues& values, int count)
{
    opener.Invalidate(true);
    CMoveAreaDlg dlg(side, &opener);
    dlg.SquadCount = count;
    SeedSquadValue(dlg.CenterX, values.AreaCenterX, count);
    SeedSquadValue(dlg.CenterY, values.AreaCenterY, count);
    SeedSquadValue(dlg.RangeX, values.AreaRangeX, count);
    SeedSquadValue(dlg.RangeY, values.AreaRangeY, count);
    dlg.ShowFirstSquad();
    if (dlg.DoModal() != IDOK)
        return false;
    for (int s = 1; s <= MaxSquads; ++s) {
        values.AreaCenterX.Squad[s] = dlg.CenterX.Squad[s];
        values.AreaCenterY.Squad[s] = dlg.CenterY.Squad[s];
        values.AreaRangeX.Squad[s] = dlg.RangeX.Squad[s];
        values.AreaRangeY.Squad[s] = dlg.RangeY.Squad[s];
    }
    return true;
}

bool OpenFormationSubDialog(CParamDlg& opener, Side side, CPersonalityValues& values, int count)
{
    opener.Invalidate(true);
    CFlockDlg dlg(side, &opener);
    dlg.SquadCount = count;
    SeedSquadValue(dlg.InnerAlive, values.FlockInnerAlive, count);
    SeedSquadValue(dlg.InnerInjured, values.FlockInnerInjured, count);
    SeedSquadValue(dlg.OuterAlive, values.FlockOuterAlive, count);
    SeedSquadValue(dlg.OuterInjured, values.FlockOuterInjured, count);
    dlg.ShowFirstSquad();
    if (dlg.DoModal() != IDOK)
        return false;
    dlg.ClampInnerRings();
    for (int s = 1; s <= MaxSquads; ++s) {
        values.FlockInnerAlive.Squad[s] = dlg.InnerAlive.Squad[s];
        values.FlockInnerInjured.Squad[s] = dlg.InnerInjured.Squad[s];
        values.FlockOuterAlive.Squad[s] = dlg.OuterAlive.Squad[s];
        values.FlockOuterInjured.Squad[s] = dlg.OuterInjured.Squad[s];
    }
    return true;
}

CPersonalityDlg::CPersonalityDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(PersonalityTemplate(side), parent), DlgSide(side), RandomSource(&doc.host())
{
    BindSquadRadios(IDC_SQUAD_1);
    Values.Bind(*this, {-100.0f, 100.0f, -100.0f, 100.0f});
    BindStore(IDC_STORE_SQUAD);
    OnButton(IDC_RANDOMIZE_ALIVE, [this] {
        Values.Randomize(*RandomSource, DlgSide, true, true);
        UpdateData(false);
    });
    OnButton(IDC_RANDOMIZE_INJURED, [this] {
        Values.Randomize(*RandomSource, DlgSide, false, true);
        UpdateData(false);
    });
    OnButton(IDC_OPEN_AREA, [this] { OpenAreaSubDialog(*this, DlgSide, Values, SquadCount); });
    OnButton(IDC_OPEN_FORMATION, [this] { OpenFormationSubDialog(*this, DlgSide, Values, SquadCount); });

    SquadCount = std::clamp(doc.Force(side).NumSquads, 1, MaxSquads);
    Values.CopyIn(doc, side, SquadCount);
    ShowFirstSquad();
}

CMetaPersonalityDlg::CMetaPersonalityDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(MetaTemplate(side), parent)
{
    BindSquadRadios(IDC_SQUAD_1);
    Values.Bind(*this, side, OnTheFlyMetaRanges(side));
    BindStore(IDC_STORE_SQUAD);
    SquadCount = std::clamp(doc.Force(side).NumSquads, 1, MaxSquads);
    Values.CopyIn(doc.Force(side), side, SquadCount);
    ShowFirstSquad();
}

}  // namespace brevimar
