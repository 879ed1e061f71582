// The peds an encounter has made mission entities, so that every way out of the encounter
// hands each of them back to the game. The game never despawns a ped a script owns, corpses
// included; without this, peds would pile up encounter after encounter until the ped pool
// runs out.
#pragma once

#include <vector>

#include "host/game_types.h"

class PedLedger {
  public:
    PedLedger() = default;
    PedLedger(const PedLedger&) = delete;
    PedLedger& operator=(const PedLedger&) = delete;

    // Makes the ped a mission entity and remembers it (once, however often it is owned).
    void Own(Ped ped);

    // Hands back the ped the variable names, through the variable (the game may rewrite it),
    // and forgets it.
    void Release(Ped* pedVariable);

    // Hands back every ped still owned that still exists, except the player's own ped, and
    // forgets them all. Peds keep the tasks they were given with keep-task.
    void ReleaseRemaining();

    // The same on a path that is already failing: a fault while handing back is swallowed so
    // the original failure goes on unchanged.
    void ReleaseRemainingAfterFailure() noexcept;

    bool Holds(Ped ped) const;
    bool Empty() const { return owned_.empty(); }

  private:
    std::vector<Ped> owned_;
};
