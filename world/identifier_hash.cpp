#include "world/identifier_hash.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/natives.h"

namespace {

struct RememberedHashes {
    std::deque<std::string> names;  // owns the text the keys point into; never moves
    std::unordered_map<std::string_view, Hash> byName;
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
}
