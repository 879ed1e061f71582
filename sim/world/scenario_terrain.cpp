#include "sim/world/scenario_terrain.h"

#include <algorithm>
#include <string>

using json = nlohmann::json;

namespace {

// A point of the map, [x, y] (a third number, a height, is allowed and ignored).
Vec3 MapPoint(const ScenarioReader& in, const json& j, const std::string& path) {
    if (!j.is_array() || (j.size() != 2 && j.size() != 3)) {
        in.Fail(path, "a point [x, y] in metres");
    }
    return Vec3{static_cast<float>(in.Number(j[0], ScenarioReader::Index(path, 0), -1e6, 1e6)),
                static_cast<float>(in.Number(j[1], ScenarioReader::Index(path, 1), -1e6, 1e6)), 0};
}

float Metres(const ScenarioReader& in, const json& j, const std::string& path, double low,
             double high) {
    return static_cast<float>(in.Number(j, path, low, high));
}

const json& Required(const ScenarioReader& in, const json& j, const std::string& path,
                     const char* field, const char* expected) {
    if (!j.contains(field)) {
        in.Fail(path + "." + field, expected);
    }
    return j[field];
}

GroundShape ReadShape(const ScenarioReader& in, const json& j, const std::string& path) {
    in.Fields(j, path, {"kind", "from", "to", "height", "width"});
    GroundShape shape;
    const std::string kind = in.String(
        Required(in, j, path, "kind", "\"slope\", \"cliff\" or \"ridge\""), path + ".kind");
    if (kind == "slope") {
        shape.kind = GroundShape::Kind::Slope;
    } else if (kind == "cliff") {
        shape.kind = GroundShape::Kind::Cliff;
    } else if (kind == "ridge") {
        shape.kind = GroundShape::Kind::Ridge;
    } else {
        in.Fail(path + ".kind", "\"slope\", \"cliff\" or \"ridge\"");
    }
    shape.from = MapPoint(in, Required(in, j, path, "from", "a point [x, y]"), path + ".from");
    shape.to = MapPoint(in, Required(in, j, path, "to", "a point [x, y]"), path + ".to");
    shape.height =
        Metres(in, Required(in, j, path, "height", "metres"), path + ".height", -1e4, 1e4);
    if (shape.kind == GroundShape::Kind::Ridge) {
        shape.width =
            Metres(in, Required(in, j, path, "width", "metres"), path + ".width", 0.1, 1e5);
    }
    return shape;
}

WaterBody ReadWater(const ScenarioReader& in, const json& j, const std::string& path) {
    in.Fields(j, path, {"kind", "from", "to", "centre", "width", "radius", "surface", "depth"});
    WaterBody water;
    const std::string kind =
        in.String(Required(in, j, path, "kind", "\"river\" or \"lake\""), path + ".kind");
    if (kind == "river") {
        water.kind = WaterBody::Kind::River;
        water.from = MapPoint(in, Required(in, j, path, "from", "a point [x, y]"), path + ".from");
        water.to = MapPoint(in, Required(in, j, path, "to", "a point [x, y]"), path + ".to");
        water.width =
            Metres(in, Required(in, j, path, "width", "metres"), path + ".width", 0.1, 1e5);
    } else if (kind == "lake") {
        water.kind = WaterBody::Kind::Lake;
        water.from =
            MapPoint(in, Required(in, j, path, "centre", "a point [x, y]"), path + ".centre");
        water.width =
            2 * Metres(in, Required(in, j, path, "radius", "metres"), path + ".radius", 0.1, 1e5);
    } else {
        in.Fail(path + ".kind", "\"river\" or \"lake\"");
    }
    water.surface = Metres(in, Required(in, j, path, "surface", "the water's height in metres"),
                           path + ".surface", -1e4, 1e4);
    if (j.contains("depth")) {
        water.depth = Metres(in, j["depth"], path + ".depth", 0, 1e4);
    }
    return water;
}

}  // namespace

const ScenarioFields<WorldSettings>& GameHardnessSettingFields() {
    static const ScenarioFields<WorldSettings> kFields = {
        {"nearby_ped_count", field::WholeNumber(&WorldSettings::nearbyPedLimit, 0, 100000)},
        {"ped_pool_size", field::WholeNumber(&WorldSettings::pedPoolSize, 0, 100000)},
        {"task_restart_ms", field::WholeNumber(&WorldSettings::taskRestartMs, 0, 600000)},
        {"collision_range", field::Number(&WorldSettings::collisionRange, 0, 1e5)},
        {"rider_thrown_chance", field::Number(&WorldSettings::riderThrownChance, 0, 1)},
        {"rider_unseated_chance", field::Number(&WorldSettings::riderUnseatedChance, 0, 1)},
    };
    return kFields;
}

void LoadTerrain(const ScenarioReader& in, const json& j, Terrain& terrain) {
    in.Fields(j, "terrain", {"ground_height", "shapes", "water", "no_ground", "heights"});
    if (j.contains("ground_height")) {
        terrain.SetBaseHeight(Metres(in, j["ground_height"], "terrain.ground_height", -1e4, 1e4));
    }
    if (j.contains("shapes")) {
        const json& list = in.Array(j["shapes"], "terrain.shapes");
        for (size_t i = 0; i < list.size(); ++i) {
            terrain.AddShape(ReadShape(in, list[i], ScenarioReader::Index("terrain.shapes", i)));
        }
    }
    if (j.contains("water")) {
        const json& list = in.Array(j["water"], "terrain.water");
        for (size_t i = 0; i < list.size(); ++i) {
            terrain.AddWater(ReadWater(in, list[i], ScenarioReader::Index("terrain.water", i)));
        }
    }
    if (j.contains("heights")) {
        const json& list = in.Array(j["heights"], "terrain.heights");
        for (size_t i = 0; i < list.size(); ++i) {
            terrain.AddMeasuredHeight(
                in.Position(list[i], ScenarioReader::Index("terrain.heights", i)));
        }
    }
    if (j.contains("no_ground")) {
        const json& list = in.Array(j["no_ground"], "terrain.no_ground");
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string at = ScenarioReader::Index("terrain.no_ground", i);
            in.Fields(list[i], at, {"from", "to"});
            const Vec3 a =
                MapPoint(in, Required(in, list[i], at, "from", "a corner [x, y]"), at + ".from");
            const Vec3 b =
                MapPoint(in, Required(in, list[i], at, "to", "a corner [x, y]"), at + ".to");
            terrain.AddVoid(Vec3{std::min(a.x, b.x), std::min(a.y, b.y), 0},
                            Vec3{std::max(a.x, b.x), std::max(a.y, b.y), 0});
        }
    }
}
