// Sheets: a layer window without a title bar, made of widget-backed
// controls, kept at the top of its parent's content.
#include "Sheets.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <map>
#include <vector>

#include "TextUtils.h"
#include "WidgetControls.h"
#include "Windows.h"
#include "internal/Tracking.h"
#include "internal/WidgetControls.h"
#include "internal/WindowRecord.h"
#include "qt/QtFrontend.h"

namespace tb {

namespace {

constexpr int kSheetWidth = 380;
constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 86;
constexpr int kButtonHeight = 26;
const RGBColor kSheetBackground{0xECEC, 0xECEC, 0xECEC};

std::map<WindowRecord*, WindowRecord*>& parents() {
  static std::map<WindowRecord*, WindowRecord*> map;
  return map;
}

// Return and Escape typed on the desktop while a sheet is in front belong
// to the sheet.
class SheetKeys : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    WindowRef front = FrontWindow();
    if (!isSheet(front)) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    ControlRef button = nullptr;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) GetWindowDefaultButton(front, &button);
    else if (key->key() == Qt::Key_Escape) GetWindowCancelButton(front, &button);
    else return false;
    clickControl(button);
    return true;
  }
};

void watchDesktopKeys() {
  static bool installed = false;
  QtFrontend* qt = qtFrontend();
  if (installed || qt == nullptr || qt->mainWindow() == nullptr || qt->mainWindow()->centralWidget() == nullptr) return;
  qt->mainWindow()->centralWidget()->installEventFilter(new SheetKeys);
  installed = true;
}

std::string utf8Of(CFStringRef s) {
  if (s == nullptr) return {};
  std::vector<char> buffer(size_t(CFStringGetLength(s)) * 4 + 1);
  if (!CFStringGetCString(s, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8)) return {};
  return buffer.data();
}

int textHeight(const std::string& utf8, int width, bool bold) {
  if (utf8.empty()) return 0;
  QFont font = QApplication::font();
  font.setBold(bold);
  QFontMetrics metrics(font);
  return metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, QString::fromStdString(utf8)).height() + 4;
}

void drawIcon(WindowRecord& sheet, AlertType type) {
  QStyle::StandardPixmap which = type == kAlertStopAlert      ? QStyle::SP_MessageBoxCritical
                                 : type == kAlertCautionAlert ? QStyle::SP_MessageBoxWarning
                                                              : QStyle::SP_MessageBoxInformation;
  if (type == kAlertPlainAlert) return;
  QPainter p(&sheet.port.image);
  QApplication::style()->standardIcon(which).paint(&p, QRect(kMargin, kMargin, kIconSize, kIconSize));
}

ControlRef button(WindowRef sheet, const Rect& r, CFStringRef text, const char* standard, UInt32 command) {
  // The standard texts are the platform's own titles.
  CFStringRef title = text == nullptr || text == kAlertDefaultOKText ? __CFStringMakeConstantString(standard) : text;
  ControlRef c = nullptr;
  CreatePushButtonControl(sheet, &r, title, &c);
  SetControlCommandID(c, command);
  return c;
}

}  // namespace

bool isSheet(WindowRef window) {
  return window != nullptr && isAlive(window) && window->windowClass == kSheetWindowClass;
}

WindowRef sheetParent(WindowRef sheet) {
  if (!isSheet(sheet)) return nullptr;
  auto it = parents().find(sheet);
  return it != parents().end() && isAlive(it->second) ? it->second : nullptr;
}

WindowRef attachedSheet(WindowRef parent) {
  if (parent == nullptr) return nullptr;
  for (auto& [sheet, owner] : parents()) {
    if (owner == parent && isSheet(sheet) && sheet->visible) return sheet;
  }
  return nullptr;
}

void syncSheets() {
  auto& list = windowManager().windows;
  for (auto& [sheet, parent] : parents()) {
    if (!isSheet(sheet) || !sheet->visible || !isAlive(parent)) continue;
    int width = sheet->content.right - sheet->content.left, height = sheet->content.bottom - sheet->content.top;
    int parentWidth = parent->content.right - parent->content.left;
    short left = short(parent->content.left + (parentWidth - width) / 2);
    Rect want{parent->content.top, left, short(parent->content.top + height), short(left + width)};
    if (!EqualRect(&want, &sheet->content)) setContent(*sheet, want);
    // Just in front of its parent.
    auto s = std::find(list.begin(), list.end(), sheet), p = std::find(list.begin(), list.end(), parent);
    if (s + 1 != p) {
      list.erase(s);
      list.insert(std::find(list.begin(), list.end(), parent), sheet);
      frontend().desktopChanged();
    }
  }
}

}  // namespace tb

OSStatus CreateStandardSheet(AlertType type, CFStringRef error, CFStringRef explanation,
                             const AlertStdCFStringAlertParamRec* param, EventTargetRef, WindowRef* outSheet) {
  if (outSheet == nullptr) return paramErr;
  *outSheet = nullptr;
  tb::watchDesktopKeys();
  const int textLeft = type == kAlertPlainAlert ? tb::kMargin : tb::kMargin * 2 + tb::kIconSize;
  const int textWidth = tb::kSheetWidth - textLeft - tb::kMargin;
  const int messageHeight = std::max(tb::textHeight(tb::utf8Of(error), textWidth, true), 20);
  const int explanationHeight = tb::textHeight(tb::utf8Of(explanation), textWidth, false);
  int height = tb::kMargin + messageHeight + (explanationHeight > 0 ? 8 + explanationHeight : 0);
  height = std::max(height, tb::kMargin + tb::kIconSize) + tb::kMargin + tb::kButtonHeight + tb::kMargin;

  Rect content{0, 0, short(height), short(tb::kSheetWidth)};
  WindowRef sheet = nullptr;
  OSStatus err = CreateNewWindow(kSheetWindowClass, kWindowNoAttributes, &content, &sheet);
  if (err != noErr) return err;
  tb::parents().erase(sheet);  // a record of a disposed sheet at the same address
  sheet->port.bg = tb::kSheetBackground;
  sheet->port.image.fill(tb::toQColor(tb::kSheetBackground));
  tb::drawIcon(*sheet, type);

  ControlRef text = nullptr;
  Rect r{short(tb::kMargin), short(textLeft), short(tb::kMargin + messageHeight), short(textLeft + textWidth)};
  CreateStaticTextControl(sheet, &r, error, nullptr, &text);
  if (auto* label = tb::controlWidget(text)) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  if (explanationHeight > 0) {
    r.top = short(r.bottom + 8);
    r.bottom = short(r.top + explanationHeight);
    CreateStaticTextControl(sheet, &r, explanation, nullptr, &text);
  }

  short buttonTop = short(height - tb::kMargin - tb::kButtonHeight);
  Rect ok{buttonTop, short(tb::kSheetWidth - tb::kMargin - tb::kButtonWidth), short(buttonTop + tb::kButtonHeight),
          short(tb::kSheetWidth - tb::kMargin)};
  CFStringRef okText = param != nullptr && param->defaultText != nullptr ? param->defaultText : kAlertDefaultOKText;
  ControlRef okButton = tb::button(sheet, ok, okText, "OK", kHICommandOK);
  SetWindowDefaultButton(sheet, okButton);
  if (param != nullptr && param->cancelText != nullptr) {
    Rect cancel = ok;
    OffsetRect(&cancel, short(-(tb::kButtonWidth + 12)), 0);
    ControlRef cancelButton = tb::button(sheet, cancel, param->cancelText, "Cancel", kHICommandCancel);
    SetWindowCancelButton(sheet, cancelButton);
  }
  *outSheet = sheet;
  return noErr;
}

OSStatus ShowSheetWindow(WindowRef sheet, WindowRef parent) {
  if (!tb::isSheet(sheet) || parent == nullptr || !tb::isAlive(parent) || parent == sheet) return paramErr;
  tb::parents()[sheet] = parent;
  ShowWindow(sheet);
  tb::syncWidgetControls();
  return noErr;
}

OSStatus HideSheetWindow(WindowRef sheet) {
  if (!tb::isSheet(sheet)) return paramErr;
  HideWindow(sheet);
  return noErr;
}

OSStatus GetSheetWindowParent(WindowRef sheet, WindowRef* outParent) {
  if (outParent == nullptr) return paramErr;
  *outParent = tb::sheetParent(sheet);
  return *outParent != nullptr ? noErr : paramErr;
}
