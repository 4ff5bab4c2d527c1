// A side's global commander: once a step it gives every local commander a
// target on the battlefield edge and, when a nearby command is markedly
// weaker, a help cell.
//
// The target is the sector with the lowest score, where a sector's score
// mixes the enemy density seen in it with the side's directional profile.
// Ties are settled by widening rings of neighbouring sectors, each ring
// first offering the side's preferred sectors (RED leans toward sector 9,
// BLUE toward sector 1), and in the end by a draw.
#include <cmath>
#include <cstdlib>

#include "core/Document.h"

namespace brevimar {

namespace {

constexpr int TieStages = 4;

int Ring(int s) { return ((s - 1) % SectorCount + SectorCount) % SectorCount + 1; }

int ClampedCommanderCount(const CLocalCommand& local)
{
    const int n = local.NumLocalCommanders;
    return n < 0 ? 0 : (n > MaxCommanders ? MaxCommanders : n);
}

int CommanderAgentIndex(const CLocalCommand& local, int c)
{
    const int a = local.CommanderAgent[c];
    return a < 0 || a > MaxAgents ? 0 : a;
}

// The sector each side leans toward: the profile's zero.
int PreferredSector(Side side) { return side == Side::Red ? 9 : 1; }

// Scales a stage's scores by their running maximum. The zero test sits inside
// the loop, so a stage that opens with a zero maximum divides by 1 unless a
// later score exceeds 1. A negative maximum (negative weights or profile)
// would reverse the order of the scores, so its magnitude is used instead.
void Normalise(float* score, int n)
{
    float m = -1;
    for (int k = 0; k < n; ++k) {
        if (score[k] > m)
            m = score[k];
        if (m == 0)
            m = 1;
    }
    if (m < 0)
        m = -m;
    for (int k = 0; k < n; ++k)
        score[k] /= m;
}

// Keeps in `list` only the sectors at the lowest score, in their order.
// Scores that never compare (not a number) leave the list as it was.
int KeepLowest(int* list, const float* score, int n)
{
    float best = 999999.0f;
    for (int k = 0; k < n; ++k)
        if (score[k] < best)
            best = score[k];
    int kept = 0;
    for (int k = 0; k < n; ++k)
        if (score[k] == best)
            list[kept++] = list[k];
    return kept == 0 ? n : kept;
}

// The preferred sector present in the tie list after `stage`, or 0. Of a
// pair present together, the one later in the list wins.
int FindPreference(Side side, int stage, const int* list, int n)
{
    const int peak = PreferredSector(side);
    for (int o = 0; o < stage; ++o) {
        int found = 0;
        for (int k = 0; k < n; ++k)
            if (list[k] == Ring(peak - o) || list[k] == Ring(peak + o))
                found = list[k];
        if (found != 0)
            return found;
    }
    return 0;
}

// The j-th of k entries for (j - 1) / k < u <= j / k.
int SplitByDraw(CBrevimarDoc& doc, int k)
{
    return PickTied(static_cast<float>(doc.DrawUniform(&doc.RandomState)), k);
}

int ChooseTargetSector(CBrevimarDoc& doc, Side side, int c)
{
    const CGlobalCommander& gc = doc.Global(side);
    const float f = gc.GC_fear_index;
    const float* profile = gc.SectorProfile;

    float enemy[SectorSlots];
    for (int s = 1; s <= SectorCount; ++s)
        enemy[s] = gc.GC_w_alpha * gc.SectorAliveTally[c][s] + gc.GC_w_beta * gc.SectorInjuredTally[c][s];

    int list[SectorCount];
    float score[SectorCount];
    int n = SectorCount;
    for (int k = 0; k < n; ++k)
        list[k] = k + 1;

    for (int stage = 1; stage <= TieStages; ++stage) {
        const int o = stage - 1;
        for (int k = 0; k < n; ++k) {
            const int s = list[k];
            if (stage == 1) {
                score[k] = f * enemy[s] + (1 - f) * profile[s];
            } else {
                const int lo = Ring(s - o), hi = Ring(s + o);
                score[k] = f * (enemy[lo] + enemy[hi]) + (1 - f) * (profile[lo] + profile[hi]);
            }
        }
        Normalise(score, n);
        n = KeepLowest(list, score, n);
        if (n == 1)
            return list[0];
        if (const int preferred = FindPreference(side, stage, list, n))
            return preferred;
    }
    return list[SplitByDraw(doc, n) - 1];
}

// The help cell of commander c, or (0, 0). A commander helps only from a
// positive health: the weakness test divides by it, and at or below zero its
// sense would turn round (stronger commands would look weaker).
void ChooseHelpCell(CBrevimarDoc& doc, Side side, int c, int n, int* helpX, int* helpY)
{
    const CGlobalCommander& gc = doc.Global(side);
    const CLocalCommand& local = doc.Local(side);
    const CForce& own = doc.Force(side);
    *helpX = 0;
    *helpY = 0;

    const float Hc = local.CommanderHealth[c];
    if (n <= 1 || !(Hc > gc.GC_h_thresh) || !(Hc > 0))
        return;

    const int agent = CommanderAgentIndex(local, c);
    const int xc = own.AgentX[agent], yc = own.AgentY[agent];
    const int R = gc.GC_help_radius;

    int candidates[MaxCommanders];
    float distance[MaxCommanders];
    int count = 0;
    for (int j = 1; j <= n; ++j) {
        if (j == c)
            continue;
        const int aj = CommanderAgentIndex(local, j);
        const int dx = own.AgentX[aj] - xc, dy = own.AgentY[aj] - yc;
        if (std::abs(dx) > R || std::abs(dy) > R)
            continue;
        if (!(1 - local.CommanderHealth[j] / Hc >= gc.GC_rel_h_thresh))
            continue;
        candidates[count] = aj;
        distance[count] = std::sqrt(static_cast<float>(dx * dx + dy * dy));
        ++count;
    }
    if (count == 0)
        return;

    int chosen = candidates[0];
    if (count > 1) {
        float best = 999999.0f;
        for (int k = 0; k < count; ++k)
            if (distance[k] < best)
                best = distance[k];
        int nearest = 0;
        for (int k = 0; k < count; ++k)
            if (distance[k] == best)
                candidates[nearest++] = candidates[k];
        chosen = nearest == 1 ? candidates[0] : candidates[SplitByDraw(doc, nearest) - 1];
    }
    *helpX = own.AgentX[chosen];
    *helpY = own.AgentY[chosen];
}

void DecideGlobalOrders(CBrevimarDoc& doc, Side side)
{
    CGlobalCommander& gc = doc.Global(side);
    const int n = ClampedCommanderCount(doc.Local(side));
    for (int c = 1; c <= n; ++c) {
        const int sector = ChooseTargetSector(doc, side, c);
        gc.GcTargetX[c] = gc.SectorEdgeX[sector];
        gc.GcTargetY[c] = gc.SectorEdgeY[sector];
        ChooseHelpCell(doc, side, c, n, &gc.GcHelpX[c], &gc.GcHelpY[c]);
    }
}

}  // namespace

void CBrevimarDoc::RedGlobalCommand()
{
    ComputeRedSectorWeights();
    CountRedSectors();
    DecideRedGlobalOrders();
}

void CBrevimarDoc::BlueGlobalCommand()
{
    ComputeBlueSectorWeights();
    CountBlueSectors();
    DecideBlueGlobalOrders();
}

void CBrevimarDoc::DecideRedGlobalOrders() { DecideGlobalOrders(*this, Side::Red); }
void CBrevimarDoc::DecideBlueGlobalOrders() { DecideGlobalOrders(*this, Side::Blue); }

}  // namespace brevimar
