// Small toolkit helpers that know nothing of maps or plots: nib windows,
// showing a window, the usable screen, the note alert, the keyboard map and
// length-prefixed string copies.
#include "utilities.h"

#include <algorithm>
#include <cstring>

WindowRef OpenWindowFromNib(CFStringRef nibName, CFStringRef wTitle) {
  IBNibRef nib = nullptr;
  if (CreateNibReference(nibName, &nib) != noErr) return nullptr;
  WindowRef window = nullptr;
  if (CreateWindowFromNib(nib, wTitle, &window) != noErr) window = nullptr;
  DisposeNibReference(nib);
  return window;
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
