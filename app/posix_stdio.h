#pragma once
// Start-of-process guard of the POSIX backends, called first thing in main.

// Opens /dev/null on whichever of descriptors 0 to 2 a launcher left closed,
// so that no file or connection opened later takes their place and receives
// the log lines; ignores SIGPIPE, so that a log line into a pipe whose reader
// has gone fails quietly instead of ending the program.
void guardStandardStreams();
