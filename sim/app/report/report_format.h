// Small text helpers of the HTML report: escaping, clock times of the run, numbers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Text made safe inside HTML elements and quoted attributes.
inline std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Simulated time since the start of the run as H:MM:SS.
inline std::string Clock(uint64_t ms) {
    const uint64_t s = ms / 1000;
    char text[32];
    std::snprintf(
        text, sizeof(text), "%llu:%02llu:%02llu", static_cast<unsigned long long>(s / 3600),
        static_cast<unsigned long long>(s / 60 % 60), static_cast<unsigned long long>(s % 60));
    return text;
}

// A number with at most `decimals` decimals, without trailing zeros.
inline std::string Number(double value, int decimals = 1) {
    char text[48];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    std::string out = text;
    if (out.find('.') != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.') {
            out.pop_back();
        }
    }
    return out == "-0" ? "0" : out;
}

// The link to the log line with this index.
inline std::string LineLink(size_t line) {
    return "#l" + std::to_string(line);
}
