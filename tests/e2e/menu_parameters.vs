# Parameters: Reset Orbit starts the orbit again at x0 with t = 0; Erase
# Transients starts it where it ended.

menu "Parameters" "Reset Orbit"
expect plot t 0
expect plot x0 0.5
expect plot xt 0.5
key space
expect plot t 1
expect plot xt 0.8924864
key space
expect plot t 2
expect plot xt 0.3425520802389284

menu "Parameters" "Erase Transients"
expect plot x0 0.3425520802389284
expect plot t 2
expect plot xt 0.5625923679608912

menu 133 4
expect plot t 0
expect plot x0 0.3425520802389284
expect plot xt 0.3425520802389284
expect plot mu 3.5699456
