# The close box hides the text window, which keeps receiving lines, and
# destroys a plot window; with no plot left, keys do nothing.

click close text
expect text hidden
expect windows plot
key r
menu "Window" "Text Window"
expect text visible
expect windows text plot
expect text lines 11
expect text line -1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"

# A press in the close box released outside it keeps the window.
drag close plot by 60 0
expect plots 1

click close plot
expect plots 0
expect windows text
key up
key space
expect text lines 11
expect gDelta 0.1
