# The arrows change µ and n of the front plot and retitle it; the space bar
# steps the orbit; R restores the view; other letters do nothing.

key up
expect plot mu 3.6699456
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.669946 n = 1"
key down
key down
expect plot mu 3.4699456
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.469946 n = 1"
# Held down: one press and two repeats.
key up repeat 2
expect plot mu 3.7699456

key right
expect plot n 2
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.769946 n = 2"
key left
expect plot n 1
# n never goes below 1.
key left
expect plot n 1
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.769946 n = 1"

expect plot t 500
key space
expect plot t 501
key space
expect plot t 502

# R and r set the standard view, which logs the bounds.
expect text lines 10
key r
expect text lines 11
expect text line -1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"
key R
expect text lines 12
expect plot bounds -0.05 1.05 -0.05 1.05
# ... and redraws the plot: an erased picture comes back.
menu "Window" "Erase Window"
expect plot lacks #ff0000
key r
expect plot has #ff0000
expect plot has #0000ff
expect text lines 13

key x
key 5
expect text lines 13
expect plot t 502
expect plot mu 3.7699456
expect plot n 1

# With the text window in front, the keys act on the plot behind it.
menu "Window" "Text Window"
expect windows text plot
key up
expect plot mu 3.8699456
key space
expect plot t 503
expect windows text plot
