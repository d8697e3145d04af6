// AGL: OpenGL contexts bound to windows. Each context is a real
// compatibility-profile OpenGL context of Mesa through EGL (no display
// needed) that draws into an offscreen framebuffer the size of its window's
// content; aglSwapBuffers presents that framebuffer in the window.
//
// Implemented: pixel formats (RGBA, single buffer), contexts (sharing display
// lists only with a share context given at creation),
// binding to a window's port, the current context, following a new
// window size, bitmap fonts as display lists (aglUseFont), error numbers.
// Left out: double buffering, full screen, offscreen and pbuffer drawables.
#pragma once

#include <GL/gl.h>

#include "MacTypes.h"
#include "QuickDraw.h"

struct AGLPixelFormatRecord;
struct AGLContextRecord;
typedef AGLPixelFormatRecord* AGLPixelFormat;
typedef AGLContextRecord* AGLContext;
typedef void* AGLDevice;
typedef CGrafPtr AGLDrawable;

enum { AGL_NONE = 0, AGL_RGBA = 4, AGL_DOUBLEBUFFER = 5, AGL_DEPTH_SIZE = 12 };
enum { AGL_NO_ERROR = 0, AGL_BAD_ATTRIBUTE = 10000, AGL_BAD_CONTEXT = 10004, AGL_BAD_DRAWABLE = 10006,
       AGL_BAD_ALLOC = 10016 };

AGLPixelFormat aglChoosePixelFormat(const AGLDevice* gdevs, GLint ndev, const GLint* attribs);
void aglDestroyPixelFormat(AGLPixelFormat pix);
AGLContext aglCreateContext(AGLPixelFormat pix, AGLContext share);
GLboolean aglDestroyContext(AGLContext ctx);
GLboolean aglSetDrawable(AGLContext ctx, AGLDrawable draw);
GLboolean aglSetCurrentContext(AGLContext ctx);
AGLContext aglGetCurrentContext();
GLboolean aglUpdateContext(AGLContext ctx);
// Presents what the context drew in its window (after a glFlush).
void aglSwapBuffers(AGLContext ctx);
GLboolean aglUseFont(AGLContext ctx, GLint fontID, Style face, GLint size, GLint first, GLint count, GLint base);
GLenum aglGetError();
