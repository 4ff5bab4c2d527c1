// The number of time steps of one step-execute burst.
#pragma once

#include "platform/Dialog.h"

namespace brevimar {

class CBrevimarDoc;

class CPauseStepsDlg : public CDialog {
public:
    static constexpr unsigned IDD = 215;
    static constexpr int IDC_STEPS = 1000;
    static constexpr int MinSteps = 1;
    static constexpr int MaxSteps = 499;

    explicit CPauseStepsDlg(const CBrevimarDoc& doc, QWidget* parent = nullptr);

    int Steps = 1;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

}  // namespace brevimar
