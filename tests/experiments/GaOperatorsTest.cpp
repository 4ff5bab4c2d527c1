// Breeding operators on hand-made populations, with the runtime generator's
// values injected so every draw is known.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "experiments/GaEngine.h"
#include "support/TestDocument.h"

namespace brevimar::testing {
namespace {

struct GaFixture : ::testing::Test {
    TestDocument T;
    CGeneticAlgorithm Ga{*T};
    CGaData& D = T->Ga;

    // P members whose active genes 1..3 carry 10 m + gene, with the given fitness.
    void Population(std::initializer_list<double> fitness)
    {
        D.GaPopulationSize = static_cast<int>(fitness.size());
        D.GaSearchMode = GaPersonalityMode;
        D.ActiveGeneCount = 3;
        for (int k = 1; k <= 3; ++k)
            D.ActiveGenes[k] = k;
        int m = 0;
        for (double f : fitness) {
            for (int g = 1; g <= 4; ++g)
                Ga.Member(m).Gene[1][g] = 10 * m + g;
            Ga.Member(m).Fitness = f;
            ++m;
        }
        Ga.Best() = CGaMember{};
    }
    void Rand(std::initializer_list<int> values) { T.Host.RandValues.assign(values); }
};

TEST_F(GaFixture, RandomUniformUsesThreeDigitsOfRand)
{
    Rand({1234, 999, 0});
    EXPECT_DOUBLE_EQ(Ga.RandomUniform(2, 5), 2 + 0.234 * 3);   // 1234 % 1000 = 234
    EXPECT_DOUBLE_EQ(Ga.RandomUniform(0, 1), 0.999);          // never reaches b
    EXPECT_DOUBLE_EQ(Ga.DrawFraction(), 0.001);               // RandomUniform(1, 1000) * 0.001 at its lowest
}

TEST_F(GaFixture, FirstGenerationKeepsTheEarliestBest)
{
    Population({0.2, 0.5, 0.5, 0.1});
    Ga.RecordFirstGeneration();
    EXPECT_DOUBLE_EQ(Ga.Best().Fitness, 0.5);
    EXPECT_DOUBLE_EQ(Ga.Best().Gene[1][2], 12);  // member 1's gene 2
    EXPECT_DOUBLE_EQ(Ga.Best().Gene[1][4], 0);   // not an active gene

    // Nobody above the empty best slot: member 1's genes, fitness unchanged.
    Population({0, 0, 0});
    Ga.RecordFirstGeneration();
    EXPECT_DOUBLE_EQ(Ga.Best().Fitness, 0);
    EXPECT_DOUBLE_EQ(Ga.Best().Gene[1][1], 11);
}

TEST_F(GaFixture, LaterGenerationsKeepOrRestoreTheBest)
{
    // Equal fitness everywhere: member P - 1 is the best (overwrites an equal best).
    Population({0.4, 0.4, 0.4});
    Ga.Best().Fitness = 0.4;
    Ga.RecordGeneration();
    EXPECT_DOUBLE_EQ(Ga.Best().Gene[1][1], 21);

    // The generation lost the best: scan gives max 0.5 (member 2) and min 0.1
    // (member 1); the best slot's chromosome replaces member 1.
    Population({0.3, 0.1, 0.5});
    Ga.Best().Fitness = 0.9;
    Ga.Best().Gene[1][1] = -1;
    Ga.RecordGeneration();
    EXPECT_DOUBLE_EQ(Ga.Member(1).Fitness, 0.9);
    EXPECT_DOUBLE_EQ(Ga.Member(1).Gene[1][1], -1);
    EXPECT_DOUBLE_EQ(Ga.Member(0).Fitness, 0.3);

    // One member: nothing to scan, it is compared with the best directly.
    Population({0.7});
    Ga.RecordGeneration();
    EXPECT_DOUBLE_EQ(Ga.Best().Fitness, 0.7);
}

TEST_F(GaFixture, RouletteSelectionByCumulativeShare)
{
    // Shares 0, 0.25, 0.75: cumulative 0, 0.25, 1.0.
    Population({0, 0.25, 0.75});
    Rand({100, 300, 999});  // u = 0.1 -> member 1, 0.3 -> member 2, 0.999 -> member 2
    Ga.SelectPopulation();
    EXPECT_DOUBLE_EQ(Ga.Member(0).Gene[1][1], 11);
    EXPECT_DOUBLE_EQ(Ga.Member(1).Gene[1][1], 21);
    EXPECT_DOUBLE_EQ(Ga.Member(2).Fitness, 0.75);
    EXPECT_DOUBLE_EQ(Ga.Member(0).CumulativeFitness, 0.25);  // whole records travel

    // No fitness at all: member 0 everywhere.
    Population({0, 0, 0});
    Rand({500, 900, 100});
    Ga.SelectPopulation();
    for (int m = 0; m < 3; ++m)
        EXPECT_DOUBLE_EQ(Ga.Member(m).Gene[1][1], 1);
}

TEST_F(GaFixture, CrossoverPairsConsecutivePicks)
{
    Population({0.1, 0.2, 0.3, 0.4});
    D.GaCrossoverProb = 0.5;
    // Picks: member 0 (u 0.1), not 1 (0.9), member 2 (0.2) -> pair (0, 2) with
    // cut 1 % 2 + 1 = 2; member 3 (0.3) stays single.
    Rand({100, 900, 200, 1, 300});
    Ga.CrossoverPopulation();
    EXPECT_TRUE(T.Host.RandValues.empty());
    const double expected[4][4] = {{21, 22, 3, 4}, {11, 12, 13, 14}, {1, 2, 23, 24}, {31, 32, 33, 34}};
    for (int m = 0; m < 4; ++m)
        for (int g = 1; g <= 4; ++g)
            EXPECT_DOUBLE_EQ(Ga.Member(m).Gene[1][g], expected[m][g - 1]) << m << " " << g;

    // One active gene has no cut point: nothing is exchanged, nothing drawn.
    Population({0.1, 0.2});
    D.ActiveGeneCount = 1;
    Rand({0, 0, 77});
    Ga.CrossoverPopulation();
    EXPECT_EQ(T.Host.RandValues.size(), 1u);
    EXPECT_DOUBLE_EQ(Ga.Member(0).Gene[1][1], 1);
}

TEST_F(GaFixture, MutationRedrawsGenesBelowTheProbability)
{
    Population({0.1, 0.2});
    D.GaMutationProb = 0.1;
    for (int g = 1; g <= 3; ++g)
        D.GeneMin[g] = 100, D.GeneMax[g] = 200;
    // Member 0: gene 1 mutates (u 0.05) to 100 + 0.5 * 100; genes 2, 3 not.
    // Member 1: gene 1 not; gene 2 mutates (u 0.02) to 100; gene 3 not.
    Rand({50, 500, 900, 100, 999, 20, 0, 900});
    Ga.MutatePopulation();
    EXPECT_TRUE(T.Host.RandValues.empty());
    EXPECT_DOUBLE_EQ(Ga.Member(0).Gene[1][1], 150);
    EXPECT_DOUBLE_EQ(Ga.Member(0).Gene[1][2], 2);
    EXPECT_DOUBLE_EQ(Ga.Member(1).Gene[1][1], 11);
    EXPECT_DOUBLE_EQ(Ga.Member(1).Gene[1][2], 100);
    EXPECT_DOUBLE_EQ(Ga.Member(1).Gene[1][3], 13);
    EXPECT_DOUBLE_EQ(Ga.Best().Gene[1][1], 0);  // the best slot is never mutated
}

// Squad composition with bits (0, 0, 2^29), as a population drawn from a
// file's gene ranges may hold: K = 1 + 0 + 0 + 4 x 2^29, capped at the 8
// squads asked for. No bit flips (u 0.9 >= 0.5 three times), the sizes are
// permuted (u 0.1): all eight squads keep their sizes, in some order. A sum
// taken in int wraps below 1 and keeps squad 1 alone, zeroing the rest.
TEST_F(GaFixture, CompositionBitsOfAnyMagnitudeCountSquadsWide)
{
    D.GaPopulationSize = 1;
    D.GaSearchMode = GaCompositionMode;
    D.GaMutationProb = 0.5;
    D.GaMaxSquadCount = 8;
    D.GaSearchSquadMatrix = 0;
    double* gene = Ga.Member(0).Gene[1];
    gene[1] = gene[2] = 0;
    gene[3] = 536870912.0;
    for (int j = 1; j <= 8; ++j)
        gene[3 + j] = 4 + j;  // 5..12
    Rand({900, 900, 900, 100});
    Ga.MutatePopulation();
    std::vector<double> sizes(gene + 4, gene + 12);
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<double>{5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST_F(GaFixture, SquadPartitionSplitsTheWholeForce)
{
    D.GaMaxSquadSize = 15;
    int out[SquadSlots];
    Ga.RandomSquadPartition(50, 1, out);
    EXPECT_EQ(out[1], 50);  // the remainder goes to the last squad

    // Whatever the draws: sizes of the K squads add up to N (a squad reached
    // after the force is used up gets none); the others stay 0.
    struct Case { int N, K; } cases[] = {{50, 8}, {30, 3}, {8, 8}, {300, 10}};
    for (const Case& c : cases)
        for (int trial = 0; trial < 20; ++trial) {
            Ga.RandomSquadPartition(c.N, c.K, out);
            EXPECT_EQ(std::accumulate(out + 1, out + c.K + 1, 0), c.N);
            for (int j = 1; j <= c.K; ++j)
                EXPECT_GE(out[j], 0);
            for (int j = c.K + 1; j < SquadSlots; ++j)
                EXPECT_EQ(out[j], 0);
        }
}

TEST_F(GaFixture, ResetEmptiesTheBestSlotAndHistory)
{
    D.GaPopulationSize = 5;
    Ga.Best().Fitness = 0.8;
    Ga.Best().Gene[3][7] = 2;
    D.GaGenWorst[999] = 0.2;
    T->RedForce.HOLD_flag[10] = 1;
    T->BlueForce.ADVANCE_flag[1] = 0;
    Ga.ResetGeneticAlgorithmState();
    EXPECT_EQ(Ga.Best().Fitness, 0);
    EXPECT_EQ(Ga.Best().Gene[3][7], 0);
    EXPECT_EQ(D.GaGenWorst[999], 1.0);
    EXPECT_EQ(D.GaWorstFitness, 1.0);
    EXPECT_EQ(T->RedForce.HOLD_flag[10], 0);
    EXPECT_EQ(T->BlueForce.ADVANCE_flag[1], 1);
}

}  // namespace
}  // namespace brevimar::testing
