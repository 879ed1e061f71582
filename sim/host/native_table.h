// How the stand-in host answers natives: one handler per hash, with the number of argument
// slots the game's native takes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>

class World;

// The argument slots pushed for one call, read back in the encodings of the call contract.
class NativeArgs {
  public:
    NativeArgs(const uint64_t* slots, int count) : slots_(slots), count_(count) {}
    int Count() const { return count_; }
    uint64_t Raw(int i) const { return slots_[i]; }
    int32_t Int(int i) const { return static_cast<int32_t>(static_cast<uint32_t>(slots_[i])); }
    uint32_t Uint(int i) const { return static_cast<uint32_t>(slots_[i]); }
    bool Bool(int i) const { return Uint(i) != 0; }
    float Float(int i) const {
        const uint32_t bits = Uint(i);
        float value = 0;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }
    template <typename T>
    T* Pointer(int i) const {
        return reinterpret_cast<T*>(static_cast<uintptr_t>(slots_[i]));
    }

  private:
    const uint64_t* slots_;
    int count_;
};

// The result slots the plug-in reads after the call.
struct NativeResult {
    uint64_t slots[3] = {0, 0, 0};

    void SetInt(int32_t v) { slots[0] = static_cast<uint32_t>(v); }
    void SetUint(uint32_t v) { slots[0] = v; }
    void SetBool(bool v) { slots[0] = v ? 1u : 0u; }
    void SetFloat(float v) { slots[0] = FloatBits(v); }
    void SetVector(float x, float y, float z) {
        slots[0] = FloatBits(x);
        slots[1] = FloatBits(y);
        slots[2] = FloatBits(z);
    }
    static uint64_t FloatBits(float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof(bits));
        return bits;
    }
};

using NativeHandler = void (*)(World& world, const NativeArgs& args, NativeResult& result);

struct NativeHandlerEntry {
    std::string name;
    int argCount = 0;
    NativeHandler handler = nullptr;
};

class NativeTable {
  public:
    void Add(uint64_t hash, const std::string& name, int argCount, NativeHandler handler) {
        entries_[hash] = NativeHandlerEntry{name, argCount, handler};
    }
    const NativeHandlerEntry* Find(uint64_t hash) const {
        auto it = entries_.find(hash);
        return it == entries_.end() ? nullptr : &it->second;
    }
    const std::unordered_map<uint64_t, NativeHandlerEntry>& Entries() const { return entries_; }

  private:
    std::unordered_map<uint64_t, NativeHandlerEntry> entries_;
};

// The game's natives, each answered by asking the simulated world (world_natives.cpp).
void RegisterWorldNatives(NativeTable& table);
