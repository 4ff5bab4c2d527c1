#include "dialogs/MissionFitnessGraphOptionsDlg.h"

namespace brevimar {

namespace {

const DialogTemplate& OptionsTemplate()
{
    using D = CMissionFitnessGraphOptionsDlg;
    static const DialogTemplate table{
        D::IDD,
        "1-Sided GA Progress::Mission Fitness",
        {
            {DlgItem::CheckBox, D::IDC_GEN_BEST, "Best Fitness (Each Generation)"},
            {DlgItem::CheckBox, D::IDC_GEN_WORST, "Worst Fitness (Each Generation)"},
            {DlgItem::CheckBox, D::IDC_BEST_OVERALL, "Best Fitness (Overall)"},
            {DlgItem::CheckBox, D::IDC_AVERAGE, "Average Fitness"},
        },
    };
    return table;
}

}  // namespace

CMissionFitnessGraphOptionsDlg::CMissionFitnessGraphOptionsDlg(CBrevimarDoc&, QWidget* parent)
    : CDialog(OptionsTemplate(), parent)
{
    OnButton(IDC_GEN_BEST, [this] { Toggle(GenBest); });
    OnButton(IDC_GEN_WORST, [this] { Toggle(GenWorst); });
    OnButton(IDC_BEST_OVERALL, [this] { Toggle(BestOverall); });
    OnButton(IDC_AVERAGE, [this] { Toggle(Average); });
}

bool CMissionFitnessGraphOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowFlags();
    return true;
}

void CMissionFitnessGraphOptionsDlg::ShowFlags()
{
    CheckDlgButton(IDC_GEN_BEST, GenBest == 1);
    CheckDlgButton(IDC_GEN_WORST, GenWorst == 1);
    CheckDlgButton(IDC_BEST_OVERALL, BestOverall == 1);
    CheckDlgButton(IDC_AVERAGE, Average == 1);
}

void CMissionFitnessGraphOptionsDlg::Toggle(int& flag)
{
    flag = flag == 1 ? 0 : 1;
    ShowFlags();
}

void CMissionFitnessGraphOptionsDlg::OnOK()
{
    Proceed = 1;
    CDialog::OnOK();
}

void CMissionFitnessGraphOptionsDlg::OnCancel()
{
    Proceed = 0;
    CDialog::OnCancel();
}

}  // namespace brevimar
