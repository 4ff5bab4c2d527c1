// Small editors: the scenario seed, the territorial-possession criteria,
// the squads to highlight, and the parameters of the two matrix searches.
#pragma once

#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;

// Zero and negative seeds are the ones the generator takes as a seed.
class CRandomSeedDlg : public CParamDlg {
public:
    enum : int { IDC_SEED = 1101 };
    static constexpr int MinSeed = -99999999;
    explicit CRandomSeedDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);
    int Seed = 0;
};

// The constructor copies nothing: the opener sets the eight values.
class CTerritorialPossessionDlg : public CParamDlg {
public:
    enum : int {
        IDC_RANGE = 1101,
        IDC_MIN_COUNT,
        IDC_DELTA,
        IDC_CENTER_X,
        IDC_CENTER_Y,
        IDC_RANGE_X,
        IDC_RANGE_Y,
        IDC_USER_DEFINED = 1201,
        IDC_ENTIRE,
    };
    explicit CTerritorialPossessionDlg(QWidget* parent = nullptr);
    int Range = 1, MinCount = 1, Delta = 0;
    int UserArea = 0;  // 0 the entire battlefield, 1 the user-defined area
    int CenterX = 1, CenterY = 1, RangeX = 1, RangeY = 1;
};

class CSquadHighlightDlg : public CParamDlg {
public:
    enum : int {
        IDC_RED_ON = 1101,
        IDC_RED_SQUAD,
        IDC_BLUE_ON,
        IDC_BLUE_SQUAD,
        IDC_RED_YES = 1201,
        IDC_RED_NO,
        IDC_BLUE_YES = 1211,
        IDC_BLUE_NO,
    };
    explicit CSquadHighlightDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    int RedOn = 0, RedSquad = 1, ShowOtherRed = 0;
    int BlueOn = 0, BlueSquad = 1, ShowOtherBlue = 0;

private:
    void Answer(int& member, int yes);
};

// The constructor copies nothing: the opener sets the three values.
class CCommMatrixParamsDlg : public CParamDlg {
public:
    enum : int { IDC_SEED_ALL = 1101, IDC_FORCE_SYMMETRY, IDC_LINK_PROB };
    explicit CCommMatrixParamsDlg(QWidget* parent = nullptr);
    int SeedAll = 0;
    int ForceSymmetry = 0;
    double LinkProb = 0.0;
};

// The constructor copies nothing: the opener sets both thresholds.
class CSquadMatrixParamsDlg : public CParamDlg {
public:
    enum : int { IDC_T1 = 1101, IDC_T2 };
    explicit CSquadMatrixParamsDlg(QWidget* parent = nullptr);
    double T1 = 0.0;
    double T2 = 0.0;
};

}  // namespace brevimar
