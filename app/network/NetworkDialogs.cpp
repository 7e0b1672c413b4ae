// The library's first unit; its dialogs join it as they come.
