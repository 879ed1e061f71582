// The simulated calendar: which starts it takes, and that its days turn at midnight whatever
// the time zone of the machine running the simulator.
#include "sim/world/sim_calendar.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::time_t Start(const std::string& text) {
    std::time_t start = -1;
    std::string error;
    EXPECT_TRUE(ParseCalendarStart(text, &start, &error)) << text << ": " << error;
    return start;
}

TEST(SimCalendarTest, TakesRealDatesOnlyAndTurnsTheDayAtMidnightInAnyZone) {
    for (const char* zone : {"UTC", "Pacific/Chatham", "America/St_Johns"}) {
        setenv("TZ", zone, 1);
        tzset();
        const std::time_t lastSecond = Start("2028-02-28T23:59:59");
        std::tm next{};
        ASSERT_TRUE(SimulatedLocalTime(lastSecond + 1, &next));
        EXPECT_EQ(CalendarText(lastSecond + 1), "2028-02-29T00:00:00") << zone;
        EXPECT_EQ(next.tm_hour, 0) << zone;
        EXPECT_EQ(CalendarText(Start("2026-06-01T12:00:00") + 86400), "2026-06-02T12:00:00");
    }
    unsetenv("TZ");
    tzset();
    for (const char* bad : {"2027-02-29T00:00:00", "2026-13-01T00:00:00", "2026-06-01T12:60:00",
                            "2026-06-01 12:00:00", "2026-06-01T12:00", "+026-06-01T12:00:00",
                            "1970-01-01T00:00:00", "", "tomorrow"}) {
        std::time_t start = 0;
        std::string error;
        EXPECT_FALSE(ParseCalendarStart(bad, &start, &error)) << bad;
        EXPECT_NE(error.find(std::string("'") + bad + "'"), std::string::npos) << error;
    }
}

TEST(SimCalendarTest, NowIsThisMachinesLocalTimeWithoutItsZone) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::tm simulated{};
    ASSERT_TRUE(SimulatedLocalTime(Start("now"), &simulated));
    EXPECT_EQ(simulated.tm_mday, local.tm_mday);
    EXPECT_NEAR(simulated.tm_hour * 3600 + simulated.tm_min * 60 + simulated.tm_sec,
                local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec, 5);
}

}  // namespace
