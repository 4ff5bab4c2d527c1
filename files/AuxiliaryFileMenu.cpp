#include "files/AuxiliaryFileMenu.h"

#include "core/Document.h"
#include "files/AgentFile.h"
#include "files/TerrainFiles.h"
#include "files/TerrainModifierFile.h"
#include "files/WeaponFiles.h"

namespace brevimar {

namespace {

constexpr int FreshRunLength = MaxSeriesStep + 1;

}  // namespace

void FileReset(CBrevimarDoc& doc)
{
    doc.RunHeader.LastStep = FreshRunLength;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RunTerminated = 0;
    doc.InitializeForces();
    doc.ResetBattlefield();
    doc.host().InvalidateView();
}

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
    doc.Pause();
    if (LoadTerrainFile(doc) == 0)
        return 0;
    doc.Battlefield.TerrainMode = 2;
    doc.Battlefield.CellTerrainDefined = 1;
    FileReset(doc);
    return 1;
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
    doc.Pause();
    if (LoadTerrainModifiedAgentFile(doc) != 1)
        return 0;
    doc.TerrainModifiersLoaded = 1;
    FileReset(doc);
    return 1;
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
    doc.Pause();
    if (LoadAgentDataFile(doc) == 0)
        return 0;
    doc.RunHeader.LastStep = FreshRunLength;
    // The source first: set-up then stands the file's agents where the file
    // puts them, instead of deploying at random.
    doc.DeploymentSource = AgentFileDeployment;
    // Set-up from the agent file also collects the statistics of step 0 in the
    // interactive run, so that they describe the loaded positions.
    doc.ResetBattlefield();
    doc.RestartUsesAgentFile = 1;
    doc.host().InvalidateView();
    return 1;
}

int FileLoadSquadMatrix(CBrevimarDoc& doc)
{
    doc.Pause();
    if (LoadSquadMatrixFile(doc) == 0)
        return 0;
    FileReset(doc);
    return 1;
}

int FileLoadCommMatrix(CBrevimarDoc& doc)
{
    doc.Pause();
    if (LoadCommMatrixFile(doc) == 0)
        return 0;
    FileReset(doc);
    return 1;
}

}  // namespace brevimar
