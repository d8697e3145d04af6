# While the dialog is open the rest of the desktop waits: clicks elsewhere
# and menu shortcuts do nothing; the dialog moves by its title bar and
# comes back there next time.

menu "Parameters" "Initial Condition…"
expect windows "Parameters" plot text
key cmd+n
click content plot 20 20
expect plots 1
drag title "Parameters" by -200 100
expect "Parameters" content 132 277 492 407
dialog ok
expect preference DataDialogCorner 132 277
expect plot x0 0.5
menu "Parameters" "Initial Condition…"
expect "Parameters" content 132 277 492 407
dialog cancel
