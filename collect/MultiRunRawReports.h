// The raw reports of a multiple time-series run that the user may ask for
// after the run or from its charts.
#pragma once

#include <iosfwd>
#include <string>

namespace brevimar {

class CBrevimarDoc;

// Every sample's values (.mts): header, then per chosen statistic one
// section of rows "t value[1] .. value[25]" for steps 1..T-1. Samples the
// last run did not fill are written as 0.
void WriteRawSampleReport(const CBrevimarDoc& doc, std::ostream& out);
void WriteRawSampleData(CBrevimarDoc& doc);

// The series the last run-mode-5 chart drew (.mtg): header, then per series
// its label and one row "t average deviation" per step 1..T-1.
void WriteRawGraphReport(const CBrevimarDoc& doc, std::ostream& out);
// Asks for the file through the file-command frame and writes the report.
void WriteRawGraphData(CBrevimarDoc& doc);

// Why no raw report of the batch is written yet, and how far it has come:
// its reports are only of a batch that has ended.
std::string MultiRunUnfinishedNote(const CBrevimarDoc& doc);

}  // namespace brevimar
