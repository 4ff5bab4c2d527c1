// The agent data file (*.agt): every agent of both forces by state, squad and
// cell, so that a deployment can be saved and later restored exactly.
//
//   NumRed
//   state squad x y      (one line per RED agent)
//   NumBlue
//   state squad x y      (one line per BLUE agent)
//
// Loading replaces both forces with the file's agents and keeps a copy of
// them from which battlefield set-up deploys while the deployment source is
// the agent file.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace brevimar {

class CBrevimarDoc;
struct CDocumentState;

void WriteAgentText(const CDocumentState& doc, std::ostream& out);

// Reads both sides into the document's agents and their stored copies and
// marks the agents' cells; the terrain under them stays. A record is skipped
// when its state is 0; a living record off the battlefield, on impassable
// terrain or on a cell an earlier record took is dropped and named, with the
// reason, in *dropped. Passable ground takes its agent.
// Refused, with the document unchanged: a count above 300 or below 0, a
// squad outside 1..10, a state outside 0..2, a file that breaks off. Does not
// re-derive the forces.
bool ReadAgentText(std::string_view text, CDocumentState* doc, std::string* problem,
                   std::vector<std::string>* dropped);

void WriteAgentFile(CBrevimarDoc& doc);
// Reads the file and re-derives the forces from it: 1 when a file was read.
int LoadAgentDataFile(CBrevimarDoc& doc);

}  // namespace brevimar
