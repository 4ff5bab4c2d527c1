// The Display menu: filters, squad and command-structure highlights, the
// activity, battle-front, kill and territory maps with their parameters, the
// zoom and the agent data windows; and the small switches of the other menus
// that read or flip one document field: trace, data collection, weapon models,
// waypoint distance and the run-mode rules that grey the batch items.
//
// Display switches never pause the run: the picture follows at the next paint,
// composed from the document as it stands.
#include <array>

#include "app/BrevimarView.h"
#include "core/BattlefieldPicture.h"
#include "core/Document.h"
#include "dialogs/AgentDataDlg.h"

namespace brevimar {

namespace {

// The map switches a command that shows one map turns off, unless kept.
enum MapSwitch : unsigned {
    KillOnly = 1u << 0,
    KillRed = 1u << 1,
    KillBlue = 1u << 2,
    TerritoryRed = 1u << 3,
    TerritoryBlue = 1u << 4,
    ActivityRed = 1u << 5,
    ActivityBlue = 1u << 6,
    BattleFront = 1u << 7,
};

void ClearOtherMaps(CBrevimarDoc& doc, unsigned keep)
{
    const std::array<std::pair<MapSwitch, int*>, 8> maps{{
        {KillOnly, &doc.KillMapOnly},
        {KillRed, &doc.KillMapRed},
        {KillBlue, &doc.KillMapBlue},
        {TerritoryRed, &doc.TerritoryMapRed},
        {TerritoryBlue, &doc.TerritoryMapBlue},
        {ActivityRed, &doc.RedActivityMapOn},
        {ActivityBlue, &doc.BlueActivityMapOn},
        {BattleFront, &doc.BattleFrontOn},
    }};
    for (const auto& [which, field] : maps)
        if (!(keep & which))
            *field = 0;
}

int Flipped(int value) { return value == 1 ? 0 : 1; }

// A kill-map switch: off when on, else on with the other maps cleared.
void ToggleKillSwitch(CBrevimarDoc& doc, int& field, unsigned keep)
{
    if (field == 1) {
        field = 0;
    } else {
        ClearOtherMaps(doc, keep);
        field = 1;
    }
}

struct ZoomItem {
    unsigned Id;
    float Factor;
};
constexpr std::array<ZoomItem, 8> ZoomItems{{
    {33169, 0.25f},
    {33170, 0.5f},
    {33171, 0.75f},
    {32910, 1.0f},
    {33172, 1.25f},
    {32911, 1.5f},
    {33174, 1.75f},
    {33173, 2.0f},
}};

}  // namespace

float CBrevimarView::LargestZoomWithin(QSize room) const
{
    CBattlefieldGeometry g = BattlefieldGeometry(*Document);
    float best = ZoomItems.front().Factor;
    for (const ZoomItem& z : ZoomItems) {
        g.Zoom = z.Factor;
        if (z.Factor > best && g.ZoomedWidth() <= room.width() && g.ZoomedHeight() <= room.height())
            best = z.Factor;
    }
    return best;
}

namespace {

// Radius items of the activity map: R = 0..10 by id (R=3 sits out of line).
constexpr std::array<unsigned, 11> ActivityRadiusIds{33119, 33120, 33121, 33133, 33123, 33124,
                                                      33125, 33126, 33127, 33128, 33129};

}  // namespace

void CBrevimarView::RebuildFrame()
{
    CBrevimarDoc& d = *Document;
    switch (d.RunMode) {
    case InteractiveMode:
        d.RenderDisplayGrid();
        break;
    case PlaybackMode:
        d.BuildReplayFrame();
        break;
    case ReplayMode:
        d.BuildPlaybackFrame();
        break;
    default:
        break;  // the batch modes show no battlefield
    }
}

void CBrevimarView::BuildDisplayCommandMap()
{
    CBrevimarDoc& d = *Document;
    // A command that sets fields and repaints.
    auto redraw = [this](unsigned id, std::function<void()> change) {
        Map.On(id, [this, change] {
            change();
            Invalidate(false);
        });
    };
    auto checkOf = [this](unsigned id, std::function<bool()> checked) {
        Map.OnUpdate(id, [checked](CCmdUI& ui) { ui.SetCheck(checked() ? 1 : 0); });
    };

    // Filters and background.
    redraw(32855, [&d] { d.BackgroundToggle = Flipped(d.BackgroundToggle); });
    checkOf(32855, [&d] { return d.BackgroundToggle != 0; });
    Map.On(32848, [this, &d] {
        d.TraceOn = Flipped(d.TraceOn);
        // The trail goes at once, paused or not: the frame on show is drawn
        // again from where the agents stand.
        if (d.TraceOn == 0)
            RebuildFrame();
        Invalidate(false);
    });
    checkOf(32848, [&d] { return d.TraceOn != 0; });
    redraw(32854, [&d] {
        d.ShowAll = 1;
        d.ShowInjured = d.ShowAlive = d.HighlightInjured = 0;
    });
    checkOf(32854, [&d] { return d.ShowAll != 0; });
    redraw(32874, [&d] {
        d.HighlightInjured = d.ShowAll = 1;
        d.ShowAlive = d.ShowInjured = 0;
    });
    checkOf(32874, [&d] { return d.HighlightInjured != 0; });
    redraw(32873, [&d] {
        d.ShowAlive = 1;
        d.ShowAll = d.ShowInjured = d.HighlightInjured = 0;
    });
    checkOf(32873, [&d] { return d.ShowAlive != 0; });
    redraw(32856, [&d] {
        d.ShowInjured = d.HighlightInjured = 1;
        d.ShowAll = d.ShowAlive = 0;
    });
    checkOf(32856, [&d] { return d.ShowInjured != 0; });

    // Squad highlights. Highlight Red's command is the parameter road's.
    checkOf(ID_HIGHLIGHT_RED_TOGGLE, [&d] { return d.HighlightRedSquadOn == 1; });
    redraw(33260, [&d] { d.HighlightBlueSquadOn = d.HighlightBlueSquadOn == 0 ? 1 : 0; });
    checkOf(33260, [&d] { return d.HighlightBlueSquadOn == 1; });
    redraw(33292, [&d] { d.ShowOtherRedAgents = d.ShowOtherRedAgents == 0 ? 1 : 0; });
    checkOf(33292, [&d] { return d.ShowOtherRedAgents == 0; });
    redraw(33294, [&d] { d.ShowOtherBlueAgents = d.ShowOtherBlueAgents == 0 ? 1 : 0; });
    checkOf(33294, [&d] { return d.ShowOtherBlueAgents == 0; });
    for (const Side side : {Side::Red, Side::Blue}) {
        const unsigned first = side == Side::Red ? 33281 : 33261;
        int& number = side == Side::Red ? d.HighlightRedSquadNumber : d.HighlightBlueSquadNumber;
        Map.OnRange(first, first + 9, [this, first, &number](unsigned id) {
            number = static_cast<int>(id - first) + 1;
            Invalidate(false);
        });
        AddSquadPickerUpdate(first, side, number);
    }

    // Command structure: only while the side's local command is on.
    struct CommandMark {
        unsigned Id;
        int* Field;
        const int* LocalOn;
    };
    const std::array<CommandMark, 6> marks{{
        {32850, &d.RedCommanderMarks, &d.RedLocal.LocalCommandOn},
        {32851, &d.RedCommandAreas, &d.RedLocal.LocalCommandOn},
        {32852, &d.RedCommandLinks, &d.RedLocal.LocalCommandOn},
        {33144, &d.BlueCommanderMarks, &d.BlueLocal.LocalCommandOn},
        {33145, &d.BlueCommandAreas, &d.BlueLocal.LocalCommandOn},
        {33146, &d.BlueCommandLinks, &d.BlueLocal.LocalCommandOn},
    }};
    for (const CommandMark& m : marks) {
        redraw(m.Id, [field = m.Field] { *field = Flipped(*field); });
        Map.OnUpdate(m.Id, [m](CCmdUI& ui) {
            ui.Enable(*m.LocalOn != 0);
            ui.SetCheck(*m.Field == 1);
        });
    }

    // Activity map.
    redraw(33136, [&d] {
        if (d.RedActivityMapOn == 1 && d.BlueActivityMapOn == 1) {
            d.RedActivityMapOn = d.BlueActivityMapOn = 0;
        } else {
            ClearOtherMaps(d, 0);
            d.RedActivityMapOn = d.BlueActivityMapOn = 1;
        }
    });
    checkOf(33136, [&d] { return d.RedActivityMapOn != 0 && d.BlueActivityMapOn != 0; });
    redraw(33131, [&d] {
        ClearOtherMaps(d, 0);
        d.RedActivityMapOn = 1;
    });
    checkOf(33131, [&d] { return d.RedActivityMapOn != 0; });
    redraw(33132, [&d] {
        ClearOtherMaps(d, 0);
        d.BlueActivityMapOn = 1;
    });
    checkOf(33132, [&d] { return d.BlueActivityMapOn != 0; });
    for (int r = 0; r < static_cast<int>(ActivityRadiusIds.size()); ++r) {
        Map.On(ActivityRadiusIds[r], [&d, r] { d.ActivityRadius = r; });
        checkOf(ActivityRadiusIds[r], [&d, r] { return d.ActivityRadius == r; });
    }

    // Battle front.
    redraw(33175, [&d] {
        if (d.BattleFrontOn == 1) {
            d.BattleFrontOn = 0;
        } else {
            ClearOtherMaps(d, TerritoryRed | TerritoryBlue);
            d.BattleFrontOn = 1;
        }
    });
    checkOf(33175, [&d] { return d.BattleFrontOn != 0; });
    Map.On(33257, [&d] {
        d.BattleFrontGrayscale = 1;
        d.BattleFrontSolid = 0;
    });
    checkOf(33257, [&d] { return d.BattleFrontGrayscale == 1; });
    Map.On(33258, [&d] {
        d.BattleFrontGrayscale = 0;
        d.BattleFrontSolid = 1;
    });
    checkOf(33258, [&d] { return d.BattleFrontSolid == 1; });
    AddValueItems(33177, 5, 1, d.Statistics.BattleFrontRadius);
    AddValueItems(33182, 15, 1, d.Statistics.BattleFrontThreshold);

    // Kill map.
    redraw(33107, [&d] {
        ClearOtherMaps(d, KillOnly);
        d.KillMapRed = d.KillMapBlue = 1;
    });
    checkOf(33107, [&d] { return d.KillMapRed != 0 && d.KillMapBlue != 0; });
    redraw(33108, [&d] { ToggleKillSwitch(d, d.KillMapRed, KillOnly | KillBlue); });
    checkOf(33108, [&d] { return d.KillMapRed != 0; });
    redraw(33109, [&d] { ToggleKillSwitch(d, d.KillMapBlue, KillOnly | KillRed); });
    checkOf(33109, [&d] { return d.KillMapBlue != 0; });
    redraw(33114, [&d] { ToggleKillSwitch(d, d.KillMapOnly, KillRed | KillBlue); });
    checkOf(33114, [&d] { return d.KillMapOnly != 0; });

    // Territorial possession.
    redraw(33165, [&d] {
        if (d.TerritoryMapRed == 1 && d.TerritoryMapBlue == 1) {
            d.TerritoryMapRed = d.TerritoryMapBlue = 0;
        } else {
            ClearOtherMaps(d, BattleFront);
            d.TerritoryMapRed = d.TerritoryMapBlue = 1;
        }
    });
    checkOf(33165, [&d] { return d.TerritoryMapRed != 0 && d.TerritoryMapBlue != 0; });
    redraw(33166, [&d] {
        ClearOtherMaps(d, 0);
        d.TerritoryMapRed = 1;
    });
    checkOf(33166, [&d] { return d.TerritoryMapRed != 0; });
    redraw(33167, [&d] {
        ClearOtherMaps(d, 0);
        d.TerritoryMapBlue = 1;
    });
    checkOf(33167, [&d] { return d.TerritoryMapBlue != 0; });
    AddValueItems(33197, 5, 1, d.Battlefield.TerritoryRange);
    AddValueItems(33210, 10, 1, d.Battlefield.TerritoryMinCount);
    AddValueItems(33203, 7, 1, d.Battlefield.TerritoryDelta);

    // Zoom: the scroll area follows the picture's new size at the paint.
    for (const ZoomItem& z : ZoomItems) {
        redraw(z.Id, [&d, z] {
            d.ZoomFactor = z.Factor;
            d.ZoomAreaCleared = 0;
        });
        checkOf(z.Id, [&d, z] { return d.ZoomFactor == z.Factor; });
    }

    // Data windows.
    Map.On(32881, [this] { OpenAgentDataWindow(Side::Red); });
    Map.On(32882, [this] { OpenAgentDataWindow(Side::Blue); });

    // Reverse Time Sequence: playback and replay only.
    Map.On(32838, [&d] {
        if (d.RunMode == PlaybackMode || d.RunMode == ReplayMode)
            d.RunHeader.TimeDirection = d.RunHeader.TimeDirection == 1 ? -1 : 1;
    });
    Map.OnUpdate(32838, [&d](CCmdUI& ui) {
        if (d.RunMode == InteractiveMode || d.RunMode == GeneticAlgorithmMode)
            ui.Enable(false);
    });

    BuildSmallSwitchCommandMap();
}

void CBrevimarView::AddSquadPickerUpdate(unsigned first, Side side, const int& number)
{
    const CForce& force = Document->Force(side);
    Map.OnUpdateRange(first, first + 9, [&force, first, &number](CCmdUI& ui) {
        const int s = static_cast<int>(ui.m_nID - first) + 1;
        if (s >= 2 && force.NumSquads < s) {
            ui.Enable(false);
            return;
        }
        ui.SetCheck(number == s ? 1 : 0);
    });
}

void CBrevimarView::AddValueItems(unsigned first, int count, int firstValue, int& field)
{
    Map.OnRange(first, first + static_cast<unsigned>(count) - 1,
                [first, firstValue, &field](unsigned id) { field = firstValue + static_cast<int>(id - first); });
    Map.OnUpdateRange(first, first + static_cast<unsigned>(count) - 1, [first, firstValue, &field](CCmdUI& ui) {
        ui.SetCheck(field == firstValue + static_cast<int>(ui.m_nID - first) ? 1 : 0);
    });
}

void CBrevimarView::OpenAgentDataWindow(Side side)
{
    Document->Pause();
    CAgentDataDlg* window = side == Side::Red ? static_cast<CAgentDataDlg*>(new CRedAgentDataDlg(this, Document))
                                              : new CBlueAgentDataDlg(this, Document);
    LastChartWindow = window;
}

}  // namespace brevimar
