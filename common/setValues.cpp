// The parameter dialog: the format is parsed into labelled rows, the nib's
// dialog is filled, sized and run modally, and the edited texts are read
// back through the caller's pointers.
#include "setValues.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <limits>

#include "../Sources/color.h"
#include "doubletostring.h"
#include "preferences.h"
#include "utilities.h"

namespace {

WindowRef dataDialog = nullptr;
int dialogHeight = 0;
const EventTypeSpec parameterEvents[] = {{kEventClassControl, kEventControlHit}};

constexpr short kFloatPlaces = 13;
constexpr int kKeepAboveBottom = 20;

enum {
  kOKButton = 1,
  kCancelButton = 2,
  kFirstField = 3,
  kColorButton = 10,
  kSymmetryControl = 11,
  kDescription = 12,
  kFirstLabel = 13,
};

ControlRef control(short id) { return GetWindowControlRef(dataDialog, id); }

void showControl(short id, bool shown) {
  if (ControlRef c = control(id)) {
    if (shown) ShowControl(c);
    else HideControl(c);
  }
}

// Truncates toward zero, saturating at the ends of the 32-bit range.
SInt32 truncateTo32(double v) {
  if (v >= 2147483647.0) return std::numeric_limits<SInt32>::max();
  if (v <= -2147483648.0) return std::numeric_limits<SInt32>::min();
  return static_cast<SInt32>(std::trunc(v));
}

// Stores a value read from field `form` through its pointer; false when the
// value does not fit the field (a float field cannot hold 1e300).
bool storeNumber(short form, void* target, double v) {
  switch (form) {
    case kFormShort: {
      // The low 16 bits, as two's complement: 40000 becomes -25536.
      auto bits = static_cast<uint16_t>(static_cast<uint32_t>(truncateTo32(v)));
      *static_cast<SInt16*>(target) = static_cast<SInt16>(bits);
      return true;
    }
    case kFormLong: *static_cast<SInt32*>(target) = truncateTo32(v); return true;
    case kFormFloat:
      if (std::fabs(v) > double(std::numeric_limits<float>::max())) return false;
      *static_cast<float*>(target) = static_cast<float>(v);
      return true;
    case kFormDouble: *static_cast<double*>(target) = v; return true;
    default: return true;
  }
}

bool takesPointer(short form) {
  return form == kFormShort || form == kFormLong || form == kFormFloat || form == kFormDouble ||
         form == kFormString || form == kFormSymmetry;
}

}  // namespace

short isDigit(char c) { return c >= '0' && c <= '9' ? 1 : 0; }

WindowRef ParameterDialog() { return dataDialog; }

short ParseFormat(const char* formStr, Str255* text, short* form) {
  short count = 0;
  Str255 label;
  label[0] = 0;
  // A field ends the label that was collected since the last one.
  auto field = [&](short code) {
    pStrCopy(label, text[count]);
    form[count] = code;
    ++count;
    label[0] = 0;
  };
  const char* p = formStr;
  while (*p != '\0' && count < kMaxFields) {
    char c = *p++;
    if (c == ',' || c == ';') continue;
    if (c != '%') {
      if (label[0] < 255) label[++label[0]] = static_cast<unsigned char>(c);
      continue;
    }
    for (int digits = 0; digits < 2 && isDigit(*p); ++digits) ++p;  // a precision, read and ignored
    char letter = *p;
    if (letter == '\0') {
      field(kFormNone);
      break;
    }
    ++p;
    if (letter == 'L' || letter == 'M' || letter == 'B') letter = char(letter - 'A' + 'a');
    short code = kFormNone;
    switch (letter) {
      case 'd': code = kFormShort; break;
      case 'e':
      case 'f':
      case 'g': code = kFormFloat; break;
      case 'c': code = kFormChar; break;
      case 's': code = kFormString; break;
      case 'm': code = kFormSymmetry; break;
      case 'b': code = kFormColor; break;
      case 'l': {
        char next = *p;
        if (next == '\0') {
          field(kFormNone);
          return count;
        }
        ++p;
        if (next == 'd') code = kFormLong;
        else if (next == 'e' || next == 'f' || next == 'g') code = kFormDouble;
        break;
      }
      default: break;
    }
    field(code);
  }
  return count;
}

void OpenDataDialog(int& height) {
  Rect screen = ScreenBounds();
  dataDialog = OpenWindowFromNib(CFSTR("Common"), CFSTR("Parameters"));
  if (dataDialog == nullptr) {
    height = 0;
    return;
  }
  Point corner;
  if (ReadPreference(kDataDialogCorner, &corner) && PtInRect(corner, &screen)) {
    MoveWindow(dataDialog, corner.h, corner.v, true);
  }
  Rect content;
  GetWindowBounds(dataDialog, kWindowContentRgn, &content);
  height = content.bottom - content.top;
}

OSStatus ParameterEventHandler(EventHandlerCallRef, EventRef event, void* userData) {
  if (GetEventClass(event) != kEventClassControl || GetEventKind(event) != kEventControlHit) return eventNotHandledErr;
  auto* record = static_cast<ParamRecord*>(userData);
  ControlRef hit = nullptr;
  GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof hit, nullptr, &hit);
  ControlID id{0, 0};
  if (GetControlID(hit, &id) != noErr) return eventNotHandledErr;
  switch (id.id) {
    case kOKButton:
      record->saveStuff = 1;
      QuitAppModalLoopForWindow(dataDialog);
      return noErr;
    case kCancelButton:
      record->saveStuff = 0;
      QuitAppModalLoopForWindow(dataDialog);
      return noErr;
    case kColorButton:
      ChooseAColor(3);
      return noErr;
    case kSymmetryControl:
      record->symmetryItem = GetControlValue(hit);
      return noErr;
    default:
      return eventNotHandledErr;
  }
}

short GetParams(ConstStr255Param descStr, const char* formStr, ...) {
  Str255 text[kMaxFields];
  Str255 pArray[kMaxFields];
  short form[kMaxFields];
  void* pointers[kMaxFields] = {};
  short N = ParseFormat(formStr, text, form);
  if (N == 0) {
    SheetAlert(kAlertStopAlert, true, dataDialog, CFSTR(FORMERR));
    return 0;
  }
  if (dataDialog == nullptr) OpenDataDialog(dialogHeight);
  if (dataDialog == nullptr) return 0;  // no nib: nothing to ask with

  GrafPtr savedPort;
  GetPort(&savedPort);
  SetPortWindowPort(dataDialog);

  Boolean showColor = false;
  short saveStuff = 1;
  short symmetryItem = 0;
  bool hasSymmetry = false;
  short noError = 1;

  va_list args;
  va_start(args, formStr);
  for (short j = 0; j < N; ++j) {
    if (takesPointer(form[j])) pointers[j] = va_arg(args, void*);
    pArray[j][0] = 0;  // rows without a value show an empty field
    switch (form[j]) {
      case kFormShort: NumToString(*static_cast<SInt16*>(pointers[j]), pArray[j]); break;
      case kFormLong: NumToString(*static_cast<SInt32*>(pointers[j]), pArray[j]); break;
      case kFormFloat: ConvertDoubleToString(*static_cast<float*>(pointers[j]), pArray[j], kFloatPlaces); break;
      case kFormDouble: ConvertDoubleToString(*static_cast<double*>(pointers[j]), pArray[j], kFloatPlaces); break;
      case kFormString: pStrCopy(static_cast<const unsigned char*>(pointers[j]), pArray[j]); break;
      case kFormSymmetry:
        symmetryItem = static_cast<SInt16>(static_cast<uint16_t>(*static_cast<SInt32*>(pointers[j])));
        hasSymmetry = true;
        break;
      case kFormColor: showColor = true; break;
      default: break;
    }
    if (form[j] <= kFormString) {
      SetControlPString(dataDialog, j + kFirstLabel, text[j]);
      SetControlPString(dataDialog, j + kFirstField, pArray[j]);
      showControl(short(j + kFirstLabel), true);
      showControl(short(j + kFirstField), true);
    }
  }
  va_end(args);
  SetControlPString(dataDialog, kDescription, descStr);

  short rows = showColor ? short(N - 1) : N;
  for (short j = rows; j < kMaxFields; ++j) {
    showControl(short(j + kFirstField), false);
    showControl(short(j + kFirstLabel), false);
  }
  // The %m field has no row of its own: its value is the symmetry control's.
  if (hasSymmetry) {
    showControl(short(rows + kFirstField - 1), false);
    showControl(short(rows + kFirstLabel - 1), false);
  }
  showControl(kSymmetryControl, symmetryItem != 0);
  if (symmetryItem != 0) SetControlValue(control(kSymmetryControl), symmetryItem);
  showControl(kColorButton, showColor);

  Rect content;
  GetWindowBounds(dataDialog, kWindowContentRgn, &content);
  short width = short(content.right - content.left);
  short h = short(dialogHeight - kRowPitch * (kMaxFields - rows) - (hasSymmetry ? kRowPitch : 0));
  SizeWindow(dataDialog, width, h, false);

  // Keep the whole dialog on the screen, with room below it.
  Rect screen = ScreenBounds();
  if (content.top + h + kKeepAboveBottom > screen.bottom) {
    MoveWindow(dataDialog, content.left, short(std::max<int>(screen.bottom - h - kKeepAboveBottom, screen.top)),
               false);
  }

  // Until a button says otherwise the dialog counts as cancelled, so that a
  // loop ended by the window going away stores nothing.
  auto* record = new ParamRecord{0, symmetryItem};
  EventHandlerRef handler = nullptr;
  InstallWindowEventHandler(dataDialog, NewEventHandlerUPP(ParameterEventHandler), 1, parameterEvents, record,
                            &handler);
  SelectEditTextControl(dataDialog, kFirstField);
  SetThemeCursor(kThemeArrowCursor);
  Show(dataDialog);
  RunAppModalLoopForWindow(dataDialog);
  saveStuff = record->saveStuff;
  symmetryItem = record->symmetryItem;
  RemoveEventHandler(handler);
  delete record;

  if (saveStuff == 1) {
    // From the last field back: once a number fails, the fields before it
    // keep their values while those after it have been stored.
    for (short j = short(N - 1); j >= 0; --j) {
      GetControlPString(dataDialog, j + kFirstField, pArray[j]);
      if (form[j] >= kFormShort && form[j] <= kFormDouble) {
        double value = 0;
        short places = form[j] <= kFormLong ? 0 : kFloatPlaces;
        int read = ConvertStringToDouble(pArray[j], &value, places);
        noError = short(noError * read);
        if (noError != 0 && !storeNumber(form[j], pointers[j], value)) noError = 0;
      } else if (form[j] == kFormString) {
        pStrCopy(pArray[j], static_cast<unsigned char*>(pointers[j]));
      } else if (form[j] == kFormSymmetry) {
        *static_cast<SInt32*>(pointers[j]) = symmetryItem;
      }
    }
  }

  GetWindowBounds(dataDialog, kWindowContentRgn, &content);
  WritePreference(kDataDialogCorner, Point{content.top, content.left});

  SetPort(savedPort);
  if (noError != 0) {
    HideWindow(dataDialog);
    return saveStuff;
  }
  SheetAlert(kAlertStopAlert, true, dataDialog, CFSTR(READERR));
  return 0;
}
