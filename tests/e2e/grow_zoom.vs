# The grow box resizes a plot, never below 40 x 40, and keeps its bounds;
# the zoom box fills the desktop and brings the old size back.

drag grow plot by -1000 -1000
expect plot size 40 40
expect plot content 2 64 42 104
expect plot bounds -0.05 1.05 -0.05 1.05
expect plot dh 36.36363636363636
expect text lines 11
expect text line -1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"

drag grow plot by 260 160
expect plot size 300 200
expect plot dh 272.7272727272727
expect plot dv 181.8181818181818
expect plot has #ff0000
expect text lines 12

# A press in the grow box released where it started changes nothing.
click grow plot
expect plot size 300 200
expect text lines 12

click zoom plot
expect plot content 3 47 1021 765
expect plot dh 925.4545454545454
expect plot dv 652.7272727272727
expect plot bounds -0.05 1.05 -0.05 1.05
expect text lines 13
expect plot has #ff0000

click zoom plot
expect plot content 2 64 302 264
expect plot dh 272.7272727272727
expect text lines 14

# A press in the zoom box released outside it does nothing.
drag zoom plot by 0 60
expect plot content 2 64 302 264
expect text lines 14

# The text window follows its grow box too.
drag grow text by -100 -200
expect text size 225 464
