# An expectation of the clipboard says what it holds instead.
# status: 1
# stderr: :6: expected the clipboard's text "other", found text "mine"
clipboard text "mine"
expect clipboard text "mine"
expect clipboard text "other"
