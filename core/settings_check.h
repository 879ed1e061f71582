// A check of the settings file for the player, run once at start-up: one note for each thing
// in the file that will not do what was probably meant (a section or key the plug-in does not
// read, a switch that reads as off, a number that is not one, a repaired delay, a key written
// twice). It reads the file through the same platform reader as LoadConfig and never changes
// Config.
#pragma once

#include <string>
#include <vector>

// The notes on the readable file at path, in the order of the file.
std::vector<std::string> SettingsNotes(const std::string& path);

// Writes the notes at Info and then one summary line; a missing or unreadable file gives one
// line instead, naming where the file was looked for. Never raises.
void LogSettingsCheck(const std::string& path) noexcept;
