#include "sim/scene/scene_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <vector>

#include "core/settings_table.h"
#include "encounters/encounter_catalogue.h"
#include "sim/world/joaat.h"
#include "sim/world/model_catalogue.h"
#include "sim/world/sim_calendar.h"

using json = nlohmann::ordered_json;

namespace {

constexpr uint64_t kAfterEncounterMs = 30000;  // the scene runs on this long after its end
constexpr uint64_t kSceneWithoutEncounterMs = 300000;
constexpr double kGameMinutesPerMs = 0.5 / 1000;  // the game's own pace of the clock
constexpr float kStandingStill = 0.3f;            // metres: the player has not moved
constexpr float kFastestTravel = 60.0f;           // metres a second; faster is a teleport

// A float as the shortest decimal that reads back as the same float.
double Decimal(float value) {
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) {
            break;
        }
    }
    return std::strtod(text, nullptr);
}

json Position(const Vec3& p) {
    return json::array({Decimal(p.x), Decimal(p.y), Decimal(p.z)});
}

std::string Hex(uint32_t hash) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", hash);
    return text;
}

std::string Seconds(uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(ms) / 1000.0);
    return text;
}

// A relationship group by name when a catalogue model's group or the player's has that hash.
std::string GroupName(uint32_t hash) {
    if (hash == Joaat("PLAYER")) {
        return "PLAYER";
    }
    for (const PedModel& model : PedModels()) {
        if (Joaat(model.group) == hash) {
            return model.group;
        }
    }
    return Hex(hash);
}

// The weather the plug-in forces, by name; any other by hash.
std::string WeatherName(uint32_t hash) {
    for (const char* name : {"thunderstorm", "hurricane", "fog"}) {
        if (Joaat(name) == hash) {
            return name;
        }
    }
    return Hex(hash);
}

const char* const kWeaponNames[] = {"revolver", "pistol", "repeater", "rifle", "sniper", "shotgun"};

bool HasDigit(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

template <typename T>
const T* Around(const ToldList<T>& told, uint64_t momentMs) {
    return AnswerAround(told, momentMs);
}

// The clock at the scene's start, in minutes after midnight: the one that agrees with every
// hour the game answered around the scene at the game's pace, the middle of what agrees.
bool EstimateClock(const ToldList<int>& hours, uint64_t startMs, uint64_t endMs, int* minutes) {
    double low = -1e18;
    double high = 1e18;
    int previous = -1;
    int days = 0;
    const Told<int>* nearest = nullptr;
    for (const Told<int>& reading : hours) {
        if (reading.atMs + 300000 < startMs || reading.atMs > endMs) {
            continue;
        }
        if (previous >= 0 && reading.value < previous) {
            ++days;
        }
        previous = reading.value;
        const double sinceStart =
            (static_cast<double>(reading.atMs) - static_cast<double>(startMs)) * kGameMinutesPerMs;
        const double hour = reading.value * 60.0 + days * 1440.0;
        low = std::max(low, hour - sinceStart);
        high = std::min(high, hour + 60.0 - sinceStart);
        if (nearest == nullptr) {
            nearest = &reading;
        }
    }
    if (nearest == nullptr) {
        return false;
    }
    double at = (low + high) / 2;
    if (!(low < high)) {  // the pace was not the game's (a pause, a sleep): the nearest hour
        at =
            nearest->value * 60.0 -
            (static_cast<double>(nearest->atMs) - static_cast<double>(startMs)) * kGameMinutesPerMs;
    }
    const long whole = static_cast<long>(std::floor(at));
    *minutes = static_cast<int>(((whole % 1440) + 1440) % 1440);
    return true;
}

// The player's settings as an INI, "Section.Key=value" lines under their sections.
std::vector<std::string> IniLines(const std::string& settings, bool narrowed) {
    std::vector<std::string> lines;
    std::string section;
    std::istringstream in(settings);
    std::string line;
    while (std::getline(in, line)) {
        const size_t dot = line.find('.');
        const size_t equals = line.find('=');
        if (dot == std::string::npos || equals == std::string::npos || equals < dot) {
            continue;
        }
        const std::string lineSection = line.substr(0, dot);
        std::string key = line.substr(dot + 1, equals - dot - 1);
        std::string value = line.substr(equals + 1);
        if (narrowed && lineSection == kEncounterSection) {
            continue;  // only_encounters says which one runs
        }
        if (narrowed && lineSection == "Event Timing") {
            value = "1";  // the encounter comes due a minute after the start-up
        }
        if (lineSection == "Logging" && key == "RecordSession") {
            value = "false";  // a scene's run is not the player's session
        }
        if (lineSection != section) {
            section = lineSection;
            lines.push_back("[" + section + "]");
        }
        lines.push_back(key + "=" + value);
    }
    return lines;
}

class SceneMaker {
  public:
    SceneMaker(const RecordingFacts& facts, const SessionLog& log, const SceneChoice& choice,
               Scene& scene)
        : facts_(facts), log_(log), choice_(choice), scene_(scene) {}

    bool Choose(std::string* error) {
        const std::vector<RecordedEncounter>& encounters = log_.encounters;
        if (choice_.encounter > 0) {
            if (choice_.encounter > encounters.size()) {
                *error = "--encounter " + std::to_string(choice_.encounter) + ": the recording " +
                         (encounters.empty()
                              ? std::string("ran no encounter")
                              : "ran encounters 1 to " + std::to_string(encounters.size())) +
                         (log_.stoppedEarly.empty() ? "" : " up to where its replay stopped");
                return false;
            }
            staged_ = &encounters[choice_.encounter - 1];
            startMs_ = choice_.encounter == 1 || staged_->startMs <= kSceneLeadMs
                           ? 0
                           : staged_->startMs - kSceneLeadMs;
        } else {
            const double at = choice_.atGiven ? choice_.atSeconds : 0;
            startMs_ = static_cast<uint64_t>(std::llround(at * 1000));
            if (startMs_ > facts_.endMs) {
                *error = "--at " + Seconds(startMs_) + ": the recording lasts " +
                         Seconds(facts_.endMs) + " s";
                return false;
            }
            for (const RecordedEncounter& encounter : encounters) {
                if (encounter.startMs >= startMs_) {
                    staged_ = &encounter;
                    break;
                }
            }
        }
        fromStart_ = startMs_ == 0;
        // An encounter of another build (one this simulator's plug-in lacks) cannot be named
        // in only_encounters or expect: the scene then keeps the player's settings whole.
        known_ = staged_ != nullptr && FindInCatalogue(staged_->name) != nullptr;
        if (staged_ != nullptr && !known_) {
            notes_.push_back("its encounter " + staged_->name +
                             " is not one this build's plug-in has");
        }
        if (choice_.wholeSession) {
            startMs_ = 0;
            fromStart_ = true;
            endMs_ = facts_.endMs;
        } else if (staged_ != nullptr) {
            const uint64_t ended = staged_->endMs != 0 ? staged_->endMs : facts_.endMs;
            endMs_ = std::min(facts_.endMs, ended + kAfterEncounterMs);
        } else {
            endMs_ = std::min(facts_.endMs, startMs_ + kSceneWithoutEncounterMs);
        }
        endMs_ = std::max(endMs_, startMs_);
        // The run lasts until the encounter has ended where the scene stages it.
        uint64_t runMs = endMs_ - startMs_;
        if (staged_ != nullptr && !fromStart_) {
            const uint64_t ended = staged_->endMs != 0 ? staged_->endMs : facts_.endMs;
            runMs = std::max(runMs, kSceneLeadMs + (ended - staged_->startMs) + kAfterEncounterMs);
        }
        minutes_ = std::max<uint64_t>(1, (runMs + 59999) / 60000);
        scene_.startMs = startMs_;
        scene_.endMs = endMs_;
        return true;
    }

    void Make() {
        json& out = scene_.json;
        out["description"] = "";  // filled in last, once it is known what was left out
        Clock(out);
        Weather(out);
        out["minutes"] = minutes_;
        uint64_t seed = 0;
        if (fromStart_ && SeedOfRecording(facts_, &seed)) {
            out["seed"] = seed;
            notes_.push_back("the seed is the one whose tick count the recording starts at");
        }
        Start(out);
        out["player"] = Player();
        CollectPeds();
        Terrain(out);
        json vehicles = Vehicles();
        json peds = Peds();
        if (!vehicles.empty()) {
            out["vehicles"] = vehicles;
        }
        if (!peds.empty()) {
            out["peds"] = peds;
        }
        Settings(out);
        Expect(out);
        out["description"] = Description();
    }

  private:
    void Clock(json& out) {
        int minutes = 0;
        if (EstimateClock(facts_.clockHours, startMs_, endMs_, &minutes)) {
            char text[16];
            std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60, minutes % 60);
            out["time_of_day"] = text;
        } else {
            leftOut_.push_back("the time of day (the plug-in never asked the clock then)");
        }
    }

    void Weather(json& out) {
        uint32_t forced = 0;
        for (const WeatherTold& told : facts_.weather) {
            if (told.atMs <= startMs_) {
                forced = told.type;
            }
        }
        if (forced != 0) {
            out["weather"] = WeatherName(forced);
        }
        leftOut_.push_back(forced != 0 ? "the weather the game falls back to once the forced "
                                         "weather clears (the plug-in never asks it)"
                                       : "the game's own weather (the plug-in never asks it)");
    }

    void Start(json& out) {
        if (!facts_.sawCalendar) {
            return;
        }
        const int64_t offset =
            std::llabs(facts_.localOffsetS) <= 14 * 3600 ? facts_.localOffsetS : 0;
        const int64_t at =
            facts_.firstCalendar + offset +
            (static_cast<int64_t>(startMs_) - static_cast<int64_t>(facts_.firstCalendarAtMs)) /
                1000;
        // The years a scenario's start may name (sim_calendar.h): 1971 to 2999.
        if (at >= 31536000LL && at < 32503680000LL) {
            const std::string text = CalendarText(static_cast<std::time_t>(at));
            if (!text.empty()) {
                out["start"] = text;
            }
        }
    }

    json Player() {
        json player;
        const EntityTold* told = Find(facts_.playerPed);
        const Vec3* at = told != nullptr ? Around(told->position, startMs_) : nullptr;
        playerStart_ = at != nullptr ? *at : Vec3{};
        if (at == nullptr) {
            leftOut_.push_back("where the player stood (never asked): he stands at 0, 0, 0");
        }
        player["position"] = Position(playerStart_);
        const int32_t* horse = Around(facts_.playerHorse, startMs_);
        if (horse != nullptr && *horse != 0) {
            const EntityTold* horseTold = Find(*horse);
            const Vec3* horseAt =
                horseTold != nullptr ? Around(horseTold->position, startMs_) : nullptr;
            if (horseAt != nullptr) {
                player["horse"] = json{{"position", Position(*horseAt)}};
            } else {
                player["horse"] = true;
            }
        }
        if (told != nullptr) {
            json path = Path(told->position);
            if (!path.empty()) {
                player["path"] = path;
            }
        }
        return player;
    }

    // Straight lines between the places the plug-in asked for him, each reached when he was
    // there, with the time he stayed put as a wait.
    json Path(const ToldList<Vec3>& places) {
        json path = json::array();
        Vec3 from = playerStart_;
        uint64_t leftAtMs = startMs_;  // when he was last seen at `from`
        uint64_t arrivedAtMs = startMs_;
        auto addWait = [&](uint64_t untilMs) {
            if (untilMs <= arrivedAtMs) {
                return;
            }
            const double waitS = static_cast<double>(untilMs - arrivedAtMs) / 1000.0;
            if (path.empty()) {
                path.push_back(json{{"to", Position(from)}, {"speed", 0}, {"wait_s", waitS}});
            } else {
                path.back()["wait_s"] = waitS;
            }
        };
        for (const Told<Vec3>& place : places) {
            if (place.atMs <= startMs_ || place.atMs > endMs_) {
                continue;
            }
            const float metres = Distance(from, place.value);
            if (metres < kStandingStill) {
                leftAtMs = place.atMs;
                continue;
            }
            addWait(leftAtMs);
            const double seconds = static_cast<double>(place.atMs - leftAtMs) / 1000.0;
            double speed = seconds > 0 ? metres / seconds : 0;
            if (speed > kFastestTravel) {
                speed = 0;
            }
            path.push_back(
                json{{"to", Position(place.value)}, {"speed", std::round(speed * 1000) / 1000}});
            from = place.value;
            leftAtMs = place.atMs;
            arrivedAtMs = place.atMs;
            ++pathPlaces_;
        }
        return path;
    }

    const EntityTold* Find(int32_t handle) const {
        auto it = facts_.entities.find(handle);
        return it == facts_.entities.end() ? nullptr : &it->second;
    }

    // The peds the scans listed within the scene's time, and the horses and vehicles they were
    // on; each is staged as the game described it at its first listing.
    void CollectPeds() {
        std::set<int32_t> playerHorses;
        for (const Told<int32_t>& horse : facts_.playerHorse) {
            playerHorses.insert(horse.value);
        }
        for (const ScanTold& scan : facts_.scans) {
            if (scan.atMs < startMs_ || scan.atMs > endMs_) {
                continue;
            }
            for (const int32_t ped : scan.peds) {
                ++listed_;
                const EntityTold* told = Find(ped);
                if (ped == facts_.playerPed || playerHorses.count(ped) > 0 || told == nullptr ||
                    told->madeByPlugin || anchors_.count(ped) > 0) {
                    continue;
                }
                const bool* exists = Around(told->exists, scan.atMs);
                if (exists != nullptr && !*exists) {
                    continue;
                }
                anchors_[ped] = scan.atMs;
            }
        }
        // Mounts and vehicles of the listed peds, at their riders' moments.
        for (const auto& [ped, anchor] : std::map<int32_t, uint64_t>(anchors_)) {
            const EntityTold& told = *Find(ped);
            const int32_t* vehicle = Around(told.vehicle, anchor);
            const int32_t* mount = Around(told.mount, anchor);
            if (vehicle != nullptr && *vehicle != 0 && *vehicle != ped) {
                if (vehicleAnchors_.count(*vehicle) == 0) {
                    vehicleAnchors_[*vehicle] = anchor;
                }
                seatedIn_[ped] = *vehicle;
            } else if (mount != nullptr && *mount != 0 && *mount != ped &&
                       *mount != facts_.playerPed && playerHorses.count(*mount) == 0) {
                if (anchors_.count(*mount) == 0 && Find(*mount) != nullptr) {
                    anchors_[*mount] = anchor;
                }
                mountOf_[ped] = *mount;
            }
        }
        // A vehicle is never also a ped.
        for (const auto& entry : vehicleAnchors_) {
            anchors_.erase(entry.first);
        }
    }

    Vec3 PlaceOf(int32_t handle, uint64_t anchor, bool* known) const {
        const EntityTold* told = Find(handle);
        const Vec3* at = told != nullptr ? Around(told->position, anchor) : nullptr;
        *known = at != nullptr;
        return at != nullptr ? *at : Vec3{};
    }

    json Vehicles() {
        json list = json::array();
        for (const auto& [vehicle, anchor] : vehicleAnchors_) {
            bool known = false;
            Vec3 at = PlaceOf(vehicle, anchor, &known);
            int occupants = 0;
            int highestSeat = -1;
            for (const auto& [ped, in] : seatedIn_) {
                if (in != vehicle) {
                    continue;
                }
                ++occupants;
                bool pedKnown = false;
                const Vec3 pedAt = PlaceOf(ped, anchors_[ped], &pedKnown);
                if (!known && pedKnown) {
                    at = pedAt;  // a seated ped's position is its vehicle's
                    known = true;
                }
                const int32_t* seat = Around(Find(ped)->seat, anchors_[ped]);
                highestSeat = std::max(highestSeat, seat != nullptr ? *seat : -1);
            }
            if (!known) {
                for (const auto& entry : seatedIn_) {
                    if (entry.second == vehicle) {
                        unplaced_.insert(entry.first);
                    }
                }
                continue;
            }
            const EntityTold* told = Find(vehicle);
            const uint32_t* model = told != nullptr ? Around(told->model, anchor) : nullptr;
            const VehicleModel* catalogued = model != nullptr ? FindVehicleModel(*model) : nullptr;
            json entry;
            const std::string id = "vehicle_" + std::to_string(vehicle);
            entry["id"] = id;
            if (catalogued != nullptr) {
                entry["model"] = catalogued->name;
            } else {
                entry["model"] = Hex(model != nullptr ? *model : 0);
                if (model == nullptr) {
                    ++vehiclesOfUnknownModel_;
                }
            }
            entry["position"] = Position(at);
            const int seatsKnown = catalogued != nullptr ? catalogued->seats : 2;
            const int seatsNeeded = std::min(16, std::max(highestSeat + 2, occupants));
            seats_[vehicle] = std::max(seatsKnown, seatsNeeded);
            if (seats_[vehicle] != seatsKnown) {
                entry["seats"] = seats_[vehicle];
            }
            const bool* owned = told != nullptr ? Around(told->owned, anchor) : nullptr;
            if (owned != nullptr && *owned) {
                entry["owned"] = true;
            }
            scene_.vehicleIds[vehicle] = id;
            list.push_back(entry);
        }
        return list;
    }

    json Peds() {
        json list = json::array();
        std::map<int32_t, std::set<int>> seatsTaken;
        std::set<int32_t> ridden;
        for (const auto& [ped, anchor] : anchors_) {
            const EntityTold& told = *Find(ped);
            bool known = false;
            Vec3 at = PlaceOf(ped, anchor, &known);
            auto rider = std::find_if(mountOf_.begin(), mountOf_.end(),
                                      [ped = ped](const auto& e) { return e.second == ped; });
            if (!known && rider != mountOf_.end()) {
                at = PlaceOf(rider->first, anchors_[rider->first], &known);  // under its rider
            }
            if (!known || unplaced_.count(ped) > 0) {
                ++unplacedCount_;
                continue;
            }
            json entry;
            const std::string id = "ped_" + std::to_string(ped);
            entry["id"] = id;
            const uint32_t* model = Around(told.model, anchor);
            const PedModel* catalogued = model != nullptr ? FindPedModel(*model) : nullptr;
            const bool* human = Around(told.human, anchor);
            if (catalogued != nullptr) {
                entry["model"] = catalogued->name;
            } else {
                entry["model"] = Hex(model != nullptr ? *model : 0);
                entry["human"] = human == nullptr || *human;
                ++(model == nullptr ? pedsOfUnknownModel_ : pedsOutsideCatalogue_);
            }
            if (catalogued != nullptr && human != nullptr && *human != catalogued->human) {
                entry["human"] = *human;
            }
            entry["position"] = Position(at);
            if (const uint32_t* group = Around(told.group, anchor)) {
                entry["group"] = GroupName(*group);
            }
            if (const bool* male = Around(told.male, anchor)) {
                entry["male"] = *male;
            }
            Weapons(told, anchor, catalogued, entry);
            const bool* dead = Around(told.dead, anchor);
            const bool* hogtied = Around(told.hogtied, anchor);
            const bool* injured = Around(told.injured, anchor);
            if (dead != nullptr && *dead) {
                entry["state"] = "dead";
            } else if (hogtied != nullptr && *hogtied) {
                entry["state"] = "hogtied";
            } else if (injured != nullptr && *injured) {
                entry["state"] = "injured";
            }
            const bool* owned = Around(told.owned, anchor);
            if (owned != nullptr && *owned) {
                entry["owned"] = true;
            }
            auto seated = seatedIn_.find(ped);
            auto mounted = mountOf_.find(ped);
            if (seated != seatedIn_.end() && scene_.vehicleIds.count(seated->second) > 0) {
                const int32_t* seat = Around(told.seat, anchor);
                int chosen = seat != nullptr && *seat >= -1 ? *seat : -1;
                std::set<int>& taken = seatsTaken[seated->second];
                while (taken.count(chosen) > 0 || chosen > seats_[seated->second] - 2) {
                    chosen = chosen > seats_[seated->second] - 2 ? -1 : chosen + 1;
                    if (taken.size() >= static_cast<size_t>(seats_[seated->second])) {
                        break;
                    }
                }
                if (taken.size() < static_cast<size_t>(seats_[seated->second])) {
                    taken.insert(chosen);
                    entry["vehicle"] = scene_.vehicleIds[seated->second];
                    entry["seat"] = chosen;
                }
            } else if (mounted != mountOf_.end() && anchors_.count(mounted->second) > 0 &&
                       ridden.count(mounted->second) == 0 && mountOf_.count(mounted->second) == 0) {
                ridden.insert(mounted->second);
                entry["mount"] = "ped_" + std::to_string(mounted->second);
            }
            scene_.pedIds[ped] = id;
            list.push_back(entry);
        }
        // A mount whose horse was left out leaves its rider on foot.
        for (json& entry : list) {
            if (entry.contains("mount")) {
                const std::string horse = entry["mount"].get<std::string>();
                const bool staged = std::any_of(list.begin(), list.end(), [&](const json& other) {
                    return other["id"].get<std::string>() == horse;
                });
                if (!staged) {
                    entry.erase("mount");
                }
            }
        }
        return list;
    }

    // The model's weapons, with what the game said of each kind put in.
    void Weapons(const EntityTold& told, uint64_t anchor, const PedModel* catalogued, json& entry) {
        if (told.weapons.empty()) {
            return;
        }
        uint32_t bits = catalogued != nullptr ? catalogued->weapons : 0;
        for (const auto& [bit, answers] : told.weapons) {
            const bool* has = Around(answers, anchor);
            if (has != nullptr) {
                bits = *has ? bits | (1u << bit) : bits & ~(1u << bit);
            }
        }
        json weapons = json::array();
        for (int bit = 0; bit < 6; ++bit) {
            if ((bits & (1u << bit)) != 0) {
                weapons.push_back(kWeaponNames[bit]);
            }
        }
        entry["weapons"] = weapons;
    }

    // The ground and water the plug-in probed anywhere in the session (they do not move).
    void Terrain(json& out) {
        json heights = json::array();
        std::set<std::pair<long, long>> seen;
        for (const ProbeTold& probe : facts_.ground) {
            if (std::fabs(probe.x) > 1e6f || std::fabs(probe.y) > 1e6f ||
                std::fabs(probe.answer) > 1e4f ||
                !seen.insert({std::lround(probe.x * 2), std::lround(probe.y * 2)}).second) {
                continue;
            }
            heights.push_back(
                json::array({Decimal(probe.x), Decimal(probe.y), Decimal(probe.answer)}));
        }
        json water = json::array();
        seen.clear();
        for (const ProbeTold& probe : facts_.water) {
            if (std::fabs(probe.x) > 1e6f || std::fabs(probe.y) > 1e6f ||
                std::fabs(probe.answer) > 1e4f ||
                !seen.insert({std::lround(probe.x), std::lround(probe.y)}).second) {
                continue;
            }
            water.push_back(json{{"kind", "lake"},
                                 {"centre", json::array({Decimal(probe.x), Decimal(probe.y)})},
                                 {"radius", 2},
                                 {"surface", Decimal(probe.answer)}});
        }
        if (heights.empty() && water.empty()) {
            leftOut_.push_back("the ground's shape (never probed): flat at the player's height");
            return;
        }
        json terrain;
        terrain["ground_height"] = Decimal(playerStart_.z);
        if (!heights.empty()) {
            terrain["heights"] = heights;
        }
        if (!water.empty()) {
            terrain["water"] = water;
        }
        out["terrain"] = terrain;
        groundProbes_ = heights.size();
        leftOut_.push_back(
            "the ground between the probed points: flat at the player's height beyond their "
            "reach");
    }

    void Settings(json& out) {
        const bool narrowed = !fromStart_ && known_;
        json ini = json::array();
        for (const std::string& line : IniLines(facts_.settings, narrowed)) {
            ini.push_back(line);
        }
        if (!ini.empty()) {
            out["ini"] = ini;
        }
        if (narrowed) {
            out["only_encounters"] = json::array({staged_->name});
        }
    }

    void Expect(json& out) {
        json expect;
        if (staged_ == nullptr) {
            expect["summary"] = json{{"contract_violations", 0}};
            out["expect"] = expect;
            return;
        }
        if (known_) {
            expect["encounters_run"] = json{{staged_->name, json{{"at_least", 1}}}};
        } else {
            expect["summary"] = json{{"contract_violations", 0}};
        }
        // How it ended: its closing line and what it said last before it (lines naming a
        // handle or a distance would not read the same in another world).
        json lines = json::array();
        const std::vector<std::string>& said = staged_->messages;
        if (staged_->end != SpanEnd::kRunning && !said.empty()) {
            const std::string& closing = said.back();
            for (size_t i = said.size() - 1; i-- > 0;) {
                if (!HasDigit(said[i]) && said[i] != closing &&
                    said[i].rfind("Executing ", 0) != 0) {
                    lines.push_back(said[i]);
                    break;
                }
            }
            if (!HasDigit(closing)) {
                lines.push_back(closing);
            }
        }
        if (!lines.empty()) {
            expect["log_has"] = lines;
        }
        out["expect"] = expect;
    }

    std::string Description() const {
        std::ostringstream text;
        text << "The world of "
             << (choice_.recordingName.empty() ? "a recording" : choice_.recordingName) << " ("
             << facts_.versionLine << ") from " << Seconds(startMs_) << " s to " << Seconds(endMs_)
             << " s of the session";
        if (staged_ != nullptr && !choice_.wholeSession) {
            text << ", around " << staged_->name << " (begun at " << Seconds(staged_->startMs)
                 << " s, " << SpanEndName(staged_->end) << ")";
        }
        text << ": " << scene_.pedIds.size() << " peds and " << scene_.vehicleIds.size()
             << " vehicles as the game described them to the plug-in (" << listed_
             << " listings by the scans); ";
        if (pathPlaces_ == 0) {
            text << "the player stays where he was seen";
        } else {
            text << "the player's path through " << pathPlaces_ << " places he was seen at";
        }
        if (groundProbes_ > 0) {
            text << "; the ground at " << groundProbes_ << " probed points";
        }
        if (!fromStart_) {
            text << ". The plug-in starts afresh here: only this encounter is on, due a minute "
                    "after its start-up";
        }
        for (const std::string& note : notes_) {
            text << "; " << note;
        }
        text << ". Left to the world's defaults: behaviour (each ped stands until ordered "
                "about), headings (never asked), peds the scans never listed, the ambient "
                "population, the clock's pace (the game's, half a minute a second)";
        for (const std::string& left : leftOut_) {
            text << ", " << left;
        }
        if (unplacedCount_ > 0) {
            text << "; left out: " << unplacedCount_ << " peds whose position was never asked";
        }
        if (pedsOfUnknownModel_ + vehiclesOfUnknownModel_ > 0) {
            text << "; " << pedsOfUnknownModel_ + vehiclesOfUnknownModel_
                 << " entities whose model was never asked are staged with model 0x00000000";
        }
        if (pedsOutsideCatalogue_ > 0) {
            text << "; " << pedsOutsideCatalogue_
                 << " peds of models outside the simulator's catalogue are staged by hash";
        }
        if (!log_.stoppedEarly.empty()) {
            text << ". The replay that reads the session's log stopped early (" << log_.stoppedEarly
                 << "): the encounters after that are not known";
        }
        text << ".";
        return text.str();
    }

    const RecordingFacts& facts_;
    const SessionLog& log_;
    const SceneChoice& choice_;
    Scene& scene_;
    const RecordedEncounter* staged_ = nullptr;
    bool known_ = false;  // the staged encounter is one this build's plug-in has
    uint64_t startMs_ = 0;
    uint64_t endMs_ = 0;
    uint64_t minutes_ = 1;
    bool fromStart_ = true;
    Vec3 playerStart_;
    std::map<int32_t, uint64_t> anchors_;         // staged ped -> the moment it is staged as
    std::map<int32_t, uint64_t> vehicleAnchors_;  // staged vehicle -> its first occupant's
    std::map<int32_t, int32_t> seatedIn_;         // ped -> vehicle
    std::map<int32_t, int32_t> mountOf_;          // rider -> horse
    std::map<int32_t, int> seats_;
    std::set<int32_t> unplaced_;
    size_t unplacedCount_ = 0;
    size_t listed_ = 0;
    size_t pathPlaces_ = 0;
    size_t groundProbes_ = 0;
    size_t pedsOfUnknownModel_ = 0;
    size_t vehiclesOfUnknownModel_ = 0;
    size_t pedsOutsideCatalogue_ = 0;
    std::vector<std::string> notes_;
    std::vector<std::string> leftOut_;
};

}  // namespace

bool BuildScene(const RecordingFacts& facts, const SessionLog& log, const SceneChoice& choice,
                Scene* scene, std::string* error) {
    *scene = Scene();
    SceneMaker maker(facts, log, choice, *scene);
    if (!maker.Choose(error)) {
        return false;
    }
    maker.Make();
    return true;
}
