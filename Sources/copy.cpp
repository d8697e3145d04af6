// The Edit menu on the front window: a plot's picture goes to the clipboard
// or is cleared; the text window's text is cut, copied, pasted or erased.
#include "copy.h"

#include "../maps.h"
#include "text.h"
#include "windows.h"

namespace {

const RGBColor BLACK = {0, 0, 0};
const RGBColor WHITE = {65535, 65535, 65535};

// The text engine's paste buffer to the clipboard. The three calls run
// whatever the others give: a failure leaves the clipboard as it is.
void putTextScrap() {
  ClearCurrentScrap();
  ScrapRef scrap = nullptr;
  GetCurrentScrap(&scrap);
  PutScrapFlavor(scrap, kScrapFlavorTypeText, kScrapFlavorMaskNone, Size(TEGetScrapLength()), *TEScrapHandle());
}

// The clipboard's text replaces the selection. The room check counts the
// text that is about to come in, so it runs once that text is loaded.
void pasteText() {
  ScrapRef scrap = nullptr;
  Size byteLength = 0;
  if (GetCurrentScrap(&scrap) != noErr) return;
  if (GetScrapFlavorSize(scrap, kScrapFlavorTypeText, &byteLength) != noErr || byteLength <= 0) return;
  if (TEFromScrap() != noErr) return;
  checkTextFull(short(TEGetScrapLength()));
  TEPaste(hTE);
}

void editText(short theItem) {
  GrafPtr savedPort;
  GetPort(&savedPort);
  SetPortWindowPort(output);
  switch (theItem) {
    case 3:
      TECut(hTE);
      putTextScrap();
      break;
    case 4:
      TECopy(hTE);
      putTextScrap();
      break;
    case 5:
      pasteText();
      break;
    case 6:
      eraseOutput();
      break;
    default:
      break;
  }
  SetPortWindowPort(output);
  TESelView(hTE);
  setVScrollMax();
  SetPort(savedPort);
}

}  // namespace

void copyBitMap() {
  WindowPtr plot = FrontPlotWindow();
  if (plot == nullptr) return;
  SetPortWindowPort(plot);
  // Black on white, so that copying the pixels keeps their colours.
  RGBColor oldfC, oldbC;
  GetForeColor(&oldfC);
  GetBackColor(&oldbC);
  RGBForeColor(&BLACK);
  RGBBackColor(&WHITE);

  Rect pRect;
  GetLocalWindowBounds(plot, pRect);
  PicHandle picture = OpenPicture(&pRect);
  if (picture != nullptr) {
    const BitMap* bits = GetPortBitMapForCopyBits(GetWindowPort(plot));
    CopyBits(bits, bits, &pRect, &pRect, srcCopy, nullptr);
    Rect outline = pRect;
    FrameRect(&outline);
    ClosePicture();
    HLock(reinterpret_cast<Handle>(picture));
  }

  if (picture == nullptr || EmptyRect(&(*picture)->picFrame)) {
    SysBeep(30);
    printToText(NOMEMORY);
  } else if (ClearCurrentScrap() == noErr) {
    ScrapRef scrap = nullptr;
    if (GetCurrentScrap(&scrap) == noErr) {
      PutScrapFlavor(scrap, kScrapFlavorTypePicture, kScrapFlavorMaskNone,
                     GetHandleSize(reinterpret_cast<Handle>(picture)), *picture);
    }
  }

  if (picture != nullptr) {
    HUnlock(reinterpret_cast<Handle>(picture));
    KillPicture(picture);
  }
  SetPortWindowPort(plot);
  RGBForeColor(&oldfC);
  RGBBackColor(&oldbC);
}

void doEdit(short theItem) {
  WindowPtr front = FrontWindow();
  if (front == nullptr) return;
  if (isPlot(front)) {
    if (theItem == 3 || theItem == 4) {
      copyBitMap();
    } else if (theItem == 6) {
      eraseWindow(front);
    }
  } else if (front == output) {
    editText(theItem);
  }
}
