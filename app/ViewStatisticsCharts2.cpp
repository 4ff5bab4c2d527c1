// The Data Visualization commands of the per-step statistics charts: each
// pauses the run, asks the chart's options and opens a modeless chart of the
// document as it stands.
#include <array>
#include <utility>

#include "app/BrevimarView.h"
#include "app/MultiRunRawData.h"
#include "charts/ClusterGraph.h"
#include "charts/GoalCountGraph.h"
#include "charts/InterpointGraph.h"
#include "charts/NeighborGraph.h"
#include "charts/SpatialEntropyGraph.h"
#include "charts/TerritoryGraph.h"
#include "core/Document.h"

namespace brevimar {

void CBrevimarView::BuildStatisticsChartMap()
{
    Map.On(ID_CLUSTER_SIZE_GRAPH, [this] { OnClusterSizeGraph(); });
    Map.On(ID_INTERPOINT_GRAPH, [this] { OnInterpointGraph(); });
    Map.On(ID_NEIGHBOR_COUNT_GRAPH, [this] { OnNeighborCountGraph(); });
    Map.On(ID_GOAL_COUNT_GRAPH, [this] { OnGoalCountGraph(); });
    Map.On(ID_SPATIAL_ENTROPY_GRAPH, [this] { OnSpatialEntropyGraph(); });
    Map.On(ID_TERRITORY_GRAPH, [this] { OnTerritoryGraph(); });

    // A chart is offered once its statistic is being collected, in the
    // interactive and multiple time-series runs; a multiple time-series run
    // does not collect the spatial entropy.
    using S = CStatisticsParameters;
    const std::pair<unsigned, std::array<int S::*, 2>> switches[] = {
        {ID_CLUSTER_SIZE_GRAPH, {&S::ClusterD1On, &S::ClusterD2On}},
        {ID_INTERPOINT_GRAPH, {&S::InterpointOn, &S::InterpointOn}},
        {ID_NEIGHBOR_COUNT_GRAPH, {&S::NeighborStatsOn, &S::NeighborStatsOn}},
        {ID_GOAL_COUNT_GRAPH, {&S::GoalStatsOn, &S::GoalStatsOn}},
        {ID_SPATIAL_ENTROPY_GRAPH, {&S::SpatialEntropyOn, &S::SpatialEntropyOn}},
        {ID_TERRITORY_GRAPH, {&S::TerritoryStatsOn, &S::TerritoryStatsOn}},
    };
    for (const auto& [id, on] : switches)
        Map.OnUpdate(id, [this, on = on, inBatches = id != ID_SPATIAL_ENTROPY_GRAPH](CCmdUI& ui) {
            const CBrevimarDoc& doc = *Document;
            const S& st = doc.Statistics;
            ui.Enable(st.DataCollectionOn == 1 && (st.*on[0] == 1 || st.*on[1] == 1) &&
                      (doc.RunMode == InteractiveMode || (inBatches && doc.RunMode == MultipleTimeSeriesMode)));
        });
}

void CBrevimarView::OpenStatisticsChart(bool offersRawData, const std::function<QWidget*()>& create)
{
    // These charts do not offer the attrition report.
    LastChartWindow = offersRawData ? OpenChartOfferingRawData(*Document, this, false, create) : create();
}

void CBrevimarView::OnGoalCountGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& c = doc.Charts;
    CGoalCountGraphOptionsDlg dialog(doc, this);
    dialog.RedNearRedFlag = c.GoalGraphRedNearRedFlag;
    dialog.BlueNearRedFlag = c.GoalGraphBlueNearRedFlag;
    dialog.RedNearBlueFlag = c.GoalGraphRedNearBlueFlag;
    dialog.BlueNearBlueFlag = c.GoalGraphBlueNearBlueFlag;
    dialog.Range = c.GoalGraphRange;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        c.GoalGraphRedNearRedFlag = dialog.RedNearRedFlag;
        c.GoalGraphBlueNearRedFlag = dialog.BlueNearRedFlag;
        c.GoalGraphRedNearBlueFlag = dialog.RedNearBlueFlag;
        c.GoalGraphBlueNearBlueFlag = dialog.BlueNearBlueFlag;
        c.GoalGraphRange = dialog.Range;
        OpenStatisticsChart(true, [this, &doc] { return new CGoalCountGraphDlg(this, doc); });
    }
    Invalidate(false);
}

void CBrevimarView::OnNeighborCountGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& c = doc.Charts;
    CNeighborCountGraphOptionsDlg dialog(doc, this);
    dialog.TotalNearRed = c.NeighborGraphTotalNearRed;
    dialog.TotalNearBlue = c.NeighborGraphTotalNearBlue;
    dialog.RedNearRed = c.NeighborGraphRedNearRed;
    dialog.BlueNearRed = c.NeighborGraphBlueNearRed;
    dialog.RedNearBlue = c.NeighborGraphRedNearBlue;
    dialog.BlueNearBlue = c.NeighborGraphBlueNearBlue;
    dialog.Range = c.NeighborGraphRange;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        c.NeighborGraphTotalNearRed = dialog.TotalNearRed;
        c.NeighborGraphTotalNearBlue = dialog.TotalNearBlue;
        c.NeighborGraphRedNearRed = dialog.RedNearRed;
        c.NeighborGraphBlueNearRed = dialog.BlueNearRed;
        c.NeighborGraphRedNearBlue = dialog.RedNearBlue;
        c.NeighborGraphBlueNearBlue = dialog.BlueNearBlue;
        c.NeighborGraphRange = dialog.Range;
        OpenStatisticsChart(true, [this, &doc] { return new CNeighborCountGraphDlg(this, doc); });
    }
    Invalidate(false);
}

void CBrevimarView::OnTerritoryGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& c = doc.Charts;
    CTerritorialPossessionGraphOptionsDlg dialog(doc, this);
    dialog.RedRaw = c.TerritoryGraphRedRaw;
    dialog.RedNormalized = c.TerritoryGraphRedNormalized;
    dialog.BlueRaw = c.TerritoryGraphBlueRaw;
    dialog.BlueNormalized = c.TerritoryGraphBlueNormalized;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        c.TerritoryGraphRedRaw = dialog.RedRaw;
        c.TerritoryGraphRedNormalized = dialog.RedNormalized;
        c.TerritoryGraphBlueRaw = dialog.BlueRaw;
        c.TerritoryGraphBlueNormalized = dialog.BlueNormalized;
        OpenStatisticsChart(true, [this, &doc] { return new CTerritorialPossessionGraphDlg(this, doc); });
    }
    Invalidate(false);
}

void CBrevimarView::OnSpatialEntropyGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& c = doc.Charts;
    CSpatialEntropyGraphOptionsDlg dialog(doc, this);
    dialog.ShowRed = c.SpatialEntropyGraphRed;
    dialog.ShowBlue = c.SpatialEntropyGraphBlue;
    dialog.ShowTotal = c.SpatialEntropyGraphTotal;
    dialog.ShowCoarse = c.SpatialEntropyGraphCoarse;
    dialog.ShowMedium = c.SpatialEntropyGraphMedium;
    dialog.ShowFine = c.SpatialEntropyGraphFine;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        c.SpatialEntropyGraphRed = dialog.ShowRed;
        c.SpatialEntropyGraphBlue = dialog.ShowBlue;
        c.SpatialEntropyGraphTotal = dialog.ShowTotal;
        c.SpatialEntropyGraphCoarse = dialog.ShowCoarse;
        c.SpatialEntropyGraphMedium = dialog.ShowMedium;
        c.SpatialEntropyGraphFine = dialog.ShowFine;
        OpenStatisticsChart(false, [this, &doc] { return new CSpatialEntropyGraphDlg(this, doc); });
    }
    Invalidate(false);
}

void CBrevimarView::OnClusterSizeGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& c = doc.Charts;
    CClusterDistributionGraphOptionsDlg dialog(doc, this);
    dialog.DistanceCriterion = c.ClusterGraphDistance;
    dialog.ClusterForm = c.ClusterGraphForm;
    dialog.ShowDeviations = c.ClusterGraphDeviations;
    dialog.BinWidth = c.ClusterGraphBinWidth;
    dialog.MaxClusterSize = c.ClusterGraphMaxSize;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        c.ClusterGraphDistance = dialog.DistanceCriterion;
        c.ClusterGraphForm = dialog.ClusterForm;
        c.ClusterGraphDeviations = dialog.ShowDeviations;
        c.ClusterGraphBinWidth = dialog.BinWidth;
        c.ClusterGraphMaxSize = dialog.MaxClusterSize;
        OpenStatisticsChart(true, [this, &doc] { return new CClusterDistributionGraphDlg(this, doc); });
    }
    Invalidate(false);
}

void CBrevimarView::OnInterpointGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& c = doc.Charts;
    CInterpointDistributionGraphOptionsDlg dialog(doc, this);
    auto fields = [&c, &dialog] {
        using O = CInterpointDistributionGraphOptionsDlg;
        return std::array<std::pair<int*, int O::*>, 15>{{
            {&c.InterpointGraphPair, &O::Pair},
            {&c.InterpointGraphMaxDistance, &O::MaxDistance},
            {&c.InterpointGraphMaxFlagDistance, &O::MaxFlagDistance},
            {&c.InterpointGraphMinFlagDistance, &O::MinFlagDistance},
            {&c.InterpointGraphAgentForm, &O::AgentForm},
            {&c.InterpointGraphFlagForm, &O::FlagForm},
            {&c.InterpointGraphRedRed, &O::RedRed},
            {&c.InterpointGraphBlueBlue, &O::BlueBlue},
            {&c.InterpointGraphRedBlue, &O::RedBlue},
            {&c.InterpointGraphRedBlueFlag, &O::RedBlueFlag},
            {&c.InterpointGraphBlueRedFlag, &O::BlueRedFlag},
            {&c.InterpointGraphRedRedFlag, &O::RedRedFlag},
            {&c.InterpointGraphBlueBlueFlag, &O::BlueBlueFlag},
            {&c.InterpointGraphAgentDeviation, &O::AgentDeviation},
            {&c.InterpointGraphFlagDeviation, &O::FlagDeviation},
        }};
    };
    for (const auto& [field, member] : fields())
        dialog.*member = *field;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        for (const auto& [field, member] : fields())
            *field = dialog.*member;
        OpenStatisticsChart(true, [this, &doc] { return new CInterpointDistributionGraphDlg(this, doc); });
    }
    Invalidate(false);
}

}  // namespace brevimar
