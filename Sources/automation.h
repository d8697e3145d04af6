// Lets the script driver of the toolbox layer (docs/automation.md) read the
// program's own state: which window is the log, what each plot shows, the
// arrow-key step and the zoom mode.
#pragma once

// Registers the readers; main calls it right after ToolboxInit.
void registerAutomation();
