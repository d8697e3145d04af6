# status: 1
# stderr: :3: expected an alert open for `alert ok`, found no alert
alert ok
