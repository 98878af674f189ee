// the display widgets live beside this file
