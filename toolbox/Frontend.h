// The boundary between the toolbox layer and the toolkit that shows it. The
// layer keeps all state (windows, ports, menus, the event queue); a front end
// shows the desktop, delivers input through tb::postInput and runs the
// system's own pieces (menus, alerts). The Qt front end serves people, and
// tests through Qt's offscreen platform.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "MacTypes.h"

namespace tb {

enum class CursorShape { Arrow, IBeam, Cross, Watch, ZoomIn, ZoomOut };

struct MenuItemModel {
  std::string text;   // Mac Roman
  char commandKey = 0;  // upper-case letter or digit, 0 for none
  bool separator = false;
  bool enabled = true;
  bool checked = false;
};

struct MenuModel {
  MenuID id = 0;
  std::string title;  // Mac Roman
  std::vector<MenuItemModel> items;
};

struct AlertRequest {
  int type = 1;              // 0 stop, 1 note, 2 caution
  std::string message;       // UTF-8
  std::string explanation;   // UTF-8
  bool cancelButton = false;
};

struct ColorRequest {
  std::string prompt;  // UTF-8
  RGBColor color{0, 0, 0};
};

class Frontend {
 public:
  virtual ~Frontend() = default;

  // Size of the desktop in pixels; the menu bar is its top strip.
  virtual int desktopWidth() const = 0;
  virtual int desktopHeight() const = 0;
  virtual int menuBarHeight() const = 0;

  // Lets the toolkit run: input goes to tb::postInput. Waits at most
  // timeoutMs when nothing happens; 0 only takes what is pending.
  virtual void pump(int timeoutMs) = 0;
  // Windows, their frames or their pixels changed: repaint soon.
  virtual void desktopChanged() = 0;
  virtual void setCursor(CursorShape shape) = 0;
  virtual CursorShape cursor() const = 0;

  virtual void setMenuBar(const std::vector<MenuModel>& menus) = 0;
  // Index of the menu whose title lies under a point of the menu bar, or -1.
  virtual int menuAt(Point where) const = 0;
  // Opens menu `index` below its title with the checkmarks and items of
  // `menu`; returns at once. menuOpen() is true until it closes, then
  // menuChoice() is the item chosen (from 1) or 0.
  virtual void openMenu(int index, const MenuModel& menu) = 0;
  virtual bool menuOpen() const = 0;
  virtual int menuChoice() const = 0;
  virtual void highlightMenu(int index) = 0;  // -1 for none

  // Opens an application-modal alert; returns at once. alertOpen() is true
  // until a button is pressed; alertChoice() is then 1 for OK, 2 for Cancel.
  virtual void openAlert(const AlertRequest& alert) = 0;
  virtual bool alertOpen() const = 0;
  virtual int alertChoice() const = 0;

  virtual void beep() = 0;

  // Opens the colour picker, application-modal, titled with the prompt and
  // preset to a colour; returns at once. colorPickerOpen() is true until it
  // closes; colorPickerChoice() then gives the colour confirmed, or false
  // when it was cancelled.
  virtual void openColorPicker(const ColorRequest& request) = 0;
  virtual bool colorPickerOpen() const = 0;
  virtual bool colorPickerChoice(RGBColor& chosen) const = 0;

  // The system clipboard as other programs see it: text is UTF-8 with line
  // feeds, an image goes to them as PNG. setClipboard replaces what the
  // clipboard holds with the parts given; with neither it empties it.
  virtual void setClipboard(const std::string* utf8Text, const QImage* image) = 0;
  // False when the clipboard holds no text.
  virtual bool clipboardText(std::string& utf8) = 0;
  // A null image when the clipboard holds none.
  virtual QImage clipboardImage() = 0;

  // The application window as a person sees it.
  virtual QImage grabScreen() = 0;
};

Frontend& frontend();
void setFrontend(Frontend* frontEnd);

}  // namespace tb
