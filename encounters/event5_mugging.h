// Encounter "event5_mugging": an armed ped robs another at night while bystanders flee and
// lawmen close in; afterwards robber and victim run from each other.
#pragma once

void event5_mugging();
