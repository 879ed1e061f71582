// Top-down maps of a run as inline SVG (world x to the right, y up) with a scale bar: the
// whole run, and one encounter zoomed to where it happened.
#pragma once

#include <string>

#include "sim/app/report/report_data.h"

// The player's path, every encounter where it happened (linked to its section), deaths, blips
// and lightning strikes.
std::string OverviewMapSvg(const RunReport& report);

// The peds of one encounter as tracks over its span, coloured by role, with the player's path,
// deaths, blips and lightning in that time; marks link to the log line of their moment.
std::string EncounterMapSvg(const RunReport& report, const ReportEncounter& encounter);
