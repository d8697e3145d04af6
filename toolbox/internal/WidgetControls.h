// Layer-internal side of the widget-backed controls, the sheets and the
// application-modal loops: what the Control Manager, the front end, the
// modal loops and the script driver share.
#pragma once

#include <string>
#include <vector>

#include "../Controls.h"
#include "../WidgetControls.h"
#include "EventQueue.h"

class QWidget;

namespace tb {

enum class WidgetKind { None, Button, EditText, StaticText, LittleArrows };

// Brings every widget in line with its control and window: place, size,
// visibility, clipping by the windows in front, enabled state (a window
// under a sheet takes no input), and keeps sheets on their parents. Runs
// whenever the desktop changed.
void syncWidgetControls();

WidgetKind widgetKind(ControlRef control);
QWidget* controlWidget(ControlRef control);
// The text of an edit field, a static text or a button title, Mac Roman.
std::string controlText(ControlRef control);
// Keeps the control at its distance from the bottom of its window's
// content when the window's height changes.
void bindToBottom(ControlRef control);
void alignStaticTextRight(ControlRef control);
// The widget-backed controls of a window, first made first.
std::vector<ControlRef> widgetControls(WindowRef window);

// A person's click on a button (false when it is hidden, disabled or not a
// button); the hit reaches the handlers from the event loop.
bool clickControl(ControlRef control);
// A key for a window as a person types it: Return, Enter, Escape,
// Command-period and Tab act on its buttons and fields, other keys edit its
// focused field. False when the key meant nothing there.
bool handleWindowKey(WindowRef window, const RawInput& key);

// The control hit delivered to the window's handlers (CarbonEvents.cpp).
void dispatchControlHit(ControlRef control, ControlPartCode part);

// The innermost window that runs an application-modal loop, or null.
WindowRef modalWindow();

// Sheets (Sheets.cpp).
bool isSheet(WindowRef window);
WindowRef sheetParent(WindowRef sheet);
// The visible sheet attached to a window, or null.
WindowRef attachedSheet(WindowRef parent);
void syncSheets();

}  // namespace tb
