// The genetic algorithm's input file (*.ga1), read into a whole document.
#include "experiments/GaEngine.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static fuzz::Document* document = new fuzz::Document;  // the buffers are large: made once
    std::string problem;
    ReadGaInputFile(*document->Doc, fuzz::Text(data, size), problem);
    return 0;
}
