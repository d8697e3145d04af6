# The circle map's dialog has three rows: µ, omega and n; accepting it
# retitles the window with the new omega.

menu "Map" "Circle"
menu "Parameters" "µ and n…"
expect dialog rows 3
expect dialog says "Input µ, omega and n"
expect dialog label 1 "µ="
expect dialog label 2 " om="
expect dialog label 3 " n="
dialog set "om=" "0.25"
dialog set "µ=" "0.5"
dialog set "n=" "3"
dialog ok
expect plot mu 0.5
expect plot n 3
expect plot title "Circle Map, omega= 0.250000 µ = 0.500000 n = 3"
