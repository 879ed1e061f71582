// The player's scripted path: the points he walks (or rides) through in turn, with a pause on
// arrival at each. Moves the player's ped in the world that owns it.
#pragma once

#include <cstddef>
#include <vector>

#include "sim/world/vec3.h"

class World;

// A point of the player's scripted path.
struct PathPoint {
    Vec3 to;
    float speed = 1.5f;  // metres per second on the way there; 0 or less: jump there
    double waitS = 0;    // pause on arrival
};

class SimPlayerPath {
  public:
    explicit SimPlayerPath(World& world) : world_(world) {}
    SimPlayerPath(const SimPlayerPath&) = delete;
    SimPlayerPath& operator=(const SimPlayerPath&) = delete;

    // The player walks (or rides) through the points in turn; loop starts over at the end.
    void Set(std::vector<PathPoint> points, bool loop = false);
    // A path of one point, without a pause.
    void MoveTo(const Vec3& to, float speed);
    const std::vector<PathPoint>& Points() const { return points_; }
    bool Loops() const { return loops_; }
    // Advances the player along the path by seconds of travel (behaviour's work).
    void Step(double seconds);

  private:
    World& world_;
    std::vector<PathPoint> points_;
    bool loops_ = false;
    size_t index_ = 0;
    double waitLeftS_ = 0;
    bool waiting_ = false;
};
