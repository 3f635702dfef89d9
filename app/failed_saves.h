#pragma once

#include <string>

// Saves that did not reach the disk. Each one is said once, on stderr as
// "PROGRAM: could not save PATH: REASON", so that a player or a script learns of
// it whether or not the log is on; the game also shows the newest on the HUD.

// Reports one failed save of `path`.
void reportFailedSave(const char* path, const std::string& why);

// How many saves have failed in this run (the headless runner's exit code).
int failedSaveCount();
