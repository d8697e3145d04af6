# Parameters > µ and n: two rows filled from the map; the n field keeps the
# low 16 bits of what is typed, and a non-positive n becomes 1.

menu "Parameters" "µ and n…"
expect dialog rows 2
expect dialog label 1 "µ ="
expect dialog label 2 " n ="
expect dialog field 1 "3.5699456"
expect dialog field 2 "1"
expect dialog says "Input µ and n"
dialog set "µ =" "3.2"
dialog set "n =" "2"
dialog ok
expect plot mu 3.2
expect plot n 2
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.200000 n = 2"

menu "Parameters" "µ and n…"
expect dialog field 1 "3.2"
expect dialog field 2 "2"
dialog set 2 "70000"
dialog ok
expect plot n 4464

menu "Parameters" "µ and n…"
dialog set 2 "40000"
dialog ok
expect plot n 1

menu "Parameters" "µ and n…"
dialog set 2 "-1"
dialog ok
expect plot n 1
expect plot mu 3.2
