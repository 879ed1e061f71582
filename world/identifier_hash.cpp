#include "world/identifier_hash.h"

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "host/natives.h"

namespace {

struct RememberedHashes {
    std::deque<std::string> names;  // owns the text the keys point into; never moves
    std::unordered_map<std::string_view, Hash> byName;
    uint64_t generation = 1;  // counts the times everything was forgotten
};

RememberedHashes& Remembered() {
    static RememberedHashes* remembered = new RememberedHashes();
    return *remembered;
}

}  // namespace

Hash IdentifierHash(const char* identifier) {
    RememberedHashes& remembered = Remembered();
    const auto found = remembered.byName.find(std::string_view(identifier));
    if (found != remembered.byName.end()) {
        return found->second;
    }
    const Hash hash = GET_HASH_KEY(identifier);
    remembered.names.emplace_back(identifier);
    remembered.byName.emplace(std::string_view(remembered.names.back()), hash);
    return hash;
}

void ForgetIdentifierHashes() {
    Remembered().byName.clear();
    Remembered().names.clear();
    ++Remembered().generation;
}

IdentifierList::IdentifierList(std::vector<std::string> names) : names_(std::move(names)) {}

IdentifierList::IdentifierList(std::initializer_list<const char*> names)
    : names_(names.begin(), names.end()) {}

const std::string* IdentifierList::Find(Hash hash) const {
    if (hashedIn_ != Remembered().generation) {
        hashes_.clear();
        hashedIn_ = Remembered().generation;
    }
    // Among the names hashed so far, then on through the rest, hashing each as it is reached.
    const auto known = std::find(hashes_.begin(), hashes_.end(), hash);
    if (known != hashes_.end()) {
        return &names_[static_cast<size_t>(known - hashes_.begin())];
    }
    for (size_t i = hashes_.size(); i < names_.size(); ++i) {
        hashes_.push_back(IdentifierHash(names_[i].c_str()));
        if (hashes_[i] == hash) {
            return &names_[i];
        }
    }
    return nullptr;
}
