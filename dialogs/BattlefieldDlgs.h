// The general battle set-up changed while a run is paused: battlefield size,
// a side's flag, its squads' initial deployment boxes and its combat
// adjudication. Each change restarts the battle (the opener's business).
#pragma once

#include <array>

#include "core/Side.h"
#include "dialogs/ParamDlg.h"

namespace brevimar {

class CBrevimarDoc;

// The fewest cells a side of the battlefield typed into a dialog may have.
constexpr int MinFieldLength = 10;
// Both flags, x and y of each, as a dialog that sets the battlefield's size
// holds them.
using FlagCoordinates = std::array<int, 4>;
// The shortest side of the square battlefield that keeps every flag
// coordinate on it, and MinFieldLength at least.
int ShortestFieldLength(const FlagCoordinates& flags);
// The check of a typed battlefield length, in every dialog that sets it:
// from ShortestFieldLength to 150, refused with the range check's message.
void DDV_FieldLength(CDataExchange& dx, int length, const FlagCoordinates& flags);

// The constructor copies nothing: the opener sets both to the battlefield
// size and gives the flags. The battlefield is square: only the length is
// kept, and it is the length that must hold the flags.
class CBattlefieldSizeDlg : public CParamDlg {
public:
    enum : int { IDC_LENGTH = 1101, IDC_WIDTH };
    explicit CBattlefieldSizeDlg(QWidget* parent = nullptr);
    int Length = 0;
    int Width = 0;
    FlagCoordinates Flags = {};

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

// The opener sets x and y from the flag, and the battlefield's size, beyond
// which a position is refused.
class CFlagPositionDlg : public CParamDlg {
public:
    enum : int { IDC_X = 1101, IDC_Y };
    explicit CFlagPositionDlg(Side side, QWidget* parent = nullptr);
    int X = 0;
    int Y = 0;
    int FieldSize = MaxBattleSize;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
class CRedFlagPositionDlg : public CFlagPositionDlg {
public:
    explicit CRedFlagPositionDlg(QWidget* parent = nullptr) : CFlagPositionDlg(Side::Red, parent) {}
};
class CBlueFlagPositionDlg : public CFlagPositionDlg {
public:
    explicit CBlueFlagPositionDlg(QWidget* parent = nullptr) : CFlagPositionDlg(Side::Blue, parent) {}
};

class CInitialDistributionDlg : public CParamDlg {
public:
    enum : int { IDC_CENTER_X = 1101, IDC_CENTER_Y, IDC_SIZE_X, IDC_SIZE_Y };
    CInitialDistributionDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);
    SquadValue<int> CenterX, CenterY, SizeX, SizeY;
};
class CRedInitialDistributionDlg : public CInitialDistributionDlg {
public:
    explicit CRedInitialDistributionDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CInitialDistributionDlg(doc, Side::Red, parent)
    {
    }
};
class CBlueInitialDistributionDlg : public CInitialDistributionDlg {
public:
    explicit CBlueInitialDistributionDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CInitialDistributionDlg(doc, Side::Blue, parent)
    {
    }
};

// The option is set by the opener; the target limits are copied in.
class CCombatAdjudicationDlg : public CParamDlg {
public:
    enum : int { IDC_MAX_ALIVE = 1101, IDC_MAX_INJURED, IDC_NO_LIMIT = 1201, IDC_CLAMP, IDC_UPDATE = 1301 };
    CCombatAdjudicationDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);
    int Option = 0;  // 0 clamps the number of targets, 1 no limit
    SquadValue<int> MaxAlive, MaxInjured;
};
class CRedCombatAdjudicationDlg : public CCombatAdjudicationDlg {
public:
    explicit CRedCombatAdjudicationDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CCombatAdjudicationDlg(doc, Side::Red, parent)
    {
    }
};
class CBlueCombatAdjudicationDlg : public CCombatAdjudicationDlg {
public:
    explicit CBlueCombatAdjudicationDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CCombatAdjudicationDlg(doc, Side::Blue, parent)
    {
    }
};

}  // namespace brevimar
