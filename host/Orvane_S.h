#pragma once

#include "platform/platform.h"

// The saver window: hidden, titled "Orvane_Main", the owner of the saver's timers.
namespace orvane {

// Saver mode's hand-over ("/s" and the empty command line). Creates the saver window without
// showing it, so that other processes find it by its title, and runs its load step (texture
// copy, renderer start, music). Then returns; the caller runs the main loop, on which the
// window's timers tick through platform.timers. The window's close step ends the process with
// platform.process.EndProcess(). Main has already hidden the cursor in "S" mode.
void CreateSaverWindow(Platform& platform);

}  // namespace orvane
