// Number text conversion for the dialogs: doubles to text in a fixed or an
// exponent form chosen by magnitude, and text back to doubles.
#pragma once

#include "../toolbox/CoreFoundation.h"
#include "../toolbox/NumberFormatting.h"

enum { kFixedForm = 0, kExponentForm = 1 };

// Builds and compiles the format of one form with numPlaces fraction
// digits (a negative count stands for 18) and copies the system's
// number-parts table into theParts.
FormatResultType CreateCanonicalFormat(short numPlaces, NumFormatString* theFormat, NumberParts* theParts, int type);

// The fixed form for 0.001 <= |theValue| <= 100000 (and NaN), the exponent
// form otherwise; at most numPlaces fraction digits, trailing zeros not shown.
void ConvertDoubleToString(double theValue, Str255 theString, short numPlaces);

// 1 when the text reads as a finite double (stored into *dValue), else 0
// with *dValue untouched.
int ConvertStringToDouble(ConstStr255Param theString, double* dValue, short numPlaces);
