// The window layer of the main window.
