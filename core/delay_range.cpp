#include "core/delay_range.h"

namespace {

int ClampMinutes(int minutes) {
    if (minutes < 1) {
        return 1;
    }
    if (minutes > kMaxDelayMinutes) {
        return kMaxDelayMinutes;
    }
    return minutes;
}

}  // namespace

DelayRange UsedDelayRange(int minMinutes, int maxMinutes) {
    // A delay under a minute would fire the timer every frame; one past the 32-bit range
    // would wrap.
    const int lowest = ClampMinutes(minMinutes);
    int highest = ClampMinutes(maxMinutes);
    if (highest < lowest) {
        highest = lowest;
    }
    return DelayRange{lowest, highest};
}
