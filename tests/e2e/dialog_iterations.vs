# Parameters > Iterations: "t =" edits the orbit length; Cancel still redraws.

menu "Parameters" "Iterations…"
expect dialog rows 1
expect dialog label 1 "t ="
expect dialog field 1 "500"
dialog set 1 "12"
dialog ok
expect plot t 12

menu "Parameters" "Iterations…"
dialog set 1 "100000"
dialog ok
expect plot t 100000

menu "Parameters" "Iterations…"
dialog set 1 "-5"
dialog ok
expect plot t 0

menu "Parameters" "Iterations…"
dialog set 1 "77"
dialog cancel
expect plot t 0
