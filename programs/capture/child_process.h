#pragma once
// Running another program: found through PATH, optionally fed through a pipe
// on its standard input, waited for and its exit status checked.
#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

// The full path of `name` in PATH, or empty when it is not there.
std::string findProgram(const std::string& name);

struct ChildProcess {
    std::string name;      // for messages
    pid_t pid = -1;
    FILE* input = nullptr;  // its standard input, when piped
};

// Starts `program` with `arguments` (argv[1] on). Its standard output goes to
// our standard error; its standard input is a pipe when `pipeInput`, else empty.
bool startProgram(const std::string& program, const std::vector<std::string>& arguments, bool pipeInput,
                  ChildProcess* child, std::string* error);

// Closes its input, waits for it, and fails unless it exited with 0.
bool finishProgram(ChildProcess* child, std::string* error);
