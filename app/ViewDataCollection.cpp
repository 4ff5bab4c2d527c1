// Data Collection menu: which per-step statistics the run collects. The
// switches neither pause nor redraw; they take effect from the next step.
#include "app/BrevimarView.h"
#include "collect/StatisticsKernels.h"
#include "core/Document.h"

namespace brevimar {

void CBrevimarView::BuildDataCollectionMap()
{
    // Items open only while collecting in the interactive run.
    auto collecting = [this] {
        const CBrevimarDoc& doc = *GetDocument();
        return doc.Statistics.DataCollectionOn == 1 && doc.RunMode == InteractiveMode;
    };
    auto flip = [](int& on) { on = on == 1 ? 0 : 1; };

    Map.On(ID_DATA_SET_ALL, [this] { GetDocument()->SetAllStatistics(); });
    Map.OnUpdate(ID_DATA_SET_ALL, [this, collecting](CCmdUI& ui) {
        ui.Enable(collecting());
        ui.SetCheck(GetDocument()->Statistics.AllStatisticsOn);
    });

    // The force sizes are always collected: the item only shows it.
    Map.On(ID_DATA_FORCE_SIZES, [] {});
    Map.OnUpdate(ID_DATA_FORCE_SIZES,
                 [this](CCmdUI& ui) { ui.Enable(GetDocument()->RunMode == InteractiveMode); });

    struct Toggle {
        unsigned Id;
        int CStatisticsParameters::*Switch;
    };
    const Toggle toggles[] = {
        {ID_DATA_CENTER_OF_MASS, &CStatisticsParameters::CenterOfMassOn},
        {ID_DATA_GOAL_COUNT, &CStatisticsParameters::GoalStatsOn},
        {ID_DATA_INTERPOINT, &CStatisticsParameters::InterpointOn},
        {ID_DATA_NEIGHBORS, &CStatisticsParameters::NeighborStatsOn},
        {ID_DATA_SPATIAL_ENTROPY, &CStatisticsParameters::SpatialEntropyOn},
    };
    for (const Toggle& t : toggles) {
        Map.On(t.Id, [this, flip, t] { flip(GetDocument()->Statistics.*t.Switch); });
        Map.OnUpdate(t.Id, [this, collecting, t](CCmdUI& ui) {
            ui.Enable(collecting());
            ui.SetCheck(GetDocument()->Statistics.*t.Switch);
        });
    }
    // One item for both neighbourhoods; each switch flips on its own, and the
    // mark follows D=2.
    Map.On(ID_DATA_CLUSTERS, [this, flip] {
        CStatisticsParameters& on = GetDocument()->Statistics;
        flip(on.ClusterD1On);
        flip(on.ClusterD2On);
    });
    Map.OnUpdate(ID_DATA_CLUSTERS, [this, collecting](CCmdUI& ui) {
        ui.Enable(collecting());
        ui.SetCheck(GetDocument()->Statistics.ClusterD2On);
    });

    Map.On(ID_DATA_CAPACITY_SNAPSHOT, [this] { OnCapacityDimensionSnapshot(); });
    Map.OnUpdate(ID_DATA_CAPACITY_SNAPSHOT, [this](CCmdUI& ui) { OnUpdateInteractiveFileCommand(ui); });
}

void CBrevimarView::OnCapacityDimensionSnapshot()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    // A snapshot of the live battle: the stored runs have no live positions.
    if (doc.RunMode == InteractiveMode)
        WriteCapacityDimensionData(doc);
}

}  // namespace brevimar
