// The game's hashes of identifiers (model and relationship-group names). A hash never
// changes, so each identifier is asked of the game once, through GET_HASH_KEY the first time
// it is needed, and remembered: a scan of 200 peds would otherwise make thousands of calls in
// one frame.
#pragma once

#include "host/game_types.h"

Hash IdentifierHash(const char* identifier);

// Forgets every remembered hash, as a freshly loaded library has none.
void ForgetIdentifierHashes();
