// The Qt front end: one application window whose top strip is a real menu
// bar and whose area below is the desktop on which the layer's windows live.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "../Frontend.h"
#include "../internal/Launch.h"

class QMenu;
class QMenuBar;
class QMessageBox;
class QColorDialog;
class QAction;

namespace tb {

class DesktopWidget;

class QtFrontend : public Frontend {
 public:
  QtFrontend(const LaunchOptions& options);
  ~QtFrontend() override;

  int desktopWidth() const override;
  int desktopHeight() const override;
  int menuBarHeight() const override;
  void pump(int timeoutMs) override;
  void desktopChanged() override;
  void setCursor(CursorShape shape) override;
  CursorShape cursor() const override { return cursor_; }
  void setMenuBar(const std::vector<MenuModel>& menus) override;
  int menuAt(Point where) const override;
  void openMenu(int index, const MenuModel& menu) override;
  bool menuOpen() const override { return menuOpen_; }
  int menuChoice() const override { return menuChoice_; }
  void highlightMenu(int index) override;
  void openAlert(const AlertRequest& alert) override;
  bool alertOpen() const override { return alertOpen_; }
  int alertChoice() const override { return alertChoice_; }
  void beep() override;
  void openColorPicker(const ColorRequest& request) override;
  bool colorPickerOpen() const override { return colorOpen_; }
  bool colorPickerChoice(RGBColor& chosen) const override;
  void setClipboard(const std::string* utf8Text, const QImage* image) override;
  bool clipboardText(std::string& utf8) override;
  QImage clipboardImage() override;
  QImage grabScreen() override;

  // For the script driver: act on the open menu or alert as a person would.
  bool clickMenuItem(int item);
  // Where a person presses to pull menu `index` down, in desktop
  // coordinates (the menu bar is the desktop's top strip).
  Point menuTitleCenter(int index) const;
  // The index of the menu that is pulled down, or -1.
  int openMenuIndex() const { return menuOpen_ ? openMenuIndex_ : -1; }
  bool pressAlertButton(int which);
  std::string alertMessage() const;
  // For the script driver and tests: answer the open colour picker with a
  // colour (OK) or with null (Cancel); false when none is open.
  bool answerColorPicker(const RGBColor* color);
  std::string colorPickerPrompt() const;
  // The colour the open picker shows now.
  RGBColor colorPickerColor() const;
  int beepCount() const { return beeps_; }
  QMainWindow* mainWindow() { return window_.get(); }

 private:
  std::unique_ptr<QMainWindow> window_;
  QMenuBar* menuBar_ = nullptr;
  DesktopWidget* desktop_ = nullptr;
  std::vector<QAction*> titles_;
  QPointer<QMenu> menu_;
  bool menuOpen_ = false;
  int openMenuIndex_ = -1;
  int menuChoice_ = 0;
  QPointer<QMessageBox> alert_;
  bool alertOpen_ = false;
  int alertChoice_ = 0;
  CursorShape cursor_ = CursorShape::Arrow;
  QPointer<QColorDialog> colorDialog_;
  ColorRequest colorRequest_;
  bool colorOpen_ = false;
  bool colorAccepted_ = false;
  RGBColor colorChosen_{0, 0, 0};
  int beeps_ = 0;
};

// Creates the QApplication and the front end and makes it current.
void startQtFrontend(int& argc, char** argv, const LaunchOptions& options);
QtFrontend* qtFrontend();

}  // namespace tb
