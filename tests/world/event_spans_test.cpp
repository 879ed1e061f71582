// From the plug-in's log lines, when each event held the script and how it ended.
#include <gtest/gtest.h>

#include "sim/host/event_spans.h"

namespace {

TEST(EventSpans, EachWayAnEventEndsIsReadFromItsLines) {
    EventSpans spans;
    spans.OnLine("Executing event1_aggressor", 1000);
    EXPECT_EQ(spans.Running()->name, "event1_aggressor");
    spans.OnLine("Confrontation has gone on for 5 minutes, ending event.", 301000);
    spans.OnLine("event1_aggressor completed successfully", 301000);
    spans.OnLine("Executing event_weather_fog", 302000);
    spans.OnLine("event_weather_fog completed successfully", 900000);
    spans.OnLine("Executing event3_animal_aggressor", 910000);
    spans.OnLine("event3_animal_aggressor aborted due to spawn failure", 1020000);
    spans.OnLine("Executing event2_aggressor_player", 1030000);
    spans.OnLine("Exception in event2_aggressor_player(): no ped", 1031000);
    spans.OnLine("Executing event6_horse_bucking", 1040000);
    spans.OnLine("Executing event5_mugging", 1050000);  // the script started over
    spans.OnLine("event5_mugging completed successfully", 1060000);
    ASSERT_EQ(spans.Spans().size(), 6u);
    const SpanEnd ends[] = {SpanEnd::kBounded, SpanEnd::kCompleted, SpanEnd::kAborted,
                            SpanEnd::kFailed,  SpanEnd::kAbandoned, SpanEnd::kCompleted};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(spans.Spans()[i].end, ends[i]) << spans.Spans()[i].name;
    }
    EXPECT_TRUE(spans.Spans()[1].weather);
    EXPECT_EQ(spans.Running(), nullptr);
    // The weather event held the script longer, but only encounters count.
    EXPECT_EQ(spans.LongestEncounter(1060000)->name, "event1_aggressor");
    EXPECT_EQ(spans.LongestEncounter(1060000)->HeldMs(0), 300000u);

    // The longest outlives forgetting, and one still running counts up to now.
    spans.OnLine("Executing event6_horse_bucking", 1070000);
    spans.ForgetEnded();
    ASSERT_EQ(spans.Spans().size(), 1u);
    EXPECT_EQ(spans.LongestEncounter(1300000)->name, "event1_aggressor");
    EXPECT_EQ(spans.LongestEncounter(1380000)->name, "event6_horse_bucking");
    EXPECT_EQ(spans.LongestEncounter(1380000)->HeldMs(1380000), 310000u);
}

}  // namespace
