// What QuickDraw and the Scrap Manager share with the Pictures unit.
// Toolbox and its tests only.
#pragma once

#include <QImage>
#include <vector>

#include "../MacTypes.h"

namespace tb {

// FrameRect's recording: when a picture is open in the current port, the
// frame goes into it and true is returned (the pen is hidden, nothing is
// drawn); false otherwise.
bool recordFrameRect(const Rect& r);

// The image that a picture's bytes hold, or a null image when the bytes are
// not a picture of this layer or its frame is empty.
QImage pictureImage(const void* data, size_t size);

// The bytes of a picture holding `image`, framed at (0, 0) to its size.
std::vector<char> pictureBytes(const QImage& image);

}  // namespace tb
