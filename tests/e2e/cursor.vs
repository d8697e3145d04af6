# The cursor follows the mouse over the front window: a cross over a plot's
# content, the arrow over its grow box and outside it, an I-beam over the
# text of the text window.
move content plot 100 100
expect cursor cross
move content plot 688 688
expect cursor arrow
move content plot 300 300
expect cursor cross
move 850 300
expect cursor arrow

menu "Window" "Text Window"
move content text 20 20
expect cursor ibeam
move content text 318 400
expect cursor arrow
