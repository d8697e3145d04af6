# Window: Next Plot, Text Window, Erase Window and Standard View.

# With one plot, Next Plot does nothing.
menu "Window" "Next Plot"
expect windows plot text

menu "File" "New Plot"
key up
expect windows plot plot text
menu "Window" "Next Plot"
expect windows plot text plot
expect plot mu 3.5699456
expect plot2 mu 3.6699456
expect plot content 2 64 696 758
menu "Window" "Next Plot"
expect windows plot text plot
expect plot mu 3.6699456
expect plot content 42 104 736 763

menu "Window" "Text Window"
expect windows text plot plot
expect text front

# Erasing the text window removes all its text.
menu "Window" "Erase Window"
expect text lines 0

# Erasing a plot leaves it blank until its next redraw.
click title plot
expect windows plot text plot
menu "Window" "Erase Window"
expect plot lacks #ff0000
expect plot lacks #0000ff
expect plot lacks #000000
expect plot pixel 5 5 #ffffff
expect text lines 0

menu "Window" "Standard View"
expect text lines 1
expect text line 1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"
expect plot has #ff0000
expect plot has #0000ff
# This plot is 659 pixels high: the x axis lies at 1.05 * 659 / 1.1.
expect plot dv 599.0909090909091
expect plot pixel 100 629 #000000
