// Unit tests run on a real toolbox with an offscreen desktop of 1024x768.
#include <gtest/gtest.h>

#include <cstdlib>

#include "toolbox/Process.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char program[] = "unit_tests";
  char desktopFlag[] = "--desktop";
  char desktopSize[] = "1024x768";
  char* toolboxArgs[] = {program, desktopFlag, desktopSize, nullptr};
  int toolboxArgc = 3;
  ToolboxInit(toolboxArgc, toolboxArgs);
  return RUN_ALL_TESTS();
}
