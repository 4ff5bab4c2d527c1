// The fitness landscape's input file (*.f1), and on success the sweep's grid
// and territory derived from it as its load command derives them.
#include "experiments/LandscapeFiles.h"
#include "experiments/LandscapeSetup.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static fuzz::Document* document = new fuzz::Document;  // the buffers are large: made once
    CBrevimarDoc& doc = *document->Doc;
    CLandscapeInput input = StartingLandscapeInput(doc);
    std::string problem;
    if (!ParseLandscapeInput(fuzz::Text(data, size), input, &problem))
        return 0;
    CBattlefield& f = doc.Battlefield;
    doc.Landscape.Settings = input.Settings;
    f.TerritoryRange = input.TerritoryRange;
    f.TerritoryMinCount = input.TerritoryMinCount;
    f.TerritoryDelta = input.TerritoryDelta;
    f.TerritoryCenterX = input.TerritoryCenterX;
    f.TerritoryRangeX = input.TerritoryRangeX;
    f.TerritoryCenterY = input.TerritoryCenterY;
    f.TerritoryRangeY = input.TerritoryRangeY;
    doc.Landscape.Settings.LandscapeTerritoryCells = CountLandscapeTerritoryCells(f);
    DeriveLandscapeGrid(doc);
    return 0;
}
