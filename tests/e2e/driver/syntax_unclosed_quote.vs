# status: 2
# stderr: :3: a quoted string is not closed
expect plot title "Logistic
