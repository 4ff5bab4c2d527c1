#include "files/StartupReader.h"

#include "core/Document.h"
#include "files/RunFrames.h"
#include "files/WordReader.h"

namespace brevimar {

StartupFileKind ClassifyStartupExtension(const std::string& extension)
{
    if (extension == "out" || extension == "OUT")
        return StartupFileKind::FrameFile;
    if (extension == "dat" || extension == "DAT")
        return StartupFileKind::Scenario;
    if (extension == "run" || extension == "RUN")
        return StartupFileKind::StoredRun;
    return StartupFileKind::Unlisted;
}

const char UnlistedStartupFileProblem[] =
    "its name does not end in an extension a new document reads: scenarios .dat or .DAT, stored runs .run or "
    ".RUN, frame files .out or .OUT, and document files .brv in any case";

float FloatAbs(float x) { return x >= 0.0f ? x : -x; }

void DeriveRunState(CBrevimarDoc& doc)
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = doc.Force(side);
        for (int i = 1; i <= f.NumAgents; ++i) {
            f.SensorRange[i] = f.SensorRangeAlive[i];
            f.FireRange[i] = f.FireRangeAlive[i];
            f.ConstraintRange[i] = f.ConstraintRangeAlive[i];
        }
    }

    doc.ResetHighlightsAndBursts();
    doc.ResetDataCollection();
    // A scenario brings no terrain-modifier tables: the defaults, whatever a
    // file or the dialogs set for the scenario before.
    doc.TerrainModifiersLoaded = 0;
    doc.InitWeaponDefaults();
    // A scenario file carries no weapon data: the squad weapon functions are
    // the defaults' to set.
    for (Side side : {Side::Red, Side::Blue}) {
        doc.Force(side).WeaponsOn = 0;
        doc.Force(side).SquadWeaponsDefined = 0;
    }
    doc.SetDefaultWeaponParameters();

    doc.LatticeExtentX = doc.LatticeExtentY = doc.Battlefield.BattleSize + 2;
    doc.RunHeader.RedAlive = doc.NumRed();
    doc.RunHeader.RedInjured = 0;
    doc.RunHeader.BlueAlive = doc.NumBlue();
    doc.RunHeader.BlueInjured = 0;
}

void KeepInitialComposition(CBrevimarDoc& doc)
{
    CForceComposition& c = doc.InitialComposition;
    c.RedCount = doc.RedForce.NumAgents;
    c.BlueCount = doc.BlueForce.NumAgents;
    c.RedSquads = doc.RedForce.NumSquads;
    c.BlueSquads = doc.BlueForce.NumSquads;
    for (int s = 1; s <= MaxSquads; ++s) {
        c.RedPerSquad[s] = doc.RedForce.num_per_squad[s];
        c.BluePerSquad[s] = doc.BlueForce.num_per_squad[s];
    }
    for (int i = 1; i <= MaxAgents; ++i) {
        c.RedAgentSquad[i] = doc.RedForce.AgentSquad[i];
        c.BlueAgentSquad[i] = doc.BlueForce.AgentSquad[i];
    }
}

void StartStoredRun(CBrevimarDoc& doc, const CStoredFrames& frames, int lastStep)
{
    StoreFrames(doc, frames);
    if (doc.RedActivityMapOn == 1 || doc.BlueActivityMapOn == 1) {
        const int size = doc.Battlefield.BattleSize;
        for (auto& plane : doc.ActivityGrids)
            for (int x = 1; x <= size; ++x)
                for (int y = 1; y <= size; ++y)
                    plane[LatticeStride * x + y] = 0;
    }
    // The history's own field and counts, which a document file keeps.
    doc.RunHeader.LatticeSize = doc.Battlefield.BattleSize;
    doc.RunHeader.RedCount = frames.RedCount;
    doc.RunHeader.BlueCount = frames.BlueCount;
    doc.RunHeader.LastStep = lastStep;
    doc.RunHeader.CurrentStep = 1;
    doc.RunHeader.TimeDirection = 1;
    doc.RunMode = PlaybackMode;
    doc.RebuildLatticeFromSaved();
}

}  // namespace brevimar
