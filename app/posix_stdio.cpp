#include "app/posix_stdio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

void guardStandardStreams() {
    for (int fd = 0; fd <= 2; fd++) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open takes the lowest free descriptor: this one.
        int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened > 2) close(opened);
    }
    std::signal(SIGPIPE, SIG_IGN);
}
