// The genetic algorithm's input file (*.ga1) and, when it is read, two small
// generations run from it, the second bred from the first by selection,
// crossover and mutation: whatever the reader accepts, the batch and the
// operators must be able to use.
#include <algorithm>

#include "experiments/GaEngine.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brevimar;
    static fuzz::Document* document = new fuzz::Document;  // the buffers are large: made once
    CBrevimarDoc& doc = *document->Doc;
    // Every input starts from the same document, so a report replays.
    static const CDocumentState* const start = new CDocumentState(doc);
    static_cast<CDocumentState&>(doc) = *start;
    std::string problem;
    if (!ReadGaInputFile(doc, fuzz::Text(data, size), problem))
        return 0;
    // Small: at most three members, one run each of at most four steps.
    CGaData& ga = doc.Ga;
    ga.GaPopulationSize = std::min(ga.GaPopulationSize, 3);
    ga.GaInitialConditions = 1;
    ga.GaMaxTimeToFlag = std::min(ga.GaMaxTimeToFlag, 4);
    doc.RunMode = GeneticAlgorithmMode;
    CGeneticAlgorithm engine(doc);
    engine.ResetGeneticAlgorithmState();
    for (int generation = 0; generation < 2; ++generation)
        engine.RunGABatch(43);
    return 0;
}
