// The landscape's files: the input file (.f1) that sets a whole exploration
// up, and the raw fitness report (.fit) written after a sweep.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/Landscape.h"

namespace brevimar {

class CBrevimarDoc;

// Everything an input file sets: the landscape settings and the
// territorial-possession box and rule of the battlefield.
struct CLandscapeInput {
    CLandscapeSettings Settings;
    int TerritoryRange = 0;
    int TerritoryMinCount = 0;
    int TerritoryDelta = 0;
    int TerritoryCenterX = 0;
    int TerritoryRangeX = 0;
    int TerritoryCenterY = 0;
    int TerritoryRangeY = 0;
    // The RED squads of the scenario the file is read over: the squad it
    // names must be one of them.
    int RedSquads = 1;
};

// What a file is read over: the landscape defaults (each measure its own
// row of the measure matrix), the territorial box and rule of the document's
// battlefield and the RED squads of its scenario (as leaving a GA or
// landscape that stands puts them back).
CLandscapeInput StartingLandscapeInput(CBrevimarDoc& doc);

// Parses the whole text of an input file into `input` (which the caller
// fills with the starting values: StartingLandscapeInput). False, with a
// sentence naming the problem, when a word is missing, a value is
// not a number, or a value would make the sweep unsound. Reads any bytes
// without harm: this is the entry point the fuzz target calls.
bool ParseLandscapeInput(std::string_view text, CLandscapeInput& input, std::string* problem);

// What the load command does with a file it has read and checked: the
// landscape run mode with the file's values, paused, ready to sweep.
void ApplyLandscapeInput(CBrevimarDoc& doc, const CLandscapeInput& input);

// File > Load > 2-Parameter FL Input Data File: choose, read, check, and on
// success select the landscape run mode with the values read. A file that
// does not open or does not parse is reported and changes nothing.
void OnLoadLandscapeFile(CBrevimarDoc& doc);

// The raw fitness report, on an open stream (C locale), and its command.
void WriteRawFitnessReport(std::ostream& out, CBrevimarDoc& doc);
void SaveRawFitnessFile(CBrevimarDoc& doc);

}  // namespace brevimar
