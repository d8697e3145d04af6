// The toolkit helpers: the key map test, the usable screen, showing windows
// and the length-prefixed string copies.
#include "common/utilities.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "unit/keys.h"

namespace {

std::string pascalText(ConstStr255Param p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

void setPascal(StringPtr p, const std::string& text) {
  p[0] = static_cast<unsigned char>(text.size());
  std::memcpy(p + 1, text.data(), text.size());
}

TEST(IsPressed, ReadsBitKMod8OfByteKDiv8) {
  // Codes at the edges of bytes and of the map, and the two the cancel poll
  // reads (period 0x2F: bit 7 of byte 5; Command 0x37: bit 7 of byte 6).
  const std::vector<unsigned char> codes = {0x00, 0x07, 0x08, 0x2F, 0x37, 0x40, 0x7F};
  for (unsigned char code : codes) {
    HeldKeys keys;
    keys.press(code, code == kVK_Command ? cmdKey : 0);
    EXPECT_EQ(1, isPressed(code)) << "key 0x" << std::hex << int(code) << " held down";
    for (int other : {code - 1, code + 1}) {
      if (other < 0 || other > 127) continue;
      EXPECT_EQ(0, isPressed(static_cast<unsigned short>(other)))
          << "key 0x" << std::hex << other << " while only 0x" << int(code) << " is held";
    }
    keys.release(code);
    EXPECT_EQ(0, isPressed(code)) << "key 0x" << std::hex << int(code) << " after its release";
  }
}

TEST(IsPressed, CodesBeyondTheMapAreNeverDown) {
  HeldKeys keys;
  keys.press(0x00);  // bit 0 of byte 0: what a wrapped index would hit
  for (unsigned short code : {128, 200, 0xFFFF}) {
    EXPECT_EQ(0, isPressed(code)) << "key code " << code << " lies beyond the 128-key map";
  }
}

TEST(ScreenBounds, IsTheDesktopBelowTheMenuBar) {
  const Rect r = ScreenBounds();
  EXPECT_EQ(GetMBarHeight(), r.top) << "top of the usable area";
  EXPECT_EQ(0, r.left) << "left of the usable area";
  EXPECT_EQ(768, r.bottom) << "bottom of the 1024 x 768 test desktop";
  EXPECT_EQ(1024, r.right) << "right of the 1024 x 768 test desktop";
}

TEST(Show, MakesVisibleAndFrontmost) {
  const Rect a{100, 100, 200, 200}, b{150, 150, 250, 250};
  WindowRef first = nullptr, second = nullptr;
  ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &a, &first));
  ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &b, &second));

  Show(first);
  EXPECT_TRUE(IsWindowVisible(first)) << "a hidden window after Show";
  Show(second);
  EXPECT_EQ(second, FrontWindow()) << "front window after showing the second";
  Show(first);
  EXPECT_EQ(first, FrontWindow()) << "Show on a visible window brings it to the front";
  EXPECT_TRUE(IsWindowVisible(second)) << "the other window stays visible";

  DisposeWindow(first);
  DisposeWindow(second);
  FlushEvents(everyEvent, 0);
}

TEST(OpenWindowFromNib, MissingNibOrWindowGivesNone) {
  EXPECT_EQ(nullptr, OpenWindowFromNib(CFSTR("NoSuchNib"), CFSTR("Splash"))) << "window from a missing nib";
  EXPECT_EQ(nullptr, OpenWindowFromNib(CFSTR("Vantor"), CFSTR("NoSuchWindow"))) << "missing window of a nib";
}

struct AppendCase {
  const char* name;
  std::string destination;
  std::string source;
  std::string expected;
};

TEST(PascalStrings, LengthCopyAndAppend) {
  Str255 s, d;
  setPascal(s, "Vantor");
  EXPECT_EQ(6, pStrLength(s)) << "length byte of \"Vantor\"";
  pStrCopy(s, d);
  EXPECT_EQ("Vantor", pascalText(d)) << "copy of \"Vantor\"";

  const std::vector<AppendCase> cases = {
      {"plain append", "map ", "logistic", "map logistic"},
      {"empty source", "map", "", "map"},
      {"empty destination", "", "tent", "tent"},
      {"sum of 255 fits exactly", std::string(250, 'a'), "bcdef", std::string(250, 'a') + "bcdef"},
      {"sum beyond 255 is cut at 255", std::string(250, 'a'), "bcdefgh", std::string(250, 'a') + "bcdef"},
      {"full destination stays", std::string(255, 'a'), "x", std::string(255, 'a')},
  };
  for (const AppendCase& c : cases) {
    Str255 src, dst;
    setPascal(src, c.source);
    setPascal(dst, c.destination);
    pStrAppend(src, dst);
    EXPECT_EQ(c.expected, pascalText(dst)) << c.name;
  }
}

TEST(PascalStrings, CopyMayOverlap) {
  // Copy a string one byte further into its own buffer.
  unsigned char buffer[16] = {5, 'a', 'b', 'c', 'd', 'e'};
  pStrCopy(buffer, buffer + 1);
  EXPECT_EQ("abcde", pascalText(buffer + 1)) << "overlapping copy";
}

TEST(CStrings, LengthAndCopy) {
  const std::vector<std::string> texts = {"", "x", "Window Bounds"};
  for (const std::string& text : texts) {
    EXPECT_EQ(int(text.size()), cStrLength(text.c_str())) << "length of \"" << text << "\"";
    char copy[32];
    std::memset(copy, '#', sizeof copy);
    cStrCopy(text.c_str(), copy);
    EXPECT_EQ(text, std::string(copy)) << "copy of \"" << text << "\"";
    EXPECT_EQ('\0', copy[text.size()]) << "terminator of the copy of \"" << text << "\"";
  }
}

}  // namespace
