// A waypoint path field as its stream reader takes it.
#include <sstream>

#include "core/PathField.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static CPathField* field = new CPathField;
    std::istringstream in{std::string(fuzz::Text(data, size))};
    in >> *field;
    return 0;
}
