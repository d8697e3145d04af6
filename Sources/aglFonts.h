// Bitmap fonts for the plot windows' OpenGL contexts.
#pragma once

#include "../toolbox/Carbon.h"

extern GLuint gFont[2];

void createFonts();
GLuint buildFontGL(AGLContext ctx, GLint fontID, Style face, GLint size);
void deleteFonts();
void drawCharacter(char c, int font);
void drawPStringGL(unsigned char* pstrOut, int font);
void drawCStringGL(char* cstrOut, int font);
