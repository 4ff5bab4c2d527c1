// Creating a document: run-state defaults, the heap buffers (once), the cell
// pictures' size, an empty lattice, then the scenario the user picks.
#include "core/CellPictures.h"
#include "core/Document.h"
#include "core/StartValues.h"
#include "files/DocumentFile.h"
#include "run/ScenarioLoad.h"

namespace brevimar {

bool CBrevimarDoc::OnNewDocument()
{
    // What the framework's new-document step does first: empty the document.
    // A document that never had buffers has nothing to free.
    DeleteContents();
    InitNewDocument();
    return true;  // whether or not a scenario was read
}

void CBrevimarDoc::InitNewDocument()
{
    PrepareNewDocument();
    ReadStartupInputFile();
    // Without a scenario the built-in one takes the field, rather than an
    // empty field behind counts that say nobody is alive.
    if (InputFileName.empty())
        StartBuiltInScenario(*this);
}

bool NewDocumentFromFile(CBrevimarDoc& doc, const std::string& path)
{
    doc.DeleteContents();
    doc.PrepareNewDocument();
    if (IsDocumentFile(path))
        return LoadDocumentHistory(doc, path);
    doc.Resume();  // as after the start-up chooser
    if (LoadStartupFile(doc, path).Read)
        return true;
    // The window stays: the built-in scenario takes the field, as after a
    // Cancel in the chooser, rather than agents of no scenario.
    StartBuiltInScenario(doc);
    return false;
}

void CBrevimarDoc::PrepareNewDocument()
{
    AllocateHeapBuffers();  // sets HeapBuffersAllocated
    SetNewDocumentValues();
}

void CBrevimarDoc::SetNewDocumentValues()
{
    LatticeExtentX = LatticeStride;
    LatticeExtentY = LatticeStride;
    StepExecuteMode = 0;
    RunMode = InteractiveMode;
    DeploymentSource = RandomDeployment;
    RunCaptureOn = 0;
    RunHeader.LatticeSize = MaxBattleSize;
    RedCommanderMarks = 0;
    BlueCommanderMarks = 0;
    TraceOn = 0;
    ActivityRadius = 1;
    RunHeader.TimeDirection = 1;
    RunHeader.LastStep = MaxSeriesStep + 1;
    RedActivityMapOn = 1;
    BlueActivityMapOn = 1;
    NumRed() = 10;
    NumBlue() = 10;

    // The cell pictures are the view's to draw, from their table.
    BackgroundToggle = 1;
    ShowAll = 1;
    ShowInjured = 0;
    ShowAlive = 0;
    HighlightInjured = 0;
    BattleFrontOn = 0;
    KillMapRed = 0;
    KillMapBlue = 0;
    KillMapOnly = 0;
    TerritoryMapRed = 0;
    TerritoryMapBlue = 0;

    CellBitmapWidth = CellPictures()[0].Width();
    CellBitmapHeight = CellPictures()[0].Height();

    ClearLattice();
    // The display and collection defaults (activity maps off) for every way
    // the start-up read can end: a cancelled choice keeps the built-in
    // scenario and a frame file reads no scenario, and their agents must show.
    ResetDataCollection();
    // Set before the chooser, so that they hold however the document begins:
    // a file read now, Cancel, or a scenario loaded later from the menu.
    SetRunStartValues(*this);
}

}  // namespace brevimar
