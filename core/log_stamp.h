// The time stamp of a log line: "YYYY-MM-DD HH:MM:SS" in local time, whose date names the day's
// file. Converting a moment to local time and writing it out (the C runtime's conversion and
// strftime) is the dearest part of forming a line, while a stamp changes only with its second,
// so the last stamp is kept with the calendar second it was made for. That second is the key: a
// line of any other second (the next one, the first after midnight, one before it when the
// clock was set back) is converted afresh, so a kept stamp never outlives its second and never
// crosses a date.
#pragma once

#include <cstddef>
#include <ctime>
#include <string_view>

class LogStamp {
  public:
    static constexpr size_t kMaxLength = 31;

    // The stamp of that second; false, and nothing kept, when it has no local form.
    bool Set(std::time_t second);

    // Valid after Set returned true.
    std::string_view Text() const { return std::string_view(text_, length_); }
    // The stamp up to its space: "YYYY-MM-DD".
    std::string_view Date() const { return std::string_view(text_, dateLength_); }

    // The next Set converts, whatever its second.
    void Forget() { kept_ = false; }

  private:
    bool kept_ = false;
    std::time_t second_ = 0;
    char text_[kMaxLength + 1] = {};
    size_t length_ = 0;
    size_t dateLength_ = 0;
};
