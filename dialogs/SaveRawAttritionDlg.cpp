#include "dialogs/SaveRawAttritionDlg.h"

#include <string>

namespace brevimar {

namespace {

using D = CSaveRawAttritionDlg;

const DialogTemplate& SaveRawAttritionTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{D::IDD, "Data Collect::Save Raw Attrition", {}};
        t.Items.push_back({DlgItem::Label, IDC_STATIC,
                           " Raw attrition data includes keeping track of the times that it takes to either reach a "
                           "specified attrition  level (ex: 50% attrition) or before a fixed number of agents have "
                           "been either injured or killed."});
        t.Items.push_back({DlgItem::Label, IDC_STATIC,
                           "Please specify four different values each for % attrition and number injured or killed:"});
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "Specify Percent (%) Attrition (Injured + Killed)"});
        for (int k = 1; k <= 4; ++k) {
            t.Items.push_back({DlgItem::Label, IDC_STATIC, "%[" + std::to_string(k) + "]="});
            t.Items.push_back({DlgItem::Edit, D::IDC_PERCENT_1 + k - 1});
            t.Items.push_back({DlgItem::Label, IDC_STATIC, "/100"});
        }
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "Specify NUMBER (N) Injured + Killed"});
        for (int k = 1; k <= 4; ++k) {
            t.Items.push_back({DlgItem::Label, IDC_STATIC, "N[" + std::to_string(k) + "]="});
            t.Items.push_back({DlgItem::Edit, D::IDC_CASUALTY_1 + k - 1});
        }
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "Save Raw Attrition Rate Data?"});
        t.Items.push_back({DlgItem::Radio, D::IDC_RATE_YES, "yes"});
        t.Items.push_back({DlgItem::Radio, D::IDC_RATE_NO, "no"});
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

}  // namespace

CSaveRawAttritionDlg::CSaveRawAttritionDlg(const CBrevimarDoc&, QWidget* parent)
    : CDialog(SaveRawAttritionTemplate(), parent)
{
    // The answer only moves the mark: levels typed before it stay as typed.
    OnButton(IDC_RATE_YES, [this] {
        SaveRateData = 1;
        CheckRadioButton(IDC_RATE_YES, IDC_RATE_NO, IDC_RATE_YES);
    });
    OnButton(IDC_RATE_NO, [this] {
        SaveRateData = 0;
        CheckRadioButton(IDC_RATE_YES, IDC_RATE_NO, IDC_RATE_NO);
    });
}

void CSaveRawAttritionDlg::DoDataExchange(CDataExchange& dx)
{
    for (int k = 0; k < 4; ++k)
        DDX_Text(dx, IDC_CASUALTY_1 + k, CasualtyLevel[k]);
    for (int k = 0; k < 4; ++k)
        DDX_Text(dx, IDC_PERCENT_1 + k, PercentLevel[k]);
    DDX_Radio(dx, IDC_RATE_YES, RateRadioIndex);
}

bool CSaveRawAttritionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_RATE_YES, IDC_RATE_NO, SaveRateData != 0 ? IDC_RATE_YES : IDC_RATE_NO);
    return true;
}

}  // namespace brevimar
