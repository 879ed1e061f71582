#include "sim/app/sweep/sweep_seed_result.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using nlohmann::json;

namespace {

std::string OrNone(const std::string& text, const char* none) {
    return text.empty() ? std::string(none) : text;
}

std::string TextOf(const json& block, const char* key) {
    const json& value = block.value(key, json());
    return value.is_string() ? value.get<std::string>() : std::string();
}

}  // namespace

std::string IdentityDifference(const RunIdentity& identity, const RunIdentity& expected) {
    const auto differs = [](const std::string& what, const std::string& got,
                            const std::string& wanted) {
        return what + " " + got + ", not " + wanted;
    };
    if (identity.build != expected.build) {
        return differs("build", identity.build, expected.build);
    }
    if (identity.scenario != expected.scenario) {
        return differs("scenario", OrNone(identity.scenario, "the default town"),
                       OrNone(expected.scenario, "the default town"));
    }
    if (identity.scenarioDigest != expected.scenarioDigest) {
        return "scenario " + OrNone(identity.scenario, "the default town") +
               " with other contents (digest " + identity.scenarioDigest + ", not " +
               expected.scenarioDigest + ")";
    }
    if (identity.iniDigest != expected.iniDigest) {
        return differs("INI", OrNone(identity.iniDigest, "none"),
                       OrNone(expected.iniDigest, "none"));
    }
    if (identity.minutes != expected.minutes) {
        return differs("minutes", std::to_string(identity.minutes),
                       std::to_string(expected.minutes));
    }
    if (identity.start != expected.start) {
        return differs("start", OrNone(identity.start, "the default"),
                       OrNone(expected.start, "the default"));
    }
    const auto range = [](const RunIdentity& id) {
        return id.inSweep
                   ? "seeds " + std::to_string(id.firstSeed) + "-" + std::to_string(id.lastSeed)
                   : std::string("no sweep");
    };
    if (range(identity) != range(expected)) {
        return "sweep of " + range(identity) + ", not " + range(expected);
    }
    return "";
}

std::string FileDigest(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "";
    }
    uint64_t hash = 14695981039346656037ull;
    char c = 0;
    while (in.get(c)) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

json RunBlock(const RunIdentity& identity, uint64_t seed, const std::string& command) {
    json block;
    block["result_format"] = kSeedResultFormat;
    block["build"] = identity.build;
    block["scenario"] = identity.scenario.empty() ? json() : json(identity.scenario);
    block["scenario_digest"] = identity.scenarioDigest;
    block["ini_digest"] = identity.iniDigest.empty() ? json() : json(identity.iniDigest);
    block["seed"] = seed;
    block["minutes"] = identity.minutes;
    block["start"] = identity.start.empty() ? json() : json(identity.start);
    block["sweep"] = identity.inSweep ? json{{"first_seed", identity.firstSeed},
                                             {"last_seed", identity.lastSeed}}
                                      : json();
    block["command"] = command;
    return block;
}

bool ReadSeedResult(const std::string& path, SeedResult* result, std::string* why) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *why = "cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const json j = json::parse(text.str(), nullptr, false);
    if (j.is_discarded()) {
        *why = "damaged: not whole JSON (cut short?)";
        return false;
    }
    const json block = j.is_object() ? j.value("run", json()) : json();
    if (!block.is_object() || !block.value("seed", json()).is_number_unsigned() ||
        !block.value("minutes", json()).is_number_unsigned()) {
        *why = "not a seed's result: no \"run\" block with its seed and minutes";
        return false;
    }
    if (block.value("result_format", 0) != kSeedResultFormat) {
        *why = "result format " + block.value("result_format", json()).dump() +
               "; this simulator reads format " + std::to_string(kSeedResultFormat);
        return false;
    }
    const json checks = j.value("checks", json());
    if (!checks.is_object() || !checks.value("passed", json()).is_boolean()) {
        *why = "damaged: no \"checks\" with whether the run passed";
        return false;
    }
    RunIdentity& id = result->identity;
    id.build = TextOf(block, "build");
    id.scenario = TextOf(block, "scenario");
    id.scenarioDigest = TextOf(block, "scenario_digest");
    id.iniDigest = TextOf(block, "ini_digest");
    id.minutes = block["minutes"].get<uint64_t>();
    id.start = TextOf(block, "start");
    const json sweep = block.value("sweep", json());
    id.inSweep = sweep.is_object() && sweep.value("first_seed", json()).is_number_unsigned() &&
                 sweep.value("last_seed", json()).is_number_unsigned();
    if (id.inSweep) {
        id.firstSeed = sweep["first_seed"].get<uint64_t>();
        id.lastSeed = sweep["last_seed"].get<uint64_t>();
    }
    result->command = TextOf(block, "command");
    SeedRun& run = result->run;
    run.seed = block["seed"].get<uint64_t>();
    run.figures = j;
    if (checks["passed"].get<bool>()) {
        run.outcome = SeedRun::Outcome::Passed;
        run.problem.clear();
    } else {
        run.outcome = SeedRun::Outcome::Failed;
        run.problem = OrNone(TextOf(checks, "first_problem"), "a check was not met");
    }
    return true;
}
