#pragma once
// Output files whose every failure is seen: a short write, a failed flush or
// close (a full disk, a closed pipe) becomes an error text naming the file
// and the reason. A file appears only when it is complete (cli/atomic_file.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/atomic_file.h"

struct OutputFile {
    std::string path;  // "-": standard output
    FILE* file = nullptr;
    AtomicFile atomic;  // unless standard output
};

std::string outputName(const OutputFile& out);  // the path, or "standard output"

bool openOutput(OutputFile* out, const std::string& path, std::string* error);
bool writeOutput(OutputFile* out, const void* data, size_t size, std::string* error);
bool closeOutput(OutputFile* out, std::string* error);

// A WAV whose header is completed when it is closed, so it needs a file that can seek.
struct WavOutput {
    OutputFile file;
    int64_t frames = 0;
};

bool openWav(WavOutput* wav, const std::string& path, std::string* error);
bool writeWav(WavOutput* wav, const int16_t* samples, int32_t frames, std::string* error);
bool closeWav(WavOutput* wav, std::string* error);
