# status: 1
# stderr: :3: expected a modal dialog open, found no dialog
dialog ok
