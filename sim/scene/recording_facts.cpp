#include "sim/scene/recording_facts.h"

#include <cmath>
#include <cstring>
#include <ctime>

#include "host/native_list.h"
#include "sim/host/run_setup.h"

using recording::Record;

namespace {

namespace id = native::id;

// The stand-in host's frame: a wait of ms resumes the script on the first frame at or past it,
// one frame at least; a sleep holds the clock up by exactly its length.
constexpr uint64_t kFrameMs = 33;

uint64_t AfterWait(uint64_t nowMs, uint64_t waitMs) {
    const uint64_t frames = waitMs == 0 ? 1 : (waitMs + kFrameMs - 1) / kFrameMs;
    return nowMs + frames * kFrameMs;
}

int32_t Handle(uint64_t slot) {
    return static_cast<int32_t>(static_cast<uint32_t>(slot));
}

float FloatOf(uint64_t slot) {
    const uint32_t bits = static_cast<uint32_t>(slot);
    float value = 0;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// A place on a map: a hostile file's infinities and far-off numbers are no place.
bool OnTheMap(float a, float b, float c) {
    constexpr float kFar = 1e6f;
    return std::fabs(a) <= kFar && std::fabs(b) <= kFar && std::fabs(c) <= kFar;
}

uint64_t ArgValue(const Record& r, size_t i) {
    return i < r.args.size() ? r.args[i].value : 0;
}

// Which of the six weapon tests a hash is (0 revolver .. 5 shotgun), or -1.
int WeaponTest(uint64_t hash) {
    const uint64_t tests[] = {id::IS_PED_SHOOTING_TEST_1::kHash, id::IS_PED_SHOOTING_TEST_2::kHash,
                              id::IS_PED_SHOOTING_TEST_3::kHash, id::IS_PED_SHOOTING_TEST_4::kHash,
                              id::IS_PED_SHOOTING_TEST_5::kHash, id::IS_PED_SHOOTING_TEST_6::kHash};
    for (int i = 0; i < 6; ++i) {
        if (tests[i] == hash) {
            return i;
        }
    }
    return -1;
}

class FactReader {
  public:
    explicit FactReader(RecordingFacts& facts) : facts_(facts) {}

    void Native(const Record& r) {
        ++facts_.nativeRecords;
        const uint64_t h = r.hash;
        const int32_t first = Handle(ArgValue(r, 0));
        const bool yes = r.resultCount > 0 && r.result[0] != 0;
        const int32_t answer = r.resultCount > 0 ? Handle(r.result[0]) : 0;
        if (h == id::PLAYER_ID::kHash) {
            facts_.playerId = answer;
        } else if (h == id::GET_PLAYER_PED::kHash || h == id::PLAYER_PED_ID::kHash) {
            if (answer != 0) {
                facts_.playerPed = answer;
            }
        } else if (h == id::GET_ACTIVE_HORSE_FOR_PLAYER::kHash) {
            Tell(facts_.playerHorse, answer);
        } else if (h == id::GET_ENTITY_COORDS::kHash && r.resultCount == 3) {
            const float x = FloatOf(r.result[0]), y = FloatOf(r.result[1]),
                        z = FloatOf(r.result[2]);
            if (first != 0 && OnTheMap(x, y, z) && (x != 0 || y != 0 || z != 0)) {
                Tell(Of(first).position, Vec3{x, y, z});
            }
        } else if (h == id::GET_PED_NEARBY_PEDS::kHash) {
            Scan(r, first);
        } else if (h == id::GET_CLOCK_HOURS::kHash) {
            if (answer >= 0 && answer < 24) {
                Tell(facts_.clockHours, static_cast<int>(answer));
            }
        } else if (h == id::DOES_ENTITY_EXIST::kHash) {
            Tell(Of(first).exists, yes);
        } else if (h == id::IS_ENTITY_DEAD::kHash) {
            Tell(Of(first).dead, yes);
        } else if (h == id::IS_ENTITY_A_MISSION_ENTITY::kHash) {
            Tell(Of(first).owned, yes);
        } else if (h == id::GET_ENTITY_MODEL::kHash) {
            Tell(Of(first).model, static_cast<uint32_t>(answer));
        } else if (h == id::GET_PED_RELATIONSHIP_GROUP_HASH::kHash) {
            Tell(Ped(first).group, static_cast<uint32_t>(answer));
        } else if (h == id::IS_PED_HUMAN::kHash) {
            Tell(Ped(first).human, yes);
        } else if (h == id::IS_PED_MALE::kHash) {
            Tell(Ped(first).male, yes);
        } else if (h == id::IS_PED_INJURED::kHash) {
            Tell(Ped(first).injured, yes);
        } else if (h == id::IS_PED_HOGTIED::kHash) {
            Tell(Ped(first).hogtied, yes);
        } else if (h == id::IS_PED_IN_ANY_VEHICLE::kHash) {
            if (!yes) {
                Tell(Ped(first).vehicle, 0);
            }
        } else if (h == id::GET_VEHICLE_PED_IS_IN::kHash) {
            Tell(Ped(first).vehicle, answer);
        } else if (h == id::GET_SEAT_PED_IS_USING::kHash) {
            Tell(Ped(first).seat, answer);
        } else if (h == id::IS_PED_RIDING_MOUNT::kHash || h == id::IS_PED_ON_MOUNT::kHash) {
            if (!yes) {
                Tell(Ped(first).mount, 0);
            }
        } else if (h == id::GET_MOUNT::kHash) {
            Tell(Ped(first).mount, answer);
            if (answer != 0) {
                Ped(answer);
            }
        } else if (WeaponTest(h) >= 0) {
            Tell(Ped(first).weapons[WeaponTest(h)], yes);
        } else if (h == id::CREATE_PED::kHash) {
            if (answer != 0) {
                Ped(answer).madeByPlugin = true;
            }
        } else if (h == id::GET_GROUND_Z_FOR_3D_COORD::kHash) {
            Probe(r, facts_.ground);
        } else if (h == id::GET_WATER_HEIGHT_NO_WAVES::kHash) {
            Probe(r, facts_.water);
        } else if (h == id::SET_WEATHER_TYPE::kHash) {
            facts_.weather.push_back(WeatherTold{nowMs_, static_cast<uint32_t>(ArgValue(r, 0))});
        } else if (h == id::CLEAR_WEATHER_TYPE_OVER_TIME::kHash) {
            facts_.weather.push_back(WeatherTold{nowMs_, 0});
        }
    }

    void Kernel(const Record& r) {
        if (r.kind == recording::kWait) {
            nowMs_ = AfterWait(nowMs_, r.number);
        } else if (r.kind == recording::kSleep) {
            nowMs_ += r.number;
        } else if (r.kind == recording::kTickCount && !facts_.sawTickCount) {
            facts_.sawTickCount = true;
            facts_.firstTickCount = r.number;
            facts_.firstTickAtMs = nowMs_;
        } else if (r.kind == recording::kCalendarNow && !facts_.sawCalendar) {
            facts_.sawCalendar = true;
            facts_.firstCalendar = static_cast<int64_t>(r.number);
            facts_.firstCalendarAtMs = nowMs_;
        } else if (r.kind == recording::kLocalTime && r.converted && !sawLocalTime_) {
            sawLocalTime_ = true;
            std::tm fields{};
            fields.tm_sec = r.tm[0];
            fields.tm_min = r.tm[1];
            fields.tm_hour = r.tm[2];
            fields.tm_mday = r.tm[3];
            fields.tm_mon = r.tm[4];
            fields.tm_year = r.tm[5];
            facts_.localOffsetS = static_cast<int64_t>(timegm(&fields)) - r.when;
        }
    }

    uint64_t NowMs() const { return nowMs_; }

  private:
    template <typename T>
    void Tell(ToldList<T>& list, T value) {
        list.push_back(Told<T>{nowMs_, value});
    }

    EntityTold& Of(int32_t handle) { return facts_.entities[handle]; }
    EntityTold& Ped(int32_t handle) {
        EntityTold& entity = Of(handle);
        entity.askedAsPed = true;
        return entity;
    }

    void Scan(const Record& r, int32_t centre) {
        if (r.args.size() < 2 || r.args[1].kind != recording::kArgSlotBuffer || r.resultCount < 1) {
            return;
        }
        const std::vector<uint64_t>& slots = r.args[1].slots;
        ScanTold scan;
        scan.atMs = nowMs_;
        scan.centre = centre;
        const int64_t count = static_cast<int32_t>(static_cast<uint32_t>(r.result[0]));
        for (int64_t i = 1; i <= count && static_cast<size_t>(i) < slots.size(); ++i) {
            const int32_t ped = Handle(slots[static_cast<size_t>(i)]);
            if (ped == 0) {
                continue;
            }
            scan.peds.push_back(ped);
            EntityTold& entity = Ped(ped);
            if (entity.firstListedMs > nowMs_) {
                entity.firstListedMs = nowMs_;
            }
        }
        facts_.scans.push_back(std::move(scan));
    }

    // A probe (x, y, z, &answer, ...) answered true: what it found.
    void Probe(const Record& r, std::vector<ProbeTold>& into) {
        if (r.args.size() < 4 || r.resultCount < 1 || r.result[0] == 0 ||
            r.args[3].kind != recording::kArgCell || !r.args[3].present) {
            return;
        }
        ProbeTold probe;
        probe.atMs = nowMs_;
        probe.x = FloatOf(r.args[0].value);
        probe.y = FloatOf(r.args[1].value);
        probe.z = FloatOf(r.args[2].value);
        probe.answer = FloatOf(r.args[3].value);
        if (OnTheMap(probe.x, probe.y, probe.z) && OnTheMap(probe.answer, 0, 0)) {
            into.push_back(probe);
        }
    }

    RecordingFacts& facts_;
    uint64_t nowMs_ = kFrameMs;
    bool sawLocalTime_ = false;  // the script first runs in the host's first frame
};

}  // namespace

RecordingFacts ReadRecordingFacts(recording::RecordingReader& reader) {
    RecordingFacts facts;
    facts.versionLine = reader.VersionLine();
    facts.settings = reader.Settings();
    FactReader read(facts);
    Record record;
    while (reader.Next(&record)) {
        if (record.kind == recording::kNative) {
            read.Native(record);
        } else {
            read.Kernel(record);
        }
        if (read.NowMs() > kLongestSessionMs) {
            // An idle run of billions of frames: no session the recorder writes (its size cap
            // holds a few weeks of idle play at most), and reading it out would never end.
            facts.endMs = read.NowMs();
            facts.ending = recording::RecordingReader::Ending::Damaged;
            facts.problem = "damaged at byte " + std::to_string(record.offset) +
                            ": it plays on past " + std::to_string(kLongestSessionMs / 3600000) +
                            " hours, longer than a scene is made from";
            return facts;
        }
    }
    facts.endMs = read.NowMs();
    facts.ending = reader.Ended();
    facts.problem = reader.Problem();
    return facts;
}

bool SeedOfRecording(const RecordingFacts& facts, uint64_t* seed) {
    if (!facts.sawTickCount) {
        return false;
    }
    // HostOptionsForSeed: the tick count at time 0 is 3600000 + (seed * 7919) % 86400000.
    constexpr uint64_t kDay = 86400000;
    const uint64_t atZero = facts.firstTickCount - facts.firstTickAtMs;
    if (facts.firstTickCount < facts.firstTickAtMs || atZero < 3600000 ||
        atZero - 3600000 >= kDay) {
        return false;
    }
    // 7919 is prime and divides no power of 2, 3 or 5: it has an inverse modulo a day's ms.
    uint64_t inverse = 0;
    for (uint64_t k = 1; k < 7919; ++k) {
        if ((k * kDay + 1) % 7919 == 0) {
            inverse = (k * kDay + 1) / 7919;
            break;
        }
    }
    const uint64_t candidate = ((atZero - 3600000) % kDay) * inverse % kDay;
    if (HostOptionsForSeed(candidate).startTickMs != atZero) {
        return false;
    }
    *seed = candidate;
    return true;
}
