// What the fitness-landscape chart shows, worked out from the document: one
// fitness value per grid point, the axis labels and the titles. The chart
// window only hands these to the chart engine.
#pragma once

#include <string>
#include <vector>

#include "core/Landscape.h"

namespace brevimar {

class CBrevimarDoc;

struct CLandscapeChartData {
    int Sets = 0;    // x values: one data set each
    int Points = 0;  // y values: one point each
    // [i - 1][j - 1]: the fitness at x value i and y value j, or 0/1 for a win map.
    double Values[LandscapeMaxAxisValues][LandscapeMaxAxisValues] = {};
    double RunningMin = 1.0;
    double RunningMax = 0.0;
    double ValueAxisMin = 0.0;
    double ValueAxisMax = 0.0;
    // The chart's x axis carries the landscape's y parameter, its depth
    // axis the x parameter.
    double XAxisMin = 0.0, XAxisMax = 0.0;
    double ZAxisMin = 0.0, ZAxisMax = 0.0;
    // Per x value (the depth axis) and per y value (the chart's x axis): the
    // value the runs used, "low..high" where they used several.
    std::vector<std::string> XLabels;
    std::vector<std::string> YLabels;
    std::string Title;
    std::string RightTitle;   // name of the x parameter
    std::string BottomTitle;  // name of the y parameter
    bool Surface = true;      // surface; otherwise a top view (density or win)
    bool Win = false;
    bool Color = true;
};

// Axis title of parameter kind 1..57; empty outside.
std::string LandscapeAxisName(int kind);
// A sample value labelled by its kind: "%d" of the value the field took for
// the integer kinds (truncated for the few float kinds labelled so), "%7.3f"
// (C locale) for the others.
std::string FormatLandscapeAxisValue(int kind, double value);
// The objective's own title when exactly one is in use, else the generic one.
std::string LandscapeChartTitle(const CLandscapeSettings& settings);

CLandscapeChartData ComputeLandscapeChart(const CBrevimarDoc& doc);

}  // namespace brevimar
