// The two matrix-search parameter editors the genetic algorithm's "Squad
// Matrix Search..." and "Communications Matrix Search..." run. They are the
// small editors of the Edit menu's matrix parameters; the genetic algorithm
// reaches them only through these two calls, which edit the values in place
// and answer whether the user pressed OK.
#pragma once

namespace brevimar {

class CBrevimarDoc;

bool EditSquadMatrixSearchParams(CBrevimarDoc& doc, double& threshold1, double& threshold2);
bool EditCommMatrixSearchParams(CBrevimarDoc& doc, int& seedAllLinks, int& forceSymmetry, double& linkProbability);

}  // namespace brevimar
