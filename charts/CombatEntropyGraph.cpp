#include "charts/CombatEntropyGraph.h"

#include <algorithm>
#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

using O = CCombatEntropyGraphOptionsDlg;

const DialogTemplate& OptionsTemplate()
{
    static const DialogTemplate table{
        O::IDD,
        "2D Graph::Combat Entropy",
        {
            {DlgItem::Group, IDC_STATIC, "Select Graph"},
            {DlgItem::Radio, O::IDC_XY, "x-y"},
            {DlgItem::Radio, O::IDC_XY_TIME, "x-y + time"},
            {DlgItem::EndGroup},
        },
    };
    return table;
}

}  // namespace

CCombatEntropyGraphOptionsDlg::CCombatEntropyGraphOptionsDlg(const CBrevimarDoc&, QWidget* parent)
    : CChartOptionsDlg(OptionsTemplate(), parent)
{
    for (int kind : {1, 2})
        OnButton(kind == 1 ? IDC_XY : IDC_XY_TIME, [this, kind] {
            GraphKind = kind;
            OnInitDialog();
        });
}

bool CCombatEntropyGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_XY, IDC_XY_TIME, GraphKind == 1 ? IDC_XY : IDC_XY_TIME);
    return true;
}

CCombatEntropyGraphDlg::CCombatEntropyGraphDlg(QWidget* parent, CBrevimarDoc& doc)
    : CChartWindow(IDD, Caption, parent)
{
    Create();
    CreateChart();
    ResetChartTemplate();

    const bool multiRun = doc.RunMode == MultipleTimeSeriesMode;
    const CStatisticsSeries& series = doc.Series;
    // The averages hold steps 0..201 and one run's series 0..501: a longer
    // run is drawn as far as its series go.
    // A batch of T steps averages steps 0..T - 1: the path ends there.
    const int n = multiRun ? std::min(doc.MultiRunShape().Steps - 1, MultiRunStepSlots - 1)
                           : std::min(doc.RunHeader.CurrentStep - 1, SeriesLength - 1);
    // The path leaves out the steps whose counts were not taken (all of a
    // batch that has not ended).
    auto measured = [&](int t) { return doc.StepMeasured(t, AttritionStatistic); };
    const double* red = multiRun ? doc.MultiRunCharts.MultiRunCombatEntropyMean[0] : series.RedCombatEntropy;
    const double* blue = multiRun ? doc.MultiRunCharts.MultiRunCombatEntropyMean[1] : series.BlueCombatEntropy;

    const std::string redTitle = Averaged(multiRun, "Red Combat Entropy");
    const std::string blueTitle = Averaged(multiRun, "Blue Combat Entropy");

    // RED's entropy across and BLUE's up, or BLUE's in depth with time up.
    const bool cage = doc.Charts.CombatEntropyGraphKind != 1;
    if (cage) {
        Graph.GraphType = 21;
        Graph.GraphStyle = 2;
        Graph.Rotation = 45;
        Graph.Elevation = 25;
        Apply3DLook(true);
        Graph.LeftTitle = "Time";
        Graph.RightTitle = blueTitle;
    } else {
        ApplyXYPlotLook();
        Graph.LeftTitle = blueTitle;
    }
    Graph.BottomTitle = redTitle;
    Graph.GraphTitle = SampledTitle(multiRun, doc.MultiRunShape().Samples, "Carvalho-Rodrigues Combat Entropy");
    if (n >= 1) {
        for (int t = 1; t <= n; ++t)
            if (measured(t))
                PlacePathPoint(cage, 0, t, red[t], blue[t], t);
        if (measured(1))
            PlacePathPoint(cage, 0, 0, red[1], blue[1], 1);
    }
    Graph.NumSets = 1;
    Graph.XAxisMin = 0.0;
    Graph.XAxisMax = 1.0;
    if (cage) {
        Graph.ZAxisMin = 0.0;
        Graph.ZAxisMax = 1.0;
    }
    Graph.YAxisMin[0] = 0.0;
    Graph.YAxisMax[0] = cage ? static_cast<double>(n) : 1.0;
    ApplyFiveTicks(cage);
    Graph.NumPoints = n;
    DrawChart();
}

}  // namespace brevimar
