// The 57 RED squad parameters a landscape can sweep: their names, the field
// a grid value is written into, and the range the coordinates dialog offers.
#pragma once

#include <string>

#include "experiments/ValueLimit.h"

namespace brevimar {

class CBrevimarDoc;

// How a grid value reaches its field.
enum class LandscapeFieldType { Int, Float, Double };

struct LandscapeParameterEntry {
    const char* Name;       // as the parameter lists show it; matched byte for byte
    const char* ReportName; // in the raw fitness report
    const char* AxisName;   // as the landscape chart titles its axes
    LandscapeFieldType Type;
    int Samples;            // default range: intervals, minimum, maximum
    double Min;
    double Max;
    bool IntegerLabels;     // the chart labels its values with "%d"
};

// Entries 0..57; entry 0 is empty and names no field.
const LandscapeParameterEntry& LandscapeParameter(int index);
// The index whose name equals name exactly, or 0.
int FindLandscapeParameter(const char* name);

// The value a parameter's field takes from a grid value, as the report and
// the chart show it: an int field's truncation (0 becoming 1 for the ranges,
// movement held to the move tables), any other field the value itself.
double LandscapeValueAsUsed(int index, double value);

// What the field of parameter `index` may hold: what a scenario file may
// hold there and the scenario reader reads (squad sizes 0..300, sensor
// ranges 0..999, fire ranges -999..999, movement ranges within the move
// tables), any other value within the coordinates' -999..999. Entry 0 and
// indices outside 1..57: none.
ValueLimit LandscapeParameterLimit(int index);
// Empty, or why the axis value `what` (x_min, ...) = value is none that
// parameter `index` takes: judged by the value its field would hold after
// the conversion (truncation, 0 becoming 1, single precision), before the
// fire-range cap and the agent total. An index outside 1..57 takes any.
std::string CheckLandscapeAxisValue(const char* what, int index, double value);

// The value parameter `index` of squad LandscapeSquad holds now, as the
// runs read it (an int or float field widened to double); 0 outside 1..57.
double LandscapeFieldValue(const CBrevimarDoc& doc, int index);

// Writes x into the x parameter and then y into the y parameter of squad
// LandscapeSquad; an index outside 1..57 writes nothing.
void SetLandscapeParameters(CBrevimarDoc& doc, double x, double y);
// One entry alone, as SetLandscapeParameters writes it.
void WriteLandscapeParameter(CBrevimarDoc& doc, int index, double value);
void SymmetrizeAliveInjured(CBrevimarDoc& doc);
void SymmetrizeWeightPairs(CBrevimarDoc& doc);

}  // namespace brevimar
