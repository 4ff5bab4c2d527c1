#include "collect/MultiRunRawReports.h"

#include <algorithm>
#include <iterator>
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
    const int lastStep = std::min(doc.MultiRunShape().Steps - 1, MultiRunGraphPoints - 1);
    for (int g = 0; g < count; ++g) {
        out << "\n\n" << doc.MultiRunGraphLabels[g] << "\n";
        for (int t = 1; t <= lastStep; ++t)
            out << "\n" << t << " " << charts.MultiRunGraphSeries[g][t] << " " << charts.MultiRunGraphDev[g][t];
    }
}

namespace {

constexpr int SampleColumns = 25;

struct SampleSection {
    const char* Heading;
    bool Written;
    const int* Counts;      // attrition sections
    const double* Values;   // the others
    int Range;              // neighbour and goal sections: R; else -1
};

}  // namespace

void WriteRawSampleReport(const CBrevimarDoc& doc, std::ostream& out)
{
    const CStatisticsParameters& on = doc.Statistics;
    const CChartSelections& c = doc.Charts;
    const CMultiRunSamples& m = doc.MultiRunData;
    auto is = [](int flag) { return flag == 1; };
    const bool com = is(on.CenterOfMassOn);
    // Each interpoint section follows the pair kind it belongs to: the flag
    // distances under "VORLAX : Enemy-Flag", the agent-to-agent ones under
    // "VORLAX : VORLAX".
    const bool flags = is(on.InterpointOn) && c.InterpointGraphPair == 2;
    const bool agents = is(on.InterpointOn) && c.InterpointGraphPair == 1;
    const bool nb = is(on.NeighborStatsOn), goal = is(on.GoalStatsOn), terr = is(on.TerritoryStatsOn);
    const int nR = std::clamp(c.NeighborGraphRange, 1, StatisticRanges);
    const int gR = std::clamp(c.GoalGraphRange, 1, StatisticRanges);
    auto ip = [&](int k) { return m.SampleInterpoint[k].get(); };
    const SampleSection sections[] = {
        {"=== Attrition: RED Alive ===", true, doc.SampleRedAlive.get(), nullptr, -1},
        {"=== Attrition: RED Injured ===", true, doc.SampleRedInjured.get(), nullptr, -1},
        {"=== Attrition: BLUE Alive ===", true, doc.SampleBlueAlive.get(), nullptr, -1},
        {"=== Attrition: BLUE Injured ===", true, doc.SampleBlueInjured.get(), nullptr, -1},
        {"=== Center-of-Mass: Red x-coordinate ===", com && is(c.CenterOfMassGraphRed), nullptr, m.SampleCenterOfMass[0].get(), -1},
        {"=== Center-of-Mass: Red y-coordinate ===", com && is(c.CenterOfMassGraphRed), nullptr, m.SampleCenterOfMass[1].get(), -1},
        {"=== Center-of-Mass: Blue x-coordinate ===", com && is(c.CenterOfMassGraphBlue), nullptr, m.SampleCenterOfMass[2].get(), -1},
        {"=== Center-of-Mass: Blue y-coordinate ===", com && is(c.CenterOfMassGraphBlue), nullptr, m.SampleCenterOfMass[3].get(), -1},
        {"=== Center-of-Mass: Total x-coordinate ===", com && is(c.CenterOfMassGraphTotal), nullptr, m.SampleCenterOfMass[4].get(), -1},
        {"=== Center-of-Mass: Total y-coordinate ===", com && is(c.CenterOfMassGraphTotal), nullptr, m.SampleCenterOfMass[5].get(), -1},
        {"=== Cluster Distribution: Ave Size (D=1) ===", is(on.ClusterD1On) && c.ClusterGraphDistance == 1, nullptr, m.SampleClusterSizeD1.get(), -1},
        {"=== Cluster Distribution: Ave Size (D=2) ===", is(on.ClusterD2On) && c.ClusterGraphDistance == 2, nullptr, m.SampleClusterSizeD2.get(), -1},
        {"=== Interpoint Distance: Ave Red : Blue-Flag Distance ===", flags && is(c.InterpointGraphRedBlueFlag), nullptr, ip(0), -1},
        {"=== Interpoint Distance: Ave Blue : Red-Flag Distance ===", flags && is(c.InterpointGraphBlueRedFlag), nullptr, ip(1), -1},
        {"=== Interpoint Distance: Ave Blue : Blue-Flag Distance ===", flags && is(c.InterpointGraphBlueBlueFlag), nullptr, ip(3), -1},
        {"=== Interpoint Distance: Ave Red : Red-Flag Distance ===", flags && is(c.InterpointGraphRedRedFlag), nullptr, ip(2), -1},
        {"=== Interpoint Distance: Ave Red : Red-VORLAX Distance ===", agents && is(c.InterpointGraphRedRed), nullptr, ip(4), -1},
        {"=== Interpoint Distance: Ave Blue : Blue-VORLAX Distance ===", agents && is(c.InterpointGraphBlueBlue), nullptr, ip(5), -1},
        {"=== Interpoint Distance: Ave Red : Blue-VORLAX Distance ===", agents && is(c.InterpointGraphRedBlue), nullptr, ip(6), -1},
        {"=== Neighbor Count Distribution: Total within Red ===", nb && is(c.NeighborGraphTotalNearRed), nullptr, m.SampleNeighbors[2].get(), nR},
        {"=== Neighbor Count Distribution: Total within Blue ===", nb && is(c.NeighborGraphTotalNearBlue), nullptr, m.SampleNeighbors[5].get(), nR},
        {"=== Neighbor Count Distribution: Red within Red ===", nb && is(c.NeighborGraphRedNearRed), nullptr, m.SampleNeighbors[0].get(), nR},
        {"=== Neighbor Count Distribution: Red within Blue ===", nb && is(c.NeighborGraphRedNearBlue), nullptr, m.SampleNeighbors[3].get(), nR},
        {"=== Neighbor Count Distribution: Blue within Blue ===", nb && is(c.NeighborGraphBlueNearBlue), nullptr, m.SampleNeighbors[4].get(), nR},
        {"=== Neighbor Count Distribution: Blue within Red ===", nb && is(c.NeighborGraphBlueNearRed), nullptr, m.SampleNeighbors[1].get(), nR},
        {"=== Goal Stats: Red within Red-Flag ===", goal && is(c.GoalGraphRedNearRedFlag), nullptr, m.SampleGoalCount[2].get(), gR},
        {"=== Goal Stats: Red within Blue-Flag ===", goal && is(c.GoalGraphRedNearBlueFlag), nullptr, m.SampleGoalCount[0].get(), gR},
        {"=== Goal Stats: Blue within Blue-Flag ===", goal && is(c.GoalGraphBlueNearBlueFlag), nullptr, m.SampleGoalCount[3].get(), gR},
        {"=== Goal Stats: Blue within Red-Flag ===", goal && is(c.GoalGraphBlueNearRedFlag), nullptr, m.SampleGoalCount[1].get(), gR},
        {"=== Territorial Possession: Red Raw ===", terr && is(c.TerritoryGraphRedRaw), nullptr, m.SampleTerritory[0].get(), -1},
        {"=== Territorial Possession: Blue Raw ===", terr && is(c.TerritoryGraphBlueRaw), nullptr, m.SampleTerritory[2].get(), -1},
        {"=== Territorial Possession: Red Normalized ===", terr && is(c.TerritoryGraphRedNormalized), nullptr, m.SampleTerritory[1].get(), -1},
        {"=== Territorial Possession: Blue Normalized ===", terr && is(c.TerritoryGraphBlueNormalized), nullptr, m.SampleTerritory[3].get(), -1},
    };

    out.setf(std::ios::showpoint);
    out.precision(5);
    const std::string rule(76, '*');
    out << "\n" << rule << "\n" << std::string(17, ' ') << "RAW MULTIPLE TIME_SERIES SAMPLE DATA\n\n"
        << "Format:   time   sample[1][time]   sample[2][time]   ...   sample[25][time]\n" << rule;
    // Columns past the last run's samples would show an earlier run's values.
    const int filled = std::clamp(doc.MultiRunShape().Samples, 0, SampleColumns);
    const int lastStep = std::min(doc.MultiRunShape().Steps - 1, MultiRunStepSlots - 1);
    for (std::size_t i = 0; i < std::size(sections); ++i) {
        const SampleSection& section = sections[i];
        const bool counts = i < 4;
        if (!section.Written)
            continue;
        out << "\n\n" << section.Heading << "\n";
        for (int t = 1; t <= lastStep; ++t) {
            out << "\n" << t;
            for (int s = 1; s <= SampleColumns; ++s) {
                const bool defined = s <= filled;
                if (counts) {
                    out << " " << (defined && section.Counts ? section.Counts[SampleIndex(s, t)] : 0);
                } else {
                    const std::size_t at = section.Range < 0 ? SampleIndex(s, t) : SampleRangeIndex(s, section.Range, t);
                    out << " " << (defined && section.Values ? section.Values[at] : 0.0);
                }
            }
        }
    }
}

std::string MultiRunUnfinishedNote(const CBrevimarDoc& doc)
{
    const std::string samples = std::to_string(doc.MultiRunShape().Samples);
    const std::string progress =
        doc.MultiRunData.BatchOpen == 0
            ? "has not started: none of its " + samples + " samples has run."
            : "has not ended: sample " + std::to_string(doc.MultiRunSampleOnShow()) + " of " + samples + ".";
    return "The multiple time-series batch " + progress + " Its raw reports are written once it ends.";
}

void WriteRawSampleData(CBrevimarDoc& doc)
{
    RunFileCommand(doc, FileCommand::MultiRunSampleWrite,
                   [&](std::iostream& stream, const ChosenFile&) { WriteRawSampleReport(doc, stream); });
}

void WriteRawGraphData(CBrevimarDoc& doc)
{
    // The file carries what the last chart drew. Before any chart, the
    // hand-off holds only the reset's unlabelled zeros, which would read as
    // a valid run without losses: say so rather than write them.
    const int count = std::clamp(doc.MultiRunCharts.MultiRunGraphCount, 0, MultiRunGraphSlots);
    if (count > 0 && std::all_of(doc.MultiRunGraphLabels, doc.MultiRunGraphLabels + count,
                                 [](const std::string& label) { return label.empty(); })) {
        doc.Pause();
        doc.host().MessageBox("No raw graph data was written: the file holds the series of the last multiple "
                              "time-series chart, and no chart has been drawn since the run began.",
                              "Brevimar", MB_OK | MB_ICONINFORMATION);
        return;
    }
    RunFileCommand(doc, FileCommand::MultiRunGraphWrite,
                   [&](std::iostream& stream, const ChosenFile&) { WriteRawGraphReport(doc, stream); });
}

}  // namespace brevimar
