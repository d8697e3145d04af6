// Small toolkit helpers that know nothing of maps or plots: nib windows,
// controls by ID, alerts and sheets, the process search, the animated
// cursor, the keyboard map, string copies, the version and the about box.
#include "utilities.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const RGBColor WHITE = {65535, 65535, 65535};
constexpr int kVersionBufferSize = 20;

std::string utf8Of(CFStringRef s) {
  if (s == nullptr) return {};
  std::string out(size_t(CFStringGetLength(s)) * 4 + 1, '\0');
  if (!CFStringGetCString(s, out.data(), CFIndex(out.size()), kCFStringEncodingUTF8)) return {};
  return out.c_str();
}

// What one sheet needs when its button is pressed.
struct SheetData {
  Boolean close = false;
  int* buttonPushed = nullptr;
  EventHandlerRef handler = nullptr;
};

// Closes the sheet that owns the hit control; returns its parent.
WindowRef closeSheet(EventRef event, SheetData& data, ControlRef* hit) {
  ControlRef control = nullptr;
  GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control, nullptr, &control);
  if (hit != nullptr) *hit = control;
  WindowRef sheet = GetControlOwner(control);
  WindowRef parent = nullptr;
  GetSheetWindowParent(sheet, &parent);
  // The handler goes with its sheet, so that no later window at the same
  // place inherits it.
  RemoveEventHandler(data.handler);
  HideSheetWindow(sheet);
  DisposeWindow(sheet);
  return parent;
}

OSStatus SheetAlertHandler(EventHandlerCallRef, EventRef event, void* userData) {
  auto* data = static_cast<SheetData*>(userData);
  WindowRef parent = closeSheet(event, *data, nullptr);
  if (data->close && parent != nullptr) HideWindow(parent);
  delete data;
  return noErr;
}

OSStatus NoteAlertHandler(EventHandlerCallRef, EventRef event, void* userData) {
  auto* data = static_cast<SheetData*>(userData);
  ControlRef hit = nullptr;
  UInt32 command = 0;
  // The command is read before the sheet and its buttons go.
  ControlRef control = nullptr;
  GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control, nullptr, &control);
  GetControlCommandID(control, &command);
  closeSheet(event, *data, &hit);
  if (command == kHICommandCancel && data->buttonPushed != nullptr) *data->buttonPushed = 0;
  delete data;
  return noErr;
}

const EventTypeSpec kControlHit[] = {{kEventClassControl, kEventControlHit}};

// A sheet needs a parent on screen; without one the alert is modal.
void showSheet(AlertType type, WindowRef parent, CFStringRef message, bool withCancel, SheetData* data,
               EventHandlerProcPtr handler) {
  if (parent == nullptr || !IsWindowVisible(parent)) {
    AlertStdCFStringAlertParamRec params;
    GetStandardAlertDefaultParams(&params, 1);
    if (withCancel) params.cancelText = kAlertDefaultCancelText;
    DialogRef alert = nullptr;
    DialogItemIndex hit = 0;
    if (CreateStandardAlert(type, message, nullptr, &params, &alert) == noErr) RunStandardAlert(alert, nullptr, &hit);
    if (withCancel && hit == kAlertStdAlertCancelButton && data->buttonPushed != nullptr) *data->buttonPushed = 0;
    if (data->close && parent != nullptr) HideWindow(parent);
    delete data;
    return;
  }
  AlertStdCFStringAlertParamRec params;
  GetStandardAlertDefaultParams(&params, 1);
  params.defaultText = kAlertDefaultOKText;
  params.defaultButton = kAlertStdAlertOKButton;
  if (withCancel) {
    params.cancelText = kAlertDefaultCancelText;
    params.cancelButton = kAlertStdAlertCancelButton;
  }
  WindowRef sheet = nullptr;
  if (CreateStandardSheet(type, message, nullptr, &params, GetWindowEventTarget(parent), &sheet) != noErr) {
    delete data;
    return;
  }
  InstallWindowEventHandler(sheet, NewEventHandlerUPP(handler), 1, kControlHit, data, &data->handler);
  ShowSheetWindow(sheet, parent);
}

}  // namespace

WindowRef OpenWindowFromNib(CFStringRef nibName, CFStringRef wTitle) {
  IBNibRef nib = nullptr;
  if (CreateNibReference(nibName, &nib) != noErr) return nullptr;
  WindowRef window = nullptr;
  if (CreateWindowFromNib(nib, wTitle, &window) != noErr) window = nullptr;
  DisposeNibReference(nib);
  return window;
}

ControlRef GetWindowControlRef(WindowRef theW, short cmdType) {
  ControlID id{kControlSignature, cmdType};
  ControlRef control = nullptr;
  GetControlByID(theW, &id, &control);
  return control;
}

void SetControlPString(WindowRef window, SInt32 id, ConstStr255Param aString) {
  ControlRef control = GetWindowControlRef(window, short(id));
  if (control == nullptr) return;
  SetControlData(control, kControlEntireControl, kControlEditTextTextTag, aString[0], aString + 1);
  Draw1Control(control);
}

void SetControlCFString(WindowRef window, SInt32 id, CFStringRef aString) {
  ControlRef control = GetWindowControlRef(window, short(id));
  if (control == nullptr) return;
  SetControlData(control, kControlEntireControl, kControlEditTextCFStringTag, sizeof aString, &aString);
  Draw1Control(control);
}

void GetControlPString(WindowRef window, SInt32 id, StringPtr aStr) {
  aStr[0] = 0;
  ControlRef control = GetWindowControlRef(window, short(id));
  if (control == nullptr) return;
  Size size = 0;
  if (GetControlData(control, kControlEntireControl, kControlEditTextTextTag, 255, aStr + 1, &size) != noErr) return;
  aStr[0] = static_cast<unsigned char>(std::clamp<Size>(size, 0, 255));
}

void SelectEditTextControl(WindowRef theW, int item) {
  ControlRef control = GetWindowControlRef(theW, short(item));
  if (control == nullptr) return;
  Size size = 0;
  GetControlDataSize(control, kControlEntireControl, kControlEditTextTextTag, &size);
  ControlEditTextSelectionRec selection{0, SInt16(std::min<Size>(size, 32767))};
  SetControlData(control, kControlEntireControl, kControlEditTextSelectionTag, sizeof selection, &selection);
  SetKeyboardFocus(theW, control, kControlFocusNoPart);
  SetKeyboardFocus(theW, control, kControlFocusNextPart);
}

// The classic helper animated the window open; a plain show is enough here.
void Show(WindowRef theW) {
  if (theW == nullptr) return;
  if (!IsWindowVisible(theW)) ShowWindow(theW);
  SelectWindow(theW);
}

// The layer's desktop has no Dock: the usable area is the desktop below the
// menu bar.
Rect ScreenBounds() {
  Rect bounds;
  GetRegionBounds(GetGrayRgn(), &bounds);
  bounds.top = short(bounds.top + GetMBarHeight());
  return bounds;
}

void Advise(CFStringRef theCFStr) {
  AlertStdCFStringAlertParamRec params;
  GetStandardAlertDefaultParams(&params, 1);
  DialogRef alert = nullptr;
  if (CreateStandardAlert(kAlertNoteAlert, theCFStr, nullptr, &params, &alert) != noErr) return;
  DialogItemIndex hit = 0;
  RunStandardAlert(alert, nullptr, &hit);
}

// Each sheet keeps its own close flag: a flag shared by all sheets would let
// a second sheet decide whether the first one's parent is hidden.
void SheetAlert(AlertType theType, Boolean close, WindowRef parent, CFStringRef theCFStr) {
  auto* data = new SheetData;
  data->close = close;
  showSheet(theType, parent, theCFStr, false, data, SheetAlertHandler);
}

void StopAlert(WindowRef parent, CFStringRef theCFStr) {
  if (parent != nullptr) SheetAlert(kAlertStopAlert, false, parent, theCFStr);
  else Advise(theCFStr);
}

void CautionAlert(WindowRef parent, CFStringRef theCFStr) {
  if (parent != nullptr) SheetAlert(kAlertCautionAlert, false, parent, theCFStr);
  else Advise(theCFStr);
}

void StopAlertWithNumber(WindowRef parent, CFStringRef theCFStr, OSErr theErr) {
  std::string text = utf8Of(theCFStr) + " " + std::to_string(theErr);
  CFStringRef message = CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
  StopAlert(parent, message);
  CFRelease(message);
}

void FileErrorAlert(OSErr theErr) {
  const char* message;
  switch (theErr) {
    case -33:
    case -34:
    case -41: message = DISKFULL; break;
    case -45: message = FILELOCKED; break;
    case -47: message = FILEISBUSY; break;
    case -48: message = DUPLICATEFILENAME; break;
    case -49: message = FILEISOPEN; break;
    case -54: message = UNABLETOOPEN; break;
    case -61: message = UNABLETOWRITE; break;
    case -1300: message = FILENOTFOUND; break;
    case -1301: message = FILEALREADYEXISTS; break;
    default: message = FILESYSTEMERR; break;
  }
  StopAlertWithNumber(nullptr, __CFStringMakeConstantString(message), theErr);
}

void NoteAlertWithCancel(WindowRef parent, CFStringRef theCFStr, int* buttonPushed) {
  auto* data = new SheetData;
  data->buttonPushed = buttonPushed;
  showSheet(kAlertNoteAlert, parent, theCFStr, true, data, NoteAlertHandler);
}

OSStatus FindProcess(OSType creator, OSType type, ProcessSerialNumber* outProcess) {
  ProcessSerialNumber psn{0, kNoProcess};
  OSStatus err;
  while ((err = GetNextProcess(&psn)) == noErr) {
    ProcessInfoRec info{};
    info.processInfoLength = sizeof info;
    info.processName = nullptr;
    info.processAppSpec = nullptr;
    err = GetProcessInformation(&psn, &info);
    if (err != noErr) break;
    if (info.processType == type && info.processSignature == creator) break;
  }
  if (outProcess != nullptr) *outProcess = psn;
  return err;
}

void BringFinderToFront() {
  ProcessSerialNumber finder;
  if (FindProcess(FOUR_CHAR_CODE("MACS"), FOUR_CHAR_CODE("FNDR"), &finder) == noErr) SetFrontProcess(&finder);
  else CautionAlert(nullptr, CFSTR(CANTGETFINDER));
}

void AnimateCursor(ThemeCursor theCursor) {
  static UInt32 time = 0;
  static long animationStep = 0;
  UInt32 now = TickCount();
  if (now - time <= 30) return;
  SetAnimatedThemeCursor(theCursor, UInt32(animationStep));
  ++animationStep;
  time = now;
}

// The key map holds 128 keys; codes beyond it are never down (reading them
// would run past the map).
short isPressed(unsigned short k) {
  if (k >= 128) return 0;
  KeyMap keys;
  GetKeys(keys);
  return (keys[k / 8] >> (k % 8)) & 1;
}

int pStrLength(ConstStr255Param p1) { return p1[0]; }

// memmove: source and destination may overlap.
void pStrCopy(ConstStr255Param p1, StringPtr p2) { std::memmove(p2, p1, size_t(pStrLength(p1)) + 1); }

// A sum beyond 255 bytes would overflow the length byte and the buffer; the
// appended text is cut at 255 bytes instead.
void pStrAppend(ConstStr255Param p1, StringPtr p2) {
  int room = 255 - p2[0];
  int count = std::min(pStrLength(p1), room);
  if (count <= 0) return;
  std::memmove(p2 + 1 + p2[0], p1 + 1, size_t(count));
  p2[0] = static_cast<unsigned char>(p2[0] + count);
}

int cStrLength(const char* aStr) { return int(std::strlen(aStr)); }

void cStrCopy(const char* p1, char* p2) { std::memmove(p2, p1, std::strlen(p1) + 1); }

// Both sources are cut to the 19 characters the 20-byte buffer holds: a
// longer bundle version or resource string would overrun it.
OSStatus GetVersionString(StringPtr aStr) {
  CFBundleRef bundle = CFBundleGetMainBundle();
  if (bundle != nullptr && CFBundleHasInfoDictionary(bundle)) {
    CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleVersion"));
    if (value != nullptr && CFGetTypeID(value) == CFStringGetTypeID()) {
      std::string text = tb::utf8ToMacRoman(utf8Of(static_cast<CFStringRef>(value)));
      text.resize(std::min<size_t>(text.size(), kVersionBufferSize - 1));
      aStr[0] = static_cast<unsigned char>(text.size());
      std::memcpy(aStr + 1, text.data(), text.size());
      return noErr;
    }
  }
  Handle vers = Get1IndResource(FOUR_CHAR_CODE("vers"), 1);
  if (vers == nullptr) return -1;
  // 4 bytes of numeric version, 2 of region code, then the short version.
  Size size = GetHandleSize(vers);
  OSStatus result = -1;
  if (size >= 7) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(*vers);
    size_t length = std::min<size_t>({bytes[6], size_t(size - 7), kVersionBufferSize - 1});
    aStr[0] = static_cast<unsigned char>(length);
    std::memcpy(aStr + 1, bytes + 7, length);
    result = noErr;
  }
  ReleaseResource(vers);
  return result;
}

void DoAboutBox() {
  WindowRef about = OpenWindowFromNib(CFSTR(AppName), CFSTR("Splash"));
  if (about == nullptr) return;
  GrafPtr saved;
  GetPort(&saved);
  SetPortWindowPort(about);
  TextSize(14);
  TextFace(bold);
  TextFont(kFontIDTimes);
  RGBForeColor(&WHITE);
  MoveTo(10, 100);
  Show(about);
  Str255 version;
  if (GetVersionString(version) == noErr) DrawString(version);
  QDFlushPortBuffer(GetWindowPort(about), nullptr);
  Point where;
  MouseTrackingResult result = 0;
  BeginAppModalStateForWindow(about);
  do {
    TrackMouseLocation(GetWindowPort(about), &where, &result);
  } while (result != kMouseTrackingMouseDown && result != kMouseTrackingMouseUp);
  EndAppModalStateForWindow(about);
  DisposeWindow(about);
  SetPort(saved);
}
