// Checks of a run, read from a scenario's "always" or "expect" object (both take the same fields)
// and checked when the run is over: how often each encounter ran, any figure of the run's
// summary, and log lines that must or must not appear.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "sim/host/sim_run.h"
#include "sim/world/scenario_reader.h"

// A figure of the summary (or an encounter's count) within bounds, or equal to a value.
struct FigureExpectation {
    std::string name;  // the field that says it: "always.summary.peds_left_owned"
    nlohmann::json::json_pointer figure;
    std::optional<double> atLeast;
    std::optional<double> atMost;
    nlohmann::json equals;  // null: bounds only
};

// A log line, compared whole, timestamp aside.
struct LineExpectation {
    std::string name;  // "expect.log_has[0]"
    std::string text;
    bool present = true;
};

struct Expectations {
    std::vector<FigureExpectation> figures;
    std::vector<LineExpectation> lines;
    size_t Count() const { return figures.size() + lines.size(); }
};

// Reads the block of checks named `block` ("always" or "expect"; null: none). `figures` are a
// summary's figures: only their names and kinds are used, so those of a run not yet run will
// do. A mistake throws ScenarioError naming the field.
Expectations ReadExpectations(const ScenarioReader& in, const std::string& block,
                              const nlohmann::json& checks, const nlohmann::json& figures);

// One line for each expectation the run did not meet, naming it, with what was expected and
// what happened.
std::vector<std::string> UnmetExpectations(const Expectations& expectations,
                                           const nlohmann::json& figures,
                                           const std::vector<LoggedLine>& lines);
