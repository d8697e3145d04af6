# status: 2
# stderr: :3: unknown modifier hyper (cmd, shift, option or control)
key hyper+x
