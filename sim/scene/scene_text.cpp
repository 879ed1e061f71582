#include "sim/scene/scene_text.h"

namespace {

using json = nlohmann::ordered_json;

// Objects and arrays this short stay on one line.
constexpr size_t kOneLine = 180;

// A recording's text (its version line, the player's settings) may be any bytes: what is not
// UTF-8 is written as U+FFFD rather than refused.
std::string Dump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

void Write(const json& value, int indent, std::string& out) {
    const std::string compact = Dump(value);
    if (!value.is_structured() || compact.size() <= kOneLine || value.empty()) {
        out += compact;
        return;
    }
    const std::string inner(static_cast<size_t>(indent + 2), ' ');
    const bool object = value.is_object();
    out += object ? "{\n" : "[\n";
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        out += first ? "" : ",\n";
        first = false;
        out += inner;
        if (object) {
            out += Dump(json(it.key())) + ": ";
        }
        Write(it.value(), indent + 2, out);
    }
    out += "\n" + std::string(static_cast<size_t>(indent), ' ') + (object ? "}" : "]");
}

}  // namespace

std::string SceneText(const nlohmann::ordered_json& scene) {
    std::string out;
    Write(scene, 0, out);
    return out + "\n";
}
