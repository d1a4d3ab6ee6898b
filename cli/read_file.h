#pragma once
// Whole-file reading for the command-line tools.
#include <cstdint>
#include <cstdio>
#include <string>

enum ReadResult { READ_OK, READ_FAILED, READ_TOO_LARGE };

// Appends the bytes of the file at `path` to `out` (a std::string or a vector
// of bytes), reading no further than one byte past `limit`: an input longer
// than that (a huge file, a device such as /dev/zero) is READ_TOO_LARGE before
// it can fill memory.
template <class Bytes>
ReadResult readFileUpTo(const std::string& path, Bytes& out, size_t limit) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return READ_FAILED;
    // A regular file's size is known: one allocation instead of a chain of
    // growing copies (an 8 MB archive spent more time in them than in unpacking).
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size > 0 && size_t(size) <= limit) out.reserve(out.size() + size_t(size));
        std::rewind(f);
    }
    unsigned char buffer[65536];
    size_t total = 0;
    size_t n;
    ReadResult result = READ_OK;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (n > limit - total) {
            result = READ_TOO_LARGE;
            break;
        }
        out.insert(out.end(), buffer, buffer + n);
        total += n;
    }
    if (result == READ_OK && std::ferror(f)) result = READ_FAILED;
    std::fclose(f);
    return result;
}

// The whole file, whatever its size: for the build's own inputs.
template <class Bytes>
bool readWholeFile(const std::string& path, Bytes& out) {
    return readFileUpTo(path, out, SIZE_MAX) == READ_OK;
}

// A tool's input of at most `limitMiB` MiB; on failure the tool's message on
// standard error says whether the file could not be read or is too large.
template <class Bytes>
bool readToolInput(const char* tool, const char* path, Bytes& out, size_t limitMiB) {
    switch (readFileUpTo(path, out, limitMiB << 20)) {
        case READ_OK:
            return true;
        case READ_TOO_LARGE:
            std::fprintf(stderr, "%s: %s is larger than %zu MiB: refused\n", tool, path, limitMiB);
            return false;
        default:
            std::fprintf(stderr, "%s: cannot read %s\n", tool, path);
            return false;
    }
}
