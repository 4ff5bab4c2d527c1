// The genetic algorithm's displays: the BEST and CURRENT chromosome of the
// search space in use (Display > Data), saved on request; the search
// summary; and the mission-fitness progress chart.
#include "app/BrevimarView.h"
#include "charts/MissionFitnessGraph.h"
#include "dialogs/ChromosomeDisplays.h"
#include "dialogs/MissionFitnessGraphOptionsDlg.h"
#include "experiments/GaEngine.h"
#include "files/MatrixFiles.h"
#include "files/ScenarioWriter.h"

namespace brevimar {

namespace {

// The genetic algorithm's matrices, for the matrix writers.
GaMatrixSource GaMatrices(const CBrevimarDoc& doc)
{
    const CGaDecoded& d = doc.Ga.GaBestDecoded;
    return {doc.Ga.GaSearchMode, &d.CommMatrix, &d.SquadWeightMatrix};
}

// RED's live matrix into the genetic algorithm's: rows and columns 1..S.
template <typename T>
void CopyRedMatrix(const T (&from)[SquadSlots][SquadSlots], T (&to)[SquadSlots][SquadSlots], int squads)
{
    const int n = std::clamp(squads, 0, MaxSquads);
    for (int r = 1; r < SquadSlots; ++r)
        for (int c = 1; c < SquadSlots; ++c)
            to[r][c] = r <= n && c <= n ? from[r][c] : T{};
}

}  // namespace

void CBrevimarView::BuildGaDisplayMessageMap()
{
    Map.On(ID_DISPLAY_GA_BEST, [this] { OnDisplayGaBestChromosome(); });
    Map.On(ID_DISPLAY_GA_CURRENT, [this] { OnDisplayGaCurrentChromosome(); });
    Map.On(ID_DISPLAY_GA_SUMMARY, [this] { OnDisplayGaSummary(); });
    Map.On(ID_GA_FITNESS_GRAPH, [this] { OnGaFitnessGraph(); });
    for (unsigned id : {ID_DISPLAY_GA_BEST, ID_DISPLAY_GA_CURRENT, ID_DISPLAY_GA_SUMMARY})
        Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateGaRunMode(ui); });
    // The progress chart needs a few finished generations to show a trend;
    // once there it stays open, also after the search has been left.
    Map.OnUpdate(ID_GA_FITNESS_GRAPH, [this](CCmdUI& ui) {
        if (GetDocument()->Experiment.GaGeneration < 4)
            ui.Enable(false);
    });
}

void CBrevimarView::OnDisplayGaBestChromosome()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    switch (doc.Ga.GaSearchMode) {
    case GaPersonalityMode:
    case GaMultiSquadMode: {
        CShowBestChromosomeDlg dialog(doc, this);
        if (dialog.DoModal() != IDOK)
            break;
        doc.Ga.GaBestShown = 1;
        if (dialog.SaveRequested == 1)
            WriteChromosomeInputDataFile(doc);
        break;
    }
    case GaCompositionMode: {
        CShowBestSquadCompositionDlg dialog(doc, this);
        if (dialog.DoModal() != IDOK)
            break;
        if (dialog.SaveRequested == 1)
            WriteChromosomeInputDataFile(doc);
        if (dialog.SaveMatrixRequested == 1)
            SaveSquadMatrixFile(doc, GaMatrices(doc));
        break;
    }
    case GaCommMatrixMode: {
        CGeneticAlgorithm(doc).DecodeBestChromosome();
        CShowBestCommMatrixDlg dialog(doc, this);
        dialog.SaveRequested = 0;
        const int n = std::clamp(doc.RedForce.NumSquads, 0, 8);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                dialog.Links[i][j] = doc.Ga.GaBestDecoded.CommMatrix[i][j];
        dialog.FitnessShown = CGeneticAlgorithm(doc).Best().Fitness * 10000.0;
        if (dialog.DoModal() == IDOK && dialog.SaveRequested == 1)
            WriteCommMatrixFile(doc, GaMatrices(doc));
        break;
    }
    case GaWeightMatrixMode: {
        CShowBestSquadMatrixDlg dialog(doc, this);
        if (dialog.DoModal() == IDOK && dialog.SaveRequested == 1)
            SaveSquadMatrixFile(doc, GaMatrices(doc));
        break;
    }
    default:
        break;
    }
    Invalidate(false);
}

void CBrevimarView::OnDisplayGaCurrentChromosome()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    CGaDecoded& ga = doc.Ga.GaBestDecoded;
    const int squads = doc.RedForce.NumSquads;
    switch (doc.Ga.GaSearchMode) {
    case GaPersonalityMode:
    case GaMultiSquadMode: {
        CShowCurrentChromosomeDlg dialog(doc, this);
        if (dialog.DoModal() != IDOK)
            break;
        doc.Ga.GaBestShown = 0;
        if (dialog.SaveRequested == 1)
            WriteInputDataFile(doc);
        break;
    }
    case GaCompositionMode: {
        CShowCurrentSquadCompositionDlg dialog(doc, this);
        if (dialog.DoModal() != IDOK)
            break;
        if (dialog.SaveRequested == 1)
            WriteInputDataFile(doc);
        if (dialog.SaveMatrixRequested == 1) {
            CopyRedMatrix(doc.RedForce.SquadWeightMatrix, ga.SquadWeightMatrix, squads);
            SaveSquadMatrixFile(doc, GaMatrices(doc));
        }
        break;
    }
    case GaCommMatrixMode: {
        CShowCurrentCommMatrixDlg dialog(doc, this);
        if (dialog.DoModal() == IDOK && dialog.SaveRequested == 1) {
            CopyRedMatrix(doc.RedForce.CommMatrix, ga.CommMatrix, squads);
            WriteCommMatrixFile(doc, GaMatrices(doc));
        }
        break;
    }
    case GaWeightMatrixMode: {
        CShowCurrentSquadMatrixDlg dialog(doc, this);
        if (dialog.DoModal() == IDOK && dialog.SaveRequested == 1) {
            CopyRedMatrix(doc.RedForce.SquadWeightMatrix, ga.SquadWeightMatrix, squads);
            SaveSquadMatrixFile(doc, GaMatrices(doc));
        }
        break;
    }
    default:
        break;
    }
    Invalidate(false);
}

void CBrevimarView::OnDisplayGaSummary()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    // The window frees itself once closed; the view keeps only the last.
    LastChartWindow = new CGaSearchSummaryDlg(this, doc);
}

void CBrevimarView::OnGaFitnessGraph()
{
    CBrevimarDoc& doc = *GetDocument();
    doc.Pause();
    CGaData& ga = doc.Ga;
    CMissionFitnessGraphOptionsDlg dialog(doc, this);
    dialog.GenBest = ga.GraphGenBest;
    dialog.GenWorst = ga.GraphGenWorst;
    dialog.BestOverall = ga.GraphBestOverall;
    dialog.Average = ga.GraphAverage;
    if (dialog.DoModal() == IDOK) {
        ga.GraphGenBest = dialog.GenBest;
        ga.GraphGenWorst = dialog.GenWorst;
        ga.GraphBestOverall = dialog.BestOverall;
        ga.GraphAverage = dialog.Average;
        LastChartWindow = new CMissionFitnessGraphDlg(this, doc);
        doc.Pause();
    }
    Invalidate(false);
}

}  // namespace brevimar
