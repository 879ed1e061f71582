// What the simulator's and the Windows launcher's command lines share on top of CLI11: a whole
// number read strictly, with a message saying what the option takes, and help in a newcomer's
// terms (each option's value and what it does, its default after it).
#pragma once

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
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

// A whole number from least to most, or the parser's error says what the option takes
// ("<takes>, not '<text>'").
inline uint64_t NumberOf(const std::string& text, uint64_t least, uint64_t most,
                         const std::string& takes) {
    uint64_t value = 0;
    if (!ParseWholeNumber(text, &value) || value < least || value > most) {
        throw CLI::ValidationError(takes + ", not '" + text + "'");
    }
    return value;
}

class HelpFormatter : public CLI::Formatter {
  public:
    std::string make_option_opts(const CLI::Option* option) const override {
        if (option->get_type_size() == 0) {
            return "";
        }
        std::string opts = " " + option->get_type_name();
        if (option->get_expected_max() == CLI::detail::expected_max_vector_size) {
            opts += " ...";
        }
        return opts;
    }
    std::string make_option_desc(const CLI::Option* option) const override {
        const std::string given = option->get_default_str();
        return Wrapped(option->get_description() +
                       (given.empty() ? "" : " [default: " + given + "]"));
    }

  private:
    // Broken between words to fit 100 columns beside the option's name.
    std::string Wrapped(const std::string& text) const {
        const size_t width = 100 - get_column_width();
        std::string out;
        size_t lineStart = 0;
        size_t wordStart = 0;
        while (wordStart < text.size()) {
            size_t wordEnd = text.find(' ', wordStart);
            wordEnd = wordEnd == std::string::npos ? text.size() : wordEnd;
            const std::string word = text.substr(wordStart, wordEnd - wordStart);
            if (out.size() > lineStart && out.size() - lineStart + 1 + word.size() > width) {
                out += '\n';
                lineStart = out.size();
            } else if (out.size() > lineStart) {
                out += ' ';
            }
            out += word;
            wordStart = wordEnd + 1;
        }
        return out;
    }
};

// The help layout above with option names in `column` columns, the last of an option given
// twice winning, and -h/--help: what both command lines set up alike.
inline void UseNewcomerHelp(CLI::App& app, size_t column) {
    app.formatter(std::make_shared<HelpFormatter>());
    app.get_formatter()->column_width(column);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_help_flag("-h,--help", "Print this help and exit");
}
