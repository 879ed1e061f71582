// A run's report as one self-contained HTML page: nothing is fetched (no external scripts,
// styles or fonts); maps and timeline are inline SVG, with inline CSS and a little script.
#pragma once

#include <string>

#include "sim/app/report/report_data.h"

std::string ReportHtml(const RunReport& report);
