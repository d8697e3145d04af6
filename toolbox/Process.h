// Process services: start-up of the layer, the end of the process and the
// system query service.
#pragma once

#include "MacTypes.h"

// Starts the layer: reads the layer's command-line options (see
// docs/automation.md), opens the application window and its desktop.
// Programs call it first thing in main.
void ToolboxInit(int argc, char** argv);

// Ends the process at once.
[[noreturn]] void ExitToShell();

enum : OSType {
  gestaltSystemVersion = FOUR_CHAR_CODE("sysv"),
  gestaltQuickdrawVersion = FOUR_CHAR_CODE("qd  "),
  gestaltVersion = FOUR_CHAR_CODE("vers"),
};
OSErr Gestalt(OSType selector, long* response);
