// The levels of the raw attrition report: four surviving percentages, four
// casualty numbers, and whether the rate-versus-force table is written.
#pragma once

#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CSaveRawAttritionDlg : public CDialog {
public:
    static constexpr unsigned IDD = 286;
    static constexpr int IDC_PERCENT_1 = 1801;   // 1801..1804
    static constexpr int IDC_CASUALTY_1 = 1805;  // 1805..1808
    static constexpr int IDC_RATE_YES = 1021, IDC_RATE_NO = 1022;

    explicit CSaveRawAttritionDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int SaveRateData = 0;
    double CasualtyLevel[4] = {};
    double PercentLevel[4] = {};
    int RateRadioIndex = -1;

    bool OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

}  // namespace brevimar
