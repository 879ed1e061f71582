// The INI corpus: awkward files read through the platform layer, one result per line.
#pragma once

#include <string>

// Writes every corpus file under Tarrowind/ in the current folder (which must exist), reads
// each through the platform layer's lookups and listings, loads it as the plug-in does, and
// returns every result.
std::string DumpIniCorpus();

// Loads the file as the plug-in does and appends every setting, then the settings check's
// notes on the file (none for the shipped one). False when the load fails.
bool DumpConfig(const std::string& label, const std::string& path, std::string& out);
