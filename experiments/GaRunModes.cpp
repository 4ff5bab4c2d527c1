// The search-space commands of "Simulation/Run Mode/1-Sided Genetic
// Algorithm Learning (Evolutionary)": each selects the genetic algorithm,
// sets its defaults, runs the mode's editing dialogs and draws the first
// population.
#include <algorithm>

#include "experiments/GaEngine.h"

namespace brevimar {

namespace {

void SelectModeFlags(CGaData& ga, int mode)
{
    ga.GaSearchMode = mode;
    for (int k = 1; k < GaModeSlots; ++k)
        ga.GaSearchModeFlags[k] = k == mode ? 1 : 0;
}

}  // namespace

void SelectGaSearchMode(CBrevimarDoc& doc, int mode, CGaEditCommands* edits)
{
    CGeneticAlgorithm ga(doc);
    CGaData& data = ga.Data();
    doc.Pause();
    // The generations' runs replace the battle a RUN capture holds.
    if (!doc.OfferCapturedFrames())
        return;
    doc.EndPausedBatch();
    doc.StartBatchWriteRecord();
    const BatchWriteScope setUp(doc, BatchWriteKind::SetUp);
    doc.RunMode = GeneticAlgorithmMode;
    doc.LoadInputFile = 0;
    SelectModeFlags(data, mode);
    data.GaBestShown = 0;
    data.GaMultiSquad = mode == GaPersonalityMode ? 0 : 1;

    // Modes without a search of their own only select the mode.
    if (mode == GaCompositionPersonalityMode || mode == GaInitialConfigMode || mode == GaTerrainMode) {
        ga.SetGAModeDefaults();
        return;
    }

    const int redSquads = std::clamp(doc.RedForce.NumSquads, 1, MaxSquads);
    if (mode == GaPersonalityMode)
        data.GaSquadCount = 1;
    else if (mode == GaMultiSquadMode)
        data.GaSquadCount = redSquads;
    ga.SetGAModeDefaults();
    if (mode == GaCompositionMode || mode == GaCommMatrixMode || mode == GaWeightMatrixMode)
        for (int g = 1; g < GaGeneSlots - 1; ++g)
            data.GeneOn[g] = 1;

    if (edits) {
        const bool personality = mode == GaPersonalityMode || mode == GaMultiSquadMode;
        const int steps = personality ? 4 : 3;
        int step = 0;
        auto next = [&] { edits->BeginStep(++step, steps); };
        next();
        edits->EditGaRunTimeParams();
        next();
        edits->EditGaMissionFitness();
        next();
        switch (mode) {
        case GaPersonalityMode:
        case GaMultiSquadMode:
            edits->EditGaGenomeStructure();
            next();
            edits->EditGaGeneRanges();
            break;
        case GaCompositionMode:
            edits->EditGaSquadCompositionSearch();
            break;
        case GaCommMatrixMode:
            edits->EditGaCommMatrixSearch();
            break;
        case GaWeightMatrixMode:
            edits->EditGaSquadMatrixSearch();
            break;
        default:
            break;
        }
        edits->BeginStep(0, 0);
    }

    switch (mode) {
    case GaPersonalityMode:
    case GaMultiSquadMode:
        ga.RebuildActiveGenes(GaPersonalityGenes);
        break;
    case GaCompositionMode:
        ga.RebuildActiveGenes(GaCompositionGenes);
        data.GaSquadCount = std::clamp(doc.RedForce.NumSquads, 1, MaxSquads);
        break;
    case GaCommMatrixMode:
    case GaWeightMatrixMode:
        data.GaSquadCount = redSquads;
        // Matrix cell (i, j) is gene i + 8(j - 1), as the decoding reads it.
        ga.SetMatrixActiveGenes(redSquads);
        if (mode == GaCommMatrixMode) {
            for (int i = 0; i < SquadSlots; ++i)
                for (int j = 0; j < SquadSlots; ++j)
                    doc.RedForce.CommMatrix[i][j] = doc.BlueForce.CommMatrix[i][j] = 0;
            doc.CommMatricesSet = 1;
        }
        break;
    default:
        break;
    }
    ga.DrawInitialPopulation(mode);
    ga.ResetGeneticAlgorithmState();
    ga.UpdateGaStatusLine();
    doc.Experiment.GABusy = 0;
    doc.host().InvalidateView();
}

}  // namespace brevimar
