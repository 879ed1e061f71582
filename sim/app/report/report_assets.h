// The inline style and script of the HTML report.
#pragma once

// Installed first, so any script error in the page is shown in #script-errors (and can be
// read back from the page by a test).
extern const char* const kReportErrorCatcher;
extern const char* const kReportStyle;
// What the sweep's page adds to the report's style: its histograms and tables.
extern const char* const kSweepReportStyle;
// Opens what a link points into (an encounter, a stretch of the log) and marks it, and
// filters the log; sets data-script="ready" on the page once it has run.
extern const char* const kReportScript;
