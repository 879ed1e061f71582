#include "sim/app/trace/native_signatures.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "sim/app/trace/natives_reference_text.h"

namespace {

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + separator.size();
    }
    return parts;
}

// One type as the database spells it ("float", "BOOL", "Hash", "const char*", "Ped*", ...).
NativeValueType NativeValueTypeOf(const std::string& databaseType) {
    if (databaseType == "float") {
        return NativeValueType::kFloat;
    }
    if (databaseType == "BOOL") {
        return NativeValueType::kBool;
    }
    if (databaseType == "Hash") {
        return NativeValueType::kHash;
    }
    if (databaseType == "const char*") {
        return NativeValueType::kText;
    }
    if (databaseType == "Vector3") {
        return NativeValueType::kVector;
    }
    if (databaseType == "void") {
        return NativeValueType::kNone;
    }
    if (!databaseType.empty() && databaseType.back() == '*') {
        return NativeValueType::kPointer;
    }
    return NativeValueType::kInt;
}

// Columns: our_name, hash, db_name, db_return_type, db_param_count, db_params ("Ped ped; BOOL
// p1"). A name may carry a note after a space: "REMOVE_BLIP (removal)".
std::map<uint64_t, NativeSignature> ReadSignatures() {
    std::map<uint64_t, NativeSignature> signatures;
    std::istringstream table(kNativesReferenceText);
    std::string row;
    std::getline(table, row);  // header
    while (std::getline(table, row)) {
        const std::vector<std::string> fields = Split(row, "\t");
        if (fields.size() < 6) {
            continue;
        }
        NativeSignature signature;
        signature.name = fields[0].substr(0, fields[0].find(' '));
        signature.result = NativeValueTypeOf(fields[3]);
        if (!fields[5].empty()) {
            for (const std::string& param : Split(fields[5], "; ")) {
                signature.params.push_back(NativeValueTypeOf(param.substr(0, param.rfind(' '))));
            }
        }
        signatures.emplace(std::strtoull(fields[1].c_str(), nullptr, 16), signature);
    }
    return signatures;
}

}  // namespace

const NativeSignature* FindNativeSignature(uint64_t hash) {
    static const std::map<uint64_t, NativeSignature> signatures = ReadSignatures();
    const auto it = signatures.find(hash);
    return it == signatures.end() ? nullptr : &it->second;
}
