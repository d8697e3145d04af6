# status: 1
# stderr: :3: expected a window plot2, found 1 plot window(s)
expect plot2 mu 1
