// Pictures and CopyBits (QuickDraw): recording what is drawn into a port,
// drawing it back, and copying pixels between ports.
//
// Implemented: a picture is an image recorded from a port. OpenPicture
// starts recording in the current port and hides the pen, as the classic
// call does: until ClosePicture, CopyBits into that port, FrameRect and
// DrawPicture are recorded into the picture instead of being drawn.
// ClosePicture stores the picture in its handle (a Picture header, then the
// image as PNG); when memory runs out there, the picture's frame becomes
// empty. DrawPicture draws a picture scaled into a rectangle. CopyBits copies
// between port bitmaps with srcCopy, scaling, and an optional mask region.
// Left out: recording of text, erasing, painting, inverting and regions
// (those draw as usual while a picture is open), the PICT opcode format,
// transfer modes other than srcCopy, bitmaps that are not ports' own.
#pragma once

#include "MacTypes.h"
#include "QuickDraw.h"

struct Picture {
  SInt16 picSize;  // low 16 bits of the whole size; GetHandleSize has all of it
  Rect picFrame;
};
typedef Picture* PicPtr;
typedef Picture** PicHandle;

PicHandle OpenPicture(const Rect* picFrame);
void ClosePicture();
void KillPicture(PicHandle pic);
void DrawPicture(PicHandle pic, const Rect* dstRect);

// To this layer a port's bitmap is the port itself.
struct BitMap;
enum { srcCopy = 0 };
const BitMap* GetPortBitMapForCopyBits(CGrafPtr port);
void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect, const Rect* dstRect, short mode,
              RgnHandle maskRgn);
