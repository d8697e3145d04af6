# A failed expectation ends the run with status 1 and says what it found.
# status: 1
# stderr: :5: expected plot mu 9, found 3.5699456
expect plot n 1
expect plot mu 9
expect plot n 1
