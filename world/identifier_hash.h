// The game's hashes of identifiers (model and relationship-group names). A hash never
// changes, so each identifier is asked of the game once, through GET_HASH_KEY the first time
// it is needed, and remembered: a scan of 200 peds would otherwise make thousands of calls in
// one frame.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "host/game_types.h"

Hash IdentifierHash(const char* identifier);

// Forgets every remembered hash, as a freshly loaded library has none.
void ForgetIdentifierHashes();

// A fixed list of identifiers that keeps their hashes beside it, so a search over it costs no
// lookup by name. A search hashes the names in list order as far as it goes, through
// IdentifierHash: the game is asked what a walk comparing name by name would ask, in the same
// order, and only the first time.
class IdentifierList {
  public:
    explicit IdentifierList(std::vector<std::string> names);
    IdentifierList(std::initializer_list<const char*> names);

    // The first name whose hash is `hash`, or nullptr.
    const std::string* Find(Hash hash) const;
    bool Contains(Hash hash) const { return Find(hash) != nullptr; }

  private:
    std::vector<std::string> names_;
    mutable std::vector<Hash> hashes_;  // of the first hashes_.size() names
    mutable uint64_t hashedIn_ = 0;     // the generation of remembered hashes they came from
};
