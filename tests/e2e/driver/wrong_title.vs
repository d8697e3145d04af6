# status: 1
# stderr: :4: expected plot title "Logistic", found "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1"
expect plot title "Logistic Map f=µ*x*(1-x), µ = 3.569946 n = 1"
expect plot title "Logistic"
