#include "sim/scene/world_comparison.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/native_list.h"
#include "sim/world/world.h"

// What each argument of a native is, and what its answer is, so that the recording's handles
// can be turned into the world's and the two answers compared.
//   arguments: e entity, p player, l blip, b bool, i int, h hash, f float, s string,
//              B the nearby-ped buffer, c an entity by address, C a blip by address,
//              F a float written back, G a group hash written back, . anything else
//   answer:    - none, b bool, i int, e entity, l blip, h hash, f float, v position
struct WorldComparison::NativeRule {
    uint64_t hash;
    const char* name;
    const char* args;
    char answer;
};

namespace {

namespace id = native::id;

using NativeRule = WorldComparison::NativeRule;

#define ROW(native, args, answer) \
    { id::native::kHash, #native, args, answer }
const NativeRule kRules[] = {
    ROW(PLAYER_ID, "", 'i'),
    ROW(GET_PLAYER_PED, "p", 'e'),
    ROW(PLAYER_PED_ID, "", 'e'),
    ROW(GET_ACTIVE_HORSE_FOR_PLAYER, "p", 'e'),
    ROW(GET_ENTITY_COORDS, "ebb", 'v'),
    ROW(VDIST, "ffffff", 'f'),
    ROW(GET_PED_NEARBY_PEDS, "eBii", 'i'),
    ROW(GET_HASH_KEY, "s", 'h'),
    ROW(GET_CLOCK_HOURS, "", 'i'),
    ROW(GET_MISSION_FLAG, "", 'b'),
    ROW(IS_PLAYER_PLAYING, "p", 'b'),
    ROW(IS_PED_DEAD_OR_DYING, "eb", 'b'),
    ROW(IS_PLAYER_BEING_ARRESTED, "pb", 'b'),
    ROW(IS_PLAYER_CONTROL_ON, "p", 'b'),
    ROW(IS_SCREEN_FADED_OUT, "", 'b'),
    ROW(GET_IS_LOADING_SCREEN_ACTIVE, "", 'b'),
    ROW(GET_RANDOM_EVENT_FLAG, "", 'b'),
    ROW(DOES_ENTITY_EXIST, "e", 'b'),
    ROW(IS_ENTITY_DEAD, "e", 'b'),
    ROW(IS_ENTITY_A_MISSION_ENTITY, "e", 'b'),
    ROW(GET_ENTITY_MODEL, "e", 'h'),
    ROW(IS_PED_HUMAN, "e", 'b'),
    ROW(IS_PED_MALE, "e", 'b'),
    ROW(IS_PED_INJURED, "e", 'b'),
    ROW(IS_PED_HOGTIED, "e", 'b'),
    ROW(IS_PED_FLEEING, "e", 'b'),
    ROW(IS_PED_IN_MELEE_COMBAT, "e", 'b'),
    ROW(IS_PED_IN_COMBAT, "ee", 'b'),
    ROW(IS_PED_SHOOTING_TEST_1, "e.", 'b'),
    ROW(IS_PED_SHOOTING_TEST_2, "e.", 'b'),
    ROW(IS_PED_SHOOTING_TEST_3, "e.", 'b'),
    ROW(IS_PED_SHOOTING_TEST_4, "e.", 'b'),
    ROW(IS_PED_SHOOTING_TEST_5, "e.", 'b'),
    ROW(IS_PED_SHOOTING_TEST_6, "e.", 'b'),
    ROW(IS_PED_IN_ANY_VEHICLE, "eb", 'b'),
    ROW(IS_PED_IN_VEHICLE, "eeb", 'b'),
    ROW(GET_VEHICLE_PED_IS_IN, "eb", 'e'),
    ROW(GET_SEAT_PED_IS_USING, "e", 'i'),
    ROW(IS_PED_RIDING_MOUNT, "eb", 'b'),
    ROW(GET_MOUNT, "e", 'e'),
    ROW(GET_SCRIPT_TASK_STATUS, "ehb", 'i'),
    ROW(SET_ENTITY_AS_MISSION_ENTITY, "ebb", '-'),
    ROW(SET_ENTITY_AS_NO_LONGER_NEEDED, "c", '-'),
    ROW(SET_PED_KEEP_TASK, "eb", '-'),
    ROW(CLEAR_PED_TASKS, "ebb", '-'),
    ROW(CLEAR_PED_SECONDARY_TASK, "e", '-'),
    ROW(TASK_COMBAT_PED, "ee..", '-'),
    ROW(TASK_COMBAT_ANIMAL_CHARGE_PED, "ee.....", '-'),
    ROW(TASK_FLEE_PED, "ee.....", '-'),
    ROW(TASK_ROB_PED, "ee...", '-'),
    ROW(TASK_ENTER_VEHICLE, "ee.....", '-'),
    ROW(TASK_VEHICLE_DRIVE_WANDER, "ee..", '-'),
    ROW(TASK_MOUNT_THROW_RIDER, "eb", '-'),
    ROW(GIVE_WEAPON_TO_PED, "eh...........", 'h'),
    ROW(GET_PED_RELATIONSHIP_GROUP_HASH, "e", 'h'),
    ROW(SET_PED_RELATIONSHIP_GROUP_HASH, "eh", '-'),
    ROW(ADD_RELATIONSHIP_GROUP, "sG", 'b'),
    ROW(SET_RELATIONSHIP_BETWEEN_GROUPS, "ihh", '-'),
    ROW(BLIP_ADD_FOR_ENTITY, "he", 'l'),
    ROW(GET_BLIP_FROM_ENTITY, "e", 'l'),
    ROW(CLEAR_BLIP, "l", 'b'),
    ROW(REMOVE_BLIP_BY_ADDRESS, "C", '-'),
    ROW(REQUEST_MODEL, "hb", '-'),
    ROW(HAS_MODEL_LOADED, "h", 'b'),
    ROW(SET_MODEL_AS_NO_LONGER_NEEDED, "h", '-'),
    ROW(CREATE_PED, "hffffbbbb", 'e'),
    ROW(PLACE_ENTITY_ON_GROUND_PROPERLY, "eb", 'b'),
    ROW(SET_RANDOM_OUTFIT_VARIATION, "eb", '-'),
    ROW(FREEZE_ENTITY_POSITION, "eb", '-'),
    ROW(SET_WEATHER_TYPE, "h.....", '-'),
    ROW(CLEAR_WEATHER_TYPE_OVER_TIME, "i", '-'),
    ROW(FORCE_LIGHTNING_FLASH_AT_COORDS, "ffff", '-'),
    ROW(REQUEST_COLLISION_AT_COORD, "fff", '-'),
    ROW(GET_GROUND_Z_FOR_3D_COORD, "fffFb", 'b'),
    ROW(GET_WATER_HEIGHT_NO_WAVES, "fffF", 'b'),
    ROW(IS_PED_ON_MOUNT, "e", 'b'),
    ROW(GET_NUM_FREE_SLOTS_IN_PED_POOL, "", 'i'),
};
#undef ROW

const NativeRule* RuleOf(uint64_t hash) {
    for (const NativeRule& rule : kRules) {
        if (rule.hash == hash) {
            return &rule;
        }
    }
    return nullptr;
}

// Positions and distances nearer than this are the same answer: a float printed and read
// back, or the game's own jitter, is no difference of the world.
constexpr float kSamePlace = 0.5f;
// Heights of the ground and the water.
constexpr float kSameHeight = 0.05f;
constexpr size_t kMostBufferSlots = 201;  // the capacity the plug-in offers, and slot 0

float FloatOf(uint64_t slot) {
    const uint32_t bits = static_cast<uint32_t>(slot);
    float value = 0;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

int32_t IntOf(uint64_t slot) {
    return static_cast<int32_t>(static_cast<uint32_t>(slot));
}

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
    std::string out = text;
    while (out.size() > 1 && out.back() == '0') {
        out.pop_back();
    }
    if (!out.empty() && out.back() == '.') {
        out.pop_back();
    }
    return out;
}

std::string HexOf(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string Vector(const uint64_t* slots) {
    return "(" + Number(FloatOf(slots[0])) + ", " + Number(FloatOf(slots[1])) + ", " +
           Number(FloatOf(slots[2])) + ")";
}

}  // namespace

std::string NativeCalled(uint64_t hash) {
    const NativeRule* rule = RuleOf(hash);
    return rule != nullptr ? rule->name : HexOf(static_cast<uint32_t>(hash));
}

WorldComparison::WorldComparison(World& world, const NativeTable& natives,
                                 std::map<int32_t, int32_t> entities, bool sameHandles)
    : world_(world), natives_(natives), sameHandles_(sameHandles) {
    for (const auto& [recorded, inWorld] : entities) {
        Learn(recorded, inWorld, false);
    }
    Learn(0, 0, false);
    Learn(0, 0, true);
}

void WorldComparison::Learn(int32_t recorded, int32_t world, bool blip) {
    toWorld_[blip][recorded] = world;
    toRecorded_[blip][world] = recorded;
}

int32_t WorldComparison::ToWorld(int32_t recorded, bool blip) {
    auto it = toWorld_[blip].find(recorded);
    if (it != toWorld_[blip].end()) {
        return it->second;
    }
    if (sameHandles_ && toRecorded_[blip].count(recorded) == 0) {
        Learn(recorded, recorded, blip);
        return recorded;
    }
    // The world has nothing the recording calls so: a handle of nothing, always the same one.
    const int32_t missing = nextMissing_++;
    Learn(recorded, missing, blip);
    return missing;
}

int64_t WorldComparison::ToRecorded(int32_t world, bool blip) const {
    auto it = toRecorded_[blip].find(world);
    if (it == toRecorded_[blip].end()) {
        return sameHandles_ && toWorld_[blip].count(world) == 0 ? world : -1;
    }
    return it->second;
}

void WorldComparison::AskWorld(uint64_t hash, const NativeArgs& args, uint64_t nowMs) {
    asked_ = false;
    rule_ = RuleOf(hash);
    const NativeHandlerEntry* entry = natives_.Find(hash);
    if (rule_ == nullptr || entry == nullptr ||
        args.Count() != static_cast<int>(std::strlen(rule_->args))) {
        return;
    }
    atMs_ = nowMs;
    uint64_t slots[16] = {};
    worldBuffer_.clear();
    for (int i = 0; i < args.Count() && i < 16; ++i) {
        const char kind = rule_->args[i];
        slots[i] = args.Raw(i);
        if (kind == 'e' || kind == 'p' || kind == 'l') {
            slots[i] = static_cast<uint32_t>(ToWorld(args.Int(i), kind == 'l'));
        } else if (kind == 'B') {
            const uint64_t* buffer = args.Pointer<const uint64_t>(i);
            if (buffer != nullptr) {
                const size_t capacity =
                    static_cast<size_t>(IntOf(buffer[0]) > 0 ? IntOf(buffer[0]) : 0);
                worldBuffer_.assign(std::min(capacity + 1, kMostBufferSlots), 0);
                worldBuffer_[0] = buffer[0];
                slots[i] = reinterpret_cast<uintptr_t>(worldBuffer_.data());
            }
        } else if (kind == 'c' || kind == 'C') {
            const int32_t* cell = args.Pointer<const int32_t>(i);
            worldCell_ = cell != nullptr ? ToWorld(*cell, kind == 'C') : 0;
            slots[i] = cell != nullptr ? reinterpret_cast<uintptr_t>(&worldCell_) : 0;
        } else if (kind == 'F' || kind == 'G') {
            worldFloat_ = 0;
            worldCell_ = 0;
            slots[i] =
                args.Raw(i) != 0
                    ? reinterpret_cast<uintptr_t>(kind == 'F' ? static_cast<void*>(&worldFloat_)
                                                              : static_cast<void*>(&worldCell_))
                    : 0;
        }
    }
    worldResult_ = NativeResult();
    entry->handler(world_, NativeArgs(slots, args.Count()), worldResult_);
    asked_ = true;
}

void WorldComparison::Compare(uint64_t hash, const NativeArgs& args, const NativeResult& recorded) {
    if (!asked_ || rule_ == nullptr || rule_->hash != hash) {
        return;
    }
    asked_ = false;
    std::string recordedText;
    std::string worldText;
    bool same = true;
    const bool blipAnswer = rule_->answer == 'l';
    switch (rule_->answer) {
        case 'b':
            same = (recorded.slots[0] != 0) == (worldResult_.slots[0] != 0);
            recordedText = recorded.slots[0] != 0 ? "true" : "false";
            worldText = worldResult_.slots[0] != 0 ? "true" : "false";
            break;
        case 'i':
            same = IntOf(recorded.slots[0]) == IntOf(worldResult_.slots[0]);
            recordedText = std::to_string(IntOf(recorded.slots[0]));
            worldText = std::to_string(IntOf(worldResult_.slots[0]));
            break;
        case 'h':
            same = static_cast<uint32_t>(recorded.slots[0]) ==
                   static_cast<uint32_t>(worldResult_.slots[0]);
            recordedText = HexOf(static_cast<uint32_t>(recorded.slots[0]));
            worldText = HexOf(static_cast<uint32_t>(worldResult_.slots[0]));
            break;
        case 'e':
        case 'l': {
            const int32_t r = IntOf(recorded.slots[0]);
            const int32_t w = IntOf(worldResult_.slots[0]);
            int64_t named = ToRecorded(w, blipAnswer);
            if (named < 0 && r != 0 && w != 0 && toWorld_[blipAnswer].count(r) == 0) {
                Learn(r, w, blipAnswer);  // the same new entity on both sides
                named = r;
            }
            same = named == r;
            recordedText = std::to_string(r);
            worldText = named >= 0 ? std::to_string(named) : "its own " + std::to_string(w);
            break;
        }
        case 'f': {
            const float r = FloatOf(recorded.slots[0]);
            const float w = FloatOf(worldResult_.slots[0]);
            same = std::fabs(r - w) <= kSamePlace || (std::isnan(r) && std::isnan(w));
            recordedText = Number(r);
            worldText = Number(w);
            break;
        }
        case 'v': {
            const Vec3 r{FloatOf(recorded.slots[0]), FloatOf(recorded.slots[1]),
                         FloatOf(recorded.slots[2])};
            const Vec3 w{FloatOf(worldResult_.slots[0]), FloatOf(worldResult_.slots[1]),
                         FloatOf(worldResult_.slots[2])};
            same = Distance(r, w) <= kSamePlace;
            recordedText = Vector(recorded.slots);
            worldText = Vector(worldResult_.slots);
            break;
        }
        default:
            break;
    }
    // What came back through the arguments.
    for (int i = 0; i < args.Count() && rule_->args[i] != '\0'; ++i) {
        const char kind = rule_->args[i];
        if (kind == 'B') {
            const uint64_t* buffer = args.Pointer<const uint64_t>(i);
            const int32_t count = IntOf(recorded.slots[0]);
            std::string r = "[";
            std::string w = "[";
            for (int32_t n = 1; buffer != nullptr && n <= count && n < 201; ++n) {
                r += (n > 1 ? ", " : "") + std::to_string(IntOf(buffer[n]));
            }
            const int32_t worldCount = IntOf(worldResult_.slots[0]);
            for (int32_t n = 1; n <= worldCount && static_cast<size_t>(n) < worldBuffer_.size();
                 ++n) {
                const int64_t named =
                    ToRecorded(IntOf(worldBuffer_[static_cast<size_t>(n)]), false);
                w += (n > 1 ? ", " : "") +
                     (named >= 0 ? std::to_string(named)
                                 : "its own " +
                                       std::to_string(IntOf(worldBuffer_[static_cast<size_t>(n)])));
            }
            r += "]";
            w += "]";
            same = same && r == w;
            recordedText = std::to_string(count) + " " + r;
            worldText = std::to_string(worldCount) + " " + w;
        } else if (kind == 'F' && (recorded.slots[0] != 0 || worldResult_.slots[0] != 0)) {
            const float* cell = args.Pointer<const float>(i);
            const float r = cell != nullptr ? *cell : 0;
            if (recorded.slots[0] != 0 && worldResult_.slots[0] != 0) {
                same = same && std::fabs(r - worldFloat_) <= kSameHeight;
            }
            recordedText += recorded.slots[0] != 0 ? " at " + Number(r) : "";
            worldText += worldResult_.slots[0] != 0 ? " at " + Number(worldFloat_) : "";
        } else if (kind == 'G') {
            const uint32_t* cell = args.Pointer<const uint32_t>(i);
            const uint32_t r = cell != nullptr ? *cell : 0;
            same = same && r == static_cast<uint32_t>(worldCell_);
            recordedText += " " + HexOf(r);
            worldText += " " + HexOf(static_cast<uint32_t>(worldCell_));
        }
    }
    if (rule_->answer == '-' && recordedText.empty()) {
        return;  // an order: nothing answered to compare, the world has heard it
    }
    NativeTally& tally = tallies_[hash];
    tally.name = rule_->name;
    ++tally.asked;
    if (same) {
        return;
    }
    ++tally.differ;
    if (tally.firstCases.size() < kCasesKept) {
        char at[32];
        std::snprintf(at, sizeof at, "%.3f s: ", static_cast<double>(atMs_) / 1000.0);
        tally.firstCases.push_back(std::string(at) + DescribeCall(*rule_, args) + ": recorded " +
                                   recordedText + "; the world " + worldText);
    }
}

std::string WorldComparison::DescribeCall(const NativeRule& rule, const NativeArgs& args) const {
    std::string text = std::string(rule.name) + "(";
    for (int i = 0; i < args.Count() && rule.args[i] != '\0'; ++i) {
        const char kind = rule.args[i];
        std::string arg;
        switch (kind) {
            case 'e':
            case 'p':
            case 'l':
            case 'i':
                arg = std::to_string(args.Int(i));
                break;
            case 'b':
                arg = args.Bool(i) ? "true" : "false";
                break;
            case 'h':
                arg = HexOf(args.Uint(i));
                break;
            case 'f':
                arg = Number(args.Float(i));
                break;
            case 's': {
                const char* s = args.Pointer<const char>(i);
                arg = s != nullptr ? "\"" + std::string(s) + "\"" : "null";
                break;
            }
            case '.':
                continue;
            default:
                arg = "&";
                break;
        }
        text += (text.back() == '(' ? "" : ", ") + arg;
    }
    return text + ")";
}

uint64_t WorldComparison::Asked() const {
    uint64_t total = 0;
    for (const auto& entry : tallies_) {
        total += entry.second.asked;
    }
    return total;
}

uint64_t WorldComparison::Differ() const {
    uint64_t total = 0;
    for (const auto& entry : tallies_) {
        total += entry.second.differ;
    }
    return total;
}
