#include "sim/app/report/report_terrain.h"

#include <cmath>
#include <sstream>

#include "sim/app/report/report_format.h"

namespace {

constexpr float kEdgeReach = 600.0f;  // how far a cliff's edge and a slope's band are drawn

// A band of the given width along the segment from a to b, as polygon points.
std::string Band(const Vec3& a, const Vec3& b, float width) {
    float dx = b.x - a.x;
    float dy = b.y - a.y;
    const float length = std::hypot(dx, dy);
    if (length <= 0) {
        dx = 1;
        dy = 0;
    } else {
        dx /= length;
        dy /= length;
    }
    const float nx = -dy * width / 2;
    const float ny = dx * width / 2;
    std::ostringstream out;
    const Vec3 corners[] = {{a.x + nx, a.y + ny, 0},
                            {b.x + nx, b.y + ny, 0},
                            {b.x - nx, b.y - ny, 0},
                            {a.x - nx, a.y - ny, 0}};
    for (const Vec3& c : corners) {
        out << Number(c.x) << "," << Number(-c.y) << " ";
    }
    return out.str();
}

std::string Titled(const std::string& element, const std::string& title) {
    return element + "<title>" + Escape(title) + "</title>";
}

}  // namespace

std::string TerrainLayer(const Terrain& terrain) {
    std::ostringstream out;
    for (const GroundShape& shape : terrain.Shapes()) {
        switch (shape.kind) {
            case GroundShape::Kind::Slope:
                out << "<polygon class=\"slope\" points=\""
                    << Band(shape.from, shape.to, kEdgeReach) << "\">"
                    << Titled("", "a slope rising " + Number(shape.height) + " m") << "</polygon>";
                break;
            case GroundShape::Kind::Ridge:
                out << "<polygon class=\"ridge\" points=\""
                    << Band(shape.from, shape.to, shape.width) << "\">"
                    << Titled("", "a ridge " + Number(shape.height) + " m high") << "</polygon>";
                break;
            case GroundShape::Kind::Cliff: {
                const float dx = shape.to.x - shape.from.x;
                const float dy = shape.to.y - shape.from.y;
                const float length = std::hypot(dx, dy);
                const Vec3 along = length > 0 ? Vec3{-dy / length, dx / length, 0} : Vec3{0, 1, 0};
                const Vec3 a{shape.from.x - along.x * kEdgeReach,
                             shape.from.y - along.y * kEdgeReach, 0};
                const Vec3 b{shape.from.x + along.x * kEdgeReach,
                             shape.from.y + along.y * kEdgeReach, 0};
                out << "<line class=\"cliff\" x1=\"" << Number(a.x) << "\" y1=\"" << Number(-a.y)
                    << "\" x2=\"" << Number(b.x) << "\" y2=\"" << Number(-b.y) << "\">"
                    << Titled("", "a cliff dropping " + Number(shape.height) + " m") << "</line>";
                break;
            }
        }
    }
    for (const WaterBody& water : terrain.Water()) {
        const std::string title = "water, its surface at " + Number(water.surface) + " m";
        if (water.kind == WaterBody::Kind::Lake) {
            out << "<circle class=\"water\" cx=\"" << Number(water.from.x) << "\" cy=\""
                << Number(-water.from.y) << "\" r=\"" << Number(water.width / 2) << "\">"
                << Titled("", title) << "</circle>";
        } else {
            out << "<polygon class=\"water\" points=\"" << Band(water.from, water.to, water.width)
                << "\">" << Titled("", title) << "</polygon>";
        }
    }
    return out.str();
}
