// Defaults, reset, the runtime-generator draws, the breeding operators and
// the initial populations of the genetic algorithm.
#include <algorithm>
#include <cmath>

#include "experiments/GaEditing.h"
#include "experiments/GaEngine.h"

namespace brevimar {

namespace {

// Redraw loops ("drawn again until unused") end with the first free choice
// if the generator keeps repeating itself.
constexpr int MaxRedraws = 100000;

int TruncToInt(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
}

// Squad count of the composition search, 1 + bit 1 + 2 bit 2 + 4 bit 3,
// capped at `most` and held to the 8 squads of the layout. The bits of a
// population drawn from a file's gene ranges may hold far more than 0 or 1
// (up to 99 by the range dialog): the sum is taken wide.
int CompositionSquadCount(const double* gene, int most)
{
    const long long bits = 1LL + TruncToInt(gene[1]) + 2LL * TruncToInt(gene[2]) + 4LL * TruncToInt(gene[3]);
    return static_cast<int>(std::clamp<long long>(std::min<long long>(bits, most), 1, 8));
}

CGaRecords& RecordsOf(CBrevimarDoc& doc)
{
    if (!doc.GaRecords)
        doc.GaRecords = std::make_unique<CGaRecords>();
    return *doc.GaRecords;
}

void ClearFitness(CGaMember& member)
{
    member.Fitness = 0;
    member.NormalisedFitness = 0;
    member.CumulativeFitness = 0;
}

struct GeneDefault {
    int First, Last, Step, On;
    double Min, Max;
};

constexpr GeneDefault DefaultGenes[] = {
    {1, 6, 1, 1, 1.0, 10.0},   {7, 8, 1, 0, 1.0, 4.0},    {9, 31, 2, 1, 0.0, 100.0}, {10, 32, 2, 1, 0.0, 1.0},
    {33, 34, 1, 1, 0.0, 10.0}, {35, 37, 1, 1, 0.0, 25.0}, {39, 39, 1, 1, 0.0, 25.0}, {38, 38, 1, 1, 0.0, 1.0},
    {40, 40, 1, 1, 0.0, 1.0},  {41, 41, 1, 0, 0.0, 1.0},  {42, 47, 1, 0, 0.0, 10.0}, {48, 49, 1, 0, 0.0, 1.0},
    {50, 51, 1, 0, 1.0, 25.0}, {52, 53, 1, 0, 1.0, 20.0}, {54, 54, 1, 0, 1.0, 50.0}, {55, 56, 1, 0, 0.0, 1.0},
    {57, 58, 1, 0, 1.0, 15.0}, {59, 59, 1, 0, 0.0, 0.25}, {60, 61, 1, 0, 1.0, 25.0}, {62, 63, 1, 0, 1.0, 75.0},
};

}  // namespace

CGeneticAlgorithm::CGeneticAlgorithm(CBrevimarDoc& doc) : Doc(doc), Ga(doc.Ga), Records(RecordsOf(doc)) {}

// ---------------------------------------------------------------- defaults

void CGeneticAlgorithm::SetGAModeDefaults()
{
    Doc.RunMode = GeneticAlgorithmMode;
    Ga.GaSymmetrize = 0;
    Ga.GaPopulationSize = 15;
    Doc.Experiment.GaGenerations = 50;
    Ga.GaInitialConditions = 2;
    Ga.GaMaxTimeToFlag = 50;
    Ga.GaPenaltyPower = 2;
    Ga.GaBestToFile = 0;
    Ga.GaReserved1 = 0;
    Ga.GaReserved2 = 0;
    Ga.GaCrossoverProb = 0.75;
    Ga.GaMutationProb = 0.1;
    for (int k = 1; k <= GaPrimitiveCount; ++k) {
        Ga.MissionWeight[k] = k == 3 ? 1.0 : 0.0;
        Ga.MissionUsed[k] = k == 3 ? 1 : 0;
    }
    Ga.GaTerminationRule = 4;
    Ga.GaContainmentRange = 10.0;
    Ga.GaContainmentNumber = 10.0;
    Ga.GaCenterOfMassFraction = 0.5;
    NormaliseMissionWeights();
    Ga.GaWeightThreshold = 1.0;
    for (const GeneDefault& row : DefaultGenes)
        for (int g = row.First; g <= row.Last; g += row.Step) {
            Ga.GeneOn[g] = row.On;
            Ga.GeneMin[g] = row.Min;
            Ga.GeneMax[g] = row.Max;
        }
    Ga.GaMaxSquadSize = 15.0;
    Ga.GaMaxSquadCount = 8;
    Ga.GaSearchSquadMatrix = 1;
    Ga.GaThreshold1 = 0.1;
    Ga.GaThreshold2 = 0.1;
    Ga.GaTotalForceSize = 50;
    Ga.GaMaxMutationSize = 8.0;
    Ga.GaSeedAllLinks = 1;
    Ga.GaForceSymmetry = 1;
    Ga.GaLinkProbability = 0.5;
    Doc.RunHeader.TimeDirection = 1;
    Doc.RandomState = Doc.InitialSeed;
    Doc.RunTerminated = 0;
}

void CGeneticAlgorithm::NormaliseMissionWeights()
{
    EffectiveMissionWeights(Ga.MissionWeight, Ga.GaTerminationRule, Ga.MissionWeight);
}

void CGeneticAlgorithm::ResetFixedSwitches()
{
    for (Side side : {Side::Red, Side::Blue}) {
        CForce& f = Doc.Force(side);
        for (int s = 1; s <= MaxSquads; ++s) {
            f.ADVANCE_flag[s] = f.CLUSTER_flag[s] = f.COMBAT_flag[s] = 1;
            f.HOLD_flag[s] = f.PURSUIT1_flag[s] = f.PURSUIT2_flag[s] = f.RETREAT_flag[s] = 0;
            f.SUPPORT1_flag[s] = f.SUPPORT2_flag[s] = 0;
            f.R_B_min_dist_flag_flag[s] = f.R_R_min_dist_flag_flag[s] = 0;
            f.R_R_goal_min_flag[s] = f.R_terrain_min_flag[s] = 0;
            f.R_area_min_flag[s] = 0;
            f.w_area_alive[s] = f.w_area_injured[s] = 0;
            f.A_HOLD_f[s] = f.I_HOLD_f[s] = 0;
            f.A_PURSUIT1_num[s] = f.I_PURSUIT1_num[s] = f.A_PURSUIT2_num[s] = f.I_PURSUIT2_num[s] = 0;
            f.A_RETREAT_num[s] = f.I_RETREAT_num[s] = 0;
            f.A_SUPPORT1_num[s] = f.I_SUPPORT1_num[s] = f.A_SUPPORT2_num[s] = f.I_SUPPORT2_num[s] = 0;
            f.A_R_area_min[s] = f.I_R_area_min[s] = 0;
        }
    }
}

void CGeneticAlgorithm::ResetGeneticAlgorithmState()
{
    Ga.GaBestFitness = 0;
    Ga.GaWorstFitness = 1.0;
    Ga.GaAverageFitness = 0;
    Doc.Experiment.GaGeneration = 0;
    Doc.RunHeader.CurrentStep = 0;
    Doc.Experiment.GABusy = 0;
    // The status line shows these against the new totals until the first
    // member runs; the evaluation sets each before it reads it.
    Ga.GaMemberIndex = 0;
    Ga.GaConditionIndex = 0;
    Ga.GaTime = 0;
    for (int i = 0; i < GaHistorySlots; ++i) {
        Ga.GaGenBest[i] = 0;
        Ga.GaGenWorst[i] = 1.0;
        Ga.GaGenAverage[i] = 0;
        Ga.GaBestHistory[i] = 0;
    }
    CGaMember& best = Best();
    ClearFitness(best);
    for (int s = 0; s <= MaxSquads; ++s)
        for (int g = 1; g < GaGeneSlots - 1; ++g)
            best.Gene[s][g] = 0;
    const BatchWriteScope setUp(Doc, BatchWriteKind::SetUp);
    ResetFixedSwitches();
}

void CGeneticAlgorithm::RebuildActiveGenes(int last)
{
    int k = 0;
    for (int g = 1; g <= last; ++g) {
        Ga.GeneSlot[g] = 0;
        if (Ga.GeneOn[g] == 1) {
            ++k;
            Ga.GeneSlot[g] = k;
            Ga.ActiveGenes[k] = g;
        }
    }
    Ga.ActiveGeneCount = k;
}

// With more than 8 squads the eight-wide layout makes cells share genes;
// each gene is listed once.
void CGeneticAlgorithm::SetMatrixActiveGenes(int n)
{
    n = std::clamp(n, 0, MaxSquads);
    bool used[GaGeneSlots] = {};
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            used[MatrixGene(i, j)] = true;
    int k = 0;
    for (int g = 1; g < GaGeneSlots; ++g) {
        Ga.GeneSlot[g] = 0;
        if (used[g]) {
            ++k;
            Ga.GeneSlot[g] = k;
            Ga.ActiveGenes[k] = g;
        }
    }
    Ga.ActiveGeneCount = k;
}

// ---------------------------------------------------------------- draws

double CGeneticAlgorithm::RandomUniform(double a, double b)
{
    return a + (Doc.host().Rand() % 1000) * 0.001 * (b - a);
}

double CGeneticAlgorithm::DrawUnit()
{
    return (Doc.host().Rand() % 1000) * 0.001;
}

double CGeneticAlgorithm::DrawFraction()
{
    return RandomUniform(1, 1000) * 0.001;
}

// ---------------------------------------------------------------- bookkeeping

void CGeneticAlgorithm::CopyActiveGenes(const CGaMember& from, CGaMember& to)
{
    const int squads = std::clamp(Ga.GaSquadCount, 1, MaxSquads);
    for (int k = 1; k <= Ga.ActiveGeneCount; ++k) {
        const int g = Ga.ActiveGenes[k];
        if (Ga.GaSearchMode == GaMultiSquadMode) {
            for (int s = 1; s <= squads; ++s)
                to.Gene[s][g] = from.Gene[s][g];
        } else {
            to.Gene[1][g] = from.Gene[1][g];
        }
    }
}

void CGeneticAlgorithm::RecordFirstGeneration()
{
    const int P = Population();
    CGaMember& best = Best();
    int bestIndex = std::min(1, P);
    for (int m = 0; m < P; ++m)
        if (Member(m).Fitness > best.Fitness) {
            best.Fitness = Member(m).Fitness;
            bestIndex = m;
        }
    if (bestIndex != P)
        CopyActiveGenes(Member(bestIndex), best);
}

void CGeneticAlgorithm::RecordGeneration()
{
    const int P = Population();
    if (P < 1)
        return;
    double max = Member(0).Fitness, min = Member(0).Fitness;
    int maxIndex = 0, minIndex = 0;
    for (int i = 0; i <= P - 2; ++i) {
        const double a = Member(i).Fitness, b = Member(i + 1).Fitness;
        if (a > b) {
            if (max <= a) max = a, maxIndex = i;
            if (b <= min) min = b, minIndex = i + 1;
        } else {
            if (a <= min) min = a, minIndex = i;
            if (max <= b) max = b, maxIndex = i + 1;
        }
    }
    CGaMember& best = Best();
    if (max >= best.Fitness) {
        CopyActiveGenes(Member(maxIndex), best);
        best.Fitness = max;
    } else {
        CopyActiveGenes(best, Member(minIndex));
        Member(minIndex).Fitness = best.Fitness;
    }
}

// ---------------------------------------------------------------- selection

void CGeneticAlgorithm::SelectPopulation()
{
    const int P = Population();
    if (P < 1)
        return;
    double total = 0;
    for (int m = 0; m < P; ++m)
        total += Member(m).Fitness;
    const bool usable = total > 0;
    for (int m = 0; m < P; ++m) {
        Member(m).NormalisedFitness = usable ? Member(m).Fitness / total : 0;
        Member(m).CumulativeFitness =
            m == 0 ? Member(0).NormalisedFitness : Member(m - 1).CumulativeFitness + Member(m).NormalisedFitness;
    }
    // A draw above the last cumulative value (rounding leaves it just below
    // 1) takes the last member that has a share at all.
    int lastWithShare = 0;
    for (int m = 0; m < P; ++m)
        if (Member(m).NormalisedFitness > 0)
            lastWithShare = m;
    for (int j = 0; j < P; ++j) {
        const double u = DrawUnit();
        int chosen = 0;
        if (usable && !(u < Member(0).CumulativeFitness)) {
            chosen = lastWithShare;
            for (int m = 0; m <= P - 2; ++m)
                if (Member(m).CumulativeFitness <= u && u < Member(m + 1).CumulativeFitness) {
                    chosen = m + 1;
                    break;
                }
        }
        Records.GaMatingPool[j] = Member(chosen);
    }
    for (int j = 0; j < P; ++j)
        Member(j) = Records.GaMatingPool[j];
}

// ---------------------------------------------------------------- crossover

void CGeneticAlgorithm::CrossoverPopulation()
{
    int count = 0, first = 0;
    for (int m = 0; m < Population(); ++m) {
        if (DrawUnit() < Ga.GaCrossoverProb) {
            ++count;
            if (count % 2 == 1)
                first = m;
            else
                CrossoverPair(first, m);
        }
    }
}

void CGeneticAlgorithm::SwapDouble(double* x, double* y)
{
    const double t = *x;
    *x = *y;
    *y = t;
}

void CGeneticAlgorithm::CrossoverPair(int a, int b)
{
    const int n = Ga.ActiveGeneCount;
    // One active gene leaves no cut point.
    if (n < 2)
        return;
    CGaMember& A = Member(a);
    CGaMember& B = Member(b);
    const int squads = std::clamp(Ga.GaSquadCount, 1, MaxSquads);
    switch (Ga.GaSearchMode) {
    case GaMultiSquadMode:
        if (squads > 1) {
            bool available[SquadSlots];
            std::fill(std::begin(available), std::end(available), true);
            auto anyAvailable = [&] {
                for (int s = 1; s <= squads; ++s)
                    if (available[s])
                        return true;
                return false;
            };
            auto drawSquad = [&] {
                for (int tries = 0; tries < MaxRedraws; ++tries) {
                    const int s = std::clamp(TruncToInt(RandomUniform(1, squads + 1)), 1, squads);
                    if (available[s])
                        return s;
                }
                for (int s = 1; s <= squads; ++s)
                    if (available[s])
                        return s;
                return 1;
            };
            while (anyAvailable()) {
                const int s1 = drawSquad();
                const int s2 = drawSquad();
                available[s1] = available[s2] = false;
                const int cut = Doc.host().Rand() % (n - 1) + 1;
                for (int k = 1; k <= cut; ++k) {
                    const int g = Ga.ActiveGenes[k];
                    SwapDouble(&A.Gene[s1][g], &B.Gene[s2][g]);
                }
            }
            return;
        }
        [[fallthrough]];
    case GaPersonalityMode:
    case GaWeightMatrixMode: {
        const int cut = Doc.host().Rand() % (n - 1) + 1;
        for (int k = 1; k <= cut; ++k) {
            const int g = Ga.ActiveGenes[k];
            SwapDouble(&A.Gene[1][g], &B.Gene[1][g]);
        }
        return;
    }
    case GaCompositionMode: {
        const double v = DrawFraction();
        int count = v < 0.5 ? TruncToInt(RandomUniform(1, 12)) : TruncToInt(RandomUniform(13, 75));
        count = std::min(count, n);
        for (int k = 1; k <= count; ++k) {
            const int g = Ga.ActiveGenes[k];
            SwapDouble(&A.Gene[1][g], &B.Gene[1][g]);
        }
        return;
    }
    default:
        return;
    }
}

// ---------------------------------------------------------------- mutation

void CGeneticAlgorithm::DrawMatrixGene(double& gene, double negateBelow)
{
    const double v = DrawFraction();
    gene = v;
    if (v < Ga.GaThreshold1)
        gene = 0;
    else if (DrawFraction() < negateBelow)
        gene = -v;
}

namespace {

double FlipBit(double bit) { return bit == 1.0 ? 0.0 : 1.0; }

}  // namespace

void CGeneticAlgorithm::MutatePopulation()
{
    const double pm = Ga.GaMutationProb;
    const int squads = std::clamp(Ga.GaSquadCount, 1, MaxSquads);
    for (int m = 0; m < Population(); ++m) {
        CGaMember& member = Member(m);
        double* gene = member.Gene[1];
        switch (Ga.GaSearchMode) {
        case GaPersonalityMode:
            for (int k = 1; k <= Ga.ActiveGeneCount; ++k) {
                const int g = Ga.ActiveGenes[k];
                if (DrawUnit() < pm)
                    gene[g] = RandomUniform(Ga.GeneMin[g], Ga.GeneMax[g]);
            }
            break;
        case GaMultiSquadMode:
            for (int k = 1; k <= Ga.ActiveGeneCount; ++k) {
                const int g = Ga.ActiveGenes[k];
                for (int s = 1; s <= squads; ++s)
                    if (DrawUnit() < pm)
                        member.Gene[s][g] = RandomUniform(Ga.GeneMin[g], Ga.GeneMax[g]);
            }
            break;
        case GaCompositionMode: {
            bool bitChanged = false;
            for (int i = 1; i <= 3; ++i)
                if (DrawUnit() < pm) {
                    gene[i] = FlipBit(gene[i]);
                    bitChanged = true;
                }
            const int K = CompositionSquadCount(gene, Ga.GaMaxSquadCount);
            double* size = gene + 3;  // size[j] is gene 3 + j
            if (!bitChanged) {
                if (DrawUnit() < pm) {
                    double fresh[9] = {};
                    bool drawn[9] = {};
                    for (int j = 1; j <= K; ++j) {
                        int idx = 0;
                        for (int tries = 0; tries < MaxRedraws; ++tries) {
                            idx = std::clamp(TruncToInt(DrawFraction() * K + 1.0), 1, K);
                            if (!drawn[idx])
                                break;
                        }
                        if (drawn[idx])
                            idx = static_cast<int>(std::find(drawn + 1, drawn + K + 1, false) - drawn);
                        drawn[idx] = true;
                        fresh[j] = size[idx];
                    }
                    for (int j = 1; j <= 8; ++j)
                        size[j] = fresh[j];
                }
            } else {
                double sum = 0;
                for (int j = 1; j <= 8; ++j) {
                    const double u = DrawUnit();
                    if (u < pm) {
                        int d = TruncToInt(DrawUnit() * Ga.GaMaxMutationSize);
                        if (DrawUnit() < 0.5)
                            d = -d;
                        size[j] += d;
                        if (size[j] < 1.0)
                            size[j] = 1.0;
                    }
                    sum += size[j];
                }
                const int pick = std::clamp(TruncToInt(DrawUnit() * K + 1.0), 1, K);
                const double total = Ga.GaTotalForceSize;
                if (sum > total) {
                    size[pick] -= sum - total;
                    if (size[pick] < 1.0)
                        size[pick] = 1.0;
                } else if (sum < total) {
                    size[pick] += total - sum;
                }
            }
            for (int g = 12; g <= GaCompositionGenes; ++g)
                if (DrawUnit() < pm) {
                    if (Ga.GaSearchSquadMatrix == 1)
                        DrawMatrixGene(gene[g], 0.5);
                    else
                        gene[g] = 1.0;
                }
            break;
        }
        case GaCommMatrixMode:
            for (int k = 1; k <= 64; ++k) {
                if (DrawUnit() < pm)
                    gene[k] = FlipBit(gene[k]);
                if (Ga.GaForceSymmetry == 1)
                    for (int i = 1; i <= 8; ++i)
                        for (int j = 1; j < i; ++j)
                            gene[MatrixGene(j, i)] = gene[MatrixGene(i, j)];
            }
            break;
        case GaWeightMatrixMode:
            for (int k = 1; k <= 64; ++k)
                if (DrawUnit() < pm)
                    DrawMatrixGene(gene[k], 0.5);
            break;
        default:
            break;
        }
    }
}

void CGeneticAlgorithm::RandomSquadPartition(int n, int k, int out[SquadSlots])
{
    k = std::clamp(k, 0, MaxSquads);
    int part[SquadSlots] = {};
    for (int j = 0; j < SquadSlots; ++j)
        out[j] = 0;
    int assigned = 0;
    for (int j = 1; j <= k; ++j) {
        const int remaining = std::min(n - assigned, TruncToInt(Ga.GaMaxSquadSize));
        if (remaining > 0) {
            part[j] = std::min(TruncToInt(DrawFraction() * (remaining - 1) + 1.0), remaining);
            assigned += part[j];
        }
    }
    if (k >= 1 && assigned < n)
        part[k] += n - assigned;
    bool drawn[SquadSlots] = {};
    for (int j = 1; j <= k; ++j) {
        int idx = 1;
        for (int tries = 0; tries < MaxRedraws; ++tries) {
            idx = std::clamp(TruncToInt(DrawFraction() * k + 1.0), 1, k);
            if (!drawn[idx])
                break;
        }
        if (drawn[idx])
            idx = static_cast<int>(std::find(drawn + 1, drawn + k + 1, false) - drawn);
        drawn[idx] = true;
        out[j] = part[idx];
    }
}

// ---------------------------------------------------------------- populations

void CGeneticAlgorithm::DrawPersonalityPopulation(int squads)
{
    squads = std::clamp(squads, 1, MaxSquads);
    for (int m = 0; m < Population(); ++m) {
        CGaMember& member = Member(m);
        ClearFitness(member);
        for (int s = 1; s <= squads; ++s)
            for (int g = 1; g <= GaPersonalityGenes; ++g)
                member.Gene[s][g] = RandomUniform(Ga.GeneMin[g], Ga.GeneMax[g]);
    }
}

void CGeneticAlgorithm::DrawInitialPopulation(int mode)
{
    const int redSquads = std::clamp(Doc.RedForce.NumSquads, 1, MaxSquads);
    for (int m = 0; m < Population(); ++m) {
        CGaMember& member = Member(m);
        ClearFitness(member);
        double* gene = member.Gene[1];
        switch (mode) {
        case GaPersonalityMode:
            for (int g = 1; g <= GaPersonalityGenes; ++g)
                gene[g] = RandomUniform(Ga.GeneMin[g], Ga.GeneMax[g]);
            break;
        case GaMultiSquadMode:
            for (int g = 1; g <= GaPersonalityGenes; ++g)
                for (int s = 1; s <= redSquads; ++s)
                    member.Gene[s][g] = RandomUniform(Ga.GeneMin[g], Ga.GeneMax[g]);
            break;
        case GaCompositionMode: {
            for (int i = 1; i <= 3; ++i)
                gene[i] = DrawFraction() < 0.5 ? 0.0 : 1.0;
            const int K = CompositionSquadCount(gene, Ga.GaMaxSquadCount);
            int sizes[SquadSlots];
            RandomSquadPartition(Ga.GaTotalForceSize, K, sizes);
            for (int i = 1; i <= 8; ++i)
                gene[3 + i] = sizes[i];
            for (int g = 12; g <= GaCompositionGenes; ++g) {
                if (Ga.GaSearchSquadMatrix == 1)
                    DrawMatrixGene(gene[g], Ga.GaThreshold2);
                else
                    gene[g] = 1.0;
            }
            break;
        }
        case GaCommMatrixMode:
            if (m == 0 && Ga.GaSeedAllLinks == 1) {
                for (int k = 1; k <= Ga.ActiveGeneCount; ++k)
                    gene[Ga.ActiveGenes[k]] = 1.0;
            } else {
                for (int k = 1; k <= Ga.ActiveGeneCount; ++k)
                    gene[Ga.ActiveGenes[k]] = DrawFraction() < Ga.GaLinkProbability ? 1.0 : 0.0;
                if (Ga.GaForceSymmetry == 1)
                    for (int i = 1; i <= 8; ++i)
                        for (int j = 1; j < i; ++j)
                            gene[MatrixGene(j, i)] = gene[MatrixGene(i, j)];
            }
            break;
        case GaWeightMatrixMode:
            for (int k = 1; k <= Ga.ActiveGeneCount; ++k)
                DrawMatrixGene(gene[Ga.ActiveGenes[k]], Ga.GaThreshold2);
            break;
        default:
            break;
        }
    }
}

}  // namespace brevimar
