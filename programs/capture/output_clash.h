#pragma once
// Two outputs written to one file would mix their streams or lose one.
#include <string>

#include "programs/capture/capture_options.h"

// Empty when every output has a file of its own, else the problem, such as
// "--wav and --rawvideo name the same file (out.bin)". Paths are compared
// after resolving links and "..", and existing files by their inode.
std::string outputClash(const CaptureOptions& options);
