# File Quit ends the program at once, with status 0.
key up
menu "File" "Quit Vantor"
expect exit
