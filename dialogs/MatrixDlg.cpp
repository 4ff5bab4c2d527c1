#include "dialogs/MatrixDlg.h"

#include <algorithm>
#include <string>

namespace brevimar {

namespace {

std::string SideName(Side side) { return side == Side::Red ? "Red" : "Blue"; }

// Cell (i, j) of matrix `name` lies beyond the side's squads.
std::string BeyondSquadsMessage(char name, int i, int j, int squads)
{
    const std::string n = std::to_string(squads);
    std::string text = std::string(1, name) + "[ " + std::to_string(i) + " ][ " + std::to_string(j) +
                       " ] is not kept: the side has " + n + (squads == 1 ? " squad" : " squads") + ", and only ";
    if (squads == 1)
        return text + name + "[ 1 ][ 1 ] is.";
    return text + "rows and columns 1 to " + n + " are.";
}

DialogTemplate CommTemplate(Side side)
{
    DialogTemplate t{0, "Options::" + SideName(side) + " Communications Connectivity Matrix", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Define Communications Connectivity Matrix", MaxSquads);
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j)
            items.emplace_back(DlgItem::CheckBox, CCommMatrixDlg::CellId(i, j),
                               std::to_string(i) + "," + std::to_string(j));
    items.emplace_back(DlgItem::EndGroup);
    items.emplace_back(DlgItem::Button, CCommMatrixDlg::IDC_SYMMETRIZE, "Set C [ j] [ i ] = C [ i ] [ j ]");
    return t;
}

DialogTemplate WeightTemplate(Side side)
{
    DialogTemplate t{0, "Options::" + SideName(side) + " Inter-Squad Weight Connectivity Matrix", {}};
    auto& items = t.Items;
    items.emplace_back(DlgItem::Group, IDC_STATIC, "Define Inter-Squad Weight Connectivity Matrix", MaxSquads + 1);
    items.emplace_back(DlgItem::Label, IDC_STATIC, "");
    for (int j = 1; j <= MaxSquads; ++j)
        items.emplace_back(DlgItem::Label, IDC_STATIC, std::to_string(j));
    for (int i = 1; i <= MaxSquads; ++i) {
        items.emplace_back(DlgItem::Label, IDC_STATIC, std::to_string(i));
        for (int j = 1; j <= MaxSquads; ++j)
            items.emplace_back(DlgItem::Edit, CSquadWeightMatrixDlg::CellId(i, j));
    }
    items.emplace_back(DlgItem::EndGroup);
    items.emplace_back(DlgItem::Button, CSquadWeightMatrixDlg::IDC_SYMMETRIZE, "Set S [ j ] [ i ] = S [ i ] [ j ]");
    return t;
}

}  // namespace

CCommMatrixDlg::CCommMatrixDlg(Side side, QWidget* parent) : CParamDlg(CommTemplate(side), parent)
{
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j)
            OnButton(CellId(i, j), [this, i, j] { OnCell(i, j); });
    OnButton(IDC_SYMMETRIZE, [this] { OnSymmetrize(); });
}

bool CCommMatrixDlg::OnInitDialog()
{
    CParamDlg::OnInitDialog();
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j)
            CheckDlgButton(CellId(i, j), C[i][j] == 1 ? 1 : 0);
    return true;
}

void CCommMatrixDlg::OnCell(int i, int j)
{
    if (!(i == 1 && j == 1) && SquadCount < std::max(i, j)) {
        CheckDlgButton(CellId(i, j), 0);
        MessageBox(BeyondSquadsMessage('C', i, j, SquadCount), {}, MB_OK | MB_ICONWARNING);
        return;
    }
    C[i][j] = C[i][j] == 1 ? 0 : 1;
}

void CCommMatrixDlg::OnSymmetrize()
{
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = i + 1; j <= MaxSquads; ++j)
            C[j][i] = C[i][j];
    OnInitDialog();
}

CSquadWeightMatrixDlg::CSquadWeightMatrixDlg(Side side, QWidget* parent) : CParamDlg(WeightTemplate(side), parent)
{
    OnButton(IDC_SYMMETRIZE, [this] { OnSymmetrize(); });
}

void CSquadWeightMatrixDlg::DoDataExchange(CDataExchange& dx)
{
    for (int i = 1; i <= MaxSquads; ++i)
        for (int j = 1; j <= MaxSquads; ++j) {
            const double before = S[i][j];
            DDX_Text(dx, CellId(i, j), S[i][j]);
            DDV_MinMaxDouble(dx, S[i][j], -1.0, 1.0);
            if (RefusesCellsBeyondSquads && std::max(i, j) > SquadCount && dx.SaveAndValidate && dx.Active() &&
                S[i][j] != before)
                dx.Fail(BeyondSquadsMessage('S', i, j, SquadCount));
        }
}

void CSquadWeightMatrixDlg::OnSymmetrize()
{
    if (!UpdateData(true))
        return;
    const int n = RefusesCellsBeyondSquads ? std::clamp(SquadCount, 1, MaxSquads) : MaxSquads;
    for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j)
            S[j][i] = S[i][j];
    UpdateData(false);
}

}  // namespace brevimar
