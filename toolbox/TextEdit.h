// TextEdit: the layer's text engine for one styled-alike run of 8-bit Mac
// Roman text in one font, as a log window needs it.
//
// Implemented: the record fields callers read (destRect, viewRect,
// lineHeight, fontAscent, selStart, selEnd, teLength, hText, nLines), word
// wrap at the destination width, carriage returns as line ends, insertion,
// deletion, selection by click, drag, double click (word) and Shift-click,
// caret blinking, highlight, scrolling, automatic scrolling, and the private
// paste buffer (cut, copy, paste).
// Left out: typing (TEKey is present but the program never sends keys),
// styles, justification other than left.
#pragma once

#include "MacTypes.h"
#include "QuickDraw.h"

struct TERec {
  Rect destRect;
  Rect viewRect;
  short lineHeight;
  short fontAscent;
  short selStart;
  short selEnd;
  short teLength;
  Handle hText;
  short nLines;
  short txFont;
  short txSize;
  Style txFace;
  Boolean active;
  GrafPtr inPort;
  void* engine;  // the layer's own line table and paste state
};
typedef TERec* TEPtr;
typedef TERec** TEHandle;

TEHandle TENew(const Rect* destRect, const Rect* viewRect);
void TEDispose(TEHandle hTE);
void TESetSelect(long selStart, long selEnd, TEHandle hTE);
void TEInsert(const void* text, long length, TEHandle hTE);
void TEDelete(TEHandle hTE);
void TEKey(short key, TEHandle hTE);
void TEIdle(TEHandle hTE);
// `pt` is in the port's local coordinates.
void TEClick(Point pt, Boolean extend, TEHandle hTE);
void TEActivate(TEHandle hTE);
void TEDeactivate(TEHandle hTE);
void TEUpdate(const Rect* rUpdate, TEHandle hTE);
void TEScroll(short dh, short dv, TEHandle hTE);
// The layer's addition: destRect.top in full. A text taller than 32767
// pixels scrolls beyond what the record's 16-bit rectangle can say; its
// destRect.top then holds only the low 16 bits.
long TEGetDestTop(TEHandle hTE);
void TESelView(TEHandle hTE);
void TEAutoView(Boolean fAuto, TEHandle hTE);
void TECalText(TEHandle hTE);
void TECut(TEHandle hTE);
void TECopy(TEHandle hTE);
void TEPaste(TEHandle hTE);
long TEGetScrapLength();
Handle TEScrapHandle();
OSErr TEFromScrap();
OSErr TEToScrap();
