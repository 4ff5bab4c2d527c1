// Park and Miller's minimal standard generator behind a 32-entry Bays-Durham
// shuffle. Each document owns one, so two open documents never disturb each
// other's sequences.
#pragma once

namespace brevimar {

class CUniformGenerator {
public:
    static constexpr int TableSize = 32;
    // The largest value a draw returns: 0.9999999 rounded to single precision.
    static constexpr double Cap = static_cast<double>(0.9999999f);

    // Next deviate in (0, 1), at most Cap. A seed <= 0, or a table never
    // filled, restarts the table from |seed| (at least 1).
    double Draw(int* seed);

    // u * (b - a) + a with b - a formed as an int.
    double DrawRange(int a, int b, int* seed) { return Draw(seed) * (b - a) + a; }

    // One bare multiplicative step, s := 16807 s mod (2^31 - 1).
    static int ParkMillerStep(int s)
    {
        const int k = s / 127773;
        s = 16807 * (s - k * 127773) - 2836 * k;
        if (s < 0)
            s += 2147483647;
        return s;
    }

    int ShuffleTable[TableSize] = {};
    int ShuffleOutput = 0;  // the previous shuffled output; 0 forces a restart
};

// Of k candidates tied on equal scores, the j-th (1..k) for the draw u:
// (j - 1) / k < u <= j / k, the ratios in single precision like u itself.
inline int PickTied(float u, int k)
{
    for (int j = 1; j < k; ++j)
        if (u <= static_cast<float>(j) / static_cast<float>(k))
            return j;
    return k;
}

}  // namespace brevimar
