# status: 2
# stderr: :3: a step repeats 1 to 100000 times
repeat 0 key r
