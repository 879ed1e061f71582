#include "sim/app/report/ped_roles.h"

#include <algorithm>
#include <optional>

#include "host/native_list.h"

namespace {

namespace id = native::id;

enum class When {
    Always,
    ActorIsLawman,     // the law's group
    TargetIsAttacker,  // aimed at the encounter's aggressor, predator or robber
};

struct RoleRule {
    uint64_t native;
    When when;
    std::optional<EncounterRole> actor;
    std::optional<EncounterRole> target;
};

constexpr std::nullopt_t kNone = std::nullopt;

// In the order they are tried.
constexpr RoleRule kRules[] = {
    // The only ped an encounter creates is the predator it sets on its victim.
    {id::CREATE_PED::kHash, When::Always, EncounterRole::Predator, kNone},
    {id::TASK_COMBAT_ANIMAL_CHARGE_PED::kHash, When::Always, EncounterRole::Aggressor,
     EncounterRole::Victim},
    {id::TASK_ROB_PED::kHash, When::Always, EncounterRole::Robber, EncounterRole::Victim},
    // Sent to board the wagon whose driver is being robbed.
    {id::TASK_ENTER_VEHICLE::kHash, When::Always, EncounterRole::Robber, EncounterRole::Driver},
    {id::TASK_MOUNT_THROW_RIDER::kHash, When::Always, EncounterRole::Horse, EncounterRole::Rider},
    // Lawmen are owned, or set on the aggressor.
    {id::SET_ENTITY_AS_MISSION_ENTITY::kHash, When::ActorIsLawman, EncounterRole::Lawman, kNone},
    {id::TASK_COMBAT_PED::kHash, When::ActorIsLawman, EncounterRole::Lawman, kNone},
    // Others near the scene fight the aggressor or run from it.
    {id::TASK_COMBAT_PED::kHash, When::TargetIsAttacker, EncounterRole::Bystander, kNone},
    {id::TASK_FLEE_PED::kHash, When::TargetIsAttacker, EncounterRole::Bystander, kNone},
    // What is left of an attack order stages the attack itself.
    {id::TASK_COMBAT_PED::kHash, When::Always, EncounterRole::Aggressor, EncounterRole::Victim},
};

}  // namespace

bool IsAttackerRole(EncounterRole role) {
    return role == EncounterRole::Aggressor || role == EncounterRole::Predator ||
           role == EncounterRole::Robber;
}

const char* EncounterRoleName(EncounterRole role) {
    switch (role) {
        case EncounterRole::Aggressor:
            return "aggressor";
        case EncounterRole::Victim:
            return "victim";
        case EncounterRole::Lawman:
            return "lawman";
        case EncounterRole::Bystander:
            return "bystander";
        case EncounterRole::Predator:
            return "predator";
        case EncounterRole::Robber:
            return "robber";
        case EncounterRole::Driver:
            return "driver";
        case EncounterRole::Rider:
            return "rider";
        case EncounterRole::Horse:
            return "horse";
    }
    return "bystander";
}

bool GivesRoles(uint64_t native) {
    return std::any_of(std::begin(kRules), std::end(kRules),
                       [native](const RoleRule& rule) { return rule.native == native; });
}

std::vector<RoleAssignment> AssignRoles(const std::vector<RoleCall>& calls) {
    std::vector<RoleAssignment> assigned;
    const auto roleOf = [&assigned](int32_t ped) -> const RoleAssignment* {
        for (const RoleAssignment& a : assigned) {
            if (a.ped == ped) {
                return &a;
            }
        }
        return nullptr;
    };
    const auto give = [&](int32_t ped, EncounterRole role, uint64_t atMs) {
        if (ped != 0 && roleOf(ped) == nullptr) {
            assigned.push_back(RoleAssignment{ped, role, atMs});
        }
    };
    for (const RoleCall& call : calls) {
        const RoleAssignment* target = roleOf(call.target);
        const bool targetIsAttacker = target != nullptr && IsAttackerRole(target->role);
        for (const RoleRule& rule : kRules) {
            if (rule.native != call.native ||
                (rule.when == When::ActorIsLawman && !call.actorIsLawman) ||
                (rule.when == When::TargetIsAttacker && !targetIsAttacker)) {
                continue;
            }
            if (rule.actor) {
                give(call.actor, *rule.actor, call.atMs);
            }
            if (rule.target) {
                give(call.target, *rule.target, call.atMs);
            }
            break;
        }
    }
    return assigned;
}
