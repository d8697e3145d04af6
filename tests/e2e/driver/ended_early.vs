# Steps left when the program ends are a failure.
# status: 1
# stderr: :5: expected `key up`, found the program ended
menu "File" "Quit Vantor"
key up
