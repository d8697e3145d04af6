# A step that waits for something that never comes fails after the timeout:
# here the button stays down in a title bar, so no menu can be pulled down.
# status: 1
# stderr: :7: expected the program ready for `menu "File" "New Plot"`, found the program following the held mouse button
timeout 1
down title plot
menu "File" "New Plot"
