#include "dialogs/PauseStepsDlg.h"

#include "core/Document.h"

namespace brevimar {

namespace {

const DialogTemplate& PauseStepsTemplate()
{
    static const DialogTemplate table{
        CPauseStepsDlg::IDD,
        "Edit Number of Time Steps Before Pausing",
        {
            {DlgItem::Label, IDC_STATIC, "Number of Time Steps"},
            {DlgItem::Edit, CPauseStepsDlg::IDC_STEPS},
        },
    };
    return table;
}

}  // namespace

CPauseStepsDlg::CPauseStepsDlg(const CBrevimarDoc& doc, QWidget* parent)
    : CDialog(PauseStepsTemplate(), parent), Steps(doc.StepsPerBurst)
{
}

void CPauseStepsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_STEPS, Steps);
    DDV_MinMaxInt(dx, Steps, MinSteps, MaxSteps);
}

}  // namespace brevimar
