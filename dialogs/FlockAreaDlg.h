// The flock rings and the move-selection area of each squad. The
// constructors copy nothing: the opener sets the squad count, fills the
// entries of squads 1..count (the rest 0) and shows squad 1 before DoModal,
// and reads the entries after OK.
#pragma once

#include "core/Side.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CFlockDlg : public CParamDlg {
public:
    enum : int { IDC_INNER_ALIVE = 1101, IDC_INNER_INJURED, IDC_OUTER_ALIVE, IDC_OUTER_INJURED };
    static constexpr float MaxRange = 999.0f;

    CFlockDlg(Side side, QWidget* parent = nullptr);

    // Inner Range := Outer Range where it exceeds it, alive and injured
    // separately, over all ten squads.
    void ClampInnerRings();

    SquadValue<float> InnerAlive, InnerInjured, OuterAlive, OuterInjured;
};

class CRedFlockDlg : public CFlockDlg {
public:
    static constexpr unsigned IDD = 262;
    explicit CRedFlockDlg(QWidget* parent = nullptr) : CFlockDlg(Side::Red, parent) {}
};

class CBlueFlockDlg : public CFlockDlg {
public:
    static constexpr unsigned IDD = 263;
    explicit CBlueFlockDlg(QWidget* parent = nullptr) : CFlockDlg(Side::Blue, parent) {}
};

class CMoveAreaDlg : public CParamDlg {
public:
    enum : int { IDC_CENTER_X = 1101, IDC_CENTER_Y, IDC_RANGE_X, IDC_RANGE_Y };

    CMoveAreaDlg(Side side, QWidget* parent = nullptr);

    SquadValue<int> CenterX, CenterY, RangeX, RangeY;
};

class CRedMoveAreaDlg : public CMoveAreaDlg {
public:
    static constexpr unsigned IDD = 260;
    explicit CRedMoveAreaDlg(QWidget* parent = nullptr) : CMoveAreaDlg(Side::Red, parent) {}
};

class CBlueMoveAreaDlg : public CMoveAreaDlg {
public:
    static constexpr unsigned IDD = 261;
    explicit CBlueMoveAreaDlg(QWidget* parent = nullptr) : CMoveAreaDlg(Side::Blue, parent) {}
};

}  // namespace brevimar
