// The genetic algorithm's progress chart: best and worst fitness of each
// generation, best fitness so far and average fitness, over the generations
// completed. Built once from the document as it stands.
#pragma once

#include "charts/ChartWindow.h"

namespace brevimar {

class CBrevimarDoc;

class CMissionFitnessGraphDlg : public CChartWindow {
public:
    static constexpr unsigned IDD = 227;
    static constexpr const char* Caption = "1-Sided Genetic Algorithm Progress::Mission Fitness";

    CMissionFitnessGraphDlg(QWidget* parent, CBrevimarDoc& doc);
};

}  // namespace brevimar
