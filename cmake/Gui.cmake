# The editor window and its parts.
