// The sixteen sectors a global commander sees around each of its local
// commanders: their areas, and how densely enemies fill them.
//
// Seen from a commander at C, sector s is the wedge swept by the stretch of
// battlefield edge from E(s-1) through E(s) to E(s+1). Each of the two halves
// of that stretch lies on one straight edge, so the wedge is the union of two
// cones over straight segments and the open ray through E(s); a cone whose
// segment is in line with C has collapsed and holds nothing. Building the
// wedge this way also settles the commanders standing on an edge, where
// "the side of E(s)" means nothing because E(s) lies on a bounding ray.
#include <cmath>

#include "core/Document.h"

namespace brevimar {

namespace {

struct Point {
    float x;
    float y;
};

// Side of the battlefield the sector geometry is built for. Outside the
// playback modes the stored run's lattice size is stale (no scenario sets
// it), so the live battlefield decides.
float GeometrySize(const CBrevimarDoc& doc)
{
    const bool playback = doc.RunMode == PlaybackMode || doc.RunMode == ReplayMode;
    return static_cast<float>(playback ? doc.RunHeader.LatticeSize : doc.Battlefield.BattleSize);
}

int ClampedCommanderCount(const CLocalCommand& local)
{
    const int n = local.NumLocalCommanders;
    return n < 0 ? 0 : (n > MaxCommanders ? MaxCommanders : n);
}

int ClampedAgentCount(const CForce& force)
{
    const int n = force.NumAgents;
    return n < 0 ? 0 : (n > MaxAgents ? MaxAgents : n);
}

// A commander slot holding no valid agent index is read at agent 0.
int CommanderAgentIndex(const CLocalCommand& local, int c)
{
    const int a = local.CommanderAgent[c];
    return a < 0 || a > MaxAgents ? 0 : a;
}

// The exact (untruncated) edge points, E[0] = E16 and E[17] = E1 so that
// every sector has both neighbours at hand.
void ExactEdgePoints(float S, Point (&E)[SectorSlots + 1])
{
    const float q1 = S / 4, q2 = S / 2, q3 = 3 * S / 4;
    const Point ring[SectorCount] = {{1, 1}, {1, q1}, {1, q2}, {1, q3}, {1, S},  {q1, S}, {q2, S}, {q3, S},
                                     {S, S}, {S, q3}, {S, q2}, {S, q1}, {S, 1},  {q3, 1}, {q2, 1}, {q1, 1}};
    for (int s = 1; s <= SectorCount; ++s)
        E[s] = ring[s - 1];
    E[0] = E[SectorCount];
    E[SectorCount + 1] = E[1];
}

float Cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }

float Orientation(float v) { return CBrevimarDoc::Sign(v); }

// One sector's wedge as seen from a commander, relative to the commander.
struct Wedge {
    Point a, e, b;          // toward E(s-1), E(s), E(s+1)
    float turnAE, turnEB;   // orientation of each half; 0 = collapsed
    bool everything;        // a collapsed edge sector that counts every enemy
};

bool Contains(const Wedge& w, Point p)
{
    if (w.everything)
        return true;
    if (w.turnAE != 0 && Cross(w.a, p) * w.turnAE > 0 && Cross(p, w.e) * w.turnAE > 0)
        return true;
    if (w.turnEB != 0 && Cross(w.e, p) * w.turnEB > 0 && Cross(p, w.b) * w.turnEB > 0)
        return true;
    // The ray through E(s) divides the two halves and belongs to the sector.
    const bool eIsApex = w.e.x == 0 && w.e.y == 0;
    return !eIsApex && Cross(w.e, p) == 0 && w.e.x * p.x + w.e.y * p.y > 0;
}

// Sectors whose whole stretch of edge runs along the edge the commander
// stands on have no area. A commander on the left or right edge counts every
// enemy in them; the top and bottom edges are treated the same way, so that a
// commander's view does not depend on which edge it stands on.
bool CollapsedEdgeSector(int s, float X, float Y, float S)
{
    if (X == 1 && s >= 2 && s <= 4)
        return true;
    if (X == S && s >= 10 && s <= 12)
        return true;
    if (Y == S && s >= 6 && s <= 8)
        return true;
    if (Y == 1 && s >= 14 && s <= 16)
        return true;
    return false;
}

void ComputeSectorWeights(CBrevimarDoc& doc, Side side)
{
    CGlobalCommander& gc = doc.Global(side);
    const CLocalCommand& local = doc.Local(side);
    const CForce& own = doc.Force(side);
    const float S = GeometrySize(doc);
    const auto magnitude = [](float v) { return CBrevimarDoc::Sign(v) * v; };

    const int n = ClampedCommanderCount(local);
    for (int c = 1; c <= n; ++c) {
        const int agent = CommanderAgentIndex(local, c);
        const float X = static_cast<float>(own.AgentX[agent]);
        const float Y = static_cast<float>(own.AgentY[agent]);
        float* w = gc.SectorWeight[c];

        const float sigma1 = X + Y > S / 4 + 1 ? 1.0f : -1.0f;
        w[1] = (S - 4) * (S - 4) / 32 + sigma1 * magnitude((S - 4) * (4 * X + 4 * Y - S - 4)) / 32;
        w[2] = magnitude(X - 1) * magnitude(S - 2) / 4;
        w[3] = magnitude(X - 1) * S / 4;
        w[4] = w[3];

        // On a battlefield of side 4 the corner line through E4 and E6 is
        // undefined; the sector then has no area and takes the floor below.
        const float sigma5 = S - 4 != 0 && Y < S * (0.75f * S + X - 4) / (S - 4) ? 1.0f : -1.0f;
        w[5] = S * (S - 4) / 32 + sigma5 * magnitude(3 * S * S + 4 * S * X - 4 * S * Y - 16 * S + 16 * Y) / 32;
        w[6] = magnitude(S - Y) * magnitude(S - 2) / 4;
        w[7] = magnitude(S - Y) * S / 4;
        w[8] = w[7];

        const float sigma9 = Y < 7 * S / 4 - X ? 1.0f : -1.0f;
        w[9] = S * S / 32 + sigma9 * magnitude(S * (7 * S - 4 * X - 4 * Y)) / 32;
        w[10] = magnitude(S - X) * S / 4;
        w[11] = w[10];
        w[12] = magnitude(S - X) * magnitude(S - 2) / 4;

        const float sigma13 = Y > X * (S - 4) / S - 3 * S / 4 + 4 ? 1.0f : -1.0f;
        w[13] = S * (S - 4) / 32 + sigma13 * magnitude(3 * S * S - 4 * S * X + 4 * S * Y - 16 * S + 16 * X) / 32;
        w[14] = magnitude(Y - 1) * S / 4;
        w[15] = w[14];
        w[16] = magnitude(Y - 1) * magnitude(S - 2) / 4;

        // Densities divide by these; a sector with no area counts as one cell.
        for (int s = 1; s <= SectorCount; ++s)
            if (!(w[s] > 0))
                w[s] = 1.0f;
    }
}

void AddSectorTally(CBrevimarDoc& doc, Side side, int c, int s, int state, float ax, float X, float ay, float Y)
{
    if (c < 1 || c > MaxCommanders || s < 1 || s > SectorCount)
        return;
    CGlobalCommander& gc = doc.Global(side);
    const float ex = static_cast<float>(gc.SectorEdgeX[s]);
    const float ey = static_cast<float>(gc.SectorEdgeY[s]);
    const float d1 = std::sqrt((X - ex) * (X - ex) + (Y - ey) * (Y - ey));
    const float d2 = std::sqrt((X - ax) * (X - ax) + (Y - ay) * (Y - ay));
    const float amount = d2 <= gc.GC_frac_R[1] * d1 ? gc.GC_w_swath[1] : gc.GC_w_swath[3];
    if (state == Alive)
        gc.SectorAliveTally[c][s] += amount;
    else
        gc.SectorInjuredTally[c][s] += amount;
}

void CountSectors(CBrevimarDoc& doc, Side side)
{
    CGlobalCommander& gc = doc.Global(side);
    const CLocalCommand& local = doc.Local(side);
    const CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    const float S = GeometrySize(doc);

    Point E[SectorSlots + 1];
    ExactEdgePoints(S, E);

    const int n = ClampedCommanderCount(local);
    const int enemies = ClampedAgentCount(enemy);
    for (int c = 1; c <= n; ++c) {
        const int agent = CommanderAgentIndex(local, c);
        const float X = static_cast<float>(own.AgentX[agent]);
        const float Y = static_cast<float>(own.AgentY[agent]);
        float* alive = gc.SectorAliveTally[c];
        float* injured = gc.SectorInjuredTally[c];

        Wedge wedges[SectorSlots];
        for (int s = 1; s <= SectorCount; ++s) {
            Wedge& w = wedges[s];
            w.a = {E[s - 1].x - X, E[s - 1].y - Y};
            w.e = {E[s].x - X, E[s].y - Y};
            w.b = {E[s + 1].x - X, E[s + 1].y - Y};
            w.turnAE = Orientation(Cross(w.a, w.e));
            w.turnEB = Orientation(Cross(w.e, w.b));
            w.everything = CollapsedEdgeSector(s, X, Y, S);
            alive[s] = 0;
            injured[s] = 0;
        }

        for (int i = 1; i <= enemies; ++i) {
            const int state = enemy.AgentState[i];
            if (state <= 0)
                continue;
            const float ax = static_cast<float>(enemy.AgentX[i]);
            const float ay = static_cast<float>(enemy.AgentY[i]);
            const Point p = {ax - X, ay - Y};
            for (int s = 1; s <= SectorCount; ++s)
                if (Contains(wedges[s], p))
                    AddSectorTally(doc, side, c, s, state, ax, X, ay, Y);
        }

        for (int s = 1; s <= SectorCount; ++s) {
            alive[s] /= gc.SectorWeight[c][s];
            injured[s] /= gc.SectorWeight[c][s];
        }

        float aliveMax = 0, injuredMax = 0;
        for (int s = 1; s <= SectorCount; ++s) {
            if (alive[s] > aliveMax)
                aliveMax = alive[s];
            if (injured[s] > injuredMax)
                injuredMax = injured[s];
        }
        if (aliveMax == 0)
            aliveMax = 1.0f;
        if (injuredMax == 0)
            injuredMax = 1.0f;
        for (int s = 1; s <= SectorCount; ++s) {
            injured[s] /= injuredMax;
            alive[s] /= aliveMax;
        }
    }
}

}  // namespace

void CBrevimarDoc::ComputeRedSectorWeights() { ComputeSectorWeights(*this, Side::Red); }
void CBrevimarDoc::ComputeBlueSectorWeights() { ComputeSectorWeights(*this, Side::Blue); }
void CBrevimarDoc::CountRedSectors() { CountSectors(*this, Side::Red); }
void CBrevimarDoc::CountBlueSectors() { CountSectors(*this, Side::Blue); }

void CBrevimarDoc::AddRedSectorTally(int c, int s, int state, float ax, float X, float ay, float Y)
{
    AddSectorTally(*this, Side::Red, c, s, state, ax, X, ay, Y);
}

void CBrevimarDoc::AddBlueSectorTally(int c, int s, int state, float ax, float X, float ay, float Y)
{
    AddSectorTally(*this, Side::Blue, c, s, state, ax, X, ay, Y);
}

}  // namespace brevimar
