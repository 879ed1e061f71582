// How long an encounter may watch its scene. An encounter runs on the plug-in's only script
// fiber: while it watches, no other encounter, no weather event and no mission check runs. So
// every watch gives up after kWatchLimitMs, whatever the world does, and no encounter holds
// the script longer than kLongestEncounterHoldMs.
#pragma once

#include <cstdint>
#include <string>

constexpr uint64_t kWatchLimitMinutes = 5;
constexpr uint64_t kWatchLimitMs = kWatchLimitMinutes * 60 * 1000;

// A wait ends on the first frame after it has run out: the bound allows each wait one frame
// late, for a game running at 10 frames a second or better.
constexpr uint64_t kFrameAllowanceMs = 100;

// The longest any encounter holds the script, from its first line to its return. The predator
// attack holds it longest (event3_animal_aggressor.cpp checks this sum at compile time):
//   spawn: 10 attempts x (a frame for collision, 10 model polls, retry)   110.0 s
//   attack phase: the watch limit, overrun by at most one 2 s pass        302.0 s
//   watch phase: the watch limit, overrun by at most one 1 s pass         301.0 s
//   each of those 122 waits one frame late                                12.2 s
//                                                                         725.2 s
// The bound was set when each attempt also let the new ped settle for a second (735.2 s); it
// is kept, as the tools and scenarios that check it know it, and still holds.
// The others: mugging 300 + 2 + 300 + 1 s, wagon robbery 300 + 1 s and two 2 s pauses, the
// NPC attacks and the bucking horse 300 s and one pass (and event 1's 1 s hand-back pause).
constexpr uint64_t kLongestEncounterHoldMs = 735200;

// One watch's clock, started with the watch. It reads the game's tick count rather than
// counting passes, so slow frames cannot stretch a watch past its limit.
class WatchLimit {
  public:
    WatchLimit();
    // True once kWatchLimitMs have passed since the watch began.
    bool Reached() const;

  private:
    uint64_t startMs_;
};

// The Debug line of a watch that gave up: "<what> has gone on for 5 minutes, <next>", where
// `next` says what the encounter does now.
void LogWatchLimitReached(const std::string& what, const std::string& next);

// "watching <who> for up to 5 more minutes.": what a phase that gave up leaves to the next.
inline std::string WatchingOnFor(const std::string& who) {
    return "watching " + who + " for up to " + std::to_string(kWatchLimitMinutes) +
           " more minutes.";
}

// The part of that line that names the limit, for tools that read the log.
inline std::string WatchLimitPhrase() {
    return " has gone on for " + std::to_string(kWatchLimitMinutes) + " minutes, ";
}
