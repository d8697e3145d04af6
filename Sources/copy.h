// The Edit menu: the plot's picture and the text window's text through the
// clipboard.
#pragma once

#define NOMEMORY "Out of memory--couldn't copy the picture"

// Edit menu item theItem (3 cut, 4 copy, 5 paste, 6 clear) on the front window.
void doEdit(short theItem);
// Puts the front plot window's picture, with a one-pixel black frame, on the
// clipboard as 'PICT'.
void copyBitMap();
