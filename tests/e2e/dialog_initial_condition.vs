# Parameters > Initial Condition: one row showing x0; OK stores the typed
# value, Cancel keeps it; the corner of the dialog is saved either way.

menu "Parameters" "Initial Condition…"
expect dialog open
expect dialog rows 1
expect dialog label 1 "x="
expect dialog field 1 "0.5"
expect dialog says "Initial Condition"
expect dialog buttons "Cancel" "OK"
dialog set "x=" "0.25"
dialog ok
expect dialog closed
expect plot x0 0.25
expect preference DataDialogCorner 332 177

menu "Parameters" "Initial Condition…"
expect dialog field 1 "0.25"
dialog set 1 "0.75"
dialog cancel
expect dialog closed
expect plot x0 0.25
expect preference DataDialogCorner 332 177
