# status: 1
# stderr: :4: expected field 1 showing "0.7", found "0.5"
menu "Parameters" "Initial Condition…"
expect dialog field 1 "0.7"
