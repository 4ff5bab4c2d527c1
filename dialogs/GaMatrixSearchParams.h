// The two matrix-search parameter editors the genetic algorithm's "Squad
// Matrix Search..." and "Communications Matrix Search..." run. They are the
// small editors of the Edit menu's matrix parameters; the genetic algorithm
// reaches them only through these two calls, which edit the values in place
// and answer whether the user pressed OK.
#pragma once

class QWidget;

namespace brevimar {

class CBrevimarDoc;

// `parent`: the window the editor is opened from.
bool EditSquadMatrixSearchParams(CBrevimarDoc& doc, double& threshold1, double& threshold2, QWidget* parent);
bool EditCommMatrixSearchParams(CBrevimarDoc& doc, int& seedAllLinks, int& forceSymmetry, double& linkProbability,
                                QWidget* parent);

}  // namespace brevimar
