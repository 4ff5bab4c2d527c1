// The computations behind the per-step statistics, written against what they
// read and where they write, so that the run's statistics and the samples of
// a batch share them while each keeps its own results and working areas.
#pragma once

#include <iosfwd>

#include "core/CollectedStatistics.h"
#include "core/Limits.h"
#include "core/StatisticsParameters.h"

namespace brevimar {

class CBrevimarDoc;

// Cells of the present (alive or injured) agents of each side, in agent
// order; index 0 RED, 1 BLUE.
struct PresentAgents {
    int Count[2] = {};
    int X[2][MaxAgents];
    int Y[2][MaxAgents];
};
void GatherPresentAgents(const CBrevimarDoc& doc, PresentAgents& agents);

// The two flags: each force's goal is the other side's flag.
struct FlagCells {
    int RedX = 0, RedY = 0;
    int BlueX = 0, BlueY = 0;
};
FlagCells GetFlagCells(const CBrevimarDoc& doc);

// Distribution (fractions per unit bin, rounded half up; distances past the
// last bin count in it) and mean distance of the seven measures.
void ComputeInterpoint(const PresentAgents& agents, const FlagCells& flags, CInterpointWork& work,
                       double (&histogram)[InterpointMeasures][InterpointBins], double (&means)[InterpointMeasures]);

// Normalised entropy of each group's spread over the 16, 64 and 256 boxes,
// [partition][group]. The boxes are taken as contiguous: each reaches from its
// own lower limits up to the next box's, the last ones to the edge, so every
// cell of the battlefield lies in exactly one box of each partition.
void ComputeSpatialEntropy(const PresentAgents& agents, const CStatisticsParameters& boxes,
                           double (&entropy)[3][SideGroups]);

// Labels the clusters of occupied cells (grid value > 0, cell (x, y) at
// GridIndex(x, y)) that are connected through neighbours within `distance`
// (1 or 2) cells; fills the count of clusters per size (a cluster of more than
// 603 cells counts as 603) and returns the mean cluster size.
double LabelClusterGrid(const int* grid, int battleSize, int distance, CClusterWork& work,
                        int (&sizeCount)[ClusterSizeSlots]);

// Mean numbers of neighbours within R = 1..7, [kind][R - 1], on a
// battlefield of the given size (agents off it neither count nor are counted
// as neighbours).
void ComputeNeighborCounts(const PresentAgents& agents, int battleSize, CNeighborWork& work,
                           double (&means)[NeighborKinds][StatisticRanges]);

// Mean positions: RED x, RED y, BLUE x, BLUE y, both x, both y.
void ComputeCenterOfMassValues(const PresentAgents& agents, double (&center)[6]);

// Agents within R = 1..7 of the flags, [kind][R - 1].
void ComputeGoalCounts(const PresentAgents& agents, const FlagCells& flags,
                       double (&counts)[GoalCountKinds][StatisticRanges]);

// Boxes of side `epsilon` needed to cover the points (x[i], y[i]), i < n.
unsigned CountOccupiedBoxes(const double* x, const double* y, unsigned n, double epsilon, CBoxCountWork& work);

// Box counts of one group of points for box sizes 1/2 .. 1/2^sizes
// (each 0 taken as 1), and the fitted dimension with its standard error.
struct CapacityFit {
    unsigned Count[8] = {};
    double Dimension = 0;
    double Error = 0;
};
// group 0 RED, 1 BLUE, 2 both; `sizes` is 8 for the snapshot file, or 6 for
// the per-step statistic, which counts only the rows of the fit (the box
// sizes 1/8 .. 1/64, that the fit always takes) and leaves the others 1.
CapacityFit FitCapacityDimension(const PresentAgents& agents, int battleSize, int group, int sizes,
                                 CBoxCountWork& work);

// The four fractions: RED raw, RED normalised, BLUE raw, BLUE normalised.
void ComputeTerritoryFractions(const CBrevimarDoc& doc, CTerritoryWork& work, double (&fractions)[4]);

// The capacity-dimension snapshot of the document's live positions.
void WriteCapacityDimensionReport(const CBrevimarDoc& doc, CBoxCountWork& work, std::ostream& out);
// The "Calculate Capacity Dimension (Snapshot at time t)..." file command.
void WriteCapacityDimensionData(CBrevimarDoc& doc);

// Collection switched on (or everything set) restarted every series. Before
// the run's first step the state on show is filed as step 0, where the
// curves begin; later, the steps already run are marked as not measured, so
// the charts begin at the next step the run files. The run's step counter
// is left as it is. Returns the first step the series hold.
int RestartCollectedSeries(CBrevimarDoc& doc);

}  // namespace brevimar
