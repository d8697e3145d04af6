# File: New Plot opens a plot 40 pixels right of and below the front one;
# Close Window closes the front window: a plot for good, the text window
# only until it is shown again.

menu "File" "New Plot"
expect plots 2
expect windows plot plot text
expect plot content 42 104 736 763
expect plot2 content 2 64 696 758
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1"
expect text lines 11
expect text line -1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"

# The shortcut does the same.
key cmd+n
expect plots 3
expect plot content 82 144 776 763

# Each plot keeps its own state; keys act on the front one.
key up
expect plot mu 3.6699456
expect plot2 mu 3.5699456
expect plot3 mu 3.5699456

menu "File" "Close Window"
expect plots 2
expect plot content 42 104 736 763
expect plot mu 3.5699456

menu 129 2
expect plots 1
expect plot content 2 64 696 758

menu "Window" "Text Window"
menu "File" "Close Window"
expect text hidden
expect plots 1
expect windows plot
menu "Window" "Text Window"
expect windows text plot
