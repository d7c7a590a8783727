# Third-party libraries from Debian that the engine links. Each subsystem appends here.
