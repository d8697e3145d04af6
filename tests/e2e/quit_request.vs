# The platform's quit request (closing the application window) ends the
# program like File Quit.
quit
expect exit
