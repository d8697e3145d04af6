# status: 1
# stderr: :4: expected field "y=", found fields labelled "x="
menu "Parameters" "Initial Condition…"
dialog set "y=" "0.1"
