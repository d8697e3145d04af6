// Pictures and CopyBits: recording into a picture instead of drawing,
// frames, drawing a picture back, running out of memory, and pixel copies
// with scaling and a mask.
#include "toolbox/Pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "toolbox/Carbon.h"
#include "toolbox/internal/Memory.h"
#include "toolbox/internal/Pictures.h"
#include "toolbox/internal/WindowRecord.h"

namespace {

constexpr QRgb kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u,
               kGreen = 0xFF00FF00u;

// A window of 60 x 40 whose left half is red and right half blue.
class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Rect content{100, 100, 140, 160};
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &content, &window));
    SetPortWindowPort(window);
    paint(Rect{0, 0, 40, 30}, RGBColor{65535, 0, 0});
    paint(Rect{0, 30, 40, 60}, RGBColor{0, 0, 65535});
    RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    pixels = window->port.image.copy();
  }
  void TearDown() override {
    tb::clearMemoryLimit();
    DisposeWindow(window);
  }
  static void paint(Rect r, RGBColor c) {
    RGBForeColor(&c);
    PaintRect(&r);
  }
  QImage imageOf(PicHandle pic) const {
    return tb::pictureImage(*pic, size_t(GetHandleSize(reinterpret_cast<Handle>(pic))));
  }
  const BitMap* bits() const { return GetPortBitMapForCopyBits(GetWindowPort(window)); }

  WindowPtr window = nullptr;
  QImage pixels;
};

TEST_F(PictureTest, RecordsCopyBitsAndFrameRectInsteadOfDrawing) {
  const Rect all{0, 0, 40, 60};
  PicHandle pic = OpenPicture(&all);
  ASSERT_NE(nullptr, pic) << "expected a picture";
  CopyBits(bits(), bits(), &all, &all, srcCopy, nullptr);
  FrameRect(&all);
  ClosePicture();
  EXPECT_TRUE(pixels == window->port.image) << "the window's pixels stay as they were while recording";
  const Rect frame = (*pic)->picFrame;
  EXPECT_TRUE(EqualRect(&frame, &all)) << "the picture's frame is the one it was opened with";
  EXPECT_EQ(SInt16(GetHandleSize(reinterpret_cast<Handle>(pic)) & 0xFFFF), (*pic)->picSize)
      << "picSize is the low 16 bits of the picture's size";
  const QImage image = imageOf(pic);
  ASSERT_EQ(QSize(60, 40), image.size()) << "the picture's image is its frame's size";
  struct Probe {
    const char* name;
    int x, y;
    QRgb expected;
  };
  for (const Probe& p : std::vector<Probe>{{"frame, top left", 0, 0, kBlack},
                                           {"frame, bottom right", 59, 39, kBlack},
                                           {"frame, right edge", 59, 20, kBlack},
                                           {"red half", 10, 10, kRed},
                                           {"blue half", 50, 30, kBlue},
                                           {"the last red column", 29, 20, kRed},
                                           {"the first blue column", 30, 20, kBlue}}) {
    EXPECT_EQ(p.expected, image.pixel(p.x, p.y) | 0xFF000000u)
        << p.name << ": expected #" << std::hex << p.expected << ", found #" << image.pixel(p.x, p.y);
  }
  KillPicture(pic);
}

TEST_F(PictureTest, AFrameInsideThePortRecordsOnlyThatPart) {
  const Rect part{10, 20, 30, 40};  // top, left, bottom, right
  const Rect all{0, 0, 40, 60};
  PicHandle pic = OpenPicture(&part);
  CopyBits(bits(), bits(), &all, &all, srcCopy, nullptr);
  ClosePicture();
  const QImage image = imageOf(pic);
  ASSERT_EQ(QSize(20, 20), image.size());
  EXPECT_EQ(kRed, image.pixel(9, 5) | 0xFF000000u) << "port column 29 is red";
  EXPECT_EQ(kBlue, image.pixel(10, 5) | 0xFF000000u) << "port column 30 is blue";
  KillPicture(pic);
}

TEST_F(PictureTest, WhatIsNotDrawnStaysTransparentAndDrawPictureDrawsItBack) {
  const Rect all{0, 0, 40, 60};
  PicHandle pic = OpenPicture(&all);
  const Rect box{5, 5, 15, 25};
  FrameRect(&box);
  ClosePicture();
  const QImage image = imageOf(pic);
  EXPECT_EQ(0, qAlpha(image.pixel(10, 10))) << "inside the framed box nothing was drawn";

  // Drawn at twice the size onto a green window: the frame lands scaled.
  paint(all, RGBColor{0, 65535, 0});
  const Rect big{0, 0, 80, 120};
  DrawPicture(pic, &big);
  EXPECT_EQ(kBlack, window->port.image.pixel(10, 10) | 0xFF000000u) << "the box's top-left corner, scaled";
  EXPECT_EQ(kGreen, window->port.image.pixel(20, 20) | 0xFF000000u) << "inside the box the window shows through";
  KillPicture(pic);
}

TEST_F(PictureTest, RunningOutOfMemoryLeavesAnEmptyFrame) {
  const Rect all{0, 0, 40, 60};
  const size_t before = tb::memoryInUse();
  tb::setMemoryLimit(before + sizeof(Picture) + 16);
  PicHandle pic = OpenPicture(&all);
  ASSERT_NE(nullptr, pic) << "the picture's header fits";
  CopyBits(bits(), bits(), &all, &all, srcCopy, nullptr);
  ClosePicture();
  EXPECT_TRUE(EmptyRect(&(*pic)->picFrame)) << "expected an empty frame when the image did not fit";
  EXPECT_TRUE(imageOf(pic).isNull()) << "no image in a picture that ran out of memory";
  KillPicture(pic);
  EXPECT_EQ(before, tb::memoryInUse()) << "KillPicture gives the memory back";

  tb::setMemoryLimit(before);
  EXPECT_EQ(nullptr, OpenPicture(&all)) << "no room even for the header";
}

TEST_F(PictureTest, OnePictureAtATimePerPort) {
  const Rect all{0, 0, 40, 60};
  PicHandle first = OpenPicture(&all);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(nullptr, OpenPicture(&all)) << "a second picture in the same port";
  ClosePicture();
  ClosePicture();  // nothing is open: nothing happens
  FrameRect(&all);
  EXPECT_EQ(kBlack, window->port.image.pixel(0, 0) | 0xFF000000u) << "after closing, FrameRect draws again";
  KillPicture(first);
}

TEST_F(PictureTest, CopyBitsScalesAndFollowsTheMask) {
  const Rect src{0, 25, 10, 35};   // five red columns, then five blue
  const Rect dst{20, 0, 40, 20};   // twice the size
  CopyBits(bits(), bits(), &src, &dst, srcCopy, nullptr);
  EXPECT_EQ(kRed, window->port.image.pixel(9, 30) | 0xFF000000u) << "source column 29 lands at 8-9";
  EXPECT_EQ(kBlue, window->port.image.pixel(10, 30) | 0xFF000000u) << "source column 30 lands at 10-11";

  RgnHandle mask = NewRgn();
  const Rect maskRect{0, 40, 10, 50};
  RectRgn(mask, &maskRect);
  paint(Rect{30, 0, 40, 10}, RGBColor{65535, 65535, 65535});
  const Rect from{30, 0, 40, 10};
  const Rect to{0, 35, 10, 55};
  CopyBits(bits(), bits(), &from, &to, srcCopy, mask);
  EXPECT_EQ(kWhite, window->port.image.pixel(45, 5) | 0xFF000000u) << "inside the mask the copy lands";
  EXPECT_EQ(kBlue, window->port.image.pixel(37, 5) | 0xFF000000u) << "outside the mask the port keeps its pixel";
  DisposeRgn(mask);
  CopyBits(bits(), bits(), &from, &to, 3, nullptr);
  EXPECT_EQ(kBlue, window->port.image.pixel(37, 5) | 0xFF000000u) << "transfer modes other than srcCopy copy nothing";
}

}  // namespace
