#include "sim/app/sweep/sweep_report.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "sim/app/report/report_assets.h"
#include "sim/app/report/report_format.h"

namespace {

constexpr int kMostBins = 24;
constexpr double kWidth = 360;
constexpr double kHeight = 150;
constexpr double kLeft = 34;
constexpr double kBottom = 20;

struct Bin {
    double low = 0;
    double high = 0;
    std::vector<uint64_t> passing;
    std::vector<uint64_t> failing;
    size_t Count() const { return passing.size() + failing.size(); }
};

// Whole numbers over a short range get a bar each; anything else is cut into equal bins.
std::vector<Bin> Bins(const SweptFigure& figure, const std::set<uint64_t>& failing) {
    const FigureSpread spread = figure.Spread();
    bool whole = true;
    for (const auto& value : figure.values) {
        whole = whole && value.second == std::floor(value.second);
    }
    const double span = spread.most - spread.least;
    const int count = whole && span < kMostBins ? static_cast<int>(span) + 1
                      : span == 0               ? 1
                                                : kMostBins;
    const double width = whole && span < kMostBins ? 1.0 : (span == 0 ? 1.0 : span / count);
    std::vector<Bin> bins(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        bins[i].low = spread.least + width * i;
        bins[i].high = whole && span < kMostBins ? bins[i].low : bins[i].low + width;
    }
    for (const auto& value : figure.values) {
        int at = static_cast<int>((value.second - spread.least) / width);
        at = std::min(std::max(at, 0), count - 1);
        (failing.count(value.first) > 0 ? bins[at].failing : bins[at].passing)
            .push_back(value.first);
    }
    return bins;
}

std::string SeedList(const std::vector<uint64_t>& seeds) {
    std::string text;
    for (size_t i = 0; i < seeds.size() && i < 12; ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(seeds[i]);
    }
    return seeds.size() > 12 ? text + ", ..." : text;
}

std::string Histogram(const SweptFigure& figure, const std::set<uint64_t>& failing) {
    const std::vector<Bin> bins = Bins(figure, failing);
    size_t tallest = 1;
    for (const Bin& bin : bins) {
        tallest = std::max(tallest, bin.Count());
    }
    const double plotWidth = kWidth - kLeft - 4;
    const double plotHeight = kHeight - kBottom - 8;
    const double barWidth = plotWidth / static_cast<double>(bins.size());
    std::ostringstream out;
    out << "<svg class=\"histogram\" width=\"" << kWidth << "\" height=\"" << kHeight
        << "\" viewBox=\"0 0 " << kWidth << " " << kHeight << "\">";
    out << "<text x=\"" << kLeft - 4 << "\" y=\"14\" text-anchor=\"end\">" << tallest
        << "</text><text x=\"" << kLeft - 4 << "\" y=\"" << kHeight - kBottom
        << "\" text-anchor=\"end\">0</text>";
    for (size_t i = 0; i < bins.size(); ++i) {
        const Bin& bin = bins[i];
        if (bin.Count() == 0) {
            continue;
        }
        const double x = kLeft + barWidth * static_cast<double>(i);
        const std::string range = bin.low == bin.high ? Number(bin.low, figure.decimals)
                                                      : Number(bin.low, figure.decimals) + " to " +
                                                            Number(bin.high, figure.decimals);
        double base = kHeight - kBottom;
        for (const bool fails : {false, true}) {
            const std::vector<uint64_t>& seeds = fails ? bin.failing : bin.passing;
            if (seeds.empty()) {
                continue;
            }
            const double height =
                plotHeight * static_cast<double>(seeds.size()) / static_cast<double>(tallest);
            base -= height;
            out << "<rect class=\"" << (fails ? "fail" : "pass") << "\" x=\"" << Number(x + 1)
                << "\" y=\"" << Number(base) << "\" width=\"" << Number(std::max(barWidth - 2, 1.0))
                << "\" height=\"" << Number(height) << "\"><title>" << seeds.size()
                << (fails ? " failing" : "") << (seeds.size() == 1 ? " run" : " runs") << ", "
                << Escape(range) << ": seed" << (seeds.size() == 1 ? " " : "s ") << SeedList(seeds)
                << "</title></rect>";
        }
    }
    out << "<text x=\"" << kLeft << "\" y=\"" << kHeight - 4 << "\">"
        << Number(bins.front().low, figure.decimals) << "</text><text x=\"" << kWidth - 4
        << "\" y=\"" << kHeight - 4 << "\" text-anchor=\"end\">"
        << Number(bins.back().high, figure.decimals) << "</text></svg>";
    return out.str();
}

void FiguresTable(const SweepResults& results, std::ostream& out) {
    out << "<table class=\"spread\"><tr><th></th><th class=\"n\">least</th><th "
           "class=\"n\">median</th><th class=\"n\">most</th><th>most at</th></tr>";
    bool perHourShown = false;
    for (const SweptFigure& figure : results.figures) {
        if (figure.perHour && !perHourShown) {
            out << "<tr><th colspan=\"5\">encounters per hour</th></tr>";
            perHourShown = true;
        }
        out << "<tr><td" << (figure.perHour ? " class=\"sub\"" : "") << ">" << Escape(figure.label)
            << "</td>";
        if (figure.values.empty()) {
            out << "<td colspan=\"4\">no run gave it</td></tr>";
            continue;
        }
        const FigureSpread spread = figure.Spread();
        out << "<td class=\"n\">" << Number(spread.least, figure.decimals)
            << "</td><td class=\"n\">" << Number(spread.median, figure.decimals)
            << "</td><td class=\"n\">" << Number(spread.most, figure.decimals) << "</td><td>seed "
            << spread.mostAtSeed << "</td></tr>";
    }
    out << "</table>";
    if (results.longest.empty()) {
        return;
    }
    out << "<h3>The longest encounter of a run</h3><table class=\"longest\"><tr><th>encounter"
           "</th><th>how it ended</th><th class=\"n\">runs</th></tr>";
    for (const LongestEncounterCount& count : results.longest) {
        out << "<tr><td>" << Escape(count.name) << "</td><td>" << Escape(count.end)
            << "</td><td class=\"n\">" << count.runs << "</td></tr>";
    }
    out << "</table>";
}

void FailingSection(const SweepResults& results, std::ostream& out) {
    out << "<section id=\"failing\"><h2>Failing seeds (" << results.failing.size() << ")</h2>";
    if (results.failing.empty()) {
        out << "<p>None: every run met every check that holds in every run.</p></section>";
        return;
    }
    out << "<table class=\"failing\"><tr><th>seed</th><th>first broken check</th>"
           "<th>reproduce with</th></tr>";
    for (const FailingSeed& failing : results.failing) {
        out << "<tr id=\"seed-" << failing.seed << "\"><td class=\"n\">" << failing.seed
            << "</td><td>" << Escape(failing.problem) << "</td><td><code>"
            << Escape(failing.command) << "</code></td></tr>";
    }
    out << "</table></section>";
}

}  // namespace

std::string SweepReportHtml(const SweepResults& results) {
    std::set<uint64_t> failing;
    for (const FailingSeed& seed : results.failing) {
        failing.insert(seed.seed);
    }
    const std::string title = "Tarrowind sweep: " + SweepTitle(results.setup);
    std::ostringstream out;
    out << "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>"
        << Escape(title) << "</title><style>" << kReportStyle << kSweepReportStyle
        << "</style></head><body><header><h1>" << Escape(title) << "</h1><p>" << results.runs
        << " runs, " << results.failing.size() << " failed";
    if (results.runsWithFigures < results.runs) {
        out << "; figures from the " << results.runsWithFigures << " runs that gave a summary";
    }
    out << ".</p><nav><a href=\"#figures\">Figures</a><a href=\"#histograms\">Histograms</a>"
           "<a href=\"#failing\">Failing seeds</a></nav></header>";
    out << "<section id=\"figures\"><h2>Across the runs</h2>";
    FiguresTable(results, out);
    out << "</section><section id=\"histograms\"><h2>Histograms</h2><p class=\"legend\">"
           "<span class=\"item pass\"><span class=\"swatch\"></span>runs that passed</span>"
           "<span class=\"item fail\"><span class=\"swatch\"></span>failing runs</span> Hover "
           "over a bar for its seeds.</p><div class=\"histograms\">";
    for (const SweptFigure& figure : results.figures) {
        if (figure.values.empty()) {
            continue;
        }
        out << "<figure><figcaption>" << (figure.perHour ? "per hour: " : "")
            << Escape(figure.label) << "</figcaption>" << Histogram(figure, failing) << "</figure>";
    }
    out << "</div></section>";
    FailingSection(results, out);
    out << "</body></html>\n";
    return out.str();
}
