#include "sim/app/report/report_html.h"

#include <cmath>
#include <map>
#include <sstream>

#include "sim/app/report/report_assets.h"
#include "sim/app/report/report_format.h"
#include "sim/app/report/report_map.h"
#include "sim/app/report/report_timeline.h"

namespace {

constexpr EncounterRole kRoles[] = {
    EncounterRole::Aggressor, EncounterRole::Victim,   EncounterRole::Lawman,
    EncounterRole::Bystander, EncounterRole::Predator, EncounterRole::Robber,
    EncounterRole::Driver,    EncounterRole::Rider,    EncounterRole::Horse,
};

// Markup (or log text) kept as text until it is shown: the page then opens at once however long
// the run, and the script builds a piece when it is first opened.
std::string Deferred(const std::string& content) {
    std::string text;
    text.reserve(content.size() + content.size() / 8);
    for (const char c : content) {
        // Inside a textarea only these two could be taken for markup.
        text += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
    }
    return "<textarea class=\"deferred\" hidden>" + text + "</textarea>";
}

std::string Css(std::string name) {
    for (char& c : name) {
        c = c == ' ' ? '-' : c;
    }
    return name;
}

std::string Swatch(const std::string& cls, const std::string& text) {
    return "<span class=\"item " + cls + "\"><span class=\"swatch\"></span>" + Escape(text) +
           "</span>";
}

std::string Duration(uint64_t ms) {
    const uint64_t s = ms / 1000;
    return s >= 60 ? std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s"
                   : std::to_string(s) + " s";
}

std::string LineAnchor(const RunReport& report, uint64_t atMs, const std::string& text) {
    return "<a href=\"" + LineLink(LineAt(report.lines, atMs)) + "\">" + Escape(text) + "</a>";
}

// Figures as rows; an object of counts gives a row per name.
void SummaryRows(const nlohmann::json& figures, const std::string& prefix, std::ostream& out) {
    for (const auto& item : figures.items()) {
        const std::string name = prefix + item.key();
        if (item.value().is_object()) {
            if (item.value().empty()) {
                out << "<tr><td>" << Escape(name) << "</td><td class=\"n\">none</td></tr>";
            }
            SummaryRows(item.value(), name + ".", out);
        } else {
            const std::string value =
                item.value().is_string() ? item.value().get<std::string>() : item.value().dump();
            out << "<tr><td>" << Escape(name) << "</td><td class=\"n\">" << Escape(value)
                << "</td></tr>";
        }
    }
}

// "robber, driver, 2 lawmen"
std::string RoleCounts(const ReportEncounter& encounter) {
    std::string text;
    for (const EncounterRole role : kRoles) {
        int count = 0;
        for (const ReportPed& ped : encounter.peds) {
            count += ped.role == role ? 1 : 0;
        }
        if (count > 0) {
            const std::string name = EncounterRoleName(role);
            text += (text.empty() ? "" : ", ") +
                    (count == 1 ? name
                                : std::to_string(count) + " " +
                                      (role == EncounterRole::Lawman ? "lawmen" : name + "s"));
        }
    }
    return text.empty() ? "nobody" : text;
}

void HeaderSection(const RunReport& report, std::ostream& out) {
    out << "<header><h1>" << Escape(report.title) << "</h1>";
    if (!report.description.empty()) {
        out << "<p>" << Escape(report.description) << "</p>";
    }
    out << "<p>" << Duration(report.endMs) << " simulated, " << report.encounters.size()
        << " encounters, " << report.lines.size() << " log lines.</p>";
    out << "<nav><a href=\"#timeline\">Timeline</a><a href=\"#map\">Map</a>"
           "<a href=\"#encounters\">Encounters</a><a href=\"#summary\">Summary</a>"
           "<a href=\"#log\">Log</a></nav></header>";
}

void TimelineSection(const RunReport& report, std::ostream& out) {
    out << "<section id=\"timeline\"><h2>Timeline</h2><p class=\"legend\">";
    for (const std::string& outcome : SpanOutcomeNames()) {
        out << Swatch("o-" + Css(outcome), outcome);
    }
    out << " Click an encounter for its map, anything else for the log at that moment.</p>"
        << "<div class=\"scroll\">" << TimelineSvg(report) << "</div>";
    std::ostringstream table;
    table << "<table class=\"entries\"><tr><th>start</th><th>end</th><th>what</th>"
             "<th>outcome</th></tr>";
    for (const TimelineEntry& entry : report.timeline) {
        const std::string what = entry.kind == TimelineKind::Encounter
                                     ? "<a href=\"#enc-" + std::to_string(entry.encounter) +
                                           "\">#" + std::to_string(entry.encounter) + " " +
                                           Escape(entry.label) + "</a>"
                                     : Escape(entry.label);
        table << "<tr><td>" << LineAnchor(report, entry.startMs, Clock(entry.startMs)) << "<td>"
              << Clock(entry.endMs) << "<td>" << what << "<td>" << Escape(entry.outcome);
    }
    out << "<details><summary>Every entry (" << report.timeline.size() << ")</summary>"
        << Deferred(table.str() + "</table>") << "</details></section>";
}

void MapSection(const RunReport& report, std::ostream& out) {
    out << "<section id=\"map\"><h2>Map of the run</h2><p class=\"legend\">"
        << "<span class=\"item\">- - the player's path</span>"
        << "<span class=\"item\">● an encounter (colour: outcome)</span>"
        << "<span class=\"item\">— the peds each encounter set going (colour: role; lawmen "
           "and bystanders are on the encounter's own map)</span>"
        << "<span class=\"item\">✕ a death</span><span class=\"item\">◇ a blip</span>"
        << "<span class=\"item\">ϟ lightning</span></p>" << OverviewMapSvg(report) << "</section>";
}

std::string Fate(const RunReport& report, const ReportPed& ped) {
    return ped.died ? "died at " + LineAnchor(report, ped.death.atMs, Clock(ped.death.atMs))
                    : std::string("alive");
}

// A row for each ped but the bystanders, who share one (an attack can stir up dozens). Cells
// and rows close themselves, as HTML allows: a day has thousands of these.
void PedRows(const RunReport& report, const ReportEncounter& encounter, std::ostream& out) {
    out << "<table class=\"peds\"><tr><th>role</th><th>ped</th><th>model</th><th>from</th>"
           "<th>moved</th><th>fate</th></tr>";
    std::string bystanders;
    int bystanderCount = 0;
    for (const ReportPed& ped : encounter.peds) {
        const std::string role = EncounterRoleName(ped.role);
        if (ped.role == EncounterRole::Bystander) {
            bystanders += (bystanders.empty() ? "" : ", ") + std::to_string(ped.handle) +
                          (ped.died ? " (" + Fate(report, ped) + ")" : "");
            ++bystanderCount;
            continue;
        }
        double moved = 0;
        for (size_t i = 1; i < ped.track.size(); ++i) {
            moved += std::hypot(ped.track[i].x - ped.track[i - 1].x,
                                ped.track[i].y - ped.track[i - 1].y);
        }
        out << "<tr><td class=\"role r-" << role << "\">" << role << "<td>" << ped.handle << "<td>"
            << Escape(ped.model) << "<td>" << LineAnchor(report, ped.roleAtMs, Clock(ped.roleAtMs))
            << "<td class=\"n\">" << Number(moved, 0) << " m<td>" << Fate(report, ped);
    }
    if (bystanderCount > 0) {
        out << "<tr><td class=\"role r-bystander\">" << bystanderCount
            << (bystanderCount == 1 ? " bystander" : " bystanders") << "<td colspan=\"5\">"
            << bystanders;
    }
    out << "</table>";
}

void EncounterDetails(const RunReport& report, const ReportEncounter& encounter,
                      std::ostream& out) {
    const EventSpan& span = encounter.span;
    out << "<details class=\"encounter\" id=\"enc-" << encounter.number << "\"><summary><b>#"
        << encounter.number << " " << Escape(span.name) << "</b>, " << Clock(span.startMs) << " to "
        << Clock(span.endMs) << " (" << Duration(span.endMs - span.startMs) << "), "
        << SpanOutcomeName(span) << ": " << RoleCounts(encounter) << "; worst frame "
        << encounter.worstFrameNatives << " natives</summary>";
    std::ostringstream body;
    body << "<div>" << EncounterMapSvg(report, encounter) << "</div><div><p>Log: <a href=\""
         << LineLink(span.firstLine) << "\">from " << Clock(span.startMs) << "</a> to <a href=\""
         << LineLink(span.lastLine) << "\">" << Clock(span.endMs)
         << "</a>. Each track ends in a dot; the dashed line and the black dot are the player."
         << "</p>";
    PedRows(report, encounter, body);
    out << "<div class=\"encounter-body\">" << Deferred(body.str() + "</div>")
        << "</div></details>";
}

void EncountersSection(const RunReport& report, std::ostream& out) {
    out << "<section id=\"encounters\"><h2>Encounters</h2><p class=\"legend\">";
    for (const EncounterRole role : kRoles) {
        out << Swatch(std::string("r-") + EncounterRoleName(role), EncounterRoleName(role));
    }
    out << "</p><table class=\"index\"><tr><th>#</th><th>encounter</th><th>start</th>"
           "<th>end</th><th>outcome</th><th>peds</th><th class=\"n\">worst frame</th></tr>";
    for (const ReportEncounter& e : report.encounters) {
        out << "<tr><td><a href=\"#enc-" << e.number << "\">#" << e.number << "</a></td><td>"
            << Escape(e.span.name) << "</td><td>" << Clock(e.span.startMs) << "</td><td>"
            << Clock(e.span.endMs) << "</td><td>"
            << Swatch("o-" + Css(SpanOutcomeName(e.span)), SpanOutcomeName(e.span)) << "</td><td>"
            << RoleCounts(e) << "</td><td class=\"n\">" << e.worstFrameNatives << "</td></tr>";
    }
    out << "</table>";
    for (const ReportEncounter& encounter : report.encounters) {
        EncounterDetails(report, encounter, out);
    }
    out << "</section>";
}

void SummarySection(const RunReport& report, std::ostream& out) {
    out << "<section id=\"summary\"><h2>Summary</h2><table>";
    SummaryRows(report.summary, "", out);
    out << "</table></section>";
}

// Lines in stretches of ten simulated minutes, each folded away unless the log is short. The
// script makes each line an element with the id "l<index>" when its stretch is shown.
void LogSection(const RunReport& report, std::ostream& out) {
    constexpr uint64_t kChunkMs = 10 * 60000;
    const bool open = report.lines.size() <= 3000;
    out << "<section id=\"log\"><h2>Log</h2><p><input id=\"log-filter\" type=\"search\" "
           "placeholder=\"show only lines with…\" size=\"40\"> <span id=\"log-count\"></span>"
           "</p><div id=\"log-lines\">";
    size_t i = 0;
    while (i < report.lines.size()) {
        const uint64_t chunkStart = report.lines[i].atMs / kChunkMs * kChunkMs;
        size_t end = i;
        while (end < report.lines.size() && report.lines[end].atMs < chunkStart + kChunkMs) {
            ++end;
        }
        out << "<details class=\"log-chunk\" data-first=\"" << i << "\"" << (open ? " open" : "")
            << "><summary>" << Clock(chunkStart) << " to " << Clock(chunkStart + kChunkMs) << ", "
            << end - i << " lines</summary>";
        std::string text;
        for (; i < end; ++i) {
            const LoggedLine& line = report.lines[i];
            text +=
                (text.empty() ? "" : "\n") + Clock(line.atMs) + " " + LineWithoutTimestamp(line);
        }
        out << Deferred(text) << "</details>";
    }
    out << "</div></section>";
}

}  // namespace

std::string ReportHtml(const RunReport& report) {
    std::ostringstream out;
    out << "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>"
        << Escape(report.title) << "</title><script>" << kReportErrorCatcher << "</script><style>"
        << kReportStyle << "</style></head><body>"
        << "<pre id=\"script-errors\" hidden></pre>";
    HeaderSection(report, out);
    TimelineSection(report, out);
    MapSection(report, out);
    EncountersSection(report, out);
    SummarySection(report, out);
    LogSection(report, out);
    out << "<script>" << kReportScript << "</script></body></html>\n";
    return out.str();
}
