# status: 2
# stderr: :3: expected a place (H V, title, close, zoom, grow, content or map), found somewhere
click somewhere
