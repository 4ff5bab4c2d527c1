// The per-squad range options of one side, changed while a run is paused:
// six dialogs of one alive / injured pair per squad, told apart by a row of
// a table, the movement dialog with its three pairs and move-delay mode, and
// the side-wide communications dialog.
#pragma once

#include "core/Side.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;

enum class RangeOption { Fire, Sensor, Threshold, MaxTargets, SingleShotPk, Defense };

struct RangeOptionInfo {
    const char* Caption;  // after "Options::Red " / "Options::Blue "
    const char* Label;
    bool IsFloat;
    int Min, Max;  // the float option's range is 0..1
};
const RangeOptionInfo& InfoOf(RangeOption option);

// One alive / injured pair per squad. An int option is held in Alive and
// Injured, the float option (P(k)) in AliveF and InjuredF.
class CSquadRangeDlg : public CParamDlg {
public:
    enum : int { IDC_ALIVE = 1101, IDC_INJURED };

    CSquadRangeDlg(const CBrevimarDoc& doc, Side side, RangeOption option, QWidget* parent = nullptr);

    const RangeOption Option;
    SquadValue<int> Alive, Injured;
    SquadValue<float> AliveF, InjuredF;
};

// The named pairs of dialogs: RED and BLUE differ only in the side.
template <Side S, RangeOption O>
class CRangeOptionDlg : public CSquadRangeDlg {
public:
    explicit CRangeOptionDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr) : CSquadRangeDlg(doc, S, O, parent) {}
};
using CRedFireRangeDlg = CRangeOptionDlg<Side::Red, RangeOption::Fire>;
using CBlueFireRangeDlg = CRangeOptionDlg<Side::Blue, RangeOption::Fire>;
using CRedSensorRangeDlg = CRangeOptionDlg<Side::Red, RangeOption::Sensor>;
using CBlueSensorRangeDlg = CRangeOptionDlg<Side::Blue, RangeOption::Sensor>;
using CRedThresholdRangeDlg = CRangeOptionDlg<Side::Red, RangeOption::Threshold>;
using CBlueThresholdRangeDlg = CRangeOptionDlg<Side::Blue, RangeOption::Threshold>;
using CRedMaxTargetsDlg = CRangeOptionDlg<Side::Red, RangeOption::MaxTargets>;
using CBlueMaxTargetsDlg = CRangeOptionDlg<Side::Blue, RangeOption::MaxTargets>;
using CRedSingleShotPkDlg = CRangeOptionDlg<Side::Red, RangeOption::SingleShotPk>;
using CBlueSingleShotPkDlg = CRangeOptionDlg<Side::Blue, RangeOption::SingleShotPk>;
using CRedDefenseDlg = CRangeOptionDlg<Side::Red, RangeOption::Defense>;
using CBlueDefenseDlg = CRangeOptionDlg<Side::Blue, RangeOption::Defense>;

class CMovementRangeDlg : public CParamDlg {
public:
    enum : int {
        IDC_RANGE_ALIVE = 1101,
        IDC_RANGE_INJURED,
        IDC_PROB_ALIVE,
        IDC_PROB_INJURED,
        IDC_TIME_ALIVE,
        IDC_TIME_INJURED,
        IDC_TIME_MOVE = 1201,  // "Time/Move": mode 1
        IDC_PROB_MOVE = 1202,  // "Prob/Move": mode 0
    };

    CMovementRangeDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);

    int Mode = 0;  // 0 moves gated by a probability, 1 by a time interval
    SquadValue<int> RangeAlive, RangeInjured, TimeAlive, TimeInjured;
    SquadValue<float> ProbAlive, ProbInjured;
};

template <Side S>
class CSideMovementRangeDlg : public CMovementRangeDlg {
public:
    explicit CSideMovementRangeDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CMovementRangeDlg(doc, S, parent)
    {
    }
};
using CRedMovementRangeDlg = CSideMovementRangeDlg<Side::Red>;
using CBlueMovementRangeDlg = CSideMovementRangeDlg<Side::Blue>;

// Side-wide; the constructor copies nothing, the opener sets the four values.
class CCommunicationsDlg : public CParamDlg {
public:
    enum : int { IDC_RANGE = 1101, IDC_WEIGHT_ALIVE, IDC_WEIGHT_INJURED, IDC_ON = 1201, IDC_OFF };

    explicit CCommunicationsDlg(Side side, QWidget* parent = nullptr);

    int On = 0;
    int Range = 0;
    float WeightAlive = 0.0f;
    float WeightInjured = 0.0f;
};

template <Side S>
class CSideCommunicationsDlg : public CCommunicationsDlg {
public:
    explicit CSideCommunicationsDlg(QWidget* parent = nullptr) : CCommunicationsDlg(S, parent) {}
};
using CRedCommunicationsDlg = CSideCommunicationsDlg<Side::Red>;
using CBlueCommunicationsDlg = CSideCommunicationsDlg<Side::Blue>;

}  // namespace brevimar
