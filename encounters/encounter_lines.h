// The parts of the lines every event's run writes that the tools reading the log match on (the
// simulator's spans, its report, the sweeps): one spelling for the plug-in and for them.
#pragma once

// "Executing <name>": an event begins.
constexpr const char* kExecutingLine = "Executing ";
// "<name> completed successfully": it ended on its own.
constexpr const char* kCompletedLine = " completed successfully";
// "<name> aborted ...": it gave up before staging anything (a spawn that never worked).
constexpr const char* kAbortedLine = " aborted";
// "Exception in <name>: <what>" and "Unknown exception in <name>": it failed.
constexpr const char* kExceptionLine = "Exception in ";
constexpr const char* kUnknownExceptionLine = "Unknown exception in ";
// "Could not find ...": it found nobody to stage it with.
constexpr const char* kFoundNobodyLine = "Could not find ";
// "Skipping <name> due to time constraints (...)": a pick its hours ruled out.
constexpr const char* kSkippingLine = "Skipping ";
// "Exception in main loop: <what>" and "Unknown exception caught in main loop": the main loop
// caught what an event or the scheduler threw.
constexpr const char* kMainLoopExceptionLine = "Exception in main loop";
constexpr const char* kMainLoopUnknownExceptionLine = "Unknown exception caught in main loop";
// The weather events' names begin so.
constexpr const char* kWeatherEventPrefix = "event_weather_";
