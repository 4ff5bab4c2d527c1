// Decoding known chromosomes, the mission primitives on hand-made end
// states, and the status line.
#include <gtest/gtest.h>

#include "experiments/GaEngine.h"
#include "support/TestDocument.h"

namespace brevimar::testing {
namespace {

struct GaDecodeFixture : ::testing::Test {
    TestDocument T;
    CGeneticAlgorithm Ga{*T};
    CGaData& D = T->Ga;
    CRedForce& Red = T->RedForce;

    void SetUp() override
    {
        Ga.SetGAModeDefaults();  // genes 1..6, 9..40 searched; 7, 8, 41.. not
        D.GaPopulationSize = 2;
        T->RunMode = GeneticAlgorithmMode;
    }
    double* Genes(int m = 0, int s = 1) { return Ga.Member(m).Gene[s]; }
};

TEST_F(GaDecodeFixture, PersonalityGenesIntoSquadParameters)
{
    D.GaSearchMode = GaPersonalityMode;
    Red.A_M_RANGE[1] = 3;
    Red.A_R_R_min_dist[1] = 4;
    double* g = Genes();
    g[1] = 5.7;               // A:S_RANGE 5
    g[2] = 0.3;               // I:S_RANGE 0 -> 1
    g[3] = 7.2;               // A:F_RANGE 7, at most A:S_RANGE -> 5
    g[4] = 0.9;               // I:F_RANGE 0 -> 1
    g[7] = 0.5;               // not searched: A:M_RANGE stays 3
    g[9] = 0.99, g[10] = 0.9; // below the weight threshold 1.0 -> 0
    g[11] = 42.5, g[12] = 0.3;  // w2 -42.5
    g[13] = 1.0, g[14] = 0.7;   // w3 +1
    g[37] = 12.8, g[38] = 0.2;  // A:COMBAT_num -12
    g[41] = 1, g[42] = 6;       // switch 41 not searched: distances 0, genes cleared
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.A_S_RANGE[1], 5);
    EXPECT_EQ(Red.I_S_RANGE[1], 1);
    EXPECT_EQ(Red.A_F_RANGE[1], 5);
    EXPECT_EQ(Red.I_F_RANGE[1], 1);
    EXPECT_EQ(Red.A_M_RANGE[1], 3);
    EXPECT_EQ(Red.w1_a[1], 0.0f);
    EXPECT_EQ(Red.w2_a[1], -42.5f);
    EXPECT_EQ(Red.w3_a[1], 1.0f);
    EXPECT_EQ(Red.A_COMBAT_num[1], -12);
    EXPECT_EQ(Red.A_R_R_min_dist[1], 0.0f);
    EXPECT_EQ(g[41], 0);
    EXPECT_EQ(g[42], 0);
    EXPECT_EQ(Red.HOLD_flag[1], 0);
    EXPECT_EQ(T->BlueForce.COMBAT_flag[10], 1);

    // Symmetrized: the injured twins take the alive values, searched or not.
    D.GaSymmetrize = 1;
    g[2] = 9;
    g[21] = 50, g[22] = 0.9;
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.I_S_RANGE[1], 5);
    EXPECT_EQ(Red.w1_i[1], 0.0f);
    EXPECT_EQ(Red.I_COMBAT_num[1], -12);
}

TEST_F(GaDecodeFixture, MinimumDistanceSwitch)
{
    D.GaSearchMode = GaPersonalityMode;
    for (int g = 41; g <= 47; ++g)
        D.GeneOn[g] = 1;
    D.GeneOn[45] = 0;
    double* g = Genes();
    g[41] = 0.7, g[42] = 2.5, g[45] = 9, g[46] = 3.25;
    Red.I_R_B_min_dist[1] = 7;
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.A_R_R_min_dist[1], 2.5f);
    EXPECT_EQ(Red.I_R_B_min_dist[1], 7.0f);  // gene 45 not searched
    EXPECT_EQ(Red.A_R_R_goal_min[1], 3.25f);
    g[41] = 0.2;
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.A_R_R_min_dist[1], 0.0f);
    EXPECT_EQ(Red.I_R_B_min_dist[1], 0.0f);
}

TEST_F(GaDecodeFixture, SquadCompositionStopsAtTheForceSize)
{
    D.GaSearchMode = GaCompositionMode;
    D.GaTotalForceSize = 50;
    D.GaSearchSquadMatrix = 1;
    double* g = Genes();
    g[1] = g[2] = g[3] = 1;  // K = 1 + 1 + 2 + 4 = 8
    const double sizes[8] = {10, 10, 10, 30, 5, 5, 5, 5};
    for (int i = 1; i <= 8; ++i)
        g[3 + i] = sizes[i - 1];
    g[11 + CGeneticAlgorithm::MatrixGene(2, 3)] = -0.4;
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.NumAgents, 50);
    EXPECT_EQ(Red.NumSquads, 4);
    EXPECT_EQ(Red.num_per_squad[4], 20);
    EXPECT_EQ(Red.num_per_squad[3], 10);
    EXPECT_EQ(D.GaSquadCount, 4);
    EXPECT_EQ(Red.SquadWeightMatrix[2][3], -0.4);

    // Bits (1, 0, 1) ask for 6 squads; the maximum squad number caps them.
    g[2] = 0;
    D.GaMaxSquadCount = 4;
    for (int i = 1; i <= 8; ++i)
        g[3 + i] = 5;
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.NumSquads, 4);
    EXPECT_EQ(Red.num_per_squad[4], 35);  // the last squad takes the shortfall

    // Bits drawn from a file's ranges may be any value: 1 + 1e9 + 2e9 + 4e9
    // asks for more squads than any int holds, and gets the maximum.
    g[1] = g[2] = g[3] = 1e9;
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.NumSquads, 4);
}

TEST_F(GaDecodeFixture, CommunicationsMatrixIsMirrored)
{
    D.GaSearchMode = GaCommMatrixMode;
    D.GaForceSymmetry = 1;
    Red.NumSquads = 3;
    double* g = Genes();
    g[CGeneticAlgorithm::MatrixGene(1, 2)] = 1;  // gene 9
    g[CGeneticAlgorithm::MatrixGene(3, 3)] = 1;  // gene 19
    Ga.DecodeChromosome(0, 1);
    EXPECT_EQ(Red.CommMatrix[1][2], 1);
    EXPECT_EQ(Red.CommMatrix[2][1], 1);
    EXPECT_EQ(Red.CommMatrix[3][3], 1);
    EXPECT_EQ(Red.CommMatrix[1][1], 0);

    // The display record shows the genes as they are and changes nothing live.
    Ga.Best().Gene[1][CGeneticAlgorithm::MatrixGene(2, 1)] = 1;
    Red.CommMatrix[2][1] = 0;
    Ga.DecodeBestChromosome();
    EXPECT_EQ(D.GaBestDecoded.CommMatrix[2][1], 1);
    EXPECT_EQ(D.GaBestDecoded.CommMatrix[1][2], 0);
    EXPECT_EQ(Red.CommMatrix[2][1], 0);
}

struct GaScoreFixture : GaDecodeFixture {
    // RED 4 agents (3 live), BLUE 5 (1 live).
    void EndState()
    {
        Red.NumAgents = 4;
        T->BlueForce.NumAgents = 5;
        const int redStates[5] = {0, 2, 1, 0, 2};
        const int blueStates[6] = {0, 0, 0, 1, 0, 0};
        for (int i = 1; i <= 4; ++i)
            Red.AgentState[i] = redStates[i];
        for (int i = 1; i <= 5; ++i)
            T->BlueForce.AgentState[i] = blueStates[i];
    }
};

TEST_F(GaScoreFixture, PrimitivesOnAKnownEndState)
{
    EndState();
    D.GaConditionIndex = 1;
    D.GaPenaltyPower = 2;
    D.GaMaxTimeToFlag = 50;
    D.GaMinTimeToFlag = 10;
    D.GaTime = 30;
    D.GaEndTime = 20;
    D.GaContainmentStart = 10;
    for (int k = 1; k <= 10; ++k)
        D.MissionWeight[k] = 0.1;
    D.PrimitiveScore[5][1] = 10;
    D.PrimitiveScore[6][1] = 5;
    D.PrimitiveScore[7][1] = 5;
    D.PrimitiveScore[8][1] = 2;
    T->Battlefield.red_frat_flag = 1;
    T->Battlefield.blue_frat_flag = 1;
    T->Battlefield.RedFratricideCount = 1;
    T->Battlefield.BlueFratricideCount = 10;
    Ga.ScoreRun();
    const double expected[11] = {
        0,
        0.25,                 // ((50 - 30) / (50 - 10))^2
        0.5625,               // (3 / 4)^2
        0.64,                 // ((5 - 1) / 5)^2
        (3 / 3.25) * (3 / 3.25),  // r = 0.75: (0.75 * 4 / (3 * 0.75 + 1))^2
        0.25,                 // (1 - 10 / 20)^2
        0.0625,               // (5 / 20)^2
        0.25,                 // (5 / (20 - 10))^2
        0.64,                 // (1 - 2 / 10)^2
        0.5625,               // (1 - 1 / 4)^2
        1.0,                  // min(10 / 5, 1)^2
    };
    for (int k = 1; k <= 10; ++k)
        EXPECT_NEAR(D.PrimitiveScore[k][1], expected[k], 1e-12) << k;
    EXPECT_EQ(D.GaRedSurvivors, 3);
    EXPECT_EQ(D.GaBlueSurvivors, 1);
}

TEST_F(GaScoreFixture, GuardsAgainstDivisionByZero)
{
    EndState();
    D.GaConditionIndex = 2;
    D.GaPenaltyPower = 1;
    D.GaMaxTimeToFlag = 20;
    D.GaMinTimeToFlag = 20;  // span 0 counts as 1
    D.GaTime = 20;
    D.GaEndTime = 20;
    D.GaContainmentStart = 20;  // the run ended as containment began
    D.MissionWeight[7] = 1;
    T->BlueForce.NumAgents = 1;
    T->BlueForce.AgentState[1] = 0;
    Ga.ScoreRun();
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[1][2], 0);
    // One BLUE agent, dead: RED's share 3/4.
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[4][2], 0.75);
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[7][2], 1);
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[8][2], 1);
}

// Primitive 4, base r (N_B - 1) / ((N_B - 2) r + 1) with
// r = (RED survivors / N_R) / max(BLUE survivors, 1), penalty power 1.
TEST_F(GaScoreFixture, SurvivalRatioByBlueForceSize)
{
    struct Case {
        int redAlive, nBlue, blueAlive;
        double expected;
    } const cases[] = {
        {4, 2, 0, 1.0},    // r = 1: 1 / (0 + 1)
        {4, 2, 1, 1.0},    // r = 1 / 1: 1 / (0 + 1); two BLUE agents take the formula, not the guard
        {2, 2, 1, 0.5},    // r = 0.5 / 1: 0.5 / (0 + 1)
        {4, 2, 2, 0.5},    // r = 1/2: 0.5 / (0 + 1)
        {3, 2, 2, 0.375},  // r = 0.75 / 2: 0.375 / (0 + 1)
        {4, 5, 0, 1.0},    // r = 1: 4 / (3 + 1)
        {4, 5, 5, 0.5},    // r = 1/5: 0.8 / (0.6 + 1)
        {4, 1, 0, 1.0},    // one BLUE agent, dead: RED's share
        {4, 1, 1, 0.5},    // standing: half of it
        {3, 1, 1, 0.375},
    };
    D.GaConditionIndex = 1;
    D.GaPenaltyPower = 1;
    Red.NumAgents = 4;
    for (const Case& c : cases) {
        for (int i = 1; i <= 4; ++i)
            Red.AgentState[i] = i <= c.redAlive ? 2 : 0;
        T->BlueForce.NumAgents = c.nBlue;
        for (int i = 1; i <= c.nBlue; ++i)
            T->BlueForce.AgentState[i] = i <= c.blueAlive ? 1 : 0;
        Ga.ScoreRun();
        EXPECT_DOUBLE_EQ(D.PrimitiveScore[4][1], c.expected) << c.redAlive << " " << c.nBlue << " " << c.blueAlive;
    }
}

TEST_F(GaScoreFixture, FitnessIsTheWeightedMeanClamped)
{
    D.GaInitialConditions = 2;
    for (int k = 1; k <= 10; ++k)
        D.MissionWeight[k] = 0;
    D.MissionWeight[2] = 0.5, D.MissionWeight[3] = 0.5;
    D.PrimitiveScore[2][1] = 0.2, D.PrimitiveScore[3][1] = 0.6;
    D.PrimitiveScore[2][2] = 1.0, D.PrimitiveScore[3][2] = 0.0;
    EXPECT_DOUBLE_EQ(Ga.MemberFitness(), (0.4 + 0.5) / 2);
    D.MissionWeight[2] = 4;
    EXPECT_DOUBLE_EQ(Ga.MemberFitness(), 1.0);
    D.MissionWeight[2] = -4;
    EXPECT_DOUBLE_EQ(Ga.MemberFitness(), 0.0);
}

TEST_F(GaScoreFixture, PerStepMeasures)
{
    T->Battlefield.BattleSize = 100;
    D.GaConditionIndex = 1;
    D.GaDistanceNorm = 100;
    D.GaCenterOfMassFraction = 0.5;
    Red.NumAgents = 3;
    Red.AgentX[1] = 10, Red.AgentY[1] = 10, Red.AgentState[1] = 2;
    Red.AgentX[2] = 20, Red.AgentY[2] = 20, Red.AgentState[2] = 1;
    Red.AgentX[3] = 90, Red.AgentY[3] = 90, Red.AgentState[3] = 0;
    Red.GoalFlagX = 15, Red.GoalFlagY = 55;  // centre (15, 15): 40 away -> 0.4
    T->BlueForce.NumAgents = 0;              // no centre: (0, 0), 5 from (3, 4)
    T->BlueForce.GoalFlagX = 3, T->BlueForce.GoalFlagY = 4;
    D.GaStopFlag = 0;
    Ga.UpdateCenterOfMassMeasure();
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[5][1], 0.4);
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[6][1], 0.05);
    EXPECT_EQ(D.GaStopFlag, 1);

    // Square of half-side 2 around (20, 18): agent 2 only (agent 1 too far).
    Red.GoalFlagX = 20, Red.GoalFlagY = 18;
    D.GaContainmentRange = 2.9;
    D.GaContainmentNumber = 2;
    D.GaRedContainmentCap = 4;
    D.GaBlueContainmentCap = 0;
    D.GaStopFlag = 0;
    Ga.UpdateFlagContainment();
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[7][1], 0.25);
    EXPECT_DOUBLE_EQ(D.PrimitiveScore[8][1], 0);
    EXPECT_EQ(D.GaStopFlag, 0);
}

TEST_F(GaScoreFixture, MemberConstantsFromTheSquadBoxes)
{
    CBattlefield& f = T->Battlefield;
    f.BattleSize = 100;
    D.GaSquadCount = 1;
    D.GaContainmentRange = 10;
    f.R_box_l[1] = 10, f.R_box_w[1] = 6, f.RED_cen_x[1] = 20, f.RED_cen_y[1] = 13;  // corner (15, 10)
    // BLUE squads count by the chromosome's squad numbers, 1..GaSquadCount
    // as far as BLUE has them; the distances are to (5 + 10, 5 + 10).
    T->BlueForce.NumSquads = 3;
    f.B_box_l[1] = 4, f.B_box_w[1] = 4, f.BLUE_cen_x[1] = 55, f.BLUE_cen_y[1] = 17;  // corner (53, 15): 38
    f.B_box_l[2] = 2, f.B_box_w[2] = 2, f.BLUE_cen_x[2] = 21, f.BLUE_cen_y[2] = 21;  // corner (20, 20): 7.07
    f.B_box_l[3] = 2, f.B_box_w[3] = 2, f.BLUE_cen_x[3] = 17, f.BLUE_cen_y[3] = 16;  // corner (16, 15): 1
    f.B_box_l[4] = 2, f.B_box_w[4] = 2, f.BLUE_cen_x[4] = 16, f.BLUE_cen_y[4] = 16;  // corner (15, 15): not BLUE's
    Red.GoalFlagX = 45, Red.GoalFlagY = 50;
    T->BlueForce.GoalFlagX = 5, T->BlueForce.GoalFlagY = 5;
    Red.NumAgents = 500;  // no cap from the force for this check
    T->BlueForce.NumAgents = 100;
    Ga.ComputeMemberConstants();
    EXPECT_EQ(D.GaMinTimeToFlag, 49);           // 30, 40 -> 50, less 1
    EXPECT_EQ(D.GaDistanceNorm, 142);            // 1 + trunc(141.42135)
    EXPECT_EQ(D.GaRedContainmentCap, 441);       // 21 x 21 cells inside
    EXPECT_EQ(D.GaBlueContainmentCap, 100);      // 15 x 15 = 225 cells, capped at NumBlue
    EXPECT_EQ(D.GaRedContainmentStart, 35);      // (15, 10) to (35, 40): trunc(36.06) - 1
    EXPECT_EQ(D.GaBlueContainmentStart, 37);     // squad 1 only: 38 - 1
    EXPECT_EQ(D.GaContainmentStart, 35);

    const struct {
        int squads, expected;
    } cases[] = {{2, 6}, {3, 0}, {5, 0}};  // squad 2: trunc(7.07) - 1; squad 3: 1 - 1; squad 4 unread
    for (const auto& c : cases) {
        D.GaSquadCount = c.squads;
        Ga.ComputeMemberConstants();
        EXPECT_EQ(D.GaBlueContainmentStart, c.expected) << c.squads;
    }
}

TEST_F(GaScoreFixture, StatisticsAndStatusLine)
{
    D.GaPopulationSize = 3;
    T->Experiment.GaGeneration = 4;
    T->Experiment.GaGenerations = 9;
    Ga.ResetGeneticAlgorithmState();
    T->Experiment.GaGeneration = 4;
    Ga.Member(0).Fitness = 0.3, Ga.Member(1).Fitness = 0.6, Ga.Member(2).Fitness = 0.0;
    Ga.Best().Fitness = 0.61237;
    Ga.GenerationStatistics();
    EXPECT_DOUBLE_EQ(D.GaGenBest[4], 0.6);
    EXPECT_DOUBLE_EQ(D.GaGenWorst[4], 0.0);
    EXPECT_DOUBLE_EQ(D.GaGenAverage[4], 0.3);
    EXPECT_DOUBLE_EQ(D.GaBestFitness, 0.61237);

    T->InputFileName = "duel.dat";
    D.GaMemberIndex = 2, D.GaConditionIndex = 1, D.GaInitialConditions = 2, D.GaTime = 7, D.GaMaxTimeToFlag = 50;
    EXPECT_EQ(Ga.GaStatusLine(),
              " duel.dat      [ G ]: 4/9   [ P ]: 2/3   [ IC ]: 1/2   [ T ]: 7/50     [ F_max ]: 6123 / 10000");
}

}  // namespace
}  // namespace brevimar::testing
