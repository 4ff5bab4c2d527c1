#include "dialogs/GaMatrixSearchParams.h"

#include "dialogs/ParamDlg.h"

namespace brevimar {

namespace {

constexpr int IdT1 = 1001, IdT2 = 1002;
constexpr int IdSeed = 1003, IdSymmetry = 1004, IdLinkProbability = 1005;

const DialogTemplate& SquadMatrixTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{263, "Edit::Squad Matrix Parameters", {}};
        t.Items.push_back({DlgItem::Group, IDC_STATIC, "SQUAD-MATRIX PROPERTIES", 2});
        PairRow(t.Items, "Threshold T_1  | if P < T_1, W=0", {IdT1});
        PairRow(t.Items, "Threshold T_2 | if P < T_2, W -> - W", {IdT2});
        t.Items.push_back({DlgItem::EndGroup});
        return t;
    }();
    return table;
}

const DialogTemplate& CommMatrixTemplate()
{
    static const DialogTemplate table = [] {
        DialogTemplate t{268, "Edit::Communications Matrix Parameters", {}};
        t.Items.push_back({DlgItem::CheckBox, IdSeed, "Seed w/C[ i ][ j ]=1 for all i,j"});
        t.Items.push_back({DlgItem::CheckBox, IdSymmetry, "Force Symmetry (C[ i ][ j ] = C[ j ][ i ])"});
        t.Items.push_back({DlgItem::Label, IDC_STATIC, "Link Probability (generation = 0)"});
        t.Items.push_back({DlgItem::Edit, IdLinkProbability});
        return t;
    }();
    return table;
}

class CMatrixSearchParamsDlg : public CParamDlg {
public:
    explicit CMatrixSearchParamsDlg(const DialogTemplate& table) : CParamDlg(table, nullptr) {}
};

}  // namespace

bool EditSquadMatrixSearchParams(CBrevimarDoc&, double& threshold1, double& threshold2)
{
    CMatrixSearchParamsDlg dialog(SquadMatrixTemplate());
    double t1 = threshold1, t2 = threshold2;
    dialog.Bind(IdT1, t1, 0.0, 1.0);
    dialog.Bind(IdT2, t2, 0.0, 1.0);
    if (dialog.DoModal() != IDOK)
        return false;
    threshold1 = t1, threshold2 = t2;
    return true;
}

bool EditCommMatrixSearchParams(CBrevimarDoc&, int& seedAllLinks, int& forceSymmetry, double& linkProbability)
{
    CMatrixSearchParamsDlg dialog(CommMatrixTemplate());
    int seed = seedAllLinks, symmetry = forceSymmetry;
    double p = linkProbability;
    dialog.BindCheck(IdSeed, seed);
    dialog.BindCheck(IdSymmetry, symmetry);
    dialog.Bind(IdLinkProbability, p, 0.0, 1.0);
    if (dialog.DoModal() != IDOK)
        return false;
    seedAllLinks = seed, forceSymmetry = symmetry, linkProbability = p;
    return true;
}

}  // namespace brevimar
