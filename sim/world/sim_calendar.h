// The calendar the plug-in reads in a simulated run: it starts at a fixed moment, so a run's
// log names, time stamps and recording are the same whenever and wherever it is made, and it
// advances with virtual time. The simulated machine keeps its clock in local time with no
// zone: the seconds count the local calendar's fields as if they were UTC, and their local
// form is read back the same way, so no time zone or daylight-saving rule of the machine
// running the simulator reaches the plug-in.
#pragma once

#include <ctime>
#include <string>

// The start every run takes unless it is told otherwise.
constexpr const char* kDefaultCalendarStart = "2026-06-01T12:00:00";

// Overrides the default start (never a start a scenario or the command line gives): the test
// suite's guard sets it to run the suite again just before midnight.
constexpr const char* kCalendarStartVariable = "TARROWIND_SIM_START";

// "YYYY-MM-DDTHH:MM:SS" (local time of the simulated machine) or "now" (this machine's local
// time now). On bad text returns false with a one-line error that quotes it.
bool ParseCalendarStart(const std::string& text, std::time_t* start, std::string* error);

// The start of a run: the command line's, else the scenario's, else the variable's, else the
// default (an empty string: not given). On bad text returns false with a one-line error naming
// where it came from.
bool CalendarStartForRun(const std::string& commandLine, const std::string& scenario,
                         std::time_t* start, std::string* error);

// The start a run takes when nothing is said: the variable's when it is set and valid, else
// the default.
std::time_t DefaultCalendarStart();

// The local calendar form of a moment of the simulated clock.
bool SimulatedLocalTime(std::time_t when, std::tm* out);

// The simulated clock's text form, as ParseCalendarStart reads it.
std::string CalendarText(std::time_t when);
