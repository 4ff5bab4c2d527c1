// Small genetic algorithms and fitness landscapes run through the program's
// commands, and the scenario they run on as text, for the tests of what a
// batch leaves in the document.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppFixture.h"
#include "experiments/LandscapeSetup.h"
#include "files/ScenarioWriter.h"

namespace brevimar::testing {

// What the scenario file would hold, and the communications and inter-squad
// weight matrices it does not.
inline std::string Scenario(const CBrevimarDoc& doc)
{
    std::ostringstream out;
    WriteScenario(doc, out);
    out << "\nlinks set " << doc.CommMatricesSet;
    for (Side side : {Side::Red, Side::Blue}) {
        for (const auto& row : doc.Force(side).CommMatrix)
            for (int link : row)
                out << ' ' << link;
        for (const auto& row : doc.Force(side).SquadWeightMatrix)
            for (double weight : row)
                out << ' ' << weight;
    }
    return out.str();
}

// A GA input file of search mode `mode`: population 3, 2 generations, one
// condition of 3 steps, primitive 3 alone weighed, no mutation. Every gene g
// is on over the single value gene(g), so every member holds it.
inline std::string GaFile(int mode, const std::function<int(int g)>& gene)
{
    std::ostringstream f;
    f << "GA input file of search space\nmode " << mode;
    for (const char* value : {"0", "3", "3", "2", "1", "3", "1", "0", "0", "0", "0.5", "0"})
        f << "\nv " << value;
    f << "\n* mission weights w1 to w10\nw 0";
    for (int k = 2; k <= 10; ++k)
        f << "\nw " << (k == 3);
    f << "\nrule 0\nrange 5\nnumber 3\nfraction 0.5\n* genes on min max\ng";
    for (int g = 1; g <= 63; ++g)
        f << (g > 1 ? "\ng" : "") << " 1 " << gene(g) << ' ' << gene(g);
    return f.str() + '\n';
}

// Every gene over `gene`, but the box and centre genes 60..63 of the
// personality modes, which take 20 (they range over 1..150).
inline std::string GaFile(int mode, int gene = 1)
{
    const bool matrix = mode == 3 || mode == 5 || mode == 6;
    return GaFile(mode, [=](int g) { return g >= 60 && !matrix ? 20 : gene; });
}

// Runs the batch that stands for two ticks: two generations, or a sweep and
// the tick after it.
inline void RunTwoTicks(CMainFrame& frame)
{
    ASSERT_TRUE(frame.RunCommand(CBrevimarView::ID_RUN));
    for (int i = 0; i < 2; ++i)
        frame.ActiveView()->OnTimer(CBrevimarView::RunTimerId);
}

// Chooses a GA search mode or the landscape, small.
inline void ChooseBatch(CMainFrame& frame, CBrevimarDoc& doc, unsigned command)
{
    ASSERT_TRUE(frame.RunCommand(command)) << command;
    if (command == CBrevimarView::ID_RUN_MODE_LANDSCAPE) {
        CLandscapeSettings& s = doc.Landscape.Settings;
        s.LandscapeXParameter = 2, s.LandscapeXMin = 6, s.LandscapeXMax = 8, s.LandscapeXSamples = 1;
        s.LandscapeYParameter = 30, s.LandscapeYMin = -1, s.LandscapeYMax = 1, s.LandscapeYSamples = 1;
        s.LandscapeInitialConditions = 1;
        s.LandscapeMaxTimeToFlag = 3;
        DeriveLandscapeGrid(doc);
    } else {
        doc.Ga.GaPopulationSize = 3;
        doc.Ga.GaInitialConditions = 1;
        doc.Ga.GaMaxTimeToFlag = 3;
        doc.Experiment.GaGenerations = 2;
    }
}

// Chooses a GA search mode or the landscape and runs two ticks of it, small.
inline void RunBatch(CMainFrame& frame, CBrevimarDoc& doc, unsigned command)
{
    ChooseBatch(frame, doc, command);
    RunTwoTicks(frame);
}

// The ten values after the n-th (from 1) label `label` of a file's text.
inline std::vector<double> RowAfter(const std::string& text, const std::string& label, int n)
{
    std::istringstream words(text);
    std::string word;
    while (words >> word)
        if (word == label && --n == 0)
            break;
    std::vector<double> row(10);
    for (double& v : row)
        words >> v;
    return row;
}

// A landscape input file: one condition of 3 steps; RED squad 1's alive
// sensor range over 6..8 and its alive COMBAT threshold over -1..1, two
// values each; the territorial box (120, 40, 50, 10); measure k weighed by
// itself alone. `symmetrize` switches on both symmetrisations.
inline std::string LandscapeFileText(bool symmetrize = false)
{
    const char* on = symmetrize ? "1" : "0";
    std::string text = std::string("LANDSCAPE INPUT FILE version 1 x\nsym_AI ") + on + "\nsym_W " + on +
                       "\nIC 1\nT_max 3\npower 1\nterm 4\nD 5\nN 12\ncom 0.25\n"
                       "TERRITORY POSSESSION PARAMETERS header 6 x\n"
                       "use 0\nR 2\nN 3\ndelta 1\ncx 120\nrx 40\ncy 50\nry 10\ntmin 5\ntmax 30\n"
                       "XY PARAMETERS header words 6 6\n"
                       "squad 1\nx 2\nxmin 6\nxmax 8\nxs 1\ny 30\nymin -1\nymax 1\nys 1\n"
                       "PLOT a b c d\nplot 1\ngraph 1\ncolor 1\nMATRIX h h h h h\n";
    for (int i = 1; i <= 12; ++i) {
        text += "row";
        for (int c = 1; c <= 12; ++c)
            text += i == c ? " 1" : " 0";
        text += '\n';
    }
    return text;
}

}  // namespace brevimar::testing
