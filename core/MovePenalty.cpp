// Movement penalties: each admissible cell of an agent's movement box gets the
// sum of distance terms toward (positive weight) or away from (negative
// weight) everything the agent knows of. Move selection takes the smallest.
//
// Penalties are single-precision sums whose exact equality decides ties, so
// every term is formed left to right as written, ((c * dNew) / D), and added
// in a fixed order. The agent-side part of each term (which branch of the
// minimum-distance rule applies, the factor c, the divisor D) depends only on
// the agent's own cell, so it is worked out once per call; the term is then
// added to all admissible candidates in one pass. Each candidate still
// receives its terms in the prescribed order.
//
// That order holds only while no product is fused with the sum after it, so
// contraction is asked off for the whole file. GCC honours its optimize
// pragma for this whatever the build's flags, -ffp-contract=fast included (it
// ignores the standard pragma). Clang honours the standard pragma against its
// default and -ffp-contract=on, but -ffp-contract=fast (and -ffast-math)
// override it: there the build's own -ffp-contract=off (CMakeLists.txt) is
// what holds.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define BREVIMAR_AVX_TERMS 1
#endif

#include "core/Document.h"
#include "core/PenaltyTerms.h"

namespace brevimar {

namespace {

// Start of the nearest-terrain search.
constexpr float NoTerrainFound = 999999.0f;

// Targets whose coordinates stay within this bound give squared distances to
// any battlefield cell below 2^24, exact in single precision; their distances
// can then be taken in single precision with the same result.
constexpr int ExactFloatCoordinate = 2048;

// Distance between two cells as the penalties hold it: the square root of the
// integer sum of squares, rounded to single precision.
float CellDistance(int ax, int ay, int bx, int by)
{
    const double dx = static_cast<double>(ax) - bx;
    const double dy = static_cast<double>(ay) - by;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

#if defined(BREVIMAR_AVX_TERMS)
// The terms eight cells at a time, on processors that have AVX: each lane's
// operations and their order are those of the four-lane form below.
__attribute__((target("avx"))) void AddTermsEightLanes(const float* X, const float* Y, float* P, int count, float tx,
                                                       float ty, float c, float D, float post, bool scaled)
{
    const __m256 vx = _mm256_set1_ps(tx), vy = _mm256_set1_ps(ty);
    const __m256 vc = _mm256_set1_ps(c), vd = _mm256_set1_ps(D), vpost = _mm256_set1_ps(post);
    for (int n = 0; n < count; n += 8) {
        const __m256 dx = _mm256_sub_ps(_mm256_load_ps(X + n), vx);
        const __m256 dy = _mm256_sub_ps(_mm256_load_ps(Y + n), vy);
        const __m256 dNew = _mm256_sqrt_ps(_mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(dy, dy)));
        __m256 term = _mm256_div_ps(_mm256_mul_ps(vc, dNew), vd);
        if (scaled)
            term = _mm256_mul_ps(term, vpost);
        _mm256_store_ps(P + n, _mm256_add_ps(_mm256_load_ps(P + n), term));
    }
}
#endif

// The terms four cells at a time (one at a time without SSE2).
template <bool Scaled>
void AddTermsFourLanes(const float* X, const float* Y, float* P, int count, float tx, float ty, float c, float D,
                       float post)
{
#if defined(__SSE2__)
    const __m128 vx = _mm_set1_ps(tx), vy = _mm_set1_ps(ty);
    const __m128 vc = _mm_set1_ps(c), vd = _mm_set1_ps(D), vpost = _mm_set1_ps(post);
    for (int n = 0; n < count; n += 4) {
        const __m128 dx = _mm_sub_ps(_mm_load_ps(X + n), vx);
        const __m128 dy = _mm_sub_ps(_mm_load_ps(Y + n), vy);
        const __m128 dNew = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy)));
        __m128 term = _mm_div_ps(_mm_mul_ps(vc, dNew), vd);
        if constexpr (Scaled)
            term = _mm_mul_ps(term, vpost);
        _mm_store_ps(P + n, _mm_add_ps(_mm_load_ps(P + n), term));
    }
#else
    for (int n = 0; n < count; ++n) {
        const float dx = X[n] - tx, dy = Y[n] - ty;
        float term = c * std::sqrt(dx * dx + dy * dy) / D;
        if constexpr (Scaled)
            term = term * post;
        P[n] = P[n] + term;
    }
#endif
}

// The admissible candidates of one evaluation, packed; lanes past Count are
// padding that nobody reads.
struct Candidates {
    static constexpr int Capacity = 88;  // 81 rounded up to whole groups of eight
    int Count = 0;
    int TableIndex[Capacity];
    int CellX[Capacity];
    int CellY[Capacity];
    alignas(32) float X[Capacity];
    alignas(32) float Y[Capacity];
    alignas(32) float P[Capacity];

    void Add(int index, int x, int y)
    {
        TableIndex[Count] = index;
        CellX[Count] = x;
        CellY[Count] = y;
        X[Count] = static_cast<float>(x);
        Y[Count] = static_cast<float>(y);
        P[Count] = 0.0f;
        ++Count;
    }
    // Only the lanes of the last group of eight are ever read past Count.
    void Pad()
    {
        for (int n = Count, end = (Count + 7) & ~7; n < end; ++n) {
            X[n] = Y[n] = P[n] = 0.0f;
            CellX[n] = CellY[n] = 0;
        }
    }

    // P := P + ((c * dNew) / D) [* post], dNew the candidate's distance to (tx, ty).
    template <bool Scaled>
    void AddTerm(int tx, int ty, float c, float D, float post = 1.0f)
    {
        if (tx < -ExactFloatCoordinate || tx > ExactFloatCoordinate || ty < -ExactFloatCoordinate ||
            ty > ExactFloatCoordinate) {
            for (int n = 0; n < Count; ++n) {
                float term = c * CellDistance(CellX[n], CellY[n], tx, ty) / D;
                if constexpr (Scaled)
                    term = term * post;
                P[n] = P[n] + term;
            }
            return;
        }
#if defined(BREVIMAR_AVX_TERMS)
        if (Count > 4 && __builtin_cpu_supports("avx")) {
            AddTermsEightLanes(X, Y, P, Count, static_cast<float>(tx), static_cast<float>(ty), c, D, post, Scaled);
            return;
        }
#endif
        AddTermsFourLanes<Scaled>(X, Y, P, Count, static_cast<float>(tx), static_cast<float>(ty), c, D, post);
    }
};

// The moving agent, as the terms see it.
struct Mover {
    const CForce& Own;
    int Index;
    int X, Y;
    bool IsAlive, IsInjured;
    bool Rules;  // movement_flag: the minimum-distance rules apply
    float N;     // distance normaliser

    float Weight(int k) const { return IsAlive ? Own.AliveWeight[k][Index] : Own.InjuredWeight[k][Index]; }
    // The term exists for the agent's state only with a non-zero base weight.
    bool Uses(int k) const
    {
        return (IsAlive && Own.AliveWeight[k][Index] != 0.0f) || (IsInjured && Own.InjuredWeight[k][Index] != 0.0f);
    }
    bool TooClose(float dCur, float aliveMin, float injuredMin) const
    {
        return Rules && ((IsAlive && dCur < aliveMin) || (IsInjured && dCur < injuredMin));
    }
    // First factor of a term under the minimum-distance rule: -|w(k)| * F when the
    // target is nearer than the agent's minimum distance, else Eff * F.
    float RuleFactor(int k, float F, float eff, bool tooClose) const
    {
        return tooClose ? -std::fabs(Weight(k)) * F : eff * F;
    }
};

enum class TerrainTargets { None, Every, Nearest };

}  // namespace

void AddPenaltyTermsFourLanes(const float* X, const float* Y, float* P, int count, float tx, float ty, float c,
                              float D, float post, bool scaled)
{
    if (scaled)
        AddTermsFourLanes<true>(X, Y, P, count, tx, ty, c, D, post);
    else
        AddTermsFourLanes<false>(X, Y, P, count, tx, ty, c, D, post);
}

bool AddPenaltyTermsEightLanes(const float* X, const float* Y, float* P, int count, float tx, float ty, float c,
                               float D, float post, bool scaled)
{
#if defined(BREVIMAR_AVX_TERMS)
    if (__builtin_cpu_supports("avx")) {
        AddTermsEightLanes(X, Y, P, count, tx, ty, c, D, post, scaled);
        return true;
    }
#endif
    return false;
}

float CBrevimarDoc::EvalMovePenalties(Side side, MovePenaltyKind kind, int i, int r, float initialMin,
                                      float* penalties, int goalX, int goalY)
{
    r = std::clamp(r, 0, MaxMoveRange);
    const CForce& own = Force(side);
    const CForce& enemy = Force(Opponent(side));
    const CLocalCommand& local = Local(side);
    const CBattlefield& field = Battlefield;
    const int size = std::min(field.BattleSize, MaxBattleSize);
    const int x = own.AgentX[i];
    const int y = own.AgentY[i];
    auto onField = [size](int cx, int cy) { return cx >= 1 && cy >= 1 && cx <= size && cy <= size; };

    // An empty enemy flag cell anywhere in the box is within reach, admissible or not.
    if (field.termination == 1 && onField(goalX, goalY) && std::abs(goalX - x) <= r && std::abs(goalY - y) <= r &&
        field.AgentGrid[GridIndex(goalX, goalY)] == CellFree)
        GoalInReach = SideCode(side);

    // A way to a cell of the box tests cells inside it alone.
    const bool wayTests = !PathsClearIn(SquareBox(x, y, r));
    int* admissible = AdmissibleCells.get();
    Candidates cand;
    for (int dx = -r; dx <= r; ++dx) {
        for (int dy = -r; dy <= r; ++dy) {
            const int index = MoveTableIndex(dx, dy);
            admissible[index] = 0;
            const int cx = x + dx, cy = y + dy;
            if (!onField(cx, cy))
                continue;
            const int cell = GridIndex(cx, cy);
            const int grid = field.AgentGrid[cell];
            if (grid != CellFree && !(grid == CellTerrain && field.TerrainType[cell] > 2))
                continue;
            if (wayTests && IsPathBlocked(x, y, cx, cy))
                continue;
            admissible[index] = 1;
            cand.Add(index, cx, cy);
        }
    }
    if (cand.Count == 0)
        return initialMin;
    cand.Pad();

    const int state = own.AgentState[i];
    const Mover m{own, i, x, y, state == Alive, state == Injured, own.MovementFlag[i] == 1, own.DistanceNormaliser[i]};
    const float N = m.N;

    // 1. Flock: rings around the local centre of mass, no minimum-distance rule.
    if (m.Uses(WFlock)) {
        const double cdx = x - own.LocalCenterX, cdy = y - own.LocalCenterY;
        const double dCur = std::sqrt(cdx * cdx + cdy * cdy);
        const float ringMin = m.IsAlive ? own.FlockMinAlive[i] : own.FlockMinInjured[i];
        const float ringMax = m.IsAlive ? own.FlockMaxAlive[i] : own.FlockMaxInjured[i];
        const float w = std::fabs(own.FlockWeight[i]);
        const float c = dCur <= ringMin ? -w : (dCur >= ringMax ? w : 0.0f);
        if (dCur <= ringMin || dCur >= ringMax) {
            for (int n = 0; n < cand.Count; ++n) {
                const double dx = cand.CellX[n] - own.LocalCenterX, dy = cand.CellY[n] - own.LocalCenterY;
                const float dNew = static_cast<float>(std::sqrt(dx * dx + dy * dy));
                cand.P[n] = cand.P[n] + c * dNew / N;
            }
        }
    }

    // 2. The squad's area box, unless the agent is inside it and drawn to it.
    if (m.Uses(WArea)) {
        const int s = own.AgentSquad[i];
        const int ax = own.AreaCenterX[s], ay = own.AreaCenterY[s];
        const bool inside = x >= std::max(ax - own.AreaRangeX[s], 1) && x <= std::min(ax + own.AreaRangeX[s], size) &&
                            y >= std::max(ay - own.AreaRangeY[s], 1) && y <= std::min(ay + own.AreaRangeY[s], size);
        const float eff = own.EffWArea[i];
        if (!inside || eff <= 0.0f) {
            const float dCur = CellDistance(ax, ay, x, y);
            const bool close = m.TooClose(dCur, own.AreaMinDistAlive[i], own.AreaMinDistInjured[i]);
            cand.AddTerm<false>(ax, ay, m.RuleFactor(WArea, 1.0f, eff, close), N);
        }
    }

    // 3. Impassable terrain within the agent's alive sensor range.
    if (field.TerrainMode > 0 && m.Uses(WTerrain)) {
        TerrainTargets targets = TerrainTargets::Every;
        if (own.near_terrain_flag != 0) {
            // Only RED's plain evaluator insists on the exact value 1.
            const bool strict = side == Side::Red && kind == MovePenaltyKind::Default;
            targets = (!strict || own.near_terrain_flag == 1) ? TerrainTargets::Nearest : TerrainTargets::None;
        }
        const int R = own.SensorRangeAlive[i];
        const int x0 = std::max(x - R, 1), x1 = std::min(x + R, size);
        const int y0 = std::max(y - R, 1), y1 = std::min(y + R, size);
        const float eff = own.EffWTerrain[i];
        auto addTerrain = [&](int tx, int ty, float dCur) {
            const bool close = m.TooClose(dCur, own.TerrainMinDistAlive[i], own.TerrainMinDistInjured[i]);
            cand.AddTerm<false>(tx, ty, m.RuleFactor(WTerrain, 1.0f, eff, close), N);
        };
        if (targets != TerrainTargets::None) {
            float nearest = NoTerrainFound;
            int nx = 0, ny = 0;
            for (int tx = x0; tx <= x1; ++tx) {
                for (int ty = y0; ty <= y1; ++ty) {
                    const int cell = GridIndex(tx, ty);
                    if (field.AgentGrid[cell] != CellTerrain || field.TerrainType[cell] >= 3)
                        continue;
                    const float d = CellDistance(tx, ty, x, y);
                    if (targets == TerrainTargets::Every) {
                        addTerrain(tx, ty, d);
                    } else if (d < nearest) {
                        nearest = d;
                        nx = tx;
                        ny = ty;
                    }
                }
            }
            if (targets == TerrainTargets::Nearest && nearest < NoTerrainFound)
                addTerrain(nx, ny, nearest);
        }
    }

    // 4./5. Friends and enemies; via-communications reports only in that variant.
    const bool comm = kind == MovePenaltyKind::Communications;
    const float C = comm ? (m.IsInjured ? own.CommWeightInjured : own.CommWeightAlive) : 0.0f;
    const int squad = own.AgentSquad[i];
    int aliveFriends = 0, aliveEnemies = 0;

    // During a step the grids mark which flags can be set, so only those
    // agents are visited, still in ascending index; otherwise all of them.
    const SideNeighborGrid* grid = StepGrid(side);
    auto visit = [&](const AgentBits& sensed, const AgentBits& heard, const AgentBits* only, int n, auto&& f) {
        if (!grid) {
            for (int j = 1; j <= n; ++j)
                f(j);
            return;
        }
        AgentBits marked = sensed;
        if (comm)
            marked.Or(heard);
        if (only)
            for (int k = 0; k < AgentBits::Words; ++k)
                marked.W[k] &= only->W[k];
        marked.ForEach([&](int j) {
            if (j <= n)
                f(j);
        });
    };
    const AgentBits none;

    auto addFriend = [&](int j) {
        const bool sensed = grid ? grid->FriendSensed(j) : own.FriendSensed[j] == 1;
        const bool heard = grid ? grid->FriendCommMarks.Has(j) : own.FriendViaComm[j] == 1;
        if (!sensed && !(comm && heard && C != 0.0f))
            return;
        const float M = static_cast<float>(own.SquadWeightMatrix[squad][own.AgentSquad[j]]);
        if (M == 0.0f)
            return;
        const int fs = own.AgentState[j];
        if (fs != Alive && fs != Injured)
            return;
        if (fs == Alive)
            ++aliveFriends;
        const int fx = own.AgentX[j], fy = own.AgentY[j];
        const float dCur = CellDistance(fx, fy, x, y);
        const bool close = m.TooClose(dCur, own.FriendMinDistAlive[i], own.FriendMinDistInjured[i]);
        const float c = fs == Alive ? m.RuleFactor(W1, M, own.EffW1[i], close)
                                    : m.RuleFactor(W3, M, own.EffW3[i], close);
        if (sensed)
            cand.AddTerm<false>(fx, fy, c, N);
        else
            cand.AddTerm<true>(fx, fy, c, N, C);
    };
    auto addFriends = [&] {
        // Friends of squads this squad gives no weight add nothing.
        const AgentBits* weighted = grid && squad >= 0 && squad < SquadSlots ? &grid->WeightedFriends[squad] : nullptr;
        visit(grid ? grid->FriendSensedMarks : none, grid ? grid->FriendCommMarks : none, weighted, own.NumAgents,
              addFriend);
    };

    auto addEnemy = [&](int j) {
        const bool sensed = grid ? grid->EnemySensed(j) : own.EnemySensed[j] == 1;
        const bool heard = grid ? grid->EnemyCommMarks.Has(j) : own.EnemyViaComm[j] == 1;
        if (!sensed && !(comm && heard && C != 0.0f))
            return;
        const int es = enemy.AgentState[j];
        if (es != Alive && es != Injured)
            return;
        const int k = es == Alive ? W2 : W4;
        const float eff = es == Alive ? own.EffW2[i] : own.EffW4[i];
        if (es == Alive)
            ++aliveEnemies;
        const int ex = enemy.AgentX[j], ey = enemy.AgentY[j];
        const float dCur = CellDistance(ex, ey, x, y);
        const bool close = eff > 0.0f && m.TooClose(dCur, own.EnemyMinDistAlive[i], own.EnemyMinDistInjured[i]);
        float c;
        if (sensed)
            c = m.RuleFactor(k, 1.0f, eff, close);
        else  // heard of: the agent's own base weight, not this step's effective one
            c = close ? -std::fabs(m.Weight(k)) * C : m.Weight(k) * C;
        cand.AddTerm<false>(ex, ey, c, N);
    };
    auto addEnemies = [&] {
        visit(grid ? grid->EnemySensedMarks : none, grid ? grid->EnemyCommMarks : none, nullptr, enemy.NumAgents,
              addEnemy);
    };

    if (side == Side::Red) {
        addFriends();
        addEnemies();
    } else {
        addEnemies();
        addFriends();
    }

    // 6. The count that scales the flag and command terms.
    int K = (own.EffW1[i] != 0.0f ? aliveFriends : 0) + (own.EffW2[i] != 0.0f ? aliveEnemies : 0) +
            (own.EffW3[i] != 0.0f ? own.Scan.InjuredFriendsSensed : 0) +
            (own.EffW4[i] != 0.0f ? own.Scan.InjuredEnemiesSensed : 0);
    if (K == 0)
        K = 1;
    const float fK = static_cast<float>(K);

    // 7. Own flag: the goal cell of the other side's block.
    if (own.EffW5[i] != 0.0f) {
        const int tx = enemy.GoalFlagX, ty = enemy.GoalFlagY;
        const float dCur = CellDistance(tx, ty, x, y);
        if (dCur > 0.0f) {
            const bool close = m.TooClose(dCur, own.GoalMinDistAlive[i], own.GoalMinDistInjured[i]);
            cand.AddTerm<false>(tx, ty, m.RuleFactor(W5, fK, own.EffW5[i], close), dCur);
        }
    }

    // 8. Enemy flag.
    if (own.EffW6[i] != 0.0f) {
        const int tx = own.GoalFlagX, ty = own.GoalFlagY;
        const float dCur = CellDistance(tx, ty, x, y);
        if (dCur > 0.0f)
            cand.AddTerm<false>(tx, ty, fK * own.EffW6[i], dCur);
    }

    const bool hasW = m.IsAlive || m.IsInjured;
    const float W = m.IsAlive ? own.MaxAliveWeight[i] : own.MaxInjuredWeight[i];

    // 9. The agent's local commander and the goal it set.
    const int lc = local.CommanderOf[i];
    if (local.LocalCommandOn == 1 && lc >= 1 && lc <= MaxCommanders && hasW) {
        const int ca = local.CommanderAgent[lc];
        if (ca >= 1 && ca <= MaxAgents) {
            const int tx = own.AgentX[ca], ty = own.AgentY[ca];
            const float dCur = CellDistance(tx, ty, x, y);
            if (dCur > static_cast<float>(local.CommandPatchSize[lc]))
                cand.AddTerm<false>(tx, ty, W * local.LocalCommanderWeight * fK, dCur);
        }
        const int tx = local.AgentGoalX[i], ty = local.AgentGoalY[i];
        const float dCur = CellDistance(tx, ty, x, y);
        if (dCur > 0.0f)
            cand.AddTerm<false>(tx, ty, W * local.LocalGoalWeight * fK, dCur);
    }

    // 10. The global commander's orders to a local commander.
    const CGlobalCommander& global = Global(side);
    const int gc = local.CommanderNumberOf[i];
    if (kind == MovePenaltyKind::GlobalCommand && global.GlobalCommandOn == 1 &&
        local.CommandRole[i] == LocalCommander && gc >= 1 && gc <= MaxCommanders && hasW) {
        const float obey = local.ObeyGlobalWeight[gc];
        const float help = local.HelpLocalWeight[gc];
        const int txT = global.GcTargetX[gc], tyT = global.GcTargetY[gc];
        const int txH = global.GcHelpX[gc], tyH = global.GcHelpY[gc];
        const float dTarget = CellDistance(txT, tyT, x, y);
        if (local.NumLocalCommanders == 1 || (txH == 0 && tyH == 0)) {
            if (dTarget > 0.0f)
                cand.AddTerm<false>(txT, tyT, obey * W * fK, dTarget);
        } else {
            if (dTarget > 0.0f)
                cand.AddTerm<false>(txT, tyT, (1.0f - help) * obey * W * fK, dTarget);
            const float dHelp = CellDistance(txH, tyH, x, y);
            if (dHelp > 0.0f)
                cand.AddTerm<false>(txH, tyH, help * obey * W * fK, dHelp);
        }
    }

    float best = initialMin;
    for (int n = 0; n < cand.Count; ++n) {
        const float P = cand.P[n];
        penalties[cand.TableIndex[n]] = P;
        if (P <= best)
            best = P;
    }
    return best;
}

float CBrevimarDoc::EvalRedMovePenalties(int agent, int r, float initialMin, float* penalties)
{
    return EvalMovePenalties(Side::Red, MovePenaltyKind::Default, agent, r, initialMin, penalties, RedForce.GoalFlagX,
                             RedForce.GoalFlagY);
}

float CBrevimarDoc::EvalRedMovePenaltiesComm(int agent, int r, float initialMin, float* penalties)
{
    return EvalMovePenalties(Side::Red, MovePenaltyKind::Communications, agent, r, initialMin, penalties,
                             RedForce.GoalFlagX, RedForce.GoalFlagY);
}

float CBrevimarDoc::EvalRedMovePenaltiesGlobal(int agent, int r, float initialMin, float* penalties)
{
    return EvalMovePenalties(Side::Red, MovePenaltyKind::GlobalCommand, agent, r, initialMin, penalties,
                             RedForce.GoalFlagX, RedForce.GoalFlagY);
}

float CBrevimarDoc::EvalBlueMovePenalties(int agent, int r, float initialMin, float* penalties)
{
    return EvalMovePenalties(Side::Blue, MovePenaltyKind::Default, agent, r, initialMin, penalties,
                             BlueForce.GoalFlagX, BlueForce.GoalFlagY);
}

float CBrevimarDoc::EvalBlueMovePenaltiesComm(int agent, int r, float initialMin, float* penalties)
{
    return EvalMovePenalties(Side::Blue, MovePenaltyKind::Communications, agent, r, initialMin, penalties,
                             BlueForce.GoalFlagX, BlueForce.GoalFlagY);
}

float CBrevimarDoc::EvalBlueMovePenaltiesGlobal(int agent, int r, float initialMin, float* penalties)
{
    return EvalMovePenalties(Side::Blue, MovePenaltyKind::GlobalCommand, agent, r, initialMin, penalties,
                             BlueForce.GoalFlagX, BlueForce.GoalFlagY);
}

}  // namespace brevimar
