// Local commanders: once a step each one scores the patches around it by the
// friends and enemies they hold and takes the best patch's centre as the goal
// its subordinates head for. Patch type 1 also rates the command's health for
// the global commander.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Document.h"

namespace brevimar {

namespace {

// A command radius from a file beyond this would overflow the patch
// arithmetic; long before it, one patch already covers the battlefield.
constexpr int RadiusLimit = 1 << 28;
constexpr int MaxPatches = 25;

struct PatchCounts {
    int AliveFriends = 0;
    int InjuredFriends = 0;
    int AliveEnemies = 0;
    int InjuredEnemies = 0;
    int Enemies = 0;
};

int ClampCount(int n) { return std::clamp(n, 0, MaxAgents); }

// Patches of side s = 2r + 1 around the commander's cell (X, Y), `reach`
// patches out on each side (1 for the 3 x 3 layout, 2 for 5 x 5). They are
// numbered row by row from the top row (largest y), left to right.
struct PatchLayout {
    PatchLayout(int x, int y, int radius, int reach)
        : X(x), Y(y), R(std::clamp(radius, -RadiusLimit, RadiusLimit)), Width(2LL * R + 1), Reach(reach),
          Across(2 * reach + 1)
    {
    }

    int Count() const { return Across * Across; }

    // The patch holding cell (x, y), 0 for none: the patches tile the block
    // without overlap, so a cell lies in at most one of them.
    int PatchOf(int x, int y) const
    {
        if (R < 0)
            return 0;  // patches of negative radius hold no cell
        const long long dx = static_cast<long long>(x) - (X - Reach * Width - R);
        const long long dy = static_cast<long long>(y) - (Y - Reach * Width - R);
        const long long extent = Across * Width;
        if (dx < 0 || dy < 0 || dx >= extent || dy >= extent)
            return 0;
        const int column = static_cast<int>(dx / Width);
        const int rowFromBottom = static_cast<int>(dy / Width);
        return (Across - 1 - rowFromBottom) * Across + column + 1;
    }

    int CenterX(int patch) const { return static_cast<int>(X + ((patch - 1) % Across - Reach) * Width); }
    int CenterY(int patch) const { return static_cast<int>(Y + (Reach - (patch - 1) / Across) * Width); }

    long long X, Y, R, Width;
    int Reach, Across;
};

// Health of a command: F (n m + 1 - E) / ((n m + 1) n), within [-1, 1].
float CommandHealth(int n, float m, int friends, int enemies)
{
    const double capacity = static_cast<double>(n) * static_cast<double>(m) + 1.0;
    const double numerator = (capacity - enemies) * friends;
    const double denominator = capacity * n;
    // A command without subordinates would divide by zero: the value is then
    // +1 when friends are near and no enemy, -1 in every other case.
    if (denominator == 0.0)
        return numerator > 0.0 ? 1.0f : -1.0f;
    const float inverse = static_cast<float>(1.0 / denominator);
    if (std::isinf(inverse))
        return (numerator > 0.0) == (inverse > 0.0f) && numerator != 0.0 ? 1.0f : -1.0f;
    const double health = (capacity - enemies) * friends * static_cast<double>(inverse);
    return static_cast<float>(std::clamp(health, -1.0, 1.0));
}

void ChoosePatch(CBrevimarDoc& doc, Side side, int c, int reach)
{
    if (c < 1 || c > MaxCommanders)
        return;
    CLocalCommand& local = doc.Local(side);
    const CForce& own = doc.Force(side);
    const CForce& enemy = doc.Force(Opponent(side));
    const int a = local.CommanderAgent[c];
    if (a < 0 || a > MaxAgents)
        return;

    const int X = own.AgentX[a];
    const int Y = own.AgentY[a];
    const PatchLayout layout(X, Y, local.cmnd_rad[c], reach);
    const int patches = layout.Count();

    PatchCounts counts[MaxPatches + 1];
    int friends = 0;
    int enemies = 0;
    const int ownCount = ClampCount(own.NumAgents);
    for (int b = 1; b <= ownCount; ++b) {
        const int state = own.AgentState[b];
        if (b == a || (state != Alive && state != Injured))
            continue;
        const int p = layout.PatchOf(own.AgentX[b], own.AgentY[b]);
        if (p == 0)
            continue;
        ++(state == Alive ? counts[p].AliveFriends : counts[p].InjuredFriends);
        ++friends;
    }
    const int enemyCount = ClampCount(enemy.NumAgents);
    for (int b = 1; b <= enemyCount; ++b) {
        const int state = enemy.AgentState[b];
        if (state != Alive && state != Injured)
            continue;
        const int p = layout.PatchOf(enemy.AgentX[b], enemy.AgentY[b]);
        if (p == 0)
            continue;
        ++(state == Alive ? counts[p].AliveEnemies : counts[p].InjuredEnemies);
        ++counts[p].Enemies;
        ++enemies;
    }

    if (reach == 1 && doc.Global(side).GlobalCommandOn == 1)
        local.CommanderHealth[c] =
            CommandHealth(local.SubordinateCount[c], doc.Global(side).GC_max_red_f, friends, enemies);

    const float alpha = local.w_alpha[c];
    const float beta = local.w_beta[c];
    const float delta = local.w_delta[c];
    const float gamma = local.w_gamma[c];
    float score[MaxPatches + 1] = {};
    float best = 999999.0f;
    for (int p = 1; p <= patches; ++p) {
        const PatchCounts& n = counts[p];
        const int present = n.AliveFriends + n.InjuredFriends;
        const float sum = alpha * static_cast<float>(n.AliveFriends - n.AliveEnemies) +
                          beta * static_cast<float>(n.AliveFriends - n.InjuredEnemies) +
                          delta * static_cast<float>(n.InjuredFriends - n.AliveEnemies) +
                          gamma * static_cast<float>(n.InjuredFriends - n.InjuredEnemies);
        score[p] = sum / static_cast<float>(present == 0 ? 1 : present);
        // Empty, evenly balanced patches take no part in the search for the best...
        if ((score[p] != 0.0f || n.Enemies > 0) && score[p] < best)
            best = score[p];
    }

    // With no enemy in sight the commander stays on its own patch.
    if (enemies == 0) {
        local.CommanderGoalX[c] = X;
        local.CommanderGoalY[c] = Y;
        return;
    }

    // ... but they do tie with a best score of zero.
    int tied[MaxPatches];
    int k = 0;
    for (int p = 1; p <= patches; ++p)
        if (score[p] == best)
            tied[k++] = p;
    if (k == 0) {
        local.CommanderGoalX[c] = X;
        local.CommanderGoalY[c] = Y;
        return;
    }

    int chosen = tied[0];
    if (k > 1) {
        if (local.patch_flag == 0 || doc.RunHeader.CurrentStep == 1) {
            const float u = static_cast<float>(doc.DrawUniform(&doc.RandomState));
            chosen = tied[PickTied(u, k) - 1];
        } else {
            // Nearest to the previous goal, the later patch among equals. The
            // search starts above every distance: of the distances at most
            // 99999 this picks the same patch, and it picks one beyond them too.
            const double prevX = local.CommanderPrevGoalX[c];
            const double prevY = local.CommanderPrevGoalY[c];
            double nearest = std::numeric_limits<double>::infinity();
            for (int t = 0; t < k; ++t) {
                const double dx = layout.CenterX(tied[t]) - prevX;
                const double dy = layout.CenterY(tied[t]) - prevY;
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d <= nearest) {
                    nearest = d;
                    chosen = tied[t];
                }
            }
        }
    }

    local.CommanderGoalX[c] = layout.CenterX(chosen);
    local.CommanderGoalY[c] = layout.CenterY(chosen);
    local.CommanderPrevGoalX[c] = local.CommanderGoalX[c];
    local.CommanderPrevGoalY[c] = local.CommanderGoalY[c];
}

}  // namespace

void CBrevimarDoc::RedLocalCommand()
{
    const int commanders = std::clamp(RedLocal.NumLocalCommanders, 0, MaxCommanders);
    for (int c = 1; c <= commanders; ++c) {
        if (RedLocal.patch_type == 1)
            ChooseRedPatchType1(c);
        else if (RedLocal.patch_type == 2)
            ChooseRedPatchType2(c);
    }
}

void CBrevimarDoc::BlueLocalCommand()
{
    const int commanders = std::clamp(BlueLocal.NumLocalCommanders, 0, MaxCommanders);
    for (int c = 1; c <= commanders; ++c) {
        if (BlueLocal.patch_type == 1)
            ChooseBluePatchType1(c);
        else if (BlueLocal.patch_type == 2)
            ChooseBluePatchType2(c);
    }
}

void CBrevimarDoc::ChooseRedPatchType1(int c) { ChoosePatch(*this, Side::Red, c, 1); }
void CBrevimarDoc::ChooseRedPatchType2(int c) { ChoosePatch(*this, Side::Red, c, 2); }
void CBrevimarDoc::ChooseBluePatchType1(int c) { ChoosePatch(*this, Side::Blue, c, 1); }
void CBrevimarDoc::ChooseBluePatchType2(int c) { ChoosePatch(*this, Side::Blue, c, 2); }

}  // namespace brevimar
