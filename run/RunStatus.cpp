#include <string>

#include "core/Document.h"

namespace brevimar {

void CBrevimarDoc::ShowRunStatus()
{
    // The blanks are part of the line's look: BLUE's injured label has one
    // more blank before it than RED's.
    // Built in place: the line is written on every tick of an interactive run.
    std::string& text = StatusText;
    text.clear();
    text += ' ';
    text += InputFileName;
    text += "       [ TIME ]: ";
    text += std::to_string(RunHeader.CurrentStep);
    // A replayed history has agents of its own, whatever the scenario holds.
    const bool replay = RunMode == ReplayMode;
    text += "      [RED/";
    text += std::to_string(replay ? RunHeader.RedCount : RedForce.NumAgents);
    text += "] Alive ";
    text += std::to_string(RunHeader.RedAlive);
    text += " / Injured ";
    text += std::to_string(RunHeader.RedInjured);
    text += "   [BLUE/";
    text += std::to_string(replay ? RunHeader.BlueCount : BlueForce.NumAgents);
    text += "] Alive ";
    text += std::to_string(RunHeader.BlueAlive);
    text += "  / Injured ";
    text += std::to_string(RunHeader.BlueInjured);
    host().SetStatusText(text);
}

void CBrevimarDoc::ShowMultipleTimeSeriesStatus()
{
    std::string& text = StatusText;
    text.clear();
    text += ' ';
    text += InputFileName;
    text += "      [ Samples ]: ";
    text += std::to_string(Series.MultiRunSample);
    text += '/';
    text += std::to_string(Series.MultiRunSampleCount);
    text += "     [ Time ]: ";
    text += std::to_string(Series.MultiRunStep);
    text += '/';
    text += std::to_string(Series.MultiRunStepCount);
    host().SetStatusText(text);
}

}  // namespace brevimar
