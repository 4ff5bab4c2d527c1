// Frame files in both layouts: the start-up layout (run header, frames) and
// the short layout of File/Open, each read and committed.
#include "files/RunFrames.h"
#include "files/WordReader.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static fuzz::Document* document = new fuzz::Document;  // the buffers are large: made once
    CBrevimarDoc& doc = *document->Doc;
    CWordReader words(fuzz::Text(data, size));
    std::string problem;
    LoadStartupFrameFile(doc, words, &problem);
    ReadShortFrameText(doc, fuzz::Text(data, size), "fuzz.out", &problem);
    return 0;
}
