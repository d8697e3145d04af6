# status: 1
# stderr: :3: expected an item "Open" in menu "File", found the items "New Plot" "Close Window" "Quit Vantor"
menu "File" "Open"
