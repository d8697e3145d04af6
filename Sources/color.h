// Colours: conversions between OpenGL and 16-bit colours, the colour picker
// on OpenGL colours, and the background of the front plot window.
#pragma once

#include "../toolbox/Carbon.h"

// The background colour last set through setBackground, shared by all plot
// windows as the picker's starting colour; black at start.
extern float bkgrndCol[3];

// Each channel times 65535, truncated (in float arithmetic, which brings a
// colour that came from 16 bits back to the same 16 bits).
void convertToRGBColor(float* aCol, RGBColor& bCol);
// Each channel divided by 65535.
void convertToglColor(RGBColor aCol, float* bCol);

// Runs the colour picker preset to aCol (three floats, 0..1) and writes the
// chosen colour back; a cancelled pick leaves aCol at its 16-bit round trip.
void ChooseAColor(float* aCol);

// The parameter dialog's colour-button hook: 1 picks the front plot's map
// colour, 2 gives the front plot a black background, 3 picks its background
// colour; each then redraws that plot. Other types do nothing.
void ChooseAColor(int theColType);

// Background of the front plot window: 0 from the picker, 1 black, any other
// value white. Requests no redraw.
void setBackground(int which);
