// Capacity (box-counting) dimension: how the number of boxes of side epsilon
// that cover the agents grows as epsilon shrinks, fitted as a straight line
// through (ln 1/epsilon, ln N) for epsilon = 1/8 .. 1/64.
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <ostream>

#include "collect/StatisticsKernels.h"
#include "core/Document.h"
#include "files/FileCommandFrame.h"

namespace brevimar {

namespace {

// Rows 3..6 of the box sizes 1/2 .. 1/256 take part in the fit.
constexpr int FirstFitRow = 3;
constexpr int FitRows = 4;

// Box counts per direction, and the scale that maps a coordinate onto them.
struct Axis {
    double Min = 1.0;
    double Max = 0.0;
    double Boxes = 0;
    double Scale = 0;

    void Fit(double epsilon)
    {
        const double span = Max - Min;
        Boxes = std::trunc(span / epsilon + 1.0);
        // Points all on one line across this direction span nothing: one box.
        Scale = span > 0 ? (Boxes - 1.0) / span : 0.0;
    }
    // Grid position of a coordinate (the nearest, rounded half up), or -1
    // outside the counted boxes. Coordinates are never below Min, so the
    // position is not negative and truncation rounds it down.
    int Index(double v) const
    {
        const double i = (v - Min) * Scale + 0.5;
        return i < Boxes && i < BoxFlagSide ? static_cast<int>(i) : -1;
    }
};

struct Bounds {
    Axis X, Y;
};

Bounds PointBounds(const double* x, const double* y, unsigned n)
{
    Bounds b;
    for (unsigned i = 0; i < n; ++i) {
        b.X.Min = std::min(b.X.Min, x[i]);
        b.X.Max = std::max(b.X.Max, x[i]);
        b.Y.Min = std::min(b.Y.Min, y[i]);
        b.Y.Max = std::max(b.Y.Max, y[i]);
    }
    return b;
}

unsigned CountBoxes(const double* x, const double* y, unsigned n, double epsilon, Bounds bounds, CBoxCountWork& work)
{
    if (n == 0 || !(epsilon > 0))
        return 0;
    bounds.X.Fit(epsilon);
    bounds.Y.Fit(epsilon);
    // Only the flags set here are cleared again, so the grid stays empty
    // between calls without a sweep over all of it.
    unsigned count = 0;
    const unsigned limit = std::min<unsigned>(n, std::size(work.SetFlags));
    for (unsigned i = 0; i < n && count < limit; ++i) {
        const int ix = bounds.X.Index(x[i]), iy = bounds.Y.Index(y[i]);
        if (ix < 0 || iy < 0)
            continue;
        const int at = BoxFlagSide * ix + iy;
        if (work.Flag[at] == 0) {
            work.Flag[at] = 1;
            work.SetFlags[count++] = at;
        }
    }
    for (unsigned i = 0; i < count; ++i)
        work.Flag[work.SetFlags[i]] = 0;
    return count;
}

}  // namespace

unsigned CountOccupiedBoxes(const double* x, const double* y, unsigned n, double epsilon, CBoxCountWork& work)
{
    return CountBoxes(x, y, n, epsilon, PointBounds(x, y, n), work);
}

CapacityFit FitCapacityDimension(const PresentAgents& agents, int battleSize, int group, int sizes,
                                 CBoxCountWork& work)
{
    const double scale = battleSize > 0 ? battleSize : 1;
    unsigned n = 0;
    for (int s = 0; s < 2; ++s) {
        if (group != 2 && group != s)
            continue;
        for (int a = 0; a < agents.Count[s]; ++a) {
            work.X[n] = agents.X[s][a] / scale;
            work.Y[n] = agents.Y[s][a] / scale;
            ++n;
        }
    }
    CapacityFit fit;
    // The step's statistic needs only the rows of the fit.
    const int first = sizes > FirstFitRow + FitRows - 1 ? 1 : FirstFitRow;
    sizes = std::clamp(sizes, FirstFitRow + FitRows - 1, 8);
    const Bounds bounds = PointBounds(work.X, work.Y, n);
    for (int k = 1; k <= sizes; ++k) {
        const unsigned boxes = k >= first ? CountBoxes(work.X, work.Y, n, std::ldexp(1.0, -k), bounds, work) : 0;
        fit.Count[k - 1] = boxes > 0 ? boxes : 1;
    }

    // Least squares through the four points. Sums of four are taken in pairs
    // so that four equal values sum exactly and a flat line fits as exactly 0.
    double x[FitRows], y[FitRows];
    for (int i = 0; i < FitRows; ++i) {
        const int k = FirstFitRow + i;
        x[i] = std::log(std::ldexp(1.0, k));
        y[i] = std::log(static_cast<double>(fit.Count[k - 1]));
    }
    const double sumX = (x[0] + x[1]) + (x[2] + x[3]);
    const double sumY = (y[0] + y[1]) + (y[2] + y[3]);
    const double meanX = sumX * 0.25, meanY = sumY * 0.25;
    double sxx = 0, sxy = 0;
    for (int i = 0; i < FitRows; ++i) {
        sxx += (x[i] - meanX) * (x[i] - meanX);
        sxy += (x[i] - meanX) * (y[i] - meanY);
    }
    const double slope = sxy / sxx + 0.0;
    const double intercept = (sumY - slope * sumX) * 0.25;
    double chi2 = 0;
    for (int i = 0; i < FitRows; ++i) {
        const double r = y[i] - intercept - slope * x[i];
        chi2 += r * r;
    }
    fit.Dimension = slope;
    fit.Error = std::sqrt(chi2) * std::sqrt(1.0 / (FitRows - 2)) * std::sqrt(1.0 / sxx);
    return fit;
}

void CBrevimarDoc::ComputeCapacityDimension()
{
    PresentAgents agents;
    GatherPresentAgents(*this, agents);
    const int t = RunHeader.CurrentStep;
    if (t < 0 || t > MaxSeriesStep)
        return;
    for (int g = 0; g < SideGroups; ++g) {
        const CapacityFit fit = FitCapacityDimension(agents, Battlefield.BattleSize, g, 6, StatisticsWork.Boxes);
        Collected.CapacityDimension[g][t] = fit.Dimension;
        Collected.CapacityDimensionError[g][t] = fit.Error;
    }
}

void WriteCapacityDimensionReport(const CBrevimarDoc& doc, CBoxCountWork& work, std::ostream& out)
{
    PresentAgents agents;
    GatherPresentAgents(doc, agents);
    out << "****************************************************************************"
        << "\n                        (Raw) Capacity Dimension Data "
        << "\nFormat:  [epsilon]  [count]   [log(1/epsilon)]    [log(count)]"
        << "\n****************************************************************************"
        << "\nTime = " << doc.RunHeader.CurrentStep << "\n";
    const char* titles[SideGroups] = {"\nRed ===", "\nBlue ===", "\nTotal (Red & Blue) ==="};
    for (int g = 0; g < SideGroups; ++g) {
        if (g > 0)
            out << "\n\n";
        out << titles[g] << "\n";
        const CapacityFit fit = FitCapacityDimension(agents, doc.Battlefield.BattleSize, g, 8, work);
        for (int k = 1; k <= 8; ++k) {
            const double epsilon = std::ldexp(1.0, -k);
            out << "\n" << std::setw(10) << epsilon << "  " << std::setw(10) << fit.Count[k - 1] << " "
                << std::setw(10) << std::log(1.0 / epsilon) << " " << std::setw(10)
                << std::log(static_cast<double>(fit.Count[k - 1]));
        }
        out << "\nEstimated Capacity Dimension = " << fit.Dimension << " +/- " << fit.Error;
    }
    out << "\n";
}

void WriteCapacityDimensionData(CBrevimarDoc& doc)
{
    RunFileCommand(doc, FileCommand::CapacityDimensionWrite, [&](std::iostream& stream, const ChosenFile&) {
        WriteCapacityDimensionReport(doc, doc.StatisticsWork.Boxes, stream);
    });
}

}  // namespace brevimar
