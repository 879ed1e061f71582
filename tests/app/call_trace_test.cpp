// Trace lines as a mod author reads them: never an address that changes from run to run.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/native_list.h"
#include "sim/app/trace/call_trace.h"
#include "sim/host/native_table.h"

namespace {

namespace id = native::id;

uint64_t Bits(float value) {
    return NativeResult::FloatBits(value);
}

HostCall Native(uint64_t hash, std::vector<uint64_t> args, std::vector<uint64_t> result = {}) {
    HostCall call;
    call.hash = hash;
    call.argCount = static_cast<uint8_t>(args.size());
    std::copy(args.begin(), args.end(), call.args);
    std::copy(result.begin(), result.end(), call.result);
    return call;
}

TEST(CallTraceTest, EachValueReadsAsTheDatabaseTypesIt) {
    const char name[] = "REL_COP";
    const int32_t ped = 4097;
    const struct {
        HostCall call;
        const char* text;
    } cases[] = {
        {Native(id::GET_ENTITY_COORDS::kHash, {4097, 1, 0}, {Bits(-300.5f), Bits(790), Bits(117)}),
         "GET_ENTITY_COORDS(4097, true, false) = (-300.5, 790, 117)"},
        {Native(id::GET_HASH_KEY::kHash, {reinterpret_cast<uintptr_t>(name)}, {0x2A318608}),
         "GET_HASH_KEY(\"REL_COP\") = 0x2A318608"},
        {Native(id::SET_ENTITY_AS_NO_LONGER_NEEDED::kHash, {reinterpret_cast<uintptr_t>(&ped)}),
         "SET_ENTITY_AS_NO_LONGER_NEEDED(&4097)"},
        {Native(id::GET_PED_RELATIONSHIP_GROUP_HASH::kHash, {0xFFFFFFFF}, {0xF4E1A4CB}),
         "GET_PED_RELATIONSHIP_GROUP_HASH(-1) = 0xF4E1A4CB"},
        {Native(0x1234, {7, 8}, {9}), "0x0000000000001234(0x7, 0x8) = 0x9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DescribeCall(c.call), c.text);
    }
}

}  // namespace
