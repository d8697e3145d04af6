# An alert that the script does not expect ends the run, naming the alert.
# status: 1
# stderr: :6: expected `expect plots 1`, found an alert "The text window can contain only 32K of text. I'm going to erase it" open
drag grow plot by -1000 -1000
repeat 831 key r
expect plots 1
