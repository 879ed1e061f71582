// The simulated world's own seeded generator, apart from the plug-in's.
#pragma once

#include <cstdint>

class SimRandom {
  public:
    explicit SimRandom(uint64_t seed = 1) { Seed(seed); }
    void Seed(uint64_t seed) {
        state_ = seed * 0x9E3779B97F4A7C15ULL + 0x2545F4914F6CDD1DULL;
        Next();
    }
    // splitmix64
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform over [0, bound), bound > 0 (the tiny bias does not matter for a simulation).
    uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }
    // Uniform over [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    bool Chance(double probability) { return Unit() < probability; }
    float Between(float low, float high) { return low + static_cast<float>(Unit()) * (high - low); }
    // A point uniform over the unit disc. Only exact arithmetic, so runs match on every
    // platform (no sine or cosine from differing maths libraries).
    void InDisc(double* x, double* y) {
        do {
            *x = Unit() * 2.0 - 1.0;
            *y = Unit() * 2.0 - 1.0;
        } while (*x * *x + *y * *y > 1.0);
    }

  private:
    uint64_t state_ = 0;
};
