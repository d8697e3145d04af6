# status: 1
# stderr: :4: expected the program idle at the end of the script, found a modal dialog "Parameters" open
timeout 1
menu "Parameters" "Initial Condition…"
