# Rubber-band zoom: Window > Zoom In and Zoom Out, then one drag in the front
# plot; Shift squares the band; a click, a flat drag or Escape change nothing.

# A 500 x 500 plot showing (0, 1, 0, 1): a pixel is 0.002 of a map unit.
drag grow plot by -194 -194
expect plot size 500 500
menu "Window" "View Bounds…"
dialog set 1 "0"
dialog set 2 "1"
dialog set 3 "0"
dialog set 4 "1"
dialog ok
expect plot bounds 0 1 0 1

# Zoom in: the dragged rectangle becomes the view.
menu "Window" "Zoom In"
expect gScaleOn 1
expect cursor zoom-in
drag content plot 100 100 to content plot 300 200
expect gScaleOn 0
expect plot bounds 0.2 0.6 0.6 0.8
expect text line -1 "Window Bounds: (0.2,0.6,0.6,0.8)"

# The reversed drag zooms in the same way: (0.28, 0.44) x (0.72, 0.76).
menu "Window" "Zoom In"
drag content plot 300 200 to content plot 100 100
expect plot bounds 0.28 0.44 0.72 0.76

# Zoom out: the view doubles about the centre of a half-size rectangle.
menu "Window" "Zoom Out"
expect gScaleOn 2
expect cursor zoom-out
drag content plot 125 125 to content plot 375 375
expect plot bounds 0.2 0.52 0.7 0.78

# A click without extent, a flat drag and a cancelled drag change nothing,
# and each uses the mode up.
menu "Window" "Zoom In"
click content plot 250 250
expect gScaleOn 0
expect plot bounds 0.2 0.52 0.7 0.78
expect text line -1 "Window Bounds: (0.2,0.52,0.7,0.78)"
menu "Window" "Zoom In"
drag content plot 100 300 to content plot 400 300
expect gScaleOn 0
expect plot bounds 0.2 0.52 0.7 0.78
menu "Window" "Zoom In"
down content plot 100 100
move content plot 300 300
key escape
up content plot 300 300
expect gScaleOn 0
expect plot bounds 0.2 0.52 0.7 0.78

# A click in the text window leaves the mode pending for the next plot click.
menu "Window" "View Bounds…"
dialog set 1 "0"
dialog set 2 "1"
dialog set 3 "0"
dialog set 4 "1"
dialog ok
menu "Window" "Zoom In"
click content text 100 100
expect windows text plot
expect gScaleOn 1
click title plot
expect gScaleOn 1

# Shift held through the drag squares the band, and the zoom follows it:
# from (100, 100) towards (300, 200) the square ends at (300, 300).
drag shift content plot 100 100 to content plot 300 200
expect gScaleOn 0
expect plot bounds 0.2 0.6 0.4 0.8

# Shift pressed during the drag squares it from the next movement on.
menu "Window" "View Bounds…"
dialog set 1 "0"
dialog set 2 "1"
dialog set 3 "0"
dialog set 4 "1"
dialog ok
menu "Window" "Zoom In"
down content plot 100 100
move content plot 300 200
press shift
move shift content plot 320 210
up shift content plot 320 210
release shift
expect plot bounds 0.2 0.64 0.36 0.8

# Zooming out beyond the largest double leaves the view and says so.
menu "Window" "View Bounds…"
dialog set 1 "-1e307"
dialog set 2 "1e307"
dialog set 3 "-1e307"
dialog set 4 "1e307"
dialog ok
menu "Window" "Zoom Out"
drag content plot 240 240 to content plot 260 260
expect plot bounds -1e307 1e307 -1e307 1e307
expect text line -1 "Zoom ignored: the view would be too small or too large to show"
