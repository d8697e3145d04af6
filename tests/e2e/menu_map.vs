# Map: each family replaces the front plot's map with its defaults and
# standard view; the checkmark follows when a menu is pulled down.

menu "Map" "Cosine"
expect plot family cosine
expect plot title "Cosine Map, f=µ*cos(x), µ = 1.000000 n = 1"
expect plot bounds -3.2 3.2 -3.2 3.2
expect plot mu 1
expect plot t 500
expect plot x0 0.5
expect text line -1 "Window Bounds: (-3.2,3.2,-3.2,3.2)"

menu "Map" "Cubic"
expect plot family cubic
expect plot title "Cubic Map f = µ*x -x^3, µ = 2.400000 n = 1"
expect plot bounds -2 2 -2 2
expect checks "Map" "Cosine"

menu "Map" "Exponential"
expect plot family exponential
expect plot title "Exponential Map, f = x*exp(-µ*(1-x)), µ = -2.600000 n = 1"
expect plot bounds -1 3 -1 3

menu "Map" "Tangent"
expect plot family tangent
expect plot title "Tangent Map, f=µ*tan(x), µ = 1.000000 n = 1"
expect plot bounds -3.2 3.2 -3.2 3.2

menu "Map" "Circle"
expect plot family circle
expect plot title "Circle Map, Ω = 0.618034, f = Ω+x+µsin(2πx)/2π µ = 0.700000 n = 1"
expect plot bounds 0 1 0 1
expect plot mu 0.7

menu "Map" "Tent"
expect plot family tent
expect plot title "Tent Map, f = µ x<0.5, µ(1-x) x > 0.5 µ = 1.800000 n = 1"
expect plot bounds -0.05 1.05 -0.05 1.05
menu "Map" "Logistic"
expect plot family logistic
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1"
menu "Map"
expect checks "Map" "Logistic"
expect text lines 17

# A new map keeps the plot type and the overlays.
menu "Plot" "Bifurcation"
menu "Plot" "Unit Square"
menu 131 3
expect plot family 3
expect plot type bifurcation
expect plot square on
expect plot bounds 0 3.5 -2 2
expect plot title "Cubic Map f = µ*x -x^3, n= 1 Bifurcation, µ= (0.000000,3.500000)"
menu "Map"
expect checks "Map" "Cubic"
expect checks "Plot" "Bifurcation" "Axes" "Unit Square"

# The Map menu acts on the front plot also while the text window is in front.
menu "Window" "Text Window"
menu "Map" "Tent"
expect windows text plot
expect plot family tent
expect plot title "Tent Map, f = µ x<0.5, µ(1-x) x > 0.5 n= 1 Bifurcation, µ= (1.000000,2.000000)"
menu "Map"
expect checks "Map" "Tent"
