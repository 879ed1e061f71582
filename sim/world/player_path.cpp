#include "sim/world/player_path.h"

#include <algorithm>

#include "sim/world/world.h"

void SimPlayerPath::Set(std::vector<PathPoint> points, bool loop) {
    points_ = std::move(points);
    loops_ = loop;
    index_ = 0;
    waiting_ = false;
    waitLeftS_ = 0;
}

void SimPlayerPath::MoveTo(const Vec3& to, float speed) {
    Set({PathPoint{to, speed, 0}}, false);
}

void SimPlayerPath::Step(double seconds) {
    const int32_t playerPed = world_.PlayerPed();
    const SimPed* player = world_.FindPed(playerPed);
    // A looping path whose points all stand in one place takes no time: stop after one round.
    size_t stepsLeft = 2 * points_.size() + 2;
    while (seconds > 0 && player != nullptr && !player->dead && !player->hogtied &&
           index_ < points_.size() && stepsLeft-- > 0) {
        const PathPoint& point = points_[index_];
        if (waiting_) {
            const double waited = std::min(seconds, waitLeftS_);
            waitLeftS_ -= waited;
            seconds -= waited;
            if (waitLeftS_ > 0) {
                return;
            }
            waiting_ = false;
            if (++index_ >= points_.size() && loops_) {
                index_ = 0;
            }
            continue;
        }
        // The player's body is the horse he rides, if any.
        const int32_t body = player->mount != 0 ? player->mount : playerPed;
        const Vec3 from = world_.EntityPosition(body, true);
        const float left = Distance(from, point.to);
        const double reach = point.speed > 0 ? point.speed * seconds : left;
        if (reach < left) {
            const float f = static_cast<float>(reach / left);
            world_.MoveEntity(
                body, Vec3{from.x + (point.to.x - from.x) * f, from.y + (point.to.y - from.y) * f,
                           from.z + (point.to.z - from.z) * f});
            return;
        }
        world_.MoveEntity(body, point.to);
        seconds -= point.speed > 0 ? left / point.speed : 0;
        waiting_ = true;
        waitLeftS_ = point.waitS;
        if (point.waitS <= 0 && index_ + 1 >= points_.size() && !loops_) {
            waiting_ = false;
            index_ = points_.size();
        }
    }
}
