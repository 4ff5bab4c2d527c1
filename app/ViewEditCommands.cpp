// What a right click does on the battlefield (terrain of a chosen type, or an
// agent of a chosen side and squad) and the edits themselves; and the small
// switches of the collection, weapon and waypoint items with the rules that
// grey the items whose data does not apply in the current run mode.
#include <algorithm>
#include <string>
#include <vector>

#include "app/BrevimarView.h"
#include "collect/StatisticsKernels.h"
#include "core/Document.h"
#include "core/LatticeCodes.h"
#include "core/TerrainBlocks.h"

namespace brevimar {

namespace {

constexpr unsigned ID_TERRAIN_USER_DEFINED = 33223;
constexpr unsigned ID_TERRAIN_TYPE_FIRST = 33224;  // Lava .. Passable Type III
constexpr unsigned ID_RED_USER_DEFINED = 33230;
constexpr unsigned ID_RED_SQUAD_FIRST = 33231;
constexpr unsigned ID_BLUE_USER_DEFINED = 33241;
constexpr unsigned ID_BLUE_SQUAD_FIRST = 33242;

// The cell's byte in the frame on show, so that the edit is seen at once.
void PutDisplayCode(CBrevimarDoc& doc, QPoint cell, unsigned char code)
{
    const int extentX = std::clamp(doc.LatticeExtentX, 0, LatticeStride);
    const int extentY = std::clamp(doc.LatticeExtentY, 0, LatticeStride);
    const int x = cell.x(), y = cell.y();
    if (x < 1 || y < 1 || x > extentX - 2 || y > extentY - 2 || !doc.DisplayGrid)
        return;
    const int frame = std::clamp(doc.GetDisplayFrame(), 0, LatticePlanes - 1);
    doc.DisplayPlane(frame)[LatticeCellOffset(extentY, x, y)] = code;
}

}  // namespace

void CBrevimarView::EditTerrainCell(QPoint cell)
{
    CBrevimarDoc& doc = *Document;
    CBattlefield& field = doc.Battlefield;
    const int at = GridIndex(cell.x(), cell.y());
    // A cell an agent stands on stays as it is. Terrain is what the cell
    // holds, marked or under the free mark an agent leaves behind on
    // passable ground: a click there takes it off.
    const bool agent = field.AgentGrid[at] == CellAgent;
    if (!agent && !HoldsTerrain(field, at)) {
        PutDisplayCode(doc, cell, LatticeTerrain);
        field.TerrainType[at] = std::clamp(doc.EditTerrainType, Lava, PassableIII);
        field.AgentGrid[at] = CellTerrain;
        field.TerrainMode = 2;
        field.CellTerrainDefined = 1;
        if (field.TerrainType[at] == Pillar)
            field.LineOfSightOn = 1;
    } else if (!agent) {
        PutDisplayCode(doc, cell, LatticeEmpty);
        field.TerrainType[at] = OpenGround;
        field.AgentGrid[at] = CellFree;
        field.TerrainMode = 2;
        field.CellTerrainDefined = 1;
    }
    field.TerrainModifiersOn = HoldsPassableTerrain(field) ? 1 : 0;
}

bool CBrevimarView::EditAgentCell(QPoint cell)
{
    CBrevimarDoc& doc = *Document;
    CBattlefield& field = doc.Battlefield;
    const Side side = doc.DeploymentSource == RedHandPlacement ? Side::Red : Side::Blue;
    const int mark = SideCode(side);
    const int x = cell.x(), y = cell.y();

    // Which side has a live agent on the cell; BLUE wins a shared cell.
    int live = 0;
    for (const Side s : {Side::Red, Side::Blue}) {
        const CForce& f = doc.Force(s);
        const int n = std::clamp(f.NumAgents, 0, MaxAgents);
        for (int i = 1; i <= n; ++i)
            if (f.AgentState[i] > 0 && f.AgentX[i] == x && f.AgentY[i] == y)
                live = SideCode(s);
    }

    CForce& f = doc.Force(side);
    const int at = GridIndex(x, y);
    const bool red = side == Side::Red;
    if (live == mark) {
        // Only a live agent is taken off: a dead one left on the cell must not
        // shadow the live one that the grids would then call empty. The
        // cell's terrain stays, as when an agent moves on.
        PutDisplayCode(doc, cell, field.TerrainType[at] > OpenGround ? LatticeTerrain : LatticeEmpty);
        field.AgentGrid[at] = CellFree;
        const int n = std::clamp(f.NumAgents, 0, MaxAgents);
        for (int i = 1; i <= n; ++i)
            if (f.AgentState[i] > 0 && f.AgentX[i] == x && f.AgentY[i] == y) {
                f.SetAgentState(i, Dead);
                if (f.AgentSquad[i] >= 1 && f.AgentSquad[i] <= MaxSquads)
                    ++f.HandRemoved[f.AgentSquad[i]];
                break;
            }
        return true;
    }
    if (field.AgentGrid[at] != CellFree || f.NumAgents >= MaxAgents || f.NumAgents < 0)
        return false;

    // A free cell may hold passable ground an agent crossed: it stays under
    // the agent placed there.
    PutDisplayCode(doc, cell, red ? LatticeRedAlive : LatticeBlueAlive);
    field.AgentGrid[at] = CellAgent;
    const int squad = std::clamp(red ? doc.EditRedSquad : doc.EditBlueSquad, 1, MaxSquads);
    ++f.num_per_squad[squad];
    const int n = ++f.NumAgents;
    ++f.HandPlaced;
    (red ? doc.RunHeader.RedAlive : doc.RunHeader.BlueAlive) = n;
    f.AgentSquad[n] = squad;
    const int reconOn = red ? field.RED_recon_flag : field.BLUE_recon_flag;
    f.ReconstitutionTimer[n] = reconOn == 1 ? f.recon_time : 0;
    f.PlaceAgent(n, x, y);
    f.SetAgentState(n, Alive);
    // A batch or a sweep sets its forces up once a sample or run, so an
    // agent joining one takes its squad's values here, as in the interactive
    // run.
    if (doc.RunMode == InteractiveMode || doc.RunMode == MultipleTimeSeriesMode ||
        doc.RunMode == FitnessLandscapeMode)
        doc.InitializeAddedAgent(mark);
    doc.JoinSampleUnderWay(side, squad);
    return true;
}

void CBrevimarView::BuildEditCommandMap()
{
    CBrevimarDoc& d = *Document;
    auto check = [this](unsigned id, std::function<bool()> checked) {
        Map.OnUpdate(id, [checked](CCmdUI& ui) { ui.SetCheck(checked() ? 1 : 0); });
    };

    Map.On(ID_TERRAIN_USER_DEFINED, [&d] {
        d.TerrainEditMode = 1;
        d.DeploymentSource = RandomDeployment;
        d.Battlefield.TerrainMode = 2;
    });
    check(ID_TERRAIN_USER_DEFINED, [&d] { return d.TerrainEditMode == 1; });
    for (int type = Lava; type <= PassableIII; ++type) {
        const unsigned id = ID_TERRAIN_TYPE_FIRST + static_cast<unsigned>(type - Lava);
        Map.On(id, [&d, type] {
            d.EditTerrainType = type;
            if (type == Pillar)
                d.Battlefield.LineOfSightOn = 1;
        });
        check(id, [&d, type] { return d.EditTerrainType == type; });
    }
    Map.On(ID_RED_USER_DEFINED, [&d] {
        d.DeploymentSource = RedHandPlacement;
        d.TerrainEditMode = 0;
    });
    check(ID_RED_USER_DEFINED, [&d] { return d.DeploymentSource == RedHandPlacement; });
    Map.On(ID_BLUE_USER_DEFINED, [&d] {
        d.DeploymentSource = BlueHandPlacement;
        d.TerrainEditMode = 0;
    });
    check(ID_BLUE_USER_DEFINED, [&d] { return d.DeploymentSource == BlueHandPlacement; });
    Map.OnRange(ID_RED_SQUAD_FIRST, ID_RED_SQUAD_FIRST + 9,
                [&d](unsigned id) { d.EditRedSquad = static_cast<int>(id - ID_RED_SQUAD_FIRST) + 1; });
    AddSquadPickerUpdate(ID_RED_SQUAD_FIRST, Side::Red, d.EditRedSquad);
    Map.OnRange(ID_BLUE_SQUAD_FIRST, ID_BLUE_SQUAD_FIRST + 9,
                [&d](unsigned id) { d.EditBlueSquad = static_cast<int>(id - ID_BLUE_SQUAD_FIRST) + 1; });
    AddSquadPickerUpdate(ID_BLUE_SQUAD_FIRST, Side::Blue, d.EditBlueSquad);
}

void CBrevimarView::BuildSmallSwitchCommandMap()
{
    CBrevimarDoc& d = *Document;
    auto interactive = [&d] { return d.RunMode == InteractiveMode; };
    auto agentWeapons = [&d] { return d.RedForce.WeaponsOn == 1 || d.BlueForce.WeaponsOn == 1; };
    auto squadWeapons = [&d] { return d.RedForce.WeaponAssignType == 1 || d.BlueForce.WeaponAssignType == 1; };

    // Data collection. Switching it on starts the collected series afresh;
    // the battle itself goes on, so the user's zoom stays and the status
    // line says what was reset.
    Map.On(32958, [&d] {
        if (d.Statistics.DataCollectionOn != 1) {
            d.Statistics.DataCollectionOn = 1;
            d.Statistics.TerritoryStatsOn = 1;
            const float zoom = d.ZoomFactor;
            d.ResetDataCollection();
            const int first = RestartCollectedSeries(d);
            d.ZoomFactor = zoom;
            d.host().SetStatusText("Data collection on: the statistics start afresh at step " +
                                   std::to_string(first) + "; the battle goes on.");
        } else {
            d.Statistics.DataCollectionOn = 0;
        }
    });
    Map.OnUpdate(32958, [&d, interactive](CCmdUI& ui) {
        ui.Enable(interactive());
        if (interactive())
            ui.SetCheck(d.Statistics.DataCollectionOn);
    });
    struct Toggle {
        unsigned Id;
        int* Field;
    };
    for (const Toggle t : {Toggle{33158, &d.Statistics.TerritoryStatsOn},
                           Toggle{33374, &d.Statistics.CapacityDimensionOn}}) {
        Map.On(t.Id, [t] { *t.Field = *t.Field == 1 ? 0 : 1; });
        Map.OnUpdate(t.Id, [&d, t, interactive](CCmdUI& ui) {
            ui.Enable(d.Statistics.DataCollectionOn != 0 && interactive());
            ui.SetCheck(*t.Field);
        });
    }
    Map.On(33368, [&d] { d.WeaponStatsOn = d.WeaponStatsOn == 1 ? 0 : 1; });
    Map.OnUpdate(33368, [&d, interactive, agentWeapons](CCmdUI& ui) {
        ui.Enable(interactive() && agentWeapons());
        ui.SetCheck(d.WeaponStatsOn);
    });

    // The weapon data files: the agent-specific ones while some side uses
    // agent-specific weapons, the squad-specific ones while some side uses
    // those; never during a batch run.
    for (const unsigned id : {ID_FILE_SAVE_AGENT_WEAPONS, ID_FILE_LOAD_AGENT_WEAPONS})
        Map.OnUpdate(id, [this, interactive, agentWeapons](CCmdUI& ui) {
            OnUpdateUnlessBatchBusy(ui);
            if (!interactive() || !agentWeapons())
                ui.Enable(false);
        });
    for (const unsigned id : {ID_FILE_SAVE_SQUAD_WEAPONS, ID_FILE_LOAD_SQUAD_WEAPONS})
        Map.OnUpdate(id, [this, interactive, squadWeapons](CCmdUI& ui) {
            OnUpdateUnlessBatchBusy(ui);
            if (!interactive() || !squadWeapons())
                ui.Enable(false);
        });

    // Weapon models: squad-specific and agent-specific exclude each other.
    struct WeaponSwitch {
        unsigned Id;
        Side Which;
        bool SquadSpecific;
    };
    for (const WeaponSwitch w : {WeaponSwitch{33356, Side::Red, true}, WeaponSwitch{33357, Side::Red, false},
                                 WeaponSwitch{33365, Side::Blue, true}, WeaponSwitch{33366, Side::Blue, false}}) {
        CForce& f = d.Force(w.Which);
        Map.On(w.Id, [&f, w] {
            const bool squadOn = w.SquadSpecific ? f.WeaponAssignType != 1 : f.WeaponsOn == 1;
            f.WeaponAssignType = squadOn ? 1 : 0;
            f.WeaponsOn = squadOn ? 0 : 1;
        });
        Map.OnUpdate(w.Id, [&f, w](CCmdUI& ui) {
            ui.SetCheck(w.SquadSpecific ? f.WeaponAssignType == 1 : f.WeaponsOn == 1);
        });
    }
    Map.On(33150, [this, &d] {
        d.Pause();
        d.SetDefaultRedWeaponAssignments();
        Invalidate(false);
    });
    Map.On(33151, [this, &d] {
        d.Pause();
        d.SetDefaultBlueWeaponAssignments();
        Invalidate(false);
    });

    // Waypoint distance D = 1..10 and 15.
    for (int n = 1; n <= 11; ++n) {
        const unsigned id = 33343 + static_cast<unsigned>(n);
        const int value = n == 11 ? 15 : n;
        Map.On(id, [&d, value] { d.Battlefield.PathStartDistance = value; });
        Map.OnUpdate(id, [&d, value](CCmdUI& ui) { ui.SetCheck(d.Battlefield.PathStartDistance == value); });
    }
}

}  // namespace brevimar
