// A terrain file, read for the largest battlefield and for a small one.
#include <sstream>
#include <vector>

#include "core/TerrainFile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    for (int battleSize : {150, 20}) {
        std::istringstream in{std::string(fuzz::Text(data, size))};
        std::vector<TerrainRecord> records;
        long long fileSize = 0;
        std::string problem;
        ReadTerrainRecords(in, battleSize, &records, &fileSize, &problem);
    }
    return 0;
}
