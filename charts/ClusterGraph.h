// The cluster chart: the distribution of cluster sizes at the current step,
// in bins of a chosen width, or the average cluster size over time; and its
// options.
#pragma once

#include "charts/StepSeriesChart.h"
#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CClusterDistributionGraphOptionsDlg : public CChartOptionsDlg {
public:
    static constexpr unsigned IDD = 170;
    static constexpr int IDC_D1 = 1001;
    static constexpr int IDC_D2 = 1002;
    static constexpr int IDC_DISTRIBUTION = 1003;
    static constexpr int IDC_AVERAGE = 1004;
    static constexpr int IDC_BIN_WIDTH = 1005;
    static constexpr int IDC_MAX_SIZE = 1006;
    static constexpr int IDC_DEVIATION = 1007;

    explicit CClusterDistributionGraphOptionsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    int DistanceCriterion = 2;
    int ClusterForm = 2;
    int ShowDeviations = 0;
    int BinWidth = 1;
    int MaxClusterSize = 100;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CClusterDistributionGraphDlg : public CStepSeriesChart {
public:
    static constexpr unsigned IDD = 171;
    static constexpr const char* Caption = "2D Graph::Cluster Distribution";

    CClusterDistributionGraphDlg(QWidget* parent, CBrevimarDoc& doc);

private:
    void DrawDistribution(const CBrevimarDoc& doc, int d);
    void DrawAverage(CBrevimarDoc& doc, int d);
};

}  // namespace brevimar
