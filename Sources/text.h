// The text output window: the application's log.
#pragma once

#include "../toolbox/Carbon.h"

extern WindowPtr output;
extern TEHandle hTE;
extern ControlRef vScroll;

#define TEXTFULL "The text window can contain only 32K of text. I'm going to erase it"

void createOutput();
// Appends one line, formatted by the printf rules from Mac Roman text.
void printToText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void checkTextFull(short nchars);
void eraseOutput();
void setVScrollMax();
void adjustScroll();
void scrollProc(ControlRef theControl, ControlPartCode theCode);
void doScroll(EventRecord* theEvent);
void reSizeText();
void setView(WindowPtr w);
void activateOutput(Boolean flag);
void upDateText();
