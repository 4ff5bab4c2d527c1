#include "files/AuxiliaryFileMenu.h"

#include "core/Document.h"
#include "files/AgentFile.h"
#include "files/AuxiliaryFileCommand.h"
#include "files/TerrainFiles.h"
#include "files/TerrainModifierFile.h"
#include "files/WeaponFiles.h"

namespace brevimar {

namespace {

// A read the restart table names: once its file is read, the run is set up
// again on it as the table says.
int LoadThenRestart(CBrevimarDoc& doc, FileCommand command, int (*read)(CBrevimarDoc&))
{
    doc.Pause();
    if (read(doc) == 0)
        return 0;
    RestartAfterRead(command)(doc);
    return 1;
}

}  // namespace

// --- Save

void FileSaveTerrain(CBrevimarDoc& doc)
{
    doc.Pause();
    SaveTerrainFile(doc);
    doc.host().InvalidateView();
}

void FileSaveWaypointPaths(CBrevimarDoc& doc)
{
    if (doc.RunMode != InteractiveMode)
        return;
    doc.BuildFlagPathFields();
    SaveWaypointPathFile(doc);
}

void FileSaveTerrainModifiers(CBrevimarDoc& doc)
{
    doc.Pause();
    SaveTerrainModifiedAgentFile(doc);
    doc.host().InvalidateView();
}

void FileSaveSquadWeapons(CBrevimarDoc& doc)
{
    doc.Pause();
    if (doc.RunMode == InteractiveMode)
        SaveSquadWeaponsFile(doc);
}

void FileSaveAgentWeapons(CBrevimarDoc& doc)
{
    doc.Pause();
    WriteAgentWeaponsFile(doc);
}

void FileSaveAgentData(CBrevimarDoc& doc)
{
    doc.Pause();
    WriteAgentFile(doc);
    if (doc.DeploymentSource != AgentFileDeployment)
        doc.DeploymentSource = RandomDeployment;
    doc.host().InvalidateView();
}

void FileSaveSquadMatrix(CBrevimarDoc& doc, const GaMatrixSource& ga)
{
    doc.Pause();
    SaveSquadMatrixFile(doc, ga);
    doc.host().InvalidateView();
}

void FileSaveCommMatrix(CBrevimarDoc& doc, const GaMatrixSource& ga)
{
    doc.Pause();
    WriteCommMatrixFile(doc, ga);
    doc.host().InvalidateView();
}

// --- Load

int FileLoadTerrain(CBrevimarDoc& doc)
{
    return LoadThenRestart(doc, FileCommand::TerrainRead, LoadTerrainFile);
}

int FileLoadWaypointPaths(CBrevimarDoc& doc)
{
    doc.Pause();
    if (LoadWaypointPathFile(doc) == 0)
        return 0;
    doc.Battlefield.WaypointPathsOn = 1;
    doc.host().InvalidateView();
    return 1;
}

int FileLoadTerrainModifiers(CBrevimarDoc& doc)
{
    return LoadThenRestart(doc, FileCommand::TerrainModifiersRead, LoadTerrainModifiedAgentFile);
}

int FileLoadSquadWeapons(CBrevimarDoc& doc)
{
    doc.Pause();
    const int read = LoadSquadWeaponsFile(doc);
    doc.host().InvalidateView();
    return read;
}

int FileLoadAgentWeapons(CBrevimarDoc& doc)
{
    doc.Pause();
    const int read = LoadAgentWeaponsFile(doc);
    doc.host().InvalidateView();
    return read;
}

int FileLoadAgentData(CBrevimarDoc& doc)
{
    return LoadThenRestart(doc, FileCommand::AgentRead, LoadAgentDataFile);
}

int FileLoadSquadMatrix(CBrevimarDoc& doc)
{
    return LoadThenRestart(doc, FileCommand::SquadMatrixRead, LoadSquadMatrixFile);
}

int FileLoadCommMatrix(CBrevimarDoc& doc)
{
    return LoadThenRestart(doc, FileCommand::CommMatrixRead, LoadCommMatrixFile);
}

}  // namespace brevimar
