#include "core/log_stamp.h"

#include <algorithm>

#include "platform/platform.h"

bool LogStamp::Set(std::time_t second) {
    if (kept_ && second == second_) {
        return true;
    }
    kept_ = false;
    std::tm local{};
    if (!platform::ToLocalTime(second, &local)) {
        return false;
    }
    length_ = std::strftime(text_, sizeof(text_), "%Y-%m-%d %H:%M:%S", &local);
    const std::string_view text = Text();
    dateLength_ = std::min(text.find(' '), length_);
    second_ = second;
    kept_ = true;
    return true;
}
