# An alert that the script does not expect ends the run, naming the alert.
# status: 1
# stderr: :6: expected `expect plots 1`, found an alert "The text window can contain only 32K of text. I'm going to erase it" open
repeat 832 key r
expect plots 1
