# status: 1
# stderr: :4: expected checks "Map" "Tent", found "Logistic"
menu "Map"
expect checks "Map" "Tent"
