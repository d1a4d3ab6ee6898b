#pragma once
// Whole-file reading for the command-line tools.
#include <cstdio>
#include <string>

// Appends the bytes of the file at `path` to `out` (a std::string or a vector
// of bytes). False when the file cannot be opened or read.
template <class Bytes>
bool readWholeFile(const std::string& path, Bytes& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}
