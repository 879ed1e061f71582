// The run's timeline as inline SVG: a lane each for encounters (coloured by outcome), weather
// events, mission pauses, the player's deaths and lightning. Every entry links to its
// encounter or its log line, and every stretch of time in between to the log at that moment.
#pragma once

#include <string>

#include "sim/app/report/report_data.h"

std::string TimelineSvg(const RunReport& report);
