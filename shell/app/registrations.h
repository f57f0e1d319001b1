#pragma once

// Registers everything the program offers with the layers that look it up (the
// modes of the main loop, ...). Called once by the start-up before the main loop.
void RegisterFeatures();
