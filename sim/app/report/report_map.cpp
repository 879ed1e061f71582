#include "sim/app/report/report_map.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "sim/app/report/report_format.h"
#include "sim/app/report/report_terrain.h"

namespace {

// The part of the world a map shows.
class MapView {
  public:
    void Add(float x, float y) {
        minX_ = std::min(minX_, x);
        maxX_ = std::max(maxX_, x);
        minY_ = std::min(minY_, y);
        maxY_ = std::max(maxY_, y);
    }
    void Add(const std::vector<TrackPoint>& track) {
        for (const TrackPoint& p : track) {
            Add(p.x, p.y);
        }
    }
    bool Empty() const { return minX_ > maxX_; }
    bool Contains(float x, float y) const {
        return x >= minX_ && x <= maxX_ && y >= minY_ && y <= maxY_;
    }
    // A margin all round, at least minSize across, and not too narrow either way.
    void Frame(float minSize) {
        if (Empty()) {
            Add(0, 0);
        }
        const float width = std::max({maxX_ - minX_, minSize, (maxY_ - minY_) * 0.75f});
        const float height = std::max({maxY_ - minY_, minSize * 0.6f, (maxX_ - minX_) * 0.5f});
        const float cx = (minX_ + maxX_) / 2;
        const float cy = (minY_ + maxY_) / 2;
        minX_ = cx - width * 0.55f;
        maxX_ = cx + width * 0.55f;
        minY_ = cy - height * 0.55f;
        maxY_ = cy + height * 0.55f;
    }
    float Width() const { return maxX_ - minX_; }
    float Height() const { return maxY_ - minY_; }
    // Map units for marks and text that should look the same size on every map.
    float Unit() const { return std::max(Width(), Height()) / 100.0f; }
    std::string ViewBox() const {
        return Number(minX_) + " " + Number(-maxY_) + " " + Number(Width()) + " " +
               Number(Height());
    }
    float Left() const { return minX_; }
    float Bottom() const { return minY_; }

  private:
    float minX_ = 1e30f;
    float maxX_ = -1e30f;
    float minY_ = 1e30f;
    float maxY_ = -1e30f;
};

// "x,y" with y turned upward.
std::string Point(float x, float y) {
    return Number(x) + "," + Number(-y);
}

// The track without the points that are less than minStep from the last one kept.
std::vector<TrackPoint> Thin(const std::vector<TrackPoint>& track, float minStep) {
    std::vector<TrackPoint> kept;
    for (const TrackPoint& p : track) {
        if (kept.empty() || std::hypot(p.x - kept.back().x, p.y - kept.back().y) >= minStep) {
            kept.push_back(p);
        }
    }
    if (!track.empty() && kept.size() > 1 && kept.back().atMs != track.back().atMs) {
        kept.push_back(track.back());
    }
    return kept;
}

// Paths through tracks as one SVG path, snapped to cells of the given size; a stretch drawn
// before is not drawn again, so a day of the same rounds stays small.
class GridPath {
  public:
    explicit GridPath(float cell) : cell_(cell) {}
    void Add(const std::vector<TrackPoint>& track) {
        bool haveLast = false;
        bool penDown = false;
        Cell last{0, 0};
        for (const TrackPoint& p : track) {
            const Cell here{std::lround(p.x / cell_), std::lround(p.y / cell_)};
            if (haveLast && here == last) {
                continue;
            }
            if (haveLast && drawn_.insert(std::minmax(last, here)).second) {
                d_ += (penDown ? " L" : " M" + Where(last) + " L") + Where(here);
                penDown = true;
            } else {
                penDown = false;
            }
            last = here;
            haveLast = true;
        }
    }
    const std::string& D() const { return d_; }

  private:
    using Cell = std::pair<long, long>;
    std::string Where(Cell c) const {
        return Point(static_cast<float>(c.first) * cell_, static_cast<float>(c.second) * cell_);
    }

    float cell_;
    std::set<std::pair<Cell, Cell>> drawn_;
    std::string d_;
};

std::string Polyline(const std::vector<TrackPoint>& track) {
    std::string points;
    for (const TrackPoint& p : track) {
        points += (points.empty() ? "" : " ") + Point(p.x, p.y);
    }
    return points;
}

std::string Title(const std::string& text) {
    return "<title>" + Escape(text) + "</title>";
}

std::string Link(const std::string& href, const std::string& inside) {
    return "<a href=\"" + href + "\">" + inside + "</a>";
}

std::string Cross(float x, float y, float size) {
    return "M" + Point(x - size, y - size) + " L" + Point(x + size, y + size) + " M" +
           Point(x - size, y + size) + " L" + Point(x + size, y - size);
}

std::string Diamond(float x, float y, float size) {
    return "M" + Point(x, y + size) + " L" + Point(x + size, y) + " L" + Point(x, y - size) + " L" +
           Point(x - size, y) + "Z";
}

std::string Bolt(float x, float y, float size) {
    return "M" + Point(x + size * 0.4f, y + size) + " L" + Point(x - size * 0.3f, y) + " L" +
           Point(x + size * 0.3f, y) + " L" + Point(x - size * 0.4f, y - size);
}

// A bar of a round length, about a fifth of the map wide, in the lower left corner.
std::string ScaleBar(const MapView& view) {
    const double target = view.Width() / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(target)));
    double length = power;
    for (const double step : {2.0, 5.0, 10.0}) {
        if (power * step <= target) {
            length = power * step;
        }
    }
    const float u = view.Unit();
    const float x = view.Left() + 3 * u;
    const float y = view.Bottom() + 3 * u;
    const float end = x + static_cast<float>(length);
    std::ostringstream out;
    out << "<g class=\"scale\"><path d=\"M" << Point(x, y + u) << " L" << Point(x, y) << " L"
        << Point(end, y) << " L" << Point(end, y + u) << "\"/><text x=\"" << Number(x) << "\" y=\""
        << Number(-(y + 1.6f * u)) << "\" font-size=\"" << Number(3 * u) << "\">"
        << Number(length, 0) << " m</text></g>";
    return out.str();
}

std::string MapStart(const MapView& view, const std::string& classes, const std::string& label) {
    return "<svg class=\"map " + classes + "\" viewBox=\"" + view.ViewBox() +
           "\" role=\"img\" aria-label=\"" + Escape(label) + "\">";
}

// Deaths, blips and lightning strikes on the map, each linked to its moment in the log.
std::string Marks(const RunReport& report, const std::vector<PlaceMark>& deaths,
                  const std::vector<PlaceMark>& blips,
                  const std::vector<LightningStrike>& lightning, const MapView& view) {
    const float u = view.Unit();
    std::ostringstream out;
    for (const PlaceMark& blip : blips) {
        out << Link(
            LineLink(LineAt(report.lines, blip.atMs)),
            "<path class=\"blip\" d=\"" + Diamond(blip.x, blip.y, 1.6f * u) + "\">" +
                Title("blip on " + std::to_string(blip.entity) + " at " + Clock(blip.atMs)) +
                "</path>");
    }
    for (const PlaceMark& death : deaths) {
        out << Link(LineLink(LineAt(report.lines, death.atMs)),
                    "<path class=\"death\" d=\"" + Cross(death.x, death.y, 1.3f * u) + "\">" +
                        Title(std::to_string(death.entity) + " died at " + Clock(death.atMs)) +
                        "</path>");
    }
    for (const LightningStrike& strike : lightning) {
        if (!view.Contains(strike.pos.x, strike.pos.y)) {
            continue;
        }
        out << Link(LineLink(LineAt(report.lines, strike.atMs)),
                    "<path class=\"lightning\" d=\"" + Bolt(strike.pos.x, strike.pos.y, 2 * u) +
                        "\">" + Title("lightning at " + Clock(strike.atMs)) + "</path>");
    }
    return out.str();
}

// Where the player was at atMs: his last position taken by then.
bool PlayerAt(const std::vector<TrackPoint>& player, uint64_t atMs, TrackPoint* place) {
    const auto after = std::upper_bound(player.begin(), player.end(), atMs,
                                        [](uint64_t t, const TrackPoint& p) { return t < p.atMs; });
    if (after == player.begin()) {
        return false;
    }
    *place = *std::prev(after);
    return true;
}

// Where an encounter happened: where its first attacker (else its first ped) was when it got
// its role, else where the player stood when it began.
bool EncounterPlace(const ReportEncounter& encounter, const std::vector<TrackPoint>& player,
                    TrackPoint* place) {
    const ReportPed* chosen = nullptr;
    for (const ReportPed& ped : encounter.peds) {
        if (!ped.track.empty() &&
            (chosen == nullptr || (IsAttackerRole(ped.role) && !IsAttackerRole(chosen->role)))) {
            chosen = &ped;
        }
    }
    if (chosen != nullptr) {
        *place = chosen->track.front();
        return true;
    }
    return PlayerAt(player, encounter.span.startMs, place);
}

std::string PlayerMark(const TrackPoint& at) {
    return "<path class=\"player-at\" d=\"M" + Point(at.x, at.y) + "h0\">" +
           Title("the player at " + Clock(at.atMs)) + "</path>";
}

// Each ped's track, coloured by role and ending in a dot, linked to the log line of the call
// that gave the ped its role.
std::string PedTracks(const RunReport& report, const ReportEncounter& encounter, float step) {
    std::string out;
    for (const ReportPed& ped : encounter.peds) {
        if (ped.track.empty() || ped.isPlayer) {
            continue;
        }
        const std::string role = EncounterRoleName(ped.role);
        const std::vector<TrackPoint> track = Thin(ped.track, step);
        const TrackPoint& last = track.back();
        out += Link(LineLink(LineAt(report.lines, ped.roleAtMs)),
                    "<g class=\"r-" + role + "\">" +
                        Title(role + " " + std::to_string(ped.handle) + " (" + ped.model + "), " +
                              Clock(track.front().atMs) + " to " + Clock(last.atMs)) +
                        "<polyline class=\"track\" points=\"" + Polyline(track) +
                        "\"/><path class=\"end\" d=\"M" + Point(last.x, last.y) + "h0\"/></g>");
    }
    return out;
}

// Every encounter's tracks but the lawmen's and bystanders' (dozens an encounter, told on its
// own map), one path per role, so a day of encounters stays light to draw.
std::string RoleTracks(const RunReport& report, float step) {
    std::map<EncounterRole, std::string> paths;
    for (const ReportEncounter& encounter : report.encounters) {
        for (const ReportPed& ped : encounter.peds) {
            if (ped.isPlayer || ped.role == EncounterRole::Lawman ||
                ped.role == EncounterRole::Bystander || ped.track.size() < 2) {
                continue;
            }
            std::string& d = paths[ped.role];
            const char* command = " M";
            for (const TrackPoint& p : Thin(ped.track, step)) {
                d += command + Point(p.x, p.y);
                command = " L";
            }
        }
    }
    std::string out;
    for (const auto& role : paths) {
        const std::string name = EncounterRoleName(role.first);
        out += "<g class=\"r-" + name + "\"><path class=\"track\" d=\"" + role.second + "\">" +
               Title("tracks of every " + name) + "</path></g>";
    }
    return out;
}

std::string OutcomeClass(const EventSpan& span) {
    std::string name = SpanOutcomeName(span);
    std::replace(name.begin(), name.end(), ' ', '-');
    return "o-" + name;
}

}  // namespace

std::string OverviewMapSvg(const RunReport& report) {
    MapView view;
    view.Add(report.player);
    std::vector<std::pair<const ReportEncounter*, TrackPoint>> places;
    for (const ReportEncounter& encounter : report.encounters) {
        TrackPoint place;
        if (EncounterPlace(encounter, report.player, &place)) {
            places.emplace_back(&encounter, place);
            view.Add(place.x, place.y);
        }
        for (const ReportPed& ped : encounter.peds) {
            view.Add(ped.track);
        }
    }
    view.Frame(60.0f);
    const float u = view.Unit();
    std::ostringstream out;
    out << MapStart(view, "overview", "map of the whole run") << TerrainLayer(report.terrain);
    GridPath player(std::max(0.5f, u / 4));
    player.Add(report.player);
    out << "<path class=\"player\" d=\"" << player.D() << "\">" << Title("the player's path")
        << "</path>";
    if (!report.player.empty()) {
        out << PlayerMark(report.player.front());
    }
    out << RoleTracks(report, u);
    out << Marks(report, report.deaths, report.blips, report.lightning, view);
    const bool numbered = places.size() <= 60;
    for (const auto& place : places) {
        const ReportEncounter& e = *place.first;
        std::string mark = "<circle class=\"encounter " + OutcomeClass(e.span) + "\" cx=\"" +
                           Number(place.second.x) + "\" cy=\"" + Number(-place.second.y) +
                           "\" r=\"" + Number(1.4f * u) + "\">" +
                           Title("#" + std::to_string(e.number) + " " + e.span.name + " at " +
                                 Clock(e.span.startMs) + ", " + SpanOutcomeName(e.span)) +
                           "</circle>";
        if (numbered) {
            mark += "<text x=\"" + Number(place.second.x + 1.6f * u) + "\" y=\"" +
                    Number(-place.second.y - 1.2f * u) + "\" font-size=\"" + Number(3 * u) + "\">" +
                    std::to_string(e.number) + "</text>";
        }
        out << Link("#enc-" + std::to_string(e.number), mark);
    }
    out << ScaleBar(view) << "</svg>";
    return out.str();
}

std::string EncounterMapSvg(const RunReport& report, const ReportEncounter& encounter) {
    MapView view;
    view.Add(encounter.player);
    TrackPoint player;
    const bool playerKnown = PlayerAt(report.player, encounter.span.startMs, &player);
    if (playerKnown) {
        view.Add(player.x, player.y);
    }
    for (const ReportPed& ped : encounter.peds) {
        view.Add(ped.track);
    }
    for (const PlaceMark& blip : encounter.blips) {
        view.Add(blip.x, blip.y);
    }
    view.Frame(40.0f);
    const float u = view.Unit();
    const float step = u / 2;
    std::ostringstream out;
    out << MapStart(view, "encounter-map", "map of encounter " + std::to_string(encounter.number))
        << TerrainLayer(report.terrain);
    if (!encounter.player.empty()) {
        out << "<polyline class=\"player\" points=\"" << Polyline(Thin(encounter.player, step))
            << "\">" << Title("the player") << "</polyline>";
    }
    if (playerKnown) {
        out << PlayerMark(player);
    }
    out << PedTracks(report, encounter, step);
    std::vector<PlaceMark> deaths;
    for (const ReportPed& ped : encounter.peds) {
        if (ped.died) {
            deaths.push_back(ped.death);
        }
    }
    std::vector<LightningStrike> lightning;
    for (const LightningStrike& strike : report.lightning) {
        if (strike.atMs >= encounter.span.startMs && strike.atMs <= encounter.span.endMs) {
            lightning.push_back(strike);
        }
    }
    out << Marks(report, deaths, encounter.blips, lightning, view);
    out << ScaleBar(view) << "</svg>";
    return out.str();
}
