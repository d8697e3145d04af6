// Start-up: the splash, the menu bar, the platform checks, the first windows
// and the keyboard help; then the event loop.
#include "main.h"

#include "../common/utilities.h"
#include "appleEvents.h"
#include "automation.h"
#include "events.h"
#include "menu.h"
#include "text.h"
#include "windows.h"

static const RGBColor WHITE = {65535, 65535, 65535};

// Draws one line of the splash at a window-local baseline and shows it at
// once; a missing splash window draws nothing.
static void drawSplashLine(WindowRef splash, short h, short v, const char* text) {
  if (splash == nullptr) return;
  Str255 line;
  CopyCStringToPascal(text, line);
  MoveTo(h, v);
  DrawString(line);
  ForceBufferFlush(splash);
}

[[noreturn]] static void refuseToStart(CFStringRef message) {
  Advise(message);
  ExitToShell();
}

static void checkPlatform() {
  long response = 1;
  long version = 0;
  if (Gestalt(gestaltVersion, &version) != noErr) refuseToStart(CFSTR(OLDSYSTEM));
  Gestalt(0, &response);
  if (response != 0) refuseToStart(CFSTR(OLDSYSTEM));
  if (Gestalt(gestaltQuickdrawVersion, &version) != noErr || version <= 0x00FF) refuseToStart(CFSTR(NO_COLOR));
}

void initializeAll() {
  doInstallAEHandlers();

  WindowRef splash = OpenWindowFromNib(CFSTR(AppName), CFSTR("Splash"));
  if (splash != nullptr) {
    SetPortWindowPort(splash);
    Show(splash);
  }
  SetThemeCursor(kThemeWatchCursor);
  TextFont(kFontIDTimes);
  TextSize(16);
  TextFace(bold | italic);
  RGBForeColor(&WHITE);
  drawSplashLine(splash, 220, 15, "Initializing...");

  SetupMenus();

  TextSize(20);
  drawSplashLine(splash, 50, 335, "Vantor \xD1 one-dimensional maps");

  checkPlatform();

  Delay(60, nullptr);
  drawSplashLine(splash, 185, 360, "Version");
  Delay(60, nullptr);
  drawSplashLine(splash, 285, 360, VANTOR_VERSION);
  Delay(60, nullptr);

  createOutput();
  WindowPtr firstPlot = createPlot();
  if (splash != nullptr) DisposeWindow(splash);

  // Clicks and keys made while the splash was up are dropped.
  FlushEvents(everyEvent, 0);
  show(output);
  show(firstPlot);
}

void printInfo() {
  printToText("Vantor \xD1 an explorer of one-dimensional maps");
  printToText("Keyboard shortcuts:");
  printToText("\t spacebar: iterate one step");
  printToText("\t upArrow: increment \xB5");
  printToText("\t downArrow: decrement \xB5");
  printToText("\t rightArrow: f^n -> f^{n+1}");
  printToText("\t leftArrow: f^n -> f^{n-1}");
  printToText("\t Command . to cancel long operations");
  printToText("Otherwise check the menus for command key equivalents.");
}

int main(int argc, char** argv) {
  ToolboxInit(argc, argv);
  registerAutomation();
  initializeAll();
  printInfo();
  eventLoop();
}
