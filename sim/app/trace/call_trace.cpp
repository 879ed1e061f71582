#include "sim/app/trace/call_trace.h"

#include <cinttypes>
#include <cstdarg>
#include <cstring>

#include "sim/app/trace/native_signatures.h"

namespace {

float FloatOf(uint64_t slot) {
    const uint32_t bits = static_cast<uint32_t>(slot);
    float value = 0;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

std::string Printed(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Printed(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

// Pointer arguments show what they point to when the call returns (a handle, a hash, a
// buffer's first slot), never the address, which differs from run to run.
std::string DescribeValue(NativeValueType type, uint64_t slot) {
    switch (type) {
        case NativeValueType::kFloat:
            return Printed("%g", static_cast<double>(FloatOf(slot)));
        case NativeValueType::kBool:
            return static_cast<uint32_t>(slot) != 0 ? "true" : "false";
        case NativeValueType::kHash:
            return Printed("0x%08" PRIX32, static_cast<uint32_t>(slot));
        case NativeValueType::kText: {
            const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(slot));
            return text == nullptr ? "null" : "\"" + std::string(text) + "\"";
        }
        case NativeValueType::kPointer: {
            const int32_t* target = reinterpret_cast<const int32_t*>(static_cast<uintptr_t>(slot));
            return target == nullptr ? "null" : "&" + std::to_string(*target);
        }
        case NativeValueType::kInt:
        case NativeValueType::kVector:
        case NativeValueType::kNone:
            break;
    }
    return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(slot)));
}

std::string DescribeResult(NativeValueType type, const uint64_t* slots) {
    if (type == NativeValueType::kNone) {
        return "";
    }
    if (type == NativeValueType::kVector) {
        return Printed(" = (%g, %g, %g)", static_cast<double>(FloatOf(slots[0])),
                       static_cast<double>(FloatOf(slots[1])),
                       static_cast<double>(FloatOf(slots[2])));
    }
    return " = " + DescribeValue(type, slots[0]);
}

std::string DescribeUnknownNative(const HostCall& call) {
    std::string text = Printed("0x%016" PRIX64 "(", call.hash);
    for (int i = 0; i < call.argCount; ++i) {
        text += Printed(i == 0 ? "0x%" PRIX64 : ", 0x%" PRIX64, call.args[i]);
    }
    return text + Printed(") = 0x%" PRIX64, call.result[0]);
}

}  // namespace

std::string DescribeCall(const HostCall& call) {
    return DescribeCall(call, true);
}

std::string DescribeCall(const HostCall& call, bool withResult) {
    if (call.kind == HostCall::kWait) {
        return "wait " + std::to_string(call.waitMs);
    }
    const NativeSignature* signature = FindNativeSignature(call.hash);
    if (signature == nullptr || signature->params.size() != call.argCount) {
        const std::string text = DescribeUnknownNative(call);
        return withResult ? text : text.substr(0, text.rfind(" = "));
    }
    std::string text = signature->name + "(";
    for (size_t i = 0; i < signature->params.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += DescribeValue(signature->params[i], call.args[i]);
    }
    return text + ")" + (withResult ? DescribeResult(signature->result, call.result) : "");
}

CallTrace::CallTrace(SimRun& run, const std::string& path)
    : run_(run), file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) {
        return;
    }
    run_.Host().onCall = [this](const HostCall& call) { OnCall(call); };
    run_.onLine = [this](const LoggedLine& line) { OnLine(line); };
}

CallTrace::~CallTrace() {
    Close();
}

bool CallTrace::Close() {
    if (file_ == nullptr) {
        return !failed_;
    }
    run_.Host().onCall = nullptr;
    run_.onLine = nullptr;
    failed_ = std::fclose(file_) != 0 || failed_;
    file_ = nullptr;
    return !failed_;
}

void CallTrace::OnCall(const HostCall& call) {
    const std::string text = DescribeCall(call);
    if (std::fprintf(file_, "%" PRIu64 ".%03" PRIu64 " %s\n", call.atMs / 1000, call.atMs % 1000,
                     text.c_str()) < 0) {
        failed_ = true;
    }
}

void CallTrace::OnLine(const LoggedLine& line) {
    if (std::fprintf(file_, "%" PRIu64 ".%03" PRIu64 " log %s %s\n", line.atMs / 1000,
                     line.atMs % 1000, LevelWord(line.level), line.message.c_str()) < 0) {
        failed_ = true;
    }
}
