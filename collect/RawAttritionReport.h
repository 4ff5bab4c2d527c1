// The raw attrition report (.att) of a multiple time-series run: how many
// agents each side lost over the samples of the last run, how fast, and when
// given attrition levels were reached.
#pragma once

#include <iosfwd>

namespace brevimar {

class CBrevimarDoc;

// What the user chose for one report; the defaults are those the level
// dialog offers.
struct RawAttritionLevels {
    double PercentLevel[4] = {90, 75, 50, 10};    // surviving percentage, as typed
    double CasualtyLevel[4] = {10, 25, 50, 75};  // agents injured or killed
    int SaveRateData = 0;                        // 1: add the rate-versus-force table
};

// Writes the whole report of the document's per-sample series.
void WriteRawAttritionReport(const CBrevimarDoc& doc, const RawAttritionLevels& levels, std::ostream& out);
// Asks for the file through the file-command frame and writes the report.
void WriteRawAttritionFile(CBrevimarDoc& doc, const RawAttritionLevels& levels);

}  // namespace brevimar
