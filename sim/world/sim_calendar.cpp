#include "sim/world/sim_calendar.h"

#include <cstdlib>

namespace {

bool BreakDown(std::time_t when, std::tm* out) {
#ifdef _WIN32
    return gmtime_s(out, &when) == 0;
#else
    return gmtime_r(&when, out) != nullptr;
#endif
}

// Seconds of the fields read as UTC (timegm, which Windows' runtime calls _mkgmtime).
std::time_t SecondsOf(std::tm fields) {
#ifdef _WIN32
    return _mkgmtime(&fields);
#else
    return timegm(&fields);
#endif
}

std::time_t LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return SecondsOf(local);
}

}  // namespace

bool ParseCalendarStart(const std::string& text, std::time_t* start, std::string* error) {
    if (text == "now") {
        *start = LocalNow();
        return true;
    }
    // Exactly the shape, digits where digits go.
    const char* const shape = "dddd-dd-ddTdd:dd:dd";
    bool shaped = text.size() == 19;
    for (size_t i = 0; shaped && i < text.size(); ++i) {
        shaped = shape[i] == 'd' ? text[i] >= '0' && text[i] <= '9' : text[i] == shape[i];
    }
    const auto number = [&text](size_t at, size_t digits) {
        return std::atoi(text.substr(at, digits).c_str());
    };
    std::tm fields{};
    const int year = shaped ? number(0, 4) : 0;
    const int month = shaped ? number(5, 2) : 0;
    const int day = shaped ? number(8, 2) : 0;
    const int hour = shaped ? number(11, 2) : 0;
    const int minute = shaped ? number(14, 2) : 0;
    const int second = shaped ? number(17, 2) : 0;
    fields.tm_year = year;
    fields.tm_mon = month;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_year -= 1900;
    fields.tm_mon -= 1;
    // A date that does not exist (February 30th) comes back as another one.
    std::tm back{};
    const std::time_t seconds = shaped && year >= 1971 && year <= 2999 ? SecondsOf(fields) : -1;
    if (seconds < 0 || !BreakDown(seconds, &back) || back.tm_year + 1900 != year ||
        back.tm_mon + 1 != month || back.tm_mday != day || back.tm_hour != hour ||
        back.tm_min != minute || back.tm_sec != second) {
        *error =
            "a start is a local date and time YYYY-MM-DDTHH:MM:SS from 1971 to 2999, or "
            "'now', not '" +
            text + "'";
        return false;
    }
    *start = seconds;
    return true;
}

bool CalendarStartForRun(const std::string& commandLine, const std::string& scenario,
                         std::time_t* start, std::string* error) {
    std::string problem;
    if (!commandLine.empty()) {
        if (ParseCalendarStart(commandLine, start, &problem)) {
            return true;
        }
        *error = "--start: " + problem;
        return false;
    }
    if (!scenario.empty()) {
        if (ParseCalendarStart(scenario, start, &problem)) {
            return true;
        }
        *error = "the scenario's start: " + problem;
        return false;
    }
    const char* variable = std::getenv(kCalendarStartVariable);
    if (variable != nullptr && *variable != '\0') {
        if (ParseCalendarStart(variable, start, &problem)) {
            return true;
        }
        *error = std::string(kCalendarStartVariable) + ": " + problem;
        return false;
    }
    return ParseCalendarStart(kDefaultCalendarStart, start, error);
}

std::time_t DefaultCalendarStart() {
    std::time_t start = 0;
    std::string ignored;
    if (!CalendarStartForRun("", "", &start, &ignored)) {
        ParseCalendarStart(kDefaultCalendarStart, &start, &ignored);
    }
    return start;
}

bool SimulatedLocalTime(std::time_t when, std::tm* out) {
    return BreakDown(when, out);
}

std::string CalendarText(std::time_t when) {
    std::tm fields{};
    char text[32] = "";
    if (BreakDown(when, &fields)) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &fields);
    }
    return text;
}
