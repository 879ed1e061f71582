#include "sim/app/sweep/sweep_results.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "encounters/encounter_list.h"
#include "sim/app/report/report_format.h"

using nlohmann::json;

namespace {

double FigureOf(const json& figures, const json::json_pointer& at) {
    return figures.contains(at) && figures[at].is_number() ? figures[at].get<double>() : 0.0;
}

SweptFigure Figure(const std::string& name, const std::string& label, bool perHour) {
    SweptFigure figure;
    figure.name = name;
    figure.label = label;
    figure.perHour = perHour;
    figure.decimals = perHour ? 2 : 1;
    return figure;
}

// Every encounter's rate per simulated hour (all of them, so one that never ran shows), their
// sum, then the single figures.
std::vector<SweptFigure> FiguresOf(const std::vector<SeedRun>& runs) {
    std::vector<SweptFigure> figures;
    std::vector<std::string> encounters;
    for (const EncounterEntry& encounter : AllEncounters()) {
        encounters.push_back(encounter.name);
        figures.push_back(
            Figure("encounters_per_hour." + encounters.back(), encounters.back(), true));
    }
    figures.push_back(Figure("encounters_per_hour.all", "all encounters", true));
    const std::pair<const char*, const char*> singles[] = {
        {"longest_encounter_s", "longest encounter (s)"},
        {"max_natives_in_one_frame", "worst frame (natives)"},
        {"peds_spawned", "peds spawned"},
        {"peds_killed", "peds killed"},
        {"peds_created_below_ground", "peds made below ground"},
        {"peds_created_in_water", "peds made in water"},
    };
    for (const auto& single : singles) {
        figures.push_back(Figure(single.first, single.second, false));
    }
    for (const SeedRun& run : runs) {
        if (!run.figures.is_object()) {
            continue;
        }
        const double hours = FigureOf(run.figures, json::json_pointer("/simulated_minutes")) / 60;
        double all = 0;
        size_t at = 0;
        for (const std::string& name : encounters) {
            const double count =
                FigureOf(run.figures, json::json_pointer("/encounters_run") / name);
            all += count;
            figures[at++].values.emplace_back(run.seed, hours > 0 ? count / hours : 0);
        }
        figures[at++].values.emplace_back(run.seed, hours > 0 ? all / hours : 0);
        for (const auto& single : singles) {
            figures[at++].values.emplace_back(
                run.seed,
                FigureOf(run.figures, json::json_pointer(std::string("/") + single.first)));
        }
    }
    return figures;
}

std::vector<LongestEncounterCount> LongestCounts(const std::vector<SeedRun>& runs) {
    std::map<std::pair<std::string, std::string>, uint64_t> counts;
    for (const SeedRun& run : runs) {
        if (run.figures.is_object() && run.figures.value("longest_encounter", json()).is_string()) {
            ++counts[{run.figures["longest_encounter"].get<std::string>(),
                      run.figures.value("longest_encounter_end", std::string())}];
        }
    }
    std::vector<LongestEncounterCount> out;
    for (const auto& entry : counts) {
        out.push_back(LongestEncounterCount{entry.first.first, entry.first.second, entry.second});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const LongestEncounterCount& a, const LongestEncounterCount& b) {
                         return a.runs > b.runs;
                     });
    return out;
}

std::vector<std::pair<std::string, uint64_t>> RunsAtWatchLimit(const std::vector<SeedRun>& runs) {
    std::vector<std::pair<std::string, uint64_t>> out;
    for (const EncounterEntry& encounter : AllEncounters()) {
        uint64_t count = 0;
        for (const SeedRun& run : runs) {
            const json::json_pointer at =
                json::json_pointer("/encounters_at_watch_limit") / std::string(encounter.name);
            count += run.figures.is_object() && FigureOf(run.figures, at) > 0 ? 1 : 0;
        }
        out.emplace_back(encounter.name, count);
    }
    return out;
}

std::string Padded(const std::string& text, size_t width, bool right) {
    if (text.size() >= width) {
        return text;
    }
    const std::string pad(width - text.size(), ' ');
    return right ? pad + text : text + pad;
}

json SpreadJson(const SweptFigure& figure) {
    if (figure.values.empty()) {
        return json();
    }
    const FigureSpread spread = figure.Spread();
    return {{"least", spread.least},
            {"median", spread.median},
            {"most", spread.most},
            {"most_at_seed", spread.mostAtSeed}};
}

}  // namespace

FigureSpread SweptFigure::Spread() const {
    FigureSpread spread;
    if (values.empty()) {
        return spread;
    }
    std::vector<double> sorted;
    for (const auto& value : values) {
        sorted.push_back(value.second);
    }
    std::sort(sorted.begin(), sorted.end());
    spread.least = sorted.front();
    spread.most = sorted.back();
    const size_t middle = sorted.size() / 2;
    spread.median =
        sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    for (const auto& value : values) {
        if (value.second == spread.most) {
            spread.mostAtSeed = value.first;
            break;
        }
    }
    return spread;
}

std::string SweepTitle(const SweepSetup& setup) {
    const std::string seeds =
        setup.firstSeed == setup.lastSeed
            ? "seed " + std::to_string(setup.firstSeed)
            : "seeds " + std::to_string(setup.firstSeed) + "-" + std::to_string(setup.lastSeed);
    return (setup.scenario.empty() ? std::string("the default town") : setup.scenario) + ", " +
           seeds + ", " + std::to_string(setup.minutes) + " minutes each";
}

SweepResults SummarizeSweep(const SweepSetup& setup, const std::vector<SeedRun>& runs) {
    SweepResults results;
    results.setup = setup;
    results.runs = runs.size();
    for (const SeedRun& run : runs) {
        results.runsWithFigures += run.figures.is_object() ? 1 : 0;
        if (run.outcome != SeedRun::Outcome::Passed) {
            results.failing.push_back(FailingSeed{run.seed, run.problem, setup.command(run.seed)});
        }
    }
    results.figures = FiguresOf(runs);
    results.longest = LongestCounts(runs);
    results.runsAtWatchLimit = RunsAtWatchLimit(runs);
    return results;
}

std::string SweepTable(const SweepResults& results) {
    std::ostringstream out;
    out << "---- sweep of " << SweepTitle(results.setup) << "\n";
    out << "runs: " << results.runs << ", failed: " << results.failing.size() << "\n";
    if (results.runsWithFigures < results.runs) {
        out << "figures from the " << results.runsWithFigures << " runs that gave a summary\n";
    }
    constexpr size_t kLabel = 26;
    constexpr size_t kNumber = 9;
    out << "\n"
        << Padded("", kLabel, false) << Padded("least", kNumber, true)
        << Padded("median", kNumber, true) << Padded("most", kNumber, true) << "  most at\n";
    bool perHourShown = false;
    for (const SweptFigure& figure : results.figures) {
        if (!perHourShown && figure.perHour) {
            out << "encounters per hour\n";
            perHourShown = true;
        }
        out << Padded((figure.perHour ? "  " : "") + figure.label, kLabel, false);
        if (figure.values.empty()) {
            out << Padded("-", kNumber, true) << Padded("-", kNumber, true)
                << Padded("-", kNumber, true) << "\n";
            continue;
        }
        const FigureSpread spread = figure.Spread();
        out << Padded(Number(spread.least, figure.decimals), kNumber, true)
            << Padded(Number(spread.median, figure.decimals), kNumber, true)
            << Padded(Number(spread.most, figure.decimals), kNumber, true) << "  seed "
            << spread.mostAtSeed << "\n";
    }
    if (!results.longest.empty()) {
        out << "longest encounter of a run, by encounter and how it ended\n";
        size_t width = 0;
        for (const LongestEncounterCount& count : results.longest) {
            width = std::max(width, count.name.size() + count.end.size() + 5);
        }
        for (const LongestEncounterCount& count : results.longest) {
            out << Padded("  " + count.name + " (" + count.end + ")", width, false)
                << Padded(std::to_string(count.runs), 6, true)
                << (count.runs == 1 ? " run\n" : " runs\n");
        }
    }
    if (!results.runsAtWatchLimit.empty()) {
        out << "runs in which a watch of the encounter reached its limit\n";
        for (const auto& count : results.runsAtWatchLimit) {
            out << Padded("  " + count.first, kLabel, false)
                << Padded(std::to_string(count.second), kNumber, true)
                << (count.second == 1 ? " run\n" : " runs\n");
        }
    }
    out << "\n";
    if (results.failing.empty()) {
        out << "failing seeds: none\n";
    } else {
        out << "failing seeds: " << results.failing.size() << "\n";
        for (const FailingSeed& failing : results.failing) {
            out << "  seed " << failing.seed << ": " << failing.problem << "\n"
                << "    " << failing.command << "\n";
        }
    }
    return out.str();
}

json SweepJson(const SweepResults& results) {
    json j;
    j["scenario"] = results.setup.scenario.empty() ? json() : json(results.setup.scenario);
    j["first_seed"] = results.setup.firstSeed;
    j["last_seed"] = results.setup.lastSeed;
    j["minutes"] = results.setup.minutes;
    j["runs"] = results.runs;
    j["failures"] = results.failing.size();
    j["runs_with_figures"] = results.runsWithFigures;
    json figures = json::object();
    for (const SweptFigure& figure : results.figures) {
        const size_t dot = figure.name.find('.');
        if (dot == std::string::npos) {
            figures[figure.name] = SpreadJson(figure);
        } else {
            figures[figure.name.substr(0, dot)][figure.name.substr(dot + 1)] = SpreadJson(figure);
        }
    }
    j["figures"] = figures;
    json longest = json::object();
    for (const LongestEncounterCount& count : results.longest) {
        longest[count.name][count.end] = count.runs;
    }
    j["longest_encounter_runs"] = longest;
    json atLimit = json::object();
    for (const auto& count : results.runsAtWatchLimit) {
        atLimit[count.first] = count.second;
    }
    j["runs_at_watch_limit"] = atLimit;
    j["failing_seeds"] = json::array();
    for (const FailingSeed& failing : results.failing) {
        j["failing_seeds"].push_back(
            {{"seed", failing.seed}, {"problem", failing.problem}, {"command", failing.command}});
    }
    return j;
}
