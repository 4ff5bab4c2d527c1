#include "files/AgentFile.h"

#include <algorithm>
#include <iostream>
#include <ostream>

#include "core/Document.h"
#include "files/AuxiliaryFileCommand.h"
#include "files/ReadReport.h"
#include "files/WordReader.h"

namespace brevimar {

namespace {

struct AgentRecord {
    int State = 0;
    int Squad = 0;
    int X = 0;
    int Y = 0;
};

void WriteSide(const CForce& f, std::ostream& out)
{
    const int n = std::clamp(f.NumAgents, 0, MaxAgents);
    out << n;
    for (int a = 1; a <= n; ++a)
        out << '\n' << f.AgentState[a] << ' ' << f.AgentSquad[a] << ' ' << f.AgentX[a] << ' ' << f.AgentY[a];
}

bool ReadSide(CWordReader& words, const char* side, std::vector<AgentRecord>* records, std::string* problem)
{
    int n = 0;
    if (!words.Read(n)) {
        *problem = DescribeReadFailure(words);
        return false;
    }
    if (n < 0 || n > MaxAgents) {
        *problem = std::string("the file gives ") + std::to_string(n) + " " + side +
                   " agent records; a side holds 0 to " + std::to_string(MaxAgents) + " agents";
        return false;
    }
    records->resize(n);
    for (int r = 0; r < n; ++r) {
        AgentRecord& rec = (*records)[r];
        if (!words.Read(rec.State) || !words.Read(rec.Squad) || !words.Read(rec.X) || !words.Read(rec.Y)) {
            *problem = DescribeReadFailure(words);
            return false;
        }
        const std::string which = std::string(side) + " agent record " + std::to_string(r + 1);
        if (rec.State < Dead || rec.State > Alive) {
            *problem = which + " has state " + std::to_string(rec.State) + "; states are 0 dead, 1 injured, 2 alive";
            return false;
        }
        if (rec.Squad < 1 || rec.Squad > MaxSquads) {
            *problem = which + " is in squad " + std::to_string(rec.Squad) + "; squads are numbered 1 to 10";
            return false;
        }
    }
    return true;
}

// Places the records of one side; the document's agent arrays were cleared.
void PlaceSide(CDocumentState& doc, CForce& f, const char* side, const std::vector<AgentRecord>& records,
               std::vector<std::string>* dropped)
{
    CBattlefield& field = doc.Battlefield;
    const int size = std::clamp(field.BattleSize, 1, MaxBattleSize);
    const int squadsBefore = std::clamp(f.NumSquads, 1, MaxSquads);
    int k = 0;
    int m = 1;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const AgentRecord& rec = records[r];
        if (rec.State <= Dead)
            continue;
        const auto drop = [&](const std::string& why) {
            dropped->push_back(std::string(side) + " agent record " + std::to_string(r + 1) + " at (" +
                               std::to_string(rec.X) + ", " + std::to_string(rec.Y) + "): " + why);
        };
        if (rec.X < 1 || rec.X > size || rec.Y < 1 || rec.Y > size) {
            drop("off the " + std::to_string(size) + " x " + std::to_string(size) + " battlefield");
            continue;
        }
        int& cell = field.AgentGrid[GridIndex(rec.X, rec.Y)];
        if (cell == CellAgent) {
            drop("on a cell an earlier record took (a cell holds one agent only)");
            continue;
        }
        // An agent stands on passable ground as it did when the file was
        // written; impassable terrain takes none.
        if (!AgentMayStand(field, GridIndex(rec.X, rec.Y))) {
            drop("on terrain no agent can stand on");
            continue;
        }
        cell = CellAgent;
        ++k;
        int squad = rec.Squad;
        m = std::max(m, squad);
        if (squad > squadsBefore) {
            squad = squadsBefore;
            m = squadsBefore;
        }
        ++f.num_per_squad[squad];
        f.StoredAgentState[k] = rec.State;
        f.AgentSquad[k] = f.StoredAgentSquad[k] = squad;
        f.StoredAgentX[k] = rec.X;
        f.StoredAgentY[k] = rec.Y;
        f.PlaceAgent(k, rec.X, rec.Y);
        f.SetAgentState(k, rec.State);
    }
    f.NumAgents = k;
    f.NumSquads = m;
}

}  // namespace

void WriteAgentText(const CDocumentState& doc, std::ostream& out)
{
    WriteSide(doc.RedForce, out);
    out << '\n';
    WriteSide(doc.BlueForce, out);
}

bool ReadAgentText(std::string_view text, CDocumentState* doc, std::string* problem,
                   std::vector<std::string>* dropped)
{
    CWordReader words(text);
    std::vector<AgentRecord> red, blue;
    if (!ReadSide(words, "RED", &red, problem) || !ReadSide(words, "BLUE", &blue, problem))
        return false;

    // Everything is checked: from here on nothing can fail. The agents leave
    // their cells; the ground under them stays.
    CBattlefield& field = doc->Battlefield;
    const int size = std::clamp(field.BattleSize, 1, MaxBattleSize);
    for (int x = 1; x <= size; ++x)
        for (int y = 1; y <= size; ++y) {
            const int i = GridIndex(x, y);
            if (field.AgentGrid[i] == CellAgent)
                field.AgentGrid[i] = CellFree;
        }
    for (CForce* f : {static_cast<CForce*>(&doc->RedForce), static_cast<CForce*>(&doc->BlueForce)}) {
        std::fill(std::begin(f->num_per_squad) + 1, std::end(f->num_per_squad), 0);
        for (int* a : {f->AgentState, f->AgentSquad, f->AgentX, f->AgentY, f->StoredAgentState, f->StoredAgentSquad,
                       f->StoredAgentX, f->StoredAgentY})
            std::fill_n(a + 1, MaxAgents, 0);
        f->RebuildAgentGrid();
    }
    PlaceSide(*doc, doc->RedForce, "RED", red, dropped);
    PlaceSide(*doc, doc->BlueForce, "BLUE", blue, dropped);
    return true;
}

void WriteAgentFile(CBrevimarDoc& doc)
{
    RunAuxiliaryWrite(doc, FileCommand::AgentWrite, [&](std::ostream& out) { WriteAgentText(doc, out); });
}

int LoadAgentDataFile(CBrevimarDoc& doc)
{
    std::vector<std::string> dropped;
    std::string path;
    const int read = RunAuxiliaryRead(doc, FileCommand::AgentRead, [&](std::string_view text, std::string* problem) {
        return ReadAgentText(text, &doc, problem, &dropped);
    }, &path);
    if (read == 0)
        return 0;
    doc.InitializeForcesFromAgentFile();
    if (!dropped.empty()) {
        std::string message = path + ": these agent records were not loaded:";
        for (const std::string& d : dropped)
            message += "\n" + d;
        ReportReadProblem(doc, message);
    }
    doc.host().InvalidateView();
    return 1;
}

}  // namespace brevimar
