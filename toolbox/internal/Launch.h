// The layer's command-line options and process-wide hooks.
#pragma once

#include <functional>
#include <string>

namespace tb {

struct LaunchOptions {
  std::string scriptPath;
  int desktopWidth = 1024;
  int desktopHeight = 768;
  bool virtualClock = false;
};

bool parseLaunchOptions(int argc, char** argv, LaunchOptions& options, std::string& error);

// Runs just before ExitToShell ends the process.
void onExit(std::function<void()> callback);
void setExitStatus(int status);

// Starts the script driver (docs/automation.md) on a script file.
void startScript(const std::string& path);

}  // namespace tb
