// Colours: the two colour forms, the picker, and plot backgrounds.
#include "color.h"

#include <GL/gl.h>

#include "../maps.h"
#include "windows.h"

float bkgrndCol[3] = {0, 0, 0};

namespace {

unsigned short toChannel16(float c) {
  // Out-of-range and not-a-number channels saturate instead of overflowing.
  if (!(c > 0)) return 0;
  if (c >= 1) return 65535;
  return static_cast<unsigned short>(c * 65535.0f);
}

}  // namespace

void convertToRGBColor(float* aCol, RGBColor& bCol) {
  bCol.red = toChannel16(aCol[0]);
  bCol.green = toChannel16(aCol[1]);
  bCol.blue = toChannel16(aCol[2]);
}

void convertToglColor(RGBColor aCol, float* bCol) {
  bCol[0] = static_cast<float>(aCol.red / 65535.0);
  bCol[1] = static_cast<float>(aCol.green / 65535.0);
  bCol[2] = static_cast<float>(aCol.blue / 65535.0);
}

void ChooseAColor(float* aCol) {
  RGBColor inColor, outColor;
  convertToRGBColor(aCol, inColor);
  GrafPtr savedPort;
  GetPort(&savedPort);
  Str255 prompt;
  CopyCStringToPascal("Choose a Color", prompt);
  if (!GetColor(Point{-1, -1}, prompt, &inColor, &outColor)) outColor = inColor;
  SetPort(savedPort);
  convertToglColor(outColor, aCol);
}

void ChooseAColor(int theColType) {
  PlotData* data = GetPlotData();
  if (data == nullptr) return;
  switch (theColType) {
    case 1:
      data->map()->chooseColor();
      break;
    case 2:
      setBackground(1);
      break;
    case 3:
      setBackground(0);
      break;
    default:
      return;
  }
  requestUpdate(data->window());
}

void setBackground(int which) {
  PlotData* data = GetPlotData();
  if (data == nullptr) return;
  data->setDrawable();
  if (which == 0) {
    ChooseAColor(bkgrndCol);
  } else {
    const float value = which == 1 ? 0.0f : 1.0f;
    bkgrndCol[0] = bkgrndCol[1] = bkgrndCol[2] = value;
  }
  // Anything may run while the picker waits: this plot is the target again.
  data->setDrawable();
  glClearColor(bkgrndCol[0], bkgrndCol[1], bkgrndCol[2], 1);
  RGBColor back;
  convertToRGBColor(bkgrndCol, back);
  RGBBackColor(&back);
}
