// The parameter dialog: a modal dialog generated from a printf-like format.
#pragma once

#include "../toolbox/Carbon.h"

// Shows one labelled field per conversion of formStr, filled from the
// pointers that follow, and stores the edited values back through them.
// Returns 1 when the user confirmed valid values, 0 otherwise.
short GetParams(ConstStr255Param descStr, const char* formStr, ...);
