// Creating a document: run-state defaults, the heap buffers (once), the cell
// pictures' size, an empty lattice, then the scenario the user picks.
#include "core/Document.h"
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
    // The buffers: an empty lattice, the collection's logs cleared.
    ClearLattice();
    ResetDataCollection();
}

}  // namespace brevimar
