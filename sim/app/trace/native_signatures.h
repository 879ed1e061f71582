// The types of each native's arguments and result, from the game's public native database
// (reference/natives-reference.tsv, built into the simulator), so a trace can show a call as
// the game's documentation writes it: floats as numbers, hashes in hex, strings as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class NativeValueType { kInt, kFloat, kBool, kHash, kText, kPointer, kVector, kNone };

struct NativeSignature {
    std::string name;  // the plug-in's name for it
    NativeValueType result = NativeValueType::kInt;
    std::vector<NativeValueType> params;
};

// The signature of the native with this hash; null for a hash the database table lacks.
const NativeSignature* FindNativeSignature(uint64_t hash);
