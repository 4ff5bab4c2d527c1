#include "dialogs/RangeOptionDlgs.h"

#include <utility>

#include "core/Document.h"
#include "dialogs/SquadSections.h"

namespace brevimar {

namespace {

std::string SideWord(Side side) { return side == Side::Red ? "Red" : "Blue"; }

void SquadSelector(std::vector<DialogItem>& items, Side side)
{
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Select Squad");
    SquadRadioItems(items, IDC_SQUAD_1);
    items.emplace_back(DlgItem::Button, IDC_STORE_SQUAD, "Store Current " + SideWord(side) + " Data");
    items.emplace_back(DlgItem::EndGroup);
}

void PairHeader(std::vector<DialogItem>& items)
{
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    // One heading over each field of the pair.
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Alive");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Injured");
}

DialogTemplate RangeTemplate(Side side, RangeOption option)
{
    const RangeOptionInfo& info = InfoOf(option);
    DialogTemplate t{0, "Options::" + SideWord(side) + " " + info.Caption, {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", 3);
    PairHeader(items);
    PairRow(items, info.Label, {CSquadRangeDlg::IDC_ALIVE, CSquadRangeDlg::IDC_INJURED});
    items.emplace_back(DlgItem::EndGroup);
    SquadSelector(items, side);
    return t;
}

DialogTemplate MovementTemplate(Side side)
{
    using M = CMovementRangeDlg;
    DialogTemplate t{0, "Options::" + SideWord(side) + " Movement Range", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", 3);
    PairHeader(items);
    PairRow(items, "Movement Range", {M::IDC_RANGE_ALIVE, M::IDC_RANGE_INJURED});
    PairRow(items, "Prob of Making Move", {M::IDC_PROB_ALIVE, M::IDC_PROB_INJURED});
    PairRow(items, "Time-Between Moves", {M::IDC_TIME_ALIVE, M::IDC_TIME_INJURED});
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Delay Between Moves?");
    items.emplace_back(DlgItem::Radio, M::IDC_PROB_MOVE, "Prob/Move");
    items.emplace_back(DlgItem::Radio, M::IDC_TIME_MOVE, "Time/Move");
    items.emplace_back(DlgItem::EndGroup);
    SquadSelector(items, side);
    return t;
}

DialogTemplate CommunicationsTemplate(Side side)
{
    using C = CCommunicationsDlg;
    DialogTemplate t{0, "Options::" + SideWord(side) + " Communications", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "", 3);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Communications Range");
    items.emplace_back(DlgItem::Edit, C::IDC_RANGE);
    items.emplace_back(DlgItem::NewRow);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    // One heading over each field of the pair.
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Alive");
    items.emplace_back(DlgItem::Label, IDC_STATIC, "Injured");
    PairRow(items, "Weight", {C::IDC_WEIGHT_ALIVE, C::IDC_WEIGHT_INJURED});
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Toggle On/Off");
    items.emplace_back(DlgItem::Radio, C::IDC_ON, "On");
    items.emplace_back(DlgItem::Radio, C::IDC_OFF, "Off");
    items.emplace_back(DlgItem::EndGroup);
    return t;
}

// The force's alive and injured rows of a whole-number option.
std::pair<const int*, const int*> IntRows(const CForce& f, RangeOption option)
{
    switch (option) {
    case RangeOption::Fire: return {f.A_F_RANGE, f.I_F_RANGE};
    case RangeOption::Sensor: return {f.A_S_RANGE, f.I_S_RANGE};
    case RangeOption::Threshold: return {f.A_C_RANGE, f.I_C_RANGE};
    case RangeOption::MaxTargets: return {f.A_R_max_eng_num, f.I_R_max_eng_num};
    default: return {f.alive_strength, f.injured_strength};  // Defense; P(k) is a float option
    }
}

}  // namespace

const RangeOptionInfo& InfoOf(RangeOption option)
{
    static const RangeOptionInfo table[] = {
        {"Fire Range", "Fire Range", false, 1, 25},
        {"Sensor Range", "Sensor Range", false, 1, 99},
        {"Threshold Range", "Threshold Range", false, 1, 99},
        {"Max Tgts", "Max # Simul Tgts", false, 1, 999},
        {"Single-Shot P(k)", "Single-Shot P(k)", true, 0, 1},
        {"Defense", "Defense Strength", false, 1, 99},
    };
    return table[static_cast<int>(option)];
}

CSquadRangeDlg::CSquadRangeDlg(const CBrevimarDoc& doc, Side side, RangeOption option, QWidget* parent)
    : CParamDlg(RangeTemplate(side, option), parent), Option(option)
{
    const RangeOptionInfo& info = InfoOf(option);
    BindSquadRadios(IDC_SQUAD_1);
    if (info.IsFloat) {
        Bind(IDC_ALIVE, AliveF, 0.0f, 1.0f);
        Bind(IDC_INJURED, InjuredF, 0.0f, 1.0f);
    } else {
        Bind(IDC_ALIVE, Alive, info.Min, info.Max);
        Bind(IDC_INJURED, Injured, info.Min, info.Max);
    }
    BindStore(IDC_STORE_SQUAD);

    const CForce& f = doc.Force(side);
    SquadCount = std::clamp(f.NumSquads, 1, MaxSquads);
    const int n = SquadCount;
    if (info.IsFloat) {
        CopySquadRow(AliveF, f.shot_prob_alive, n);
        CopySquadRow(InjuredF, f.shot_prob_injured, n);
    } else {
        const auto [alive, injured] = IntRows(f, option);
        CopySquadRow(Alive, alive, n);
        CopySquadRow(Injured, injured, n);
    }
}

CMovementRangeDlg::CMovementRangeDlg(const CBrevimarDoc& doc, Side side, QWidget* parent)
    : CParamDlg(MovementTemplate(side), parent)
{
    BindSquadRadios(IDC_SQUAD_1);
    Bind(IDC_RANGE_ALIVE, RangeAlive, 0, MaxMoveRange);
    Bind(IDC_RANGE_INJURED, RangeInjured, 0, MaxMoveRange);
    Bind(IDC_PROB_ALIVE, ProbAlive, 0.0f, 1.0f);
    Bind(IDC_PROB_INJURED, ProbInjured, 0.0f, 1.0f);
    Bind(IDC_TIME_ALIVE, TimeAlive, 1, 999);
    Bind(IDC_TIME_INJURED, TimeInjured, 1, 999);
    BindOnOff(IDC_TIME_MOVE, IDC_PROB_MOVE, Mode);
    BindStore(IDC_STORE_SQUAD);

    const CForce& f = doc.Force(side);
    SquadCount = std::clamp(f.NumSquads, 1, MaxSquads);
    const int n = SquadCount;
    Mode = f.MoveGateByTime;
    CopySquadRow(RangeAlive, f.A_M_RANGE, n);
    CopySquadRow(RangeInjured, f.I_M_RANGE, n);
    CopySquadRow(ProbAlive, f.MoveProbAlive, n);
    CopySquadRow(ProbInjured, f.MoveProbInjured, n);
    CopySquadRow(TimeAlive, f.MovePeriodAlive, n);
    CopySquadRow(TimeInjured, f.MovePeriodInjured, n);
    // Squads beyond the count: a move every step.
    for (int s = n + 1; s <= MaxSquads; ++s) {
        ProbAlive.Squad[s] = ProbInjured.Squad[s] = 1.0f;
        TimeAlive.Squad[s] = TimeInjured.Squad[s] = 1;
    }
}

CCommunicationsDlg::CCommunicationsDlg(Side side, QWidget* parent) : CParamDlg(CommunicationsTemplate(side), parent)
{
    Bind(IDC_RANGE, Range, 0, 999);
    Bind(IDC_WEIGHT_ALIVE, WeightAlive, 0.0f, 1.0f);
    Bind(IDC_WEIGHT_INJURED, WeightInjured, 0.0f, 1.0f);
    BindOnOff(IDC_ON, IDC_OFF, On);
}

}  // namespace brevimar
