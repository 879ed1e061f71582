// The ground and water of the run's world under a map: lakes and rivers, ridges and slopes
// as shaded bands, cliff edges as lines.
#pragma once

#include <string>

#include "sim/world/terrain.h"

// SVG shapes in the maps' coordinates (y drawn upward, as the maps draw it).
std::string TerrainLayer(const Terrain& terrain);
