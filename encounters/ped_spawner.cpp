#include "encounters/ped_spawner.h"

#include <string>

#include "core/logger.h"
#include "host/natives.h"
#include "host/script_wait.h"
#include "world/ped_ledger.h"

namespace {

// Waits for the model to stream in, at most kModelLoadPolls polls: a model that never loads
// must not hold the script (and every encounter and weather event with it) for ever.
bool WaitForModel(Hash model) {
    for (int polls = 0; !HAS_MODEL_LOADED(model); ++polls) {
        if (polls == kModelLoadPolls) {
            return false;
        }
        YieldToGame(kModelPollMs);
    }
    return true;
}

// A model requested from the game's streaming, given back once it has served: a model the
// script never gives back stays in memory for the rest of the session, and a request that
// timed out stays pending. Given back on every way out, a failure included.
class ModelRequest {
  public:
    explicit ModelRequest(Hash model) : model_(model) { REQUEST_MODEL(model); }
    ModelRequest(const ModelRequest&) = delete;
    ModelRequest& operator=(const ModelRequest&) = delete;
    ~ModelRequest() {
        try {
            GiveBack();
        } catch (...) {
            // On a path that is already failing; the original failure goes on.
        }
    }
    void GiveBack() {
        if (held_) {
            held_ = false;
            SET_MODEL_AS_NO_LONGER_NEEDED(model_);
        }
    }

  private:
    Hash model_;
    bool held_ = true;
};

}  // namespace

Ped SpawnPed(Hash model, float x, float y, float z, PedLedger& ledger) {
    ModelRequest request(model);
    if (!WaitForModel(model)) {
        LogError("Model " + std::to_string(model) + " did not load after " +
                 std::to_string(kModelLoadPolls) + " polls, no ped spawned");
        return 0;
    }
    const Ped ped = CREATE_PED(model, x, y, z);
    request.GiveBack();
    // Put on the ground within the frame it was made in, as the game's scripts do: a ped left
    // a moment above a slope falls, and one left in the ground stays stuck there.
    ledger.Own(ped);
    Log(LogLevel::Debug, "Spawned ped ", ped, " of model ", model, " at (", x, ", ", y, ", ", z,
        ")");
    PLACE_ENTITY_ON_GROUND_PROPERLY(ped);
    SET_RANDOM_OUTFIT_VARIATION(ped);
    FREEZE_ENTITY_POSITION(ped, false);
    return ped;
}
