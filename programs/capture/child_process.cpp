#include "programs/capture/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "programs/capture/abort_cleanup.h"

extern char** environ;

std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "";
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const std::string dir = end > start ? list.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

bool startProgram(const std::string& program, const std::vector<std::string>& arguments, bool pipeInput,
                  ChildProcess* child, std::string* error) {
    child->name = program.substr(program.rfind('/') + 1);
    int ends[2] = {-1, -1};
    if (pipeInput && pipe2(ends, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pipeInput) posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    else posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    // We ignore SIGPIPE to see closed pipes as errors; the child gets the default back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int result = posix_spawn(&child->pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (pipeInput) close(ends[0]);
    if (result != 0) {
        if (pipeInput) close(ends[1]);
        child->pid = -1;
        *error = "cannot run " + program + ": " + std::strerror(result);
        return false;
    }
    stopOnAbort(child->pid);
    if (!pipeInput) return true;
    child->input = fdopen(ends[1], "wb");
    if (child->input == nullptr) {
        close(ends[1]);
        *error = std::string("cannot open the pipe to ") + child->name + ": " + std::strerror(errno);
        return false;
    }
    std::setvbuf(child->input, nullptr, _IOFBF, 1 << 20);
    return true;
}

bool finishProgram(ChildProcess* child, std::string* error) {
    if (child->input != nullptr) {
        std::fclose(child->input);  // its failures show as the program's own
        child->input = nullptr;
    }
    int status = 0;
    pid_t waited;
    do waited = waitpid(child->pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    child->pid = -1;
    stopOnAbort(-1);
    if (waited < 0) {
        *error = "cannot wait for " + child->name + ": " + std::strerror(errno);
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    *error = child->name + " failed (" +
             (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                : "ended by signal " + std::to_string(WTERMSIG(status))) +
             ")";
    return false;
}
