// A squad added to a side is a copy of a squad it has: every per-squad value
// the document keeps for it (the scenario's squad rows, the deployment box
// and centre, weapon carriers and the hit-probability function in use, the
// squad's row and column of both inter-squad matrices, the on-the-fly
// movement gate and the passable-terrain modifiers), so that it deploys and
// fights as its source does until the user makes it differ.
#pragma once

#include "core/Limits.h"
#include "core/Side.h"

namespace brevimar {

struct CDocumentState;

// Squad `to` of an inter-squad matrix is linked as squad `from` is: its row
// and column are `from`'s, and `from` and `to` are linked with each other as
// `from` is with itself.
template <typename T>
void CopySquadRowAndColumn(T (&matrix)[SquadSlots][SquadSlots], int from, int to)
{
    if (from < 1 || from > MaxSquads || to < 1 || to > MaxSquads || from == to)
        return;
    for (int j = 1; j <= MaxSquads; ++j)
        matrix[to][j] = matrix[from][j];
    // Row `to` already holds `from`'s: [to][to] becomes [from][from].
    for (int i = 1; i <= MaxSquads; ++i)
        matrix[i][to] = matrix[i][from];
}

// Squad `to` of the side takes every per-squad value squad `from` holds; no
// agent of it was removed by hand.
void CopySquadValues(CDocumentState& doc, Side side, int from, int to);

// The side grows to `count` squads (at most 10): each squad above its squad
// count becomes a copy of its last squad, and the squad count is `count`.
// The agent total stays the caller's, who decides the squads' sizes. A count
// no larger than the side's changes nothing.
void AddSquadCopies(CDocumentState& doc, Side side, int count);

}  // namespace brevimar
