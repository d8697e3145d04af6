// The text output window: the application's log, one line per printToText,
// limited to the 32K characters a text record holds.
#include "text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "../common/utilities.h"
#include "windows.h"

WindowPtr output = nullptr;
TEHandle hTE = nullptr;
ControlRef vScroll = nullptr;

static ControlActionUPP scrollProcUPP = nullptr;
static short lines = 0;  // whole lines that fit in the view

static constexpr short kMaxText = 32767;
static constexpr char kReturn = 0x0D;

void createOutput() {
  Rect windowRect = GetIdealWindowRect(1);
  CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &windowRect, &output);
  SetPortWindowPort(output);
  TextFont(kFontIDMonaco);
  TextSize(9);

  Rect bounds;
  GetLocalWindowBounds(output, bounds);
  Rect barRect;
  SetRect(&barRect, short(bounds.right - 15), short(bounds.top - 1), short(bounds.right + 1), short(bounds.bottom - 16));
  static const unsigned char noTitle[1] = {0};
  vScroll = NewControl(output, &barRect, noTitle, true, 0, 0, 0, scrollBarProc, 0);
  scrollProcUPP = NewControlActionUPP(scrollProc);

  Rect textRect = bounds;
  textRect.right = short(textRect.right - 15);
  textRect.bottom = short(textRect.bottom - 15);
  InsetRect(&textRect, 4, 4);
  hTE = TENew(&textRect, &textRect);
  TEAutoView(true, hTE);
  setView(output);
}

void printToText(const char* fmt, ...) {
  GrafPtr savePort;
  GetPort(&savePort);
  SetPortWindowPort(output);

  // A line longer than the buffer keeps its first 255 characters.
  char pstring[256];
  va_list args;
  va_start(args, fmt);
  int formatted = vsnprintf(pstring, sizeof pstring, fmt, args);
  va_end(args);
  if (formatted < 0) pstring[0] = '\0';
  short length = short(strlen(pstring));

  checkTextFull(length);
  TESetSelect(kMaxText, kMaxText, hTE);
  TEInsert(pstring, length, hTE);
  TEInsert(&kReturn, 1, hTE);
  TESelView(hTE);
  setVScrollMax();
  SetControlValue(vScroll, GetControlMaximum(vScroll));
  SetPort(savePort);
}

void checkTextFull(short nchars) {
  if ((*hTE)->teLength >= kMaxText - nchars) {
    Advise(CFSTR(TEXTFULL));
    eraseOutput();
  }
}

// Automatic scrolling brings the emptied text back to the top.
void eraseOutput() {
  GrafPtr savePort;
  GetPort(&savePort);
  SetPortWindowPort(output);
  TESetSelect(0, kMaxText, hTE);
  TEDelete(hTE);
  setVScrollMax();
  SetPort(savePort);
}

void setVScrollMax() {
  TEPtr te = *hTE;
  short n = short(te->nLines - lines);
  if (te->teLength > 0 && (*te->hText)[te->teLength - 1] == kReturn) n++;
  if (n < 0) n = 0;
  SetControlMaximum(vScroll, n);
}

// In 32 bits and in steps TEScroll can take: a long log is scrolled
// further than a 16-bit number can say.
void adjustScroll() {
  TEPtr te = *hTE;
  long scrolled = te->viewRect.top - TEGetDestTop(hTE);
  long wanted = long(GetControlValue(vScroll)) * te->lineHeight;
  long dv = scrolled - wanted;
  while (dv != 0) {
    short step = short(std::clamp(dv, -32767L, 32767L));
    TEScroll(0, step, hTE);
    dv -= step;
  }
}

// One line of overlap between pages; a view of one line still pages by one.
void scrollProc(ControlRef theControl, ControlPartCode theCode) {
  if (theCode == kControlNoPart) return;
  TEPtr te = *hTE;
  short pageSize = short((te->viewRect.bottom - te->viewRect.top) / te->lineHeight - 1);
  if (pageSize < 1) pageSize = 1;
  short change = 0;
  switch (theCode) {
    case kControlUpButtonPart: change = -1; break;
    case kControlDownButtonPart: change = 1; break;
    case kControlPageUpPart: change = short(-pageSize); break;
    case kControlPageDownPart: change = pageSize; break;
    default: return;
  }
  SetControlValue(theControl, short(GetControlValue(theControl) + change));
  adjustScroll();
}

void doScroll(EventRecord* theEvent) {
  GrafPtr savePort;
  GetPort(&savePort);
  SetPortWindowPort(output);
  Point where = theEvent->where;
  GlobalToLocal(&where);

  ControlRef control = nullptr;
  ControlPartCode part = FindControl(where, output, &control);
  if (control == nullptr) {
    TEPtr te = *hTE;
    if (PtInRect(where, &te->viewRect)) {
      TEClick(where, (theEvent->modifiers & shiftKey) != 0, hTE);
      te = *hTE;
      SetControlValue(vScroll, short((te->viewRect.top - TEGetDestTop(hTE)) / te->lineHeight));
    }
  } else if (part == kControlIndicatorPart) {
    TrackControl(control, where, nullptr);
    adjustScroll();
  } else {
    TrackControl(control, where, scrollProcUPP);
  }
  SetPort(savePort);
}

void reSizeText() {
  GrafPtr savePort;
  GetPort(&savePort);
  SetPortWindowPort(output);
  Rect bounds;
  GetLocalWindowBounds(output, bounds);
  InvalWindowRect(output, &bounds);
  setView(output);
  MoveControl(vScroll, short(bounds.right - 15), short(bounds.top - 1));
  SizeControl(vScroll, 16, short(bounds.bottom - bounds.top - 13));
  Rect barRect;
  GetControlBounds(vScroll, &barRect);
  ValidWindowRect(output, &barRect);
  setVScrollMax();
  adjustScroll();
  SetPort(savePort);
}

void setView(WindowPtr w) {
  Rect view;
  GetLocalWindowBounds(w, view);
  view.right = short(view.right - 15);
  view.bottom = short(view.bottom - 15);
  InsetRect(&view, 4, 4);
  TEPtr te = *hTE;
  lines = short((view.bottom - view.top) / te->lineHeight);
  view.bottom = short(view.top + te->lineHeight * lines);
  te->viewRect = view;
  te->destRect.right = view.right;
  TECalText(hTE);
}

void activateOutput(Boolean flag) {
  if (flag) {
    TEActivate(hTE);
    ShowControl(vScroll);
  } else {
    TEDeactivate(hTE);
    HideControl(vScroll);
  }
}

void upDateText() {
  SetPortWindowPort(output);
  Rect bounds;
  GetLocalWindowBounds(output, bounds);
  EraseRect(&bounds);
  DrawControls(output);
  DrawGrowIcon(output);
  TEUpdate(&bounds, hTE);
}
