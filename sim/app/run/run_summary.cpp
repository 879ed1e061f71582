#include "sim/app/run/run_summary.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "encounters/watch_limit.h"
#include "sim/app/run/game_state_figures.h"

namespace {

// The natives most idle frames make; an idle frame runs between two scriptWait(0) calls.
uint32_t TypicalIdleFrameNatives(const HostStats& stats) {
    uint32_t typical = 0;
    uint64_t most = 0;
    for (const auto& entry : stats.idleFrameNatives) {
        if (entry.second > most) {
            most = entry.second;
            typical = entry.first;
        }
    }
    return typical;
}

}  // namespace

nlohmann::json SummaryFigures(SimRun& run, const RunSummary& summary) {
    const HostStats& stats = run.Host().Stats();
    const RunFigures& figures = run.Figures();
    World& world = run.GetWorld();
    nlohmann::json j;
    j["simulated_minutes"] = summary.simulatedMinutes;
    j["wall_seconds"] = summary.wallSeconds;
    j["frames"] = stats.frames;
    j["encounters_run"] = nlohmann::json::object();
    for (const auto& entry : figures.encountersRun) {
        j["encounters_run"][entry.first] = entry.second;
    }
    j["encounter_picks_skipped"] = figures.encounterPicksSkipped;
    j["weather_events_run"] = nlohmann::json::object();
    for (const auto& entry : figures.weatherEventsRun) {
        j["weather_events_run"][entry.first] = entry.second;
    }
    // The encounter that held the script longest, and the most any may.
    const std::optional<EventSpan> longest = run.Spans().LongestEncounter(run.Host().NowMs());
    j["longest_encounter"] = longest ? nlohmann::json(longest->name) : nlohmann::json();
    j["longest_encounter_s"] =
        longest ? static_cast<double>(longest->HeldMs(run.Host().NowMs())) / 1000.0 : 0.0;
    j["longest_encounter_end"] =
        longest ? nlohmann::json(SpanEndName(longest->end)) : nlohmann::json();
    // How many times each encounter ended after a watch gave up at its limit.
    j["encounters_at_watch_limit"] = nlohmann::json::object();
    for (const EventSpan& span : run.Spans().Spans()) {
        if (!span.weather && span.end == SpanEnd::kBounded) {
            const uint64_t before = j["encounters_at_watch_limit"].value(span.name, uint64_t{0});
            j["encounters_at_watch_limit"][span.name] = before + 1;
        }
    }
    j["encounter_hold_bound_s"] = static_cast<double>(kLongestEncounterHoldMs) / 1000.0;
    j["natives_called"] = stats.nativesCalled;
    j["max_natives_in_one_frame"] = stats.maxNativesInOneFrame;
    j["worst_frame_during"] = figures.worstFrameDuring;
    j["natives_per_idle_frame"] = TypicalIdleFrameNatives(stats);
    j["main_loop_exceptions"] = figures.mainLoopExceptions;
    j["contract_violations"] = run.Host().Violations().size();
    j["ended_mid_event"] = summary.endedMidEvent;
    j["peds_left_owned"] = world.OwnedPedCount();
    j["blips_left"] = world.Blips().size();
    j["models_left_requested"] = world.ModelsLeftRequested();
    const GameStateFigures freePlay =
        FigureGameStates(run.Spans().Spans(), world.GameStates().Windows(), run.Host().NowMs());
    j["encounters_staged_outside_free_play"] = freePlay.stagedOutsideFreePlay;
    j["longest_s_into_a_game_state"] = freePlay.longestIntoGameStateS;
    j["peds_spawned"] = world.PedsSpawned();
    j["peds_killed"] = world.PedsKilled();
    j["peds_created_below_ground"] = world.PedsCreatedBelowGround();
    j["peds_created_in_water"] = world.PedsCreatedInWater();
    j["peds_created_in_air"] = world.PedsCreatedInAir();
    return j;
}

std::string SummaryText(SimRun& run, const RunSummary& summary) {
    const nlohmann::json j = SummaryFigures(run, summary);
    std::ostringstream out;
    out << "---- summary\n";
    out << "simulated " << j["simulated_minutes"].get<double>() << " min in "
        << j["wall_seconds"].get<double>() << " s of wall time, " << j["frames"] << " frames\n";
    out << "encounters run:";
    if (j["encounters_run"].empty()) {
        out << " none";
    }
    for (const auto& item : j["encounters_run"].items()) {
        out << " " << item.key() << "=" << item.value();
    }
    out << " (picks skipped for the hour: " << j["encounter_picks_skipped"] << ")\n";
    out << "weather events run:";
    if (j["weather_events_run"].empty()) {
        out << " none";
    }
    for (const auto& item : j["weather_events_run"].items()) {
        out << " " << item.key() << "=" << item.value();
    }
    out << "\n";
    out << "longest encounter: ";
    if (j["longest_encounter"].is_null()) {
        out << "none";
    } else {
        out << j["longest_encounter"].get<std::string>() << ", "
            << j["longest_encounter_s"].get<double>() << " s ("
            << j["longest_encounter_end"].get<std::string>() << ")";
    }
    out << "; no encounter may hold the script longer than "
        << j["encounter_hold_bound_s"].get<double>() << " s\n";
    out << "natives called: " << j["natives_called"]
        << ", per idle frame: " << j["natives_per_idle_frame"]
        << ", worst frame: " << j["max_natives_in_one_frame"] << " (during "
        << j["worst_frame_during"].get<std::string>() << ")\n";
    out << "peds left owned: " << j["peds_left_owned"] << ", blips left: " << j["blips_left"]
        << ", models left requested: " << j["models_left_requested"]
        << ", peds spawned: " << j["peds_spawned"] << ", peds killed: " << j["peds_killed"] << "\n";
    out << "peds created below ground: " << j["peds_created_below_ground"]
        << ", in water: " << j["peds_created_in_water"]
        << ", in the air: " << j["peds_created_in_air"] << "\n";
    out << "exceptions in the main loop: " << j["main_loop_exceptions"]
        << ", call contract breaches: " << j["contract_violations"] << "\n";
    return out.str();
}

std::string SummaryJson(SimRun& run, const RunSummary& summary) {
    return SummaryFigures(run, summary).dump(2) + "\n";
}
