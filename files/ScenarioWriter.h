// The scenario input data file, as the program writes it: data version 4.
// A stored run (.run) is the same text followed by the captured frames.
//
// The readers take the file as a stream of words and skip labels and
// comments by count, so every label is one word, every comment and banner
// line keeps its number of words, and the values keep their order. Each line
// after the first starts with a line feed and the file ends without one.
// Numbers are written with the stream's defaults in the C locale: integers
// in decimal, floating-point values like printf's %g with 6 significant
// digits.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "files/FileCommandFrame.h"
#include "files/ScenarioFormat.h"

namespace brevimar {

class CBrevimarDoc;
class CStoredValues;
struct CGaDecoded;

// The whole file for the document's scenario: run-time, general battle and
// statistics parameters, both sides' global and local command, both forces'
// agent parameters (RED's twelve decoded rows while the genetic algorithm's
// best chromosome is shown) and the terrain, then, while RunCaptureOn is 1, frames
// 0 .. CurrentStep - 1 of the capture (at most the frames the readers keep).
// A file with frames holds the scenario they were recorded under: every
// agent slot, those a right click took off included, and RED's own rows. A
// file without them leaves those agents out and holds the shown best
// chromosome's rows, whether a capture records or not.
// Writes in the C locale with the stream's default number format, whatever
// the stream was set to, and gives the stream its settings back.
void WriteScenario(const CBrevimarDoc& doc, std::ostream& out);

// File > Save > "Brevimar Input Data File...", "....Stop RUN Capture" and the
// chromosome displays: the Save As chooser (.dat or .run), then the file.
// After a file was written the "Set All" check mark of the Data Collection
// menu is cleared; the statistic switches keep their values.
FileCommandResult WriteInputDataFile(CBrevimarDoc& doc, FileCommand command = FileCommand::ScenarioWrite);

// A command that has stored new values (`before` holds them as they stood)
// and is about to end a RUN capture that holds frames: the frames are
// offered with the values they were captured under, then the new values come
// back. False when the user chose to write them and no file was written: the
// document then holds the values as they stood, the capture records on, and
// the command is given up.
bool OfferCapturedFramesBefore(CBrevimarDoc& doc, const CStoredValues& before);

// A command of the user's that may change RED's values runs inside one. The
// best chromosome once shown decides RED's rows of every scenario saved
// (GaBestShown); when RED's values, as a save writes them or as an agent
// file placed RED's agents, come out of the command changed, the mark ends
// and a save writes what the dialogs show. A command that changes nothing
// keeps it.
class RedEditScope {
public:
    explicit RedEditScope(CBrevimarDoc& doc);
    ~RedEditScope();
    RedEditScope(const RedEditScope&) = delete;
    RedEditScope& operator=(const RedEditScope&) = delete;

private:
    bool RedValuesChanged();

    CBrevimarDoc& Doc;
    bool Recorded = false;              // the mark stood when the command began
    std::vector<unsigned char> Before;  // RED's values then, as stored
};

// The scenario of the genetic algorithm's best chromosome, in the data
// version 1 layout: RED's evolved values from `best`, the rest from the
// document. Version 1 knows no area, flock or extra meta-personality rows;
// the terrain weights, near-terrain flag and terrain minimum distances are
// written as zeros. Terrain and the run capture follow as in the version-4
// file, the cell list included.
void WriteChromosomeScenario(const CBrevimarDoc& doc, const CGaDecoded& best, std::ostream& out);
// The best-chromosome display's "Save to File": the Save As chooser, then the
// file from the decoded best chromosome (GaBestDecoded).
FileCommandResult WriteChromosomeInputDataFile(CBrevimarDoc& doc);

}  // namespace brevimar
