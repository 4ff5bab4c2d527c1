// The squad-matrix weights file (*.smw), read into a scratch document.
#include "files/MatrixFiles.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    SquadWeightRows red = {};
    SquadWeightRows blue = {};
    std::string problem;
    ReadSquadMatrixText(fuzz::Text(data, size), &red, &blue, &problem);
    return 0;
}
