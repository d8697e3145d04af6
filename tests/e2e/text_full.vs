# The text window holds at most 32767 characters. After the ten start-up
# lines (331 characters) and the bounds line of a resize, 830 more bounds
# lines of 39 fit; the next one raises an alert, and once it is dismissed
# the text starts again with that line. (A small plot redraws quickly.)
drag grow plot by -1000 -1000
expect text lines 11
repeat 830 key r
expect text lines 841
expect text line -1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"
key r
expect alert "The text window can contain only 32K of text. I'm going to erase it"
alert ok
expect text lines 1
expect text line 1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"
key r
expect text lines 2
