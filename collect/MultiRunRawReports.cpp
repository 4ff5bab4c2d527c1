#include "collect/MultiRunRawReports.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "core/Document.h"
#include "files/FileCommandFrame.h"

namespace brevimar {

void WriteRawGraphReport(const CBrevimarDoc& doc, std::ostream& out)
{
    const CMultiRunCharted& charts = doc.MultiRunCharts;
    out.setf(std::ios::showpoint);
    out.precision(5);
    const std::string rule(76, '*');
    out << "\n" << rule << "\n" << std::string(17, ' ') << "RAW MULTIPLE TIME_SERIES GRAPH DATA\n\n"
        << "Format:   time   data_ave[time]   data_absolute_deviation[time]\n" << rule << "\n";
    // The hand-off arrays hold seven series of points 1..200; a count or a
    // run time beyond them must not read past their ends.
    const int count = std::clamp(charts.MultiRunGraphCount, 0, MultiRunGraphSlots);
    const int lastStep = std::min(doc.Series.MultiRunStepCount - 1, MultiRunGraphPoints - 1);
    for (int g = 0; g < count; ++g) {
        out << "\n\n" << doc.MultiRunGraphLabels[g] << "\n";
        for (int t = 1; t <= lastStep; ++t)
            out << "\n" << t << " " << charts.MultiRunGraphSeries[g][t] << " " << charts.MultiRunGraphDev[g][t];
    }
}

void WriteRawGraphData(CBrevimarDoc& doc)
{
    RunFileCommand(doc, FileCommand::MultiRunGraphWrite,
                   [&](std::iostream& stream, const ChosenFile&) { WriteRawGraphReport(doc, stream); });
}

}  // namespace brevimar
