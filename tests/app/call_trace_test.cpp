// A trace line per kind of value, as the native database types them: a mod author reads
// floats as numbers, hashes in hex, strings as text and out-parameters by what they hold,
// never by an address that changes from run to run.
#include <gtest/gtest.h>

#include <cstring>

#include "host/native_list.h"
#include "sim/app/call_trace.h"

namespace {

namespace id = native::id;

uint64_t Bits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

HostCall Native(uint64_t hash, std::initializer_list<uint64_t> args,
                std::initializer_list<uint64_t> result = {}) {
    HostCall call;
    call.hash = hash;
    for (uint64_t arg : args) {
        call.args[call.argCount++] = arg;
    }
    int slot = 0;
    for (uint64_t value : result) {
        call.result[slot++] = value;
    }
    return call;
}

uint64_t Address(const void* pointer) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pointer));
}

TEST(CallTraceTest, EachValueReadsAsTheDatabaseTypesIt) {
    const char name[] = "REL_COP";
    const int32_t ped = 4097;
    const uint64_t unsignedNegative = static_cast<uint32_t>(-1);
    const struct {
        HostCall call;
        const char* text;
    } cases[] = {
        {Native(id::GET_ENTITY_COORDS::kHash, {4097, 1, 0}, {Bits(-300.5f), Bits(790), Bits(117)}),
         "GET_ENTITY_COORDS(4097, true, false) = (-300.5, 790, 117)"},
        {Native(id::GET_HASH_KEY::kHash, {Address(name)}, {0x2A318608}),
         "GET_HASH_KEY(\"REL_COP\") = 0x2A318608"},
        {Native(id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash, {Address(&ped)}),
         "SET_ENTITY_AS_NO_LONGER_NEEDED(&4097)"},
        {Native(id::GET_PED_RELATIONSHIP_GROUP_HASH::kHash, {unsignedNegative}, {0xF4E1A4CB}),
         "GET_PED_RELATIONSHIP_GROUP_HASH(-1) = 0xF4E1A4CB"},
        {Native(0x1234, {7, 8}, {9}), "0x0000000000001234(0x7, 0x8) = 0x9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DescribeCall(c.call), c.text);
    }
    HostCall wait;
    wait.kind = HostCall::kWait;
    wait.waitMs = 1000;
    EXPECT_EQ(DescribeCall(wait), "wait 1000");
}

}  // namespace
