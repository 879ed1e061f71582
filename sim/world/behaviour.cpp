// Ped behaviour over virtual time.
#include "sim/world/world.h"

void StepBehaviour(World& /*world*/, uint64_t /*fromMs*/, uint64_t /*toMs*/) {
    // Orders take effect in World's order functions; movement, fights and flight over time
    // are added here.
}
