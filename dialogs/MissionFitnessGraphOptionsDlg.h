// "1-Sided GA Progress::Mission Fitness": which series the genetic
// algorithm's progress chart draws.
#pragma once

#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CMissionFitnessGraphOptionsDlg : public CDialog {
public:
    static constexpr unsigned IDD = 226;
    static constexpr int IDC_GEN_BEST = 1130;
    static constexpr int IDC_GEN_WORST = 105;
    static constexpr int IDC_BEST_OVERALL = 1131;
    static constexpr int IDC_AVERAGE = 1132;

    CMissionFitnessGraphOptionsDlg(CBrevimarDoc& doc, QWidget* parent = nullptr);

    // Set by the caller before DoModal and read after it.
    int GenBest = 0;
    int GenWorst = 0;
    int BestOverall = 0;
    int Average = 0;
    int Proceed = 1;  // 1 after OK, 0 after Cancel

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ShowFlags();
    void Toggle(int& flag);
};

}  // namespace brevimar
