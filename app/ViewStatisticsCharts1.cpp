// The Data Visualization commands of the capacity-dimension, combat-entropy
// centre-of-mass and weapon shots/hits charts: each pauses the run, asks the chart's options
// and opens a modeless chart window of the document as it stands.
#include "app/BrevimarView.h"
#include "charts/CapacityGraph.h"
#include "charts/CenterOfMassGraph.h"
#include "charts/CombatEntropyGraph.h"
#include "charts/WeaponGraphs.h"
#include "core/Document.h"

#include <algorithm>

namespace brevimar {

void CBrevimarView::BuildStatisticsChartMap1()
{
    Map.On(ID_CAPACITY_DIMENSION_GRAPH, [this] { OnCapacityDimensionGraph(); });
    Map.On(ID_COMBAT_ENTROPY_GRAPH, [this] { OnCombatEntropyGraph(); });
    Map.On(ID_CENTER_OF_MASS_GRAPH, [this] { OnCenterOfMassGraph(); });
    Map.On(ID_WEAPON_SHOTS_HITS_GRAPH, [this] { OnGraphWeaponShotsHits(); });
    // Shots and hits are counted only for agent weapons in the interactive run.
    Map.OnUpdate(ID_WEAPON_SHOTS_HITS_GRAPH, [this](CCmdUI& ui) {
        const CBrevimarDoc& doc = *GetDocument();
        if (doc.RunMode != InteractiveMode || (doc.RedForce.WeaponsOn != 1 && doc.BlueForce.WeaponsOn != 1))
            ui.Enable(false);
    });

    // Open only while the chart's statistic is collected, in the interactive
    // run or a multiple time-series run (which does not collect the capacity
    // dimension); combat entropy always.
    struct Gate {
        unsigned Id;
        int CStatisticsParameters::*Switch;
        bool InBatches;
    };
    const Gate gates[] = {
        {ID_CAPACITY_DIMENSION_GRAPH, &CStatisticsParameters::CapacityDimensionOn, false},
        {ID_CENTER_OF_MASS_GRAPH, &CStatisticsParameters::CenterOfMassOn, true},
    };
    for (const Gate& g : gates)
        Map.OnUpdate(g.Id, [this, g](CCmdUI& ui) {
            const CBrevimarDoc& doc = *GetDocument();
            ui.Enable(doc.Statistics.DataCollectionOn == 1 && doc.Statistics.*g.Switch == 1 &&
                      (doc.RunMode == InteractiveMode || (g.InBatches && doc.RunMode == MultipleTimeSeriesMode)));
        });
}

void CBrevimarView::OnCapacityDimensionGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& charts = doc.Charts;
    CCapacityDimensionGraphOptionsDlg dialog(doc, this);
    dialog.ShowRed = charts.CapacityDimGraphRed;
    dialog.ShowBlue = charts.CapacityDimGraphBlue;
    dialog.ShowTotal = charts.CapacityDimGraphTotal;
    dialog.ShowDeviations = charts.CapacityDimGraphDeviations;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        charts.CapacityDimGraphRed = dialog.ShowRed;
        charts.CapacityDimGraphBlue = dialog.ShowBlue;
        charts.CapacityDimGraphTotal = dialog.ShowTotal;
        charts.CapacityDimGraphDeviations = dialog.ShowDeviations;
        LastChartWindow = new CCapacityDimensionGraphDlg(this, doc);
    }
    Invalidate(false);
}

void CBrevimarView::OnCombatEntropyGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CCombatEntropyGraphOptionsDlg dialog(doc, this);
    dialog.GraphKind = doc.Charts.CombatEntropyGraphKind;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        doc.Charts.CombatEntropyGraphKind = dialog.GraphKind;
        LastChartWindow = new CCombatEntropyGraphDlg(this, doc);
    }
    Invalidate(false);
}

void CBrevimarView::OnCenterOfMassGraph()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& charts = doc.Charts;
    CCenterOfMassGraphOptionsDlg dialog(doc, this);
    dialog.ShowRed = charts.CenterOfMassGraphRed;
    dialog.ShowBlue = charts.CenterOfMassGraphBlue;
    dialog.ShowTotal = charts.CenterOfMassGraphTotal;
    dialog.PlotKind = charts.CenterOfMassGraphKind;
    if (dialog.DoModal() == IDOK && dialog.Accepted == 1) {
        charts.CenterOfMassGraphRed = dialog.ShowRed;
        charts.CenterOfMassGraphBlue = dialog.ShowBlue;
        charts.CenterOfMassGraphTotal = dialog.ShowTotal;
        charts.CenterOfMassGraphKind = dialog.PlotKind;
        OpenStatisticsChart(true, [this, &doc] { return new CCenterOfMassGraphDlg(this, doc); });
    }
    Invalidate(false);
}

void CBrevimarView::OnGraphWeaponShotsHits()
{
    CBrevimarDoc& doc = *Document;
    doc.Pause();
    CChartSelections& c = doc.Charts;
    CWeaponShotsHitsGraphTypeDlg type(doc, this);
    if (type.DoModal() == IDOK) {
        c.WeaponGraphType = type.WeaponGraphType;
        if (type.Accepted == 1) {
            CWeaponShotsHitsGraphOptionsDlg options(doc, this);
            if (options.DoModal() == IDOK && options.Accepted == 1) {
                c.RedSquadChoice = options.RedSquadChoice;
                c.BlueSquadChoice = options.BlueSquadChoice;
                std::copy(&options.WeaponPlots[0][0][0], &options.WeaponPlots[0][0][0] + 36, &c.WeaponPlots[0][0][0]);
                c.ShowRed = options.ShowRed;
                c.ShowBlue = options.ShowBlue;
                c.SumMode = options.SumMode;
                std::copy(&options.AllWeaponPlots[0][0], &options.AllWeaponPlots[0][0] + 6, &c.AllWeaponPlots[0][0]);
                c.RatioPlotChosen = options.RatioPlotChosen;
                if (c.WeaponGraphType == 1)
                    LastChartWindow = new CWeaponShotsHitsSnapshotGraphDlg(this, doc);
                else
                    LastChartWindow = new CWeaponShotsHitsTotalGraphDlg(this, doc);
            }
        }
    }
    Invalidate(false);
}

}  // namespace brevimar
