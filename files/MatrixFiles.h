// The communications-matrix file (*.cmw, ints) and the squad-matrix weights
// file (*.smw, doubles): a 10 x 10 matrix over the squads of each side, RED
// then BLUE, each after a three-line banner.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/Limits.h"

namespace brevimar {

class CBrevimarDoc;

using CommRows = int[SquadSlots][SquadSlots];
using SquadWeightRows = double[SquadSlots][SquadSlots];

// What the genetic algorithm's run state offers the writers: its search mode
// and its RED matrices. In the genetic-algorithm run mode, search mode 5 writes
// the algorithm's communications matrix as RED's, search modes 3 and 6 its
// squad matrix.
struct GaMatrixSource {
    int SearchMode = 0;
    const CommRows* CommMatrix = nullptr;
    const SquadWeightRows* SquadMatrix = nullptr;
};

// The RED rows a writer writes.
const CommRows& RedCommRowsToWrite(const CBrevimarDoc& doc, const GaMatrixSource& ga);
const SquadWeightRows& RedSquadRowsToWrite(const CBrevimarDoc& doc, const GaMatrixSource& ga);

void WriteCommMatrixText(const CommRows& red, const CommRows& blue, std::ostream& out);
void WriteSquadMatrixText(const SquadWeightRows& red, const SquadWeightRows& blue, std::ostream& out);
// Both matrices are committed only when all 200 values were read.
bool ReadCommMatrixText(std::string_view text, CommRows* red, CommRows* blue, std::string* problem);
bool ReadSquadMatrixText(std::string_view text, SquadWeightRows* red, SquadWeightRows* blue, std::string* problem);

void WriteCommMatrixFile(CBrevimarDoc& doc, const GaMatrixSource& ga = {});
void SaveSquadMatrixFile(CBrevimarDoc& doc, const GaMatrixSource& ga = {});
int LoadCommMatrixFile(CBrevimarDoc& doc);
int LoadSquadMatrixFile(CBrevimarDoc& doc);

}  // namespace brevimar
