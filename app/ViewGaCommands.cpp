// The one-sided genetic algorithm's commands of the view: the search-space
// run modes of "Simulation/Run Mode/1-Sided Genetic Algorithm Learning
// (Evolutionary)", File > Load > "1-Sided GA (Genetic Algorithm) Input Data
// File...", and the generation driver the run loop calls in run mode 3.
#include "app/BrevimarView.h"
#include "experiments/GaEngine.h"

namespace brevimar {

void CBrevimarView::BuildGaMessageMap()
{
    for (unsigned id = ID_RUN_MODE_GA_FIRST; id <= ID_RUN_MODE_GA_LAST; ++id) {
        const int mode = static_cast<int>(id - ID_RUN_MODE_GA_FIRST) + 1;
        Map.On(id, [this, mode] { OnRunModeGa(mode); });
        if (mode == GaCompositionPersonalityMode || mode == GaInitialConfigMode || mode == GaTerrainMode)
            Map.OnUpdate(id, [this](CCmdUI& ui) { OnUpdateDisabledMode(ui); });
        else
            Map.OnUpdate(id, [this, mode](CCmdUI& ui) { OnUpdateGaSearchMode(ui, mode); });
    }
    Map.OnUpdate(ID_RUN_MODE_REINFORCEMENT, [this](CCmdUI& ui) { OnUpdateDisabledMode(ui); });
    Map.On(ID_FILE_LOAD_GA_INPUT, [this] { OnFileLoadGaInput(); });
    Map.OnUpdate(ID_FILE_LOAD_GA_INPUT, [this](CCmdUI& ui) { OnUpdateUnlessBatchBusy(ui); });
    BuildGaEditMessageMap();
    BuildGaDisplayMessageMap();
}

void CBrevimarView::OnRunModeGa(int mode)
{
    SelectGaSearchMode(*GetDocument(), mode, GaEditCommands);
}

void CBrevimarView::OnFileLoadGaInput()
{
    brevimar::OnFileLoadGaInput(*GetDocument());
}

void CBrevimarView::OnUpdateGaSearchMode(CCmdUI& ui, int mode)
{
    // A generation in progress keeps its population and settings.
    ui.Enable(!GetDocument()->BatchBusy());
    ui.SetCheck(GetDocument()->Ga.GaSearchModeFlags[mode]);
}

void CBrevimarView::OnUpdateDisabledMode(CCmdUI& ui)
{
    ui.Enable(false);
}

void CBrevimarView::RunGABatch()
{
    CGeneticAlgorithm(*GetDocument()).RunGABatch(static_cast<int>(GaTimerId));
}

void CBrevimarView::UpdateGaStatusLine()
{
    CGeneticAlgorithm(*GetDocument()).UpdateGaStatusLine();
}

}  // namespace brevimar
