// Value types shared with the game: handles, hashes and positions.
#pragma once

#include <cstdint>

using Ped = int32_t;
using Player = int32_t;
using Vehicle = int32_t;
using Entity = int32_t;  // a Ped or a Vehicle
using Blip = int32_t;
using Hash = uint32_t;

struct Vector3 {
    float x;
    float y;
    float z;
};
