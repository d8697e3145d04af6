# Run by xvfb_clipboard.sh on a real X display, where xclip plays another
# program: Vantor's copies must reach it, and its copies must reach Vantor.
timeout 30

# Text from Vantor to the other program: the first word of the log.
menu "Window" "Text Window"
menu "Edit" "Clear"
key r
expect text line 1 "Window Bounds: (-0.05,1.05,-0.05,1.05)"
click content text 20 8
click content text 20 8
menu "Edit" "Copy"
expect clipboard text "Window"

# Text from the other program to Vantor, with its line feed and its µ.
clipboard wait text "from xclip\nsecond µ"
menu "Edit" "Clear"
menu "Edit" "Paste"
expect text line 1 "from xclip"
expect text line 2 "second µ"

# The plot's picture from Vantor to the other program, which reads a PNG.
click title plot
menu "Edit" "Copy"
expect clipboard image 694 694
clipboard wait text "picture read"
