# Colours: the background and the map colour through the colour picker,
# black and white backgrounds, and backgrounds per plot window.

# The first background pick of a run starts at black, although the plot is white.
expect plot pixel 5 5 #ffffff
menu "Window" "Background Colour…"
expect color "Choose a Color" #000000
color #336699
expect plot pixel 5 5 #336699

# The picker starts at the last background; cancelling keeps the plot's.
menu "Window" "Background Colour…"
expect color "Choose a Color" #336699
color cancel
expect plot pixel 5 5 #336699

menu "Window" "Black Background"
expect plot pixel 5 5 #000000
menu "Window" "White Background"
expect plot pixel 5 5 #ffffff

# The map colour: blue at first, then green on the redrawn plot.
expect plot has #0000ff
menu "Window" "Map Colour…"
expect color "Choose a Color" #0000ff
color #00ff00
expect plot has #00ff00
expect plot lacks #0000ff
# Confirming the colour as it shows keeps it.
menu "Window" "Map Colour…"
expect color "Choose a Color" #00ff00
color ok
expect plot has #00ff00

# With the text window in front the background still goes to the front
# plot, and that plot is redrawn with it.
menu "Window" "Text Window"
menu "Window" "Black Background"
expect plot pixel 5 5 #000000

# A new plot starts white; the first stays black.
menu "File" "New Plot"
expect plot pixel 5 5 #ffffff
expect plot2 pixel 5 5 #000000
