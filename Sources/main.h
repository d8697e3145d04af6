// Start-up.
#pragma once

#define AppName "Vantor"
#define OLDSYSTEM "This program requires Mac OS 10.0 or greater"
#define NO_COLOR "Color Quickdraw is required"

void initializeAll();
void printInfo();
