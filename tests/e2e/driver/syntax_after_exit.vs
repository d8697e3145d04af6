# status: 2
# stderr: :5: nothing can follow `expect exit`
menu "File" "Quit Vantor"
expect exit
expect plots 1
