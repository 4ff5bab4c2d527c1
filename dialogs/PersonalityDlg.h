// The on-the-fly personality and meta-personality dialogs of each side, and
// the area and formation sub-dialogs they share with the agent parameters
// dialogs.
#pragma once

#include "core/Side.h"
#include "dialogs/SquadSections.h"

namespace brevimar {

class CBrevimarDoc;

// The "--> Area" and "--> Formation" buttons: the sub-dialog is seeded from
// the opener's values for squads 1..count; on OK all ten squads come back
// (the formation's inner rings lowered to their outer rings). True on OK.
bool OpenAreaSubDialog(CParamDlg& opener, Side side, CPersonalityValues& values, int count);
bool OpenFormationSubDialog(CParamDlg& opener, Side side, CPersonalityValues& values, int count);

class CPersonalityDlg : public CParamDlg {
public:
    CPersonalityDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);

    CPersonalityValues Values;

private:
    Side DlgSide;
    Host* RandomSource;
};

class CRedPersonalityDlg : public CPersonalityDlg {
public:
    static constexpr unsigned IDD = 205;
    explicit CRedPersonalityDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CPersonalityDlg(doc, Side::Red, parent)
    {
    }
};

class CBluePersonalityDlg : public CPersonalityDlg {
public:
    static constexpr unsigned IDD = 206;
    explicit CBluePersonalityDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CPersonalityDlg(doc, Side::Blue, parent)
    {
    }
};

class CMetaPersonalityDlg : public CParamDlg {
public:
    CMetaPersonalityDlg(const CBrevimarDoc& doc, Side side, QWidget* parent = nullptr);

    CMetaValues Values;
};

class CRedMetaPersonalityDlg : public CMetaPersonalityDlg {
public:
    static constexpr unsigned IDD = 207;
    explicit CRedMetaPersonalityDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CMetaPersonalityDlg(doc, Side::Red, parent)
    {
    }
};

class CBlueMetaPersonalityDlg : public CMetaPersonalityDlg {
public:
    static constexpr unsigned IDD = 208;
    explicit CBlueMetaPersonalityDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr)
        : CMetaPersonalityDlg(doc, Side::Blue, parent)
    {
    }
};

// The ranges of the meta-personality rows on the on-the-fly dialog and on
// the agent parameters dialog of a side.
MetaRanges OnTheFlyMetaRanges(Side side);
MetaRanges AgentMetaRanges(Side side);

}  // namespace brevimar
