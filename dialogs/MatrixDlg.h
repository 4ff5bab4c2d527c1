// The squad-to-squad matrices of one side: communications links as a grid
// of check boxes, inter-squad weights as a grid of numbers. The
// constructors copy nothing: the opener fills the matrix and the squad count
// before DoModal and reads the matrix after OK. A cell the dialog does not
// take is refused with a message that names it and the squads it keeps.
#pragma once

#include "core/Limits.h"
#include "core/Side.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CCommMatrixDlg : public CParamDlg {
public:
    enum : int { IDC_SYMMETRIZE = 1001 };
    // The box of cell (i, j), i and j 1..10.
    static constexpr int CellId(int i, int j) { return 1100 + 10 * (i - 1) + (j - 1); }

    CCommMatrixDlg(Side side, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    void OnCell(int i, int j);
    void OnSymmetrize();

    int C[SquadSlots][SquadSlots] = {};  // 1 = squads i and j linked
};

class CRedCommMatrixDlg : public CCommMatrixDlg {
public:
    explicit CRedCommMatrixDlg(QWidget* parent = nullptr) : CCommMatrixDlg(Side::Red, parent) {}
};
class CBlueCommMatrixDlg : public CCommMatrixDlg {
public:
    explicit CBlueCommMatrixDlg(QWidget* parent = nullptr) : CCommMatrixDlg(Side::Blue, parent) {}
};

class CSquadWeightMatrixDlg : public CParamDlg {
public:
    enum : int { IDC_SYMMETRIZE = 1001 };
    static constexpr int CellId(int i, int j) { return 1100 + 10 * (i - 1) + (j - 1); }

    CSquadWeightMatrixDlg(Side side, QWidget* parent = nullptr);
    void OnSymmetrize();

    double S[SquadSlots][SquadSlots] = {};
    // Opened from an agent dialog, which keeps only the cells of its squads:
    // a cell beyond the squad count that is changed is refused, and the
    // symmetrise button mirrors the squads' cells alone. Otherwise every
    // cell is taken, whatever the squad count.
    bool RefusesCellsBeyondSquads = false;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CRedSquadWeightMatrixDlg : public CSquadWeightMatrixDlg {
public:
    explicit CRedSquadWeightMatrixDlg(QWidget* parent = nullptr) : CSquadWeightMatrixDlg(Side::Red, parent) {}
};
class CBlueSquadWeightMatrixDlg : public CSquadWeightMatrixDlg {
public:
    explicit CBlueSquadWeightMatrixDlg(QWidget* parent = nullptr) : CSquadWeightMatrixDlg(Side::Blue, parent) {}
};

}  // namespace brevimar
