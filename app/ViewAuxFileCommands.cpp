// File menu: Load and Save of the terrain, waypoint path, terrain-modifier,
// weapons, agent and matrix files, and the framework's Save of the document
// file. The commands themselves are the model's; the view only routes them
// and keeps them away while a batch is inside its loop.
#include "app/BrevimarView.h"
#include "core/Document.h"
#include "files/AuxiliaryFileMenu.h"
#include "files/DocumentFile.h"
#include "files/ScenarioWriter.h"

namespace brevimar {

void CBrevimarView::BuildAuxFileCommandMap()
{
    struct Entry {
        unsigned Id;
        void (*Run)(CBrevimarDoc&);
    };
    static constexpr Entry Entries[] = {
        {ID_FILE_LOAD_TERRAIN, [](CBrevimarDoc& d) { FileLoadTerrain(d); }},
        {ID_FILE_LOAD_WAYPOINT_PATHS, [](CBrevimarDoc& d) { FileLoadWaypointPaths(d); }},
        {ID_FILE_LOAD_TERRAIN_MODIFIERS, [](CBrevimarDoc& d) { FileLoadTerrainModifiers(d); }},
        {ID_FILE_LOAD_SQUAD_WEAPONS, [](CBrevimarDoc& d) { FileLoadSquadWeapons(d); }},
        {ID_FILE_LOAD_AGENT_WEAPONS, [](CBrevimarDoc& d) { FileLoadAgentWeapons(d); }},
        {ID_FILE_LOAD_AGENT_DATA, [](CBrevimarDoc& d) { FileLoadAgentData(d); }},
        {ID_FILE_LOAD_SQUAD_MATRIX, [](CBrevimarDoc& d) { FileLoadSquadMatrix(d); }},
        {ID_FILE_LOAD_COMM_MATRIX, [](CBrevimarDoc& d) { FileLoadCommMatrix(d); }},
        {ID_FILE_SAVE_TERRAIN, [](CBrevimarDoc& d) { FileSaveTerrain(d); }},
        {ID_FILE_SAVE_WAYPOINT_PATHS, [](CBrevimarDoc& d) { FileSaveWaypointPaths(d); }},
        {ID_FILE_SAVE_TERRAIN_MODIFIERS, [](CBrevimarDoc& d) { FileSaveTerrainModifiers(d); }},
        {ID_FILE_SAVE_SQUAD_WEAPONS, [](CBrevimarDoc& d) { FileSaveSquadWeapons(d); }},
        {ID_FILE_SAVE_AGENT_WEAPONS, [](CBrevimarDoc& d) { FileSaveAgentWeapons(d); }},
        {ID_FILE_SAVE_AGENT_DATA, [](CBrevimarDoc& d) { FileSaveAgentData(d); }},
        {ID_FILE_SAVE_SQUAD_MATRIX, [](CBrevimarDoc& d) { FileSaveSquadMatrix(d); }},
        {ID_FILE_SAVE_COMM_MATRIX, [](CBrevimarDoc& d) { FileSaveCommMatrix(d); }},
    };
    for (const Entry& e : Entries) {
        Map.On(e.Id, [this, run = e.Run] {
            const RedEditScope red(*Document);
            run(*Document);
            // The model asked for its redraws through the host already; the
            // window itself is brought up to date too.
            Invalidate(false);
        });
        Map.OnUpdate(e.Id, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    }
    Map.On(ID_FILE_SAVE, [this] { OnFileSave(); });
    Map.OnUpdate(ID_FILE_SAVE, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
}

void CBrevimarView::OnFileSave()
{
    // Storing neither pauses the run nor changes the document.
    SaveDocumentAs(*Document);
}

}  // namespace brevimar
