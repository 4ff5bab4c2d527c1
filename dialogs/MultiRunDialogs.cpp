#include "dialogs/MultiRunDialogs.h"

#include "core/Document.h"

namespace brevimar {

namespace {

using P = CMultiRunParamsDlg;
using R = CMultiRunRawDataDlg;
using W = CMultiRunWeaponsRawDataDlg;

const DialogTemplate& ParamsTemplate()
{
    static const DialogTemplate table{
        P::IDD,
        "Edit::Multiple Time-Series Run Parameters",
        {
            {DlgItem::Label, IDC_STATIC, "Number of Samples"},
            {DlgItem::Edit, P::IDC_SAMPLES},
            {DlgItem::Label, IDC_STATIC, "Run-Time/Sample"},
            {DlgItem::Edit, P::IDC_RUN_TIME},
        },
    };
    return table;
}

const DialogTemplate& CompleteTemplate()
{
    static const DialogTemplate table{
        CMultiRunCompleteDlg::IDD,
        "Run Mode::Multiple Time-Series",
        {
            {DlgItem::Label, IDC_STATIC, "***** Run Complete *****"},
        },
    };
    return table;
}

const DialogTemplate& RawDataTemplate()
{
    static const DialogTemplate table{
        R::IDD,
        "Multiple Time-Series Raw Data",
        {
            {DlgItem::Group, IDC_STATIC, "Write raw ATTRITION data to file?"},
            {DlgItem::Radio, R::IDC_ATTRITION_YES, "yes"},
            {DlgItem::Radio, R::IDC_ATTRITION_NO, "no"},
            {DlgItem::Group, IDC_STATIC, "Write raw SAMPLE data to file?"},
            {DlgItem::Radio, R::IDC_SAMPLE_YES, "yes"},
            {DlgItem::Radio, R::IDC_SAMPLE_NO, "no"},
            {DlgItem::Group, IDC_STATIC, "Write raw GRAPH data to file?"},
            {DlgItem::Radio, R::IDC_GRAPH_YES, "yes"},
            {DlgItem::Radio, R::IDC_GRAPH_NO, "no"},
            {DlgItem::EndGroup},
            {DlgItem::Button, IDOK, "OK"},
        },
    };
    return table;
}

const DialogTemplate& WeaponsRawDataTemplate()
{
    static const DialogTemplate table{
        W::IDD,
        "Multiple Time-Series Weapons Raw Data",
        {
            {DlgItem::Group, IDC_STATIC, "Is raw sample data to be stored in file?"},
            {DlgItem::Radio, W::IDC_YES, "yes"},
            {DlgItem::Radio, W::IDC_NO, "no"},
            {DlgItem::EndGroup},
            {DlgItem::Button, IDOK, "OK"},
        },
    };
    return table;
}

void HideCancel(CDialog& dlg)
{
    if (QWidget* cancel = dlg.GetDlgItem(IDCANCEL))
        cancel->hide();
}

}  // namespace

CMultiRunParamsDlg::CMultiRunParamsDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CDialog(ParamsTemplate(), parent), Samples(doc.Series.MultiRunSampleCount),
      RunTime(doc.Series.MultiRunStepCount)
{
}

void CMultiRunParamsDlg::DoDataExchange(CDataExchange& dx)
{
    // A batch runs what OK hands back: a count it opened with outside the
    // range is refused as one typed would be.
    const auto count = [&dx](int id, int& value, int maxValue) {
        DDX_Text(dx, id, value);
        dx.LastUntouched = dx.LastUntouched && value >= 1 && value <= maxValue;
        DDV_MinMaxInt(dx, value, 1, maxValue);
    };
    count(IDC_SAMPLES, Samples, MaxSamples);
    count(IDC_RUN_TIME, RunTime, MaxRunTime);
}

CMultiRunCompleteDlg::CMultiRunCompleteDlg(const CBrevimarDoc&, QWidget* parent)
    : CDialog(CompleteTemplate(), parent)
{
    HideCancel(*this);
}

CMultiRunRawDataDlg::CMultiRunRawDataDlg(const CBrevimarDoc&, QWidget* parent) : CDialog(RawDataTemplate(), parent)
{
    HideCancel(*this);
    const struct {
        int Id;
        int* Flag;
        int Value;
    } buttons[] = {
        {IDC_SAMPLE_YES, &WriteRawSample, 1},       {IDC_SAMPLE_NO, &WriteRawSample, 0},
        {IDC_GRAPH_YES, &WriteRawGraph, 1},         {IDC_GRAPH_NO, &WriteRawGraph, 0},
        {IDC_ATTRITION_YES, &WriteRawAttrition, 1}, {IDC_ATTRITION_NO, &WriteRawAttrition, 0},
    };
    for (const auto& b : buttons)
        OnButton(b.Id, [this, flag = b.Flag, value = b.Value] {
            *flag = value;
            OnInitDialog();
        });
}

bool CMultiRunRawDataDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_SAMPLE_YES, IDC_SAMPLE_NO, WriteRawSample == 1 ? IDC_SAMPLE_YES : IDC_SAMPLE_NO);
    CheckRadioButton(IDC_GRAPH_YES, IDC_GRAPH_NO, WriteRawGraph == 1 ? IDC_GRAPH_YES : IDC_GRAPH_NO);
    CheckRadioButton(IDC_ATTRITION_YES, IDC_ATTRITION_NO,
                     WriteRawAttrition == 1 ? IDC_ATTRITION_YES : IDC_ATTRITION_NO);
    return true;
}

CMultiRunWeaponsRawDataDlg::CMultiRunWeaponsRawDataDlg(const CBrevimarDoc&, QWidget* parent)
    : CDialog(WeaponsRawDataTemplate(), parent)
{
    HideCancel(*this);
    OnButton(IDC_YES, [this] {
        SampleWeaponsRawData = 1;
        OnInitDialog();
    });
    OnButton(IDC_NO, [this] {
        SampleWeaponsRawData = 0;
        OnInitDialog();
    });
}

bool CMultiRunWeaponsRawDataDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_YES, IDC_NO, SampleWeaponsRawData == 1 ? IDC_YES : IDC_NO);
    return true;
}

}  // namespace brevimar
