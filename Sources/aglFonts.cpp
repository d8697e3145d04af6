// Bitmap fonts of the plot contexts: 256 display lists per font, one per
// character code. Font 0 is the text font, font 1 the symbol font whose Latin
// letters draw Greek ones.
#include "aglFonts.h"

// The bases of the current plot's fonts; PlotData::setDrawable sets them for
// its own context. A base of 0 marks a font that could not be built.
GLuint gFont[2] = {0, 0};

namespace {

GLuint fontNumberFor(const char* name) {
  Str255 pName;
  CopyCStringToPascal(name, pName);
  short number = 0;
  GetFNum(pName, &number);
  return number;
}

}  // namespace

void createFonts() {
  AGLContext ctx = aglGetCurrentContext();
  gFont[0] = buildFontGL(ctx, fontNumberFor("Monaco"), normal, 12);
  gFont[1] = buildFontGL(ctx, fontNumberFor("Symbol"), normal, 12);
}

GLuint buildFontGL(AGLContext ctx, GLint fontID, Style face, GLint size) {
  GLuint listBase = glGenLists(256);
  if (listBase == 0) return 0;
  GLboolean built = aglUseFont(ctx, fontID, face, size, 0, 256, listBase);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  if (built) return listBase;
  glDeleteLists(listBase, 256);
  return 0;
}

void deleteFonts() {
  for (GLuint& base : gFont) {
    if (base != 0) glDeleteLists(base, 256);
    base = 0;
  }
}

// A font that could not be built draws nothing; calling lists from base 0
// would run lists of the other font.
void drawCharacter(char c, int font) {
  if (font < 0 || font > 1 || gFont[font] == 0) return;
  glCallList(gFont[font] + static_cast<unsigned char>(c));
}

void drawPStringGL(unsigned char* pstrOut, int font) {
  for (int i = 1; i <= pstrOut[0]; ++i) drawCharacter(static_cast<char>(pstrOut[i]), font);
}

void drawCStringGL(char* cstrOut, int font) {
  for (; *cstrOut != '\0'; ++cstrOut) drawCharacter(*cstrOut, font);
}
