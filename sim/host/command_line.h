// A whole number as the command lines read one, and the Windows launcher's walk of its
// arguments: "--switch" and "--flag value", --help, and one-line errors. (The simulator's own
// command line is parsed by CLI11, in sim_options.cpp.)
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>

// True when the whole text is a non-negative decimal number that fits 64 bits.
inline bool ParseWholeNumber(const std::string& text, uint64_t* value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') {
        return false;
    }
    *value = parsed;
    return true;
}

// Hands each switch (with an empty value) and each flag with its value to `apply`, which
// returns false with `error` set for a bad value. --help gives the usage as the error; an
// unknown argument or a flag without its value gives a one-line error.
inline bool WalkArguments(
    int argc, char** argv, const char* usage, std::initializer_list<const char*> switches,
    std::initializer_list<const char*> valueFlags,
    const std::function<bool(const std::string& flag, const std::string& value,
                             std::string* error)>& apply,
    std::string* error) {
    const auto listed = [](const std::string& flag, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (flag == name) {
                return true;
            }
        }
        return false;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--help" || flag == "-h") {
            *error = usage;
            return false;
        }
        if (listed(flag, switches)) {
            if (!apply(flag, std::string(), error)) {
                return false;
            }
            continue;
        }
        if (!listed(flag, valueFlags)) {
            *error = "unknown argument '" + flag + "'";
            return false;
        }
        if (i + 1 >= argc) {
            *error = flag + " needs a value";
            return false;
        }
        if (!apply(flag, argv[++i], error)) {
            return false;
        }
    }
    return true;
}
