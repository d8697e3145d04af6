# Run after dialog_corner_save.vs with its preference store: the dialog
# opens at the corner saved there.

expect preference DataDialogCorner 32 77
menu "Parameters" "Arrow Increment…"
expect "Parameters" content 32 77 392 207
dialog ok
