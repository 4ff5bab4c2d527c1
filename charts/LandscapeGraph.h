// The fitness-landscape chart: the result of a two-parameter sweep as a 3D
// surface, or seen from above as a density or win map, one fitness value per
// grid point combined from the mission measures by the objective's weights.
#pragma once

#include "charts/ChartWindow.h"

namespace brevimar {

class CBrevimarDoc;

class CLandscapeGraphDlg : public CChartWindow {
public:
    static constexpr unsigned IDD = 231;
    static constexpr const char* Caption = "3D Graph::Two-Parameter Fitness Landscape";

    // Builds the whole chart from the sweep's results as they stand.
    CLandscapeGraphDlg(QWidget* parent, const CBrevimarDoc& doc);
};

}  // namespace brevimar
