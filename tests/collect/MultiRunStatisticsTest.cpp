#include <gtest/gtest.h>

#include "support/TestDocument.h"

namespace brevimar {
namespace {

using testing::TestDocument;

void SetSample(CBrevimarDoc& doc, int s, int k, int redAlive, double comX)
{
    doc.SampleRedAlive[SampleIndex(s, k)] = redAlive;
    doc.MultiRunData.SampleCenterOfMass[0][SampleIndex(s, k)] = comX;
}

TEST(MultiRunAverages, WorkedExamples)
{
    // Two samples: 5 and 6 RED alive -> sum 11, truncated mean 5, deviation
    // sum |5-5| + |6-5| = 1. Centre-of-mass x 10 and 14 -> mean 12, dev 2.
    // Neighbours (kind 2, R = 3) 1.5 and 4.5 -> mean 3, dev 1.5.
    TestDocument doc;
    doc->AllocateMultiRunBuffers();
    doc->Series.MultiRunSampleCount = 2;
    doc->Series.MultiRunStepCount = 3;
    for (int k : {1, 2}) {
        SetSample(*doc, 1, k, 5, 10.0);
        SetSample(*doc, 2, k, 6, 14.0);
        doc->MultiRunData.SampleNeighbors[2][SampleRangeIndex(1, 3, k)] = 1.5;
        doc->MultiRunData.SampleNeighbors[2][SampleRangeIndex(2, 3, k)] = 4.5;
    }
    // Step 3 lies beyond T - 1 and is not averaged. Step 0, the deployment,
    // is: 9 and 9 RED alive -> sum 18, no spread.
    SetSample(*doc, 1, 3, 9, 99.0);
    SetSample(*doc, 1, 0, 9, 99.0);
    SetSample(*doc, 2, 0, 9, 99.0);
    doc->MultiRunCharts.MultiRunRedAliveSum[3] = -7;
    doc->AverageMultiRunSeries();
    const CMultiRunCharted& a = doc->MultiRunCharts;
    for (int k : {1, 2}) {
        EXPECT_EQ(a.MultiRunRedAliveSum[k], 11);
        EXPECT_EQ(a.MultiRunRedAliveDevSum[k], 1);
        EXPECT_DOUBLE_EQ(a.MultiRunMean[9][k], 12.0);
        EXPECT_DOUBLE_EQ(a.MultiRunDev[9][k], 2.0);
        EXPECT_DOUBLE_EQ(a.MultiRunNeighborMean[2][3][k], 3.0);
        EXPECT_DOUBLE_EQ(a.MultiRunNeighborDev[2][3][k], 1.5);
    }
    EXPECT_EQ(a.MultiRunRedAliveSum[3], -7);
    EXPECT_EQ(a.MultiRunRedAliveSum[0], 18);
    EXPECT_EQ(a.MultiRunRedAliveDevSum[0], 0);
    EXPECT_DOUBLE_EQ(a.MultiRunMean[9][0], 99.0);
}

TEST(MultiRunAverages, OneSampleHasNoSpreadAndNoSamplesAverageNothing)
{
    TestDocument doc;
    doc->AllocateMultiRunBuffers();
    doc->Series.MultiRunSampleCount = 1;
    doc->Series.MultiRunStepCount = 2;
    SetSample(*doc, 1, 1, 7, 3.25);
    doc->SampleRedCombatEntropy[SampleIndex(1, 1)] = 0.5;
    doc->AverageMultiRunSeries();
    const CMultiRunCharted& a = doc->MultiRunCharts;
    EXPECT_EQ(a.MultiRunRedAliveSum[1], 7);
    EXPECT_EQ(a.MultiRunRedAliveDevSum[1], 0);
    EXPECT_DOUBLE_EQ(a.MultiRunMean[9][1], 3.25);
    EXPECT_EQ(a.MultiRunDev[9][1], 0.0);
    EXPECT_DOUBLE_EQ(a.MultiRunCombatEntropyMean[0][1], 0.5);

    doc->Series.MultiRunSampleCount = 0;  // no division by zero
    SetSample(*doc, 1, 1, 8, 1.0);
    doc->AverageMultiRunSeries();
    EXPECT_EQ(a.MultiRunRedAliveSum[1], 7);
}

TEST(MultiRunStatistics, FilesUnderSampleAndStepAndLeavesTheRunsResultsAlone)
{
    TestDocument doc;
    CBrevimarDoc& d = *doc;
    d.AllocateMultiRunBuffers();
    d.Battlefield.BattleSize = 20;
    d.RedForce.NumAgents = 2;
    d.BlueForce.NumAgents = 1;
    d.RedForce.AgentState[1] = d.RedForce.AgentState[2] = Alive;
    d.BlueForce.AgentState[1] = Injured;
    d.RedForce.AgentX[1] = 2, d.RedForce.AgentY[1] = 4;
    d.RedForce.AgentX[2] = 6, d.RedForce.AgentY[2] = 8;
    d.BlueForce.AgentX[1] = 10, d.BlueForce.AgentY[1] = 1;
    d.Statistics.CenterOfMassOn = 1;
    d.Statistics.InterpointOn = 0;
    d.Collected.CenterOfMassSeries[0][4] = -1.0;
    d.RunHeader.CurrentStep = 4;
    d.Series.MultiRunSample = 350;
    d.Series.MultiRunStep = 200;
    d.ComputeMultiRunStatistics();
    const int cell = SampleIndex(350, 200);
    // RED x (2 + 6) / 2 = 4, y 6; BLUE (10, 1); all x 18 / 3 = 6, y 13 / 3.
    const double expected[6] = {4.0, 6.0, 10.0, 1.0, 6.0, 13.0 / 3.0};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(d.MultiRunData.SampleCenterOfMass[i][cell], expected[i]) << i;
    EXPECT_EQ(d.SampleRedAlive[cell], 2);
    EXPECT_EQ(d.SampleBlueInjured[cell], 1);
    EXPECT_EQ(d.MultiRunData.SampleInterpoint[0][cell], 0.0) << "switched off";
    EXPECT_EQ(d.Collected.CenterOfMassSeries[0][4], -1.0);
    EXPECT_EQ(d.Collected.CenterOfMass[0], 0.0);

    // Outside the arrays nothing is filed (and nothing is written out of bounds).
    d.Series.MultiRunSample = MultiRunSampleSlots;
    d.ComputeMultiRunStatistics();
}

TEST(MultiRunStatistics, ResetEmptiesTheHandOffButKeepsTheAverages)
{
    TestDocument doc;
    CMultiRunCharted& a = doc->MultiRunCharts;
    a.MultiRunGraphCount = 5;
    doc->MultiRunGraphLabels[6] = "x";
    a.MultiRunGraphSeries[6][200] = a.MultiRunGraphDev[0][1] = 3.0;
    a.MultiRunMean[0][1] = 2.0;
    doc->ResetMultipleRunStatistics();
    EXPECT_EQ(a.MultiRunGraphCount, 1);
    EXPECT_EQ(doc->MultiRunGraphLabels[6], "");
    EXPECT_EQ(a.MultiRunGraphSeries[6][200], 0.0);
    EXPECT_EQ(a.MultiRunGraphDev[0][1], 0.0);
    EXPECT_EQ(a.MultiRunMean[0][1], 2.0);
}

}  // namespace
}  // namespace brevimar
