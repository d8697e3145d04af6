# Answering a colour picker that is not open fails.
# status: 1
# stderr: :4: expected the colour picker open, found no colour picker
color #ff0000
