// AGL on EGL: every context is a Mesa OpenGL compatibility-profile context
// on the surfaceless platform, so no display server is needed. A context
// bound to a window draws into a framebuffer object the size of the window's
// content; aglSwapBuffers copies that into the window's port.
//
// Implemented: RGBA single-buffered pixel formats, contexts (shared display
// lists only when a share context is passed), binding to a port, the current
// context, following the port's size, presenting, error numbers. Bitmap
// fonts are in AGLFont.cpp.
// Left out: double buffering, depth buffers, full screen, pbuffers, and the
// window's position (an offscreen framebuffer has none to follow).
#include "AGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glext.h>

#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "internal/AGLInternal.h"
#include "internal/Port.h"
#include "internal/WindowRecord.h"

// Only RGBA, single-buffered, without depth exists, so a format holds nothing.
struct AGLPixelFormatRecord {};

struct AGLContextRecord {
  EGLContext egl = EGL_NO_CONTEXT;
  GrafPortRecord* port = nullptr;
  // The port's window when bound, kept to notice that the window was disposed
  // before the context: then the port must not be touched any more.
  WindowRecord* window = nullptr;
  GLuint framebuffer = 0;
  GLuint renderbuffer = 0;
  int width = 0;
  int height = 0;
};

namespace {

// Framebuffer objects are not in the OpenGL 1.x the system headers link, so
// they come through eglGetProcAddress.
struct FramebufferFunctions {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
};

struct AglState {
  bool setUpTried = false;
  bool ready = false;
  bool debug = false;
  EGLDisplay display = EGL_NO_DISPLAY;
  FramebufferFunctions fb;
  std::vector<AGLContext> contexts;
  AGLContext current = nullptr;
  GLenum error = AGL_NO_ERROR;
};

AglState& aglState() {
  static AglState state;
  return state;
}

template <typename Function>
bool load(Function& function, const char* name) {
  function = reinterpret_cast<Function>(eglGetProcAddress(name));
  return function != nullptr;
}

bool loadFramebufferFunctions(FramebufferFunctions& fb) {
  return load(fb.genFramebuffers, "glGenFramebuffers") && load(fb.deleteFramebuffers, "glDeleteFramebuffers") &&
         load(fb.bindFramebuffer, "glBindFramebuffer") && load(fb.checkFramebufferStatus, "glCheckFramebufferStatus") &&
         load(fb.genRenderbuffers, "glGenRenderbuffers") && load(fb.deleteRenderbuffers, "glDeleteRenderbuffers") &&
         load(fb.bindRenderbuffer, "glBindRenderbuffer") && load(fb.renderbufferStorage, "glRenderbufferStorage") &&
         load(fb.framebufferRenderbuffer, "glFramebufferRenderbuffer");
}

bool hasExtension(EGLDisplay display, const char* name) {
  const char* list = eglQueryString(display, EGL_EXTENSIONS);
  if (list == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + length, name)) {
    const bool startsWord = p == list || p[-1] == ' ';
    const bool endsWord = p[length] == ' ' || p[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

bool failSetUp(const char* why) {
  std::fprintf(stderr, "AGL: no OpenGL: %s (EGL error 0x%04X)\n", why, unsigned(eglGetError()));
  return false;
}

// One EGL display for the process, set up on first use.
bool setUpEgl() {
  AglState& s = aglState();
  if (s.setUpTried) return s.ready;
  s.setUpTried = true;
  const char* debug = std::getenv("VANTOR_GL_DEBUG");
  s.debug = debug != nullptr && std::strcmp(debug, "1") == 0;

  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) return failSetUp("eglGetPlatformDisplayEXT missing");
  s.display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, reinterpret_cast<void*>(EGL_DEFAULT_DISPLAY), nullptr);
  if (s.display == EGL_NO_DISPLAY) return failSetUp("no surfaceless display");
  if (!eglInitialize(s.display, nullptr, nullptr)) return failSetUp("eglInitialize failed");
  // Contexts without configs and without surfaces: the surfaceless platform
  // offers no configs for desktop OpenGL, and we draw into framebuffer objects.
  if (!hasExtension(s.display, "EGL_KHR_no_config_context") && !hasExtension(s.display, "EGL_MESA_configless_context"))
    return failSetUp("contexts without config unsupported");
  if (!hasExtension(s.display, "EGL_KHR_surfaceless_context")) return failSetUp("surfaceless contexts unsupported");
  if (!eglBindAPI(EGL_OPENGL_API)) return failSetUp("desktop OpenGL unsupported");
  if (!loadFramebufferFunctions(s.fb)) return failSetUp("framebuffer objects unsupported");
  s.ready = true;
  return true;
}

bool makeCurrent(AGLContext ctx) {
  AglState& s = aglState();
  if (ctx != s.current) {
    EGLContext egl = ctx != nullptr ? ctx->egl : EGL_NO_CONTEXT;
    if (!eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl)) return false;
    s.current = ctx;
  }
  if (ctx != nullptr && ctx->framebuffer != 0) s.fb.bindFramebuffer(GL_FRAMEBUFFER, ctx->framebuffer);
  return true;
}

// (Re)allocates the context's framebuffer at a size; the context is current.
// The old picture is not kept: the program redraws after every resize.
bool allocateFramebuffer(AGLContextRecord& c, int width, int height) {
  const FramebufferFunctions& fb = aglState().fb;
  // A renderbuffer cannot be empty; a window without content gets one pixel.
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (c.framebuffer == 0) {
    fb.genFramebuffers(1, &c.framebuffer);
    fb.genRenderbuffers(1, &c.renderbuffer);
  }
  fb.bindRenderbuffer(GL_RENDERBUFFER, c.renderbuffer);
  fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  fb.bindRenderbuffer(GL_RENDERBUFFER, 0);
  fb.bindFramebuffer(GL_FRAMEBUFFER, c.framebuffer);
  fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, c.renderbuffer);
  tb::agl::checkGl("framebuffer allocation");
  c.width = width;
  c.height = height;
  return fb.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// Deletes the context's framebuffer; the context is current.
void deleteFramebuffer(AGLContextRecord& c) {
  if (c.framebuffer == 0) return;
  const FramebufferFunctions& fb = aglState().fb;
  fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
  fb.deleteFramebuffers(1, &c.framebuffer);
  fb.deleteRenderbuffers(1, &c.renderbuffer);
  tb::agl::checkGl("framebuffer deletion");
  c.framebuffer = c.renderbuffer = 0;
  c.width = c.height = 0;
}

// The context's port, or null when it has none or its window is gone.
GrafPortRecord* livePort(AGLContextRecord& c) {
  if (c.port == nullptr) return nullptr;
  if (c.window != nullptr && !tb::isAlive(c.window)) {
    c.port = nullptr;
    c.window = nullptr;
  }
  return c.port;
}

bool isDirectFormat(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

// Reads the framebuffer's top-left `cols` x `rows` into the top-left of
// `image` (32-bit pixels), rows in the order glReadPixels gives them.
void readFramebuffer(const AGLContextRecord& c, QImage& image, int cols, int rows) {
  GLint alignment, rowLength, skipRows, skipPixels;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  glGetIntegerv(GL_PACK_ROW_LENGTH, &rowLength);
  glGetIntegerv(GL_PACK_SKIP_ROWS, &skipRows);
  glGetIntegerv(GL_PACK_SKIP_PIXELS, &skipPixels);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, GLint(image.bytesPerLine() / 4));
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  // BGRA as 8_8_8_8_REV is 0xAARRGGBB in a 32-bit word on any byte order,
  // which is QImage's 32-bit layout, and Mesa's fast path.
  glReadPixels(0, c.height - rows, cols, rows, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, image.bits());
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  glPixelStorei(GL_PACK_ROW_LENGTH, rowLength);
  glPixelStorei(GL_PACK_SKIP_ROWS, skipRows);
  glPixelStorei(GL_PACK_SKIP_PIXELS, skipPixels);
  tb::agl::checkGl("aglSwapBuffers");
}

// GL rows run bottom up, the port's top down. Alpha is forced opaque because
// inverting logic ops clear it, and a window has no transparent pixels.
void flipRowsOpaque(QImage& image, int cols, int rows) {
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  for (int top = 0, bottom = rows - 1; top <= bottom; ++top, --bottom) {
    auto* a = reinterpret_cast<quint32*>(bits + top * stride);
    auto* b = reinterpret_cast<quint32*>(bits + bottom * stride);
    for (int x = 0; x < cols; ++x) {
      const quint32 upper = a[x] | 0xFF000000u;
      a[x] = b[x] | 0xFF000000u;
      b[x] = upper;
    }
  }
}

}  // namespace

namespace tb::agl {

bool isLiveContext(AGLContext ctx) {
  const auto& list = aglState().contexts;
  return ctx != nullptr && std::find(list.begin(), list.end(), ctx) != list.end();
}

void setError(GLenum error) {
  if (aglState().error == AGL_NO_ERROR) aglState().error = error;
}

void checkGl(const char* where) {
  if (!aglState().debug || aglState().current == nullptr) return;
  for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
    std::fprintf(stderr, "AGL: GL error 0x%04X after %s\n", unsigned(e), where);
}

void setDebugChecks(bool on) {
  setUpEgl();  // reads the environment once; an explicit choice wins
  aglState().debug = on;
}

ContextScope::ContextScope(AGLContext ctx) : previous_(aglState().current), switched_(ctx != aglState().current) {
  if (switched_) makeCurrent(ctx);
}

ContextScope::~ContextScope() {
  if (switched_) makeCurrent(isLiveContext(previous_) ? previous_ : nullptr);
}

}  // namespace tb::agl

using tb::agl::isLiveContext;
using tb::agl::setError;

AGLPixelFormat aglChoosePixelFormat(const AGLDevice*, GLint, const GLint* attribs) {
  if (!setUpEgl()) return nullptr;
  bool rgba = false;
  for (size_t i = 0; attribs != nullptr && attribs[i] != AGL_NONE; ++i) {
    switch (attribs[i]) {
      case AGL_RGBA:
        rgba = true;
        break;
      case AGL_DEPTH_SIZE:
        // No depth buffer exists; asking for none is fine.
        if (attribs[++i] == 0) break;
        setError(AGL_BAD_ATTRIBUTE);
        return nullptr;
      default:  // double buffering and everything else is left out
        setError(AGL_BAD_ATTRIBUTE);
        return nullptr;
    }
  }
  // Colour-index formats do not exist.
  if (!rgba) {
    setError(AGL_BAD_ATTRIBUTE);
    return nullptr;
  }
  return new AGLPixelFormatRecord;
}

void aglDestroyPixelFormat(AGLPixelFormat pix) { delete pix; }

AGLContext aglCreateContext(AGLPixelFormat pix, AGLContext share) {
  if (pix == nullptr || !setUpEgl()) {
    setError(AGL_BAD_ATTRIBUTE);
    return nullptr;
  }
  if (share != nullptr && !isLiveContext(share)) {
    setError(AGL_BAD_CONTEXT);
    return nullptr;
  }
  const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  EGLContext egl = eglCreateContext(aglState().display, EGL_NO_CONFIG_KHR,
                                    share != nullptr ? share->egl : EGL_NO_CONTEXT, attributes);
  if (egl == EGL_NO_CONTEXT) {
    setError(AGL_BAD_ALLOC);
    return nullptr;
  }
  auto* ctx = new AGLContextRecord;
  ctx->egl = egl;
  aglState().contexts.push_back(ctx);
  return ctx;
}

GLboolean aglDestroyContext(AGLContext ctx) {
  if (!isLiveContext(ctx)) {
    setError(AGL_BAD_CONTEXT);
    return GL_FALSE;
  }
  {
    tb::agl::ContextScope scope(ctx);
    deleteFramebuffer(*ctx);
  }
  if (aglState().current == ctx) makeCurrent(nullptr);
  eglDestroyContext(aglState().display, ctx->egl);
  auto& list = aglState().contexts;
  list.erase(std::find(list.begin(), list.end(), ctx));
  delete ctx;
  return GL_TRUE;
}

GLboolean aglSetDrawable(AGLContext ctx, AGLDrawable draw) {
  if (!isLiveContext(ctx)) {
    setError(AGL_BAD_CONTEXT);
    return GL_FALSE;
  }
  tb::agl::ContextScope scope(ctx);
  if (draw == nullptr) {  // detaches the context from its window
    deleteFramebuffer(*ctx);
    ctx->port = nullptr;
    ctx->window = nullptr;
    return GL_TRUE;
  }
  ctx->port = draw;
  ctx->window = draw->window;
  if (!allocateFramebuffer(*ctx, draw->image.width(), draw->image.height())) {
    setError(AGL_BAD_ALLOC);
    return GL_FALSE;
  }
  return GL_TRUE;
}

GLboolean aglSetCurrentContext(AGLContext ctx) {
  if (ctx != nullptr && !isLiveContext(ctx)) {
    setError(AGL_BAD_CONTEXT);
    return GL_FALSE;
  }
  if (!makeCurrent(ctx)) {
    setError(AGL_BAD_CONTEXT);
    return GL_FALSE;
  }
  return GL_TRUE;
}

AGLContext aglGetCurrentContext() { return aglState().current; }

GLboolean aglUpdateContext(AGLContext ctx) {
  if (!isLiveContext(ctx)) {
    setError(AGL_BAD_CONTEXT);
    return GL_FALSE;
  }
  GrafPortRecord* port = livePort(*ctx);
  if (port == nullptr) {
    setError(AGL_BAD_DRAWABLE);
    return GL_FALSE;
  }
  const int width = std::max(port->image.width(), 1);
  const int height = std::max(port->image.height(), 1);
  if (width == ctx->width && height == ctx->height) return GL_TRUE;
  tb::agl::ContextScope scope(ctx);
  if (!allocateFramebuffer(*ctx, width, height)) {
    setError(AGL_BAD_ALLOC);
    return GL_FALSE;
  }
  return GL_TRUE;
}

void aglSwapBuffers(AGLContext ctx) {
  if (!isLiveContext(ctx)) {
    setError(AGL_BAD_CONTEXT);
    return;
  }
  GrafPortRecord* port = livePort(*ctx);
  if (port == nullptr || ctx->framebuffer == 0) {
    setError(AGL_BAD_DRAWABLE);
    return;
  }
  // Until aglUpdateContext follows a resize, sizes differ: the overlap at the
  // top-left corner is copied.
  const int cols = std::min(port->image.width(), ctx->width);
  const int rows = std::min(port->image.height(), ctx->height);
  if (cols <= 0 || rows <= 0) return;
  tb::agl::ContextScope scope(ctx);
  if (isDirectFormat(port->image.format())) {
    readFramebuffer(*ctx, port->image, cols, rows);
    flipRowsOpaque(port->image, cols, rows);
  } else {
    QImage copy(cols, rows, QImage::Format_RGB32);
    readFramebuffer(*ctx, copy, cols, rows);
    flipRowsOpaque(copy, cols, rows);
    QPainter painter(&port->image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, copy);
  }
  tb::portChanged(*port);
}

GLenum aglGetError() {
  const GLenum error = aglState().error;
  aglState().error = AGL_NO_ERROR;
  return error;
}
