#include "core/Random.h"

namespace brevimar {

double CUniformGenerator::Draw(int* seed)
{
    if (*seed <= 0 || ShuffleOutput == 0) {
        // Negating the most negative int overflows; do it unsigned so it stays
        // negative as the original arithmetic leaves it, and is then lifted to 1.
        *seed = static_cast<int>(0u - static_cast<unsigned>(*seed));
        if (*seed < 1)
            *seed = 1;
        for (int j = TableSize + 7; j >= 0; --j) {
            *seed = ParkMillerStep(*seed);
            if (j < TableSize)
                ShuffleTable[j] = *seed;
        }
        ShuffleOutput = ShuffleTable[0];
    }
    *seed = ParkMillerStep(*seed);
    const int j = ShuffleOutput / (1 + (2147483647 - 1) / TableSize);
    ShuffleOutput = ShuffleTable[j];
    ShuffleTable[j] = *seed;
    const double u = ShuffleOutput * (1.0 / 2147483647);
    return u > Cap ? Cap : u;
}

}  // namespace brevimar
