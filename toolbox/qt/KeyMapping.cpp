#include "KeyMapping.h"

#include "../Events.h"
#include "../TextUtils.h"

namespace tb {

namespace {

struct KeyRow {
  int qtKey;
  unsigned char keyCode;
  unsigned char charCode;
};

// Keys whose character does not come from the key's text.
const KeyRow kSpecialKeys[] = {
    {Qt::Key_Left, kVK_LeftArrow, 0x1C},   {Qt::Key_Right, kVK_RightArrow, 0x1D},
    {Qt::Key_Up, kVK_UpArrow, 0x1E},       {Qt::Key_Down, kVK_DownArrow, 0x1F},
    {Qt::Key_Return, kVK_Return, 0x0D},    {Qt::Key_Enter, 0x4C, 0x03},
    {Qt::Key_Tab, kVK_Tab, 0x09},          {Qt::Key_Backtab, kVK_Tab, 0x09},
    {Qt::Key_Escape, kVK_Escape, 0x1B},    {Qt::Key_Backspace, kVK_Delete, 0x08},
    {Qt::Key_Delete, 0x75, 0x7F},          {Qt::Key_Home, 0x73, 0x01},
    {Qt::Key_End, 0x77, 0x04},             {Qt::Key_PageUp, 0x74, 0x0B},
    {Qt::Key_PageDown, 0x79, 0x0C},        {Qt::Key_Space, kVK_Space, 0x20},
    {Qt::Key_Control, kVK_Command, 0},     {Qt::Key_Shift, kVK_Shift, 0},
    {Qt::Key_Alt, kVK_Option, 0},          {Qt::Key_Meta, kVK_Control, 0},
    {Qt::Key_CapsLock, kVK_CapsLock, 0},
};

// Mac virtual key codes of the ANSI keyboard by character.
unsigned char keyCodeForChar(char c) {
  static const char* const kLayout =
      "asdfhgzxcv\0bqweryt123465=97-80]ou[ip\0lj'k;\\,/nm.\0 `";
  c = char(std::tolower(static_cast<unsigned char>(c)));
  for (int i = 0; i < 51; ++i) {
    if (kLayout[i] == c && c != 0) return static_cast<unsigned char>(i);
  }
  return 0xFF;
}

}  // namespace

MacKey macKeyFor(int qtKey, const QString& text, bool shift) {
  for (const KeyRow& row : kSpecialKeys) {
    if (row.qtKey == qtKey) return MacKey{row.charCode, row.keyCode};
  }
  MacKey key;
  // With Ctrl held the text is a control character: take the key instead.
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
    key.charCode = static_cast<unsigned char>((shift ? 'A' : 'a') + (qtKey - Qt::Key_A));
  } else if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F) {
    std::string roman = utf8ToMacRoman(text.left(1).toStdString());
    key.charCode = roman.empty() ? 0 : static_cast<unsigned char>(roman[0]);
  } else if (qtKey >= 0x20 && qtKey < 0x7F) {
    key.charCode = static_cast<unsigned char>(qtKey);
  }
  if (key.charCode != 0) key.keyCode = keyCodeForChar(char(key.charCode));
  return key;
}

unsigned short macModifiersFor(Qt::KeyboardModifiers modifiers) {
  unsigned short m = 0;
  if (modifiers & Qt::ControlModifier) m |= cmdKey;  // Command is Ctrl
  if (modifiers & Qt::ShiftModifier) m |= shiftKey;
  if (modifiers & Qt::AltModifier) m |= optionKey;
  if (modifiers & Qt::MetaModifier) m |= controlKey;
  return m;
}

}  // namespace tb
