// The P(hit) versus fire-range dialogs: ten weapon functions per side, each a
// curve (plateau below r_min, power-law fall-off to r_max, plateau above) for
// alive and injured shooters, and the table of P(hit) by range 1..20 that
// the curve generates; each squad uses one of the ten. One design serves the
// Edit menu (copied from the side's force) and the agent dialog's "--> P(R)"
// button (seeded by its opener).
#pragma once

#include <QPointer>

#include <vector>

#include "core/Force.h"
#include "core/Side.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;
class CHitProbabilityGraphDlg;

// The table the dialogs edit: ranges 1..20 (row 0 unused).
constexpr int HitDialogRanges = 20;

// One life state's curve.
struct HitCurve {
    double PLow = 0, RMin = 0, RMax = 0, PMin = 0, PMax = 0, Power = 1, PHigh = 0;
    int Decay = 0;  // 0 slow, 1 fast
};
// P(hit) of the curve at range r.
float HitCurveValue(const HitCurve& c, double r);
// Rows r = 0..20 of (alive, injured): the curve of each state out to its
// fire range (at most 20), 0 elsewhere and at r = 0.
void GenerateHitArray(const HitCurve curves[2], const int fireRange[2], float table[HitDialogRanges + 1][2]);

// The functions, their parameters and ranges 1..20 of their tables, and the
// squads' choices: what the dialogs hand back.
void CopyHitFunctions(SquadWeaponFunction& to, const SquadWeaponFunction& from);

class CHitProbDlg : public CParamDlg {
public:
    enum : int {
        IDC_UPDATE = 1011,
        IDC_COOKIE_CUTTER = 1020,
        IDC_EUCLIDEAN,
        IDC_WEAPON_1 = 1031,  // .. 1040
        IDC_SYMMETRIZE_AI = 1041,
        IDC_GENERATE,
        IDC_ALIVE_SLOW = 1070,
        IDC_ALIVE_FAST,
        IDC_INJURED_SLOW = 1073,
        IDC_INJURED_FAST,
        IDC_SYMMETRIZE_TABLE = 1080,
        IDC_SHOW_FUNCTION = 1150,
    };
    // Parameter row k (0 p below r_min, 1 r_min, 2 r_max, 3 p at r_min, 4 p
    // at r_max, 5 power, 6 p above r_max) of state c.
    static constexpr int ParamId(int k, int c) { return 1050 + 2 * k + c; }
    static constexpr int TableId(int r, int c) { return 1100 + 2 * r + c; }

    // Opened from the Edit menu: a copy of the side's functions.
    CHitProbDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);
    // Opened from the agent dialog, which seeds SquadCount, Functions and
    // the fire ranges and then calls ShowFirstSquad.
    CHitProbDlg(Side side, QWidget* parent);
    // Chart windows still open are handed to this dialog's parent window.
    ~CHitProbDlg() override;

    void ShowFirstSquad();
    bool OnInitDialog() override;

    void OnSquad(int k);
    void OnWeapon(int k);
    void OnSensor(int type);
    void OnDecay(int state, int rate);
    bool OnUpdateSquadWeapon();
    void OnSymmetrizeParameters();
    void OnSymmetrizeTable();
    void OnGenerateArray();
    void OnShowFunction();

    int CurrentFunction = 1;
    SquadWeaponFunction Functions;  // sensor_type, weapon_squad and the ten functions
    int FireRangeAlive[SquadSlots] = {};
    int FireRangeInjured[SquadSlots] = {};
    // Shown: the current function.
    HitCurve Shown[2];
    float ShownTable[HitDialogRanges + 1][2] = {};
    float Scratch[HitDialogRanges + 1][2] = {};
    QPointer<CHitProbabilityGraphDlg> LastChart;

private:
    std::vector<QPointer<CHitProbabilityGraphDlg>> OpenCharts;


protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void BindControls();
    void LoadFunction(int w);
    // Whether the shown values may be stored into the current function:
    // each is the function's own or passes its range check, which refuses
    // it with its message.
    bool ShownFitsFunction();
    void StoreShown();
};

class CRedSquadHitProbDlg : public CHitProbDlg {
public:
    static constexpr unsigned IDD = 233;
    explicit CRedSquadHitProbDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CHitProbDlg(doc, Side::Red, parent)
    {
    }
};
class CBlueSquadHitProbDlg : public CHitProbDlg {
public:
    static constexpr unsigned IDD = 236;
    explicit CBlueSquadHitProbDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CHitProbDlg(doc, Side::Blue, parent)
    {
    }
};
class CRedHitProbVsRangeDlg : public CHitProbDlg {
public:
    explicit CRedHitProbVsRangeDlg(QWidget* parent) : CHitProbDlg(Side::Red, parent) {}
};
class CBlueHitProbVsRangeDlg : public CHitProbDlg {
public:
    explicit CBlueHitProbVsRangeDlg(QWidget* parent) : CHitProbDlg(Side::Blue, parent) {}
};

}  // namespace brevimar
