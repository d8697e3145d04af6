# Parameters > Arrow Increment edits gDelta; the arrows then step µ by it.

menu "Parameters" "Arrow Increment…"
expect dialog label 1 "dx="
expect dialog field 1 "0.1"
dialog set 1 "0.01"
dialog ok
expect gDelta 0.01
key up
expect plot mu 3.5799456

menu "Parameters" "Arrow Increment…"
dialog set 1 "nan"
dialog ok
expect sheet "Error reading data (bad format?). Please try again"
expect gDelta 0.01
sheet ok
expect sheet none

menu "Parameters" "Arrow Increment…"
expect dialog field 1 "0.01"
dialog set 1 "1e400"
dialog ok
expect sheet "Error reading data (bad format?). Please try again"
sheet ok
expect gDelta 0.01
