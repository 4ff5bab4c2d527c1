// The File menu's Load and Save commands for the auxiliary parameter files,
// as the battlefield view runs them. A load that changes the forces or the
// battlefield restarts the run at step 0; a cancelled or refused load changes
// nothing at all.
#pragma once

#include "files/MatrixFiles.h"

namespace brevimar {

class CBrevimarDoc;

// --- Save
void FileSaveTerrain(CBrevimarDoc& doc);
void FileSaveWaypointPaths(CBrevimarDoc& doc);    // interactive run only; rebuilds the fields first
void FileSaveTerrainModifiers(CBrevimarDoc& doc);
void FileSaveSquadWeapons(CBrevimarDoc& doc);     // interactive run only
void FileSaveAgentWeapons(CBrevimarDoc& doc);
void FileSaveAgentData(CBrevimarDoc& doc);        // deployment source back to random unless an agent file set it
void FileSaveSquadMatrix(CBrevimarDoc& doc, const GaMatrixSource& ga = {});
void FileSaveCommMatrix(CBrevimarDoc& doc, const GaMatrixSource& ga = {});

// --- Load; each returns 1 when a file was read
int FileLoadTerrain(CBrevimarDoc& doc);
int FileLoadWaypointPaths(CBrevimarDoc& doc);
int FileLoadTerrainModifiers(CBrevimarDoc& doc);
int FileLoadSquadWeapons(CBrevimarDoc& doc);
int FileLoadAgentWeapons(CBrevimarDoc& doc);
int FileLoadAgentData(CBrevimarDoc& doc);
int FileLoadSquadMatrix(CBrevimarDoc& doc);
int FileLoadCommMatrix(CBrevimarDoc& doc);

}  // namespace brevimar
