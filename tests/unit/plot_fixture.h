// A real plot window of a known size for tests, and the vertices its GL
// context receives, captured in feedback mode and turned back into window
// pixels (h to the right, v downward from the top-left corner).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "Sources/events.h"
#include "Sources/text.h"
#include "Sources/windows.h"
#include "maps.h"
#include "toolbox/internal/EventQueue.h"

struct Pixel {
  int h;
  int v;
  bool operator==(const Pixel&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Pixel& p) { return os << "(h " << p.h << ", v " << p.v << ")"; }

using Rgb = std::array<float, 3>;

struct Segment {
  Pixel from;
  Pixel to;
  Rgb color;
};

struct Strip {
  std::vector<Pixel> vertices;
  Rgb color;
};

struct Capture {
  std::vector<Pixel> points;
  std::vector<Rgb> pointColors;
  std::vector<Segment> segments;
  // Segments joined where one starts at the end of the previous one: a line
  // strip becomes one entry, every separate GL_LINES segment its own.
  std::vector<Strip> strips;
  int bitmaps = 0;
  std::vector<Pixel> bitmapPositions;  // raster position of each glyph
  bool overflow = false;
};

// Runs `drawing` in feedback mode of the current context. Clipping still
// applies: vertices outside the window are dropped or moved to its edge.
inline Capture captureFeedback(int windowHeight, const std::function<void()>& drawing) {
  std::vector<GLfloat> buffer(1 << 20);
  glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  drawing();
  const GLint count = glRenderMode(GL_RENDER);
  Capture c;
  c.overflow = count < 0;
  size_t i = 0;
  const size_t end = count < 0 ? 0 : size_t(count);
  // GL_3D_COLOR in RGBA mode: x, y, z, then r, g, b, a.
  auto vertex = [&](Rgb* color) {
    Pixel p{int(std::lround(buffer[i])), int(std::lround(windowHeight - buffer[i + 1]))};
    if (color) *color = {buffer[i + 3], buffer[i + 4], buffer[i + 5]};
    i += 7;
    return p;
  };
  while (i < end) {
    const GLenum token = GLenum(buffer[i++]);
    switch (token) {
      case GL_POINT_TOKEN: {
        Rgb color;
        c.points.push_back(vertex(&color));
        c.pointColors.push_back(color);
        break;
      }
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN: {
        Rgb color;
        Pixel a = vertex(&color);
        Pixel b = vertex(nullptr);
        c.segments.push_back({a, b, color});
        if (token == GL_LINE_RESET_TOKEN || c.strips.empty() || !(c.strips.back().vertices.back() == a))
          c.strips.push_back({{a}, color});
        c.strips.back().vertices.push_back(b);
        break;
      }
      case GL_POLYGON_TOKEN: {
        const int n = int(buffer[i++]);
        for (int k = 0; k < n; ++k) vertex(nullptr);
        break;
      }
      case GL_BITMAP_TOKEN:
        c.bitmapPositions.push_back(vertex(nullptr));
        ++c.bitmaps;
        break;
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        vertex(nullptr);
        break;
      case GL_PASS_THROUGH_TOKEN:
        ++i;
        break;
      default:
        ADD_FAILURE() << "unknown feedback token " << token;
        return c;
    }
  }
  return c;
}

inline bool sameColor(const Rgb& a, const float* b) {
  return std::fabs(a[0] - b[0]) < 1e-6 && std::fabs(a[1] - b[1]) < 1e-6 && std::fabs(a[2] - b[2]) < 1e-6;
}

inline std::string textWindowContents() {
  if (hTE == nullptr || *hTE == nullptr || (*hTE)->hText == nullptr) return {};
  return std::string(*(*hTE)->hText, size_t((*hTE)->teLength));
}

inline std::string windowTitle(WindowPtr w) {
  Str255 title;
  GetWTitle(w, title);
  return std::string(reinterpret_cast<const char*>(title + 1), title[0]);
}

// Holds Command and period down, as a person cancelling a redraw does.
class CancelKeysHeld {
 public:
  CancelKeysHeld() {
    post(tb::InputKind::KeyDown, kVK_Command, 0, cmdKey);
    post(tb::InputKind::KeyDown, kVK_ANSI_Period, '.', cmdKey);
  }
  ~CancelKeysHeld() {
    post(tb::InputKind::KeyUp, kVK_ANSI_Period, '.', cmdKey);
    post(tb::InputKind::KeyUp, kVK_Command, 0, 0);
    FlushEvents(everyEvent, 0);
  }

 private:
  static void post(tb::InputKind kind, unsigned char keyCode, unsigned char charCode, EventModifiers modifiers) {
    tb::RawInput input;
    input.kind = kind;
    input.keyCode = keyCode;
    input.charCode = charCode;
    input.modifiers = modifiers;
    tb::postInput(input);
  }
};

// A shown plot window of 400 x 300 pixels made by createPlot.
class PlotWindowTest : public ::testing::Test {
 public:
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;

 protected:
  void SetUp() override {
    if (output == nullptr) createOutput();
    window = createPlot();
    ASSERT_NE(window, nullptr) << "createPlot made no window";
    show(window);
    SizeWindow(window, kWidth, kHeight, false);
    data = GetPlotData(window);
    ASSERT_NE(data, nullptr) << "the new window is not a plot";
    data->setCoordinates();  // follow the new size
  }

  void TearDown() override {
    if (window != nullptr) disposePlot(window);
  }

  Map* map() { return data->map(); }

  Capture capture(const std::function<void()>& drawing) {
    data->setDrawable();
    return captureFeedback(kHeight, drawing);
  }

  WindowPtr window = nullptr;
  PlotData* data = nullptr;
};
