# A colour picker that the script does not answer ends the run, naming it.
# status: 1
# stderr: :5: expected `expect plots 1`, found the colour picker "Choose a Color" open
menu "Window" "Map Colour…"
expect plots 1
