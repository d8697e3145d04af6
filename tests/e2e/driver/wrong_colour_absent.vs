# status: 1
# stderr: :3: expected plot has #00ff00, found none; the most common colours are #ffffff
expect plot has #00ff00
