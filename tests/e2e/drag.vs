# Dragging a title bar moves the window, never above the menu bar, and
# brings a background window to the front.

drag title plot by 30 20
expect plot content 32 84 726 778
expect windows plot text
# Moving changes neither the plot nor the log.
expect plot bounds -0.05 1.05 -0.05 1.05
expect text lines 10

drag title text by -10 -100
expect text content 689 45 1014 709
expect windows text plot

drag title text to 500 300
expect text content 338 311 663 975
