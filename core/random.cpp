#include "core/random.h"

namespace {

constexpr uint64_t kMultiplier = 6364136223846793005ULL;
constexpr uint64_t kIncrement = 1442695040888963407ULL;

constexpr uint64_t kUnseededState = 0x853C49E6748FEA9BULL;

uint64_t state = kUnseededState;

uint32_t Next32() {
    const uint64_t old = state;
    state = old * kMultiplier + kIncrement;
    const uint32_t xorShifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const uint32_t rotation = static_cast<uint32_t>(old >> 59u);
    return (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
}

}  // namespace

void SeedRandom(uint32_t seed) {
    state = 0;
    Next32();
    state += seed;
    Next32();
}

void ResetRandom() {
    state = kUnseededState;
}

int RandomInt() {
    return static_cast<int>(Next32() >> 1);
}

uint32_t RandomBelow(uint32_t bound) {
    // Rejects the top of the 32-bit range that would favour small results.
    const uint32_t threshold = (0u - bound) % bound;
    for (;;) {
        const uint32_t r = Next32();
        if (r >= threshold) {
            return r % bound;
        }
    }
}
