# status: 1
# stderr: :3: expected preference "DataDialogCorner" 1 2, found missing
expect preference DataDialogCorner 1 2
