#include "experiments/GaEditing.h"

#include <algorithm>

#include "experiments/GaEngine.h"

namespace brevimar {

const GeneRangeRow GeneRangeRows[] = {
    {"Sensor Range", 1, 2, 0, 99, 1, 99},
    {"Fire Range", 3, 4, 0, 99, 1, 99},
    {"Threshold Range", 5, 6, 0, 99, 1, 99},
    {"Movement Range", 7, 8, 0, 4, 0, 4},
    {"--> Alive RED", 9, 21, 0, 100, 0, 100},
    {"--> Alive BLUE", 11, 23, 0, 100, 0, 100},
    {"--> Injured RED", 13, 25, 0, 100, 0, 100},
    {"--> Injured BLUE", 15, 27, 0, 100, 0, 100},
    {"--> RED Flag", 17, 29, 0, 100, 0, 100},
    {"--> BLUE Flag", 19, 31, 0, 100, 0, 100},
    {"ADVANCE", 33, 34, 0, 99, 0, 99},
    {"CLUSTER", 35, 36, 0, 999, 0, 999},
    {"COMBAT", 37, 39, 0, 999, 0, 999},
    {"Min Dist from RED", 42, 43, 0, 999, 0, 999},
    {"Min Dist from BLUE", 44, 45, 0, 999, 0, 999},
    {"Min Dist from RFlag", 46, 47, 0, 999, 0, 999},
    {"Prob(Hit)", 48, 49, 0, 1, 0, 1},
    {"Max # Simul Tgts", 50, 51, 0, 999, 0, 999},
    {"Defense", 52, 53, 0, 999, 1, 999},
    {"Comm Range", 54, 0, 0, 999, 0, 999},
    {"Comm Weight", 55, 56, 0, 1, 0, 1},
    {"Reconstitution Time", 57, 0, 0, 999, 1, 999},
    {"Fratricide Radius", 58, 0, 0, 99, 0, 99},
    {"Fratricide Prob(Kill)", 59, 0, 0, 1, 0, 1},
};
const int GeneRangeRowCount = static_cast<int>(std::size(GeneRangeRows));

bool GeneLimits(int mode, int g, ValueLimit* min, ValueLimit* max)
{
    switch (mode) {
    case GaCompositionMode:
        *min = *max = g <= 3 ? GaLimits::CompositionBit : g <= 11 ? GaLimits::SquadSize : GaLimits::MatrixWeight;
        return true;
    case GaCommMatrixMode:
        return false;
    case GaWeightMatrixMode:
        *min = *max = GaLimits::MatrixWeight;
        return true;
    default:
        break;
    }
    for (const GeneRangeRow& row : GeneRangeRows)
        if (row.Gene == g || row.CopyTo == g) {
            *min = {row.MinLow, row.MinHigh};
            *max = {row.MaxLow, row.MaxHigh};
            return true;
        }
    if (g < 60)
        return false;
    *min = *max = ValueLimit{1, MaxBattleSize};
    return true;
}

bool EffectiveMissionWeights(const double weight[GaPrimitiveSlots], int terminationRule,
                             double effective[GaPrimitiveSlots])
{
    double w[GaPrimitiveSlots] = {};
    double sum = 0;
    for (int k = 1; k <= GaPrimitiveCount; ++k) {
        w[k] = k == 1 && terminationRule == 4 ? 0.0 : weight[k];
        sum += w[k];
    }
    if (!(sum > 0))
        return false;
    for (int k = 1; k <= GaPrimitiveCount; ++k)
        effective[k] = w[k] / sum;
    return true;
}

namespace {

void ClearScores(CGaMember& member)
{
    member.Fitness = member.NormalisedFitness = member.CumulativeFitness = 0;
}

}  // namespace

void RedrawPersonalityPopulation(CBrevimarDoc& doc)
{
    CGeneticAlgorithm ga(doc);
    const int squads = std::clamp(doc.Ga.GaSquadCount, 1, MaxSquads);
    for (int m = 0; m < ga.Population(); ++m) {
        CGaMember& member = ga.Member(m);
        ClearScores(member);
        for (int g = 1; g <= GaPersonalityGenes; ++g)
            for (int s = 1; s <= squads; ++s)
                member.Gene[s][g] = ga.RandomUniform(doc.Ga.GeneMin[g], doc.Ga.GeneMax[g]);
    }
}

void ApplyGenomeStructure(CBrevimarDoc& doc, const GenomeStructure& edited)
{
    CGaData& ga = doc.Ga;
    ga.GaMultiSquad = edited.MultiSquad;
    // The population holds ten squad blocks.
    ga.GaSquadCount = std::clamp(edited.SquadCount, 1, MaxSquads);
    ga.GaSymmetrize = edited.Symmetrize;
    for (int g = 1; g <= GaPersonalityGenes; ++g)
        ga.GeneOn[g] = edited.GeneOn[g];
    CGeneticAlgorithm engine(doc);
    engine.RebuildActiveGenes(GaPersonalityGenes);
    RedrawPersonalityPopulation(doc);
    engine.ResetGeneticAlgorithmState();
}

void ApplyGeneRanges(CBrevimarDoc& doc, const GeneRanges& edited)
{
    CGaData& ga = doc.Ga;
    for (const GeneRangeRow& row : GeneRangeRows) {
        ga.GeneMin[row.Gene] = edited.Min[row.Gene];
        ga.GeneMax[row.Gene] = edited.Max[row.Gene];
        if (row.CopyTo != 0) {
            ga.GeneMin[row.CopyTo] = ga.GeneMin[row.Gene];
            ga.GeneMax[row.CopyTo] = ga.GeneMax[row.Gene];
        }
    }
    ga.GaWeightThreshold = edited.WeightThreshold;
    RedrawPersonalityPopulation(doc);
    CGeneticAlgorithm(doc).ResetGeneticAlgorithmState();
}

void ApplyMissionObjective(CBrevimarDoc& doc, const int used[GaPrimitiveSlots], const double weight[GaPrimitiveSlots])
{
    CGaData& ga = doc.Ga;
    for (int k = 1; k <= GaPrimitiveCount; ++k) {
        ga.MissionUsed[k] = used[k];
        ga.MissionWeight[k] = weight[k];
    }
    CGeneticAlgorithm engine(doc);
    engine.NormaliseMissionWeights();
    engine.ResetGeneticAlgorithmState();
}

void ApplySearchSpace(CBrevimarDoc& doc, int mode)
{
    doc.Ga.GaSearchMode = mode;
    CGeneticAlgorithm(doc).ResetGeneticAlgorithmState();
}

RunTimeParams CurrentRunTimeParams(const CBrevimarDoc& doc)
{
    const CGaData& ga = doc.Ga;
    RunTimeParams p;
    p.BestToFile = ga.GaBestToFile;
    p.PopulationSize = ga.GaPopulationSize;
    p.Generations = doc.Experiment.GaGenerations;
    p.InitialConditions = ga.GaInitialConditions;
    p.MaxTimeToFlag = ga.GaMaxTimeToFlag;
    p.PenaltyPower = ga.GaPenaltyPower;
    p.ContainmentRange = ga.GaContainmentRange;
    p.ContainmentNumber = ga.GaContainmentNumber;
    p.CenterOfMassFraction = ga.GaCenterOfMassFraction;
    p.CrossoverProb = ga.GaCrossoverProb;
    p.MutationProb = ga.GaMutationProb;
    return p;
}

void ApplyRunTimeParams(CBrevimarDoc& doc, const RunTimeParams& p)
{
    CGaData& ga = doc.Ga;
    ga.GaBestToFile = p.BestToFile;
    // The records hold 300 members, 100 initial conditions and 999
    // generations; the dialog refuses more, and a caller cannot pass more.
    ga.GaPopulationSize = std::clamp(p.PopulationSize, 1, GaMaxPopulation);
    doc.Experiment.GaGenerations = std::clamp(p.Generations, 1, GaMaxGenerations);
    ga.GaInitialConditions = std::clamp(p.InitialConditions, 1, GaMaxConditions);
    ga.GaMaxTimeToFlag = p.MaxTimeToFlag;
    ga.GaPenaltyPower = p.PenaltyPower;
    ga.GaContainmentRange = p.ContainmentRange;
    ga.GaContainmentNumber = p.ContainmentNumber;
    ga.GaCenterOfMassFraction = p.CenterOfMassFraction;
    ga.GaCrossoverProb = p.CrossoverProb;
    ga.GaMutationProb = p.MutationProb;
    CGeneticAlgorithm(doc).ResetGeneticAlgorithmState();
}

void BeginStructuralSearch(CBrevimarDoc& doc, int mode)
{
    doc.Pause();
    doc.Ga.GaSearchMode = mode;
    for (int g = 1; g < GaGeneSlots - 1; ++g)
        doc.Ga.GeneOn[g] = 1;
}

void ApplySquadCompositionSearch(CBrevimarDoc& doc, const SquadCompositionParams& p)
{
    CGaData& ga = doc.Ga;
    ga.GaMaxSquadCount = p.MaxSquadCount;
    ga.GaMaxSquadSize = p.MaxSquadSize;
    ga.GaMaxMutationSize = p.MaxMutationSize;
    ga.GaTotalForceSize = std::clamp(p.TotalForceSize, 0, MaxAgents);
    ga.GaSearchSquadMatrix = p.SearchSquadMatrix;
    ga.GaThreshold1 = p.Threshold1;
    ga.GaThreshold2 = p.Threshold2;
    // The force the composition search splits.
    {
        const BatchWriteScope search(doc, BatchWriteKind::Search);
        doc.RedForce.NumAgents = ga.GaTotalForceSize;
    }
    if (ga.GaSearchSquadMatrix == 0)
        for (int g = 12; g < GaGeneSlots - 1; ++g)
            ga.GeneOn[g] = 0;
    CGeneticAlgorithm engine(doc);
    engine.RebuildActiveGenes(GaCompositionGenes);
    // The same draw as the search-space command's, so that the decoding
    // reads the squad count the draw partitioned the force into.
    engine.DrawInitialPopulation(GaCompositionMode);
    engine.ResetGeneticAlgorithmState();
}

void ApplySquadMatrixSearch(CBrevimarDoc& doc, double threshold1, double threshold2)
{
    doc.Ga.GaThreshold1 = threshold1;
    doc.Ga.GaThreshold2 = threshold2;
    CGeneticAlgorithm engine(doc);
    engine.SetMatrixActiveGenes(std::clamp(doc.RedForce.NumSquads, 1, MaxSquads));
    engine.DrawInitialPopulation(GaWeightMatrixMode);
    engine.ResetGeneticAlgorithmState();
}

void ApplyCommMatrixSearch(CBrevimarDoc& doc, int seedAllLinks, int forceSymmetry, double linkProbability)
{
    doc.Ga.GaSeedAllLinks = seedAllLinks;
    doc.Ga.GaForceSymmetry = forceSymmetry;
    doc.Ga.GaLinkProbability = linkProbability;
    CGeneticAlgorithm engine(doc);
    engine.SetMatrixActiveGenes(std::clamp(doc.RedForce.NumSquads, 1, MaxSquads));
    engine.DrawInitialPopulation(GaCommMatrixMode);
    {
        const BatchWriteScope setUp(doc, BatchWriteKind::SetUp);
        for (int i = 0; i < SquadSlots; ++i)
            for (int j = 0; j < SquadSlots; ++j)
                doc.RedForce.CommMatrix[i][j] = doc.BlueForce.CommMatrix[i][j] = 0;
        doc.CommMatricesSet = 1;
    }
    engine.ResetGeneticAlgorithmState();
}

}  // namespace brevimar
