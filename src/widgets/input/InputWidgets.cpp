// the input widgets live beside this file
