// The raw-data question of a multiple time-series run and the reports it
// writes, shared by the completion of a run and the run-mode-5 charts.
#pragma once

#include <functional>

class QWidget;

namespace brevimar {

class CBrevimarDoc;

struct RawDataChoice {
    int Sample = 0;
    int Graph = 0;
    int Attrition = 0;
};

// Opens a chart that offers the raw data of a multiple time-series run (run
// mode 5); in any other run mode it only opens it. Asks the raw-data
// question, opens the chart (`create`), which hands its series to the
// document, then writes the reports chosen, the attrition report only when
// the chart offers it. Returns the chart.
QWidget* OpenChartOfferingRawData(CBrevimarDoc& doc, QWidget* parent, bool offersAttrition,
                                  const std::function<QWidget*()>& create);

// Asks "Multiple Time-Series Raw Data"; the answers are yes = 1, no = 0.
RawDataChoice AskMultiRunRawData(CBrevimarDoc& doc, QWidget* parent);

// Writes the chosen reports in the order sample, graph, attrition.
void WriteChosenRawData(CBrevimarDoc& doc, const RawDataChoice& choice, QWidget* parent);

// Asks for the attrition report's levels ("Data Collect::Save Raw
// Attrition"), then for the file, and writes the .att report.
void WriteRawAttritionData(CBrevimarDoc& doc, QWidget* parent);

}  // namespace brevimar
