// Qt key events to the toolbox's character codes and Mac virtual key codes.
#pragma once

#include <QString>

namespace tb {

struct MacKey {
  unsigned char charCode = 0;  // Mac Roman; 0 when the key has no character
  unsigned char keyCode = 0xFF;  // Mac virtual key code; 0xFF when unknown
};

MacKey macKeyFor(int qtKey, const QString& text, bool shift);
unsigned short macModifiersFor(Qt::KeyboardModifiers modifiers);

}  // namespace tb
