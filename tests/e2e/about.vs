# Vantor > About Vantor shows the splash window with the version in white
# until a click.

menu "Vantor" "About Vantor"
expect windows other plot text
expect front has #ffffff in 10 85 60 105
click content front 200 200
expect windows plot text
