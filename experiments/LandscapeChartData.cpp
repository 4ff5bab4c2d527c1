#include "experiments/LandscapeChartData.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>
#include <vector>

#include "core/Document.h"
#include "experiments/LandscapeParameters.h"
#include "experiments/LandscapeSetup.h"

namespace brevimar {

namespace {

// [k][0]: the average plot, [k][1]: the variability plot.
const char* const Titles[LandscapeMeasureSlots][2] = {
    {"", ""},
    {"Minimize Time to Goal (f/ave)", "Minimize Time to Goal (f/var)"},
    {"Minimize Number of Red Losses (f/ave)", "Minimize Number of Red Losses (f/var)"},
    {"Maximize Number of Blue Losses (f/ave)", "Maximize Number of Blue Losses (f/var)"},
    {"Maximize Red/Blue Survival Ratio (f/ave)", "Maximize Red/Blue Survival Ratio (f/var)"},
    {"Minimize Dist between Red-CoM and Blue-Flag (f/ave)", "Minimize Dist Between Red-CoM and Blue-Flag (f/var)"},
    {"Maximize Dist Between Blue-CoM and Red-Flag (f/ave)", "Maximize Dist Between Blue-CoM and Red-Flag (f/var)"},
    {"Maximize Number of Red Forces Near Blue Flag (f/ave)", "Maximize Number of Red forces Near Blue Flag (f/var)"},
    {"Minimize Number of Blue Forces Near Red Flag (f/ave)", "Minimize Number of Blue forces Near Red Flag (f/var)"},
    {"Minimize Total Number of Red Fratricide Hits (f/ave)", "Minimize Total Number of Red Fratricide Hits (f/var)"},
    {"Maximize Number of Blue Fratricide Hits (f/ave)", "Maximize Number of Blue Fratricide Hits (f/var)"},
    {"Maximize Red Territorial Possession (f/ave)", "Maximize Red Territorial Possession (f/var)"},
    {"Minimize Blue Territorial Possession (f/ave)", "Minimize Blue Territorial Possession (f/var)"},
};

}  // namespace

std::string LandscapeAxisName(int kind)
{
    return kind >= 1 && kind <= LandscapeParameterCount ? LandscapeParameter(kind).AxisName : "";
}

namespace {

// A value a field held, labelled by its kind's rule.
std::string FormatFieldValue(int kind, double value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    if (LandscapeParameter(kind).IntegerLabels)
        out << static_cast<long long>(value);
    else
        out << std::fixed << std::setprecision(3) << std::setw(7) << value;
    return out.str();
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? text : text.substr(first);
}

// The label of one axis value: the value its runs used, or "low..high" when
// the runs along it used several (the other axis capped it, or wrote the
// same field); the grid value as its field takes it where no run was set up.
std::string UsedValueLabel(int kind, double gridValue, const std::vector<double>& used)
{
    if (used.empty())
        return FormatLandscapeAxisValue(kind, gridValue);
    const auto [low, high] = std::minmax_element(used.begin(), used.end());
    const std::string lowText = FormatFieldValue(kind, *low);
    const std::string highText = FormatFieldValue(kind, *high);
    return lowText == highText ? lowText : Trimmed(lowText) + ".." + Trimmed(highText);
}

}  // namespace

std::string FormatLandscapeAxisValue(int kind, double value)
{
    // An int parameter is labelled with the value its field took.
    return FormatFieldValue(kind, LandscapeValueAsUsed(kind, value));
}

std::string LandscapeChartTitle(const CLandscapeSettings& s)
{
    const bool average = s.LandscapePlotKind == 1;
    int used = 0, only = 0;
    for (int k = 1; k <= LandscapeMeasureCount; ++k)
        if (s.LandscapeObjectiveUsed[k] == 1) {
            ++used;
            only = k;
        }
    if (used == 1)
        return Titles[only][average ? 0 : 1];
    return average ? "Mission-Fitness Landscape (Average)" : "Mission-Fitness Landscape (Variability)";
}

CLandscapeChartData ComputeLandscapeChart(const CBrevimarDoc& doc)
{
    const CLandscapeSettings& s = doc.Landscape.Settings;
    const CLandscapeResults& r = doc.Landscape.Results();
    CLandscapeChartData chart;
    chart.Surface = s.LandscapeGraphKind == 1;
    chart.Win = s.LandscapeGraphKind == 3;
    chart.Color = s.LandscapeColorMode == 1;
    chart.Title = LandscapeChartTitle(s);
    chart.RightTitle = LandscapeAxisName(s.LandscapeXParameter);
    chart.BottomTitle = LandscapeAxisName(s.LandscapeYParameter);
    chart.Sets = LandscapeAxisValueCount(s.LandscapeXMin, s.LandscapeXMax, s.LandscapeXSamples);
    chart.Points = LandscapeAxisValueCount(s.LandscapeYMin, s.LandscapeYMax, s.LandscapeYSamples);
    double xs[LandscapeAxisSlots] = {}, ys[LandscapeAxisSlots] = {};
    LandscapeAxisValues(s.LandscapeXMin, s.LandscapeXStep, chart.Sets, xs);
    LandscapeAxisValues(s.LandscapeYMin, s.LandscapeYStep, chart.Points, ys);

    for (int i = 1; i <= chart.Sets; ++i) {
        std::vector<double> used;
        for (int j = 1; j <= chart.Points; ++j)
            if (r.LandscapePointSetUp[i][j])
                used.push_back(r.LandscapeXUsed[i][j]);
        chart.XLabels.push_back(UsedValueLabel(s.LandscapeXParameter, xs[i], used));
    }
    for (int j = 1; j <= chart.Points; ++j) {
        std::vector<double> used;
        for (int i = 1; i <= chart.Sets; ++i)
            if (r.LandscapePointSetUp[i][j])
                used.push_back(r.LandscapeYUsed[i][j]);
        chart.YLabels.push_back(UsedValueLabel(s.LandscapeYParameter, ys[j], used));
    }

    const bool average = s.LandscapePlotKind == 1 || chart.Win;
    for (int i = 1; i <= chart.Sets; ++i) {
        for (int j = 1; j <= chart.Points; ++j) {
            double f = 0.0;
            for (int k = 1; k <= LandscapeMeasureCount; ++k) {
                const double use = s.LandscapeObjectiveUsed[k];
                const double w = s.LandscapeObjectiveWeight[k];
                if (average) {
                    f += use * w * r.LandscapeMeasureMean[k][i][j];
                } else {
                    const double d = r.LandscapeMeasureDeviation[k][i][j];
                    f += use * w * w * d * d;
                }
            }
            if (average)
                f = f > 1.0 ? 1.0 : (f < 0.0 ? 0.0 : f);
            else
                f = std::min(std::sqrt(f), 1.0);
            chart.RunningMin = std::min(chart.RunningMin, f);
            chart.RunningMax = std::max(chart.RunningMax, f);
            chart.Values[i - 1][j - 1] = chart.Win ? (f >= doc.Experiment.LandscapeWinThreshold ? 1.0 : 0.0) : f;
        }
    }
    chart.XAxisMin = s.LandscapeYMin;
    chart.XAxisMax = s.LandscapeYMax;
    chart.ZAxisMin = s.LandscapeXMin;
    chart.ZAxisMax = s.LandscapeXMax;
    if (chart.Win) {
        chart.ValueAxisMin = 0.0;
        chart.ValueAxisMax = 1.0;
    } else {
        chart.ValueAxisMin = chart.RunningMin;
        chart.ValueAxisMax = chart.RunningMax;
    }
    return chart;
}

}  // namespace brevimar
