// Color Picker: the system's colour dialog.
//
// Implemented: GetColor, on the front end's colour dialog (Qt's own, the
// same on every desktop so that scripts can answer it), application-modal,
// titled with the prompt and preset to the colour given, run through the
// layer's event wait as alerts are. The dialog works in 8 bits per channel;
// confirming the preset unchanged gives it back with all 16 bits.
// Left out: `where` (the window system places the dialog), PickColor and
// the picker's colour-space conversions.
#pragma once

#include "MacTypes.h"

// True when the user confirmed a colour, which is then in *outColor;
// false when cancelled, *outColor then untouched.
Boolean GetColor(Point where, ConstStr255Param prompt, const RGBColor* inColor, RGBColor* outColor);
