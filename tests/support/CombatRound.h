// What the combat tests share: a document with two empty forces, the working
// arrays of one combat round, hand-made targeting lists, and a copy of the
// generator that predicts the document's draws.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "support/TestDocument.h"

namespace brevimar::testing {

struct DrawCopy {
    CUniformGenerator Generator;
    int Seed;
    double Plain() { return Generator.Draw(&Seed); }
    double Combat() { return (Plain() * 9999.0 + 1.0) * 0.0001; }
};

class CombatRound : public ::testing::Test {
protected:
    TestDocument doc;
    CForce& red = doc->RedForce;
    CForce& blue = doc->BlueForce;
    CBattlefield& field = doc->Battlefield;
    int redState[AgentSlots] = {};
    int blueState[AgentSlots] = {};
    int redHit[AgentSlots] = {};
    int blueHit[AgentSlots] = {};

    void StartRound(int seed)
    {
        field.BattleSize = 50;
        red.NumAgents = 0;
        blue.NumAgents = 0;
        doc->RandomState = seed;
    }
    void Targets(Side side, int i, std::initializer_list<int> enemies)
    {
        int* list = doc->EnemyList(side, i);
        int k = 0;
        for (int j : enemies)
            list[++k] = j;
        doc->Force(side).EnemyCount[i] = k;
    }
    void StartWorking()
    {
        for (int i = 1; i <= red.NumAgents; ++i)
            redState[i] = red.AgentState[i], redHit[i] = 0;
        for (int i = 1; i <= blue.NumAgents; ++i)
            blueState[i] = blue.AgentState[i], blueHit[i] = 0;
    }
    DrawCopy Draws() { return {doc->Generator, doc->RandomState}; }
    void ExpectSameGenerator(const DrawCopy& expected)
    {
        EXPECT_EQ(doc->RandomState, expected.Seed);
        EXPECT_EQ(doc->Generator.ShuffleOutput, expected.Generator.ShuffleOutput);
    }
};

}  // namespace brevimar::testing
