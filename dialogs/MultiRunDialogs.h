// The dialogs of a multiple time-series run: its parameters, the completion
// notice, and the two raw-data questions.
#pragma once

#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CMultiRunParamsDlg : public CDialog {
public:
    static constexpr unsigned IDD = 239;
    static constexpr int IDC_SAMPLES = 1489, IDC_RUN_TIME = 1490;
    // What the per-sample arrays hold.
    static constexpr int MaxSamples = 350, MaxRunTime = 201;

    CMultiRunParamsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int Samples = 10;
    int RunTime = 100;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

class CMultiRunCompleteDlg : public CDialog {
public:
    static constexpr unsigned IDD = 234;
    CMultiRunCompleteDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);
};

class CMultiRunRawDataDlg : public CDialog {
public:
    static constexpr unsigned IDD = 258;
    static constexpr int IDC_SAMPLE_YES = 1021, IDC_SAMPLE_NO = 1022;
    static constexpr int IDC_GRAPH_YES = 1023, IDC_GRAPH_NO = 1024;
    static constexpr int IDC_ATTRITION_YES = 1025, IDC_ATTRITION_NO = 1027;

    CMultiRunRawDataDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int WriteRawSample = 0;
    int WriteRawGraph = 0;
    int WriteRawAttrition = 0;

    bool OnInitDialog() override;
};

class CMultiRunWeaponsRawDataDlg : public CDialog {
public:
    static constexpr unsigned IDD = 282;
    static constexpr int IDC_YES = 1021, IDC_NO = 1022;

    CMultiRunWeaponsRawDataDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int SampleWeaponsRawData = 0;

    bool OnInitDialog() override;
};

}  // namespace brevimar
