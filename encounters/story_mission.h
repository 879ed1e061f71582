// A story mission that starts while an encounter watches its scene. The main loop pauses
// for missions only between encounters, and a watch may run for minutes: without this look
// on every pass the mission would begin with our aggressor's blip on the map, our lawmen
// still fighting and our peds still mission entities that its own clean-up leaves alone.
#pragma once

// Asks GET_MISSION_FLAG; when it is set, logs "A story mission has started, ending event."
// and the caller ends its encounter as it does when the player has left, the lawmen it sent
// stood down as well.
bool StoryMissionStarted();
