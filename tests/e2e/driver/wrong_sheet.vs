# status: 1
# stderr: :6: expected a sheet "Bad", found a sheet "Error reading data (bad format?). Please try again"
menu "Parameters" "Initial Condition…"
dialog set 1 "zero"
dialog ok
expect sheet "Bad"
