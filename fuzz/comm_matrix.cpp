// The communications-matrix file (*.cmw), read into a scratch document.
#include "files/MatrixFiles.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    CommRows red = {};
    CommRows blue = {};
    std::string problem;
    ReadCommMatrixText(fuzz::Text(data, size), &red, &blue, &problem);
    return 0;
}
