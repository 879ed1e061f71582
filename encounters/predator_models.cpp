#include "encounters/predator_models.h"

#include "core/random.h"

// The hashes are the game's own model hashes; each name is the model that hash spawns.
const PredatorModel PredatorModels[kPredatorModelCount] = {
    {0xBCFD0E7Fu, "A_C_Bear_01"},     {0xBBD91DDAu, "A_C_Wolf"},
    {0xCB391381u, "A_C_Wolf_Medium"}, {0xCE924A27u, "A_C_Wolf_Small"},
    {0x1CA6B883u, "A_C_Coyote_01"},   {0x056154F7u, "A_C_Cougar_01"},
};

const PredatorModel& PickPredatorModel() {
    return PredatorModels[RandomInt() % kPredatorModelCount];
}
