// The program's one pseudo-random generator. Our own (a PCG32), so every platform draws the
// same sequence from the same seed and draws cover more than 15 bits.
#pragma once

#include <cstdint>

// Restarts the sequence from a seed, like srand.
void SeedRandom(uint32_t seed);
// Back to the sequence a freshly loaded library draws before any seed.
void ResetRandom();

// A non-negative draw, like rand, uniform over 0 to 2^31 - 1.
int RandomInt();

// A draw uniform over 0 to bound - 1; bound must be positive.
uint32_t RandomBelow(uint32_t bound);
