// The simulated world asked every question the recorded game was asked, in step with a replay
// of the recording: the plug-in goes on getting the recorded answers (so it asks what it asked
// the game), while the world hears the same calls (its orders too) with the recording's
// handles turned into its own, and each of its answers is set against the recorded one.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/host/native_table.h"

class World;

// One native's tally.
struct NativeTally {
    std::string name;
    uint64_t asked = 0;
    uint64_t differ = 0;
    std::vector<std::string> firstCases;  // "312.400 s: CALL(...): recorded X; the world Y"
};

class WorldComparison {
  public:
    // entities: the recording's handle -> the world's, as staged (more are learnt from the
    // answers: the peds the plug-in creates, its blips, ...). With sameHandles, a handle of
    // neither is the same on both sides (the world the recording was made in).
    WorldComparison(World& world, const NativeTable& natives, std::map<int32_t, int32_t> entities,
                    bool sameHandles);

    // Before the replay answers: the world's answer to the call as the plug-in made it.
    void AskWorld(uint64_t hash, const NativeArgs& args, uint64_t nowMs);
    // After: the recorded answer (in result and in the plug-in's buffers) against the world's.
    void Compare(uint64_t hash, const NativeArgs& args, const NativeResult& recorded);

    const std::map<uint64_t, NativeTally>& Tallies() const { return tallies_; }
    uint64_t Asked() const;
    uint64_t Differ() const;

    // How many cases of each native are kept for the table.
    static constexpr size_t kCasesKept = 5;

    // What one native's arguments and answer are (world_comparison.cpp).
    struct NativeRule;

  private:
    int32_t ToWorld(int32_t recorded, bool blip);
    // The recording's name for a handle of the world, or -1 when it has none.
    int64_t ToRecorded(int32_t world, bool blip) const;
    void Learn(int32_t recorded, int32_t world, bool blip);
    std::string DescribeCall(const NativeRule& rule, const NativeArgs& args) const;

    World& world_;
    const NativeTable& natives_;
    std::map<int32_t, int32_t> toWorld_[2];  // [0] entities, [1] blips
    std::map<int32_t, int32_t> toRecorded_[2];
    bool sameHandles_ = false;
    int32_t nextMissing_ = 0x7F000001;  // handles the world has none of
    std::map<uint64_t, NativeTally> tallies_;

    // The world's answer to the call in flight.
    const NativeRule* rule_ = nullptr;
    bool asked_ = false;
    uint64_t atMs_ = 0;
    NativeResult worldResult_;
    std::vector<uint64_t> worldBuffer_;
    int32_t worldCell_ = 0;
    float worldFloat_ = 0;
};

// "NAME" of a native the plug-in calls, "0x..." for any other.
std::string NativeCalled(uint64_t hash);
