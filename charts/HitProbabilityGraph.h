// The P(hit) versus fire-range chart: the alive and the injured curve of one
// weapon function, drawn from the table a P(hit) dialog shows.
#pragma once

#include "charts/ChartWindow.h"

namespace brevimar {

class CHitProbabilityGraphDlg : public CChartWindow {
public:
    static constexpr unsigned IDD = 235;
    static constexpr const char* Caption = "Prob(HIT) vs. Fire-Range";
    // Rows r = 0..20 of (alive, injured) pairs.
    static constexpr int TableRows = 21;

    // `table` holds TableRows pairs in row order (alive(r) at 2r, injured(r)
    // at 2r + 1) and is read here only. `n` ranges are plotted; the table
    // bounds it to 0..20.
    CHitProbabilityGraphDlg(QWidget* parent, const float* table, int n);
};

}  // namespace brevimar
