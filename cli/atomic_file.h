#pragma once
// Files the tools write appear complete or not at all. Every tool that writes
// a file goes through here (the reading side is cli/read_file.h).
//
// The contract:
// - The bytes go to a temporary file in the target's own folder (so the
//   rename cannot cross file systems), ".NAME.RANDOM.tmp".
// - commitAtomicFile flushes it, fsyncs it, gives it the mode the target
//   had (or 0666 less the umask), renames it over the target and fsyncs
//   the folder. Until that rename the target keeps what it held before.
// - A failure, abandonAtomicFile, or SIGINT, SIGTERM or SIGHUP removes the
//   temporary. Each temporary is registered for removal before it exists
//   (its name is picked and registered, then created with O_EXCL), so a
//   signal at any moment, on any thread, leaves nothing behind. The
//   handlers are installed with the first temporary (a SIGHUP that nohup
//   ignores stays ignored) and end the process by the same signal after
//   cleaning up.
// - A target that exists and is not a regular file (a pipe, /dev/null) is
//   written in place: no rename can replace it.
// - Standard output is the caller's business.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct AtomicFile {
    std::string path;       // the target
    std::string temporary;  // empty when the target is written in place
    FILE* file = nullptr;   // open between open and commit or abandon
};

// Errors are "cannot create PATH: REASON" or "cannot write PATH: REASON".
bool openAtomicFile(AtomicFile* out, const std::string& path, std::string* error);
bool writeAtomicFile(AtomicFile* out, const void* data, size_t size, std::string* error);
// Closes the file either way; on failure the temporary is gone.
bool commitAtomicFile(AtomicFile* out, std::string* error);
void abandonAtomicFile(AtomicFile* out);

// The whole file in one call.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error = nullptr);

// For files that another program fills (an encoder's output): a new empty
// file ".NAME.ROLE-RANDOM.SUFFIX" beside `path`, registered like the
// temporaries above, then renamed over `path` or removed.
bool createTemporaryBeside(const std::string& path, const char* role, const char* suffix, std::string* made,
                           std::string* error);
bool renameIntoPlace(const std::string& temporary, const std::string& path, std::string* error);
void removeTemporary(const std::string& temporary);

// A tool's own fatal exit removes what is registered, as a signal would.
// The hook runs first there and in the signal handler (async-signal-safe
// calls only: it stops a child process, say).
void setTemporaryCleanupHook(void (*hook)());
void removeRegisteredTemporaries();
