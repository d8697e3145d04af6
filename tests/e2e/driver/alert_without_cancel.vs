# status: 1
# stderr: :5: expected a cancel button on the alert, found an alert "The text window can contain only 32K of text. I'm going to erase it" without one
drag grow plot by -1000 -1000
repeat 831 key r
alert cancel
