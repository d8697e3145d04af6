# A click in the front cobweb plot logs the point and starts the orbit
# there; a click in a background window only brings it to the front.

click content plot 200 300
expect text lines 11
expect text line -1 "(x,y) = 0.2670028818444,0.5744956772334"
expect plot x0 0.2670028818443804
expect plot t 500
expect plot xt 0.8051058249368713 within 1e-6

click content text 20 20
expect windows text plot
expect text lines 11

click content plot 100 600
expect windows plot text
expect text lines 11
expect plot x0 0.2670028818443804

click content plot 100 600
expect text lines 12
expect text line -1 "(x,y) = 0.1085014409222,0.09899135446686"
expect plot x0 0.1085014409221902

# A point given in map coordinates lands on the pixel that holds it.
click map plot 0.25 0.75
expect text line -1 "(x,y) = 0.2495677233429,0.7504322766571"
expect plot x0 0.25 within 0.0016

# In a density plot the click logs x and r and leaves the orbit alone.
menu "Plot" "Density"
click content plot 100 600
expect text line -1 "(x,r) = 0.1085014409222,13.5446685879"
expect plot x0 0.24956772334293953
