#include "dialogs/GaMatrixSearchParams.h"

#include "dialogs/SmallEditors.h"

namespace brevimar {

bool EditSquadMatrixSearchParams(CBrevimarDoc&, double& threshold1, double& threshold2, QWidget* parent)
{
    CSquadMatrixParamsDlg dialog(parent);
    dialog.T1 = threshold1;
    dialog.T2 = threshold2;
    if (dialog.DoModal() != IDOK)
        return false;
    threshold1 = dialog.T1;
    threshold2 = dialog.T2;
    return true;
}

bool EditCommMatrixSearchParams(CBrevimarDoc&, int& seedAllLinks, int& forceSymmetry, double& linkProbability,
                                QWidget* parent)
{
    CCommMatrixParamsDlg dialog(parent);
    dialog.SeedAll = seedAllLinks;
    dialog.ForceSymmetry = forceSymmetry;
    dialog.LinkProb = linkProbability;
    if (dialog.DoModal() != IDOK)
        return false;
    seedAllLinks = dialog.SeedAll;
    forceSymmetry = dialog.ForceSymmetry;
    linkProbability = dialog.LinkProb;
    return true;
}

}  // namespace brevimar
