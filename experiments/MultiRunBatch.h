// The multiple time-series batch: every sample of one scenario run in turn,
// its statistics recorded per sample, then averaged.
#pragma once

#include <functional>
#include <iosfwd>

namespace brevimar {

class CBrevimarDoc;

// Asks whether the weapons shots and hits of every step are to be written
// to a file; `answer` comes in as 1. Returns false when the question was
// closed without OK.
using WeaponsRawDataQuestion = std::function<bool(int& answer)>;

// Runs the batch inside the calling timer tick, one window message pumped
// per step. A pause requested meanwhile suspends it after the step under way;
// the next call resumes there. At the end MultiRunSample equals the sample
// count and the averages are current.
void RunMultiTimeSeriesBatch(CBrevimarDoc& doc, int timerId, const WeaponsRawDataQuestion& askWeaponsRawData);

// The weapons raw-data file: its header, each sample's header and the row of
// step k (every line after its line feed).
void WriteWeaponsRawDataHeader(const CBrevimarDoc& doc, std::ostream& out);
void WriteWeaponsRawDataSampleHeader(int sample, std::ostream& out);
void WriteWeaponsRawDataRow(const CBrevimarDoc& doc, int step, std::ostream& out);

}  // namespace brevimar
