# status: 1
# stderr: :3: expected plot pixel 5 5 #000000, found #ffffff
expect plot pixel 5 5 #000000
