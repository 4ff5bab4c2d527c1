// The agent data file (*.agt), and on success the forces derived from it as
// its load command derives them.
#include <vector>

#include "files/AgentFile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static fuzz::Document* document = new fuzz::Document;  // the buffers are large: made once
    static const CDocumentState* fresh = new CDocumentState(*document->Doc);
    CBrevimarDoc& doc = *document->Doc;
    static_cast<CDocumentState&>(doc) = *fresh;  // every input starts from a new document's state
    std::string problem;
    std::vector<std::string> dropped;
    if (ReadAgentText(fuzz::Text(data, size), &doc, &problem, &dropped))
        doc.InitializeForcesFromAgentFile();
    return 0;
}
