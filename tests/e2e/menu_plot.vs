# Plot: items 1-5 choose the plot type with its standard view and title;
# items 7-9 switch the axes, the unit square and the critical line.

menu "Plot" "Bifurcation"
expect plot type bifurcation
expect plot title "Logistic Map f=µ*x*(1-x), n= 1 Bifurcation, µ= (0.000000,4.000000)"
expect plot bounds 0 4 -0.05 1.05
expect text line -1 "Window Bounds: (0,4,-0.05,1.05)"
expect plot has #0000ff
expect plot lacks #ff0000
# The space bar draws only in a cobweb plot.
key space
expect plot t 500

menu "Plot" "Density"
expect plot type density
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1 Density, x= (-0.050000,1.050000)"
expect plot bounds -0.05 1.05 0 100

menu "Plot" "Lyapunov Exponent"
expect plot type lyapunov
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1 Lyapunov Exp., x= (0.000000,4.000000)"
expect plot bounds 0 4 -5 1

menu "Plot" "Exit Time"
expect plot type exit-time
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1 ExitTime, x= (-0.050000,1.050000)"
expect plot bounds -0.05 1.05 0 100
menu "Plot"
expect checks "Plot" "Exit Time" "Axes"

menu 132 1
expect plot type cobweb
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1"
expect plot bounds -0.05 1.05 -0.05 1.05
expect text lines 15

# Overlays: the axes invert the white background to black along x = 0,
# the unit square is green, the critical line yellow.
expect plot pixel 100 662 #000000
menu "Plot" "Axes"
expect plot axes off
expect plot pixel 100 662 #ffffff
menu "Plot" "Unit Square"
expect plot square on
expect plot pixel 300 31 #00ff00
menu "Plot" "Critical Point"
expect plot critical on
expect plot pixel 346 500 #ffff00
menu "Plot"
expect checks "Plot" "Cobweb" "Unit Square" "Critical Point"
menu "Plot" "Unit Square"
menu "Plot" "Critical Point"
menu "Plot" "Axes"
expect plot square off
expect plot critical off
expect plot axes on
expect plot lacks #00ff00
expect plot lacks #ffff00
# Overlays do not touch the view.
expect text lines 15
