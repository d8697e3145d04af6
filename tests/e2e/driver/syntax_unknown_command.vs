# status: 2
# stderr: :4: unknown command jump
expect plots 1
jump 3
