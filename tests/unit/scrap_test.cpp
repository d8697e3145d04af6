// The Scrap Manager: 'TEXT' and 'PICT' on the system clipboard, the text
// conversion both ways, what other programs put there, and the errors.
#include "toolbox/Scrap.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "toolbox/Frontend.h"
#include "toolbox/Pictures.h"
#include "toolbox/internal/Pictures.h"

namespace {

std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      out += char(c);
    } else {
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out;
}

struct TextCase {
  const char* name;
  std::string utf8;      // what other programs see
  std::string macRoman;  // what the program sees
};

TEST(ScrapText, ConvertsFromOtherProgramsText) {
  const std::vector<TextCase> cases = {
      {"a line feed ends a line", "a\nb", "a\rb"},
      {"CR LF is one line end", "a\r\nb", "a\rb"},
      {"a lone return stays", "a\rb", "a\rb"},
      {"a final line feed", "x\n", "x\r"},
      {"Greek and micro", "\u00B5\u03A9\u03C0", "\xB5\xBD\xB9"},
      {"the euro sign", "\u20AC", "\xDB"},
      {"a character Mac Roman lacks", "\u2713", "?"},
      {"nothing", "", ""},
  };
  for (const TextCase& c : cases) {
    const std::string found = tb::scrapTextFromUtf8(c.utf8);
    EXPECT_EQ(c.macRoman, found) << c.name << ": expected " << hex(c.macRoman) << ", found " << hex(found);
  }
}

TEST(ScrapText, ConvertsForOtherPrograms) {
  const std::vector<TextCase> cases = {
      {"a return ends a line", "a\nb", "a\rb"},
      {"a final return", "x\n", "x\r"},
      {"Greek and micro", "\u00B5\u03A9\u03C0", "\xB5\xBD\xB9"},
      {"every high byte has a character", "\u00C4\u02C7", "\x80\xFF"},
      {"nothing", "", ""},
  };
  for (const TextCase& c : cases) {
    const std::string found = tb::utf8FromScrapText(c.macRoman);
    EXPECT_EQ(c.utf8, found) << c.name << ": expected " << hex(c.utf8) << ", found " << hex(found);
  }
}

ScrapRef freshScrap() {
  EXPECT_EQ(noErr, ClearCurrentScrap()) << "clearing the clipboard";
  ScrapRef scrap = nullptr;
  EXPECT_EQ(noErr, GetCurrentScrap(&scrap)) << "getting the clipboard";
  return scrap;
}

std::string readText(ScrapRef scrap, OSStatus* err = nullptr) {
  Size size = 0;
  OSStatus e = GetScrapFlavorSize(scrap, kScrapFlavorTypeText, &size);
  std::string bytes(size_t(std::max<Size>(size, 0)), '\0');
  if (e == noErr) e = GetScrapFlavorData(scrap, kScrapFlavorTypeText, &size, bytes.data());
  if (err != nullptr) *err = e;
  bytes.resize(size_t(std::max<Size>(size, 0)));
  return bytes;
}

QImage checkerboard(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, ((x + y) % 2) ? 0xFF2040C0u : 0xFFF0E010u);
  return image;
}

TEST(Scrap, TextGoesToTheSystemClipboardAndBack) {
  ScrapRef scrap = freshScrap();
  const std::string text = "x\ry \xB5";
  ASSERT_EQ(noErr, PutScrapFlavor(scrap, kScrapFlavorTypeText, kScrapFlavorMaskNone, Size(text.size()), text.data()));
  std::string system;
  ASSERT_TRUE(tb::frontend().clipboardText(system)) << "expected text on the system clipboard";
  EXPECT_EQ("x\ny \u00B5", system) << "other programs see UTF-8 with line feeds";
  OSStatus err = 0;
  EXPECT_EQ(text, readText(scrap, &err)) << "the program reads its 'TEXT' back";
  EXPECT_EQ(noErr, err);
}

TEST(Scrap, FlavoursPutAfterOneClearGoTogether) {
  ScrapRef scrap = freshScrap();
  const std::string text = "both";
  const std::vector<char> picture = tb::pictureBytes(checkerboard(6, 4));
  ASSERT_EQ(noErr, PutScrapFlavor(scrap, kScrapFlavorTypeText, 0, Size(text.size()), text.data()));
  ASSERT_EQ(noErr, PutScrapFlavor(scrap, kScrapFlavorTypePicture, 0, Size(picture.size()), picture.data()));
  std::string system;
  EXPECT_TRUE(tb::frontend().clipboardText(system) && system == "both") << "expected the text, found '" << system
                                                                         << "'";
  const QImage image = tb::frontend().clipboardImage();
  EXPECT_TRUE(image.convertToFormat(QImage::Format_RGB32) == checkerboard(6, 4))
      << "expected the picture's image beside the text";
}

TEST(Scrap, ClearEmptiesTheSystemClipboard) {
  ScrapRef scrap = freshScrap();
  const std::string text = "gone soon";
  PutScrapFlavor(scrap, kScrapFlavorTypeText, 0, Size(text.size()), text.data());
  ClearCurrentScrap();
  std::string system;
  EXPECT_FALSE(tb::frontend().clipboardText(system)) << "expected no text, found '" << system << "'";
  EXPECT_TRUE(tb::frontend().clipboardImage().isNull()) << "expected no image";
}

TEST(Scrap, WhatAnotherProgramCopiedIsRead) {
  // Another program's copy arrives on the system clipboard directly.
  auto* data = new QMimeData;
  data->setText(QString::fromUtf8("one\r\ntwo \u00B5"));
  data->setImageData(checkerboard(5, 3));
  QGuiApplication::clipboard()->setMimeData(data);

  ScrapRef scrap = nullptr;
  ASSERT_EQ(noErr, GetCurrentScrap(&scrap));
  EXPECT_EQ("one\rtwo \xB5", readText(scrap)) << "'TEXT' from another program's text";
  Size size = 0;
  ASSERT_EQ(noErr, GetScrapFlavorSize(scrap, kScrapFlavorTypePicture, &size)) << "'PICT' from its image";
  std::vector<char> bytes(static_cast<size_t>(size));
  ASSERT_EQ(noErr, GetScrapFlavorData(scrap, kScrapFlavorTypePicture, &size, bytes.data()));
  Picture header;
  std::memcpy(&header, bytes.data(), sizeof header);
  EXPECT_TRUE(header.picFrame.top == 0 && header.picFrame.left == 0 && header.picFrame.bottom == 3 &&
              header.picFrame.right == 5)
      << "expected the frame (0, 0, 3, 5), found (" << header.picFrame.top << ", " << header.picFrame.left << ", "
      << header.picFrame.bottom << ", " << header.picFrame.right << ")";
  EXPECT_EQ(SInt16(size & 0xFFFF), header.picSize) << "picSize is the low 16 bits of the size";
  EXPECT_TRUE(tb::pictureImage(bytes.data(), bytes.size()).convertToFormat(QImage::Format_RGB32) ==
              checkerboard(5, 3))
      << "the picture holds the other program's image";
}

TEST(Scrap, AShortBufferTakesWhatFits) {
  ScrapRef scrap = freshScrap();
  const std::string text = "0123456789";
  PutScrapFlavor(scrap, kScrapFlavorTypeText, 0, Size(text.size()), text.data());
  struct Case {
    Size room;
    std::string expected;
  };
  for (const Case& c : std::vector<Case>{{4, "0123"}, {10, "0123456789"}, {50, "0123456789"}, {0, ""}}) {
    std::string buffer(size_t(std::max<Size>(c.room, 1)), '#');
    Size count = c.room;
    ASSERT_EQ(noErr, GetScrapFlavorData(scrap, kScrapFlavorTypeText, &count, buffer.data()));
    EXPECT_EQ(Size(c.expected.size()), count) << "room " << c.room << ": bytes copied";
    EXPECT_EQ(c.expected, buffer.substr(0, size_t(count))) << "room " << c.room << ": the bytes";
  }
}

TEST(Scrap, ErrorsAsTheScrapManagerGivesThem) {
  const std::string text = "t";
  const std::string notAPicture = "not a picture at all";
  struct Case {
    const char* name;
    std::function<OSStatus()> call;
    OSStatus expected;
  };
  const std::vector<Case> cases = {
      {"a second 'TEXT' after one clear",
       [&] {
         ScrapRef s = freshScrap();
         PutScrapFlavor(s, kScrapFlavorTypeText, 0, 1, text.data());
         return PutScrapFlavor(s, kScrapFlavorTypeText, 0, 1, text.data());
       },
       duplicateScrapFlavorErr},
      {"putting through a reference from before the last clear",
       [&] {
         ScrapRef s = freshScrap();
         ClearCurrentScrap();
         return PutScrapFlavor(s, kScrapFlavorTypeText, 0, 1, text.data());
       },
       badScrapRefErr},
      {"reading through a reference from before the last clear",
       [&] {
         ScrapRef s = freshScrap();
         ClearCurrentScrap();
         Size size = 0;
         return GetScrapFlavorSize(s, kScrapFlavorTypeText, &size);
       },
       badScrapRefErr},
      {"a flavour this layer does not carry",
       [&] { return PutScrapFlavor(freshScrap(), FOUR_CHAR_CODE("styl"), 0, 1, text.data()); },
       illegalScrapFlavorTypeErr},
      {"reading a flavour this layer does not carry",
       [&] {
         Size size = 0;
         return GetScrapFlavorSize(freshScrap(), FOUR_CHAR_CODE("utxt"), &size);
       },
       illegalScrapFlavorTypeErr},
      {"flavour flags", [&] { return PutScrapFlavor(freshScrap(), kScrapFlavorTypeText, 1, 1, text.data()); },
       illegalScrapFlavorFlagsErr},
      {"a negative size", [&] { return PutScrapFlavor(freshScrap(), kScrapFlavorTypeText, 0, -1, text.data()); },
       illegalScrapFlavorSizeErr},
      {"a promise (no data)", [&] { return PutScrapFlavor(freshScrap(), kScrapFlavorTypeText, 0, 4, nullptr); },
       nilScrapFlavorDataErr},
      {"'PICT' bytes that are no picture",
       [&] {
         return PutScrapFlavor(freshScrap(), kScrapFlavorTypePicture, 0, Size(notAPicture.size()),
                               notAPicture.data());
       },
       paramErr},
      {"no text on an empty clipboard",
       [&] {
         Size size = 99;
         const OSStatus err = GetScrapFlavorSize(freshScrap(), kScrapFlavorTypeText, &size);
         EXPECT_EQ(0, size) << "the size of a missing flavour";
         return err;
       },
       scrapFlavorNotFoundErr},
      {"no picture on a clipboard with text",
       [&] {
         ScrapRef s = freshScrap();
         PutScrapFlavor(s, kScrapFlavorTypeText, 0, 1, text.data());
         Size size = 1;
         char byte;
         return GetScrapFlavorData(s, kScrapFlavorTypePicture, &size, &byte);
       },
       scrapFlavorNotFoundErr},
      {"nowhere to put the reference", [] { return GetCurrentScrap(nullptr); }, paramErr},
  };
  for (const Case& c : cases) {
    const OSStatus found = c.call();
    EXPECT_EQ(c.expected, found) << c.name << ": expected error " << c.expected << ", found " << found;
  }
}

}  // namespace
