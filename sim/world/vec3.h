// A position in the simulated world, in metres.
#pragma once

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};
float Distance(const Vec3& a, const Vec3& b);
