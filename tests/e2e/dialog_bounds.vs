# Window > View Bounds: four rows. A field that does not read gets READERR:
# the fields after it are stored, those before it are not, and the plot's
# bounds do not change. Inverted or not-a-number bounds are refused.

menu "Window" "View Bounds…"
expect dialog rows 4
expect dialog label 1 "xmn="
expect dialog label 2 " xmx="
expect dialog label 3 " ymn="
expect dialog label 4 " ymx="
expect dialog field 1 "-0.05"
dialog set 2 "abc"
dialog set 3 "-2"
dialog set 4 "3"
dialog ok
expect sheet "Error reading data (bad format?). Please try again"
expect plot bounds -0.05 1.05 -0.05 1.05
sheet ok
expect sheet none
expect windows plot text

menu "Window" "View Bounds…"
expect dialog field 2 "1.05"
dialog set 1 "0"
dialog set 2 "2"
dialog set 3 "-1"
dialog set 4 "1"
dialog ok
expect plot bounds 0 2 -1 1

menu "Window" "View Bounds…"
dialog set 1 "3"
dialog ok
expect alert "You must have xmin<xmax and ymin<ymax."
alert ok
expect plot bounds 0 2 -1 1

menu "Window" "View Bounds…"
dialog set 1 ""
dialog ok
expect sheet "Error reading data (bad format?). Please try again"
sheet ok
expect plot bounds 0 2 -1 1
