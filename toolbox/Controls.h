// Control Manager: the standard scroll bar, drawn and hit-tested with the
// Qt style so it looks like the desktop's own.
//
// Implemented: scroll bars (kind 16) with value, minimum, maximum, bounds,
// visibility, FindControl part codes, TrackControl with an action procedure
// repeated while an arrow or page area is held and with live thumb dragging.
// Buttons, edit fields, static texts and little arrows are real Qt widgets
// (WidgetControls.h) whose records these calls serve as well.
// Left out: check boxes and other kinds, control embedding, CDEFs.
#pragma once

#include "MacTypes.h"
#include "QuickDraw.h"

struct ControlRecord;
typedef ControlRecord* ControlRef;
typedef ControlRecord** ControlHandle;
typedef short ControlPartCode;

enum { scrollBarProc = 16 };
enum {
  kControlNoPart = 0,
  kControlUpButtonPart = 20,
  kControlDownButtonPart = 21,
  kControlPageUpPart = 22,
  kControlPageDownPart = 23,
  kControlIndicatorPart = 129,
};

typedef void (*ControlActionProcPtr)(ControlRef theControl, ControlPartCode partCode);
typedef ControlActionProcPtr ControlActionUPP;
inline ControlActionUPP NewControlActionUPP(ControlActionProcPtr p) { return p; }

ControlRef NewControl(WindowRef owner, const Rect* bounds, ConstStr255Param title, Boolean visible, SInt16 value,
                      SInt16 min, SInt16 max, SInt16 procID, SRefCon refCon);
void DisposeControl(ControlRef control);
SInt16 GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, SInt16 value);
SInt16 GetControlMinimum(ControlRef control);
void SetControlMinimum(ControlRef control, SInt16 min);
SInt16 GetControlMaximum(ControlRef control);
void SetControlMaximum(ControlRef control, SInt16 max);
Rect* GetControlBounds(ControlRef control, Rect* bounds);
void MoveControl(ControlRef control, SInt16 h, SInt16 v);
void SizeControl(ControlRef control, SInt16 w, SInt16 h);
void ShowControl(ControlRef control);
void HideControl(ControlRef control);
Boolean IsControlVisible(ControlRef control);
void Draw1Control(ControlRef control);
void DrawControls(WindowRef window);
void DrawGrowIcon(WindowRef window);
// `where` is in the window's local coordinates.
ControlPartCode FindControl(Point where, WindowRef window, ControlRef* control);
ControlPartCode TrackControl(ControlRef control, Point startPoint, ControlActionUPP action);
