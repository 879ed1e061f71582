#include "sim/app/checks/expectations.h"

#include "encounters/encounter_list.h"
#include "sim/app/report/report_format.h"
#include "sim/host/event_spans.h"
#include "sim/world/scenario_fields.h"

using nlohmann::json;

namespace {

const std::initializer_list<const char*> kBoundFields = {"at_least", "at_most"};

std::string EncounterNames() {
    std::string names;
    for (const EncounterEntry& encounter : AllEncounters()) {
        names += (names.empty() ? "" : ", ") + std::string(encounter.name);
    }
    return names;
}

// A number means exactly that many; {"at_least": n, "at_most": m} bounds it (either or both).
void ReadBounds(const ScenarioReader& in, const json& j, const std::string& path,
                FigureExpectation* expectation) {
    const std::string what = "a number, or {\"at_least\": n, \"at_most\": m}";
    if (j.is_number()) {
        expectation->atLeast = expectation->atMost = in.Number(j, path, 0, 1e15);
        return;
    }
    if (!j.is_object() || j.empty()) {
        in.Fail(path, what);
    }
    in.Fields(j, path, kBoundFields);
    if (j.contains("at_least")) {
        expectation->atLeast = in.Number(j["at_least"], path + ".at_least", 0, 1e15);
    }
    if (j.contains("at_most")) {
        expectation->atMost = in.Number(j["at_most"], path + ".at_most", 0, 1e15);
    }
    if (expectation->atLeast && expectation->atMost &&
        *expectation->atLeast > *expectation->atMost) {
        in.Fail(path, "\"at_least\" no greater than \"at_most\"");
    }
}

void ReadEncounterCounts(const ScenarioReader& in, const json& j, const std::string& path,
                         Expectations* out) {
    if (!j.is_object()) {
        in.Fail(path, "an object of encounter name: count");
    }
    for (const auto& item : j.items()) {
        bool known = false;
        for (const EncounterEntry& encounter : AllEncounters()) {
            known = known || item.key() == encounter.name;
        }
        if (!known) {
            in.Unknown(path + "." + item.key(), EncounterNames());
        }
        FigureExpectation expectation;
        expectation.name = path + "." + item.key();
        expectation.figure = json::json_pointer("/encounters_run") / item.key();
        ReadBounds(in, item.value(), expectation.name, &expectation);
        out->figures.push_back(expectation);
    }
}

// Any figure the summary holds as a single value; a number is bounded, a string or a truth
// value compared.
void ReadSummaryFigures(const ScenarioReader& in, const json& j, const std::string& path,
                        const json& figures, Expectations* out) {
    if (!j.is_object()) {
        in.Fail(path, "an object of figure: expected value");
    }
    std::string names;
    for (const auto& figure : figures.items()) {
        if (!figure.value().is_structured()) {
            names += (names.empty() ? "" : ", ") + figure.key();
        }
    }
    for (const auto& item : j.items()) {
        const std::string name = path + "." + item.key();
        if (!figures.contains(item.key()) || figures[item.key()].is_structured()) {
            in.Unknown(name, names);
        }
        const json& figure = figures[item.key()];
        FigureExpectation expectation;
        expectation.name = name;
        expectation.figure = json::json_pointer("/" + item.key());
        if (figure.is_number()) {
            ReadBounds(in, item.value(), name, &expectation);
        } else if (item.value().type() == figure.type()) {
            expectation.equals = item.value();
        } else {
            in.Fail(name, figure.is_string() ? "a string" : "true or false");
        }
        out->figures.push_back(expectation);
    }
}

void ReadLines(const ScenarioReader& in, const json& j, const std::string& path, bool present,
               Expectations* out) {
    const json& list = in.Array(j, path);
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string name = ScenarioReader::Index(path, i);
        const std::string text = in.String(list[i], name);
        if (text.empty()) {
            in.Fail(name, "the text of a log line");
        }
        out->lines.push_back(LineExpectation{name, text, present});
    }
}

// A block of checks as it is read: the summary's figures it may name, and what it says so far.
struct ChecksBeingRead {
    const json* figures;
    Expectations out;
};

// The fields of a block of checks; "always" and "expect" both take exactly these.
const ScenarioFields<ChecksBeingRead>& CheckFields() {
    static const ScenarioFields<ChecksBeingRead> kFields = {
        {"encounters_run",
         [](const ScenarioReader& in, const json& value, const std::string& path,
            ChecksBeingRead& read) { ReadEncounterCounts(in, value, path, &read.out); }},
        {"summary",
         [](const ScenarioReader& in, const json& value, const std::string& path,
            ChecksBeingRead& read) {
             ReadSummaryFigures(in, value, path, *read.figures, &read.out);
         }},
        {"log_has", [](const ScenarioReader& in, const json& value, const std::string& path,
                       ChecksBeingRead& read) { ReadLines(in, value, path, true, &read.out); }},
        {"log_lacks", [](const ScenarioReader& in, const json& value, const std::string& path,
                         ChecksBeingRead& read) { ReadLines(in, value, path, false, &read.out); }},
    };
    return kFields;
}

std::string Expected(const FigureExpectation& e) {
    if (!e.equals.is_null()) {
        return e.equals.dump();
    }
    if (e.atLeast && e.atMost) {
        return *e.atLeast == *e.atMost
                   ? "exactly " + Number(*e.atLeast, 6)
                   : "from " + Number(*e.atLeast, 6) + " to " + Number(*e.atMost, 6);
    }
    return e.atLeast ? "at least " + Number(*e.atLeast, 6) : "at most " + Number(*e.atMost, 6);
}

bool Met(const FigureExpectation& e, const json& value) {
    if (!e.equals.is_null()) {
        return value == e.equals;
    }
    const double number = value.get<double>();
    return (!e.atLeast || number >= *e.atLeast) && (!e.atMost || number <= *e.atMost);
}

}  // namespace

Expectations ReadExpectations(const ScenarioReader& in, const std::string& block,
                              const json& checks, const json& figures) {
    ChecksBeingRead read{&figures, Expectations()};
    if (!checks.is_null()) {
        ReadObject(in, checks, block, CheckFields(), read);
    }
    return read.out;
}

std::vector<std::string> UnmetExpectations(const Expectations& expectations, const json& figures,
                                           const std::vector<LoggedLine>& lines) {
    std::vector<std::string> unmet;
    for (const FigureExpectation& e : expectations.figures) {
        // An encounter that never ran has no count of its own in the summary.
        const json value = figures.contains(e.figure) ? figures[e.figure] : json(0);
        if (!Met(e, value)) {
            unmet.push_back(e.name + ": expected " + Expected(e) + ", got " + value.dump());
        }
    }
    for (const LineExpectation& e : expectations.lines) {
        size_t count = 0;
        uint64_t firstMs = 0;
        for (const LoggedLine& line : lines) {
            if (line.message == e.text || LineWithoutTimestamp(line) == e.text) {
                firstMs = count == 0 ? line.atMs : firstMs;
                ++count;
            }
        }
        if (e.present && count == 0) {
            unmet.push_back(e.name + ": expected the line \"" + e.text +
                            "\", which never appeared");
        } else if (!e.present && count > 0) {
            unmet.push_back(e.name + ": expected no line \"" + e.text + "\", but it appeared " +
                            std::to_string(count) + (count == 1 ? " time" : " times") +
                            ", first at " + Clock(firstMs));
        }
    }
    return unmet;
}
