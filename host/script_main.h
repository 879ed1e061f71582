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

// Puts all the plug-in's process-wide state (settings, registries, timers, the generator,
// remembered hashes, the encounters' own) back to how a freshly loaded library has it, so
// several runs in one process do not see each other. Each module resets its own; this lists
// them all. What the host installs (the log observer, the clock source) stays.
void ResetProcessState();
