// QuickDraw: ports, coordinate conversion, rectangles, regions, simple
// drawing of text and rectangles into a window's pixels, and cursors.
//
// Implemented: one port per window (its pixels are the window's content),
// the current port, global/local conversion, rectangle arithmetic, regions
// (any union of rectangles), text with font, size, face and colours, erase,
// frame and paint of rectangles, theme and colour cursors.
// Pictures and CopyBits are in Pictures.h; FrameRect is recorded into an
// open picture.
// Left out: offscreen GWorlds, patterns, polygons, arcs, transfer modes
// other than plain copy.
#pragma once

#include "MacTypes.h"

struct GrafPortRecord;
typedef GrafPortRecord* GrafPtr;
typedef GrafPortRecord* CGrafPtr;

struct RegionRecord;
typedef RegionRecord* RgnHandle;

struct WindowRecord;
typedef WindowRecord* WindowRef;
typedef WindowRecord* WindowPtr;

// Current port.
void SetPort(GrafPtr port);
void GetPort(GrafPtr* port);
GrafPtr GetQDGlobalsThePort();
void SetPortWindowPort(WindowRef window);
CGrafPtr GetWindowPort(WindowRef window);
WindowRef GetWindowFromPort(CGrafPtr port);
Rect* GetPortBounds(CGrafPtr port, Rect* bounds);

// Conversion between global (desktop) coordinates and the current port.
void GlobalToLocal(Point* pt);
void LocalToGlobal(Point* pt);

// Rectangles.
void SetRect(Rect* r, short left, short top, short right, short bottom);
void OffsetRect(Rect* r, short dh, short dv);
void InsetRect(Rect* r, short dh, short dv);
Boolean PtInRect(Point pt, const Rect* r);
Boolean EmptyRect(const Rect* r);
Boolean SectRect(const Rect* a, const Rect* b, Rect* dst);
Boolean EqualRect(const Rect* a, const Rect* b);

// Regions.
RgnHandle NewRgn();
void DisposeRgn(RgnHandle rgn);
void RectRgn(RgnHandle rgn, const Rect* r);
void SetEmptyRgn(RgnHandle rgn);
void CopyRgn(RgnHandle src, RgnHandle dst);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void OffsetRgn(RgnHandle rgn, short dh, short dv);
Boolean PtInRgn(Point pt, RgnHandle rgn);
Boolean EmptyRgn(RgnHandle rgn);
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);

// The desktop: the whole area below and including the menu bar.
RgnHandle GetGrayRgn();
short GetMBarHeight();

// Text and pen.
enum { normal = 0, bold = 1, italic = 2, underline = 4 };
enum { kFontIDMonaco = 4, kFontIDTimes = 20, kFontIDSymbol = 23 };
void TextFont(short font);
void TextSize(short size);
void TextFace(Style face);
void GetFNum(ConstStr255Param name, short* familyID);
void MoveTo(short h, short v);
void Move(short dh, short dv);
void GetPen(Point* pt);
void DrawString(ConstStr255Param s);
void DrawText(const void* text, short first, short count);
short TextWidth(const void* text, short first, short count);
short StringWidth(ConstStr255Param s);
struct FontInfo {
  short ascent;
  short descent;
  short widMax;
  short leading;
};
void GetFontInfo(FontInfo* info);

// Colours and rectangles.
void RGBForeColor(const RGBColor* c);
void RGBBackColor(const RGBColor* c);
void GetForeColor(RGBColor* c);
void GetBackColor(RGBColor* c);
void EraseRect(const Rect* r);
void FrameRect(const Rect* r);
void PaintRect(const Rect* r);
void InvertRect(const Rect* r);

// Makes what was drawn into a port visible now.
OSStatus QDFlushPortBuffer(CGrafPtr port, RgnHandle region);

// Cursors.
typedef short ThemeCursor;
enum {
  kThemeArrowCursor = 0,
  kThemeIBeamCursor = 4,
  kThemeCrossCursor = 5,
  kThemeWatchCursor = 7,
};
OSStatus SetThemeCursor(ThemeCursor cursor);
struct CCrsrRecord;
typedef CCrsrRecord** CCrsrHandle;
CCrsrHandle GetCCursor(short id);
void SetCCursor(CCrsrHandle cursor);
void InitCursor();
