// Interface Builder services: nibs are text files under resources/ read at
// run time. A nib holds a menu bar and windows; see resources/README.md for
// the format.
//
// Implemented: opening a nib by name, installing its menu bar, creating one
// of its windows (content size, background colour, title) with its controls
// (buttons, edit fields, static texts, little arrows: WidgetControls.h).
// Left out: embedded views, layouts beyond binding to the bottom edge.
#pragma once

#include "CoreFoundation.h"
#include "MacTypes.h"
#include "QuickDraw.h"

struct NibRecord;
typedef NibRecord* IBNibRef;

OSStatus CreateNibReference(CFStringRef nibName, IBNibRef* outNibRef);
void DisposeNibReference(IBNibRef nibRef);
OSStatus SetMenuBarFromNib(IBNibRef nibRef, CFStringRef name);
OSStatus CreateWindowFromNib(IBNibRef nibRef, CFStringRef name, WindowRef* outWindow);
