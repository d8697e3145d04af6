// The colour picker: the front end shows the dialog, the layer waits for it.
#include "ColorPicker.h"

#include <string>

#include "Frontend.h"
#include "TextUtils.h"
#include "internal/Hooks.h"

Boolean GetColor(Point, ConstStr255Param prompt, const RGBColor* inColor, RGBColor* outColor) {
  if (inColor == nullptr || outColor == nullptr) return false;
  tb::ColorRequest request;
  if (prompt != nullptr) {
    request.prompt = tb::macRomanToUtf8(std::string(reinterpret_cast<const char*>(prompt + 1), prompt[0]));
  }
  request.color = *inColor;
  tb::frontend().openColorPicker(request);
  while (tb::frontend().colorPickerOpen()) tb::waitForDialog(50);
  RGBColor chosen;
  if (!tb::frontend().colorPickerChoice(chosen)) return false;
  *outColor = chosen;
  return true;
}
