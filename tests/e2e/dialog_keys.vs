# The dialog's keys: typing replaces the selected text, Tab moves to the
# next field with its text selected, Return presses OK, Escape Cancel.

menu "Parameters" "µ and n…"
type "3.3"
key tab
type "5"
key return
expect dialog closed
expect plot mu 3.3
expect plot n 5

menu "Parameters" "µ and n…"
type "2.9"
key escape
expect dialog closed
expect plot mu 3.3

menu "Parameters" "µ and n…"
key shift+tab
type "7"
key shift+tab
key end
key delete
type "1"
key enter
expect plot n 7
expect plot mu 3.1
