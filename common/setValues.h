// The parameter dialog: a modal dialog generated from a printf-like format.
#pragma once

#include "../toolbox/Carbon.h"

#define FORMERR "Bad Format in GetParams call! Contact the programmer."
#define READERR "Error reading data (bad format?). Please try again"
#define kDataDialogCorner CFSTR("DataDialogCorner")

// The dialog holds at most this many rows; rows are this far apart.
enum { kMaxFields = 7, kRowPitch = 25 };

// Form codes of the conversions.
enum {
  kFormNone = 0,      // an unknown conversion: a row, no argument
  kFormShort = 1,     // %d: 16-bit integer
  kFormLong = 2,      // %ld: 32-bit integer
  kFormFloat = 3,     // %e %f %g: float
  kFormDouble = 4,    // %le %lf %lg: double
  kFormChar = 5,      // %c: a row, no argument
  kFormString = 6,    // %s: Str255
  kFormSymmetry = 7,  // %m: 32-bit integer shown by the symmetry control
  kFormColor = 8,     // %b: the colour button, no argument
};

// Shows one labelled field per conversion of formStr, filled from the
// pointers that follow, and stores the edited values back through them.
// Returns 1 when the user confirmed and every number was read, 0 otherwise.
short GetParams(ConstStr255Param descStr, const char* formStr, ...);

// Fills the label and the form code of each conversion; returns how many
// there are. Parsing stops after kMaxFields conversions.
short ParseFormat(const char* formStr, Str255* text, short* form);

// Creates the dialog, puts it at the remembered corner when that lies on
// the usable screen, and sets height to its content height.
void OpenDataDialog(int& height);

// The dialog's control-hit handler; userData is the call's ParamRecord.
OSStatus ParameterEventHandler(EventHandlerCallRef myHandler, EventRef event, void* userData);

short isDigit(char c);

// What the handler reports back to GetParams.
struct ParamRecord {
  SInt16 saveStuff;     // 1 OK, 0 Cancel
  SInt16 symmetryItem;  // the symmetry control's last value
};

// The dialog window, once made (for tests and automation).
WindowRef ParameterDialog();
