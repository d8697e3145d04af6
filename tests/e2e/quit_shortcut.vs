# The Quit shortcut ends the program like the menu item.
key cmd+q
expect exit
