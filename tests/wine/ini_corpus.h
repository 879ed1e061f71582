// The INI corpus of tests/wine/ini_corpus read through the platform layer.
#pragma once

#include <string>

// Makes every lookup DATA/lookups.txt lists in the files beside it, and after each file's
// lookups lists its sections and loads it as the plug-in does; every result on a line.
std::string DumpIniCorpus(const std::string& data);

// Loads the file as the plug-in does and appends every setting, then the settings check's
// notes on the file. False when the load fails.
bool DumpConfig(const std::string& label, const std::string& path, std::string& out);
