# The dialog's corner is kept between runs: this run moves the dialog and
# confirms it; dialog_corner_restore.vs, run after it with the same
# preference store, finds it there.

menu "Parameters" "Initial Condition…"
drag title "Parameters" by -300 -100
expect "Parameters" content 32 77 392 207
dialog cancel
expect preference DataDialogCorner 32 77
