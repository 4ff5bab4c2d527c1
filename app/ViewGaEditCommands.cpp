// Edit > "1-Sided Genetic Algorithm Parameters": each command pauses the run,
// runs its dialog over the document's GA fields and, after OK, stores them and
// starts the search again from generation 0. The search-space run modes run
// the same commands in turn through CGaEditCommands.
#include <QObject>

#include "app/BrevimarView.h"
#include "dialogs/GaEditDialogs.h"
#include "dialogs/GaMatrixSearchParams.h"
#include "experiments/GaEngine.h"

namespace brevimar {

namespace {

// The view's editing commands, for the search-space commands of the run
// mode; a child of the view, so it goes with it.
class CViewGaEdits final : public QObject, public CGaEditCommands {
public:
    explicit CViewGaEdits(CBrevimarView* view) : QObject(view), View(view) {}
    void EditGaRunTimeParams() override { View->OnEditGaRunTimeParams(); }
    void EditGaMissionFitness() override { View->OnEditGaMissionFitness(); }
    void EditGaGenomeStructure() override { View->OnEditGaGenomeStructure(); }
    void EditGaGeneRanges() override { View->OnEditGaGeneRanges(); }
    void EditGaSquadCompositionSearch() override { View->OnEditGaSquadCompositionSearch(); }
    void EditGaSquadMatrixSearch() override { View->OnEditGaSquadMatrixSearch(); }
    void EditGaCommMatrixSearch() override { View->OnEditGaCommMatrixSearch(); }
    // The dialogs of a search-space command come in a row; each caption says
    // which one of how many it is.
    void BeginStep(int step, int steps) override
    {
        SetDialogStepNote(*View, steps > 0 ? "(" + std::to_string(step) + " of " + std::to_string(steps) + ")" : "");
    }

private:
    CBrevimarView* View;
};

}  // namespace

void CBrevimarView::BuildGaEditMessageMap()
{
    GaEditCommands = new CViewGaEdits(this);
    const std::pair<unsigned, void (CBrevimarView::*)()> commands[] = {
        {ID_EDIT_GA_SEARCH_SPACE, &CBrevimarView::OnEditGaSearchSpace},
        {ID_EDIT_GA_RUN_TIME, &CBrevimarView::OnEditGaRunTimeParams},
        {ID_EDIT_GA_GENOME, &CBrevimarView::OnEditGaGenomeStructure},
        {ID_EDIT_GA_GENE_RANGES, &CBrevimarView::OnEditGaGeneRanges},
        {ID_EDIT_GA_MISSION, &CBrevimarView::OnEditGaMissionFitness},
        {ID_EDIT_GA_COMPOSITION_SEARCH, &CBrevimarView::OnEditGaSquadCompositionSearch},
        {ID_EDIT_GA_SQUAD_MATRIX_SEARCH, &CBrevimarView::OnEditGaSquadMatrixSearch},
        {ID_EDIT_GA_COMM_MATRIX_SEARCH, &CBrevimarView::OnEditGaCommMatrixSearch},
    };
    for (const auto& [id, handler] : commands) {
        Map.On(id, [this, handler] { (this->*handler)(); });
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateGaRunMode(ui); });
    }
}

void CBrevimarView::OnUpdateGaRunMode(CCmdUI& ui)
{
    ui.Enable(GetDocument()->RunMode == GeneticAlgorithmMode);
}

void CBrevimarView::FinishGaEdit()
{
    UpdateGaStatusLine();
    Invalidate(false);
}

void CBrevimarView::OnEditGaGenomeStructure()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    CAgentChromosomeDlg dialog(doc, this);
    dialog.Values.MultiSquad = doc.Ga.GaMultiSquad;
    dialog.Values.SquadCount = doc.Ga.GaSquadCount;
    dialog.Values.Symmetrize = doc.Ga.GaSymmetrize;
    for (int g = 1; g <= GaPersonalityGenes; ++g)
        dialog.Values.GeneOn[g] = doc.Ga.GeneOn[g];
    if (dialog.DoModal() == IDOK)
        ApplyGenomeStructure(doc, dialog.Values);
    FinishGaEdit();
}

void CBrevimarView::OnEditGaGeneRanges()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    CGeneMinMaxDlg dialog(doc, this);
    if (dialog.DoModal() == IDOK)
        ApplyGeneRanges(doc, dialog.Values);
    FinishGaEdit();
}

void CBrevimarView::OnEditGaMissionFitness()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    CMissionObjectiveDlg dialog(doc, this);
    if (dialog.DoModal() == IDOK)
        ApplyMissionObjective(doc, dialog.Used, dialog.Weight);
    FinishGaEdit();
}

void CBrevimarView::OnEditGaSearchSpace()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    CGaSearchSpaceDlg dialog(doc, this);
    dialog.Mode = doc.Ga.GaSearchMode;
    if (dialog.DoModal() == IDOK)
        ApplySearchSpace(doc, dialog.Mode);
    FinishGaEdit();
}

void CBrevimarView::OnEditGaRunTimeParams()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    CGaRunTimeParamsDlg dialog(doc, this);
    if (dialog.DoModal() == IDOK)
        ApplyRunTimeParams(doc, dialog.Values);
    FinishGaEdit();
}

void CBrevimarView::OnEditGaSquadCompositionSearch()
{
    CBrevimarDoc& doc = *GetDocument();
    BeginStructuralSearch(doc, GaCompositionMode);
    CSquadCompositionParamsDlg dialog(doc, this);
    const CGaData& ga = doc.Ga;
    dialog.Values = {ga.GaMaxSquadCount, ga.GaMaxSquadSize,     ga.GaMaxMutationSize, ga.GaTotalForceSize,
                     ga.GaSearchSquadMatrix, ga.GaThreshold1, ga.GaThreshold2};
    if (dialog.DoModal() == IDOK)
        ApplySquadCompositionSearch(doc, dialog.Values);
    FinishGaEdit();
}

void CBrevimarView::OnEditGaSquadMatrixSearch()
{
    CBrevimarDoc& doc = *GetDocument();
    BeginStructuralSearch(doc, GaWeightMatrixMode);
    double t1 = doc.Ga.GaThreshold1, t2 = doc.Ga.GaThreshold2;
    if (EditSquadMatrixSearchParams(doc, t1, t2, this))
        ApplySquadMatrixSearch(doc, t1, t2);
    FinishGaEdit();
}

void CBrevimarView::OnEditGaCommMatrixSearch()
{
    CBrevimarDoc& doc = *GetDocument();
    BeginStructuralSearch(doc, GaCommMatrixMode);
    int seed = doc.Ga.GaSeedAllLinks, symmetry = doc.Ga.GaForceSymmetry;
    double p = doc.Ga.GaLinkProbability;
    if (EditCommMatrixSearchParams(doc, seed, symmetry, p, this))
        ApplyCommMatrixSearch(doc, seed, symmetry, p);
    FinishGaEdit();
}

}  // namespace brevimar
