#include "sim/world/terrain.h"

#include <algorithm>
#include <cmath>

namespace {

// Where along the segment from a to b the point (x, y) lies (0 at a, 1 at b), unclamped.
float Along(const Vec3& a, const Vec3& b, float x, float y) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length2 = dx * dx + dy * dy;
    if (length2 <= 0) {
        return 0;
    }
    return ((x - a.x) * dx + (y - a.y) * dy) / length2;
}

// Distance in the plane from (x, y) to the segment from a to b.
float FromSegment(const Vec3& a, const Vec3& b, float x, float y) {
    const float t = std::clamp(Along(a, b, x, y), 0.0f, 1.0f);
    const float px = a.x + (b.x - a.x) * t;
    const float py = a.y + (b.y - a.y) * t;
    return std::hypot(x - px, y - py);
}

float ShapeHeight(const GroundShape& shape, float x, float y) {
    switch (shape.kind) {
        case GroundShape::Kind::Slope:
            return shape.height * std::clamp(Along(shape.from, shape.to, x, y), 0.0f, 1.0f);
        case GroundShape::Kind::Cliff:
            return Along(shape.from, shape.to, x, y) > 0 ? -shape.height : 0.0f;
        case GroundShape::Kind::Ridge: {
            const float half = shape.width / 2;
            if (half <= 0) {
                return 0;
            }
            return shape.height *
                   std::max(0.0f, 1 - FromSegment(shape.from, shape.to, x, y) / half);
        }
    }
    return 0;
}

bool Covers(const WaterBody& water, float x, float y) {
    if (water.kind == WaterBody::Kind::Lake) {
        return std::hypot(x - water.from.x, y - water.from.y) <= water.width / 2;
    }
    return FromSegment(water.from, water.to, x, y) <= water.width / 2;
}

}  // namespace

bool Terrain::HasGround(float x, float y) const {
    for (const Box& box : voids_) {
        if (x >= box.low.x && x <= box.high.x && y >= box.low.y && y <= box.high.y) {
            return false;
        }
    }
    return true;
}

float Terrain::GroundHeight(float x, float y) const {
    float height = base_;
    for (const GroundShape& shape : shapes_) {
        height += ShapeHeight(shape, x, y);
    }
    float nearest = kMeasuredReach * kMeasuredReach;
    for (const Vec3& point : measured_) {
        const float dx = point.x - x;
        const float dy = point.y - y;
        if (dx * dx + dy * dy <= nearest) {
            nearest = dx * dx + dy * dy;
            height = point.z;
        }
    }
    for (const WaterBody& water : water_) {
        if (Covers(water, x, y)) {
            height = std::min(height, water.surface - water.depth);
        }
    }
    return height;
}

bool Terrain::WaterSurface(float x, float y, float* surface) const {
    bool found = false;
    for (const WaterBody& water : water_) {
        if (Covers(water, x, y) && (!found || water.surface > *surface)) {
            *surface = water.surface;
            found = true;
        }
    }
    return found;
}

float Terrain::WaterDepth(float x, float y) const {
    float surface = 0;
    if (!WaterSurface(x, y, &surface)) {
        return 0;
    }
    return std::max(0.0f, surface - GroundHeight(x, y));
}

float Terrain::StandingHeight(float x, float y) const {
    const float ground = GroundHeight(x, y);
    float surface = 0;
    if (WaterSurface(x, y, &surface) && surface - ground > kDeepWater) {
        return surface;
    }
    return ground;
}
