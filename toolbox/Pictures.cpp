// Pictures as images: an open picture is a transparent image the size of its
// frame that takes what is drawn into its port; ClosePicture stores it in
// the picture's handle as PNG after the Picture header.
#include "Pictures.h"

#include <QBuffer>
#include <QPainter>
#include <cstring>
#include <map>

#include "Memory.h"
#include "internal/Pictures.h"
#include "internal/Port.h"

namespace {

struct Recording {
  PicHandle pic = nullptr;
  Rect frame{0, 0, 0, 0};
  QImage image;  // one pixel per port pixel of the frame
};

// At most one open picture per port, as with the classic port's picSave.
std::map<GrafPtr, Recording>& recordings() {
  static std::map<GrafPtr, Recording> open;
  return open;
}

GrafPtr currentPort() {
  GrafPtr port = nullptr;
  GetPort(&port);
  return port;
}

Recording* recordingOf(GrafPtr port) {
  auto found = recordings().find(port);
  return found != recordings().end() ? &found->second : nullptr;
}

// Draws with port coordinates into the port's open picture, or else into the
// port itself.
template <typename Draw>
void paintInto(GrafPtr port, Draw draw) {
  if (port == nullptr) return;
  if (Recording* rec = recordingOf(port)) {
    if (rec->image.isNull()) return;
    QPainter painter(&rec->image);
    painter.translate(-rec->frame.left, -rec->frame.top);
    draw(painter);
    return;
  }
  if (port->image.isNull()) return;
  {
    QPainter painter(&port->image);
    draw(painter);
  }
  tb::portChanged(*port);
}

QByteArray encodePng(const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

}  // namespace

namespace tb {

bool recordFrameRect(const Rect& r) {
  GrafPtr port = currentPort();
  if (port == nullptr || recordingOf(port) == nullptr) return false;
  if (EmptyRect(&r)) return true;
  const QColor colour = toQColor(port->fg);
  paintInto(port, [&](QPainter& p) {
    // A one-pixel frame inside the rectangle, as QuickDraw's FrameRect draws it.
    const QRect q = toQRect(r);
    p.fillRect(QRect(q.left(), q.top(), q.width(), 1), colour);
    p.fillRect(QRect(q.left(), q.bottom(), q.width(), 1), colour);
    p.fillRect(QRect(q.left(), q.top(), 1, q.height()), colour);
    p.fillRect(QRect(q.right(), q.top(), 1, q.height()), colour);
  });
  return true;
}

QImage pictureImage(const void* data, size_t size) {
  if (data == nullptr || size <= sizeof(Picture)) return QImage();
  Picture header;
  std::memcpy(&header, data, sizeof header);
  if (EmptyRect(&header.picFrame)) return QImage();
  const auto* png = static_cast<const uchar*>(data) + sizeof(Picture);
  return QImage::fromData(png, int(size - sizeof(Picture)), "PNG");
}

std::vector<char> pictureBytes(const QImage& image) {
  const QByteArray png = encodePng(image);
  std::vector<char> bytes(sizeof(Picture) + size_t(png.size()));
  Picture header{SInt16(bytes.size() & 0xFFFF), Rect{0, 0, short(image.height()), short(image.width())}};
  std::memcpy(bytes.data(), &header, sizeof header);
  std::memcpy(bytes.data() + sizeof header, png.constData(), size_t(png.size()));
  return bytes;
}

}  // namespace tb

PicHandle OpenPicture(const Rect* picFrame) {
  GrafPtr port = currentPort();
  if (port == nullptr || picFrame == nullptr || recordingOf(port) != nullptr) return nullptr;
  auto pic = reinterpret_cast<PicHandle>(NewHandleClear(sizeof(Picture)));
  if (pic == nullptr) return nullptr;
  (*pic)->picSize = SInt16(sizeof(Picture));
  (*pic)->picFrame = *picFrame;
  Recording rec;
  rec.pic = pic;
  rec.frame = *picFrame;
  if (!EmptyRect(picFrame)) {
    rec.image = QImage(picFrame->right - picFrame->left, picFrame->bottom - picFrame->top,
                       QImage::Format_ARGB32_Premultiplied);
    rec.image.fill(Qt::transparent);  // a picture holds only what was drawn
  }
  recordings()[port] = std::move(rec);
  return pic;
}

void ClosePicture() {
  GrafPtr port = currentPort();
  Recording* rec = recordingOf(port);
  if (rec == nullptr) return;
  PicHandle pic = rec->pic;
  if (!rec->image.isNull()) {
    const QByteArray png = encodePng(rec->image);
    const Size total = Size(sizeof(Picture)) + png.size();
    SetHandleSize(reinterpret_cast<Handle>(pic), total);
    if (MemError() == noErr) {
      std::memcpy(reinterpret_cast<char*>(*pic) + sizeof(Picture), png.constData(), size_t(png.size()));
      (*pic)->picSize = SInt16(total & 0xFFFF);
    } else {
      // The classic sign of a picture that ran out of memory.
      (*pic)->picFrame = Rect{0, 0, 0, 0};
    }
  }
  recordings().erase(port);
}

void KillPicture(PicHandle pic) {
  // A picture still open somewhere stops recording with it.
  for (auto it = recordings().begin(); it != recordings().end();) {
    it = it->second.pic == pic ? recordings().erase(it) : std::next(it);
  }
  DisposeHandle(reinterpret_cast<Handle>(pic));
}

void DrawPicture(PicHandle pic, const Rect* dstRect) {
  if (pic == nullptr || *pic == nullptr || dstRect == nullptr || EmptyRect(dstRect)) return;
  const QImage image = tb::pictureImage(*pic, size_t(GetHandleSize(reinterpret_cast<Handle>(pic))));
  if (image.isNull()) return;
  paintInto(currentPort(), [&](QPainter& p) { p.drawImage(tb::toQRect(*dstRect), image); });
}

const BitMap* GetPortBitMapForCopyBits(CGrafPtr port) { return reinterpret_cast<const BitMap*>(port); }

void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect, const Rect* dstRect, short mode,
              RgnHandle maskRgn) {
  auto* src = reinterpret_cast<GrafPtr>(const_cast<BitMap*>(srcBits));
  auto* dst = reinterpret_cast<GrafPtr>(const_cast<BitMap*>(dstBits));
  if (src == nullptr || dst == nullptr || srcRect == nullptr || dstRect == nullptr || mode != srcCopy) return;
  if (EmptyRect(srcRect) || EmptyRect(dstRect) || src->image.isNull()) return;
  // Taken out first: the source and the destination may be the same pixels.
  const QImage pixels = src->image.copy(tb::toQRect(*srcRect));
  paintInto(dst, [&](QPainter& p) {
    if (maskRgn != nullptr) p.setClipRegion(maskRgn->rgn);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(tb::toQRect(*dstRect), pixels);
  });
}
