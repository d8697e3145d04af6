# Right after start: the first plot in front, the text window behind it with
# the bounds line and the keyboard help, and a plot in its default state.

expect windows plot text
expect plot front
expect plots 1
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1"
expect plot content 2 64 696 758
expect text title ""
expect text content 699 64 1024 728
expect text visible

expect text lines 10
expect text line 1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"
expect text line 2 "Vantor — an explorer of one-dimensional maps"
expect text line 3 "Keyboard shortcuts:"
expect text line 4 "\t spacebar: iterate one step"
expect text line 5 "\t upArrow: increment µ"
expect text line 6 "\t downArrow: decrement µ"
expect text line 7 "\t rightArrow: f^n -> f^{n+1}"
expect text line 8 "\t leftArrow: f^n -> f^{n-1}"
expect text line 9 "\t Command . to cancel long operations"
expect text line 10 "Otherwise check the menus for command key equivalents."

expect plot family logistic
expect plot mu 3.5699456
expect plot n 1
expect plot t 500
expect plot x0 0.5
expect plot xt 0.5
expect plot type cobweb
expect plot axes on
expect plot square off
expect plot critical off
expect plot bounds -0.05 1.05 -0.05 1.05
expect plot dh 630.9090909090909
expect plot dv 630.9090909090909
expect gDelta 0.1
expect gScaleOn 0
expect cursor arrow

# The picture: white background, the red graph of f with its top at
# f(0.5), the blue orbit, the black axes; no unit square, no critical line.
expect plot pixel 5 5 #ffffff
expect plot has #ff0000 in 344 97 351 102
expect plot has #0000ff
expect plot pixel 100 662 #000000
expect plot lacks #00ff00
expect plot lacks #ffff00
snapshot plot startup-plot.png
screenshot startup-screen.png

# No checkmark until a menu is pulled down; then they show the front plot.
expect checks "Map"
expect checks "Plot"
menu "Map"
expect checks "Map" "Logistic"
expect checks "Plot" "Cobweb" "Axes"
expect windows plot text
