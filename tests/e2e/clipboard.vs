# The Edit menu and the system clipboard: a plot's picture framed in black,
# clearing a plot, and the text window's text cut, copied and pasted.

# Copy with the plot in front: its 694 x 694 picture with a black frame.
clipboard text "from before"
menu "Edit" "Copy"
expect clipboard no text
expect clipboard image 694 694
expect clipboard pixel 0 0 #000000
expect clipboard pixel 693 693 #000000
expect clipboard pixel 693 300 #000000
expect clipboard pixel 5 5 #ffffff
clipboard save copied-plot.png
# The plot itself keeps its pixels: no frame on it.
expect plot pixel 0 0 #ffffff

# Cut does the same and leaves the plot; Paste does nothing to a plot.
clipboard clear
menu "Edit" "Cut"
expect clipboard image 694 694
expect clipboard pixel 0 0 #000000
expect plot pixel 0 0 #ffffff
expect plot has #0000ff
clipboard text "keep me"
menu "Edit" "Paste"
expect clipboard text "keep me"
expect plot has #0000ff

# Clear blanks the plot until its next redraw.
menu "Edit" "Clear"
expect plot lacks #0000ff
expect plot lacks #000000
menu "Window" "Standard View"
expect plot has #0000ff

# The text window: text that another program copied is pasted with its
# lines and its µ.
menu "Window" "Text Window"
menu "Edit" "Clear"
expect text lines 0
clipboard text "pasted µ line\nsecond"
menu "Edit" "Paste"
expect text lines 2
expect text line 1 "pasted µ line"
expect text line 2 "second"

# A double click selects the first word; Copy puts it on the clipboard.
click content text 20 8
click content text 20 8
menu "Edit" "Copy"
expect clipboard text "pasted"
expect text line 1 "pasted µ line"
# Cut takes it away; Paste puts it back at the caret.
menu "Edit" "Cut"
expect clipboard text "pasted"
expect text line 1 " µ line"
menu "Edit" "Paste"
expect text line 1 "pasted µ line"

# A clipboard without text pastes nothing: empty, or an image only.
clipboard clear
menu "Edit" "Paste"
expect text line 1 "pasted µ line"
expect text lines 2
clipboard image data/four-colours.png
expect clipboard image 4 3
expect clipboard pixel 2 1 #0000ff
menu "Edit" "Paste"
expect text lines 2

# Clear erases all the text, whatever is selected.
menu "Edit" "Clear"
expect text lines 0
