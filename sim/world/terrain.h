// The ground and the water of the simulated world: a flat base with shapes laid on it
// (slopes, cliffs, ridges) and bodies of water (rivers, lakes) with a surface height. Peds
// stand and walk on it; the ground, collision and water natives are answered from it.
#pragma once

#include <vector>

#include "sim/world/vec3.h"

// A change of the ground's height over part of the map, added to the base.
struct GroundShape {
    enum class Kind { Slope, Cliff, Ridge };
    Kind kind = Kind::Slope;
    // Slope: the ground rises by `height` from `from` to `to` and stays at that rise beyond
    // `to` (and at 0 before `from`). Cliff: beyond the edge through `from`, in the direction of
    // `to` from `from`, the ground lies `height` lower (negative: higher). Ridge: along the
    // segment from `from` to `to`, `height` high on its line and falling to 0 at `width` / 2.
    Vec3 from;
    Vec3 to;
    float height = 0;
    float width = 0;
};

// Water whose surface stands at `surface`; its bed lies `depth` below the surface.
struct WaterBody {
    enum class Kind { River, Lake };
    Kind kind = Kind::Lake;
    Vec3 from;  // a lake's centre; a river's course runs from `from` to `to`
    Vec3 to;
    float width = 0;  // a river's width, a lake's diameter
    float surface = 0;
    float depth = 3;
};

class Terrain {
  public:
    // Where the flat ground lies; until set, it lies where the player first stands.
    void SetBaseHeight(float z) {
        base_ = z;
        baseSet_ = true;
    }
    bool BaseHeightSet() const { return baseSet_; }
    void AddShape(const GroundShape& shape) { shapes_.push_back(shape); }
    void AddWater(const WaterBody& water) { water_.push_back(water); }
    // The ground's height measured at a point (a recording's probe): within kMeasuredReach of
    // it the ground lies at that height, the nearest measurement's, whatever the shapes say.
    void AddMeasuredHeight(const Vec3& point) { measured_.push_back(point); }
    const std::vector<Vec3>& MeasuredHeights() const { return measured_; }
    static constexpr float kMeasuredReach = 5.0f;
    // An area with no ground at all (beyond the map's edge): a box of x and y.
    void AddVoid(const Vec3& low, const Vec3& high) { voids_.push_back({low, high}); }

    const std::vector<GroundShape>& Shapes() const { return shapes_; }
    const std::vector<WaterBody>& Water() const { return water_; }
    bool Flat() const {
        return shapes_.empty() && water_.empty() && voids_.empty() && measured_.empty();
    }

    // Whether there is ground under (x, y) at all.
    bool HasGround(float x, float y) const;
    // The height of the ground (under water, of its bed).
    float GroundHeight(float x, float y) const;
    // The surface of the water at (x, y), if any lies there.
    bool WaterSurface(float x, float y, float* surface) const;
    // How deep the water stands at (x, y) (0 on dry ground).
    float WaterDepth(float x, float y) const;
    // Where a ped's feet rest at (x, y): on the ground, or swimming on deep water.
    float StandingHeight(float x, float y) const;

    // Water deeper than this a ped cannot stand in: it swims.
    static constexpr float kDeepWater = 1.2f;

  private:
    struct Box {
        Vec3 low;
        Vec3 high;
    };
    float base_ = 0;
    bool baseSet_ = false;
    std::vector<GroundShape> shapes_;
    std::vector<WaterBody> water_;
    std::vector<Box> voids_;
    std::vector<Vec3> measured_;
};
