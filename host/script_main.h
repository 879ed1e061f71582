// The script the hook runs on its fiber: start-up, then one pass per game frame, forever.
#pragma once

// Seeds the generator, lets the game settle for 5 seconds and enters MainLoop. Never returns.
void ScriptMain();

// Writes the banner, loads the settings, builds both registries, then ticks the timers every
// frame while no story mission runs. Never returns.
void MainLoop();

// What the library entry does for each reason the loader gives: 1 registers the script,
// 0 unregisters it, anything else does nothing. Always returns 1 (TRUE).
int PluginEntry(void* module, unsigned long reason);
