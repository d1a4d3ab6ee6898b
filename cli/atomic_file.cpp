#include "cli/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

// Plain arrays: the signal handler may only read memory and unlink.
const int SLOTS = 32;
char registered[SLOTS][PATH_MAX];
volatile sig_atomic_t used[SLOTS];
void (*volatile cleanupHook)() = nullptr;

void cleanUp() {
    if (cleanupHook) cleanupHook();
    for (int i = 0; i < SLOTS; ++i) {
        if (used[i]) unlink(registered[i]);
        used[i] = 0;
    }
}

void onSignal(int signalNumber) {
    const int savedErrno = errno;
    cleanUp();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
    errno = savedErrno;  // reached only when the signal is blocked here
}

void installSignals() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        // A hang-up that nohup ignores stays ignored; an interrupt or a
        // termination always cleans up, also in a background job whose shell
        // ignored SIGINT for it.
        struct sigaction old;
        if (signalNumber == SIGHUP && (sigaction(signalNumber, nullptr, &old) != 0 || old.sa_handler == SIG_IGN))
            continue;
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signalNumber, &action, nullptr);
    }
}

bool registerPath(const std::string& path) {
    if (path.size() >= PATH_MAX) return false;
    installSignals();
    for (int i = 0; i < SLOTS; ++i) {
        if (used[i]) continue;
        std::memcpy(registered[i], path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);  // the path is whole before the slot counts
        used[i] = 1;
        return true;
    }
    return false;
}

void forgetPath(const std::string& path) {
    for (int i = 0; i < SLOTS; ++i) {
        if (used[i] && path == registered[i]) {
            used[i] = 0;
            return;
        }
    }
}

std::string failure(const char* what, const std::string& path, int code) {
    return std::string("cannot ") + what + " " + path + ": " + std::strerror(code);
}

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

// Eight letters that differ between calls and between processes.
std::string randomLetters() {
    static uint64_t counter = 0;
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    uint64_t x = (uint64_t(getpid()) << 40) ^ uint64_t(now.tv_nsec) ^ (uint64_t(now.tv_sec) << 20) ^
                 (++counter * 0x9E3779B97F4A7C15ull);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string out;
    for (int i = 0; i < 8; ++i, x /= 36) out += letters[x % 36];
    return out;
}

// Registers, then creates: O_EXCL makes sure the registered name is ours.
int createRegistered(const std::string& path, const char* role, const char* suffix, std::string* made,
                     std::string* error) {
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string tail = *role ? std::string(".") + role + "-" : std::string(".");
    // The temporary's name must fit where the target's did.
    const size_t room = NAME_MAX - 1 - tail.size() - 8 - std::strlen(suffix);
    if (name.size() > room) name.resize(room);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = dir + "." + name + tail + randomLetters() + suffix;
        if (!registerPath(candidate)) {
            setError(error, failure("create", path, candidate.size() >= PATH_MAX ? ENAMETOOLONG : EMFILE));
            return -1;
        }
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *made = candidate;
            return fd;
        }
        const int code = errno;
        forgetPath(candidate);
        if (code != EEXIST) {
            setError(error, failure("create", path, code));
            return -1;
        }
    }
    setError(error, failure("create", path, EEXIST));
    return -1;
}

void syncFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // not every file system can; the rename itself has happened
    close(fd);
}

// Through a symbolic link to the file it names, so that the link survives.
std::string resolvedTarget(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

bool openAtomicFile(AtomicFile* out, const std::string& path, std::string* error) {
    out->path = path;
    out->temporary.clear();
    out->file = nullptr;
    const std::string target = resolvedTarget(path);
    struct stat info;
    const bool exists = stat(target.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
        out->file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
        if (!out->file) {
            setError(error, failure("create", path, errno));
            if (fd >= 0) close(fd);
            return false;
        }
        return true;
    }
    const int fd = createRegistered(target, "", ".tmp", &out->temporary, error);
    if (fd < 0) return false;
    if (exists) fchmod(fd, info.st_mode & 07777);
    out->file = fdopen(fd, "wb");
    if (!out->file) {
        const int code = errno;
        close(fd);
        removeTemporary(out->temporary);
        out->temporary.clear();
        setError(error, failure("create", path, code));
        return false;
    }
    return true;
}

bool writeAtomicFile(AtomicFile* out, const void* data, size_t size, std::string* error) {
    if (std::fwrite(data, 1, size, out->file) == size) return true;
    setError(error, failure("write", out->path, errno));
    return false;
}

bool commitAtomicFile(AtomicFile* out, std::string* error) {
    FILE* file = out->file;
    out->file = nullptr;
    int code = 0;
    if (std::ferror(file)) code = EIO;
    if (!code && std::fflush(file) != 0) code = errno;
    // In place (a pipe, a device) there may be nothing to sync.
    if (!code && fsync(fileno(file)) != 0 && !(out->temporary.empty() && (errno == EINVAL || errno == EROFS)))
        code = errno;
    if (std::fclose(file) != 0 && !code) code = errno;
    if (code) {
        removeTemporary(out->temporary);
        setError(error, failure("write", out->path, code));
        return false;
    }
    if (out->temporary.empty()) return true;
    return renameIntoPlace(out->temporary, resolvedTarget(out->path), error);
}

void abandonAtomicFile(AtomicFile* out) {
    if (out->file) std::fclose(out->file);
    out->file = nullptr;
    removeTemporary(out->temporary);
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    AtomicFile out;
    if (!openAtomicFile(&out, path, error)) return false;
    if (!writeAtomicFile(&out, bytes.data(), bytes.size(), error)) {
        abandonAtomicFile(&out);
        return false;
    }
    return commitAtomicFile(&out, error);
}

bool createTemporaryBeside(const std::string& path, const char* role, const char* suffix, std::string* made,
                           std::string* error) {
    const int fd = createRegistered(path, role, suffix, made, error);
    if (fd < 0) return false;
    close(fd);
    return true;
}

bool renameIntoPlace(const std::string& temporary, const std::string& path, std::string* error) {
    const int fd = open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    const int code = errno;
    if (fd >= 0) close(fd);
    if (!synced) {
        removeTemporary(temporary);
        setError(error, failure("write", path, code));
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameCode = errno;
        removeTemporary(temporary);
        setError(error, failure("write", path, renameCode));
        return false;
    }
    forgetPath(temporary);
    syncFolderOf(path);
    return true;
}

void removeTemporary(const std::string& temporary) {
    if (temporary.empty()) return;
    unlink(temporary.c_str());
    forgetPath(temporary);
}

void setTemporaryCleanupHook(void (*hook)()) {
    cleanupHook = hook;
    installSignals();
}

void removeRegisteredTemporaries() { cleanUp(); }
