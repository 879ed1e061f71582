// The moves encounters make on the peds they have chosen: finding lawmen and bystanders,
// setting a ped on another, making a ped flee or fight back, turning the aggressor into a
// criminal, sending lawmen after it, and handing peds back.
#pragma once

#include <vector>

#include "host/game_types.h"
#include "world/aggressor_blip.h"

class PedLedger;

// The ped exists and is not dead (two natives, in that order).
bool IsPedActive(Ped ped);

// The ped exists, is not dead and is not hogtied (asked in that order, as far as needed).
bool CanPedAct(Ped ped);

// Peds of group REL_COP around the centre ped, in the order the game lists them (up to 200;
// no existence, death or distance test).
std::vector<Ped> FindNearbyLawmen(Ped centerPed);

// Peds around the centre ped (up to 50) other than the excluded ped, the player's ped, the
// gang's peds and lawmen.
std::vector<Ped> FindNearbyBystanders(Ped centerPed, Ped excludedPed);

// A living reactor facing a living aggressor flees from it or fights back, on an even draw,
// and keeps that task; one that is already fleeing is left alone.
void ReactToAggressor(Ped reactor, Ped aggressor);

// Turns the aggressor on the target from a clean slate: its tasks are dropped, the attack task
// that fits it (combat for a human, a charge for an animal) is given and kept, and the choice
// is logged.
void SetAggressorOn(Ped aggressor, Ped target);

// Moves the aggressor into REL_CRIMINALS.
void MarkAggressorCriminal(Ped aggressor);

// Logs "Nearby lawman found: <lawman>" and owns the lawman through the ledger.
void OwnLawman(Ped lawman, PedLedger& ledger);

// A combat task on the target, kept.
void FightPed(Ped fighter, Ped target);

// A flee task from the threat, kept.
void FleeFromPed(Ped ped, Ped threat);

// Each lawman in turn is owned through the ledger and sent after the aggressor, and noted in
// `sent` (once) so that the encounter can stand the lawmen it sent down again.
void DispatchLawmen(const std::vector<Ped>& lawmen, Ped aggressor, PedLedger& ledger,
                    std::vector<Ped>& sent);

// Hands the ped back through the ledger and removes its blip: the kept one, or else any the
// game shows on the ped. The hand-back may clear the variable, so the game's blip is looked
// for on the ped the variable named.
void LetPedGo(Ped* pedVariable, AggressorBlip& blip, PedLedger& ledger);
// The same for a ped the encounter kept no blip for.
void LetPedGo(Ped* pedVariable, PedLedger& ledger);

// Adds the ped to the list unless it is there already.
void NoteOnce(std::vector<Ped>& peds, Ped ped);

// Drops the tasks of every ped in the list.
void ClearTasksOfPeds(std::vector<Ped> peds);
