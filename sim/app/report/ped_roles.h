// Who each ped was in an encounter, told from the natives the plug-in called on it. The rules
// are one table; the first rule that fits a call decides, and a ped keeps the first role it is
// given.
#pragma once

#include <cstdint>
#include <vector>

enum class EncounterRole {
    Aggressor,
    Victim,
    Lawman,
    Bystander,
    Predator,
    Robber,
    Driver,
    Rider,
    Horse,
};
const char* EncounterRoleName(EncounterRole role);
// The aggressor, predator or robber: the ped an encounter sets on someone.
bool IsAttackerRole(EncounterRole role);

// One call that may give peds their roles, with what the world said when it was made.
struct RoleCall {
    uint64_t atMs = 0;
    uint64_t native = 0;  // the native's hash
    int32_t actor = 0;    // the ped the order is for; for CREATE_PED the ped made
    // The ped the order is aimed at; for TASK_ENTER_VEHICLE the driver of the vehicle, for
    // TASK_MOUNT_THROW_RIDER the rider of the horse.
    int32_t target = 0;
    bool actorIsLawman = false;  // in the law's relationship group
};

// Whether calls of this native can give roles.
bool GivesRoles(uint64_t native);

struct RoleAssignment {
    int32_t ped = 0;
    EncounterRole role = EncounterRole::Bystander;
    uint64_t atMs = 0;  // the call that gave it
};

// The roles the calls of one encounter give, in the order the peds got them.
std::vector<RoleAssignment> AssignRoles(const std::vector<RoleCall>& calls);
