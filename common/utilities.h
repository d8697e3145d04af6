// Small toolkit helpers: nib windows, showing windows, the usable screen,
// alerts, the keyboard map and Pascal strings.
#pragma once

#include "../toolbox/Carbon.h"

WindowRef OpenWindowFromNib(CFStringRef nibName, CFStringRef wTitle);
void Show(WindowRef theW);
Rect ScreenBounds();
void Advise(CFStringRef theCFStr);
short isPressed(unsigned short k);
int pStrLength(ConstStr255Param p1);
void pStrCopy(ConstStr255Param p1, StringPtr p2);
void pStrAppend(ConstStr255Param p1, StringPtr p2);
int cStrLength(const char* aStr);
void cStrCopy(const char* p1, char* p2);
