# status: 1
# stderr: :3: expected text line 11 "x", found 10 lines
expect text line 11 "x"
