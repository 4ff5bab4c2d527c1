#include "dialogs/ParamDlg.h"

#include <type_traits>

namespace brevimar {

namespace {

template <typename T>
void CheckRange(CDataExchange& dx, T value, T minValue, T maxValue)
{
    if constexpr (std::is_same_v<T, int>)
        DDV_MinMaxInt(dx, value, minValue, maxValue);
    else if constexpr (std::is_same_v<T, float>)
        DDV_MinMaxFloat(dx, value, minValue, maxValue);
    else
        DDV_MinMaxDouble(dx, value, minValue, maxValue);
}

template <typename T>
void ExchangeChecked(CDataExchange& dx, int id, T& value, T minValue, T maxValue)
{
    DDX_Text(dx, id, value);
    CheckRange(dx, value, minValue, maxValue);
}

}  // namespace

CParamDlg::CParamDlg(const DialogTemplate& dialogTemplate, QWidget* parent) : CDialog(dialogTemplate, parent) {}

void CParamDlg::LoadSquad(int k)
{
    if (k < 1 || k > MaxSquads)
        return;
    for (const auto& load : Loads)
        load(k);
}

void CParamDlg::ShowFirstSquad()
{
    CurrentSquad = 1;
    SquadRadioIndex = 0;
    LoadSquad(1);
}

void CParamDlg::ZeroSquadArrays()
{
    for (const auto& zero : Zeros)
        zero();
}

void CParamDlg::CopySquad(int from, int to)
{
    if (from < 1 || from > MaxSquads || to < 1 || to > MaxSquads)
        return;
    for (const auto& copy : Copies)
        copy(from, to);
}

void CParamDlg::SelectSquad(int k)
{
    if (k >= 1 && k <= MaxSquads && (k == 1 || SquadCount >= k)) {
        CurrentSquad = k;
        SquadRadioIndex = k - 1;
        LoadSquad(k);
        UpdateData(false);
    }
    OnInitDialog();
}

bool CParamDlg::ShownFitsSquad(int k)
{
    CDataExchange dx(*this, true);
    for (const auto& check : Checks)
        check(dx, k);
    return !dx.Failed();
}

bool CParamDlg::StoreSquad()
{
    if (!UpdateData(true))
        return false;
    if (CurrentSquad < 1 || CurrentSquad > MaxSquads || !ShownFitsSquad(CurrentSquad))
        return false;
    for (const auto& store : Stores)
        store(CurrentSquad);
    return true;
}

void CParamDlg::OnOK()
{
    if (StoreShown ? StoreShown() : UpdateData(true))
        EndDialog(IDOK);
}

void CParamDlg::Toggle(int& member)
{
    UpdateData(true);
    member = member == 1 ? 0 : 1;
    UpdateData(false);
}

void CParamDlg::SetOnOff(int& member, int on)
{
    member = on ? 1 : 0;
    UpdateData(false);
    OnInitDialog();
}

void CParamDlg::Choose(int& mode, int code)
{
    UpdateData(true);
    mode = code > 0 && mode != code ? code : 0;
    UpdateData(false);
    OnInitDialog();
}

bool CParamDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SquadRadioIndex = CurrentSquad - 1;
    if (SquadRadioFirst != IDC_STATIC)
        EnableSquadRadios(SquadRadioFirst);
    for (const auto& mark : Marks)
        mark();
    UpdateData(false);
    return true;
}

void CParamDlg::DoDataExchange(CDataExchange& dx)
{
    if (SquadRadioFirst != IDC_STATIC)
        DDX_Radio(dx, SquadRadioFirst, SquadRadioIndex);
    for (const auto& exchange : Exchanges)
        exchange(dx);
}

#define BREVIMAR_BIND_SQUAD(T)                                                                  \
    void CParamDlg::Bind(int id, SquadValue<T>& value, T minValue, T maxValue)                 \
    {                                                                                           \
        SquadEdits.insert(id);                                                                  \
        Exchanges.push_back([id, &value, minValue, maxValue](CDataExchange& dx) {               \
            ExchangeChecked<T>(dx, id, value.Edit, minValue, maxValue);                         \
        });                                                                                     \
        Checks.push_back([id, &value, minValue, maxValue](CDataExchange& dx, int k) {           \
            if (value.Edit != value.Squad[k] && dx.Begin(id))                                   \
                CheckRange<T>(dx, value.Edit, minValue, maxValue);                              \
        });                                                                                     \
        Loads.push_back([&value](int k) { value.Edit = value.Squad[k]; });                      \
        Stores.push_back([&value](int k) { value.Squad[k] = value.Edit; });                     \
        Zeros.push_back([&value] {                                                              \
            for (int s = 1; s <= MaxSquads; ++s)                                                \
                value.Squad[s] = T{};                                                           \
        });                                                                                     \
        Copies.push_back([&value](int from, int to) { value.Squad[to] = value.Squad[from]; });  \
    }                                                                                           \
    void CParamDlg::Bind(int id, T& member, T minValue, T maxValue)                             \
    {                                                                                           \
        Exchanges.push_back([id, &member, minValue, maxValue](CDataExchange& dx) {              \
            ExchangeChecked<T>(dx, id, member, minValue, maxValue);                             \
        });                                                                                     \
    }
BREVIMAR_BIND_SQUAD(int)
BREVIMAR_BIND_SQUAD(float)
BREVIMAR_BIND_SQUAD(double)
#undef BREVIMAR_BIND_SQUAD

void CParamDlg::BindCheck(int id, SquadValue<int>& flag)
{
    Loads.push_back([&flag](int k) { flag.Edit = flag.Squad[k]; });
    Stores.push_back([&flag](int k) { flag.Squad[k] = flag.Edit; });
    Zeros.push_back([&flag] {
        for (int s = 1; s <= MaxSquads; ++s)
            flag.Squad[s] = 0;
    });
    Copies.push_back([&flag](int from, int to) { flag.Squad[to] = flag.Squad[from]; });
    BindCheck(id, flag.Edit);
}

void CParamDlg::BindCheck(int id, int& member)
{
    Marks.push_back([this, id, &member] { CheckDlgButton(id, member == 1 ? 1 : 0); });
    OnButton(id, [this, &member] { Toggle(member); });
}

void CParamDlg::BindOnOff(int onId, int offId, SquadValue<int>& flag)
{
    Loads.push_back([&flag](int k) { flag.Edit = flag.Squad[k]; });
    Stores.push_back([&flag](int k) { flag.Squad[k] = flag.Edit; });
    Zeros.push_back([&flag] {
        for (int s = 1; s <= MaxSquads; ++s)
            flag.Squad[s] = 0;
    });
    Copies.push_back([&flag](int from, int to) { flag.Squad[to] = flag.Squad[from]; });
    BindOnOff(onId, offId, flag.Edit);
}

void CParamDlg::BindOnOff(int onId, int offId, int& member)
{
    Marks.push_back([this, onId, offId, &member] { CheckRadioButton(onId, offId, member > 0 ? onId : offId); });
    OnButton(onId, [this, &member] { SetOnOff(member, 1); });
    OnButton(offId, [this, &member] { SetOnOff(member, 0); });
}

void CParamDlg::BindChoice(int& mode, std::vector<std::pair<int, int>> idsAndCodes)
{
    Marks.push_back([this, &mode, idsAndCodes] {
        bool known = false;
        for (const auto& [id, code] : idsAndCodes)
            known = known || code == mode;
        if (!known)
            return;
        for (const auto& [id, code] : idsAndCodes)
            CheckDlgButton(id, code == mode ? 1 : 0);
    });
    for (const auto& [id, code] : idsAndCodes) {
        const int c = code;
        OnButton(id, [this, &mode, c] { Choose(mode, c); });
    }
}

void CParamDlg::BindSquadRadios(int firstId)
{
    SquadRadioFirst = firstId;
    for (int k = 1; k <= MaxSquads; ++k)
        OnSwitch(firstId + k - 1, [this, k] { SelectSquad(k); },
                 [this](int edit) { return SquadEdits.count(edit) > 0; });
}

void CParamDlg::BindStore(int id, std::function<bool()> store)
{
    StoreShown = store ? std::move(store) : [this] { return StoreSquad(); };
    OnButton(id, [this] { StoreShown(); });
}

void CParamDlg::EnableSquadRadios(int firstId)
{
    for (int k = 1; k <= MaxSquads; ++k)
        EnableDlgItem(firstId + k - 1, k == 1 || k <= SquadCount);
}

void SquadRadioItems(std::vector<DialogItem>& items, int firstId)
{
    for (int k = 1; k <= MaxSquads; ++k)
        items.emplace_back(DlgItem::Radio, firstId + k - 1, std::to_string(k));
}

void PairRow(std::vector<DialogItem>& items, const std::string& label, std::initializer_list<int> ids)
{
    items.emplace_back(DlgItem::Label, IDC_STATIC, label);
    for (const int id : ids)
        items.emplace_back(DlgItem::Edit, id);
    items.emplace_back(DlgItem::NewRow);
}

}  // namespace brevimar
