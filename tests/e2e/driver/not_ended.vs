# status: 1
# stderr: :3: expected the program to have ended, found it still running
expect exit
