#include <string>

#include "core/Document.h"

namespace brevimar {

namespace {

// The blanks are part of the line's look: BLUE's injured label has one more
// blank before it than RED's. Built in place: the line is written on every
// tick of an interactive run.
void FormatRunStatus(const CBrevimarDoc& doc, const CAttritionCounts& counts, std::string& text)
{
    const CRunHeader& h = doc.RunHeader;
    text.clear();
    text += ' ';
    text += doc.InputFileName;
    text += "       [ TIME ]: ";
    text += std::to_string(h.CurrentStep);
    // A replayed history has agents of its own, whatever the scenario holds.
    const bool replay = doc.RunMode == ReplayMode;
    text += "      [RED/";
    text += std::to_string(replay ? h.RedCount : doc.RedForce.NumAgents);
    text += "] Alive ";
    text += std::to_string(counts.RedAlive);
    text += " / Injured ";
    text += std::to_string(counts.RedInjured);
    text += "   [BLUE/";
    text += std::to_string(replay ? h.BlueCount : doc.BlueForce.NumAgents);
    text += "] Alive ";
    text += std::to_string(counts.BlueAlive);
    text += "  / Injured ";
    text += std::to_string(counts.BlueInjured);
}

}  // namespace

void CBrevimarDoc::ShowRunStatus()
{
    const CRunHeader& h = RunHeader;
    FormatRunStatus(*this, {h.RedAlive, h.RedInjured, h.BlueAlive, h.BlueInjured}, StatusText);
    host().SetStatusText(StatusText);
}

std::string CBrevimarDoc::RecountedRunStatus() const
{
    std::string text;
    FormatRunStatus(*this, ShownCounts(), text);
    return text;
}

}  // namespace brevimar
